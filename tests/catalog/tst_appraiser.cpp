#include "appraisalsamples.h"
#include "catalog/appraiser.h"
#include "catalog/appraisercatalog.h"
#include "catalog/sqlstorage.h"
#include "evaluation/evaluationtagstorage.h"
#include "runtime/singletonregistry.h"

#include <QBuffer>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {

QStringList written(Appraiser& appraiser, int index)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    appraiser.save(index, buffer);
    return QString::fromUtf8(buffer.data()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void readInto(EvaluationTagStorage& storage, const QStringList& lines)
{
    QBuffer buffer;
    buffer.setData((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    buffer.open(QIODevice::ReadOnly);
    storage.readTagLines(buffer);
}

void exec(const QString& statement)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    QVERIFY2(query.exec(statement), qPrintable(statement));
}

} // namespace

// Appraisers and specialists in the catalog database and as copies in an evaluation.
class TestAppraiser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void databaseRoundTripAndList();
    void specialistLosesTheAppraiserRow();
    void failedSaveKeepsNothing_data();
    void failedSaveKeepsNothing();
    void evaluationTags_data();
    void evaluationTags();
    void reportTags();
    void valuesNeverGivenStayUngiven();
};

void TestAppraiser::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
}

void TestAppraiser::databaseRoundTripAndList()
{
    Appraiser appraiser;
    fillAppraiser(appraiser, QStringLiteral("Яковлева"));
    Appraiser specialist;
    fillSpecialist(specialist, QStringLiteral("Борисова"));
    QVERIFY(appraiser.save());
    QVERIFY(appraiser.save());
    QVERIFY(specialist.save());
    QCOMPARE(appraiser.getAppraiserId(), appraiser.getId());
    QCOMPARE(rowCount("specialist"), 2);
    QCOMPARE(rowCount("appraiser"), 1);

    Appraiser loaded(appraiser.getId());
    QCOMPARE(loaded.getType(), Appraiser::APPRAISER);
    // The additional-liability flag is kept only in evaluations.
    appraiser.setAdditionalResponcibility(false);
    QCOMPARE(written(loaded, 1), written(appraiser, 1));
    const std::unique_ptr<Appraiser> listed(AppraiserCatalog::getInstance()->getAppraiser(specialist.getId()));
    QCOMPARE(written(*listed, 2), written(specialist, 2));

    AppraiserCatalog* catalog = AppraiserCatalog::getInstance();
    QCOMPARE(catalog->getNames().values(),
             (QStringList{QStringLiteral("Яковлева Анна Сергеевна (оценщик)"),
                          QStringLiteral("Борисова Анна Сергеевна (специалист)")}));
    QCOMPARE(catalog->findIndex(loaded), appraiser.getId());
}

void TestAppraiser::specialistLosesTheAppraiserRow()
{
    Appraiser appraiser;
    fillAppraiser(appraiser, QStringLiteral("Яковлева"));
    QVERIFY(appraiser.save());
    appraiser.setType(Appraiser::SPECIALIST);
    QVERIFY(appraiser.save());
    QCOMPARE(rowCount("specialist"), 1);
    QCOMPARE(rowCount("appraiser"), 0);
    QCOMPARE(Appraiser(appraiser.getId()).getType(), Appraiser::SPECIALIST);
    appraiser.setType(Appraiser::APPRAISER);
    QVERIFY(appraiser.save());
    QCOMPARE(rowCount("appraiser"), 1);
}

void TestAppraiser::failedSaveKeepsNothing_data()
{
    QTest::addColumn<bool>("storedBefore");
    QTest::addColumn<bool>("turnedSpecialist");
    QTest::addColumn<QString>("statement");
    QTest::newRow("appraiser row of a new appraiser") << false << false << "insert";
    QTest::newRow("update of a stored appraiser") << true << false << "update";
    QTest::newRow("stored appraiser turned specialist") << true << true << "delete";
}

