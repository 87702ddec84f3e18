// A firmware upgrade started while disconnected opens the port itself; when it ends without
// sending, the window shows Disconnected and the port must be free for another program.
#include "SessionOnSimulator.h"

#include "link/CSerialPort.h"

#include <gmock/gmock.h>

namespace {

using PortRelease = SessionOnSimulator;

TEST_F(PortRelease, AFirmwareUpgradeThatSendsNothingLetsGoOfThePort) {
    const struct {
        const char* name;
        std::function<std::optional<std::string>(TempDir&)> choose;
        const char* logged; // nullptr: nothing is logged
    } cases[] = {
        {"no file chosen", [](TempDir&) { return std::nullopt; }, nullptr},
        {"a missing file", [](TempDir& d) { return d.Path("missing.zfw"); }, "Firmware not sent: "},
        {"an empty file", [](TempDir& d) { return d.Write("empty.zfw", {}); }, nullptr},
    };
    start({});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.firmwareFile = c.choose(files);
        const std::size_t logBefore = session->Log().size();
        session->OnUpgradeFirmware(sim->DevicePath());
        const std::string said = session->Log().substr(logBefore);
        if (c.logged)
            EXPECT_THAT(said, ::testing::StartsWith(c.logged));
        else
            EXPECT_EQ(said, "");
        EXPECT_FALSE(session->LastProblem().empty());
        EXPECT_EQ(session->GetState(), Session::State::Disconnected);
        CSerialPort other;
        EXPECT_NO_THROW(other.Open(sim->DevicePath()));
    }
    EXPECT_FALSE(stateFile("firmware.zfw"));
}

} // namespace
