#include "sim/SimOptions.h"

#include <charconv>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <unistd.h>

namespace {

const char* const kUsage = R"(usage: zyl-panel-sim [OPTIONS]

A ZYL-1 panel on a pseudo-terminal. Prints the device path on the first line of standard
output, lists itself as "ZYL-1 simulator" among the serial ports, and answers the tool until
it gets SIGINT, SIGTERM or SIGHUP. Standard input is not read.

The panel keeps its layout and the last firmware it received in its state folder:
  layout.bin     the layout image exactly as last uploaded (absent: a built-in demo layout)
  firmware.zfw   the last firmware file received, byte for byte

options:
  --state DIR           state folder (default: $XDG_STATE_HOME/zylmosaics/sim,
                        or ~/.local/state/zylmosaics/sim)
  --firmware N          firmware version reported to %reqinfo (default 221)
  --hardware N          hardware version reported to %reqinfo (default 3)
  --no-info             stay silent to %reqinfo, like firmware before 2.00
  --block-size N        bytes per download block, 1 to 1000 (default 1000)
  --line-rate           bytes take 10 bit-times at the current speed, and bytes sent at a
                        speed the other side is not on arrive as garbage
faults (every Nth of the replies concerned, counted from the start):
  --corrupt-every N     a block reply or acknowledgement has one bit flipped
  --bad-length-every N  a block reply announces 0 or 1001 bytes instead of its data
  --nak-every N         a good block packet is refused with "%return 1"
  --drop-every N        a block reply or acknowledgement loses one byte
  --extra-every N       an acknowledgement gets one stray byte after it
  --silent-after N      after N commands the panel answers nothing at all
  --damage-store N      every layout is kept with its byte N (counted from 0) inverted, yet
                        acknowledged, so reading it back shows a difference in block N / 1000;
                        a layout of N bytes or fewer is kept as received
  --seed N              seed of the fault and garbage choices (default 1)
  --verbose             log commands and events on standard error
  --show                open a window with the panel's screen for the layout it holds,
                        redrawn at each upload; touches by mouse; what the panel sends
                        goes to standard output, one line each, as 'zylctl try' prints it
  --help                show this text
)";

[[nodiscard]] bool parseInt(const std::string& text, long long low, long long high, long long& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && value >= low && value <= high;
}

} // namespace

const char* SimUsage() {
    return kUsage;
}

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error) {
    SimOptions options;
    constexpr long long kIntMax = std::numeric_limits<int>::max();
    struct Numeric {
        long long low;
        long long high;
        std::function<void(long long)> set;
    };
    const std::map<std::string, Numeric> numeric = {
        {"--firmware", {0, kIntMax, [&](long long v) { options.firmware = static_cast<int>(v); }}},
        {"--hardware", {0, kIntMax, [&](long long v) { options.hardware = static_cast<int>(v); }}},
        {"--block-size", {1, 1000, [&](long long v) { options.blockSize = static_cast<int>(v); }}},
        {"--corrupt-every", {1, kIntMax, [&](long long v) { options.corruptEvery = static_cast<int>(v); }}},
        {"--bad-length-every", {1, kIntMax, [&](long long v) { options.badLengthEvery = static_cast<int>(v); }}},
        {"--nak-every", {1, kIntMax, [&](long long v) { options.nakEvery = static_cast<int>(v); }}},
        {"--drop-every", {1, kIntMax, [&](long long v) { options.dropEvery = static_cast<int>(v); }}},
        {"--extra-every", {1, kIntMax, [&](long long v) { options.extraEvery = static_cast<int>(v); }}},
        {"--silent-after", {0, kIntMax, [&](long long v) { options.silentAfter = static_cast<int>(v); }}},
        {"--damage-store", {0, kIntMax, [&](long long v) { options.damageStore = static_cast<int>(v); }}},
        {"--seed",
         {0, std::numeric_limits<std::uint32_t>::max(),
          [&](long long v) { options.seed = static_cast<std::uint32_t>(v); }}},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--no-info") {
            options.answerInfo = false;
        } else if (arg == "--line-rate") {
            options.lineRate = true;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--show") {
            options.show = true;
        } else if (arg == "--state") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--state needs a folder";
                return std::nullopt;
            }
            options.stateDir = args[++i];
        } else if (const auto it = numeric.find(arg); it != numeric.end()) {
            long long value = 0;
            if (i + 1 >= args.size() || !parseInt(args[i + 1], it->second.low, it->second.high, value)) {
                error = arg + " needs a whole number from " + std::to_string(it->second.low) + " to " +
                        std::to_string(it->second.high);
                return std::nullopt;
            }
            it->second.set(value);
            ++i;
        } else {
            error = "unknown option \"" + arg + "\"";
            return std::nullopt;
        }
    }
    return options;
}

std::string DefaultStateDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && *state == '/')
        return std::string(state) + "/zylmosaics/sim";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/')
        return std::string(home) + "/.local/state/zylmosaics/sim";
    return "/tmp/zylmosaics-" + std::to_string(static_cast<unsigned long>(::getuid())) + "/sim";
}
