#pragma once

#include "editors/UiHost.h"

#include <QUndoCommand>

#include <functional>
#include <vector>

class QUndoStack;
class QWidget;

// The commands of the Undo and Redo entries wherever a context menu offers them.
enum UndoCommand : int { kUndoCommand = 0xE12B, kRedoCommand = 0xE12C };

// A step the editor has already carried out when it records it: pushing it does not do it again;
// undo and redo then run the given functions.
class DoneStep : public QUndoCommand {
public:
    DoneStep(const QString& what, std::function<void()> undo, std::function<void()> redo);
    void undo() override;
    void redo() override;

private:
    std::function<void()> undoStep;
    std::function<void()> redoStep;
    bool done = true;
};

// "&Undo <what>" and "&Redo <what>", greyed when there is nothing to undo or redo.
[[nodiscard]] std::vector<MenuItem> UndoMenuItems(const QUndoStack& stack);

// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo anywhere in the window, except that a text field
// with the focus undoes its own typing.
void AddUndoKeys(QWidget& window, const std::function<void()>& undo, const std::function<void()>& redo);
