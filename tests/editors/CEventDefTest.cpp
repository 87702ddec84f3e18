#include "editors/dialogs/CEventDef.h"
#include "QtTestApp.h"
#include "RichLayout.h"
#include "TypeText.h"
#include "layout/TLayout.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

QLineEdit* field(CEventDef& dlg, const QString& name) {
    auto* edit = dlg.findChild<QLineEdit*>(name);
    EXPECT_NE(edit, nullptr) << name.toStdString();
    return edit;
}

std::string entryText(const std::uint8_t* entry, std::size_t n = TLayout::kEventBytes) {
    return std::string(reinterpret_cast<const char*>(entry), n);
}

std::vector<std::uint8_t> encode(TLayout& layout) {
    auto image = layout.Encode(TLayout::kUploadCapacity);
    EXPECT_TRUE(image.has_value());
    return image.value_or(std::vector<std::uint8_t>{});
}

void show(QDialog& dlg) {
    dlg.show();
    QApplication::setActiveWindow(&dlg);
}

TEST(CEventDef, OKWithoutChangesKeepsALayoutFromThePanel) {
    QtTestApp();
    TLayout rich;
    MakeRichLayout(rich);
    TLayout panel;
    ASSERT_TRUE(panel.Decode(encode(rich)));
    // What an older writer leaves behind a shortened text, and bytes past the 80 the dialog writes.
    std::memcpy(panel.EventText(4), "Hi\0lo World", 12);
    panel.EventDescription(23)[255] = 'q';
    panel.EventText(10)[120] = 'z';
    const std::vector<std::uint8_t> before = encode(panel);

    CEventDef dlg(panel);
    EXPECT_EQ(field(dlg, "description1")->text(), "Event A description");
    EXPECT_EQ(field(dlg, "eventText24")->text(), QString::fromUtf16(u"Event X text \u00FC"));
    EXPECT_EQ(field(dlg, "eventText5")->text(), "Hi");
    QTest::mouseClick(dlg.okButton, Qt::LeftButton);

    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.descriptions[0], "Event A description");
    EXPECT_EQ(encode(panel), before);
}

// Texts past 79 bytes open whole (up to the entry's end, not into the next entry) and stay byte
// for byte when the user leaves them alone; an edited one is cut (see the next test).
TEST(CEventDef, OKKeepsUnchangedLongEntries) {
    QtTestApp();
    TLayout layout;
    std::memset(layout.EventDescription(0), 'a', TLayout::kEventBytes);
    std::memcpy(layout.EventDescription(1), "next", 5);
    std::memset(layout.EventDescription(2), 'c', 80);
    std::memset(layout.EventText(1), 'b', 100);
    layout.EventText(1)[150] = 'z';
    const auto descriptions = layout.eventDescriptions;
    const auto texts = layout.eventTexts;
    CEventDef dlg(layout);
    EXPECT_EQ(field(dlg, "description1")->text(), QString(256, 'a'));
    EXPECT_EQ(field(dlg, "eventText2")->text(), QString(100, 'b'));
    dlg.accept();
    EXPECT_EQ(entryText(layout.EventDescription(0)), std::string(256, 'a'));
    EXPECT_TRUE(layout.eventDescriptions == descriptions);
    EXPECT_TRUE(layout.eventTexts == texts);
}

TEST(CEventDef, TypedTextsLandInTheirEntries) {
    QtTestApp();
    struct Case {
        const char* field;
        QString typed;
        int event;
        bool text;
        std::string stored;
    };
    const Case cases[] = {
        {"description1", "Lights on", 0, false, "Lights on"},
        {"eventText1", "#L1", 0, true, "#L1"},
        {"eventText3", "Fan off", 2, true, "Fan off"},
        {"description7", QString(79, 'd'), 6, false, std::string(79, 'd')},
        {"eventText12", QString(100, 't'), 11, true, std::string(79, 't')},
        {"eventText24", QString::fromUtf16(u"Garage \u20AC5 \u00E9"), 23, true,
         "Garage \x80"
         "5 \xE9"},
        {"description5", QString::fromUtf16(u"a\u4E2Db"), 4, false, "a?b"},
    };
    for (const Case& c : cases) {
        TLayout layout;
        layout.EventText(c.event)[200] = 'k';
        CEventDef dlg(layout);
        show(dlg);
        TypeText(field(dlg, c.field), c.typed);
        QTest::mouseClick(dlg.okButton, Qt::LeftButton);

        for (int i = 0; i < TLayout::kEventCount; ++i)
            for (bool text : {false, true}) {
                const std::uint8_t* entry = text ? layout.EventText(i) : layout.EventDescription(i);
                std::string expected(TLayout::kEventBytes, '\0');
                if (i == c.event && text == c.text)
                    expected.replace(0, c.stored.size(), c.stored);
                if (i == c.event && text)
                    expected[200] = 'k'; // beyond the 80 bytes written
                EXPECT_EQ(entryText(entry), expected) << c.field << " -> event " << i + 1 << (text ? " text" : "");
            }
    }
}

