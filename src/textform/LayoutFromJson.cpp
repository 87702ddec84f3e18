#include "LayoutFromJson.h"

#include "JsonFields.h"
#include "SlotJson.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CDataStore.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TListItemVisitor.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserObjectVisitor.h"
#include "picture/PixelBudget.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

// The smallest records a file can hold bound how many of each fit in it: a listed page (its marker,
// kind, common part and a data-entry page with empty texts), an object (marker, kind and the common
// record) and an image entry without a picture.
constexpr std::size_t kSmallestPage = 56;
constexpr std::size_t kSmallestObject = 36;
constexpr std::size_t kSmallestImage = 40;

using Slots = std::vector<std::span<std::uint8_t>>;

std::vector<std::uint8_t> tailAt(const Json& value, const std::string& path) {
    auto bytes = BytesFromHex(StringAt(value, path));
    if (!bytes)
        throw TextFormError(path + ": expected pairs of hex digits");
    return std::move(*bytes);
}

void storeSlot(const std::u16string& text, const std::vector<std::uint8_t>& tail, std::span<std::uint8_t> slot,
               const std::string& path) {
    std::string why;
    if (!FillSlot(text, tail, slot, why))
        throw TextFormError(path + ": " + why);
}

void readSlot(JsonFields& fields, const std::string& key, std::span<std::uint8_t> slot) {
    const std::u16string text = fields.Text(key);
    const std::string tailKey = key + "Tail";
    const auto tail =
        fields.Has(tailKey) ? tailAt(fields.Member(tailKey), fields.PathOf(tailKey)) : std::vector<std::uint8_t>{};
    storeSlot(text, tail, slot, fields.PathOf(key));
}

void readSlots(JsonFields& fields, const std::string& key, const Slots& slots) {
    const Json& texts = fields.Array(key, slots.size(), slots.size());
    const std::string tailKey = key + "Tail";
    const Json* tails = fields.Has(tailKey) ? &fields.Array(tailKey, slots.size(), slots.size()) : nullptr;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const std::string path = ElementPath(fields.PathOf(key), i);
        const auto tail = tails != nullptr ? tailAt((*tails)[i], ElementPath(fields.PathOf(tailKey), i))
                                           : std::vector<std::uint8_t>{};
        storeSlot(TextAt(texts[i], path), tail, slots[i], path);
    }
}

template <typename Array> Slots slotsOf(Array& array) {
    return Slots(array.begin(), array.end());
}

Slots eventSlots(std::array<std::uint8_t, TLayout::kEventCount * TLayout::kEventBytes>& block) {
    Slots slots;
    for (int i = 0; i < TLayout::kEventCount; ++i)
        slots.emplace_back(block.data() + i * TLayout::kEventBytes, TLayout::kEventBytes);
    return slots;
}

void readFace(JsonFields fields, TUserFace& face) {
    face.kind = fields.Int("kind");
    face.value = fields.Int("value");
    face.color1 = fields.Int("color1");
    face.color2 = fields.Int("color2");
    face.textColor = fields.Int("textColor");
    face.text = fields.Text("text");
    face.textSize = fields.Int("textSize");
    fields.Finish();
}

// The fields each object kind adds to the common ones. A kind without a class of its own has none.
class ObjectReader : public TUserObjectVisitor {
public:
    explicit ObjectReader(JsonFields& fields) : f(fields) {}

    void Visit(TUserObject&) override {}
    void Visit(TUserButton& button) override {
        readFace(f.Object("upFace"), button.upFace);
        readFace(f.Object("downFace"), button.downFace);
        button.selectorId = f.Int("selectorId");
        button.toggle = f.Bool("toggle");
        readSlot(f, "downEvent", button.downEvent);
        readSlot(f, "upEvent", button.upEvent);
        button.entryPageId = f.Int("entryPageId");
        button.holdTime = f.Int("holdTime");
        button.reserved2 = f.Int("reserved2");
    }
    void Visit(TUserLevel& level) override {
        level.controlId = f.Int("controlId");
        level.sliderImageId = f.Int("sliderImageId");
    }
    void Visit(TUserImage& image) override { readFace(f.Object("face"), image.face); }
    void Visit(TUserHotspot& hotspot) override {
        hotspot.targetPageId = f.Int("targetPageId");
        hotspot.requirePin = f.Bool("requirePin");
        hotspot.pin = f.Text("pin");
    }

private:
    JsonFields& f;
};

