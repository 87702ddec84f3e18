// Reading and saving files on disk: what kinds of file are taken, and what a save keeps.
#include "layout/FileIo.h"
#include "FileFixture.h"
#include "TempDir.h"
#include "layout/TLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class FileIo : public FileFixture {};

// Runs `work` as an ordinary user when the tests run as root, whom permission checks let through.
// Its result, or nullopt when the privileges cannot be dropped here.
std::optional<bool> asOrdinaryUser(const std::function<bool()>& work) {
    if (::geteuid() != 0)
        return work();
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 2)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

bool save(const std::string& file, const Bytes& content, std::string* error = nullptr) {
    const std::span<const std::uint8_t> parts[] = {content};
    return WriteFileAtomically(file, parts, error);
}

void expectNoTemporaryIn(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".zyl-save"), std::string::npos) << entry.path();
}

TEST_F(FileIo, SavingWritesThroughLinksAndKeepsPermissions) {
    fs::create_directories(path("real"));
    struct Case {
        const char* name;
        std::function<std::string()> prepare; // makes the file system, returns the path to save to
        std::string written;                  // the file that must hold the new content
        std::function<void()> check;
    } cases[] = {
        {"a link to a file",
         [&] {
             write(path("real/t.zyl"), bytesOf("old and longer"));
             fs::create_symlink("real/t.zyl", path("link.zyl"));
             return path("link.zyl");
         },
         path("real/t.zyl"), [&] { EXPECT_TRUE(fs::is_symlink(path("link.zyl"))); }},
        {"a chain of links, absolute and relative",
         [&] {
             write(path("real/c.zyl"), bytesOf("old"));
             fs::create_symlink("c.zyl", path("real/c-link.zyl"));
             fs::create_symlink(path("real/c-link.zyl"), path("chain.zyl"));
             return path("chain.zyl");
         },
         path("real/c.zyl"),
         [&] { EXPECT_TRUE(fs::is_symlink(path("chain.zyl")) && fs::is_symlink(path("real/c-link.zyl"))); }},
        {"a link to a new name",
         [&] {
             fs::create_symlink("real/new.zyl", path("dangling.zyl"));
             return path("dangling.zyl");
         },
         path("real/new.zyl"), [&] { EXPECT_TRUE(fs::is_symlink(path("dangling.zyl"))); }},
        {"a private file",
         [&] {
             write(path("private.zyl"), bytesOf("old"));
             fs::permissions(path("private.zyl"), fs::perms::owner_read | fs::perms::owner_write);
             return path("private.zyl");
         },
         path("private.zyl"),
         [&] {
             EXPECT_EQ(fs::status(path("private.zyl")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
         }},
        {"a group-writable file",
         [&] {
             write(path("shared.zyl"), bytesOf("old"));
             fs::permissions(path("shared.zyl"), fs::perms::owner_read | fs::perms::owner_write |
                                                     fs::perms::group_read | fs::perms::group_write);
             return path("shared.zyl");
         },
         path("shared.zyl"),
         [&] {
             EXPECT_EQ(fs::status(path("shared.zyl")).permissions(),
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write);
         }},
    };
    const Bytes content = bytesOf("new content");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = c.prepare();
        std::string error;
        ASSERT_TRUE(save(target, content, &error)) << error;
        EXPECT_EQ(read(c.written), content);
        c.check();
    }
    expectNoTemporaryIn(dir);
    expectNoTemporaryIn(path("real"));

    // Templates go the same way.
    TLayout layout;
    ASSERT_TRUE(layout.SaveTemplate(path("link.zyl")));
    EXPECT_TRUE(fs::is_symlink(path("link.zyl")));
    EXPECT_EQ(read(path("real/t.zyl")).size(), 12354u);
}

TEST_F(FileIo, OnlyRegularFilesAreReadOrSavedOver) {
    ASSERT_EQ(::mkfifo(path("pipe.zyl").c_str(), 0644), 0);
    fs::create_symlink(path("pipe.zyl"), path("to-pipe.zyl"));
    fs::create_directories(path("folder.zyl"));
    struct Case {
        std::string file;
        std::string says;
        fs::file_type stays;
    };
    std::vector<Case> cases = {
        {path("pipe.zyl"), "a FIFO, not a regular file", fs::file_type::fifo},
        {path("to-pipe.zyl"), "a FIFO, not a regular file", fs::file_type::fifo},
        {path("folder.zyl"), "a folder, not a regular file", fs::file_type::directory},
    };
    // A device node of our own, where we may make one; /dev/null itself is never put at risk.
    if (::mknod(path("null.zyl").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        cases.push_back({path("null.zyl"), "a device, not a regular file", fs::file_type::character});
    else
        std::cout << "no device node could be made here; that case is skipped\n";

    TLayout layout;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string error;
        // Reading does not wait for a writer that never comes.
        EXPECT_FALSE(layout.LoadTemplate(c.file, &error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        Bytes bytes;
        EXPECT_FALSE(ReadWholeFile(c.file, 1000, bytes, &error));
        EXPECT_FALSE(ReadFileStart(c.file, 4, bytes, &error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_FALSE(layout.SaveTemplate(c.file, &error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(fs::status(c.file).type(), c.stays);
    }
    expectNoTemporaryIn(dir);
}

// A file the user may write in a folder where they may not make files is written in place.
TEST_F(FileIo, LockedFolderIsSavedInPlace) {
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    fs::create_directories(path("locked"));
    const Bytes old(20000, 'o');
    write(path("locked/t.zyl"), old);
    fs::permissions(path("locked/t.zyl"), fs::perms::all);
    struct stat before {};
    ASSERT_EQ(::stat(path("locked/t.zyl").c_str(), &before), 0);
    fs::permissions(path("locked"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    // A read-only file in an open folder is not replaced behind its permissions.
    fs::create_directories(path("open"));
    fs::permissions(path("open"), fs::perms::all);
    write(path("open/ro.zyl"), old);
    fs::permissions(path("open/ro.zyl"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const Bytes content = bytesOf("shorter new content");
    const auto savedInPlace = asOrdinaryUser([&] { return save(path("locked/t.zyl"), content); });
    const auto newName = asOrdinaryUser([&] { return save(path("locked/new.zyl"), content); });
    const auto readOnly = asOrdinaryUser([&] {
        std::string error;
        return save(path("open/ro.zyl"), content, &error) || error.find("read-only") == std::string::npos;
    });
    fs::permissions(path("locked"), fs::perms::owner_all);
    if (!savedInPlace || !newName || !readOnly)
        GTEST_SKIP() << "running as root and no ordinary user can be taken on here";
    EXPECT_FALSE(*readOnly);
    EXPECT_EQ(read(path("open/ro.zyl")), old);
    expectNoTemporaryIn(path("open"));
    EXPECT_TRUE(*savedInPlace);
    EXPECT_EQ(read(path("locked/t.zyl")), content);
    struct stat after {};
    ASSERT_EQ(::stat(path("locked/t.zyl").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    // No file to write in place: the folder's refusal stands.
    EXPECT_FALSE(*newName);
    EXPECT_FALSE(fs::exists(path("locked/new.zyl")));
    expectNoTemporaryIn(path("locked"));
}

TEST_F(FileIo, SameFileIsRecognisedThroughLinks) {
    write(path("a.zyl"), bytesOf("a"));
    write(path("b.zyl"), bytesOf("a"));
    fs::create_symlink("a.zyl", path("soft.zyl"));
    fs::create_hard_link(path("a.zyl"), path("hard.zyl"));
    const struct {
        std::string other;
        bool same;
    } cases[] = {
        {path("a.zyl"), true},  {path("soft.zyl"), true},     {path("hard.zyl"), true},
        {path("b.zyl"), false}, {path("missing.zyl"), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSameFile(path("a.zyl"), c.other), c.same) << c.other;
        EXPECT_EQ(IsSameFile(c.other, path("a.zyl")), c.same) << c.other;
    }
}

} // namespace
