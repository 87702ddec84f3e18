#include "editors/colour/CColorButton.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/colour/CColourPopup.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using Note = std::pair<int, std::uint32_t>;
using Notes = std::vector<Note>;

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kRedCell = 16;

// A window holding one colour button, with every notification recorded in order.
class ColorButtonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QtTestApp();
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        button = new CColorButton(ui, window.get());
        button->setObjectName("colourButton");
        layout->addWidget(button);
        record(&CColorButton::colorChanged, CColorButton::MSG_COLOR_CHANGED);
        record(&CColorButton::colorDropDown, CColorButton::MSG_COLOR_DROPDOWN);
        record(&CColorButton::colorCloseUp, CColorButton::MSG_COLOR_CLOSEUP);
        record(&CColorButton::colorAccepted, CColorButton::MSG_COLOR_ACCEPTED);
        record(&CColorButton::colorCancelled, CColorButton::MSG_COLOR_CANCELLED);
        window->move(100, 100);
        window->show();
    }

    void record(void (CColorButton::*signal)(std::uint32_t, CColorButton*), int number) {
        QObject::connect(button, signal, button, [this, number](std::uint32_t color, CColorButton* sender) {
            EXPECT_EQ(sender, button);
            notes.emplace_back(number, color);
        });
    }

    CColourPopup* open() {
        QTest::mouseClick(button, Qt::LeftButton);
        CColourPopup* popup = button->Popup();
        EXPECT_NE(popup, nullptr);
        EXPECT_TRUE(popup != nullptr && popup->isVisible());
        return popup;
    }

    static void hover(QWidget* widget, QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    static void clickAt(CColourPopup* popup, QPoint pos) {
        hover(popup, pos);
        QTest::mouseClick(popup, Qt::LeftButton, {}, pos);
    }

    static QPoint cellCentre(CColourPopup* popup, int index) { return CellRect(popup->popupGeometry, index).center(); }

    // The popup is gone once the deletion it asked for has run.
    void expectClosed(const QPointer<CColourPopup>& popup) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(popup.isNull());
        EXPECT_EQ(button->Popup(), nullptr);
        EXPECT_FALSE(button->popupActive);
    }

    // The colour in the middle of the button's box.
    QColor boxPixel() const { return button->grab().toImage().pixelColor(button->width() / 3, button->height() / 2); }

    ScriptedUiHost ui;
    std::unique_ptr<QWidget> window;
    CColorButton* button = nullptr;
    Notes notes;
};

TEST_F(ColorButtonFixture, OpeningMarksTheChosenEntry) {
    struct Case {
        std::uint32_t color;
        int chosen;
    };
    const Case cases[] = {
        {0x123456, kCustomIndex},
        {kAutomaticColor, kAutomaticIndex},
        {kRed, kRedCell},
    };
    for (const Case& c : cases) {
        notes.clear();
        button->color = c.color;
        QPointer<CColourPopup> popup = open();
        ASSERT_TRUE(popup);
        EXPECT_TRUE(button->popupActive);
        EXPECT_EQ(popup->chosen, c.chosen) << std::hex << c.color;
        EXPECT_EQ(popup->selected, kNoIndex);
        EXPECT_EQ(popup->initialColor, c.color);
        EXPECT_EQ(notes, (Notes{{2026, c.color}}));
        QTest::keyClick(popup, Qt::Key_Escape);
        expectClosed(popup);
    }
}

TEST_F(ColorButtonFixture, AcceptingAutomaticShowsTheDefaultColour) {
    button->color = kRed;
    button->defaultColor = 0x00FF00FF; // magenta, unlike anything else on the button
    button->update();
    EXPECT_EQ(boxPixel(), QColor(255, 0, 0));
    QPointer<CColourPopup> popup = open();
    clickAt(popup, popup->popupGeometry.defaultTextRect.center());
    EXPECT_EQ(button->color, kAutomaticColor);
    EXPECT_EQ(notes, (Notes{{2026, kRed},
                            {2025, kAutomaticColor},
                            {2027, kAutomaticColor},
                            {2028, kAutomaticColor},
                            {2025, kAutomaticColor}}));
    expectClosed(popup);
    EXPECT_EQ(boxPixel(), QColor(255, 0, 255));
}

