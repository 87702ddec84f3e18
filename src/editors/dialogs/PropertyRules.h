#pragma once

#include "render/Rect.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class TLayout;
class TListItem;
class TUserFace;

// The object property dialogs' rules, apart from their widgets.

// One entry of a choice list: its text and the number the dialog stores when it is chosen.
struct ListEntry {
    QString text;
    std::int32_t number = 0;
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// A list as it opens: its entries in the order shown and the selected row (-1 for none).
struct EntryList {
    std::vector<ListEntry> entries;
    int selected = -1;
};

// Where a sorted list puts a new entry: after every entry whose text does not sort after it,
// comparing without regard to case, so entries with equal texts keep the order they came in.
[[nodiscard]] int SortedInsertRow(const QStringList& shownTexts, const QString& text);

// Builds a list entry by entry, sorted or in the order of adding. Selecting marks the entry just
// added; a later selection replaces an earlier one.
class EntryListBuilder {
public:
    explicit EntryListBuilder(bool sorted) : sorted(sorted) {}
    void Add(ListEntry entry, bool select = false);
    [[nodiscard]] EntryList Take();

private:
    bool sorted;
    EntryList list;
};

// "Entry Page:": "Default Data Entry" (-1), then the layout's data-entry pages; sorted, with the
// page whose ID is `entryPageId` selected, else "Default Data Entry".
[[nodiscard]] EntryList EntryPageList(const TLayout* layout, std::int32_t entryPageId);
// "Selector ID:": "1" to "20", the entry equal to `selectorId` selected.
[[nodiscard]] EntryList SelectorList(std::int32_t selectorId);
// "Page to Switch To:": "Return to Previous" (2) and every page of any kind but the hot spot's own;
// sorted. Nothing is offered without a layout, and nothing is selected for a target that is gone.
[[nodiscard]] EntryList HotspotPageList(const TLayout* layout, std::int32_t ownPageId, std::int32_t targetPageId);
// "Slider Image:": every image entry with its description, numbered by ID; sorted.
[[nodiscard]] EntryList SliderImageList(const TLayout* layout, std::int32_t sliderImageId);
// "Control ID:": the mixer channels in their fixed order.
[[nodiscard]] EntryList ControlIdList(std::int32_t controlId);

inline constexpr std::int32_t kDefaultDataEntry = -1;
inline constexpr std::int32_t kReturnToPrevious = 2;
inline constexpr std::int32_t kSelectorCount = 20;

struct ObjectSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ObjectSize&, const ObjectSize&) = default;
};

// A button's size on OK: an up face showing an image takes that picture's size, and a down face
// showing an image enlarges each side to the picture's. A face whose image is missing, or has no
// pixels, leaves the size as it is.
[[nodiscard]] ObjectSize ButtonSizeFromFaces(const TUserFace& upFace, const TUserFace& downFace, const TLayout* layout,
                                             ObjectSize size);

// Where the button dialog previews a face inside its preview frame: the frame less 3 pixels at the
// sides and 10 at top and bottom; a button face is framed much smaller, in the middle.
[[nodiscard]] Rect ButtonPreviewRect(const Rect& frame, const TUserFace& shown);
// Where the slider dialog draws a slider of the size: centred in the frame less 1 pixel all round.
[[nodiscard]] Rect SliderPreviewRect(const Rect& frame, int width, int height);

// True when the first page in the layout's list with the ID is another page than `page`.
[[nodiscard]] bool PageIdTakenByOther(const TLayout& layout, const TListItem& page, std::int32_t id);
// True when any page in the layout's list other than `page` has the ID.
[[nodiscard]] bool PageIdUsedByAnother(const TLayout& layout, const TListItem& page, std::int32_t id);
