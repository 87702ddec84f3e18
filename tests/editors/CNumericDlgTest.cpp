#include "editors/dialogs/CNumericDlg.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/colour/CColorButton.h"
#include "editors/colour/CColourPopup.h"
#include "layout/CNumericCtrl.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A page with something in every field, the colours' fourth bytes set.
std::unique_ptr<CNumericCtrl> filledPage() {
    auto page = std::make_unique<CNumericCtrl>(nullptr, u"Keypad");
    page->backgroundColor = 0x7F00FF00;
    page->primaryColor = 0x00123456;
    page->highlightColor = 0x01000000;
    page->textColor = 0x00FFFFFF;
    page->textLines = {u"Enter code", u"then press OK", u"", u"service line"};
    return page;
}

struct Snapshot {
    std::u16string name;
    std::int32_t background, primary, highlight, text;
    std::array<std::u16string, 4> lines;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const CNumericCtrl& page) {
    return {page.name, page.backgroundColor, page.primaryColor, page.highlightColor, page.textColor, page.textLines};
}

template <class T> T* child(QWidget& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QPushButton* okButton(QWidget& dialog) {
    return child<QPushButton>(dialog, "okButton");
}

class NumericDlgFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QtTestApp();
        dialog.reset();
        page = filledPage();
        dialog = std::make_unique<CNumericDlg>(*page, ui);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }

    ScriptedUiHost ui;
    std::unique_ptr<CNumericCtrl> page;
    std::unique_ptr<CNumericDlg> dialog;
};

TEST_F(NumericDlgFixture, FieldsAreLabelledInReadingOrder) {
    struct Field {
        const char* name;
        const char* label;
    };
    const Field fields[] = {
        {"pageName", "Page Name:"},         {"backgroundColor", "Background Color:"},
        {"primaryColor", "Primary Color:"}, {"highlightColor", "Highlight Color:"},
        {"textColor", "Text Color:"},       {"textLine1", "First Text Line:"},
        {"textLine2", "Second Text Line:"}, {"textLine3", "Third Text Line:"},
    };
    EXPECT_EQ(dialog->windowTitle(), "Numeric Entry Page");
    QWidget* first = child<QWidget>(*dialog, "pageName");
    first->setFocus();
    for (const Field& f : fields) {
        QWidget* field = child<QWidget>(*dialog, f.name);
        EXPECT_EQ(field->accessibleName(), f.label);
        EXPECT_TRUE(field->isVisible()) << f.name;
        EXPECT_EQ(QApplication::focusWidget(), field) << f.name;
        bool labelled = false;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            if (label->buddy() == field && label->text().remove('&') == f.label)
                labelled = label->isVisible();
        EXPECT_TRUE(labelled) << f.name;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), okButton(*dialog));
    // The fourth line exists, labelled, but the user never sees it.
    EXPECT_EQ(child<QLineEdit>(*dialog, "textLine4")->accessibleName(), "Fourth Text Line:");
    EXPECT_FALSE(child<QLineEdit>(*dialog, "textLine4")->isVisible());
    EXPECT_EQ(dialog->textLine4Label->text(), "Fourth Text Line:");
    EXPECT_EQ(dialog->textLine4Label->buddy(), dialog->textLine4);
    EXPECT_FALSE(dialog->textLine4Label->isVisible());
}

TEST_F(NumericDlgFixture, RenamingTakesEffectOnlyOnOK) {
    enum class Close { Ok, Cancel, Escape, EnterInField };
    for (const Close how : {Close::Ok, Close::Cancel, Close::Escape, Close::EnterInField}) {
        SetUp();
        auto* name = child<QLineEdit>(*dialog, "pageName");
        auto* line = child<QLineEdit>(*dialog, "textLine2");
        name->selectAll();
        QTest::keyClicks(name, "Door keypad");
        line->selectAll();
        QTest::keyClicks(line, "and wait");
        const Snapshot before = snapshot(*page);
        switch (how) {
        case Close::Ok:
            QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
            break;
        case Close::Cancel:
            QTest::mouseClick(child<QPushButton>(*dialog, "cancelButton"), Qt::LeftButton);
            break;
        case Close::Escape:
            QTest::keyClick(name, Qt::Key_Escape);
            break;
        case Close::EnterInField:
            QTest::keyClick(name, Qt::Key_Return);
            break;
        }
        EXPECT_FALSE(dialog->isVisible());
        if (how == Close::Ok || how == Close::EnterInField) {
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            EXPECT_EQ(page->name, u"Door keypad");
            EXPECT_EQ(page->textLines[1], u"and wait");
            Snapshot expected = before;
            expected.name = u"Door keypad";
            expected.lines[1] = u"and wait";
            EXPECT_EQ(snapshot(*page), expected);
        } else {
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
            EXPECT_EQ(snapshot(*page), before);
        }
    }
}

// OK without a change writes every field back as it was, the fourth bytes and the hidden line too.
TEST_F(NumericDlgFixture, UntouchedPageSurvivesOK) {
    struct Case {
        const char* what;
        std::u16string fourthLine;
    };
    const Case cases[] = {
        {"plain", u"service line"},
        {"empty", u""},
        {"longer than a line edit's usual limit", std::u16string(40000, u'x')},
        {"not plain ASCII", u"Zone \u00e9t\u00e9 \u4e2d"},
        {"two lines", u"first\nsecond\r\n"},
        {"a lone surrogate", u"bad \xD800 unit"},
    };
    for (const Case& c : cases) {
        dialog.reset();
        page = filledPage();
        page->textLines[3] = c.fourthLine;
        const Snapshot before = snapshot(*page);
        dialog = std::make_unique<CNumericDlg>(*page, ui);
        dialog->show();
        QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.what;
        EXPECT_EQ(snapshot(*page), before) << c.what;
    }
}

TEST_F(NumericDlgFixture, PickingPureRedStoresItsBytes) {
    auto* background = child<CColorButton>(*dialog, "backgroundColor");
    QTest::mouseClick(background, Qt::LeftButton);
    CColourPopup* popup = background->Popup();
    ASSERT_NE(popup, nullptr);
    const QPoint red = CellRect(popup->popupGeometry, 16).center();
    QMouseEvent move(QEvent::MouseMove, QPointF(red), QPointF(popup->mapToGlobal(red)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(popup, &move);
    QTest::mouseClick(popup, Qt::LeftButton, {}, red);
    EXPECT_EQ(background->color, 0x0000FFu);

    // The highlight colour goes "Automatic" by keyboard.
    auto* highlight = child<CColorButton>(*dialog, "highlightColor");
    highlight->setFocus();
    QTest::keyClick(highlight, Qt::Key_Space);
    popup = highlight->Popup();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Up); // from black, the first cell, up to "Automatic"
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(highlight->color, kAutomaticColor);

    QTest::mouseClick(okButton(*dialog), Qt::LeftButton);
    EXPECT_EQ(page->backgroundColor, 0x7F0000FF); // 255, 0, 0 and the fourth byte kept
    EXPECT_EQ(page->highlightColor, 0x01000000);
    EXPECT_EQ(page->primaryColor, 0x00123456);
    EXPECT_EQ(page->textColor, 0x00FFFFFF);
}

} // namespace
