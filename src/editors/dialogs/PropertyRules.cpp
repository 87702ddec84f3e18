#include "editors/dialogs/PropertyRules.h"

#include "layout/TLayout.h"
#include "layout/TListItem.h"
#include "layout/TUserFace.h"
#include "render/FaceDrawing.h"

#include <algorithm>
#include <array>
#include <span>

int SortedInsertRow(const QStringList& shownTexts, const QString& text) {
    const auto after =
        std::upper_bound(shownTexts.begin(), shownTexts.end(), text, [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
    return static_cast<int>(after - shownTexts.begin());
}

void EntryListBuilder::Add(ListEntry entry, bool select) {
    int row = static_cast<int>(list.entries.size());
    if (sorted) {
        QStringList texts;
        for (const ListEntry& shown : list.entries)
            texts.push_back(shown.text);
        row = SortedInsertRow(texts, entry.text);
    }
    list.entries.insert(list.entries.begin() + row, std::move(entry));
    if (select)
        list.selected = row;
    else if (list.selected >= row)
        ++list.selected;
}

EntryList EntryListBuilder::Take() {
    return std::move(list);
}

EntryList EntryPageList(const TLayout* layout, std::int32_t entryPageId) {
    EntryListBuilder builder(true);
    builder.Add({"Default Data Entry", kDefaultDataEntry}, true);
    if (layout != nullptr)
        for (const auto& page : layout->pages)
            if (page->kind == TListItem::kNumeric)
                builder.Add({QString::fromStdU16String(page->name), page->pageId}, page->pageId == entryPageId);
    return builder.Take();
}

EntryList SelectorList(std::int32_t selectorId) {
    EntryListBuilder builder(false);
    for (std::int32_t id = 1; id <= kSelectorCount; ++id)
        builder.Add({QString::number(id), id}, id == selectorId);
    return builder.Take();
}

EntryList HotspotPageList(const TLayout* layout, std::int32_t ownPageId, std::int32_t targetPageId) {
    EntryListBuilder builder(true);
    if (layout == nullptr)
        return builder.Take();
    builder.Add({"Return to Previous", kReturnToPrevious}, targetPageId == kReturnToPrevious);
    for (const auto& page : layout->pages)
        if (page->pageId != ownPageId)
            builder.Add({QString::fromStdU16String(page->name), page->pageId},
                        page->pageId > 0 && page->pageId == targetPageId);
    return builder.Take();
}

EntryList SliderImageList(const TLayout* layout, std::int32_t sliderImageId) {
    EntryListBuilder builder(true);
    if (layout != nullptr)
        for (const auto& image : layout->images)
            builder.Add({QString::fromStdU16String(image->description), image->id}, image->id == sliderImageId);
    return builder.Take();
}

namespace {

std::span<const ListEntry> controlIdEntries() {
    // The channel names are the mixers' own, misspellings included, so they match their manuals.
    static const std::array<ListEntry, 24> entries = {{
        {"Model A: Input 1", 0},          {"Model A: Input 2", 1},          {"Model A: Input 3", 2},
        {"Model A: Input 4", 3},          {"Model A: Input 5", 4},          {"Model A: Link In", 5},
        {"Model A: Speaker A", 6},        {"Model A: Speaker B", 7},        {"Model A: Remote Ctnrl 1", 8},
        {"Model A: Remote Cntrl 2", 9},   {"Model A: Line Out", 10},        {"Model A: N/A", 11},
        {"Model B: Remote Port 1", 100},  {"Model B: Remote Port 2", 101},  {"Model B: Remote Port 3", 102},
        {"Model B: Expansion In", 103},   {"Model B: Input 5", 104},        {"Model B: Input 6", 105},
        {"Model B: Link In", 106},        {"Model B: Speaker A", 107},      {"Model B: Remote Ctnrl 1", 108},
        {"Model B: Remote Cntrl 2", 109}, {"Model B: Remote Cntrl 3", 110}, {"Model B: Line Out", 111},
    }};
    return entries;
}

} // namespace

EntryList ControlIdList(std::int32_t controlId) {
    EntryListBuilder builder(false);
    for (const ListEntry& entry : controlIdEntries())
        builder.Add(entry, entry.number == controlId);
    return builder.Take();
}

ObjectSize ButtonSizeFromFaces(const TUserFace& upFace, const TUserFace& downFace, const TLayout* layout,
                               ObjectSize size) {
    if (layout == nullptr)
        return size;
    const auto pictureOf = [&](const TUserFace& face) -> const Picture* {
        return face.kind == TUserFace::kImage ? FindPicture(*layout, face.value) : nullptr;
    };
    if (const Picture* up = pictureOf(upFace))
        size = {up->Width(), up->Height()};
    if (const Picture* down = pictureOf(downFace))
        size = {std::max(size.width, down->Width()), std::max(size.height, down->Height())};
    return size;
}

Rect ButtonPreviewRect(const Rect& frame, const TUserFace& shown) {
    Rect rect{frame.left + 3, frame.top + 10, frame.right - 3, frame.bottom - 10};
    // A frame face is shown at about a button's size rather than stretched over the whole preview.
    if (shown.kind == TUserFace::kButtonFace)
        rect = {rect.left + 85, rect.top + 95, rect.right - 85, rect.bottom - 110};
    return rect;
}

Rect SliderPreviewRect(const Rect& frame, int width, int height) {
    const Rect inner{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    const long long left = inner.left + (static_cast<long long>(inner.right) - width - inner.left) / 2;
    const long long top = inner.top + (static_cast<long long>(inner.bottom) - height - inner.top) / 2;
    return Rect::FromSize(left, top, width, height);
}

bool PageIdTakenByOther(const TLayout& layout, const TListItem& page, std::int32_t id) {
    for (const auto& candidate : layout.pages)
        if (candidate->pageId == id)
            return candidate.get() != &page;
    return false;
}

bool PageIdUsedByAnother(const TLayout& layout, const TListItem& page, std::int32_t id) {
    return std::any_of(layout.pages.begin(), layout.pages.end(),
                       [&](const auto& candidate) { return candidate.get() != &page && candidate->pageId == id; });
}
