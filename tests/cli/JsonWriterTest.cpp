#include "cli/JsonWriter.h"
#include "cli/Utf8.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(JsonWriter, NestsAndEscapes) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject()
        .Field("a", 1)
        .Field("flag", true)
        .Field("text", std::string("q\"\\\n\x01"))
        .BeginArray("list")
        .Value(std::int64_t{-2})
        .Null()
        .EndArray()
        .BeginArray("empty")
        .EndArray()
        .BeginObject("inner")
        .EndObject()
        .EndObject();
    EXPECT_EQ(out.str(), "{\n  \"a\": 1,\n  \"flag\": true,\n  \"text\": \"q\\\"\\\\\\n\\u0001\",\n"
                         "  \"list\": [\n    -2,\n    null\n  ],\n  \"empty\": [],\n  \"inner\": {}\n}\n");
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
    for (const auto& c : cases)
        EXPECT_EQ(ToUtf8(c.in), c.out);
}

} // namespace
