#include "ContactSheet.h"

#include "SheetDrawing.h"
#include "generator/AsciiGlyphs.h"
#include "generator/LibraryContents.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kSheetWidth = 700;
constexpr int kSheetHeight = 2000; // cut to what is used
constexpr int kMargin = 10;

constexpr Rgba kSheet{36, 38, 43, 255};
constexpr Rgba kDark{22, 27, 35, 255};
constexpr Rgba kLight{228, 230, 234, 255};
constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kHeading{250, 200, 120, 255};
constexpr Rgba kNote{170, 178, 190, 255};

constexpr int kSmall = 1;
constexpr int kMedium = 2;
constexpr int kLarge = 3;
constexpr int kTiny = 4;

const Picture* imageOf(const TImageLibrary& library, int id) {
    for (const auto& entry : library.images)
        if (entry->id == id && entry->image)
            return entry->image.get();
    return nullptr;
}

void checkerboard(Picture& sheet, int x, int y, int width, int height) {
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            const bool dark = ((c / 6) + (r / 6)) % 2 == 0;
            sheet.SetPixel(x + c, y + r, dark ? Rgba{150, 150, 155, 255} : Rgba{205, 205, 210, 255});
        }
}

void heading(Picture& sheet, const TImageLibrary& library, const std::string& text, int& y) {
    DrawLabel(sheet, library, text, kMargin, y, kHeading, kMedium);
    y += 22;
}

struct FaceSample {
    int id;
    const char16_t* caption;
    bool darkText;
};

const FaceSample kFaceSamples[] = {{3, u"Clear", false}, {4, u"ON", false},    {5, u"Cancel", false},
                                   {6, u"OFF", false},   {7, u"Enter", false}, {8, u"Dial", false},
                                   {9, u"Cancel", true}, {16, u"Enter", false}};

// A page as a user might build it from the built-in art alone.
void samplePage(Picture& sheet, const TImageLibrary& library, int left, int top) {
    if (const Picture* background = imageOf(library, 1))
        DrawPicture(sheet, *background, left, top);
    auto button = [&](int id, int x, int y, int w, int h, const char16_t* text, int size, Rgba color) {
        if (const Picture* face = imageOf(library, id))
            DrawButtonFrame(sheet, *face, left + x, top + y, w, h);
        DrawGlyphText(sheet, library, text, left + x + w / 2, top + y + h / 2, color, size);
    };
    auto icon = [&](int faceId, int iconId, int x, int y, int w, int h) {
        button(faceId, x, y, w, h, u"", kMedium, kWhite);
        if (const Picture* picture = imageOf(library, iconId))
            DrawPicture(sheet, *picture, left + x + w / 2 - picture->Width() / 2,
                        top + y + h / 2 - picture->Height() / 2);
    };
    button(4, 12, 12, 80, 44, u"ON", kMedium, kWhite);
    button(6, 100, 12, 80, 44, u"OFF", kMedium, kWhite);
    button(5, 188, 12, 80, 44, u"Cancel", kMedium, kWhite);
    button(16, 12, 64, 80, 44, u"Enter", kMedium, kWhite);
    button(3, 100, 64, 80, 44, u"Clear", kSmall, kWhite);
    button(9, 188, 64, 80, 44, u"Dial", kLarge, kBlack);
    button(7, 12, 116, 80, 44, u"Lights", kSmall, kWhite);
    icon(8, 10, 100, 116, 80, 44);
    icon(9, 11, 188, 116, 80, 44);
    if (const Picture* slider = imageOf(library, 2)) {
        DrawLevelSlider(sheet, *slider, left + 272, top + 12, 45, 130);
        DrawLevelSlider(sheet, *slider, left + 12, top + 176, 130, 45);
    }
    DrawGlyphText(sheet, library, u"Living Room", left + 230, top + 186, kWhite, kLarge);
    DrawGlyphText(sheet, library, u"Temp 21.5 C  Fan 3", left + 230, top + 212, {190, 205, 225, 255}, kTiny);
}

void imagesAtNaturalSize(Picture& sheet, const TImageLibrary& library, int& y) {
    heading(sheet, library, "Every image at 1x, over a checkerboard", y);
    constexpr int kCell = 112;
    int column = 0;
    int rowHeight = 0;
    for (const auto& entry : ImageCatalog()) {
        if (entry.id == 1)
            continue;
        const Picture* picture = imageOf(library, entry.id);
        const int x = kMargin + column * kCell;
        const int w = picture ? picture->Width() + 8 : 40;
        const int h = picture ? picture->Height() + 8 : 40;
        checkerboard(sheet, x, y, w, h);
        if (picture)
            DrawPicture(sheet, *picture, x + 4, y + 4);
        DrawLabel(sheet, library, entry.name, x, y + h + 3, kNote, kTiny);
        const std::string facts = picture
                                      ? std::to_string(picture->Width()) + " x " + std::to_string(picture->Height()) +
                                            (picture->HasAlpha() ? " RGBA" : " RGB")
                                      : "missing";
        DrawLabel(sheet, library, "ID " + std::to_string(entry.id) + ", " + facts, x, y + h + 14, kNote, kTiny);
        rowHeight = std::max(rowHeight, h + 30);
        if (++column == 6) {
            column = 0;
            y += rowHeight;
            rowHeight = 0;
        }
    }
    if (column != 0)
        y += rowHeight;
    y += 6;
}

