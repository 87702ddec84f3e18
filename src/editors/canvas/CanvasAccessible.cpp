#include "editors/canvas/CanvasAccessible.h"

#include "editors/AccessibleParts.h"
#include "editors/canvas/CZylWnd.h"
#include "layout/AnsiCodePage.h"
#include "layout/TConstUserObjectVisitor.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <QAccessibleWidget>

#include <algorithm>

namespace {

QString quoted(const std::u16string& text) {
    return "\"" + QString::fromStdU16String(text) + "\"";
}

class Describe : public TConstUserObjectVisitor {
public:
    void Visit(const TUserObject&) override {
        name = "Object";
        role = QAccessible::Client;
    }
    void Visit(const TUserButton& button) override {
        name = button.selectorId >= 0 ? "Selector button" : "Button";
        role = QAccessible::Button;
        // The caption a user sees, else the event text that says what it does.
        std::u16string caption = button.upFace.text;
        if (caption.empty())
            caption = LoadAnsiSlot(button.downEvent);
        if (caption.empty())
            caption = LoadAnsiSlot(button.upEvent);
        if (!caption.empty())
            name += " " + quoted(caption);
    }
    void Visit(const TUserLevel&) override {
        name = "Level slider";
        role = QAccessible::Slider;
    }
    void Visit(const TUserImage&) override {
        name = "Image";
        role = QAccessible::Graphic;
    }
    void Visit(const TUserHotspot& hotspot) override {
        name = "Hot spot";
        if (hotspot.targetPageId >= 0)
            name += QString(" to page %1").arg(hotspot.targetPageId);
        role = QAccessible::Link;
    }

    QString name;
    QAccessible::Role role = QAccessible::Client;
};

Describe describe(const TUserObject& object) {
    Describe description;
    object.Accept(description);
    return description;
}

int indexOnPage(const CZylWnd& canvas, const TUserObject* object) {
    const auto& objects = canvas.page->objects;
    const auto found = std::find_if(objects.begin(), objects.end(), [&](const auto& o) { return o.get() == object; });
    return object == nullptr || found == objects.end() ? -1 : static_cast<int>(found - objects.begin());
}

// Canvas pixels per page pixel: the canvas may be shown larger than the page.
int scaleOf(const CZylWnd& canvas) {
    return std::max(1, canvas.width() / kScreenWidth);
}

// One object of the page, known by its place in the drawing order and looked up afresh on every
// question, so an interface never outlives the object it speaks of: past the end it is invalid.
class PageObjectAccessible : public LeafAccessible, public QAccessibleActionInterface {
public:
    PageObjectAccessible(CZylWnd* canvas, int index_) : LeafAccessible(canvas), index(index_) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    // A screen reader reaches what the keys do on the selection: select, Properties, the menu.
    QStringList actionNames() const override { return {setFocusAction(), pressAction(), showMenuAction()}; }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction())
            return {"Return"};
        if (name == showMenuAction())
            return {"Shift+F10"};
        return {};
    }
    void doAction(const QString& name) override {
        auto* shown = const_cast<TUserObject*>(pageObject());
        if (shown == nullptr || !actionNames().contains(name))
            return;
        canvas()->setFocus();
        canvas()->Select(shown);
        if (name == pressAction())
            canvas()->OnKey(Qt::Key_Return, Qt::NoModifier);
        else if (name == showMenuAction())
            canvas()->OnKey(Qt::Key_Menu, Qt::NoModifier);
    }

    CZylWnd* canvas() const { return static_cast<CZylWnd*>(owner.data()); }
    const TUserObject* pageObject() const {
        if (owner.isNull() || index >= static_cast<int>(canvas()->page->objects.size()))
            return nullptr;
        return canvas()->page->objects[static_cast<std::size_t>(index)].get();
    }
    bool isValid() const override { return pageObject() != nullptr; }

    QString text(QAccessible::Text t) const override {
        const TUserObject* shown = pageObject();
        if (shown == nullptr)
            return {};
        if (t == QAccessible::Name)
            return AccessibleObjectName(*shown);
        if (t == QAccessible::Description)
            return AccessibleObjectPlace(*shown);
        return {};
    }
    QAccessible::Role role() const override {
        const TUserObject* shown = pageObject();
        return shown == nullptr ? QAccessible::NoRole : AccessibleObjectRole(*shown);
    }
    QRect rect() const override {
        const TUserObject* shown = pageObject();
        if (shown == nullptr)
            return {};
        const int scale = scaleOf(*canvas());
        return {canvas()->mapToGlobal(QPoint(shown->left * scale, shown->top * scale)),
                QSize(shown->width * scale, shown->height * scale)};
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        const TUserObject* shown = pageObject();
        if (shown == nullptr) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = shown == canvas()->selected;
        state.focused = state.selected && canvas()->hasFocus();
        const QRect place(shown->left, shown->top, shown->width, shown->height);
        state.offscreen = !place.intersects(QRect(0, 0, kScreenWidth, kScreenHeight));
        return state;
    }

    const int index;
};

