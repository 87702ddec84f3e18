#include "ImageFile.h"

#include "ImageFormat.h"
#include "Jpeg2000.h"
#include "MagickLoader.h"
#include "PictureLimits.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <system_error>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd; }

private:
    int fd;
};

[[noreturn]] void throwSystemError(const std::string& what, const std::string& path, int error) {
    throw PictureError(what + " " + path + ": " + std::generic_category().message(error));
}

Picture decodeAs(ImageFormat format, std::span<const std::uint8_t> bytes, const std::string& source) {
    if (format == ImageFormat::Jp2 || format == ImageFormat::J2k)
        return DecodeJpeg2000(bytes, format == ImageFormat::Jp2, source);
    return DecodeWithMagick(bytes, format, source);
}

// By signature first. TGA has none (and WBMP next to none), so then the file's name decides, and TGA
// is the last guess.
Picture decodeByContentOrName(std::span<const std::uint8_t> bytes, const std::string& path) {
    if (bytes.empty())
        throw PictureError(path + " is empty");
    RequireImportFileSize(path, bytes.size());
    if (const auto detected = DetectImageFormat(bytes))
        return decodeAs(*detected, bytes, path);
    const auto named = ImageFormatFromName(path);
    if (named == ImageFormat::Tga || named == ImageFormat::Wbmp)
        return decodeAs(*named, bytes, path); // the name is all there is to go by, so its failure stands
    if (named) {
        try {
            return decodeAs(*named, bytes, path);
        } catch (const PictureError&) {
        }
    }
    try {
        return decodeAs(ImageFormat::Tga, bytes, path);
    } catch (const PictureError&) {
    }
    throw PictureError(path + " is not an image in a known format");
}

} // namespace

std::vector<std::uint8_t> ReadImageFile(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        throwSystemError("cannot open", path, errno);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        throwSystemError("cannot read", path, errno);
    if (S_ISDIR(status.st_mode))
        throwSystemError("cannot open", path, EISDIR);
    if (!S_ISREG(status.st_mode))
        throw PictureError(path + " is not a regular file");
    const int flags = ::fcntl(file.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throwSystemError("cannot read", path, errno);
    RequireImportFileSize(path, static_cast<std::uint64_t>(status.st_size));

    std::vector<std::uint8_t> bytes;
    try {
        bytes.reserve(static_cast<std::size_t>(status.st_size));
        std::uint8_t chunk[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throwSystemError("cannot read", path, errno);
            if (n == 0)
                break;
            // The file may have grown since it was measured.
            RequireImportFileSize(path, bytes.size() + static_cast<std::size_t>(n));
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
    } catch (const std::bad_alloc&) {
        throw PictureError(OutOfMemoryMessage(path));
    }
    return bytes;
}

Picture DecodeImageFile(std::span<const std::uint8_t> bytes, const std::string& path) {
    try {
        return decodeByContentOrName(bytes, path);
    } catch (const std::bad_alloc&) {
        throw PictureError(OutOfMemoryMessage(path));
    }
}
