#pragma once

#include "editors/UiHost.h"

#include <QPoint>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A UiHost for tests: records every message and question and answers from queues the test fills.
// The test passes it to the window or dialog it builds.
class ScriptedUiHost : public UiHost {
public:
    void ShowMessage(QWidget*, const QString& title, const QString& text) override;
    [[nodiscard]] bool AskYesNo(QWidget*, const QString& title, const QString& text) override;
    [[nodiscard]] std::optional<QString> GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                                                         const QString&) override;
    [[nodiscard]] std::optional<QString> GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                                         const QString&) override;
    [[nodiscard]] std::optional<int> ChooseFromMenu(QWidget*, const QStringList& items, const QPoint& at) override;
    [[nodiscard]] std::optional<int> TrackPopupMenu(QWidget*, const std::vector<MenuItem>& items,
                                                    const QPoint& at) override;
    [[nodiscard]] std::optional<std::uint32_t> GetColor(QWidget*, std::uint32_t initial) override;
    // Hands the dialog to the next scripted step, which plays the user (types, clicks OK or
    // Cancel); with no step left the dialog is cancelled. Returns the dialog's result.
    int RunDialog(QDialog& dialog) override;

    QStringList messages;
    QStringList questions;
    QStringList fileRequests;
    // An empty queue answers No.
    std::deque<bool> answers;
    // Each request takes the next entry; a null entry (QString()) or an empty queue means "cancelled".
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    // Each menu records its items joined by '|' and takes the next entry: the item's text, or a
    // null QString (or an empty queue) for a dismissed menu.
    QStringList menus;
    std::deque<QString> menuChoices;
    // Context menus record their items the same way, a submenu's items as "Add>Image", and choose
    // by that path; `menuPoints` records where each menu of either kind opened.
    std::vector<QPoint> menuPoints;
    // Each colour dialog records its starting colour and takes the next entry; nothing or an empty
    // queue means "cancelled".
    std::vector<std::uint32_t> colorRequests;
    std::deque<std::optional<std::uint32_t>> colors;
    // Window titles of the nested dialogs run, in order.
    QStringList dialogs;
    std::deque<std::function<void(QDialog&)>> dialogSteps;
};
