#pragma once

#include "ZylctlCommand.h"
#include "link/LinkTiming.h"

#include <ostream>
#include <string>
#include <vector>

// The commands that talk to a panel: info, download, upload, firmware, reboot. `device` is the
// port given with --port. Returns the exit status.
// `timing` is the panel's own unless a test shortens it.
[[nodiscard]] int RunLinkCommand(const std::string& command, const std::string& device,
                                 const std::vector<std::string>& operands, std::ostream& out, std::ostream& err,
                                 const LinkTiming& timing = LinkTiming{});
// Declares a link command's operand on its subcommand, which is named after the command.
[[nodiscard]] CommandRun DefineLinkCommand(CLI::App& command);
