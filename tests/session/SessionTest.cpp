// The session over an in-memory panel and virtual time: what the window and zylctl rely on.
#include "session/Session.h"
#include "RecordingObserver.h"
#include "ScriptedPanel.h"
#include "TempDir.h"
#include "TestBytes.h"
#include "layout/TLayout.h"
#include "link/CSerialException.h"
#include "link/Transfers.h"
#include "session/PortFactory.h"
#include "session/SessionHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

using State = Session::State;

// The fake line seen as an opened port; counts the ports open at once.
class FakePort : public OpenedPort {
public:
    FakePort(FakeSerialPeer& peer, int& open) : peer(peer), open(open) { ++open; }
    ~FakePort() override { --open; }
    std::size_t ReadSome(std::uint8_t* buffer, std::size_t maxCount) override {
        return peer.ReadSome(buffer, maxCount);
    }
    bool WaitReadable(std::uint32_t timeoutMs) override { return peer.WaitReadable(timeoutMs); }
    void WriteBytes(const std::uint8_t* data, std::size_t length) override { peer.WriteBytes(data, length); }
    void WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                            const std::function<void()>& whileWaiting) override {
        peer.WriteBytesServiced(data, length, sliceMs, whileWaiting);
    }
    void SetBaudRate(std::uint32_t bitsPerSecond) override { peer.SetBaudRate(bitsPerSecond); }

private:
    FakeSerialPeer& peer;
    int& open;
};

class FakePorts : public PortFactory {
public:
    FakePorts(FakeSerialPeer& peer, FakeLinkClock& clock, int& open) : peer(peer), clock(clock), open(open) {}
    std::unique_ptr<OpenedPort> Open(const std::string&) override {
        // A second open of the one device fails as the real, exclusively held one does.
        if (open > 0)
            throw CSerialException(EBUSY);
        return std::make_unique<FakePort>(peer, open);
    }
    LinkClock& Clock() override { return clock; }

private:
    FakeSerialPeer& peer;
    FakeLinkClock& clock;
    int& open;
};

// What the window showed at a moment, and how much the panel had heard by then.
struct Shown {
    State state;
    std::string caption;
    bool upload;
    bool firmware;
    bool reboot;
    std::size_t commandsHeard;
};

class RecordingHost : public SessionHost {
public:
    RecordingHost(RecordingObserver& observer, FakeLinkClock& clock, ScriptedPanel& panel)
        : observer(observer), clock(clock), panel(panel) {}

    TransferObserver& BeginProgress(bool reading) override {
        progress.push_back({reading, Now()});
        if (cancelAtProgress)
            observer.cancelAt = clock.now;
        return observer;
    }
    void EndProgress() override {}
    TransferObserver& Watcher() override { return observer; }
    std::optional<std::string> ChooseFirmwareFile() override { return firmwareFile; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void StateChanged() override { states.push_back(Now()); }

    Shown Now() const {
        return {session->GetState(),
                session->ConnectCaption(),
                session->IsEnabled(Session::Command::UploadLayout),
                session->IsEnabled(Session::Command::UpgradeFirmware),
                session->IsEnabled(Session::Command::Reboot),
                panel.commands.size()};
    }

    Session* session = nullptr;
    std::optional<std::string> firmwareFile;
    bool cancelAtProgress = false;
    std::vector<std::pair<bool, Shown>> progress; // reading, and what the window behind showed
    std::vector<Shown> states;
    std::vector<std::string> messages;

private:
    RecordingObserver& observer;
    FakeLinkClock& clock;
    ScriptedPanel& panel;
};

std::vector<std::uint8_t> Encoded(TLayout& layout) {
    auto image = layout.Encode(TLayout::kUploadCapacity);
    return image ? *image : std::vector<std::uint8_t>{};
}

// One panel, one session and everything they talk through.
struct Rig {
    Rig() {
        layout.controlName = u"Being edited";
        session = std::make_unique<Session>(
            layout, host, [] { return std::vector<PortEntry>{}; },
            std::make_unique<FakePorts>(line.peer, line.clock, openPorts));
        host.session = session.get();
        TLayout fromPanel;
        fromPanel.controlName = u"From the panel";
        const auto image = Encoded(fromPanel);
        Serve(std::string(4, '\0') + std::string(image.begin(), image.end()));
    }

