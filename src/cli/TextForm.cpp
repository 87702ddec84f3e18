#include "TextForm.h"

#include "ExportFolder.h"
#include "textform/JsonFields.h"
#include "LayoutFileKind.h"
#include "textform/LayoutFromJson.h"
#include "textform/LayoutJson.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kLayoutJson = "layout.json";
constexpr const char* kPageJson = "page.json";
constexpr const char* kImages = "images";

bool fail(std::string* error, const std::string& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

std::string inQuotes(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string pngName(std::int32_t id) {
    return std::to_string(id) + ".png";
}

// The PNG a file holds for the entry: what the image record writer stores.
std::vector<std::uint8_t> storedPng(const TImageEntry& entry) {
    return entry.Png();
}

struct TextFormFiles {
    const char* jsonName = kLayoutJson;
    std::string json;
    std::vector<std::pair<std::int32_t, std::vector<std::uint8_t>>> pngs;
};

std::string jsonText(const Json& json) {
    return json.dump(2) + "\n";
}

// The export shows the file as a save would write it, so export, import and export again agree.
[[nodiscard]] bool templateFiles(std::span<const std::uint8_t> bytes, const std::string& name, TextFormFiles& files,
                                 std::string* error) {
    TLayout layout;
    if (!layout.LoadTemplateBytes(bytes, name, error))
        return false;
    layout.PurgeUnusedImages();
    files.jsonName = kLayoutJson;
    files.json = jsonText(LayoutToJson(layout));
    for (const auto& entry : layout.images) {
        if (entry->IsUserImage())
            files.pngs.emplace_back(entry->id, storedPng(*entry));
    }
    return true;
}

[[nodiscard]] bool pageFiles(std::span<const std::uint8_t> bytes, const std::string& name, TextFormFiles& files,
                             std::string* error) {
    TUserPage page(nullptr, u"");
    std::vector<std::unique_ptr<TImageEntry>> stored;
    if (!ParsePageFile(bytes, name, page, stored, error))
        return false;
    // A save stores each user image the page names, once per naming; the text form lists each one
    // once, in the order first named, and the first record with an ID is the one that counts.
    std::vector<std::unique_ptr<TImageEntry>> images;
    page.ForEachImageId([&](std::int32_t id) {
        const auto named = [id](const auto& entry) { return entry && entry->id == id; };
        if (id < TImageEntry::kFirstUserId || std::any_of(images.begin(), images.end(), named))
            return;
        if (const auto it = std::find_if(stored.begin(), stored.end(), named); it != stored.end())
            images.push_back(std::move(*it));
    });
    files.jsonName = kPageJson;
    files.json = jsonText(PageFileToJson(page, images));
    for (const auto& entry : images)
        files.pngs.emplace_back(entry->id, storedPng(*entry));
    return true;
}

// Removes the staging folder, and the export folder when this export made it, unless the export got through.
class Rollback {
public:
    ~Rollback() {
        std::error_code ignored;
        if (!staging.empty())
            fs::remove_all(staging, ignored);
        if (!madeFolder.empty())
            fs::remove(madeFolder, ignored);
    }
    void Done() {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        staging.clear();
        madeFolder.clear();
    }

    fs::path staging;
    fs::path madeFolder;
};

[[nodiscard]] bool renamed(const fs::path& from, const fs::path& to, std::string* error) {
    std::error_code ec;
    fs::rename(from, to, ec);
    return !ec || fail(error, "cannot move " + inQuotes(from) + " to " + inQuotes(to) + ": " + ec.message());
}

// Everything is written into a hidden folder inside DIR first; then the images folder and the JSON
// are moved into place, so DIR holds either the old export or the new one, never part of one.
[[nodiscard]] bool writeTextForm(const fs::path& dir, const TextFormFiles& files, std::string* error) {
    const std::string other = files.jsonName == std::string(kLayoutJson) ? kPageJson : kLayoutJson;
    std::error_code ec;
    const fs::file_status status = fs::status(dir, ec);
    if (fs::exists(status) && !fs::is_directory(status))
        return fail(error, inQuotes(dir) + " exists and is not a folder");
    Rollback rollback;
    if (!fs::exists(status)) {
        fs::create_directories(dir, ec);
        if (ec || !fs::is_directory(dir, ec))
            return fail(error, "cannot make the folder " + inQuotes(dir) + ": " + ec.message());
        rollback.madeFolder = dir;
    } else if (fs::exists(dir / other, ec)) {
        return fail(error, inQuotes(dir) + " holds " + other + " from another export; export into another folder");
    }

    std::string pattern = (dir / ".export-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return fail(error, "cannot make a folder in " + inQuotes(dir) + ": " + std::strerror(errno));
    rollback.staging = pattern;
    const fs::path stagedImages = rollback.staging / kImages;
    if (!fs::create_directory(stagedImages, ec))
        return fail(error, "cannot make the folder " + inQuotes(stagedImages) + ": " + ec.message());
    for (const auto& [id, png] : files.pngs) {
        const std::span<const std::uint8_t> parts[] = {png};
        if (!WriteFileAtomically((stagedImages / pngName(id)).string(), parts, error))
            return false;
    }
    const std::span<const std::uint8_t> json[] = {bytesOf(files.json)};
    if (!WriteFileAtomically((rollback.staging / files.jsonName).string(), json, error))
        return false;

    const fs::path images = dir / kImages;
    const fs::path oldImages = rollback.staging / "old-images";
    const bool hadImages = fs::exists(fs::symlink_status(images, ec));
    if (hadImages && !renamed(images, oldImages, error))
        return false;
    // Puts the earlier images back after a failed move; should even that fail, they stay where they are.
    const auto putBack = [&] {
        if (hadImages && !renamed(oldImages, images, nullptr)) {
            rollback.staging.clear();
            if (error != nullptr)
                *error += "; the earlier images are in " + inQuotes(oldImages);
        }
        return false;
    };
    if (!renamed(stagedImages, images, error))
        return putBack();
    if (!renamed(rollback.staging / files.jsonName, dir / files.jsonName, error)) {
        if (!renamed(images, stagedImages, nullptr)) {
            rollback.staging.clear();
            return false;
        }
        return putBack();
    }
    rollback.Done();
    return true;
}

bool hasPngSignature(const std::vector<std::uint8_t>& bytes) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= sizeof kSignature && std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

std::string lowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension;
}

} // namespace

bool ExportLayoutFile(const std::string& file, const std::string& dir, std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadLayoutFile(file, bytes, error))
        return false;
    const std::string name = inQuotes(file);
    TextFormFiles files;
    switch (KindOfLayoutFile(bytes)) {
    case LayoutFileKind::Template:
        if (!templateFiles(bytes, name, files, error))
            return false;
        break;
    case LayoutFileKind::Page:
        if (!pageFiles(bytes, name, files, error))
            return false;
        break;
    case LayoutFileKind::Neither:
        return fail(error, NeitherLayoutFileMessage(name));
    }
    std::string refusal;
    if (!MayExportInto(file, dir, refusal))
        return fail(error, refusal);
    return writeTextForm(dir, files, error);
}

