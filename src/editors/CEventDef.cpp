#include "CEventDef.h"

#include "SlotText.h"
#include "layout/TLayout.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& accessibleName, int minChars) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * minChars);
    return edit;
}

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
        descriptionEdits[i] = makeEdit(form, "description" + number, caption, 28);
        eventTextEdits[i] = makeEdit(form, "eventText" + number, caption + " Event Text", 44);
        label->setBuddy(descriptionEdits[i]);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(descriptionEdits[i], i + 1, 1);
        grid->addWidget(eventTextEdits[i], i + 1, 2);
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 4);
    // A window taller than the form keeps the rows together at the top.
    grid->setRowStretch(kEvents + 1, 1);

    auto* buttons = new QDialogButtonBox(this);
    okButton = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    okButton->setObjectName("okButton");
    okButton->setAccessibleName("OK");
    okButton->setDefault(true);
    cancelButton = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancelButton->setObjectName("cancelButton");
    cancelButton->setAccessibleName("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &CEventDef::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEventDef::reject);

    SetContents(form, buttons);

    // Row by row, description before text, then the buttons.
    QWidget* previous = nullptr;
    const auto chain = [&](QWidget* next) {
        if (previous != nullptr)
            setTabOrder(previous, next);
        previous = next;
    };
    for (int i = 0; i < kEvents; ++i) {
        chain(descriptionEdits[i]);
        chain(eventTextEdits[i]);
    }
    chain(okButton);
    chain(cancelButton);

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