std::unique_ptr<TUserObject> readObject(const Json& value, const std::string& path) {
    JsonFields fields(value, path);
    auto object = TUserObject::Create(fields.Int("kind"));
    object->left = fields.Int("left");
    object->top = fields.Int("top");
    object->width = fields.Int("width");
    object->height = fields.Int("height");
    ObjectReader reader(fields);
    object->Accept(reader);
    fields.Finish();
    return object;
}

// The fields each page kind adds to the common ones.
class PageReader : public TListItemVisitor {
public:
    PageReader(JsonFields& fields, std::size_t capacity) : f(fields), capacity(capacity) {}

    void Visit(TUserPage& page) override {
        readFace(f.Object("face"), page.face);
        const Json& objects = f.Array("objects", 0, capacity / kSmallestObject);
        for (std::size_t i = 0; i < objects.size(); ++i)
            page.objects.push_back(readObject(objects[i], ElementPath(f.PathOf("objects"), i)));
    }
    void Visit(CBtn8Ctrl& page) override {
        readSlots(f, "buttonLabels", slotsOf(page.buttonLabels));
        readSlots(f, "buttonEvents", slotsOf(page.buttonEvents));
    }
    void Visit(CNumericCtrl& page) override {
        page.backgroundColor = f.Int("backgroundColor");
        page.primaryColor = f.Int("primaryColor");
        page.highlightColor = f.Int("highlightColor");
        page.textColor = f.Int("textColor");
        const Json& lines = f.Array("textLines", CNumericCtrl::kTextLines, CNumericCtrl::kTextLines);
        for (std::size_t i = 0; i < page.textLines.size(); ++i)
            page.textLines[i] = TextAt(lines[i], ElementPath(f.PathOf("textLines"), i));
    }

private:
    JsonFields& f;
    std::size_t capacity;
};

void readPageFields(JsonFields& fields, TListItem& page, std::int32_t lowestId, std::size_t capacity) {
    page.pageId = fields.Int("pageId", lowestId);
    page.name = fields.Text("name");
    PageReader reader(fields, capacity);
    page.Accept(reader);
    fields.Finish();
}

struct PageKind {
    std::int32_t kind;
    std::unique_ptr<TListItem> (*make)(TLayout* owner);
};

template <typename Page> std::unique_ptr<TListItem> makePage(TLayout* owner) {
    return std::make_unique<Page>(owner, u"");
}

constexpr PageKind kPageKinds[] = {
    {TListItem::kUserPage, makePage<TUserPage>},
    {TListItem::kBtn8, makePage<CBtn8Ctrl>},
    {TListItem::kNumeric, makePage<CNumericCtrl>},
};

const char* const kPageKindsText = "8 user page, 9 eight-button page, 10 data-entry page";

// A page of the page list. Its ID may not be negative: a loaded layout numbers such pages anew.
std::unique_ptr<TListItem> readListedPage(const Json& value, const std::string& path, TLayout& owner,
                                          std::size_t capacity) {
    JsonFields fields(value, path);
    const std::int32_t kind = fields.Int("kind");
    const auto* found = std::find_if(std::begin(kPageKinds), std::end(kPageKinds),
                                     [kind](const PageKind& k) { return k.kind == kind; });
    if (found == std::end(kPageKinds))
        throw TextFormError(fields.PathOf("kind") + ": unknown page kind " + std::to_string(kind) + " (" +
                            kPageKindsText + ")");
    auto page = found->make(&owner);
    readPageFields(fields, *page, 0, capacity);
    return page;
}

// The sleep page or a page file's page: always a user page.
void readUserPage(const Json& value, const std::string& path, TUserPage& page, std::size_t capacity) {
    JsonFields fields(value, path);
    const std::int32_t kind = fields.Int("kind");
    if (kind != TListItem::kUserPage)
        throw TextFormError(fields.PathOf("kind") + ": " + std::to_string(kind) + " is not the user page kind " +
                            std::to_string(TListItem::kUserPage) + ", the only kind allowed here");
    readPageFields(fields, page, std::numeric_limits<std::int32_t>::min(), capacity);
}

