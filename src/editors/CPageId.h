#pragma once

#include "CInitDialog.h"

#include <cstdint>

class QLineEdit;
class QPushButton;
class TLayout;
class TListItem;
class UiHost;

// "Set Page ID": a page's ID typed by hand, refused while another page of the layout has it.
// The caller reads `pageId` back after OK.
class CPageId : public CInitDialog {
    Q_OBJECT
public:
    // `pageId` starts as the page's own.
    CPageId(TLayout& layout, TListItem& page, UiHost& ui, QWidget* parent = nullptr);

    // Shows the member in the edit; done once, when the dialog is first shown.
    void OnInitDialog() override;
    void OnOK();

    std::int32_t pageId;
    TListItem& page;

    QLineEdit* pageIdEdit;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    TLayout& layout;
    UiHost& ui;
};
