#include "editors/dialogs/CImageSizeDlg.h"

#include "editors/DataExchange.h"
#include "editors/DialogParts.h"
#include "editors/dialogs/ImageFitting.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QVBoxLayout>

#include <array>

CImageSizeDlg::CImageSizeDlg(UiHost& ui_, QWidget* parent) : CInitDialog(parent), ui(ui_) {
    setWindowTitle("Image Size");
    setObjectName("imageSizeDlg");

    widthEdit = MakeLineEdit(this, "width", "Width:", 8);
    heightEdit = MakeLineEdit(this, "height", "Height:", 8);
    retainAspectBox = MakeCheckBox(this, "&Retain Aspect Ratio", "retainAspect");

    auto* form = new QFormLayout;
    auto addRow = [&](const char* caption, QLineEdit* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow("&Width:", widthEdit);
    addRow("&Height:", heightEdit);
    form->addRow(retainAspectBox);

    const OkCancel okCancel = MakeOkCancel(this);
    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CImageSizeDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel.box);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const std::array<QWidget*, 5> order{widthEdit, heightEdit, retainAspectBox, okCancel.ok, okCancel.cancel};
    SetTabChain(order);

    connect(widthEdit, &QLineEdit::textChanged, this, [this] { onEdited(*widthEdit); });
    connect(heightEdit, &QLineEdit::textChanged, this, [this] { onEdited(*heightEdit); });
}

void CImageSizeDlg::OnInitDialog() {
    {
        const QScopedValueRollback guard(exchanging, true);
        widthEdit->setText(QString::number(width));
        heightEdit->setText(QString::number(height));
        retainAspectBox->setChecked(retainAspect != 0);
    }
    aspectRatio = AspectRatioOf({width, height});
    widthEdit->setFocus(Qt::OtherFocusReason);
    widthEdit->selectAll();
}

bool CImageSizeDlg::readOnChange(QLineEdit& field, int max, int& value, bool& reported) {
    if (IntegerFieldError(field.text(), 1, max).isEmpty()) {
        value = *ParseInteger(field.text());
        reported = false;
        return true;
    }
    if (!reported) {
        reported = true;
        DataExchange exchange(ui, this);
        (void)exchange.Integer(field, 1, max);
    }
    return false;
}

void CImageSizeDlg::onEdited(QLineEdit& edited) {
    // A message box or a pushed value must not start another round.
    if (exchanging)
        return;
    const QScopedValueRollback guard(exchanging, true);
    const bool retain = retainAspectBox->isChecked();
    // With the ratio kept, the other field is about to be worked out afresh, so its old text is not
    // checked: a 0 pushed there a moment ago is not the user's mistake while they go on typing.
    const bool readWidth = !retain || &edited == widthEdit;
    const bool readHeight = !retain || &edited == heightEdit;
    const bool widthRead = !readWidth || readOnChange(*widthEdit, kMaxWidth, width, widthReported);
    if (widthRead && readHeight)
        (void)readOnChange(*heightEdit, kMaxHeight, height, heightReported);
    retainAspect = retain ? 1 : 0;
    if (!retain)
        return;
    // The arithmetic goes on with the values last read, as the fields were before a refused text.
    if (&edited == widthEdit) {
        if (const std::optional<int> other = HeightForWidth(width, aspectRatio)) {
            height = *other;
            heightEdit->setText(QString::number(height));
            heightReported = false;
        }
    } else if (const std::optional<int> other = WidthForHeight(height, aspectRatio)) {
        width = *other;
        widthEdit->setText(QString::number(width));
        widthReported = false;
    }
}

void CImageSizeDlg::accept() {
    if (exchanging)
        return;
    DataExchange exchange(ui, this);
    const std::optional<int> newWidth = exchange.Integer(*widthEdit, 1, kMaxWidth);
    const std::optional<int> newHeight = exchange.Integer(*heightEdit, 1, kMaxHeight);
    if (exchange.Failed())
        return;
    width = *newWidth;
    height = *newHeight;
    retainAspect = retainAspectBox->isChecked() ? 1 : 0;
    QDialog::accept();
}
