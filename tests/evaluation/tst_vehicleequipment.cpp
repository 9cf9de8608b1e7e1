#include "catalog/sqlstorage.h"
#include "catalog/vehiclebodytypecatalog.h"
#include "evaluation/equipmentontag.h"
#include "evaluation/equipmenttableontag.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/vehicleontag.h"
#include "runtime/singletonregistry.h"
#include "values/tagtypes.h"
#include "values/tagutils.h"

#include "recordingappender.h"

#include <QBuffer>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {

void run(const QString& statement, const QVariantList& values)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    QVERIFY2(query.exec(), qPrintable(statement));
}

// Both types have a brand "Лада" and both brands a model "Веста": only the type and
// brand filters tell them apart.
void fillVehicleCatalogs()
{
    const QString type = QStringLiteral("insert into vehicletype(id_vt,name) values (?,?)");
    run(type, {1, QStringLiteral("Легковой")});
    run(type, {2, QStringLiteral("Грузовой")});
    const QString brand = QStringLiteral("insert into vehiclebrand(id_vb,id_vt,name) values (?,?,?)");
    run(brand, {10, 1, QStringLiteral("Лада")});
    run(brand, {11, 2, QStringLiteral("Лада")});
    const QString model = QStringLiteral("insert into vehiclemodel(id_vm,id_vb,name) values (?,?,?)");
    run(model, {100, 10, QStringLiteral("Веста")});
    run(model, {101, 11, QStringLiteral("Веста")});
    run(QStringLiteral("insert into vehiclebodytype(id_vbt,id_vt,name) values (?,?,?)"),
        {5, 1, QStringLiteral("Седан")});
}

template <typename Section>
QStringList writtenLines(Section& section)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    section.save(buffer);
    QStringList lines = QString::fromUtf8(buffer.data()).split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString writtenValue(const QStringList& lines, const QString& tag)
{
    for (const QString& line : lines) {
        if (line.startsWith(tag + QLatin1Char('=')))
            return line.mid(tag.size() + 1);
    }
    return QStringLiteral("<missing>");
}

// Stores tag lines the way loading an evaluation file does, escapes undone.
void setTags(EvaluationTagStorage& storage, const QStringList& lines)
{
    for (const QString& line : lines) {
        QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1);
        storage.setTag(line.left(line.indexOf(QLatin1Char('='))), TagUtils::unescapeTagValue(value));
    }
}

// "A=1;B=2" with a prefix before every line.
QStringList tagLines(const QString& prefix, const QString& packed)
{
    QStringList lines = packed.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& line : lines)
        line.prepend(prefix);
    return lines;
}

QString resolve(EvaluationTagStorage& storage, const QString& name, long flags, bool* known)
{
    VehicleOnTag vehicle(&storage);
    EquipmentOnTag equipment(&storage);
    QString value = QStringLiteral("<untouched>");
    *known = vehicle.getTag(name, value, flags) || equipment.getTag(name, value, flags);
    return value;
}

} // namespace

class TestVehicleEquipment : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { SingletonRegistry::destroyAllForTesting(); }
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void vehicleWritesEveryFieldInOrder();
    void catalogIds_data();
    void catalogIds();
    void brandAndModelChangesAreLogged();
    void unreadableValues_data();
    void unreadableValues();
    void resolverFlags_data();
    void resolverFlags();

    void tableWriterPerKind_data();
    void tableWriterPerKind();
    void tableCells_data();
    void tableCells();
    void rowEditingBounds_data();
    void rowEditingBounds();
    void equipmentWriterOrder();
};

// The database file outlives the singletons, which every case starts afresh.
void TestVehicleEquipment::initTestCase()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    fillVehicleCatalogs();
}

