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
    // Each request takes the next entry; a null entry (QString()) or an empty queue means "cancelled".
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;

private:
    static std::optional<QString> next(std::deque<QString>& queue) {
        if (queue.empty())
            return std::nullopt;
        const QString value = queue.front();
        queue.pop_front();
        if (value.isNull())
            return std::nullopt;
        return std::make_optional(value);
    }
};
