#include "CZylUserDlg.h"

#include "DialogParts.h"
#include "layout/TUserPage.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CZylUserDlg::CZylUserDlg(TLayout& layout_, TUserPage& page_, UiHost& ui_, bool sleepPage, QWidget* parent)
    : QDialog(parent), layout(layout_), page(page_), ui(ui_), isSleepPage(sleepPage) {
    setWindowTitle("ZYL-1 User Defined Page");
    setObjectName("userPageDialog");

    pageName = MakeLineEdit(this, "pageName", "Page Name:", 30);
    pageName->setText(QString::fromStdU16String(page.name));
    pageId = MakeLineEdit(this, "pageId", "Page ID:");
    pageId->setText(QString::number(page.pageId));
    pageId->setReadOnly(true);
    const OkCancel okCancel = MakeOkCancel(this);
    okButton = okCancel.ok;
    cancelButton = okCancel.cancel;

    auto* form = new QFormLayout;
    AddFormRow(*form, this, "Page &Name:", pageName);
    AddFormRow(*form, this, "Page &ID:", pageId);

    StackWithButtons(this, form, okCancel.box);

    connect(okCancel.box, &QDialogButtonBox::accepted, this, &CZylUserDlg::OnOkClicked);
}

void CZylUserDlg::OnOkClicked() {
    page.name = pageName->text().toStdU16String();
    accept();
}