// The canvas's own children (none today) come first, then the page's objects in drawing order.
class CanvasAccessible : public QAccessibleWidget {
public:
    explicit CanvasAccessible(CZylWnd* canvas) : QAccessibleWidget(canvas, QAccessible::Canvas) {}

    int childCount() const override { return widgetCount() + objectCount(); }

    QAccessibleInterface* child(int i) const override {
        if (i < widgetCount())
            return QAccessibleWidget::child(i);
        return objectChild(i - widgetCount());
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const PageObjectAccessible*>(child);
        if (item == nullptr)
            return QAccessibleWidget::indexOfChild(child);
        return item->owner == canvas() && item->isValid() ? widgetCount() + item->index : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = canvas()->mapFromGlobal(QPoint(x, y));
        if (canvas()->rect().contains(local)) {
            const int scale = scaleOf(*canvas());
            const TUserObject* under = canvas()->page->ObjectAt(local.x() / scale, local.y() / scale);
            if (const int index = indexOnPage(*canvas(), under); index >= 0)
                return objectChild(index);
        }
        return QAccessibleWidget::childAt(x, y);
    }

    QAccessibleInterface* focusChild() const override {
        if (canvas()->hasFocus())
            if (const int index = indexOnPage(*canvas(), canvas()->selected); index >= 0)
                return objectChild(index);
        return QAccessibleWidget::focusChild();
    }

    // The interface of the object at `index` in drawing order; null past the end.
    QAccessibleInterface* objectChild(int index) const {
        // Interfaces for places the page no longer has go, so nobody reaches them by id.
        objects.KeepFirst(static_cast<std::size_t>(objectCount()));
        if (index < 0 || index >= objectCount())
            return nullptr;
        return objects.At(static_cast<std::size_t>(index), [&] { return new PageObjectAccessible(canvas(), index); });
    }

private:
    CZylWnd* canvas() const { return static_cast<CZylWnd*>(widget()); }
    int widgetCount() const { return QAccessibleWidget::childCount(); }
    int objectCount() const { return static_cast<int>(canvas()->page->objects.size()); }

    mutable DrawnChildren objects;
};

} // namespace

QString AccessibleObjectName(const TUserObject& object) {
    return describe(object).name;
}

QString AccessibleObjectPlace(const TUserObject& object) {
    return QString("left %1, top %2, %3 × %4").arg(object.left).arg(object.top).arg(object.width).arg(object.height);
}

QAccessible::Role AccessibleObjectRole(const TUserObject& object) {
    return describe(object).role;
}

void InstallCanvasAccessibility() {
    InstallAccessibleFor<CZylWnd, CanvasAccessible>();
}

void CanvasSelectionChanged(CZylWnd& canvas) {
    if (!AccessibleEventsWanted())
        return;
    auto* view = dynamic_cast<CanvasAccessible*>(QAccessible::queryAccessibleInterface(&canvas));
    const int index = indexOnPage(canvas, canvas.selected);
    if (view == nullptr || index < 0) {
        QAccessibleEvent cleared(&canvas, QAccessible::SelectionWithin);
        SendAccessibleEvent(cleared);
        return;
    }
    QAccessibleInterface* chosen = view->objectChild(index);
    QAccessibleEvent selection(chosen, QAccessible::Selection);
    SendAccessibleEvent(selection);
    if (canvas.hasFocus()) {
        QAccessibleEvent focus(chosen, QAccessible::Focus);
        SendAccessibleEvent(focus);
    }
}
