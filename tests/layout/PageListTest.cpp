#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::int32_t> ids(const TLayout& layout) {
    std::vector<std::int32_t> out;
    for (const auto& p : layout.pages)
        out.push_back(p->pageId);
    return out;
}

// Appends pages with the given IDs.
void addPages(TLayout& layout, const std::vector<std::int32_t>& pageIds) {
    for (std::int32_t id : pageIds) {
        auto page = std::make_unique<CBtn8Ctrl>(&layout, u"p");
        page->pageId = id;
        layout.InsertPageAfter(std::move(page), nullptr);
    }
}

TEST(PageList, NextPageIdCountsOnlyTheUserRange) {
    struct Case {
        std::vector<std::int32_t> pageIds;
        std::int32_t next;
    };
    const Case cases[] = {
        {{}, 10000},     {{10000, 10007}, 10008}, {{10007, 10000}, 10008},        {{16000}, 10000},
        {{9000}, 10000}, {{15999}, 16000},        {{-1, 0, 10003, 20000}, 10004},
    };
    for (const auto& c : cases) {
        TLayout layout;
        addPages(layout, c.pageIds);
        EXPECT_EQ(layout.NextPageId(), c.next);
    }
}

TEST(PageList, NewPagesTakeTheNextIdAndKnowTheirKind) {
    TLayout layout;
    auto* user = layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"User Page"), nullptr);
    auto* btn8 = layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"8 Button"), nullptr);
    auto* numeric = layout.InsertPageAfter(std::make_unique<CNumericCtrl>(&layout, u"Data Entry"), nullptr);
    EXPECT_EQ(ids(layout), (std::vector<std::int32_t>{10000, 10001, 10002}));
    EXPECT_EQ(user->kind, 8);
    EXPECT_EQ(btn8->kind, 9);
    EXPECT_EQ(numeric->kind, 10);
    EXPECT_EQ(user->owner, &layout);

    CBtn8Ctrl orphan(nullptr, u"x");
    EXPECT_EQ(orphan.pageId, -1);
    EXPECT_EQ(orphan.owner, nullptr);
}

TEST(PageList, InsertAfterPlacesBehindTheGivenPage) {
    TLayout layout;
    addPages(layout, {10000, 10001});
    auto page = std::make_unique<CBtn8Ctrl>(&layout, u"new");
    page->pageId = 10005;
    layout.InsertPageAfter(std::move(page), layout.pages[0].get());
    EXPECT_EQ(ids(layout), (std::vector<std::int32_t>{10000, 10005, 10001}));
    layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"last"), layout.pages[2].get());
    EXPECT_EQ(ids(layout).back(), 10006);
}

TEST(PageList, RemoveMiddleKeepsTheRestInOrder) {
    TLayout layout;
    addPages(layout, {10000, 10001, 10002});
    TListItem* first = layout.pages[0].get();
    TListItem* third = layout.pages[2].get();
    layout.RemovePage(layout.pages[1].get());
    EXPECT_EQ(ids(layout), (std::vector<std::int32_t>{10000, 10002}));
    EXPECT_EQ(layout.Next(first), third);
    EXPECT_EQ(layout.Prev(third), first);
    EXPECT_EQ(layout.Prev(first), nullptr);
    EXPECT_EQ(layout.Next(third), nullptr);
}

TEST(PageList, MovesSwapNeighboursAndStopAtTheEnds) {
    struct Case {
        int index;
        bool up;
        std::vector<std::int32_t> after;
    };
    const Case cases[] = {
        {0, true, {1, 2, 3}},  {2, false, {1, 2, 3}}, {1, true, {2, 1, 3}},
        {1, false, {1, 3, 2}}, {2, true, {1, 3, 2}},  {0, false, {2, 1, 3}},
    };
    for (const auto& c : cases) {
        TLayout layout;
        addPages(layout, {1, 2, 3});
        const TListItem* page = layout.pages[static_cast<std::size_t>(c.index)].get();
        if (c.up)
            layout.MovePageUp(page);
        else
            layout.MovePageDown(page);
        EXPECT_EQ(ids(layout), c.after) << "page " << c.index << (c.up ? " up" : " down");
    }
}

