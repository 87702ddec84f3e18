#include "editors/DataExchange.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

TEST(DataExchange, IntegerFieldErrors) {
    struct Case {
        const char* text;
        int min, max;
        const char* error;
    };
    const Case cases[] = {
        {"42", INT_MIN, INT_MAX, ""},
        {" -7 ", INT_MIN, INT_MAX, ""},
        {"+3", INT_MIN, INT_MAX, ""},
        {"", INT_MIN, INT_MAX, "Enter an integer."},
        {"  ", INT_MIN, INT_MAX, "Enter an integer."},
        {"-", INT_MIN, INT_MAX, "Enter an integer."},
        {"12a", INT_MIN, INT_MAX, "Enter an integer."},
        {"1.5", INT_MIN, INT_MAX, "Enter an integer."},
        {"0x10", INT_MIN, INT_MAX, "Enter an integer."},
        {"2147483648", INT_MIN, INT_MAX, "Enter an integer."},
        {"-2147483648", INT_MIN, INT_MAX, ""},
        {"0", 1, 100, "Enter an integer between 1 and 100."},
        {"101", 1, 100, "Enter an integer between 1 and 100."},
        {"1", 1, 100, ""},
        {"100", 1, 100, ""},
        {"abc", 1, 100, "Enter an integer."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IntegerFieldError(c.text, c.min, c.max).toStdString(), c.error) << '"' << c.text << '"';
}

// The first refusal is the only message, and its field gets the focus.
TEST(DataExchange, FirstRefusalStopsTheExchange) {
    QtTestApp();
    ScriptedUiHost ui;
    QDialog dialog;
    auto* good = new QLineEdit("5", &dialog);
    auto* bad = new QLineEdit("x", &dialog);
    auto* later = new QLineEdit("200", &dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    DataExchange dx(ui, &dialog);
    EXPECT_EQ(dx.Integer(*good), 5);
    EXPECT_FALSE(dx.Integer(*bad));
    EXPECT_FALSE(dx.Integer(*later, 1, 100));
    EXPECT_TRUE(dx.Failed());
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter an integer."});
    EXPECT_EQ(dialog.focusWidget(), bad);
}

} // namespace
