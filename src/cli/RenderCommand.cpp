#include "RenderCommand.h"

#include "LayoutFileKind.h"
#include "Zylctl.h"
#include "layout/FileIo.h"
#include "layout/TConstListItemVisitor.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

const char* const kRenderUsage = "usage: zylctl render FILE [--page ID | --sleep] [--select N] -o OUT.png";

const char* const kRenderHelp =
    R"(Draws one user page of FILE as the panel shows it, 320 x 240 pixels, into the PNG file OUT.png.
Hot spots show as dotted grids, as in the page editor.

FILE is a template (.zyl) or a user page file (.zup). In a template, choose the page:
  --page ID      the user page with that page ID
  --sleep        the sleep page
A user page file holds one page and takes neither.

  --select N     also draw the selection marks of the page's Nth object, counted from 1
                 (1 is the first object, drawn at the bottom)
  -o OUT.png     the file to write (written whole or not at all; never FILE itself)

Exit status: 0 written, 1 bad input (unreadable or invalid file, no such page, no such object,
OUT.png being FILE), 2 usage.)";

namespace {

struct RenderOptions {
    std::string file;
    std::string output;
    std::optional<std::int32_t> pageId;
    bool sleep = false;
    std::size_t select = 0; // 1-based; 0 = nothing selected
};

std::optional<long long> integer(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || rest != end || text.empty())
        return std::nullopt;
    return value;
}

// The options, or nullopt with the reason when the command line is not a valid use of the command.
std::optional<RenderOptions> parse(const std::vector<std::string>& args, std::string& reason) {
    RenderOptions options;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--page" || arg == "--select" || arg == "-o" || arg == "--output";
        if (takesValue && i + 1 >= args.size()) {
            reason = arg + " needs a value";
            return std::nullopt;
        }
        if (arg == "--page") {
            const auto id = integer(args[++i]);
            if (!id || *id < INT32_MIN || *id > INT32_MAX) {
                reason = "--page takes a page ID, not '" + args[i] + "'";
                return std::nullopt;
            }
            options.pageId = static_cast<std::int32_t>(*id);
        } else if (arg == "--select") {
            const auto n = integer(args[++i]);
            if (!n || *n < 1) {
                reason = "--select takes an object number from 1, not '" + args[i] + "'";
                return std::nullopt;
            }
            options.select = static_cast<std::size_t>(*n);
        } else if (arg == "-o" || arg == "--output") {
            options.output = args[++i];
        } else if (arg == "--sleep") {
            options.sleep = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            reason = "unknown option '" + arg + "'";
            return std::nullopt;
        } else if (haveFile) {
            reason = "one FILE only";
            return std::nullopt;
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    if (!haveFile)
        reason = "FILE is missing";
    else if (options.output.empty())
        reason = "-o OUT.png is missing";
    else if (options.pageId && options.sleep)
        reason = "--page and --sleep exclude each other";
    else
        return options;
    return std::nullopt;
}

// Tells a user page from the kinds render cannot draw, and names those.
class UserPageOf : public TConstListItemVisitor {
public:
    void Visit(const TUserPage& page) override { userPage = &page; }
    void Visit(const CBtn8Ctrl&) override { otherKind = "an eight-button page"; }
    void Visit(const CNumericCtrl&) override { otherKind = "a data-entry page"; }

    const TUserPage* userPage = nullptr;
    const char* otherKind = "a page of an unknown kind";
};

// Finds the page the options name in the loaded file; null with the reason when there is none.
const TUserPage* choosePage(const RenderOptions& options, const TLayout& layout, const TUserPage* filePage,
                            std::string& reason) {
    const std::string file = "\"" + options.file + "\"";
    if (filePage != nullptr) {
        if (options.pageId || options.sleep) {
            reason = file + " is a user page file holding one page; leave out --page and --sleep";
            return nullptr;
        }
        return filePage;
    }
    if (options.sleep) {
        if (!layout.sleepPage)
            reason = file + " has no sleep page";
        return layout.sleepPage.get();
    }
    if (!options.pageId) {
        reason = file + " is a template: choose its page with --page ID or --sleep";
        return nullptr;
    }
    const TListItem* page = layout.FindPage(*options.pageId);
    if (page == nullptr) {
        reason = file + " has no page with ID " + std::to_string(*options.pageId);
        return nullptr;
    }
    UserPageOf chosen;
    page->Accept(chosen);
    if (chosen.userPage == nullptr)
        reason =
            "page " + std::to_string(*options.pageId) + " of " + file + " is " + chosen.otherKind + ", not a user page";
    return chosen.userPage;
}

} // namespace

int RunRenderCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    std::string reason;
    const std::optional<RenderOptions> options = parse(args, reason);
    if (!options) {
        err << "zylctl render: " << reason << '\n' << kRenderUsage << '\n';
        return kExitUsage;
    }

    if (IsSameFile(options->file, options->output)) {
        err << "zylctl render: \"" << options->output << "\" is FILE itself; write the picture to another file\n";
        return kExitBadInput;
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(options->file, TLayout::kUploadCapacity, bytes, &reason)) {
        err << "zylctl render: " << reason << '\n';
        return kExitBadInput;
    }
    const LayoutFileKind kind = KindOfLayoutFile(bytes);
    const std::string name = "\"" + options->file + "\"";
    TLayout layout;
    // A page file's page joins a fresh layout, so its own images are there for it.
    std::unique_ptr<TUserPage> filePage;
    bool loaded = false;
    if (kind == LayoutFileKind::Template) {
        loaded = layout.LoadTemplateBytes(bytes, name, &reason);
    } else if (kind == LayoutFileKind::Page) {
        filePage = std::make_unique<TUserPage>(&layout, u"");
        loaded = layout.LoadPageBytes(*filePage, bytes, name, &reason);
    } else {
        reason = NeitherLayoutFileMessage(name);
    }
    if (!loaded) {
        err << "zylctl render: " << reason << '\n';
        return kExitBadInput;
    }

    const TUserPage* page = choosePage(*options, layout, filePage.get(), reason);
    if (page == nullptr) {
        err << "zylctl render: " << reason << '\n';
        return kExitBadInput;
    }
    const TUserObject* selected = nullptr;
    if (options->select > 0) {
        if (options->select > page->objects.size()) {
            err << "zylctl render: the page has " << page->objects.size() << " objects, so there is no object "
                << options->select << " to select\n";
            return kExitBadInput;
        }
        selected = page->objects[options->select - 1].get();
    }

    Surface surface(kScreenWidth, kScreenHeight);
    PaintPage(surface, *page, selected);
    const std::vector<std::uint8_t> png = surface.EncodePng();
    const std::span<const std::uint8_t> parts[] = {png};
    if (!WriteFileAtomically(options->output, parts, &reason)) {
        err << "zylctl render: " << reason << '\n';
        return kExitBadInput;
    }
    return kExitOk;
}
