#pragma once

#include "TGlyph.h"
#include "TImageEntry.h"
#include "TImageLibrary.h"
#include "TListItem.h"
#include "TUserPage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class TGlyphRasterizer;
class TLayout;

// The bytes of a template or a user-page file, read whole unless the file is larger than its kind
// may be; the refusal names that kind's limit. The content is not checked.
[[nodiscard]] bool ReadTemplateFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                                         std::string* error = nullptr);
[[nodiscard]] bool ReadPageFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                                     std::string* error = nullptr);

// Reads a user-page file as stored: the page record into `page` and its image records, without
// touching any layout. False, with the reason, for anything that is not a valid page file.
[[nodiscard]] bool ReadPageFile(const std::string& path, TUserPage& page,
                                std::vector<std::unique_ptr<TImageEntry>>& entries, std::string* error = nullptr);
// The same over the file's bytes; `name` names them in messages.
[[nodiscard]] bool ParsePageFile(std::span<const std::uint8_t> bytes, const std::string& name, TUserPage& page,
                                 std::vector<std::unique_ptr<TImageEntry>>& entries, std::string* error = nullptr);

// Everything the panel shows and does: its settings, its pages in order, the sleep page, the
// images faces and sliders refer to, the glyphs of names outside plain ASCII and the 24 user
// events. The program holds exactly one.
class TLayout {
public:
    static constexpr std::int32_t kFirstPageId = 10000;
    // IDs from here up are not counted when handing out new ones.
    static constexpr std::int32_t kPageIdLimit = 16000;
    static constexpr int kEventCount = 24;
    static constexpr std::size_t kEventBytes = 256;
    static constexpr std::int32_t kImageVersion = 8;
    // The largest image the panel takes, and the largest a template file holds.
    static constexpr std::int32_t kUploadCapacity = 512000;
    static constexpr std::int32_t kTemplateCapacity = 500000;
    static constexpr std::int32_t kPageFileLimit = 300000;
    static constexpr std::int32_t kTemplateMagic = static_cast<std::int32_t>(0xABADCAD5u);
    static constexpr std::int32_t kPageMagic = static_cast<std::int32_t>(0xABADCAD6u);

    TLayout();
    ~TLayout();
    TLayout(const TLayout&) = delete;
    TLayout& operator=(const TLayout&) = delete;

    std::int32_t NextPageId() const;
    TListItem* FindPage(std::int32_t id) const;
    // The page's place in `pages`, or -1.
    int IndexOf(const TListItem* page) const;
    TListItem* Next(const TListItem* page) const;
    TListItem* Prev(const TListItem* page) const;

    // Links the page directly behind `after`, or at the end when `after` is null or not a page here.
    TListItem* InsertPageAfter(std::unique_ptr<TListItem> page, const TListItem* after);
    // Unlinks and destroys the page. References to its ID elsewhere are left as they are.
    void RemovePage(const TListItem* page);
    void MovePageUp(const TListItem* page);
    void MovePageDown(const TListItem* page);
    // Makes the page the default one, or clears the default when it already is.
    void ToggleDefaultPage(const TListItem* page);
    // Gives the page an ID by hand; refused (false) when another page already has it.
    bool SetPageId(TListItem* page, std::int32_t id);
    // Whether a page of `pages` other than `page` has that ID.
    bool IsPageIdTaken(std::int32_t id, const TListItem* page) const;
    // When another page of `pages` has the page's ID (a page file can bring one), the page gets
    // NextPageId(), or the first free ID after it; returns whether it did.
    bool RenumberIfIdTaken(TListItem& page);
    // Destroys every page and every image the sleep page does not show, then brings back the
    // built-in images. Settings, events, the sleep page and its user images stay.
    void ClearAll();

    // Puts the built-in library's images at the front of `images`, in their stored order. The
    // library is read the first time it is needed.
    void LoadBuiltinImages();
    // The first entry with that ID, or null.
    TImageEntry* FindImage(std::int32_t id) const;
    // 10000, or one more than the largest image ID present; -1 when that one is the highest an ID
    // can be, and no new image can be numbered.
    std::int32_t NextImageId() const;
    // Whether a new user image can still get an ID; false, with the reason, when none is left.
    [[nodiscard]] bool HasFreeImageId(std::string* error = nullptr) const;
    // An imported picture (or none) as a new user image at the front of `images`, with the next
    // image ID and a fresh GUID. Only when HasFreeImageId(): else std::overflow_error, nothing added.
    TImageEntry& AddUserImage(std::u16string description, std::unique_ptr<Picture> picture);
    // Destroys user images that no user page and not the sleep page refers to.
    void PurgeUnusedImages();
    // Renders anew the glyphs of every character above 126 in the control name and the page names.
    void RebuildGlyphs();
    // Renders, in the three sizes, each character of the text above 126 that has no glyph yet.
    void AddGlyphsFor(const std::u16string& text);

