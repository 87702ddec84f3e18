// Template files (.zyl: a whole layout) and user-page files (.zup: one page with its images).
#include "TLayout.h"

#include "CDataStore.h"
#include "DecodeError.h"
#include "FileIo.h"
#include "base/LittleEndian.h"
#include "picture/PixelBudget.h"

#include <algorithm>
#include <array>
#include <limits>
#include <set>

namespace {

constexpr std::size_t kMagicBytes = 4;
constexpr const char* kTemplateKind = "ZYL-1 template file";
constexpr const char* kPageKind = "ZYL-1 user page file";

std::array<std::uint8_t, kMagicBytes> magicBytes(std::int32_t magic) {
    std::array<std::uint8_t, kMagicBytes> bytes{};
    PutLittleEndian32(bytes.data(), static_cast<std::uint32_t>(magic));
    return bytes;
}

bool fail(std::string* error, const std::string& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

// Bytes of a file of the given kind: more than the magic, at most `limit` bytes, the right magic.
bool checkKindOfFile(std::span<const std::uint8_t> bytes, std::size_t limit, std::int32_t magic, const char* kind,
                     const std::string& name, std::string* error) {
    if (bytes.size() > limit)
        return fail(error, name + " is too large for a " + kind + " (" + std::to_string(bytes.size()) +
                               " bytes; at most " + std::to_string(limit) + ")");
    const auto expected = magicBytes(magic);
    if (bytes.size() <= kMagicBytes || !std::equal(expected.begin(), expected.end(), bytes.begin()))
        return fail(error, name + " is not a " + kind);
    return true;
}

// Whether the layout has an ID left for each image of the file it does not hold yet (by GUID);
// each of those takes one more than the largest user image ID.
bool checkImageIdsLeft(const std::vector<std::unique_ptr<TImageEntry>>& images,
                       const std::vector<std::unique_ptr<TImageEntry>>& entries, const std::string& name,
                       std::string* error) {
    std::set<Guid> known;
    std::int64_t largest = TImageEntry::kFirstUserId - 1;
    for (const auto& existing : images) {
        if (existing->IsUserImage()) {
            known.insert(existing->guid);
            largest = std::max<std::int64_t>(largest, existing->id);
        }
    }
    std::int64_t needed = 0;
    for (const auto& entry : entries)
        needed += known.insert(entry->guid).second ? 1 : 0;
    const std::int64_t left = std::numeric_limits<std::int32_t>::max() - largest;
    if (needed <= left)
        return true;
    const auto counted = [](std::int64_t n, const std::string& what) {
        return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
    };
    return fail(error, name + " brings " + counted(needed, "new image") + ", but this layout has " +
                           counted(left, "image ID") + " left: its largest image ID is " + std::to_string(largest) +
                           ", and " + std::to_string(std::numeric_limits<std::int32_t>::max()) +
                           " is the highest an ID can be. Nothing was loaded.");
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

bool TLayout::SaveTemplate(const std::string& path, std::string* error) {
    // Encoded without the file's limit, so a refusal can say how large the file would be.
    const auto image = Encode(std::numeric_limits<std::int32_t>::max(), error);
    if (!image)
        return false;
    // The loader takes files of at most kTemplateCapacity bytes, magic included; never write one it refuses.
    const std::size_t fileBytes = kMagicBytes + image->size();
    if (fileBytes > static_cast<std::size_t>(kTemplateCapacity))
        return fail(error, "The template file would take " + std::to_string(fileBytes) +
                               " bytes; a template file holds at most " + std::to_string(kTemplateCapacity) +
                               ". Remove images or pages and try again.");
    const auto magic = magicBytes(kTemplateMagic);
    const std::span<const std::uint8_t> parts[] = {magic, *image};
    return WriteFileAtomically(path, parts, error);
}

bool ReadTemplateFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error) {
    return ReadWholeFile(path, TLayout::kTemplateCapacity, bytes, error, std::string("a ") + kTemplateKind);
}

bool ReadPageFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error) {
    return ReadWholeFile(path, TLayout::kPageFileLimit, bytes, error, std::string("a ") + kPageKind);
}

bool TLayout::LoadTemplate(const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    return ReadTemplateFileBytes(path, bytes, error) && LoadTemplateBytes(bytes, quoted(path), error);
}

bool TLayout::IsTemplateFile(std::span<const std::uint8_t> bytes) {
    return checkKindOfFile(bytes, kTemplateCapacity, kTemplateMagic, "", "", nullptr);
}

bool TLayout::LoadTemplateBytes(std::span<const std::uint8_t> bytes, const std::string& name, std::string* error) {
    if (!checkKindOfFile(bytes, kTemplateCapacity, kTemplateMagic, kTemplateKind, name, error))
        return false;
    std::string reason;
    if (!Decode(bytes.subspan(kMagicBytes), &reason))
        return fail(error, name + ": " + reason);
    return true;
}

std::vector<std::uint8_t> TLayout::PageFileBytes(const TUserPage& page) const {
    CDataStore ar;
    const auto magic = magicBytes(kPageMagic);
    ar.WriteBytes(magic.data(), static_cast<std::int32_t>(magic.size()));
    auto& source = const_cast<TUserPage&>(page); // storing does not change the page
    source.Serialize(ar);
    page.ForEachImageId([&](std::int32_t id) {
        if (id < TImageEntry::kFirstUserId)
            return;
        if (TImageEntry* entry = FindImage(id)) {
            ar.WriteInt(1);
            entry->Serialize(ar);
        }
    });
    const auto result = ar.Result();
    return {result.begin(), result.end()};
}

bool TLayout::SavePage(const TUserPage& page, const std::string& path, std::string* error) {
    const std::vector<std::uint8_t> file = PageFileBytes(page);
    if (file.size() > static_cast<std::size_t>(kPageFileLimit))
        return fail(error, "The page and its images need " + std::to_string(file.size()) +
                               " bytes; a page file holds at most " + std::to_string(kPageFileLimit) +
                               ". Use smaller images and try again.");
    const std::span<const std::uint8_t> parts[] = {file};
    return WriteFileAtomically(path, parts, error);
}

bool ReadPageFile(const std::string& path, TUserPage& page, std::vector<std::unique_ptr<TImageEntry>>& entries,
                  std::string* error) {
    std::vector<std::uint8_t> bytes;
    return ReadPageFileBytes(path, bytes, error) && ParsePageFile(bytes, quoted(path), page, entries, error);
}

bool ParsePageFile(std::span<const std::uint8_t> bytes, const std::string& name, TUserPage& page,
                   std::vector<std::unique_ptr<TImageEntry>>& entries, std::string* error) {
    if (!checkKindOfFile(bytes, TLayout::kPageFileLimit, TLayout::kPageMagic, kPageKind, name, error))
        return false;
    std::vector<std::unique_ptr<TImageEntry>> read;
    PixelBudget budget = TImageEntry::LayoutBudget();
    try {
        CDataStore ar(bytes.subspan(kMagicBytes));
        page.Serialize(ar);
        while (ar.Remaining() > 0 && ar.ReadInt() == 1) {
            auto entry = std::make_unique<TImageEntry>();
            entry->Serialize(ar, &budget);
            read.push_back(std::move(entry));
        }
    } catch (const DecodeError& e) {
        return fail(error, name + " is damaged: " + e.what());
    }
    entries = std::move(read);
    return true;
}

bool TLayout::IsPageFile(std::span<const std::uint8_t> bytes) {
    return checkKindOfFile(bytes, kPageFileLimit, kPageMagic, "", "", nullptr);
}

bool TLayout::LoadPage(TUserPage& page, const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    return ReadPageFileBytes(path, bytes, error) && LoadPageBytes(page, bytes, quoted(path), error);
}

bool TLayout::LoadPageBytes(TUserPage& page, std::span<const std::uint8_t> bytes, const std::string& name,
                            std::string* error) {
    // Read everything first, so a damaged file changes neither the page nor the images.
    TUserPage imported(nullptr, u"");
    std::vector<std::unique_ptr<TImageEntry>> entries;
    if (!ParsePageFile(bytes, name, imported, entries, error))
        return false;
    if (!MergePageImages(imported, entries, name, error))
        return false;
    page.name = std::move(imported.name);
    page.pageId = imported.pageId;
    page.face.CopyFrom(imported.face);
    page.objects = std::move(imported.objects);
    return true;
}

bool TLayout::MergePageImages(TUserPage& page, std::vector<std::unique_ptr<TImageEntry>>& entries,
                              const std::string& name, std::string* error) {
    if (!checkImageIdsLeft(images, entries, name, error))
        return false;
    page.ForEachImageReference([](TImageReference reference) { reference.ClearMark(); });
    for (auto& entry : entries) {
        const std::int32_t oldId = entry->id;
        std::int32_t newId = -1;
        std::int32_t largest = TImageEntry::kFirstUserId - 1;
        for (const auto& existing : images) {
            if (!existing->IsUserImage())
                continue;
            largest = std::max(largest, existing->id);
            if (existing->guid == entry->guid)
                newId = existing->id; // the last match wins
        }
        if (newId < 0) {
            newId = largest + 1;
            entry->id = newId;
            images.insert(images.begin(), std::move(entry));
        }
        page.ForEachImageReference([&](TImageReference reference) {
            if (!reference.IsMarked() && reference.Id() == oldId)
                reference.Renumber(newId);
        });
    }
    return true;
}
