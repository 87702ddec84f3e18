#include "editors/dialogs/CHotspotDlg.h"

#include "editors/DialogParts.h"
#include "editors/EntryCombo.h"
#include "editors/dialogs/PropertyRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CHotspotDlg::CHotspotDlg(TLayout* layout_, QWidget* parent) : CInitDialog(parent), layout(layout_) {
    setWindowTitle("Hotspot Properties");
    setObjectName("hotspotDialog");

    pageList = MakeEntryCombo(this, "pageList", "Page to Switch To:");
    pageList->setMinimumContentsLength(20);
    requirePinBox = MakeCheckBox(this, "&Require PIN", "requirePinBox");
    pinEdit = MakeLineEdit(this, "pinEdit", "PIN:", 12);

    auto* form = new QFormLayout;
    AddFormRow(*form, this, "&Page to Switch To:", pageList);
    form->addRow(requirePinBox);
    AddFormRow(*form, this, "P&IN:", pinEdit);

    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;
    StackWithButtons(this, form, okCancel.box);

    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CHotspotDlg::OnOK);
}

void CHotspotDlg::OnInitDialog() {
    FillEntryCombo(*pageList, HotspotPageList(layout, ownPageId, targetPageId));
    requirePinBox->setChecked(requirePin);
    pinEdit->setText(QString::fromStdU16String(pin));
    // A target that is gone selects nothing and stays the target until the user chooses.
    connect(pageList, &QComboBox::currentIndexChanged, this, [this] {
        if (const auto chosen = ChosenNumber(*pageList))
            targetPageId = *chosen;
    });
}

void CHotspotDlg::OnOK() {
    requirePin = requirePinBox->isChecked();
    pin = pinEdit->text().toStdU16String();
    accept();
}
