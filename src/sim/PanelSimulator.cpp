#include "sim/PanelSimulator.h"

#include "sim/DemoLayout.h"
#include "sim/PanelEngine.h"
#include "sim/PanelStore.h"
#include "sim/PortPublication.h"
#include "sim/PtyPort.h"
#include "sim/SerialLine.h"
#include "sim/SignalWatch.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <iomanip>
#include <ostream>
#include <poll.h>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

using Nanos = PanelEngine::Nanos;

Nanos steadyNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// To the nanosecond: a wait rounded up to whole milliseconds would hold each reply's last byte
// back by up to a millisecond, about one percent of a block's time at line rate.
std::optional<timespec> pollTimeout(std::optional<Nanos> due, Nanos now) {
    if (!due)
        return std::nullopt;
    const Nanos wait = std::clamp<Nanos>(*due - now, 0, 60'000 * PanelEngine::kMillisecond);
    return timespec{static_cast<time_t>(wait / 1'000'000'000), static_cast<long>(wait % 1'000'000'000)};
}

} // namespace

struct PanelSimulator::Running {
    Running(const SimOptions& options, std::ostream& err)
        : store(options.stateDir.empty() ? DefaultStateDirectory() : options.stateDir, DemoLayoutImage),
          verbose(options.verbose), err(err) {}

    SignalWatch signals;
    PanelStore store;
    std::optional<PtyPort> port;
    std::optional<PortPublication> publication;
    std::optional<PanelEngine> engine;
    std::optional<SerialLine> line;
    Nanos start = 0;
    bool verbose;
    std::ostream& err;
    std::array<std::uint8_t, 4096> buffer{};
};

PanelSimulator::PanelSimulator(SimOptions options) : options(std::move(options)) {}
PanelSimulator::~PanelSimulator() = default;

bool PanelSimulator::Start(std::ostream& out, std::ostream& err) {
    running = std::make_unique<Running>(options, err);
    Running& r = *running;
    ::signal(SIGPIPE, SIG_IGN);
    std::string error;
    if (!r.store.Open(&error)) {
        err << "zyl-panel-sim: " << error << "\n";
        running.reset();
        return false;
    }
    // Build the demo now, so the first download is not held up by drawing glyphs.
    const std::vector<std::uint8_t>& image = r.store.Layout();
    if (onLayout) {
        onLayout(image);
        r.store.onLayoutStored = onLayout;
    }

    r.port.emplace();
    r.publication.emplace(r.port->DevicePath());
    out << r.port->DevicePath() << std::endl;

    r.start = steadyNow();
    r.engine.emplace(options, r.store);
    if (options.verbose) {
        err << "zyl-panel-sim: " << r.port->DevicePath() << ", state in " << r.store.Folder() << "\n";
        r.engine->onEvent = [&r](const std::string& text) {
            r.err << std::fixed << std::setprecision(3) << static_cast<double>(steadyNow() - r.start) / 1e9 << " ["
                  << r.engine->Speed() << "] " << text << std::endl;
        };
    }
    r.line.emplace(*r.engine, options.lineRate);
    return true;
}

std::vector<int> PanelSimulator::Fds() const {
    return {running->port->MasterFd(), running->signals.Fd(), running->port->WatchFd()};
}

std::optional<std::int64_t> PanelSimulator::Due() const {
    const auto due = running->line->NextDue();
    if (!due)
        return std::nullopt;
    return std::max<Nanos>(*due - steadyNow(), 0);
}

bool PanelSimulator::Serve(const timespec* timeout) {
    Running& r = *running;
    PtyPort& port = *r.port;
    std::array<pollfd, 3> fds{{
        {port.MasterFd(), POLLIN, 0},
        {r.signals.Fd(), POLLIN, 0},
        {port.WatchFd(), POLLIN, 0},
    }};
    const int ready = ::ppoll(fds.data(), fds.size(), timeout, nullptr);
    if (ready < 0 && errno != EINTR)
        throw std::system_error(errno, std::generic_category(), "poll");
    if ((fds[1].revents & POLLIN) != 0 && r.signals.Raised())
        return false;
    if ((fds[2].revents & POLLIN) != 0)
        port.ServiceWatch();

    const int toolSpeed = port.ToolSpeed();
    const Nanos now = steadyNow();
    if ((fds[0].revents & POLLIN) != 0) {
        for (std::size_t n; (n = port.Read(r.buffer.data(), r.buffer.size())) > 0;)
            r.line->FromTool(std::span(r.buffer.data(), n), now, toolSpeed);
    }
    // The pty's buffer is the tool's receive buffer. What arrives while it is full is lost,
    // as on a wire, instead of piling up here and reaching the tool long after it was asked.
    const auto reply = r.line->ToTool(now, toolSpeed);
    if (!reply.empty()) {
        const std::size_t written = port.Write(reply.data(), reply.size());
        if (written < reply.size() && r.engine->onEvent)
            r.engine->onEvent("the tool is not reading: lost " + std::to_string(reply.size() - written) + " bytes");
    }
    return true;
}

int PanelSimulator::Run(std::ostream& out, std::ostream& err) {
    try {
        if (!Start(out, err))
            return 1;
        for (;;) {
            const auto timeout = pollTimeout(running->line->NextDue(), steadyNow());
            if (!Serve(timeout ? &*timeout : nullptr))
                break;
        }
        running.reset();
        if (options.verbose)
            err << "zyl-panel-sim: stopped\n";
        return 0;
    } catch (const std::exception& e) {
        err << "zyl-panel-sim: " << e.what() << "\n";
        return 1;
    }
}
