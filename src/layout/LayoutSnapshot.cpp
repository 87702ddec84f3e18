#include "LayoutSnapshot.h"

#include "CDataStore.h"
#include "TLayout.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

constexpr std::int32_t kUserEntry = 1;
constexpr std::int32_t kBuiltinEntry = 2;

std::vector<std::uint8_t> bytesOf(const CDataStore& ar) {
    const auto result = ar.Result();
    return {result.begin(), result.end()};
}

void writePage(CDataStore& ar, const TListItem& page) {
    ar.WriteInt(page.kind);
    const_cast<TListItem&>(page).Serialize(ar); // storing does not change the page
}

std::unique_ptr<TListItem> readPage(TLayout& layout, CDataStore& ar) {
    auto page = TListItem::Create(&layout, ar.ReadInt());
    page->Serialize(ar);
    return page;
}

// A page's image as its snapshot keeps it, with its place in the image list then.
struct PlacedImage {
    std::size_t place = 0;
    std::unique_ptr<TImageEntry> entry;
};

// Brings a snapshot's image back to its place unless the layout still holds it; the ID the page
// names it by.
std::int32_t mergeImage(TLayout& layout, PlacedImage image) {
    std::unique_ptr<TImageEntry>& entry = image.entry;
    const TImageEntry* same = layout.FindImage(entry->id);
    if (same != nullptr && same->guid == entry->guid)
        return entry->id;
    for (const auto& existing : layout.images) {
        if (existing->IsUserImage() && existing->guid == entry->guid)
            return existing->id;
    }
    if (same != nullptr) {
        const std::int32_t next = layout.NextImageId();
        // With no ID left the page goes on naming the old one; nothing else can be done.
        if (next < 0)
            return entry->id;
        entry->id = next;
    }
    const std::int32_t id = entry->id;
    const auto at = layout.images.begin() + static_cast<std::ptrdiff_t>(std::min(image.place, layout.images.size()));
    layout.images.insert(at, std::move(entry));
    return id;
}

} // namespace

std::vector<std::uint8_t> SnapshotPage(TLayout& layout, const TListItem& page) {
    CDataStore ar;
    writePage(ar, page);
    std::set<std::int32_t> written;
    page.ForEachImageId([&](std::int32_t id) {
        const auto& images = layout.images;
        const auto at = std::find_if(images.begin(), images.end(), [&](const auto& e) { return e->id == id; });
        if (at == images.end() || !(*at)->IsUserImage() || !written.insert(id).second)
            return;
        ar.WriteInt(kUserEntry);
        ar.WriteInt(static_cast<std::int32_t>(at - images.begin()));
        (*at)->Serialize(ar);
    });
    ar.WriteInt(0);
    return bytesOf(ar);
}

std::unique_ptr<TListItem> RestorePage(TLayout& layout, std::span<const std::uint8_t> snapshot) {
    CDataStore ar(snapshot);
    std::unique_ptr<TListItem> page = readPage(layout, ar);
    std::vector<PlacedImage> images;
    while (ar.ReadInt() == kUserEntry) {
        const auto place = static_cast<std::size_t>(std::max(ar.ReadInt(), 0));
        images.push_back({place, std::make_unique<TImageEntry>()});
        images.back().entry->Serialize(ar);
    }
    // Front to back, so each lands where it was when the others are back too.
    std::stable_sort(images.begin(), images.end(), [](const auto& a, const auto& b) { return a.place < b.place; });
    // Marks keep a place renumbered once from being renumbered again by a later image.
    page->ForEachImageReference([](TImageReference reference) { reference.ClearMark(); });
    for (auto& image : images) {
        const std::int32_t oldId = image.entry->id;
        const std::int32_t newId = mergeImage(layout, std::move(image));
        if (newId == oldId)
            continue;
        page->ForEachImageReference([&](TImageReference reference) {
            if (!reference.IsMarked() && reference.Id() == oldId)
                reference.Renumber(newId);
        });
    }
    return page;
}

TListItem& RestorePageAt(TLayout& layout, std::span<const std::uint8_t> snapshot, std::size_t index) {
    std::unique_ptr<TListItem> page = RestorePage(layout, snapshot);
    const auto at = layout.pages.begin() + static_cast<std::ptrdiff_t>(std::min(index, layout.pages.size()));
    return **layout.pages.insert(at, std::move(page));
}

