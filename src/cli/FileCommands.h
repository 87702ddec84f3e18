#pragma once

#include "ZylctlCommand.h"

// The commands on layout files: new, dump, check, export and import. Each declares its operands
// on the subcommand and returns what runs it.
[[nodiscard]] CommandRun DefineNewCommand(CLI::App& command);
[[nodiscard]] CommandRun DefineDumpCommand(CLI::App& command);
[[nodiscard]] CommandRun DefineCheckCommand(CLI::App& command);
[[nodiscard]] CommandRun DefineExportCommand(CLI::App& command);
[[nodiscard]] CommandRun DefineImportCommand(CLI::App& command);
