// The page canvas, its menus, the page-type menu and the colour popup as a screen reader meets them.
#include "ProgFixture.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/AccessibleParts.h"
#include "editors/QtUiHost.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/CColourPopup.h"
#include "layout/AnsiCodePage.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

std::string describeEvent(QAccessibleEvent& event) {
    const char* type = event.type() == QAccessible::Focus             ? "focus"
                       : event.type() == QAccessible::Selection       ? "select"
                       : event.type() == QAccessible::SelectionWithin ? "cleared"
                                                                      : "other";
    return type + (":" + event.accessibleInterface()->text(QAccessible::Name).toStdString());
}

// Hears what goes to the screen reader while it lives.
struct EventLog {
    EventLog() {
        SetAccessibleEventSink([this](QAccessibleEvent& event) { heard.push_back(describeEvent(event)); });
    }
    ~EventLog() { SetAccessibleEventSink({}); }
    Texts take() { return std::exchange(heard, {}); }
    Texts heard;
};

Texts childNames(QAccessibleInterface* parent) {
    Texts names;
    for (int i = 0; i < parent->childCount(); ++i)
        names.push_back(parent->child(i)->text(QAccessible::Name).toStdString());
    return names;
}

// One object of each kind on a page, the last one outside the panel's screen.
class CanvasAccessibility : public ::testing::Test {
protected:
    CanvasAccessibility() {
        auto button = std::make_unique<TUserButton>();
        button->upFace.text = u"On";
        auto selector = std::make_unique<TUserButton>();
        selector->selectorId = 1;
        StoreAnsiSlot(u"Scene 1", button->downEvent);
        StoreAnsiSlot(u"Scene 1", selector->downEvent);
        auto hotspot = std::make_unique<TUserHotspot>();
        hotspot->targetPageId = 10001;
        place(std::move(button), {10, 20, 85, 50});
        place(std::move(selector), {100, 20, 85, 50});
        place(std::make_unique<TUserImage>(), {10, 100, 60, 40});
        place(std::move(hotspot), {200, 100, 85, 50});
        place(std::make_unique<TUserLevel>(), {270, 10, 45, 130});
        place(std::make_unique<TUserHotspot>(), {400, 300, 20, 10});
        canvas.move(30, 40);
        canvas.show();
    }

    void place(std::unique_ptr<TUserObject> object, QRect r) {
        object->left = r.left();
        object->top = r.top();
        object->width = r.width();
        object->height = r.height();
        page.AddObject(std::move(object));
    }

    QApplication& app = QtTestApp();
    TLayout layout;
    TUserPage page{&layout, u"Page"};
    ScriptedUiHost ui;
    CZylWnd canvas{page, ui};
};

TEST_F(CanvasAccessibility, PageObjectsAreTheCanvasChildrenByKindCaptionAndPlace) {
    struct Row {
        QAccessible::Role role;
        const char* name;
        const char* place;
        bool offscreen;
    };
    const Row rows[] = {
        {QAccessible::Button, "Button \"On\"", "left 10, top 20, 85 × 50", false},
        {QAccessible::Button, "Selector button \"Scene 1\"", "left 100, top 20, 85 × 50", false},
        {QAccessible::Graphic, "Image", "left 10, top 100, 60 × 40", false},
        {QAccessible::Link, "Hot spot to page 10001", "left 200, top 100, 85 × 50", false},
        {QAccessible::Slider, "Level slider", "left 270, top 10, 45 × 130", false},
        {QAccessible::Link, "Hot spot", "left 400, top 300, 20 × 10", true},
    };
    canvas.selected = page.objects[2].get();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&canvas);
    ASSERT_EQ(view->childCount(), std::ssize(rows));
    for (int i = 0; i < view->childCount(); ++i) {
        SCOPED_TRACE(i);
        QAccessibleInterface* child = view->child(i);
        const TUserObject& object = *page.objects[static_cast<std::size_t>(i)];
        EXPECT_EQ(child->role(), rows[i].role);
        EXPECT_EQ(child->text(QAccessible::Name), rows[i].name);
        EXPECT_EQ(child->text(QAccessible::Description), rows[i].place);
        EXPECT_EQ(child->state().offscreen, rows[i].offscreen);
        EXPECT_EQ(child->state().selected, i == 2);
        EXPECT_EQ(child->rect(),
                  QRect(canvas.mapToGlobal(QPoint(object.left, object.top)), QSize(object.width, object.height)));
        EXPECT_EQ(child->parent(), view);
        EXPECT_EQ(view->indexOfChild(child), i);
        if (!rows[i].offscreen) {
            EXPECT_EQ(view->childAt(child->rect().center().x(), child->rect().center().y()), child);
        }
    }
    // A removed object takes its interface with it: none is left to reach it by
    // id.
    const QAccessible::Id last = QAccessible::uniqueId(view->child(5));
    page.RemoveObject(page.objects[5].get());
    EXPECT_EQ(view->childCount(), 5);
    EXPECT_EQ(view->child(5), nullptr);
    EXPECT_EQ(QAccessible::accessibleInterface(last), nullptr);
}