// Loading the lines of a file and saving again gives the same lines: every field is
// written, in this order, in the text form of its kind.
void TestVehicleEquipment::vehicleWritesEveryFieldInOrder()
{
    const QStringList expected = tagLines(
        QString(), QStringLiteral("ТИП_ТС=Легковой;МАРКА_ТС=Лада;ТИП_КУЗОВА=Седан;МОДЕЛЬ_ТС=Веста;"
                                  "ТИП_КПП=Автоматическая;КОМПЛЕКТАЦИЯ_ТС=Комфорт;"
                                  "СВИДЕТЕЛЬСТВО_О_РЕГИСТРАЦИИ=99 01 123456;"
                                  "ДАТА_СВИДЕТЕЛЬСТВА_О_РЕГИСТРАЦИИ=20.03.2019;ПТС=63 ОК 654321;ДАТА_ПТС=01.03.2019;"
                                  "ПТС_ДУБЛИКАТ=Да;РЕГИСТРАЦИОННЫЙ_ЗНАК=А123ВС77;ДАТА_ВЫПУСКА_ТС=05.12.2018;"
                                  "VIN=XTA21000012345678;НОМЕР_ДВИГАТЕЛЯ=21129 1234567;НОМЕР_ШАССИ=отсутствует;"
                                  "МОДЕЛЬ_ДВИГАТЕЛЯ=21129;НОМЕР_КУЗОВА=XTA21000012345679;ЦВЕТ_КУЗОВА=белый;"
                                  "МЕСТО_НАХОЖДЕНИЯ_ТС=Москва;РАБОЧИЙ_ОБЪЕМ=1596;МОЩНОСТЬ_КВТ=78.5;МОЩНОСТЬ_ЛС=106;"
                                  "ПРОБЕГ_КМ=45000;ПРОБЕГ_МИЛЬ=27962;НОМЕР_АКТА_ОСМОТРА=17/2024;"
                                  "ДАТА_АКТА_ОСМОТРА=14.05.2024;ПРИ_ОСМОТРЕ_ТС_ОБНАРУЖЕНО=скол на капоте\\nвмятина;"
                                  "СОСТОЯНИЕ_ТС=хорошее;ТЕКУЩЕЕ_ИСПОЛЬЗОВАНИЕ_ТС=личное;ОБРЕМЕНЕНИЯ_ТС=залог;"
                                  "ИНВЕНТАРНЫЙ_НОМЕР_ТС=ОС-17;БАЛАНСОВАЯ_СТОИМОСТЬ_ТС=450000.50;"
                                  "ОСНОВАНИЕ_БАЛАНСОВОЙ_СТОИМОСТИ_ТС=ведомость;ДАТА_БАЛАНСОВОЙ_СТОИМОСТИ_ТС=01.04.2024;"
                                  "ДРУГИЕ_ФАКТОРЫ_ТС=C:\\\\фото"));
    EvaluationTagStorage storage;
    setTags(storage, expected);
    VehicleOnTag vehicle(&storage);
    QCOMPARE(writtenLines(vehicle), expected);
    // Escaping for the file works on copies: the stored value keeps its line feed.
    QString findings;
    QCOMPARE(vehicle.getInspectionFindings(findings), QStringLiteral("скол на капоте\nвмятина"));

    // Type and transmission are set by catalog id, and stored as the catalog's name.
    vehicle.setVehicleType(2);
    vehicle.setTransmissionId(4);
    vehicle.setMileageMiles(-1);
    vehicle.setBookValue(Money(12, 5));
    const QStringList lines = writtenLines(vehicle);
    QCOMPARE(lines.mid(0, 5).join(QLatin1Char(';')),
             QStringLiteral("ТИП_ТС=Грузовой;МАРКА_ТС=Лада;ТИП_КУЗОВА=Седан;МОДЕЛЬ_ТС=Веста;"
                            "ТИП_КПП=Робот. с одним сцеплением"));
    QCOMPARE(writtenValue(lines, QStringLiteral("ПРОБЕГ_МИЛЬ")), QString());
    QCOMPARE(writtenValue(lines, QStringLiteral("БАЛАНСОВАЯ_СТОИМОСТЬ_ТС")), QStringLiteral("12.05"));
    vehicle.setVehicleType(99);
    QCOMPARE(vehicle.getVehicleTypeId(), -1);
    QString stored;
    QCOMPARE(storage.getTag(QStringLiteral("ТИП_ТС"), stored), QString());
}

