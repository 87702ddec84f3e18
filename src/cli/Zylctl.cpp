#include "Zylctl.h"

#include "JsonWriter.h"
#include "LayoutJson.h"
#include "LinkCommands.h"
#include "RenderCommand.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

#include <functional>
#include <map>

namespace {

const char* const kOverview = R"(usage: zylctl COMMAND [ARGS]

The command-line face of ZYLMosaics, the ZYL-1 panel tool.

commands:
  new OUT.zyl      write the template of a fresh layout
  dump FILE        print a template (.zyl) or page file (.zup) as JSON
  check FILE       tell whether FILE is a valid template or page file
  render FILE      draw a page of a template or page file into a PNG file

commands that talk to a control on a serial port:
  --port DEVICE info               print the control's hardware and firmware versions
  --port DEVICE download OUT.zyl   read the control's layout into a template file
  --port DEVICE upload IN.zyl      write a template's layout into the control
  --port DEVICE firmware FILE.zfw  send a firmware file to the control
  --port DEVICE reboot             restart the control

Run 'zylctl COMMAND --help' for more. Exit status: 0 success, 1 bad input, 2 usage.
)";

struct Command {
    const char* usage;
    const char* help;
    std::size_t operands; // kOwnArguments: the command reads its arguments itself
    std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)> run;
};

constexpr std::size_t kOwnArguments = static_cast<std::size_t>(-1);

enum class FileKind { Template, Page, Unknown };

// Which kind of file the magic says it is; unreadable or short files are Unknown.
FileKind kindOf(const std::string& path) {
    std::vector<std::uint8_t> head;
    if (!ReadWholeFile(path, TLayout::kUploadCapacity, head, nullptr) || head.size() < 4)
        return FileKind::Unknown;
    const auto magic = static_cast<std::int32_t>(std::uint32_t{head[0]} | std::uint32_t{head[1]} << 8 |
                                                 std::uint32_t{head[2]} << 16 | std::uint32_t{head[3]} << 24);
    if (magic == TLayout::kTemplateMagic)
        return FileKind::Template;
    if (magic == TLayout::kPageMagic)
        return FileKind::Page;
    return FileKind::Unknown;
}

// Loads FILE as whichever kind it is and hands it on; false with the reason when it is no valid file.
bool withFile(const std::string& path, std::string& error, const std::function<void(const TLayout*)>& onTemplate,
              const std::function<void(const TUserPage&, const std::vector<std::unique_ptr<TImageEntry>>&)>& onPage) {
    switch (kindOf(path)) {
    case FileKind::Template: {
        TLayout layout;
        if (!layout.LoadTemplate(path, &error))
            return false;
        onTemplate(&layout);
        return true;
    }
    case FileKind::Page: {
        TUserPage page(nullptr, u"");
        std::vector<std::unique_ptr<TImageEntry>> images;
        if (!ReadPageFile(path, page, images, &error))
            return false;
        onPage(page, images);
        return true;
    }
    case FileKind::Unknown:
        break;
    }
    std::vector<std::uint8_t> ignored;
    if (!ReadWholeFile(path, TLayout::kUploadCapacity, ignored, &error))
        return false;
    error = "\"" + path + "\" is neither a ZYL-1 template file nor a ZYL-1 user page file";
    return false;
}

int runNew(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    TLayout layout;
    std::string error;
    if (!layout.SaveTemplate(args[0], &error)) {
        err << "zylctl new: " << error << '\n';
        return kExitBadInput;
    }
    return kExitOk;
}

int runDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    JsonWriter json(out);
    std::string error;
    const bool ok = withFile(
        args[0], error, [&](const TLayout* layout) { WriteLayoutJson(json, *layout); },
        [&](const TUserPage& page, const auto& images) { WritePageFileJson(json, page, images); });
    if (!ok) {
        err << "zylctl dump: " << error << '\n';
        return kExitBadInput;
    }
    return kExitOk;
}

int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    std::string what;
    const bool ok = withFile(
        args[0], error, [&](const TLayout*) { what = "valid ZYL-1 template file"; },
        [&](const TUserPage&, const auto&) { what = "valid ZYL-1 user page file"; });
    if (!ok) {
        err << "zylctl check: " << error << '\n';
        return kExitBadInput;
    }
    out << args[0] << ": " << what << '\n';
    return kExitOk;
}

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"new",
         {"usage: zylctl new OUT.zyl", "Writes the template file of a freshly started program's layout to OUT.zyl.", 1,
          runNew}},
        {"dump",
         {"usage: zylctl dump FILE",
          "Prints FILE, a template (.zyl) or user page file (.zup), as JSON on standard output.", 1, runDump}},
        {"check",
         {"usage: zylctl check FILE",
          "Exits 0 when FILE is a valid template or user page file, else 1 with the reason on standard error.", 1,
          runCheck}},
        {"render", {kRenderUsage, kRenderHelp, kOwnArguments, RunRenderCommand}},
    };
    return table;
}

bool wantsHelp(const std::vector<std::string>& args) {
    for (const auto& a : args) {
        if (a == "--help" || a == "-h")
            return true;
    }
    return false;
}

} // namespace

int RunZylctl(const std::vector<std::string>& allArgs, std::ostream& out, std::ostream& err) {
    std::string device;
    std::vector<std::string> args = allArgs;
    if (!args.empty() && args[0] == "--port") {
        if (args.size() < 2) {
            err << "zylctl: --port needs a device, such as /dev/ttyUSB0\n";
            return kExitUsage;
        }
        device = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (!args.empty() && IsLinkCommand(args[0])) {
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (wantsHelp(rest)) {
            out << LinkCommandUsage(args[0]) << "\n\n" << LinkCommandHelp(args[0]) << '\n';
            return kExitOk;
        }
        if (device.empty() || rest.size() != LinkCommandOperands(args[0])) {
            err << LinkCommandUsage(args[0]) << '\n';
            return kExitUsage;
        }
        return RunLinkCommand(args[0], device, rest, out, err);
    }
    if (!device.empty()) {
        err << "zylctl: --port goes with info, download, upload, firmware and reboot\n";
        return kExitUsage;
    }
    if (args.empty()) {
        err << kOverview;
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kOverview;
        return kExitOk;
    }
    const auto it = commands().find(args[0]);
    if (it == commands().end()) {
        err << "zylctl: unknown command '" << args[0] << "'\n" << kOverview;
        return kExitUsage;
    }
    const Command& command = it->second;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (wantsHelp(rest)) {
        out << command.usage << "\n\n" << command.help << '\n';
        return kExitOk;
    }
    if (command.operands != kOwnArguments && rest.size() != command.operands) {
        err << command.usage << '\n';
        return kExitUsage;
    }
    return command.run(rest, out, err);
}
