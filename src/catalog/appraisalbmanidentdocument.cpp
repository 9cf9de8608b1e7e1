#include "catalog/appraisalbmanidentdocument.h"

#include "catalog/sqlstorage.h"
#include "evaluation/evaluationstorage.h"

#include <QSqlQuery>
#include <QVariant>

AppraisalBmanIdentDocument::AppraisalBmanIdentDocument()
    : IdentDocument(CUSTOMER_SOLE_PROPRIETOR, ROLE_APPRAISAL_COMPANY)
{
}

QString& AppraisalBmanIdentDocument::getText(field_t field, QString& value)
{
    value = texts[field];
    return value;
}

void AppraisalBmanIdentDocument::setText(field_t field, const QString& value)
{
    texts[field] = value;
}

QDate& AppraisalBmanIdentDocument::getDate(QDate& issued)
{
    issued = date;
    return issued;
}

void AppraisalBmanIdentDocument::setDate(const QDate& issued)
{
    date = issued;
}

void AppraisalBmanIdentDocument::load(int businessmanRow)
{
    if (businessmanRow == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral(
        "select o.idoctype, o.idocnumber, o.idocserial, o.idocdate, o.idocorg from businessman o where id_bman=?"));
    query.addBindValue(businessmanRow);
    if (!SQLStorage::exec(query) || !query.next())
        return;
    texts[KIND] = query.value(0).toString();
    texts[NUMBER] = query.value(1).toString();
    texts[SERIES] = query.value(2).toString();
    date = query.value(3).toDate();
    texts[ISSUED_BY] = query.value(4).toString();
}

void AppraisalBmanIdentDocument::bindValues(QSqlQuery& query) const
{
    query.addBindValue(texts[KIND]);
    query.addBindValue(texts[NUMBER]);
    query.addBindValue(texts[SERIES]);
    query.addBindValue(date);
    query.addBindValue(texts[ISSUED_BY]);
}

void AppraisalBmanIdentDocument::loadFromStorage(int index, EvaluationStorage& storage)
{
    QString name;
    for (int i = 0; i < FieldCount; ++i)
        storage.getTag(TagUtils::appendIndex(tagName(field_t(i)), index, name), texts[i]);
    storage.getTag(TagUtils::appendIndex(dateTagName(), index, name), date);
}
