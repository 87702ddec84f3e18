#pragma once

#include <optional>
#include <string>

class TransferObserver;

// What a Session needs from the window that shows it: a progress window for transfers, a file
// chooser, a message box and a repaint after each log line.
class SessionHost {
public:
    virtual ~SessionHost() = default;

    // Shows the progress window ("Reading Data From The Control" when `reading`, else "Writing
    // Data to the Control") and returns the observer the transfer reports to until EndProgress.
    virtual TransferObserver& BeginProgress(bool reading) = 0;
    virtual void EndProgress() = 0;
    // The user's choice of firmware file, or nothing when the chooser was cancelled.
    virtual std::optional<std::string> ChooseFirmwareFile() = 0;
    // Tells the user why a command did nothing.
    virtual void ShowMessage(const std::string& text) = 0;
    // The log grew; show it now (nothing else is repainted while a command runs).
    virtual void LogChanged() {}
};
