#include "editors/DialogParts.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

QString PlainCaption(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        plain.append(caption[i]);
    }
    return plain;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(PlainCaption(caption));
    return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const QString& caption, const QString& name) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(PlainCaption(caption));
    return box;
}

QLineEdit* MakeLineEdit(QWidget* parent, const QString& name, const QString& accessibleName, int minChars) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setMaxLength(std::numeric_limits<int>::max());
    if (minChars > 0)
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * minChars);
    return edit;
}

OkCancel MakeOkCancel(QDialog* dialog) {
    auto* box = new QDialogButtonBox(dialog);
    box->setObjectName("buttons");
    QPushButton* ok = box->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("okButton");
    ok->setAccessibleName("OK");
    ok->setDefault(true);
    QPushButton* cancel = box->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cancelButton");
    cancel->setAccessibleName("Cancel");
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return {box, ok, cancel};
}

QLabel* AddFormRow(QFormLayout& form, QWidget* parent, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    field->setAccessibleName(PlainCaption(caption));
    form.addRow(label, field);
    return label;
}

void StackWithButtons(QDialog* dialog, QLayout* body, QWidget* buttons) {
    auto* top = new QVBoxLayout(dialog);
    top->addLayout(body);
    top->addStretch(1);
    top->addWidget(buttons);
}

void SetTabChain(std::span<QWidget* const> order) {
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
