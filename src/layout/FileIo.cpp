#include "FileIo.h"

#include <algorithm>
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
    // Closes now, reporting the failure (a late write error surfaces here on some file systems).
    int Close() {
        const int code = ::close(fd);
        fd = -1;
        return code;
    }
};

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string kindOfNode(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

std::string notRegular(const std::string& path, mode_t mode) {
    const std::string kind = kindOfNode(mode);
    return quoted(path) + (kind.starts_with("not") ? " is " + kind : " is " + kind + ", not a regular file");
}

// The file a save replaces: `path`, or the last target of the symbolic links it names (which may
// not exist yet). False with the reason when the chain cannot be followed.
bool finalTarget(const std::string& path, std::string& target, std::string* error) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return fail(error, "cannot save " + quoted(path) + ": " + systemText(errno));
            target = current;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            target = current;
            return true;
        }
        std::string link(static_cast<std::size_t>(info.st_size) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0)
            return fail(error, "cannot save " + quoted(path) + ": " + systemText(errno));
        if (static_cast<std::size_t>(n) >= link.size())
            continue; // the link changed while we read it; read it again
        link.resize(static_cast<std::size_t>(n));
        current = link.starts_with('/') ? link : folderOf(current) + "/" + link;
    }
    return fail(error, "cannot save " + quoted(path) + ": " + systemText(ELOOP));
}

std::size_t totalSize(std::span<const std::span<const std::uint8_t>> parts) {
    std::size_t total = 0;
    for (const auto& part : parts)
        total += part.size();
    return total;
}

// Writes the parts from the descriptor's offset `at` on; 0 or the errno.
int writeParts(int fd, std::span<const std::span<const std::uint8_t>> parts, off_t at) {
    for (const auto& part : parts) {
        std::size_t done = 0;
        while (done < part.size()) {
            const ssize_t n = ::pwrite(fd, part.data() + done, part.size() - done, at);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            done += static_cast<std::size_t>(n);
            at += n;
        }
    }
    return 0;
}

// Flushes the folder, so the rename itself survives a crash; a folder that cannot be flushed
// still holds the new file.
void syncFolder(const std::string& folder) {
    Fd dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0)
        (void)::fsync(dir.fd);
}

// Writes over the existing regular file itself: its inode, owner and permissions stay.
bool writeInPlace(const std::string& path, const std::string& target,
                  std::span<const std::span<const std::uint8_t>> parts, std::string* error) {
    const std::string cannot = "cannot save " + quoted(path) + ": ";
    Fd file{::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.fd < 0)
        return fail(error, cannot + systemText(errno));
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return fail(error, cannot + systemText(errno));
    if (!S_ISREG(info.st_mode))
        return fail(error, notRegular(path, info.st_mode));
    const std::size_t total = totalSize(parts);
    // Reserve the room first: a full disk is then found while the old content is still whole.
    if (static_cast<std::uint64_t>(total) > static_cast<std::uint64_t>(info.st_size)) {
        const int code =
            ::posix_fallocate(file.fd, info.st_size, static_cast<off_t>(total) - static_cast<off_t>(info.st_size));
        if (code == ENOSPC || code == EDQUOT || code == EFBIG)
            return fail(error, cannot + systemText(code) + " (the file is unchanged)");
    }
    const std::string damaged = " (it was written in place, so it may be incomplete)";
    if (const int code = writeParts(file.fd, parts, 0); code != 0)
        return fail(error, cannot + systemText(code) + damaged);
    if (::ftruncate(file.fd, static_cast<off_t>(total)) != 0 || ::fsync(file.fd) != 0)
        return fail(error, cannot + systemText(errno) + damaged);
    if (file.Close() != 0)
        return fail(error, cannot + systemText(errno) + damaged);
    return true;
}

bool cannotMakeFileThere(int code) {
    return code == EACCES || code == EPERM;
}

} // namespace

