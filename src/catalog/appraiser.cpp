#include "catalog/appraiser.h"

#include "catalog/sqlstorage.h"
#include "catalog/sqltransaction.h"
#include "evaluation/evaluationstorage.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QIODevice>
#include <QList>
#include <QSqlQuery>
#include <QVariant>

namespace {

struct FieldTags
{
    int field;
    const char* specialistTag; // null: an appraiser's field only
    const char* appraiserTag;
};

// In the order of the field enumeration.
const FieldTags fieldTags[] = {
    {0, "ФАМИЛИЯ_СПЕЦИАЛИСТА", "ФАМИЛИЯ_ОЦЕНЩИКА"},
    {1, "ИМЯ_СПЕЦИАЛИСТА", "ИМЯ_ОЦЕНЩИКА"},
    {2, "ОТЧЕСТВО_СПЕЦИАЛИСТА", "ОТЧЕСТВО_ОЦЕНЩИКА"},
    {3, "ДОП_ИНФ_СПЕЦИАЛИСТА", "ДОПОЛН_ИНФОРМАЦИЯ_ОЦЕНЩИКА"},
    {4, "МЕСТОНАХОЖДЕНИЕ_СПЕЦИАЛИСТА", "МЕСТОНАХОЖДЕНИЕ_ОЦЕНЩИКА"},
    {5, nullptr, "СВЕДЕНИЯ_СРО_ОЦЕНЩИКА"},
    {6, nullptr, "НОМЕР_В_РЕЕСТРЕ_ОЦЕНЩИКА"},
    {7, nullptr, "МЕСТОНАХОЖДЕНИЕ_СРО_ОЦЕНЩИКА"},
    {8, nullptr, "ДОПОЛН_ОТВЕТСТВЕН_ОЦЕНЩИКА"},
    {9, nullptr, "КАТЕГОРИЯ_ОЦЕНЩИКА"},
    {10, nullptr, "НОМЕР_ДИПЛОМА_ОЦЕНЩИКА"},
    {11, nullptr, "СЕРИЯ_ДИПЛОМА_ОЦЕНЩИКА"},
    {12, nullptr, "ДАТА_ВЫДАЧИ_ДИПЛОМА_ОЦЕНЩИКА"},
    {13, nullptr, "ДИПЛОМ_ОЦЕНЩИКА_ВЫДАН"},
    {14, nullptr, "СТРАХОВОЙ_ПОЛИС_ОЦЕНЩИКА"},
    {15, nullptr, "ДАТА_СТРАХОВОГО_ПОЛИСА_ОЦЕНЩИКА"},
    {16, nullptr, "СТРАХОВАЯ_КОМПАНИЯ_ОЦЕНЩИКА"},
    {17, nullptr, "ЛИМИТ_ОТВЕТСТВЕННОСТИ_ОЦЕНЩИКА"},
    {18, nullptr, "СТАЖ_ОЦЕНЩИКА"},
};

} // namespace

Appraiser::Appraiser()
{
    init(-1);
    initTags();
}

Appraiser::Appraiser(int id)
    : Appraiser()
{
    load(id);
}

Appraiser::Appraiser(int index, EvaluationStorage& storage)
    : Appraiser()
{
    loadFromStorage(index, storage);
}

Appraiser::~Appraiser() = default;

void Appraiser::init(int id)
{
    specialistId = id;
    appraiserId = id;
    markerWord = QStringLiteral("ОЦЕНЩИК");
    specialistWord = QStringLiteral("СПЕЦИАЛИСТ");
    typeTag = QStringLiteral("ТИП_ОЦЕНЩИКА");
    keys.clear();
}

void Appraiser::setType(appraisertype_t newType)
{
    type = newType;
    initTags();
}

QMap<QString, Appraiser::field_t> Appraiser::keysOf(appraisertype_t type)
{
    QMap<QString, field_t> keysOfType;
    for (const FieldTags& tags : fieldTags) {
        const char* name = type == APPRAISER ? tags.appraiserTag : tags.specialistTag;
        if (name)
            keysOfType.insert(QString::fromUtf8(name), field_t(tags.field));
    }
    return keysOfType;
}

QStringList Appraiser::tagNames(appraisertype_t type)
{
    return keysOf(type).keys();
}

