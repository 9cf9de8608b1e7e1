#include "catalog/appraisalbankaccount.h"

#include "catalog/bankcatalog.h"
#include "catalog/catalogtable.h"
#include "catalog/sqlstorage.h"
#include "runtime/logger.h"

#include <QSqlQuery>

namespace {

constexpr QLatin1String table("bankaccount");
constexpr QLatin1String key("id_ba");

} // namespace

AppraisalBankAccount::AppraisalBankAccount(customertype_t type, int id)
    : BankAccount(type, ROLE_APPRAISAL_COMPANY, nullptr)
    , id(id)
{
}

// A BIC is set as setBic sets it, whichever setter a form uses.
void AppraisalBankAccount::setText(int field, const QString& value)
{
    if (field == BIC)
        setBic(value);
    else
        PartyPart::setText(field, value);
}

void AppraisalBankAccount::setBic(const QString& bic)
{
    QString bankName;
    QString correspondentAccount;
    if (!BankCatalog::getInstance()->findBank(bic, bankName, correspondentAccount)) {
        bankName.clear();
        correspondentAccount.clear();
    }
    fields.setText(BIC, bic);
    fields.setText(BANK_NAME, bankName);
    fields.setText(CORRESPONDENT_ACCOUNT, correspondentAccount);
}

void AppraisalBankAccount::load()
{
    if (isNew())
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!CatalogTable::select(query, fields.columns(), table, {{key, id}}) || !query.next()) {
        LOG_WARNING() << "the bank account cannot be read, it is shown empty; id_ba=" << id;
        unread = true;
        return;
    }
    fields.readColumns(CatalogTable::reader(query));
}

bool AppraisalBankAccount::save()
{
    if (unread) {
        LOG_WARNING() << "the bank account was not read, so it is not saved over; id_ba=" << id;
        return false;
    }
    QVariantMap row = fields.columnValues();
    if (isNew())
        return CatalogTable::insert(table, row, &id);
    row.insert(key, id);
    return CatalogTable::update(table, row, key);
}

void AppraisalBankAccount::loadFromStorage(int index, EvaluationStorage& storage)
{
    fields.loadFromStorage(index, storage);
}
