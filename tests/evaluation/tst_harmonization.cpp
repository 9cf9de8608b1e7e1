#include "evaluation/autoevaluation.h"
#include "evaluation/criterion.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/harmonization.h"
#include "runtime/autoevalexception.h"
#include "runtime/singletonregistry.h"
#include "testapproach.h"
#include "zipfixture.h"

#include <QTemporaryDir>
#include <QTest>

// Weights and the reconciled value, seen through the report tags of the facade.
class TestHarmonization : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void weightsAndReconciledValue_data();
    void weightsAndReconciledValue();
    void criterionAndAssumptionTags_data();
    void criterionAndAssumptionTags();
    void criteriaRowsEndAtTheFirstGap();
    void misuseThrows();
    void criteriaSurviveASaveThatNeverReadThem_data();
    void criteriaSurviveASaveThatNeverReadThem();
};

void TestHarmonization::weightsAndReconciledValue_data()
{
    QTest::addColumn<bool>("withCost");
    QTest::addColumn<bool>("withComparative");
    QTest::addColumn<bool>("withoutScores");
    QTest::addColumn<QString>("costWeight");
    QTest::addColumn<QString>("comparativeWeight");
    QTest::addColumn<QString>("reconciled");

    // Default scores: 28 of 60 for the cost approach, 32 of 60 for the comparative one.
    // 850000 * 28/60 = 396666.67 and 912345.67 * 32/60 = 486584.36, in whole rubles.
    QTest::newRow("both approaches") << true << true << false << "46.7" << "53.3" << "883251";
    // Only approach: all the weight, its cost rounded up to the ruble.
    QTest::newRow("comparative only") << false << true << false << "0" << "100" << "912346";
    QTest::newRow("cost only") << true << false << false << "100" << "0" << "850000";
    // No scores at all: no weights, and no value rather than a made-up zero.
    QTest::newRow("no scores") << true << true << true << QString() << QString() << QString();
}

void TestHarmonization::weightsAndReconciledValue()
{
    QFETCH(bool, withCost);
    QFETCH(bool, withComparative);
    QFETCH(bool, withoutScores);
    QFETCH(QString, costWeight);
    QFETCH(QString, comparativeWeight);
    QFETCH(QString, reconciled);

    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    TestApproach cost = TestApproach::cost(storage);
    TestApproach comparative = TestApproach::comparative(storage);
    cost.setCost(Money(850000, 0));
    comparative.setCost(Money(912345, 67));
    if (withCost)
        facade.registerApproach(APPROACH_COST, cost);
    if (withComparative)
        facade.registerApproach(APPROACH_COMPARATIVE, comparative);
    if (withoutScores) {
        facade.getHarmonization()->clearCriterion();
        facade.getHarmonization()->addCriterion(0)->setName(QStringLiteral("Без оценок"));
    }

    QString value;
    QVERIFY(facade.getTag(QStringLiteral("ВЕС_ЗАТРАТНОГО_ПОДХОДА"), value, 0));
    QCOMPARE(value, costWeight);
    QVERIFY(facade.getTag(QStringLiteral("ВЕС_СРАВНИТЕЛЬНОГО_ПОДХОДА"), value, 0));
    QCOMPARE(value, comparativeWeight);
    QVERIFY(facade.getTag(QStringLiteral("СОГЛАСОВАННАЯ_СТОИМОСТЬ"), value, 0));
    QCOMPARE(value, reconciled);
}

void TestHarmonization::criterionAndAssumptionTags_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // null: not a reconciliation tag
    // Names and scores of criteria by row and approach key are resolved by tst_fullevaluation.

    QTest::newRow("row beyond the table") << "ТАБЛИЦА_КРИТЕРИЕВ_НАИМЕНОВАНИЕ_6" << QString();
    QTest::newRow("unknown approach key") << "ТАБЛИЦА_КРИТЕРИЕВ_ВЕС_ДП_0" << QString();
    QTest::newRow("row marker is not served") << "ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА_0" << QString();
    QTest::newRow("whole assumptions") << "ДОПУЩЕНИЯ_ПРИ_ОЦЕНКЕ" << "Первое.\n\nВторое\nв две строки.\n \t\nТретье.";
    QTest::newRow("after a blank line") << "ДОПУЩЕНИЯ_ПРИ_ОЦЕНКЕ_1" << "Второе\nв две строки.";
    QTest::newRow("after a line of blanks") << "ДОПУЩЕНИЯ_ПРИ_ОЦЕНКЕ_2" << "Третье.";
    QTest::newRow("beyond the last paragraph") << "ДОПУЩЕНИЯ_ПРИ_ОЦЕНКЕ_5" << "";
}

