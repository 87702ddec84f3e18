#include "simview/ShowSimulator.h"

#include "sim/PanelSimulator.h"
#include "simview/SimScreenWindow.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdlib>
#include <exception>
#include <memory>
#include <ostream>
#include <vector>

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

bool HasDisplay() {
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

int ShowSimulator(const SimOptions& options, int argc, char** argv, std::ostream& out, std::ostream& err) {
    if (!HasDisplay()) {
        err << "zyl-panel-sim --show needs a display; without one, run it under Xvfb: xvfb-run zyl-panel-sim --show\n";
        return 1;
    }
    // Set up before Qt starts its threads: the simulator blocks the stopping signals, and threads
    // started after it inherit that, so the signals reach its watch instead of ending the program.
    PanelSimulator simulator(options);
    SimScreenWindow* window = nullptr;
    std::vector<std::uint8_t> first;
    simulator.onLayout = [&](const std::vector<std::uint8_t>& image) {
        if (window != nullptr)
            window->LayoutStored(image);
        else
            first = image;
    };
    try {
        if (!simulator.Start(out, err))
            return 1;
    } catch (const std::exception& e) {
        err << "zyl-panel-sim: " << e.what() << "\n";
        return 1;
    }

    QApplication app(argc, argv);
    SimScreenWindow screen(out, err);
    window = &screen;
    screen.LayoutStored(first);

    QTimer due;
    due.setSingleShot(true);
    due.setTimerType(Qt::PreciseTimer);
    int status = 0;
    // One round of the simulator without waiting, then a wake-up for the line's next byte
    // (rounded up to the millisecond: Qt's timers go no finer).
    const auto serve = [&] {
        try {
            static constexpr timespec kNoWait{0, 0};
            if (!simulator.Serve(&kNoWait)) {
                app.quit();
                return;
            }
        } catch (const std::exception& e) {
            err << "zyl-panel-sim: " << e.what() << "\n";
            status = 1;
            app.quit();
            return;
        }
        if (const auto wait = simulator.Due())
            due.start(static_cast<int>((*wait + 999'999) / 1'000'000));
        else
            due.stop();
    };
    QObject::connect(&due, &QTimer::timeout, serve);
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers;
    for (const int fd : simulator.Fds()) {
        notifiers.push_back(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read));
        QObject::connect(notifiers.back().get(), &QSocketNotifier::activated, serve);
    }

    screen.show();
    app.exec();
    window = nullptr;
    return status;
}
