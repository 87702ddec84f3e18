#include "editors/canvas/CanvasClipboard.h"

#include "layout/CDataStore.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserObject.h"
#include "layout/TUserPage.h"
#include "textform/LayoutJson.h"

#include <QMimeData>

#include <string>

namespace CanvasClipboard {

namespace {

// Whoever reads the clipboard learns where the trouble came from.
const std::string kName = "The object on the clipboard";

std::unique_ptr<TUserObject> copyOf(const TUserObject& object) {
    CDataStore out;
    const_cast<TUserObject&>(object).Serialize(out); // storing does not change the object
    std::unique_ptr<TUserObject> copy = TUserObject::Create(object.kind);
    CDataStore in(out.Result());
    copy->Serialize(in);
    return copy;
}

QString kindName(const TUserObject& object) {
    switch (object.kind) {
    case TUserObject::kButton:
        return static_cast<const TUserButton&>(object).selectorId >= 0 ? "selector button" : "button";
    case TUserObject::kLevel:
        return "level slider";
    case TUserObject::kImage:
        return "image";
    case TUserObject::kHotspot:
        return "hot spot";
    default:
        return QString("object of kind %1").arg(object.kind);
    }
}

bool refuse(QString* error, const QString& reason) {
    if (error != nullptr)
        *error = reason;
    return false;
}

} // namespace

TUserObject& Clip::Object() const {
    return *page->objects.front();
}

std::unique_ptr<QMimeData> ToMimeData(const TLayout& layout, const TUserObject& object, QString* error) {
    TUserPage holder(nullptr, u"Clipboard");
    holder.AddObject(copyOf(object));
    const std::vector<std::uint8_t> bytes = layout.PageFileBytes(holder);
    // Whatever is copied must paste again, so it keeps to the limit a page file has.
    if (bytes.size() > static_cast<std::size_t>(TLayout::kPageFileLimit)) {
        refuse(error, QString("The object and its images need %1 bytes; the clipboard takes at most %2. Use "
                              "smaller images and try again.")
                          .arg(bytes.size())
                          .arg(TLayout::kPageFileLimit));
        return nullptr;
    }
    auto data = std::make_unique<QMimeData>();
    data->setData(kMimeType,
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    data->setText(JsonText(bytes));
    return data;
}

QString JsonText(std::span<const std::uint8_t> bytes) {
    TUserPage page(nullptr, u"");
    std::vector<std::unique_ptr<TImageEntry>> images;
    if (!ParsePageFile(bytes, kName, page, images, nullptr))
        return {};
    return QString::fromStdString(PageFileToJson(page, images).dump(2) + "\n");
}

bool HasObject(const QMimeData* data) {
    return data != nullptr && data->hasFormat(kMimeType);
}

bool Read(std::span<const std::uint8_t> bytes, bool sleepPage, Clip& clip, QString* error) {
    auto page = std::make_unique<TUserPage>(nullptr, u"");
    std::vector<std::unique_ptr<TImageEntry>> images;
    std::string reason;
    if (!ParsePageFile(bytes, kName, *page, images, &reason))
        return refuse(error, QString::fromStdString(reason) + ". Nothing was pasted.");
    if (page->objects.size() != 1)
        return refuse(error, QString("The clipboard holds a page with %1 objects, not one object. Nothing was pasted.")
                                 .arg(page->objects.size()));
    if (sleepPage && page->objects.front()->kind != TUserObject::kImage)
        return refuse(error, "The sleep page takes only images, and the object on the clipboard is a " +
                                 kindName(*page->objects.front()) + ". Nothing was pasted.");
    clip.page = std::move(page);
    clip.images = std::move(images);
    return true;
}

std::unique_ptr<TUserObject> Adopt(TLayout& layout, Clip& clip, QString* error) {
    std::string reason;
    if (!layout.MergePageImages(*clip.page, clip.images, kName, &reason)) {
        refuse(error, QString::fromStdString(reason));
        return nullptr;
    }
    return clip.page->RemoveObject(&clip.Object());
}

} // namespace CanvasClipboard
