#include "cli/Zylctl.h"
#include "CliRun.h"
#include "RichLayout.h"
#include "TempDir.h"
#include "cli/LayoutFileKind.h"
#include "layout/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

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
        {{"--help"}, kExitOk, "\n  render FILE  draw a page", ""},
        {{"--help"}, kExitOk, "\n  --port DEVICE reboot             restart the control\n", ""},
        {{"render", "--help"}, kExitOk, "usage: zylctl render FILE [--page ID", ""},
        {{"info"}, kExitUsage, "", "usage: zylctl --port DEVICE info"},
        {{"--port", "/dev/null", "info", "--help"}, kExitOk, "usage: zylctl --port DEVICE info\n\nPrints", ""},
        {{"--port", "/dev/null", "upload"}, kExitUsage, "", "usage: zylctl --port DEVICE upload IN.zyl"},
        {{"--port", "/dev/null", "reboot", "now"}, kExitUsage, "", "usage: zylctl --port DEVICE reboot"},
        {{"--port"}, kExitUsage, "", "--port needs a device"},
        {{"--port", "/dev/null"}, kExitUsage, "", "--port goes with info, download, upload, firmware and reboot\n"},
        {{"--port", "/dev/null", "check", "a.zyl"}, kExitUsage, "", "--port goes with"},
        {{"--port", "/dev/null", "--help"}, kExitUsage, "", "--port goes with"},
    };
    for (const auto& c : cases) {
        const CliRun run = zylctl(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.out.find(c.inOut), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(c.inErr), std::string::npos) << run.err;
    }
}

TEST_F(Zylctl, DumpShowsTheModelsFieldsAsUtf8) {
    TLayout layout;
    MakeRichLayout(layout);
    ASSERT_TRUE(layout.SaveTemplate(path("rich.zyl")));
    const CliRun run = zylctl({"dump", path("rich.zyl")});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    for (const char* expected :
         {"\"controlName\": \"Salle \xC3\xA0 manger\"", "\"defaultPageId\": 10001", "\"pages\": [",
          "\"name\": \"\xE4\xB8\xAD\xE6\x96\x87 page\"", "\"objects\": [", "\"upFace\": {", "\"entryPageId\": 10002",
          "\"downEvent\": \"LIGHT ON\"", "\"pin\": \"42\"", "\"sliderImageId\": 10002", "\"buttonLabels\": [",
          "\"textLines\": [", "\"sleepPage\": {", "\"guid\": \"", "\"width\": 4", "\"eventTexts\": [",
          "\"Event X text \xC3\xBC\""}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected;
    }

    TLayout fresh;
    ASSERT_TRUE(fresh.SaveTemplate(path("fresh.zyl")));
    EXPECT_NE(zylctl({"dump", path("fresh.zyl")}).out.find("\"sleepPage\": null"), std::string::npos);
}

TEST_F(Zylctl, DumpOfAPageFile) {
    TLayout layout;
    MakeRichLayout(layout);
    ASSERT_TRUE(layout.SavePage(static_cast<TUserPage&>(*layout.pages[0]), path("p.zup")));
    const CliRun run = zylctl({"dump", path("p.zup")});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out.rfind("{\n  \"page\": {", 0), 0u) << run.out.substr(0, 40);
    EXPECT_NE(run.out.find("\"images\": ["), std::string::npos);
    EXPECT_NE(run.out.find("\"id\": 10000"), std::string::npos);
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
        std::ofstream(path("huge.zyl"), std::ios::binary) << std::string(512001, '\0');
    }
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
        {"big-page.zup", kExitBadInput, "too large (300001 bytes; at most 300000)"},
        {"huge.zyl", kExitBadInput, "too large (512001 bytes; at most 512000)"},
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
