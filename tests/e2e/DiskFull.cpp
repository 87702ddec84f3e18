#include "DiskFull.h"

#include <cerrno>
#include <sys/syscall.h>
#include <sys/types.h>

// Declared here rather than through <unistd.h> and <fcntl.h>: a large-file build renames the
// functions this file replaces there, and both names are defined below.
extern "C" long syscall(long number, ...) noexcept;

namespace {

bool armed = false;
std::size_t room = 0;

// Takes what fits of `wanted` bytes; 0 with errno ENOSPC when nothing does.
std::size_t take(std::size_t wanted) {
    if (room == 0) {
        errno = ENOSPC;
        return 0;
    }
    const std::size_t granted = wanted < room ? wanted : room;
    room -= granted;
    return granted;
}

ssize_t writeAt(int fd, const void* buffer, std::size_t count, off_t at) {
    if (armed && count > 0) {
        count = take(count);
        if (count == 0)
            return -1;
    }
    return ::syscall(SYS_pwrite64, fd, buffer, count, at);
}

int reserve(int fd, off_t at, off_t length) {
    if (armed && length > 0) {
        if (static_cast<std::size_t>(length) > room) {
            return ENOSPC;
        }
        room -= static_cast<std::size_t>(length);
    }
    return ::syscall(SYS_fallocate, fd, 0, at, length) == 0 ? 0 : errno;
}

} // namespace

DiskFull::DiskFull(std::size_t bytes) {
    room = bytes;
    armed = true;
}

DiskFull::~DiskFull() {
    armed = false;
}

// The file layer's calls, whichever name the build's file offset size gives them.
extern "C" {
ssize_t pwrite(int fd, const void* buffer, size_t count, off_t at) {
    return writeAt(fd, buffer, count, at);
}
ssize_t pwrite64(int fd, const void* buffer, size_t count, off_t at) {
    return writeAt(fd, buffer, count, at);
}
int posix_fallocate(int fd, off_t at, off_t length) {
    return reserve(fd, at, length);
}
int posix_fallocate64(int fd, off_t at, off_t length) {
    return reserve(fd, at, length);
}
}
