#pragma once

#include <QUndoStack>
#include <QWidget>

#include "editors/UiHost.h"
#include "editors/canvas/AlignmentGuides.h"
#include "editors/canvas/PageUndo.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TUserObject;
class TUserPage;
class UiHost;

// The user page editor's canvas: shows one page as the panel will, each page pixel a square block
// of 1 to 4 widget pixels (Ctrl+plus, Ctrl+minus, Ctrl+0, Ctrl+wheel), and lets the user select,
// move and resize its objects with the left mouse button; the right button's context menu sets
// the background, adds objects, opens their properties, deletes and restacks them. Every change
// goes straight to the page, which belongs to the layout; the canvas keeps no copy. With the
// focus, Tab and Shift+Tab walk the objects, those outside the screen too, and the keys move,
// resize, cut, copy and paste the selected one, so no object is ever out of reach.
class CZylWnd : public QWidget {
    Q_OBJECT
public:
    // The context menu's commands.
    enum Command : int {
        kAddSlider = 101,
        kBackground = 1010,
        kAddImage = 1011,
        kAddButton = 1012,
        kAddHotspot = 1015,
        kProperties = 1016,
        kDelete = 1017,
        kAddSelector = 1018,
        kPush = 1019,
        kPull = 1020,
        // Below the menu's own entries: the clipboard and exact placing.
        kCut = 1101,
        kCopy = 1102,
        kPaste = 1103,
        kDuplicate = 1104,
        kPositionSize = 1105,
    };
    // Default sizes of the objects the menu adds.
    static constexpr int kObjectWidth = 85;
    static constexpr int kObjectHeight = 50;
    static constexpr int kSliderWidth = 45;
    static constexpr int kSliderHeight = 130;

    CZylWnd(TUserPage& page, UiHost& ui, QWidget* parent = nullptr);
    ~CZylWnd() override;

    // The context menu: the sleep page's takes only images; without an object under the pointer
    // there is nothing to show properties of or delete.
    [[nodiscard]] static std::vector<MenuItem> ContextMenu(bool sleepPage, bool onObject);
    // The entries after the menu's own, behind a separator: the clipboard, then exact placing.
    [[nodiscard]] static std::vector<MenuItem> EditMenu(bool onObject, bool canPaste);

    // The drag steps, in page pixels (panel pixels) at any zoom. The mouse events call them; so
    // may anything that plays the user.
    void OnLButtonDown(int x, int y);
    // Snaps what the drag moves to the alignment guides unless `modifiers` hold Alt.
    void OnMouseMove(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void OnLButtonUp();
    // Shows the context menu at the point and carries out the chosen command there.
    void OnRButtonDown(int x, int y);
    // One command of the context menu for the point (x, y) and the object under it, if any.
    void OnCommand(int command, int x, int y, TUserObject* target);
    // Ends a drag whole, whichever kind it was. Any press, release or popup does.
    void EndDrag();
    // Every change the canvas makes to the page goes through here, named as the Undo entry names
    // it ("Move", "Delete", ...); `change` runs at once and says whether it changed anything.
    // A change to the page is recorded as one undo step; "Move" and "Resize" steps that follow
    // each other on the same object (the keys') merge into one.
    void Change(const QString& what, const std::function<bool()>& change);
    // Undo and redo the page's steps; a drag going on ends first, as a step of its own.
    void Undo();
    void Redo();
    // The move an arrow key asks for: 1 pixel, 10 with Shift; nothing for any other key.
    [[nodiscard]] static std::optional<QPoint> ArrowStep(int key, Qt::KeyboardModifiers modifiers);
    // A key pressed while the canvas has the focus; false for a key the canvas leaves to its window.
    bool OnKey(int key, Qt::KeyboardModifiers modifiers);
    // Selects one of the page's objects, as Tab does, ending any drag.
    void Select(TUserObject* object);
    // The status line's text for the pointer and the selection as they are now.
    [[nodiscard]] QString StatusText() const;

    TUserPage* page;
    // Always one of page->objects, or null.
    TUserObject* selected = nullptr;
    std::int32_t lastX = 0;
    std::int32_t lastY = 0;
    bool moving = false;
    bool resizing = false;
    // The corner being dragged while resizing, 1 top-left to 4 bottom-left.
    std::int32_t activeCorner = 0;
    // Chooses the sleep page's smaller context menu.
    bool isSleepPage = false;
    UiHost& ui;
    // The page's steps, for as long as the canvas, and so its editor, lives.
    QUndoStack undoStack;

    // Widget pixels per page pixel, kMinZoom to kMaxZoom; the canvas takes the page's size times it.
    [[nodiscard]] int Zoom() const { return zoom; }
    void SetZoom(int zoom);
    // The zoom the canvas opened at, which shows the page near its size on the panel; Ctrl+0 returns to it.
    [[nodiscard]] int OpeningZoom() const { return openingZoom; }
    // The guides the selection lines up with during the current drag.
    [[nodiscard]] const std::vector<Guide>& Guides() const { return snappedDrag.Guides(); }

    // Where the pointer is on the page, while it is over the canvas or dragging.
    std::optional<QPoint> pointer;

signals:
    // The status line's text changed.
    void statusChanged(const QString& text);

private:
    // Records the step from `before` to the page as it is now, when the page changed.
    void record(const QString& what, PageState before, bool mergeable);
    // Puts the page back as a step left it; the drag and the selection follow.
    void restore(const PageState& state);
    // The context menu at (x, y), its commands aimed at `target`.
    void popUpMenu(int x, int y, TUserObject* target);
    // The clipboard and exact placing; `at` is the menu's point, or nothing for the keys.
    void editCommand(int command, std::optional<QPoint> at, TUserObject* target);
    bool copy(const TUserObject& object, const QString& what);
    // Pastes the object the bytes hold, at `at` or 10 pixels right of and below where it was.
    void pasteBytes(const QByteArray& bytes, std::optional<QPoint> at, const QString& what);
    void positionAndSize(TUserObject& target);
    void showStatus();

    // An object made by an add command's dialog, or null when the dialog was cancelled.
    std::unique_ptr<TUserObject> newObject(int command);

    // False while the focus has just come in by Tab: the walk then starts at the first (or, by
    // Shift+Tab, the last) object rather than after the selection, so every object stays reachable.
    bool walkFromSelection = true;
    // The page as a drag found it at the press; the drag is one step, recorded when it ends.
    std::optional<PageState> dragStart;

    int zoom = 1;
    int openingZoom = 1;
    // Parts of a wheel notch not yet turned into a zoom step.
    int wheelPending = 0;
    SnappedDrag snappedDrag;
    QString shownStatus;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
