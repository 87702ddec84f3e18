#pragma once

#include <QAccessible>
#include <QPointer>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <vector>

// Pieces shared by the interfaces that let a screen reader into custom-drawn widgets (the page
// canvas, the colour popup).

// What those widgets tell a screen reader goes out through here: to Qt's accessibility bridge,
// or to a sink that takes its place. Qt drops every event while no screen reader listens, so a
// test that wants to hear them installs a sink.
using AccessibleEventSink = std::function<void(QAccessibleEvent&)>;

// Installs `sink` (an empty one restores Qt's bridge) and returns the one it replaces.
AccessibleEventSink SetAccessibleEventSink(AccessibleEventSink sink);
// Whether anyone listens; building an event is wasted work otherwise.
[[nodiscard]] bool AccessibleEventsWanted();
void SendAccessibleEvent(QAccessibleEvent& event);

// Installs the factory once, however often it is asked to.
void InstallAccessibleFactory(QAccessible::InterfaceFactory factory);

// Gives every widget of class `Widget` (not of its subclasses) the interface `Interface`, made
// from the widget.
template <class Widget, class Interface> void InstallAccessibleFor() {
    InstallAccessibleFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        auto* widget = qobject_cast<Widget*>(object);
        if (widget == nullptr || className != QLatin1String(Widget::staticMetaObject.className()))
            return nullptr;
        return new Interface(widget);
    });
}

// A drawn part of a widget with no children of its own. It holds its widget weakly, so it
// outlives it harmlessly.
class LeafAccessible : public QAccessibleInterface {
public:
    explicit LeafAccessible(QWidget* owner_) : owner(owner_) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner.isNull() ? nullptr : owner->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(owner.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    const QPointer<QWidget> owner;
};

// The interfaces of a widget's drawn parts by position, made when first asked for and deleted
// with the list or when the position goes away.
class DrawnChildren {
public:
    DrawnChildren() = default;
    DrawnChildren(const DrawnChildren&) = delete;
    DrawnChildren& operator=(const DrawnChildren&) = delete;
    ~DrawnChildren() { KeepFirst(0); }

    QAccessibleInterface* At(std::size_t position, const std::function<QAccessibleInterface*()>& make);
    void KeepFirst(std::size_t count);

private:
    std::vector<QAccessible::Id> ids;
};
