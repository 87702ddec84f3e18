#include "RenderCommand.h"

#include "LoadedFile.h"
#include "Zylctl.h"
#include "layout/FileIo.h"
#include "layout/TConstListItemVisitor.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>

namespace {

struct RenderOptions {
    std::string file;
    std::string output;                // -o: one page into this file
    std::optional<std::string> allDir; // --all: every page into this folder
    std::optional<std::int32_t> pageId;
    bool sleep = false;
    int select = 0;     // 1-based; 0 = nothing selected
    bool panel = false; // as the panel shows it: no hot-spot grids
};

// Tells a user page from the kinds render cannot draw, and names those.
class UserPageOf : public TConstListItemVisitor {
public:
    void Visit(const TUserPage& page) override { userPage = &page; }
    void Visit(const CBtn8Ctrl&) override { otherKind = "an eight-button page"; }
    void Visit(const CNumericCtrl&) override { otherKind = "a data-entry page"; }

    const TUserPage* userPage = nullptr;
    const char* otherKind = "a page of an unknown kind";
};

// The page the options name in the loaded file.
const TUserPage& choosePage(const RenderOptions& options, const LoadedFile& loaded) {
    if (loaded.filePage) {
        if (options.pageId || options.sleep)
            throw BadInput{loaded.name + " is a user page file holding one page; leave out --page and --sleep"};
        return *loaded.filePage;
    }
    if (options.sleep) {
        if (!loaded.layout.sleepPage)
            throw BadInput{loaded.name + " has no sleep page"};
        return *loaded.layout.sleepPage;
    }
    if (!options.pageId)
        throw BadInput{loaded.name + " is a template: choose its page with --page ID or --sleep"};
    const TListItem* page = loaded.layout.FindPage(*options.pageId);
    if (page == nullptr)
        throw BadInput{loaded.name + " has no page with ID " + std::to_string(*options.pageId)};
    UserPageOf chosen;
    page->Accept(chosen);
    if (chosen.userPage == nullptr)
        throw BadInput{"page " + std::to_string(*options.pageId) + " of " + loaded.name + " is " + chosen.otherKind +
                       ", not a user page"};
    return *chosen.userPage;
}

// Draws the page into the PNG file, written whole or not at all.
void writePicture(const RenderOptions& options, const std::string& output, const TUserPage& page,
                  const TUserObject* selected = nullptr) {
    const std::string& file = options.file;
    if (IsSameFile(file, output))
        throw BadInput{"\"" + output + "\" is FILE itself; write the picture to another file"};
    Surface surface(kScreenWidth, kScreenHeight);
    if (options.panel)
        PaintPanelPage(surface, page, PanelLook());
    else
        PaintPage(surface, page, selected);
    WriteScreenPng(output, surface);
}

void renderOne(const RenderOptions& options) {
    // Refused before FILE is read, so a FIFO as the output is never opened.
    if (IsSameFile(options.file, options.output))
        throw BadInput{"\"" + options.output + "\" is FILE itself; write the picture to another file"};
    LoadedFile loaded;
    LoadLayoutFile(options.file, loaded);
    const TUserPage& page = choosePage(options, loaded);
    const TUserObject* selected = nullptr;
    if (options.select > 0) {
        const auto n = static_cast<std::size_t>(options.select);
        if (n > page.objects.size())
            throw BadInput{"the page has " + std::to_string(page.objects.size()) + " objects, so there is no object " +
                           std::to_string(n) + " to select"};
        selected = page.objects[n - 1].get();
    }
    writePicture(options, options.output, page, selected);
}

// Every user page as DIR/<page ID>.png and the sleep page as DIR/sleep.png. A page ID that an
// earlier page already has gets "-2", "-3", ... after it, so no picture overwrites another; pages
// of the kinds the panel draws itself are passed over with a note.
void renderAll(const RenderOptions& options, std::ostream& err) {
    LoadedFile loaded;
    LoadLayoutFile(options.file, loaded);
    std::vector<std::pair<std::string, const TUserPage*>> pictures;
    std::map<std::int32_t, int> seen;
    std::vector<std::string> notes; // said once the folder is there, so a refusal stays one line
    auto add = [&](const TUserPage& page) {
        const int n = ++seen[page.pageId];
        pictures.emplace_back(std::to_string(page.pageId) + (n > 1 ? "-" + std::to_string(n) : "") + ".png", &page);
    };
    if (loaded.filePage) {
        add(*loaded.filePage);
    } else {
        for (const auto& page : loaded.layout.pages) {
            UserPageOf chosen;
            page->Accept(chosen);
            if (chosen.userPage != nullptr)
                add(*chosen.userPage);
            else
                notes.push_back("page " + std::to_string(page->pageId) + " is " + chosen.otherKind +
                                "; it has no picture");
        }
        if (loaded.layout.sleepPage)
            pictures.emplace_back("sleep.png", loaded.layout.sleepPage.get());
    }
    if (pictures.empty()) {
        err << "zylctl render: " << loaded.name << " has no user page and no sleep page to draw\n";
        return;
    }

    namespace fs = std::filesystem;
    std::error_code error;
    const std::string& dir = *options.allDir;
    fs::create_directories(dir, error);
    if (!fs::is_directory(dir))
        throw BadInput{"cannot make the folder \"" + dir + "\"" +
                       (error ? ": " + error.message() : ": something else has that name")};
    // Checked before anything is written: a link under an output's name would have its target
    // replaced, outside DIR, so it is refused and left alone.
    for (const auto& [name, page] : pictures) {
        const std::string output = (fs::path(dir) / name).string();
        if (fs::is_symlink(output, error))
            throw BadInput{"\"" + output + "\" is a symbolic link; --all writes only files of its own, so remove " +
                           "the link or choose another folder"};
        if (IsSameFile(options.file, output))
            throw BadInput{"\"" + output + "\" is FILE itself; choose another folder"};
    }
    for (const std::string& note : notes)
        err << "zylctl render: " << note << '\n';
    for (const auto& [name, page] : pictures)
        writePicture(options, (fs::path(dir) / name).string(), *page);
}

} // namespace

