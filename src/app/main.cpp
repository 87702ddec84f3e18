#include "CMosaicsApp.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>

namespace {

// ZYL_STARTUP_PROBE=<descriptor number or file> exists for the start-up benchmark: the program
// writes "painted" there once its main window is first painted, and quits. Users never set it, so
// no help text mentions it.
std::function<void()> startupProbe() {
    const char* target = std::getenv("ZYL_STARTUP_PROBE");
    if (target == nullptr || *target == '\0')
        return {};
    const std::string where(target);
    return [where] {
        const bool isDescriptor = where.size() <= 9 && where.find_first_not_of("0123456789") == std::string::npos;
        const int fd = isDescriptor ? std::atoi(where.c_str())
                                    : ::open(where.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        static constexpr char kLine[] = "painted\n";
        if (fd < 0 || ::write(fd, kLine, sizeof kLine - 1) != sizeof kLine - 1)
            std::fprintf(stderr, "ZYL_STARTUP_PROBE: cannot write to %s: %s\n", where.c_str(), std::strerror(errno));
        if (!isDescriptor && fd >= 0)
            ::close(fd);
    };
}

} // namespace

int main(int argc, char** argv) {
    CMosaicsApp app(argc, argv);
    return app.InitInstance(startupProbe());
}
