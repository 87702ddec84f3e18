#include "LayoutJson.h"

#include "Utf8.h"
#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"

namespace {

std::string slotText(std::span<const std::uint8_t> slot) {
    return ToUtf8(LoadAnsiSlot(slot));
}

void writeFace(JsonWriter& json, std::string_view key, const TUserFace& face) {
    json.BeginObject(key)
        .Field("kind", face.kind)
        .Field("value", face.value)
        .Field("color1", face.color1)
        .Field("color2", face.color2)
        .Field("textColor", face.textColor)
        .Field("text", ToUtf8(face.text))
        .Field("textSize", face.textSize)
        .EndObject();
}

void writeObject(JsonWriter& json, const TUserObject& object) {
    json.BeginObject()
        .Field("kind", object.kind)
        .Field("left", object.left)
        .Field("top", object.top)
        .Field("width", object.width)
        .Field("height", object.height);
    if (const auto* button = dynamic_cast<const TUserButton*>(&object)) {
        writeFace(json, "upFace", button->upFace);
        writeFace(json, "downFace", button->downFace);
        json.Field("selectorId", button->selectorId)
            .Field("toggle", button->toggle)
            .Field("downEvent", slotText(button->downEvent))
            .Field("upEvent", slotText(button->upEvent))
            .Field("entryPageId", button->entryPageId)
            .Field("holdTime", button->holdTime);
    } else if (const auto* level = dynamic_cast<const TUserLevel*>(&object)) {
        json.Field("controlId", level->controlId).Field("sliderImageId", level->sliderImageId);
    } else if (const auto* image = dynamic_cast<const TUserImage*>(&object)) {
        writeFace(json, "face", image->face);
    } else if (const auto* hotspot = dynamic_cast<const TUserHotspot*>(&object)) {
        json.Field("targetPageId", hotspot->targetPageId)
            .Field("requirePin", hotspot->requirePin)
            .Field("pin", ToUtf8(hotspot->pin));
    }
    json.EndObject();
}

void writePage(JsonWriter& json, std::string_view key, const TListItem& page) {
    json.BeginObject(key).Field("kind", page.kind).Field("pageId", page.pageId).Field("name", ToUtf8(page.name));
    if (const auto* user = dynamic_cast<const TUserPage*>(&page)) {
        writeFace(json, "face", user->face);
        json.BeginArray("objects");
        for (const auto& object : user->objects)
            writeObject(json, *object);
        json.EndArray();
    } else if (const auto* btn8 = dynamic_cast<const CBtn8Ctrl*>(&page)) {
        json.BeginArray("buttonLabels");
        for (const auto& slot : btn8->buttonLabels)
            json.Value(slotText(slot));
        json.EndArray().BeginArray("buttonEvents");
        for (const auto& slot : btn8->buttonEvents)
            json.Value(slotText(slot));
        json.EndArray();
    } else if (const auto* numeric = dynamic_cast<const CNumericCtrl*>(&page)) {
        json.Field("backgroundColor", numeric->backgroundColor)
            .Field("primaryColor", numeric->primaryColor)
            .Field("highlightColor", numeric->highlightColor)
            .Field("textColor", numeric->textColor)
            .BeginArray("textLines");
        for (const auto& line : numeric->textLines)
            json.Value(ToUtf8(line));
        json.EndArray();
    }
    json.EndObject();
}

void writeImage(JsonWriter& json, const TImageEntry& entry) {
    const Picture* picture = entry.Image();
    json.BeginObject()
        .Field("id", entry.id)
        .Field("description", ToUtf8(entry.description))
        .Field("guid", GuidToHex(entry.guid))
        .Field("width", picture != nullptr ? picture->Width() : 0)
        .Field("height", picture != nullptr ? picture->Height() : 0)
        .EndObject();
}

} // namespace

void WriteLayoutJson(JsonWriter& json, const TLayout& layout) {
    json.BeginObject()
        .Field("controlName", ToUtf8(layout.controlName))
        .Field("audibleFeedback", layout.audibleFeedback)
        .Field("sleepTimeout", layout.sleepTimeout)
        .Field("defaultPageTimeout", layout.defaultPageTimeout)
        .Field("pinOnWakeup", layout.pinOnWakeup)
        .Field("timeoutPin", ToUtf8(layout.timeoutPin))
        .Field("securityPin", ToUtf8(layout.securityPin))
        .Field("autoBrightness", layout.autoBrightness)
        .Field("manualBrightness", layout.manualBrightness)
        .Field("defaultPageId", layout.defaultPageId)
        .BeginArray("pages");
    for (const auto& page : layout.pages)
        writePage(json, {}, *page);
    json.EndArray();
    if (layout.sleepPage)
        writePage(json, "sleepPage", *layout.sleepPage);
    else
        json.Key("sleepPage").Null();
    json.BeginArray("images");
    for (const auto& entry : layout.images) {
        if (entry->IsUserImage())
            writeImage(json, *entry);
    }
    json.EndArray().BeginArray("eventDescriptions");
    for (int i = 0; i < TLayout::kEventCount; ++i)
        json.Value(slotText({layout.eventDescriptions.data() + i * TLayout::kEventBytes, TLayout::kEventBytes}));
    json.EndArray().BeginArray("eventTexts");
    for (int i = 0; i < TLayout::kEventCount; ++i)
        json.Value(slotText({layout.eventTexts.data() + i * TLayout::kEventBytes, TLayout::kEventBytes}));
    json.EndArray().EndObject();
}

void WritePageFileJson(JsonWriter& json, const TUserPage& page,
                       const std::vector<std::unique_ptr<TImageEntry>>& images) {
    json.BeginObject();
    writePage(json, "page", page);
    json.BeginArray("images");
    for (const auto& entry : images)
        writeImage(json, *entry);
    json.EndArray().EndObject();
}
