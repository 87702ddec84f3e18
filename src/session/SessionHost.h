#pragma once

#include "link/TransferObserver.h"

#include <optional>
#include <string>

// What a Session needs from the window that shows it: a progress window for transfers, a file
// chooser, a message box, a repaint after each log line and after each change of state.
class SessionHost {
public:
    virtual ~SessionHost() = default;

    // Shows the progress window ("Reading Data From The Control" when `reading`, else "Writing
    // Data to the Control") and returns the observer the transfer reports to until EndProgress.
    virtual TransferObserver& BeginProgress(bool reading) = 0;
    virtual void EndProgress() = 0;
    // Watches the exchanges that show no progress window (the probe, the handshake, reboot), so
    // one source decides whether every exchange is cancelled. Nobody watches by default.
    virtual TransferObserver& Watcher() { return unwatched; }
    // The user's choice of firmware file, or nothing when the chooser was cancelled.
    virtual std::optional<std::string> ChooseFirmwareFile() = 0;
    // Tells the user why a command did nothing.
    virtual void ShowMessage(const std::string& text) = 0;
    // The log grew; show it now (nothing else is repainted while a command runs).
    virtual void LogChanged() {}
    // The state, the connect caption or the enabled commands changed; show them now, since a
    // command may go on for a while (the window behind a progress window shows them).
    virtual void StateChanged() {}

private:
    TransferObserver unwatched;
};
