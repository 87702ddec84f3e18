#pragma once

#include "layout/CBtn8Ctrl.h"

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
class QPushButton;

// "8 Button Page": the labels and event texts of an eight-button page, written on OK.
class CBtn8Dlg : public QDialog {
    Q_OBJECT
public:
    explicit CBtn8Dlg(CBtn8Ctrl& page, QWidget* parent = nullptr);

    // Writes the sixteen slots, then closes with OK.
    void accept() override;

    CBtn8Ctrl& page;
    // Working copies, button 1 first.
    std::array<QString, CBtn8Ctrl::kButtons> labelStrings;
    std::array<QString, CBtn8Ctrl::kButtons> eventStrings;

    std::array<QLineEdit*, CBtn8Ctrl::kButtons> buttonLabelEdits{};
    std::array<QLineEdit*, CBtn8Ctrl::kButtons> buttonEventEdits{};
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
