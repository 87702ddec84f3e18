// The face dialog's preview against `zylctl render`: a face designed in the dialog, saved as the
// background of a template's user page and rendered by the command, is the preview's drawing
// rectangle pixel for pixel.
#include "QtTestApp.h"
#include "RichLayout.h"
#include "ScriptedUiHost.h"
#include "TempDir.h"
#include "cli/RenderCommand.h"
#include "editors/canvas/SurfaceView.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/CColourPopup.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Picks the colour through the button's popup, as a click on the cell does.
void pick(CColorButton* button, std::uint32_t color) {
    QTest::mouseClick(button, Qt::LeftButton);
    CColourPopup* popup = button->Popup();
    ASSERT_NE(popup, nullptr);
    const auto cell =
        std::find_if(colourTable.begin(), colourTable.end(), [&](const NamedColour& c) { return c.color == color; });
    ASSERT_NE(cell, colourTable.end());
    popup->ChangeSelection(static_cast<int>(cell - colourTable.begin()));
    popup->EndSelection(true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void choose(QComboBox* list, const QString& text) {
    const int row = list->findText(text);
    ASSERT_GE(row, 0) << text.toStdString();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentIndex() < row; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), row) << text.toStdString();
}

class FacePreviewRender : public ::testing::Test {
protected:
    void SetUp() override { QtTestApp(); }

    CZylFaceDlg& open() {
        dialog = std::make_unique<CZylFaceDlg>(&layout, ui);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }

    // The face the dialog holds as the background of a template's one user page, drawn by the
    // command line's render.
    Picture rendered() {
        auto page = std::make_unique<TUserPage>(&layout, u"Preview");
        page->face.CopyFrom(dialog->face);
        TListItem* added = layout.InsertPageAfter(std::move(page), nullptr);
        added->pageId = layout.NextPageId();
        std::string error;
        EXPECT_TRUE(layout.SaveTemplate(temp.Path("face.zyl"), &error)) << error;
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunRenderCommand(
            {temp.Path("face.zyl"), "--page", std::to_string(added->pageId), "-o", temp.Path("face.png")}, out, err);
        EXPECT_EQ(status, 0) << err.str();
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(ReadWholeFile(temp.Path("face.png"), 1 << 20, bytes, &error)) << error;
        Picture picture;
        picture.DecodePng(bytes);
        return picture;
    }

    void expectPreviewIs(const Picture& panel) {
        const Surface drawn = dialog->preview->Render();
        ASSERT_EQ(drawn.Width(), 326);
        ASSERT_EQ(drawn.Height(), 260);
        ASSERT_EQ(panel.Width(), 320);
        ASSERT_EQ(panel.Height(), 240);
        for (int y = 0; y < 240; ++y) {
            for (int x = 0; x < 320; ++x) {
                const Argb p = drawn.Pixel(x + 3, y + 10);
                const Rgba q = panel.GetPixel(x, y);
                ASSERT_EQ(p, MakeArgb(q.r, q.g, q.b)) << x << "," << y;
            }
        }
    }

    TempDir temp;
    ScriptedUiHost ui;
    TLayout layout;
    std::unique_ptr<CZylFaceDlg> dialog;
};

TEST_F(FacePreviewRender, GradientWithCaption) {
    CZylFaceDlg& dlg = open();
    QTest::mouseClick(dlg.colorRadio, Qt::LeftButton);
    choose(dlg.gradientList, "Gradient Radial");
    pick(dlg.color1Button, Rgb(0, 0, 139));
    pick(dlg.color2Button, Rgb(255, 255, 0));
    pick(dlg.captionColor, Rgb(255, 255, 255));
    choose(dlg.captionSize, "Large");
    QTest::keyClicks(dlg.captionText, "Living Room");
    ASSERT_EQ(dlg.face.kind, TUserFace::kColor);
    ASSERT_EQ(dlg.face.value, TUserFace::kRadial);
    ASSERT_EQ(dlg.face.textSize, TUserFace::kLarge);
    const Picture panel = rendered();
    expectPreviewIs(panel);
    // Not a vacuous match: the corners hold the two ends of the gradient and the middle the text.
    EXPECT_EQ(dlg.preview->Render().Pixel(3, 10), MakeArgb(0, 0, 139));
    bool white = false;
    for (int x = 100; x < 220; ++x)
        white = white || dlg.preview->Render().Pixel(x + 3, 130) == kWhite;
    EXPECT_TRUE(white);
}

// An image larger than the screen shows its middle, cut exactly at the drawing rectangle.
TEST_F(FacePreviewRender, ImageWithCaption) {
    auto picture = TestPicture(330, 250, 9);
    TImageEntry& entry = layout.AddUserImage(u"Terrace", std::move(picture));
    CZylFaceDlg& dlg = open();
    QTest::mouseClick(dlg.imageRadio, Qt::LeftButton);
    choose(dlg.imageList, "1: Terrace");
    ASSERT_EQ(dlg.imageId, entry.id);
    pick(dlg.captionColor, Rgb(255, 0, 0));
    choose(dlg.captionSize, "Small");
    QTest::keyClicks(dlg.captionText, "Terrace ~ 21");
    expectPreviewIs(rendered());
    const Surface drawn = dlg.preview->Render();
    const QColor window = dlg.preview->palette().color(QPalette::Window);
    const Argb background = MakeArgb(window.red(), window.green(), window.blue());
    for (const auto& [x, y] : {std::pair{2, 9}, {323, 250}, {2, 130}, {160, 9}, {160, 250}, {323, 130}})
        EXPECT_EQ(drawn.Pixel(x, y), background) << x << "," << y;
}

} // namespace
