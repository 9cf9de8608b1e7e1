#include "catalog/sqlstorage.h"
#include "catalog/vehiclebodytypecatalog.h"
#include "catalog/vehiclebrandcatalog.h"
#include "catalog/vehiclemodelcatalog.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/vehicle.h"
#include "recordingappender.h"
#include "runtime/singletonregistry.h"
#include "testapproach.h"
#include "zipfixture.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestAutoEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void getTag_data();
    void getTag();
    void logLineCarriesNoValue();
    void approachesOnlyWhenRegistered();
    void loadNarrowsTheVehicleCatalogs();
    void openEvaluationsKeepTheirOwnVehicleIds();
    void openFlag();
};

void TestAutoEvaluation::getTag_data()
{
    QTest::addColumn<QString>("stored"); // the purpose of the evaluation, a text tag
    QTest::addColumn<QString>("name");
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("expected"); // null: not answered

    const QString purpose = QStringLiteral("ЦЕЛЬ_ОЦЕНКИ");
    QTest::newRow("build date") << QString() << "ДАТА_СБОРКИ" << 0L << "06.10.2014";
    QTest::newRow("L: trimmed, lower case") << " Для ЗАЛОГА  " << purpose << 0x20L << "для залога";
    QTest::newRow("L with another flag: trimmed only") << " Для ЗАЛОГА  " << purpose << 0x60L << "Для ЗАЛОГА";
    QTest::newRow("P: a percentage") << "0.125" << purpose << 0x40L << "12.5";
    QTest::newRow("P: not a number") << "много" << purpose << 0x40L << "много";
    QTest::newRow("P: empty stays empty") << "" << purpose << 0x40L << "";
    QTest::newRow("nobody knows it") << QString() << "НЕТ_ТАКОГО_ТЕГА" << 0L << QString();
}

void TestAutoEvaluation::getTag()
{
    QFETCH(QString, stored);
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(QString, expected);

    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    storage.setTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), stored);
    QString value = QStringLiteral("left over");
    QCOMPARE(facade.getTag(name, value, flags), !expected.isNull());
    QCOMPARE(value, expected);
    QCOMPARE(value.isNull(), expected.isNull());
}

void TestAutoEvaluation::logLineCarriesNoValue()
{
    RecordingAppender appender;
    AppenderRegistration registration(&appender);
    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    storage.setTag(QStringLiteral("ФАМИЛИЯ_ЗАКАЗЧИКА_ФЛ"), QStringLiteral("Иванов"));
    QString value;
    QVERIFY(facade.getTag(QStringLiteral("фамилия_заказчика_фл"), value, 0));
    const QString line = appender.messages().last();
    QVERIFY2(line.contains(QStringLiteral("ФАМИЛИЯ_ЗАКАЗЧИКА_ФЛ")) && line.contains(QStringLiteral("ok= true")),
             qPrintable(line));
    QVERIFY2(!line.contains(QStringLiteral("Иванов")), qPrintable(line));
}

void TestAutoEvaluation::approachesOnlyWhenRegistered()
{
    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    QString value;
    Money cost(1, 0);
    QVERIFY(!facade.getTag(QStringLiteral("ЗП_СТОИМОСТЬ"), value, 0));
    QVERIFY(facade.getAnalogFullCost(cost).isNull());

    // Two approaches under the same tag key: the cost approach is asked first, and the
    // reconciliation before both.
    TestApproach cost1 = TestApproach::cost(storage);
    TestApproach cost2 = TestApproach::cost(storage);
    TestApproach reconciledLookalike(storage, QStringLiteral("Подход"), QStringLiteral("СОГЛАСОВАННАЯ"));
    cost1.setCost(Money(100, 0));
    cost1.setAnalogFullCost(Money(300, 0));
    cost2.setCost(Money(200, 0));
    facade.registerApproach(APPROACH_COST, cost1);
    facade.registerApproach(APPROACH_COMPARATIVE, cost2);
    QVERIFY(facade.getTag(QStringLiteral("ЗП_СТОИМОСТЬ"), value, 0));
    QCOMPARE(value, QStringLiteral("100"));
    QCOMPARE(facade.getAnalogFullCost(cost), Money(300, 0));
    facade.registerApproach(APPROACH_COMPARATIVE, reconciledLookalike);
    reconciledLookalike.setCost(Money(5, 0));
    QVERIFY(facade.getTag(QStringLiteral("СОГЛАСОВАННАЯ_СТОИМОСТЬ"), value, 0));
    QVERIFY(value != QStringLiteral("5"));
}

