#include "catalog/appraisalbusinessman.h"

#include "catalog/sqlstorage.h"
#include "catalog/sqltransaction.h"
#include "evaluation/evaluationstorage.h"

#include <QSqlQuery>
#include <QVariant>

AppraisalBusinessman::AppraisalBusinessman(int companyId)
    : Businessman(ROLE_APPRAISAL_COMPANY)
    , AppraisalDetailRows(CUSTOMER_SOLE_PROPRIETOR, companyId)
{
    load();
}

AppraisalBusinessman::~AppraisalBusinessman() = default;

QString& AppraisalBusinessman::getText(field_t field, QString& value)
{
    value = texts[field];
    return value;
}

void AppraisalBusinessman::setText(field_t field, const QString& value)
{
    texts[field] = value;
}

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

QString& AppraisalBusinessman::getOgrn(QString& value)
{
    value = ogrn;
    return value;
}

void AppraisalBusinessman::setOgrn(const QString& value)
{
    ogrn = value;
}

QDate& AppraisalBusinessman::getRegistrationDate(QDate& date)
{
    date = registrationDate;
    return date;
}

void AppraisalBusinessman::setRegistrationDate(const QDate& date)
{
    registrationDate = date;
}

bool AppraisalBusinessman::isSimplifiedTaxation()
{
    return simplifiedTaxation;
}

void AppraisalBusinessman::setSimplifiedTaxation(bool value)
{
    simplifiedTaxation = value;
}

QString& AppraisalBusinessman::getAccountant(QString& value)
{
    value = accountant;
    return value;
}

void AppraisalBusinessman::setAccountant(const QString& value)
{
    accountant = value;
}

QString& AppraisalBusinessman::getAccountantPost(QString& value)
{
    value = accountantPost;
    return value;
}

void AppraisalBusinessman::setAccountantPost(const QString& value)
{
    accountantPost = value;
}

BankAccount* AppraisalBusinessman::getBankAccount()
{
    return account();
}

// With several accounts linked, the one stored first is the proprietor's account.
void AppraisalBusinessman::load()
{
    if (companyId == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral(
        "select o.id_bman, o.firstname, o.middlename, o.lastname, o.inn,o.phone, o.email, o.usno, o.ogrn, "
        "o.ogrn_date, o.address,o.bux, o.bux_post,b.id_ba from businessman o left outer join bankaccount2bman b "
        "using (id_bman) where id_apprcomp=? order by b.id_ba"));
    query.addBindValue(companyId);
    if (!SQLStorage::exec(query) || !query.next()) {
        setRow(companyId, -1, -1);
        return;
    }
    texts[FIRST_NAME] = query.value(1).toString();
    texts[MIDDLE_NAME] = query.value(2).toString();
    texts[LAST_NAME] = query.value(3).toString();
    texts[INN] = query.value(4).toString();
    texts[PHONE] = query.value(5).toString();
    texts[EMAIL] = query.value(6).toString();
    simplifiedTaxation = query.value(7).toBool();
    ogrn = query.value(8).toString();
    registrationDate = query.value(9).toDate();
    texts[LOCATION] = query.value(10).toString();
    accountant = query.value(11).toString();
    accountantPost = query.value(12).toString();
    bool isInteger = false;
    const int accountRow = query.value(13).toInt(&isInteger);
    setRow(companyId, query.value(0).toInt(), isInteger ? accountRow : -1);
}

bool AppraisalBusinessman::save(int company)
{
    checkOwner(company);
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (isStored()) {
        query.prepare(QStringLiteral(
            "update businessman set id_apprcomp=?,firstname=?,lastname=?,middlename=?,ogrn=?,ogrn_date=?,inn=?,"
            "usno=?,idoctype=?,idocnumber=?,idocserial=?,idocdate=?,idocorg=?,address=?,phone=?,email=?,bux=?,"
            "bux_post=? where id_bman=?"));
        bindValues(query, company);
        query.addBindValue(rowId);
        if (!SQLStorage::exec(query))
            return false;
    } else {
        query.prepare(QStringLiteral(
            "insert into businessman (id_apprcomp,firstname,lastname,middlename,ogrn,ogrn_date,inn,usno,idoctype,"
            "idocnumber,idocserial,idocdate,idocorg,address,phone,email,bux,bux_post) values "
            "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        bindValues(query, company);
        int row = -1;
        if (!SQLStorage::exec(query) || !SqlTransaction::takeInsertedId(query, row))
            return false;
        setRow(company, row, accountRowId);
    }
    return saveAccount(QStringLiteral("insert into bankaccount2bman (id_bman,id_ba) values (?,?)"));
}

void AppraisalBusinessman::bindValues(QSqlQuery& query, int company)
{
    query.addBindValue(company);
    query.addBindValue(texts[FIRST_NAME]);
    query.addBindValue(texts[LAST_NAME]);
    query.addBindValue(texts[MIDDLE_NAME]);
    query.addBindValue(ogrn);
    query.addBindValue(registrationDate);
    query.addBindValue(texts[INN]);
    query.addBindValue(int(simplifiedTaxation));
    getAppraisalIdentDocument()->bindValues(query);
    query.addBindValue(texts[LOCATION]);
    query.addBindValue(texts[PHONE]);
    query.addBindValue(texts[EMAIL]);
    query.addBindValue(accountant);
    query.addBindValue(accountantPost);
}

void AppraisalBusinessman::loadFromStorage(int index, EvaluationStorage& storage)
{
    QString name;
    for (int i = 0; i < Person::FieldCount; ++i)
        storage.getTag(TagUtils::appendIndex(tagName(field_t(i)), index, name), texts[i]);
    storage.getTag(TagUtils::appendIndex(tagName(OGRN), index, name), ogrn);
    storage.getTag(TagUtils::appendIndex(tagName(REGISTRATION_DATE), index, name), registrationDate);
    storage.getTag(TagUtils::appendIndex(tagName(SIMPLIFIED_TAXATION), index, name), simplifiedTaxation);
    storage.getTag(TagUtils::appendIndex(tagName(ACCOUNTANT), index, name), accountant);
    storage.getTag(TagUtils::appendIndex(tagName(ACCOUNTANT_POST), index, name), accountantPost);
    getAppraisalIdentDocument()->loadFromStorage(index, storage);
    account()->loadFromStorage(index, storage);
}
