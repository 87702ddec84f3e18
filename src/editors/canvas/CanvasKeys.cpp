#include "editors/canvas/CanvasKeys.h"

#include "editors/canvas/CZylWnd.h"
#include "layout/TUserObject.h"

#include <QStringList>

CanvasKey CanvasKey::For(int key, Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    if (const std::optional<QPoint> step = CZylWnd::ArrowStep(key, modifiers & ~Qt::ControlModifier))
        return {modifiers & Qt::ControlModifier ? kResize : kMove, *step};
    if (modifiers == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_X:
            return {kCut, {}};
        case Qt::Key_C:
            return {kCopy, {}};
        case Qt::Key_V:
            return {kPaste, {}};
        case Qt::Key_D:
            return {kDuplicate, {}};
        default:
            return {};
        }
    }
    if (modifiers == Qt::ShiftModifier)
        return {key == Qt::Key_F10 ? kMenu : kNone, {}};
    if (modifiers != Qt::NoModifier)
        return {};
    switch (key) {
    case Qt::Key_Delete:
        return {kDelete, {}};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {kProperties, {}};
    case Qt::Key_Menu:
        return {kMenu, {}};
    case Qt::Key_Escape:
        return {kEscape, {}};
    default:
        return {};
    }
}

QString CanvasStatusText(std::optional<QPoint> pointer, const TUserObject* selection) {
    QStringList parts;
    if (pointer)
        parts << QString("Pointer %1, %2").arg(pointer->x()).arg(pointer->y());
    if (selection != nullptr)
        parts << QString("Selection %1, %2, %3 × %4")
                     .arg(selection->left)
                     .arg(selection->top)
                     .arg(selection->width)
                     .arg(selection->height);
    return parts.join("    ");
}
