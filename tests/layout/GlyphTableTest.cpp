#include "ByteBuilder.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CDataStore.h"
#include "layout/DecodeError.h"
#include "layout/TGlyph.h"
#include "layout/TLayout.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<std::pair<std::int32_t, std::int32_t>> keys(const TLayout& layout) {
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    for (const auto& g : layout.glyphs)
        out.emplace_back(g->code, g->sizeKey);
    return out;
}

void addPage(TLayout& layout, const std::u16string& name) {
    layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, name), nullptr);
}

TEST(GlyphTable, OneGlyphPerSizeForEachNewCharacter) {
    struct Case {
        const char* name;
        std::u16string controlName;
        std::vector<std::u16string> pageNames;
        std::vector<std::pair<std::int32_t, std::int32_t>> expected;
    };
    const Case cases[] = {
        {"plain ASCII", u"Lobby ~", {u"Main", u"8 Button"}, {}},
        {"two identical CJK characters", u"", {u"\u4E2D\u4E2D"}, {{0x4E2D, 35}, {0x4E2D, 28}, {0x4E2D, 22}}},
        {"127 is rendered, 126 not", u"~\u007F", {}, {{0x7F, 35}, {0x7F, 28}, {0x7F, 22}}},
        {"latest character first, control name before pages",
         u"\u00E9",
         {u"\u00E9t\u00E9", u"\u00FC"},
         {{0xFC, 35}, {0xFC, 28}, {0xFC, 22}, {0xE9, 35}, {0xE9, 28}, {0xE9, 22}}},
        {"each surrogate half on its own",
         u"\U0001F600",
         {},
         {{0xDE00, 35}, {0xDE00, 28}, {0xDE00, 22}, {0xD83D, 35}, {0xD83D, 28}, {0xD83D, 22}}},
    };
    for (const auto& c : cases) {
        TLayout layout;
        layout.controlName = c.controlName;
        for (const auto& name : c.pageNames)
            addPage(layout, name);
        layout.RebuildGlyphs();
        EXPECT_EQ(keys(layout), c.expected) << c.name;
    }
}

TEST(GlyphTable, RebuildForgetsOldNamesAndSkipsTheSleepPage) {
    TLayout layout;
    addPage(layout, u"\u4E2D");
    layout.RebuildGlyphs();
    EXPECT_EQ(layout.glyphs.size(), 3u);

    layout.pages.front()->name = u"ASCII again";
    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"\u6587");
    layout.RebuildGlyphs();
    EXPECT_TRUE(layout.glyphs.empty());
}

TEST(GlyphTable, AddGlyphsForOnItsOwnSkipsKnownCharacters) {
    TLayout layout;
    layout.AddGlyphsFor(u"\u4E2D");
    layout.AddGlyphsFor(u"\u4E2D\u6587");
    EXPECT_EQ(keys(layout).size(), 6u);
    EXPECT_EQ(layout.glyphs.front()->code, 0x6587);
}

TEST(GlyphRecord, BitsPackFourPixelsPerByteLeftmostHighest) {
    TGlyph glyph;
    glyph.width = 5;
    glyph.height = 2;
    glyph.SetLevel(4, 0, 3);
    glyph.SetLevel(0, 1, 2);
    glyph.SetLevel(3, 1, 1);
    EXPECT_EQ(glyph.RowBytes(), 2);
    EXPECT_EQ(glyph.bits, (Bytes{0x00, 0xC0, 0x81, 0x00}));
    EXPECT_EQ(glyph.Level(4, 0), 3);
    EXPECT_EQ(glyph.Level(3, 1), 1);
    EXPECT_EQ(glyph.Level(5, 0), 0);
}

TEST(GlyphRecord, RoundTripAndSignedOffsets) {
    TGlyph glyph;
    glyph.sizeKey = 3;
    glyph.code = 'g';
    glyph.width = 5;
    glyph.height = 2;
    glyph.left = 1;
    glyph.top = -1;
    glyph.advance = 7;
    glyph.SetLevel(4, 1, 2);
    CDataStore out;
    glyph.Serialize(out);
    const Bytes bytes(out.Result().begin(), out.Result().end());
    EXPECT_EQ(bytes,
              ByteBuilder().i32(1).i32(3).i32('g').u8(5).u8(2).u8(1).u8(255).u8(7).u8(0).u8(0).u8(0).u8(0x80).bytes);
    TGlyph back;
    CDataStore in(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    back.Serialize(in);
    EXPECT_EQ(back.top, -1);
    EXPECT_EQ(back.bits, glyph.bits);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TGlyph partial;
        CDataStore ar(bytes.data(), static_cast<std::int32_t>(cut));
        EXPECT_THROW(partial.Serialize(ar), DecodeError) << cut;
    }
}

} // namespace