TEST_F(CanvasAccessibility, SelectionChangesAreAnnounced) {
    Texts ran;
    const auto objectAction = [&](int index, const QString& action) {
        QAccessibleInterface* object = QAccessible::queryAccessibleInterface(&canvas)->child(index);
        object->actionInterface()->doAction(action);
    };
    canvas.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&canvas));
    canvas.setFocus();
    struct Step {
        const char* name;
        std::function<void()> act;
        Texts heard;
    };
    const Step steps[] = {
        {"a click selects", [&] { canvas.OnLButtonDown(20, 30); }, {"select:Button \"On\"", "focus:Button \"On\""}},
        {"a click inside the selection says nothing", [&] { canvas.OnLButtonDown(21, 31); }, {}},
        {"Tab walks on",
         [&] { QTest::keyClick(&canvas, Qt::Key_Tab); },
         {"select:Selector button \"Scene 1\"", "focus:Selector button \"Scene 1\""}},
        {"a click on the empty page clears", [&] { canvas.OnLButtonDown(5, 230); }, {"cleared:Page"}},
        {"an added object is selected",
         [&] {
             ui.dialogSteps.push_back([](QDialog& dialog) { dialog.accept(); });
             canvas.OnCommand(CZylWnd::kAddHotspot, 150, 200, nullptr);
         },
         {"select:Hot spot", "focus:Hot spot"}},
        {"the screen reader's select action",
         [&] { objectAction(2, QAccessibleActionInterface::setFocusAction()); },
         {"select:Image", "focus:Image"}},
        {"its press action opens Properties",
         [&] {
             ui.dialogSteps.push_back([&](QDialog& dialog) {
                 ran.push_back(dialog.windowTitle().toStdString());
                 dialog.reject();
             });
             objectAction(3, QAccessibleActionInterface::pressAction());
         },
         {"select:Hot spot to page 10001", "focus:Hot spot to page 10001"}},
        {"its menu action opens the canvas menu",
         [&] {
             ui.menuChoices.push_back({});
             objectAction(0, QAccessibleActionInterface::showMenuAction());
             ran.push_back(ui.menus.empty() ? "" : "menu");
         },
         {"select:Button \"On\"", "focus:Button \"On\""}},
        {"Delete clears",
         [&] {
             ui.answers.push_back(true);
             canvas.OnCommand(CZylWnd::kDelete, 0, 0, canvas.selected);
         },
         {"cleared:Page"}},
    };
    EventLog log;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        canvas.OnLButtonUp();
        EXPECT_EQ(log.take(), step.heard);
    }
    EXPECT_EQ(ran, Texts({"Hotspot Properties", "menu"}));
}

