#pragma once

#include <QDialog>

class CColorButton;
class CNumericCtrl;
class QLabel;
class QLineEdit;
class UiHost;

// "Numeric Entry Page": a data-entry page's name, colours and text lines, written on OK.
class CNumericDlg : public QDialog {
    Q_OBJECT
public:
    CNumericDlg(CNumericCtrl& page, UiHost& ui, QWidget* parent = nullptr);

    // Reads the controls into the page and closes with OK.
    void OnOK();

    CNumericCtrl& page;
    QLineEdit* pageName;
    CColorButton* backgroundColor;
    CColorButton* primaryColor;
    CColorButton* highlightColor;
    CColorButton* textColor;
    QLineEdit* textLine1;
    QLineEdit* textLine2;
    QLineEdit* textLine3;
    // Loaded but never shown, so the fourth line goes back as it came.
    QLineEdit* textLine4;
    QLabel* textLine4Label;
};
