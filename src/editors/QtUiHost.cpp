#include "QtUiHost.h"

#include <QFileDialog>
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

} // namespace

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
