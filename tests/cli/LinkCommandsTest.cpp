#include "cli/LinkCommands.h"
#include "CliRun.h"
#include "CraftedImages.h"
#include "QuickTiming.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "cli/Zylctl.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "link/PortEnumeration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class LinkCommands : public ::testing::Test {
protected:
    void start(const std::vector<std::string>& arguments = {}) {
        sim.reset();
        sim = std::make_unique<SimProcess>(arguments, state.Path(), runtime.Path());
        ASSERT_FALSE(sim->DevicePath().empty());
    }
    CliRun run(const std::string& command, const std::vector<std::string>& operands = {},
               const Session::UploadOptions& upload = {}) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunLinkCommand(command, sim->DevicePath(), operands, out, err, simulatorTiming(), upload);
        return {status, out.str(), err.str()};
    }
    TempFolder state;
    TempFolder runtime;
    TempDir files;
    std::unique_ptr<SimProcess> sim;
};

TEST_F(LinkCommands, InfoPrintsTheVersionsOrSaysThePanelIsSilent) {
    start();
    CliRun r = run("info");
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "Hardware Version: 3\nFirmware Version: 221\n");
    start({"--no-info"});
    r = run("info");
    EXPECT_EQ(r.status, kExitBadInput);
    EXPECT_EQ(r.err, "zylctl info: the control did not answer the request for its versions\n");
}

TEST_F(LinkCommands, UploadThenDownloadGivesTheSameLayout) {
    start();
    CliRun r = run("download", {files.Path("demo.zyl")});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    TLayout demo;
    ASSERT_TRUE(demo.LoadTemplate(files.Path("demo.zyl")));
    EXPECT_FALSE(demo.pages.empty());

    TLayout edited;
    edited.controlName = u"From the command line";
    ASSERT_TRUE(edited.SaveTemplate(files.Path("edited.zyl")));
    r = run("upload", {files.Path("edited.zyl")}, {.verify = true});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    r = run("download", {files.Path("back.zyl")});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    std::vector<std::uint8_t> sent;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(files.Path("edited.zyl"), 1 << 20, sent, nullptr));
    ASSERT_TRUE(ReadWholeFile(files.Path("back.zyl"), 1 << 20, back, nullptr));
    EXPECT_EQ(back, sent);
}

// A panel whose memory fails acknowledges the layout; only reading it back shows the damage.
TEST_F(LinkCommands, UploadVerifyFailsOnAPanelThatKeepsTheLayoutDamaged) {
    ASSERT_TRUE(TLayout().SaveTemplate(files.Path("t.zyl")));
    start({"--damage-store", "2500"});
    const CliRun r = run("upload", {files.Path("t.zyl")}, {.verify = true});
    EXPECT_EQ(r.status, kExitBadInput);
    EXPECT_THAT(r.err, ::testing::StartsWith("zylctl upload: the layout read back from the control differs from "
                                             "the one sent, first in block 2 of "));
}

// A block refused once slows the upload down, which is worth a note but no failure.
TEST_F(LinkCommands, AFallBackToFullWindowsIsANote) {
    TLayout layout;
    ASSERT_TRUE(layout.SaveTemplate(files.Path("t.zyl")));
    const struct {
        bool fullWindows;
        std::string err;
    } cases[] = {
        {false, "zylctl upload: The control did not acknowledge block 1 at once; the rest of the upload waits the "
                "full reply windows\n"},
        {true, ""},
    };
    for (const auto& c : cases) {
        start({"--nak-every", "2"});
        const CliRun r = run("upload", {files.Path("t.zyl")}, {.fullWindows = c.fullWindows});
        EXPECT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(r.err, c.err);
    }
}

