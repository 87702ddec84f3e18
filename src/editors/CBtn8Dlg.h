#pragma once

#include <QDialog>

class CBtn8Ctrl;

// "8 Button Page": the labels and event texts of an eight-button page, written on OK.
class CBtn8Dlg : public QDialog {
    Q_OBJECT
public:
    explicit CBtn8Dlg(CBtn8Ctrl& page, QWidget* parent = nullptr);

    CBtn8Ctrl& page;
};
