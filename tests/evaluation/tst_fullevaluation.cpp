#include "appraisalsamples.h"
#include "catalog/appraisalcompany.h"
#include "catalog/sqlstorage.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/agreecustomer.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "model/businessman.h"
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
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
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

const QStringList approachKeys = {QStringLiteral("ЗП"), QStringLiteral("СП")};

// In the report numbering the data holds appraisers 1 and 2, both of legal-entity
// companies, and specialist 4, of a sole proprietor.
const QMap<int, customertype_t> companyKindOfNumber = {
    {1, CUSTOMER_LEGAL_ENTITY}, {2, CUSTOMER_LEGAL_ENTITY}, {4, CUSTOMER_SOLE_PROPRIETOR}};

QList<int> indexesOf(const TagNameRegistry::Entry& entry)
{
    return entry.shape == TagNameRegistry::ByAppraiserNumber ? companyKindOfNumber.keys() : QList<int>{0};
}

QString yesNo(bool answered)
{
    return answered ? QStringLiteral("answered") : QStringLiteral("unanswered");
}

// Every registered name under indexes the data fills and leaves empty and under an
// approach key nobody registers, as written, in lower case, with an index or a role
// suffix it never takes, and names nobody lists.
QStringList namesToRoute()
{
    QStringList names;
    for (const TagNameRegistry::Entry& entry : TagNameRegistry::entries()) {
        for (const int index : {0, 1, 2, 3, 4, 5})
            names << TagNameRegistry::concreteNames(entry, index, approachKeys + QStringList{QStringLiteral("ХХ")});
        names << entry.name << entry.name.toLower() << entry.name + QStringLiteral("_12")
              << entry.name + QStringLiteral("_СОБСТВЕННИКА");
    }
    for (const char* name : {"", "_1", "НЕТ_ТАКОГО_ТЕГА", "НЕТ_ТАКОГО_ТЕГА_2", "ЗП_СТОИМОСТЬ", "сп_стоимость_аналога",
                             "ТАБЛИЦА_КРИТЕРИЕВ_ВЕС_1", "ОЦЕНЩИК_1", "ДОУКОМПЛЕКТАЦИЯ_СТРОКА_0"})
        names << QString::fromUtf8(name);
    names.removeDuplicates();
    return names;
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
    void routedAnswerIsTheAnswerOfEverySection_data();
    void routedAnswerIsTheAnswerOfEverySection();
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
    QCOMPARE(facade.getAppraiserList()->count(), 3);
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
    row("first appraiser", "ФАМИЛИЯ_ОЦЕНЩИКА_1", 0, "Яковлева");
    row("second appraiser, third in the file", "ФАМИЛИЯ_ОЦЕНЩИКА_2", 0, "Гусев");
    row("no third appraiser", "ФАМИЛИЯ_ОЦЕНЩИКА_3", 0, nullptr);
    row("first specialist, second in the file", "ФАМИЛИЯ_СПЕЦИАЛИСТА_4", 0, "Борисова");
    row("specialist's tag under an appraiser's number", "ФАМИЛИЯ_СПЕЦИАЛИСТА_1", 0, nullptr);
    row("appraiser's first name shortened", "ИМЯ_ОЦЕНЩИКА_2", TAGFLAG_SHORT, "П.");
    row("year of a diploma", "ДАТА_ВЫДАЧИ_ДИПЛОМА_ОЦЕНЩИКА_2", TAGFLAG_YEAR, "2012");
    row("second appraiser's company", "НАИМЕНОВАНИЕ_КОМПАНИИ_ЮЛ_ОЦЕН_КОМП_2", 0, "АО «Оценка-Плюс»");
    row("specialist's proprietor", "ИНН_ИП_ОЦЕН_КОМП_4", 0, "771000000002");
    row("specialist's share", "СТЕПЕНЬ_УЧАСТИЯ_ОЦЕНЩИКА_4", 0, "10 %");
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
    for (const TagNameRegistry::Entry& entry : TagNameRegistry::entries()) {
        for (const int index : indexesOf(entry))
            names << TagNameRegistry::concreteNames(entry, index, approachKeys);
    }
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
    const auto partyKindAt = [&](int role, int index) {
        return role == ROLE_CUSTOMER ? customerKind : role == ROLE_OWNER ? ownerKind : int(companyKindOfNumber[index]);
    };

    int asked = 0;
    QSet<QString> appraiserNamesAsked;
    QString value;
    for (const TagNameRegistry::Entry& entry : TagNameRegistry::entries()) {
        for (const int index : indexesOf(entry)) {
            if (entry.partyRole >= 0 && entry.partyKind != partyKindAt(entry.partyRole, index))
                continue;
            for (const QString& name : TagNameRegistry::concreteNames(entry, index, approachKeys)) {
                QVERIFY2(facade.getTag(name, value, 0), qPrintable(name));
                QVERIFY2(TagNameRegistry::isKnown(name), qPrintable(name));
                ++asked;
                if (entry.shape == TagNameRegistry::ByAppraiserNumber)
                    appraiserNamesAsked.insert(entry.name);
            }
        }
    }
    QVERIFY(asked > 100);
    // Every person's and company's name answers under some number of the data.
    QCOMPARE(appraiserNamesAsked.size(),
             std::count_if(TagNameRegistry::entries().cbegin(), TagNameRegistry::entries().cend(),
                           [](const TagNameRegistry::Entry& entry) {
                               return entry.shape == TagNameRegistry::ByAppraiserNumber;
                           }));
    for (const char* unknown : {"НЕТ_ТАКОГО_ТЕГА", "ИМЯ_СПЕЦИАЛИСТА_3", "ИМЯ_ОЦЕНЩИКА_4", "СТЕПЕНЬ_УЧАСТИЯ_ОЦЕНЩИКА_0"})
        QVERIFY2(!TagNameRegistry::isKnown(QString::fromUtf8(unknown)), unknown);
}

