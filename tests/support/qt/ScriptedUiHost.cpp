#include "ScriptedUiHost.h"

namespace {

std::optional<QString> next(std::deque<QString>& queue) {
    if (queue.empty())
        return std::nullopt;
    const QString value = queue.front();
    queue.pop_front();
    if (value.isNull())
        return std::nullopt;
    return std::make_optional(value);
}

} // namespace

void ScriptedUiHost::ShowMessage(QWidget*, const QString& title, const QString& text) {
    messages.push_back(title + ": " + text);
}

bool ScriptedUiHost::AskYesNo(QWidget*, const QString& title, const QString& text) {
    questions.push_back(title + ": " + text);
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedUiHost::GetOpenFileName(QWidget*, const QString& title, const QString& filter,
                                                       const QString&) {
    fileRequests.push_back(title + " | " + filter);
    return next(openFiles);
}

std::optional<QString> ScriptedUiHost::GetSaveFileName(QWidget*, const QString& title, const QString& filter,
                                                       const QString&) {
    fileRequests.push_back(title + " | " + filter);
    return next(saveFiles);
}
