#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/dialogs/CButtonAddDlg.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "editors/dialogs/ObjectProperties.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserPage.h"
#include "render/FaceDrawing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

class ButtonAddDlgTest : public ::testing::Test {
protected:
    void SetUp() override { QtTestApp(); }

    std::unique_ptr<CButtonAddDlg> make() { return std::make_unique<CButtonAddDlg>(&layout, ui); }

    static void open(CButtonAddDlg& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
    }

    static void clickOk(CButtonAddDlg& dialog) { QTest::mouseClick(dialog.okButton, Qt::LeftButton); }

    std::int32_t addPicture(int width, int height) {
        return layout.AddUserImage(u"picture", std::make_unique<Picture>(width, height)).id;
    }

    static void setFace(TUserFace& face, std::int32_t kind, std::int32_t value) {
        face.kind = kind;
        face.value = value;
    }

    TLayout layout;
    ScriptedUiHost ui;
};

TEST_F(ButtonAddDlgTest, NewSelectorButtonHidesToggleAndShowsItsGroup) {
    auto dialog = make();
    dialog->isSelector = true;
    dialog->selectorId = 1;
    open(*dialog);
    EXPECT_EQ(dialog->windowTitle(), "Button Object");
    EXPECT_FALSE(dialog->toggleBox->isVisible());
    EXPECT_TRUE(dialog->selectorList->isVisible());
    EXPECT_TRUE(dialog->selectorLabel->isVisible());
    EXPECT_EQ(dialog->selectorList->count(), 20);
    EXPECT_EQ(dialog->selectorList->currentText(), "1");
    EXPECT_TRUE(dialog->upRadio->isChecked());
    EXPECT_FALSE(dialog->downRadio->isChecked());

    // Choosing a group takes effect at once.
    dialog->selectorList->setFocus();
    QTest::keyClick(dialog->selectorList, Qt::Key_Down);
    QTest::keyClick(dialog->selectorList, Qt::Key_Down);
    EXPECT_EQ(dialog->selectorId, 3);
}

TEST_F(ButtonAddDlgTest, PlainButtonHidesTheSelectorAndShowsItsMembers) {
    auto dialog = make();
    dialog->toggle = true;
    dialog->holdTime = 2.5;
    dialog->downEvent = u"#LIGHTS ON";
    dialog->upEvent = u"#LIGHTS \u00D6FF";
    open(*dialog);
    EXPECT_TRUE(dialog->toggleBox->isVisible());
    EXPECT_TRUE(dialog->toggleBox->isChecked());
    EXPECT_FALSE(dialog->selectorList->isVisible());
    EXPECT_FALSE(dialog->selectorLabel->isVisible());
    EXPECT_EQ(dialog->holdEdit->text(), "2.5");
    EXPECT_EQ(dialog->downEventEdit->text(), "#LIGHTS ON");
    EXPECT_EQ(dialog->upEventEdit->text(), QString::fromStdU16String(u"#LIGHTS \u00D6FF"));
}

TEST_F(ButtonAddDlgTest, OkReadsTheFieldsAndTakesTheSizeOfImageFaces) {
    auto dialog = make();
    setFace(dialog->upFace, TUserFace::kImage, addPicture(120, 60));
    setFace(dialog->downFace, TUserFace::kImage, addPicture(100, 80));
    open(*dialog);
    dialog->holdEdit->clear();
    QTest::keyClicks(dialog->holdEdit, " 1.25 ");
    QTest::keyClicks(dialog->downEventEdit, "#DOWN");
    QTest::keyClicks(dialog->upEventEdit, "#UP");
    QTest::mouseClick(dialog->toggleBox, Qt::LeftButton, {}, QPoint(6, dialog->toggleBox->height() / 2));
    clickOk(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->width, 120);
    EXPECT_EQ(dialog->height, 80);
    EXPECT_DOUBLE_EQ(dialog->holdTime, 1.25);
    EXPECT_EQ(dialog->downEvent, u"#DOWN");
    EXPECT_EQ(dialog->upEvent, u"#UP");
    EXPECT_TRUE(dialog->toggle);
    EXPECT_EQ(dialog->entryPageId, -1);
}

