#pragma once

#include "ZylctlCommand.h"

#include <ostream>
#include <string>
#include <vector>

// `zylctl render`: pages of a template or page file, drawn as the panel shows them, into PNG files.
[[nodiscard]] CommandRun DefineRenderCommand(CLI::App& command);

// The same as `zylctl render ARGS`; returns a ZylctlStatus.
[[nodiscard]] int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
