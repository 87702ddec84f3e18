#pragma once

#include "editors/CInitDialog.h"

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TLayout;

// "Hotspot Properties": the page a hot spot switches to and the PIN it may ask for. The caller
// fills the members before running it and reads them back only after OK.
class CHotspotDlg : public CInitDialog {
    Q_OBJECT
public:
    // Without a layout no page is offered.
    explicit CHotspotDlg(TLayout* layout, QWidget* parent = nullptr);

    // Shows the members in the controls; done once, when the dialog is first shown.
    void OnInitDialog() override;
    void OnOK();

    TLayout* layout;
    std::int32_t ownPageId = -1;
    // A page ID, 2 to return to the previous page, -1 for none chosen.
    std::int32_t targetPageId = -1;
    bool requirePin = false;
    std::u16string pin;

    QComboBox* pageList;
    QCheckBox* requirePinBox;
    QLineEdit* pinEdit;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
};
