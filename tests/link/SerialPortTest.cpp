#include "PtyPair.h"
#include "link/CSerialException.h"
#include "link/CSerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// A deadline no read in these tests should reach: one that waited it out would have failed anyway.
constexpr int kNeverMs = 30000;

termios SlaveSettings(const PtyPair& pty) {
    termios settings{};
    EXPECT_EQ(::tcgetattr(pty.Master(), &settings), 0); // a master's termios calls reach its slave
    return settings;
}

TEST(SerialPortTest, OpenSetsARawLineAndCloseRestoresTheOldOne) {
    PtyPair pty;
    termios before = SlaveSettings(pty);
    before.c_lflag |= ICANON | ECHO | ISIG;
    before.c_iflag |= ICRNL | IXON | IXOFF;
    before.c_oflag |= OPOST | ONLCR;
    before.c_cc[VMIN] = 1;
    ::cfsetispeed(&before, B4800);
    ::cfsetospeed(&before, B4800);
    ASSERT_EQ(::tcsetattr(pty.Master(), TCSANOW, &before), 0);
    before = SlaveSettings(pty);

    CSerialPort port;
    port.Open(pty.SlavePath());
    port.SetImmediateReads();
    termios open = SlaveSettings(pty);
    EXPECT_EQ(::cfgetospeed(&open), static_cast<speed_t>(B9600));
    EXPECT_EQ(open.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(open.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0U);
    EXPECT_EQ(open.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(open.c_iflag & (IXON | IXOFF | IXANY | ICRNL), 0U);
    EXPECT_EQ(open.c_lflag & (ICANON | ECHO | ISIG), 0U);
    EXPECT_EQ(open.c_oflag & OPOST, 0U);
    EXPECT_EQ(open.c_cc[VMIN], 0);
    EXPECT_EQ(open.c_cc[VTIME], 0);

    port.SetBaudRate(115200);
    open = SlaveSettings(pty);
    EXPECT_EQ(::cfgetospeed(&open), static_cast<speed_t>(B115200));

    port.Close();
    EXPECT_FALSE(port.IsOpen());
    const termios after = SlaveSettings(pty);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_cc[VMIN], before.c_cc[VMIN]);
}

TEST(SerialPortTest, ASecondUserIsTurnedAwayAndTheFirstKeepsThePort) {
    PtyPair pty;
    CSerialPort first;
    first.Open(pty.SlavePath());
    CSerialPort second;
    try {
        second.Open(pty.SlavePath());
        ADD_FAILURE() << "opened twice";
    } catch (const CSerialException& e) {
        EXPECT_EQ(e.errorCode, static_cast<std::uint32_t>(EBUSY));
        EXPECT_NE(std::string(e.what()).find("another program"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(first.Write("%reboot\n"), 8U);
    EXPECT_EQ(pty.Receive(8), "%reboot\n");
    first.Close();
    second.Open(pty.SlavePath()); // freed by the close
}

TEST(SerialPortTest, OpeningAnotherDeviceLetsGoOfTheFirst) {
    PtyPair one;
    PtyPair two;
    CSerialPort port;
    port.Open(one.SlavePath());
    port.Open(two.SlavePath());
    EXPECT_EQ(port.DevicePath(), two.SlavePath());
    CSerialPort other;
    other.Open(one.SlavePath());
    EXPECT_TRUE(other.IsOpen());
}

TEST(SerialPortTest, OpeningErrorsNameCauseAndCure) {
    const auto folder = std::filesystem::temp_directory_path() / ("zyl-link-open-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto plainFile = folder / "not-a-tty";
    std::ofstream(plainFile) << "x";
    const struct {
        std::string device;
        int error;
        const char* advice;
    } cases[] = {
        {(folder / "ttyUSB9").string(), ENOENT, "plugged in"},
        {plainFile.string(), ENOTTY, "not a serial port"},
    };
    for (const auto& c : cases) {
        CSerialPort port;
        try {
            port.Open(c.device);
            ADD_FAILURE() << c.device << " opened";
        } catch (const CSerialException& e) {
            EXPECT_EQ(e.errorCode, static_cast<std::uint32_t>(c.error)) << c.device;
            EXPECT_NE(std::string(e.what()).find(c.advice), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.device), std::string::npos) << e.what();
        }
        EXPECT_FALSE(port.IsOpen());
    }
    std::filesystem::remove_all(folder);
}

TEST(SerialPortTest, PermissionDeniedPointsAtTheDialoutGroup) {
    PtyPair pty;
    ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0600), 0);
    // Root is never denied, so the attempt runs as an ordinary user in a child process.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            CSerialPort port;
            try {
                port.Open(pty.SlavePath());
            } catch (const CSerialException& e) {
                const bool named = std::string(e.what()).find("dialout") != std::string::npos;
                std::_Exit(e.errorCode == EACCES && named && !port.IsOpen() ? 0 : 1);
            }
            std::_Exit(2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(SerialPortTest, AClosedPortRaises) {
    CSerialPort port;
    std::uint8_t byte = 0;
    const struct {
        const char* name;
        std::function<void()> call;
    } cases[] = {
        {"ReadSome", [&] { port.ReadSome(&byte, 1); }},
        {"WaitReadable", [&] { port.WaitReadable(10); }},
        {"WriteBytes", [&] { port.WriteBytes(&byte, 1); }},
        {"SetBaudRate", [&] { port.SetBaudRate(9600); }},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.name;
        } catch (const CSerialException& e) {
            EXPECT_EQ(e.errorCode, static_cast<std::uint32_t>(EBADF)) << c.name;
        }
    }
    port.Close();
    port.Close();
}

TEST(SerialPortTest, ACountOfZeroOrLessReturnsAtOnce) {
    PtyPair pty;
    CSerialPort port;
    port.Open(pty.SlavePath());
    std::uint8_t buffer[200] = {};
    // Bytes are waiting, so a read that went ahead would take them.
    pty.Send("%return 0\r\n");
    EXPECT_EQ(port.Read(buffer, 0, kNeverMs), 0U);
    EXPECT_EQ(port.Read(buffer, -3, kNeverMs), 0U);
    EXPECT_EQ(port.Read(buffer, 11, kNeverMs), 11U) << "nothing was taken";
}

TEST(SerialPortTest, AnEndedPeerWakesAWaitingRead) {
    PtyPair pty;
    CSerialPort port;
    port.Open(pty.SlavePath());
    // Whether the close comes before or during the wait, the read ends with the device gone
    // rather than running out its deadline.
    std::thread peer([&] { pty.CloseMaster(); });
    std::uint8_t buffer[200] = {};
    EXPECT_THROW(port.Read(buffer, 200, kNeverMs), CSerialException);
    peer.join();
}

TEST(SerialPortTest, AWriteThatDoesNotDrainIsServicedAndCanBeAbandoned) {
    PtyPair pty; // nobody reads the panel's end, so the output queue fills and stays full
    CSerialPort port;
    port.Open(pty.SlavePath());
    const std::vector<std::uint8_t> bytes(1 << 20, 0x55);
    struct Abandoned {};
    int calls = 0;
    EXPECT_THROW(port.WriteBytesServiced(bytes.data(), bytes.size(), 20,
                                         [&] {
                                             if (++calls == 3)
                                                 throw Abandoned();
                                         }),
                 Abandoned);
    EXPECT_EQ(calls, 3);
    // What was still queued is gone, so a speed change (which waits for the queue) and the
    // close do not hang.
    port.SetBaudRate(9600);
    port.Close();
}

TEST(SerialExceptionTest, ErrorTexts) {
    const struct {
        std::uint32_t code;
        bool known;
        const char* text;
    } cases[] = {
        {EACCES, true, "Permission denied"},
        {ENODEV, true, "No such device"},
        {99999, false, ""},
        {0, false, ""},
    };
    for (const auto& c : cases) {
        const CSerialException e(c.code);
        std::string text = "stale";
        EXPECT_EQ(e.GetErrorMessage(text), c.known) << c.code;
        EXPECT_EQ(text, c.text) << c.code;
        char buffer[8] = "stale";
        unsigned help = 7;
        EXPECT_EQ(e.GetErrorMessage(buffer, sizeof buffer, &help), c.known);
        EXPECT_EQ(std::string(buffer), std::string(c.text).substr(0, 7)); // cut to fit, terminated
        EXPECT_EQ(help, 0U);
    }
}

TEST(SerialExceptionTest, ZeroMeansTheLastError) {
    const struct {
        std::uint32_t given;
        int lastError;
        std::uint32_t carried;
    } cases[] = {{0, ENODEV, ENODEV}, {EIO, ENODEV, EIO}};
    for (const auto& c : cases) {
        errno = c.lastError;
        try {
            ThrowSerialException(c.given);
            ADD_FAILURE() << "nothing thrown for " << c.given;
        } catch (const CSerialException& e) {
            EXPECT_EQ(e.errorCode, c.carried);
        }
    }
}

} // namespace