void TestVehicleEquipment::catalogIds_data()
{
    QTest::addColumn<QString>("stored"); // type;brand;model;body type;transmission
    QTest::addColumn<QList<int>>("ids");  // in the same order
    QTest::addColumn<QString>("typeRead");

    QTest::newRow("all in the catalogs") << QStringLiteral("Легковой;Лада;Веста;Седан;Вариатор")
                                         << QList<int>{1, 10, 100, 5, 3} << QStringLiteral("Легковой");
    QTest::newRow("same names under another type") << QStringLiteral("Грузовой;Лада;Веста;;")
                                                   << QList<int>{2, 11, 101, -1, -1} << QStringLiteral("Грузовой");
    QTest::newRow("type not in the catalog") << QStringLiteral("Мотоцикл;Лада;Веста;Седан;вариатор")
                                             << QList<int>{-1, -1, -1, 5, -1} << QString();
    QTest::newRow("nothing chosen") << QStringLiteral(";;;;") << QList<int>{-1, -1, -1, -1, -1} << QString();
}

void TestVehicleEquipment::catalogIds()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, ids);
    QFETCH(QString, typeRead);

    const QStringList values = stored.split(QLatin1Char(';'));
    EvaluationTagStorage storage;
    const QStringList tags = {QStringLiteral("ТИП_ТС"), QStringLiteral("МАРКА_ТС"), QStringLiteral("МОДЕЛЬ_ТС"),
                              QStringLiteral("ТИП_КУЗОВА"), QStringLiteral("ТИП_КПП")};
    for (int i = 0; i < tags.size(); ++i)
        storage.setTag(tags.at(i), values.at(i));
    VehicleBodyTypeCatalog::getInstance()->setVehicleType(1); // as the host does for the chosen type
    VehicleOnTag vehicle(&storage);

    QCOMPARE(QList<int>({vehicle.getVehicleTypeId(), vehicle.getBrandId(), vehicle.getModelId(),
                         vehicle.getBodyTypeId(), vehicle.getTransmissionId()}),
             ids);
    QString read = QStringLiteral("stale");
    QCOMPARE(vehicle.getVehicleType(read), typeRead);
    QVERIFY(vehicle.getTag(tags.at(0), read, 0));
    QCOMPARE(read, typeRead);
    const QStringList lines = writtenLines(vehicle);
    QCOMPARE(writtenValue(lines, tags.at(0)), typeRead);
    QCOMPARE(writtenValue(lines, tags.at(4)), ids.at(4) == -1 ? QString() : values.at(4));
}

void TestVehicleEquipment::brandAndModelChangesAreLogged()
{
    RecordingAppender appender;
    AppenderRegistration registration(&appender);
    EvaluationTagStorage storage;
    VehicleOnTag vehicle(&storage);
    vehicle.setBrand(QStringLiteral("Лада"));
    vehicle.setModel(QStringLiteral("Веста"));
    vehicle.setVin(QStringLiteral("not logged"));

    QCOMPARE(appender.recorded().at(0).level, Logger::Trace);
    QCOMPARE(appender.messages(), QStringList({QStringLiteral("\"МАРКА_ТС\" \"Лада\""),
                                               QStringLiteral("\"МОДЕЛЬ_ТС\" \"Веста\"")}));
}

void TestVehicleEquipment::unreadableValues_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected"); // in reports and in the file alike

    // Every field that is not plain text makes unreadable text empty (a flag "no").
    const QStringList typedFields =
        tagLines(QString(), QStringLiteral("ДАТА_СВИДЕТЕЛЬСТВА_О_РЕГИСТРАЦИИ;ДАТА_ПТС;ДАТА_ВЫПУСКА_ТС;"
                                           "ДАТА_АКТА_ОСМОТРА;ДАТА_БАЛАНСОВОЙ_СТОИМОСТИ_ТС;РАБОЧИЙ_ОБЪЕМ;"
                                           "ПРОБЕГ_КМ;ПРОБЕГ_МИЛЬ;МОЩНОСТЬ_КВТ;МОЩНОСТЬ_ЛС;БАЛАНСОВАЯ_СТОИМОСТЬ_ТС"));
    for (const QString& tag : typedFields)
        QTest::addRow("%s", qPrintable(tag)) << tag << QStringLiteral("1,6 л") << QString();
    QTest::newRow("flag") << QStringLiteral("ПТС_ДУБЛИКАТ") << QStringLiteral("1,6 л") << QStringLiteral("Нет");
    QTest::newRow("text") << QStringLiteral("VIN") << QStringLiteral("1,6 л") << QStringLiteral("1,6 л");
    QTest::newRow("impossible date") << QStringLiteral("ДАТА_ПТС") << QStringLiteral("31.02.2020") << QString();
}

