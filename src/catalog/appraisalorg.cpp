#include "catalog/appraisalorg.h"

#include "catalog/catalogtable.h"
#include "catalog/sqlstorage.h"

#include <QSqlQuery>

AppraisalOrg::AppraisalOrg(int companyId)
    : Organization(ROLE_APPRAISAL_COMPANY, nullptr)
    , AppraisalDetailRows(CUSTOMER_LEGAL_ENTITY, companyId)
{
    load();
}

BankAccount* AppraisalOrg::getBankAccount()
{
    return account();
}

void AppraisalOrg::load()
{
    if (companyId == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (loadRow(fields.columns(), query))
        fields.readColumns(CatalogTable::reader(query));
}

bool AppraisalOrg::save(int company)
{
    return saveRow(fields.columnValues(), company, QStringLiteral("id_apprcomp"));
}

void AppraisalOrg::loadFromStorage(int index, EvaluationStorage& storage)
{
    fields.loadFromStorage(index, storage);
    account()->loadFromStorage(index, storage);
}
