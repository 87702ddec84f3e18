#pragma once

#include "editors/CInitDialog.h"

#include <QString>

#include <cstdint>

class QLineEdit;
class QPushButton;
class TLayout;
class TListItem;
class UiHost;

// "Set Page ID": a page's ID typed by hand, refused while another page of the layout has it, and
// refused when no page can have it. The caller reads `pageId` back after OK.
class CPageId : public CInitDialog {
    Q_OBJECT
public:
    // `pageId` starts as the page's own.
    CPageId(TLayout& layout, TListItem& page, UiHost& ui, QWidget* parent = nullptr);

    // Shows the member in the edit; done once, when the dialog is first shown.
    void OnInitDialog() override;
    void OnOK();
    // Why no page can have the ID, or an empty text when one can: page IDs are unsigned, and a hot
    // spot's target 2 means "Return to Previous".
    [[nodiscard]] static QString ReservedIdReason(std::int32_t id);

    std::int32_t pageId;
    TListItem& page;

    QLineEdit* pageIdEdit;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    void refuse(const QString& caption, const QString& message);

    TLayout& layout;
    UiHost& ui;
};
