#include "CAboutDlg.h"

#include "AppIcon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About ZYLMosaics");
    setObjectName("aboutBox");
    auto* icon = new QLabel(this);
    icon->setPixmap(MakeAppIcon().pixmap(48, 48));
    auto* text = new QLabel("ZYLMosaics, Version 2.21", this);
    text->setObjectName("versionText");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
