#include "ProgFixture.h"
#include "editors/dialogs/CBtn8Dlg.h"
#include "editors/dialogs/CNumericDlg.h"
#include "editors/dialogs/CZylUserDlg.h"

#include <QCheckBox>

namespace {

using ProgDialog = ProgFixture;

TEST_F(ProgDialog, AddGivesTheNextPageId) {
    struct Case {
        std::initializer_list<std::int32_t> ids;
        std::int32_t next;
    };
    const Case cases[] = {{{}, 10000}, {{10000, 10003}, 10004}, {{16000}, 10000}, {{10003, 16000, 20000}, 10004}};
    for (const Case& c : cases) {
        layout.pages.clear();
        addPages(c.ids);
        auto dlg = open();
        ui.menuChoices = {"User Defined"};
        ui.dialogSteps = {acceptStep()};
        click(dlg->addButton);
        ASSERT_EQ(layout.pages.size(), c.ids.size() + 1);
        EXPECT_EQ(layout.pages.back()->pageId, c.next) << c.ids.size();
    }
}

TEST_F(ProgDialog, AddPutsTheNewPageBehindTheSelectedOrLastEntry) {
    struct Case {
        int pages, selected, row;
        const char* item;
        std::int32_t kind;
        const char* name;
        const char* editor;
    };
    const Case cases[] = {
        {0, -1, 0, "User Defined", TListItem::kUserPage, "User Page", "ZYL-1 User Defined Page"},
        {5, -1, 5, "8 Button 2 Column", TListItem::kBtn8, "8 Button", "8 Button Page"},
        {5, 1, 2, "Data Entry", TListItem::kNumeric, "Data Entry", "Numeric Entry Page"},
        {5, 4, 5, "User Defined", TListItem::kUserPage, "User Page", "ZYL-1 User Defined Page"},
        {5, 0, 1, "User Defined", TListItem::kUserPage, "User Page", "ZYL-1 User Defined Page"},
    };
    for (const Case& c : cases) {
        layout.pages.clear();
        for (int i = 0; i < c.pages; ++i)
            addPages({10000 + i});
        ui = ScriptedUiHost();
        auto dlg = open();
        select(*dlg, c.selected);
        ui.menuChoices = {c.item};
        ui.dialogSteps = {acceptStep()};
        click(dlg->addButton);
        EXPECT_EQ(ui.menus, QStringList{"8 Button 2 Column|User Defined|Data Entry"});
        EXPECT_EQ(ui.dialogs, QStringList{c.editor});
        ASSERT_EQ(static_cast<int>(layout.pages.size()), c.pages + 1);
        const TListItem& added = *layout.pages[static_cast<std::size_t>(c.row)];
        EXPECT_EQ(added.kind, c.kind) << c.item;
        EXPECT_EQ(QString::fromStdU16String(added.name), c.name);
        EXPECT_EQ(entries(*dlg), pageNames()) << c.selected;
        EXPECT_EQ(dlg->SelectedRow(), c.row);
        EXPECT_EQ(dlg->SelectedPage(), &added);
    }
}

TEST_F(ProgDialog, AddThatIsDismissedOrCancelledChangesNothing) {
    const struct {
        QString choice; // null: the menu is dismissed
        const char* editor;
    } cases[] = {{QString(), nullptr},
                 {"User Defined", "ZYL-1 User Defined Page"},
                 {"8 Button 2 Column", "8 Button Page"},
                 {"Data Entry", "Numeric Entry Page"}};
    MakeRichLayout(layout);
    const Bytes before = Snapshot(layout);
    for (const auto& c : cases) {
        ui = ScriptedUiHost();
        auto dlg = open();
        select(*dlg, 1);
        const QStringList shown = entries(*dlg);
        ui.menuChoices = {c.choice};
        ui.dialogSteps = {[](QDialog& d) { d.reject(); }};
        click(dlg->addButton);
        EXPECT_EQ(ui.dialogs, c.editor ? QStringList{c.editor} : QStringList{}) << c.choice.toStdString();
        EXPECT_EQ(Snapshot(layout), before) << c.choice.toStdString();
        EXPECT_EQ(entries(*dlg), shown);
        EXPECT_EQ(dlg->SelectedRow(), 1);
    }
}

TEST_F(ProgDialog, SetDefaultTwiceLeavesNoDefault) {
    addPages({10000, 10001, 10002});
    auto dlg = open();
    select(*dlg, 1);
    click(dlg->setDefaultButton);
    EXPECT_EQ(layout.defaultPageId, 10001);
    EXPECT_EQ(entries(*dlg), (QStringList{"P10000", "*** P10001 ***", "P10002"}));
    EXPECT_EQ(dlg->SelectedRow(), -1);
    select(*dlg, 1);
    click(dlg->setDefaultButton);
    EXPECT_EQ(layout.defaultPageId, -1);
    EXPECT_EQ(entries(*dlg), (QStringList{"P10000", "P10001", "P10002"}));
}

TEST_F(ProgDialog, RemovingTheDefaultPageKeepsItsIdForALaterPage) {
    addPages({10000, 10001});
    layout.defaultPageId = 10001;
    auto dlg = open();
    select(*dlg, 1);
    click(dlg->removeButton);
    EXPECT_EQ(layout.defaultPageId, 10001);
    EXPECT_EQ(entries(*dlg), QStringList{"P10000"});
    EXPECT_EQ(dlg->SelectedRow(), -1);

    ui.menuChoices = {"Data Entry"};
    ui.dialogSteps = {acceptStep()};
    click(dlg->addButton);
    EXPECT_EQ(layout.pages.back()->pageId, 10001);
    EXPECT_EQ(entries(*dlg), (QStringList{"P10000", "Data Entry"})) << "plain until the list is rebuilt";
    EXPECT_EQ(entries(*open()), (QStringList{"P10000", "*** Data Entry ***"}));
}

// Moving or editing the default page drops its marker until the next rebuild; the selection
// follows the entry.
TEST_F(ProgDialog, MovedOrEditedDefaultPageShowsItsPlainName) {
    const struct {
        const char* what;
        QPushButton* CZYLProg::*button;
        int row;
        QStringList entries;
    } cases[] = {
        {"move up", &CZYLProg::moveUpButton, 0, {"P10001", "P10000", "P10002"}},
        {"move down", &CZYLProg::moveDownButton, 2, {"P10000", "P10002", "P10001"}},
        {"edit", &CZYLProg::editButton, 1, {"P10000", "Renamed", "P10002"}},
    };
    for (const auto& c : cases) {
        layout.pages.clear();
        addPages({10000, 10001, 10002});
        layout.defaultPageId = 10001;
        auto dlg = open();
        select(*dlg, 1);
        ui.dialogSteps = {[](QDialog& d) {
            auto& user = static_cast<CZylUserDlg&>(d);
            user.pageName->setText("Renamed");
            QTest::mouseClick(user.okButton, Qt::LeftButton);
        }};
        click((*dlg).*c.button);
        EXPECT_EQ(entries(*dlg), c.entries) << c.what;
        EXPECT_EQ(pageNames(), c.entries) << c.what;
        EXPECT_EQ(dlg->SelectedRow(), c.row) << c.what;
        EXPECT_EQ(layout.defaultPageId, 10001);
    }
}

// Only the user page editor refreshes the entry; the others' pages show a new name at the next rebuild.
TEST_F(ProgDialog, EditRunsTheEditorOfThePageKind) {
    const struct {
        const char* editor;
        bool ok;
        const char* entry;
        const char* name;
    } cases[] = {
        {"ZYL-1 User Defined Page", true, "Renamed", "Renamed"},
        {"ZYL-1 User Defined Page", false, "*** User ***", "User"},
        {"8 Button Page", true, "*** Buttons ***", "Renamed"},
        {"Numeric Entry Page", true, "*** Entry ***", "Renamed"},
    };
    for (const auto& c : cases) {
        layout.pages.clear();
        layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"User"), nullptr);
        layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"Buttons"), nullptr);
        layout.InsertPageAfter(std::make_unique<CNumericCtrl>(&layout, u"Entry"), nullptr);
        const QString editor = c.editor;
        const int row = editor.startsWith("ZYL") ? 0 : editor.startsWith("8") ? 1 : 2;
        layout.defaultPageId = layout.pages[static_cast<std::size_t>(row)]->pageId;
        ui = ScriptedUiHost();
        auto dlg = open();
        select(*dlg, row);
        const bool ok = c.ok;
        ui.dialogSteps = {[ok](QDialog& d) {
            if (auto* user = qobject_cast<CZylUserDlg*>(&d)) {
                user->pageName->setText("Renamed");
                QTest::mouseClick(ok ? user->okButton : user->cancelButton, Qt::LeftButton);
                return;
            }
            // Renamed behind the dialog's back, once it has done its own OK.
            d.accept();
            if (auto* buttons = qobject_cast<CBtn8Dlg*>(&d))
                buttons->page.name = u"Renamed";
            if (auto* entry = qobject_cast<CNumericDlg*>(&d))
                entry->page.name = u"Renamed";
        }};
        click(dlg->editButton);
        EXPECT_EQ(ui.dialogs, QStringList{c.editor});
        EXPECT_EQ(dlg->pageList->item(row)->text(), c.entry) << c.editor;
        EXPECT_EQ(QString::fromStdU16String(layout.pages[static_cast<std::size_t>(row)]->name), c.name);
    }
}