CommandRun DefineRenderCommand(CLI::App& command) {
    auto options = std::make_shared<RenderOptions>();
    command.add_option("FILE", options->file, "a template (.zyl) or user page file (.zup)")->required();
    CLI::Option* page = command
                            .add_option_function<std::int32_t>(
                                "--page", [options](const std::int32_t& id) { options->pageId = id; },
                                "in a template, the user page with that page ID")
                            ->type_name("ID");
    CLI::Option* sleep = command.add_flag("--sleep", options->sleep, "in a template, the sleep page");
    CLI::Option* select = command
                              .add_option("--select", options->select,
                                          "also draw the selection marks of the page's Nth object, counted from 1\n"
                                          "(1 is the first object, drawn at the bottom)")
                              ->check(CLI::Range(1, INT_MAX).description(""))
                              ->type_name("N");
    CLI::Option* output = command
                              .add_option("-o,--output", options->output,
                                          "the file to write (written whole or not at all; never FILE itself)")
                              ->type_name("OUT.png");
    CLI::Option* all = command
                           .add_option_function<std::string>(
                               "--all", [options](const std::string& dir) { options->allDir = dir; },
                               "every user page as DIR/ID.png, named by its page ID, and the sleep\n"
                               "page as DIR/sleep.png; DIR is made when missing")
                           ->type_name("DIR");
    CLI::Option* panel = command.add_flag("--panel", options->panel,
                                          "draw as the panel shows it: hot spots invisible, as the panel\n"
                                          "model of 'zylctl try' draws them");
    page->excludes(sleep);
    panel->excludes(select);
    all->excludes(page)->excludes(sleep)->excludes(select)->excludes(output);
    command.callback([output, all] {
        if (output->count() == 0 && all->count() == 0)
            throw CLI::RequiredError("-o OUT.png or --all DIR");
    });

    return [options](const CommandContext& context) -> int {
        try {
            if (options->allDir)
                renderAll(*options, context.err);
            else
                renderOne(*options);
        } catch (const BadInput& bad) {
            context.err << "zylctl render: " << bad.reason << '\n';
            return kExitBadInput;
        }
        return kExitOk;
    };
}

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> line = {"render"};
    line.insert(line.end(), args.begin(), args.end());
    return RunZylctl(line, out, err);
}
