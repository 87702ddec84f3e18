#pragma once

#include <QString>

#include <climits>
#include <optional>

class QLineEdit;
class QWidget;
class UiHost;

// The integer a field's text holds: optional sign and decimal digits, blanks around them allowed.
[[nodiscard]] std::optional<int> ParseInteger(const QString& text);
// Why a field's text is refused as an integer in [min, max], or an empty text when it is not.
[[nodiscard]] QString IntegerFieldError(const QString& text, int min = INT_MIN, int max = INT_MAX);
// The real number a field's text holds: optional sign, decimal digits with an optional point and
// an optional exponent, blanks around them allowed. Written with '.', whatever the locale.
[[nodiscard]] std::optional<double> ParseNumber(const QString& text);
// Text a number field shows for the value: up to 15 significant digits, no trailing zeros.
[[nodiscard]] QString NumberText(double value);

// Reads a dialog's fields on OK in the dialog's own order. The first refusal shows its message,
// puts the focus on the field and makes every later read fail too, so one message is shown.
class DataExchange {
public:
    DataExchange(UiHost& ui, QWidget* dialog);

    [[nodiscard]] std::optional<int> Integer(QLineEdit& field, int min = INT_MIN, int max = INT_MAX);
    // A real number; anything else is refused with "Enter a number.".
    [[nodiscard]] std::optional<double> Number(QLineEdit& field);
    [[nodiscard]] bool Failed() const { return failed; }

    static constexpr const char* kTitle = "ZYLMosaics";

private:
    void refuse(QLineEdit& field, const QString& message);

    UiHost& ui;
    QWidget* dialog;
    bool failed = false;
};
