#include "editors/canvas/PageUndo.h"
#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "TempDir.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CPageId.h"
#include "editors/dialogs/CZylFaceDlg.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The user page editor on a page holding, bottom to top, a hot spot, an image and a button.
class PageUndoTest : public ::testing::Test {
protected:
    PageUndoTest() {
        page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Lobby"), nullptr));
        page->AddObject(std::make_unique<TUserHotspot>());
        page->AddObject(std::make_unique<TUserImage>());
        page->AddObject(std::make_unique<TUserButton>());
        for (int i = 0; i < 3; ++i)
            setGeometry(*page->objects[static_cast<std::size_t>(i)], {10 + 50 * i, 10, 40, 40});
        dlg = std::make_unique<CZylUserDlg>(layout, *page, ui, false);
        canvas = dlg->canvas;
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
    }

    // A right click at the point choosing `choice`, with `step` playing the dialog it opens.
    void command(QPoint at, const QString& choice, std::function<void(QDialog&)> step = {}) {
        ui.menuChoices.push_back(choice);
        if (step)
            ui.dialogSteps.push_back(std::move(step));
        QTest::mouseClick(canvas, Qt::RightButton, {}, at);
    }

    void drag(QPoint from, QPoint to) {
        canvas->OnLButtonDown(from.x(), from.y());
        canvas->OnMouseMove((from.x() + to.x()) / 2, (from.y() + to.y()) / 2);
        canvas->OnMouseMove(to.x(), to.y());
        canvas->OnLButtonUp();
    }

    // The canvas menu's Undo and Redo entries, from a right click on empty page.
    QString undoEntries() {
        command({300, 220}, QString());
        return ui.menus.back().section('|', -2);
    }

    // The selected object's place on the page: -1 for none, -2 for an object not on the page.
    int selectedIndex() const {
        const int at = CapturePage(*page, canvas->selected).selected;
        return at < 0 && canvas->selected != nullptr ? -2 : at;
    }

    void key(QKeyCombination combination) {
        QTest::keyClick(dlg.get(), combination.key(), combination.keyboardModifiers());
    }

    QApplication& app = QtTestApp();
    TLayout layout;
    TUserPage* page = nullptr;
    ScriptedUiHost ui;
    TempDir files;
    std::unique_ptr<CZylUserDlg> dlg;
    CZylWnd* canvas = nullptr;
};

const auto accepted = [](QDialog& d) { d.accept(); };

