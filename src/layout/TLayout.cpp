#include "TLayout.h"

#include "TGlyphRasterizer.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace {

constexpr char16_t kLastPlainCode = 126;
// An image with this ID leaves none to count on to.
constexpr std::int32_t kNoImageIdLeft = std::numeric_limits<std::int32_t>::max();

// Glyph sizes: em size in pixels and the cell height that names the size.
constexpr struct {
    int emSize;
    int cellHeight;
} kGlyphSizes[] = {{12, 22}, {16, 28}, {20, 35}};

// Description of a built-in image: "ZZZ: " and its name. IDs without an image of theirs get none.
std::u16string builtinDescription(std::int32_t id) {
    static const char16_t* const kNames[] = {
        u"bogus",
        u"Main Background",
        u"Slider Composite",
        u"Blue Square",
        u"Blue Glow",
        u"Deep Round",
        u"Green Glow",
        u"Green Square",
        u"Deep Square",
        u"Grey Square",
        u"Return Icon",
        u"Cancel Icon",
        u"Front Page Background",
        u"TQV-4 Page Background",
        u"TQV-8 Page Background",
        u"Select Page Background",
        u"Deep Round Highlight",
    };
    if ((id >= 0 && id < 12) || id == 16)
        return std::u16string(u"ZZZ: ") + kNames[id];
    return {};
}

std::shared_ptr<const TImageLibrary> sharedBuiltinLibrary() {
    static std::shared_ptr<const TImageLibrary> library;
    static std::once_flag once;
    std::call_once(once, [] {
        auto made = std::make_shared<TImageLibrary>();
        made->Read(BuiltinLibraryBlock());
        library = std::move(made);
    });
    return library;
}

} // namespace

TLayout::TLayout() {
    LoadBuiltinImages();
}

TLayout::~TLayout() = default;

std::int32_t TLayout::NextPageId() const {
    std::int32_t next = kFirstPageId;
    for (const auto& page : pages) {
        if (page->pageId >= kFirstPageId && page->pageId < kPageIdLimit)
            next = std::max(next, page->pageId + 1);
    }
    return next;
}

TListItem* TLayout::FindPage(std::int32_t id) const {
    for (const auto& page : pages) {
        if (page->pageId == id)
            return page.get();
    }
    return nullptr;
}

std::vector<std::unique_ptr<TListItem>>::iterator TLayout::find(const TListItem* page) {
    return std::find_if(pages.begin(), pages.end(), [&](const auto& p) { return p.get() == page; });
}

int TLayout::IndexOf(const TListItem* page) const {
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].get() == page)
            return static_cast<int>(i);
    }
    return -1;
}

TListItem* TLayout::Next(const TListItem* page) const {
    const int i = IndexOf(page);
    return i >= 0 && static_cast<std::size_t>(i) + 1 < pages.size() ? pages[static_cast<std::size_t>(i) + 1].get()
                                                                    : nullptr;
}

TListItem* TLayout::Prev(const TListItem* page) const {
    const int i = IndexOf(page);
    return i > 0 ? pages[static_cast<std::size_t>(i) - 1].get() : nullptr;
}

TListItem* TLayout::InsertPageAfter(std::unique_ptr<TListItem> page, const TListItem* after) {
    if (!page)
        return nullptr;
    TListItem* raw = page.get();
    auto it = after != nullptr ? find(after) : pages.end();
    if (it != pages.end())
        pages.insert(it + 1, std::move(page));
    else
        pages.push_back(std::move(page));
    return raw;
}

void TLayout::RemovePage(const TListItem* page) {
    auto it = find(page);
    if (it != pages.end())
        pages.erase(it);
}

void TLayout::MovePageUp(const TListItem* page) {
    auto it = find(page);
    if (it != pages.end() && it != pages.begin())
        std::iter_swap(it, it - 1);
}

void TLayout::MovePageDown(const TListItem* page) {
    auto it = find(page);
    if (it != pages.end() && it + 1 != pages.end())
        std::iter_swap(it, it + 1);
}

void TLayout::ToggleDefaultPage(const TListItem* page) {
    if (page == nullptr)
        return;
    defaultPageId = defaultPageId == page->pageId ? -1 : page->pageId;
}

bool TLayout::SetPageId(TListItem* page, std::int32_t id) {
    if (page == nullptr || IsPageIdTaken(id, page))
        return false;
    page->pageId = id;
    return true;
}

bool TLayout::IsPageIdTaken(std::int32_t id, const TListItem* page) const {
    return std::any_of(pages.begin(), pages.end(),
                       [&](const auto& other) { return other.get() != page && other->pageId == id; });
}

