#ifndef ZENTAVO_HARMONIZATION_H
#define ZENTAVO_HARMONIZATION_H

#include "zentavo_export.h"

#include "model/evaluationapproach.h"
#include "values/real.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class AutoEvaluation;
class Criterion;
class EvaluationStorage;
class QIODevice;

// The reconciliation of the approaches into one agreed value. Every criterion of the
// criteria table scores each approach; an approach weighs its share of all scores,
// and the agreed value is the weighted sum of the approach costs in whole rubles.
// Also keeps the text of the assumptions made in the valuation, which reports take
// whole or paragraph by paragraph. Owned by the evaluation's storage; the facade
// attaches itself before the first use.
class ZENTAVO_EXPORT Harmonization
{
public:
    // For an evaluation that was read from a file (or written to one) the criteria are
    // those of its tags, so a save keeps them whether or not anything asked for them.
    // A new evaluation starts without criteria; the facade gives it the defaults unless
    // they were read from its tags before.
    explicit Harmonization(EvaluationStorage& storage);
    ~Harmonization();
    Q_DISABLE_COPY(Harmonization)

    void setAutoEvaluation(AutoEvaluation& evaluation);
    bool isAutoEvaluation() const { return evaluation != nullptr; }
    // Whether the criteria were read from the evaluation's tags or given the defaults.
    bool isFilled() const { return filled; }
    // Throws AutoEvalException while no evaluation is attached.
    AutoEvaluation* AE() const;

    int countCriterion() const { return int(criteria.size()); }
    bool isCriterion(int i) const { return i >= 0 && i < criteria.size(); }
    // Throws AutoEvalException outside 0 to count - 1.
    Criterion* getCriterion(int i) const;
    // Inserts an empty criterion before position i; i equal to the count appends.
    Criterion* addCriterion(int i);
    // Throws AutoEvalException outside 0 to count - 1.
    void delCriterion(int i);
    void clearCriterion();

    // The default criteria with their scores for the approaches the evaluation has.
    void initCriterion();
    // Reads the criteria rows from the tags just loaded, up to the first missing row.
    void load();
    bool save(QIODevice& out);

    QString& getAssumptions(QString& out) const;
    void setAssumptions(const QString& text);
    // Paragraph n (from 0) of the assumptions; paragraphs are parted by a blank line.
    // Null for a negative n, empty beyond the last paragraph.
    QString& getAssumptionParagraph(QString& out, int n) const;

    bool isApproach(evaluationapproach_t approach) const;
    QString& getApproachName(evaluationapproach_t approach, QString& out) const;
    Money& getApproachCost(evaluationapproach_t approach, Money& out) const;
    // The approach's share of all scores in percent, shown to one decimal; null when
    // there are no scores at all.
    Real& getApproachWeight(evaluationapproach_t approach, Real& out) const;
    // The reconciled value, rounded to whole rubles.
    Money& getCost(Money& out) const;

    // true when the name is a reconciliation tag.
    bool getTag(const QString& name, QString& out, long flags) const;
    bool getCriterionTableTag(const QString& name, QString& out, long flags) const;

    static const QString& costTag();
    static const QString& assumptionsTag();
    // The approach weight tags and the approach each names.
    static const QMap<QString, evaluationapproach_t>& weightTags();

private:
    bool getIndexedTag(const QString& name, QString& out, long flags) const;
    bool getCriterionTableTag(const QString& base, int row, QString& out, long flags) const;
    QList<evaluationapproach_t> registeredApproaches() const;

    EvaluationStorage& storage;
    AutoEvaluation* evaluation = nullptr;
    QList<Criterion*> criteria;
    bool filled = false;
};

#endif
