#pragma once

#include "UiHost.h"

// UiHost over Qt's own message boxes and file dialogs.
class QtUiHost : public UiHost {
public:
    void ShowMessage(QWidget* parent, const QString& title, const QString& text) override;
    [[nodiscard]] bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
    [[nodiscard]] std::optional<QString> GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                                         const QString& suffix) override;
    [[nodiscard]] std::optional<QString> GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                                         const QString& suffix) override;
};