TEST_F(CanvasAccessibility, MenusAreNamedAfterWhatOpensThemAndTheirEntriesByTheirCaptions) {
    std::vector<MenuItem> items = CZylWnd::ContextMenu(false, true);
    items.push_back({});
    items.push_back({"&Copy\tCtrl+C", 7, {}});
    const std::unique_ptr<QMenu> menu = MakePopupMenu(items, &canvas);
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(menu.get());
    EXPECT_EQ(view->text(QAccessible::Name), "Page");
    EXPECT_EQ(childNames(view), Texts({"Background", "Add", "Properties", "Delete", "Push", "Pull", "", "Copy"}));
    EXPECT_EQ(view->child(7)->text(QAccessible::Accelerator), QKeySequence("Ctrl+C").toString());
    QAccessibleInterface* add = view->child(1)->child(0);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->role(), QAccessible::PopupMenu);
    EXPECT_EQ(add->text(QAccessible::Name), "Add");
    EXPECT_EQ(childNames(add), Texts({"Image", "Button", "Selection", "Hot Spot", "Level Slider"}));
}

TEST_F(CanvasAccessibility, ColourPopupIsAMenuOfNamedColoursWhoseFocusFollowsTheKeys) {
    QtUiHost host;
    CColorButton button(host);
    button.setAccessibleName("Caption Color");
    button.show();
    auto* popup = new CColourPopup(button.mapToGlobal(QPoint(0, button.height())), colourTable[1].color, button,
                                   "Automatic", "More Colors...", host);
    popup->show();
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(popup);
    EXPECT_EQ(view->role(), QAccessible::PopupMenu);
    EXPECT_EQ(view->text(QAccessible::Name), "Caption Color");
    const Texts names = childNames(view);
    ASSERT_EQ(names.size(), 42);
    EXPECT_EQ(names.front(), "Automatic");
    EXPECT_EQ(names[40], "White");
    EXPECT_EQ(names.back(), "More Colors...");
    EXPECT_TRUE(view->child(2)->state().checked);
    EXPECT_EQ(view->child(2)->rect(), CellRect(popup->popupGeometry, 1).translated(popup->mapToGlobal(QPoint(0, 0))));
    const std::pair<Qt::Key, const char*> moves[] = {
        {Qt::Key_Right, "Dark Olive Green"}, {Qt::Key_Down, "Dark yellow"},  {Qt::Key_Up, "Dark Olive Green"},
        {Qt::Key_Up, "Automatic"},           {Qt::Key_Up, "More Colors..."},
    };
    EventLog log;
    for (const auto& [key, name] : moves) {
        QTest::keyClick(popup, key);
        EXPECT_EQ(log.take(), Texts({std::string("focus:") + name}));
        EXPECT_EQ(view->focusChild()->text(QAccessible::Name), name);
    }
    delete popup;
}

// The page-type menu of Add: named after the button, its entries by their
// captions, and opened at the pointer after a click but at the button from the
// keyboard.
class PageTypeMenu : public ProgFixture {};

TEST_F(PageTypeMenu, IsNamedAndOpensWhereTheUserIs) {
    auto dlg = open();
    QCursor::setPos(5, 5);
    click(dlg->addButton);
    QTest::keyClick(dlg->addButton, Qt::Key_Space);
    const QPoint atButton = dlg->addButton->mapToGlobal(QPoint(dlg->addButton->width() / 2, 0));
    EXPECT_EQ(ui.menuPoints, std::vector<QPoint>({QCursor::pos(), atButton}));

    QtUiHost host;
    Texts names;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activePopupWidget();
        ASSERT_NE(shown, nullptr);
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(shown);
        names = childNames(view);
        names.insert(names.begin(), view->text(QAccessible::Name).toStdString());
        shown->close();
    });
    EXPECT_EQ(host.ChooseFromMenu(dlg->addButton, {"8 Button 2 Column", "User Defined", "Data Entry"}, atButton),
              std::nullopt);
    EXPECT_EQ(names, Texts({"Add", "8 Button 2 Column", "User Defined", "Data Entry"}));
}

} // namespace
