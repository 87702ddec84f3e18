#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class TLayout;
class TUserPage;
class UiHost;

// "ZYL-1 User Defined Page": a user page's name and ID. It works on the page itself; only the
// name waits for OK.
class CZylUserDlg : public QDialog {
    Q_OBJECT
public:
    CZylUserDlg(TLayout& layout, TUserPage& page, UiHost& ui, bool sleepPage, QWidget* parent = nullptr);

    void OnOkClicked();

    TLayout& layout;
    TUserPage& page;
    UiHost& ui;
    const bool isSleepPage;

    QLineEdit* pageName;
    QLineEdit* pageId;
    QPushButton* okButton;
    QPushButton* cancelButton;
};
