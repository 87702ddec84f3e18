#pragma once

#include "editors/CScrollDialog.h"

#include <QString>

#include <array>

class QLineEdit;
class QPushButton;
class TLayout;

// "User Event Definitions": the descriptions and texts of the layout's 24 user events, written on OK.
class CEventDef : public CScrollDialog {
    Q_OBJECT
public:
    static constexpr int kEvents = 24;
    // Bytes of an entry the dialog writes, the NUL included; the rest of the entry is kept.
    static constexpr std::size_t kStoredBytes = 80;

    explicit CEventDef(TLayout& layout, QWidget* parent = nullptr);

    // Writes all 48 entries, changed or not (an unchanged one stays byte for byte), then closes
    // with OK.
    void accept() override;

    TLayout& layout;
    // Working copies, event 1 first.
    std::array<QString, kEvents> descriptions;
    std::array<QString, kEvents> eventStrings;

    std::array<QLineEdit*, kEvents> descriptionEdits{};
    std::array<QLineEdit*, kEvents> eventTextEdits{};
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
