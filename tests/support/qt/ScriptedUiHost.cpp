#include "ScriptedUiHost.h"

#include <QDialog>

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

std::optional<int> ScriptedUiHost::ChooseFromMenu(QWidget*, const QStringList& items, const QPoint& at) {
    menus.push_back(items.join('|'));
    menuPoints.push_back(at);
    const std::optional<QString> choice = next(menuChoices);
    if (!choice)
        return std::nullopt;
    const auto index = items.indexOf(*choice);
    if (index < 0)
        return std::nullopt;
    return static_cast<int>(index);
}

namespace {

void flatten(const std::vector<MenuItem>& items, const QString& prefix, std::vector<std::pair<QString, int>>& out) {
    for (const MenuItem& item : items) {
        // A separator shows as "-"; a disabled entry is listed with "(disabled)" and never chosen.
        if (item.text.isEmpty())
            out.emplace_back("-", 0);
        else if (!item.enabled)
            out.emplace_back(prefix + item.text + " (disabled)", 0);
        else if (item.items.empty())
            out.emplace_back(prefix + item.text, item.command);
        else
            flatten(item.items, prefix + item.text + '>', out);
    }
}

} // namespace

std::optional<int> ScriptedUiHost::TrackPopupMenu(QWidget*, const std::vector<MenuItem>& items, const QPoint& at) {
    std::vector<std::pair<QString, int>> paths;
    flatten(items, QString(), paths);
    QStringList texts;
    for (const auto& [path, command] : paths)
        texts.push_back(path);
    menus.push_back(texts.join('|'));
    menuPoints.push_back(at);
    const std::optional<QString> choice = next(menuChoices);
    for (const auto& [path, command] : paths)
        if (choice && path == *choice && command != 0)
            return command;
    return std::nullopt;
}

std::optional<std::uint32_t> ScriptedUiHost::GetColor(QWidget*, std::uint32_t initial) {
    colorRequests.push_back(initial);
    if (colors.empty())
        return std::nullopt;
    const std::optional<std::uint32_t> color = colors.front();
    colors.pop_front();
    return color;
}

int ScriptedUiHost::RunDialog(QDialog& dialog) {
    dialogs.push_back(dialog.windowTitle());
    dialog.setResult(QDialog::Rejected);
    if (dialogSteps.empty()) {
        dialog.reject();
        return dialog.result();
    }
    const std::function<void(QDialog&)> step = std::move(dialogSteps.front());
    dialogSteps.pop_front();
    // Shown, as under exec(), so focus and visibility behave as for the user.
    dialog.show();
    step(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}
