#include "cli/TextForm.h"
#include "CraftedImages.h"
#include "RichLayout.h"
#include "TempDir.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CDataStore.h"
#include "layout/FileIo.h"
#include "layout/TUserButton.h"
#include "layout/TUserImage.h"
#include "sim/DemoLayout.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path.string(), 64 << 20, bytes, nullptr)) << path;
    return bytes;
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Every file under the folder by its relative path, with its bytes.
std::map<std::string, std::vector<std::uint8_t>> filesUnder(const fs::path& dir) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] = bytesOf(entry.path());
    }
    return files;
}

TUserPage& firstPage(TLayout& layout) {
    return static_cast<TUserPage&>(*layout.pages.front());
}

// The rich layout with everything a file from elsewhere may carry: bytes after slot texts, a slot
// without a NUL, a reserved word, a picture kept undecoded, one too large to decode and an image
// without a picture.
void makeLayoutWithLeftovers(TLayout& layout) {
    MakeRichLayout(layout);
    layout.EventDescription(5)[100] = 0xAB;
    layout.EventText(23)[255] = 1;
    auto& button = static_cast<TUserButton&>(*firstPage(layout).objects[0]);
    button.downEvent[250] = 'z';
    button.upEvent.fill('U');
    button.reserved2 = 12345;
    auto& btn8 = static_cast<CBtn8Ctrl&>(*layout.pages[1]);
    btn8.buttonLabels[7][79] = 0x9D;
    std::vector<std::uint8_t> damaged = BlackPng(3, 3);
    damaged.resize(damaged.size() - 12);
    AddKeptImage(layout, firstPage(layout), damaged);
    AddKeptImage(layout, firstPage(layout), BlackPng(5000, 10));
    auto none = std::make_unique<TUserImage>();
    none->face.kind = TUserFace::kImage;
    none->face.value = layout.AddUserImage(u"no picture", nullptr).id;
    firstPage(layout).AddObject(std::move(none));
}

class TextForm : public ::testing::Test {
protected:
    fs::path path(const std::string& name) const { return temp.Dir() / name; }

    void saveTemplate(TLayout& layout, const std::string& name) const {
        ASSERT_TRUE(layout.SaveTemplate(path(name).string()));
    }

    TempDir temp;
};