bool TLayout::RenumberIfIdTaken(TListItem& page) {
    if (!IsPageIdTaken(page.pageId, &page))
        return false;
    // NextPageId() passes over IDs from kPageIdLimit up, which pages may hold all the same.
    std::int32_t id = NextPageId();
    while (IsPageIdTaken(id, &page) && id < std::numeric_limits<std::int32_t>::max())
        ++id;
    page.pageId = id;
    return true;
}

void TLayout::ClearAll() {
    pages.clear();
    // The sleep page stays, and so do the user images it shows, in front of the built-in ones as a
    // decode puts them.
    PurgeUnusedImages();
    std::vector<std::unique_ptr<TImageEntry>> kept;
    for (auto& entry : images) {
        if (entry->IsUserImage())
            kept.push_back(std::move(entry));
    }
    images.clear();
    LoadBuiltinImages();
    images.insert(images.begin(), std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()));
}

void TLayout::LoadBuiltinImages() {
    if (!builtinLibrary)
        builtinLibrary = sharedBuiltinLibrary();
    for (const auto& libraryImage : builtinLibrary->images) {
        auto entry = std::make_unique<TImageEntry>();
        entry->id = libraryImage->id;
        entry->description = builtinDescription(libraryImage->id);
        entry->BorrowImage(libraryImage->image.get());
        images.insert(images.begin(), std::move(entry));
    }
}

TImageEntry* TLayout::FindImage(std::int32_t id) const {
    for (const auto& entry : images) {
        if (entry->id == id)
            return entry.get();
    }
    return nullptr;
}

std::int32_t TLayout::NextImageId() const {
    std::int32_t next = TImageEntry::kFirstUserId;
    for (const auto& entry : images) {
        if (entry->id == kNoImageIdLeft)
            return -1;
        if (entry->id >= next)
            next = entry->id + 1;
    }
    return next;
}

bool TLayout::HasFreeImageId(std::string* error) const {
    if (NextImageId() >= TImageEntry::kFirstUserId)
        return true;
    if (error != nullptr)
        *error = "No image ID is left for a new image: this layout already has an image with ID " +
                 std::to_string(kNoImageIdLeft) + ", the highest an ID can be. Nothing was added.";
    return false;
}

TImageEntry& TLayout::AddUserImage(std::u16string description, std::unique_ptr<Picture> picture) {
    std::string error;
    if (!HasFreeImageId(&error))
        throw std::overflow_error(error);
    auto entry = std::make_unique<TImageEntry>();
    entry->id = NextImageId();
    entry->description = std::move(description);
    entry->guid = NewGuid();
    if (picture)
        entry->SetImage(std::move(picture));
    images.insert(images.begin(), std::move(entry));
    return *images.front();
}

void TLayout::PurgeUnusedImages() {
    for (auto& entry : images)
        entry->used = false;
    // Only the first entry with an ID is marked, as only that one is ever found.
    const ImageIdVisit markUsed = [this](std::int32_t id) {
        if (TImageEntry* entry = FindImage(id))
            entry->used = true;
    };
    for (const auto& page : pages)
        page->ForEachImageId(markUsed);
    if (sleepPage)
        sleepPage->ForEachImageId(markUsed);
    std::erase_if(images, [](const auto& entry) { return entry->IsUserImage() && !entry->used; });
}

void TLayout::withRasterizers(const std::function<void()>& work) {
    // The rasterizers hold fonts and scratch space; they live only for this piece of work.
    struct Release {
        std::vector<std::unique_ptr<TGlyphRasterizer>>& list;
        ~Release() { list.clear(); }
    } release{rasterizers};
    for (const auto& size : kGlyphSizes)
        rasterizers.push_back(std::make_unique<TGlyphRasterizer>(size.emSize, size.cellHeight));
    work();
}

void TLayout::RebuildGlyphs() {
    glyphs.clear();
    withRasterizers([this] {
        AddGlyphsFor(controlName);
        for (const auto& page : pages)
            page->CollectGlyphs();
    });
}

void TLayout::AddGlyphsFor(const std::u16string& text) {
    if (rasterizers.empty()) {
        withRasterizers([&] { AddGlyphsFor(text); });
        return;
    }
    for (char16_t c : text) {
        if (c <= kLastPlainCode)
            continue;
        const bool known = std::any_of(glyphs.begin(), glyphs.end(), [c](const auto& g) { return g->code == c; });
        if (known)
            continue;
        for (const auto& rasterizer : rasterizers)
            glyphs.insert(glyphs.begin(), rasterizer->Render(c));
    }
}
