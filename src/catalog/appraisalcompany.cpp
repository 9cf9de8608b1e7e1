#include "catalog/appraisalcompany.h"

#include "catalog/appraisalbusinessman.h"
#include "catalog/appraisalorg.h"
#include "catalog/sqlstorage.h"
#include "catalog/sqltransaction.h"
#include "evaluation/evaluationstorage.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QSqlQuery>
#include <QVariant>

namespace {

QImage imageOf(const QByteArray& png)
{
    return png.isEmpty() ? QImage() : QImage::fromData(png);
}

QByteArray pngOf(const QImage& image)
{
    QByteArray png;
    if (image.isNull())
        return png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// The stored companies of a kind with a taxpayer number, the first stored first. Only
// the details of the company's current kind count.
bool lookUpByTaxpayerNumber(customertype_t kind, const QString& inn, QSqlQuery& query)
{
    query.prepare(kind == CUSTOMER_LEGAL_ENTITY
                      ? QStringLiteral("select c.id_apprcomp, c.logo from appraisalcompany c inner join org o "
                                       "using (id_apprcomp) where o.inn=? and c.companytype=? order by c.id_apprcomp")
                      : QStringLiteral("select c.id_apprcomp, c.logo from appraisalcompany c inner join businessman b "
                                       "using (id_apprcomp) where b.inn=? and c.companytype=? order by c.id_apprcomp"));
    query.addBindValue(inn);
    query.addBindValue(int(kind));
    return SQLStorage::exec(query);
}

// The details of one kind as the catalog keeps them: their table and key, the table
// that links them to their bank account, and the link table of the other kind.
struct DetailTables
{
    const char* table;
    const char* key;
    const char* link;
    const char* otherLink;
};

DetailTables detailTablesOf(customertype_t kind)
{
    if (kind == CUSTOMER_LEGAL_ENTITY)
        return {"org", "id_org", "bankaccount2org", "bankaccount2bman"};
    return {"businessman", "id_bman", "bankaccount2bman", "bankaccount2org"};
}

} // namespace

AppraisalCompany::AppraisalCompany()
{
    initKeys();
    setKeys();
}

AppraisalCompany::AppraisalCompany(int companyId)
    : AppraisalCompany()
{
    load(companyId);
}

AppraisalCompany::AppraisalCompany(int index, EvaluationStorage& storage)
    : AppraisalCompany()
{
    loadFromStorage(index, storage);
}

AppraisalCompany::~AppraisalCompany() = default;

void AppraisalCompany::initKeys()
{
    typeTag = QStringLiteral("ТИП_ОЦЕНОЧНОЙ_КОМПАНИИ");
    legalEntityText = Party::legalFormText(CUSTOMER_LEGAL_ENTITY);
    proprietorText = Party::legalFormText(CUSTOMER_SOLE_PROPRIETOR);
}

// The company's own tags carry the suffix of its kind, so they follow the kind.
QMap<QString, AppraisalCompany::key_t> AppraisalCompany::keysOf(customertype_t kind)
{
    QString suffix;
    TagUtils::mkRole(kind, ROLE_APPRAISAL_COMPANY, suffix);
    return {{QStringLiteral("СТРАХ_ПОЛИС") + suffix, POLICY_NUMBER},
            {QStringLiteral("СТРАХОВАЯ_КОМПАНИЯ") + suffix, POLICY_INSURER},
            {QStringLiteral("ДАТА_СОСТ_СТРАХ_ПОЛИСА") + suffix, POLICY_DATE},
            {QStringLiteral("ЛИМИТ_ОТВЕТСТВ") + suffix, POLICY_LIMIT},
            {QStringLiteral("ДОПОЛН_ОТВЕТСТВ") + suffix, ADDITIONAL_RESPONSIBILITY},
            {QStringLiteral("ДОПОЛН_ИНФОРМАЦИЯ") + suffix, ADD_INFO}};
}

QStringList AppraisalCompany::tagNames(customertype_t kind)
{
    return keysOf(kind).keys() + Party::tagNames(kind, ROLE_APPRAISAL_COMPANY);
}

void AppraisalCompany::setKeys()
{
    keys = keysOf(type);
}

bool AppraisalCompany::getTag(const QString& name, QString& value, long flags)
{
    const auto found = keys.constFind(name);
    if (found != keys.cend()) {
        keyValue(*found, flags, value);
        return true;
    }
    if (type == CUSTOMER_LEGAL_ENTITY)
        return getOrg()->getTag(name, value, flags);
    return getBusinessman()->getTag(name, value, flags);
}

QString& AppraisalCompany::keyValue(key_t key, long flags, QString& value) const
{
    switch (key) {
    case POLICY_NUMBER:
        value = policyNumber;
        break;
    case POLICY_INSURER:
        value = policyInsurer;
        break;
    case POLICY_DATE:
        return TagUtils::condProcessFlagDATE(flags, policyDate, value);
    case POLICY_LIMIT:
        return TagUtils::processInt(policyLimit, value);
    case ADDITIONAL_RESPONSIBILITY:
        return TagUtils::processBool(additionalResponsibility, value);
    case ADD_INFO:
        value = addInfo;
        break;
    }
    return value;
}

void AppraisalCompany::save(QIODevice&)
{
    LOG_WARNING() << "an appraisal company is written only under a position";
    ZENTAVO_THROW();
}

void AppraisalCompany::setType(customertype_t newType)
{
    if (newType == CUSTOMER_PERSON)
        ZENTAVO_THROW();
    type = newType;
    setKeys();
}

Organization* AppraisalCompany::getOrg()
{
    return getAppraisalOrg();
}

Person* AppraisalCompany::getPeople()
{
    ZENTAVO_THROW();
}

Businessman* AppraisalCompany::getBusinessman()
{
    return getAppraisalBusinessman();
}

AppraisalOrg* AppraisalCompany::getAppraisalOrg()
{
    if (!org)
        org = std::make_unique<AppraisalOrg>(id);
    return org.get();
}

AppraisalBusinessman* AppraisalCompany::getAppraisalBusinessman()
{
    if (!businessman)
        businessman = std::make_unique<AppraisalBusinessman>(id);
    return businessman.get();
}

QString& AppraisalCompany::getPolicyNumber(QString& value) const
{
    value = policyNumber;
    return value;
}

QString& AppraisalCompany::getPolicyInsurer(QString& value) const
{
    value = policyInsurer;
    return value;
}

QDate& AppraisalCompany::getPolicyDate(QDate& value) const
{
    value = policyDate;
    return value;
}

QString& AppraisalCompany::getAddInfo(QString& value) const
{
    value = addInfo;
    return value;
}

QImage& AppraisalCompany::getLogo(QImage& value) const
{
    value = logo;
    return value;
}

void AppraisalCompany::init(int companyId)
{
    id = companyId;
    org.reset();
    businessman.reset();
}

void AppraisalCompany::load(int companyId)
{
    init(companyId);
    load();
}

void AppraisalCompany::load()
{
    if (id == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select companytype,police_number,police_date,police_insurer,police_limit,"
                                 "police_overlimit,addinfo,logo from appraisalcompany where id_apprcomp=?"));
    query.addBindValue(id);
    if (!SQLStorage::exec(query) || !query.next()) {
        LOG_WARNING() << "no appraisal company row, id=" << id;
        ZENTAVO_THROW();
    }
    bool isInteger = false;
    const int storedType = query.value(0).toInt(&isInteger);
    if (!isInteger || (storedType != CUSTOMER_LEGAL_ENTITY && storedType != CUSTOMER_SOLE_PROPRIETOR)) {
        LOG_WARNING() << "invalid appraisal company type, id=" << id;
        ZENTAVO_THROW();
    }
    type = customertype_t(storedType);
    policyNumber = query.value(1).toString();
    policyDate = query.value(2).toDate();
    policyInsurer = query.value(3).toString();
    policyLimit = TagUtils::parseInt(query.value(4).toString(), nullptr); // NULL: no limit, -1
    additionalResponsibility = query.value(5).toBool();
    addInfo = query.value(6).toString();
    logo = imageOf(query.value(7).toByteArray());
    query.finish();
    setKeys();
}

