// Start-up: the real program, from exec to the end of its main window's first paint, under the
// offscreen platform. Budget: 300 ms. Each run starts as a user's first one would: empty config
// and runtime folders (so no simulator's port shows), the machine's own port enumeration included.
// Prints one JSON object on stdout; progress and failures go to stderr.
//
//   bench_startup [--runs N] [--app PATH]
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Far beyond any sound start; only a hung program gets near them.
constexpr int kPaintDeadlineMs = 30000;
constexpr int kExitDeadlineMs = 10000;

using Clock = std::chrono::steady_clock;

struct Options {
    int runs = 10;
    std::string app = ZYLMOSAICS_PATH;
};

[[nodiscard]] std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            char* end = nullptr;
            const long runs = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || runs < 1 || runs > 1000)
                return std::nullopt;
            options.runs = static_cast<int>(runs);
        } else if (arg == "--app" && i + 1 < argc) {
            options.app = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The caller's environment with ours put over it.
std::vector<std::string> environmentWith(const std::vector<std::pair<std::string, std::string>>& overrides) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const bool overridden = std::any_of(overrides.begin(), overrides.end(), [&](const auto& o) {
            return text.compare(0, o.first.size() + 1, o.first + "=") == 0;
        });
        if (!overridden)
            result.push_back(text);
    }
    for (const auto& [name, value] : overrides)
        result.push_back(name + "=" + value);
    return result;
}

int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

// Reads from the pipe until a whole line is there; false at end of data or the deadline.
[[nodiscard]] bool readLine(int fd, Clock::time_point deadline, std::string& line) {
    while (line.find('\n') == std::string::npos) {
        pollfd watch{fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, millisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

// The child's exit status, or nullopt when it had to be killed at the deadline.
[[nodiscard]] std::optional<int> waitForExit(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return status;
        if (done < 0 && errno != EINTR)
            return std::nullopt;
        if (Clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return std::nullopt;
        }
        ::usleep(2000);
    }
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One start: milliseconds from spawn to the painted line, or nullopt with the reason on stderr.
[[nodiscard]] std::optional<double> runOnce(const Options& options, const fs::path& folder) {
    const fs::path config = folder / "config";
    const fs::path runtime = folder / "runtime";
    fs::create_directories(config);
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    const fs::path log = folder / "output.txt";

    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::cerr << "bench_startup: cannot make a pipe: " << std::strerror(errno) << "\n";
        return std::nullopt;
    }
    // Only the write end goes to the program.
    ::fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);

    std::vector<std::string> environment = environmentWith({
        {"QT_QPA_PLATFORM", "offscreen"},
        {"XDG_CONFIG_HOME", config.string()},
        {"XDG_RUNTIME_DIR", runtime.string()},
        {"ZYL_STARTUP_PROBE", std::to_string(pipeFds[1])},
    });
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = options.app;
    char* argv[] = {program.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);

    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        std::cerr << "bench_startup: cannot start " << program << ": " << std::strerror(spawned) << "\n";
        return std::nullopt;
    }

    std::string line;
    const bool painted = readLine(pipeFds[0], start + std::chrono::milliseconds(kPaintDeadlineMs), line);
    const Clock::time_point end = Clock::now();
    ::close(pipeFds[0]);
    if (!painted)
        ::kill(pid, SIGKILL);
    const std::optional<int> status = waitForExit(pid, Clock::now() + std::chrono::milliseconds(kExitDeadlineMs));

    if (!painted || line != "painted\n") {
        std::cerr << "bench_startup: the program did not report a painted window\n" << fileText(log);
        return std::nullopt;
    }
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        std::cerr << "bench_startup: the program painted but did not quit cleanly\n" << fileText(log);
        return std::nullopt;
    }
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: bench_startup [--runs N] [--app PATH]\n";
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "zyl-startup-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::cerr << "bench_startup: cannot make a temporary folder: " << std::strerror(errno) << "\n";
        return 1;
    }
    const fs::path scratch = pattern;

    std::vector<double> samples;
    for (int run = 0; run < options->runs; ++run) {
        const std::optional<double> ms = runOnce(*options, scratch / std::to_string(run));
        if (!ms) {
            std::error_code ignored;
            fs::remove_all(scratch, ignored);
            return 1;
        }
        std::cerr << "run " << run + 1 << ": " << *ms << " ms\n";
        samples.push_back(*ms);
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);

    std::ostringstream json;
    json.setf(std::ios::fixed);
    json.precision(3);
    json << "{\"name\": \"StartupToFirstPaint\", \"median_ms\": " << median(samples)
         << ", \"min_ms\": " << *std::min_element(samples.begin(), samples.end())
         << ", \"max_ms\": " << *std::max_element(samples.begin(), samples.end()) << ", \"runs\": " << samples.size()
         << ", \"samples_ms\": [";
    for (std::size_t i = 0; i < samples.size(); ++i)
        json << (i == 0 ? "" : ", ") << samples[i];
    json << "], \"platform\": \"offscreen\"}";
    std::cout << json.str() << std::endl;
    return 0;
}