TEST_F(ButtonAddDlgTest, MissingUpImageKeepsTheSize) {
    auto dialog = make();
    dialog->width = 70;
    dialog->height = 40;
    setFace(dialog->upFace, TUserFace::kImage, 31337);
    open(*dialog);
    clickOk(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->width, 70);
    EXPECT_EQ(dialog->height, 40);
}

// Properties and OK on a button whose event texts came from the panel: a text the user left
// alone stays byte for byte however long it is; an edited one is cut to 79 bytes and its NUL.
// The slot's own edge cases are SlotText's.
TEST_F(ButtonAddDlgTest, PropertiesKeepEventTextsTheUserLeftAlone) {
    const std::string longDown = std::string(100, 'd') + '\0' + std::string(99, '\0') + 'x';
    struct Case {
        const char* what;
        std::string down, up;
        QString typedDown; // empty: untouched
        std::string downAfter;
    };
    const Case cases[] = {
        {"100 bytes, and 248 without a NUL", longDown, std::string(248, 'u'), {}, longDown},
        {"an edited text is cut", longDown, std::string(248, 'u'), QString(100, 'd') + "!",
         std::string(79, 'd') + '\0' + longDown.substr(80)},
    };
    for (const Case& c : cases) {
        TUserPage page(&layout, u"page");
        auto& button = static_cast<TUserButton&>(*page.AddObject(std::make_unique<TUserButton>()));
        std::copy(c.down.begin(), c.down.end(), button.downEvent.begin());
        std::copy(c.up.begin(), c.up.end(), button.upEvent.begin());
        ui.dialogSteps.push_back([&c](QDialog& d) {
            auto& dialog = static_cast<CButtonAddDlg&>(d);
            if (!c.typedDown.isEmpty())
                dialog.downEventEdit->setText(c.typedDown);
            dialog.OnOK();
        });
        ObjectProperties properties(page, ui, nullptr);
        button.Accept(properties);
        ASSERT_TRUE(properties.accepted) << c.what;
        const auto bytes = [](const auto& slot) { return std::string(slot.begin(), slot.end()); };
        EXPECT_EQ(bytes(button.downEvent), c.downAfter + std::string(256 - c.downAfter.size(), '\0')) << c.what;
        EXPECT_EQ(bytes(button.upEvent), c.up + std::string(248 - c.up.size(), '\0')) << c.what;
    }
}