TEST_F(TextForm, ExportThenImportGivesTheFileBackByteForByte) {
    struct Case {
        const char* file;
        std::function<void(const fs::path&)> write;
    };
    const Case cases[] = {
        {"demo.zyl",
         [](const fs::path& to) {
             std::vector<std::uint8_t> bytes = {0xD5, 0xCA, 0xAD, 0xAB};
             const auto image = DemoLayoutImage();
             bytes.insert(bytes.end(), image.begin(), image.end());
             writeBytes(to, bytes);
         }},
        {"rich.zyl",
         [](const fs::path& to) {
             TLayout layout;
             MakeRichLayout(layout);
             ASSERT_TRUE(layout.SaveTemplate(to.string()));
         }},
        {"leftovers.zyl",
         [](const fs::path& to) {
             TLayout layout;
             makeLayoutWithLeftovers(layout);
             ASSERT_TRUE(layout.SaveTemplate(to.string()));
         }},
        {"fresh.zyl", [](const fs::path& to) { ASSERT_TRUE(TLayout().SaveTemplate(to.string())); }},
        {"page.zup",
         [](const fs::path& to) {
             TLayout layout;
             MakeRichLayout(layout);
             ASSERT_TRUE(layout.SavePage(firstPage(layout), to.string()));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path original = path(c.file);
        c.write(original);
        const fs::path first = path(std::string(c.file) + ".first");
        const fs::path again = path(std::string(c.file) + ".again");
        const fs::path rebuilt = path(std::string("rebuilt-") + c.file);
        std::string error;
        ASSERT_TRUE(ExportLayoutFile(original.string(), first.string(), &error)) << error;
        ASSERT_TRUE(ImportLayoutDir(first.string(), rebuilt.string(), &error)) << error;
        EXPECT_EQ(bytesOf(rebuilt), bytesOf(original));
        ASSERT_TRUE(ExportLayoutFile(rebuilt.string(), again.string(), &error)) << error;
        EXPECT_EQ(filesUnder(again), filesUnder(first));
    }
}

TEST_F(TextForm, ExportShowsAPageFileAsASaveWouldWriteIt) {
    TLayout layout;
    MakeRichLayout(layout);
    ASSERT_TRUE(layout.SavePage(firstPage(layout), path("saved.zup").string()));
    // The same file with one more image record that the page does not name.
    std::vector<std::uint8_t> bytes = bytesOf(path("saved.zup"));
    CDataStore extra;
    extra.WriteInt(1);
    TImageEntry unused;
    unused.id = 10077;
    unused.SetImage(TestPicture(2, 2, 9));
    unused.Serialize(extra);
    bytes.insert(bytes.end(), extra.Result().begin(), extra.Result().end());
    writeBytes(path("other.zup"), bytes);

    std::string error;
    ASSERT_TRUE(ExportLayoutFile(path("other.zup").string(), path("text").string(), &error)) << error;
    EXPECT_FALSE(fs::exists(path("text/images/10077.png")));
    const Json json = Json::parse(std::ifstream(path("text/page.json")));
    EXPECT_EQ(json["images"].size(), 3u) << "each image once, though the page names one twice";
    ASSERT_TRUE(ImportLayoutDir(path("text").string(), path("back.zup").string(), &error)) << error;
    EXPECT_EQ(bytesOf(path("back.zup")), bytesOf(path("saved.zup")));
}

TEST_F(TextForm, ExportReplacesAnEarlierExportAndLeavesOtherFiles) {
    TLayout layout;
    MakeRichLayout(layout);
    saveTemplate(layout, "rich.zyl");
    std::string error;
    ASSERT_TRUE(ExportLayoutFile(path("rich.zyl").string(), path("dir").string(), &error)) << error;
    // An earlier export that wrote one picture more.
    Json earlier = Json::parse(std::ifstream(path("dir/layout.json")));
    earlier["images"].push_back({{"id", 99999}});
    std::ofstream(path("dir/layout.json")) << earlier.dump();
    writeBytes(path("dir/images/99999.png"), {1, 2, 3});
    writeBytes(path("dir/README"), {'h', 'i'});
    ASSERT_TRUE(ExportLayoutFile(path("rich.zyl").string(), path("dir").string(), &error)) << error;
    EXPECT_FALSE(fs::exists(path("dir/images/99999.png")));
    EXPECT_TRUE(fs::exists(path("dir/README")));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path("dir")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"README", "images", "layout.json"}));
    const Json json = Json::parse(std::ifstream(path("dir/layout.json")));
    EXPECT_EQ(json["images"].size(), 4u) << "the unused image is not exported";
    for (const auto& image : json["images"])
        EXPECT_TRUE(fs::exists(path("dir/images/" + std::to_string(image["id"].get<int>()) + ".png")));
}

TEST_F(TextForm, ExportRefusesAndChangesNothing) {
    TLayout layout;
    MakeRichLayout(layout);
    saveTemplate(layout, "rich.zyl");
    ASSERT_TRUE(layout.SavePage(firstPage(layout), path("page.zup").string()));
    writeBytes(path("junk.zyl"), {'n', 'o', 'p', 'e', '!'});
    std::string error;
    ASSERT_TRUE(ExportLayoutFile(path("page.zup").string(), path("pagedir").string(), &error)) << error;
    const auto before = filesUnder(path("pagedir"));
    writeBytes(path("plain"), {1});

    struct Case {
        const char* file;
        const char* dir;
        const char* words;
    };
    const Case cases[] = {
        {"junk.zyl", "new", "neither a ZYL-1 template file nor a ZYL-1 user page file"},
        {"missing.zyl", "new", "cannot open"},
        {"rich.zyl", "pagedir", "holds page.json from another export"},
        {"rich.zyl", "plain", "exists and is not a folder"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ExportLayoutFile(path(c.file).string(), path(c.dir).string(), &error)) << c.file;
        EXPECT_NE(error.find(c.words), std::string::npos) << error;
    }
    EXPECT_FALSE(fs::exists(path("new")));
    EXPECT_EQ(filesUnder(path("pagedir")), before);
}

void editJson(const fs::path& file, const std::function<void(Json&)>& edit) {
    Json json = Json::parse(std::ifstream(file));
    edit(json);
    std::ofstream(file) << json.dump(2) << '\n';
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Pictures that do not compress: three of them fill more than a template holds.
std::vector<std::uint8_t> noisePng(int side, std::uint32_t seed) {
    Picture picture(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            picture.SetPixel(x, y,
                             {static_cast<std::uint8_t>(seed >> 24), static_cast<std::uint8_t>(seed >> 16),
                              static_cast<std::uint8_t>(seed >> 8), 255});
        }
    }
    return picture.EncodePng();
}

