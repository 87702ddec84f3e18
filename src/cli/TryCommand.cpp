#include "TryCommand.h"

#include "LoadedFile.h"
#include "Zylctl.h"
#include "layout/FileIo.h"
#include "panel/OutputLine.h"
#include "panel/PanelModel.h"
#include "render/PageDrawing.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <variant>
#include <vector>

namespace {

// The longest single wait: a day, well beyond any panel timer, so a slip of the keyboard
// (a number of milliseconds given as seconds, say) is refused rather than run.
constexpr double kLongestWait = 86400;

struct TryOptions {
    std::string file;
    std::string output; // -o: the final screen; empty for none
};

// One step of the script, in command-line order.
struct Touch {
    enum class Kind { Tap, Down, Up } kind;
    int x = 0;
    int y = 0;
};
struct Wait {
    std::int64_t milliseconds = 0;
};
using Step = std::variant<Touch, Wait>;

// "X,Y" on the screen, or why not.
Touch point(Touch::Kind kind, const std::string& option, const std::string& text) {
    const std::size_t comma = text.find(',');
    int x = -1;
    int y = -1;
    const auto whole = [](std::string_view part, int& value) {
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        return !part.empty() && ec == std::errc() && end == part.data() + part.size();
    };
    const std::string_view all(text);
    if (comma == std::string::npos || !whole(all.substr(0, comma), x) || !whole(all.substr(comma + 1), y))
        throw BadInput{option + " \"" + text + "\" is not a point: write X,Y, such as 160,120"};
    if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight)
        throw BadInput{option + " \"" + text + "\" is off the screen: X runs from 0 to " +
                       std::to_string(kScreenWidth - 1) + " and Y from 0 to " + std::to_string(kScreenHeight - 1)};
    return {kind, x, y};
}

// Seconds, a fraction allowed, to the millisecond.
Wait wait(const std::string& text) {
    double seconds = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
        seconds < 0 || seconds > kLongestWait)
        throw BadInput{"--wait \"" + text + "\" is not a wait: write seconds from 0 to 86400, such as 2 or 0.5"};
    return {std::llround(seconds * 1000)};
}

// The touches and waits as they stand on the command line: CLI11 keeps each occurrence of an
// option in parse order, and each option's values in order.
std::vector<Step> script(const CLI::App& command) {
    std::vector<Step> steps;
    std::map<const CLI::Option*, std::size_t> used;
    for (const CLI::Option* option : command.parse_order()) {
        const std::string name = option->get_name(false, true);
        const std::size_t n = used[option]++;
        if (name == "--up") {
            steps.emplace_back(Touch{Touch::Kind::Up});
            continue;
        }
        if (name != "--tap" && name != "--down" && name != "--wait")
            continue;
        const std::vector<std::string>& values = option->results();
        if (n >= values.size())
            continue;
        if (name == "--wait")
            steps.emplace_back(wait(values[n]));
        else
            steps.emplace_back(point(name == "--tap" ? Touch::Kind::Tap : Touch::Kind::Down, name, values[n]));
    }
    return steps;
}

// A page file's page becomes the layout's only page, and its default.
void adoptFilePage(LoadedFile& loaded) {
    if (!loaded.filePage)
        return;
    const std::int32_t id = loaded.filePage->pageId;
    loaded.layout.InsertPageAfter(std::move(loaded.filePage), nullptr);
    loaded.layout.defaultPageId = id;
}

void run(const TryOptions& options, const std::vector<Step>& steps, std::ostream& out) {
    if (!options.output.empty() && IsSameFile(options.file, options.output))
        throw BadInput{"\"" + options.output + "\" is FILE itself; write the picture to another file"};
    LoadedFile loaded;
    LoadLayoutFile(options.file, loaded);
    adoptFilePage(loaded);

    PanelModel panel(loaded.layout);
    panel.Restart();
    for (const Step& step : steps) {
        if (const auto* w = std::get_if<Wait>(&step)) {
            panel.Advance(w->milliseconds);
            continue;
        }
        const Touch& touch = std::get<Touch>(step);
        switch (touch.kind) {
        case Touch::Kind::Tap:
            panel.Tap(touch.x, touch.y);
            break;
        case Touch::Kind::Down:
            panel.Down(touch.x, touch.y);
            break;
        case Touch::Kind::Up:
            panel.Up();
            break;
        }
    }
    for (const PanelModel::Output& output : panel.Outputs())
        out << OutputLine(output) << '\n';
    if (!options.output.empty()) {
        Surface screen(kScreenWidth, kScreenHeight);
        panel.Draw(screen);
        WriteScreenPng(options.output, screen);
    }
}

} // namespace

CommandRun DefineTryCommand(CLI::App& command) {
    auto options = std::make_shared<TryOptions>();
    command.add_option("FILE", options->file, "a template (.zyl) or user page file (.zup)")->required();
    // The values are read back from the parse, in order, so these store nothing of their own.
    const auto repeated = [&command](const char* name, const char* help, const char* type) {
        command.add_option(name)->description(help)->type_name(type)->allow_extra_args(false)->multi_option_policy(
            CLI::MultiOptionPolicy::TakeAll);
    };
    repeated("--tap", "a finger touches X,Y and lifts", "X,Y");
    repeated("--down", "a finger goes down at X,Y and stays", "X,Y");
    command.add_flag("--up")->description("the finger lifts")->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    repeated("--wait", "SECONDS pass with no touch (0.5 is half a second)", "SECONDS");
    command
        .add_option("-o,--output", options->output,
                    "the final screen as a PNG file (written whole or not at all; never FILE itself)")
        ->type_name("OUT.png");

    const CLI::App* parsed = &command;
    return [options, parsed](const CommandContext& context) -> int {
        try {
            run(*options, script(*parsed), context.out);
        } catch (const BadInput& bad) {
            context.err << "zylctl try: " << bad.reason << '\n';
            return kExitBadInput;
        }
        return kExitOk;
    };
}
