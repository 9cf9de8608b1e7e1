#include "evaluation/evaluationjobontag.h"

#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <QIODevice>
#include <QRegularExpression>

namespace {

constexpr QRegularExpression::PatternOptions patternOptions =
    QRegularExpression::UseUnicodePropertiesOption | QRegularExpression::DotMatchesEverythingOption;

// A date written out in the term text, as in "до 15.03.2014".
const QRegularExpression& datePattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\d\\d\\.\\d\\d\\.\\d\\d\\d\\d"), patternOptions);
    return pattern;
}

// A number of days, as in "10 рабочих дней": one to three digits standing alone, so
// a year or any longer number is never taken for a day count.
const QRegularExpression& daysPattern()
{
    static const QRegularExpression pattern(QStringLiteral("(?<!\\d)(\\d{1,3})(?!\\d)"), patternOptions);
    return pattern;
}

} // namespace

const QStringList& EvaluationJobOnTag::tagNames()
{
    static const QStringList names = {
        QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"),
        QStringLiteral("ИСПОЛЬЗОВАНИЕ_РЕЗУЛЬТАТОВ_ОЦЕНКИ"),
        QStringLiteral("ОГРАНИЧЕНИЯ_РЕЗУЛЬТАТОВ_ОЦЕНКИ"),
        QStringLiteral("ДОПУЩЕНИЯ_И_ОГРАНИЧЕНИЯ"),
        QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ"),
        QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ_ДНЕЙ"),
        QStringLiteral("ДАТА_ОЦЕНКИ"),
        QStringLiteral("ДАТА_ОТЧЕТА"),
        QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"),
    };
    return names;
}

EvaluationJobOnTag::EvaluationJobOnTag(EvaluationStorage* storage)
    : storage(storage),
      purposeTag(tagNames().at(0)),
      usageTag(tagNames().at(1)),
      restrictionsTag(tagNames().at(2)),
      assumptionsTag(tagNames().at(3)),
      termTag(tagNames().at(4)),
      daysTag(tagNames().at(5)),
      evaluationDateTag(tagNames().at(6)),
      reportDateTag(tagNames().at(7)),
      completionDateTag(tagNames().at(8)),
      agreementDateTag(QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"))
{
}

void EvaluationJobOnTag::save(QIODevice& out)
{
    QByteArray line;
    QString text;
    QDate date;
    out.write(TagUtils::mkTagLine(purposeTag, getPurpose(text), line));
    out.write(TagUtils::mkTagLine(usageTag, getUsage(text), line));
    out.write(TagUtils::mkTagLine(restrictionsTag, getRestrictions(text), line));
    out.write(TagUtils::mkTagLine(assumptionsTag, getAssumptions(text), line));
    out.write(TagUtils::mkTagLine(termTag, getTerm(text), line));
    out.write(TagUtils::mkTagLine(evaluationDateTag, getEvaluationDate(date), line));
    out.write(TagUtils::mkTagLine(reportDateTag, getReportDate(date), line));
}

QString& EvaluationJobOnTag::getPurpose(QString& purpose)
{
    return storage->getTag(purposeTag, purpose);
}

void EvaluationJobOnTag::setPurpose(const QString& purpose)
{
    storage->setTag(purposeTag, purpose);
}

QString& EvaluationJobOnTag::getUsage(QString& usage)
{
    return storage->getTag(usageTag, usage);
}

void EvaluationJobOnTag::setUsage(const QString& usage)
{
    storage->setTag(usageTag, usage);
}

QString& EvaluationJobOnTag::getRestrictions(QString& restrictions)
{
    return storage->getTag(restrictionsTag, restrictions);
}

void EvaluationJobOnTag::setRestrictions(const QString& restrictions)
{
    storage->setTag(restrictionsTag, restrictions);
}

QString& EvaluationJobOnTag::getAssumptions(QString& assumptions)
{
    return storage->getTag(assumptionsTag, assumptions);
}

void EvaluationJobOnTag::setAssumptions(const QString& assumptions)
{
    storage->setTag(assumptionsTag, assumptions);
}

int EvaluationJobOnTag::getDays()
{
    QDate completion;
    QDate agreement;
    getCompletionDate(completion);
    storage->getTag(agreementDateTag, agreement);
    if (!completion.isValid() || !agreement.isValid())
        return -1;
    return static_cast<int>(agreement.daysTo(completion));
}

QString& EvaluationJobOnTag::getTerm(QString& term)
{
    QDate completion;
    if (!storage->getTag(completionDateTag, completion).isValid())
        return storage->getTag(termTag, term);
    QString date;
    term = QStringLiteral("до %1").arg(TagUtils::processDate(completion, date));
    return term;
}

QDate& EvaluationJobOnTag::getEvaluationDate(QDate& date)
{
    return storage->getTag(evaluationDateTag, date);
}

void EvaluationJobOnTag::setEvaluationDate(const QDate& date)
{
    storage->setTag(evaluationDateTag, date);
}

QDate& EvaluationJobOnTag::getReportDate(QDate& date)
{
    return storage->getTag(reportDateTag, date);
}

void EvaluationJobOnTag::setReportDate(const QDate& date)
{
    storage->setTag(reportDateTag, date);
}

QDate& EvaluationJobOnTag::getCompletionDate(QDate& date)
{
    if (storage->getTag(completionDateTag, date).isValid())
        return date;
    return completionDateFromTerm(date);
}

void EvaluationJobOnTag::setCompletionDate(const QDate& date)
{
    storage->setTag(completionDateTag, date);
}

// A written-out date wins over a day count, even when it is not a real date:
// "до 31.02.2014" names no completion date rather than 31 days.
QDate& EvaluationJobOnTag::completionDateFromTerm(QDate& date)
{
    date = QDate();
    QString term;
    storage->getTag(termTag, term);
    const QRegularExpressionMatch dateMatch = datePattern().match(term);
    if (dateMatch.hasMatch()) {
        bool ok = false;
        return TagUtils::parseDate(dateMatch.captured(), &ok, date);
    }
    const QRegularExpressionMatch daysMatch = daysPattern().match(term);
    if (!daysMatch.hasMatch())
        return date;
    bool ok = false;
    const int days = daysMatch.captured(1).toInt(&ok);
    QDate agreement;
    if (ok && storage->getTag(agreementDateTag, agreement).isValid())
        date = agreement.addDays(days);
    return date;
}

bool EvaluationJobOnTag::isDateTag(const QString& name) const
{
    return name == evaluationDateTag || name == reportDateTag || name == completionDateTag;
}

QDate& EvaluationJobOnTag::getDateTag(const QString& name, QDate& date)
{
    if (name == evaluationDateTag)
        return getEvaluationDate(date);
    if (name == reportDateTag)
        return getReportDate(date);
    return getCompletionDate(date);
}

bool EvaluationJobOnTag::getTag(const QString& name, QString& value, long flags)
{
    if (name == purposeTag) {
        getPurpose(value);
    } else if (name == usageTag) {
        getUsage(value);
    } else if (name == restrictionsTag) {
        getRestrictions(value);
    } else if (name == assumptionsTag) {
        getAssumptions(value);
    } else if (name == termTag) {
        getTerm(value);
    } else if (isDateTag(name)) {
        QDate date;
        TagUtils::condProcessFlagDATE(flags, getDateTag(name, date), value);
    } else if (name == daysTag) {
        TagUtils::processInt(getDays(), value);
    } else {
        return false;
    }
    return true;
}
