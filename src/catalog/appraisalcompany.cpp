#include "catalog/appraisalcompany.h"

#include "catalog/appraisalbusinessman.h"
#include "catalog/appraisalorg.h"
#include "catalog/catalogtable.h"
#include "catalog/sqlstorage.h"
#include "catalog/sqltransaction.h"
#include "model/evaluationstorage.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QIODevice>
#include <QSqlQuery>

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

QString companyTable()
{
    return QStringLiteral("appraisalcompany");
}

QString companyKey()
{
    return QStringLiteral("id_apprcomp");
}

QString typeColumn()
{
    return QStringLiteral("companytype");
}

QString logoColumn()
{
    return QStringLiteral("logo");
}

// The stored companies of a kind with a taxpayer number, the first stored first. Only
// the details of the company's current kind count.
bool lookUpByTaxpayerNumber(customertype_t kind, const QString& inn, QSqlQuery& query)
{
    const QString source = QStringLiteral("%1 inner join %2 using (%3)")
                               .arg(companyTable(), AppraisalDetailRows::tablesOf(kind).table, companyKey());
    return CatalogTable::select(query, {companyKey(), logoColumn()}, source,
                                {{QStringLiteral("inn"), inn}, {typeColumn(), int(kind)}},
                                QStringLiteral("order by id_apprcomp"));
}

} // namespace

// In the order of the file: ascending tag name, whatever the kind. The columns are those
// of the catalog table "appraisalcompany".
const PartyFields::Field AppraisalCompany::policyTable[] = {
    {POLICY_DATE, "ДАТА_СОСТ_СТРАХ_ПОЛИСА", nullptr, FieldKind::Date, "police_date"},
    {ADD_INFO, "ДОПОЛН_ИНФОРМАЦИЯ", nullptr, FieldKind::Text, "addinfo"},
    {ADDITIONAL_RESPONSIBILITY, "ДОПОЛН_ОТВЕТСТВ", nullptr, FieldKind::Flag, "police_overlimit"},
    {POLICY_LIMIT, "ЛИМИТ_ОТВЕТСТВ", nullptr, FieldKind::Number, "police_limit"},
    {POLICY_NUMBER, "СТРАХ_ПОЛИС", nullptr, FieldKind::Text, "police_number"},
    {POLICY_INSURER, "СТРАХОВАЯ_КОМПАНИЯ", nullptr, FieldKind::Text, "police_insurer"},
};

QString AppraisalCompany::typeTag()
{
    return QStringLiteral("ТИП_ОЦЕНОЧНОЙ_КОМПАНИИ");
}

