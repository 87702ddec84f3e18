#include "GoldenImage.h"

#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "render/FaceDrawing.h"
#include "render/PageDrawing.h"
#include "sim/DemoLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

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

// Every page of the demo that shows a background caption: the user pages and the sleep page.
std::vector<const TUserPage*> captionedPages(const TLayout& layout) {
    std::vector<const TUserPage*> pages;
    for (const auto& page : layout.pages)
        if (page->kind == TListItem::kUserPage)
            pages.push_back(static_cast<const TUserPage*>(page.get()));
    if (layout.sleepPage)
        pages.push_back(layout.sleepPage.get());
    return pages;
}

int luma(Argb c) {
    return (RedOf(c) * 30 + GreenOf(c) * 59 + BlueOf(c) * 11) / 100;
}

// The caption of a page's background is drawn in the middle of the screen, over whatever lies
// there: no object may cover it, and the background under it must leave it readable.
TEST(DemoPages, BackgroundCaptionsStandClearAndReadable) {
    TLayout layout;
    MakeDemoLayout(layout);
    const auto& glyphs = layout.builtinLibrary->glyphs;
    for (const TUserPage* page : captionedPages(layout)) {
        const TUserFace& face = page->face;
        SCOPED_TRACE(std::string(face.text.begin(), face.text.end()));
        ASSERT_FALSE(face.text.empty());
        const int width = GlyphTextWidth(glyphs, face.text, face.textSize);
        const int height = GlyphTextHeight(glyphs, face.text, face.textSize);
        ASSERT_GT(width, 0);
        constexpr int kMargin = 4;
        const Rect caption{kScreenWidth / 2 - width / 2 - kMargin, kScreenHeight / 2 - height / 2 - kMargin,
                           kScreenWidth / 2 + width / 2 + kMargin, kScreenHeight / 2 + height / 2 + kMargin};
        for (const auto& object : page->objects) {
            const bool apart = object->left >= caption.right || object->left + object->width <= caption.left ||
                               object->top >= caption.bottom || object->top + object->height <= caption.top;
            EXPECT_TRUE(apart) << "object at (" << object->left << ", " << object->top << ") covers the caption";
        }

        TUserFace plain;
        plain.CopyFrom(face);
        plain.text.clear();
        Surface background(kScreenWidth, kScreenHeight);
        DrawFace(background, plain, layout, {0, 0, kScreenWidth, kScreenHeight});
        const int text = luma(ArgbFromColorref(face.textColor));
        int worst = 255;
        for (int y = caption.top; y < caption.bottom; ++y)
            for (int x = caption.left; x < caption.right; ++x)
                worst = std::min(worst, std::abs(text - luma(background.Pixel(x, y))));
        EXPECT_GE(worst, 120) << "the caption's colour stands out from every pixel under it";
    }
}

} // namespace
