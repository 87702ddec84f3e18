#include "MainWindowFixture.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/CColourPopup.h"
#include "editors/dialogs/CButtonAddDlg.h"
#include "editors/dialogs/CHotspotDlg.h"
#include "editors/dialogs/CSliderPropDlg.h"
#include "editors/dialogs/CZYLProg.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "layout/AnsiCodePage.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"

#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

namespace {

QPushButton* okOf(QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text().remove('&') == "OK")
            return button;
    ADD_FAILURE() << "no OK in " << dialog.windowTitle().toStdString();
    return nullptr;
}

void chooseData(QComboBox* list, int data) {
    const int row = list->findData(data);
    ASSERT_GE(row, 0) << list->objectName().toStdString() << " has no " << data;
    list->setCurrentIndex(row);
}

void pickColour(CColorButton* button, int cell) {
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_NE(button->Popup(), nullptr);
    button->Popup()->ChangeSelection(cell);
    button->Popup()->EndSelection(true);
}

// A picture with something in every corner, so a misplaced or rescaled copy cannot pass.
QString writePng(const std::string& folder) {
    QImage image(48, 36, QImage::Format_ARGB32);
    image.fill(QColor(30, 120, 200));
    QPainter painter(&image);
    painter.fillRect(0, 0, 12, 9, Qt::yellow);
    painter.fillRect(36, 27, 12, 9, QColor(200, 30, 30, 128));
    painter.end();
    const QString path = QString::fromStdString(folder + "/porch.png");
    EXPECT_TRUE(image.save(path));
    return path;
}

// A user page designed from nothing in the editor, with every kind of object, reaches the panel
// and comes back from it unchanged.
TEST_F(MainWindow, AUserPageDesignedInTheEditorReachesThePanel) {
    startSim();
    auto dlg = window(sim->DevicePath());
    click(dlg->connectButton);
    ASSERT_FALSE(layout.pages.empty());
    const std::int32_t target = layout.pages.front()->pageId;
    const std::size_t pagesBefore = layout.pages.size();

    ui.menuChoices = {"User Defined", "Background", "Add>Image", "Add>Button", "Add>Hot Spot", "Add>Level Slider"};
    ui.openFiles = {writePng(state.Path())};
    const auto rightClick = [](CZylWnd* canvas, QPoint at) { QTest::mouseClick(canvas, Qt::RightButton, {}, at); };
    ui.dialogSteps = {
        [](QDialog& d) {
            auto& prog = static_cast<CZYLProg&>(d);
            click(prog.addButton);
            click(prog.okButton);
        },
        [&](QDialog& d) {
            auto* name = d.findChild<QLineEdit*>("pageName");
            auto* canvas = d.findChild<CZylWnd*>("ZylWnd");
            ASSERT_TRUE(name && canvas);
            name->selectAll();
            QTest::keyClicks(name, "Porch");
            rightClick(canvas, {300, 230});
            rightClick(canvas, {10, 10});
            rightClick(canvas, {100, 120});
            rightClick(canvas, {200, 20});
            rightClick(canvas, {262, 90});
            click(okOf(d));
        },
        [](QDialog& d) {
            auto& face = static_cast<CZylFaceDlg&>(d);
            face.colorRadio->click();
            chooseData(face.gradientList, TUserFace::kLeftToRight);
            pickColour(face.color1Button, 5);
            pickColour(face.color2Button, 30);
            click(face.okButton);
        },
        [](QDialog& d) {
            auto& face = static_cast<CZylFaceDlg&>(d);
            click(face.addImageButton);
            click(face.okButton);
        },
        [](QDialog& d) { click(okOf(d)); }, // "Add Image" with the picture as browsed
        [](QDialog& d) {
            auto& button = static_cast<CButtonAddDlg&>(d);
            click(button.topfaceButton);
            click(button.bottomfaceButton);
            QTest::keyClicks(button.downEventEdit, "PORCH ON");
            QTest::keyClicks(button.upEventEdit, "PORCH OFF");
            click(button.okButton);
        },
        [](QDialog& d) {
            auto& face = static_cast<CZylFaceDlg&>(d);
            face.buttonFaceRadio->click();
            face.buttonFaceList->setCurrentIndex(2);
            QTest::keyClicks(face.captionText, "Porch");
            click(face.okButton);
        },
        [](QDialog& d) {
            auto& face = static_cast<CZylFaceDlg&>(d);
            face.colorRadio->click();
            pickColour(face.color1Button, 12);
            click(face.okButton);
        },
        [&](QDialog& d) {
            auto& hotspot = static_cast<CHotspotDlg&>(d);
            chooseData(hotspot.pageList, target);
            click(hotspot.okButton);
        },
        [](QDialog& d) {
            auto& slider = static_cast<CSliderPropDlg&>(d);
            slider.controlIdList->setCurrentIndex(3);
            click(slider.okButton);
        },
    };
    click(dlg->editLayoutButton);
    EXPECT_TRUE(ui.dialogSteps.empty()) << ui.dialogs.join(", ").toStdString();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join("\n").toStdString();

    ASSERT_EQ(layout.pages.size(), pagesBefore + 1);
    const auto* page = dynamic_cast<const TUserPage*>(layout.pages.back().get());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->name, u"Porch");
    EXPECT_EQ(page->face.kind, TUserFace::kColor);
    std::vector<std::int32_t> kinds;
    for (const auto& object : page->objects)
        kinds.push_back(object->kind);
    EXPECT_EQ(kinds, (std::vector<std::int32_t>{TUserObject::kImage, TUserObject::kButton, TUserObject::kHotspot,
                                                TUserObject::kLevel}));
    EXPECT_EQ(page->objects[0]->width, 48) << "the image object takes the picture's size";
    EXPECT_EQ(page->face.value, TUserFace::kLeftToRight);
    const auto& button = static_cast<const TUserButton&>(*page->objects[1]);
    EXPECT_EQ(LoadAnsiSlot(button.downEvent), u"PORCH ON");
    EXPECT_EQ(LoadAnsiSlot(button.upEvent), u"PORCH OFF");
    EXPECT_EQ(button.upFace.text, u"Porch");
    EXPECT_EQ(button.downFace.kind, TUserFace::kColor);
    EXPECT_EQ(static_cast<const TUserHotspot&>(*page->objects[2]).targetPageId, target);
    EXPECT_NE(static_cast<const TUserLevel&>(*page->objects[3]).controlId, -1);
    expectRoundTrip(*dlg);
}

} // namespace
