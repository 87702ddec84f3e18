#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QMimeData;
class TImageEntry;
class TLayout;
class TUserObject;
class TUserPage;

// The clipboard's form of a page object: the page-file form of a page holding only that object,
// with the user images it shows, under our own MIME type, so it survives the trip to another page,
// layout or running program whole; and its JSON text form, as export writes page.json, as plain
// text for everything else.
namespace CanvasClipboard {

inline constexpr const char* kMimeType = "application/x-zylmosaics-page";

// An object read off the clipboard, not yet part of any layout.
struct Clip {
    std::unique_ptr<TUserPage> page; // holds the one object
    std::vector<std::unique_ptr<TImageEntry>> images;
    [[nodiscard]] TUserObject& Object() const;
};

// The object as the clipboard carries it; null with the reason when it is too large to carry.
[[nodiscard]] std::unique_ptr<QMimeData> ToMimeData(const TLayout& layout, const TUserObject& object, QString* error);
// The plain text beside it: the JSON text form of page-file bytes; empty for bytes that do not read.
[[nodiscard]] QString JsonText(std::span<const std::uint8_t> bytes);
// Whether the data offers an object at all (its bytes are checked only when pasted).
[[nodiscard]] bool HasObject(const QMimeData* data);
// Reads the object out of the bytes under our MIME type. Refused, with the reason, for bytes that
// are not a page holding exactly one object, or, for the sleep page, one that is not an image.
[[nodiscard]] bool Read(std::span<const std::uint8_t> bytes, bool sleepPage, Clip& clip, QString* error);
// Takes the object into the layout: its images merge by GUID as loading a page merges them. Null,
// with the reason, and nothing changed, when the layout has no image IDs left.
[[nodiscard]] std::unique_ptr<TUserObject> Adopt(TLayout& layout, Clip& clip, QString* error);

} // namespace CanvasClipboard
