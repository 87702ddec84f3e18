// The panel's line goes dead mid-transfer, as when the USB adapter is pulled: the simulator is
// killed outright, so its end of the pty closes and the tool's end hangs up.
#include "SessionOnSimulator.h"

#include <gmock/gmock.h>

#include <csignal>

namespace {

using Clock = std::chrono::steady_clock;
using State = Session::State;

class UnpluggedPanel : public SessionOnSimulator, public ::testing::WithParamInterface<Transfer> {};

std::vector<std::uint8_t> read(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, 10'000'000, bytes, nullptr)) << path;
    return bytes;
}

TEST_P(UnpluggedPanel, IsReportedAtOnceAndNothingIsLost) {
    const Transfer transfer = GetParam();
    start({});
    const std::string device = sim->DevicePath();
    if (transfer == Transfer::Upload) {
        session->OnConnect(device);
        ASSERT_TRUE(session->LayoutReceived()) << session->Log();
        layout.controlName = u"Never reaches the panel";
    }
    ASSERT_TRUE(layout.SaveTemplate(files.Path("mine.zyl")));
    const auto templateBefore = read(files.Path("mine.zyl"));
    std::vector<std::uint8_t> firmware(2500);
    for (std::size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<std::uint8_t>(i * 31 + 5);
    host.firmwareFile = files.Write("new.zfw", firmware);
    const auto layoutBefore = encoded(layout);
    const std::size_t logBefore = session->Log().size();

    // Pulled once the transfer is under way and before it ends.
    std::optional<Clock::time_point> pulledAt;
    std::optional<Clock::time_point> reportedAt;
    host.user.onProgress = [&](int permille) {
        if (pulledAt || permille <= 0 || permille >= 1000)
            return;
        sim->Stop(SIGKILL);
        pulledAt = Clock::now();
    };
    host.onLog = [&] {
        if (pulledAt && !reportedAt)
            reportedAt = Clock::now();
    };
    run(transfer, device);
    const std::string said = session->Log().substr(logBefore);
    SCOPED_TRACE(said);
    ASSERT_TRUE(pulledAt) << "the transfer never got under way";
    ASSERT_TRUE(reportedAt) << "nothing was logged after the line went dead";
    // The hang-up wakes the session's wait at once (milliseconds; recorded below); the promise is
    // a second, and the whole of it is the margin for a loaded machine. That a vanished device ends
    // every wait at the very moment is proven on virtual time in the link's own tests.
    const auto latency = std::chrono::duration_cast<std::chrono::milliseconds>(*reportedAt - *pulledAt);
    RecordProperty("reportedAfterMs", static_cast<int>(latency.count()));
    EXPECT_LE(latency, std::chrono::seconds(1));
    EXPECT_THAT(said, ::testing::HasSubstr("the device has gone away"));
    EXPECT_THAT(said, ::testing::EndsWith(session->LastProblem() + "\r\n"));
    EXPECT_EQ(session->GetState(), State::Disconnected);
    EXPECT_EQ(session->ConnectCaption(), "Connect");
    EXPECT_FALSE(session->LayoutReceived());

    EXPECT_EQ(encoded(layout), layoutBefore);
    EXPECT_EQ(read(files.Path("mine.zyl")), templateBefore);
    EXPECT_EQ(read(files.Path("new.zfw")), firmware);
    EXPECT_EQ(stateFile("layout.bin"), panelLayout);
    EXPECT_FALSE(stateFile("firmware.zfw"));
}

INSTANTIATE_TEST_SUITE_P(During, UnpluggedPanel,
                         ::testing::Values(Transfer::Download, Transfer::Upload, Transfer::Firmware),
                         [](const auto& info) { return nameOf(info.param); });

} // namespace
