#include "DataExchange.h"

#include "UiHost.h"

#include <QLineEdit>

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

DataExchange::DataExchange(UiHost& ui_, QWidget* dialog_) : ui(ui_), dialog(dialog_) {}

std::optional<int> DataExchange::Integer(QLineEdit& field, int min, int max) {
    if (failed)
        return std::nullopt;
    const QString error = IntegerFieldError(field.text(), min, max);
    if (error.isEmpty())
        return ParseInteger(field.text());
    failed = true;
    ui.ShowMessage(dialog, kTitle, error);
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
    return std::nullopt;
}
