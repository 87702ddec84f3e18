#include "LayoutJson.h"

#include "SlotJson.h"
#include "layout/Utf8.h"
#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TConstListItemVisitor.h"
#include "layout/TConstUserObjectVisitor.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"

#include <string>

namespace {

using Json = nlohmann::ordered_json;

void putSlot(Json& json, const std::string& key, std::span<const std::uint8_t> slot) {
    json[key] = ToUtf8(LoadAnsiSlot(slot));
    if (std::string tail = SlotTailHex(slot); !tail.empty())
        json[key + "Tail"] = std::move(tail);
}

// An array of slots, and beside it the array of their tails when any has one.
template <typename Slots> void putSlots(Json& json, const std::string& key, const Slots& slots) {
    Json texts = Json::array();
    Json tails = Json::array();
    bool anyTail = false;
    for (const auto& slot : slots) {
        texts.push_back(ToUtf8(LoadAnsiSlot(slot)));
        tails.push_back(SlotTailHex(slot));
        anyTail = anyTail || !tails.back().get_ref<const std::string&>().empty();
    }
    json[key] = std::move(texts);
    if (anyTail)
        json[key + "Tail"] = std::move(tails);
}

// The 24 events, each a 256-byte slot of the block.
std::vector<std::span<const std::uint8_t>>
eventSlots(const std::array<std::uint8_t, TLayout::kEventCount * TLayout::kEventBytes>& block) {
    std::vector<std::span<const std::uint8_t>> slots;
    for (int i = 0; i < TLayout::kEventCount; ++i)
        slots.emplace_back(block.data() + i * TLayout::kEventBytes, TLayout::kEventBytes);
    return slots;
}

Json faceJson(const TUserFace& face) {
    Json json = Json::object();
    json["kind"] = face.kind;
    json["value"] = face.value;
    json["color1"] = face.color1;
    json["color2"] = face.color2;
    json["textColor"] = face.textColor;
    json["text"] = ToUtf8(face.text);
    json["textSize"] = face.textSize;
    return json;
}

// The fields each object kind adds after the common ones.
class ObjectFields : public TConstUserObjectVisitor {
public:
    explicit ObjectFields(Json& json) : json_(json) {}

    void Visit(const TUserObject&) override {}
    void Visit(const TUserButton& button) override {
        json_["upFace"] = faceJson(button.upFace);
        json_["downFace"] = faceJson(button.downFace);
        json_["selectorId"] = button.selectorId;
        json_["toggle"] = button.toggle;
        putSlot(json_, "downEvent", button.downEvent);
        putSlot(json_, "upEvent", button.upEvent);
        json_["entryPageId"] = button.entryPageId;
        json_["holdTime"] = button.holdTime;
        json_["reserved2"] = button.reserved2;
    }
    void Visit(const TUserLevel& level) override {
        json_["controlId"] = level.controlId;
        json_["sliderImageId"] = level.sliderImageId;
    }
    void Visit(const TUserImage& image) override { json_["face"] = faceJson(image.face); }
    void Visit(const TUserHotspot& hotspot) override {
        json_["targetPageId"] = hotspot.targetPageId;
        json_["requirePin"] = hotspot.requirePin;
        json_["pin"] = ToUtf8(hotspot.pin);
    }

private:
    Json& json_;
};

Json objectJson(const TUserObject& object) {
    Json json = Json::object();
    json["kind"] = object.kind;
    json["left"] = object.left;
    json["top"] = object.top;
    json["width"] = object.width;
    json["height"] = object.height;
    ObjectFields fields(json);
    object.Accept(fields);
    return json;
}

// The fields each page kind adds after the common ones.
class PageFields : public TConstListItemVisitor {
public:
    explicit PageFields(Json& json) : json_(json) {}

    void Visit(const TUserPage& page) override {
        json_["face"] = faceJson(page.face);
        Json objects = Json::array();
        for (const auto& object : page.objects)
            objects.push_back(objectJson(*object));
        json_["objects"] = std::move(objects);
    }
    void Visit(const CBtn8Ctrl& page) override {
        putSlots(json_, "buttonLabels", page.buttonLabels);
        putSlots(json_, "buttonEvents", page.buttonEvents);
    }
    void Visit(const CNumericCtrl& page) override {
        json_["backgroundColor"] = page.backgroundColor;
        json_["primaryColor"] = page.primaryColor;
        json_["highlightColor"] = page.highlightColor;
        json_["textColor"] = page.textColor;
        Json lines = Json::array();
        for (const auto& line : page.textLines)
            lines.push_back(ToUtf8(line));
        json_["textLines"] = std::move(lines);
    }

private:
    Json& json_;
};

Json pageJson(const TListItem& page) {
    Json json = Json::object();
    json["kind"] = page.kind;
    json["pageId"] = page.pageId;
    json["name"] = ToUtf8(page.name);
    PageFields fields(json);
    page.Accept(fields);
    return json;
}

Json imageJson(const TImageEntry& entry) {
    const Picture* picture = entry.Image();
    Json json = Json::object();
    json["id"] = entry.id;
    json["description"] = ToUtf8(entry.description);
    json["guid"] = GuidToHex(entry.guid);
    json["width"] = picture != nullptr ? picture->Width() : 0;
    json["height"] = picture != nullptr ? picture->Height() : 0;
    return json;
}

} // namespace

nlohmann::ordered_json LayoutToJson(const TLayout& layout) {
    Json json = Json::object();
    json["controlName"] = ToUtf8(layout.controlName);
    json["audibleFeedback"] = layout.audibleFeedback;
    json["sleepTimeout"] = layout.sleepTimeout;
    json["defaultPageTimeout"] = layout.defaultPageTimeout;
    json["pinOnWakeup"] = layout.pinOnWakeup;
    json["timeoutPin"] = ToUtf8(layout.timeoutPin);
    json["securityPin"] = ToUtf8(layout.securityPin);
    json["autoBrightness"] = layout.autoBrightness;
    json["manualBrightness"] = layout.manualBrightness;
    json["defaultPageId"] = layout.defaultPageId;
    Json pages = Json::array();
    for (const auto& page : layout.pages)
        pages.push_back(pageJson(*page));
    json["pages"] = std::move(pages);
    json["sleepPage"] = layout.sleepPage ? pageJson(*layout.sleepPage) : Json(nullptr);
    Json images = Json::array();
    for (const auto& entry : layout.images) {
        if (entry->IsUserImage())
            images.push_back(imageJson(*entry));
    }
    json["images"] = std::move(images);
    putSlots(json, "eventDescriptions", eventSlots(layout.eventDescriptions));
    putSlots(json, "eventTexts", eventSlots(layout.eventTexts));
    return json;
}

nlohmann::ordered_json PageFileToJson(const TUserPage& page, const std::vector<std::unique_ptr<TImageEntry>>& images) {
    Json json = Json::object();
    json["page"] = pageJson(page);
    Json list = Json::array();
    for (const auto& entry : images)
        list.push_back(imageJson(*entry));
    json["images"] = std::move(list);
    return json;
}