struct ImageRecord {
    std::string path;
    std::int32_t id = 0;
    std::u16string description;
    Guid guid{};
    std::int32_t width = 0;
    std::int32_t height = 0;
};

ImageRecord readImageRecord(const Json& value, const std::string& path) {
    JsonFields fields(value, path);
    ImageRecord record;
    record.path = path;
    record.id = fields.Int("id", TImageEntry::kFirstUserId);
    record.description = fields.Text("description");
    const std::string& hex = fields.String("guid");
    const auto guid = BytesFromHex(hex);
    if (!guid || guid->size() != record.guid.size())
        throw TextFormError(fields.PathOf("guid") + ": \"" + hex + "\" is not 32 hex digits");
    std::copy(guid->begin(), guid->end(), record.guid.begin());
    record.width = fields.Int("width", 0);
    record.height = fields.Int("height", 0);
    fields.Finish();
    return record;
}

std::vector<ImageRecord> readImageRecords(JsonFields& fields, std::size_t capacity) {
    const Json& list = fields.Array("images", 0, capacity / kSmallestImage);
    std::vector<ImageRecord> records;
    std::map<std::int32_t, std::string> ids;
    std::map<Guid, std::string> guids;
    for (std::size_t i = 0; i < list.size(); ++i) {
        ImageRecord record = readImageRecord(list[i], ElementPath(fields.PathOf("images"), i));
        if (const auto [at, fresh] = ids.emplace(record.id, record.path); !fresh)
            throw TextFormError(record.path + ".id: " + std::to_string(record.id) + " is also the ID of " + at->second);
        if (const auto [at, fresh] = guids.emplace(record.guid, record.path); !fresh)
            throw TextFormError(record.path + ".guid: " + GuidToHex(record.guid) + " is also the GUID of " +
                                at->second);
        records.push_back(std::move(record));
    }
    return records;
}

// An image no page names would be dropped by the next save, so the text form may not hold one.
void requireUsed(const std::vector<ImageRecord>& records, const std::set<std::int32_t>& used) {
    for (const ImageRecord& record : records) {
        if (used.count(record.id) == 0)
            throw TextFormError(record.path + ": image " + std::to_string(record.id) +
                                " is used by no page; remove it or refer to it");
    }
}

// The entry goes through the image record reader, so a PNG that reader would carry undecoded
// (damaged, or past the file's pixel budget) is carried the same way here.
std::unique_ptr<TImageEntry> makeEntry(const ImageRecord& record, const PngSource& pngs, PixelBudget& budget) {
    std::vector<std::uint8_t> png;
    std::string why;
    if (!pngs(record.id, png, why))
        throw TextFormError(record.path + ": " + why);
    if (png.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2))
        throw TextFormError(record.path + ": the picture is too large");
    CDataStore stored;
    stored.WriteInt(TImageEntry::kVersion);
    stored.WriteInt(record.id);
    stored.WriteString(record.description);
    stored.WriteInt(1);
    stored.WriteInt(static_cast<std::int32_t>(png.size()));
    stored.WriteBytes(png.data(), static_cast<std::int32_t>(png.size()));
    stored.WriteBytes(record.guid.data(), static_cast<std::int32_t>(record.guid.size()));
    auto entry = std::make_unique<TImageEntry>();
    CDataStore loading(stored.Result());
    entry->Serialize(loading, &budget);
    const Picture* picture = entry->Image();
    const int width = picture != nullptr ? picture->Width() : 0;
    const int height = picture != nullptr ? picture->Height() : 0;
    if (width != record.width || height != record.height)
        throw TextFormError(record.path + ": width and height say " + std::to_string(record.width) + " x " +
                            std::to_string(record.height) + ", the picture is " + std::to_string(width) + " x " +
                            std::to_string(height));
    return entry;
}

std::set<std::int32_t> imagesNamedBy(const TListItem& page, std::set<std::int32_t> ids = {}) {
    page.ForEachImageId([&ids](std::int32_t id) { ids.insert(id); });
    return ids;
}

