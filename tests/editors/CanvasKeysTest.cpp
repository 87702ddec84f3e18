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

// Each row starts afresh with the image selected ('I'; 'Y' also answers Yes) or nothing ('-'),
// presses one key and looks at the selection afterwards ('N' a new object on top, 'X' the image
// gone), the image's (or the new object's) rectangle, what was asked or opened, and that
// "Page Name:" never saw the key.
TEST(CanvasKeys, KeysActOnTheSelectionOnlyWhileTheCanvasHasTheFocus) {
    QtTestApp();
    const QString ask = "Confirm Delete: Are you sure you want to permanently delete this object ?";
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        char before;
        char after;
        Geometry bounds;
        QString asked;
    } rows[] = {
        {"arrow moves", Qt::Key_Right, {}, 'I', 'I', {41, 40, 80, 60}, ""},
        {"Ctrl+arrow resizes", Qt::Key_Left, Qt::ControlModifier, 'I', 'I', {40, 40, 79, 60}, ""},
        {"Ctrl+Shift+arrow by 10", Qt::Key_Down, ctrlShift, 'I', 'I', {40, 40, 80, 70}, ""},
        {"Delete asks, No keeps", Qt::Key_Delete, {}, 'I', 'I', kImage, ask},
        {"Delete asks, Yes deletes", Qt::Key_Delete, {}, 'Y', 'X', kImage, ask},
        {"Delete with nothing selected", Qt::Key_Delete, {}, '-', '-', kImage, ""},
        {"Enter opens Properties", Qt::Key_Return, {}, 'I', 'I', kImage, "Face Definition"},
        {"Enter with nothing selected stays", Qt::Key_Enter, {}, '-', '-', kImage, ""},
        {"Menu key at the selection", Qt::Key_Menu, {}, 'I', 'I', kImage, "menu at 80, 70"},
        {"Shift+F10 at the centre", Qt::Key_F10, Qt::ShiftModifier, '-', '-', kImage, "menu at 160, 120"},
        {"Escape clears the selection", Qt::Key_Escape, {}, 'I', '-', kImage, ""},
        {"Escape with nothing selected closes", Qt::Key_Escape, {}, '-', '-', kImage, "closed"},
        {"Ctrl+D duplicates 10 pixels off", Qt::Key_D, Qt::ControlModifier, 'I', 'N', {50, 50, 80, 60}, ""},
        {"Ctrl+X cuts", Qt::Key_X, Qt::ControlModifier, 'I', 'X', kImage, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Editor editor;
        ASSERT_EQ(QApplication::focusWidget(), editor.canvas());
        editor.canvas()->selected = row.before == '-' ? nullptr : editor.image;
        editor.ui.answers = {row.before == 'Y'};
        const std::size_t images = editor.layout.images.size();
        QTest::keyClick(QApplication::focusWidget(), row.key, row.modifiers);

        EXPECT_EQ(editor.dlg->pageName->text(), "Lobby");
        QStringList asked = editor.ui.questions + editor.ui.dialogs;
        for (const QPoint& at : editor.ui.menuPoints) {
            const QPoint local = editor.canvas()->mapFromGlobal(at);
            asked << QString("menu at %1, %2").arg(local.x()).arg(local.y());
        }
        if (!editor.dlg->isVisible())
            asked << "closed";
        EXPECT_EQ(asked.join("; ").toStdString(), row.asked.toStdString());
        EXPECT_EQ(editor.layout.images.size(), images);
        ASSERT_EQ(editor.page->objects.size(), row.after == 'N' ? 3u : row.after == 'X' ? 1u : 2u);
        const TUserObject* shown = row.after == 'N' ? editor.page->objects.back().get() : editor.image;
        EXPECT_EQ(editor.canvas()->selected, row.after == 'I' || row.after == 'N' ? shown : nullptr);
        if (row.after != 'X') {
            EXPECT_EQ(geometryOf(*shown), row.bounds);
        }
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
    // The bottom edge snaps onto a guide 1 pixel above the pointer.
    EXPECT_EQ(status.text().toStdString(), "Pointer 150, 101    Selection 60, 35, 90 × 65");
    QTest::mouseRelease(editor.canvas(), Qt::LeftButton, {}, {150, 101});
    QTest::mouseClick(editor.canvas(), Qt::LeftButton, {}, {300, 10});
    EXPECT_EQ(status.text().toStdString(), "Pointer 300, 10");
}

} // namespace
