#include "LayoutJson.h"

#include "Utf8.h"
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

#include <sstream>

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

// The fields each object kind adds after the common ones.
class ObjectFields : public TConstUserObjectVisitor {
public:
    explicit ObjectFields(JsonWriter& json) : json_(json) {}

    void Visit(const TUserObject&) override {}
    void Visit(const TUserButton& button) override {
        writeFace(json_, "upFace", button.upFace);
        writeFace(json_, "downFace", button.downFace);
        json_.Field("selectorId", button.selectorId)
            .Field("toggle", button.toggle)
            .Field("downEvent", slotText(button.downEvent))
            .Field("upEvent", slotText(button.upEvent))
            .Field("entryPageId", button.entryPageId)
            .Field("holdTime", button.holdTime);
    }
    void Visit(const TUserLevel& level) override {
        json_.Field("controlId", level.controlId).Field("sliderImageId", level.sliderImageId);
    }
    void Visit(const TUserImage& image) override { writeFace(json_, "face", image.face); }
    void Visit(const TUserHotspot& hotspot) override {
        json_.Field("targetPageId", hotspot.targetPageId)
            .Field("requirePin", hotspot.requirePin)
            .Field("pin", ToUtf8(hotspot.pin));
    }

private:
    JsonWriter& json_;
};

void writeObject(JsonWriter& json, const TUserObject& object) {
    json.BeginObject()
        .Field("kind", object.kind)
        .Field("left", object.left)
        .Field("top", object.top)
        .Field("width", object.width)
        .Field("height", object.height);
    ObjectFields fields(json);
    object.Accept(fields);
    json.EndObject();
}

// The fields each page kind adds after the common ones.
class PageFields : public TConstListItemVisitor {
public:
    explicit PageFields(JsonWriter& json) : json_(json) {}

    void Visit(const TUserPage& page) override {
        writeFace(json_, "face", page.face);
        json_.BeginArray("objects");
        for (const auto& object : page.objects)
            writeObject(json_, *object);
        json_.EndArray();
    }
    void Visit(const CBtn8Ctrl& page) override {
        json_.BeginArray("buttonLabels");
        for (const auto& slot : page.buttonLabels)
            json_.Value(slotText(slot));
        json_.EndArray().BeginArray("buttonEvents");
        for (const auto& slot : page.buttonEvents)
            json_.Value(slotText(slot));
        json_.EndArray();
    }
    void Visit(const CNumericCtrl& page) override {
        json_.Field("backgroundColor", page.backgroundColor)
            .Field("primaryColor", page.primaryColor)
            .Field("highlightColor", page.highlightColor)
            .Field("textColor", page.textColor)
            .BeginArray("textLines");
        for (const auto& line : page.textLines)
            json_.Value(ToUtf8(line));
        json_.EndArray();
    }

private:
    JsonWriter& json_;
};

void writePage(JsonWriter& json, std::string_view key, const TListItem& page) {
    json.BeginObject(key).Field("kind", page.kind).Field("pageId", page.pageId).Field("name", ToUtf8(page.name));
    PageFields fields(json);
    page.Accept(fields);
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

nlohmann::ordered_json LayoutToJson(const TLayout& layout) {
    std::ostringstream text;
    JsonWriter json(text);
    WriteLayoutJson(json, layout);
    return nlohmann::ordered_json::parse(text.str());
}

nlohmann::ordered_json PageFileToJson(const TUserPage& page, const std::vector<std::unique_ptr<TImageEntry>>& images) {
    std::ostringstream text;
    JsonWriter json(text);
    WritePageFileJson(json, page, images);
    return nlohmann::ordered_json::parse(text.str());
}