bool AppraisalCompany::save()
{
    const int previousId = id;
    const AppraisalDetailRows::Ids orgIds = org ? org->getIds() : AppraisalDetailRows::Ids();
    const AppraisalDetailRows::Ids businessmanIds = businessman ? businessman->getIds() : AppraisalDetailRows::Ids();
    return SqlTransaction::run([this] { return saveRows(); },
                               [&] {
                                   id = previousId;
                                   if (org)
                                       org->restoreIds(orgIds);
                                   if (businessman)
                                       businessman->restoreIds(businessmanIds);
                               });
}

bool AppraisalCompany::saveRows()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (id == -1) {
        query.prepare(QStringLiteral("insert into appraisalcompany(companytype,police_number,police_date,"
                                     "police_insurer,police_limit,police_overlimit,addinfo,logo)values(?,?,?,?,?,?,?,?)"));
        bindValues(query);
        if (!SQLStorage::exec(query) || !SqlTransaction::takeInsertedId(query, id))
            return false;
    } else {
        query.prepare(QStringLiteral("update appraisalcompany set companytype=?, police_number=?, police_date=?,"
                                     "police_insurer=?, police_limit=?, police_overlimit=?, addinfo=?, logo=? "
                                     "where id_apprcomp=?"));
        bindValues(query);
        query.addBindValue(id);
        if (!SQLStorage::exec(query))
            return false;
    }
    if (type == CUSTOMER_LEGAL_ENTITY)
        return removeDetailsOf(CUSTOMER_SOLE_PROPRIETOR) && (!org || org->save(id));
    if (type == CUSTOMER_SOLE_PROPRIETOR)
        return removeDetailsOf(CUSTOMER_LEGAL_ENTITY) && (!businessman || businessman->save(id));
    return true;
}

