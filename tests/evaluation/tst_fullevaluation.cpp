#include "catalog/sqlstorage.h"
#include "evaluation/agreecustomer.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/businessman.h"
#include "evaluation/criterion.h"
#include "evaluation/equipment.h"
#include "evaluation/equipmenttable.h"
#include "evaluation/evaluationjob.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/harmonization.h"
#include "evaluation/tagnameregistry.h"
#include "evaluation/vehicle.h"
#include "evaluation/vehicleowner.h"
#include "runtime/singletonregistry.h"
#include "testapproach.h"
#include "zipfixture.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QByteArray fullTagList()
{
    QFile file(QStringLiteral(ZENTAVO_TESTS_DIR "/evaluation/data/full_evaluation_tag_list.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void execAll(const QList<const char*>& statements)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const char* statement : statements)
        QVERIFY2(query.exec(QString::fromUtf8(statement)), statement);
}

QStringList lines(const QByteArray& tagList)
{
    return QString::fromUtf8(tagList).split(QLatin1Char('\n'));
}

// One open evaluation as a host holds it: the storage, its facade and its approaches.
struct OpenEvaluation
{
    EvaluationTagStorage storage;
    AutoEvaluation facade{storage};
    TestApproach cost = TestApproach::cost(storage);
    TestApproach comparative = TestApproach::comparative(storage);

    OpenEvaluation()
    {
        facade.registerApproach(APPROACH_COST, cost);
        facade.registerApproach(APPROACH_COMPARATIVE, comparative);
    }
};

} // namespace

// An evaluation in which every section, both approaches and the criteria table are
// filled: it is written back line for line, and after a save and a load into a fresh
// storage and facade every report tag resolves to what the appraiser entered.
class TestFullEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyFieldIsWrittenBackInOrder();
    void loadedValuesReachTheSections();
    void reportTagsAfterSaveAndLoad_data();
    void reportTagsAfterSaveAndLoad();
    void everyRegisteredNameIsAnswered_data();
    void everyRegisteredNameIsAnswered();
    void resolvingLeavesTheDatabaseAlone();

private:
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList everyConcreteName() const;

    QTemporaryDir dir;
    std::unique_ptr<OpenEvaluation> evaluation;
};

void TestFullEvaluation::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    execAll({"insert into vehicletype (id_vt, name) values (1, 'Легковой автомобиль')",
             "insert into vehiclebodytype (id_vbt, id_vt, name) values (4, 1, 'Седан')",
             "insert into vehiclebrand (id_vb, id_vt, name) values (7, 1, 'Лада')",
             "insert into vehiclemodel (id_vm, id_vb, name) values (9, 7, 'Веста')"});
    const QByteArray tagList = fullTagList();
    QVERIFY(!tagList.isEmpty());
    QVERIFY(writeZip(path(QStringLiteral("full.zip")), {{QStringLiteral("tag_list.txt"), tagList}}));
    evaluation = std::make_unique<OpenEvaluation>();
    QVERIFY(evaluation->facade.load(path(QStringLiteral("full.zip"))));
}

void TestFullEvaluation::cleanup()
{
    evaluation.reset();
    SingletonRegistry::destroyAllForTesting();
}

void TestFullEvaluation::everyFieldIsWrittenBackInOrder()
{
    const QString saved = path(QStringLiteral("saved.zip"));
    QVERIFY(evaluation->facade.save(saved));
    const QList<ZipEntry> entries = readZip(saved);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(lines(entries.at(1).content), lines(fullTagList()));

    // ... and a second round gives the same bytes again.
    OpenEvaluation reloaded;
    QVERIFY(reloaded.facade.load(saved));
    QVERIFY(reloaded.facade.save(saved));
    QCOMPARE(readZip(saved).at(1).content, fullTagList());
}

