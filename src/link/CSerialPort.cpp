#include "link/CSerialPort.h"

#include "link/CSerialException.h"
#include "link/DeadlineRead.h"
#include "link/SteadyLinkClock.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

namespace {

// Output that makes no progress for this long is a device that no longer takes bytes; without
// flow control a real line always drains, so only a stalled peer gets here.
constexpr int kWriteStallMs = 5000;

speed_t SpeedCode(std::uint32_t bitsPerSecond) {
    switch (bitsPerSecond) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    default:
        return B0;
    }
}

std::int64_t MonotonicMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// poll() that survives signals without stretching the wait.
int PollRetrying(pollfd& fd, int timeoutMs) {
    const std::int64_t deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        const int result = ::poll(&fd, 1, timeoutMs);
        if (result >= 0 || errno != EINTR)
            return result;
        const std::int64_t left = deadline - MonotonicMs();
        timeoutMs = left > 0 ? static_cast<int>(left) : 0;
    }
}

std::string OpenFailureText(int error, const std::string& device) {
    const std::string start = "Cannot open " + device + ": ";
    switch (error) {
    case EACCES:
    case EPERM:
        return start + "permission denied. Add your user to the dialout group "
                       "(sudo usermod -aG dialout $USER), then log out and in again.";
    case EBUSY:
        return start + "the port is in use by another program. Close that program's connection "
                       "to the port and try again.";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return start + "there is no such device. Check that the cable or USB adapter is plugged in, "
                       "then choose the port again.";
    case ENOTTY:
        return start + "it is not a serial port.";
    default:
        return start + CSerialException(static_cast<std::uint32_t>(error)).what();
    }
}

} // namespace

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() {
    Close();
}

void CSerialPort::Open(const std::string& device) {
    Close();

    int fd = -1;
    do {
        fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        throw CSerialException(static_cast<std::uint32_t>(error), OpenFailureText(error, device));
    }

    // From here every failure closes the descriptor again, so a half-open port cannot exist.
    bool haveSaved = false;
    termios saved{};
    auto fail = [&](int error) {
        if (haveSaved)
            ::tcsetattr(fd, TCSANOW, &saved);
        ::close(fd);
        throw CSerialException(static_cast<std::uint32_t>(error), OpenFailureText(error, device));
    };

    if (!::isatty(fd))
        fail(ENOTTY);
    // TIOCEXCL keeps other users out; root passes it, so flock is the check among our own kind.
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL)
        fail(errno);
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0)
        fail(errno == EWOULDBLOCK ? EBUSY : errno);

    if (::tcgetattr(fd, &saved) != 0)
        fail(errno);
    haveSaved = true;

    termios raw = saved;
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD | CS8;
    raw.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | PARENB | CSTOPB);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    int applied = -1;
    do {
        applied = ::tcsetattr(fd, TCSANOW, &raw);
    } while (applied != 0 && errno == EINTR);
    if (applied != 0)
        fail(errno);

    // USB adapters otherwise hold received bytes back for up to 16 ms; refusal is harmless.
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0 && (serial.flags & ASYNC_LOW_LATENCY) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &serial);
    }

    handle = fd;
    devicePath = device;
    savedSettings = saved;
    readableReported = false;
}

void CSerialPort::Fail(int error, const char* action) const {
    const std::string device = devicePath.empty() ? std::string("the serial port") : devicePath;
    std::string text = std::string("Cannot ") + action + " " + device + ": ";
    if (error == ENODEV || error == EIO)
        text += "the device has gone away (" + std::string(CSerialException(static_cast<std::uint32_t>(error)).what()) +
                ")";
    else
        text += CSerialException(static_cast<std::uint32_t>(error)).what();
    throw CSerialException(static_cast<std::uint32_t>(error), text);
}

termios CSerialPort::CurrentSettings() const {
    if (handle < 0)
        Fail(EBADF, "configure");
    termios settings{};
    if (::tcgetattr(handle, &settings) != 0)
        Fail(errno, "configure");
    return settings;
}