// All or nothing: no appraiser stored as a bare specialist without the certificate,
// insurance and membership data, and a new one is new again for the next save.
void TestAppraiser::failedSaveKeepsNothing()
{
    QFETCH(bool, storedBefore);
    QFETCH(bool, turnedSpecialist);
    QFETCH(QString, statement);
    Appraiser appraiser;
    fillAppraiser(appraiser, QStringLiteral("Яковлева"));
    appraiser.setAdditionalResponcibility(false); // kept only in evaluations
    if (storedBefore)
        QVERIFY(appraiser.save());
    const auto rows = [] { return std::make_pair(rowCount("specialist"), rowCount("appraiser")); };
    const auto rowsBefore = rows();
    const int specialistId = appraiser.getId();
    const int appraiserId = appraiser.getAppraiserId();
    appraiser.setLastName(QStringLiteral("Иванова"));
    if (turnedSpecialist)
        appraiser.setType(Appraiser::SPECIALIST);

    refuseEvery(statement, QStringLiteral("appraiser"));
    QVERIFY(!appraiser.save());
    QCOMPARE(rows(), rowsBefore);
    QCOMPARE(appraiser.getId(), specialistId);
    QCOMPARE(appraiser.getAppraiserId(), appraiserId);
    QString name;
    if (storedBefore)
        QCOMPARE(Appraiser(specialistId).getLastName(name), QStringLiteral("Яковлева"));

    refuseNoMore();
    QVERIFY(appraiser.save());
    QCOMPARE(rowCount("specialist"), 1);
    QCOMPARE(rowCount("appraiser"), turnedSpecialist ? 0 : 1);
    Appraiser loaded(appraiser.getId());
    QCOMPARE(written(loaded, 1), written(appraiser, 1));
}

void TestAppraiser::evaluationTags_data()
{
    QTest::addColumn<bool>("isAppraiser");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("typeLine");
    QTest::newRow("appraiser") << true << 21 << QStringLiteral("ТИП_ОЦЕНЩИКА_1=ОЦЕНЩИК");
    QTest::newRow("specialist") << false << 7 << QStringLiteral("ТИП_ОЦЕНЩИКА_1=СПЕЦИАЛИСТ");
}

void TestAppraiser::evaluationTags()
{
    QFETCH(bool, isAppraiser);
    QFETCH(int, lineCount);
    QFETCH(QString, typeLine);
    Appraiser person;
    if (isAppraiser)
        fillAppraiser(person, QStringLiteral("Яковлева"));
    else
        fillSpecialist(person, QStringLiteral("Борисова"));
    const QStringList lines = written(person, 1);
    QCOMPARE(lines.size(), lineCount);
    QCOMPARE(lines.at(0), QStringLiteral("ОЦЕНЩИК_1=true"));
    QCOMPARE(lines.at(1), typeLine);
    for (const QString& line : lines)
        QVERIFY2(line.section(QLatin1Char('='), 0, 0).endsWith(QStringLiteral("_1")), qPrintable(line));

    EvaluationTagStorage storage;
    readInto(storage, lines);
    Appraiser copy(1, storage);
    QCOMPARE(copy.getId(), -1);
    QCOMPARE(written(copy, 1), lines);
}

// A short flag and the specialist's tags under an appraiser's number are resolved by
// tst_fullevaluation; the type is read in any letter case.
void TestAppraiser::reportTags()
{
    EvaluationTagStorage storage;
    storage.setTag(QStringLiteral("ТИП_ОЦЕНЩИКА_3"), QStringLiteral("оценщик"));
    QCOMPARE(Appraiser(3, storage).getType(), Appraiser::APPRAISER);
    Appraiser specialist;
    QString value;
    QVERIFY(!specialist.getTag(QStringLiteral("СТАЖ_ОЦЕНЩИКА"), value, 0));
}

// A limit or an experience never given is written as an empty value, and stored as such
// by older catalogs: read back it stays "not given" rather than a limit of 0 in a report.
void TestAppraiser::valuesNeverGivenStayUngiven()
{
    Appraiser appraiser;
    fillAppraiser(appraiser, QStringLiteral("Яковлева"));
    appraiser.setInsurLimit(-1);
    appraiser.setAge(-1);
    EvaluationTagStorage storage;
    readInto(storage, written(appraiser, 1));
    Appraiser copy(1, storage);
    QCOMPARE(copy.getInsurLimit(), -1);
    QCOMPARE(copy.getAge(), -1);

    QVERIFY(appraiser.save());
    exec(QStringLiteral("update appraiser set insur_limit=null, age=null"));
    Appraiser stored(appraiser.getId());
    QCOMPARE(stored.getInsurLimit(), -1);
    QCOMPARE(stored.getAge(), -1);
}

QTEST_MAIN(TestAppraiser)
#include "tst_appraiser.moc"
