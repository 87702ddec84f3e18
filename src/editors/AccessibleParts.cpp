#include "editors/AccessibleParts.h"

#include <algorithm>
#include <utility>

namespace {

AccessibleEventSink& currentSink() {
    static AccessibleEventSink sink;
    return sink;
}

} // namespace

AccessibleEventSink SetAccessibleEventSink(AccessibleEventSink sink) {
    return std::exchange(currentSink(), std::move(sink));
}

bool AccessibleEventsWanted() {
    return currentSink() || QAccessible::isActive();
}

void SendAccessibleEvent(QAccessibleEvent& event) {
    if (currentSink())
        currentSink()(event);
    else
        QAccessible::updateAccessibility(&event);
}

void InstallAccessibleFactory(QAccessible::InterfaceFactory factory) {
    static std::vector<QAccessible::InterfaceFactory> installed;
    if (std::find(installed.begin(), installed.end(), factory) != installed.end())
        return;
    installed.push_back(factory);
    QAccessible::installFactory(factory);
}

QAccessibleInterface* DrawnChildren::At(std::size_t position, const std::function<QAccessibleInterface*()>& make) {
    if (ids.size() <= position)
        ids.resize(position + 1, 0);
    if (ids[position] == 0)
        ids[position] = QAccessible::registerAccessibleInterface(make());
    return QAccessible::accessibleInterface(ids[position]);
}

void DrawnChildren::KeepFirst(std::size_t count) {
    while (ids.size() > count) {
        if (ids.back() != 0)
            QAccessible::deleteAccessibleInterface(ids.back());
        ids.pop_back();
    }
}