void TestFullEvaluation::routedAnswerIsTheAnswerOfEverySection_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("customerKind");
    QTest::addColumn<int>("ownerKind");
    QTest::addColumn<bool>("ownerIsCustomer");
    QTest::newRow("as loaded") << false << int(CUSTOMER_LEGAL_ENTITY) << int(CUSTOMER_SOLE_PROPRIETOR) << false;
    QTest::newRow("person customer, company owner") << false << int(CUSTOMER_PERSON) << int(CUSTOMER_LEGAL_ENTITY)
                                                    << false;
    QTest::newRow("owner is the proprietor customer") << false << int(CUSTOMER_SOLE_PROPRIETOR)
                                                      << int(CUSTOMER_PERSON) << true;
    QTest::newRow("new evaluation") << true << int(CUSTOMER_PERSON) << int(CUSTOMER_PERSON) << false;
}

// Going straight to the section a name belongs to must answer exactly as asking every
// section in order: the same result, the same text, null where that is null.
void TestFullEvaluation::routedAnswerIsTheAnswerOfEverySection()
{
    QFETCH(bool, empty);
    QFETCH(int, customerKind);
    QFETCH(int, ownerKind);
    QFETCH(bool, ownerIsCustomer);
    if (empty)
        evaluation = std::make_unique<OpenEvaluation>();
    AutoEvaluation& facade = evaluation->facade;
    facade.getAgreeCustomer()->setType(customertype_t(customerKind));
    facade.getVehicleOwner()->setType(customertype_t(ownerKind));
    facade.getVehicleOwner()->setCustomer(ownerIsCustomer);

    const QList<long> flagSets = {0, TAGFLAG_YEAR, TAGFLAG_WORDS, TAGFLAG_LOWER, TAGFLAG_PERCENT,
                                  TAGFLAG_ABBREVIATION, TAGFLAG_SHORT, TAGFLAG_ROUND_T | TAGFLAG_WORDS};
    QStringList differing;
    int answered = 0;
    for (const QString& name : namesToRoute()) {
        for (const long flags : flagSets) {
            QString routed = QStringLiteral("left over");
            QString walked = routed;
            const bool routedAnswer = facade.getTag(name, routed, flags);
            const bool walkedAnswer = facade.getTagAskingEverySection(name, walked, flags);
            if (routedAnswer != walkedAnswer || routed != walked || routed.isNull() != walked.isNull())
                differing << QStringLiteral("%1, flags %2: %3 \"%4\" instead of %5 \"%6\"")
                                 .arg(name)
                                 .arg(flags)
                                 .arg(yesNo(routedAnswer), routed, yesNo(walkedAnswer), walked);
            answered += walkedAnswer;
        }
    }
    QVERIFY2(differing.isEmpty(), qPrintable(differing.mid(0, 10).join(QLatin1Char('\n'))));
    QVERIFY(answered > 1000);
}

// Catalogs are read on load, and a company copied into the evaluation looks its logo up
// by taxpayer number once, on first access; resolving reads neither again.
void TestFullEvaluation::resolvingLeavesTheDatabaseAlone()
{
    AppraisalCompany stored;
    fillLegalEntity(stored, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    stored.setLogo(sampleLogo());
    QVERIFY(stored.save());
    QVERIFY(evaluation->facade.load(path(QStringLiteral("full.zip"))));
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
    AppraiserList* appraisers = evaluation->facade.getAppraiserList();
    QVERIFY(appraisers->getAppraiserForTag(1)->getAppraisalCompany()->isLogo());
    QVERIFY(!appraisers->getAppraiserForTag(2)->getAppraisalCompany()->isLogo());
    // Had any resolution reloaded a catalog, the emptied tables would show; had it looked
    // a logo up again, the lookup would fail without its tables and throw.
    execAll({"delete from vehiclemodel", "delete from vehiclebrand", "delete from vehiclebodytype",
             "delete from vehicletype", "alter table org rename to org_gone",
             "alter table businessman rename to businessman_gone"});
    QStringList after;
    QVERIFY_THROWS_NO_EXCEPTION(after = resolveAll());
    QCOMPARE(after, before);
}

QTEST_MAIN(TestFullEvaluation)
#include "tst_fullevaluation.moc"
