#include "catalog/appraiser.h"

#include "catalog/catalogtable.h"
#include "catalog/sqlstorage.h"
#include "catalog/sqltransaction.h"
#include "model/evaluationstorage.h"
#include "model/fieldkind.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QIODevice>
#include <QSqlQuery>

namespace {

struct FieldTags
{
    int field;
    const char* specialistTag; // null: an appraiser's field only
    const char* appraiserTag;
    FieldKind::kind_t kind;
    // In "specialist" for the fields every person has, in "appraiser" for the others;
    // null: kept only in evaluations.
    const char* column;
};

// In the order of the field enumeration.
const FieldTags fieldTags[] = {
    {0, "ФАМИЛИЯ_СПЕЦИАЛИСТА", "ФАМИЛИЯ_ОЦЕНЩИКА", FieldKind::Text, "lastname"},
    {1, "ИМЯ_СПЕЦИАЛИСТА", "ИМЯ_ОЦЕНЩИКА", FieldKind::Name, "firstname"},
    {2, "ОТЧЕСТВО_СПЕЦИАЛИСТА", "ОТЧЕСТВО_ОЦЕНЩИКА", FieldKind::Name, "middlename"},
    {3, "ДОП_ИНФ_СПЕЦИАЛИСТА", "ДОПОЛН_ИНФОРМАЦИЯ_ОЦЕНЩИКА", FieldKind::Text, "addinfo"},
    {4, "МЕСТОНАХОЖДЕНИЕ_СПЕЦИАЛИСТА", "МЕСТОНАХОЖДЕНИЕ_ОЦЕНЩИКА", FieldKind::Text, "location"},
    {5, nullptr, "СВЕДЕНИЯ_СРО_ОЦЕНЩИКА", FieldKind::Text, "sro_info"},
    {6, nullptr, "НОМЕР_В_РЕЕСТРЕ_ОЦЕНЩИКА", FieldKind::Text, "sro_number"},
    {7, nullptr, "МЕСТОНАХОЖДЕНИЕ_СРО_ОЦЕНЩИКА", FieldKind::Text, "sro_location"},
    {8, nullptr, "ДОПОЛН_ОТВЕТСТВЕН_ОЦЕНЩИКА", FieldKind::Flag, nullptr},
    {9, nullptr, "КАТЕГОРИЯ_ОЦЕНЩИКА", FieldKind::Text, "category"},
    {10, nullptr, "НОМЕР_ДИПЛОМА_ОЦЕНЩИКА", FieldKind::Text, "diplom_number"},
    {11, nullptr, "СЕРИЯ_ДИПЛОМА_ОЦЕНЩИКА", FieldKind::Text, "diplom_serial"},
    {12, nullptr, "ДАТА_ВЫДАЧИ_ДИПЛОМА_ОЦЕНЩИКА", FieldKind::Date, "diplom_date"},
    {13, nullptr, "ДИПЛОМ_ОЦЕНЩИКА_ВЫДАН", FieldKind::Text, "diplom_org"},
    {14, nullptr, "СТРАХОВОЙ_ПОЛИС_ОЦЕНЩИКА", FieldKind::Text, "insur_number"},
    {15, nullptr, "ДАТА_СТРАХОВОГО_ПОЛИСА_ОЦЕНЩИКА", FieldKind::Date, "insur_date"},
    {16, nullptr, "СТРАХОВАЯ_КОМПАНИЯ_ОЦЕНЩИКА", FieldKind::Text, "insur_org"},
    {17, nullptr, "ЛИМИТ_ОТВЕТСТВЕННОСТИ_ОЦЕНЩИКА", FieldKind::Number, "insur_limit"},
    {18, nullptr, "СТАЖ_ОЦЕНЩИКА", FieldKind::Number, "age"},
};

bool isInTable(const FieldTags& tags, bool specialistTable)
{
    return tags.column && (tags.specialistTag != nullptr) == specialistTable;
}

QStringList columnsOf(bool specialistTable)
{
    QStringList columns;
    for (const FieldTags& tags : fieldTags) {
        if (isInTable(tags, specialistTable))
            columns << QString::fromLatin1(tags.column);
    }
    return columns;
}

QString specialistKey()
{
    return QStringLiteral("id_spec");
}

QString appraiserKey()
{
    return QStringLiteral("id_appr");
}

} // namespace

