#include "FileCommands.h"

#include "JsonFields.h"
#include "LayoutFileKind.h"
#include "LayoutJson.h"
#include "TextForm.h"
#include "Zylctl.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

namespace fs = std::filesystem;

namespace {

// The names export writes in its folder, and the bound import reads its JSON with.
constexpr const char* kExportJsons[] = {"layout.json", "page.json"};
constexpr const char* kImages = "images";
constexpr std::size_t kJsonLimit = std::size_t{8} << 20;
constexpr const char* kExportElsewhere = "; export into another folder or move it away";

std::string inQuotes(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

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
    context.err << "zylctl " << command << ": " << error << '\n';
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

// The pictures an earlier export in `dir` wrote: images/<id>.png for each entry of the image list
// in its JSON. False with the reason when a JSON there is not one an export could have written.
[[nodiscard]] bool writtenByEarlierExport(const fs::path& dir, std::set<std::string>& pictures, std::string& error) {
    for (const char* name : kExportJsons) {
        const fs::path json = dir / name;
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(json, ec);
        if (!fs::exists(status))
            continue;
        const std::string refusal = inQuotes(json) + " is not the JSON of an earlier export";
        std::vector<std::uint8_t> bytes;
        if (!fs::is_regular_file(status)) {
            error = refusal + kExportElsewhere;
            return false;
        }
        if (!ReadWholeFile(json.string(), kJsonLimit, bytes, &error)) {
            error += kExportElsewhere;
            return false;
        }
        try {
            const Json parsed = ParseStrictJson(std::string(bytes.begin(), bytes.end()));
            JsonFields top(parsed, "");
            const std::string path = top.PathOf("images");
            const Json& list = ArrayAt(top.Member("images"), path, 0, bytes.size());
            for (std::size_t i = 0; i < list.size(); ++i)
                pictures.insert(std::to_string(JsonFields(list[i], ElementPath(path, i)).Int("id")) + ".png");
        } catch (const TextFormError& e) {
            error = refusal + " (" + e.what() + ")" + kExportElsewhere;
            return false;
        }
    }
    return true;
}

// Export replaces DIR/images whole, so it goes ahead only when that holds nothing but the pictures
// an earlier export wrote, and never FILE itself; links are refused, not followed.
[[nodiscard]] bool mayExportInto(const std::string& file, const fs::path& dir, std::string& error) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return true; // made afresh, or refused by the export itself
    std::set<std::string> written;
    if (!writtenByEarlierExport(dir, written, error))
        return false;
    const fs::path images = dir / kImages;
    const fs::file_status status = fs::symlink_status(images, ec);
    if (!fs::exists(status))
        return true;
    if (!fs::is_directory(status)) {
        error = inQuotes(images) + " is not a folder an earlier export made, and the export would replace it" +
                kExportElsewhere;
        return false;
    }
    std::vector<std::string> foreign;
    for (fs::directory_iterator it(images, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        std::error_code kindError;
        const bool ours = written.count(entry.filename().string()) != 0 &&
                          fs::is_regular_file(it->symlink_status(kindError)) && !IsSameFile(file, entry.string());
        if (!ours)
            foreign.push_back(entry.filename().string());
    }
    if (ec) {
        error = "cannot read the folder " + inQuotes(images) + ": " + ec.message();
        return false;
    }
    if (foreign.empty())
        return true;
    std::sort(foreign.begin(), foreign.end());
    const std::size_t more = foreign.size() - 1;
    const char* them = more == 0 ? "it" : "them";
    error =
        inQuotes(images / foreign.front()) +
        (more == 0 ? " was"
                   : " and " + std::to_string(more) + (more == 1 ? " more entry" : " more entries") + " there were") +
        " not written by an earlier export, and the export would delete " + them +
        "; export into another folder or move " + them + " away";
    return false;
}

// The files import reads from DIR, compared by identity so a link is found too: OUT must be none.
[[nodiscard]] bool mayImportInto(const fs::path& dir, const std::string& out, std::string& error) {
    std::vector<fs::path> inputs(std::begin(kExportJsons), std::end(kExportJsons));
    for (fs::path& input : inputs)
        input = dir / input;
    std::error_code ec;
    for (fs::directory_iterator it(dir / kImages, ec), end; !ec && it != end; it.increment(ec))
        inputs.push_back(it->path());
    for (const fs::path& input : inputs) {
        if (IsSameFile(input.string(), out)) {
            error = inQuotes(out) + " is " + inQuotes(input) + ", which the import reads; write OUT to another file";
            return false;
        }
    }
    return true;
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
        if (!mayExportInto((*args)[0], (*args)[1], error) || !ExportLayoutFile((*args)[0], (*args)[1], &error))
            return failed(context, "export", error);
        return kExitOk;
    };
}

CommandRun DefineImportCommand(CLI::App& command) {
    const auto args = operands(command, {{"DIR", "a folder written by export"},
                                         {"OUT", "the template or page file to write, as DIR holds one or the other"}});
    return [args](const CommandContext& context) -> int {
        std::string error;
        if (!mayImportInto((*args)[0], (*args)[1], error) || !ImportLayoutDir((*args)[0], (*args)[1], &error))
            return failed(context, "import", error);
        return kExitOk;
    };
}
