#include "evaluation/evaluationjobontag.h"

#include "evaluation/agreementontag.h"
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

const TagTable::Fields& EvaluationJobOnTag::fields()
{
    using Kind = TagTable::Kind;
    using Mode = TagTable::Mode;
    static const TagTable::Fields described = {
        {QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), Kind::Text},
        {QStringLiteral("ИСПОЛЬЗОВАНИЕ_РЕЗУЛЬТАТОВ_ОЦЕНКИ"), Kind::Text},
        {QStringLiteral("ОГРАНИЧЕНИЯ_РЕЗУЛЬТАТОВ_ОЦЕНКИ"), Kind::Text},
        {QStringLiteral("ДОПУЩЕНИЯ_И_ОГРАНИЧЕНИЯ"), Kind::Text},
        {QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ"), Kind::Text, Mode::Computed},
        {QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ_ДНЕЙ"), Kind::Int, Mode::ReportOnly},
        {QStringLiteral("ДАТА_ОЦЕНКИ"), Kind::Date},
        {QStringLiteral("ДАТА_ОТЧЕТА"), Kind::Date},
        {QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"), Kind::Date, Mode::ReportOnly},
    };
    return described;
}

EvaluationJobOnTag::EvaluationJobOnTag(EvaluationStorage* storage)
    : storage(storage), tags(storage, fields(), [this](int field) { return computed(field); })
{
}

const QStringList& EvaluationJobOnTag::tagNames()
{
    static const QStringList names = TagTable::reportedNames(fields());
    return names;
}

TagTable::Value EvaluationJobOnTag::computed(int field)
{
    QString term;
    QDate date;
    switch (field) {
    case Term:
        return getTerm(term);
    case Days:
        return getDays();
    default:
        return getCompletionDate(date);
    }
}

int EvaluationJobOnTag::getDays()
{
    QDate completion;
    QDate agreement;
    getCompletionDate(completion);
    agreementDate(agreement);
    if (!completion.isValid() || !agreement.isValid())
        return -1;
    return static_cast<int>(agreement.daysTo(completion));
}

QString& EvaluationJobOnTag::getTerm(QString& term)
{
    QDate completion;
    if (!tags.get(CompletionDate, completion).isValid())
        return tags.get(Term, term);
    QString date;
    term = QStringLiteral("до %1").arg(TagUtils::processDate(completion, date));
    return term;
}

QDate& EvaluationJobOnTag::getCompletionDate(QDate& date)
{
    if (tags.get(CompletionDate, date).isValid())
        return date;
    return completionDateFromTerm(date);
}

// A written-out date wins over a day count, even when it is not a real date:
// "до 31.02.2014" names no completion date rather than 31 days.
QDate& EvaluationJobOnTag::completionDateFromTerm(QDate& date)
{
    date = QDate();
    QString term;
    tags.get(Term, term);
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
    if (ok && agreementDate(agreement).isValid())
        date = agreement.addDays(days);
    return date;
}

QDate& EvaluationJobOnTag::agreementDate(QDate& date) const
{
    return storage->getTag(AgreementOnTag::dateTagName(), date);
}
