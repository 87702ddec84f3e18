#pragma once

#include "UiHost.h"

#include <QStringList>

#include <deque>
#include <optional>

// A UiHost for tests: records every message and question, answers from queues the test fills,
// and installs itself for as long as it lives.
class ScriptedUiHost : public UiHost {
public:
    ScriptedUiHost() { Install(this); }
    ~ScriptedUiHost() override { Install(nullptr); }

    void ShowMessage(QWidget*, const QString& title, const QString& text) override {
        messages.push_back(title + ": " + text);
    }
    bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
        questions.push_back(title + ": " + text);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                                           const QString&) override {
        fileRequests.push_back(title + " | " + filter);
        return next(openFiles);
    }
    std::optional<QString> GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                           const QString&) override {
        fileRequests.push_back(title + " | " + filter);
        return next(saveFiles);
    }

    QStringList messages;
    QStringList questions;
    QStringList fileRequests;
    std::deque<bool> answers;
    // Each request takes the next entry; an empty entry or an empty queue means "cancelled".
    std::deque<std::optional<QString>> openFiles;
    std::deque<std::optional<QString>> saveFiles;

private:
    static std::optional<QString> next(std::deque<std::optional<QString>>& queue) {
        if (queue.empty())
            return std::nullopt;
        auto value = queue.front();
        queue.pop_front();
        return value;
    }
};
