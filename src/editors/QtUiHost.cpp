#include "editors/QtUiHost.h"

#include "editors/DialogParts.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& suffix, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix.startsWith('.') ? suffix.mid(1) : suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

// A menu is read aloud by the name of what opened it: the canvas, a button.
void nameMenu(QMenu& menu, const QWidget* parent) {
    if (parent != nullptr)
        menu.setAccessibleName(parent->accessibleName().isEmpty() ? parent->windowTitle() : parent->accessibleName());
}

// Keys shown after a tab become the action's shortcut, drawn the same, so a screen reader reads
// the caption alone as the entry's name and the keys as its accelerator.
QAction* addEntry(QMenu& menu, const QString& text) {
    const qsizetype tab = text.indexOf('\t');
    const QKeySequence keys(tab < 0 ? QString() : text.mid(tab + 1));
    if (keys.isEmpty())
        return menu.addAction(text);
    QAction* action = menu.addAction(text.left(tab));
    action->setShortcut(keys);
    action->setShortcutVisibleInContextMenu(true);
    return action;
}

void addItems(QMenu& menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.text.isEmpty()) {
            menu.addSeparator();
        } else if (item.items.empty()) {
            addEntry(menu, item.text)->setData(item.command);
        } else {
            QMenu* submenu = menu.addMenu(item.text);
            submenu->setAccessibleName(PlainCaption(item.text));
            addItems(*submenu, item.items);
        }
        if (!item.text.isEmpty())
            menu.actions().back()->setEnabled(item.enabled);
    }
}

} // namespace

std::unique_ptr<QMenu> MakePopupMenu(const std::vector<MenuItem>& items, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    nameMenu(*menu, parent);
    addItems(*menu, items);
    return menu;
}

void QtUiHost::ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

bool QtUiHost::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> QtUiHost::GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                                 const QString& suffix) {
    return runFileDialog(parent, title, filter, suffix, QFileDialog::AcceptOpen);
}

std::optional<QString> QtUiHost::GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                                 const QString& suffix) {
    // Qt's save dialog asks before overwriting by default.
    return runFileDialog(parent, title, filter, suffix, QFileDialog::AcceptSave);
}

std::optional<int> QtUiHost::ChooseFromMenu(QWidget* parent, const QStringList& items, const QPoint& at) {
    QMenu menu(parent);
    nameMenu(menu, parent);
    for (const QString& item : items)
        addEntry(menu, item);
    const QSize size = menu.sizeHint();
    QAction* chosen = menu.exec(at - QPoint(size.width() / 2, size.height()));
    if (chosen == nullptr)
        return std::nullopt;
    return static_cast<int>(menu.actions().indexOf(chosen));
}

std::optional<int> QtUiHost::TrackPopupMenu(QWidget* parent, const std::vector<MenuItem>& items, const QPoint& at) {
    const std::unique_ptr<QMenu> menu = MakePopupMenu(items, parent);
    QAction* chosen = menu->exec(at - QPoint(0, menu->sizeHint().height() / 2));
    if (chosen == nullptr)
        return std::nullopt;
    return chosen->data().toInt();
}

std::optional<std::uint32_t> QtUiHost::GetColor(QWidget* parent, std::uint32_t initial) {
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor color = QColorDialog::getColor(start, parent);
    if (!color.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
           static_cast<std::uint32_t>(color.blue()) << 16;
}

int QtUiHost::RunDialog(QDialog& dialog) {
    return dialog.exec();
}
