#include "editors/dialogs/CImageSizeDlg.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ImageSizeDlgFixture : public ::testing::Test {
protected:
    void SetUp() override { QtTestApp(); }

    CImageSizeDlg& open(int width, int height, bool retain) {
        dialog = std::make_unique<CImageSizeDlg>(ui);
        dialog->width = width;
        dialog->height = height;
        dialog->retainAspect = retain ? 1 : 0;
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }

    // Replaces a field's text key by key, as the user would.
    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    ScriptedUiHost ui;
    std::unique_ptr<CImageSizeDlg> dialog;
};

TEST_F(ImageSizeDlgFixture, OpeningShowsTheSizeAndTakesItsRatio) {
    CImageSizeDlg& dlg = open(320, 240, true);
    EXPECT_EQ(dlg.windowTitle(), "Image Size");
    EXPECT_EQ(dlg.widthEdit->text(), "320");
    EXPECT_EQ(dlg.heightEdit->text(), "240");
    EXPECT_TRUE(dlg.retainAspectBox->isChecked());
    EXPECT_DOUBLE_EQ(dlg.aspectRatio, 320.0 / 240.0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ImageSizeDlgFixture, RetainedRatioWorksOutTheOtherSideAsTheUserTypes) {
    CImageSizeDlg& dlg = open(320, 240, true);
    type(dlg.widthEdit, "100");
    EXPECT_EQ(dlg.heightEdit->text(), "75");
    type(dlg.heightEdit, "120");
    EXPECT_EQ(dlg.widthEdit->text(), "160");
    // The other side passed through 0 and 1 on the way; none of it was the user's error.
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('\n').toStdString();

    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.width, 160);
    EXPECT_EQ(dlg.height, 120);
    EXPECT_EQ(dlg.retainAspect, 1);
}

TEST_F(ImageSizeDlgFixture, WidthOfOneGivesHeightZeroWhichOkRefuses) {
    CImageSizeDlg& dlg = open(320, 240, true);
    type(dlg.widthEdit, "1");
    EXPECT_EQ(dlg.heightEdit->text(), "0");
    dlg.accept();
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter an integer between 1 and 240."});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(QApplication::focusWidget(), dlg.heightEdit);
    EXPECT_EQ(dlg.height, 0);
}

TEST_F(ImageSizeDlgFixture, PushedValuesAreNotEdits) {
    // 100 : 30 does not survive a round trip: 10 wide gives 3 high, and 3 high would give 9 wide.
    CImageSizeDlg& dlg = open(100, 30, true);
    type(dlg.widthEdit, "10");
    EXPECT_EQ(dlg.heightEdit->text(), "3");
    EXPECT_EQ(dlg.widthEdit->text(), "10");
    type(dlg.heightEdit, "7"); // 23 wide, and 23 wide would give 6 high
    EXPECT_EQ(dlg.widthEdit->text(), "23");
    EXPECT_EQ(dlg.heightEdit->text(), "7");
}

TEST_F(ImageSizeDlgFixture, WithTheBoxClearedTheSidesChangeIndependently) {
    CImageSizeDlg& dlg = open(320, 240, false);
    type(dlg.widthEdit, "100");
    EXPECT_EQ(dlg.heightEdit->text(), "240");
    type(dlg.heightEdit, "50");
    EXPECT_EQ(dlg.widthEdit->text(), "100");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.width, 100);
    EXPECT_EQ(dlg.height, 50);
    EXPECT_EQ(dlg.retainAspect, 0);
}

TEST_F(ImageSizeDlgFixture, TheBoxSwitchesTheRuleButKeepsTheOpeningRatio) {
    CImageSizeDlg& dlg = open(320, 240, false);
    type(dlg.widthEdit, "200");
    type(dlg.heightEdit, "200");
    QTest::mouseClick(dlg.retainAspectBox, Qt::LeftButton);
    ASSERT_TRUE(dlg.retainAspectBox->isChecked());
    type(dlg.widthEdit, "160");
    EXPECT_EQ(dlg.heightEdit->text(), "120");
}

TEST_F(ImageSizeDlgFixture, ABadValueWhileTypingIsReportedOnceUntilItIsPutRight) {
    struct Case {
        const char* what;
        bool retain;
    } cases[] = {{"ratio kept", true}, {"ratio free", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        CImageSizeDlg& dlg = open(320, 240, c.retain);
        dlg.widthEdit->setFocus();
        dlg.widthEdit->end(false);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(dlg.widthEdit, Qt::Key_Backspace);
        EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter an integer."});
        EXPECT_EQ(QApplication::focusWidget(), dlg.widthEdit);
        QTest::keyClicks(dlg.widthEdit, "x"); // still wrong: no second message
        QTest::keyClick(dlg.widthEdit, Qt::Key_Backspace);
        QTest::keyClicks(dlg.widthEdit, "50"); // right again
        EXPECT_EQ(ui.messages.size(), 1);
        QTest::keyClicks(dlg.widthEdit, "00"); // 500: wrong again, a new message; then no more
        EXPECT_EQ(ui.messages,
                  (QStringList{"ZYLMosaics: Enter an integer.", "ZYLMosaics: Enter an integer between 1 and 320."}));
        // The values last read stand: 50 wide, and with the ratio kept 37 high.
        EXPECT_EQ(dlg.width, 50);
        EXPECT_EQ(dlg.heightEdit->text(), c.retain ? "37" : "240");
        // OK still reports what is wrong, however often it was said before.
        dlg.accept();
        EXPECT_EQ(ui.messages.size(), 3);
        EXPECT_TRUE(dlg.isVisible());
        dialog.reset();
    }
}

TEST_F(ImageSizeDlgFixture, WithTheRatioFreeTheOtherSideIsCheckedToo) {
    CImageSizeDlg& dlg = open(320, 240, false);
    type(dlg.heightEdit, "300");
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter an integer between 1 and 240."});
    // Typing the width reads the height again, but its fault has been reported already.
    type(dlg.widthEdit, "64");
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(dlg.width, 64);
    type(dlg.heightEdit, "48");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.height, 48);
}

TEST_F(ImageSizeDlgFixture, OpenedWithoutASizeTheRatioIsOffAndOkRefusesTheZero) {
    CImageSizeDlg& dlg = open(0, 0, true);
    EXPECT_EQ(dlg.aspectRatio, 0.0);
    type(dlg.widthEdit, "100");
    EXPECT_EQ(dlg.heightEdit->text(), "0");
    dlg.accept();
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter an integer between 1 and 240."});
    EXPECT_TRUE(dlg.isVisible());
}

} // namespace
