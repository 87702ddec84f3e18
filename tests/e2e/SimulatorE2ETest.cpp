#include "QuickTiming.h"
#include "SimProcess.h"

#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "link/CSerialPort.h"
#include "link/LinkFraming.h"
#include "link/PortEnumeration.h"
#include "link/SteadyLinkClock.h"
#include "link/TransferCancelled.h"
#include "link/TransferObserver.h"
#include "link/Transfers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <poll.h>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::vector<std::uint8_t> pattern(std::size_t length, std::uint8_t seed) {
    std::vector<std::uint8_t> b(length);
    for (std::size_t i = 0; i < length; ++i)
        b[i] = static_cast<std::uint8_t>(i * 13 + i / 256 + seed);
    return b;
}

// Waits for conditions end as soon as they hold; this long only when something is wrong.
constexpr auto kGenerous = std::chrono::seconds(30);

// Polls `condition` until it holds or the generous deadline passes.
template <typename Condition> bool eventually(Condition condition) {
    const auto deadline = Clock::now() + kGenerous;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

// Cancels when asked to, or after a generous limit so a broken link fails instead of hanging.
class Canceller : public TransferObserver {
public:
    void CancelAfter(milliseconds delay) { at = Clock::now() + delay; }
    bool cancelled() override { return Clock::now() >= at; }

private:
    Clock::time_point at = Clock::now() + std::chrono::seconds(60);
};

struct Connection {
    Connection(const std::string& device, const LinkTiming& timing) : link(port, clock, observer, timing) {
        port.Open(device);
    }
    std::optional<PanelVersions> Handshake() {
        ProbePanel(link);
        return RequestPanelInfo(link);
    }
    std::vector<std::uint8_t> Download() {
        const DownloadResult result = DownloadLayout(link);
        EXPECT_EQ(result.outcome, DownloadResult::Outcome::Downloaded);
        EXPECT_EQ(result.bytes.size(), static_cast<std::size_t>(result.announcedSize));
        if (result.bytes.size() < 4)
            return {};
        return {result.bytes.begin() + 4, result.bytes.end()};
    }

    CSerialPort port;
    SteadyLinkClock clock;
    Canceller observer;
    LinkFraming link;
};

class Simulator : public ::testing::Test {
protected:
    void start(const std::vector<std::string>& arguments = {}) {
        if (sim)
            stop();
        sim = std::make_unique<SimProcess>(arguments, state.Path(), runtime.Path());
        ASSERT_FALSE(sim->DevicePath().empty()) << "the simulator printed no device path";
    }
    // Stops the simulator and checks it leaves cleanly, taking its published port with it.
    void stop(int signal = SIGTERM) {
        const std::string published = sim->PublishedFile();
        const int status = sim->Stop(signal);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        EXPECT_FALSE(std::filesystem::exists(published));
        sim.reset();
    }
    void TearDown() override {
        if (sim)
            stop();
    }
    std::unique_ptr<Connection> connect(const LinkTiming& timing = simulatorTiming()) {
        return std::make_unique<Connection>(sim->DevicePath(), timing);
    }
    std::vector<std::uint8_t> stateFile(const char* name) {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(ReadWholeFile(state.Path() + "/" + name, 10'000'000, bytes, nullptr)) << name;
        return bytes;
    }

    TempFolder state;
    TempFolder runtime;
    std::unique_ptr<SimProcess> sim;
};

TEST_F(Simulator, ListsItselfAmongThePortsAndLeavesCleanlyOnEverySignal) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        start();
        PortSearchRoots roots;
        roots.devRoot = runtime.Path() + "/no-dev";
        roots.sysRoot = runtime.Path() + "/no-sys";
        roots.simulatorDirectory = runtime.Path() + "/zylmosaics/ports";
        const auto ports = EnumeratePorts(roots);
        ASSERT_EQ(ports.size(), 1u);
        EXPECT_EQ(ports[0].device, sim->DevicePath());
        EXPECT_EQ(ports[0].label, "ZYL-1 simulator (" + sim->DevicePath() + ")");
        stop(signal);
    }
}

TEST_F(Simulator, HandshakeAndDownloadAtThePanelsOwnPace) {
    start();
    auto c = connect(LinkTiming{});
    const auto versions = c->Handshake();
    ASSERT_TRUE(versions);
    EXPECT_EQ(ConnectedText(*versions), "Connected Succesfully\r\nHardware Version: 3\r\nFirmware Version: 221\r\n");
    const auto image = c->Download();
    TLayout layout;
    std::string error;
    ASSERT_TRUE(layout.Decode(image, &error)) << error;
    EXPECT_EQ(layout.pages.size(), 6u);
    EXPECT_NE(layout.sleepPage, nullptr);
    EXPECT_EQ(layout.pages[0]->name, u"Living room \u5BA2\u5385");
}

TEST_F(Simulator, ReportsTheVersionsItWasGiven) {
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::pair<int, int>> versions;
    };
    const Case cases[] = {
        {{}, std::pair{221, 3}},
        {{"--firmware", "205", "--hardware", "7"}, std::pair{205, 7}},
        {{"--no-info"}, std::nullopt},
    };
    for (const auto& c : cases) {
        start(c.arguments);
        const auto versions = connect()->Handshake();
        ASSERT_EQ(versions.has_value(), c.versions.has_value());
        if (versions) {
            EXPECT_EQ(versions->firmwareVersion, c.versions->first);
            EXPECT_EQ(versions->hardwareVersion, c.versions->second);
        }
    }
}

