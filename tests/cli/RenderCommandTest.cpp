#include "CliRun.h"
#include "CraftedImages.h"
#include "RichLayout.h"
#include "TempDir.h"
#include "cli/Zylctl.h"
#include "layout/FileIo.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <sys/stat.h>

namespace {

Picture painted(const TUserPage& page, const TUserObject* selected = nullptr) {
    Surface surface(kScreenWidth, kScreenHeight);
    PaintPage(surface, page, selected);
    return surface.ToPicture();
}

Picture paintedAsPanel(const TUserPage& page) {
    Surface surface(kScreenWidth, kScreenHeight);
    PaintPanelPage(surface, page, PanelLook());
    return surface.ToPicture();
}

// The rich layout saved as a template and its user page as a page file.
class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        MakeRichLayout(layout);
        ASSERT_TRUE(layout.SaveTemplate(zyl));
        ASSERT_TRUE(layout.SavePage(userPage(layout), zup));
        std::ofstream(other) << "not a layout";
    }

    static const TUserPage& userPage(const TLayout& from) { return static_cast<const TUserPage&>(*from.pages.front()); }

    Picture written() const {
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(ReadWholeFile(png, 1 << 20, bytes, nullptr));
        Picture picture;
        picture.DecodePng(bytes);
        return picture;
    }

    TempDir temp;
    TLayout layout;
    const std::string zyl = temp.Path("rich.zyl");
    const std::string zup = temp.Path("page.zup");
    const std::string other = temp.Path("notes.txt");
    const std::string png = temp.Path("out.png");
};

TEST_F(RenderCommand, UsageMistakesExitWithStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {"render"},
        {"render", "-o", png},
        {"render", zyl, "--page", "10000"},
        {"render", zyl, "--page"},
        {"render", zyl, "--page", "ten", "-o", png},
        {"render", zyl, "--page", "99999999999", "-o", png},
        {"render", zyl, "--page", "10000", "--sleep", "-o", png},
        {"render", zyl, "--sleep", "--select", "0", "-o", png},
        {"render", zyl, "--sleep", "--select", "-2", "-o", png},
        {"render", zyl, "--sleep", "--frobnicate", "-o", png},
        {"render", zyl, zup, "--sleep", "-o", png},
        {"render", zyl, "--all"},
        {"render", zyl, "--all", temp.Path("all"), "-o", png},
        {"render", zyl, "--all", temp.Path("all"), "--page", "10000"},
        {"render", zyl, "--all", temp.Path("all"), "--sleep"},
        {"render", zyl, "--all", temp.Path("all"), "--select", "1"},
        {"render", zyl, "--page", "10000", "--select", "1", "--panel", "-o", png},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size() > 2 ? args[2] : "");
        const CliRun run = zylctl(args);
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_NE(run.err.find("usage: zylctl render FILE"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(png));
        EXPECT_FALSE(std::filesystem::exists(temp.Path("all")));
    }
    const CliRun help = zylctl({"render", "--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("counted from 1"), std::string::npos);
    EXPECT_NE(zylctl({"--help"}).out.find("render FILE"), std::string::npos);
}

TEST_F(RenderCommand, BadInputExitsWithStatus1AndOneLine) {
    // A link under the name of the last picture --all writes, to a file outside the folder.
    const std::string linked = temp.Path("linked");
    std::filesystem::create_directory(linked);
    std::filesystem::create_symlink(other, linked + "/sleep.png");
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"render", temp.Path("missing.zyl"), "--sleep", "-o", png}, "missing.zyl"},
        {{"render", other, "--sleep", "-o", png}, "neither a ZYL-1 template file nor"},
        {{"render", zyl, "--page", "12345", "-o", png}, "no page with ID 12345"},
        {{"render", zyl, "--page", "10001", "-o", png}, "eight-button page, not a user page"},
        {{"render", zyl, "--page", "10002", "-o", png}, "data-entry page, not a user page"},
        {{"render", zyl, "-o", png}, "choose its page with --page ID or --sleep"},
        {{"render", zup, "--page", "10000", "-o", png}, "leave out --page and --sleep"},
        {{"render", zyl, "--page", "10000", "--select", "8", "-o", png}, "no object 8"},
        {{"render", zyl, "--sleep", "-o", temp.Path("no/such/folder/out.png")}, "out.png"},
        {{"render", zyl, "--all", other}, "cannot make the folder"},
        {{"render", other, "--all", temp.Path("all")}, "neither a ZYL-1 template file nor"},
        {{"render", zyl, "--all", linked}, "sleep.png\" is a symbolic link"},
        {{"try", temp.Path("missing.zyl"), "-o", png}, "missing.zyl"},
        {{"try", other, "--tap", "1,1"}, "neither a ZYL-1 template file nor"},
        {{"try", zyl, "--tap", "1,1", "-o", zyl}, "is FILE itself"},
        {{"try", zyl, "--tap", "320,10", "-o", png}, "--tap \"320,10\" is off the screen: X runs from 0 to 319"},
        {{"try", zyl, "--tap", "10,240"}, "Y from 0 to 239"},
        {{"try", zyl, "--down=-1,5"}, "--down \"-1,5\" is off the screen"},
        {{"try", zyl, "--tap", "1,1", "--down", "5", "-o", png}, "--down \"5\" is not a point: write X,Y"},
        {{"try", zyl, "--tap", "1,2,3"}, "--tap \"1,2,3\" is not a point"},
        {{"try", zyl, "--tap", " 1,2"}, "is not a point"},
        {{"try", zyl, "--wait=-1"}, "--wait \"-1\" is not a wait: write seconds from 0 to 86400"},
        {{"try", zyl, "--wait", "86400.5"}, "is not a wait"},
        {{"try", zyl, "--wait", "nan"}, "is not a wait"},
        {{"try", zyl, "--wait", "2s"}, "is not a wait"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const CliRun run = zylctl(c.args);
        EXPECT_EQ(run.status, kExitBadInput);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(png));
    }

    EXPECT_EQ(std::filesystem::file_size(other), 12u) << "the link's target is kept";
    EXPECT_FALSE(std::filesystem::exists(linked + "/10000.png")) << "nothing is written before the refusal";

    TLayout fresh;
    const std::string empty = temp.Path("fresh.zyl");
    ASSERT_TRUE(fresh.SaveTemplate(empty));
    const CliRun run = zylctl({"render", empty, "--sleep", "-o", png});
    EXPECT_EQ(run.status, kExitBadInput);
    EXPECT_NE(run.err.find("has no sleep page"), std::string::npos) << run.err;
}

