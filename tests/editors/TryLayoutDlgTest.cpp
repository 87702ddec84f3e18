#include "QtTestApp.h"
#include "editors/tryout/CTryLayoutDlg.h"
#include "editors/tryout/PanelScreenView.h"
#include "layout/AnsiCodePage.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "render/PageDrawing.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr std::int32_t kRed = 0x000000FF;
constexpr std::int32_t kBlue = 0x00FF0000;
constexpr std::int32_t kGreen = 0x0000FF00;

void colour(TUserFace& face, std::int32_t rgb) {
    face.kind = TUserFace::kColor;
    face.value = TUserFace::kSingleColor;
    face.color1 = face.color2 = rgb;
}

// "Home" (10000, the default) with a red button that turns blue while pressed, sending "ON" and
// "OFF", and a hot spot to "Away" (10001); the panel sleeps after 30 s.
class TryLayoutDlgTest : public ::testing::Test {
protected:
    TryLayoutDlgTest() {
        QtTestApp();
        auto* away = layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Away"), nullptr);
        home = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Home"), nullptr));
        std::swap(home->pageId, away->pageId);
        layout.defaultPageId = home->pageId;
        layout.sleepTimeout = 30;
        button = static_cast<TUserButton*>(home->AddObject(std::make_unique<TUserButton>()));
        button->left = button->top = 10;
        button->width = 100;
        button->height = 50;
        colour(button->upFace, kRed);
        colour(button->downFace, kBlue);
        StoreAnsiSlot(u"ON", button->downEvent);
        StoreAnsiSlot(u"OFF", button->upEvent);
        auto* spot = static_cast<TUserHotspot*>(home->AddObject(std::make_unique<TUserHotspot>()));
        spot->left = 200;
        spot->top = 150;
        spot->width = 100;
        spot->height = 80;
        spot->targetPageId = away->pageId;
    }

    // The widget point over a page pixel at the window's zoom.
    QPoint at(const CTryLayoutDlg& dlg, int x, int y) const {
        const int zoom = dlg.screen->Zoom();
        return {PanelScreenView::kMargin + x * zoom + zoom / 2, PanelScreenView::kMargin + y * zoom + zoom / 2};
    }
    // What the screen shows at a page pixel, as grabbed from the widget.
    QRgb shown(CTryLayoutDlg& dlg, int x, int y) const {
        return dlg.screen->grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(at(dlg, x, y)) | 0xFF000000u;
    }

    TLayout layout;
    TUserPage* home = nullptr;
    TUserButton* button = nullptr;
    std::int64_t now = 0;
};

// Each step acts on the window, then its page, its newest line and the number of lines are as
// the row says; a row may look at the screen or the timeout button too.
TEST_F(TryLayoutDlgTest, FollowsTouchesTimeAndTheLayout) {
    CTryLayoutDlg dlg(layout, nullptr, [this] { return now; });
    dlg.show();
    ASSERT_EQ(dlg.screen->Zoom(), 2);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0);
    const struct {
        const char* step;
        std::function<void()> act;
        QString page;
        QString last;
        int lines;
        QRgb button = 0;      // the button's middle on the screen, when not 0
        int nextTimeout = -1; // 1 enabled, 0 greyed, -1 not looked at
    } steps[] = {
        {"start", [] {}, "Page: Home (10000)", "0:00.0  page 10000 \"Home\"", 1, red, 1},
        {"press", [&] { QTest::mousePress(dlg.screen, Qt::LeftButton, {}, at(dlg, 60, 35)); }, "Page: Home (10000)",
         "0:00.0  send \"ON\"", 2, blue},
        {"release", [&] { QTest::mouseRelease(dlg.screen, Qt::LeftButton, {}, at(dlg, 60, 35)); }, "Page: Home (10000)",
         "0:00.0  send \"OFF\"", 3, red},
        {"+10 s", [&] { dlg.tenSecondsButton->click(); }, "Page: Home (10000)", "0:00.0  send \"OFF\"", 3},
        {"hot spot", [&] { QTest::mouseClick(dlg.screen, Qt::LeftButton, {}, at(dlg, 250, 190)); },
         "Page: Away (10001)", "0:10.0  page 10001 \"Away\"", 4},
        {"+1 min", [&] { dlg.minuteButton->click(); }, "Page: none, Asleep", "0:40.0  page", 5, 0, 0},
        {"restart", [&] { dlg.restartButton->click(); }, "Page: Home (10000)", "0:00.0  page 10000 \"Home\"", 1, red,
         1},
        {"clock",
         [&] {
             now += 29'900;
             dlg.OnTick();
         },
         "Page: Home (10000)", "0:00.0  page 10000 \"Home\"", 1},
        {"next timeout", [&] { dlg.nextTimeoutButton->click(); }, "Page: none, Asleep", "0:30.0  page", 2, 0, 0},
        {"layout edited",
         [&] {
             dlg.restartButton->click();
             home->name = u"Hall";
             colour(button->upFace, kGreen);
             dlg.LayoutChanged();
         },
         "Page: Hall (10000)", "0:00.0  page 10000 \"Home\"", 1, green},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(dlg.pageLabel->text(), s.page) << s.step;
        ASSERT_EQ(dlg.outputList->count(), s.lines) << s.step;
        EXPECT_TRUE(dlg.outputList->item(s.lines - 1)->text().startsWith(s.last)) << s.step;
        if (s.button != 0) {
            EXPECT_EQ(shown(dlg, 60, 35), s.button) << s.step;
        }
        if (s.nextTimeout >= 0) {
            EXPECT_EQ(dlg.nextTimeoutButton->isEnabled(), s.nextTimeout == 1) << s.step;
        }
    }
}

} // namespace