void Appraiser::initTags()
{
    keys = keysOf(type);
}

void Appraiser::load(int id)
{
    init(id);
    load();
}

void Appraiser::load()
{
    if (specialistId == -1)
        return;
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral(
        "select firstname,lastname,middlename,location,addinfo, id_appr,sro_number,sro_info,sro_location,"
        "diplom_number,diplom_serial,diplom_date,diplom_org,insur_number,insur_date,insur_org,insur_limit,age,"
        "category from specialist left outer join appraiser on (id_spec=id_appr) where id_spec=?"));
    query.addBindValue(specialistId);
    if (!SQLStorage::exec(query) || !query.next()) {
        initTags();
        return;
    }
    texts[FIRST_NAME] = query.value(0).toString();
    texts[LAST_NAME] = query.value(1).toString();
    texts[MIDDLE_NAME] = query.value(2).toString();
    texts[LOCATION] = query.value(3).toString();
    texts[ADD_INFO] = query.value(4).toString();
    if (query.value(5).isNull()) {
        appraiserId = -1;
        setType(SPECIALIST);
        return;
    }
    appraiserId = specialistId;
    texts[SRO_NUMBER] = query.value(6).toString();
    texts[SRO] = query.value(7).toString();
    texts[SRO_LOCATION] = query.value(8).toString();
    texts[DIPLOM_NUMBER] = query.value(9).toString();
    texts[DIPLOM_SERIAL] = query.value(10).toString();
    diplomDate = query.value(11).toDate();
    texts[DIPLOM_ORG] = query.value(12).toString();
    texts[INSUR_NUMBER] = query.value(13).toString();
    insurDate = query.value(14).toDate();
    texts[INSUR_ORG] = query.value(15).toString();
    // A NULL column, a value never stored, reads as -1 like an empty tag.
    insurLimit = TagUtils::parseInt(query.value(16).toString(), nullptr);
    age = TagUtils::parseInt(query.value(17).toString(), nullptr);
    texts[CATEGORY] = query.value(18).toString();
    setType(APPRAISER);
}

bool Appraiser::save()
{
    const int previousSpecialist = specialistId;
    const int previousAppraiser = appraiserId;
    return SqlTransaction::run([this] { return saveRows(); },
                               [&] {
                                   specialistId = previousSpecialist;
                                   appraiserId = previousAppraiser;
                               });
}

bool Appraiser::saveRows()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (specialistId == -1) {
        query.prepare(QStringLiteral(
            "insert into specialist (firstname,middlename,lastname,location,addinfo) values (?,?,?,?,?)"));
        bindSValues(query);
        if (!SQLStorage::exec(query) || !SqlTransaction::takeInsertedId(query, specialistId))
            return false;
    } else {
        query.prepare(QStringLiteral(
            "update specialist set firstname=?,middlename=?,lastname=?,location=?,addinfo=? where id_spec=?"));
        bindSValues(query);
        query.addBindValue(specialistId);
        if (!SQLStorage::exec(query))
            return false;
    }
    if (type == APPRAISER)
        return save_appr(query);
    query.prepare(QStringLiteral("delete from appraiser where id_appr=?"));
    query.addBindValue(specialistId);
    if (!SQLStorage::exec(query))
        return false;
    appraiserId = -1;
    return true;
}

bool Appraiser::save_appr(QSqlQuery& query)
{
    const bool isNew = appraiserId == -1;
    query.prepare(isNew ? QStringLiteral("insert into appraiser(sro_number,sro_info,sro_location,diplom_number,"
                                         "diplom_serial,diplom_date,diplom_org,insur_number,insur_date,insur_org,"
                                         "insur_limit,age,category,id_appr)values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                        : QStringLiteral("update appraiser set sro_number=?,sro_info=?,sro_location=?,"
                                         "diplom_number=?,diplom_serial=?,diplom_date=?,diplom_org=?,insur_number=?,"
                                         "insur_date=?,insur_org=?,insur_limit=?,age=?,category=? where id_appr=?"));
    bindAValues(query);
    if (!SQLStorage::exec(query))
        return false;
    appraiserId = specialistId;
    return true;
}