TEST_F(TextForm, ImportRefusesBadInputAndWritesNothing) {
    TLayout layout;
    MakeRichLayout(layout);
    saveTemplate(layout, "rich.zyl");
    ASSERT_TRUE(layout.SavePage(firstPage(layout), path("page.zup").string()));
    std::string error;
    ASSERT_TRUE(ExportLayoutFile(path("rich.zyl").string(), path("layout").string(), &error)) << error;
    ASSERT_TRUE(ExportLayoutFile(path("page.zup").string(), path("page").string(), &error)) << error;
    const Json good = Json::parse(std::ifstream(path("layout/layout.json")));
    const std::string firstImage = std::to_string(good["images"][0]["id"].get<int>()) + ".png";

    using Edit = std::function<void(const fs::path& dir)>;
    const auto json = [](std::function<void(Json&)> edit) -> Edit {
        return [edit](const fs::path& dir) { editJson(dir / "layout.json", edit); };
    };
    const auto pageJson = [](std::function<void(Json&)> edit) -> Edit {
        return [edit](const fs::path& dir) { editJson(dir / "page.json", edit); };
    };
    struct Case {
        const char* what;
        const char* source;
        Edit edit;
        const char* words;
        const char* out = "out.zyl";
    };
    const Case cases[] = {
        {"bad JSON", "layout", [](const fs::path& d) { writeText(d / "layout.json", "{\n  \"controlName\": tru\n}"); },
         "layout.json\": line 2, column"},
        {"too deep", "layout",
         [](const fs::path& d) { writeText(d / "layout.json", "{\"pages\": " + std::string(40, '[')); },
         "layout.json\": line 1, column 42: nested deeper than 32 levels"},
        {"key twice", "layout",
         [](const fs::path& d) { writeText(d / "layout.json", "{\"controlName\": \"a\", \"controlName\": \"b\"}"); },
         "the key \"controlName\" appears twice"},
        {"unknown key", "layout", json([](Json& j) { j["pages"][0]["objects"][1]["colour"] = 1; }),
         "pages[0].objects[1]: unknown key \"colour\""},
        {"missing key", "layout", json([](Json& j) { j["pages"][2].erase("textLines"); }),
         "pages[2]: the key \"textLines\" is missing"},
        {"wrong type", "layout", json([](Json& j) { j["pages"][0]["objects"][0]["width"] = "80"; }),
         "pages[0].objects[0].width: expected an integer, found a string"},
        {"fraction", "layout", json([](Json& j) { j["sleepTimeout"] = 1.5; }),
         "sleepTimeout: expected an integer, found the number 1.5"},
        {"int32 overflow", "layout", json([](Json& j) { j["pages"][0]["objects"][0]["left"] = 2147483648LL; }),
         "left: 2147483648 is out of range (-2147483648..2147483647)"},
        {"brightness 0", "layout", json([](Json& j) { j["manualBrightness"] = 0; }),
         "manualBrightness: 0 is out of range (1..100)"},
        {"brightness 101", "layout", json([](Json& j) { j["manualBrightness"] = 101; }), "(1..100)"},
        {"flag 2", "layout", json([](Json& j) { j["autoBrightness"] = 2; }),
         "autoBrightness: 2 is out of range (0..1)"},
        {"slot too long", "layout",
         json([](Json& j) { j["pages"][0]["objects"][0]["upEvent"] = std::string(249, 'x'); }),
         "upEvent: takes 249 bytes; the slot holds 248"},
        {"tail too long", "layout",
         json([](Json& j) { j["eventTextsTail"] = Json(std::vector<std::string>(24, std::string(500, 'a'))); }),
         "eventTexts[0]: takes 265 bytes with its tail; the slot holds 256"},
        {"tail not hex", "layout", json([](Json& j) { j["pages"][0]["objects"][0]["downEventTail"] = "0g"; }),
         "downEventTail: expected pairs of hex digits"},
        {"code page", "layout", json([](Json& j) { j["pages"][1]["buttonLabels"][3] = "\xE4\xB8\xAD"; }),
         "pages[1].buttonLabels[3]: character U+4E2D has no place"},
        {"NUL", "layout", json([](Json& j) { j["controlName"] = std::string("a\0b", 3); }), "controlName: a NUL"},
        {"eight labels", "layout", json([](Json& j) { j["pages"][1]["buttonLabels"].erase(0); }),
         "pages[1].buttonLabels: holds 7 elements; it must hold exactly 8"},
        {"page kind", "layout", json([](Json& j) { j["pages"][1]["kind"] = 11; }),
         "pages[1].kind: unknown page kind 11"},
        {"sleep page kind", "layout", json([](Json& j) { j["sleepPage"]["kind"] = 9; }),
         "sleepPage.kind: 9 is not the user page kind 8"},
        {"page ID twice", "layout", json([](Json& j) { j["pages"][2]["pageId"] = j["pages"][0]["pageId"]; }),
         "pages[2].pageId: 10000 is also the ID of pages[0]"},
        {"negative page ID", "layout", json([](Json& j) { j["pages"][1]["pageId"] = -1; }),
         "pages[1].pageId: -1 is out of range (0..2147483647)"},
        {"10000 pages", "layout", json([](Json& j) { j["pages"] = Json(std::vector<Json>(10000, j["pages"][2])); }),
         "pages: holds 10000 elements; it may hold at most 8928"},
        {"100 MB", "layout", [](const fs::path& d) { fs::resize_file(d / "layout.json", 100 << 20); },
         "is too large (104857600 bytes; at most 8388608)"},
        {"image missing", "layout", [&](const fs::path& d) { fs::remove(d / "images" / firstImage); },
         "images[0]: cannot open"},
        {"image unreadable", "layout",
         [&](const fs::path& d) {
             fs::remove(d / "images" / firstImage);
             fs::create_directory(d / "images" / firstImage);
         },
         "is a folder"},
        {"not a PNG", "layout", [&](const fs::path& d) { writeText(d / "images" / firstImage, "GIF89a...."); },
         "is not a PNG image"},
        {"picture size", "layout", json([](Json& j) { j["images"][0]["width"] = 5; }),
         "images[0]: width and height say 5 x 3, the picture is 4 x 3"},
        {"malformed GUID", "layout", json([](Json& j) { j["images"][1]["guid"] = "1234"; }),
         "images[1].guid: \"1234\" is not 32 hex digits"},
        {"GUID twice", "layout", json([](Json& j) { j["images"][2]["guid"] = j["images"][0]["guid"]; }),
         "images[2].guid: ", "out.zyl"},
        {"image ID twice", "layout", json([](Json& j) { j["images"][3]["id"] = j["images"][1]["id"]; }),
         "images[3].id: "},
        {"built-in image ID", "layout", json([](Json& j) { j["images"][0]["id"] = 12; }),
         "images[0].id: 12 is out of range (10000..2147483647)"},
        {"unused image", "layout", json([](Json& j) { j["images"][0]["id"] = 10100; }),
         "images[0]: image 10100 is used by no page"},
        {"too large to encode", "layout",
         [](const fs::path& d) {
             editJson(d / "layout.json", [&](Json& j) {
                 for (int i = 0; i < 3; ++i) {
                     const int id = 10200 + i;
                     writeBytes(d / "images" / (std::to_string(id) + ".png"), noisePng(240, i + 1u));
                     j["images"].push_back({{"id", id},
                                            {"description", ""},
                                            {"guid", std::string(31, '0') + char('a' + i)},
                                            {"width", 240},
                                            {"height", 240}});
                     Json object = j["pages"][0]["objects"][3];
                     object["face"]["value"] = id;
                     j["pages"][0]["objects"].push_back(object);
                 }
             });
         },
         "The template file would take"},
        {"wrong extension", "layout", [](const fs::path&) {}, "a template is written to a .zyl file", "out.zup"},
        {"both kinds", "layout", [](const fs::path& d) { writeText(d / "page.json", "{}"); },
         "holds both layout.json and page.json"},
        {"neither kind", "layout", [](const fs::path& d) { fs::remove(d / "layout.json"); },
         "holds neither layout.json nor page.json"},
        {"page file kind", "page", pageJson([](Json& j) { j["page"]["kind"] = 10; }), "page.kind: 10 is not",
         "out.zup"},
        {"page file unused image", "page", pageJson([](Json& j) { j["page"]["objects"].erase(2); }),
         "is used by no page", "out.zup"},
        {"page file extension", "page", [](const fs::path&) {}, "a user page file is written to a .zup file"},
    };
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = path(std::string("case-") + c.what);
        fs::copy(path(c.source), dir, fs::copy_options::recursive);
        c.edit(dir);
        const fs::path fresh = dir / ".." / (std::string("fresh-") + c.out);
        const fs::path existing = path(std::string("existing-") + c.out);
        writeBytes(existing, old);
        for (const fs::path& out : {fresh, existing}) {
            std::string why;
            EXPECT_FALSE(ImportLayoutDir(dir.string(), out.string(), &why));
            EXPECT_NE(why.find(c.words), std::string::npos) << why;
        }
        EXPECT_FALSE(fs::exists(fresh));
        EXPECT_EQ(bytesOf(existing), old);
    }
}

} // namespace
