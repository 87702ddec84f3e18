// The canvas's keys, its clipboard commands, exact placing and its status line.
#include "editors/canvas/CZylWnd.h"

#include "editors/UndoSteps.h"
#include "editors/canvas/CanvasAccessible.h"
#include "editors/canvas/CanvasClipboard.h"
#include "editors/canvas/CanvasKeys.h"
#include "editors/canvas/CanvasZoom.h"
#include "editors/dialogs/CPositionSizeDlg.h"
#include "layout/TLayout.h"
#include "layout/TUserObject.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>
#include <cstdint>
#include <span>

namespace {

struct Bounds {
    std::int32_t left, top, width, height;
    bool operator==(const Bounds&) const = default;
};

Bounds boundsOf(const TUserObject& object) {
    return {object.left, object.top, object.width, object.height};
}

// Where a menu opened from the keys points: the middle of the object's part on the screen.
QPoint menuPointOf(const TUserObject& object) {
    const auto middle = [](std::int64_t from, std::int64_t extent, int screen) {
        return static_cast<int>(std::clamp<std::int64_t>(from + extent / 2, 0, screen - 1));
    };
    return {middle(object.left, object.width, kScreenWidth), middle(object.top, object.height, kScreenHeight)};
}

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

} // namespace

std::vector<MenuItem> CZylWnd::EditMenu(bool onObject, bool canPaste) {
    return {{},
            {"Cu&t\tCtrl+X", kCut, {}, onObject},
            {"&Copy\tCtrl+C", kCopy, {}, onObject},
            {"&Paste\tCtrl+V", kPaste, {}, canPaste},
            {"&Duplicate\tCtrl+D", kDuplicate, {}, onObject},
            {},
            {"Position and Si&ze...", kPositionSize, {}, onObject}};
}

void CZylWnd::popUpMenu(int x, int y, TUserObject* target) {
    std::vector<MenuItem> items = ContextMenu(isSleepPage, target != nullptr);
    const std::vector<MenuItem> edit =
        EditMenu(target != nullptr, CanvasClipboard::HasObject(QGuiApplication::clipboard()->mimeData()));
    items.insert(items.end(), edit.begin(), edit.end());
    // Undo and Redo, below a separator.
    items.emplace_back();
    for (MenuItem& item : UndoMenuItems(undoStack))
        items.push_back(std::move(item));
    const std::optional<int> command = ui.TrackPopupMenu(this, items, mapToGlobal(WidgetPointOf({x, y}, zoom)));
    if (command)
        OnCommand(*command, x, y, target);
}

bool CZylWnd::OnKey(int key, Qt::KeyboardModifiers modifiers) {
    const CanvasKey pressed = CanvasKey::For(key, modifiers);
    if (pressed.action != CanvasKey::kNone)
        EndDrag();
    TUserObject* const object = selected;
    switch (pressed.action) {
    case CanvasKey::kNone:
        return false;
    case CanvasKey::kMove:
    case CanvasKey::kResize:
        if (object != nullptr) {
            const bool move = pressed.action == CanvasKey::kMove;
            Change(move ? "Move" : "Resize", [&] {
                const Bounds before = boundsOf(*object);
                if (move)
                    object->MoveBy(pressed.step.x(), pressed.step.y());
                else
                    object->ResizeByCorner(TUserObject::kBottomRight, pressed.step.x(), pressed.step.y());
                return boundsOf(*object) != before;
            });
        }
        return true;
    case CanvasKey::kDelete:
        OnCommand(kDelete, 0, 0, object);
        return true;
    case CanvasKey::kProperties:
        // With nothing selected Enter does nothing here rather than close the dialog by surprise.
        OnCommand(kProperties, 0, 0, object);
        return true;
    case CanvasKey::kMenu: {
        const QPoint at = object != nullptr ? menuPointOf(*object) : QPoint(kScreenWidth / 2, kScreenHeight / 2);
        popUpMenu(at.x(), at.y(), object);
        return true;
    }
    case CanvasKey::kEscape:
        if (object == nullptr)
            return false;
        selected = nullptr;
        CanvasSelectionChanged(*this);
        update();
        return true;
    case CanvasKey::kCut:
        editCommand(kCut, std::nullopt, object);
        return true;
    case CanvasKey::kCopy:
        editCommand(kCopy, std::nullopt, object);
        return true;
    case CanvasKey::kPaste:
        editCommand(kPaste, std::nullopt, object);
        return true;
    case CanvasKey::kDuplicate:
        editCommand(kDuplicate, std::nullopt, object);
        return true;
    }
    return false;
}

