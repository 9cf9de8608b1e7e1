#include "catalog/appraisalbusinessman.h"

#include "catalog/catalogtable.h"
#include "catalog/sqlstorage.h"

#include <QSqlQuery>

AppraisalBusinessman::AppraisalBusinessman(int companyId)
    : Businessman(ROLE_APPRAISAL_COMPANY, nullptr)
    , AppraisalDetailRows(CUSTOMER_SOLE_PROPRIETOR, companyId)
{
    load();
}

AppraisalBusinessman::~AppraisalBusinessman() = default;

IdentDocument* AppraisalBusinessman::getIdentDocument()
{
    return getAppraisalIdentDocument();
}

AppraisalBmanIdentDocument* AppraisalBusinessman::getAppraisalIdentDocument()
{
    if (!document) {
        document = std::make_unique<AppraisalBmanIdentDocument>();
        document->load(rowId);
    }
    return document.get();
}

BankAccount* AppraisalBusinessman::getBankAccount()
{
    return account();
}

// The identity document is read from the same row when it is first asked for.
void AppraisalBusinessman::load()
{
    if (companyId == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!loadRow(fields.columns() + details.columns(), query)) {
        setRow(companyId, -1, -1);
        return;
    }
    fields.readColumns(CatalogTable::reader(query));
    details.readColumns(CatalogTable::reader(query));
}

bool AppraisalBusinessman::save(int company)
{
    QVariantMap row = fields.columnValues();
    row.insert(details.columnValues());
    row.insert(getAppraisalIdentDocument()->columnValues());
    return saveRow(row, company, QStringLiteral("id_bman"));
}

void AppraisalBusinessman::loadFromStorage(int index, EvaluationStorage& storage)
{
    fields.loadFromStorage(index, storage);
    details.loadFromStorage(index, storage);
    getAppraisalIdentDocument()->loadFromStorage(index, storage);
    account()->loadFromStorage(index, storage);
}