TEST(PageList, ToggleDefaultPage) {
    TLayout layout;
    addPages(layout, {10000, 10001});
    layout.ToggleDefaultPage(layout.pages[0].get());
    EXPECT_EQ(layout.defaultPageId, 10000);
    layout.ToggleDefaultPage(layout.pages[1].get());
    EXPECT_EQ(layout.defaultPageId, 10001);
    layout.ToggleDefaultPage(layout.pages[1].get());
    EXPECT_EQ(layout.defaultPageId, -1);
}

TEST(PageList, RemovingThePageLeavesReferencesAlone) {
    TLayout layout;
    addPages(layout, {10000});
    layout.ToggleDefaultPage(layout.pages[0].get());
    layout.RemovePage(layout.pages[0].get());
    EXPECT_TRUE(layout.pages.empty());
    EXPECT_EQ(layout.defaultPageId, 10000);
    EXPECT_EQ(layout.FindPage(10000), nullptr);
}

TEST(PageList, FindPageReturnsTheFirstWithThatId) {
    TLayout layout;
    addPages(layout, {10000, 10001, 10001});
    EXPECT_EQ(layout.FindPage(10001), layout.pages[1].get());
    EXPECT_EQ(layout.FindPage(42), nullptr);
}

TEST(PageList, SetPageIdRefusesAnIdInUse) {
    TLayout layout;
    addPages(layout, {10000, 10001});
    TListItem* page = layout.pages[0].get();
    EXPECT_FALSE(layout.SetPageId(page, 10001));
    EXPECT_EQ(page->pageId, 10000);
    EXPECT_TRUE(layout.SetPageId(page, 10000));
    EXPECT_TRUE(layout.SetPageId(page, 5));
    EXPECT_EQ(page->pageId, 5);
}

// A loaded page whose ID a listed page has moves on to NextPageId(), or past it when a page from
// 16000 up holds that one too.
TEST(PageList, RenumberIfIdTakenMovesOnlyADuplicate) {
    const struct {
        std::vector<std::int32_t> pageIds;
        std::int32_t id, after;
    } cases[] = {{{10001}, 10001, 10002}, {{10001}, 10500, 10500}, {{15999, 16000, 16001}, 16000, 16002}};
    for (const auto& c : cases) {
        TLayout layout;
        addPages(layout, c.pageIds);
        CBtn8Ctrl page(&layout, u"loaded");
        page.pageId = c.id;
        EXPECT_EQ(layout.RenumberIfIdTaken(page), c.after != c.id) << c.id;
        EXPECT_EQ(page.pageId, c.after) << c.id;
    }
}

TEST(PageList, ClearAllKeepsSettingsEventsAndSleepPage) {
    TLayout layout;
    addPages(layout, {10000, 10001});
    layout.controlName = u"Lobby";
    layout.sleepTimeout = 30;
    layout.EventText(3)[0] = 'x';
    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"sleep");
    layout.ClearAll();
    EXPECT_TRUE(layout.pages.empty());
    EXPECT_EQ(layout.controlName, u"Lobby");
    EXPECT_EQ(layout.sleepTimeout, 30);
    EXPECT_EQ(layout.eventTexts[3 * 256], 'x');
    EXPECT_NE(layout.sleepPage, nullptr);
}

TEST(PageList, LayoutDefaults) {
    TLayout layout;
    EXPECT_EQ(layout.audibleFeedback, 1);
    EXPECT_EQ(layout.sleepTimeout, 0);
    EXPECT_EQ(layout.defaultPageTimeout, 0);
    EXPECT_EQ(layout.pinOnWakeup, 0);
    EXPECT_EQ(layout.defaultPageId, -1);
    EXPECT_EQ(layout.autoBrightness, 0);
    EXPECT_EQ(layout.manualBrightness, 100);
    EXPECT_TRUE(layout.controlName.empty());
    EXPECT_EQ(layout.sleepPage, nullptr);
    EXPECT_EQ(layout.eventDescriptions.size(), 6144u);
}

} // namespace
