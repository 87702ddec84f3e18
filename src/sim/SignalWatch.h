#pragma once

#include <csignal>

// SIGINT, SIGTERM and SIGHUP as readable data instead of interruptions, so the simulator's loop
// ends in one place and every destructor (the published port among them) runs. The signals stay
// blocked while the object lives.
class SignalWatch {
public:
    // Throws std::system_error when the signals cannot be taken over.
    SignalWatch();
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    int Fd() const { return fd; }
    // True when one of the signals has come in.
    bool Raised();

private:
    sigset_t set{};
    sigset_t previous{};
    int fd = -1;
};
