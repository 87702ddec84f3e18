#pragma once

#include "link/LinkTiming.h"

#include <ostream>
#include <string>
#include <vector>

// The commands that talk to a panel: info, download, upload, firmware, reboot. `device` is the
// port given with --port. Returns the exit status.
// `timing` is the panel's own unless a test shortens it.
int RunLinkCommand(const std::string& command, const std::string& device, const std::vector<std::string>& operands,
                   std::ostream& out, std::ostream& err, const LinkTiming& timing = LinkTiming{});
bool IsLinkCommand(const std::string& command);
// Usage and help lines of the link commands, for zylctl's overview and --help.
const char* LinkCommandUsage(const std::string& command);
const char* LinkCommandHelp(const std::string& command);
std::size_t LinkCommandOperands(const std::string& command);
