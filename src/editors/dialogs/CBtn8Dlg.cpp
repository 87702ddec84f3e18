#include "editors/dialogs/CBtn8Dlg.h"

#include "editors/DialogParts.h"
#include "editors/SlotText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

CBtn8Dlg::CBtn8Dlg(CBtn8Ctrl& page_, QWidget* parent) : QDialog(parent), page(page_) {
    setObjectName("buttonPage");
    setWindowTitle("8 Button Page");

    auto* grid = new QGridLayout;
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        const QString number = QString::number(i + 1);
        const QString caption = "Button " + number + ":";
        auto* label = new QLabel("Button &" + number + ":", this);
        label->setObjectName("buttonRowLabel" + number);
        buttonLabelEdits[i] = MakeLineEdit(this, "buttonLabel" + number, caption, 14);
        buttonEventEdits[i] = MakeLineEdit(this, "buttonEvent" + number, caption + " Event Text", 40);
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

    const OkCancel okCancel = MakeOkCancel(this);
    QDialogButtonBox* buttons = okCancel.box;
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;
    connect(buttons, &QDialogButtonBox::accepted, this, &CBtn8Dlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons);

    // Row by row, label before event text, then the buttons.
    std::vector<QWidget*> order;
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        order.push_back(buttonLabelEdits[i]);
        order.push_back(buttonEventEdits[i]);
    }
    order.push_back(okButton);
    order.push_back(cancelButton);
    SetTabChain(order);
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
