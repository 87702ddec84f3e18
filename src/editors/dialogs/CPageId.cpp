#include "editors/dialogs/CPageId.h"

#include "editors/DataExchange.h"
#include "editors/DialogParts.h"
#include "editors/UiHost.h"
#include "editors/dialogs/PropertyRules.h"
#include "layout/TListItem.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPageId::CPageId(TLayout& layout_, TListItem& page_, UiHost& ui_, QWidget* parent)
    : CInitDialog(parent), pageId(page_.pageId), page(page_), layout(layout_), ui(ui_) {
    setWindowTitle("Set Page ID");
    setObjectName("setPageIdDialog");

    pageIdEdit = MakeLineEdit(this, "pageIdEdit", "Page ID:", 12);
    auto* form = new QFormLayout;
    AddFormRow(*form, this, "Page &ID:", pageIdEdit);

    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;
    StackWithButtons(this, form, okCancel.box);

    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CPageId::OnOK);
}

void CPageId::OnInitDialog() {
    pageIdEdit->setText(QString::number(pageId));
    pageIdEdit->selectAll();
}

void CPageId::OnOK() {
    DataExchange dx(ui, this);
    const std::optional<int> entered = dx.Integer(*pageIdEdit);
    if (!entered)
        return;
    if (const QString reason = ReservedIdReason(*entered); !reason.isEmpty()) {
        refuse("Invalid ID", reason);
        return;
    }
    if (PageIdTakenByOther(layout, page, *entered)) {
        refuse("Duplicate ID", "That ID is in use.  Choose another.");
        return;
    }
    pageId = *entered;
    accept();
}

QString CPageId::ReservedIdReason(std::int32_t id) {
    if (id < 0)
        return "A page ID cannot be negative: page IDs are unsigned.  Choose another.";
    if (id == kReturnToPrevious)
        return QString("Page ID %1 is reserved for \"Return to Previous\".  Choose another.").arg(id);
    return {};
}

void CPageId::refuse(const QString& caption, const QString& message) {
    ui.ShowMessage(this, caption, message);
    pageIdEdit->setFocus(Qt::OtherFocusReason);
    pageIdEdit->selectAll();
}
