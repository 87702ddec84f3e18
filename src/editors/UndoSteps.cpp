#include "editors/UndoSteps.h"

#include <QAction>
#include <QUndoStack>
#include <QWidget>

DoneStep::DoneStep(const QString& what, std::function<void()> undo, std::function<void()> redo)
    : QUndoCommand(what), undoStep(std::move(undo)), redoStep(std::move(redo)) {}

void DoneStep::undo() {
    undoStep();
}

void DoneStep::redo() {
    // The stack redoes a step as it is pushed; this one is done already.
    if (done) {
        done = false;
        return;
    }
    redoStep();
}

std::vector<MenuItem> UndoMenuItems(const QUndoStack& stack) {
    const auto entry = [](const QString& verb, const QString& what, const QString& keys, int command, bool enabled) {
        return MenuItem{verb + (what.isEmpty() ? QString() : " " + what) + "\t" + keys, command, {}, enabled};
    };
    return {entry("&Undo", stack.undoText(), "Ctrl+Z", kUndoCommand, stack.canUndo()),
            entry("&Redo", stack.redoText(), "Ctrl+Shift+Z", kRedoCommand, stack.canRedo())};
}

void AddUndoKeys(QWidget& window, const std::function<void()>& undo, const std::function<void()>& redo) {
    auto* undoAction = new QAction("Undo", &window);
    undoAction->setObjectName("undoAction");
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* redoAction = new QAction("Redo", &window);
    redoAction->setObjectName("redoAction");
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QObject::connect(undoAction, &QAction::triggered, &window, undo);
    QObject::connect(redoAction, &QAction::triggered, &window, redo);
    window.addAction(undoAction);
    window.addAction(redoAction);
}
