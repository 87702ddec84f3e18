#pragma once

#include <string>
#include <string_view>

// A pseudo-terminal: the test holds the master end (the "panel"), CSerialPort opens the slave.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath; }
    int Master() const { return master; }

    void Send(std::string_view bytes);
    // What the tool wrote, waiting up to timeoutMs for `count` bytes.
    std::string Receive(std::size_t count, int timeoutMs = 1000);
    void CloseMaster();

private:
    int master = -1;
    std::string slavePath;
};