TEST_F(ProgDialog, PageButtonsDoNothingWithoutASelectionOrAtTheEnds) {
    const struct {
        const char* what;
        QPushButton* CZYLProg::*button;
        int row;
    } cases[] = {
        {"move up on the first", &CZYLProg::moveUpButton, 0},
        {"move down on the last", &CZYLProg::moveDownButton, 2},
        {"move up", &CZYLProg::moveUpButton, -1},
        {"move down", &CZYLProg::moveDownButton, -1},
        {"remove", &CZYLProg::removeButton, -1},
        {"edit", &CZYLProg::editButton, -1},
        {"set default", &CZYLProg::setDefaultButton, -1},
    };
    MakeRichLayout(layout);
    const Bytes before = Snapshot(layout);
    for (const auto& c : cases) {
        ui = ScriptedUiHost();
        auto dlg = open();
        const QStringList shown = entries(*dlg);
        select(*dlg, c.row);
        click((*dlg).*c.button);
        EXPECT_EQ(Snapshot(layout), before) << c.what;
        EXPECT_EQ(entries(*dlg), shown) << c.what;
        EXPECT_EQ(dlg->SelectedRow(), c.row) << c.what;
        EXPECT_TRUE(ui.dialogs.isEmpty()) << c.what;
    }
}

