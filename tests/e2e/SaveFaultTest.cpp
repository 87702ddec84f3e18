// A template save that cannot be completed (a folder that takes no new file, a full disk) says
// why and leaves the old file whole, with no stray temporary file beside it.
#include "DiskFull.h"
#include "RichLayout.h"
#include "TempDir.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct Outcome {
    bool saved = false;
    std::string error;
};

// Runs the save as an ordinary user when the tests run as root, whom folder and file permissions
// let through; nullopt when no ordinary user can be taken on here.
std::optional<Outcome> asOrdinaryUser(const std::function<Outcome()>& save) {
    if (::geteuid() != 0)
        return save();
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(fds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const Outcome outcome = save();
        const bool told =
            ::write(fds[1], outcome.error.data(), outcome.error.size()) == static_cast<ssize_t>(outcome.error.size());
        ::_exit(!told ? 2 : outcome.saved ? 0 : 1);
    }
    ::close(fds[1]);
    std::string error;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            error.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(fds[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 2)
        return std::nullopt;
    return Outcome{WEXITSTATUS(status) == 0, error};
}

Bytes read(const std::string& file) {
    Bytes bytes;
    EXPECT_TRUE(ReadWholeFile(file, 1 << 24, bytes, nullptr)) << file;
    return bytes;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(SaveFault, ARefusedSaveSaysWhyAndKeepsTheOldFile) {
    TLayout small;
    TLayout rich;
    MakeRichLayout(rich);
    TempDir reference;
    ASSERT_TRUE(small.SaveTemplate(reference.Path("old.zyl")));
    ASSERT_TRUE(rich.SaveTemplate(reference.Path("new.zyl")));
    const Bytes oldBytes = read(reference.Path("old.zyl"));
    const Bytes newBytes = read(reference.Path("new.zyl"));
    // The disk has some room, but not for the new file, nor for what it adds to the old one.
    const std::size_t room = 2000;
    ASSERT_GT(newBytes.size(), oldBytes.size() + room);

    const struct {
        const char* name;
        bool oldFile;      // a file of that name is there already
        bool lockedFolder; // the folder takes no new file
        bool readOnlyFile;
        std::optional<std::size_t> diskRoom;
        const char* says; // in the refusal; nullptr when the save goes through
    } cases[] = {
        {"full disk", true, false, false, room, "No space left on device"},
        {"full disk, a new name", false, false, false, room, "No space left on device"},
        {"full disk, not a byte free", true, false, false, 0, "No space left on device"},
        {"locked folder, a new name", false, true, false, std::nullopt, "Permission denied"},
        {"locked folder, read-only file", true, true, true, std::nullopt, "the file is read-only"},
        // Where no file can be made beside it, a writable file is written in place, its room
        // reserved first; a full disk is found before a byte of it changes.
        {"locked folder, full disk", true, true, false, room, "No space left on device (the file is unchanged)"},
        {"locked folder, writable file", true, true, false, std::nullopt, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir temp;
        // Open to the ordinary user down to the folder under test.
        fs::permissions(temp.Dir(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
        const fs::path folder = temp.Dir() / "layouts";
        fs::create_directory(folder);
        const std::string file = (folder / "mine.zyl").string();
        if (c.oldFile) {
            fs::copy_file(reference.Path("old.zyl"), file);
            fs::permissions(file, c.readOnlyFile
                                      ? fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read
                                      : fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                            ~fs::perms::others_exec);
        }
        fs::permissions(folder, c.lockedFolder
                                    ? fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec
                                    : fs::perms::all);
        const auto save = [&] {
            std::optional<DiskFull> full;
            if (c.diskRoom)
                full.emplace(*c.diskRoom);
            Outcome outcome;
            outcome.saved = rich.SaveTemplate(file, &outcome.error);
            return outcome;
        };
        const std::optional<Outcome> outcome =
            c.lockedFolder || c.readOnlyFile ? asOrdinaryUser(save) : std::optional<Outcome>(save());
        fs::permissions(folder, fs::perms::owner_all);
        if (!outcome)
            GTEST_SKIP() << "running as root, and no ordinary user can be taken on here to meet a permission";

        if (c.says == nullptr) {
            EXPECT_TRUE(outcome->saved) << outcome->error;
            EXPECT_EQ(read(file), newBytes);
        } else {
            EXPECT_FALSE(outcome->saved);
            EXPECT_THAT(outcome->error, ::testing::HasSubstr(c.says));
            EXPECT_THAT(outcome->error, ::testing::HasSubstr(file));
            if (c.oldFile) {
                EXPECT_EQ(read(file), oldBytes);
            }
        }
        EXPECT_THAT(namesIn(folder),
                    ::testing::ElementsAreArray(c.oldFile || c.says == nullptr ? std::vector<std::string>{"mine.zyl"}
                                                                               : std::vector<std::string>{}));
    }
}

} // namespace
