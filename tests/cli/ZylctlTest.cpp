#include "cli/Zylctl.h"
#include "CliRun.h"
#include "RichLayout.h"
#include "TempDir.h"
#include "cli/LayoutFileKind.h"
#include "layout/FileIo.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

class Zylctl : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return temp.Path(name); }
    TempDir temp;
};

TEST_F(Zylctl, NewWritesTheFreshTemplate) {
    const CliRun run = zylctl({"new", path("a.zyl")});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(fs::file_size(path("a.zyl")), 12354u);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(path("a.zyl"), 20000, bytes, nullptr));
    EXPECT_EQ(bytes[0], 0xD5);
    EXPECT_EQ(bytes[3], 0xAB);
}

TEST_F(Zylctl, UsageAndHelp) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* inOut;
        const char* inErr;
    };
    const Case cases[] = {
        {{}, kExitUsage, "", "usage: zylctl"},
        {{"--help"}, kExitOk, "commands:", ""},
        {{"frobnicate"}, kExitUsage, "", "unknown command 'frobnicate'"},
        {{"new"}, kExitUsage, "", "usage: zylctl new OUT.zyl"},
        {{"dump", "a", "b"}, kExitUsage, "", "usage: zylctl dump FILE"},
        {{"dump", "--help"}, kExitOk, "usage: zylctl dump FILE", ""},
        {{"check", "-h"}, kExitOk, "usage: zylctl check FILE", ""},
        {{"new", "--help"}, kExitOk, "usage: zylctl new", ""},
        {{"help"}, kExitOk, "commands that talk to a control on a serial port:", ""},
        {{"--help"}, kExitOk, "\n  render FILE      draw pages", ""},
        {{"--help"}, kExitOk, "\n  --port DEVICE reboot             restart the control\n", ""},
        {{"render", "--help"}, kExitOk, "usage: zylctl render FILE [--page ID", ""},
        {{"info"}, kExitUsage, "", "usage: zylctl --port DEVICE info"},
        {{"--port", "/dev/null", "info", "--help"}, kExitOk, "usage: zylctl --port DEVICE info\n\nPrints", ""},
        {{"--port", "/dev/null", "upload"}, kExitUsage, "", "usage: zylctl --port DEVICE upload IN.zyl"},
        {{"upload", "--help"}, kExitOk, "\n  --full-windows   wait the full 500 ms reply window", ""},
        {{"download", "x.zyl", "--full-windows"}, kExitUsage, "", "--full-windows"},
        {{"--port", "/dev/null", "reboot", "now"}, kExitUsage, "", "usage: zylctl --port DEVICE reboot"},
        {{"--port"}, kExitUsage, "", "zylctl: --port: 1 required DEVICE missing\n"},
        {{"--port", "/dev/null"}, kExitUsage, "", "--port goes with info, download, upload, firmware and reboot\n"},
        {{"--port", "/dev/null", "check", "a.zyl"}, kExitUsage, "", "--port goes with"},
        // Help asked for is help given, whatever else the line holds.
        {{"--port", "/dev/null", "--help"}, kExitOk, "commands:", ""},
        {{"--version"}, kExitOk, "zylctl ", ""},
        {{"--frob"}, kExitUsage, "", "zylctl: unknown option '--frob'\n"},
        {{"help", "render"}, kExitOk, "usage: zylctl render FILE [--page ID", ""},
        {{"help", "frobnicate"}, kExitUsage, "", "zylctl: unknown command 'frobnicate'\n"},
        {{"check", "a", "b"}, kExitUsage, "", "zylctl check: The following argument was not expected: b\n"},
        {{"check", "a", "--page", "1"}, kExitUsage, "", "usage: zylctl check FILE\n"},
        {{"--port", "/dev/null", "ports"}, kExitUsage, "", "zylctl ports: --port goes with"},
        {{"ports", "--port", "/dev/null"}, kExitUsage, "", "zylctl ports: --port goes with"},
        {{"info", "--port", "/dev/a", "--port", "/dev/b"}, kExitUsage, "", "usage: zylctl --port DEVICE info"},
        {{"--port", "/dev/a", "info", "--port", "/dev/b"}, kExitUsage, "", "usage: zylctl --port DEVICE info"},
        {{"export", "a.zyl"}, kExitUsage, "", "zylctl export: DIR is required\nusage: zylctl export FILE DIR\n"},
        {{"import"}, kExitUsage, "", "usage: zylctl import DIR OUT\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CliRun run = zylctl(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.out.find(c.inOut), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(c.inErr), std::string::npos) << run.err;
    }
    // Only the end-of-options mark is no command either, not a misplaced --port.
    EXPECT_EQ(zylctl({"--"}).err, zylctl({}).err);
}

