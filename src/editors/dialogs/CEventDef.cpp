#include "editors/dialogs/CEventDef.h"

#include "editors/DialogParts.h"
#include "editors/SlotText.h"
#include "layout/TLayout.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace {

std::span<std::uint8_t> entry(std::uint8_t* first) {
    return {first, TLayout::kEventBytes};
}

} // namespace

CEventDef::CEventDef(TLayout& layout_, QWidget* parent) : CScrollDialog(parent), layout(layout_) {
    setObjectName("eventDefinitions");
    setWindowTitle("User Event Definitions");

    auto* form = new QWidget;
    form->setObjectName("eventForm");
    auto* grid = new QGridLayout(form);
    auto* descriptionHead = new QLabel("Event Description", form);
    descriptionHead->setObjectName("eventDescriptionHead");
    auto* textHead = new QLabel("Event Text", form);
    textHead->setObjectName("eventTextHead");
    grid->addWidget(descriptionHead, 0, 1);
    grid->addWidget(textHead, 0, 2);

    for (int i = 0; i < kEvents; ++i) {
        const QString number = QString::number(i + 1);
        const QString caption = "Event #" + number;
        auto* label = new QLabel(caption, form);
        label->setObjectName("eventLabel" + number);
        descriptionEdits[i] = MakeLineEdit(form, "description" + number, caption, 28);
        eventTextEdits[i] = MakeLineEdit(form, "eventText" + number, caption + " Event Text", 44);
        label->setBuddy(descriptionEdits[i]);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(descriptionEdits[i], i + 1, 1);
        grid->addWidget(eventTextEdits[i], i + 1, 2);
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 4);
    // A window taller than the form keeps the rows together at the top.
    grid->setRowStretch(kEvents + 1, 1);

    const OkCancel okCancel = MakeOkCancel(this);
    QDialogButtonBox* buttons = okCancel.box;
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;
    connect(buttons, &QDialogButtonBox::accepted, this, &CEventDef::accept);

    SetContents(form, buttons);

    // Row by row, description before text, then the buttons.
    std::vector<QWidget*> order;
    for (int i = 0; i < kEvents; ++i) {
        order.push_back(descriptionEdits[i]);
        order.push_back(eventTextEdits[i]);
    }
    order.push_back(okButton);
    order.push_back(cancelButton);
    SetTabChain(order);

    for (int i = 0; i < kEvents; ++i) {
        descriptions[i] = LoadSlotText(entry(layout.EventDescription(i)));
        eventStrings[i] = LoadSlotText(entry(layout.EventText(i)));
        descriptionEdits[i]->setText(descriptions[i]);
        eventTextEdits[i]->setText(eventStrings[i]);
        // Long texts open at their beginning.
        descriptionEdits[i]->setCursorPosition(0);
        eventTextEdits[i]->setCursorPosition(0);
    }
    descriptionEdits[0]->setFocus();
}

void CEventDef::accept() {
    for (int i = 0; i < kEvents; ++i) {
        descriptions[i] = descriptionEdits[i]->text();
        eventStrings[i] = eventTextEdits[i]->text();
        StoreSlotText(descriptions[i], entry(layout.EventDescription(i)), kStoredBytes);
        StoreSlotText(eventStrings[i], entry(layout.EventText(i)), kStoredBytes);
    }
    CScrollDialog::accept();
}
