// The promises every SerialIo keeps, checked on the in-memory fake and on a real pty, so the
// fake the framing tests rely on behaves like the device.
#include "FakeSerialPeer.h"
#include "PtyPair.h"
#include "link/CSerialException.h"
#include "link/CSerialPort.h"
#include "link/DeadlineRead.h"
#include "link/SteadyLinkClock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

class LineHarness {
public:
    virtual ~LineHarness() = default;
    virtual SerialIo& Io() = 0;
    virtual LinkClock& Clock() = 0;
    virtual void PeerSend(const std::string& bytes) = 0;
    virtual std::string PeerReceive(std::size_t count) = 0;
    virtual void PeerVanish() = 0;
};

class FakeHarness : public LineHarness {
public:
    SerialIo& Io() override { return peer; }
    LinkClock& Clock() override { return clock; }
    void PeerSend(const std::string& bytes) override { peer.Send(bytes); }
    std::string PeerReceive(std::size_t count) override {
        std::string all;
        for (const auto& event : clock.events)
            if (event.kind == LineEvent::Kind::Write)
                all += event.bytes;
        return all.substr(0, count);
    }
    void PeerVanish() override { peer.VanishAt(clock.now); }

private:
    FakeLinkClock clock;
    FakeSerialPeer peer{clock};
};

class PtyHarness : public LineHarness {
public:
    PtyHarness() { port.Open(pty.SlavePath()); }
    SerialIo& Io() override { return port; }
    LinkClock& Clock() override { return clock; }
    void PeerSend(const std::string& bytes) override { pty.Send(bytes); }
    std::string PeerReceive(std::size_t count) override { return pty.Receive(count); }
    void PeerVanish() override { pty.CloseMaster(); }

private:
    PtyPair pty;
    CSerialPort port;
    SteadyLinkClock clock;
};

struct Implementation {
    const char* name;
    std::function<std::unique_ptr<LineHarness>()> make;
};

void PrintTo(const Implementation& implementation, std::ostream* out) {
    *out << implementation.name;
}

class SerialIoContract : public ::testing::TestWithParam<Implementation> {
protected:
    void SetUp() override { line = GetParam().make(); }
    std::string ReadAll(std::size_t count, std::uint32_t timeoutMs = 1000) {
        std::string bytes(count, '\0');
        const std::size_t got = ReadWithDeadline(line->Io(), line->Clock(),
                                                 reinterpret_cast<std::uint8_t*>(bytes.data()), count, timeoutMs);
        bytes.resize(got);
        return bytes;
    }
    std::unique_ptr<LineHarness> line;
};

std::string EveryByte() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

TEST_P(SerialIoContract, ASilentLineReadsNothingAndWaitsTheWholeTime) {
    std::uint8_t byte = 0;
    EXPECT_EQ(line->Io().ReadSome(&byte, 1), 0U);
    const std::uint32_t start = line->Clock().NowMs();
    EXPECT_FALSE(line->Io().WaitReadable(30));
    EXPECT_GE(line->Clock().NowMs() - start, 29U);
}

TEST_P(SerialIoContract, EveryByteValueArrivesUntouchedAndInOrder) {
    line->PeerSend(EveryByte());
    const std::uint32_t start = line->Clock().NowMs();
    EXPECT_EQ(ReadAll(256), EveryByte());
    EXPECT_LT(line->Clock().NowMs() - start, 500U); // all bytes in: no waiting out the deadline
}

TEST_P(SerialIoContract, ReadSomeTakesNoMoreThanAsked) {
    line->PeerSend("0123456789");
    ASSERT_TRUE(line->Io().WaitReadable(1000));
    std::uint8_t buffer[4] = {};
    const std::size_t first = line->Io().ReadSome(buffer, sizeof buffer);
    EXPECT_GE(first, 1U);
    EXPECT_LE(first, 4U);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), first) + ReadAll(10 - first), "0123456789");
}

TEST_P(SerialIoContract, EveryByteValueIsWrittenUntouched) {
    const std::string bytes = EveryByte();
    line->Io().WriteBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    EXPECT_EQ(line->PeerReceive(256), bytes);
}

TEST_P(SerialIoContract, ShortReplyCostsTheWholeDeadline) {
    line->PeerSend("%return");
    const std::uint32_t start = line->Clock().NowMs();
    EXPECT_EQ(ReadAll(200, 100), "%return");
    EXPECT_GE(line->Clock().NowMs() - start, 100U);
}

TEST_P(SerialIoContract, SpeedsTheLinkUsesAreTakenOthersRefused) {
    line->Io().SetBaudRate(115200);
    line->Io().SetBaudRate(9600);
    try {
        line->Io().SetBaudRate(12345);
        ADD_FAILURE() << "an odd speed was taken";
    } catch (const CSerialException& e) {
        EXPECT_EQ(e.errorCode, static_cast<std::uint32_t>(EINVAL));
    }
}

TEST_P(SerialIoContract, AVanishedPeerRaisesInsteadOfReadingAsSilence) {
    line->PeerVanish();
    const std::uint32_t start = line->Clock().NowMs();
    EXPECT_THROW(
        {
            std::uint8_t byte = 0;
            for (int i = 0; i < 3; ++i) {
                line->Io().WaitReadable(1000);
                line->Io().ReadSome(&byte, 1);
            }
        },
        CSerialException);
    EXPECT_LT(line->Clock().NowMs() - start, 1000U);
}

INSTANTIATE_TEST_SUITE_P(Implementations, SerialIoContract,
                         ::testing::Values(Implementation{"Fake", [] { return std::make_unique<FakeHarness>(); }},
                                           Implementation{"Pty", [] { return std::make_unique<PtyHarness>(); }}),
                         [](const ::testing::TestParamInfo<Implementation>& info) { return info.param.name; });

} // namespace
