#ifndef ZENTAVO_APPRAISALBMANIDENTDOCUMENT_H
#define ZENTAVO_APPRAISALBMANIDENTDOCUMENT_H

#include "evaluation/identdocument.h"

class EvaluationStorage;
class QSqlQuery;

// The identity document of an appraisal company's proprietor, kept in memory; in the
// catalog it lives in the proprietor's own "businessman" row.
class ZENTAVO_EXPORT AppraisalBmanIdentDocument : public IdentDocument
{
public:
    AppraisalBmanIdentDocument();

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;
    QDate& getDate(QDate& date) override;
    void setDate(const QDate& date) override;

    // Reads the document columns of the proprietor's row; nothing for -1 or no row.
    void load(int businessmanRow);
    // Binds kind, number, series, date and issuing body, in the column order of the row.
    void bindValues(QSqlQuery& query) const;
    void loadFromStorage(int index, EvaluationStorage& storage);

private:
    QString texts[FieldCount];
    QDate date;
};

#endif