TEST_F(RenderCommand, WritesThePageAsThePanelShowsIt) {
    TLayout loaded;
    ASSERT_TRUE(loaded.LoadTemplate(zyl));
    const TUserPage& page = userPage(loaded);
    const struct {
        std::vector<std::string> args;
        Picture expected;
    } cases[] = {
        {{"render", zyl, "--page", "10000", "-o", png}, painted(page)},
        {{"render", zyl, "--page", "10000", "--select", "1", "-o", png}, painted(page, page.objects[0].get())},
        {{"render", zyl, "--select", "5", "--page", "10000", "-o", png}, painted(page, page.objects[4].get())},
        {{"render", zyl, "--sleep", "-o", png}, painted(*loaded.sleepPage)},
        // No dotted grid where the page's hot spot lies.
        {{"render", zyl, "--page", "10000", "--panel", "-o", png}, paintedAsPanel(page)},
        // The page file brings its own images; it draws as the page did in its layout.
        {{"render", zup, "--output", png}, painted(userPage(layout))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        const CliRun run = zylctl(c.args);
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_TRUE(run.out.empty());
        const Picture picture = written();
        EXPECT_EQ(picture.Width(), kScreenWidth);
        EXPECT_EQ(picture.Height(), kScreenHeight);
        EXPECT_TRUE(picture == c.expected);
        std::filesystem::remove(png);
    }
    EXPECT_FALSE(painted(page) == painted(page, page.objects[0].get()));
    EXPECT_FALSE(painted(page) == paintedAsPanel(page));
}

// Every user page by its page ID, later ones with an ID already used numbered on, and the sleep page.
TEST_F(RenderCommand, AllWritesEveryPageByItsId) {
    TLayout loaded;
    ASSERT_TRUE(loaded.LoadTemplate(zyl));

    // Two user pages with one ID, as loading a page file can leave a layout.
    TLayout twins;
    for (const std::int32_t color : {0x000000FF, 0x0000FF00}) {
        auto* page = static_cast<TUserPage*>(twins.InsertPageAfter(std::make_unique<TUserPage>(&twins, u"p"), nullptr));
        page->pageId = 10005;
        page->face.kind = TUserFace::kColor;
        page->face.value = TUserFace::kSingleColor;
        page->face.color1 = color;
    }
    const std::string twinsFile = temp.Path("twins.zyl");
    ASSERT_TRUE(twins.SaveTemplate(twinsFile));
    TLayout twinsLoaded;
    ASSERT_TRUE(twinsLoaded.LoadTemplate(twinsFile));

    const struct {
        std::string file;
        std::map<std::string, Picture> pictures;
        std::size_t notes; // pages passed over
    } cases[] = {
        {zyl, {{"10000.png", painted(userPage(loaded))}, {"sleep.png", painted(*loaded.sleepPage)}}, 2},
        {zup, {{"10000.png", painted(userPage(layout))}}, 0},
        {twinsFile,
         {{"10005.png", painted(static_cast<const TUserPage&>(*twinsLoaded.pages[0]))},
          {"10005-2.png", painted(static_cast<const TUserPage&>(*twinsLoaded.pages[1]))}},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string dir = temp.Path("pictures/" + std::filesystem::path(c.file).stem().string());
        const CliRun run = zylctl({"render", c.file, "--all", dir});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(static_cast<std::size_t>(std::count(run.err.begin(), run.err.end(), '\n')), c.notes) << run.err;
        std::map<std::string, Picture> written;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::vector<std::uint8_t> bytes;
            ASSERT_TRUE(ReadWholeFile(entry.path().string(), 1 << 20, bytes, nullptr));
            written[entry.path().filename().string()].DecodePng(bytes);
        }
        ASSERT_EQ(written.size(), c.pictures.size());
        for (const auto& [name, expected] : c.pictures) {
            SCOPED_TRACE(name);
            ASSERT_EQ(written.count(name), 1u);
            EXPECT_EQ(written[name].Width(), kScreenWidth);
            EXPECT_EQ(written[name].Height(), kScreenHeight);
            EXPECT_TRUE(written[name] == expected);
        }
    }
    EXPECT_FALSE(painted(static_cast<const TUserPage&>(*twinsLoaded.pages[0])) ==
                 painted(static_cast<const TUserPage&>(*twinsLoaded.pages[1])));
}

std::vector<std::uint8_t> contentOf(const std::string& file) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(file, 1 << 20, bytes, nullptr));
    return bytes;
}