void TestFullEvaluation::loadedValuesReachTheSections()
{
    AutoEvaluation& facade = evaluation->facade;
    QDate date;
    QCOMPARE(facade.getEvaluationJob()->getCompletionDate(date), QDate(2026, 3, 15));
    QCOMPARE(facade.getAgreeCustomer()->getType(), CUSTOMER_LEGAL_ENTITY);
    QString text;
    QCOMPARE(facade.getVehicleOwner()->getBusinessman()->getFIO(text), QStringLiteral("Иванов Иван Иванович"));
    Vehicle* vehicle = facade.getVehicle();
    // The facade narrowed the body type list to the vehicle's type on load.
    QCOMPARE(vehicle->getBodyTypeId(), 4);
    QCOMPARE(vehicle->getModelId(), 9);
    QCOMPARE(vehicle->getTransmissionId(), 2);
    Equipment* equipment = facade.getEquipment();
    QCOMPARE(equipment->getCompletionTable()->count(), 2);
    QVERIFY(equipment->getCompletionTable()->getDepreciation(0, nullptr));
    QVERIFY(!equipment->getCompletionTable()->getDepreciation(1, nullptr));
    QCOMPARE(facade.getAppraiserList()->count(), 2);
    QCOMPARE(facade.getHarmonization()->countCriterion(), 3);
    Money cost;
    QCOMPARE(facade.getAnalogFullCost(cost), Money(910000, 0));
}

void TestFullEvaluation::reportTagsAfterSaveAndLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("expected"); // null: the tag is not answered

    const auto row = [](const char* label, const char* name, long flags, const char* expected) {
        QTest::newRow(label) << QString::fromUtf8(name) << flags
                             << (expected ? QString::fromUtf8(expected) : QString());
    };
    row("name in lower case", "номер_договора", 0, "ОЦ-2026/118");
    row("year of a date", "ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА", TAGFLAG_YEAR, "2026");
    row("amount", "СТОИМОСТЬ_УСЛУГ", 0, "3500.50");
    row("amount in words", "СТОИМОСТЬ_УСЛУГ", TAGFLAG_WORDS, "Три тысячи пятьсот рублей 50 копеек");
    row("tax on the price", "СТОИМОСТЬ_УСЛУГ_НДС", 0, "630.09");
    row("lower case", "ЦЕЛЬ_ОЦЕНКИ", TAGFLAG_LOWER, "определение рыночной стоимости");
    row("days of the term", "СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ_ДНЕЙ", 0, "14");
    row("customer by an older name", "НАИМЕНОВАНИЕ_ЗАКАЗЧИКА_ЮЛ", 0, "ООО «Ромашка»");
    row("legal form abbreviated", "ОРГАНИЗАЦИОННО-ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА_ЮЛ", TAGFLAG_ABBREVIATION, "ООО");
    row("owner's document", "СЕРИЯ_ДОКУМЕНТА_СОБСТВЕННИКА_ИП", 0, "28 04");
    row("person tags of a proprietor owner", "ИМЯ_СОБСТВЕННИКА_ФЛ", 0, nullptr);
    row("vehicle type from the catalog", "ТИП_ТС", 0, "Легковой автомобиль");
    row("equipment price", "ДОУКОМПЛЕКТАЦИЯ_ЦЕНА_0", 0, "9800");
    row("wear as a percentage", "ДОУКОМПЛЕКТАЦИЯ_ИЗНОС_0", TAGFLAG_PERCENT, "30");
    row("market analysis", "ВЫВОДЫ_ПО_АНАЛИЗУ", 0, "Цены растут");
    row("cost approach", "ЗП_СТОИМОСТЬ", 0, "850000");
    row("comparative approach", "СП_СТОИМОСТЬ", 0, "912345.67");
    row("cost approach weight", "ВЕС_ЗАТРАТНОГО_ПОДХОДА", 0, "36.8");
    row("comparative approach weight", "ВЕС_СРАВНИТЕЛЬНОГО_ПОДХОДА", 0, "63.2");
    row("edited criterion", "ТАБЛИЦА_КРИТЕРИЕВ_ВЕС_ЗП_1", 0, "5");
    row("added criterion", "ТАБЛИЦА_КРИТЕРИЕВ_НАИМЕНОВАНИЕ_3", 0, "Доступность аналогов");
    row("added criterion's score", "ТАБЛИЦА_КРИТЕРИЕВ_ВЕС_СП_3", 0, "8");
    row("score it does not give", "ТАБЛИЦА_КРИТЕРИЕВ_ВЕС_ЗП_3", 0, nullptr);
    // 850000 * 14/38 + 912345.67 * 24/38 = 313157.89 + 576218.32, in whole rubles
    row("reconciled value", "СОГЛАСОВАННАЯ_СТОИМОСТЬ", 0, "889376");
    row("reconciled value in words", "СОГЛАСОВАННАЯ_СТОИМОСТЬ", TAGFLAG_WORDS,
        "Восемьсот восемьдесят девять тысяч триста семьдесят шесть рублей 00 копеек");
    row("assumption paragraph", "ДОПУЩЕНИЯ_ПРИ_ОЦЕНКЕ_2", 0, "Документы представлены заказчиком.");
    row("version", "ВЕРСИЯ", 0, "1.2.32");
}