namespace {

// Opens a regular file for reading and tells its size; any other kind of file is refused.
bool openRegular(const std::string& path, Fd& file, std::uint64_t& size, std::string* error) {
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer for ever. It is cleared again
    // once the file is known to be a regular one.
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file.fd < 0)
        return fail(error, "cannot open " + quoted(path) + ": " + systemText(errno));
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return fail(error, "cannot read " + quoted(path) + ": " + systemText(errno));
    if (!S_ISREG(info.st_mode))
        return fail(error, notRegular(path, info.st_mode));
    const int flags = ::fcntl(file.fd, F_GETFL);
    if (flags < 0 || ::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(error, "cannot read " + quoted(path) + ": " + systemText(errno));
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

// Reads up to `length` bytes; fewer when the file shrank meanwhile.
bool readUpTo(const std::string& path, Fd& file, std::size_t length, std::vector<std::uint8_t>& out,
              std::string* error) {
    std::vector<std::uint8_t> bytes(length);
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

} // namespace

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out, std::string* error,
                   const std::string& kind) {
    Fd file;
    std::uint64_t size = 0;
    if (!openRegular(path, file, size, error))
        return false;
    if (size > maxBytes)
        return fail(error, quoted(path) + " is too large" + (kind.empty() ? "" : " for " + kind) + " (" +
                               std::to_string(size) + " bytes; at most " + std::to_string(maxBytes) + ")");
    return readUpTo(path, file, static_cast<std::size_t>(size), out, error);
}

bool ReadFileStart(const std::string& path, std::size_t count, std::vector<std::uint8_t>& out, std::string* error) {
    Fd file;
    std::uint64_t size = 0;
    return openRegular(path, file, size, error) &&
           readUpTo(path, file, static_cast<std::size_t>(std::min<std::uint64_t>(size, count)), out, error);
}

bool WriteFileAtomically(const std::string& path, std::span<const std::span<const std::uint8_t>> parts,
                         std::string* error) {
    std::string target;
    if (!finalTarget(path, target, error))
        return false;
    struct stat old {};
    bool exists = false;
    if (::lstat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            return fail(error, notRegular(path, old.st_mode));
        // Replacing the file would bypass its missing write permission.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
            return fail(error, "cannot save " + quoted(path) + ": the file is read-only");
        exists = true;
    } else if (errno != ENOENT) {
        return fail(error, "cannot save " + quoted(path) + ": " + systemText(errno));
    }

    const std::string folder = folderOf(target);
    std::string temp = folder + "/.zyl-save-XXXXXX";
    Fd file{::mkstemp(temp.data())};
    if (file.fd < 0) {
        if (exists && cannotMakeFileThere(errno))
            return writeInPlace(path, target, parts, error);
        return fail(error, "cannot save " + quoted(path) + ": " + systemText(errno));
    }
    auto abandon = [&](int code) {
        ::unlink(temp.c_str());
        return fail(error, "cannot save " + quoted(path) + ": " + systemText(code));
    };
    mode_t mode = 0;
    if (exists) {
        // Keep the old file's owner where we may (root saving a user's file) and its permissions;
        // a change of owner clears set-ID bits, so the mode comes after.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(file.fd, old.st_uid, old.st_gid);
        mode = old.st_mode & 07777;
    } else {
        // mkstemp makes the file private; a new layout file gets the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(file.fd, mode) != 0)
        return abandon(errno);
    if (const int code = writeParts(file.fd, parts, 0); code != 0)
        return abandon(code);
    if (::fsync(file.fd) != 0)
        return abandon(errno);
    if (file.Close() != 0)
        return abandon(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        // A sticky folder lets us write another user's file but not replace it.
        if (exists && cannotMakeFileThere(code))
            return writeInPlace(path, target, parts, error);
        return fail(error, "cannot save " + quoted(path) + ": " + systemText(code));
    }
    syncFolder(folder);
    return true;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
