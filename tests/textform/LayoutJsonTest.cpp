#include "textform/LayoutJson.h"
#include "RichLayout.h"
#include "textform/JsonFields.h"
#include "textform/SlotJson.h"
#include "layout/Utf8.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/TUserButton.h"

#include <gtest/gtest.h>

namespace {

// The dump as the command prints it, read back by a JSON parser rather than searched as text.
Json printedAndParsed(const TLayout& layout) {
    return Json::parse(LayoutToJson(layout).dump(2) + "\n");
}

TEST(LayoutJson, KeepsTheKeyOrderAndTheModelsValues) {
    TLayout layout;
    MakeRichLayout(layout);
    const Json json = printedAndParsed(layout);
    std::vector<std::string> keys;
    for (const auto& member : json.items())
        keys.push_back(member.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"controlName", "audibleFeedback", "sleepTimeout", "defaultPageTimeout",
                                              "pinOnWakeup", "timeoutPin", "securityPin", "autoBrightness",
                                              "manualBrightness", "defaultPageId", "pages", "sleepPage", "images",
                                              "eventDescriptions", "eventTexts"}));
    EXPECT_EQ(json["controlName"], "Salle \xC3\xA0 manger");
    EXPECT_EQ(json["manualBrightness"], 55);
    const Json& user = json["pages"][0];
    EXPECT_EQ(user["name"], "\xE4\xB8\xAD\xE6\x96\x87 page");
    EXPECT_EQ(user["objects"][0]["downEvent"], "LIGHT ON");
    EXPECT_EQ(user["objects"][0]["reserved2"], -1);
    EXPECT_EQ(user["objects"][5]["kind"], 7);
    EXPECT_EQ(user["objects"][5].size(), 5u) << "a kind without a class has only the common keys";
    EXPECT_EQ(json["pages"][2]["textLines"][3], "hidden");
    EXPECT_EQ(json["images"].size(), 5u);
    EXPECT_EQ(json["images"][0]["guid"].get<std::string>().size(), 32u);
    EXPECT_EQ(json["eventTexts"][23], "Event X text \xC3\xBC");
    EXPECT_FALSE(json.contains("eventTextsTail"));
    EXPECT_TRUE(printedAndParsed(TLayout())["sleepPage"].is_null());
}

