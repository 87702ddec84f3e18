#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/dialogs/CAddImageDlg.h"
#include "editors/dialogs/CHotspotDlg.h"
#include "editors/dialogs/CPageId.h"
#include "editors/dialogs/CSliderPropDlg.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserLevel.h"
#include "render/PageDrawing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList itemTexts(const QComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.push_back(combo.itemText(i));
    return texts;
}

void open(QDialog& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
}

class PropertyDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { QtTestApp(); }

    TListItem& addPage(std::unique_ptr<TListItem> page) { return *layout.InsertPageAfter(std::move(page), nullptr); }

    TLayout layout;
    ScriptedUiHost ui;
};

TEST_F(PropertyDialogsTest, HotspotOffersEveryOtherPageSortedAndChoosingSetsTheTarget) {
    TListItem& own = addPage(std::make_unique<TUserPage>(&layout, u"Living Room"));
    TListItem& scenes = addPage(std::make_unique<CBtn8Ctrl>(&layout, u"Scenes"));
    addPage(std::make_unique<CNumericCtrl>(&layout, u"Door Code"));
    addPage(std::make_unique<TUserPage>(&layout, u"attic"));
    CHotspotDlg dialog(&layout);
    dialog.ownPageId = own.pageId;
    dialog.targetPageId = 2;
    dialog.requirePin = true;
    dialog.pin = u"1234";
    open(dialog);
    EXPECT_EQ(dialog.windowTitle(), "Hotspot Properties");
    EXPECT_EQ(itemTexts(*dialog.pageList), (QStringList{"attic", "Door Code", "Return to Previous", "Scenes"}));
    EXPECT_EQ(dialog.pageList->currentText(), "Return to Previous");
    EXPECT_TRUE(dialog.requirePinBox->isChecked());
    EXPECT_EQ(dialog.pinEdit->text(), "1234");

    dialog.pageList->setFocus();
    QTest::keyClick(dialog.pageList, Qt::Key_Down);
    EXPECT_EQ(dialog.targetPageId, scenes.pageId);
    QTest::mouseClick(dialog.requirePinBox, Qt::LeftButton, {}, QPoint(6, dialog.requirePinBox->height() / 2));
    dialog.pinEdit->clear();
    QTest::keyClicks(dialog.pinEdit, "any text #9");
    QTest::mouseClick(dialog.okButton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.requirePin);
    EXPECT_EQ(dialog.pin, u"any text #9");
    EXPECT_EQ(dialog.targetPageId, scenes.pageId);
}

TEST_F(PropertyDialogsTest, HotspotWhoseTargetIsGoneSelectsNothingAndKeepsIt) {
    TListItem& own = addPage(std::make_unique<TUserPage>(&layout, u"Living Room"));
    TListItem& target = addPage(std::make_unique<TUserPage>(&layout, u"Kitchen"));
    const std::int32_t gone = target.pageId;
    layout.RemovePage(&target);
    CHotspotDlg dialog(&layout);
    dialog.ownPageId = own.pageId;
    dialog.targetPageId = gone;
    open(dialog);
    EXPECT_EQ(dialog.pageList->currentIndex(), -1);
    EXPECT_EQ(itemTexts(*dialog.pageList), QStringList{"Return to Previous"});
    QTest::mouseClick(dialog.okButton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.targetPageId, gone);
}

TEST_F(PropertyDialogsTest, SliderListsOpenOnTheMembers) {
    CSliderPropDlg none(&layout, ui);
    open(none);
    EXPECT_EQ(none.windowTitle(), "Slider Properties");
    EXPECT_EQ(none.controlIdList->count(), 24);
    EXPECT_EQ(none.controlIdList->currentIndex(), -1);
    EXPECT_EQ(none.imageList->count(), static_cast<int>(layout.images.size()));
    EXPECT_EQ(none.imageList->currentData().toInt(), 2);

    CSliderPropDlg chosen(&layout, ui);
    chosen.controlId = 101;
    chosen.sliderImageId = 424242;
    open(chosen);
    EXPECT_EQ(chosen.controlIdList->currentText(), "Model B: Remote Port 2");
    EXPECT_EQ(chosen.imageList->currentIndex(), -1);
    chosen.controlIdList->setFocus();
    QTest::keyClick(chosen.controlIdList, Qt::Key_Down);
    EXPECT_EQ(chosen.controlId, 102);
    EXPECT_EQ(chosen.sliderImageId, 424242);
}

