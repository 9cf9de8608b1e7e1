#include "values/tagutils.h"

#include "values/currencyaswords.h"

#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const QString& yesText()
{
    static const QString text = QStringLiteral("Да");
    return text;
}

const QString& noText()
{
    static const QString text = QStringLiteral("Нет");
    return text;
}

QString kindSuffix(customertype_t type)
{
    switch (type) {
    case CUSTOMER_LEGAL_ENTITY:
        return QStringLiteral("_ЮЛ");
    case CUSTOMER_PERSON:
        return QStringLiteral("_ФЛ");
    case CUSTOMER_SOLE_PROPRIETOR:
        return QStringLiteral("_ИП");
    }
    return QString();
}

QByteArray& encodeTagLine(const QString& name, const QString& escapedValue, QByteArray& out)
{
    out = (name + QLatin1Char('=') + escapedValue + QLatin1Char('\n')).toUtf8();
    return out;
}

} // namespace

const QString& TagUtils::dateFormat()
{
    static const QString format = QStringLiteral("dd.MM.yyyy");
    return format;
}

tagflag_t TagUtils::flagForLetter(QChar letter)
{
    static const QString letters = QStringLiteral("!SYARLPTHM");
    const int position = letters.indexOf(letter.toUpper());
    return position < 0 ? 0 : tagflag_t(1) << position;
}

int TagUtils::parseInt(const QString& s, bool* ok)
{
    bool parsed = false;
    const int v = s.toInt(&parsed);
    if (ok)
        *ok = parsed;
    return parsed ? v : -1;
}

bool TagUtils::parseBool(const QString& s, bool* ok)
{
    const QString lower = s.toLower();
    const bool yes = lower == QLatin1String("true") || lower == QStringLiteral("да");
    const bool no = lower == QLatin1String("false") || lower == QStringLiteral("нет");
    if (ok)
        *ok = yes || no;
    return yes;
}

QDate& TagUtils::parseDate(const QString& s, bool* ok, QDate& out)
{
    out = QDate::fromString(s, dateFormat());
    if (ok)
        *ok = out.isValid();
    return out;
}

Money& TagUtils::parseMoney(const QString& s, bool* ok, Money& out)
{
    Money::fromString(out, s, Money::FMT_NATURAL, ok);
    return out;
}

Real& TagUtils::parseReal(const QString& s, bool* ok, Real& out)
{
    out.fromString(s, ok);
    return out;
}

QString& TagUtils::processInt(int v, QString& out)
{
    out = v == -1 ? QString() : QString::number(v);
    return out;
}

QString& TagUtils::processBool(bool v, QString& out)
{
    out = v ? yesText() : noText();
    return out;
}

QString& TagUtils::processDate(const QDate& d, QString& out)
{
    out = d.toString(dateFormat());
    return out;
}

QString& TagUtils::processFlagYEAR(const QDate& d, QString& out)
{
    out = d.toString(QStringLiteral("yyyy"));
    return out;
}

QString& TagUtils::processMoney(const Money& m, QString& out)
{
    return m.toString(out, Money::FMT_NATURAL);
}

QString& TagUtils::processReal(const Real& r, QString& out)
{
    return r.toString(out, true);
}

QString& TagUtils::processFlagSHORT(QString& s)
{
    if (s.size() >= 2)
        s = s.left(1) + QLatin1Char('.');
    return s;
}

QString& TagUtils::processFlagABBREVIATION(QString& s)
{
    const QStringList words = s.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString initials;
    for (const QString& word : words) {
        if (word.size() >= 4)
            initials += word.left(1).toUpper();
    }
    s = initials;
    return s;
}

QString& TagUtils::processFlagSUMM_IN_WORDS(const Money& m, QString& out)
{
    if (m.isNull()) {
        out = QString();
        return out;
    }
    CurrencyAsWords converter;
    return converter.convertKopecks(m.getCents(), out);
}

QString& TagUtils::condProcessFlagDATE(tagflag_t flags, const QDate& d, QString& out)
{
    return (flags & TAGFLAG_YEAR) ? processFlagYEAR(d, out) : processDate(d, out);
}

QString& TagUtils::condProcessFlagMONEY(tagflag_t flags, const Money& m, QString& out)
{
    if (m.isNull()) {
        out = QString();
        return out;
    }
    Money shaped = m;
    if (flags & TAGFLAG_ROUND_ANY)
        shaped.roundSmart();
    if (flags & TAGFLAG_WORDS)
        return processFlagSUMM_IN_WORDS(shaped, out);
    return shaped.toString(out, Money::FMT_NATURAL);
}

