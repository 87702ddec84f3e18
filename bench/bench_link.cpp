// CPU cost of waiting for the panel: one 500 ms reply window on a real pty whose other end
// stays silent. The wait sleeps in poll(), so the process should use well under 5 ms of CPU.
#include "link/CSerialPort.h"
#include "link/LinkFraming.h"
#include "link/LinkProtocol.h"
#include "link/SteadyLinkClock.h"
#include "link/TransferObserver.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

double ProcessCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double WallSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The silent panel: a pty master nobody writes to.
class SilentPeer {
public:
    SilentPeer() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
            ::ptsname_r(master, name, sizeof name) != 0)
            throw std::runtime_error("cannot create a pseudo-terminal");
        path = name;
    }
    ~SilentPeer() { ::close(master); }
    SilentPeer(const SilentPeer&) = delete;
    SilentPeer& operator=(const SilentPeer&) = delete;

    std::string path;

private:
    int master = -1;
};

// Counts keep-alives, as the progress window would repaint on each.
class CountingObserver : public TransferObserver {
public:
    void keepAlive() override { ++calls; }
    long calls = 0;
};

template <class Wait> void MeasureWindows(benchmark::State& state, Wait wait) {
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuStart = ProcessCpuSeconds();
        const double wallStart = WallSeconds();
        benchmark::DoNotOptimize(wait());
        const double cpuUsed = ProcessCpuSeconds() - cpuStart;
        cpu += cpuUsed;
        wall += WallSeconds() - wallStart;
        state.SetIterationTime(cpuUsed); // "Time" is the process CPU per window
    }
    const auto windows = static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = cpu * 1000 / windows;
    state.counters["wall_ms"] = wall * 1000 / windows;
    state.counters["cpu_share_pct"] = wall > 0 ? cpu / wall * 100 : 0;
}

// The reply window as transfers run it: 20 ms slices with a keep-alive after each.
void BM_ReplyWindowSilentPeer(benchmark::State& state) {
    SilentPeer peer;
    CSerialPort port;
    port.Open(peer.path);
    SteadyLinkClock clock;
    CountingObserver observer;
    LinkFraming link(port, clock, observer);
    std::array<std::uint8_t, kReplyWindowBytes> buffer{};
    MeasureWindows(state, [&] { return link.ReplyWindow(buffer.data()); });
    state.counters["keepalives"] = static_cast<double>(observer.calls) / static_cast<double>(state.iterations());
}

// The port's own deadline read over the same silence: one poll() for the whole wait.
void BM_PortReadSilentPeer(benchmark::State& state) {
    SilentPeer peer;
    CSerialPort port;
    port.Open(peer.path);
    std::array<std::uint8_t, kReplyWindowBytes> buffer{};
    MeasureWindows(state, [&] { return port.Read(buffer.data(), static_cast<std::int32_t>(buffer.size()), 500); });
}

BENCHMARK(BM_ReplyWindowSilentPeer)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PortReadSilentPeer)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
