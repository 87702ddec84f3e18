#pragma once

#include <QDialog>

// A dialog whose opener sets its members after constructing it: each time the dialog opens, its
// controls are filled from the members before it is first painted.
class CInitDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    virtual void OnInitDialog() = 0;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool opened = false;
};
