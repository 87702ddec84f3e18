#pragma once

#include "layout/Utf8.h"
#include "panel/PanelModel.h"

#include <string>

// One thing the panel did as a line of text, as `zylctl try` and the simulator's screen print it:
//   page ID "NAME" | send "TEXT" | level CONTROL_ID VALUE | note "TEXT"
// Quotes and backslashes get a backslash before them and control characters show as \xNN, so a
// line is always one line and reads back unambiguously.
inline std::string QuotedOutputText(const std::string& text) {
    std::string quoted;
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    // Escaped after the quotes, so the backslashes of its \xNN are not doubled.
    return '"' + EscapeForTerminal(quoted) + '"';
}

inline std::string OutputLine(const PanelModel::Output& output) {
    using Kind = PanelModel::Output::Kind;
    switch (output.kind) {
    case Kind::Page:
        return "page " + std::to_string(output.pageId) + " " + QuotedOutputText(output.text);
    case Kind::Send:
        return "send " + QuotedOutputText(output.text);
    case Kind::Level:
        return "level " + std::to_string(output.controlId) + " " + std::to_string(output.level);
    case Kind::Note:
        break;
    }
    return "note " + QuotedOutputText(output.text);
}
