#include "catalog/appraisaldetailrows.h"

#include "catalog/sqlstorage.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"

#include <QSqlQuery>

AppraisalDetailRows::AppraisalDetailRows(customertype_t type, int companyId)
    : companyId(companyId)
    , type(type)
{
}

AppraisalDetailRows::~AppraisalDetailRows() = default;

AppraisalDetailRows::Ids AppraisalDetailRows::getIds() const
{
    return {companyId, rowId, accountRowId, bankAccount ? bankAccount->getId() : -1};
}

void AppraisalDetailRows::restoreIds(const Ids& ids)
{
    companyId = ids.company;
    rowId = ids.row;
    accountRowId = ids.accountRow;
    if (bankAccount)
        bankAccount->setId(ids.account);
}

void AppraisalDetailRows::forgetRows()
{
    restoreIds({companyId, -1, -1, -1});
}

AppraisalBankAccount* AppraisalDetailRows::account()
{
    if (!bankAccount) {
        bankAccount = std::make_unique<AppraisalBankAccount>(type, accountRowId);
        bankAccount->load();
    }
    return bankAccount.get();
}

void AppraisalDetailRows::checkOwner(int company) const
{
    if (isStored() && companyId != company) {
        LOG_WARNING() << "details of company" << companyId << "saved under company" << company;
        ZENTAVO_THROW();
    }
}

void AppraisalDetailRows::setRow(int company, int row, int accountRow)
{
    companyId = company;
    rowId = row;
    accountRowId = accountRow;
}

bool AppraisalDetailRows::saveAccount(const QString& linkStatement)
{
    if (!bankAccount)
        return true;
    const bool wasNew = bankAccount->isNew();
    if (!bankAccount->save())
        return false;
    accountRowId = bankAccount->getId();
    if (!wasNew)
        return true;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(linkStatement);
    query.addBindValue(rowId);
    query.addBindValue(accountRowId);
    return SQLStorage::exec(query);
}
