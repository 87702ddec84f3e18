#pragma once

#include "ZylctlCommand.h"

#include <CLI/CLI.hpp>

#include <span>
#include <string>

// zylctl's help texts and usage lines, laid out from the command table and from the operands and
// options each command declared on its subcommand.
class ZylctlHelp : public CLI::FormatterBase {
public:
    explicit ZylctlHelp(std::span<const ZylctlCommand> commands) : commands(commands) {}

    // The overview for the program itself, a command's help for a subcommand.
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;

    // Every command by group, then the options that go before the command.
    std::string Overview(const CLI::App& root) const;
    // "usage: zylctl ...", one line per form of the command.
    std::string Usage(const CLI::App& command) const;
    // The usage, the command's paragraph and its options.
    std::string CommandHelp(const CLI::App& command) const;
    // The table's entry of a subcommand, or null for one that is not in it.
    const ZylctlCommand* Find(const std::string& name) const;

private:
    // The command as the overview lists it: its name and operands, behind --port DEVICE where it
    // needs one.
    std::string synopsis(const CLI::App& command, const ZylctlCommand& entry) const;

    std::span<const ZylctlCommand> commands;
};