AppraisalCompany::AppraisalCompany()
    : policy(policyTable, type, ROLE_APPRAISAL_COMPANY, nullptr)
{
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

QStringList AppraisalCompany::tagNames(customertype_t kind)
{
    return PartyFields::tagNames(policyTable, kind, ROLE_APPRAISAL_COMPANY)
        + Party::tagNames(kind, ROLE_APPRAISAL_COMPANY);
}

bool AppraisalCompany::getTag(const QString& name, QString& value, long flags)
{
    if (policy.getTag(name, value, flags))
        return true;
    if (type == CUSTOMER_LEGAL_ENTITY)
        return getOrg()->getTag(name, value, flags);
    return getBusinessman()->getTag(name, value, flags);
}

void AppraisalCompany::save(QIODevice&)
{
    LOG_WARNING() << "an appraisal company is written only under a position";
    ZENTAVO_THROW();
}

// The company's own tags carry the suffix of its kind, so they follow the kind.
void AppraisalCompany::setType(customertype_t newType)
{
    if (newType == CUSTOMER_PERSON)
        ZENTAVO_THROW();
    type = newType;
    policy.setType(type);
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
    if (!CatalogTable::select(query, policy.columns() << typeColumn() << logoColumn(), companyTable(),
                              {{companyKey(), id}})
        || !query.next()) {
        LOG_WARNING() << "no appraisal company row, id=" << id;
        ZENTAVO_THROW();
    }
    bool isInteger = false;
    const int storedType = query.value(typeColumn()).toInt(&isInteger);
    if (!isInteger || (storedType != CUSTOMER_LEGAL_ENTITY && storedType != CUSTOMER_SOLE_PROPRIETOR)) {
        LOG_WARNING() << "invalid appraisal company type, id=" << id;
        ZENTAVO_THROW();
    }
    policy.readColumns(CatalogTable::reader(query));
    logo = imageOf(query.value(logoColumn()).toByteArray());
    query.finish();
    setType(customertype_t(storedType));
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

// The logo is kept as PNG bytes; no logo, no bytes.
QVariantMap AppraisalCompany::row() const
{
    QVariantMap values = policy.columnValues();
    values.insert(typeColumn(), int(type));
    values.insert(logoColumn(), pngOf(logo));
    return values;
}

bool AppraisalCompany::saveRows()
{
    QVariantMap values = row();
    if (id == -1) {
        if (!CatalogTable::insert(companyTable(), values, &id))
            return false;
    } else {
        values.insert(companyKey(), id);
        if (!CatalogTable::update(companyTable(), values, companyKey()))
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
    const AppraisalDetailRows::Tables tables = AppraisalDetailRows::tablesOf(kind);
    const QString rows = QStringLiteral("select %1 from %2 where id_apprcomp=:id_apprcomp")
                             .arg(tables.key, tables.table);
    const QString statements[] = {
        QStringLiteral("delete from bankaccount where id_ba in (select id_ba from %1 where %2 in (%3)) and id_ba not in "
                       "(select id_ba from %1 where %2 not in (%3)) and id_ba not in (select id_ba from %4)")
            .arg(tables.link, tables.key, rows, tables.otherLink),
        QStringLiteral("delete from %1 where %2 in (%3)").arg(tables.link, tables.key, rows),
        QStringLiteral("delete from %1 where id_apprcomp=:id_apprcomp").arg(tables.table),
    };
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const QString& statement : statements) {
        query.prepare(statement);
        query.bindValue(QStringLiteral(":id_apprcomp"), id);
        if (!SQLStorage::exec(query))
            return false;
    }
    AppraisalDetailRows* left = kind == CUSTOMER_LEGAL_ENTITY ? static_cast<AppraisalDetailRows*>(org.get())
                                                             : static_cast<AppraisalDetailRows*>(businessman.get());
    if (left)
        left->forgetRows();
    return true;
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
        storedId = query.value(companyKey()).toInt();
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
        logo = imageOf(query.value(logoColumn()).toByteArray());
}

bool AppraisalCompany::save(int index, QIODevice& out)
{
    QByteArray line;
    QString name;
    QString typeText = Party::legalFormText(type == CUSTOMER_LEGAL_ENTITY ? type : CUSTOMER_SOLE_PROPRIETOR);
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(typeTag(), index, name), typeText, line));
    policy.save(out, index);
    if (type == CUSTOMER_LEGAL_ENTITY)
        getAppraisalOrg()->save(out, index);
    else if (type == CUSTOMER_SOLE_PROPRIETOR)
        getAppraisalBusinessman()->save(out, index);
    return true;
}

// A date, limit or flag whose tag does not parse keeps the value it had.
void AppraisalCompany::loadFromStorage(int index, EvaluationStorage& storage)
{
    init(-1);
    QString name;
    QString text;
    storage.getTag(TagUtils::appendIndex(typeTag(), index, name), text);
    setType(text == Party::legalFormText(CUSTOMER_LEGAL_ENTITY) ? CUSTOMER_LEGAL_ENTITY : CUSTOMER_SOLE_PROPRIETOR);
    policy.loadFromStorage(index, storage, PartyFields::KeepUnparsed);
    if (type == CUSTOMER_LEGAL_ENTITY)
        getAppraisalOrg()->loadFromStorage(index, storage);
    else
        getAppraisalBusinessman()->loadFromStorage(index, storage);
    loadLogo();
}
