#include "sim/PortPublication.h"

#include "link/PortDirectory.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// Makes the folder and its missing parents, private to the user.
void makeFolder(const std::string& folder) {
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = folder.find('/', slash + 1);
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            fail("cannot make \"" + part + "\"");
    }
}

} // namespace

PortPublication::PortPublication(const std::string& devicePath) {
    const std::string folder = SimulatorPortDirectory();
    makeFolder(folder);
    const long pid = static_cast<long>(::getpid());
    path = SimulatorPortFile(pid);
    const std::string temporary = folder + "/." + std::to_string(pid) + ".tmp";
    const std::string text = devicePath + "\n" + kLabel + "\n";

    errno = 0;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        fail("cannot write \"" + temporary + "\"");
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int error = errno != 0 ? errno : EIO;
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const int cause = written ? errno : error;
        ::unlink(temporary.c_str());
        errno = cause;
        fail("cannot publish the port in \"" + folder + "\"");
    }
}

PortPublication::~PortPublication() {
    ::unlink(path.c_str());
}