    // The layout image. Storing: purges unused images, rebuilds the glyphs and encodes the layout;
    // *length holds the capacity of buffer on entry and the image's size on return. An image larger
    // than the capacity is refused and nothing is copied. Loading: decodes *length bytes of buffer
    // and replaces the layout's content; a damaged or truncated image is refused and the layout stays
    // exactly as it was. Returns false on refusal, with the reason in *error when given.
    bool Serialize(std::uint8_t* buffer, std::int32_t* length, bool storing, std::string* error = nullptr);
    // The same, with a buffer of its own: the encoded image, or nullopt when it exceeds the capacity.
    std::optional<std::vector<std::uint8_t>> Encode(std::int32_t capacity, std::string* error = nullptr);
    bool Decode(std::span<const std::uint8_t> image, std::string* error = nullptr);

    // Template (.zyl) and user-page (.zup) files. Saving writes the file atomically: a failure
    // leaves any old file as it was. Loading refuses anything that is not a valid file of its kind
    // and then changes nothing. Each returns false on failure, with the reason in *error when given.
    [[nodiscard]] bool SaveTemplate(const std::string& path, std::string* error = nullptr);
    [[nodiscard]] bool LoadTemplate(const std::string& path, std::string* error = nullptr);
    [[nodiscard]] bool SavePage(const TUserPage& page, const std::string& path, std::string* error = nullptr);
    [[nodiscard]] bool LoadPage(TUserPage& page, const std::string& path, std::string* error = nullptr);
    // The loaders over a file's bytes already in memory; `name` names them in messages.
    // Whether the bytes are a template file the loader takes: the magic, something after it, and
    // no more than kTemplateCapacity. Their content is not checked.
    [[nodiscard]] static bool IsTemplateFile(std::span<const std::uint8_t> bytes);
    [[nodiscard]] bool LoadTemplateBytes(std::span<const std::uint8_t> bytes, const std::string& name,
                                         std::string* error = nullptr);
    // Whether the bytes are a page file the loader takes, as IsTemplateFile with kPageFileLimit.
    [[nodiscard]] static bool IsPageFile(std::span<const std::uint8_t> bytes);
    [[nodiscard]] bool LoadPageBytes(TUserPage& page, std::span<const std::uint8_t> bytes, const std::string& name,
                                     std::string* error = nullptr);
    // The page-file form of the page: the magic, the page record, then the user images it shows in
    // the order of its references. No size limit applies here.
    [[nodiscard]] std::vector<std::uint8_t> PageFileBytes(const TUserPage& page) const;
    // Takes a page file's images into the layout as loading a page does: an image whose GUID is
    // already here is not added again, the others get fresh IDs, and the page's references follow.
    // Refused, changing nothing, when the layout has no IDs left for them.
    [[nodiscard]] bool MergePageImages(TUserPage& page, std::vector<std::unique_ptr<TImageEntry>>& entries,
                                       const std::string& name, std::string* error = nullptr);

    // Event i's description and text: NUL-terminated text in the panel's code page.
    std::uint8_t* EventDescription(int i) { return eventDescriptions.data() + i * kEventBytes; }
    std::uint8_t* EventText(int i) { return eventTexts.data() + i * kEventBytes; }

    std::vector<std::unique_ptr<TGlyph>> glyphs;
    std::vector<std::unique_ptr<TListItem>> pages;
    std::unique_ptr<TUserPage> sleepPage;
    std::vector<std::unique_ptr<TImageEntry>> images;

    std::int32_t audibleFeedback = 1;
    std::int32_t sleepTimeout = 0;       // seconds; 0 = never sleeps
    std::int32_t defaultPageTimeout = 0; // seconds; 0 = never returns
    std::int32_t pinOnWakeup = 0;
    std::int32_t defaultPageId = -1;
    std::uint8_t autoBrightness = 0;
    std::uint8_t manualBrightness = 100; // percent, 1..100
    std::u16string timeoutPin;
    std::u16string securityPin;
    std::u16string controlName;

    std::array<std::uint8_t, kEventCount * kEventBytes> eventDescriptions{};
    std::array<std::uint8_t, kEventCount * kEventBytes> eventTexts{};

    // The built-in images and glyphs; read once per program and shared, since nothing changes it.
    std::shared_ptr<const TImageLibrary> builtinLibrary;

private:
    // The three sizes glyphs are rendered in, alive only while glyphs are rebuilt.
    std::vector<std::unique_ptr<TGlyphRasterizer>> rasterizers;
    void withRasterizers(const std::function<void()>& work);

    std::vector<std::unique_ptr<TListItem>>::iterator find(const TListItem* page);
};