namespace {

// Two vehicle types with a body type, brands and models of their own.
bool fillVehicleCatalogs()
{
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const char* statement :
         {"insert into vehicletype (id_vt, name) values (1, 'Легковой автомобиль'), (2, 'Грузовой автомобиль')",
          "insert into vehiclebodytype (id_vbt, id_vt, name) values (4, 1, 'Седан'), (5, 2, 'Фургон')",
          "insert into vehiclebrand (id_vb, id_vt, name) values (7, 1, 'Лада'), (8, 2, 'КАМАЗ'), (6, 1, 'УАЗ')",
          "insert into vehiclemodel (id_vm, id_vb, name) values (9, 7, 'Веста'), (10, 6, 'Патриот'), (11, 8, 'К5')"})
        if (!query.exec(QString::fromUtf8(statement)))
            return false;
    return true;
}

QString writeEvaluation(const QTemporaryDir& dir, const QString& name, const char* tagLines)
{
    const QString file = dir.filePath(name);
    if (!writeZip(file, {{QStringLiteral("tag_list.txt"), QByteArray(tagLines)}}))
        return QString();
    return file;
}

QList<int> vehicleIds(const AutoEvaluation& facade)
{
    Vehicle* vehicle = facade.getVehicle();
    return {vehicle->getVehicleTypeId(), vehicle->getBodyTypeId(), vehicle->getBrandId(), vehicle->getModelId()};
}

} // namespace

void TestAutoEvaluation::loadNarrowsTheVehicleCatalogs()
{
    QVERIFY(fillVehicleCatalogs());
    QTemporaryDir dir;
    const QString file = writeEvaluation(dir, QStringLiteral("e.zip"), "ТИП_ТС=Легковой автомобиль\nМАРКА_ТС=Лада\n");
    QVERIFY(!file.isEmpty());

    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    QVERIFY(!facade.load(dir.filePath(QStringLiteral("missing.zip"))));
    QCOMPARE(VehicleBrandCatalog::getInstance()->getVehicleType(), -1);
    QVERIFY(facade.load(file));
    QMap<int, QString> names;
    VehicleBodyTypeCatalog::getInstance()->getNames(names);
    QCOMPARE(names.keys(), QList<int>({4}));
    VehicleBrandCatalog::getInstance()->getNames(names);
    QCOMPARE(names.keys(), QList<int>({6, 7}));
    VehicleModelCatalog::getInstance()->getNames(names);
    QCOMPARE(names.keys(), QList<int>({9}));
}

// Each open evaluation finds its vehicle's ids under its own type and brand, whichever
// was loaded last, and asking for them leaves the lists the host shows as they were.
void TestAutoEvaluation::openEvaluationsKeepTheirOwnVehicleIds()
{
    QVERIFY(fillVehicleCatalogs());
    QTemporaryDir dir;
    const QString car = writeEvaluation(dir, QStringLiteral("car.zip"),
                                        "ТИП_ТС=Легковой автомобиль\nТИП_КУЗОВА=Седан\nМАРКА_ТС=Лада\nМОДЕЛЬ_ТС=Веста\n");
    const QString truck = writeEvaluation(dir, QStringLiteral("truck.zip"),
                                          "ТИП_ТС=Грузовой автомобиль\nТИП_КУЗОВА=Фургон\nМАРКА_ТС=КАМАЗ\nМОДЕЛЬ_ТС=К5\n");
    EvaluationTagStorage carStorage;
    EvaluationTagStorage truckStorage;
    AutoEvaluation carEvaluation(carStorage);
    AutoEvaluation truckEvaluation(truckStorage);
    QVERIFY(carEvaluation.load(car));
    QVERIFY(truckEvaluation.load(truck));

    QCOMPARE(vehicleIds(carEvaluation), QList<int>({1, 4, 7, 9}));
    QCOMPARE(vehicleIds(truckEvaluation), QList<int>({2, 5, 8, 11}));
    QCOMPARE(vehicleIds(carEvaluation), QList<int>({1, 4, 7, 9}));
    QMap<int, QString> names;
    VehicleBrandCatalog::getInstance()->getNames(names);
    QCOMPARE(names.keys(), QList<int>({8}));
    VehicleModelCatalog::getInstance()->getNames(names);
    QCOMPARE(names.keys(), QList<int>({11}));
}

void TestAutoEvaluation::openFlag()
{
    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    QVERIFY(!facade.isOpen());
    QTemporaryDir dir;
    QVERIFY(!facade.save(dir.filePath(QStringLiteral("no/such/folder/e.zip"))));
    QVERIFY(facade.isOpen()); // a save marks it open even when it fails
    facade.clear();
    QVERIFY(!facade.isOpen());
}

QTEST_MAIN(TestAutoEvaluation)
#include "tst_autoevaluation.moc"
