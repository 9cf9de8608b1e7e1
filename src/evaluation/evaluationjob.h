#ifndef ZENTAVO_EVALUATIONJOB_H
#define ZENTAVO_EVALUATIONJOB_H

#include "evaluation/tagsection.h"

#include <QDate>
#include <QString>

// The valuation task: its purpose, the use of and restrictions on the results, the
// assumptions, the term of the work and the valuation, report and completion dates.
class ZENTAVO_EXPORT EvaluationJob : public TagSection
{
public:
    virtual QString& getPurpose(QString& purpose) = 0;
    virtual void setPurpose(const QString& purpose) = 0;
    virtual QString& getUsage(QString& usage) = 0;
    virtual void setUsage(const QString& usage) = 0;
    virtual QString& getRestrictions(QString& restrictions) = 0;
    virtual void setRestrictions(const QString& restrictions) = 0;
    virtual QString& getAssumptions(QString& assumptions) = 0;
    virtual void setAssumptions(const QString& assumptions) = 0;
    // Days from the agreement's date to the completion date; -1 when either is unknown.
    virtual int getDays() = 0;
    // "до dd.MM.yyyy" when a completion date is set, otherwise the stored term text.
    virtual QString& getTerm(QString& term) = 0;
    virtual QDate& getEvaluationDate(QDate& date) = 0;
    virtual void setEvaluationDate(const QDate& date) = 0;
    virtual QDate& getReportDate(QDate& date) = 0;
    virtual void setReportDate(const QDate& date) = 0;
    // The completion date set by the host, or else the one the term text names.
    virtual QDate& getCompletionDate(QDate& date) = 0;
    virtual void setCompletionDate(const QDate& date) = 0;
};

#endif