// A company that changed its kind leaves the details of its former kind behind. They go
// with their link and with the bank account that nothing else links. Details of that kind
// still in memory are new again, so a change back stores them anew.
bool AppraisalCompany::removeDetailsOf(customertype_t kind)
{
    const DetailTables tables = detailTablesOf(kind);
    const QString rows = QStringLiteral("select %1 from %2 where id_apprcomp=?").arg(QLatin1String(tables.key),
                                                                                    QLatin1String(tables.table));
    const QString statements[] = {
        QStringLiteral("delete from bankaccount where id_ba in (select id_ba from %1 where %2 in (%3)) and id_ba not in "
                       "(select id_ba from %1 where %2 not in (%3)) and id_ba not in (select id_ba from %4)")
            .arg(QLatin1String(tables.link), QLatin1String(tables.key), rows, QLatin1String(tables.otherLink)),
        QStringLiteral("delete from %1 where %2 in (%3)").arg(QLatin1String(tables.link), QLatin1String(tables.key), rows),
        QStringLiteral("delete from %1 where id_apprcomp=?").arg(QLatin1String(tables.table)),
    };
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const QString& statement : statements) {
        query.prepare(statement);
        for (int i = 0; i < statement.count(QLatin1Char('?')); ++i)
            query.addBindValue(id);
        if (!SQLStorage::exec(query))
            return false;
    }
    AppraisalDetailRows* left = kind == CUSTOMER_LEGAL_ENTITY ? static_cast<AppraisalDetailRows*>(org.get())
                                                             : static_cast<AppraisalDetailRows*>(businessman.get());
    if (left)
        left->forgetRows();
    return true;
}

void AppraisalCompany::bindValues(QSqlQuery& query) const
{
    query.addBindValue(int(type));
    query.addBindValue(policyNumber);
    query.addBindValue(policyDate);
    query.addBindValue(policyInsurer);
    query.addBindValue(policyLimit);
    query.addBindValue(int(additionalResponsibility));
    query.addBindValue(addInfo);
    query.addBindValue(pngOf(logo));
}

