#include "simview/SimScreenWindow.h"
#include "EngineRig.h"
#include "QtTestApp.h"
#include "editors/tryout/PanelScreenView.h"
#include "sim/DemoLayout.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// A page pixel of the screen, as the mouse reaches it.
QPoint at(const PanelScreenView& view, int x, int y) {
    return {PanelScreenView::kMargin + x * view.Zoom() + view.Zoom() / 2,
            PanelScreenView::kMargin + y * view.Zoom() + view.Zoom() / 2};
}

// The simulator's screen on an in-process panel: an upload shows at once, a touch on the demo's
// kitchen tab goes to the kitchen, and a layout that does not decode leaves the screen as it was.
TEST(SimScreenWindow, FollowsUploadsAndTouches) {
    QtTestApp();
    std::ostringstream out;
    std::ostringstream err;
    SimScreenWindow window(out, err);
    EngineRig rig;
    rig.store.onLayoutStored = [&](const std::vector<std::uint8_t>& image) { window.LayoutStored(image); };
    PanelScreenView& view = window.Screen();

    for (const std::string& reply : rig.upload(DemoLayoutImage()))
        ASSERT_EQ(reply, "%return 0\r\n");
    EXPECT_EQ(out.str(), "page 10000 \"Living room \xE5\xAE\xA2\xE5\x8E\x85\"\n");
    const Surface living = view.Screen();

    QTest::mouseClick(&view, Qt::LeftButton, {}, at(view, 266, 217));
    EXPECT_EQ(out.str().substr(out.str().find('\n') + 1), "page 10001 \"Kitchen\"\n");
    EXPECT_FALSE(view.Screen() == living);
    EXPECT_EQ(err.str(), "");

    const Surface kitchen = view.Screen();
    rig.upload(pattern(2500));
    EXPECT_TRUE(view.Screen() == kitchen);
    const std::string said = err.str();
    EXPECT_EQ(said.rfind("zyl-panel-sim: the stored layout cannot be shown, so the screen keeps the last one: ", 0), 0u)
        << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

} // namespace
