#include "catalog/approachcatalog.h"
#include "catalog/bankcatalog.h"
#include "catalog/peopleidentdoccatalog.h"
#include "catalog/simplevalcatalog.h"
#include "catalog/sqlstorage.h"
#include "catalog/vehiclebodytypecatalog.h"
#include "catalog/vehiclebrandcatalog.h"
#include "catalog/vehiclemodelcatalog.h"
#include "catalog/vehicletypecatalog.h"
#include "runtime/singletonregistry.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>
#include <vector>

namespace {

void run(const QString& statement, const QVariantList& values = {})
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    QVERIFY(query.exec());
}

QStringList names(const SimpleCatalog& catalog)
{
    QMap<int, QString> all;
    catalog.getNames(all);
    return all.values();
}

const QString Awkward = QStringLiteral("O'Neil\"; drop table bank; --");

} // namespace

class TestSimpleCatalogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void addFindAndDelete();
    void vehicleTypesWithTreadHeights();
    void filteredCatalogsReloadRules();
    void identityDocumentsAndAwkwardNames();
    void nameValueCatalog();
    void bankLookup_data();
    void bankLookup();
    void concurrentFirstUseMakesOneInstance();
};

void TestSimpleCatalogs::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
}

void TestSimpleCatalogs::addFindAndDelete()
{
    SimpleCatalog& catalog = *PeopleIdentDocCatalog::getInstance();
    QSignalSpy updated(&catalog, &SimpleCatalog::updated);
    QCOMPARE(catalog.add(QStringLiteral("Паспорт")), 1);
    QCOMPARE(catalog.add(QStringLiteral("Удостоверение")), 2);
    QCOMPARE(catalog.add(QStringLiteral("Паспорт")), 3);
    QCOMPARE(catalog.find(QStringLiteral("Паспорт")), 1);
    QCOMPARE(catalog.find(QStringLiteral("паспорт")), -1);
    catalog.del(3);
    QCOMPARE(updated.count(), 3); // deleting does not signal
    QCOMPARE(catalog.add(QStringLiteral("Свидетельство")), 3);
    catalog.add(7, QStringLiteral("Военный билет"));
    QCOMPARE(catalog.add(QStringLiteral("Иное")), 8);
    QString name = QStringLiteral("stale");
    QVERIFY(catalog.getName(5, name).isNull());
    QCOMPARE(catalog.getName(7, name), QStringLiteral("Военный билет"));
    catalog.load(); // in-memory changes last until the next load
    QVERIFY(names(catalog).isEmpty());
}

void TestSimpleCatalogs::vehicleTypesWithTreadHeights()
{
    run(QStringLiteral("insert into vehicletype (id_vt, name, treadminh) values (1, 'Легковой', 1.6), (2, 'Прицеп', null)"));
    VehicleTypeCatalog* types = VehicleTypeCatalog::getInstance();
    QCOMPARE(names(*types), (QStringList{QStringLiteral("Легковой"), QStringLiteral("Прицеп")}));
    Real height;
    QVERIFY(types->getTreadMinHeight(1, height));
    QCOMPARE(height, Real(1.6));
    QVERIFY(!types->getTreadMinHeight(2, height));
    QVERIFY(height.isNull());
    QVERIFY(!types->getTreadMinHeight(3, height));
}

void TestSimpleCatalogs::filteredCatalogsReloadRules()
{
    run(QStringLiteral("insert into vehiclebodytype (id_vt, name) values (1, 'Седан'), (2, 'Фургон')"));
    run(QStringLiteral("insert into vehiclebrand (id_vt, name) values (1, 'Лада'), (2, 'ГАЗ')"));
    run(QStringLiteral("insert into vehiclemodel (id_vb, name) values (1, 'Веста'), (2, 'Соболь')"));
    VehicleBodyTypeCatalog* bodies = VehicleBodyTypeCatalog::getInstance();
    VehicleBrandCatalog* brands = VehicleBrandCatalog::getInstance();
    VehicleModelCatalog* models = VehicleModelCatalog::getInstance();
    QVERIFY(names(*bodies).isEmpty() && names(*brands).isEmpty() && names(*models).isEmpty());
    QCOMPARE(brands->getVehicleType(), -1);

    bodies->setVehicleType(1);
    brands->setVehicleType(1);
    models->setVehicleBrand(2);
    QCOMPARE(names(*bodies), QStringList{QStringLiteral("Седан")});
    QCOMPARE(names(*brands), QStringList{QStringLiteral("Лада")});
    QCOMPARE(names(*models), QStringList{QStringLiteral("Соболь")});

    run(QStringLiteral("insert into vehiclebodytype (id_vt, name) values (1, 'Хэтчбек')"));
    run(QStringLiteral("insert into vehiclebrand (id_vt, name) values (1, 'Нива')"));
    run(QStringLiteral("insert into vehiclemodel (id_vb, name) values (2, 'Садко')"));
    bodies->setVehicleType(1); // reloads even for the same type
    brands->setVehicleType(1); // the same type: no reload
    models->setVehicleBrand(2);
    QCOMPARE(names(*bodies).size(), 2);
    QCOMPARE(names(*brands).size(), 1);
    QCOMPARE(names(*models).size(), 1);
    brands->on_catalog_imported(); // the vehicle feed's completion reloads
    QCOMPARE(names(*brands).size(), 2);
    // Model coefficients come from columns this schema does not have.
    QVERIFY(models->get_Kt(1).isNull() && models->get_Lt(1).isNull());
}