TEST_F(PropertyDialogsTest, AddedSliderImageIsListedChosenAndStaysAfterCancel) {
    CSliderPropDlg dialog(&layout, ui);
    open(dialog);
    const int before = dialog.imageList->count();
    ui.dialogSteps.push_back([](QDialog& nested) {
        auto& add = dynamic_cast<CAddImageDlg&>(nested);
        add.descriptionEdit->setText("Aaa brushed steel");
        add.image = std::make_unique<Picture>(46, 76);
        add.width = 46;
        add.height = 76;
        add.accept();
    });
    QTest::mouseClick(dialog.addImageButton, Qt::LeftButton);
    EXPECT_EQ(ui.dialogs, QStringList{"Add Image"});
    ASSERT_EQ(dialog.imageList->count(), before + 1);
    const TImageEntry& added = *layout.images.front();
    EXPECT_EQ(added.description, u"Aaa brushed steel");
    EXPECT_EQ(dialog.sliderImageId, added.id);
    EXPECT_EQ(dialog.imageList->currentData().toInt(), added.id);
    EXPECT_EQ(dialog.imageList->currentIndex(), 0);

    // A cancelled import adds nothing and keeps the choice.
    QTest::mouseClick(dialog.addImageButton, Qt::LeftButton);
    EXPECT_EQ(dialog.imageList->count(), before + 1);
    EXPECT_EQ(dialog.sliderImageId, added.id);

    QTest::mouseClick(dialog.cancelButton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(layout.FindImage(added.id), &added);
}

// The preview is the slider as the panel's page shows it, on the same background.
TEST_F(PropertyDialogsTest, SliderPreviewEqualsThePageDrawing) {
    struct Case {
        int width, height;
    };
    const Case cases[] = {{45, 130}, {130, 45}, {60, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        CSliderPropDlg dialog(&layout, ui);
        dialog.width = c.width;
        dialog.height = c.height;
        open(dialog);
        const Surface preview = dialog.preview->Render();
        const Argb background = preview.Pixel(preview.Width() / 2, 1);

        auto page = std::make_unique<TUserPage>(&layout, u"Mixer");
        page->face.kind = TUserFace::kColor;
        page->face.value = TUserFace::kSingleColor;
        page->face.color1 = ColorrefFromArgb(background);
        auto slider = std::make_unique<TUserLevel>();
        slider->left = 150;
        slider->top = 60;
        slider->width = c.width;
        slider->height = c.height;
        page->AddObject(std::move(slider));
        Surface screen(kScreenWidth, kScreenHeight);
        PaintPage(screen, *page, nullptr);

        const int left = 1 + (preview.Width() - 2 - c.width) / 2;
        const int top = 1 + (preview.Height() - 2 - c.height) / 2;
        int drawn = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                ASSERT_EQ(preview.Pixel(left + x, top + y), screen.Pixel(150 + x, 60 + y)) << x << "," << y;
                drawn += screen.Pixel(150 + x, 60 + y) != background;
            }
        EXPECT_GT(drawn, c.width * c.height / 4);
    }
}

TEST_F(PropertyDialogsTest, PageIdAcceptsItsOwnAndRefusesTakenNegativeOrReservedIds) {
    TListItem& hall = addPage(std::make_unique<TUserPage>(&layout, u"Hall"));
    TListItem& kitchen = addPage(std::make_unique<TUserPage>(&layout, u"Kitchen"));
    struct Case {
        QString typed;
        QStringList messages;
        bool accepted;
    };
    const Case cases[] = {
        {QString::number(hall.pageId), {}, true},
        {QString::number(kitchen.pageId), {"Duplicate ID: That ID is in use.  Choose another."}, false},
        {"12a", {"ZYLMosaics: Enter an integer."}, false},
        {" 4711 ", {}, true},
        {"-1", {"Invalid ID: A page ID cannot be negative: page IDs are unsigned.  Choose another."}, false},
        {"-2147483648", {"Invalid ID: A page ID cannot be negative: page IDs are unsigned.  Choose another."}, false},
        {"2", {"Invalid ID: Page ID 2 is reserved for \"Return to Previous\".  Choose another."}, false},
        {"0", {}, true},
        {"3", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        ScriptedUiHost host;
        CPageId dialog(layout, hall, host);
        open(dialog);
        EXPECT_EQ(dialog.windowTitle(), "Set Page ID");
        EXPECT_EQ(dialog.pageIdEdit->text(), QString::number(hall.pageId));
        dialog.pageIdEdit->clear();
        QTest::keyClicks(dialog.pageIdEdit, c.typed);
        QTest::keyClick(dialog.pageIdEdit, Qt::Key_Return);
        EXPECT_EQ(host.messages, c.messages);
        EXPECT_EQ(dialog.isVisible(), !c.accepted);
        if (c.accepted)
            EXPECT_EQ(dialog.pageId, c.typed.trimmed().toInt());
        else
            EXPECT_EQ(dialog.focusWidget(), dialog.pageIdEdit);
    }
    EXPECT_EQ(hall.pageId, 10000);
}

} // namespace