// Each command explains itself, the same way through --help and through `help`, and is in the overview.
TEST_F(Zylctl, EveryCommandHasItsHelp) {
    const struct {
        const char* command;
        const char* usage;
    } cases[] = {
        {"new", "usage: zylctl new OUT.zyl\n\nWrites"},
        {"dump", "usage: zylctl dump FILE\n\nPrints"},
        {"check", "usage: zylctl check FILE\n\nExits"},
        {"render", "usage: zylctl render FILE [--page ID | --sleep] [--select N | --panel] -o OUT.png\n"
                   "       zylctl render FILE --all DIR [--panel]\n\nDraws"},
        {"try", "usage: zylctl try FILE [--tap X,Y | --down X,Y | --up | --wait SECONDS]... [-o OUT.png]\n\nRuns"},
        {"export", "usage: zylctl export FILE DIR\n\nWrites"},
        {"import", "usage: zylctl import DIR OUT\n\nBuilds"},
        {"ports", "usage: zylctl ports\n\nLists"},
        {"info", "usage: zylctl --port DEVICE info\n\nPrints"},
        {"download", "usage: zylctl --port DEVICE download OUT.zyl\n\nReads"},
        {"upload", "usage: zylctl --port DEVICE upload IN.zyl [OPTIONS]\n\nWrites"},
        {"firmware", "usage: zylctl --port DEVICE firmware FILE.zfw\n\nSends"},
        {"reboot", "usage: zylctl --port DEVICE reboot\n\nTells"},
    };
    const std::string overview = zylctl({"--help"}).out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const CliRun run = zylctl({c.command, "--help"});
        EXPECT_EQ(run.status, kExitOk);
        EXPECT_EQ(run.out.rfind(c.usage, 0), 0u) << run.out;
        EXPECT_EQ(zylctl({"help", c.command}).out, run.out);
        EXPECT_NE(overview.find(std::string(" ") + c.command + " "), std::string::npos);
    }
}

TEST_F(Zylctl, DumpShowsTheModelsFieldsAsUtf8) {
    TLayout layout;
    MakeRichLayout(layout);
    ASSERT_TRUE(layout.SaveTemplate(path("rich.zyl")));
    const CliRun run = zylctl({"dump", path("rich.zyl")});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const json dump = json::parse(run.out);
    EXPECT_EQ(dump["controlName"], "Salle \xC3\xA0 manger");
    EXPECT_EQ(dump["defaultPageId"], 10001);
    const json& pages = dump["pages"];
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0]["name"], "\xE4\xB8\xAD\xE6\x96\x87 page");
    const json& objects = pages[0]["objects"];
    ASSERT_EQ(objects.size(), 7u);
    EXPECT_TRUE(objects[0]["upFace"].is_object());
    EXPECT_EQ(objects[0]["entryPageId"], 10002);
    EXPECT_EQ(objects[0]["downEvent"], "LIGHT ON");
    EXPECT_EQ(objects[2]["sliderImageId"], 10002);
    EXPECT_EQ(objects[4]["pin"], "42");
    EXPECT_EQ(pages[1]["buttonLabels"].size(), 8u);
    EXPECT_EQ(pages[2]["textLines"].size(), 4u);
    EXPECT_TRUE(dump["sleepPage"].is_object());
    ASSERT_FALSE(dump["images"].empty());
    EXPECT_EQ(dump["images"][0]["guid"].get<std::string>().size(), 32u);
    EXPECT_EQ(dump["images"][0]["width"], 4);
    ASSERT_EQ(dump["eventTexts"].size(), 24u);
    EXPECT_EQ(dump["eventTexts"][23], "Event X text \xC3\xBC");

    TLayout fresh;
    ASSERT_TRUE(fresh.SaveTemplate(path("fresh.zyl")));
    EXPECT_TRUE(json::parse(zylctl({"dump", path("fresh.zyl")}).out)["sleepPage"].is_null());
}

