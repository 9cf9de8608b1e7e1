#ifndef ZENTAVO_EVALUATIONJOBONTAG_H
#define ZENTAVO_EVALUATIONJOBONTAG_H

#include "evaluation/evaluationjob.h"
#include "evaluation/tagtable.h"

// The valuation task kept in the evaluation's tags; it holds no values of its own.
// The completion date is never written to the file by itself: it travels inside the
// term text ("до 15.03.2014") and is read back from there.
class ZENTAVO_EXPORT EvaluationJobOnTag : public EvaluationJob
{
public:
    explicit EvaluationJobOnTag(EvaluationStorage* storage);

    void save(QIODevice& out) override { tags.save(out); }
    QString& getPurpose(QString& purpose) override { return tags.get(Purpose, purpose); }
    void setPurpose(const QString& purpose) override { tags.set(Purpose, purpose); }
    QString& getUsage(QString& usage) override { return tags.get(Usage, usage); }
    void setUsage(const QString& usage) override { tags.set(Usage, usage); }
    QString& getRestrictions(QString& restrictions) override { return tags.get(Restrictions, restrictions); }
    void setRestrictions(const QString& restrictions) override { tags.set(Restrictions, restrictions); }
    QString& getAssumptions(QString& assumptions) override { return tags.get(Assumptions, assumptions); }
    void setAssumptions(const QString& assumptions) override { tags.set(Assumptions, assumptions); }
    int getDays() override;
    QString& getTerm(QString& term) override;
    QDate& getEvaluationDate(QDate& date) override { return tags.get(EvaluationDate, date); }
    void setEvaluationDate(const QDate& date) override { tags.set(EvaluationDate, date); }
    QDate& getReportDate(QDate& date) override { return tags.get(ReportDate, date); }
    void setReportDate(const QDate& date) override { tags.set(ReportDate, date); }
    QDate& getCompletionDate(QDate& date) override;
    void setCompletionDate(const QDate& date) override { tags.set(CompletionDate, date); }

    bool getTag(const QString& name, QString& value, long flags) override { return tags.getTag(name, value, flags); }
    // The report tags it answers.
    static const QStringList& tagNames();

private:
    enum Field : int { Purpose, Usage, Restrictions, Assumptions, Term, Days, EvaluationDate, ReportDate, CompletionDate };
    static const TagTable::Fields& fields();

    TagTable::Value computed(int field);
    QDate& completionDateFromTerm(QDate& date);
    QDate& agreementDate(QDate& date) const;

    EvaluationStorage* storage;
    TagTable tags;
};

#endif
