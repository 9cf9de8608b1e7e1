#include "appraisalsamples.h"
#include "catalog/appraisalbusinessman.h"
#include "catalog/appraisalcompany.h"
#include "catalog/appraisalcompanycatalog.h"
#include "catalog/appraisalorg.h"
#include "catalog/sqlstorage.h"
#include "evaluation/evaluationtagstorage.h"
#include "runtime/autoevalexception.h"
#include "runtime/singletonregistry.h"

#include <QBuffer>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {

void exec(const QString& statement)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    QVERIFY2(query.exec(statement), qPrintable(statement));
}

QByteArray written(AppraisalCompany& company, int index)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    company.save(index, buffer);
    return buffer.data();
}

void readInto(EvaluationTagStorage& storage, const QByteArray& lines)
{
    QBuffer buffer;
    buffer.setData(lines);
    buffer.open(QIODevice::ReadOnly);
    storage.readTagLines(buffer);
}

QString tag(AppraisalCompany& company, const QString& name, long flags = 0)
{
    QString value;
    return company.getTag(name, value, flags) ? value : QStringLiteral("<none>");
}

} // namespace

// Appraisal companies in the catalog database and as copies in an evaluation.
class TestAppraisalCompany : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void databaseRoundTrip_data();
    void databaseRoundTrip();
    void firstOfSeveralLinkedAccountsIsTheCompanys();
    void evaluationRoundTrip_data();
    void evaluationRoundTrip();
    void evaluationCopyEdges();
    void failedStatementCommitsWhatSucceeded();
    void impossibleCallsThrow();
};

void TestAppraisalCompany::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
}

void TestAppraisalCompany::databaseRoundTrip_data()
{
    QTest::addColumn<bool>("isOrg");
    QTest::addColumn<QString>("listed");
    QTest::newRow("legal entity") << true << QStringLiteral("ООО «Эксперт» (ЮЛ)");
    QTest::newRow("sole proprietor") << false << QStringLiteral("Смирнов Олег Петрович (ИП)");
}