// Every change is one step: undone (Ctrl+Z, or from the menu), the page's record is the original
// byte for byte, and redone (Ctrl+Y) the edited one; the selection always points at an object of
// the page, or nowhere.
TEST_F(PageUndoTest, EveryChangeUndoesAndRedoesExactly) {
    const auto resize = [](QDialog& d) {
        static_cast<CZylFaceDlg&>(d).width = 33;
        d.accept();
    };
    const auto colour = [](QDialog& d) {
        static_cast<CZylFaceDlg&>(d).face.kind = TUserFace::kColor;
        d.accept();
    };
    const auto setId = [](QDialog& d) {
        static_cast<CPageId&>(d).pageIdEdit->setText("10777");
        QTest::mouseClick(static_cast<CPageId&>(d).okButton, Qt::LeftButton);
    };
    const auto keys = [&] {
        canvas->setFocus();
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
            QTest::keyClick(canvas, key);
    };
    const auto loadPage = [&] {
        TUserPage source(&layout, u"From file");
        ASSERT_TRUE(layout.SavePage(source, files.Path("page.zup")));
        ui.openFiles = {QString::fromStdString(files.Path("page.zup"))};
        QTest::mouseClick(dlg->loadButton, Qt::LeftButton);
    };
    // Each row clicks `select` first (none at 0, 0), then runs `act`, then chooses `choice` in the
    // canvas menu at `at` with `step` playing its dialog.
    const struct {
        QString what;
        QPoint select;
        std::function<void()> act;
        QPoint at;
        QString choice;
        std::function<void(QDialog&)> step;
        int selectedAfterUndo;
    } cases[] = {
        {"Add Button", {}, {}, {200, 150}, "Add>Button", accepted, -1},
        {"Add Image", {}, {}, {200, 150}, "Add>Image", accepted, -1},
        {"Properties", {}, {}, {70, 20}, "Properties", resize, -1},
        {"Background", {}, {}, {200, 150}, "Background", colour, -1},
        {"Delete", {120, 20}, [&] { ui.answers = {true}; }, {120, 20}, "Delete", {}, 2},
        {"Push", {}, {}, {120, 20}, "Push", {}, -1},
        {"Pull", {}, {}, {20, 20}, "Pull", {}, -1},
        {"Move",
         {},
         [&] {
             drag({70, 20}, {90, 45});
         },
         {},
         {},
         {},
         1},
        {"Resize",
         {70, 20},
         [&] {
             drag({100, 50}, {120, 70});
         },
         {},
         {},
         {},
         1},
        {"Move", {70, 20}, keys, {}, {}, {}, 1},
        {"Set Page ID", {}, [&] { QTest::mouseClick(dlg->setButton, Qt::LeftButton); }, {}, {}, setId, -1},
        {"Load Page", {}, loadPage, {}, {}, {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what.toStdString());
        canvas->selected = nullptr;
        if (!c.select.isNull())
            drag(c.select, c.select);
        const Bytes before = page->Record();
        if (c.step && c.choice.isEmpty())
            ui.dialogSteps.push_back(c.step);
        if (c.act)
            c.act();
        if (!c.choice.isEmpty())
            command(c.at, c.choice, c.step);
        const Bytes edited = page->Record();
        ASSERT_NE(edited, before);
        EXPECT_EQ(canvas->undoStack.count(), 1) << "one step";
        EXPECT_EQ(undoEntries(), "&Undo " + c.what + "\tCtrl+Z|&Redo\tCtrl+Shift+Z (disabled)");

        key(Qt::CTRL | Qt::Key_Z);
        EXPECT_EQ(page->Record(), before);
        EXPECT_EQ(selectedIndex(), c.selectedAfterUndo);
        EXPECT_EQ(undoEntries(), "&Undo\tCtrl+Z (disabled)|&Redo " + c.what + "\tCtrl+Shift+Z");
        EXPECT_EQ(dlg->pageId->text(), QString::number(page->pageId));
        EXPECT_EQ(dlg->pageName->text(), "Lobby");

        key(Qt::CTRL | Qt::Key_Y);
        EXPECT_EQ(page->Record(), edited);
        EXPECT_GE(selectedIndex(), -1);
        EXPECT_EQ(dlg->pageId->text(), QString::number(page->pageId));
        command({300, 220}, "&Undo " + c.what + "\tCtrl+Z");
        EXPECT_EQ(page->Record(), before);
    }
}

} // namespace

// A page built with the keyboard alone: the focus by Tab, an image added through the Menu key,
// moved by the arrows, copied and pasted, its properties by Enter. Every step undoes back to the
// page's original bytes and redoes to the edited ones.
TEST_F(PageUndoTest, AKeyboardOnlyEditUndoesToTheOriginalAndRedoesToTheEdit) {
    const Bytes original = CapturePage(*page, nullptr).record;
    for (int tab = 0; tab < 8 && !canvas->hasFocus(); ++tab)
        key(Qt::Key_Tab);
    ASSERT_TRUE(canvas->hasFocus());
    ui.menuChoices.push_back("Add>Image");
    ui.dialogSteps.push_back(accepted);
    QTest::keyClick(canvas, Qt::Key_Menu);
    ASSERT_EQ(page->objects.size(), 4u);
    for (const QKeyCombination step :
         {QKeyCombination(Qt::Key_Right), QKeyCombination(Qt::Key_Right),
          QKeyCombination(Qt::ShiftModifier, Qt::Key_Down), QKeyCombination(Qt::ControlModifier, Qt::Key_C),
          QKeyCombination(Qt::ControlModifier, Qt::Key_V)})
        QTest::keyClick(canvas, step.key(), step.keyboardModifiers());
    ASSERT_EQ(page->objects.size(), 5u);
    ui.dialogSteps.push_back([](QDialog& d) {
        static_cast<CZylFaceDlg&>(d).width = 21;
        d.accept();
    });
    QTest::keyClick(canvas, Qt::Key_Return);
    const Bytes edited = CapturePage(*page, nullptr).record;
    ASSERT_NE(edited, original);
    // Add, the merged run of moves, Paste and Properties.
    ASSERT_EQ(canvas->undoStack.count(), 4);
    while (canvas->undoStack.canUndo())
        key(QKeyCombination(Qt::ControlModifier, Qt::Key_Z));
    EXPECT_EQ(CapturePage(*page, nullptr).record, original);
    while (canvas->undoStack.canRedo())
        key(QKeyCombination(Qt::ControlModifier, Qt::Key_Y));
    EXPECT_EQ(CapturePage(*page, nullptr).record, edited);
}