TEST_F(ColorButtonFixture, AcceptingTheSameColourSendsNoChange) {
    button->color = kRed;
    QSignalSpy closeUps(button, &CColorButton::colorCloseUp);
    QSignalSpy accepts(button, &CColorButton::colorAccepted);
    QSignalSpy changes(button, &CColorButton::colorChanged);
    QPointer<CColourPopup> popup = open();
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(notes, (Notes{{2026, kRed}, {2027, kRed}, {2028, kRed}}));
    EXPECT_EQ(closeUps.count(), 1);
    EXPECT_EQ(accepts.count(), 1);
    EXPECT_EQ(accepts.at(0).at(0).value<std::uint32_t>(), kRed);
    EXPECT_EQ(accepts.at(0).at(1).value<CColorButton*>(), button);
    EXPECT_EQ(changes.count(), 0);
    expectClosed(popup);
}

TEST_F(ColorButtonFixture, KeyboardWalksOffTheGridAndBack) {
    button->color = kWhite;
    QPointer<CColourPopup> popup = open();
    QTest::keyClick(popup, Qt::Key_Right); // from the chosen last cell
    EXPECT_EQ(popup->selected, kCustomIndex);
    QTest::keyClick(popup, Qt::Key_Right);
    EXPECT_EQ(popup->selected, kAutomaticIndex);
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(popup->selected, 0);
    QTest::keyClick(popup, Qt::Key_Space);
    // "More Colors..." reports the colour the popup opened with, the others their own.
    EXPECT_EQ(notes, (Notes{{2026, kWhite},
                            {2025, kWhite},
                            {2025, kAutomaticColor},
                            {2025, 0x000000},
                            {2027, 0x000000},
                            {2028, 0x000000},
                            {2025, 0x000000}}));
    EXPECT_EQ(button->color, 0x000000u);
    expectClosed(popup);
}

TEST_F(ColorButtonFixture, EscapeAndOutsideReleaseCancel) {
    for (const bool outside : {false, true}) {
        notes.clear();
        button->color = kRed;
        QPointer<CColourPopup> popup = open();
        hover(popup, cellCentre(popup, 39));
        EXPECT_EQ(button->color, kRed); // no tracking: hovering leaves the colour
        if (outside)
            QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(popup->width() + 20, 5));
        else
            QTest::keyClick(popup, Qt::Key_Escape);
        EXPECT_EQ(button->color, kRed);
        EXPECT_EQ(notes, (Notes{{2026, kRed}, {2025, kWhite}, {2027, kRed}, {2029, kRed}})) << outside;
        expectClosed(popup);
    }
}

TEST_F(ColorButtonFixture, TrackingFollowsTheHoverAndCancelRestores) {
    button->trackSelection = true;
    button->color = kRed;
    QPointer<CColourPopup> popup = open();
    hover(popup, cellCentre(popup, 39));
    EXPECT_EQ(button->color, kWhite);
    hover(popup, popup->popupGeometry.customTextRect.center());
    EXPECT_EQ(button->color, kRed);
    hover(popup, cellCentre(popup, 0));
    EXPECT_EQ(button->color, 0x000000u);
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(button->color, kRed);
    expectClosed(popup);
}

