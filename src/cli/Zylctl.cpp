#include "Zylctl.h"

#include "FileCommands.h"
#include "LinkCommands.h"
#include "RenderCommand.h"
#include "TryCommand.h"
#include "ZylctlCommand.h"
#include "ZylctlHelp.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>
#include <memory>
#include <span>

namespace {

constexpr const char* kFileGroup = "commands";
constexpr const char* kPortGroup = "commands that talk to a control on a serial port";

// Every command, in the overview's order.
std::span<const ZylctlCommand> commands() {
    static const ZylctlCommand table[] = {
        {"new", "write the template of a fresh layout",
         "Writes the template file of a freshly started program's layout to OUT.zyl.", false, DefineNewCommand},
        {"dump", "print a template (.zyl) or page file (.zup) as JSON",
         "Prints FILE, a template (.zyl) or user page file (.zup), as JSON on standard output.", false,
         DefineDumpCommand},
        {"check", "tell whether FILE is a valid template or page file",
         "Exits 0 when FILE is a valid template or user page file, else 1 with the reason on standard error.", false,
         DefineCheckCommand},
        {"render", "draw pages of a template or page file into PNG files",
         "Draws user pages of FILE, a template (.zyl) or user page file (.zup), as the panel shows them,\n"
         "320 x 240 pixels, into PNG files. Hot spots show as dotted grids, as in the page editor;\n"
         "with --panel they are left out, as on the panel ('zylctl try' draws pages so).\n"
         "\n"
         "With -o, one page goes into OUT.png: in a template choose it with --page ID or --sleep; a user\n"
         "page file holds one page and takes neither. With --all, every user page goes into DIR, named\n"
         "by its page ID (DIR/10000.png); a later page with an ID already used gets -2, -3, ... after\n"
         "it (DIR/10000-2.png). The sleep page, whose ID means nothing, goes into DIR/sleep.png.\n"
         "Eight-button and data-entry pages, which the panel draws itself, are passed over with a note.\n"
         "\n"
         "Exit status: 0 written, 1 bad input (unreadable or invalid file, no such page, no such object,\n"
         "an output being FILE), 2 usage.",
         false, DefineRenderCommand,
         "render FILE [--page ID | --sleep] [--select N | --panel] -o OUT.png\n"
         "render FILE --all DIR [--panel]"},
        {"try", "run a layout on a panel model with touches and waits",
         "Runs the layout of FILE, a template (.zyl) or user page file (.zup), as a panel would, from\n"
         "its default page: the touches and waits are done in the order given. Prints what the panel\n"
         "did, one line each, in order:\n"
         "\n"
         "  page ID \"NAME\"          a page is shown\n"
         "  send \"TEXT\"             an event text goes out on the line\n"
         "  level CONTROL_ID VALUE  a slider moved (0 to 100)\n"
         "  note \"TEXT\"             what the panel did not do, and why\n"
         "\n"
         "Quotes and backslashes in TEXT have a backslash before them, control characters show as\n"
         "\\xNN. Points are page pixels, X from 0 to 319 and Y from 0 to 239. With -o the final screen\n"
         "goes into OUT.png. The panel's own drawings (eight-button and data-entry pages, keypads)\n"
         "are approximations; a real panel may differ.\n"
         "\n"
         "Exit status: 0 done, 1 bad input (unreadable or invalid file, a point off the screen, a\n"
         "wait that is not 0 to 86400 seconds, an output being FILE), 2 usage.",
         false, DefineTryCommand, "try FILE [--tap X,Y | --down X,Y | --up | --wait SECONDS]... [-o OUT.png]"},
        {"export", "write a template or page file as JSON and PNG files in DIR",
         "Writes FILE, a template (.zyl) or user page file (.zup), into the folder DIR as text that\n"
         "reviews and merges well: DIR/layout.json for a template or DIR/page.json for a page file,\n"
         "and each user image as DIR/images/ID.png. 'zylctl import' builds the file again.",
         false, DefineExportCommand},
        {"import", "build a template or page file from an exported DIR",
         "Builds OUT from a folder that 'zylctl export' wrote, perhaps edited since: a template from\n"
         "DIR/layout.json, a user page file from DIR/page.json, with the pictures in DIR/images.",
         false, DefineImportCommand},
        {"ports", "list the serial ports a control can be on",
         "Lists the serial ports of this machine and the panel simulators running, one per line: the\n"
         "device, a tab, and the name the main window's port list shows, for example\n"
         "\n"
         "  /dev/ttyUSB0<TAB>ttyUSB0 \xE2\x80\x94 FT232R USB UART\n"
         "\n"
         "The device is what --port takes. With no ports nothing is printed (a note goes to standard\n"
         "error) and the exit status is still 0.",
         false, DefinePortsCommand},
        {"info", "print the control's hardware and firmware versions",
         "Prints the control's hardware and firmware versions.", true, DefineLinkCommand},
        {"download", "read the control's layout into a template file",
         "Reads the control's layout and writes it as a template file.", true, DefineLinkCommand},
        {"upload", "write a template's layout into the control",
         "Writes the layout of a template file into the control. Each block goes on as soon as the control\n"
         "acknowledges it; from the first block it does not acknowledge at once, the rest of the upload\n"
         "waits the full reply windows, and a note says so. --full-windows waits them from the start.\n"
         "\n"
         "With --verify the layout is then read back and compared byte for byte with what was sent;\n"
         "a difference (named by the first block of 1000 bytes that differs) or a read-back that\n"
         "fails ends with exit status 1.",
         true, DefineLinkCommand},
        {"firmware", "send a firmware file to the control",
         "Sends a firmware file to the control, which then restarts by itself.", true, DefineLinkCommand},
        {"reboot", "restart the control", "Tells the control to restart.", true, DefineLinkCommand},
    };
    return table;
}

// "info, download, upload, firmware and reboot".
std::string portCommandNames() {
    std::vector<std::string> names;
    for (const ZylctlCommand& c : commands()) {
        if (c.needsPort)
            names.emplace_back(c.name);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// A command line that is not a valid use of zylctl (command null) or of the command: the reason,
// then how to use it.
int usageError(const ZylctlHelp& help, const CLI::App& app, const CLI::App* command, const std::string& reason,
               std::ostream& err) {
    if (command == nullptr) {
        err << "zylctl: " << reason << '\n' << help.Overview(app);
        return kExitUsage;
    }
    const std::string name = command->get_name();
    err << "zylctl " << name << ": " << reason << '\n'
        << help.Usage(*command) << "Run 'zylctl " << name << " --help' for more.\n";
    return kExitUsage;
}

// What CLI11 found wrong, worded for the command line as typed.
std::string parseProblem(const CLI::App& app, const CLI::ParseError& error) {
    const std::vector<std::string> rest = app.remaining();
    if (app.get_subcommands().empty() && dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && !rest.empty())
        return (rest.front().starts_with('-') ? "unknown option '" : "unknown command '") + rest.front() + "'";
    return error.what();
}

} // namespace

int RunZylctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app("The command-line face of ZYLMosaics, the ZYL-1 panel tool.", "zylctl");
    auto help = std::make_shared<ZylctlHelp>(commands());
    // Subcommands take the formatter and the help flag from the program when they are added.
    app.formatter(help);
    app.set_help_flag("-h,--help", "print this help and exit");
    app.footer("Run 'zylctl COMMAND --help' for more. Exit status: 0 success, 1 bad input, 2 usage.");
    std::string device;
    app.add_option("--port", device,
                   "the control's serial port, such as /dev/ttyUSB0 (see 'zylctl ports');\n"
                   "it may also follow the command")
        ->type_name("DEVICE");
    app.set_version_flag("--version", "zylctl " ZYLCTL_VERSION, "print the version and exit");
    app.require_subcommand(0, 1);

    std::vector<std::pair<const CLI::App*, CommandRun>> runs;
    for (const ZylctlCommand& command : commands()) {
        CLI::App* sub = app.add_subcommand(command.name, command.summary);
        sub->group(command.needsPort ? kPortGroup : kFileGroup);
        // What the command does not know goes to the program: --port after the command name.
        sub->fallthrough();
        runs.emplace_back(sub, command.define(*sub));
    }
    // `zylctl help [COMMAND]`, the same as --help; not listed.
    CLI::App* helpCommand = app.add_subcommand("help", "print the help of zylctl or of a command")->group("");
    std::string topic;
    helpCommand->add_option("COMMAND", topic, "the command");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() != static_cast<int>(CLI::ExitCodes::Success)) {
            // A mistake after `help` is the program's, not a command's.
            const std::vector<CLI::App*> chosen = app.get_subcommands();
            const CLI::App* command =
                chosen.empty() || help->Find(chosen.front()->get_name()) == nullptr ? nullptr : chosen.front();
            return usageError(*help, app, command, parseProblem(app, error), err);
        }
        return app.exit(error, out, err); // --help, --version
    }

    const std::vector<CLI::App*> chosen = app.get_subcommands();
    if (chosen.empty()) {
        if (device.empty()) { // nothing at all, or only "--"
            err << help->Overview(app);
            return kExitUsage;
        }
        return usageError(*help, app, nullptr, "--port goes with " + portCommandNames(), err);
    }
    const CLI::App& command = *chosen.front();
    if (&command == helpCommand) {
        if (topic.empty()) {
            out << help->Overview(app);
            return kExitOk;
        }
        const auto it =
            std::find_if(runs.begin(), runs.end(), [&](const auto& r) { return r.first->get_name() == topic; });
        if (it == runs.end())
            return usageError(*help, app, nullptr, "unknown command '" + topic + "'", err);
        out << help->CommandHelp(*it->first);
        return kExitOk;
    }
    const ZylctlCommand& entry = *help->Find(command.get_name());
    if (entry.needsPort && device.empty())
        return usageError(*help, app, &command, "--port DEVICE is missing", err);
    if (!entry.needsPort && !device.empty())
        return usageError(*help, app, &command, "--port goes with " + portCommandNames(), err);

    const auto run = std::find_if(runs.begin(), runs.end(), [&](const auto& r) { return r.first == &command; });
    try {
        return run->second(CommandContext{device, out, err});
    } catch (const std::exception& e) {
        // Whatever the command did not foresee (memory, the file system) still ends in one line.
        err << "zylctl " << entry.name << ": " << e.what() << '\n';
        return kExitBadInput;
    }
}