TEST_F(Simulator, GivesBackWhatWasUploadedNowAndAfterARestart) {
    start();
    for (const std::size_t length : {std::size_t{1500}, std::size_t{3000}}) {
        const auto payload = pattern(length, static_cast<std::uint8_t>(length));
        auto c = connect();
        ASSERT_TRUE(c->Handshake());
        EXPECT_EQ(UploadLayout(c->link, payload, TLayout::kUploadCapacity), "%return 0\r\n") << length;
        EXPECT_EQ(c->Download(), payload) << length;
        EXPECT_EQ(stateFile("layout.bin"), payload) << length;
    }
    start();
    EXPECT_EQ(connect()->Download(), pattern(3000, static_cast<std::uint8_t>(3000)));
}

TEST_F(Simulator, FirmwareLandsInTheStateFolderThenThePanelRestarts) {
    start();
    const auto firmware = pattern(2500, 99);
    {
        auto c = connect();
        EXPECT_EQ(UpgradeFirmware(c->link, firmware), "%return 0\r\n");
    }
    EXPECT_EQ(stateFile("firmware.zfw"), firmware);
    // Flashing and the restart take the panel away for a while; then the port opens again and it answers.
    EXPECT_TRUE(eventually([&] { return connect()->Handshake().has_value(); }));
}

// Whether the device is marked for exclusive use: 1 yes, 0 no, -1 unknown.
int exclusive(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == EBUSY ? 1 : -1;
    int flag = -1;
    if (::ioctl(fd, TIOCGEXCL, &flag) != 0)
        flag = -1;
    ::close(fd);
    return flag;
}

TEST_F(Simulator, LiftsTheToolsExclusiveHoldOnceTheToolCloses) {
    start();
    {
        auto c = connect();
        EXPECT_EQ(exclusive(sim->DevicePath()), 1);
        // Our own look closed the device too; the tool's hold must survive that. The simulator
        // takes the close notice before the bytes that follow it, so once it has answered a
        // handshake it has dealt with the close.
        ASSERT_TRUE(c->Handshake());
        EXPECT_EQ(exclusive(sim->DevicePath()), 1);
    }
    // The pty keeps the flag after the tool's close; the simulator clears it when it hears of the close.
    EXPECT_TRUE(eventually([&] { return exclusive(sim->DevicePath()) == 0; }));
    EXPECT_TRUE(connect()->Handshake());
}

// That the panel is deaf while it restarts is shown on virtual time in the engine's tests; here
// a request that lands in the restart would depend on how fast this machine is.
TEST_F(Simulator, RebootRestartsThePanelThenItAnswersAgain) {
    start();
    auto c = connect();
    ASSERT_TRUE(c->Handshake());
    Reboot(c->link);
    EXPECT_TRUE(eventually([&] { return RequestPanelInfo(c->link).has_value(); }));
}

// A tool that writes thousands of requests and reads none: what reaches it afterwards is bounded by
// the port's own buffer, not by how much it asked for, and a fresh request is answered soon.
TEST_F(Simulator, AToolThatStopsReadingIsNotBuriedInOldReplies) {
    start();
    const int fd = ::open(sim->DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });
    std::string flood;
    for (int i = 0; i < 20000; ++i)
        flood += "%reqblock 0\n";
    for (std::size_t at = 0; at < flood.size();) {
        const ssize_t n = ::write(fd, flood.data() + at, flood.size() - at);
        ASSERT_GT(n, 0) << std::strerror(errno);
        at += static_cast<std::size_t>(n);
    }

    // The first request may find the port still full and be lost, as on a wire; ask again
    // whenever the panel has gone quiet.
    constexpr std::string_view kInfo = "%return 221 3\r\n";
    std::string received;
    const auto deadline = Clock::now() + kGenerous;
    bool answered = false;
    while (!answered && Clock::now() < deadline) {
        ASSERT_EQ(::write(fd, "%reqinfo\n", 9), 9);
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 200) <= 0)
                break;
            char chunk[4096];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            ASSERT_GT(n, 0);
            received.append(chunk, static_cast<std::size_t>(n));
            if (received.find(kInfo) != std::string::npos) {
                answered = true;
                break;
            }
        }
    }
    ASSERT_TRUE(answered);
    // 20 000 block replies are 20 MB; the port holds a small part of that.
    EXPECT_LT(received.find(kInfo), std::size_t{1'000'000});
}

// How soon a cancel takes effect is proven on virtual time; here the real port and simulator
// must still end each transfer with TransferCancelled.
TEST_F(Simulator, ASilentPanelIsLeftByCancel) {
    struct Case {
        const char* name;
        void (*run)(Connection&);
    };
    const Case cases[] = {
        {"download", [](Connection& c) { static_cast<void>(DownloadLayout(c.link)); }},
        {"upload",
         [](Connection& c) { static_cast<void>(UploadLayout(c.link, pattern(1500, 3), TLayout::kUploadCapacity)); }},
        {"firmware", [](Connection& c) { static_cast<void>(UpgradeFirmware(c.link, pattern(2500, 4))); }},
    };
    for (const auto& k : cases) {
        // The probe and the handshake are answered, then nothing.
        start({"--silent-after", "2"});
        auto c = connect();
        ASSERT_TRUE(c->Handshake()) << k.name;
        c->observer.CancelAfter(milliseconds(400));
        EXPECT_THROW(k.run(*c), TransferCancelled) << k.name;
    }
}

} // namespace
