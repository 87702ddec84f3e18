#include "editors/DataExchange.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <optional>

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

TEST(DataExchange, NumberFields) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"0", 0.0},
        {" 1.5 ", 1.5},
        {"-2", -2.0},
        {"+.5", 0.5},
        {"5.", 5.0},
        {"1e3", 1000.0},
        {"2.5E-1", 0.25},
        {"", std::nullopt},
        {" ", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"e5", std::nullopt},
        {"abc", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1,5", std::nullopt},
        {"1 000", std::nullopt},
        {"0x10", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1e400", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
    // What the field shows reads back as the same value.
    for (const double value : {0.0, 2.5, -0.125, 1e-7, 123456789.25})
        EXPECT_EQ(ParseNumber(NumberText(value)), value) << value;
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(1.5), "1.5");
}

// A refused number says so, and a failed exchange reads no further.
TEST(DataExchange, NumberRefusalNamesTheCause) {
    QtTestApp();
    ScriptedUiHost ui;
    QDialog dialog;
    auto* good = new QLineEdit("0.75", &dialog);
    auto* bad = new QLineEdit("soon", &dialog);
    auto* later = new QLineEdit("x", &dialog);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    DataExchange dx(ui, &dialog);
    EXPECT_EQ(dx.Number(*good), 0.75);
    EXPECT_FALSE(dx.Number(*bad));
    EXPECT_FALSE(dx.Integer(*later));
    EXPECT_EQ(ui.messages, QStringList{"ZYLMosaics: Enter a number."});
    EXPECT_EQ(dialog.focusWidget(), bad);
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
