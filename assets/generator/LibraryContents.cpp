#include "LibraryContents.h"

#include "AsciiGlyphs.h"
#include "Backgrounds.h"
#include "ButtonFaces.h"
#include "Icons.h"
#include "SliderArt.h"

#include <memory>
#include <stdexcept>

namespace {

constexpr int kFaceSide = 31;

Picture drawImage(int id) {
    switch (id) {
    case 1:
        return MakeMainBackground();
    case 2:
        return MakeSliderComposite();
    case 10:
        return MakeReturnIcon();
    case 11:
        return MakeCancelIcon();
    default:
        for (const auto& face : BuiltinFaces())
            if (face.id == id)
                return RenderButtonFace(face.style, kFaceSide, kFaceSide);
    }
    throw std::logic_error("no art for image " + std::to_string(id));
}

// Each list is filled by putting every record at the front, as reading the block does.
template <typename T> void prepend(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> item) {
    list.insert(list.begin(), std::move(item));
}

} // namespace

const std::vector<CatalogImage>& ImageCatalog() {
    static const std::vector<CatalogImage> catalog{
        {1, "Main Background", 320, 240, false}, {2, "Slider Composite", 46, 76, true},
        {3, "Blue Square", 31, 31, true},        {16, "Deep Round Highlight", 31, 31, true},
        {4, "Blue Glow", 31, 31, true},          {5, "Deep Round", 31, 31, true},
        {6, "Green Glow", 31, 31, true},         {7, "Green Square", 31, 31, false},
        {8, "Deep Square", 31, 31, false},       {9, "Grey Square", 31, 31, true},
        {10, "Return Icon", 27, 27, true},       {11, "Cancel Icon", 33, 25, true},
    };
    return catalog;
}

const CatalogImage* FindCatalogImage(int id) {
    for (const auto& entry : ImageCatalog())
        if (entry.id == id)
            return &entry;
    return nullptr;
}

TImageLibrary BuildBuiltinLibrary(const std::string& fontDir) {
    TImageLibrary library;

    // Carried along for the panel's sake; the program does not look at them. Each holds a text
    // colour (b0–b2), a flag byte (b3) and a background colour (b4–b6).
    static const std::array<std::uint8_t, 7> kStyles[8] = {
        {255, 255, 255, 0, 47, 111, 199}, {255, 255, 255, 0, 47, 154, 72},  {255, 255, 255, 0, 59, 74, 102},
        {20, 24, 32, 0, 198, 202, 208},   {255, 255, 255, 1, 85, 112, 156}, {255, 138, 31, 0, 18, 24, 33},
        {255, 255, 255, 0, 216, 52, 58},  {200, 210, 225, 0, 44, 55, 72},
    };
    for (int i = 0; i < 8; ++i) {
        auto style = std::make_unique<TLibraryStyle>();
        style->id = i + 1;
        style->kind = 1;
        style->b = kStyles[i];
        prepend(library.styles, std::move(style));
    }

    static const char16_t* const kTexts[] = {u"ON", u"OFF", u"Cancel", u"Clear", u"Enter", u"Dial", u"INVALID"};
    for (int i = 0; i < 7; ++i) {
        auto text = std::make_unique<TLibraryString>();
        text->id = i + 1;
        text->text = kTexts[i];
        prepend(library.texts, std::move(text));
    }

    for (const auto& entry : ImageCatalog()) {
        auto image = std::make_unique<TLibraryImage>();
        image->id = entry.id;
        image->image = std::make_unique<Picture>(drawImage(entry.id));
        prepend(library.images, std::move(image));
    }

    for (auto& glyph : RenderAsciiGlyphs(fontDir))
        prepend(library.glyphs, std::move(glyph));
    return library;
}

std::vector<std::uint8_t> BuildBuiltinBlock(const std::string& fontDir) {
    return BuildBuiltinLibrary(fontDir).Write();
}
