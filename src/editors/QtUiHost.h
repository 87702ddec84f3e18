#pragma once

#include "editors/UiHost.h"

#include <memory>

class QMenu;

// The Qt menu for a context menu's items; each action carries its command as its data.
[[nodiscard]] std::unique_ptr<QMenu> MakePopupMenu(const std::vector<MenuItem>& items, QWidget* parent);

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
    [[nodiscard]] std::optional<int> TrackPopupMenu(QWidget* parent, const std::vector<MenuItem>& items,
                                                    const QPoint& at) override;
    [[nodiscard]] std::optional<std::uint32_t> GetColor(QWidget* parent, std::uint32_t initial) override;
    int RunDialog(QDialog& dialog) override;
};
