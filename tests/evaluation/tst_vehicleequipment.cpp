#include "catalog/sqlstorage.h"
#include "catalog/vehiclebodytypecatalog.h"
#include "evaluation/equipmentontag.h"
#include "evaluation/equipmenttableontag.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/vehicleontag.h"
#include "runtime/singletonregistry.h"
#include "values/tagtypes.h"

#include <QBuffer>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

// A fully filled vehicle and all three equipment tables are written back line for line
// by tst_fullevaluation; this test covers the values and edits that evaluation has not.
namespace {

// The value the vehicle writes for a tag; "<missing>" when it writes no such line.
QString writtenValue(VehicleOnTag& vehicle, const QString& tag)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    vehicle.save(buffer);
    const QString text = QLatin1Char('\n') + QString::fromUtf8(buffer.data());
    const qsizetype start = text.indexOf(QLatin1Char('\n') + tag + QLatin1Char('='));
    return start < 0 ? QStringLiteral("<missing>") : text.mid(start + tag.size() + 2).section(QLatin1Char('\n'), 0, 0);
}

// Stores "A=1;B=2" as the tags "<prefix>A" and "<prefix>B".
void setTags(EvaluationTagStorage& storage, const QString& prefix, const QString& packed)
{
    for (const QString& line : packed.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        storage.setTag(prefix + line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1));
}

} // namespace

class TestVehicleEquipment : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void vehicleValues_data();
    void vehicleValues();
    void resolvedTags_data();
    void resolvedTags();
    void rowEditingBounds_data();
    void rowEditingBounds();
};

// The database file outlives the singletons, which every case drops at its end. Both
// types have a brand "Лада" and both brands a model "Веста": only the type and brand
// filters tell them apart.
void TestVehicleEquipment::initTestCase()
{
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const char* statement :
         {"insert into vehicletype (id_vt, name) values (1, 'Легковой'), (2, 'Грузовой')",
          "insert into vehiclebrand (id_vb, id_vt, name) values (10, 1, 'Лада'), (11, 2, 'Лада')",
          "insert into vehiclemodel (id_vm, id_vb, name) values (100, 10, 'Веста'), (101, 11, 'Веста')",
          "insert into vehiclebodytype (id_vbt, id_vt, name) values (5, 1, 'Седан')"})
        QVERIFY2(query.exec(QString::fromUtf8(statement)), statement);
}

// The first stored tag is read (with flags "Y" and "R") and written back.
void TestVehicleEquipment::vehicleValues_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected"); // in reports and in the file alike
    QTest::addColumn<QList<int>>("ids");   // type, brand, model, body type, transmission, displacement
    const QList<int> noIds(6, -1);
    const auto row = [](const char* title, const char* stored, const char* expected, const QList<int>& ids) {
        QTest::newRow(title) << QString::fromUtf8(stored) << QString::fromUtf8(expected) << ids;
    };

    row("all in the catalogs", "ТИП_ТС=Легковой;МАРКА_ТС=Лада;МОДЕЛЬ_ТС=Веста;ТИП_КУЗОВА=Седан;ТИП_КПП=Вариатор;"
                               "РАБОЧИЙ_ОБЪЕМ=1596", "Легковой", {1, 10, 100, 5, 3, 1596});
    row("same names under another type", "ТИП_ТС=Грузовой;МАРКА_ТС=Лада;МОДЕЛЬ_ТС=Веста", "Грузовой",
        {2, 11, 101, -1, -1, -1});
    // Kept as written when the catalog does not know it (an empty catalog before the first update).
    row("type not in the catalog", "ТИП_ТС=Мотоцикл;МАРКА_ТС=Лада;ТИП_КУЗОВА=Седан", "Мотоцикл",
        {-1, -1, -1, 5, -1, -1});
    row("transmission not in the catalog", "ТИП_КПП=Робот", "Робот", noIds);
    // Every field that is not plain text makes unreadable text empty (a flag "no").
    for (const char* tag : {"ДАТА_ПТС", "ДАТА_ВЫПУСКА_ТС", "РАБОЧИЙ_ОБЪЕМ", "ПРОБЕГ_КМ", "ПРОБЕГ_МИЛЬ",
                            "МОЩНОСТЬ_КВТ", "МОЩНОСТЬ_ЛС", "БАЛАНСОВАЯ_СТОИМОСТЬ_ТС"})
        QTest::newRow(tag) << QString::fromUtf8(tag) + QStringLiteral("=1,6 л") << QString() << noIds;
    row("flag", "ПТС_ДУБЛИКАТ=1,6 л", "Нет", noIds);
    row("text", "VIN=1,6 л", "1,6 л", noIds);
    row("impossible date", "ДАТА_ПТС=31.02.2020", "", noIds);
}

