#include "ZylctlHelp.h"

#include <algorithm>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

// Two columns, the second starting two spaces after the widest first one; a line break in the
// second continues under it.
std::string table(const Rows& rows) {
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    std::string text;
    for (const auto& [left, right] : rows) {
        text += "  " + left + std::string(width + 2 - left.size(), ' ');
        for (const char c : right) {
            text += c;
            if (c == '\n')
                text += std::string(width + 4, ' ');
        }
        text += '\n';
    }
    return text;
}

// "-o, --output OUT.png"
std::string optionNames(const CLI::Option& option) {
    std::string names;
    for (const std::string& name : option.get_snames())
        names += (names.empty() ? "-" : ", -") + name;
    for (const std::string& name : option.get_lnames())
        names += (names.empty() ? "--" : ", --") + name;
    if (option.get_type_size() != 0)
        names += " " + option.get_type_name();
    return names;
}

// The options written with a dash, help last.
std::vector<const CLI::Option*> namedOptions(const CLI::App& app) {
    std::vector<const CLI::Option*> options =
        app.get_options([](const CLI::Option* option) { return option->nonpositional(); });
    std::stable_partition(options.begin(), options.end(),
                          [&](const CLI::Option* option) { return option != app.get_help_ptr(); });
    return options;
}

std::string optionTable(const std::vector<const CLI::Option*>& options) {
    Rows rows;
    for (const CLI::Option* option : options)
        rows.emplace_back(optionNames(*option), option->get_description());
    return table(rows);
}

} // namespace

const ZylctlCommand* ZylctlHelp::Find(const std::string& name) const {
    const auto it =
        std::find_if(commands.begin(), commands.end(), [&](const ZylctlCommand& c) { return name == c.name; });
    return it == commands.end() ? nullptr : &*it;
}

std::string ZylctlHelp::synopsis(const CLI::App& command, const ZylctlCommand& entry) const {
    std::string text = std::string(entry.needsPort ? "--port DEVICE " : "") + entry.name;
    for (const CLI::Option* operand :
         command.get_options([](const CLI::Option* option) { return option->get_positional(); }))
        text += " " + (operand->get_required() ? operand->get_name() : "[" + operand->get_name() + "]");
    return text;
}

std::string ZylctlHelp::Usage(const CLI::App& command) const {
    const ZylctlCommand* entry = Find(command.get_name());
    if (entry == nullptr)
        return "usage: zylctl [--port DEVICE] COMMAND [ARGS]\n";
    std::string forms = synopsis(command, *entry);
    if (entry->usage != nullptr)
        forms = entry->usage;
    else if (namedOptions(command).size() > 1)
        forms += " [OPTIONS]";
    std::istringstream lines(forms);
    std::string text;
    std::string line;
    while (std::getline(lines, line))
        text += (text.empty() ? "usage: zylctl " : "       zylctl ") + line + '\n';
    return text;
}

std::string ZylctlHelp::CommandHelp(const CLI::App& command) const {
    const ZylctlCommand* entry = Find(command.get_name());
    std::string text = Usage(command) + '\n' + (entry != nullptr ? entry->help : command.get_description()) + '\n';
    const auto options = namedOptions(command);
    if (options.size() > 1)
        text += "\noptions:\n" + optionTable(options);
    return text;
}

std::string ZylctlHelp::Overview(const CLI::App& root) const {
    std::string text = Usage(root) + '\n' + root.get_description() + '\n';
    std::vector<std::string> groups;
    for (const CLI::App* command : root.get_subcommands([](const CLI::App*) { return true; })) {
        if (Find(command->get_name()) != nullptr &&
            std::find(groups.begin(), groups.end(), command->get_group()) == groups.end())
            groups.push_back(command->get_group());
    }
    for (const std::string& group : groups) {
        Rows rows;
        for (const CLI::App* command :
             root.get_subcommands([&](const CLI::App* c) { return c->get_group() == group; })) {
            if (const ZylctlCommand* entry = Find(command->get_name()))
                rows.emplace_back(synopsis(*command, *entry), entry->summary);
        }
        text += '\n' + group + ":\n" + table(rows);
    }
    text += "\noptions:\n" + optionTable(namedOptions(root)) + '\n' + root.get_footer() + '\n';
    return text;
}

std::string ZylctlHelp::make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const {
    return app->get_parent() == nullptr ? Overview(*app) : CommandHelp(*app);
}