void CZylWnd::editCommand(int command, std::optional<QPoint> at, TUserObject* target) {
    if (command == kPaste) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (CanvasClipboard::HasObject(data))
            pasteBytes(data->data(CanvasClipboard::kMimeType), at, "Paste");
        return;
    }
    if (target == nullptr)
        return;
    switch (command) {
    case kCut:
        if (copy(*target, "Cut"))
            Change("Cut", [&] {
                page->RemoveObject(target);
                selected = nullptr;
                return true;
            });
        return;
    case kCopy:
        (void)copy(*target, "Copy");
        return;
    case kDuplicate:
        if (page->owner != nullptr) {
            QString error;
            if (const auto data = CanvasClipboard::ToMimeData(*page->owner, *target, &error))
                pasteBytes(data->data(CanvasClipboard::kMimeType), std::nullopt, "Duplicate");
            else
                ui.ShowMessage(this, "Duplicate", error);
        }
        return;
    case kPositionSize:
        positionAndSize(*target);
        return;
    default:
        return;
    }
}

bool CZylWnd::copy(const TUserObject& object, const QString& what) {
    if (page->owner == nullptr)
        return false;
    QString error;
    std::unique_ptr<QMimeData> data = CanvasClipboard::ToMimeData(*page->owner, object, &error);
    if (!data) {
        ui.ShowMessage(this, what, error);
        return false;
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

void CZylWnd::pasteBytes(const QByteArray& bytes, std::optional<QPoint> at, const QString& what) {
    if (page->owner == nullptr)
        return;
    CanvasClipboard::Clip clip;
    QString error;
    if (!CanvasClipboard::Read(bytesOf(bytes), isSleepPage, clip, &error)) {
        ui.ShowMessage(this, what, error);
        return;
    }
    TUserObject& object = clip.Object();
    if (at) {
        object.left = at->x();
        object.top = at->y();
    } else {
        object.MoveBy(10, 10);
    }
    Change(what, [&] {
        std::unique_ptr<TUserObject> adopted = CanvasClipboard::Adopt(*page->owner, clip, &error);
        if (!adopted)
            return false;
        selected = page->AddObject(std::move(adopted));
        return true;
    });
    if (!error.isEmpty())
        ui.ShowMessage(this, what, error);
}

void CZylWnd::positionAndSize(TUserObject& target) {
    CPositionSizeDlg dialog(ui, this);
    const Bounds before = boundsOf(target);
    dialog.left = before.left;
    dialog.top = before.top;
    dialog.width = before.width;
    dialog.height = before.height;
    if (ui.RunDialog(dialog) != QDialog::Accepted)
        return;
    selected = &target;
    update();
    const Bounds after{dialog.left, dialog.top, dialog.width, dialog.height};
    Change("Position and Size", [&] {
        target.left = after.left;
        target.top = after.top;
        target.width = after.width;
        target.height = after.height;
        return after != before;
    });
}

QString CZylWnd::StatusText() const {
    return CanvasStatusText(pointer, selected);
}

void CZylWnd::showStatus() {
    const QString text = StatusText();
    if (text == shownStatus)
        return;
    shownStatus = text;
    emit statusChanged(text);
}

bool CZylWnd::event(QEvent* event) {
    // With the focus here the canvas's keys are its own, not some window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (CanvasKey::For(key->key(), key->modifiers()).action != CanvasKey::kNone) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CZylWnd::leaveEvent(QEvent* event) {
    if (!moving && !resizing) {
        pointer.reset();
        showStatus();
    }
    QWidget::leaveEvent(event);
}
