#include "FileCommands.h"

#include "LayoutFileKind.h"
#include "textform/LayoutJson.h"
#include "TextForm.h"
#include "layout/Utf8.h"
#include "Zylctl.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace {

// Loads FILE as whichever kind it is and hands it on; false with the reason when it is no valid file.
[[nodiscard]] bool
withFile(const std::string& path, std::string& error, const std::function<void(const TLayout&)>& onTemplate,
         const std::function<void(const TUserPage&, const std::vector<std::unique_ptr<TImageEntry>>&)>& onPage) {
    std::vector<std::uint8_t> bytes;
    if (!ReadLayoutFile(path, bytes, &error))
        return false;
    const std::string name = "\"" + path + "\"";
    switch (KindOfLayoutFile(bytes)) {
    case LayoutFileKind::Template: {
        TLayout layout;
        if (!layout.LoadTemplateBytes(bytes, name, &error))
            return false;
        onTemplate(layout);
        return true;
    }
    case LayoutFileKind::Page: {
        TUserPage page(nullptr, u"");
        std::vector<std::unique_ptr<TImageEntry>> images;
        if (!ParsePageFile(bytes, name, page, images, &error))
            return false;
        onPage(page, images);
        return true;
    }
    case LayoutFileKind::Neither:
        break;
    }
    error = NeitherLayoutFileMessage(name);
    return false;
}

int failed(const CommandContext& context, const char* command, const std::string& error) {
    context.err << "zylctl " << command << ": " << EscapeForTerminal(error) << '\n';
    return kExitBadInput;
}

// The command's operands, declared required in order; the values live as long as the run.
std::shared_ptr<std::vector<std::string>> operands(CLI::App& command,
                                                   std::initializer_list<std::pair<const char*, const char*>> names) {
    auto values = std::make_shared<std::vector<std::string>>(names.size());
    std::size_t i = 0;
    for (const auto& [name, description] : names)
        command.add_option(name, (*values)[i++], description)->required();
    return values;
}

// Text the JSON library cannot write as UTF-8 is replaced rather than thrown on.
void printJson(std::ostream& out, const nlohmann::ordered_json& json) {
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

} // namespace

CommandRun DefineNewCommand(CLI::App& command) {
    const auto args = operands(command, {{"OUT.zyl", "the template file to write"}});
    return [args](const CommandContext& context) -> int {
        TLayout layout;
        std::string error;
        if (!layout.SaveTemplate((*args)[0], &error))
            return failed(context, "new", error);
        return kExitOk;
    };
}

CommandRun DefineDumpCommand(CLI::App& command) {
    const auto args = operands(command, {{"FILE", "a template (.zyl) or user page file (.zup)"}});
    return [args](const CommandContext& context) -> int {
        std::string error;
        const bool ok = withFile(
            (*args)[0], error, [&](const TLayout& layout) { printJson(context.out, LayoutToJson(layout)); },
            [&](const TUserPage& page, const auto& images) { printJson(context.out, PageFileToJson(page, images)); });
        return ok ? kExitOk : failed(context, "dump", error);
    };
}

CommandRun DefineCheckCommand(CLI::App& command) {
    const auto args = operands(command, {{"FILE", "a template (.zyl) or user page file (.zup)"}});
    return [args](const CommandContext& context) -> int {
        std::string error;
        std::string what;
        const bool ok = withFile((*args)[0], error, [&](const TLayout&) { what = "valid ZYL-1 template file"; },
                                 [&](const TUserPage&, const auto&) { what = "valid ZYL-1 user page file"; });
        if (!ok)
            return failed(context, "check", error);
        context.out << (*args)[0] << ": " << what << '\n';
        return kExitOk;
    };
}

CommandRun DefineExportCommand(CLI::App& command) {
    const auto args = operands(command, {{"FILE", "a template (.zyl) or user page file (.zup)"},
                                         {"DIR", "the folder to write the JSON and PNG files in"}});
    return [args](const CommandContext& context) -> int {
        std::string error;
        if (!ExportLayoutFile((*args)[0], (*args)[1], &error))
            return failed(context, "export", error);
        return kExitOk;
    };
}

CommandRun DefineImportCommand(CLI::App& command) {
    const auto args = operands(command, {{"DIR", "a folder written by export"},
                                         {"OUT", "the template or page file to write, as DIR holds one or the other"}});
    return [args](const CommandContext& context) -> int {
        std::string error;
        if (!ImportLayoutDir((*args)[0], (*args)[1], &error))
            return failed(context, "import", error);
        return kExitOk;
    };
}