// The panel takes a few KB more than a template file holds: such a layout downloads whole but
// cannot be saved, and the message says so instead of advising to remove images.
TEST_F(LinkCommands, ADownloadTooLargeForATemplateSaysItCanStillBeEdited) {
    TLayout big;
    auto* page = static_cast<TUserPage*>(big.InsertPageAfter(std::make_unique<TUserPage>(&big, u"p"), nullptr));
    AddKeptImage(big, *page, std::vector<std::uint8_t>(495000, 'x'));
    std::string why;
    const auto image = big.Encode(TLayout::kUploadCapacity, &why);
    ASSERT_TRUE(image) << why;
    ASSERT_GT(image->size() + 4, static_cast<std::size_t>(TLayout::kTemplateCapacity));
    std::ofstream(state.Path() + "/layout.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
    start();
    const CliRun r = run("download", {files.Path("big.zyl")});
    EXPECT_EQ(r.status, kExitBadInput);
    EXPECT_EQ(r.err, "zylctl download: the layout from the control would take " + std::to_string(image->size() + 4) +
                         " bytes as a template file, which holds at most 500000, so it cannot be kept in \"" +
                         files.Path("big.zyl") +
                         "\"; nothing was written. It can still be edited and uploaded: Connect in the main window "
                         "downloads it for editing\n");
    EXPECT_FALSE(std::filesystem::exists(files.Path("big.zyl")));
}

TEST_F(LinkCommands, RefusalsAreOneLine) {
    start({"--firmware", "205"});
    TLayout layout;
    ASSERT_TRUE(layout.SaveTemplate(files.Path("t.zyl")));
    struct Case {
        std::string command;
        std::vector<std::string> operands;
        const char* reason;
    };
    std::ofstream(files.Path("empty.zfw")).close();
    const Case cases[] = {
        {"upload", {files.Path("t.zyl")}, "does not take layout uploads"},
        {"upload", {files.Path("missing.zyl")}, "No such file"},
        {"firmware", {files.Path("empty.zfw")}, "empty"},
        {"firmware", {files.Path("missing.zfw")}, "No such file"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.command, c.operands);
        EXPECT_EQ(r.status, kExitBadInput) << c.command;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST_F(LinkCommands, FirmwareLandsAndRebootAnswers) {
    start();
    std::vector<char> firmware(2500);
    for (std::size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<char>(i * 13);
    std::ofstream(files.Path("f.zfw"), std::ios::binary).write(firmware.data(), 2500);
    CliRun r = run("firmware", {files.Path("f.zfw")});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    std::vector<std::uint8_t> landed;
    ASSERT_TRUE(ReadWholeFile(state.Path() + "/firmware.zfw", 10000, landed, nullptr));
    EXPECT_EQ(landed.size(), 2500u);
    // The panel restarts after taking firmware; it answers again once it is back.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (run("info").status != kExitOk && std::chrono::steady_clock::now() < deadline) {
    }
    r = run("reboot");
    EXPECT_EQ(r.status, kExitOk) << r.err;
}

// The published simulator is listed as the main window lists it, in the one-line form scripts read.
TEST_F(LinkCommands, PortsListsTheRunningSimulator) {
    start();
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved != nullptr ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    const CliRun r = zylctl({"ports"});
    if (saved != nullptr)
        ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");

    EXPECT_EQ(r.status, kExitOk) << r.err;
    const std::string line = sim->DevicePath() + "\tZYL-1 simulator (" + sim->DevicePath() + ")\n";
    EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
    std::istringstream lines(r.out);
    for (std::string port; std::getline(lines, port);)
        EXPECT_EQ(std::count(port.begin(), port.end(), '\t'), 1) << port;
}

TEST(PortsCommand, OneLinePerPortAndNothingForNone) {
    const struct {
        std::vector<PortEntry> ports;
        const char* out;
        const char* err;
    } cases[] = {
        {{}, "", "zylctl ports: no serial ports found\n"},
        {{{"/dev/ttyUSB0", "ttyUSB0 \xE2\x80\x94 FT232R USB UART"}, {"/dev/ttyS0", "ttyS0 \xE2\x80\x94 serial port"}},
         "/dev/ttyUSB0\tttyUSB0 \xE2\x80\x94 FT232R USB UART\n/dev/ttyS0\tttyS0 \xE2\x80\x94 serial port\n",
         ""},
        // A name read from the device or a simulator's file cannot split the line or the columns.
        {{{"/dev/pts/3", "odd\tname\nsecond line\r"}}, "/dev/pts/3\todd name second line \n", ""},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunPortsCommand(out, err, [&] { return c.ports; }), kExitOk);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
    }
}

TEST(LinkCommandUsage, NeedsAPortAndTheRightOperands) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* text;
    };
    const Case cases[] = {
        {{"info"}, kExitUsage, "usage: zylctl --port DEVICE info"},
        {{"--port"}, kExitUsage, "--port: 1 required DEVICE missing"},
        {{"--port", "/dev/x", "download"}, kExitUsage, "usage: zylctl --port DEVICE download OUT.zyl"},
        {{"--port", "/dev/x", "new", "a.zyl"}, kExitUsage, "--port goes with"},
        {{"--port", "/dev/zyl-no-such-port", "info"}, kExitBadInput, "/dev/zyl-no-such-port"},
        {{"info", "--port", "/dev/zyl-no-such-port"}, kExitBadInput, "/dev/zyl-no-such-port"},
        {{"--port", "/dev/x", "firmware", "a.zfw", "b.zfw"},
         kExitUsage,
         "usage: zylctl --port DEVICE firmware FILE.zfw"},
        {{"upload", "--help"}, kExitOk, "usage: zylctl --port DEVICE upload IN.zyl"},
        {{"upload", "--help"}, kExitOk, "--verify"},
        {{"--port", "/dev/x", "upload", "missing.zyl", "--verify"}, kExitBadInput, "missing.zyl"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunZylctl(c.args, out, err), c.status) << c.args.back();
        EXPECT_NE((out.str() + err.str()).find(c.text), std::string::npos) << out.str() << err.str();
    }
}

} // namespace
