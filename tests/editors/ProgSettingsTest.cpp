// The programming dialog's settings and template files: what OK, Cancel, Load and Save do.
#include "editors/dialogs/ProgSettings.h"
#include "CraftedImages.h"
#include "ProgFixture.h"

#include <QCheckBox>

#include <filesystem>

namespace {

using ProgSettingsDialog = ProgFixture;

std::vector<std::uint8_t> encoded(TLayout& layout) {
    return layout.Encode(TLayout::kUploadCapacity).value_or(std::vector<std::uint8_t>{});
}

TEST_F(ProgSettingsDialog, ShowsTheLayoutsSettings) {
    MakeRichLayout(layout);
    auto dlg = open();
    EXPECT_EQ(dlg->controlName->text(), "Salle \u00E0 manger");
    EXPECT_TRUE(dlg->autoBrightness->isChecked());
    EXPECT_EQ(dlg->manualBrightness->text(), "55");
    EXPECT_FALSE(dlg->audibleFeedback->isChecked());
    EXPECT_TRUE(dlg->sleepEnabled->isChecked());
    EXPECT_EQ(dlg->sleepTimeout->text(), "120");
    EXPECT_TRUE(dlg->pinOnWakeup->isChecked());
    EXPECT_EQ(dlg->timeoutPin->text(), "1234");
    EXPECT_EQ(dlg->securityPin->text(), "9999");
    EXPECT_TRUE(dlg->defaultPageEnabled->isChecked());
    EXPECT_EQ(dlg->defaultPageTimeout->text(), "45");
    EXPECT_EQ(entries(*dlg), (QStringList{"\u4E2D\u6587 page", "*** 8 Button ***", "Data Entry"}));
}

// The first refused field in the exchange order gets the one message and the focus; nothing is
// committed and the dialog stays open. Cleared check boxes do not excuse an empty timeout.
TEST_F(ProgSettingsDialog, RefusedFieldsKeepTheDialogOpen) {
    const QString range = "ZYLMosaics: Enter an integer between 1 and 100.";
    const QString integer = "ZYLMosaics: Enter an integer.";
    const struct {
        const char* what;
        std::vector<std::pair<QLineEdit * CZYLProg::*, QString>> typed;
        QString message;
        QLineEdit* CZYLProg::*focus;
    } cases[] = {
        {"brightness 0", {{&CZYLProg::manualBrightness, "0"}}, range, &CZYLProg::manualBrightness},
        {"brightness 101", {{&CZYLProg::manualBrightness, "101"}}, range, &CZYLProg::manualBrightness},
        {"empty brightness", {{&CZYLProg::manualBrightness, ""}}, integer, &CZYLProg::manualBrightness},
        {"empty sleep timeout", {{&CZYLProg::sleepTimeout, ""}}, integer, &CZYLProg::sleepTimeout},
        {"empty return timeout", {{&CZYLProg::defaultPageTimeout, ""}}, integer, &CZYLProg::defaultPageTimeout},
        {"sleep before brightness",
         {{&CZYLProg::manualBrightness, "0"}, {&CZYLProg::sleepTimeout, "x"}},
         integer,
         &CZYLProg::sleepTimeout},
        {"brightness before return",
         {{&CZYLProg::defaultPageTimeout, "1.5"}, {&CZYLProg::manualBrightness, "-1"}},
         range,
         &CZYLProg::manualBrightness},
    };
    layout.controlName = u"Before";
    const Bytes before = Snapshot(layout);
    for (const auto& c : cases) {
        ui = ScriptedUiHost();
        auto dlg = open();
        ASSERT_FALSE(dlg->sleepEnabled->isChecked());
        ASSERT_FALSE(dlg->defaultPageEnabled->isChecked());
        type(dlg->controlName, "Typed");
        for (const auto& [field, text] : c.typed)
            type(*dlg.*field, text);
        click(dlg->okButton);
        EXPECT_EQ(ui.messages, QStringList{c.message}) << c.what;
        EXPECT_EQ(dlg->focusWidget(), *dlg.*c.focus) << c.what;
        EXPECT_TRUE(dlg->isVisible()) << c.what;
        EXPECT_EQ(Snapshot(layout), before) << c.what;
    }
}

TEST_F(ProgSettingsDialog, OkCommitsWhatWasTyped) {
    layout.sleepTimeout = 60;
    layout.defaultPageTimeout = 30;
    layout.timeoutPin = u"1111";
    auto dlg = open();
    type(dlg->controlName, "Kitchen \u00FC");
    type(dlg->manualBrightness, "42");
    QTest::keyClick(dlg->autoBrightness, Qt::Key_Space);
    QTest::keyClick(dlg->audibleFeedback, Qt::Key_Space);
    type(dlg->sleepTimeout, "0"); // box still checked
    QTest::keyClick(dlg->defaultPageEnabled, Qt::Key_Space);
    QTest::keyClick(dlg->pinOnWakeup, Qt::Key_Space);
    type(dlg->timeoutPin, "");
    type(dlg->securityPin, "77");
    click(dlg->okButton);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('\n').toStdString();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(layout.controlName, u"Kitchen \u00FC");
    EXPECT_EQ(layout.manualBrightness, 42);
    EXPECT_EQ(layout.autoBrightness, 1);
    EXPECT_EQ(layout.audibleFeedback, 0);
    EXPECT_EQ(layout.sleepTimeout, 0) << "enabled with 0 stores 0";
    EXPECT_EQ(layout.defaultPageTimeout, 0) << "a cleared box stores 0 whatever the field holds";
    EXPECT_EQ(layout.pinOnWakeup, 1);
    EXPECT_EQ(layout.timeoutPin, u"");
    EXPECT_EQ(layout.securityPin, u"77");
    auto again = open();
    EXPECT_FALSE(again->sleepEnabled->isChecked());
    EXPECT_EQ(again->defaultPageTimeout->text(), "0");
}

// Page-list work and Load stay after Cancel; typed settings do not.
TEST_F(ProgSettingsDialog, CancelKeepsListWorkAndDropsTypedSettings) {
    const std::string loadable = templateFile("other.zyl", u"Loaded");
    const struct {
        const char* what;
        std::function<void(ScriptedUiHost&, CZYLProg&)> act;
        QStringList pages;
        std::u16string controlName;
        int brightness;
    } cases[] = {
        {"add",
         [](ScriptedUiHost& ui, CZYLProg& d) {
             ui.menuChoices = {"Data Entry"};
             ui.dialogSteps = {acceptStep()};
             click(d.addButton);
         },
         {"P10000", "P10001", "Data Entry"},
         u"Kept",
         80},
        {"remove",
         [](ScriptedUiHost&, CZYLProg& d) {
             select(d, 0);
             click(d.removeButton);
         },
         {"P10001"},
         u"Kept",
         80},
        {"clear all",
         [](ScriptedUiHost& ui, CZYLProg& d) {
             ui.answers = {true};
             click(d.clearAllButton);
         },
         {},
         u"Kept",
         80},
        {"load",
         [&loadable](ScriptedUiHost& ui, CZYLProg& d) {
             ui.openFiles = {QString::fromStdString(loadable)};
             click(d.loadButton);
         },
         {"Loaded"},
         u"From file",
         100},
    };
    for (const auto& c : cases) {
        layout.pages.clear();
        addPages({10000, 10001});
        layout.controlName = u"Kept";
        layout.manualBrightness = 80;
        ui = ScriptedUiHost();
        auto dlg = open();
        type(dlg->controlName, "Typed");
        type(dlg->manualBrightness, "20");
        c.act(ui, *dlg);
        click(dlg->cancelButton);
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
        EXPECT_EQ(pageNames(), c.pages) << c.what;
        EXPECT_EQ(layout.controlName, c.controlName) << c.what;
        EXPECT_EQ(layout.manualBrightness, c.brightness) << c.what;
    }
}

// The file carries the layout's settings (from the last OK or Load), not the typed ones; a refused
// field is reported and the save goes on.
TEST_F(ProgSettingsDialog, SaveWritesTheLayoutsSettingsNotTheTypedOnes) {
    addPages({10000});
    layout.controlName = u"Stored";
    auto dlg = open();
    type(dlg->controlName, "Typed");
    type(dlg->manualBrightness, "0");
    ui.saveFiles = {QString::fromStdString(files.Path("saved.zyl"))};
    click(dlg->saveButton);
    EXPECT_EQ(ui.fileRequests, QStringList{"Save Template | ZYL-1 Template Files (*.zyl);;All Files (*)"});
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter an integer between 1 and 100."});
    TLayout back;
    ASSERT_TRUE(back.LoadTemplate(files.Path("saved.zyl")));
    EXPECT_EQ(encoded(back), encoded(layout));
    EXPECT_EQ(back.controlName, u"Stored");
    EXPECT_EQ(dlg->controlName->text(), "Typed");
}

TEST_F(ProgSettingsDialog, FailedSaveSaysWhyAndKeepsTheOldFile) {
    MakeRichLayout(layout);
    const std::string old = files.Write("old.zyl", Bytes{1, 2, 3});
    const struct {
        const char* what;
        std::string path;
        bool tooLarge;
        const char* reason;
    } cases[] = {
        {"missing folder", files.Path("no/such/folder/t.zyl"), false, "t.zyl"},
        {"over the capacity", old, true, "at most 500000"},
    };
    for (const auto& c : cases) {
        if (c.tooLarge)
            AddKeptImage(layout, static_cast<TUserPage&>(*layout.pages.front()), Bytes(500001, 'x'));
        const Bytes before = encoded(layout);
        ui = ScriptedUiHost();
        auto dlg = open();
        ui.saveFiles = {QString::fromStdString(c.path)};
        click(dlg->saveButton);
        ASSERT_EQ(ui.messages.size(), 1) << c.what;
        EXPECT_TRUE(ui.messages[0].startsWith("Save Template: ")) << c.what;
        EXPECT_TRUE(ui.messages[0].contains(c.reason)) << ui.messages[0].toStdString();
        EXPECT_EQ(encoded(layout), before) << c.what;
        EXPECT_EQ(entries(*dlg).size(), 3) << c.what;
    }
    EXPECT_EQ(readFile(old), (Bytes{1, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(files.Path("no")));
}

// A template of exactly 500000 bytes loads and refreshes the whole dialog; one byte more, or any
// file that is not a template, is passed over in silence and the typed values stay.
TEST_F(ProgSettingsDialog, LoadTakesTemplatesUpToTheLimitAndIgnoresOtherFilesSilently) {
    const struct {
        const char* what;
        std::string path;
        bool loads;
    } cases[] = {
        {"exactly 500000 bytes", templateFile("exact.zyl", u"Loaded", 500000), true},
        {"500001 bytes", templateFile("over.zyl", u"Loaded", 500001), false},
        {"the magic alone", files.Write("magic.zyl", Bytes{0xD5, 0xCA, 0xAD, 0xAB}), false},
        {"a page file", files.Write("page.zup", Bytes{0xD6, 0xCA, 0xAD, 0xAB, 1, 0, 0, 0}), false},
        {"no file", files.Path("missing.zyl"), false},
        {"a folder", files.Path(), false},
    };
    for (const auto& c : cases) {
        layout.pages.clear();
        MakeRichLayout(layout);
        const Bytes before = Snapshot(layout);
        ui = ScriptedUiHost();
        auto dlg = open();
        type(dlg->controlName, "Typed");
        ui.openFiles = {QString::fromStdString(c.path)};
        click(dlg->loadButton);
        EXPECT_EQ(ui.fileRequests, QStringList{"Load Template | ZYL-1 Template Files (*.zyl);;All Files (*)"});
        EXPECT_TRUE(ui.messages.isEmpty()) << c.what;
        if (c.loads) {
            EXPECT_EQ(pageNames(), QStringList{"Loaded"});
            EXPECT_EQ(entries(*dlg), QStringList{"Loaded"});
            EXPECT_EQ(dlg->controlName->text(), "From file");
        } else {
            EXPECT_EQ(Snapshot(layout), before) << c.what;
            EXPECT_EQ(entries(*dlg).size(), 3) << c.what;
            EXPECT_EQ(dlg->controlName->text(), "Typed") << c.what;
        }
    }
}

// A file that is a template but whose content is damaged says so, and changes nothing.
TEST_F(ProgSettingsDialog, LoadOfADamagedTemplateSaysWhy) {
    Bytes damaged = readFile(templateFile("good.zyl", u"Loaded"));
    damaged.resize(200);
    ui.openFiles = {QString::fromStdString(files.Write("damaged.zyl", damaged))};
    MakeRichLayout(layout);
    const Bytes before = Snapshot(layout);
    auto dlg = open();
    click(dlg->loadButton);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains("damaged.zyl")) << ui.messages[0].toStdString();
    EXPECT_EQ(Snapshot(layout), before);
}

} // namespace
