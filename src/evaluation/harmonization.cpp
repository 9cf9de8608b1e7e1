#include "evaluation/harmonization.h"

#include "catalog/approachcatalog.h"
#include "catalog/defaultcriterioncatalog.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/criterion.h"
#include "model/evaluationstorage.h"
#include "runtime/autoevalexception.h"
#include "values/tagutils.h"

#include <QIODevice>
#include <QRegularExpression>

Harmonization::Harmonization(EvaluationStorage& storage) : storage(storage)
{
    if (!storage.isNewDocument())
        load();
}

Harmonization::~Harmonization()
{
    clearCriterion();
}

const QString& Harmonization::costTag()
{
    static const QString name = QStringLiteral("СОГЛАСОВАННАЯ_СТОИМОСТЬ");
    return name;
}

const QString& Harmonization::assumptionsTag()
{
    static const QString name = QStringLiteral("ДОПУЩЕНИЯ_ПРИ_ОЦЕНКЕ");
    return name;
}

const QMap<QString, evaluationapproach_t>& Harmonization::weightTags()
{
    static const QMap<QString, evaluationapproach_t> tags = {
        {QStringLiteral("ВЕС_ЗАТРАТНОГО_ПОДХОДА"), APPROACH_COST},
        {QStringLiteral("ВЕС_СРАВНИТЕЛЬНОГО_ПОДХОДА"), APPROACH_COMPARATIVE},
    };
    return tags;
}

void Harmonization::setAutoEvaluation(AutoEvaluation& attached)
{
    evaluation = &attached;
}

AutoEvaluation* Harmonization::AE() const
{
    if (!evaluation)
        ZENTAVO_THROW();
    return evaluation;
}

Criterion* Harmonization::getCriterion(int i) const
{
    if (!isCriterion(i))
        ZENTAVO_THROW();
    return criteria.at(i);
}

Criterion* Harmonization::addCriterion(int i)
{
    auto* criterion = new Criterion(storage);
    criteria.insert(qBound(0, i, countCriterion()), criterion);
    return criterion;
}

void Harmonization::delCriterion(int i)
{
    delete getCriterion(i);
    criteria.removeAt(i);
}

void Harmonization::clearCriterion()
{
    qDeleteAll(criteria);
    criteria.clear();
}

QList<evaluationapproach_t> Harmonization::registeredApproaches() const
{
    QList<evaluationapproach_t> registered;
    for (const evaluationapproach_t approach : ApproachCatalog::getInstance()->getApproaches()) {
        if (isApproach(approach))
            registered.append(approach);
    }
    return registered;
}

void Harmonization::initCriterion()
{
    clearCriterion();
    filled = true;
    const DefaultCriterionCatalog* defaults = DefaultCriterionCatalog::getInstance();
    const QList<evaluationapproach_t> approaches = registeredApproaches();
    for (int i = 0; i < defaults->count(); ++i) {
        Criterion* criterion = addCriterion(i);
        QString name;
        criterion->setName(defaults->getName(i, name));
        for (const evaluationapproach_t approach : approaches)
            criterion->setWeight(approach, defaults->getWeight(i, approach));
    }
}

void Harmonization::load()
{
    clearCriterion();
    filled = true;
    for (int row = 0;; ++row) {
        if (!addCriterion(row)->loadFromStorage(row)) {
            delCriterion(row);
            return;
        }
    }
}

bool Harmonization::save(QIODevice& out)
{
    QByteArray line;
    QString assumptions;
    out.write(TagUtils::mkTagLine(assumptionsTag(), getAssumptions(assumptions), line));
    for (int row = 0; row < countCriterion(); ++row)
        criteria.at(row)->save(out, row);
    return true;
}

QString& Harmonization::getAssumptions(QString& out) const
{
    return storage.getTag(assumptionsTag(), out);
}

void Harmonization::setAssumptions(const QString& text)
{
    storage.setTag(assumptionsTag(), text);
}

QString& Harmonization::getAssumptionParagraph(QString& out, int n) const
{
    // At least one blank line, also one that holds only blanks, parts two paragraphs.
    static const QRegularExpression blankLine(QStringLiteral("\n[\\s\n]*\n"),
                                              QRegularExpression::UseUnicodePropertiesOption
                                                  | QRegularExpression::DotMatchesEverythingOption);
    if (n < 0) {
        out = QString();
        return out;
    }
    QString text;
    out = getAssumptions(text).trimmed().section(blankLine, n, n, QString::SectionSkipEmpty);
    if (out.isNull())
        out = QLatin1String("");
    return out;
}

bool Harmonization::isApproach(evaluationapproach_t approach) const
{
    return AE()->isApproach(approach);
}

QString& Harmonization::getApproachName(evaluationapproach_t approach, QString& out) const
{
    out = QString();
    if (isApproach(approach))
        AE()->getApproach(approach)->getName(out);
    return out;
}

Money& Harmonization::getApproachCost(evaluationapproach_t approach, Money& out) const
{
    out.letNull();
    if (isApproach(approach))
        AE()->getApproach(approach)->getCost(out);
    return out;
}

Real& Harmonization::getApproachWeight(evaluationapproach_t approach, Real& out) const
{
    int total = 0;
    int own = 0;
    for (const evaluationapproach_t scored : registeredApproaches()) {
        for (const Criterion* criterion : criteria) {
            const int score = qMax(criterion->getWeight(scored), 0);
            total += score;
            if (scored == approach)
                own += score;
        }
    }
    if (total == 0)
        out.letNull();
    else
        out = 100.0 * double(own) / double(total);
    out.precision(1);
    return out;
}

Money& Harmonization::getCost(Money& out) const
{
    out = Money(0, 0);
    for (const evaluationapproach_t approach : registeredApproaches()) {
        Real weight;
        Money cost;
        out += getApproachCost(approach, cost) * (getApproachWeight(approach, weight) / Real(100.0));
    }
    out.truncateCentsPart();
    return out;
}

bool Harmonization::getTag(const QString& name, QString& out, long flags) const
{
    if (name == costTag()) {
        Money cost;
        TagUtils::condProcessFlagMONEY(flags, getCost(cost), out);
        return true;
    }
    if (name == assumptionsTag()) {
        getAssumptions(out);
        return true;
    }
    const auto weightTag = weightTags().constFind(name);
    if (weightTag != weightTags().cend()) {
        Real weight;
        TagUtils::processReal(getApproachWeight(*weightTag, weight), out);
        return true;
    }
    return getIndexedTag(name, out, flags);
}

bool Harmonization::getIndexedTag(const QString& name, QString& out, long flags) const
{
    int index = 0;
    QString base;
    if (!TagUtils::extractIndex(name, index, base))
        return false;
    if (getCriterionTableTag(base, index, out, flags))
        return true;
    if (base != assumptionsTag())
        return false;
    getAssumptionParagraph(out, index);
    return true;
}

bool Harmonization::getCriterionTableTag(const QString& name, QString& out, long flags) const
{
    int row = 0;
    QString base;
    return TagUtils::extractIndex(name, row, base) && getCriterionTableTag(base, row, out, flags);
}

bool Harmonization::getCriterionTableTag(const QString& base, int row, QString& out, long flags) const
{
    return isCriterion(row) && criteria.at(row)->getTag(base, out, flags);
}
