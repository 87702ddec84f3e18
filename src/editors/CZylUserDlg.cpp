#include "CZylUserDlg.h"

#include "layout/TUserPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CZylUserDlg::CZylUserDlg(TLayout& layout_, TUserPage& page_, UiHost& ui_, bool sleepPage, QWidget* parent)
    : QDialog(parent), layout(layout_), page(page_), ui(ui_), isSleepPage(sleepPage) {
    setWindowTitle("ZYL-1 User Defined Page");
    setObjectName("userPageDialog");

    pageName = new QLineEdit(QString::fromStdU16String(page.name), this);
    pageName->setObjectName("pageName");
    pageName->setAccessibleName("Page Name:");
    pageName->setMinimumWidth(220);
    pageId = new QLineEdit(QString::number(page.pageId), this);
    pageId->setObjectName("pageId");
    pageId->setAccessibleName("Page ID:");
    pageId->setReadOnly(true);

    okButton = new QPushButton("OK", this);
    okButton->setObjectName("okButton");
    okButton->setAccessibleName("OK");
    okButton->setDefault(true);
    cancelButton = new QPushButton("Cancel", this);
    cancelButton->setObjectName("cancelButton");
    cancelButton->setAccessibleName("Cancel");

    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel("Page &Name:", this);
    nameLabel->setBuddy(pageName);
    auto* idLabel = new QLabel("Page &ID:", this);
    idLabel->setBuddy(pageId);
    form->addRow(nameLabel, pageName);
    form->addRow(idLabel, pageId);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addStretch(1);
    top->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &CZylUserDlg::OnOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void CZylUserDlg::OnOkClicked() {
    page.name = pageName->text().toStdU16String();
    accept();
}
