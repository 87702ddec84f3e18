#pragma once

#include "link/SerialIo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <termios.h>

// The panel's serial port: one POSIX tty, held exclusively, raw 8N1 without flow control.
// Every failing system call raises CSerialException with its errno. A device that goes away
// (unplugged adapter, ended simulator) raises at the next read or wait, never reads as silence.
class CSerialPort : public SerialIo {
public:
    CSerialPort();
    ~CSerialPort() override;

    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Closes any open device first, then opens `device` (a path such as "/dev/ttyUSB0") for
    // this program alone, at 9600 bits per second, 8 data bits, no parity, one stop bit and no
    // flow control. Nothing is left open when it fails; the exception's text names the cause
    // and the cure (the dialout group, another program holding the port).
    void Open(const std::string& device);
    bool IsOpen() const { return handle >= 0; }
    const std::string& DevicePath() const { return devicePath; }

    // Makes every read return at once with what has arrived (already so after Open).
    void SetImmediateReads();
    // 9600 or 115200 (any standard rate is taken); waits until written bytes have left.
    void SetBaudRate(std::uint32_t bitsPerSecond) override;

    std::size_t ReadSome(std::uint8_t* buffer, std::size_t maxCount) override;
    bool WaitReadable(std::uint32_t timeoutMs) override;
    // Reads until `count` bytes have arrived or `timeoutMs` has passed, and returns how many
    // arrived; a reply shorter than `count` always costs the whole time-out. A count of 0 or
    // less returns 0 at once.
    std::size_t Read(std::uint8_t* buffer, std::int32_t count, std::uint32_t timeoutMs);

    void WriteBytes(const std::uint8_t* data, std::size_t length) override;
    void WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                            const std::function<void()>& whileWaiting) override;
    // Writes the text without its terminating zero; returns the count written.
    std::size_t Write(const char* text);

    // Restores the line settings found at Open and closes; does nothing when closed.
    void Close();

private:
    [[noreturn]] void Fail(int error, const char* action) const;
    termios CurrentSettings() const;
    void ApplySettings(const termios& settings, int when, const char* action);

    int handle = -1;
    std::string devicePath;
    termios savedSettings{};
    // poll() said "readable": a read that then finds nothing means the device has gone.
    bool readableReported = false;
};
