#include "editors/dialogs/ProgRules.h"
#include "editors/dialogs/ProgSettings.h"
#include "layout/TLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgRules, EntryTextMarksOnlyTheDefaultPage) {
    struct Case {
        std::int32_t pageId, defaultPageId;
        const char* text;
    };
    const Case cases[] = {
        {10000, 10000, "*** Lobby ***"},
        {10000, 10001, "Lobby"},
        {10000, -1, "Lobby"},
        // A page without an ID is not "the default" of a layout that has none.
        {-1, -1, "Lobby"},
    };
    TUserPage page(nullptr, u"Lobby");
    for (const Case& c : cases) {
        page.pageId = c.pageId;
        EXPECT_EQ(PageEntryText(page, c.defaultPageId).toStdString(), c.text) << c.pageId << " / " << c.defaultPageId;
        EXPECT_EQ(PlainEntryText(page).toStdString(), "Lobby");
    }
}

TEST(ProgRules, RowsForAddAndMoves) {
    struct Case {
        int selected, count;
        int reference, insert;
    };
    const Case add[] = {
        {-1, 0, -1, 0}, // empty list: the new entry is the first
        {-1, 5, 4, 5},  // nothing selected: appended
        {1, 5, 1, 2},   // the second selected: the new one is third
        {4, 5, 4, 5},   {0, 1, 0, 1},
    };
    for (const Case& c : add) {
        const int reference = AddReferenceRow(c.selected, c.count);
        EXPECT_EQ(reference, c.reference) << c.selected << " of " << c.count;
        EXPECT_EQ(AddInsertRow(reference), c.insert) << c.selected << " of " << c.count;
    }
    EXPECT_EQ(MoveUpRow(-1), std::nullopt);
    EXPECT_EQ(MoveUpRow(0), std::nullopt);
    EXPECT_EQ(MoveUpRow(3), 2);
    EXPECT_EQ(MoveDownRow(-1, true), std::nullopt);
    EXPECT_EQ(MoveDownRow(4, false), std::nullopt);
    EXPECT_EQ(MoveDownRow(2, true), 3);
}

// What the controls show for stored values, and what OK stores for what they show.
TEST(ProgSettings, ShownAndWritten) {
    TLayout layout;
    layout.sleepTimeout = -5;
    layout.defaultPageTimeout = 30;
    layout.pinOnWakeup = 2;
    layout.audibleFeedback = -1;
    layout.autoBrightness = 7;
    layout.manualBrightness = 200;
    ProgSettings shown = ProgSettings::FromLayout(layout);
    EXPECT_FALSE(shown.sleepEnabled);
    EXPECT_EQ(shown.sleepTimeout, -5) << "the stored number, also when it is 0 or less";
    EXPECT_TRUE(shown.defaultPageEnabled);
    EXPECT_FALSE(shown.pinOnWakeup) << "checked only for 1";
    EXPECT_FALSE(shown.audibleFeedback);
    EXPECT_TRUE(shown.autoBrightness);
    EXPECT_EQ(shown.manualBrightness, -56) << "the byte read as a signed number";

    struct Case {
        bool enabled;
        int typed;
        std::int32_t stored;
    };
    const Case timeouts[] = {{true, 0, 0}, {true, 90, 90}, {false, 90, 0}, {false, 0, 0}, {true, -3, -3}};
    for (const Case& c : timeouts) {
        ProgSettings s = shown;
        s.sleepEnabled = s.defaultPageEnabled = c.enabled;
        s.sleepTimeout = s.defaultPageTimeout = c.typed;
        s.manualBrightness = 100;
        s.ApplyTo(layout);
        EXPECT_EQ(layout.sleepTimeout, c.stored) << c.enabled << ' ' << c.typed;
        EXPECT_EQ(layout.defaultPageTimeout, c.stored) << c.enabled << ' ' << c.typed;
        // Enabled with 0 is stored as 0, so the box shows cleared next time.
        EXPECT_EQ(ProgSettings::FromLayout(layout).sleepEnabled, c.stored > 0);
    }
    EXPECT_EQ(layout.pinOnWakeup, 0);
    EXPECT_EQ(layout.audibleFeedback, 0);
    EXPECT_EQ(layout.autoBrightness, 1);
    EXPECT_EQ(layout.manualBrightness, 100);
}

} // namespace
