#pragma once

#include <QDialog>

// "About ZYLMosaics": the icon, the name and the version.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
};