void TestVehicleEquipment::vehicleValues()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QFETCH(QList<int>, ids);

    EvaluationTagStorage storage;
    setTags(storage, QString(), stored);
    VehicleBodyTypeCatalog::getInstance()->setVehicleType(1); // as the host does for the chosen type
    VehicleOnTag vehicle(&storage);
    QCOMPARE(QList<int>({vehicle.getVehicleTypeId(), vehicle.getBrandId(), vehicle.getModelId(),
                         vehicle.getBodyTypeId(), vehicle.getTransmissionId(), vehicle.getDisplacement()}), ids);
    const QString tag = stored.section(QLatin1Char('='), 0, 0);
    QString value = QStringLiteral("stale");
    QVERIFY(vehicle.getTag(tag, value, TAGFLAG_YEAR | TAGFLAG_WORDS));
    QCOMPARE(value, expected);
    QCOMPARE(writtenValue(vehicle, tag), expected);
}

// What a report gets for a tag name from the vehicle and equipment sections.
void TestVehicleEquipment::resolvedTags_data()
{
    QTest::addColumn<QString>("prefix"); // before every stored tag and the name
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("expected"); // "<unknown>": no section answers the name
    const auto row = [](const char* title, const char* prefix, const char* stored, const char* name, long flags,
                        const char* expected) {
        QTest::newRow(title) << QString::fromUtf8(prefix) << QString::fromUtf8(stored) << QString::fromUtf8(name)
                             << flags << QString::fromUtf8(expected);
    };
    const char* completion = "ДОУКОМПЛЕКТАЦИЯ_";
    const char* removal = "РАЗУКОМПЛЕКТАЦИЯ_";
    const char* conversion = "ПЕРЕОБОРУДОВАНИЕ_";
    const char* inWords = "Две тысячи пятьсот рублей 00 копеек";
    const char* cells = "СТРОКА_0=Да;ДЕТАЛЬ_0=A;СНЯТО_ЦЕНА_0=3000;ИЗНОС_0=0.3;АМОРТИЗАЦИЯ_0=Нет";

    row("date", "", "ДАТА_ВЫПУСКА_ТС=05.12.2018", "ДАТА_ВЫПУСКА_ТС", 0, "05.12.2018");
    row("date, year", "", "ДАТА_ВЫПУСКА_ТС=05.12.2018", "ДАТА_ВЫПУСКА_ТС", TAGFLAG_YEAR, "2018");
    row("money, rounded", "", "БАЛАНСОВАЯ_СТОИМОСТЬ_ТС=1234567.89", "БАЛАНСОВАЯ_СТОИМОСТЬ_ТС", TAGFLAG_ROUND_T,
        "1250000");
    row("repair cost empty", "", "", "СТОИМОСТЬ_ВОССТ_РЕМОНТА", 0, "0");
    row("table price, in words", completion, "СТРОКА_0=Да;ЦЕНА_0=2500", "ЦЕНА_0", TAGFLAG_WORDS, inWords);
    row("removed part price", conversion, cells, "СНЯТО_ЦЕНА_0", 0, "3000");
    row("stored depreciation", conversion, cells, "АМОРТИЗАЦИЯ_0", 0, "Нет");
    row("depreciation past the rows", conversion, cells, "АМОРТИЗАЦИЯ_1", 0, "");
    // A completion row's depreciation follows its wear, whatever flag is stored.
    row("completion, some wear", completion, cells, "АМОРТИЗАЦИЯ_0", 0, "Да");
    row("completion, zero wear", completion, "СТРОКА_0=Да;ИЗНОС_0=0;АМОРТИЗАЦИЯ_0=Да", "АМОРТИЗАЦИЯ_0", 0, "Нет");
    row("completion, no wear", completion, "СТРОКА_0=Да;АМОРТИЗАЦИЯ_0=Да", "АМОРТИЗАЦИЯ_0", 0, "Нет");
    row("removal has no wear", removal, cells, "ИЗНОС_0", 0, "");
    row("rows end at a gap", removal, "СТРОКА_0=Да;ДЕТАЛЬ_1=B;СТРОКА_2=Да;ДЕТАЛЬ_2=C", "ДЕТАЛЬ_2", 0, "");
    row("rows go on without a gap", removal, "СТРОКА_0=Да;СТРОКА_1=true;СТРОКА_2=Да;ДЕТАЛЬ_2=C", "ДЕТАЛЬ_2", 0, "C");
    row("false marker is a gap", removal, "СТРОКА_0=Да;СТРОКА_1=Нет;СТРОКА_2=Да;ДЕТАЛЬ_2=C", "ДЕТАЛЬ_2", 0, "");
    row("column without a row", conversion, cells, "ДЕТАЛЬ", 0, "<unknown>");
    row("row marker", conversion, cells, "СТРОКА_0", 0, "<unknown>");
}