namespace {

// "&" first: escaping replaces it before the others, so the entities it writes stay
// intact, and reading replaces "&amp;" last, so "&amp;lt;" becomes "&lt;" and not "<".
const std::pair<QLatin1Char, QLatin1String> xmlEntities[] = {
    {QLatin1Char('&'), QLatin1String("&amp;")},   {QLatin1Char('<'), QLatin1String("&lt;")},
    {QLatin1Char('>'), QLatin1String("&gt;")},    {QLatin1Char('"'), QLatin1String("&quot;")},
    {QLatin1Char('\''), QLatin1String("&apos;")},
};

} // namespace

QString& TagUtils::toXmlValue(QString& s)
{
    for (const auto& [character, entity] : xmlEntities)
        s.replace(character, entity);
    return s;
}

QString& TagUtils::fromXmlValue(QString& s)
{
    for (auto entry = std::rbegin(xmlEntities); entry != std::rend(xmlEntities); ++entry)
        s.replace(entry->second, QString(entry->first));
    return s;
}

namespace {

bool isXmlCharacter(QChar c)
{
    const char16_t unit = c.unicode();
    if (unit < 0x20)
        return unit == u'\t' || unit == u'\n' || unit == u'\r';
    return unit != 0xFFFE && unit != 0xFFFF;
}

} // namespace

QString& TagUtils::dropNonXmlCharacters(QString& s)
{
    if (nonXmlCharacterCount(s) > 0)
        s.removeIf([](QChar c) { return !isXmlCharacter(c); });
    return s;
}

qsizetype TagUtils::nonXmlCharacterCount(QStringView s)
{
    return std::count_if(s.begin(), s.end(), [](QChar c) { return !isXmlCharacter(c); });
}

QByteArray& TagUtils::mkTagLine(const QString& name, QString& value, QByteArray& out)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return encodeTagLine(name, value, out);
}

QString& TagUtils::unescapeTagValue(QString& value)
{
    if (!value.contains(QLatin1Char('\\')))
        return value;
    QString decoded;
    decoded.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const QChar next = i + 1 < value.size() ? value.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') && next == QLatin1Char('n')) {
            decoded += QLatin1Char('\n');
            ++i;
        } else if (c == QLatin1Char('\\') && next == QLatin1Char('r')) {
            decoded += QLatin1Char('\r');
            ++i;
        } else if (c == QLatin1Char('\\') && next == QLatin1Char('\\')) {
            decoded += c;
            ++i;
        } else {
            decoded += c;
        }
    }
    value = decoded;
    return value;
}

QByteArray& TagUtils::mkTagLine(const QString& name, int v, QByteArray& out)
{
    QString text;
    return encodeTagLine(name, processInt(v, text), out);
}

QByteArray& TagUtils::mkTagLine(const QString& name, bool v, QByteArray& out)
{
    QString text;
    return encodeTagLine(name, processBool(v, text), out);
}

QByteArray& TagUtils::mkTagLine(const QString& name, const Real& v, QByteArray& out)
{
    QString text;
    return encodeTagLine(name, v.toString(text, false), out);
}

QByteArray& TagUtils::mkTagLine(const QString& name, const Money& v, QByteArray& out)
{
    QString text;
    return encodeTagLine(name, processMoney(v, text), out);
}

QByteArray& TagUtils::mkTagLine(const QString& name, const QDate& v, QByteArray& out)
{
    QString text;
    return encodeTagLine(name, processDate(v, text), out);
}

QString& TagUtils::appendIndex(const QString& name, int i, QString& out)
{
    out = name + QLatin1Char('_') + QString::number(i);
    return out;
}

QString& TagUtils::appendIndexIfAny(const QString& name, int i, QString& out)
{
    if (i < 0) {
        out = name;
        return out;
    }
    return appendIndex(name, i, out);
}

// The name, "_" and the decimal digits that end the tag, scanned by hand: every report
// tag passes through here several times on its way through the sections.
bool TagUtils::extractIndex(const QString& tag, int& i, QString& base)
{
    qsizetype digits = tag.size();
    while (digits > 0 && tag.at(digits - 1).isDigit())
        --digits;
    const qsizetype separator = digits - 1;
    if (digits == tag.size() || separator < 1 || tag.at(separator) != QLatin1Char('_'))
        return false;
    bool ok = false;
    const int index = QStringView(tag).mid(digits).toInt(&ok);
    if (!ok)
        return false;
    base = tag.left(separator);
    i = index;
    return true;
}

QString& TagUtils::mkRole(customertype_t type, customerrole_t role, QString& out)
{
    out.clear();
    out = kindSuffix(type);
    switch (role) {
    case ROLE_CUSTOMER:
        out.prepend(QStringLiteral("_ЗАКАЗЧИКА"));
        break;
    case ROLE_OWNER:
        out.prepend(QStringLiteral("_СОБСТВЕННИКА"));
        break;
    case ROLE_APPRAISAL_COMPANY:
        out.append(QStringLiteral("_ОЦЕН_КОМП"));
        break;
    }
    return out;
}