TEST(CEventDef, CancelChangesNothing) {
    QtTestApp();
    for (bool escape : {false, true}) {
        TLayout layout;
        MakeRichLayout(layout);
        const std::vector<std::uint8_t> before = Snapshot(layout);
        CEventDef dlg(layout);
        show(dlg);
        QTest::keyClicks(field(dlg, "description3"), "changed");
        QTest::keyClicks(field(dlg, "eventText20"), "changed");
        if (escape)
            QTest::keyClick(field(dlg, "eventText20"), Qt::Key_Escape);
        else
            QTest::mouseClick(dlg.cancelButton, Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Rejected) << escape;
        EXPECT_EQ(Snapshot(layout), before) << escape;
    }
}

TEST(CEventDef, RowsAreNamedAndTabbedInReadingOrder) {
    QtTestApp();
    TLayout layout;
    CEventDef dlg(layout);
    dlg.resize(400, 200);
    show(dlg);
    ASSERT_EQ(dlg.size(), QSize(400, 200));
    QScrollBar* bar = dlg.scrollArea->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    QStringList expected;
    for (int i = 1; i <= CEventDef::kEvents; ++i) {
        const QString n = QString::number(i);
        expected << "description" + n << "eventText" + n;
        EXPECT_EQ(field(dlg, "description" + n)->accessibleName(), "Event #" + n);
        EXPECT_EQ(field(dlg, "eventText" + n)->accessibleName(), "Event #" + n + " Event Text");
    }
    expected << "okButton"
             << "cancelButton";

    QLineEdit* first = field(dlg, "description1");
    first->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);

    // Back from the buttons to the last row: it is scrolled into view.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QLineEdit* last = field(dlg, "eventText24");
    ASSERT_EQ(QApplication::focusWidget(), last);
    QWidget* viewport = dlg.scrollArea->viewport();
    const QRect shown(last->mapTo(viewport, QPoint(0, 0)), last->size());
    EXPECT_GE(shown.top(), 0);
    EXPECT_LE(shown.bottom(), viewport->rect().bottom());
    EXPECT_TRUE(shown.intersects(viewport->rect()));
    EXPECT_EQ(bar->value(), bar->maximum());

    // The buttons stay in the window, outside the scrolled form.
    for (QPushButton* button : {dlg.okButton, dlg.cancelButton}) {
        EXPECT_FALSE(dlg.scrollArea->isAncestorOf(button));
        EXPECT_TRUE(dlg.rect().contains(QRect(button->mapTo(&dlg, QPoint(0, 0)), button->size())));
    }

    first->setFocus();
    EXPECT_EQ(bar->value(), 0);
}

TEST(CEventDef, FittedSize) {
    struct Case {
        QSize designed, available;
        QSize fitted;
    };
    const QSize frame = CScrollDialog::kFrameAllowance;
    const Case cases[] = {
        {{500, 700}, {1920, 1080}, {500, 700}},
        {{500, 700}, {500 + frame.width(), 700 + frame.height()}, {500, 700}},
        // Cut in height: the vertical scroll bar takes its room beside the form.
        {{500, 700}, {1024, 600}, {514, 600 - frame.height()}},
        {{500, 700}, {400, 600}, {400 - frame.width(), 600 - frame.height()}},
        {{500, 300}, {400, 600}, {400 - frame.width(), 300}},
        {{500, 700}, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CScrollDialog::FittedSize(c.designed, c.available, 14), c.fitted)
            << c.available.width() << "x" << c.available.height();
}

TEST(CEventDef, OpensWithinTheScreen) {
    QtTestApp();
    TLayout layout;
    CEventDef dlg(layout);
    show(dlg);
    const QSize available = dlg.screen()->availableGeometry().size();
    EXPECT_LE(dlg.height(), available.height());
    EXPECT_LE(dlg.width(), available.width());
    const auto* grip = dlg.findChild<QSizeGrip*>();
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->isVisible());
    // Wherever the whole form fits, it opens whole; otherwise it scrolls.
    if (dlg.size() == dlg.DesignedSize())
        EXPECT_EQ(dlg.scrollArea->verticalScrollBar()->maximum(), 0);
    else
        EXPECT_GT(dlg.scrollArea->verticalScrollBar()->maximum(), 0);
}

} // namespace
