#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The panel's end of a pseudo-terminal. The tool opens DevicePath() like any serial port; the
// panel reads and writes the master side. The panel keeps a slave descriptor of its own so the
// master never sees a hang-up between two connections. On a pty the exclusive-use flag the tool
// sets outlives the tool's descriptor and would keep the tool itself out next time, so the panel
// watches the device for closes: once nobody holds the port it lifts the flag and drops what the
// tool left unread, as bytes on a wire nobody listens to are lost.
class PtyPort {
public:
    // Throws std::system_error when no pseudo-terminal can be had.
    PtyPort();
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    const std::string& DevicePath() const { return devicePath; }
    int MasterFd() const { return master; }
    int WatchFd() const { return watch; }

    // The speed the tool has set on its side, in bits per second; 0 when it is not a standard one.
    int ToolSpeed() const;
    // What the tool wrote, up to `capacity` bytes; 0 when nothing is waiting.
    std::size_t Read(std::uint8_t* buffer, std::size_t capacity);
    // As much of the bytes as the pty takes now.
    std::size_t Write(const std::uint8_t* bytes, std::size_t length);
    // Takes the close notices waiting on WatchFd().
    void ServiceWatch();

private:
    void closeAll();
    void releaseIfUnheld();

    int master = -1;
    int slave = -1;
    int watch = -1;
    std::string devicePath;
};