void TestHarmonization::criterionAndAssumptionTags()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);

    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    TestApproach cost = TestApproach::cost(storage);
    TestApproach comparative = TestApproach::comparative(storage);
    facade.registerApproach(APPROACH_COST, cost);
    facade.registerApproach(APPROACH_COMPARATIVE, comparative);
    facade.getHarmonization()->setAssumptions(QStringLiteral("  Первое.\n\nВторое\nв две строки.\n \t\nТретье.\n"));

    QString value = QStringLiteral("left over");
    QCOMPARE(facade.getTag(name, value, 0), !expected.isNull());
    QCOMPARE(value, expected);
    QCOMPARE(value.isNull(), expected.isNull());
}

void TestHarmonization::criteriaRowsEndAtTheFirstGap()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gap.zip"));
    QVERIFY(writeZip(file, {{QStringLiteral("tag_list.txt"), QStringLiteral("ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА_0=Да\n"
                                                                          "ТАБЛИЦА_КРИТЕРИЕВ_ВЕС_ЗП_0=3\n"
                                                                          "ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА_1=Да\n"
                                                                          "ТАБЛИЦА_КРИТЕРИЕВ_НАИМЕНОВАНИЕ_1=Б\n"
                                                                          "ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА_3=Да\n")
                                                                 .toUtf8()}}));
    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    TestApproach cost = TestApproach::cost(storage);
    facade.registerApproach(APPROACH_COST, cost);
    QVERIFY(facade.load(file));
    Harmonization* harmonization = facade.getHarmonization();
    QCOMPARE(harmonization->countCriterion(), 2);
    QCOMPARE(harmonization->getCriterion(0)->getWeight(APPROACH_COST), 3);
    QCOMPARE(harmonization->getCriterion(1)->getWeight(APPROACH_COST), -1);
}

void TestHarmonization::misuseThrows()
{
    EvaluationTagStorage storage;
    Harmonization* unattached = storage.getHarmonization();
    Money cost;
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, unattached->getCost(cost));

    AutoEvaluation facade(storage);
    Harmonization* harmonization = facade.getHarmonization();
    QCOMPARE(harmonization->countCriterion(), 6);
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, harmonization->getCriterion(6));
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, harmonization->delCriterion(-1));
}

void TestHarmonization::criteriaSurviveASaveThatNeverReadThem_data()
{
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<bool>("facadeAfterLoad");
    QTest::addColumn<bool>("withCost"); // the saving host has the cost approach
    QTest::addColumn<int>("criteriaAfterReload");
    QTest::addColumn<int>("firstCostScore");
    QTest::newRow("new evaluation saved by the facade") << false << false << true << 6 << 6;
    QTest::newRow("file loaded and saved by the storage") << true << false << true << 1 << 3;
    QTest::newRow("file loaded by the storage, saved by a facade made then") << true << true << true << 1 << 3;
    QTest::newRow("file saved by a host without the cost approach") << true << false << false << 1 << 3;
}

// What a report of the evaluation showed is what its file keeps: a new evaluation's default
// criteria, or the criteria of the file it was read from, whoever reads or saves it.
void TestHarmonization::criteriaSurviveASaveThatNeverReadThem()
{
    QFETCH(bool, fromFile);
    QFETCH(bool, facadeAfterLoad);
    QFETCH(bool, withCost);
    QFETCH(int, criteriaAfterReload);
    QFETCH(int, firstCostScore);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("e.zip"));
    EvaluationTagStorage storage;
    TestApproach cost = TestApproach::cost(storage);
    if (withCost)
        storage.registerApproach(APPROACH_COST, cost);
    if (!fromFile) {
        AutoEvaluation facade(storage);
        QVERIFY(facade.save(file));
    } else {
        QVERIFY(writeZip(file, {{QStringLiteral("tag_list.txt"),
                                 QStringLiteral("ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА_0=Да\nТАБЛИЦА_КРИТЕРИЕВ_ВЕС_ЗП_0=3\n").toUtf8()}}));
        QVERIFY(storage.load(file));
        if (facadeAfterLoad) {
            AutoEvaluation facade(storage);
            QCOMPARE(facade.getHarmonization()->countCriterion(), criteriaAfterReload);
            QVERIFY(facade.save(file));
        } else {
            QVERIFY(storage.save(file));
        }
    }

    EvaluationTagStorage reloadedStorage;
    AutoEvaluation reloaded(reloadedStorage);
    reloaded.registerApproach(APPROACH_COST, cost);
    QVERIFY(reloaded.load(file));
    QCOMPARE(reloaded.getHarmonization()->countCriterion(), criteriaAfterReload);
    QCOMPARE(reloaded.getHarmonization()->getCriterion(0)->getWeight(APPROACH_COST), firstCostScore);
}

QTEST_MAIN(TestHarmonization)
#include "tst_harmonization.moc"
