#pragma once

#include "ZylctlCommand.h"
#include "link/LinkTiming.h"
#include "session/Session.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct PortEntry;

// The commands that talk to a panel: info, download, upload, firmware, reboot. `device` is the
// port given with --port. Returns the exit status.
// `timing` is the panel's own unless a test shortens it; `upload` is how an upload runs.
[[nodiscard]] int RunLinkCommand(const std::string& command, const std::string& device,
                                 const std::vector<std::string>& operands, std::ostream& out, std::ostream& err,
                                 const LinkTiming& timing = LinkTiming{},
                                 const Session::UploadOptions& upload = Session::UploadOptions{});
// Declares a link command's operand on its subcommand, which is named after the command.
[[nodiscard]] CommandRun DefineLinkCommand(CLI::App& command);

// `zylctl ports`: each port `list` yields on a line of its own, the device, a tab and the label the
// main window shows. No ports print nothing on `out` and a note on `err`; the status is always 0.
[[nodiscard]] int RunPortsCommand(std::ostream& out, std::ostream& err,
                                  const std::function<std::vector<PortEntry>()>& list);
// The same over the ports of this machine.
[[nodiscard]] CommandRun DefinePortsCommand(CLI::App& command);
