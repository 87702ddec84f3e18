#include "FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(std::string* error, const std::string& message) {
    if (error != nullptr)
        *error = message;
    return false;
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string systemText(int code) {
    return std::strerror(code);
}

// Closes the descriptor however the function leaves.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out, std::string* error) {
    Fd file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        return fail(error, "cannot open " + quoted(path) + ": " + systemText(errno));
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return fail(error, "cannot read " + quoted(path) + ": " + systemText(errno));
    if (!S_ISREG(info.st_mode))
        return fail(error, quoted(path) + " is not a file");
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return fail(error, quoted(path) + " is too large (" + std::to_string(info.st_size) + " bytes; at most " +
                               std::to_string(maxBytes) + ")");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(error, "cannot read " + quoted(path) + ": " + systemText(errno));
        if (n == 0)
            break; // shrank while we read: take what is there
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    out = std::move(bytes);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const std::span<const std::uint8_t>> parts,
                         std::string* error) {
    std::string temp = folderOf(path) + "/.zyl-save-XXXXXX";
    Fd file{::mkstemp(temp.data())};
    if (file.fd < 0)
        return fail(error, "cannot save " + quoted(path) + ": " + systemText(errno));
    auto abandon = [&](int code) {
        ::unlink(temp.c_str());
        return fail(error, "cannot save " + quoted(path) + ": " + systemText(code));
    };
    // mkstemp makes the file private; a saved layout gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(file.fd, 0666 & ~mask) != 0)
        return abandon(errno);
    for (const auto& part : parts) {
        std::size_t done = 0;
        while (done < part.size()) {
            const ssize_t n = ::write(file.fd, part.data() + done, part.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return abandon(errno);
            done += static_cast<std::size_t>(n);
        }
    }
    if (::fsync(file.fd) != 0)
        return abandon(errno);
    const int fd = file.fd;
    file.fd = -1;
    if (::close(fd) != 0)
        return abandon(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return abandon(errno);
    return true;
}
