#include "sim/SignalWatch.h"

#include <cerrno>
#include <sys/signalfd.h>
#include <system_error>
#include <unistd.h>

SignalWatch::SignalWatch() {
    sigemptyset(&set);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, signal);
    if (::sigprocmask(SIG_BLOCK, &set, &previous) != 0)
        throw std::system_error(errno, std::generic_category(), "sigprocmask");
    fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        ::sigprocmask(SIG_SETMASK, &previous, nullptr);
        throw std::system_error(error, std::generic_category(), "signalfd");
    }
}

SignalWatch::~SignalWatch() {
    ::close(fd);
    ::sigprocmask(SIG_SETMASK, &previous, nullptr);
}

bool SignalWatch::Raised() {
    signalfd_siginfo info{};
    return ::read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info);
}