void TestVehicleEquipment::resolvedTags()
{
    QFETCH(QString, prefix);
    QFETCH(QString, stored);
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(QString, expected);

    EvaluationTagStorage storage;
    setTags(storage, prefix, stored);
    VehicleOnTag vehicle(&storage);
    EquipmentOnTag equipment(&storage);
    QString value = QStringLiteral("<unknown>");
    const bool known = vehicle.getTag(prefix + name, value, flags) || equipment.getTag(prefix + name, value, flags);
    QCOMPARE(value, expected);
    QCOMPARE(known, expected != QStringLiteral("<unknown>"));
}

void TestVehicleEquipment::rowEditingBounds_data()
{
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("parts"); // of the rows afterwards

    QTest::newRow("insert first") << true << 0 << true << QStringLiteral(",A,B");
    QTest::newRow("insert at count appends") << true << 2 << true << QStringLiteral("A,B,");
    QTest::newRow("insert beyond count") << true << 3 << false << QStringLiteral("A,B");
    QTest::newRow("insert negative") << true << -1 << false << QStringLiteral("A,B");
    QTest::newRow("remove first") << false << 0 << true << QStringLiteral("B");
    QTest::newRow("remove at count") << false << 2 << false << QStringLiteral("A,B");
}

void TestVehicleEquipment::rowEditingBounds()
{
    QFETCH(bool, insert);
    QFETCH(int, row);
    QFETCH(bool, accepted);
    QFETCH(QString, parts);

    EvaluationTagStorage storage;
    setTags(storage, QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_"),
            QStringLiteral("СТРОКА_0=Да;ДЕТАЛЬ_0=A;СТРОКА_1=Да;ДЕТАЛЬ_1=B"));
    EquipmentTableOnTag table(EquipmentTable::Completion, &storage);
    QCOMPARE(insert ? table.insertRow(row) : table.removeRow(row), accepted);
    // Writing to a row that does not exist changes nothing.
    table.setPart(table.count(), QStringLiteral("X"));
    table.setPart(-1, QStringLiteral("X"));
    QStringList actual;
    QString part;
    for (int i = 0; i <= table.count(); ++i)
        actual.append(table.getPart(i, part));
    QCOMPARE(actual, parts.split(QLatin1Char(',')) << QString()); // a row past the end reads empty
    bool valid = true;
    QVERIFY(!table.getDepreciation(table.count(), &valid) && !valid);
    // Edits stay in memory until the next save.
    QCOMPARE(storage.getTag(QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ_0"), part), QStringLiteral("A"));
}

QTEST_MAIN(TestVehicleEquipment)
#include "tst_vehicleequipment.moc"
