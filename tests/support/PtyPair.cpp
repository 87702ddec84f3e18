#include "PtyPair.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

PtyPair::PtyPair() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    char name[128] = {};
    if (::ptsname_r(master, name, sizeof name) != 0)
        throw std::runtime_error("cannot name the pseudo-terminal");
    slavePath = name;
}

PtyPair::~PtyPair() {
    CloseMaster();
}

void PtyPair::CloseMaster() {
    if (master >= 0)
        ::close(master);
    master = -1;
}

void PtyPair::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(master, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw std::runtime_error("cannot write to the pseudo-terminal");
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string PtyPair::Receive(std::size_t count, int timeoutMs) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{master, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(master, buffer, std::min(sizeof buffer, count - got.size()));
        if (n > 0)
            got.append(buffer, static_cast<std::size_t>(n));
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            break;
    }
    return got;
}
