#include "FileOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot create " + temporary + ": " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = std::fflush(file) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + temporary + ": " + std::strerror(error));
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot replace " + path + ": " + std::strerror(renameError));
    }
}
