#include "CBtn8Dlg.h"

#include "SlotText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& accessibleName, int minChars) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * minChars);
    return edit;
}

} // namespace

CBtn8Dlg::CBtn8Dlg(CBtn8Ctrl& page_, QWidget* parent) : QDialog(parent), page(page_) {
    setObjectName("buttonPage");
    setWindowTitle("8 Button Page");

    auto* grid = new QGridLayout;
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        const QString number = QString::number(i + 1);
        const QString caption = "Button " + number + ":";
        auto* label = new QLabel("Button &" + number + ":", this);
        label->setObjectName("buttonRowLabel" + number);
        buttonLabelEdits[i] = makeEdit(this, "buttonLabel" + number, caption, 14);
        buttonEventEdits[i] = makeEdit(this, "buttonEvent" + number, caption + " Event Text", 40);
        label->setBuddy(buttonLabelEdits[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(buttonLabelEdits[i], i, 1);
        grid->addWidget(buttonEventEdits[i], i, 2);

        labelStrings[i] = LoadSlotText(page.buttonLabels[i]);
        eventStrings[i] = LoadSlotText(page.buttonEvents[i]);
        buttonLabelEdits[i]->setText(labelStrings[i]);
        buttonEventEdits[i]->setText(eventStrings[i]);
        buttonLabelEdits[i]->setCursorPosition(0);
        buttonEventEdits[i]->setCursorPosition(0);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 3);

    auto* buttons = new QDialogButtonBox(this);
    okButton = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    okButton->setObjectName("okButton");
    okButton->setAccessibleName("OK");
    okButton->setDefault(true);
    cancelButton = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancelButton->setObjectName("cancelButton");
    cancelButton->setAccessibleName("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &CBtn8Dlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBtn8Dlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons);

    // Row by row, label before event text, then the buttons.
    QWidget* previous = nullptr;
    const auto chain = [&](QWidget* next) {
        if (previous != nullptr)
            setTabOrder(previous, next);
        previous = next;
    };
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        chain(buttonLabelEdits[i]);
        chain(buttonEventEdits[i]);
    }
    chain(okButton);
    chain(cancelButton);
    buttonLabelEdits[0]->setFocus();
}

void CBtn8Dlg::accept() {
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        labelStrings[i] = buttonLabelEdits[i]->text();
        eventStrings[i] = buttonEventEdits[i]->text();
        StoreSlotText(labelStrings[i], page.buttonLabels[i], CBtn8Ctrl::kSlotBytes);
        StoreSlotText(eventStrings[i], page.buttonEvents[i], CBtn8Ctrl::kSlotBytes);
    }
    QDialog::accept();
}