void TestVehicleEquipment::unreadableValues()
{
    QFETCH(QString, tag);
    QFETCH(QString, stored);
    QFETCH(QString, expected);

    EvaluationTagStorage storage;
    storage.setTag(tag, stored);
    VehicleOnTag vehicle(&storage);
    QString value;
    QVERIFY(vehicle.getTag(tag, value, TAGFLAG_YEAR | TAGFLAG_WORDS));
    QCOMPARE(value, expected);
    QCOMPARE(writtenValue(writtenLines(vehicle), tag), expected);
    if (tag == QStringLiteral("РАБОЧИЙ_ОБЪЕМ"))
        QCOMPARE(vehicle.getDisplacement(), -1);
}

void TestVehicleEquipment::resolverFlags_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("expected");

    const QString made = QStringLiteral("ДАТА_ВЫПУСКА_ТС");
    const QString bookValue = QStringLiteral("БАЛАНСОВАЯ_СТОИМОСТЬ_ТС");
    const QString repairCost = QStringLiteral("СТОИМОСТЬ_ВОССТ_РЕМОНТА");
    const QString inWords = QStringLiteral("Две тысячи пятьсот рублей 00 копеек");
    QTest::newRow("date") << made << QStringLiteral("05.12.2018") << 0L << QStringLiteral("05.12.2018");
    QTest::newRow("date, year") << made << QStringLiteral("05.12.2018") << long(TAGFLAG_YEAR) << QStringLiteral("2018");
    QTest::newRow("money, rounded") << bookValue << QStringLiteral("1234567.89") << long(TAGFLAG_ROUND_T)
                                    << QStringLiteral("1250000");
    QTest::newRow("money, in words") << bookValue << QStringLiteral("2500") << long(TAGFLAG_WORDS) << inWords;
    QTest::newRow("repair cost empty") << repairCost << QString() << 0L << QStringLiteral("0");
    QTest::newRow("repair cost empty, in words") << repairCost << QString() << long(TAGFLAG_WORDS)
                                                 << QStringLiteral("Ноль рублей 00 копеек");
    QTest::newRow("table price, in words") << QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_ЦЕНА_0") << QStringLiteral("2500")
                                           << long(TAGFLAG_WORDS) << inWords;
}