void Appraiser::bindSValues(QSqlQuery& query) const
{
    for (const field_t field : {FIRST_NAME, MIDDLE_NAME, LAST_NAME, LOCATION, ADD_INFO})
        query.addBindValue(texts[field]);
}

void Appraiser::bindAValues(QSqlQuery& query) const
{
    for (const field_t field : {SRO_NUMBER, SRO, SRO_LOCATION, DIPLOM_NUMBER, DIPLOM_SERIAL})
        query.addBindValue(texts[field]);
    query.addBindValue(diplomDate);
    query.addBindValue(texts[DIPLOM_ORG]);
    query.addBindValue(texts[INSUR_NUMBER]);
    query.addBindValue(insurDate);
    query.addBindValue(texts[INSUR_ORG]);
    query.addBindValue(insurLimit);
    query.addBindValue(age);
    query.addBindValue(texts[CATEGORY]);
    query.addBindValue(specialistId);
}

bool Appraiser::getTag(const QString& name, QString& value, long flags)
{
    const auto found = keys.constFind(name);
    if (found == keys.cend())
        return false;
    fieldValue(*found, flags, value);
    return true;
}

QString& Appraiser::fieldValue(field_t field, long flags, QString& value) const
{
    switch (field) {
    case FIRST_NAME:
    case MIDDLE_NAME:
        value = texts[field];
        return (flags & TAGFLAG_SHORT) ? TagUtils::processFlagSHORT(value) : value;
    case ADDITIONAL_RESPONSIBILITY:
        return TagUtils::processBool(additionalResponsibility, value);
    case DIPLOM_DATE:
        return TagUtils::condProcessFlagDATE(flags, diplomDate, value);
    case INSUR_DATE:
        return TagUtils::condProcessFlagDATE(flags, insurDate, value);
    case INSUR_LIMIT:
        return TagUtils::processInt(insurLimit, value);
    case AGE:
        return TagUtils::processInt(age, value);
    default:
        return value = texts[field];
    }
}

bool Appraiser::save(int index, QIODevice& out)
{
    QByteArray line;
    QString name;
    QString value = QStringLiteral("true");
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(markerWord, index, name), value, line));
    value = type == APPRAISER ? markerWord : specialistWord;
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(typeTag, index, name), value, line));
    for (auto key = keys.cbegin(); key != keys.cend(); ++key)
        out.write(fieldLine(key.value(), TagUtils::appendIndex(key.key(), index, name), line));
    return true;
}

QByteArray& Appraiser::fieldLine(field_t field, const QString& name, QByteArray& line) const
{
    switch (field) {
    case DIPLOM_DATE:
        return TagUtils::mkTagLine(name, diplomDate, line);
    case INSUR_DATE:
        return TagUtils::mkTagLine(name, insurDate, line);
    default:
        break;
    }
    QString value;
    return TagUtils::mkTagLine(name, fieldValue(field, 0, value), line);
}

void Appraiser::loadFromStorage(int index, EvaluationStorage& storage)
{
    QString name;
    QString text;
    storage.getTag(TagUtils::appendIndex(typeTag, index, name), text);
    setType(text.toUpper() == markerWord ? APPRAISER : SPECIALIST);
    for (auto key = keys.cbegin(); key != keys.cend(); ++key)
        readField(key.value(), storage.getTag(TagUtils::appendIndex(key.key(), index, name), text));
}

// A value that does not parse is kept as the parse gives it: an invalid date, false, and
// for the limit and the experience -1, "not given", as an empty value was written.
void Appraiser::readField(field_t field, const QString& text)
{
    bool parsed = false;
    switch (field) {
    case ADDITIONAL_RESPONSIBILITY:
        additionalResponsibility = TagUtils::parseBool(text, &parsed);
        break;
    case DIPLOM_DATE:
        TagUtils::parseDate(text, &parsed, diplomDate);
        break;
    case INSUR_DATE:
        TagUtils::parseDate(text, &parsed, insurDate);
        break;
    case INSUR_LIMIT:
        insurLimit = TagUtils::parseInt(text, &parsed);
        break;
    case AGE:
        age = TagUtils::parseInt(text, &parsed);
        break;
    default:
        texts[field] = text;
        break;
    }
}
