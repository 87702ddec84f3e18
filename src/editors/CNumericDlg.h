#pragma once

#include <QDialog>

class CNumericCtrl;
class UiHost;

// "Numeric Entry Page": a data-entry page's name, colours and text lines, written on OK.
class CNumericDlg : public QDialog {
    Q_OBJECT
public:
    CNumericDlg(CNumericCtrl& page, UiHost& ui, QWidget* parent = nullptr);

    CNumericCtrl& page;
};
