#include "editors/dialogs/FaceChoices.h"
#include "RichLayout.h"
#include "layout/TLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

void PrintTo(const FaceChoice& choice, std::ostream* out) {
    *out << '"' << choice.text.toStdString() << "\"=" << choice.number;
}

namespace {

std::string describe(const FaceChoices& choices) {
    std::string text;
    for (const FaceChoice& c : choices)
        text += c.text.toStdString() + "=" + std::to_string(c.number) + "|";
    return text;
}

// The lists as the user reads them: sorted by text, each entry with its number.
TEST(FaceChoices, FixedListsAreSortedWithTheirNumbers) {
    struct Case {
        const char* list;
        FaceChoices choices;
        const char* expected;
    };
    const Case cases[] = {
        {"gradient", GradientKindChoices(),
         "Gradient Left to Right=2|Gradient Radial=4|Gradient Top to Bottom=3|Single Color=1|"},
        {"caption size", CaptionSizeChoices(), "Large=3|Medium=2|Small=1|Tiny=4|"},
        // Both "Deep Round" faces, the plain one first.
        {"button face", ButtonFaceChoices(),
         "Blue Glow=4|Blue Square=3|Deep Round=5|Deep Round=16|Deep Square=8|Green Glow=6|Square Green=7|"
         "Square Grey=9|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(c.choices), c.expected) << c.list;
}

TEST(FaceChoices, SortingIgnoresCaseAndKeepsEqualTextsInOrder) {
    const FaceChoices sorted = SortedChoices({{"b", 1}, {"A", 2}, {"a", 3}, {"B", 4}, {"10: x", 5}, {"2: x", 6}});
    EXPECT_EQ(describe(sorted), "10: x=5|2: x=6|A=2|a=3|b=1|B=4|");

    struct Case {
        const char* text;
        int row;
    };
    const Case rows[] = {
        {"0", 0},     // before everything
        {"A", 4},     // after both equal texts
        {"Azure", 4}, // between "a" and "b"
        {"zebra", 6}, // at the end
        {"2: x", 2},  // after its equal
        {"", 0},
    };
    for (const Case& c : rows)
        EXPECT_EQ(SortedInsertRow(sorted, c.text), c.row) << c.text;
    EXPECT_EQ(SortedInsertRow({}, "Logo"), 0);
}

// Image entries number the list's positions from 1 and then sort by that text, so "10: ..."
// comes before "1: ..." (the digit before the colon) and "2: ...".
TEST(FaceChoices, ImageEntriesReadTheirPositionAndDescription) {
    TLayout layout;
    layout.images.clear();
    for (int i = 0; i < 11; ++i) {
        auto entry = std::make_unique<TImageEntry>();
        entry->id = 10000 + i;
        entry->description = std::u16string(1, static_cast<char16_t>(u'a' + i));
        layout.images.push_back(std::move(entry));
    }
    const FaceChoices choices = ImageChoices(layout);
    ASSERT_EQ(choices.size(), 11u);
    EXPECT_EQ(choices[0], (FaceChoice{"10: j", 10009}));
    EXPECT_EQ(choices[1], (FaceChoice{"11: k", 10010}));
    EXPECT_EQ(choices[2], (FaceChoice{"1: a", 10000}));
    EXPECT_EQ(choices[3], (FaceChoice{"2: b", 10001}));
    EXPECT_EQ(choices[10], (FaceChoice{"9: i", 10008}));
    EXPECT_EQ(RowOfNumber(choices, 10010), 1);
    EXPECT_EQ(RowOfNumber(choices, 42), -1);
    EXPECT_EQ(RowOfNumber(ButtonFaceChoices(), 16), 3);

    // A fresh layout offers its built-in images.
    TLayout fresh;
    EXPECT_EQ(ImageChoices(fresh).size(), fresh.images.size());
    EXPECT_FALSE(fresh.images.empty());
}

TEST(FaceChoices, ImageObjectTakesThePicturesSize) {
    TLayout layout;
    auto wide = std::make_unique<TImageEntry>();
    wide->id = 10000;
    wide->SetImage(TestPicture(120, 48, 1));
    layout.images.insert(layout.images.begin(), std::move(wide));
    auto empty = std::make_unique<TImageEntry>();
    empty->id = 10001;
    layout.images.insert(layout.images.begin(), std::move(empty));

    EXPECT_EQ(ImageObjectSize(&layout, 10000), QSize(120, 48));
    // No such image, an entry without pixels, no layout: the object keeps its size.
    EXPECT_EQ(ImageObjectSize(&layout, -1), std::nullopt);
    EXPECT_EQ(ImageObjectSize(&layout, 10001), std::nullopt);
    EXPECT_EQ(ImageObjectSize(nullptr, 10000), std::nullopt);
    // A built-in image has its library picture.
    const std::int32_t builtin = layout.images.back()->id;
    ASSERT_NE(layout.images.back()->Image(), nullptr);
    EXPECT_EQ(ImageObjectSize(&layout, builtin),
              QSize(layout.images.back()->Image()->Width(), layout.images.back()->Image()->Height()));
}

TEST(FaceChoices, PreviewRectangle) {
    const QSize frame = FacePreviewFrameSize();
    struct Case {
        std::int32_t kind;
        int width, height;
        Rect expected;
    };
    const Case cases[] = {
        // The panel's whole screen for every kind but a button face.
        {TUserFace::kBlank, frame.width(), frame.height(), {3, 10, 323, 250}},
        {TUserFace::kColor, frame.width(), frame.height(), {3, 10, 323, 250}},
        {TUserFace::kImage, frame.width(), frame.height(), {3, 10, 323, 250}},
        {TUserFace::kButtonFace, frame.width(), frame.height(), {85, 95, 238, 140}},
        {TUserFace::kBlank, 100, 50, {3, 10, 97, 40}},
        {TUserFace::kButtonFace, 400, 300, {85, 95, 312, 180}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FacePreviewRect(c.width, c.height, c.kind), c.expected) << c.kind << " " << c.width;
    EXPECT_EQ(FacePreviewRect(frame.width(), frame.height(), TUserFace::kColor).Width(), 320);
    EXPECT_EQ(FacePreviewRect(frame.width(), frame.height(), TUserFace::kColor).Height(), 240);
}

} // namespace
