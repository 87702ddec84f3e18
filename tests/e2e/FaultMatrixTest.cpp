// Every fault the simulator can put on the line, against every transfer, driven through the
// session as the main window drives it: each ends with the right bytes, or by the user's Cancel
// with nothing lost.
#include "SessionOnSimulator.h"

#include "link/CSerialPort.h"
#include "link/Transfers.h"

#include <gmock/gmock.h>

#include <tuple>

namespace {

using std::chrono::milliseconds;
using State = Session::State;

struct FaultCase {
    const char* name;
    std::vector<std::string> arguments;
    // The panel falls silent during the transfer, so only a cancel ends it.
    bool silent = false;
    bool lineRate = false;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

// A transfer as the main window starts it; an upload either ends each block's window at the
// acknowledgement, falling back to full windows at the first trouble, or waits them all.
struct Run {
    Transfer transfer;
    bool fullWindows = false;
};

void PrintTo(const Run& r, std::ostream* out) {
    *out << nameOf(r.transfer) << (r.fullWindows ? "FullWindows" : "");
}

// The part of the fall-back's log line that does not name the block.
const std::string kFellBack = "at once; the rest of the upload waits the full reply windows\r\n";

// On a wire with real byte times a speed command needs its own time at 9600 before the switch.
// The simulator also learns the tool's speed only when it reads the bytes: held back by the
// scheduler past the pause, it would read the command at the new speed as garbage, stay at the
// old speed and leave every later block unanswered. A second covers any stall of a loaded machine.
LinkTiming lineRateTiming() {
    LinkTiming t = simulatorTiming();
    t.downloadSpeedUpPause = 1000;
    t.uploadSpeedUpPause = 1000;
    t.firmwareSpeedUpPause = 1000;
    t.lowBaudToSwitch = 1000;
    return t;
}

std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

std::vector<std::uint8_t> firmwareBytes() {
    std::vector<std::uint8_t> b(2500);
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + i / 256 + 2);
    return b;
}

class FaultMatrix : public SessionOnSimulator, public ::testing::WithParamInterface<std::tuple<FaultCase, Run>> {
protected:
    // Commands the panel answers before the transfer's first: the probe and the handshake; for
    // an upload also the download of a connect (speed up, size, each block, slow down).
    int commandsBeforeTransfer(Transfer t) const {
        const int blocks = static_cast<int>((panelLayout.size() + 4 + 999) / 1000);
        switch (t) {
        case Transfer::Download:
            return 2;
        case Transfer::Upload:
            return 2 + 3 + blocks;
        case Transfer::Firmware:
            return 1; // from Disconnected the firmware upgrade only probes
        }
        return 0;
    }
};

TEST_P(FaultMatrix, EndsWholeOrByCancel) {
    const auto& [fault, how] = GetParam();
    const Transfer transfer = how.transfer;
    std::vector<std::string> arguments = fault.arguments;
    if (fault.silent)
        arguments = {"--silent-after", std::to_string(commandsBeforeTransfer(transfer))};
    start(arguments, fault.lineRate ? lineRateTiming() : simulatorTiming());
    const std::string device = sim->DevicePath();
    if (transfer == Transfer::Upload) {
        session->OnConnect(device);
        ASSERT_TRUE(session->LayoutReceived()) << session->Log();
        layout.controlName = u"Sent over a faulty line";
    }
    if (fault.silent)
        host.cancelAfter = milliseconds(500);
    const auto firmware = firmwareBytes();
    host.firmwareFile = files.Write("new.zfw", firmware);
    const auto layoutBefore = encoded(layout);
    const std::size_t logBefore = session->Log().size();

    session->SetUploadOptions({how.fullWindows, false});
    run(transfer, device);
    const std::string said = session->Log().substr(logBefore);
    SCOPED_TRACE(said);

    if (fault.silent) {
        const char* cancelled[] = {"Layout download cancelled; the layout being edited is unchanged\r\n",
                                   "Layout upload cancelled\r\n",
                                   "Firmware upgrade cancelled; the control keeps its firmware\r\n"};
        EXPECT_EQ(session->LastProblem(), "cancelled");
        EXPECT_THAT(said, ::testing::EndsWith(cancelled[static_cast<int>(transfer)]));
        EXPECT_EQ(encoded(layout), layoutBefore);
        EXPECT_EQ(stateFile("layout.bin"), panelLayout);
        EXPECT_FALSE(stateFile("firmware.zfw"));
        EXPECT_EQ(session->GetState(), transfer == Transfer::Firmware ? State::Disconnected : State::IdentifiedUploads);
        // A window that shows Disconnected holds no port: another program may take it.
        if (session->GetState() == State::Disconnected) {
            CSerialPort other;
            EXPECT_NO_THROW(other.Open(device));
        }
        return;
    }
    EXPECT_NE(session->LastProblem(), "cancelled");
    switch (transfer) {
    case Transfer::Download:
        EXPECT_TRUE(session->LayoutReceived());
        EXPECT_EQ(encoded(layout), downloaded);
        EXPECT_THAT(said, ::testing::EndsWith(kDownloadedText));
        EXPECT_EQ(session->GetState(), State::IdentifiedUploads);
        break;
    case Transfer::Upload:
        // The panel's reply to the trailer may itself be damaged; what it stored is what counts.
        EXPECT_NE(encoded(layout), downloaded);
        EXPECT_EQ(stateFile("layout.bin"), encoded(layout));
        EXPECT_EQ(session->GetState(), State::IdentifiedUploads);
        // A clean fall-back is told once; full windows from the start have nothing to fall from.
        EXPECT_LE(CountOf(said, kFellBack), how.fullWindows ? 0U : 1U);
        break;
    case Transfer::Firmware:
        EXPECT_EQ(stateFile("firmware.zfw"), firmware);
        EXPECT_THAT(said, ::testing::EndsWith(kFirmwareUpdatedText));
        EXPECT_EQ(session->GetState(), State::Disconnected);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Each, FaultMatrix,
    ::testing::Combine(::testing::Values(FaultCase{"BlocksOf600", {"--block-size", "600"}},
                                         FaultCase{"Corrupt", {"--corrupt-every", "3"}},
                                         FaultCase{"BadLength", {"--bad-length-every", "3"}},
                                         FaultCase{"Refusal", {"--nak-every", "2"}},
                                         FaultCase{"DroppedByte", {"--drop-every", "4"}},
                                         FaultCase{"StrayByte", {"--extra-every", "2"}}, FaultCase{"Silence", {}, true},
                                         FaultCase{"LineRate", {"--line-rate", "--seed", "5"}, false, true}),
                       ::testing::Values(Run{Transfer::Download}, Run{Transfer::Upload}, Run{Transfer::Upload, true},
                                         Run{Transfer::Firmware})),
    [](const auto& info) {
        const Run& how = std::get<1>(info.param);
        return std::string(std::get<0>(info.param).name) + nameOf(how.transfer) +
               (how.fullWindows ? "FullWindows" : "");
    });

} // namespace
