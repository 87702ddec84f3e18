#include "GoldenImage.h"
#include "RichLayout.h"
#include "TestPages.h"

#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <gtest/gtest.h>

namespace {

Surface painted(const TUserPage& page, const TUserObject* selected = nullptr) {
    Surface surface(kScreenWidth, kScreenHeight);
    PaintPage(surface, page, selected);
    return surface;
}

const TUserPage* firstUserPage(const TLayout& layout) {
    for (const auto& page : layout.pages)
        if (page->kind == TListItem::kUserPage)
            return static_cast<const TUserPage*>(page.get());
    return nullptr;
}

TEST(Golden, RichLayoutPages) {
    TLayout layout;
    MakeRichLayout(layout);
    const TUserPage* page = firstUserPage(layout);
    ASSERT_NE(page, nullptr);
    ExpectMatchesGolden(painted(*page), "rich_user_page");
    ASSERT_TRUE(layout.sleepPage);
    ExpectMatchesGolden(painted(*layout.sleepPage), "rich_sleep_page");
}

TEST(Golden, EveryObjectKindSelectedInTurn) {
    TLayout layout;
    const TUserPage& page = AddEveryKindPage(layout);
    ExpectMatchesGolden(painted(page), "every_kind");
    const struct {
        std::size_t index;
        const char* name;
    } selections[] = {
        {0, "every_kind_button_selected"},         {2, "every_kind_image_selected"},
        {4, "every_kind_upright_slider_selected"}, {5, "every_kind_lying_slider_selected"},
        {6, "every_kind_hotspot_selected"},        {7, "every_kind_unknown_selected"},
    };
    for (const auto& selection : selections) {
        SCOPED_TRACE(selection.name);
        ASSERT_LT(selection.index, page.objects.size());
        ExpectMatchesGolden(painted(page, page.objects[selection.index].get()), selection.name);
    }
}

TEST(Golden, BusyPage) {
    TLayout layout;
    ExpectMatchesGolden(painted(AddBusyPage(layout)), "busy_page");
}

} // namespace
