#pragma once

#include "UiHost.h"

// UiHost over Qt's own message boxes, file and colour dialogs and menus.
class QtUiHost : public UiHost {
public:
    void ShowMessage(QWidget* parent, const QString& title, const QString& text) override;
    [[nodiscard]] bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
    [[nodiscard]] std::optional<QString> GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                                         const QString& suffix) override;
    [[nodiscard]] std::optional<QString> GetSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                                         const QString& suffix) override;
    [[nodiscard]] std::optional<int> ChooseFromMenu(QWidget* parent, const QStringList& items,
                                                    const QPoint& at) override;
    [[nodiscard]] std::optional<std::uint32_t> GetColor(QWidget* parent, std::uint32_t initial) override;
    int RunDialog(QDialog& dialog) override;
};