QString AppraisalCompany::taxpayerNumber()
{
    QString inn;
    if (type == CUSTOMER_LEGAL_ENTITY)
        return getOrg()->getText(Organization::INN, inn);
    return getBusinessman()->getInn(inn);
}

bool AppraisalCompany::findStored(customertype_t kind, const QString& inn, int& storedId)
{
    storedId = -1;
    if (inn.isEmpty())
        return true;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!lookUpByTaxpayerNumber(kind, inn, query))
        return false;
    if (query.next())
        storedId = query.value(0).toInt();
    return true;
}

void AppraisalCompany::loadLogo()
{
    logo = QImage();
    if (type != CUSTOMER_LEGAL_ENTITY && type != CUSTOMER_SOLE_PROPRIETOR)
        return;
    const QString inn = taxpayerNumber();
    if (inn.isEmpty())
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!lookUpByTaxpayerNumber(type, inn, query)) {
        LOG_WARNING() << "the catalog cannot tell the logo of the appraisal company: it is shown without one";
        return;
    }
    if (query.next())
        logo = imageOf(query.value(1).toByteArray());
}

bool AppraisalCompany::save(int index, QIODevice& out)
{
    QByteArray line;
    QString name;
    QString typeText = type == CUSTOMER_LEGAL_ENTITY ? legalEntityText : proprietorText;
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(typeTag, index, name), typeText, line));
    for (auto key = keys.cbegin(); key != keys.cend(); ++key)
        out.write(keyLine(key.value(), TagUtils::appendIndex(key.key(), index, name), line));
    if (type == CUSTOMER_LEGAL_ENTITY)
        getAppraisalOrg()->save(out, index);
    else if (type == CUSTOMER_SOLE_PROPRIETOR)
        getAppraisalBusinessman()->save(out, index);
    return true;
}

QByteArray& AppraisalCompany::keyLine(key_t key, const QString& name, QByteArray& line) const
{
    switch (key) {
    case POLICY_DATE:
        return TagUtils::mkTagLine(name, policyDate, line);
    case POLICY_LIMIT:
        return TagUtils::mkTagLine(name, policyLimit, line);
    case ADDITIONAL_RESPONSIBILITY:
        return TagUtils::mkTagLine(name, additionalResponsibility, line);
    default:
        break;
    }
    QString value;
    return TagUtils::mkTagLine(name, keyValue(key, 0, value), line);
}

void AppraisalCompany::loadFromStorage(int index, EvaluationStorage& storage)
{
    init(-1);
    QString name;
    QString text;
    storage.getTag(TagUtils::appendIndex(typeTag, index, name), text);
    type = text == legalEntityText ? CUSTOMER_LEGAL_ENTITY : CUSTOMER_SOLE_PROPRIETOR;
    setKeys();
    for (auto key = keys.cbegin(); key != keys.cend(); ++key)
        readKey(key.value(), storage.getTag(TagUtils::appendIndex(key.key(), index, name), text));
    if (type == CUSTOMER_LEGAL_ENTITY)
        getAppraisalOrg()->loadFromStorage(index, storage);
    else
        getAppraisalBusinessman()->loadFromStorage(index, storage);
    loadLogo();
}

// A date, limit or flag whose text does not parse keeps the value it had.
void AppraisalCompany::readKey(key_t key, const QString& text)
{
    bool parsed = false;
    switch (key) {
    case POLICY_NUMBER:
        policyNumber = text;
        break;
    case POLICY_INSURER:
        policyInsurer = text;
        break;
    case ADD_INFO:
        addInfo = text;
        break;
    case POLICY_DATE: {
        QDate date;
        if (TagUtils::parseDate(text, &parsed, date), parsed)
            policyDate = date;
        break;
    }
    case POLICY_LIMIT: {
        const int limit = TagUtils::parseInt(text, &parsed);
        if (parsed)
            policyLimit = limit;
        break;
    }
    case ADDITIONAL_RESPONSIBILITY: {
        const bool flag = TagUtils::parseBool(text, &parsed);
        if (parsed)
            additionalResponsibility = flag;
        break;
    }
    }
}
