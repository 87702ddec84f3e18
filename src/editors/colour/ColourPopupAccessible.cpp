#include "editors/colour/ColourPopupAccessible.h"

#include "editors/AccessibleParts.h"
#include "editors/colour/CColourPopup.h"

#include <QAccessibleWidget>

#include <vector>

namespace {

// The popup's entries in reading order, as selection indexes.
std::vector<int> entriesOf(const CColourPopup& popup) {
    std::vector<int> entries;
    if (!popup.defaultText.isEmpty())
        entries.push_back(kAutomaticIndex);
    for (int i = 0; i < kColourCount; ++i)
        entries.push_back(i);
    if (!popup.customText.isEmpty())
        entries.push_back(kCustomIndex);
    return entries;
}

class ColourEntryAccessible : public LeafAccessible {
public:
    ColourEntryAccessible(CColourPopup* popup, int entry_) : LeafAccessible(popup), entry(entry_) {}

    const CColourPopup* popup() const { return static_cast<const CColourPopup*>(owner.data()); }
    bool isValid() const override { return !owner.isNull(); }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }

    QString text(QAccessible::Text t) const override {
        if (owner.isNull() || t != QAccessible::Name)
            return {};
        if (entry == kAutomaticIndex)
            return popup()->defaultText;
        if (entry == kCustomIndex)
            return popup()->customText;
        return QString::fromLatin1(colourTable[static_cast<std::size_t>(entry)].name);
    }
    QRect rect() const override {
        if (owner.isNull())
            return {};
        const PopupGeometry& geometry = popup()->popupGeometry;
        const QRect local = entry == kAutomaticIndex ? geometry.defaultTextRect
                            : entry == kCustomIndex  ? geometry.customTextRect
                                                     : CellRect(geometry, entry);
        return local.translated(popup()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (owner.isNull()) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        state.focused = popup()->selected == entry;
        state.checkable = true;
        state.checked = popup()->chosen == entry;
        return state;
    }

    const int entry;
};

class ColourPopupAccessible : public QAccessibleWidget {
public:
    explicit ColourPopupAccessible(CColourPopup* popup)
        : QAccessibleWidget(popup, QAccessible::PopupMenu), entries(entriesOf(*popup)) {}

    int childCount() const override { return static_cast<int>(entries.size()); }
    QAccessibleInterface* child(int i) const override {
        if (i < 0 || i >= childCount())
            return nullptr;
        const auto at = static_cast<std::size_t>(i);
        return children.At(at, [&] { return new ColourEntryAccessible(popup(), entries[at]); });
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const ColourEntryAccessible*>(child);
        return item == nullptr || item->owner != popup() ? -1 : childOfEntry(item->entry);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return child(childOfEntry(HitTest(popup()->popupGeometry, popup()->mapFromGlobal(QPoint(x, y)))));
    }
    QAccessibleInterface* focusChild() const override { return child(childOfEntry(popup()->selected)); }

    int childOfEntry(int entry) const {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == entry)
                return static_cast<int>(i);
        return -1;
    }

private:
    CColourPopup* popup() const { return static_cast<CColourPopup*>(widget()); }

    const std::vector<int> entries;
    mutable DrawnChildren children;
};

} // namespace

void InstallColourPopupAccessibility() {
    InstallAccessibleFor<CColourPopup, ColourPopupAccessible>();
}

void ColourSelectionChanged(CColourPopup& popup) {
    if (!AccessibleEventsWanted())
        return;
    if (QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&popup))
        if (QAccessibleInterface* entry = view->focusChild()) {
            QAccessibleEvent focus(entry, QAccessible::Focus);
            SendAccessibleEvent(focus);
        }
}

void ColourPopupShown(CColourPopup& popup, bool shown) {
    if (!AccessibleEventsWanted())
        return;
    QAccessibleEvent event(&popup, shown ? QAccessible::PopupMenuStart : QAccessible::PopupMenuEnd);
    SendAccessibleEvent(event);
}