void TestVehicleEquipment::resolverFlags()
{
    QFETCH(QString, tag);
    QFETCH(QString, stored);
    QFETCH(long, flags);
    QFETCH(QString, expected);

    EvaluationTagStorage storage;
    setTags(storage, {QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_СТРОКА_0=Да"), tag + QLatin1Char('=') + stored});
    bool known = false;
    QCOMPARE(resolve(storage, tag, flags, &known), expected);
    QVERIFY(known);
}

void TestVehicleEquipment::tableWriterPerKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");

    const QString row0 = QStringLiteral("СТРОКА_0=Да;ДЕТАЛЬ_0=Фаркоп;ИСТОЧНИК_0=прайс\\nдилера;ЦЕНА_0=12500;"
                                         "РАБОТА_0=1500.50;");
    const QString row1 = QStringLiteral("СТРОКА_1=Да;ДЕТАЛЬ_1=;ИСТОЧНИК_1=;ЦЕНА_1=;РАБОТА_1=;");
    QTest::newRow("completion") << 0
                                << tagLines(QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_"),
                                            row0 + QStringLiteral("ИЗНОС_0=0.3;") + row1 + QStringLiteral("ИЗНОС_1="));
    QTest::newRow("removal") << 1
                             << tagLines(QStringLiteral("РАЗУКОМПЛЕКТАЦИЯ_"),
                                         row0 + QStringLiteral("АМОРТИЗАЦИЯ_0=Да;") + row1
                                             + QStringLiteral("АМОРТИЗАЦИЯ_1=Нет"));
    QTest::newRow("conversion")
        << 2
        << tagLines(QStringLiteral("ПЕРЕОБОРУДОВАНИЕ_"),
                    row0
                        + QStringLiteral("АМОРТИЗАЦИЯ_0=Да;ИЗНОС_0=0.3;СНЯТО_ДЕТАЛЬ_0=Бампер;"
                                         "СНЯТО_ИСТОЧНИК_0=склад;СНЯТО_ЦЕНА_0=3000;")
                        + row1
                        + QStringLiteral("АМОРТИЗАЦИЯ_1=Нет;ИЗНОС_1=;СНЯТО_ДЕТАЛЬ_1=;СНЯТО_ИСТОЧНИК_1=;"
                                         "СНЯТО_ЦЕНА_1="));
}

void TestVehicleEquipment::tableWriterPerKind()
{
    QFETCH(int, kind);
    QFETCH(QStringList, expected);

    EvaluationTagStorage storage;
    EquipmentTableOnTag table(kind, &storage);
    QVERIFY(table.insertRow(0) && table.insertRow(1));
    table.setPart(0, QStringLiteral("Фаркоп"));
    table.setSource(0, QStringLiteral("прайс\nдилера"));
    table.setPrice(0, Money(12500, 0));
    table.setWork(0, Money(1500, 50));
    table.setDepreciation(0, true);
    table.setWear(0, Real(0.3));
    table.setRemovedPart(0, QStringLiteral("Бампер"));
    table.setRemovedPartSource(0, QStringLiteral("склад"));
    table.setRemovedPartPrice(0, Money(3000, 0));
    QCOMPARE(writtenLines(table), expected);

    // What a table writes, a new table reads back as the same rows.
    EvaluationTagStorage reloaded;
    setTags(reloaded, expected);
    EquipmentTableOnTag reread(kind, &reloaded);
    QCOMPARE(writtenLines(reread), expected);
}

void TestVehicleEquipment::tableCells_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("stored"); // row 0 has its marker already
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("expected");

    const QString completion = QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_");
    const QString removal = QStringLiteral("РАЗУКОМПЛЕКТАЦИЯ_");
    const QString conversion = QStringLiteral("ПЕРЕОБОРУДОВАНИЕ_");
    const QString row = QStringLiteral("ДЕТАЛЬ_0=A;СНЯТО_ЦЕНА_0=3000;ИЗНОС_0=0.3;АМОРТИЗАЦИЯ_0=Нет");
    const QString gap = QStringLiteral("ДЕТАЛЬ_0=A;ДЕТАЛЬ_1=B;СТРОКА_2=Да;ДЕТАЛЬ_2=C");
    const QString no = QStringLiteral("Нет");
    const QString yes = QStringLiteral("Да");
    const QString untouched = QStringLiteral("<untouched>");
    QTest::newRow("removed part price") << conversion << row << QStringLiteral("СНЯТО_ЦЕНА_0") << true
                                        << QStringLiteral("3000");
    QTest::newRow("wear") << conversion << row << QStringLiteral("ИЗНОС_0") << true << QStringLiteral("0.3");
    QTest::newRow("stored depreciation") << conversion << row << QStringLiteral("АМОРТИЗАЦИЯ_0") << true << no;
    QTest::newRow("depreciation past the rows") << conversion << row << QStringLiteral("АМОРТИЗАЦИЯ_1") << true
                                                << QString();
    QTest::newRow("price past the rows") << conversion << row << QStringLiteral("ЦЕНА_7") << true << QString();
    QTest::newRow("completion, some wear") << completion << row << QStringLiteral("АМОРТИЗАЦИЯ_0") << true << yes;
    QTest::newRow("completion, zero wear") << completion << QStringLiteral("ИЗНОС_0=0;АМОРТИЗАЦИЯ_0=Да")
                                           << QStringLiteral("АМОРТИЗАЦИЯ_0") << true << no;
    QTest::newRow("completion, no wear") << completion << QStringLiteral("АМОРТИЗАЦИЯ_0=Да")
                                         << QStringLiteral("АМОРТИЗАЦИЯ_0") << true << no;
    QTest::newRow("removal has no wear") << removal << row << QStringLiteral("ИЗНОС_0") << true << QString();
    QTest::newRow("rows end at a gap") << removal << gap << QStringLiteral("ДЕТАЛЬ_2") << true << QString();
    QTest::newRow("rows go on without a gap")
        << removal << gap + QStringLiteral(";СТРОКА_1=true") << QStringLiteral("ДЕТАЛЬ_2") << true
        << QStringLiteral("C");
    QTest::newRow("false marker is a gap") << removal << gap + QStringLiteral(";СТРОКА_1=Нет")
                                           << QStringLiteral("ДЕТАЛЬ_2") << true << QString();
    QTest::newRow("column without a row") << conversion << row << QStringLiteral("ДЕТАЛЬ") << false << untouched;
    QTest::newRow("row marker") << conversion << row << QStringLiteral("СТРОКА_0") << false << untouched;
}