void stretchedFaces(Picture& sheet, const TImageLibrary& library, int& y) {
    heading(sheet, library, "Button faces as frames, 80 x 40 and 80 x 56", y);
    for (const Rgba ground : {kDark, kLight}) {
        FillRect(sheet, kMargin, y, kSheetWidth - 2 * kMargin, 130, ground);
        int x = kMargin + 6;
        for (const auto& sample : kFaceSamples) {
            const Picture* face = imageOf(library, sample.id);
            const Rgba text = sample.darkText ? kBlack : kWhite;
            if (face) {
                DrawButtonFrame(sheet, *face, x, y + 6, 80, 40);
                DrawButtonFrame(sheet, *face, x, y + 52, 80, 56);
            }
            DrawGlyphText(sheet, library, sample.caption, x + 40, y + 26, text, kMedium);
            DrawGlyphText(sheet, library, sample.caption, x + 40, y + 80, text, kLarge);
            DrawLabel(sheet, library, std::to_string(sample.id), x + 36, y + 114, ground == kDark ? kNote : kBlack,
                      kTiny);
            x += 84;
        }
        y += 134;
    }
    y += 4;
}

void sliders(Picture& sheet, const TImageLibrary& library, int& y) {
    heading(sheet, library, "Slider, upright 45 x 130 and lying 130 x 45", y);
    const Picture* slider = imageOf(library, 2);
    int x = kMargin;
    for (const Rgba ground : {kDark, kLight}) {
        FillRect(sheet, x, y, 330, 146, ground);
        if (slider) {
            DrawLevelSlider(sheet, *slider, x + 10, y + 8, 45, 130);
            DrawLevelSlider(sheet, *slider, x + 70, y + 8, 45, 80);
            DrawLevelSlider(sheet, *slider, x + 130, y + 8, 130, 45);
            DrawLevelSlider(sheet, *slider, x + 130, y + 70, 190, 45);
        }
        x += 340;
    }
    y += 152;
}

void glyphSets(Picture& sheet, const TImageLibrary& library, int& y) {
    heading(sheet, library, "Glyphs 0x20-0x7F: Tiny, Small, Medium, Large", y);
    std::string lines[2];
    for (int code = kFirstAsciiCode; code <= kLastAsciiCode; ++code)
        lines[code < 0x50 ? 0 : 1] += static_cast<char>(code);
    const GlyphSize* order[] = {&GlyphSizes()[3], &GlyphSizes()[0], &GlyphSizes()[1], &GlyphSizes()[2]};
    for (const GlyphSize* size : order) {
        const int lineHeight = size->pixels + 5;
        const int block = 2 * lineHeight + 8;
        FillRect(sheet, kMargin, y, kSheetWidth - 2 * kMargin, block, kDark);
        FillRect(sheet, kMargin, y + block, kSheetWidth - 2 * kMargin, block, kLight);
        for (int i = 0; i < 2; ++i) {
            DrawLabel(sheet, library, lines[i], kMargin + 6, y + 5 + i * lineHeight, kWhite, size->sizeKey);
            DrawLabel(sheet, library, lines[i], kMargin + 6, y + block + 5 + i * lineHeight, kBlack, size->sizeKey);
        }
        y += 2 * block + 4;
    }
}

} // namespace

Picture MakeContactSheet(const TImageLibrary& library) {
    Picture sheet(kSheetWidth, kSheetHeight);
    FillRect(sheet, 0, 0, kSheetWidth, kSheetHeight, kSheet);
    int y = kMargin;
    DrawLabel(sheet, library, "ZYLMosaics built-in library", kMargin, y, kWhite, kLarge);
    y += 30;
    heading(sheet, library, "Main Background at 1x, and a page built from the art", y);
    if (const Picture* background = imageOf(library, 1))
        DrawPicture(sheet, *background, kMargin, y);
    samplePage(sheet, library, kMargin + 330, y);
    y += 250;
    imagesAtNaturalSize(sheet, library, y);
    stretchedFaces(sheet, library, y);
    sliders(sheet, library, y);
    glyphSets(sheet, library, y);
    Picture used(kSheetWidth, std::min(y + kMargin, kSheetHeight));
    DrawPicture(used, sheet, 0, 0);
    return used;
}
