#include "hostapproach.h"

#include "toolconsole.h"
#include "typedinput.h"

#include "evaluation/evaluationtagstorage.h"
#include "values/real.h"
#include "values/tagutils.h"

#include <quazip/quazipfile.h>

#include <cmath>
#include <limits>

HostApproach::HostApproach(EvaluationTagStorage& storage, QString name, QString key)
    : storage(storage), name(std::move(name)), key(std::move(key))
{
}

bool HostApproach::getTag(const QString& tag, QString& value, tagflag_t flags)
{
    if (computedTag(tag, value, flags))
        return true;
    if (!tag.startsWith(key + QLatin1Char('_')) || !storedTags().contains(tag))
        return false;
    value = text(tag);
    switch (kindOf(tag)) {
    case Kind::Amount:
        if (!money(tag).isNull())
            answerMoney(money(tag), value, flags);
        break;
    case Kind::Percent:
        if (!std::isnan(percent(tag))) {
            QString number;
            TypedInput::number(value, number);
            const qsizetype point = number.indexOf(QLatin1Char('.'));
            Real share(percent(tag));
            share.precision(static_cast<unsigned short>(point < 0 ? 0 : qMin<qsizetype>(number.size() - point - 1, 5)));
            TagUtils::processReal(share, value);
        }
        break;
    case Kind::None:
        break;
    }
    return true;
}

HostApproach::Input HostApproach::takeInput(const QString& tag, const QString& typed, QString& stored,
                                            QString& why) const
{
    const Kind kind = kindOf(tag);
    if (kind == Kind::None)
        return Input::NotMine;
    if (typed.trimmed().isEmpty()) {
        stored = QString(QLatin1String(""));
        return Input::Taken;
    }
    QString range;
    if (!TypedInput::number(typed, stored)) {
        why = kind == Kind::Amount ? ToolConsole::tr("not an amount of rubles") : ToolConsole::tr("not a percentage");
        return Input::Refused;
    }
    if (kind == Kind::Percent && !allows(tag, stored.toDouble(), range)) {
        why = ToolConsole::tr("a percentage %1 is needed").arg(range);
        return Input::Refused;
    }
    Money amount;
    bool ok = false;
    const qsizetype point = stored.indexOf(QLatin1Char('.'));
    if (kind == Kind::Amount
        && ((point >= 0 && stored.size() - point - 1 > 2) || TagUtils::parseMoney(stored, &ok, amount).isNull())) {
        why = ToolConsole::tr("not an amount of rubles with at most two decimals");
        return Input::Refused;
    }
    return Input::Taken;
}

void HostApproach::save(QuaZipFile& file)
{
    QByteArray line;
    for (const QString& tag : storedTags()) {
        QString value = text(tag);
        file.write(TagUtils::mkTagLine(tag, value, line));
    }
}

QString& HostApproach::getName(QString& out)
{
    out = name;
    return out;
}

QString& HostApproach::getTagKey(QString& out)
{
    out = key;
    return out;
}

Money& HostApproach::getAnalogFullCost(Money& cost)
{
    cost = Money();
    return cost;
}

QPixmap& HostApproach::getImage(int, QPixmap& image)
{
    image = QPixmap();
    return image;
}

QString HostApproach::text(const QString& tag) const
{
    QString value;
    return storage.getTag(tag, value);
}

// Inputs typed before the tool took numbers as people type them may hold "27,5" or
// "1 090 000": they are read the same way.
Money HostApproach::money(const QString& tag) const
{
    QString number;
    Money amount;
    bool ok = false;
    if (TypedInput::number(text(tag), number))
        TagUtils::parseMoney(number, &ok, amount);
    return amount;
}

double HostApproach::percent(const QString& tag) const
{
    const QString typed = text(tag);
    if (typed.trimmed().isEmpty())
        return 0.0;
    QString number;
    return TypedInput::number(typed, number) ? number.toDouble() : std::numeric_limits<double>::quiet_NaN();
}

Money HostApproach::wholeRubles(double rubles)
{
    Money amount;
    if (std::isnan(rubles))
        return amount;
    amount.let(static_cast<long long>(std::llround(rubles)) * 100);
    return amount;
}

QString& HostApproach::answerMoney(const Money& amount, QString& value, tagflag_t flags)
{
    return TagUtils::condProcessFlagMONEY(flags, amount, value);
}
