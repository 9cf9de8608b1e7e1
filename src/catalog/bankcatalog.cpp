#include "catalog/bankcatalog.h"

#include "catalog/sqlstorage.h"
#include "runtime/singletonregistry.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

BankCatalog* BankCatalog::getInstance()
{
    return SingletonRegistry::instance<BankCatalog>();
}

bool BankCatalog::findBank(const QString& bic, QString& name, QString& raccount) const
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select name,raccount from bank where bic=:val"));
    query.bindValue(QStringLiteral(":val"), bic);
    const bool found = SQLStorage::exec(query) && query.next();
    if (found) {
        name = query.value(0).toString();
        raccount = query.value(1).toString();
    } else {
        name = QCoreApplication::translate("BankCatalog", "Неверный БИК или название банка неизвестно");
        raccount = QString();
    }
    query.finish();
    return found;
}

// An older directory layout that the current schema no longer has: the query fails
// and nothing is kept.
void BankCatalog::load()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (query.exec(QStringLiteral("select id,BIK,bank_name,cor_account from bik"))) {
        while (query.next()) {
        }
    }
}
