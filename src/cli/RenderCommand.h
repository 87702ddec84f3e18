#pragma once

#include <ostream>
#include <string>
#include <vector>

// `zylctl render`: a page of a template or page file, drawn as the panel shows it, into a PNG.
extern const char* const kRenderUsage;
extern const char* const kRenderHelp;

// Runs the command on its arguments (after the word "render"); returns a ZylctlStatus.
[[nodiscard]] int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
