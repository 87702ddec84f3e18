#include "CliRun.h"
#include "TempDir.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "panel/PanelModel.h"
#include "render/PageDrawing.h"
#include "sim/DemoLayout.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// The demo layout, every page visited and every button pressed: the living room's buttons, its
// toggle twice, its slider at the top, the bottom and the middle, the fan's selector group; the
// lights page's eight keys; the security page behind a wrong PIN, then the right one, its eight
// keys; the kitchen's buttons, both entry pages (one sent, one cleared and cancelled), its slider;
// the return to the default page and the sleep after their timeouts; the kitchen's way home.
// clang-format off
const std::vector<std::string> kScript = {
    "--tap", "100,30", "--tap", "200,30", "--tap", "150,75", "--tap", "150,75",    // On, Off, Evening twice
    "--down", "287,45", "--up", "--down", "287,165", "--up", "--down", "287,105", "--up", // music slider
    "--tap", "86,164", "--tap", "156,164", "--tap", "226,164", "--tap", "226,164", // fan speeds
    "--tap", "54,217",                                                             // Lights
    "--tap", "81,66", "--tap", "239,66", "--tap", "81,115", "--tap", "239,115",
    "--tap", "81,164", "--tap", "239,164", "--tap", "81,213", "--tap", "239,213",
    "--tap", "280,20",                                                             // Back
    "--tap", "160,217", "--tap", "188,25", "--tap", "292,166",                     // Security: 1 OK
    "--tap", "240,25", "--tap", "188,72", "--tap", "292,72", "--tap", "240,119",   // 2468
    "--tap", "292,166",                                                            // OK
    "--tap", "81,66", "--tap", "239,66", "--tap", "81,115", "--tap", "239,115",
    "--tap", "81,164", "--tap", "239,164", "--tap", "81,213", "--tap", "239,213",
    "--tap", "280,20",                                                             // Back
    "--tap", "266,217",                                                            // Kitchen
    "--down", "59,32", "--wait", "0.5", "--up", "--tap", "159,32",                 // Blinds, Coffee
    "--tap", "59,76", "--tap", "188,72", "--tap", "240,72", "--tap", "292,166",    // Oven: 45 OK
    "--tap", "159,76", "--tap", "292,119", "--tap", "188,166", "--tap", "240,213", // Heating: 9 C Cancel
    "--down", "20,187", "--up", "--down", "200,187", "--up",                       // music slider
    "--wait", "120",                                                               // back to the living room
    "--tap", "266,217", "--tap", "288,210",                                        // Kitchen, home
    "--wait", "299.999", "--wait", "0.001", "--tap", "160,120",                    // sleep, wake
    "--tap", "266,217",                                                            // Kitchen
};
// clang-format on

// LIVING stands for the living room's name, which is partly Chinese.
const char* const kGolden = R"(
page 10000 LIVING
send "LIGHT 1 ON"
send "LIGHT 1 OFF"
send "SCENE EVENING"
send "SCENE OFF"
level 6 100
level 6 0
level 6 50
send "FAN SPEED 1"
send "FAN SPEED 2"
send "FAN SPEED 3"
page 10002 "Lights"
send "LIGHT 3 TOGGLE"
send "LIGHT 4 TOGGLE"
send "LIGHT 5 TOGGLE"
send "LIGHT 6 TOGGLE"
send "LIGHT 7 TOGGLE"
send "LIGHT 8 TOGGLE"
send "LIGHT 9 TOGGLE"
send "ALL OFF"
page 10000 LIVING
note "Wrong PIN"
page 10003 "Security"
send "ALARM ARM AWAY"
send "ALARM ARM HOME"
send "ALARM DISARM"
send "DOOR FRONT UNLOCK"
send "GATE TOGGLE"
send "GARAGE TOGGLE"
send "CAMERAS ON"
send "SIREN OFF"
page 10000 LIVING
page 10001 "Kitchen"
send "BLINDS UP"
send "BLINDS STOP"
send "COFFEE ON"
page 10004 "Oven timer"
send "OVEN TIMER 45"
page 10001 "Kitchen"
page 10005 "Thermostat"
page 10001 "Kitchen"
level 7 0
level 7 100
page 10000 LIVING
page 10001 "Kitchen"
page 10000 LIVING
page 10006 "Sleep"
page 10000 LIVING
page 10001 "Kitchen"
)";

// The same script straight on the model.
void play(PanelModel& panel, const std::vector<std::string>& script) {
    for (std::size_t i = 0; i < script.size(); ++i) {
        const std::string& option = script[i];
        if (option == "--up") {
            panel.Up();
            continue;
        }
        const std::string& value = script[++i];
        if (option == "--wait") {
            panel.Advance(static_cast<std::int64_t>(std::stod(value) * 1000 + 0.5));
            continue;
        }
        const int x = std::stoi(value);
        const int y = std::stoi(value.substr(value.find(',') + 1));
        if (option == "--tap")
            panel.Tap(x, y);
        else
            panel.Down(x, y);
    }
}

TEST(TryCommand, TheDemoScriptVisitsEveryPageAndPressesEveryButton) {
    TempDir temp;
    TLayout demo;
    MakeDemoLayout(demo);
    const std::string zyl = temp.Path("demo.zyl");
    ASSERT_TRUE(demo.SaveTemplate(zyl));
    const std::string png = temp.Path("screen.png");

    std::vector<std::string> args = {"try", zyl, "-o", png};
    args.insert(args.end(), kScript.begin(), kScript.end());
    const CliRun run = zylctl(args);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "");
    std::string golden = kGolden;
    for (std::size_t at; (at = golden.find("LIVING")) != std::string::npos;)
        golden.replace(at, 6, "\"Living room \xE5\xAE\xA2\xE5\x8E\x85\"");
    EXPECT_EQ("\n" + run.out, golden);

    TLayout loaded;
    ASSERT_TRUE(loaded.LoadTemplate(zyl));
    PanelModel panel(loaded);
    panel.Restart();
    play(panel, kScript);
    Surface expected(kScreenWidth, kScreenHeight);
    panel.Draw(expected);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(png, 1 << 20, bytes, nullptr));
    Picture written;
    written.DecodePng(bytes);
    EXPECT_TRUE(written == expected.ToPicture());

    // A page file's one page is where the panel starts.
    const std::string zup = temp.Path("living.zup");
    ASSERT_TRUE(demo.SavePage(static_cast<const TUserPage&>(*demo.pages.front()), zup));
    const CliRun page = zylctl({"try", zup, "--tap", "100,30"});
    EXPECT_EQ(page.status, kExitOk) << page.err;
    EXPECT_EQ(page.out, golden.substr(1, golden.find("ON\"\n") + 3));
}

} // namespace