TEST_F(Zylctl, DumpOfAPageFile) {
    TLayout layout;
    MakeRichLayout(layout);
    ASSERT_TRUE(layout.SavePage(static_cast<TUserPage&>(*layout.pages[0]), path("p.zup")));
    const CliRun run = zylctl({"dump", path("p.zup")});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out.rfind("{\n  \"page\": {", 0), 0u) << run.out.substr(0, 40);
    const json dump = json::parse(run.out);
    EXPECT_EQ(dump["page"]["pageId"], 10000);
    ASSERT_TRUE(dump["images"].is_array());
    EXPECT_TRUE(std::any_of(dump["images"].begin(), dump["images"].end(),
                            [](const json& image) { return image["id"] == 10000; }));
}

// The text form's commands hand their operands on and report a refusal in one line.
TEST_F(Zylctl, ExportAndImportSayWhyTheyFailed) {
    const std::vector<std::vector<std::string>> cases = {
        {"export", path("missing.zyl"), path("out")},
        {"import", path("missing-folder"), path("out.zyl")},
        // A name that would steer the terminal is shown, not played.
        {"import", path("missing\x1b[2J\xFF"), path("out.zyl")},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0]);
        const CliRun run = zylctl(args);
        EXPECT_EQ(run.status, kExitBadInput);
        EXPECT_EQ(run.err.rfind("zylctl " + args[0] + ": ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(std::find_if(run.err.begin(), run.err.end() - 1,
                               [](unsigned char c) { return c < 0x20 || c == 0x7F || c == 0xFF; }),
                  run.err.end() - 1)
            << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_FALSE(fs::exists(path("out.zyl")));
}

// Everything under the folder with a digest of its content, links and folders too; links are not followed.
std::map<std::string, std::string> treeOf(const fs::path& dir) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        std::string& kept = tree[fs::relative(entry.path(), dir).string()];
        if (entry.is_symlink())
            kept = "link to " + fs::read_symlink(entry.path()).string();
        else if (entry.is_regular_file())
            kept = std::to_string(std::hash<std::string>{}(std::string(
                std::istreambuf_iterator<char>(std::ifstream(entry.path(), std::ios::binary).rdbuf()), {})));
    }
    return tree;
}

// Export replaces only what an earlier export wrote, and import never writes over a file it reads:
// anything else is refused, by its path, and nothing changes.
TEST_F(Zylctl, ExportAndImportReplaceNothingOfTheUsers) {
    TLayout layout;
    MakeRichLayout(layout);
    const std::string zyl = path("rich.zyl");
    ASSERT_TRUE(layout.SaveTemplate(zyl));
    ASSERT_EQ(zylctl({"export", zyl, path("earlier")}).status, kExitOk);
    const std::string picture = "images/" + std::to_string(layout.images.front()->id) + ".png";
    const auto mine = [](const fs::path& file) { std::ofstream(file) << "mine"; };
    // Each case is a copy of an earlier export that `plant` changes before an export over it, or
    // without `plant`, an import into a link to its file `linked`.
    const struct {
        std::function<void(const fs::path&)> plant;
        std::string says;
        std::string linked;
    } cases[] = {
        {[&](const fs::path& d) { mine(d / "images/notes.txt"); },
         "images/notes.txt\" was not written by an earlier export, and the export would delete it", ""},
        {[&](const fs::path& d) { mine(d / "images/99999.png"), fs::create_directory(d / "images/sub"); },
         "images/99999.png\" and 1 more entry there were not written", ""},
        {[&](const fs::path& d) { fs::create_hard_link(zyl, d / "images/rich.zyl"); }, "rich.zyl\"", ""},
        {[&](const fs::path& d) { fs::remove(d / picture), fs::create_symlink(zyl, d / picture); },
         picture + "\" was not written", ""},
        {[&](const fs::path& d) { fs::remove_all(d / "images"), fs::create_symlink(d, d / "images"); },
         "images\" is not a folder an earlier export made", ""},
        {[&](const fs::path& d) { fs::remove_all(d / "images"), mine(d / "images"); }, "images\" is not a folder", ""},
        {[&](const fs::path& d) { mine(d / "layout.json"); }, "layout.json\" is not the JSON of an earlier export", ""},
        {nullptr, "layout.json\", which the import reads", "layout.json"},
        {nullptr, picture + "\", which the import reads", picture},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const fs::path dir = temp.Dir() / ("case" + std::to_string(++n));
        fs::copy(path("earlier"), dir, fs::copy_options::recursive);
        std::vector<std::string> args = {"export", zyl, dir.string()};
        if (c.plant) {
            c.plant(dir);
        } else {
            args = {"import", dir.string(), dir.string() + ".zyl"};
            fs::create_symlink(dir / c.linked, args[2]);
        }
        const auto before = treeOf(dir);
        const CliRun run = zylctl(args);
        EXPECT_EQ(run.status, kExitBadInput);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(treeOf(dir), before);
    }

    // Over an earlier export of the same (unchanged) file, the same folder results and the user's file stays.
    fs::copy(path("earlier"), path("again"), fs::copy_options::recursive);
    mine(path("again/README"));
    const auto before = treeOf(path("again"));
    EXPECT_EQ(zylctl({"export", zyl, path("again")}).status, kExitOk);
    EXPECT_EQ(treeOf(path("again")), before);
}

