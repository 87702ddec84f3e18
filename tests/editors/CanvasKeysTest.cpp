#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "RichLayout.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/TLayout.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr Geometry kImage{40, 40, 80, 60};

// The user page editor on "Lobby": an image showing a user image under a hot spot, the focus
// given to the canvas by a click on empty page area.
struct Editor {
    Editor() {
        page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Lobby"), nullptr));
        auto picture = std::make_unique<TUserImage>();
        picture->face.kind = TUserFace::kImage;
        picture->face.value = AddTestImage(layout, 3);
        setGeometry(*picture, kImage);
        image = page->AddObject(std::move(picture));
        auto spot = std::make_unique<TUserHotspot>();
        setGeometry(*spot, {150, 100, 50, 40});
        hotspot = page->AddObject(std::move(spot));
        dlg = std::make_unique<CZylUserDlg>(layout, *page, ui, false);
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        QTest::mouseClick(dlg->canvas, Qt::LeftButton, {}, {300, 200});
    }

    CZylWnd* canvas() const { return dlg->canvas; }

    TLayout layout;
    TUserPage* page = nullptr;
    TUserObject* image = nullptr;
    TUserObject* hotspot = nullptr;
    ScriptedUiHost ui;
    std::unique_ptr<CZylUserDlg> dlg;
};

// Each row starts afresh with the image selected (or nothing), presses one key and looks at the
// page, the selection, what was asked and shown, and that "Page Name:" never saw the key.
TEST(CanvasKeys, KeysActOnTheSelectionOnlyWhileTheCanvasHasTheFocus) {
    QtTestApp();
    const QString kAsk = "Confirm Delete: Are you sure you want to permanently delete this object ?";
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool selectImage;
        bool answerYes;
        size_t objects;
        char selectedAfter; // 'I' the image, '-' nothing, 'N' the new top object
        Geometry changed;   // of the image, or of the new object for 'N'
        QStringList questions;
        QStringList dialogs;
        QString menu; // the point the menu opened at, as "x,y" on the canvas
        bool stillOpen;
    } rows[] = {
        {"arrow moves", Qt::Key_Right, {}, true, false, 2, 'I', {41, 40, 80, 60}, {}, {}, "", true},
        {"Ctrl+arrow resizes",
         Qt::Key_Left,
         Qt::ControlModifier,
         true,
         false,
         2,
         'I',
         {40, 40, 79, 60},
         {},
         {},
         "",
         true},
        {"Ctrl+Shift+arrow resizes by 10",
         Qt::Key_Down,
         Qt::ControlModifier | Qt::ShiftModifier,
         true,
         false,
         2,
         'I',
         {40, 40, 80, 70},
         {},
         {},
         "",
         true},
        {"Delete asks, No keeps", Qt::Key_Delete, {}, true, false, 2, 'I', kImage, {kAsk}, {}, "", true},
        {"Delete asks, Yes deletes", Qt::Key_Delete, {}, true, true, 1, '-', kImage, {kAsk}, {}, "", true},
        {"Delete with nothing selected", Qt::Key_Delete, {}, false, true, 2, '-', kImage, {}, {}, "", true},
        {"Enter opens Properties", Qt::Key_Return, {}, true, false, 2, 'I', kImage, {}, {"Face Definition"}, "", true},
        {"Enter with nothing selected keeps the dialog",
         Qt::Key_Enter,
         {},
         false,
         false,
         2,
         '-',
         kImage,
         {},
         {},
         "",
         true},
        {"Menu key at the selection", Qt::Key_Menu, {}, true, false, 2, 'I', kImage, {}, {}, "80,70", true},
        {"Shift+F10 at the centre",
         Qt::Key_F10,
         Qt::ShiftModifier,
         false,
         false,
         2,
         '-',
         kImage,
         {},
         {},
         "160,120",
         true},
        {"Escape clears the selection", Qt::Key_Escape, {}, true, false, 2, '-', kImage, {}, {}, "", true},
        {"Escape with nothing selected closes", Qt::Key_Escape, {}, false, false, 2, '-', kImage, {}, {}, "", false},
        {"Ctrl+D duplicates 10 pixels off",
         Qt::Key_D,
         Qt::ControlModifier,
         true,
         false,
         3,
         'N',
         {50, 50, 80, 60},
         {},
         {},
         "",
         true},
        {"Ctrl+X cuts", Qt::Key_X, Qt::ControlModifier, true, false, 1, '-', kImage, {}, {}, "", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Editor editor;
        ASSERT_EQ(QApplication::focusWidget(), editor.dlg->canvas);
        editor.canvas()->selected = row.selectImage ? editor.image : nullptr;
        editor.ui.answers = {row.answerYes};
        const std::size_t images = editor.layout.images.size();
        QTest::keyClick(QApplication::focusWidget(), row.key, row.modifiers);

        EXPECT_EQ(editor.dlg->pageName->text(), "Lobby");
        EXPECT_EQ(editor.ui.questions, row.questions);
        EXPECT_EQ(editor.ui.dialogs, row.dialogs);
        EXPECT_EQ(editor.dlg->isVisible(), row.stillOpen);
        ASSERT_EQ(editor.page->objects.size(), row.objects);
        EXPECT_EQ(editor.layout.images.size(), images);
        const TUserObject* expected = row.selectedAfter == 'I'   ? editor.image
                                      : row.selectedAfter == 'N' ? editor.page->objects.back().get()
                                                                 : nullptr;
        EXPECT_EQ(editor.canvas()->selected, expected);
        if (row.selectedAfter == 'N') {
            EXPECT_EQ(geometryOf(*expected), row.changed);
        } else if (row.objects > 1) {
            EXPECT_EQ(geometryOf(*editor.image), row.changed);
        }
        const QPoint menuAt = row.menu.isEmpty()
                                  ? QPoint()
                                  : QPoint(row.menu.section(',', 0, 0).toInt(), row.menu.section(',', 1, 1).toInt());
        EXPECT_EQ(editor.ui.menuPoints.empty() ? QPoint() : editor.canvas()->mapFromGlobal(editor.ui.menuPoints[0]),
                  menuAt);
    }
}

// The status line follows the pointer and the selection while a drag goes on.
TEST(CanvasKeys, StatusLineShowsPointerAndSelectionWhileDragging) {
    QtTestApp();
    Editor editor;
    const QLabel& status = *editor.dlg->statusLine;
    QTest::mousePress(editor.canvas(), Qt::LeftButton, {}, {50, 50});
    EXPECT_EQ(status.text().toStdString(), "Pointer 50, 50    Selection 40, 40, 80 × 60");
    QTest::mouseMove(editor.canvas(), {70, 45});
    EXPECT_EQ(status.text().toStdString(), "Pointer 70, 45    Selection 60, 35, 80 × 60");
    QTest::mouseRelease(editor.canvas(), Qt::LeftButton, {}, {70, 45});
    QTest::mousePress(editor.canvas(), Qt::LeftButton, {}, {140, 95});
    QTest::mouseMove(editor.canvas(), {150, 101});
    EXPECT_EQ(status.text().toStdString(), "Pointer 150, 101    Selection 60, 35, 90 × 66");
    QTest::mouseRelease(editor.canvas(), Qt::LeftButton, {}, {150, 101});
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, {300, 10});
    EXPECT_EQ(status.text().toStdString(), "Pointer 300, 10");
}

} // namespace