// Writing the picture over the file it comes from would destroy the layout.
TEST_F(RenderCommand, OutputThatIsTheInputIsRefused) {
    const std::string link = temp.Path("link.zyl");
    std::filesystem::create_symlink(zyl, link);
    const std::vector<std::uint8_t> zylBefore = contentOf(zyl);
    const std::vector<std::uint8_t> zupBefore = contentOf(zup);
    const std::vector<std::vector<std::string>> cases = {
        {"render", zyl, "--sleep", "-o", zyl},
        {"render", zyl, "--sleep", "-o", link},
        {"render", link, "--sleep", "-o", zyl},
        {"render", zup, "-o", zup},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[1] + " -o " + args.back());
        const CliRun run = zylctl(args);
        EXPECT_EQ(run.status, kExitBadInput);
        EXPECT_NE(run.err.find("is FILE itself"), std::string::npos) << run.err;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(contentOf(zyl), zylBefore);
    EXPECT_EQ(contentOf(zup), zupBefore);
}

// A FIFO or a device as FILE is refused at once instead of waiting for a writer; a FIFO as the
// output stays a FIFO.
TEST_F(RenderCommand, FilesThatAreNotRegularAreRefused) {
    const std::string fifo = temp.Path("pipe.zyl");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> cases = {
        {"render", fifo, "--sleep", "-o", png},
        {"render", "/dev/zero", "--sleep", "-o", png},
        {"check", fifo},
        {"dump", fifo},
        {"render", zyl, "--sleep", "-o", fifo},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const CliRun run = zylctl(args);
        EXPECT_EQ(run.status, kExitBadInput);
        EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
    }
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    EXPECT_FALSE(std::filesystem::exists(png));
}

// Pictures declared far too large are kept undecoded: the file checks, dumps and renders at once,
// and they draw as nothing.
TEST_F(RenderCommand, HugeDeclaredPicturesDrawNothing) {
    const std::vector<std::uint8_t> huge = BlackPng(Picture::kMaxSide, Picture::kMaxSide);
    TLayout crafted;
    auto* page = static_cast<TUserPage*>(crafted.InsertPageAfter(std::make_unique<TUserPage>(&crafted, u"p"), nullptr));
    page->pageId = 10000;
    const TUserPage empty(&crafted, u"p");
    for (int i = 0; i < 14; ++i)
        AddKeptImage(crafted, *page, huge);
    const std::string file = temp.Path("huge.zyl");
    ASSERT_TRUE(crafted.SaveTemplate(file));

    EXPECT_EQ(zylctl({"check", file}).status, kExitOk);
    const CliRun dump = zylctl({"dump", file});
    ASSERT_EQ(dump.status, kExitOk) << dump.err;
    const nlohmann::json images = nlohmann::json::parse(dump.out)["images"];
    ASSERT_EQ(images.size(), 14u);
    for (const auto& image : images)
        EXPECT_EQ(image["width"], 0);
    const CliRun run = zylctl({"render", file, "--page", "10000", "-o", png});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(written() == painted(empty));
}

} // namespace