TEST_F(ColorButtonFixture, MoreColorsGoesThroughTheColourDialog) {
    struct Case {
        std::optional<std::uint32_t> answer;
        Notes tail;
        std::uint32_t color;
    };
    const Case cases[] = {
        {std::nullopt, {{2027, kRed}, {2029, kRed}}, kRed},
        {0x123456u, {{2027, 0x123456}, {2028, 0x123456}, {2025, 0x123456}}, 0x123456},
        {kRed, {{2027, kRed}, {2028, kRed}}, kRed},
    };
    for (const Case& c : cases) {
        button->color = kRed;
        ui.colorRequests.clear();
        ui.colors = {c.answer};
        QPointer<CColourPopup> popup = open();
        hover(popup, cellCentre(popup, 39));
        notes.clear();
        clickAt(popup, popup->popupGeometry.customTextRect.center());
        EXPECT_EQ(ui.colorRequests, std::vector<std::uint32_t>{kRed}); // starts from the initial colour
        Notes expected{
            {2025, kRed},
        };
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(notes, expected);
        EXPECT_EQ(button->color, c.color);
        EXPECT_FALSE(popup && popup->colorDialogOpen);
        expectClosed(popup);
    }
}

TEST_F(ColorButtonFixture, ClosingOrLeavingTheApplicationCancels) {
    for (const bool deactivate : {false, true}) {
        notes.clear();
        button->color = kRed;
        QPointer<CColourPopup> popup = open();
        if (deactivate)
            emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        else
            popup->close();
        EXPECT_EQ(notes, (Notes{{2026, kRed}, {2027, kRed}, {2029, kRed}})) << deactivate;
        expectClosed(popup);
    }
}

TEST_F(ColorButtonFixture, CellsShowTheirColoursAndNames) {
    button->color = kRed;
    QPointer<CColourPopup> popup = open();
    const QImage image = popup->grab().toImage();
    for (int i = 0; i < kColourCount; ++i) {
        const QPoint centre = cellCentre(popup, i);
        EXPECT_EQ(image.pixelColor(centre), ToQColor(colourTable[static_cast<std::size_t>(i)].color)) << i;
        EXPECT_EQ(popup->ToolTipAt(centre), QString::fromLatin1(colourTable[static_cast<std::size_t>(i)].name));
    }
    EXPECT_EQ(popup->ToolTipAt(popup->popupGeometry.customTextRect.center()), QString());
    // The chosen cell stands out against its neighbours.
    const QPoint corner = CellRect(popup->popupGeometry, kRedCell).topLeft() + QPoint(1, 1);
    const QPoint neighbour = CellRect(popup->popupGeometry, kRedCell + 1).topLeft() + QPoint(1, 1);
    EXPECT_NE(image.pixelColor(corner), image.pixelColor(neighbour));

    const QPoint pale = cellCentre(popup, 35);
    QHelpEvent help(QEvent::ToolTip, pale, popup->mapToGlobal(pale));
    QApplication::sendEvent(popup, &help);
    EXPECT_EQ(QToolTip::text(), "Pale green ");
    QTest::keyClick(popup, Qt::Key_Escape);
    expectClosed(popup);
}

TEST_F(ColorButtonFixture, DisabledButtonShowsNoColour) {
    button->color = kRed;
    button->setEnabled(false);
    EXPECT_NE(boxPixel(), QColor(255, 0, 0));
}

TEST_F(ColorButtonFixture, PopupOpensBelowOrAboveTheButton) {
    const QRect screen = button->screen()->geometry();
    for (const bool nearBottom : {false, true}) {
        window->move(screen.left() + 40, nearBottom ? screen.bottom() - window->height() - 10 : screen.top() + 40);
        QCoreApplication::processEvents();
        QPointer<CColourPopup> popup = open();
        const QPoint buttonTop = button->mapToGlobal(QPoint(0, 0));
        const QRect placed = popup->geometry();
        EXPECT_EQ(placed.left(), buttonTop.x()) << nearBottom;
        if (nearBottom)
            EXPECT_EQ(placed.bottom() + 1, buttonTop.y());
        else
            EXPECT_EQ(placed.top(), buttonTop.y() + button->height());
        EXPECT_TRUE(screen.contains(placed)) << nearBottom;
        QTest::keyClick(popup, Qt::Key_Escape);
        expectClosed(popup);
    }
}

} // namespace
