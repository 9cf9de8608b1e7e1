#include "catalog/appraisalorg.h"

#include "catalog/sqlstorage.h"
#include "catalog/sqltransaction.h"
#include "evaluation/evaluationstorage.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// The detail columns of "org" in the order of its statements.
constexpr Organization::field_t columns[Organization::FieldCount] = {
    Organization::LEGAL_FORM, Organization::NAME, Organization::OGRN, Organization::OGRN_DATE,
    Organization::INN, Organization::KPP, Organization::ADDRESS, Organization::PHONE, Organization::EMAIL,
    Organization::SIMPLIFIED_TAXATION, Organization::HEAD, Organization::HEAD_POST,
    Organization::HEAD_AUTHORITY, Organization::HEAD_GENITIVE, Organization::HEAD_POST_GENITIVE,
    Organization::ACCOUNTANT, Organization::ACCOUNTANT_POST};

} // namespace

AppraisalOrg::AppraisalOrg(int companyId)
    : Organization(ROLE_APPRAISAL_COMPANY)
    , AppraisalDetailRows(CUSTOMER_LEGAL_ENTITY, companyId)
{
    load();
}

QString& AppraisalOrg::getText(field_t field, QString& value)
{
    value = texts[field];
    return value;
}

void AppraisalOrg::setText(field_t field, const QString& value)
{
    texts[field] = value;
}

QDate& AppraisalOrg::getOgrnDate(QDate& date)
{
    date = ogrnDate;
    return date;
}

void AppraisalOrg::setOgrnDate(const QDate& date)
{
    ogrnDate = date;
}

bool AppraisalOrg::isSimplifiedTaxation()
{
    return simplifiedTaxation;
}

void AppraisalOrg::setSimplifiedTaxation(bool value)
{
    simplifiedTaxation = value;
}

BankAccount* AppraisalOrg::getBankAccount()
{
    return account();
}

// With several accounts linked, the one stored first is the company's account.
void AppraisalOrg::load()
{
    if (companyId == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral(
        "select o.id_org, o.legalform, o.name, o.ogrn, o.ogrn_date, o.inn, o.kpp,o.location, o.phone, o.email, "
        "o.usno,o.leader, o.leader_post, o.leader_reason,o.leader_a, o.leader_post_a,o.bux, o.bux_post,b.id_ba "
        "from org o left outer join bankaccount2org b using(id_org) where o.id_apprcomp=? order by b.id_ba"));
    query.addBindValue(companyId);
    if (!SQLStorage::exec(query) || !query.next())
        return;
    for (int i = 0; i < FieldCount; ++i) {
        const QVariant value = query.value(i + 1);
        if (columns[i] == OGRN_DATE)
            ogrnDate = value.toDate();
        else if (columns[i] == SIMPLIFIED_TAXATION)
            simplifiedTaxation = value.toBool();
        else
            texts[columns[i]] = value.toString();
    }
    const QVariant accountRow = query.value(FieldCount + 1);
    setRow(companyId, query.value(0).toInt(), accountRow.isNull() ? -1 : accountRow.toInt());
}

bool AppraisalOrg::save(int company)
{
    checkOwner(company);
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (isStored()) {
        query.prepare(QStringLiteral(
            "update org set legalform=?,name=?,ogrn=?,ogrn_date=?,inn=?,kpp=?,location=?,phone=?,email=?,usno=?,"
            "leader=?,leader_post=?,leader_reason=?,leader_a=?,leader_post_a=?, bux=?, bux_post=? where "
            "id_apprcomp=?"));
        bindValues(query, company);
        if (!SQLStorage::exec(query))
            return false;
    } else {
        query.prepare(QStringLiteral(
            "insert into org (legalform,name,ogrn,ogrn_date,inn,kpp,location,phone,email,usno,leader,leader_post,"
            "leader_reason,leader_a,leader_post_a,bux,bux_post,id_apprcomp)values (?,?,?,?,?,?,?,?,?,?,?,?,?, "
            "?,?,?,?,?)"));
        bindValues(query, company);
        int row = -1;
        if (!SQLStorage::exec(query) || !SqlTransaction::takeInsertedId(query, row))
            return false;
        setRow(company, row, accountRowId);
    }
    return saveAccount(QStringLiteral("insert into bankaccount2org (id_org,id_ba) values (?,?)"));
}

void AppraisalOrg::bindValues(QSqlQuery& query, int company) const
{
    for (const field_t field : columns) {
        if (field == OGRN_DATE)
            query.addBindValue(ogrnDate);
        else if (field == SIMPLIFIED_TAXATION)
            query.addBindValue(int(simplifiedTaxation));
        else
            query.addBindValue(texts[field]);
    }
    query.addBindValue(company);
}

void AppraisalOrg::loadFromStorage(int index, EvaluationStorage& storage)
{
    QString name;
    for (const field_t field : columns) {
        TagUtils::appendIndex(tagName(field), index, name);
        if (field == OGRN_DATE)
            storage.getTag(name, ogrnDate);
        else if (field == SIMPLIFIED_TAXATION)
            storage.getTag(name, simplifiedTaxation);
        else
            storage.getTag(name, texts[field]);
    }
    account()->loadFromStorage(index, storage);
}