void TestSimpleCatalogs::identityDocumentsAndAwkwardNames()
{
    run(QStringLiteral("insert into peopleidentdoc (name) values (?)"), {Awkward});
    run(QStringLiteral("insert into peopleidentdoc (name) values ('Паспорт гражданина РФ')"));
    PeopleIdentDocCatalog* documents = PeopleIdentDocCatalog::getInstance();
    QCOMPARE(documents->find(Awkward), 1);
    QCOMPARE(documents->find(QStringLiteral("Паспорт гражданина РФ")), 2);
    QString name, account;
    QVERIFY(!BankCatalog::getInstance()->findBank(Awkward, name, account));
    QVERIFY(SQLStorage::getInstance()->getCatalogDatabase().tables().contains(QStringLiteral("bank")));
}

void TestSimpleCatalogs::nameValueCatalog()
{
    SimpleValCatalog catalog;
    QVERIFY(catalog.add(QStringLiteral("Б"), 2));
    QVERIFY(catalog.add(QStringLiteral("А"), 2));
    QVERIFY(catalog.add(QStringLiteral("В"), 3));
    QCOMPARE(catalog.getNames(), (QStringList{QStringLiteral("А"), QStringLiteral("Б"), QStringLiteral("В")}));
    QCOMPARE(catalog.searchName(2), QStringLiteral("А"));
    QVERIFY(catalog.searchName(9).isNull());
    QCOMPARE(catalog.getValue(QStringLiteral("В")), QVariant(3));
    QVERIFY(!catalog.getValue(QStringLiteral("Г")).isValid());
}

void TestSimpleCatalogs::bankLookup_data()
{
    QTest::addColumn<QString>("bic");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("account");
    const QString unknown = QStringLiteral("Неверный БИК или название банка неизвестно");
    QTest::newRow("known") << QStringLiteral("044525225") << true << QStringLiteral("ПАО Сбербанк")
                           << QStringLiteral("30101810400000000225");
    QTest::newRow("unknown") << QStringLiteral("044525999") << false << unknown << QString();
    QTest::newRow("empty") << QString() << false << unknown << QString();
    // Bound, never pasted into the statement: pasted, this text would match every bank.
    QTest::newRow("quote in the code") << QStringLiteral("' or '1'='1") << false << unknown << QString();
}

void TestSimpleCatalogs::bankLookup()
{
    QFETCH(QString, bic);
    QFETCH(bool, found);
    QFETCH(QString, name);
    QFETCH(QString, account);
    run(QStringLiteral("insert into bank values ('044525225','30101810400000000225','ПАО Сбербанк')"));
    QString foundName, foundAccount = QStringLiteral("stale");
    QCOMPARE(BankCatalog::getInstance()->findBank(bic, foundName, foundAccount), found);
    QCOMPARE(foundName, name);
    QCOMPARE(foundAccount, account);
    QCOMPARE(foundAccount.isNull(), account.isNull());
}

void TestSimpleCatalogs::concurrentFirstUseMakesOneInstance()
{
    for (int round = 0; round < 50; ++round) {
        SingletonRegistry::destroyAllForTesting();
        std::atomic<bool> go{false};
        std::array<ApproachCatalog*, 4> seen{};
        std::vector<std::thread> threads;
        for (ApproachCatalog*& slot : seen) {
            threads.emplace_back([&go, &slot] {
                while (!go)
                    std::this_thread::yield();
                slot = ApproachCatalog::getInstance();
            });
        }
        go = true;
        for (std::thread& thread : threads)
            thread.join();
        QVERIFY(std::all_of(seen.begin(), seen.end(), [&](ApproachCatalog* c) { return c == seen.front(); }));
    }
}

QTEST_GUILESS_MAIN(TestSimpleCatalogs)
#include "tst_simplecatalogs.moc"