void TestVehicleEquipment::tableCells()
{
    QFETCH(QString, prefix);
    QFETCH(QString, stored);
    QFETCH(QString, name);
    QFETCH(bool, known);
    QFETCH(QString, expected);

    EvaluationTagStorage storage;
    setTags(storage, tagLines(prefix, QStringLiteral("СТРОКА_0=Да;") + stored));
    bool answered = false;
    QCOMPARE(resolve(storage, prefix + name, 0, &answered), expected);
    QCOMPARE(answered, known);
}

void TestVehicleEquipment::rowEditingBounds_data()
{
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("parts");

    const QStringList unchanged = {QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("insert first") << true << 0 << true
                                  << QStringList{QString(), QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("insert at count appends") << true << 2 << true
                                             << QStringList{QStringLiteral("A"), QStringLiteral("B"), QString()};
    QTest::newRow("insert beyond count") << true << 3 << false << unchanged;
    QTest::newRow("insert negative") << true << -1 << false << unchanged;
    QTest::newRow("remove first") << false << 0 << true << QStringList{QStringLiteral("B")};
    QTest::newRow("remove at count") << false << 2 << false << unchanged;
    QTest::newRow("remove negative") << false << -1 << false << unchanged;
}

void TestVehicleEquipment::rowEditingBounds()
{
    QFETCH(bool, insert);
    QFETCH(int, row);
    QFETCH(bool, accepted);
    QFETCH(QStringList, parts);

    EvaluationTagStorage storage;
    setTags(storage, tagLines(QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_"),
                              QStringLiteral("СТРОКА_0=Да;ДЕТАЛЬ_0=A;СТРОКА_1=Да;ДЕТАЛЬ_1=B")));
    EquipmentTableOnTag table(EquipmentTable::Completion, &storage);
    QCOMPARE(insert ? table.insertRow(row) : table.removeRow(row), accepted);
    // Writing to a row that does not exist changes nothing.
    table.setPart(table.count(), QStringLiteral("X"));
    table.setPart(-1, QStringLiteral("X"));
    QStringList actual;
    QString part;
    for (int i = 0; i <= table.count(); ++i)
        actual.append(table.getPart(i, part));
    QCOMPARE(actual, parts + QStringList{QString()});
    bool valid = true;
    QVERIFY(!table.getDepreciation(table.count(), &valid) && !valid);
    // Edits stay in memory until the next save.
    QCOMPARE(storage.getTag(QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ_0"), part), QStringLiteral("A"));
}

void TestVehicleEquipment::equipmentWriterOrder()
{
    EvaluationTagStorage storage;
    setTags(storage,
            {QStringLiteral("ПЕРЕОБОРУДОВАНИЕ_СТРОКА_0=Да"), QStringLiteral("ЛИЦ_ПП_ДЛЯ_РАСЧ_СТОИМ_РЕМ=№ 42")});
    EquipmentOnTag equipment(&storage);
    equipment.getCompletionTable()->insertRow(0);

    const QStringList lines = writtenLines(equipment);
    const QStringList expectedStart = {
        QStringLiteral("СТОИМОСТЬ_ВОССТ_РЕМОНТА=0"), QStringLiteral("ПП_ДЛЯ_РАСЧ_СТОИМ_РЕМ="),
        QStringLiteral("ЛИЦ_ПП_ДЛЯ_РАСЧ_СТОИМ_РЕМ=№ 42"), QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_СТРОКА_0=Да")};
    QCOMPARE(lines.mid(0, expectedStart.size()), expectedStart);
    // After the six lines of the completion row comes the conversion row read from
    // the tags: a table nobody asked for still writes its rows.
    QCOMPARE(lines.size(), 3 + 6 + 10);
    QCOMPARE(lines.at(9), QStringLiteral("ПЕРЕОБОРУДОВАНИЕ_СТРОКА_0=Да"));
}

QTEST_MAIN(TestVehicleEquipment)
#include "tst_vehicleequipment.moc"
