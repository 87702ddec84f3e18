#include "sim/PtyPort.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

int speedOf(speed_t code) {
    switch (code) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    case B230400:
        return 230400;
    default:
        return 0;
    }
}

} // namespace

PtyPort::PtyPort() {
    try {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0)
            fail("posix_openpt");
        if (::fcntl(master, F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(master, F_SETFL, O_NONBLOCK) != 0)
            fail("fcntl on the pty master");
        if (::grantpt(master) != 0 || ::unlockpt(master) != 0)
            fail("grantpt");
        std::array<char, PATH_MAX> name{};
        if (::ptsname_r(master, name.data(), name.size()) != 0)
            fail("ptsname_r");
        devicePath = name.data();

        slave = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0)
            fail("open the pty slave");
        // What a UART offers before anyone configures it: raw bytes at the idle speed.
        termios settings{};
        if (::tcgetattr(slave, &settings) != 0)
            fail("tcgetattr");
        ::cfmakeraw(&settings);
        settings.c_cflag |= CLOCAL | CREAD;
        settings.c_cc[VMIN] = 0;
        settings.c_cc[VTIME] = 0;
        ::cfsetispeed(&settings, B9600);
        ::cfsetospeed(&settings, B9600);
        if (::tcsetattr(slave, TCSANOW, &settings) != 0)
            fail("tcsetattr");

        watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch < 0)
            fail("inotify_init1");
        if (::inotify_add_watch(watch, devicePath.c_str(), IN_CLOSE) < 0)
            fail("inotify_add_watch");
    } catch (...) {
        closeAll();
        throw;
    }
}

PtyPort::~PtyPort() {
    closeAll();
}

void PtyPort::closeAll() {
    for (int* fd : {&watch, &slave, &master}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

int PtyPort::ToolSpeed() const {
    // On a pty master the line settings asked for are the slave's, the ones the tool sets.
    termios settings{};
    if (::tcgetattr(master, &settings) != 0)
        return 0;
    return speedOf(::cfgetospeed(&settings));
}

// One read or write on the master: interrupted calls are retried, and "nothing now" (no data, no
// room, or no tool on the other end) counts as zero bytes.
namespace {

template <typename Call> std::size_t transfer(Call call, const char* what) {
    for (;;) {
        const ssize_t n = call();
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EIO)
            return 0;
        fail(what);
    }
}

} // namespace

std::size_t PtyPort::Read(std::uint8_t* buffer, std::size_t capacity) {
    return transfer([&] { return ::read(master, buffer, capacity); }, "read from the pty");
}

std::size_t PtyPort::Write(const std::uint8_t* bytes, std::size_t length) {
    return transfer([&] { return ::write(master, bytes, length); }, "write to the pty");
}

void PtyPort::ServiceWatch() {
    alignas(inotify_event) std::array<char, 4096> buffer{};
    bool closed = false;
    for (ssize_t n; (n = ::read(watch, buffer.data(), buffer.size())) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            closed |= (event->mask & (IN_CLOSE | IN_Q_OVERFLOW)) != 0;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (closed)
        releaseIfUnheld();
}

void PtyPort::releaseIfUnheld() {
    int exclusive = 0;
    if (::ioctl(slave, TIOCGEXCL, &exclusive) != 0 || exclusive == 0)
        return;
    // The tool locks the port while it has it open; if the lock is free, nobody does. Notices of
    // closes cannot be counted instead: the kernel merges identical ones.
    if (::flock(slave, LOCK_EX | LOCK_NB) != 0)
        return;
    ::ioctl(slave, TIOCNXCL);
    ::tcflush(slave, TCIFLUSH);
    ::flock(slave, LOCK_UN);
}
