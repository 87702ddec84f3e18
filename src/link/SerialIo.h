#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// The byte pipe to the panel as the link procedures see it. CSerialPort is the real one; the
// tests put an in-memory panel behind it. Every call may raise CSerialException.
class SerialIo {
public:
    virtual ~SerialIo() = default;

    // One read that returns at once with the 0 to maxCount bytes already received.
    virtual std::size_t ReadSome(std::uint8_t* buffer, std::size_t maxCount) = 0;
    // Waits up to timeoutMs for received bytes without using the CPU; true when some are
    // there to read. A device that has gone away raises at once instead of waiting.
    virtual bool WaitReadable(std::uint32_t timeoutMs) = 0;
    // Writes all the bytes.
    virtual void WriteBytes(const std::uint8_t* data, std::size_t length) = 0;
    // Writes all the bytes; while the output does not drain, waits at most `sliceMs` at a time
    // and calls `whileWaiting` after each wait. When that throws, the bytes not yet sent are
    // discarded, so the port can change speed or close at once, and the exception propagates.
    virtual void WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                                    const std::function<void()>& whileWaiting) {
        static_cast<void>(sliceMs);
        static_cast<void>(whileWaiting);
        WriteBytes(data, length);
    }
    // Changes the line speed only; bytes already written leave at the old speed.
    virtual void SetBaudRate(std::uint32_t bitsPerSecond) = 0;
};
