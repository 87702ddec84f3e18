#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Only a hung program comes near it.
constexpr int kGenerousMs = 20000;

// The start-up benchmark's probe: the real program, started as a user would, writes one line once
// its window is painted and then ends by itself.
TEST(StartupProbe, ProgramReportsItsFirstPaintOnceAndQuits) {
    TempDir folder;
    const std::filesystem::path runtime = folder.Dir() / "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    const std::string probe = folder.Path("probe.txt");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.Path()));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
    environment.insert("ZYL_STARTUP_PROBE", QString::fromStdString(probe));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(ZYLMOSAICS_PATH, {});
    ASSERT_TRUE(program.waitForStarted(kGenerousMs));
    const bool finished = program.waitForFinished(kGenerousMs);
    if (!finished)
        program.kill();
    ASSERT_TRUE(finished) << "the program did not quit after its first paint";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    std::ifstream in(probe);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, "painted\n");
}

} // namespace
