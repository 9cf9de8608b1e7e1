#include "typedinput.h"

#include <QDate>
#include <QRegularExpression>

bool TypedInput::number(const QString& typed, QString& stored)
{
    // A sign, whole digits (grouped by threes with spaces, or not grouped), a fraction.
    static const QRegularExpression shape(
        QStringLiteral("^([-\\x{2212}+]?)\\s*(\\d{1,3}(?:[ \\x{00A0}\\x{202F}]\\d{3})+|\\d+)(?:[.,](\\d+))?$"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = shape.match(typed.trimmed());
    if (!match.hasMatch())
        return false;
    QString whole = match.captured(2);
    whole.remove(QRegularExpression(QStringLiteral("[ \\x{00A0}\\x{202F}]")));
    const bool negative = !match.captured(1).isEmpty() && match.captured(1) != QLatin1String("+");
    stored = (negative ? QStringLiteral("-") : QString()) + whole;
    if (match.hasCaptured(3))
        stored += QLatin1Char('.') + match.captured(3);
    return true;
}

bool TypedInput::date(const QString& typed, QString& stored)
{
    const QString text = typed.trimmed();
    for (const char* format : {"d.M.yyyy", "yyyy-MM-dd"}) {
        const QDate date = QDate::fromString(text, QString::fromLatin1(format));
        if (date.isValid()) {
            stored = date.toString(QStringLiteral("dd.MM.yyyy"));
            return true;
        }
    }
    return false;
}
