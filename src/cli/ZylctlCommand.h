#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace CLI {
class App;
}

// What a command runs with once its line has parsed.
struct CommandContext {
    const std::string& device; // the --port device; empty when none was given
    std::ostream& out;
    std::ostream& err;
};

// Runs a parsed command; returns a ZylctlStatus.
using CommandRun = std::function<int(const CommandContext&)>;

// One zylctl command. The table of these in Zylctl.cpp is where the subcommands, their operands
// and options, the overview, every --help and every usage error come from.
struct ZylctlCommand {
    const char* name;
    const char* summary; // its line in the overview
    const char* help;    // the paragraph of `zylctl NAME --help`
    bool needsPort;      // talks to a control on the --port device
    // Declares the command's operands and options on its subcommand and returns what runs it; the
    // run reads the values the parse stored.
    CommandRun (*define)(CLI::App& command);
    // The command's forms after "zylctl", one per line; null for its name and operands.
    const char* usage = nullptr;
};
