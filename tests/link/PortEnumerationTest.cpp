#include "link/PortEnumeration.h"
#include "PtyPair.h"
#include "link/CSerialPort.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A made-up /dev, /sys and simulator folder in a temporary directory.
class PortTree : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("zyl-ports-" + std::to_string(::getpid()));
        fs::remove_all(root);
        roots = {(root / "dev").string(), (root / "sys").string(), (root / "sims").string()};
        fs::create_directories(root / "dev");
        fs::create_directories(root / "sims");
    }
    void TearDown() override { fs::remove_all(root); }

    void File(const fs::path& path, const std::string& text = "") {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    // A USB tty whose sysfs device sits `depth` levels below the USB device carrying `product`.
    void UsbTty(const std::string& name, const std::string& usbDevice, const std::string& product, bool nested) {
        File(root / "dev" / name);
        const fs::path device = root / "sys/devices/usb1" / usbDevice;
        File(device / "product", product + "\n");
        fs::path target = device / (usbDevice + ":1.0");
        if (nested)
            target /= name;
        fs::create_directories(target);
        fs::create_directories(root / "sys/class/tty" / name);
        fs::create_directory_symlink(target, root / "sys/class/tty" / name / "device");
    }

    fs::path root;
    PortSearchRoots roots;
};

std::vector<std::pair<std::string, std::string>> Listed(const std::vector<PortEntry>& ports, const fs::path& root) {
    std::vector<std::pair<std::string, std::string>> listed;
    for (const auto& port : ports)
        listed.emplace_back(fs::path(port.device).lexically_relative(root).string(), port.label);
    return listed;
}

TEST_F(PortTree, RealPortsWithRecognisableNames) {
    for (const char* name :
         {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB1", "ttyAMA0", "tty0", "ttyX", "console", "ttyUSBx", "ttyS"})
        File(root / "dev" / name);
    File(root / "sys/class/tty/ttyS0/type", "4\n");
    File(root / "sys/class/tty/ttyS1/type", "0\n"); // a placeholder without a UART
    File(root / "sys/class/tty/ttyS10/type", "4\n");
    UsbTty("ttyUSB0", "1-1", "FT232R USB UART", true);
    UsbTty("ttyACM0", "1-2", "ZYL-1 USB", false);

    using ::testing::Pair;
    EXPECT_THAT(Listed(EnumeratePorts(roots), root),
                ::testing::ElementsAre(Pair("dev/ttyS0", "ttyS0 \u2014 serial port"),
                                       Pair("dev/ttyS10", "ttyS10 \u2014 serial port"),
                                       Pair("dev/ttyUSB0", "ttyUSB0 \u2014 FT232R USB UART"),
                                       Pair("dev/ttyUSB1", "ttyUSB1 \u2014 USB serial adapter"),
                                       Pair("dev/ttyACM0", "ttyACM0 \u2014 ZYL-1 USB"),
                                       Pair("dev/ttyAMA0", "ttyAMA0 \u2014 built-in serial port")));
}

TEST_F(PortTree, PublishedSimulatorsAndStaleEntries) {
    PtyPair held;
    CSerialPort holder; // another program holds this one; it is listed all the same
    holder.Open(held.SlavePath());
    File(root / "pts7");
    const std::string self = std::to_string(::getpid());
    const struct {
        std::string file;
        std::string text;
    } entries[] = {
        {self, held.SlavePath() + "\nZYL-1 simulator\n"},
        {"1", (root / "pts7").string() + "\n"},                                          // no label line
        {"999999999", (root / "pts7").string() + "\nZYL-1 simulator\n"},                 // its simulator has ended
        {std::to_string(::getppid()), (root / "gone").string() + "\nZYL-1 simulator\n"}, // device vanished
        {".12345.tmp", (root / "pts7").string() + "\nZYL-1 simulator\n"},
        {"notes", (root / "pts7").string() + "\nZYL-1 simulator\n"},
    };
    for (const auto& entry : entries)
        File(root / "sims" / entry.file, entry.text);

    const auto ports = EnumeratePorts(roots);
    ASSERT_EQ(ports.size(), 2U);
    EXPECT_EQ(ports[0].device, (root / "pts7").string());
    EXPECT_EQ(ports[0].label, "ZYL-1 simulator (" + (root / "pts7").string() + ")");
    EXPECT_EQ(ports[1].device, held.SlavePath());
    EXPECT_EQ(ports[1].label, "ZYL-1 simulator (" + held.SlavePath() + ")");
}

TEST_F(PortTree, MissingFoldersListNothing) {
    roots = {(root / "nodev").string(), (root / "nosys").string(), (root / "nosims").string()};
    EXPECT_TRUE(EnumeratePorts(roots).empty());
}

TEST(PortDirectoryTest, PerUserFolder) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved != nullptr ? saved : "";
    const struct {
        const char* runtime; // nullptr: unset
        std::string expected;
    } cases[] = {
        {"/run/user/1000", "/run/user/1000/zylmosaics/ports"},
        {"", "/tmp/zylmosaics-" + std::to_string(::getuid()) + "/ports"},
        {nullptr, "/tmp/zylmosaics-" + std::to_string(::getuid()) + "/ports"},
    };
    for (const auto& c : cases) {
        if (c.runtime != nullptr)
            ::setenv("XDG_RUNTIME_DIR", c.runtime, 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        EXPECT_EQ(SimulatorPortDirectory(), c.expected);
        EXPECT_EQ(SimulatorPortFile(42), c.expected + "/42");
    }
    if (saved != nullptr)
        ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