void TestFullEvaluation::reportTagsAfterSaveAndLoad()
{
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(QString, expected);

    Harmonization* harmonization = evaluation->facade.getHarmonization();
    Criterion* added = harmonization->addCriterion(harmonization->countCriterion());
    added->setName(QStringLiteral("Доступность аналогов"));
    added->setWeight(APPROACH_COMPARATIVE, 8);
    QVERIFY(evaluation->facade.save(path(QStringLiteral("saved.zip"))));

    OpenEvaluation reloaded;
    QVERIFY(reloaded.facade.load(path(QStringLiteral("saved.zip"))));
    QString value = QStringLiteral("left over");
    QCOMPARE(reloaded.facade.getTag(name, value, flags), !expected.isNull());
    QCOMPARE(value, expected);
}

QStringList TestFullEvaluation::everyConcreteName() const
{
    QStringList names;
    for (const TagNameRegistry::Entry& entry : TagNameRegistry::entries())
        names << TagNameRegistry::concreteNames(entry, 0, {QStringLiteral("ЗП"), QStringLiteral("СП")});
    return names;
}

void TestFullEvaluation::everyRegisteredNameIsAnswered_data()
{
    QTest::addColumn<int>("customerKind");
    QTest::addColumn<int>("ownerKind");
    QTest::newRow("company customer, proprietor owner") << int(CUSTOMER_LEGAL_ENTITY) << int(CUSTOMER_SOLE_PROPRIETOR);
    QTest::newRow("person customer, company owner") << int(CUSTOMER_PERSON) << int(CUSTOMER_LEGAL_ENTITY);
    QTest::newRow("proprietor customer, person owner") << int(CUSTOMER_SOLE_PROPRIETOR) << int(CUSTOMER_PERSON);
}

// The registry lists names from the sections' own tables; every one of them must
// reach its section through the facade, or a template checked against the registry
// would still print empty fields.
void TestFullEvaluation::everyRegisteredNameIsAnswered()
{
    QFETCH(int, customerKind);
    QFETCH(int, ownerKind);
    AutoEvaluation& facade = evaluation->facade;
    facade.getAgreeCustomer()->setType(customertype_t(customerKind));
    facade.getVehicleOwner()->setType(customertype_t(ownerKind));
    const int kindOfRole[] = {customerKind, ownerKind};

    int asked = 0;
    QString value;
    for (const TagNameRegistry::Entry& entry : TagNameRegistry::entries()) {
        if (entry.partyRole >= 0 && entry.partyKind != kindOfRole[entry.partyRole])
            continue;
        for (const QString& name : TagNameRegistry::concreteNames(entry, 0, {QStringLiteral("ЗП"), QStringLiteral("СП")})) {
            QVERIFY2(facade.getTag(name, value, 0), qPrintable(name));
            QVERIFY2(TagNameRegistry::isKnown(name), qPrintable(name));
            ++asked;
        }
    }
    QVERIFY(asked > 100);
    QVERIFY(!TagNameRegistry::isKnown(QStringLiteral("НЕТ_ТАКОГО_ТЕГА")));
}

void TestFullEvaluation::resolvingLeavesTheDatabaseAlone()
{
    const QStringList names = everyConcreteName();
    const auto resolveAll = [&] {
        QStringList values;
        QString value;
        for (const QString& name : names) {
            evaluation->facade.getTag(name, value, 0);
            values << value;
        }
        return values;
    };
    const QStringList before = resolveAll();
    QVERIFY(before.contains(QStringLiteral("Легковой автомобиль")));
    // Had any resolution reloaded a catalog, the emptied tables would show.
    execAll({"delete from vehiclemodel", "delete from vehiclebrand", "delete from vehiclebodytype",
             "delete from vehicletype"});
    QCOMPARE(resolveAll(), before);
}

QTEST_MAIN(TestFullEvaluation)
#include "tst_fullevaluation.moc"