TEST_F(ProgDialog, ClearAllAsksFirstAndKeepsSettingsAndTheSleepPageWithItsImage) {
    MakeRichLayout(layout);
    const Guid sleepImage = layout.FindImage(layout.sleepPage->face.value)->guid;
    TLayout fresh;
    for (const bool yes : {false, true}) {
        const Bytes before = Snapshot(layout);
        const TUserPage* sleep = layout.sleepPage.get();
        ui = ScriptedUiHost();
        ui.answers = {yes};
        auto dlg = open();
        click(dlg->clearAllButton);
        EXPECT_EQ(ui.questions, QStringList{"Clear All Entries: This will clear all entries from this control.\n"
                                            "Do you Want to continue ?"});
        if (!yes) {
            EXPECT_EQ(Snapshot(layout), before);
            EXPECT_EQ(dlg->pageList->count(), 3);
            continue;
        }
        EXPECT_EQ(dlg->pageList->count(), 0);
        EXPECT_TRUE(layout.pages.empty());
        // The built-in images, behind the one user image the kept sleep page shows.
        ASSERT_EQ(layout.images.size(), fresh.images.size() + 1);
        EXPECT_EQ(layout.images[0]->id, sleep->face.value);
        EXPECT_EQ(layout.images[0]->guid, sleepImage);
        for (std::size_t i = 0; i < fresh.images.size(); ++i)
            EXPECT_EQ(layout.images[i + 1]->id, fresh.images[i]->id);
        EXPECT_EQ(layout.sleepPage.get(), sleep);
        EXPECT_EQ(layout.defaultPageId, 10001);
        EXPECT_EQ(layout.controlName, u"Salle \u00E0 manger");
        EXPECT_EQ(layout.sleepTimeout, 120);
    }
}