    // The panel holds these download bytes (a 4-byte prefix, then the image).
    void Serve(const std::string& bytes) {
        served = bytes;
        panel.sizeReply = "%return " + std::to_string(bytes.size()) + " 0\r\n";
        panel.blockReply = [this](std::int32_t index, int) {
            return ScriptedPanel::BlockReply(served.substr(static_cast<std::size_t>(index) * 1000, 1000));
        };
    }
    std::vector<std::uint8_t> ServedImage() const { return {served.begin() + 4, served.end()}; }
    bool Sent(const std::string& command) const {
        return std::find(panel.commands.begin(), panel.commands.end(), command) != panel.commands.end();
    }
    void Connect() {
        session->OnConnect("/dev/fake");
        ASSERT_EQ(session->GetState(), State::IdentifiedUploads) << session->Log();
    }
    std::string FirmwareFile() {
        const std::string bytes = TestBytes(2500);
        return files.Write("new.zfw", std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }

    FakeLine line;
    ScriptedPanel panel{line.peer, line.clock};
    int openPorts = 0;
    RecordingHost host{line.observer, line.clock, panel};
    TLayout layout;
    std::unique_ptr<Session> session;
    std::string served;
    TempDir files;
};

class SessionTest : public ::testing::Test {
protected:
    Rig& Fresh() {
        rig = std::make_unique<Rig>();
        return *rig;
    }
    std::unique_ptr<Rig> rig;
};

TEST_F(SessionTest, ConnectShowsTheConnectedStateBeforeTheHandshake) {
    Rig& t = Fresh();
    t.Connect();
    ASSERT_EQ(t.host.states.size(), 2U);
    const Shown& probed = t.host.states[0];
    EXPECT_EQ(probed.state, State::Unidentified);
    EXPECT_EQ(probed.caption, "Disconnect");
    EXPECT_FALSE(probed.upload);
    EXPECT_TRUE(probed.firmware);
    EXPECT_TRUE(probed.reboot);
    EXPECT_EQ(probed.commandsHeard, 1U) << "only the probe before the handshake";
    EXPECT_EQ(t.host.states[1].state, State::IdentifiedUploads);
    // The window behind the download's progress window shows the identified panel.
    ASSERT_EQ(t.host.progress.size(), 1U);
    EXPECT_TRUE(t.host.progress[0].first);
    EXPECT_EQ(t.host.progress[0].second.state, State::IdentifiedUploads);
    EXPECT_EQ(t.host.progress[0].second.caption, "Disconnect");
    EXPECT_TRUE(t.host.progress[0].second.upload);

    EXPECT_EQ(Encoded(t.layout), t.ServedImage());
    EXPECT_EQ(t.session->Log(), ConnectedText({206, 3}) + std::string(kDownloadedText));
    t.session->OnConnect("/dev/fake");
    EXPECT_EQ(t.host.states.back().state, State::Disconnected);
    EXPECT_EQ(t.host.states.back().caption, "Connect");
    EXPECT_EQ(t.openPorts, 0);
}

TEST_F(SessionTest, ABadDownloadLeavesTheLayoutAsItWas) {
    const struct {
        const char* name;
        std::function<void(Rig&)> arrange;
        const char* logged;
        State state;
    } cases[] = {
        {"damaged layout", [](Rig& t) { t.Serve(std::string(4, '\0') + std::string(300, '\xFF')); },
         "The layout from the control could not be read (", State::IdentifiedUploads},
        {"impossible size", [](Rig& t) { t.panel.sizeReply = "%return 3 0\r\n"; },
         "The control announced a layout of 3 bytes, which cannot be right; nothing was downloaded\r\n",
         State::IdentifiedUploads},
        {"device vanishes mid-transfer", [](Rig& t) { t.line.peer.VanishAt(4000); }, "", State::Disconnected},
    };
    for (const auto& c : cases) {
        Rig& t = Fresh();
        const std::vector<std::uint8_t> before = Encoded(t.layout);
        c.arrange(t);
        t.session->OnConnect("/dev/fake");
        EXPECT_EQ(Encoded(t.layout), before) << c.name;
        EXPECT_EQ(t.session->GetState(), c.state) << c.name;
        EXPECT_FALSE(t.session->LastProblem().empty()) << c.name;
        EXPECT_FALSE(t.session->LayoutReceived()) << c.name;
        const std::string log = t.session->Log();
        EXPECT_EQ(log.find(kDownloadedText), std::string::npos) << c.name;
        const std::string after = log.substr(ConnectedText({206, 3}).size());
        EXPECT_THAT(after, ::testing::StartsWith(c.logged)) << c.name;
        EXPECT_THAT(after, ::testing::EndsWith("\r\n")) << c.name;
        EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 1) << c.name << ": " << after;
        if (c.state == State::Disconnected) {
            EXPECT_EQ(after, t.session->LastProblem() + "\r\n") << c.name;
            EXPECT_EQ(t.openPorts, 0) << c.name;
            EXPECT_EQ(t.host.states.back().caption, "Connect") << c.name;
        }
    }
}

TEST_F(SessionTest, AnUnreadableReplyIsQuotedNotTakenForSilence) {
    const std::string kSize = "the control's reply to the request for its layout could not be read: \"";
    const std::string kVersions = "the control's reply to the request for its versions could not be read: \"";
    const std::string kIdentified = ConnectedText({206, 3});
    const struct {
        std::string infoReply;
        std::string sizeReply;
        std::string problem;
        State state;
        std::string log; // the window's log has no line of its own for it
    } cases[] = {
        {"", "%return 99999999999 0\r\n", kSize + "%return 99999999999 0\\r\\n\"", State::IdentifiedUploads,
         kIdentified},
        {"", "%return abc 0\r\n", kSize + "%return abc 0\\r\\n\"", State::IdentifiedUploads, kIdentified},
        {"", "%error\x01\r\n", kSize + "%error?\\r\\n\"", State::IdentifiedUploads, kIdentified},
        {"", "%return " + std::string(150, 'x'), kSize + "%return " + std::string(52, 'x') + "...\"",
         State::IdentifiedUploads, kIdentified},
        {"%return abc 3\r\n", "", kVersions + "%return abc 3\\r\\n\"", State::Unidentified,
         std::string(kNoResponseText)},
        {"%return 99999999999 3", "", kVersions + "%return 99999999999 3\"", State::Unidentified,
         std::string(kNoResponseText)},
    };
    for (const auto& c : cases) {
        Rig& t = Fresh();
        const std::vector<std::uint8_t> before = Encoded(t.layout);
        if (!c.infoReply.empty())
            t.panel.infoReply = c.infoReply;
        if (!c.sizeReply.empty())
            t.panel.sizeReply = c.sizeReply;
        t.session->OnConnect("/dev/fake");
        EXPECT_EQ(t.session->LastProblem(), c.problem);
        EXPECT_EQ(Encoded(t.layout), before) << c.problem;
        EXPECT_EQ(t.session->GetState(), c.state) << c.problem;
        EXPECT_EQ(t.session->Log(), c.log) << c.problem;
    }
}

TEST_F(SessionTest, AHangUpAfterTheLastBlockKeepsTheLayoutThenDisconnects) {
    Rig& t = Fresh();
    t.panel.onCommand = [&t](const std::string& line_) {
        if (line_ == "%lowbaud\n")
            t.line.peer.VanishAt(t.line.clock.now + 1);
    };
    t.session->OnConnect("/dev/fake");
    EXPECT_EQ(Encoded(t.layout), t.ServedImage());
    EXPECT_TRUE(t.session->LayoutReceived());
    EXPECT_EQ(t.session->GetState(), State::Disconnected);
    EXPECT_EQ(t.openPorts, 0);
    EXPECT_EQ(t.session->Log(),
              ConnectedText({206, 3}) + std::string(kDownloadedText) + t.session->LastProblem() + "\r\n");
}

TEST_F(SessionTest, UploadAndFirmwareWriteAndReport) {
    const struct {
        const char* name;
        bool firmware;
        std::string reply;
        std::string logged;
        State state;
        std::string problem;
        int refusedBlocks = 0; // the first packets are refused
        bool fullWindows = false;
    } cases[] = {
        {"upload", false, "%return 0\r\n", "", State::IdentifiedUploads, ""},
        // Said once, however many blocks go again after it.
        {"upload, falling back", false, "%return 0\r\n", FullWindowsText(0), State::IdentifiedUploads, "", 2},
        {"upload, full windows asked for", false, "%return 0\r\n", "", State::IdentifiedUploads, "", 2, true},
        {"upload, not acknowledged", false, "%return 1\r\n\x01", UnacknowledgedText("%return 1\r\n\x01", "layout"),
         State::IdentifiedUploads,
         "the control did not acknowledge the layout: it answered \"%return 1\\r\\n?\" instead of \"%return 0\\r\\n\""},
        {"firmware", true, "%return 0\r\n", std::string(kFirmwareUpdatedText), State::Disconnected, ""},
        {"firmware, not acknowledged", true, "%error\r\n",
         UnacknowledgedText("%error\r\n", "firmware") + std::string(kFirmwareUpdatedText), State::Disconnected,
         "the control did not acknowledge the firmware: it answered \"%error\\r\\n\" instead of \"%return 0\\r\\n\""},
    };
    for (const auto& c : cases) {
        Rig& t = Fresh();
        t.Connect();
        t.host.firmwareFile = t.FirmwareFile();
        t.panel.trailerReply = c.reply;
        t.panel.packetReply = [&](int packet) {
            return std::string(packet < c.refusedBlocks ? "%return 1\r\n" : "%return 0\r\n");
        };
        t.session->SetUploadOptions({c.fullWindows, false});
        const std::string logBefore = t.session->Log();
        if (c.firmware)
            t.session->OnUpgradeFirmware();
        else
            t.session->OnUploadLayout();
        EXPECT_EQ(t.session->Log(), logBefore + c.logged) << c.name;
        EXPECT_EQ(t.session->GetState(), c.state) << c.name;
        EXPECT_EQ(t.session->IsEnabled(Session::Command::UploadLayout), c.state == State::IdentifiedUploads) << c.name;
        EXPECT_EQ(t.session->LastProblem(), c.problem) << c.name;
        // "Writing Data to the Control".
        ASSERT_EQ(t.host.progress.size(), 2U) << c.name;
        EXPECT_FALSE(t.host.progress[1].first) << c.name;
        EXPECT_EQ(t.panel.trailers.size(), 1U) << c.name;
        EXPECT_EQ(t.line.peer.speed, 9600U) << c.name;
        EXPECT_EQ(t.openPorts, c.state == State::Disconnected ? 0 : 1) << c.name;
    }
}

// After Connect the panel serves the layout being edited, so a faithful read-back matches it.
TEST_F(SessionTest, AVerifiedUploadReadsTheLayoutBackAndNeverTakesIt) {
    const std::size_t length = Fresh().ServedImage().size();
    ASSERT_GT(length, 3000U);
    const std::string differs = "The layout read back from the control differs from the one sent";
    const std::string count = " of " + std::to_string(length / 1000 + 1) + "\r\n";
    const struct {
        const char* name;
        std::function<void(Rig&)> arrange;
        std::string logged;
        bool readBack = true;
    } cases[] = {
        {"as sent", [](Rig&) {}, "Layout verified\r\n"},
        {"the panel's own prefix", [](Rig& t) { t.served.replace(0, 4, "\xFF\xFF\xFF\xFF"); }, "Layout verified\r\n"},
        {"a byte in block 2", [](Rig& t) { t.served[4 + 2999] ^= 0x80; }, differs + ", first in block 2" + count},
        {"short", [](Rig& t) { t.Serve(t.served.substr(0, 4 + 2500)); },
         differs + " (2500 bytes instead of " + std::to_string(length) + "), first in block 2" + count},
        {"size unreadable", [](Rig& t) { t.panel.sizeReply = "%error\r\n"; },
         "Layout not verified: the control's reply to the request for its layout could not be read: "
         "\"%error\\r\\n\"\r\n"},
        {"cancelled",
         [](Rig& t) {
             t.panel.onCommand = [&t](const std::string& line) {
                 if (line == kLayoutRequest)
                     t.line.observer.cancelAt = t.line.clock.now;
             };
         },
         "Layout not verified: reading it back was cancelled\r\n"},
        {"upload not acknowledged", [](Rig& t) { t.panel.trailerReply = "%return 1\r\n"; },
         UnacknowledgedText("%return 1\r\n", "layout"), false},
    };
    for (const auto& c : cases) {
        Rig& t = Fresh();
        t.Connect();
        t.session->SetUploadOptions({.verify = true});
        const std::vector<std::uint8_t> before = Encoded(t.layout);
        const std::string logBefore = t.session->Log();
        c.arrange(t);
        t.session->OnUploadLayout();
        const std::string logged = t.session->Log().substr(logBefore.size());
        EXPECT_EQ(logged, c.logged) << c.name;
        EXPECT_EQ(t.session->LastProblem().empty(), logged == "Layout verified\r\n") << c.name;
        EXPECT_EQ(Encoded(t.layout), before) << c.name;
        ASSERT_EQ(t.host.progress.size(), c.readBack ? 3U : 2U) << c.name;
        EXPECT_TRUE(t.host.progress.back().first == c.readBack) << c.name << ": the read-back's window reads";
        EXPECT_EQ(t.session->GetState(), State::IdentifiedUploads) << c.name;
    }
}

TEST_F(SessionTest, CancelledTransfersSayWhatIsLeftAndSendNothingMore) {
    const struct {
        const char* name;
        std::function<void(Session&)> run;
        std::string logged;
    } cases[] = {
        {"upload", [](Session& s) { s.OnUploadLayout(); }, "Layout upload cancelled\r\n"},
        {"firmware", [](Session& s) { s.OnUpgradeFirmware(); },
         "Firmware upgrade cancelled; the control keeps its firmware\r\n"},
        {"download", [](Session& s) { s.OnConnect("/dev/fake"); },
         "Layout download cancelled; the layout being edited is unchanged\r\n"},
        {"reboot", [](Session& s) { s.OnReboot(); }, "Reboot cancelled; nothing was sent\r\n"},
    };
    for (const auto& c : cases) {
        Rig& t = Fresh();
        if (std::string(c.name) != "download")
            t.Connect();
        else
            t.host.cancelAtProgress = true;
        t.host.firmwareFile = t.FirmwareFile();
        const std::vector<std::uint8_t> before = Encoded(t.layout);
        const std::string logBefore = t.session->Log();
        const std::size_t heard = t.panel.commands.size();
        if (!t.host.cancelAtProgress)
            t.line.observer.cancelAt = t.line.clock.now;
        c.run(*t.session);
        EXPECT_EQ(t.session->Log().substr(logBefore.size()),
                  std::string(c.name) == "download" ? ConnectedText({206, 3}) + c.logged : c.logged)
            << c.name;
        EXPECT_EQ(t.session->LastProblem(), "cancelled") << c.name;
        EXPECT_EQ(Encoded(t.layout), before) << c.name;
        EXPECT_EQ(t.panel.commands.size(), std::string(c.name) == "download" ? 2U : heard) << c.name;
        EXPECT_TRUE(t.panel.packets.empty()) << c.name;
        EXPECT_EQ(t.session->GetState(), State::IdentifiedUploads) << c.name;
        EXPECT_EQ(t.line.peer.speed, 9600U) << c.name;
    }
}

TEST_F(SessionTest, ACancelDuringTheProbeOrHandshakeSendsNothingMore) {
    const struct {
        const char* name;
        std::uint32_t cancelAt;
        std::vector<std::string> heard;
    } cases[] = {
        {"before the probe", 0, {}},
        {"waiting after the probe", 300, {"$QPW\r\n"}},
        {"waiting for the versions", 1650, {"$QPW\r\n", "%reqinfo\n"}},
    };
    for (const auto& c : cases) {
        Rig& t = Fresh();
        t.line.observer.cancelAt = c.cancelAt;
        t.session->Identify("/dev/fake");
        EXPECT_THAT(t.panel.commands, ::testing::ElementsAreArray(c.heard)) << c.name;
        EXPECT_EQ(t.session->LastProblem(), "cancelled") << c.name;
        EXPECT_FALSE(t.session->Versions()) << c.name;
        EXPECT_THAT(t.session->Log(), ::testing::EndsWith("Cancelled before the control identified itself\r\n"))
            << c.name;
        EXPECT_LE(t.line.clock.now - c.cancelAt, 200U) << c.name;
    }
}

TEST_F(SessionTest, AnUnreadableFirmwareFileSendsNothing) {
    const struct {
        const char* name;
        std::function<std::string(TempDir&)> file;
    } cases[] = {
        {"missing", [](TempDir& d) { return d.Path("missing.zfw"); }},
        {"a folder",
         [](TempDir& d) {
             std::filesystem::create_directory(d.Path("folder.zfw"));
             return d.Path("folder.zfw");
         }},
    };
    for (const auto& c : cases) {
        Rig& t = Fresh();
        t.Connect();
        t.host.firmwareFile = c.file(t.files);
        const std::string logBefore = t.session->Log();
        const std::size_t heard = t.panel.commands.size();
        t.session->OnUpgradeFirmware();
        const std::string after = t.session->Log().substr(logBefore.size());
        EXPECT_THAT(after, ::testing::StartsWith("Firmware not sent: ")) << c.name;
        EXPECT_NE(after.find(*t.host.firmwareFile), std::string::npos) << c.name << ": " << after;
        EXPECT_EQ(t.panel.commands.size(), heard) << c.name;
        EXPECT_EQ(t.host.progress.size(), 1U) << c.name << ": no progress window for the firmware";
        EXPECT_EQ(t.session->GetState(), State::IdentifiedUploads) << c.name;
        EXPECT_EQ(t.openPorts, 1) << c.name;
    }
}

} // namespace
