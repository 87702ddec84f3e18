#include "session/SystemPortFactory.h"

#include "link/CSerialPort.h"

namespace {

// A CSerialPort seen as the session's opened port; the port closes itself when destroyed.
class SystemPort : public OpenedPort {
public:
    explicit SystemPort(const std::string& device) {
        port.Open(device);
        port.SetImmediateReads();
    }
    std::size_t ReadSome(std::uint8_t* buffer, std::size_t maxCount) override {
        return port.ReadSome(buffer, maxCount);
    }
    bool WaitReadable(std::uint32_t timeoutMs) override { return port.WaitReadable(timeoutMs); }
    void WriteBytes(const std::uint8_t* data, std::size_t length) override { port.WriteBytes(data, length); }
    void WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                            const std::function<void()>& whileWaiting) override {
        port.WriteBytesServiced(data, length, sliceMs, whileWaiting);
    }
    void SetBaudRate(std::uint32_t bitsPerSecond) override { port.SetBaudRate(bitsPerSecond); }

private:
    CSerialPort port;
};

} // namespace

std::unique_ptr<OpenedPort> SystemPortFactory::Open(const std::string& device) {
    return std::make_unique<SystemPort>(device);
}
