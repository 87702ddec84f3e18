#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "RichLayout.h"
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

#include <algorithm>
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

    int selectedIndex() const {
        const auto& objects = page->objects;
        const auto at =
            std::find_if(objects.begin(), objects.end(), [&](const auto& o) { return o.get() == canvas->selected; });
        return at == objects.end() ? (canvas->selected == nullptr ? -1 : -2) : static_cast<int>(at - objects.begin());
    }

    // A page file from another layout: a page with one image object showing a user image.
    std::string pageFile() {
        TLayout other;
        TUserPage source(&other, u"From file");
        auto image = std::make_unique<TUserImage>();
        image->face.kind = TUserFace::kImage;
        image->face.value = AddTestImage(other, 7);
        source.AddObject(std::move(image));
        EXPECT_TRUE(other.SavePage(source, files.Path("page.zup")));
        return files.Path("page.zup");
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

// Every change is one step: undone, the page's record is the original byte for byte, and redone
// the edited one; the selection always points at an object of the page, or nowhere.
TEST_F(PageUndoTest, EveryChangeUndoesAndRedoesExactly) {
    const struct {
        QString what;
        std::function<void()> act;
        int selectedAfterUndo;
    } cases[] = {
        {"Add Button",
         [&] {
             command({200, 150}, "Add>Button", accepted);
         },
         -1},
        {"Add Image",
         [&] {
             command({200, 150}, "Add>Image", accepted);
         },
         -1},
        {"Properties",
         [&] {
             command({70, 20}, "Properties", [](QDialog& d) {
                 static_cast<CZylFaceDlg&>(d).width = 33;
                 d.accept();
             });
         },
         -1},
        {"Background",
         [&] {
             command({200, 150}, "Background", [](QDialog& d) {
                 static_cast<CZylFaceDlg&>(d).face.kind = TUserFace::kColor;
                 static_cast<CZylFaceDlg&>(d).face.color1 = 0x123456;
                 d.accept();
             });
         },
         -1},
        {"Delete",
         [&] {
             drag({120, 20}, {120, 20});
             ui.answers = {true};
             command({120, 20}, "Delete");
         },
         2},
        {"Push",
         [&] {
             command({120, 20}, "Push");
         },
         -1},
        {"Pull",
         [&] {
             command({20, 20}, "Pull");
         },
         -1},
        {"Move",
         [&] {
             drag({70, 20}, {90, 45});
         },
         1},
        {"Resize",
         [&] {
             drag({70, 20}, {70, 20});
             drag({100, 50}, {120, 70});
         },
         1},
        {"Move",
         [&] {
             drag({70, 20}, {70, 20});
             canvas->setFocus();
             for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
                 QTest::keyClick(canvas, key);
         },
         1},
        {"Set Page ID",
         [&] {
             ui.dialogSteps.push_back([](QDialog& d) {
                 static_cast<CPageId&>(d).pageIdEdit->setText("10777");
                 QTest::mouseClick(static_cast<CPageId&>(d).okButton, Qt::LeftButton);
             });
             QTest::mouseClick(dlg->setButton, Qt::LeftButton);
         },
         -1},
        {"Load Page",
         [&] {
             ui.openFiles = {QString::fromStdString(pageFile())};
             QTest::mouseClick(dlg->loadButton, Qt::LeftButton);
         },
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what.toStdString());
        canvas->selected = nullptr;
        const Bytes before = page->Record();
        c.act();
        const Bytes edited = page->Record();
        ASSERT_NE(edited, before);
        EXPECT_EQ(canvas->undoStack.count(), 1) << "one step";
        EXPECT_EQ(undoEntries(), "&Undo " + c.what + "\tCtrl+Z|&Redo\tCtrl+Shift+Z (disabled)");

        canvas->Undo();
        EXPECT_EQ(page->Record(), before);
        EXPECT_EQ(selectedIndex(), c.selectedAfterUndo);
        EXPECT_EQ(undoEntries(), "&Undo\tCtrl+Z (disabled)|&Redo " + c.what + "\tCtrl+Shift+Z");
        EXPECT_EQ(dlg->pageId->text(), QString::number(page->pageId));
        EXPECT_EQ(dlg->pageName->text(), "Lobby");

        canvas->Redo();
        EXPECT_EQ(page->Record(), edited);
        EXPECT_GE(selectedIndex(), -1);
        EXPECT_EQ(dlg->pageId->text(), QString::number(page->pageId));
        canvas->Undo();
    }
}

// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo; in the name field Ctrl+Z undoes the typing only.
TEST_F(PageUndoTest, KeysUndoAndRedo) {
    const Bytes before = page->Record();
    command({120, 20}, "Push");
    const Bytes edited = page->Record();
    const struct {
        QWidget* at;
        QKeyCombination key;
        const Bytes& page;
    } cases[] = {
        {canvas, Qt::CTRL | Qt::Key_Z, before},        {canvas, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, edited},
        {dlg->okButton, Qt::CTRL | Qt::Key_Z, before}, {dlg->okButton, Qt::CTRL | Qt::Key_Y, edited},
        {dlg->pageName, Qt::CTRL | Qt::Key_Z, edited},
    };
    QTest::keyClicks(dlg->pageName, "x");
    for (const auto& c : cases) {
        c.at->setFocus();
        QTest::keyClick(c.at, c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(page->Record(), c.page) << c.at->objectName().toStdString();
    }
    EXPECT_EQ(dlg->pageName->text(), "Lobby");
}

} // namespace