bool ImportLayoutDir(const std::string& dir, const std::string& out, std::string* error) {
    const fs::path folder(dir);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return fail(error, inQuotes(folder) + " is not a folder");
    const bool isTemplate = fs::exists(folder / kLayoutJson, ec);
    const bool isPage = fs::exists(folder / kPageJson, ec);
    if (isTemplate == isPage)
        return fail(error, inQuotes(folder) + (isTemplate ? " holds both " : " holds neither ") + kLayoutJson +
                               (isTemplate ? " and " : " nor ") + kPageJson);
    if (lowerExtension(out) != (isTemplate ? ".zyl" : ".zup"))
        return fail(error, isTemplate ? "a template is written to a .zyl file, not to " + inQuotes(out)
                                      : "a user page file is written to a .zup file, not to " + inQuotes(out));

    std::string refusal;
    if (!MayImportInto(folder, out, refusal))
        return fail(error, refusal);

    const fs::path jsonPath = folder / (isTemplate ? kLayoutJson : kPageJson);
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(jsonPath.string(), kJsonLimit, bytes, error))
        return false;
    Json json;
    try {
        json = ParseStrictJson({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    } catch (const TextFormError& e) {
        return fail(error, inQuotes(jsonPath) + ": " + e.what());
    }

    const std::size_t pngLimit =
        static_cast<std::size_t>(isTemplate ? TLayout::kTemplateCapacity : TLayout::kPageFileLimit);
    const PngSource pngs = [&](std::int32_t id, std::vector<std::uint8_t>& png, std::string& why) {
        const fs::path path = folder / kImages / pngName(id);
        if (!ReadWholeFile(path.string(), pngLimit, png, &why))
            return false;
        // An empty file stands for an image record without a picture.
        return png.empty() || hasPngSignature(png) || fail(&why, inQuotes(path) + " is not a PNG image");
    };
    std::string why;
    if (isTemplate) {
        TLayout layout;
        if (!LayoutFromJson(json, pngs, layout, &why))
            return fail(error, inQuotes(jsonPath) + ": " + why);
        // A template's images load in the reverse of their stored order; stored reversed, they load
        // back in the JSON's order.
        const auto builtins = std::find_if(layout.images.begin(), layout.images.end(),
                                           [](const auto& entry) { return !entry->IsUserImage(); });
        std::reverse(layout.images.begin(), builtins);
        return layout.SaveTemplate(out, error);
    }
    TUserPage page(nullptr, u"");
    std::vector<std::unique_ptr<TImageEntry>> images;
    if (!PageFileFromJson(json, pngs, page, images, &why))
        return fail(error, inQuotes(jsonPath) + ": " + why);
    // A saved page file holds the images it names from the layout's list.
    TLayout holder;
    holder.images.insert(holder.images.begin(), std::make_move_iterator(images.begin()),
                         std::make_move_iterator(images.end()));
    return holder.SavePage(page, out, error);
}
