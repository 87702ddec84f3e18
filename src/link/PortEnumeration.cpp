#include "link/PortEnumeration.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Kind {
    const char* prefix;
    const char* fallbackLabel;
    bool usb;
};

constexpr std::array<Kind, 4> kKinds{{
    {"ttyS", "serial port", false},
    {"ttyUSB", "USB serial adapter", true},
    {"ttyACM", "USB serial device", true},
    {"ttyAMA", "built-in serial port", false},
}};

// "ttyUSB12" with prefix "ttyUSB" gives 12; anything but digits after the prefix gives -1.
long NumberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 || name.size() - prefix.size() > 9)
        return -1;
    long number = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line))
        return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

// The serial core says "0" for the placeholder ttyS ports that have no UART behind them.
bool IsRealUart(const fs::path& device, const fs::path& sysTty) {
    std::error_code error;
    const fs::path typeFile = sysTty / "type";
    if (fs::exists(typeFile, error)) {
        const std::string type = FirstLine(typeFile);
        return !type.empty() && std::strtol(type.c_str(), nullptr, 10) != 0;
    }
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY || errno == EACCES || errno == EPERM; // exists, held or not ours
    serial_struct serial{};
    const bool real = ::ioctl(fd, TIOCGSERIAL, &serial) == 0 && serial.type != PORT_UNKNOWN;
    ::close(fd);
    return real;
}

// The USB device's own name, a level or two above the tty's interface in sysfs.
std::string UsbProductName(const fs::path& sysTty, const fs::path& sysRoot) {
    std::error_code error;
    fs::path at = fs::canonical(sysTty / "device", error);
    if (error)
        return {};
    const fs::path top = fs::weakly_canonical(sysRoot, error);
    for (int level = 0; level < 4 && !at.empty() && at != top && at.has_parent_path(); ++level) {
        const std::string product = FirstLine(at / "product");
        if (!product.empty())
            return product;
        at = at.parent_path();
    }
    return {};
}

bool ProcessExists(long pid) {
    if (pid <= 0 || pid > 0x3FFFFFFF)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void AddRealPorts(const PortSearchRoots& roots, std::vector<PortEntry>& ports) {
    std::error_code error;
    std::vector<std::pair<std::pair<std::size_t, long>, PortEntry>> found;
    for (const auto& entry : fs::directory_iterator(roots.devRoot, error)) {
        const std::string name = entry.path().filename().string();
        for (std::size_t kind = 0; kind < kKinds.size(); ++kind) {
            const long number = NumberAfter(name, kKinds[kind].prefix);
            if (number < 0)
                continue;
            const fs::path sysTty = fs::path(roots.sysRoot) / "class" / "tty" / name;
            if (kind == 0 && !IsRealUart(entry.path(), sysTty))
                break;
            std::string description = kKinds[kind].fallbackLabel;
            if (kKinds[kind].usb) {
                const std::string product = UsbProductName(sysTty, roots.sysRoot);
                if (!product.empty())
                    description = product;
            }
            found.push_back({{kind, number}, PortEntry{entry.path().string(), name + " \u2014 " + description}});
            break;
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& item : found)
        ports.push_back(std::move(item.second));
}

void AddSimulatorPorts(const PortSearchRoots& roots, std::vector<PortEntry>& ports) {
    std::error_code error;
    std::vector<std::pair<long, PortEntry>> found;
    for (const auto& entry : fs::directory_iterator(roots.simulatorDirectory, error)) {
        const long pid = NumberAfter("p" + entry.path().filename().string(), "p");
        if (pid < 0 || !ProcessExists(pid))
            continue;
        std::ifstream in(entry.path());
        std::string device;
        std::string label;
        if (!in || !std::getline(in, device) || device.empty())
            continue;
        if (!std::getline(in, label) || label.empty())
            label = "ZYL-1 simulator";
        std::error_code missing;
        if (!fs::exists(device, missing))
            continue;
        found.push_back({pid, PortEntry{device, label + " (" + device + ")"}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& item : found)
        ports.push_back(std::move(item.second));
}

} // namespace

std::string SimulatorPortDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0')
        return std::string(runtime) + "/zylmosaics/ports";
    return "/tmp/zylmosaics-" + std::to_string(static_cast<unsigned long>(::getuid())) + "/ports";
}

std::string SimulatorPortFile(long pid) {
    return SimulatorPortDirectory() + "/" + std::to_string(pid);
}

std::vector<PortEntry> EnumeratePorts(const PortSearchRoots& roots) {
    std::vector<PortEntry> ports;
    AddRealPorts(roots, ports);
    AddSimulatorPorts(roots, ports);
    return ports;
}
