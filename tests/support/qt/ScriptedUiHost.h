#pragma once

#include "editors/UiHost.h"

#include <QStringList>

#include <deque>
#include <optional>

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

    QStringList messages;
    QStringList questions;
    QStringList fileRequests;
    // An empty queue answers No.
    std::deque<bool> answers;
    // Each request takes the next entry; a null entry (QString()) or an empty queue means "cancelled".
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
};
