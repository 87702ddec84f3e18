#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the simulated panel identifies itself, serves its layout and misbehaves. A fault count of 0
// means the fault is off; "every N" counts the replies the fault can touch, starting at 1.
struct SimOptions {
    int firmware = 221;
    int hardware = 3;
    bool answerInfo = true;
    int blockSize = 1000;
    int corruptEvery = 0;
    int badLengthEvery = 0;
    int nakEvery = 0;
    int dropEvery = 0;
    int extraEvery = 0;
    bool lineRate = false;
    int silentAfter = -1; // below 0: never falls silent
    int damageStore = -1; // below 0: layouts are stored as received
    std::uint32_t seed = 1;
    std::string stateDir; // empty: DefaultStateDirectory()
    bool verbose = false;
    bool show = false; // a window with the panel's screen
    bool help = false;
};

// The usage text printed by --help.
const char* SimUsage();

// Reads the command line (without the program name). Nullopt, with the reason in `error`, for an
// unknown option, a missing value or a value out of range.
[[nodiscard]] std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error);

// "$XDG_STATE_HOME/zylmosaics/sim", else "$HOME/.local/state/zylmosaics/sim", else a folder in /tmp
// named after the user ID.
std::string DefaultStateDirectory();