TEST(LayoutJson, EscapesWhatJsonMustAndRoundTripsText) {
    const std::u16string texts[] = {u"q\"uote", u"back\\slash", u"line\nbreak\ttab", u"\x01\x1F control",
                                    u"\u00E9\u4E2D\U0001F600"};
    for (const auto& text : texts) {
        TLayout layout;
        layout.controlName = text;
        const std::string printed = LayoutToJson(layout).dump(2);
        const std::size_t line = printed.find("\"controlName\"");
        const std::string shown = printed.substr(line, printed.find('\n', line) - line);
        for (char c : shown)
            EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "raw control character in " << shown;
        EXPECT_EQ(Json::parse(printed)["controlName"], ToUtf8(text));
        EXPECT_EQ(FromUtf8(Json::parse(printed)["controlName"].get<std::string>()), text);
    }
    TLayout layout;
    layout.controlName = u"q\"\\\n\x01";
    EXPECT_NE(LayoutToJson(layout).dump(2).find(R"("controlName": "q\"\\\n\u0001")"), std::string::npos);
}

TEST(LayoutJson, SlotsKeepTheBytesAfterTheirText) {
    TLayout layout;
    MakeRichLayout(layout);
    layout.EventText(2)[40] = 0x7F;
    auto& button = static_cast<TUserButton&>(*static_cast<TUserPage&>(*layout.pages[0]).objects[0]);
    button.upEvent.fill('U'); // no NUL at all
    button.downEvent[200] = 1;
    const Json json = printedAndParsed(layout);
    const Json& tails = json["eventTextsTail"];
    ASSERT_EQ(tails.size(), 24u);
    EXPECT_EQ(tails[0], "");
    // "Event C text \xFC" takes bytes 0..13, its NUL byte 14.
    EXPECT_EQ(tails[2], std::string(2 * (40 - 15), '0') + "7f");
    EXPECT_EQ(json["pages"][0]["objects"][0]["upEvent"].get<std::string>(), std::string(248, 'U'));
    EXPECT_FALSE(json["pages"][0]["objects"][0].contains("upEventTail"));
    EXPECT_EQ(json["pages"][0]["objects"][0]["downEventTail"], std::string(2 * (200 - 9), '0') + "01");
}

TEST(SlotJson, TailsAndFillingAreInverse) {
    struct Case {
        std::vector<std::uint8_t> slot;
        std::string text;
        std::string tail;
    };
    const Case cases[] = {
        {{'A', 'B', 0, 0, 0}, "AB", ""},    {{'A', 0, 0, 'x', 0, 0}, "A", "0078"},         {{0, 0xFF, 0, 0}, "", "ff"},
        {{'F', 'U', 'L', 'L'}, "FULL", ""}, {{0x80, 0x9D, 0}, "\xE2\x82\xAC\xC2\x9D", ""}, // euro sign and an
                                                                                           // unassigned byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SlotTailHex(c.slot), c.tail);
        std::vector<std::uint8_t> filled(c.slot.size(), 0xEE);
        std::string why;
        ASSERT_TRUE(FillSlot(*FromUtf8(c.text), *BytesFromHex(c.tail), filled, why)) << why;
        EXPECT_EQ(filled, c.slot);
    }
}

TEST(Utf8, ConvertsEveryPlaneAndReplacesLoneSurrogates) {
    struct Case {
        std::u16string in;
        std::string out;
    };
    const Case cases[] = {
        {u"A", "A"},
        {u"\u00E9", "\xC3\xA9"},
        {u"\u4E2D", "\xE4\xB8\xAD"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {u"a\xD800", "a\xEF\xBF\xBD"},
        {u"\xDC00z", "\xEF\xBF\xBDz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToUtf8(c.in), c.out);
        if (c.out.find("\xEF\xBF\xBD") == std::string::npos) {
            EXPECT_EQ(FromUtf8(c.out), c.in);
        }
    }
}

TEST(Utf8, RefusesMalformedBytes) {
    for (const char* bad : {"\x80", "\xC0\x80", "\xE4\xB8", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\xC3"})
        EXPECT_FALSE(FromUtf8(bad)) << bad;
}

TEST(ParseStrictJson, NamesWhereTheTextGoesWrong) {
    struct Case {
        std::string text;
        std::string words;
    };
    std::string manyKeys = "{";
    for (int i = 0; i < 300; ++i)
        manyKeys += "\"k" + std::to_string(i) + "\": 0, ";
    std::string numbers = "[";
    for (int i = 0; i < 1 << 20; ++i)
        numbers += "0,";
    const Case cases[] = {
        {"{\n  \"a\": tru\n}", "line 2, column"},
        {"{\"a\": 1,}", "line 1, column 9"},
        {"", "line 1, column 1"},
        {"{\"a\": 1} x", "line 1, column 10"},
        {"{\"a\": 1, \"a\": 2}", "the top level: the key \"a\" appears twice"},
        {"{\"p\": [{}, {\"k\": {\"x\": 1, \"x\": 1}}]}", "p[1].k: the key \"x\" appears twice"},
        {manyKeys + "\"k7\": 0}", "the top level: the key \"k7\" appears twice"},
        {"{\"a\":\n  " + std::string(40, '['), "line 2, column 34: nested deeper than 32 levels"},
        {numbers, "line 1, column 2097153: more than 1048576 values"},
        {"{\"a\": [1,\n 1e999]}", "line 2, column 6: number out of range"},
        {"[\"\xFF\"]",
         "line 1, column 3: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last "
         "read: '\"\\xFF'"},
        {"\"\xC3\xA9\xC3(\"", "last read: '\"\xC3\xA9\\xC3('"},
    };
    for (const auto& c : cases) {
        try {
            (void)ParseStrictJson(c.text);
            ADD_FAILURE() << c.text;
        } catch (const TextFormError& e) {
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(ParseStrictJson("{\"a\": [1, {\"a\": 2}]}")["a"][1]["a"], 2);
    EXPECT_NO_THROW((void)ParseStrictJson(std::string(32, '[') + std::string(32, ']')));
}

} // namespace
