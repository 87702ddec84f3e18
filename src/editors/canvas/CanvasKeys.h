#pragma once

#include <QPoint>
#include <QString>

#include <optional>

class TUserObject;

// What a key pressed on the canvas asks for. The canvas takes these keys only while it has the
// focus, so they never reach the dialog's fields.
struct CanvasKey {
    enum Action {
        kNone,
        kMove,       // arrows, Shift for 10 pixels
        kResize,     // Ctrl+arrows move the bottom-right corner, Shift for 10 pixels
        kDelete,     // as the menu's Delete
        kProperties, // Enter
        kMenu,       // the Menu key, Shift+F10
        kEscape,     // clears the selection; with none the dialog closes
        kCut,
        kCopy,
        kPaste,
        kDuplicate,
    };
    Action action = kNone;
    QPoint step; // for kMove and kResize

    [[nodiscard]] static CanvasKey For(int key, Qt::KeyboardModifiers modifiers);
};

// The status line under the canvas: where the pointer is on the page and where the selection
// lies, e.g. "Pointer 120, 45    Selection 100, 40, 85 × 50"; a part without a value is left out.
[[nodiscard]] QString CanvasStatusText(std::optional<QPoint> pointer, const TUserObject* selection);
