#pragma once

#include "layout/TUserObjectVisitor.h"

#include <cstdint>

class QWidget;
class TUserPage;
class UiHost;

// A hold time typed as a number, truncated toward zero; out of range it stops at the int32 limits,
// and a value that is not a number counts as 0.
[[nodiscard]] std::int32_t WholeHoldTime(double hold);

// The canvas's "Properties" command, and its add commands on a fresh object: opens the dialog
// for the object's kind and, when it ends with OK, takes the values back into the object. Event
// texts are stored in the panel's code page, cut to the slot's first kEventSlotBytes bytes with
// their NUL; a text the user left alone stays as it was, however long.
class ObjectProperties : public TUserObjectVisitor {
public:
    static constexpr std::size_t kEventSlotBytes = 80;

    ObjectProperties(TUserPage& page, UiHost& ui, QWidget* parent);

    void Visit(TUserObject& object) override;
    void Visit(TUserButton& button) override;
    void Visit(TUserLevel& level) override;
    void Visit(TUserImage& image) override;
    void Visit(TUserHotspot& hotspot) override;

    // Set after OK: the object changed.
    bool accepted = false;
    // Set after OK when the object should become the selected one; a button leaves the selection.
    bool selects = false;

private:
    TUserPage& page;
    UiHost& ui;
    QWidget* parent;
};
