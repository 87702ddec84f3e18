#pragma once

#include <QString>

#include <span>

class QCheckBox;
class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls built the same way in every dialog: an objectName for tests and an accessible name
// equal to the visible caption for screen readers.

// The caption as read aloud: without its mnemonic marker ("&&" stays one "&").
[[nodiscard]] QString PlainCaption(const QString& caption);

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QString& name);
QCheckBox* MakeCheckBox(QWidget* parent, const QString& caption, const QString& name);
// A line edit without Qt's usual 32767-character cap, so that opening and confirming a dialog
// never shortens a text read from a file; at least `minChars` average characters wide.
QLineEdit* MakeLineEdit(QWidget* parent, const QString& name, const QString& accessibleName, int minChars = 0);

// "OK" (the default button) and "Cancel" at the bottom right. Cancel rejects the dialog; what OK
// does is the dialog's own, connected to `box->accepted` or to `ok->clicked`.
struct OkCancel {
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel MakeOkCancel(QDialog* dialog);

// A form row: the label (with its mnemonic) as the field's buddy, and the field named after it.
QLabel* AddFormRow(QFormLayout& form, QWidget* parent, const QString& caption, QWidget* field);
// The dialog's body above, its buttons at the bottom, the room between them left empty.
void StackWithButtons(QDialog* dialog, QLayout* body, QWidget* buttons);

// Tab moves through the widgets in the order given.
void SetTabChain(std::span<QWidget* const> order);
