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

int PanelSimulator::Run(std::ostream& out, std::ostream& err) {
    try {
        SignalWatch signals;
        ::signal(SIGPIPE, SIG_IGN);

        PanelStore store(options.stateDir.empty() ? DefaultStateDirectory() : options.stateDir, DemoLayoutImage);
        std::string error;
        if (!store.Open(&error)) {
            err << "zyl-panel-sim: " << error << "\n";
            return 1;
        }
        // Build the demo now, so the first download is not held up by drawing glyphs.
        store.Layout();

        PtyPort port;
        PortPublication publication(port.DevicePath());
        out << port.DevicePath() << std::endl;

        const Nanos start = steadyNow();
        PanelEngine engine(options, store);
        if (options.verbose) {
            err << "zyl-panel-sim: " << port.DevicePath() << ", state in " << store.Folder() << "\n";
            engine.onEvent = [&](const std::string& text) {
                err << std::fixed << std::setprecision(3) << static_cast<double>(steadyNow() - start) / 1e9 << " ["
                    << engine.Speed() << "] " << text << std::endl;
            };
        }
        SerialLine line(engine, options.lineRate);
        std::array<std::uint8_t, 4096> buffer{};

        for (;;) {
            std::array<pollfd, 3> fds{{
                {port.MasterFd(), POLLIN, 0},
                {signals.Fd(), POLLIN, 0},
                {port.WatchFd(), POLLIN, 0},
            }};
            const auto timeout = pollTimeout(line.NextDue(), steadyNow());
            const int ready = ::ppoll(fds.data(), fds.size(), timeout ? &*timeout : nullptr, nullptr);
            if (ready < 0 && errno != EINTR)
                throw std::system_error(errno, std::generic_category(), "poll");
            if ((fds[1].revents & POLLIN) != 0 && signals.Raised())
                break;
            if ((fds[2].revents & POLLIN) != 0)
                port.ServiceWatch();

            const int toolSpeed = port.ToolSpeed();
            const Nanos now = steadyNow();
            if ((fds[0].revents & POLLIN) != 0) {
                for (std::size_t n; (n = port.Read(buffer.data(), buffer.size())) > 0;)
                    line.FromTool(std::span(buffer.data(), n), now, toolSpeed);
            }
            // The pty's buffer is the tool's receive buffer. What arrives while it is full is lost,
            // as on a wire, instead of piling up here and reaching the tool long after it was asked.
            const auto reply = line.ToTool(now, toolSpeed);
            if (!reply.empty()) {
                const std::size_t written = port.Write(reply.data(), reply.size());
                if (written < reply.size() && engine.onEvent)
                    engine.onEvent("the tool is not reading: lost " + std::to_string(reply.size() - written) +
                                   " bytes");
            }
        }
        if (options.verbose)
            err << "zyl-panel-sim: stopped\n";
        return 0;
    } catch (const std::exception& e) {
        err << "zyl-panel-sim: " << e.what() << "\n";
        return 1;
    }
}