void readLayout(const Json& json, const PngSource& pngs, TLayout& layout) {
    constexpr std::size_t capacity = TLayout::kTemplateCapacity;
    JsonFields fields(json, "");
    layout.controlName = fields.Text("controlName");
    layout.audibleFeedback = fields.Int("audibleFeedback", 0, 1);
    layout.sleepTimeout = fields.Int("sleepTimeout");
    layout.defaultPageTimeout = fields.Int("defaultPageTimeout");
    layout.pinOnWakeup = fields.Int("pinOnWakeup", 0, 1);
    layout.timeoutPin = fields.Text("timeoutPin");
    layout.securityPin = fields.Text("securityPin");
    layout.autoBrightness = static_cast<std::uint8_t>(fields.Int("autoBrightness", 0, 1));
    layout.manualBrightness = static_cast<std::uint8_t>(fields.Int("manualBrightness", 1, 100));
    layout.defaultPageId = fields.Int("defaultPageId");

    const Json& list = fields.Array("pages", 0, capacity / kSmallestPage);
    std::vector<std::unique_ptr<TListItem>> pages;
    std::map<std::int32_t, std::string> ids;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string path = ElementPath("pages", i);
        auto page = readListedPage(list[i], path, layout, capacity);
        if (const auto [at, fresh] = ids.emplace(page->pageId, path); !fresh)
            throw TextFormError(path + ".pageId: " + std::to_string(page->pageId) + " is also the ID of " + at->second);
        pages.push_back(std::move(page));
    }
    std::unique_ptr<TUserPage> sleepPage;
    if (const Json& sleep = fields.Member("sleepPage"); !sleep.is_null()) {
        sleepPage = std::make_unique<TUserPage>(&layout, u"");
        readUserPage(sleep, "sleepPage", *sleepPage, capacity);
    }
    const std::vector<ImageRecord> records = readImageRecords(fields, capacity);
    readSlots(fields, "eventDescriptions", eventSlots(layout.eventDescriptions));
    readSlots(fields, "eventTexts", eventSlots(layout.eventTexts));
    fields.Finish();

    std::set<std::int32_t> used = sleepPage ? imagesNamedBy(*sleepPage) : std::set<std::int32_t>{};
    for (const auto& page : pages)
        used = imagesNamedBy(*page, std::move(used));
    requireUsed(records, used);
    // A template lists its images in the reverse of their order here, and a reader spends its pixel
    // budget in the order of the file.
    PixelBudget budget = TImageEntry::LayoutBudget();
    std::vector<std::unique_ptr<TImageEntry>> entries(records.size());
    for (std::size_t i = records.size(); i-- > 0;)
        entries[i] = makeEntry(records[i], pngs, budget);

    layout.pages = std::move(pages);
    layout.sleepPage = std::move(sleepPage);
    layout.images.insert(layout.images.begin(), std::make_move_iterator(entries.begin()),
                         std::make_move_iterator(entries.end()));
}

void readPageFile(const Json& json, const PngSource& pngs, TUserPage& page,
                  std::vector<std::unique_ptr<TImageEntry>>& images) {
    constexpr std::size_t capacity = TLayout::kPageFileLimit;
    JsonFields fields(json, "");
    TUserPage read(nullptr, u"");
    readUserPage(fields.Member("page"), "page", read, capacity);
    const std::vector<ImageRecord> records = readImageRecords(fields, capacity);
    fields.Finish();

    requireUsed(records, imagesNamedBy(read));
    PixelBudget budget = TImageEntry::LayoutBudget();
    std::vector<std::unique_ptr<TImageEntry>> entries;
    for (const ImageRecord& record : records)
        entries.push_back(makeEntry(record, pngs, budget));

    page.name = std::move(read.name);
    page.pageId = read.pageId;
    page.face.CopyFrom(read.face);
    page.objects = std::move(read.objects);
    images = std::move(entries);
}

template <typename Read> [[nodiscard]] bool refusing(std::string* error, Read&& read) {
    try {
        read();
        return true;
    } catch (const TextFormError& e) {
        if (error != nullptr)
            *error = e.what();
        return false;
    }
}

} // namespace

bool LayoutFromJson(const nlohmann::ordered_json& json, const PngSource& pngs, TLayout& layout, std::string* error) {
    return refusing(error, [&] { readLayout(json, pngs, layout); });
}

bool PageFileFromJson(const nlohmann::ordered_json& json, const PngSource& pngs, TUserPage& page,
                      std::vector<std::unique_ptr<TImageEntry>>& images, std::string* error) {
    return refusing(error, [&] { readPageFile(json, pngs, page, images); });
}
