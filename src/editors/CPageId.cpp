#include "CPageId.h"

#include "DataExchange.h"
#include "DialogParts.h"
#include "PropertyRules.h"
#include "UiHost.h"
#include "layout/TListItem.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPageId::CPageId(TLayout& layout_, TListItem& page_, UiHost& ui_, QWidget* parent)
    : QDialog(parent), pageId(page_.pageId), page(page_), layout(layout_), ui(ui_) {
    setWindowTitle("Set Page ID");
    setObjectName("setPageIdDialog");

    pageIdEdit = MakeLineEdit(this, "pageIdEdit", "Page ID:", 12);
    auto* form = new QFormLayout;
    auto* label = new QLabel("Page &ID:", this);
    label->setBuddy(pageIdEdit);
    form->addRow(label, pageIdEdit);

    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addStretch(1);
    top->addWidget(okCancel.box);

    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CPageId::OnOK);
}

void CPageId::showEvent(QShowEvent* event) {
    if (!initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

void CPageId::OnInitDialog() {
    initialised = true;
    pageIdEdit->setText(QString::number(pageId));
    pageIdEdit->selectAll();
}

void CPageId::OnOK() {
    DataExchange dx(ui, this);
    const std::optional<int> entered = dx.Integer(*pageIdEdit);
    if (!entered)
        return;
    if (PageIdTakenByOther(layout, page, *entered)) {
        ui.ShowMessage(this, "Duplicate ID", "That ID is in use.  Choose another.");
        pageIdEdit->setFocus(Qt::OtherFocusReason);
        pageIdEdit->selectAll();
        return;
    }
    pageId = *entered;
    accept();
}
