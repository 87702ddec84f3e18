#include "editors/dialogs/CPositionSizeDlg.h"

#include "editors/DataExchange.h"
#include "editors/DialogParts.h"
#include "layout/TUserObject.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <climits>

CPositionSizeDlg::CPositionSizeDlg(UiHost& ui_, QWidget* parent) : CInitDialog(parent), ui(ui_) {
    setWindowTitle("Position and Size");
    setObjectName("positionSizeDlg");

    leftEdit = MakeLineEdit(this, "left", "Left:", 8);
    topEdit = MakeLineEdit(this, "top", "Top:", 8);
    widthEdit = MakeLineEdit(this, "width", "Width:", 8);
    heightEdit = MakeLineEdit(this, "height", "Height:", 8);
    auto* form = new QFormLayout;
    AddFormRow(*form, this, "&Left:", leftEdit);
    AddFormRow(*form, this, "&Top:", topEdit);
    AddFormRow(*form, this, "&Width:", widthEdit);
    AddFormRow(*form, this, "&Height:", heightEdit);

    const OkCancel okCancel = MakeOkCancel(this);
    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CPositionSizeDlg::accept);
    StackWithButtons(this, form, okCancel.box);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const std::array<QWidget*, 6> order{leftEdit, topEdit, widthEdit, heightEdit, okCancel.ok, okCancel.cancel};
    SetTabChain(order);
}

void CPositionSizeDlg::OnInitDialog() {
    leftEdit->setText(QString::number(left));
    topEdit->setText(QString::number(top));
    widthEdit->setText(QString::number(width));
    heightEdit->setText(QString::number(height));
    leftEdit->setFocus(Qt::OtherFocusReason);
    leftEdit->selectAll();
}

void CPositionSizeDlg::accept() {
    DataExchange exchange(ui, this);
    const std::optional<int> newLeft = exchange.Integer(*leftEdit, 0, TUserObject::kPageWidth - 1);
    const std::optional<int> newTop = exchange.Integer(*topEdit, 0, TUserObject::kPageHeight - 1);
    // The right and bottom edges must still be numbers the page can hold.
    const std::optional<int> newWidth = exchange.Integer(*widthEdit, 1, INT_MAX - newLeft.value_or(0));
    const std::optional<int> newHeight = exchange.Integer(*heightEdit, 1, INT_MAX - newTop.value_or(0));
    if (exchange.Failed())
        return;
    left = *newLeft;
    top = *newTop;
    width = *newWidth;
    height = *newHeight;
    QDialog::accept();
}
