// The layout image: the one binary form of a whole layout, sent to the panel and kept in
// template files.
#include "TLayout.h"

#include "CDataStore.h"
#include "DecodeError.h"
#include "picture/PixelBudget.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace {

constexpr std::int32_t kEventBlock = TLayout::kEventCount * static_cast<std::int32_t>(TLayout::kEventBytes);
// Images of versions 0 and 1 kept these texts as old-style strings in buffers of this size.
constexpr std::int32_t kLegacyTextBytes = 260;

// Everything a decode replaces, read in full before any of it reaches the layout.
struct Decoded {
    std::int32_t version = 0;
    std::u16string controlName;
    std::int32_t sleepTimeout = 0;
    std::int32_t pinOnWakeup = 0;
    std::u16string timeoutPin;
    std::u16string securityPin;
    std::int32_t audibleFeedback = 0;
    std::uint8_t manualBrightness = 0;
    std::uint8_t autoBrightness = 0;
    std::int32_t defaultPageId = -1;
    std::vector<std::unique_ptr<TListItem>> pages;
    std::vector<std::unique_ptr<TImageEntry>> userImages; // in list order
    std::array<std::uint8_t, TLayout::kEventCount * TLayout::kEventBytes> eventDescriptions{};
    std::array<std::uint8_t, TLayout::kEventCount * TLayout::kEventBytes> eventTexts{};
    std::int32_t defaultPageTimeout = 0;
    std::unique_ptr<TUserPage> sleepPage;
};

void readEventBlock(CDataStore& ar, std::array<std::uint8_t, kEventBlock>& target, const char* what) {
    const std::int32_t n = ar.ReadInt();
    if (n < 0 || n > kEventBlock)
        throw DecodeError(std::string("the ") + what + " claim " + std::to_string(n) + " bytes, more than " +
                          std::to_string(kEventBlock));
    ar.ReadBytes(target.data(), n);
}

Decoded decode(TLayout* owner, CDataStore& ar) {
    Decoded d;
    d.version = ar.ReadInt();
    if (d.version < 0)
        throw DecodeError("unknown layout version " + std::to_string(d.version));
    const bool legacy = d.version <= 1;
    if (legacy)
        ar.ReadAnsiString(d.controlName, kLegacyTextBytes);
    else
        ar.ReadString(d.controlName);
    ar.ReadInt(d.sleepTimeout);
    ar.ReadInt(d.pinOnWakeup);
    if (legacy)
        ar.ReadAnsiString(d.timeoutPin, kLegacyTextBytes);
    else
        ar.ReadString(d.timeoutPin);
    if (d.version >= 7)
        ar.ReadString(d.securityPin);
    ar.ReadInt(d.audibleFeedback);
    ar.ReadByte(d.manualBrightness);
    ar.ReadByte(d.autoBrightness);
    if (d.version >= 5)
        ar.ReadInt(d.defaultPageId);

    while (ar.ReadInt() != 0) {
        auto page = TListItem::Create(owner, ar.ReadInt());
        page->Serialize(ar);
        d.pages.push_back(std::move(page));
    }
    if (d.version >= 3) {
        // Glyphs are rendered anew before every encoding; the stored ones are only passed over.
        while (ar.ReadInt() == 1) {
            TGlyph glyph;
            glyph.Serialize(ar);
        }
    }
    if (d.version >= 4) {
        // One budget for all the layout's pictures: past it, entries keep their PNG undecoded.
        PixelBudget budget = TImageEntry::LayoutBudget();
        while (ar.ReadInt() == 1) {
            auto entry = std::make_unique<TImageEntry>();
            entry->Serialize(ar, &budget);
            d.userImages.insert(d.userImages.begin(), std::move(entry));
        }
    }
    if (d.version >= 6) {
        readEventBlock(ar, d.eventDescriptions, "event descriptions");
        readEventBlock(ar, d.eventTexts, "event texts");
    }
    if (d.version >= 8) {
        ar.ReadInt(d.defaultPageTimeout);
        if (ar.ReadInt() != 0) {
            d.sleepPage = std::make_unique<TUserPage>(owner, u"");
            d.sleepPage->Serialize(ar);
        }
    }
    return d;
}

} // namespace

