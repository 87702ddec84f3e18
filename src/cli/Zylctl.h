#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses of zylctl.
enum ZylctlStatus : int { kExitOk = 0, kExitBadInput = 1, kExitUsage = 2 };

// Runs one zylctl command line (without the program name); output and messages go to the streams.
[[nodiscard]] int RunZylctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
