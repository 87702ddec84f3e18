#include "editors/DataExchange.h"

#include "editors/UiHost.h"

#include <QLineEdit>
#include <QLocale>

#include <cmath>

std::optional<int> ParseInteger(const QString& text) {
    const QString trimmed = text.trimmed();
    int start = 0;
    if (trimmed.startsWith('+') || trimmed.startsWith('-'))
        start = 1;
    if (trimmed.size() == start)
        return std::nullopt;
    for (qsizetype i = start; i < trimmed.size(); ++i)
        if (trimmed[i] < '0' || trimmed[i] > '9')
            return std::nullopt;
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

QString IntegerFieldError(const QString& text, int min, int max) {
    const std::optional<int> value = ParseInteger(text);
    if (!value)
        return "Enter an integer.";
    if (*value < min || *value > max)
        return QString("Enter an integer between %1 and %2.").arg(min).arg(max);
    return {};
}

namespace {

bool isDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// Skips a run of digits from `i`; the count skipped.
qsizetype skipDigits(const QString& text, qsizetype& i) {
    const qsizetype start = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i - start;
}

} // namespace

std::optional<double> ParseNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    // Checked by hand first: toDouble alone would also take "inf", "nan" and a thousands separator.
    qsizetype i = 0;
    if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-'))
        ++i;
    qsizetype digits = skipDigits(trimmed, i);
    if (i < trimmed.size() && trimmed[i] == '.') {
        ++i;
        digits += skipDigits(trimmed, i);
    }
    if (digits == 0)
        return std::nullopt;
    if (i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
        ++i;
        if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-'))
            ++i;
        if (skipDigits(trimmed, i) == 0)
            return std::nullopt;
    }
    if (i != trimmed.size())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString NumberText(double value) {
    return QString::number(value, 'g', 15);
}

DataExchange::DataExchange(UiHost& ui_, QWidget* dialog_) : ui(ui_), dialog(dialog_) {}

std::optional<int> DataExchange::Integer(QLineEdit& field, int min, int max) {
    if (failed)
        return std::nullopt;
    const QString error = IntegerFieldError(field.text(), min, max);
    if (error.isEmpty())
        return ParseInteger(field.text());
    refuse(field, error);
    return std::nullopt;
}

std::optional<double> DataExchange::Number(QLineEdit& field) {
    if (failed)
        return std::nullopt;
    const std::optional<double> value = ParseNumber(field.text());
    if (!value)
        refuse(field, "Enter a number.");
    return value;
}

void DataExchange::refuse(QLineEdit& field, const QString& message) {
    failed = true;
    ui.ShowMessage(dialog, kTitle, message);
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
}