TEST_F(Zylctl, CheckTellsValidFromInvalid) {
    TLayout layout;
    ASSERT_TRUE(layout.SaveTemplate(path("ok.zyl")));
    {
        std::ofstream(path("junk.bin")) << "not a layout at all";
        std::ofstream(path("short.zyl"), std::ios::binary).write("\xD5\xCA\xAD\xAB\x08\x00", 6);
        std::ofstream(path("three.zup"), std::ios::binary).write("\xD6\xCA\xAD", 3);
        std::string page(300001, '\0');
        page.replace(0, 4, "\xD6\xCA\xAD\xAB");
        std::ofstream(path("big-page.zup"), std::ios::binary) << page;
        std::string huge(512001, '\0');
        huge.replace(0, 4, "\xD5\xCA\xAD\xAB");
        std::ofstream(path("huge.zyl"), std::ios::binary) << huge;
        std::ofstream(path("huge-junk.zyl"), std::ios::binary) << std::string(512001, '\0');
        std::ofstream(path("giant.zup"), std::ios::binary) << page.substr(0, 4);
    }
    // 300 MB without writing them: only the start may be read.
    std::filesystem::resize_file(path("giant.zup"), 300'000'000);
    struct Case {
        std::string file;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"ok.zyl", kExitOk, ""},
        {"junk.bin", kExitBadInput, "neither a ZYL-1 template file nor a ZYL-1 user page file"},
        {"short.zyl", kExitBadInput, "damaged"},
        {"missing.zyl", kExitBadInput, "No such file"},
        {"three.zup", kExitBadInput, "neither a ZYL-1 template file nor a ZYL-1 user page file"},
        {"big-page.zup", kExitBadInput, "too large for a ZYL-1 user page file (300001 bytes; at most 300000)"},
        {"giant.zup", kExitBadInput, "too large for a ZYL-1 user page file (300000000 bytes; at most 300000)"},
        {"huge.zyl", kExitBadInput, "too large for a ZYL-1 template file (512001 bytes; at most 500000)"},
        {"huge-junk.zyl", kExitBadInput, "neither a ZYL-1 template file nor a ZYL-1 user page file"},
    };
    for (const auto& c : cases) {
        const CliRun run = zylctl({"check", path(c.file)});
        EXPECT_EQ(run.status, c.status) << c.file;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.file << ": " << run.err;
        if (c.status != kExitOk) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one line: " << run.err;
        }
    }
}

TEST(LayoutFileKind, TheLeadingMagicDecides) {
    using Bytes = std::vector<std::uint8_t>;
    struct Case {
        Bytes bytes;
        LayoutFileKind kind;
    };
    const Case cases[] = {
        {{}, LayoutFileKind::Neither},
        {{0xD5, 0xCA, 0xAD}, LayoutFileKind::Neither},
        {{0xD5, 0xCA, 0xAD, 0xAB}, LayoutFileKind::Template},
        {{0xD6, 0xCA, 0xAD, 0xAB, 0x00}, LayoutFileKind::Page},
        {{0xAB, 0xAD, 0xCA, 0xD5}, LayoutFileKind::Neither}, // the other byte order
        {{0xF0, 0xDE, 0xBC, 0x0A}, LayoutFileKind::Neither}, // a library block
        {{0xD7, 0xCA, 0xAD, 0xAB}, LayoutFileKind::Neither},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KindOfLayoutFile(c.bytes), c.kind) << testing::PrintToString(c.bytes);
}

} // namespace
