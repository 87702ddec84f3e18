#include "Guid.h"

#include <cerrno>
#include <stdexcept>
#include <sys/random.h>

Guid NewGuid() {
    Guid guid{};
    std::size_t filled = 0;
    while (filled < guid.size()) {
        const ssize_t n = getrandom(guid.data() + filled, guid.size() - filled, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("no random numbers from the system for an image identity");
        }
        filled += static_cast<std::size_t>(n);
    }
    return guid;
}

std::string GuidToHex(const Guid& guid) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(32);
    for (std::uint8_t b : guid) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 15]);
    }
    return out;
}