std::vector<std::uint8_t> SnapshotLayout(TLayout& layout) {
    CDataStore ar;
    ar.WriteString(layout.controlName);
    ar.WriteString(layout.timeoutPin);
    ar.WriteString(layout.securityPin);
    for (const std::int32_t value : {layout.audibleFeedback, layout.sleepTimeout, layout.defaultPageTimeout,
                                     layout.pinOnWakeup, layout.defaultPageId})
        ar.WriteInt(value);
    ar.WriteByte(layout.autoBrightness);
    ar.WriteByte(layout.manualBrightness);
    for (const auto& page : layout.pages) {
        ar.WriteInt(1);
        writePage(ar, *page);
    }
    ar.WriteInt(0);
    ar.WriteInt(layout.sleepPage ? 1 : 0);
    if (layout.sleepPage)
        layout.sleepPage->Serialize(ar);
    ar.WriteBytes(layout.eventDescriptions.data(), static_cast<std::int32_t>(layout.eventDescriptions.size()));
    ar.WriteBytes(layout.eventTexts.data(), static_cast<std::int32_t>(layout.eventTexts.size()));
    // Built-in entries come from the program's library, so their IDs are enough.
    for (const auto& entry : layout.images) {
        ar.WriteInt(entry->IsUserImage() ? kUserEntry : kBuiltinEntry);
        if (entry->IsUserImage())
            entry->Serialize(ar);
        else
            ar.WriteInt(entry->id);
    }
    ar.WriteInt(0);
    return bytesOf(ar);
}

void RestoreLayout(TLayout& layout, std::span<const std::uint8_t> snapshot) {
    // Everything is read before anything changes.
    CDataStore ar(snapshot);
    std::u16string controlName, timeoutPin, securityPin;
    ar.ReadString(controlName);
    ar.ReadString(timeoutPin);
    ar.ReadString(securityPin);
    std::int32_t audibleFeedback = ar.ReadInt(), sleepTimeout = ar.ReadInt(), defaultPageTimeout = ar.ReadInt(),
                 pinOnWakeup = ar.ReadInt(), defaultPageId = ar.ReadInt();
    const std::uint8_t autoBrightness = ar.ReadByte(), manualBrightness = ar.ReadByte();
    std::vector<std::unique_ptr<TListItem>> pages;
    while (ar.ReadInt() == 1)
        pages.push_back(readPage(layout, ar));
    std::unique_ptr<TUserPage> sleepPage;
    if (ar.ReadInt() == 1) {
        sleepPage = std::make_unique<TUserPage>(&layout, u"");
        sleepPage->Serialize(ar);
    }
    decltype(layout.eventDescriptions) eventDescriptions{};
    decltype(layout.eventTexts) eventTexts{};
    ar.ReadBytes(eventDescriptions.data(), static_cast<std::int32_t>(eventDescriptions.size()));
    ar.ReadBytes(eventTexts.data(), static_cast<std::int32_t>(eventTexts.size()));
    // A built-in entry is read as an empty entry with its ID, filled from the library below.
    std::vector<std::unique_ptr<TImageEntry>> images;
    for (std::int32_t marker = ar.ReadInt(); marker != 0; marker = ar.ReadInt()) {
        images.push_back(std::make_unique<TImageEntry>());
        if (marker == kUserEntry)
            images.back()->Serialize(ar);
        else
            images.back()->id = ar.ReadInt();
    }

    layout.images.clear();
    layout.LoadBuiltinImages();
    std::map<std::int32_t, std::unique_ptr<TImageEntry>> builtins;
    for (auto& entry : layout.images)
        builtins.emplace(entry->id, std::move(entry));
    layout.images.clear();
    for (auto& entry : images) {
        if (entry->IsUserImage())
            layout.images.push_back(std::move(entry));
        else if (auto found = builtins.find(entry->id); found != builtins.end() && found->second)
            layout.images.push_back(std::move(found->second));
    }
    layout.controlName = std::move(controlName);
    layout.timeoutPin = std::move(timeoutPin);
    layout.securityPin = std::move(securityPin);
    layout.audibleFeedback = audibleFeedback;
    layout.sleepTimeout = sleepTimeout;
    layout.defaultPageTimeout = defaultPageTimeout;
    layout.pinOnWakeup = pinOnWakeup;
    layout.defaultPageId = defaultPageId;
    layout.autoBrightness = autoBrightness;
    layout.manualBrightness = manualBrightness;
    layout.pages = std::move(pages);
    layout.sleepPage = std::move(sleepPage);
    layout.eventDescriptions = eventDescriptions;
    layout.eventTexts = eventTexts;
}
