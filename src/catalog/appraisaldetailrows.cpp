#include "catalog/appraisaldetailrows.h"

#include "catalog/catalogtable.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"

#include <QSqlQuery>

namespace {

constexpr QLatin1String companyKey("id_apprcomp");
constexpr QLatin1String accountKey("id_ba");

} // namespace

AppraisalDetailRows::Tables AppraisalDetailRows::tablesOf(customertype_t kind)
{
    if (kind == CUSTOMER_LEGAL_ENTITY)
        return {QLatin1String("org"), QLatin1String("id_org"), QLatin1String("bankaccount2org"),
                QLatin1String("bankaccount2bman")};
    return {QLatin1String("businessman"), QLatin1String("id_bman"), QLatin1String("bankaccount2bman"),
            QLatin1String("bankaccount2org")};
}

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

bool AppraisalDetailRows::loadRow(const QStringList& columns, QSqlQuery& query)
{
    const Tables tables = tablesOf(type);
    const QString source = QStringLiteral("%1 left outer join %2 using (%3)").arg(tables.table, tables.link, tables.key);
    if (!CatalogTable::select(query, QStringList{tables.key} + columns + QStringList{accountKey}, source,
                              {{companyKey, companyId}}, QStringLiteral("order by id_ba"))
        || !query.next())
        return false;
    setRow(companyId, query.value(tables.key).toInt(), CatalogTable::idOf(query.value(accountKey)));
    return true;
}

bool AppraisalDetailRows::saveRow(QVariantMap row, int company, const QString& updateKey)
{
    if (isStored() && companyId != company) {
        LOG_WARNING() << "details of company" << companyId << "saved under company" << company;
        ZENTAVO_THROW();
    }
    const Tables tables = tablesOf(type);
    row.insert(companyKey, company);
    if (isStored()) {
        if (updateKey == tables.key)
            row.insert(updateKey, rowId);
        if (!CatalogTable::update(tables.table, row, updateKey))
            return false;
    } else {
        int inserted = -1;
        if (!CatalogTable::insert(tables.table, row, &inserted))
            return false;
        setRow(company, inserted, accountRowId);
    }
    return saveAccount();
}

void AppraisalDetailRows::setRow(int company, int row, int accountRow)
{
    companyId = company;
    rowId = row;
    accountRowId = accountRow;
}

bool AppraisalDetailRows::saveAccount()
{
    if (!bankAccount)
        return true;
    const bool wasNew = bankAccount->isNew();
    if (!bankAccount->save())
        return false;
    accountRowId = bankAccount->getId();
    if (!wasNew)
        return true;
    const Tables tables = tablesOf(type);
    return CatalogTable::insert(tables.link, {{tables.key, rowId}, {accountKey, accountRowId}});
}