Appraiser::Appraiser()
{
    for (const FieldTags& tags : fieldTags)
        values[tags.field] = FieldKind::empty(tags.kind);
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
    const QStringList columns = columnsOf(true) + QStringList{appraiserKey()} + columnsOf(false);
    const QString joined = QStringLiteral("specialist left outer join appraiser on (id_spec=id_appr)");
    if (!CatalogTable::select(query, columns, joined, {{specialistKey(), specialistId}}) || !query.next()) {
        initTags();
        return;
    }
    readColumns(true, query);
    if (query.value(appraiserKey()).isNull()) {
        appraiserId = -1;
        setType(SPECIALIST);
        return;
    }
    appraiserId = specialistId;
    readColumns(false, query);
    setType(APPRAISER);
}

QVariantMap Appraiser::row(bool specialistTable) const
{
    QVariantMap columns;
    for (const FieldTags& tags : fieldTags) {
        if (isInTable(tags, specialistTable))
            columns.insert(QString::fromLatin1(tags.column), FieldKind::toColumn(tags.kind, values[tags.field]));
    }
    return columns;
}

// A NULL limit or experience, a value never stored, reads as -1 like an empty tag.
void Appraiser::readColumns(bool specialistTable, const QSqlQuery& query)
{
    for (const FieldTags& tags : fieldTags) {
        if (isInTable(tags, specialistTable))
            values[tags.field] = FieldKind::fromColumn(tags.kind, query.value(QString::fromLatin1(tags.column)));
    }
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
    const QString table = QStringLiteral("specialist");
    QVariantMap person = row(true);
    if (specialistId == -1) {
        if (!CatalogTable::insert(table, person, &specialistId))
            return false;
    } else {
        person.insert(specialistKey(), specialistId);
        if (!CatalogTable::update(table, person, specialistKey()))
            return false;
    }
    if (type == APPRAISER)
        return saveAppraiserRow();
    if (!CatalogTable::remove(QStringLiteral("appraiser"), appraiserKey(), specialistId))
        return false;
    appraiserId = -1;
    return true;
}

bool Appraiser::saveAppraiserRow()
{
    const QString table = QStringLiteral("appraiser");
    QVariantMap certified = row(false);
    certified.insert(appraiserKey(), specialistId);
    const bool stored = appraiserId == -1 ? CatalogTable::insert(table, certified)
                                          : CatalogTable::update(table, certified, appraiserKey());
    if (!stored)
        return false;
    appraiserId = specialistId;
    return true;
}

bool Appraiser::getTag(const QString& name, QString& value, long flags)
{
    const auto found = keys.constFind(name);
    if (found == keys.cend())
        return false;
    FieldKind::reportText(fieldTags[*found].kind, values[*found], flags, value);
    return true;
}

bool Appraiser::save(int index, QIODevice& out)
{
    QByteArray line;
    QString name;
    QString value = QStringLiteral("true");
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(markerWord, index, name), value, line));
    value = type == APPRAISER ? markerWord : specialistWord;
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(typeTag, index, name), value, line));
    for (auto key = keys.cbegin(); key != keys.cend(); ++key) {
        FieldKind::tagText(fieldTags[key.value()].kind, values[key.value()], value);
        out.write(TagUtils::mkTagLine(TagUtils::appendIndex(key.key(), index, name), value, line));
    }
    return true;
}

// A value that does not parse is kept as the parse gives it: an invalid date, false, and
// for the limit and the experience -1, "not given", as an empty value was written.
void Appraiser::loadFromStorage(int index, EvaluationStorage& storage)
{
    QString name;
    QString text;
    storage.getTag(TagUtils::appendIndex(typeTag, index, name), text);
    setType(text.toUpper() == markerWord ? APPRAISER : SPECIALIST);
    for (auto key = keys.cbegin(); key != keys.cend(); ++key) {
        storage.getTag(TagUtils::appendIndex(key.key(), index, name), text);
        values[key.value()] = FieldKind::fromTagText(fieldTags[key.value()].kind, text);
    }
}
