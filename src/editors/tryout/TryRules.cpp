#include "editors/tryout/TryRules.h"

#include "layout/TListItem.h"

#include <QString>

#include <algorithm>
#include <cstdio>

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

} // namespace

std::string ClockText(std::int64_t milliseconds) {
    const std::int64_t tenths = std::max<std::int64_t>(milliseconds, 0) / 100;
    char text[40];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", static_cast<long long>(tenths / 600),
                  static_cast<long long>(tenths / 10 % 60), static_cast<long long>(tenths % 10));
    return text;
}

std::string OutputLine(const PanelModel::Output& output) {
    std::string what;
    switch (output.kind) {
    case PanelModel::Output::Kind::Page:
        what = "page " + std::to_string(output.pageId) + " " + quoted(output.text);
        break;
    case PanelModel::Output::Kind::Send:
        what = "send " + quoted(output.text);
        break;
    case PanelModel::Output::Kind::Level:
        what = "level " + std::to_string(output.controlId) + " " + std::to_string(output.level);
        break;
    case PanelModel::Output::Kind::Note:
        what = "note " + quoted(output.text);
        break;
    }
    return ClockText(output.timeMs) + "  " + what;
}

std::string ShownPageText(const PanelModel& model) {
    const TListItem* page = model.CurrentPage();
    std::string text = "Page: ";
    if (page == nullptr)
        text += "none";
    else
        text += QString::fromStdU16String(page->name).toStdString() + " (" + std::to_string(page->pageId) + ")";
    if (model.Asleep())
        text += ", Asleep";
    if (model.CurrentOverlay() == PanelModel::Overlay::PinPad)
        text += ", PIN asked";
    else if (model.CurrentOverlay() == PanelModel::Overlay::DefaultEntry)
        text += ", Default Data Entry";
    return text;
}
