#include "editors/dialogs/CBtn8Dlg.h"
#include "QtTestApp.h"
#include "TypeText.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

QLineEdit* field(CBtn8Dlg& dlg, const QString& name) {
    auto* edit = dlg.findChild<QLineEdit*>(name);
    EXPECT_NE(edit, nullptr) << name.toStdString();
    return edit;
}

std::string slotText(const CBtn8Ctrl::Slot& slot) {
    return std::string(reinterpret_cast<const char*>(slot.data()), slot.size());
}

std::string padded(const std::string& text) {
    return text + std::string(CBtn8Ctrl::kSlotBytes - text.size(), '\0');
}

void show(QDialog& dlg) {
    dlg.show();
    QApplication::setActiveWindow(&dlg);
}

TEST(CBtn8Dlg, NewPageOpensEmptyAndOKLeavesItZero) {
    QtTestApp();
    CBtn8Ctrl page(nullptr, u"8 Button");
    CBtn8Dlg dlg(page);
    show(dlg);
    for (int i = 1; i <= CBtn8Ctrl::kButtons; ++i) {
        EXPECT_TRUE(field(dlg, QString("buttonLabel%1").arg(i))->text().isEmpty()) << i;
        EXPECT_TRUE(field(dlg, QString("buttonEvent%1").arg(i))->text().isEmpty()) << i;
    }
    QTest::mouseClick(dlg.okButton, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        EXPECT_EQ(slotText(page.buttonLabels[i]), padded("")) << i;
        EXPECT_EQ(slotText(page.buttonEvents[i]), padded("")) << i;
    }
}

TEST(CBtn8Dlg, TypedTextsLandInTheirSlots) {
    QtTestApp();
    struct Case {
        int button;
        QString label, event;
        std::string storedLabel, storedEvent;
    };
    const Case cases[] = {
        {1, "Lights", "#LIGHTS ON", "Lights", "#LIGHTS ON"},
        {3, "Fan", "#FAN 2", "Fan", "#FAN 2"},
        {8, QString::fromLatin1("Caf\xE9"), "#C", "Caf\xE9", "#C"},
        {5, QString(79, 'L'), QString(80, 'E'), std::string(79, 'L'), std::string(79, 'E')},
        {6, QString(120, 'L'), "", std::string(79, 'L'), ""},
    };
    for (const Case& c : cases) {
        CBtn8Ctrl page(nullptr, u"8 Button");
        CBtn8Dlg dlg(page);
        show(dlg);
        // Plain ASCII goes through QTest::keyClicks, the rest key by key with its text.
        const auto typeInto = [&](const QString& name, const QString& text) {
            QLineEdit* edit = field(dlg, name.arg(c.button));
            if (std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 0x80; }))
                QTest::keyClicks(edit, text);
            else
                TypeText(edit, text);
        };
        typeInto("buttonLabel%1", c.label);
        typeInto("buttonEvent%1", c.event);
        QTest::mouseClick(dlg.okButton, Qt::LeftButton);
        for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
            const bool typed = i == c.button - 1;
            EXPECT_EQ(slotText(page.buttonLabels[i]), padded(typed ? c.storedLabel : "")) << c.button << " " << i;
            EXPECT_EQ(slotText(page.buttonEvents[i]), padded(typed ? c.storedEvent : "")) << c.button << " " << i;
        }
    }
}

// A slot without a NUL opens as its 80 bytes, not running on into the next slot.
TEST(CBtn8Dlg, FullSlotsOpenWithoutReadingPastThem) {
    QtTestApp();
    CBtn8Ctrl page(nullptr, u"8 Button");
    page.buttonLabels[0].fill('A');
    std::copy_n("next", 5, page.buttonLabels[1].begin());
    page.buttonLabels[7].fill('Z'); // the page's last bytes
    page.buttonEvents[3].fill(0xE9);
    CBtn8Dlg dlg(page);
    EXPECT_EQ(field(dlg, "buttonLabel1")->text(), QString(80, 'A'));
    EXPECT_EQ(field(dlg, "buttonLabel2")->text(), "next");
    EXPECT_EQ(field(dlg, "buttonLabel8")->text(), QString(80, 'Z'));
    EXPECT_EQ(field(dlg, "buttonEvent4")->text(), QString(80, QChar(0xE9)));
    // Left alone, they stay whole.
    dlg.accept();
    EXPECT_EQ(slotText(page.buttonLabels[0]), std::string(80, 'A'));
    EXPECT_EQ(slotText(page.buttonLabels[1]), padded("next"));
    EXPECT_EQ(slotText(page.buttonLabels[7]), std::string(80, 'Z'));
    EXPECT_EQ(slotText(page.buttonEvents[3]), std::string(80, '\xE9'));
}

TEST(CBtn8Dlg, CancelAndEscapeTouchNothing) {
    QtTestApp();
    for (bool escape : {false, true}) {
        CBtn8Ctrl page(nullptr, u"8 Button");
        std::copy_n("Old", 4, page.buttonLabels[2].begin());
        const auto labels = page.buttonLabels;
        const auto events = page.buttonEvents;
        CBtn8Dlg dlg(page);
        show(dlg);
        QTest::keyClicks(field(dlg, "buttonLabel3"), "er");
        QTest::keyClicks(field(dlg, "buttonEvent5"), "#X");
        if (escape)
            QTest::keyClick(field(dlg, "buttonEvent5"), Qt::Key_Escape);
        else
            QTest::mouseClick(dlg.cancelButton, Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Rejected) << escape;
        EXPECT_EQ(page.buttonLabels, labels) << escape;
        EXPECT_EQ(page.buttonEvents, events) << escape;
    }
}

TEST(CBtn8Dlg, RowsAreNamedAndTabbedInReadingOrder) {
    QtTestApp();
    CBtn8Ctrl page(nullptr, u"8 Button");
    CBtn8Dlg dlg(page);
    show(dlg);
    QStringList expected;
    for (int i = 1; i <= CBtn8Ctrl::kButtons; ++i) {
        const QString label = QString("buttonLabel%1").arg(i);
        const QString event = QString("buttonEvent%1").arg(i);
        expected << label << event;
        EXPECT_EQ(field(dlg, label)->accessibleName(), QString("Button %1:").arg(i));
        EXPECT_EQ(field(dlg, event)->accessibleName(), QString("Button %1: Event Text").arg(i));
    }
    expected << "okButton"
             << "cancelButton";
    field(dlg, "buttonLabel1")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);

    // Alt+3 is the mnemonic of "Button 3:" and leads to its label.
    QTest::keyClick(&dlg, Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), field(dlg, "buttonLabel3"));
}

} // namespace
