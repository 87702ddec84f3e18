#include "editors/tryout/TryRules.h"

#include "layout/TListItem.h"
#include "panel/OutputLine.h"

#include <QString>

#include <algorithm>
#include <cstdio>

std::string ClockText(std::int64_t milliseconds) {
    const std::int64_t tenths = std::max<std::int64_t>(milliseconds, 0) / 100;
    char text[40];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", static_cast<long long>(tenths / 600),
                  static_cast<long long>(tenths / 10 % 60), static_cast<long long>(tenths % 10));
    return text;
}

std::string ListLine(const PanelModel::Output& output) {
    return ClockText(output.timeMs) + "  " + OutputLine(output);
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
