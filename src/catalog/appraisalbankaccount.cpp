#include "catalog/appraisalbankaccount.h"

#include "catalog/bankcatalog.h"
#include "catalog/sqlstorage.h"
#include "catalog/sqltransaction.h"
#include "evaluation/evaluationstorage.h"
#include "runtime/logger.h"

#include <QSqlQuery>
#include <QVariant>

AppraisalBankAccount::AppraisalBankAccount(customertype_t type, int id)
    : BankAccount(type, ROLE_APPRAISAL_COMPANY)
    , id(id)
{
}

QString& AppraisalBankAccount::getText(field_t field, QString& value)
{
    value = texts[field];
    return value;
}

// A BIC is set as setBic sets it, whichever setter a form uses.
void AppraisalBankAccount::setText(field_t field, const QString& value)
{
    if (field == BIC)
        setBic(value);
    else
        texts[field] = value;
}

void AppraisalBankAccount::setBic(const QString& bic)
{
    texts[BIC] = bic;
    if (!BankCatalog::getInstance()->findBank(bic, texts[BANK_NAME], texts[CORRESPONDENT_ACCOUNT])) {
        texts[BANK_NAME].clear();
        texts[CORRESPONDENT_ACCOUNT].clear();
    }
}

void AppraisalBankAccount::load()
{
    if (isNew())
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select account,bic, bankname, raccount from bankaccount where id_ba=?"));
    query.addBindValue(id);
    if (!SQLStorage::exec(query) || !query.next()) {
        LOG_WARNING() << "the bank account cannot be read, it is shown empty; id_ba=" << id;
        unread = true;
        return;
    }
    texts[ACCOUNT] = query.value(0).toString();
    texts[BIC] = query.value(1).toString();
    texts[BANK_NAME] = query.value(2).toString();
    texts[CORRESPONDENT_ACCOUNT] = query.value(3).toString();
}

bool AppraisalBankAccount::save()
{
    if (unread) {
        LOG_WARNING() << "the bank account was not read, so it is not saved over; id_ba=" << id;
        return false;
    }
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(isNew() ? QStringLiteral("insert into bankaccount (account,bic,bankname,raccount) values (?,?,?,?)")
                          : QStringLiteral("update bankaccount set account=?,bic=?,bankname=?,raccount=? where id_ba=?"));
    query.addBindValue(texts[ACCOUNT]);
    query.addBindValue(texts[BIC]);
    query.addBindValue(texts[BANK_NAME]);
    query.addBindValue(texts[CORRESPONDENT_ACCOUNT]);
    if (!isNew())
        query.addBindValue(id);
    if (!SQLStorage::exec(query))
        return false;
    return !isNew() || SqlTransaction::takeInsertedId(query, id);
}

void AppraisalBankAccount::loadFromStorage(int index, EvaluationStorage& storage)
{
    QString name;
    for (int i = 0; i < FieldCount; ++i)
        storage.getTag(TagUtils::appendIndex(tagName(field_t(i)), index, name), texts[i]);
}
