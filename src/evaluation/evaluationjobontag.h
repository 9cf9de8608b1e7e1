#ifndef ZENTAVO_EVALUATIONJOBONTAG_H
#define ZENTAVO_EVALUATIONJOBONTAG_H

#include "evaluation/evaluationjob.h"

#include <QStringList>

class EvaluationStorage;

// The valuation task kept in the evaluation's tags; it holds no values of its own.
// The completion date is never written to the file by itself: it travels inside the
// term text ("до 15.03.2014") and is read back from there.
class ZENTAVO_EXPORT EvaluationJobOnTag : public EvaluationJob
{
public:
    explicit EvaluationJobOnTag(EvaluationStorage* storage);

    void save(QIODevice& out) override;
    QString& getPurpose(QString& purpose) override;
    void setPurpose(const QString& purpose) override;
    QString& getUsage(QString& usage) override;
    void setUsage(const QString& usage) override;
    QString& getRestrictions(QString& restrictions) override;
    void setRestrictions(const QString& restrictions) override;
    QString& getAssumptions(QString& assumptions) override;
    void setAssumptions(const QString& assumptions) override;
    int getDays() override;
    QString& getTerm(QString& term) override;
    QDate& getEvaluationDate(QDate& date) override;
    void setEvaluationDate(const QDate& date) override;
    QDate& getReportDate(QDate& date) override;
    void setReportDate(const QDate& date) override;
    QDate& getCompletionDate(QDate& date) override;
    void setCompletionDate(const QDate& date) override;

    bool getTag(const QString& name, QString& value, long flags) override;
    // The report tags it answers.
    static const QStringList& tagNames();

private:
    QDate& completionDateFromTerm(QDate& date);
    bool isDateTag(const QString& name) const;
    QDate& getDateTag(const QString& name, QDate& date);

    EvaluationStorage* storage;
    const QString purposeTag;
    const QString usageTag;
    const QString restrictionsTag;
    const QString assumptionsTag;
    const QString termTag;
    const QString daysTag;
    const QString evaluationDateTag;
    const QString reportDateTag;
    const QString completionDateTag;
    const QString agreementDateTag;
};

#endif
