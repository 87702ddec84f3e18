#include "ExportFolder.h"

#include "textform/JsonFields.h"
#include "layout/FileIo.h"

#include <algorithm>
#include <set>

namespace fs = std::filesystem;

namespace {

// The names export writes in its folder, and the bound import reads its JSON with.
constexpr const char* kExportJsons[] = {"layout.json", "page.json"};
constexpr const char* kImages = "images";
constexpr const char* kExportElsewhere = "; export into another folder or move it away";

std::string inQuotes(const fs::path& path) {
    return "\"" + path.string() + "\"";
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

} // namespace

// Export replaces DIR/images whole, so it goes ahead only when that holds nothing but the pictures
// an earlier export wrote, and never FILE itself; links are refused, not followed.
bool MayExportInto(const std::string& file, const std::filesystem::path& dir, std::string& error) {
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
bool MayImportInto(const std::filesystem::path& dir, const std::string& out, std::string& error) {
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
