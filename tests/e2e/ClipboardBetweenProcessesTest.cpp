#include "ObjectGeometry.h"
#include "RichLayout.h"
#include "TempDir.h"
#include "layout/TLayout.h"
#include "layout/TUserImage.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/prctl.h>

namespace {

// Only a hung program comes near it; longer than the peers' own, so a peer reports its failure first.
constexpr int kGenerousMs = 40000;

// A program the test started; it goes with the object, and with the test when the test dies.
class Child {
public:
    Child(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = {}) {
        if (!environment.isEmpty())
            process.setProcessEnvironment(environment);
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.start(program, arguments);
    }
    // Asked to end first, so Xvfb takes its lock and socket files with it.
    ~Child() {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(kGenerousMs)) {
            process.kill();
            process.waitForFinished(kGenerousMs);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The first line the program writes, or empty when none comes.
    QByteArray FirstLine() {
        while (!process.canReadLine() && process.waitForReadyRead(kGenerousMs)) {
        }
        return process.readLine().trimmed();
    }
    // Empty when the program ends by itself with 0; else what went wrong, in its own words.
    std::string Failure() {
        if (!process.waitForFinished(kGenerousMs))
            return "it did not end";
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return {};
        return "exit " + std::to_string(process.exitCode()) + ": " + process.readAllStandardError().toStdString();
    }

    QProcess process;
};

// The user images the object shows: their GUIDs and their PNG bytes.
std::vector<std::pair<Guid, std::vector<std::uint8_t>>> imagesOf(const TLayout& layout, const TUserObject& object) {
    std::vector<std::pair<Guid, std::vector<std::uint8_t>>> images;
    object.ForEachImageId([&](std::int32_t id) {
        if (const TImageEntry* entry = layout.FindImage(id); entry != nullptr && entry->IsUserImage())
            images.emplace_back(entry->guid, entry->Png());
    });
    return images;
}

// The editor in one running program copies an object; the editor in another, on the same X
// display, pastes it into a layout that lacks its image, and then pastes it again. Each paste
// lands 10 pixels right of and below the original; the image arrives with the first and is not
// added again by the second.
TEST(ClipboardBetweenProcesses, ObjectAndItsImageArriveAndTheImageOnlyOnce) {
    TempDir files;
    TLayout source;
    MakeRichLayout(source);
    const std::int32_t sourcePage = source.pages.front()->pageId;
    const TUserObject& copied = *static_cast<TUserPage&>(*source.pages.front()).objects.front();
    ASSERT_TRUE(source.SaveTemplate(files.Path("source.zyl")));
    const auto copiedImages = imagesOf(source, copied);
    ASSERT_FALSE(copiedImages.empty());

    TLayout target;
    auto* targetPage =
        static_cast<TUserPage*>(target.InsertPageAfter(std::make_unique<TUserPage>(&target, u"Target"), nullptr));
    auto image = std::make_unique<TUserImage>();
    image->face.kind = TUserFace::kImage;
    image->face.value = AddTestImage(target, 9);
    targetPage->AddObject(std::move(image));
    ASSERT_TRUE(target.SaveTemplate(files.Path("target.zyl")));

    Child display(XVFB_PATH, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    const QByteArray displayNumber = display.FirstLine();
    ASSERT_FALSE(displayNumber.isEmpty()) << "Xvfb gave no display";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("DISPLAY", ":" + QString::fromLatin1(displayNumber));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(files.Path()));
    const std::filesystem::path runtime = files.Dir() / "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));

    const QString page = QString::number(sourcePage);
    Child copier(CLIPBOARD_PEER_PATH, {"copy", QString::fromStdString(files.Path("source.zyl")), page, "0"},
                 environment);
    ASSERT_EQ(copier.FirstLine(), "copied") << copier.Failure();

    const struct {
        const char* name;
        const char* from;
        std::size_t objects;
    } rows[] = {
        {"into a layout without the image", "target.zyl", 2},
        {"into the same page again", "pasted.zyl", 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Child paster(CLIPBOARD_PEER_PATH,
                     {"paste", QString::fromStdString(files.Path(row.from)), QString::number(targetPage->pageId),
                      QString::fromStdString(files.Path("pasted.zyl"))},
                     environment);
        ASSERT_EQ(paster.Failure(), "");
        TLayout pasted;
        ASSERT_TRUE(pasted.LoadTemplate(files.Path("pasted.zyl")));
        const auto& objects = static_cast<TUserPage&>(*pasted.FindPage(targetPage->pageId)).objects;
        ASSERT_EQ(objects.size(), row.objects);
        const TUserObject& object = *objects.back();
        EXPECT_EQ(object.kind, copied.kind);
        EXPECT_EQ(geometryOf(object), (Geometry{copied.left + 10, copied.top + 10, copied.width, copied.height}));
        EXPECT_EQ(imagesOf(pasted, object), copiedImages);
        for (const auto& shown : copiedImages)
            EXPECT_EQ(std::count_if(pasted.images.begin(), pasted.images.end(),
                                    [&](const auto& entry) { return entry->guid == shown.first; }),
                      1);
    }
    copier.process.closeWriteChannel();
    EXPECT_EQ(copier.Failure(), "");
}

} // namespace