void TestAppraisalCompany::databaseRoundTrip()
{
    QFETCH(bool, isOrg);
    QFETCH(QString, listed);
    AppraisalCompany company;
    if (isOrg)
        fillLegalEntity(company, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    else
        fillProprietor(company, QStringLiteral("Смирнов"), QStringLiteral("771000000002"));
    QVERIFY(company.save());
    QVERIFY(company.save());
    QCOMPARE(rowCount("appraisalcompany"), 1);
    QCOMPARE(rowCount("org"), isOrg ? 1 : 0);
    QCOMPARE(rowCount("businessman"), isOrg ? 0 : 1);
    QCOMPARE(rowCount("bankaccount"), 1);
    QCOMPARE(rowCount(isOrg ? "bankaccount2org" : "bankaccount2bman"), 1);

    AppraisalCompany loaded(company.getId());
    const QByteArray expected = written(company, 1);
    QCOMPARE(written(loaded, 1), expected);
    QPixmap logo;
    QCOMPARE(loaded.getLogo(logo).toImage(), company.getLogo(logo).toImage());

    AppraisalCompanyCatalog* catalog = AppraisalCompanyCatalog::getInstance();
    QCOMPARE(catalog->getNames(), (QMap<int, QString>{{company.getId(), listed}}));
    QCOMPARE(catalog->findIndex(loaded), company.getId());
}

void TestAppraisalCompany::firstOfSeveralLinkedAccountsIsTheCompanys()
{
    AppraisalCompany company;
    fillLegalEntity(company, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    QVERIFY(company.save());
    exec(QStringLiteral("insert into bankaccount (id_ba, account) values (100, '40702810000000000100')"));
    exec(QStringLiteral("insert into bankaccount2org (id_org, id_ba) select id_org, 100 from org"));

    AppraisalCompany loaded(company.getId());
    QString account;
    QCOMPARE(loaded.getOrg()->getBankAccount()->getText(BankAccount::ACCOUNT, account),
             QStringLiteral("40702810900000000001"));
    loaded.getOrg()->getBankAccount()->setText(BankAccount::ACCOUNT, QStringLiteral("40702810900000000009"));
    QVERIFY(loaded.save());
    QCOMPARE(rowCount("bankaccount"), 2);
    QCOMPARE(rowCount("bankaccount2org"), 2);
    QCOMPARE(AppraisalCompany(company.getId()).getOrg()->getBankAccount()->getText(BankAccount::ACCOUNT, account),
             QStringLiteral("40702810900000000009"));
}

void TestAppraisalCompany::evaluationRoundTrip_data()
{
    QTest::addColumn<bool>("isOrg");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("policyTag");
    QTest::newRow("legal entity") << true << QStringLiteral("ТИП_ОЦЕНОЧНОЙ_КОМПАНИИ_0=Юридическое лицо")
                                  << QStringLiteral("СТРАХ_ПОЛИС_ЮЛ_ОЦЕН_КОМП_0");
    QTest::newRow("sole proprietor") << false
                                     << QStringLiteral("ТИП_ОЦЕНОЧНОЙ_КОМПАНИИ_0=Индивидуальный предприниматель")
                                     << QStringLiteral("СТРАХ_ПОЛИС_ИП_ОЦЕН_КОМП_0");
}

// The copy in an evaluation stands alone; only the logo comes from the catalog, found by
// the taxpayer number.
void TestAppraisalCompany::evaluationRoundTrip()
{
    QFETCH(bool, isOrg);
    QFETCH(QString, firstLine);
    QFETCH(QString, policyTag);
    AppraisalCompany company;
    if (isOrg)
        fillLegalEntity(company, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    else
        fillProprietor(company, QStringLiteral("Смирнов"), QStringLiteral("771000000002"));
    company.setLogo(sampleLogo());
    QVERIFY(company.save());
    const QByteArray lines = written(company, 0);
    QCOMPARE(QString::fromUtf8(lines).section(QLatin1Char('\n'), 0, 0), firstLine);
    QVERIFY(lines.contains((policyTag + QStringLiteral("=433-000123/25\n")).toUtf8()));

    EvaluationTagStorage storage;
    readInto(storage, lines);
    AppraisalCompany copy(0, storage);
    QCOMPARE(copy.getId(), -1);
    QCOMPARE(written(copy, 0), lines);
    QVERIFY(copy.isLogo());

    QSqlQuery(SQLStorage::getInstance()->getCatalogDatabase()).exec(QStringLiteral("update appraisalcompany set logo=null"));
    QVERIFY(!AppraisalCompany(0, storage).isLogo());
}

void TestAppraisalCompany::evaluationCopyEdges()
{
    AppraisalCompany company;
    fillLegalEntity(company, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    company.setPolicyLimit(-1);
    const QByteArray lines = written(company, 2);
    QVERIFY(lines.contains("\nЛИМИТ_ОТВЕТСТВ_ЮЛ_ОЦЕН_КОМП_2=\n"));
    QCOMPARE(tag(company, QStringLiteral("ДАТА_СОСТ_СТРАХ_ПОЛИСА_ЮЛ_ОЦЕН_КОМП"), TAGFLAG_YEAR), QStringLiteral("2025"));
    QCOMPARE(tag(company, QStringLiteral("НАИМЕНОВАНИЕ_ЮЛ_ОЦЕН_КОМП")), QStringLiteral("ООО «Эксперт»"));
    QCOMPARE(tag(company, QStringLiteral("ИМЯ_ИП_ОЦЕН_КОМП")), QStringLiteral("<none>"));

    EvaluationTagStorage storage;
    readInto(storage, lines);
    AppraisalCompany copy;
    copy.setPolicyLimit(7);
    copy.loadFromStorage(2, storage);
    QCOMPARE(copy.getPolicyLimit(), 7); // an empty limit does not parse: the old value stays
    QCOMPARE(copy.getType(), CUSTOMER_LEGAL_ENTITY);
    QCOMPARE(AppraisalCompany(3, storage).getType(), CUSTOMER_SOLE_PROPRIETOR); // no type tag
}

void TestAppraisalCompany::failedStatementCommitsWhatSucceeded()
{
    exec(QStringLiteral("alter table bankaccount2org rename to kept"));
    AppraisalCompany company;
    fillLegalEntity(company, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    QVERIFY(!company.save());
    QEXPECT_FAIL("", "a save that fails part way commits what succeeded: the company is stored without the link "
                     "to its bank account, and the appraiser is not told which part is missing", Continue);
    QCOMPARE(rowCount("appraisalcompany"), 0);
    QCOMPARE(rowCount("org"), 1);

    // The account row exists now, so the next save only updates it: the link stays lost.
    exec(QStringLiteral("alter table kept rename to bankaccount2org"));
    QVERIFY(company.save());
    QCOMPARE(rowCount("org"), 1);
    QEXPECT_FAIL("", "the half-saved company never regains the link to its bank account", Continue);
    QCOMPARE(rowCount("bankaccount2org"), 1);
}

void TestAppraisalCompany::impossibleCallsThrow()
{
    AppraisalCompany company;
    QBuffer buffer;
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, company.setType(CUSTOMER_PERSON));
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, company.getPeople());
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, company.save(buffer));
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, AppraisalCompany(42));
    exec(QStringLiteral("insert into appraisalcompany (id_apprcomp, companytype) values (5, 1)"));
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, AppraisalCompany(5));
    AppraisalBankAccount account(CUSTOMER_LEGAL_ENTITY, 77);
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, account.load());

    fillLegalEntity(company, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    QVERIFY(company.save());
    AppraisalOrg org(company.getId());
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, org.save(company.getId() + 1));
}

QTEST_MAIN(TestAppraisalCompany)
#include "tst_appraisalcompany.moc"