void CSerialPort::ApplySettings(const termios& settings, int when, const char* action) {
    int result = -1;
    do {
        result = ::tcsetattr(handle, when, &settings);
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        Fail(errno, action);
}

void CSerialPort::SetImmediateReads() {
    termios settings = CurrentSettings();
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ApplySettings(settings, TCSANOW, "configure");
}

void CSerialPort::SetBaudRate(std::uint32_t bitsPerSecond) {
    const speed_t code = SpeedCode(bitsPerSecond);
    if (code == B0)
        throw CSerialException(EINVAL, "Cannot set " + devicePath + " to " + std::to_string(bitsPerSecond) +
                                           " bits per second: not a supported speed");
    termios settings = CurrentSettings();
    ::cfsetispeed(&settings, code);
    ::cfsetospeed(&settings, code);
    // TCSADRAIN: the last bytes of a speed command must leave at the old speed.
    ApplySettings(settings, TCSADRAIN, "change the speed of");
}

std::size_t CSerialPort::ReadSome(std::uint8_t* buffer, std::size_t maxCount) {
    const bool wasReadable = readableReported;
    readableReported = false;
    if (handle < 0)
        Fail(EBADF, "read from");
    if (maxCount == 0)
        return 0;
    for (;;) {
        const ssize_t n = ::read(handle, buffer, maxCount);
        if (n > 0)
            return static_cast<std::size_t>(n);
        if (n == 0) {
            if (wasReadable)
                Fail(ENODEV, "read from");
            return 0;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        Fail(errno, "read from");
    }
}

bool CSerialPort::WaitReadable(std::uint32_t timeoutMs) {
    if (handle < 0)
        Fail(EBADF, "read from");
    pollfd fd{handle, POLLIN, 0};
    const int wait = timeoutMs > 0x7FFFFFFFU ? 0x7FFFFFFF : static_cast<int>(timeoutMs);
    const int result = PollRetrying(fd, wait);
    if (result < 0)
        Fail(errno, "read from");
    if (result == 0)
        return false;
    if ((fd.revents & POLLNVAL) != 0)
        Fail(EBADF, "read from");
    if ((fd.revents & POLLIN) != 0) {
        readableReported = true;
        return true;
    }
    if ((fd.revents & (POLLHUP | POLLERR)) != 0)
        Fail(ENODEV, "read from");
    return false;
}

std::size_t CSerialPort::Read(std::uint8_t* buffer, std::int32_t count, std::uint32_t timeoutMs) {
    if (count <= 0)
        return 0;
    SteadyLinkClock clock;
    return ReadWithDeadline(*this, clock, buffer, static_cast<std::size_t>(count), timeoutMs);
}

void CSerialPort::WriteBytes(const std::uint8_t* data, std::size_t length) {
    WriteBytesServiced(data, length, 0, {});
}

void CSerialPort::WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                                     const std::function<void()>& whileWaiting) {
    if (handle < 0)
        Fail(EBADF, "write to");
    std::size_t written = 0;
    std::int64_t lastProgress = MonotonicMs();
    while (written < length) {
        const ssize_t n = ::write(handle, data + written, length - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            lastProgress = MonotonicMs();
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            Fail(errno, "write to");
        // The output queue is full: wait for room, without spinning.
        const std::int64_t stalled = MonotonicMs() - lastProgress;
        if (stalled >= kWriteStallMs)
            Fail(ETIMEDOUT, "write to");
        std::int64_t wait = kWriteStallMs - stalled;
        if (sliceMs > 0 && wait > sliceMs)
            wait = sliceMs;
        pollfd fd{handle, POLLOUT, 0};
        const int result = PollRetrying(fd, static_cast<int>(wait));
        if (result < 0)
            Fail(errno, "write to");
        if (result > 0 && (fd.revents & POLLOUT) == 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
            Fail(ENODEV, "write to");
        if (!whileWaiting)
            continue;
        try {
            whileWaiting();
        } catch (...) {
            // Abandoned: what is still queued would hold up the next speed change and the close.
            ::tcflush(handle, TCOFLUSH);
            throw;
        }
    }
}

std::size_t CSerialPort::Write(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0')
        ++length;
    WriteBytes(reinterpret_cast<const std::uint8_t*>(text), length);
    return length;
}

void CSerialPort::Close() {
    if (handle < 0)
        return;
    // Best effort: a device that has gone away cannot take its old settings back.
    ::tcsetattr(handle, TCSADRAIN, &savedSettings);
    // The exclusive flag outlives the descriptor on some devices (a pty); leave the port free.
    ::ioctl(handle, TIOCNXCL);
    ::close(handle);
    handle = -1;
    readableReported = false;
}
