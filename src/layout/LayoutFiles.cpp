// Template files (.zyl: a whole layout) and user-page files (.zup: one page with its images).
#include "TLayout.h"

#include "CDataStore.h"
#include "DecodeError.h"
#include "FileIo.h"
#include "TUserButton.h"
#include "TUserImage.h"
#include "TUserLevel.h"
#include "base/LittleEndian.h"

#include <array>

namespace {

constexpr std::size_t kMagicBytes = 4;

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
        return fail(error, name + " is too large (" + std::to_string(bytes.size()) + " bytes; at most " +
                               std::to_string(limit) + ")");
    const auto expected = magicBytes(magic);
    if (bytes.size() <= kMagicBytes || !std::equal(expected.begin(), expected.end(), bytes.begin()))
        return fail(error, name + " is not a " + kind);
    return true;
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Every user-image reference a page makes, in the order a page file lists its images.
template <typename Visit> void forEachImageReference(TUserPage& page, Visit&& visit) {
    auto face = [&](TUserFace& f) {
        if (f.kind == TUserFace::kImage)
            visit(f.value, f.importMark);
    };
    face(page.face);
    for (auto& object : page.objects) {
        if (auto* button = dynamic_cast<TUserButton*>(object.get())) {
            face(button->downFace);
            face(button->upFace);
        } else if (auto* level = dynamic_cast<TUserLevel*>(object.get())) {
            int mark = level->importMark;
            visit(level->sliderImageId, mark);
            level->importMark = static_cast<std::uint8_t>(mark);
        } else if (auto* image = dynamic_cast<TUserImage*>(object.get())) {
            face(image->face);
        }
    }
}

} // namespace

bool TLayout::SaveTemplate(const std::string& path, std::string* error) {
    const auto image = Encode(kTemplateCapacity, error);
    if (!image)
        return false;
    const auto magic = magicBytes(kTemplateMagic);
    const std::span<const std::uint8_t> parts[] = {magic, *image};
    return WriteFileAtomically(path, parts, error);
}

bool TLayout::LoadTemplate(const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    return ReadWholeFile(path, kTemplateCapacity, bytes, error) && LoadTemplateBytes(bytes, quoted(path), error);
}

bool TLayout::LoadTemplateBytes(std::span<const std::uint8_t> bytes, const std::string& name, std::string* error) {
    if (!checkKindOfFile(bytes, kTemplateCapacity, kTemplateMagic, "ZYL-1 template file", name, error))
        return false;
    std::string reason;
    if (!Decode(bytes.subspan(kMagicBytes), &reason))
        return fail(error, name + ": " + reason);
    return true;
}

bool TLayout::SavePage(const TUserPage& page, const std::string& path, std::string* error) {
    CDataStore ar;
    auto& source = const_cast<TUserPage&>(page); // storing does not change the page
    source.Serialize(ar);
    forEachImageReference(source, [&](std::int32_t& id, auto&) {
        if (id < TImageEntry::kFirstUserId)
            return;
        if (TImageEntry* entry = FindImage(id)) {
            ar.WriteInt(1);
            entry->Serialize(ar);
        }
    });
    if (ar.Position() + static_cast<std::int64_t>(kMagicBytes) > kPageFileLimit)
        return fail(error, "The page and its images need " + std::to_string(ar.Position() + kMagicBytes) +
                               " bytes; a page file holds at most " + std::to_string(kPageFileLimit) +
                               ". Use smaller images and try again.");
    const auto magic = magicBytes(kPageMagic);
    const std::span<const std::uint8_t> parts[] = {magic, ar.Result()};
    return WriteFileAtomically(path, parts, error);
}

bool ReadPageFile(const std::string& path, TUserPage& page, std::vector<std::unique_ptr<TImageEntry>>& entries,
                  std::string* error) {
    std::vector<std::uint8_t> bytes;
    return ReadWholeFile(path, TLayout::kPageFileLimit, bytes, error) &&
           ParsePageFile(bytes, quoted(path), page, entries, error);
}

bool ParsePageFile(std::span<const std::uint8_t> bytes, const std::string& name, TUserPage& page,
                   std::vector<std::unique_ptr<TImageEntry>>& entries, std::string* error) {
    if (!checkKindOfFile(bytes, TLayout::kPageFileLimit, TLayout::kPageMagic, "ZYL-1 user page file", name, error))
        return false;
    std::vector<std::unique_ptr<TImageEntry>> read;
    try {
        CDataStore ar(bytes.subspan(kMagicBytes));
        page.Serialize(ar);
        while (ar.Remaining() > 0 && ar.ReadInt() == 1) {
            auto entry = std::make_unique<TImageEntry>();
            entry->Serialize(ar);
            read.push_back(std::move(entry));
        }
    } catch (const DecodeError& e) {
        return fail(error, name + " is damaged: " + e.what());
    }
    entries = std::move(read);
    return true;
}

bool TLayout::LoadPage(TUserPage& page, const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    return ReadWholeFile(path, kPageFileLimit, bytes, error) && LoadPageBytes(page, bytes, quoted(path), error);
}

bool TLayout::LoadPageBytes(TUserPage& page, std::span<const std::uint8_t> bytes, const std::string& name,
                            std::string* error) {
    // Read everything first, so a damaged file changes neither the page nor the images.
    TUserPage imported(nullptr, u"");
    std::vector<std::unique_ptr<TImageEntry>> entries;
    if (!ParsePageFile(bytes, name, imported, entries, error))
        return false;

    page.name = std::move(imported.name);
    page.pageId = imported.pageId;
    page.face.CopyFrom(imported.face);
    page.objects = std::move(imported.objects);

    forEachImageReference(page, [](std::int32_t&, auto& mark) { mark = 0; });
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
        forEachImageReference(page, [&](std::int32_t& id, auto& mark) {
            if (mark == 0 && id == oldId) {
                id = newId;
                mark = 1;
            }
        });
    }
    return true;
}
