#pragma once

#include "QuickTiming.h"
#include "RichLayout.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "session/Session.h"
#include "session/SessionHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The user at the progress window: presses Cancel a set time after it opens, and otherwise only
// after a limit far beyond any transfer here, so a broken link fails the test instead of hanging.
class UserAtProgressWindow : public TransferObserver {
public:
    using Clock = std::chrono::steady_clock;

    void Open(std::optional<std::chrono::milliseconds> cancelAfter) {
        cancelAt = Clock::now() + cancelAfter.value_or(std::chrono::seconds(60));
    }
    void progress(int permille) override {
        if (onProgress)
            onProgress(permille);
    }
    bool cancelled() override { return Clock::now() >= cancelAt; }

    std::function<void(int)> onProgress;

private:
    Clock::time_point cancelAt = Clock::now();
};

// The main window as the session sees it, with the user's choices scripted.
class UserHost : public SessionHost {
public:
    TransferObserver& BeginProgress(bool) override {
        user.Open(cancelAfter);
        return user;
    }
    void EndProgress() override {}
    std::optional<std::string> ChooseFirmwareFile() override { return firmwareFile; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void LogChanged() override {
        if (onLog)
            onLog();
    }

    UserAtProgressWindow user;
    // When the user presses Cancel after a progress window opens; never when unset.
    std::optional<std::chrono::milliseconds> cancelAfter;
    std::optional<std::string> firmwareFile;
    std::vector<std::string> messages;
    std::function<void()> onLog;
};

// The layout as the panel would receive it, pixels included.
inline std::vector<std::uint8_t> encoded(TLayout& layout) {
    std::string error;
    const auto image = layout.Encode(TLayout::kUploadCapacity, &error);
    EXPECT_TRUE(image) << error;
    return image.value_or(std::vector<std::uint8_t>{});
}

enum class Transfer { Download, Upload, Firmware };

inline const char* nameOf(Transfer t) {
    return t == Transfer::Download ? "Download" : t == Transfer::Upload ? "Upload" : "Firmware";
}

// A simulator whose panel holds a rich layout, and a session of the real serial port on it.
class SessionOnSimulator : public ::testing::Test {
protected:
    void SetUp() override {
        TLayout rich;
        MakeRichLayout(rich);
        panelLayout = encoded(rich);
        state.Write("layout.bin", panelLayout);
        // A download goes through a decode, as the panel's copy does on every connect.
        TLayout decoded;
        ASSERT_TRUE(decoded.Decode(panelLayout));
        downloaded = encoded(decoded);
    }
    void start(const std::vector<std::string>& arguments, const LinkTiming& timing = simulatorTiming()) {
        sim = std::make_unique<SimProcess>(arguments, state.Path(), runtime.Path());
        ASSERT_FALSE(sim->DevicePath().empty()) << "the simulator printed no device path";
        session = std::make_unique<Session>(
            layout, host, [] { return std::vector<PortEntry>{}; }, nullptr, timing);
    }
    // One transfer, started as the main window's command starts it.
    void run(Transfer transfer, const std::string& device) {
        switch (transfer) {
        case Transfer::Download:
            session->OnConnect(device);
            break;
        case Transfer::Upload:
            session->OnUploadLayout();
            break;
        case Transfer::Firmware:
            session->OnUpgradeFirmware(device);
            break;
        }
    }
    // A file in the simulator's state folder; nullopt when it is not there.
    std::optional<std::vector<std::uint8_t>> stateFile(const char* name) const {
        std::vector<std::uint8_t> bytes;
        if (!ReadWholeFile(state.Path(name), 10'000'000, bytes, nullptr))
            return std::nullopt;
        return bytes;
    }

    TempFolder state;
    TempFolder runtime;
    TempDir files;
    std::vector<std::uint8_t> panelLayout;
    // The panel's layout as a download leaves it in memory.
    std::vector<std::uint8_t> downloaded;
    TLayout layout;
    UserHost host;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<Session> session;
};
