#include "catalog/sqlstorage.h"
#include "catalog/vehiclebodytypecatalog.h"
#include "evaluation/agreecustomer.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/businessman.h"
#include "evaluation/equipment.h"
#include "evaluation/equipmenttable.h"
#include "evaluation/evaluationjob.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/vehicle.h"
#include "evaluation/vehicleowner.h"
#include "runtime/singletonregistry.h"
#include "zipfixture.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fullTagList()
{
    QFile file(QStringLiteral(ZENTAVO_TESTS_DIR "/evaluation/data/full_evaluation_tag_list.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fillVehicleCatalogs()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const char* statement :
         {"insert into vehicletype (id_vt, name) values (1, 'Легковой автомобиль')",
          "insert into vehiclebodytype (id_vbt, id_vt, name) values (4, 1, 'Седан')",
          "insert into vehiclebrand (id_vb, id_vt, name) values (7, 1, 'Лада')",
          "insert into vehiclemodel (id_vm, id_vb, name) values (9, 7, 'Веста')"})
        QVERIFY(query.exec(QString::fromUtf8(statement)));
}

QStringList lines(const QByteArray& tagList)
{
    return QString::fromUtf8(tagList).split(QLatin1Char('\n'));
}

} // namespace

// An evaluation in which every section has every field filled: what is loaded is
// saved back line for line, with the same names in the same order.
class TestFullEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void everyFieldIsWrittenBackInOrder();
    void loadedValuesReachTheSections();

private:
    QTemporaryDir dir;
    EvaluationTagStorage storage;
};

void TestFullEvaluation::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    fillVehicleCatalogs();
    const QByteArray tagList = fullTagList();
    QVERIFY(!tagList.isEmpty());
    QVERIFY(writeZip(dir.filePath(QStringLiteral("full.zip")), {{QStringLiteral("tag_list.txt"), tagList}}));
    QVERIFY(storage.load(dir.filePath(QStringLiteral("full.zip"))));
}

void TestFullEvaluation::everyFieldIsWrittenBackInOrder()
{
    const QString saved = dir.filePath(QStringLiteral("saved.zip"));
    QVERIFY(storage.save(saved));
    const QList<ZipEntry> entries = readZip(saved);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(lines(entries.at(1).content), lines(fullTagList()));

    // ... and a second round gives the same bytes again.
    EvaluationTagStorage reloaded;
    QVERIFY(reloaded.load(saved));
    QVERIFY(reloaded.save(saved));
    QCOMPARE(readZip(saved).at(1).content, fullTagList());
}

void TestFullEvaluation::loadedValuesReachTheSections()
{
    QDate date;
    QCOMPARE(storage.getEvaluationJob()->getCompletionDate(date), QDate(2026, 3, 15));
    QCOMPARE(storage.getEvaluationJob()->getDays(), 14);
    QCOMPARE(storage.getAgreeCustomer()->getType(), CUSTOMER_LEGAL_ENTITY);
    QCOMPARE(storage.getVehicleOwner()->getType(), CUSTOMER_SOLE_PROPRIETOR);
    QString text;
    QCOMPARE(storage.getVehicleOwner()->getBusinessman()->getFIO(text), QStringLiteral("Иванов Иван Иванович"));
    Vehicle* vehicle = storage.getVehicle();
    QCOMPARE(vehicle->getVehicleTypeId(), 1);
    // The body type list follows the vehicle type chosen for it (the facade sets it on load).
    QCOMPARE(vehicle->getBodyTypeId(), -1);
    VehicleBodyTypeCatalog::getInstance()->setVehicleType(vehicle->getVehicleTypeId());
    QCOMPARE(vehicle->getBodyTypeId(), 4);
    QCOMPARE(vehicle->getBrandId(), 7);
    QCOMPARE(vehicle->getModelId(), 9);
    QCOMPARE(vehicle->getTransmissionId(), 2);
    Equipment* equipment = storage.getEquipment();
    QCOMPARE(equipment->getCompletionTable()->count(), 2);
    QCOMPARE(equipment->getRemovalTable()->count(), 1);
    QCOMPARE(equipment->getConversionTable()->count(), 1);
    QVERIFY(equipment->getCompletionTable()->getDepreciation(0, nullptr));
    QVERIFY(!equipment->getCompletionTable()->getDepreciation(1, nullptr));
    QVERIFY(storage.getAgreeCustomer()->getTag(QStringLiteral("НАИМЕНОВАНИЕ_ЗАКАЗЧИКА_ЮЛ"), text, 0));
    QCOMPARE(text, QStringLiteral("ООО «Ромашка»"));
    AppraiserList* appraisers = storage.getAppraiserList();
    QCOMPARE(appraisers->count(), 2);
    QVERIFY(appraisers->getTag(QStringLiteral("ФАМИЛИЯ_СПЕЦИАЛИСТА_4"), text, 0));
    QCOMPARE(text, QStringLiteral("Борисова"));
    QVERIFY(appraisers->getTag(QStringLiteral("ФИО_РУКОВОДИТЕЛЯ_РП_ЮЛ_ОЦЕН_КОМП_1"), text, 0));
    QCOMPARE(text, QStringLiteral("Кузнецова Андрея Ильича"));
}

QTEST_MAIN(TestFullEvaluation)
#include "tst_fullevaluation.moc"