std::optional<std::vector<std::uint8_t>> TLayout::Encode(std::int32_t capacity, std::string* error) {
    PurgeUnusedImages();
    RebuildGlyphs();

    CDataStore ar;
    ar.Reserve(4096);
    ar.WriteInt(kImageVersion);
    ar.WriteString(controlName);
    ar.WriteInt(sleepTimeout);
    ar.WriteInt(pinOnWakeup);
    ar.WriteString(timeoutPin);
    ar.WriteString(securityPin);
    ar.WriteInt(audibleFeedback);
    ar.WriteByte(manualBrightness);
    ar.WriteByte(autoBrightness);
    ar.WriteInt(defaultPageId);
    for (const auto& page : pages) {
        ar.WriteInt(1);
        ar.WriteInt(page->kind);
        page->Serialize(ar);
    }
    ar.WriteInt(0);
    for (const auto& glyph : glyphs) {
        ar.WriteInt(1);
        glyph->Serialize(ar);
    }
    ar.WriteInt(0);
    for (const auto& entry : images) {
        if (!entry->IsUserImage())
            continue;
        ar.WriteInt(1);
        entry->Serialize(ar);
    }
    ar.WriteInt(0);
    ar.WriteInt(kEventBlock);
    ar.WriteBytes(eventDescriptions.data(), kEventBlock);
    ar.WriteInt(kEventBlock);
    ar.WriteBytes(eventTexts.data(), kEventBlock);
    ar.WriteInt(defaultPageTimeout);
    if (sleepPage) {
        ar.WriteInt(1);
        sleepPage->Serialize(ar);
    } else {
        ar.WriteInt(0);
    }

    if (ar.Position() > capacity) {
        if (error != nullptr)
            *error = "The layout needs " + std::to_string(ar.Position()) + " bytes, more than the " +
                     std::to_string(capacity) + " bytes it may take. Remove images or pages and try again.";
        return std::nullopt;
    }
    const auto result = ar.Result();
    return std::vector<std::uint8_t>(result.begin(), result.end());
}

bool TLayout::Decode(std::span<const std::uint8_t> image, std::string* error) {
    Decoded d;
    try {
        CDataStore ar(image);
        d = decode(this, ar);
    } catch (const DecodeError& e) {
        if (error != nullptr)
            *error = std::string("the layout data is damaged: ") + e.what();
        return false;
    }

    controlName = std::move(d.controlName);
    sleepTimeout = d.sleepTimeout;
    pinOnWakeup = d.pinOnWakeup;
    timeoutPin = std::move(d.timeoutPin);
    securityPin = std::move(d.securityPin);
    audibleFeedback = d.audibleFeedback;
    manualBrightness = d.manualBrightness;
    autoBrightness = d.autoBrightness;
    defaultPageId = d.defaultPageId;

    pages = std::move(d.pages);
    images.clear();
    LoadBuiltinImages();
    images.insert(images.begin(), std::make_move_iterator(d.userImages.begin()),
                  std::make_move_iterator(d.userImages.end()));
    eventDescriptions = d.eventDescriptions;
    eventTexts = d.eventTexts;
    if (d.version >= 8) {
        sleepPage = std::move(d.sleepPage);
        defaultPageTimeout = d.defaultPageTimeout;
    }
    // Pages from images that stored no IDs are numbered in list order.
    for (const auto& page : pages) {
        if (page->pageId < 0)
            page->pageId = NextPageId();
    }
    return true;
}

bool TLayout::Serialize(std::uint8_t* buffer, std::int32_t* length, bool storing, std::string* error) {
    if (buffer == nullptr || length == nullptr || *length < 0) {
        if (error != nullptr)
            *error = "no buffer for the layout data";
        return false;
    }
    if (!storing)
        return Decode({buffer, static_cast<std::size_t>(*length)}, error);
    auto encoded = Encode(*length, error);
    if (!encoded)
        return false;
    std::memcpy(buffer, encoded->data(), encoded->size());
    *length = static_cast<std::int32_t>(encoded->size());
    return true;
}
