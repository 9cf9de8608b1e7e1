#include "catalog/appraisalbmanidentdocument.h"

#include "catalog/catalogtable.h"
#include "catalog/sqlstorage.h"

#include <QSqlQuery>

AppraisalBmanIdentDocument::AppraisalBmanIdentDocument()
    : IdentDocument(CUSTOMER_SOLE_PROPRIETOR, ROLE_APPRAISAL_COMPANY, nullptr)
{
}

void AppraisalBmanIdentDocument::load(int businessmanRow)
{
    if (businessmanRow == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (CatalogTable::select(query, fields.columns(), QStringLiteral("businessman"),
                             {{QStringLiteral("id_bman"), businessmanRow}})
        && query.next())
        fields.readColumns(CatalogTable::reader(query));
}

QVariantMap AppraisalBmanIdentDocument::columnValues() const
{
    return fields.columnValues();
}

void AppraisalBmanIdentDocument::loadFromStorage(int index, EvaluationStorage& storage)
{
    fields.loadFromStorage(index, storage);
}
