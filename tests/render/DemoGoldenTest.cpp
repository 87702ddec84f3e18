#include "GoldenImage.h"

#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"
#include "sim/DemoLayout.h"

#include <gtest/gtest.h>

namespace {

Surface painted(const TUserPage& page) {
    Surface surface(kScreenWidth, kScreenHeight);
    PaintPage(surface, page, nullptr);
    return surface;
}

// The simulator's demo layout is what a new user sees first on the panel.
TEST(Golden, DemoLayoutPages) {
    TLayout layout;
    MakeDemoLayout(layout);
    int userPages = 0;
    for (const auto& page : layout.pages) {
        if (page->kind != TListItem::kUserPage)
            continue;
        ++userPages;
        const std::string name = "demo_page_" + std::to_string(page->pageId);
        SCOPED_TRACE(name);
        ExpectMatchesGolden(painted(static_cast<const TUserPage&>(*page)), name);
    }
    EXPECT_GT(userPages, 0);
    ASSERT_TRUE(layout.sleepPage);
    ExpectMatchesGolden(painted(*layout.sleepPage), "demo_sleep_page");
}

} // namespace
