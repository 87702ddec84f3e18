#pragma once

#include "panel/PanelModel.h"

#include <cstdint>
#include <string>

// The Try Layout window's texts, without widgets.

// A model time as minutes, seconds and tenths: "0:12.3", "61:00.0".
[[nodiscard]] std::string ClockText(std::int64_t milliseconds);
// One line of the list of what the panel sent: its time, then the line `zylctl try` prints.
[[nodiscard]] std::string ListLine(const PanelModel::Output& output);
// What the screen shows: "Page: NAME (ID)", then ", Asleep", ", PIN asked" or
// ", Default Data Entry" when one holds; "Page: none" for a black screen.
[[nodiscard]] std::string ShownPageText(const PanelModel& model);