TEST_F(ButtonAddDlgTest, HoldThatIsNotANumberIsRefusedAndNothingChanges) {
    auto dialog = make();
    dialog->holdTime = 3;
    dialog->downEvent = u"#OLD";
    open(*dialog);
    dialog->holdEdit->clear();
    QTest::keyClicks(dialog->holdEdit, "two");
    dialog->downEventEdit->clear();
    QTest::keyClicks(dialog->downEventEdit, "#NEW");
    clickOk(*dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter a number."});
    EXPECT_EQ(dialog->focusWidget(), dialog->holdEdit);
    EXPECT_EQ(dialog->holdTime, 3);
    EXPECT_EQ(dialog->downEvent, u"#OLD");
}

TEST_F(ButtonAddDlgTest, EntryPageListIsSortedAndOkStoresTheChosenPage) {
    auto* keypad = layout.InsertPageAfter(std::make_unique<CNumericCtrl>(&layout, u"Keypad"), nullptr);
    layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Hall"), nullptr);
    auto* alarm = layout.InsertPageAfter(std::make_unique<CNumericCtrl>(&layout, u"Alarm"), nullptr);
    auto dialog = make();
    dialog->entryPageId = keypad->pageId;
    open(*dialog);
    QStringList shown;
    for (int i = 0; i < dialog->entryPageList->count(); ++i)
        shown.push_back(dialog->entryPageList->itemText(i));
    EXPECT_EQ(shown, (QStringList{"Alarm", "Default Data Entry", "Keypad"}));
    EXPECT_EQ(dialog->entryPageList->currentText(), "Keypad");
    dialog->entryPageList->setCurrentIndex(0);
    clickOk(*dialog);
    EXPECT_EQ(dialog->entryPageId, alarm->pageId);
}

TEST_F(ButtonAddDlgTest, WithoutDataEntryPagesOnlyTheDefaultIsOffered) {
    layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Hall"), nullptr);
    auto dialog = make();
    dialog->entryPageId = 10000;
    open(*dialog);
    ASSERT_EQ(dialog->entryPageList->count(), 1);
    EXPECT_EQ(dialog->entryPageList->currentText(), "Default Data Entry");
    clickOk(*dialog);
    EXPECT_EQ(dialog->entryPageId, -1);
}

// The down face of kind 1 is drawn in the middle part only; the rest of the preview stays empty.
TEST_F(ButtonAddDlgTest, DownPreviewOfAButtonFaceDrawsOnlyInTheCentre) {
    auto dialog = make();
    setFace(dialog->upFace, TUserFace::kColor, TUserFace::kSingleColor);
    dialog->upFace.color1 = 0x000000FF;
    setFace(dialog->downFace, TUserFace::kButtonFace, 3);
    open(*dialog);

    const Surface up = dialog->preview->Render();
    const int w = up.Width();
    const int h = up.Height();
    const Argb background = up.Pixel(w / 2, 5);
    EXPECT_EQ(up.Pixel(3, 10), MakeArgb(255, 0, 0));
    EXPECT_EQ(up.Pixel(w - 4, h - 11), MakeArgb(255, 0, 0));
    EXPECT_EQ(up.Pixel(w - 3, h - 10), background);

    QTest::mouseClick(dialog->downRadio, Qt::LeftButton);
    EXPECT_TRUE(dialog->showDownFace);
    EXPECT_FALSE(dialog->upRadio->isChecked());
    const Surface down = dialog->preview->Render();
    const Rect centre{3 + 85, 10 + 95, w - 3 - 85, h - 10 - 110};
    int drawn = 0;
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            if (!centre.Contains(x, y))
                ASSERT_EQ(down.Pixel(x, y), background) << x << "," << y;
            else if (down.Pixel(x, y) != background)
                ++drawn;
        }
    EXPECT_GT(drawn, static_cast<int>(centre.Width() * centre.Height() / 2));

    QTest::mouseClick(dialog->upRadio, Qt::LeftButton);
    EXPECT_FALSE(dialog->showDownFace);
    EXPECT_EQ(dialog->preview->Render(), up);
}

TEST_F(ButtonAddDlgTest, TopfaceEditsACopyThatOkTakesBack) {
    const std::int32_t picture = addPicture(40, 30);
    auto dialog = make();
    setFace(dialog->upFace, TUserFace::kColor, TUserFace::kSingleColor);
    dialog->upFace.text = u"Old";
    open(*dialog);
    QString seenText;
    ui.dialogSteps.push_back([&](QDialog& nested) {
        auto& face = dynamic_cast<CZylFaceDlg&>(nested);
        EXPECT_EQ(face.layout, &layout);
        seenText = QString::fromStdU16String(face.face.text);
        face.face.kind = TUserFace::kImage;
        face.face.value = picture;
        face.face.text = u"New";
        // The dialog's own copy: nothing reaches the button before OK.
        EXPECT_EQ(dialog->upFace.text, u"Old");
        face.accept();
    });
    QTest::mouseClick(dialog->topfaceButton, Qt::LeftButton);
    EXPECT_EQ(ui.dialogs, QStringList{"Face Definition"});
    EXPECT_EQ(seenText, "Old");
    EXPECT_EQ(dialog->upFace.kind, TUserFace::kImage);
    EXPECT_EQ(dialog->upFace.value, picture);
    EXPECT_EQ(dialog->upFace.text, u"New");

    // Cancelled, the face stays as it was.
    ui.dialogSteps.push_back([](QDialog& nested) {
        dynamic_cast<CZylFaceDlg&>(nested).face.kind = TUserFace::kColor;
        nested.reject();
    });
    QTest::mouseClick(dialog->bottomfaceButton, Qt::LeftButton);
    QTest::mouseClick(dialog->topfaceButton, Qt::LeftButton);
    EXPECT_EQ(dialog->upFace.kind, TUserFace::kImage);
    EXPECT_EQ(dialog->downFace.kind, TUserFace::kBlank);

    clickOk(*dialog);
    EXPECT_EQ(dialog->width, 40);
    EXPECT_EQ(dialog->height, 30);
}

} // namespace