TEST_F(ProgDialog, EditSleepPageMakesTheSleepPageOnceAndKeepsIt) {
    addPages({10000, 10004});
    auto dlg = open();
    ui.dialogSteps = {[](QDialog& d) {
        auto& user = static_cast<CZylUserDlg&>(d);
        EXPECT_TRUE(user.isSleepPage);
        EXPECT_EQ(user.pageName->text(), "sleep");
        EXPECT_EQ(user.pageId->text(), "10005");
        d.reject();
    }};
    click(dlg->editSleepPageButton);
    ASSERT_NE(layout.sleepPage, nullptr) << "kept although the editor was cancelled";
    EXPECT_EQ(layout.sleepPage->pageId, 10005);
    EXPECT_EQ(layout.pages.size(), 2u);
    EXPECT_EQ(dlg->pageList->count(), 2);

    const TUserPage* sleep = layout.sleepPage.get();
    ui.dialogSteps = {[](QDialog& d) {
        auto& user = static_cast<CZylUserDlg&>(d);
        user.pageName->setText("Night");
        QTest::mouseClick(user.okButton, Qt::LeftButton);
    }};
    click(dlg->editSleepPageButton);
    EXPECT_EQ(layout.sleepPage.get(), sleep);
    EXPECT_EQ(layout.sleepPage->name, u"Night");
    EXPECT_EQ(ui.dialogs, (QStringList{"ZYL-1 User Defined Page", "ZYL-1 User Defined Page"}));
}

TEST_F(ProgDialog, UserPageDialogWritesTheNameOnlyOnOk) {
    TUserPage page(&layout, u"Lobby");
    page.pageId = 10042;
    for (const bool ok : {false, true}) {
        CZylUserDlg dlg(layout, page, ui, false);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), "ZYL-1 User Defined Page");
        EXPECT_EQ(dlg.pageId->text(), "10042");
        EXPECT_TRUE(dlg.pageId->isReadOnly());
        type(dlg.pageName, "Hall \u00E9");
        click(ok ? dlg.okButton : dlg.cancelButton);
        EXPECT_EQ(dlg.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(page.name, ok ? u"Hall \u00E9" : u"Lobby");
    }
}

// Screen readers and tests find the controls by their labels; Tab walks them in reading order.
TEST_F(ProgDialog, ControlsAreNamedAndTabFollowsTheReadingOrder) {
    auto dlg = open();
    EXPECT_EQ(dlg->windowTitle(), "ZYL-1 Programming");
    const std::pair<QWidget*, const char*> order[] = {
        {dlg->controlName, "Control Name:"},
        {dlg->autoBrightness, "Auto Brightness"},
        {dlg->manualBrightness, "Manual Brightness:"},
        {dlg->audibleFeedback, "Give Audible Feedback"},
        {dlg->sleepEnabled, "Enable Sleep on Timeout"},
        {dlg->sleepTimeout, "Timeout:"},
        {dlg->editSleepPageButton, "Edit Sleep Page"},
        {dlg->pinOnWakeup, "Require PIN on Wakeup"},
        {dlg->timeoutPin, "Timeout Pin:"},
        {dlg->securityPin, "Security Pin:"},
        {dlg->defaultPageEnabled, "Enable Return to Default Page on Timeout"},
        {dlg->defaultPageTimeout, "Timeout:"},
        {dlg->pageList, "Pages"},
        {dlg->addButton, "Add"},
        {dlg->removeButton, "Remove"},
        {dlg->editButton, "Edit"},
        {dlg->setDefaultButton, "Set Default"},
        {dlg->moveUpButton, "Move Up"},
        {dlg->moveDownButton, "Move Down"},
        {dlg->clearAllButton, "Clear All"},
        {dlg->loadButton, "Load"},
        {dlg->saveButton, "Save"},
        {dlg->cancelButton, "Cancel"},
        {dlg->okButton, "OK"},
    };
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    dlg->controlName->setFocus(Qt::TabFocusReason);
    for (std::size_t i = 0; i < std::size(order); ++i) {
        EXPECT_EQ(order[i].first->accessibleName(), order[i].second) << i;
        EXPECT_FALSE(order[i].first->objectName().isEmpty()) << order[i].second;
        EXPECT_EQ(QApplication::focusWidget(), order[i].first) << order[i].second;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_TRUE(dlg->okButton->isDefault());
}

} // namespace
