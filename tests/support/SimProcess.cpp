#include "SimProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Sanitizer builds start slowly; the demo layout is drawn before the path is printed.
constexpr int kStartTimeoutMs = 20000;
constexpr auto kStopTimeout = std::chrono::seconds(10);

} // namespace

SimProcess::SimProcess(const std::vector<std::string>& arguments, const std::string& stateDir,
                       const std::string& runtimeDir)
    : runtimeDir(runtimeDir) {
    std::vector<std::string> argv = {ZYL_PANEL_SIM_PATH, "--state", stateDir};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (auto& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    // Our environment with the runtime folder replaced, made before fork so the child only execs.
    std::vector<std::string> environment = {"XDG_RUNTIME_DIR=" + runtimeDir};
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::strncmp(*entry, "XDG_RUNTIME_DIR=", 16) != 0)
            environment.emplace_back(*entry);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t parent = ::getpid();
    pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::execve(pointers[0], pointers.data(), envp.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    output = pipeFds[0];

    // The first line is the device path.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    std::string line;
    while (line.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{output, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(output, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    if (const auto end = line.find('\n'); end != std::string::npos)
        devicePath = line.substr(0, end);
}

SimProcess::~SimProcess() {
    Stop(SIGTERM);
    if (output >= 0)
        ::close(output);
}

std::string SimProcess::PublishedFile() const {
    return runtimeDir + "/zylmosaics/ports/" + std::to_string(static_cast<long>(pid));
}

int SimProcess::Stop(int signal) {
    if (stopped || pid <= 0)
        return status;
    stopped = true;
    ::kill(pid, signal);
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    for (;;) {
        int result = 0;
        const pid_t done = ::waitpid(pid, &result, WNOHANG);
        if (done == pid) {
            status = result;
            return status;
        }
        if (done < 0 && errno != EINTR)
            return status;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            status = -1;
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
