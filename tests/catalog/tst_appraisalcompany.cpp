#include "appraisalsamples.h"
#include "catalog/appraisalbusinessman.h"
#include "catalog/appraisalcompany.h"
#include "catalog/appraisalcompanycatalog.h"
#include "catalog/appraisalorg.h"
#include "catalog/sqlstorage.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "report/templatetodocx.h"
#include "runtime/autoevalexception.h"
#include "runtime/singletonregistry.h"
#include "zipfixture.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
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

QString sampleInn(bool isOrg)
{
    return isOrg ? QStringLiteral("7701000001") : QStringLiteral("771000000002");
}

void fill(AppraisalCompany& company, bool isOrg, const QString& inn)
{
    if (isOrg)
        fillLegalEntity(company, QStringLiteral("ООО «Эксперт»"), inn);
    else
        fillProprietor(company, QStringLiteral("Смирнов"), inn);
}

void fill(AppraisalCompany& company, bool isOrg)
{
    fill(company, isOrg, sampleInn(isOrg));
}

QImage logoOf(const AppraisalCompany& company)
{
    QImage logo;
    return company.getLogo(logo).convertToFormat(QImage::Format_RGB32);
}

// Rows of every table a company is stored in, in one text for a readable comparison.
QString storedRows()
{
    QStringList counts;
    for (const char* table : {"appraisalcompany", "org", "businessman", "bankaccount", "bankaccount2org", "bankaccount2bman"})
        counts << QStringLiteral("%1=%2").arg(QLatin1String(table)).arg(rowCount(table));
    return counts.join(QLatin1Char(' '));
}

QString rowsOfOne(bool isOrg)
{
    return isOrg ? QStringLiteral("appraisalcompany=1 org=1 businessman=0 bankaccount=1 bankaccount2org=1 bankaccount2bman=0")
                 : QStringLiteral("appraisalcompany=1 org=0 businessman=1 bankaccount=1 bankaccount2org=0 bankaccount2bman=1");
}

AppraisalDetailRows& detailsOf(AppraisalCompany& company)
{
    if (company.getType() == CUSTOMER_LEGAL_ENTITY)
        return *company.getAppraisalOrg();
    return *company.getAppraisalBusinessman();
}

AppraisalBankAccount& accountOf(AppraisalCompany& company)
{
    if (company.getType() == CUSTOMER_LEGAL_ENTITY)
        return *company.getAppraisalOrg()->getAppraisalBankAccount();
    return *company.getAppraisalBusinessman()->getAppraisalBankAccount();
}

void writeRandomCatalog()
{
    SingletonRegistry::destroyAllForTesting();
    QByteArray noise(64 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char& byte : noise)
        byte = char(generator.bounded(256));
    QFile file(SQLStorage::getCatalogDatabaseName());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(noise) == noise.size());
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
    void failedSaveKeepsNothing_data();
    void failedSaveKeepsNothing();
    void changedKindLeavesNoDetailsBehind();
    void bicFillsTheBank_data();
    void bicFillsTheBank();
    void logoByTaxpayerNumber_data();
    void logoByTaxpayerNumber();
    void reportWithoutAHealthyCatalog();
    void unreadAccountIsNotSavedOver();
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
    fill(company, isOrg);
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
    QCOMPARE(logoOf(loaded), sampleLogo());

    AppraisalCompanyCatalog* catalog = AppraisalCompanyCatalog::getInstance();
    QCOMPARE(catalog->getNames(), (QMap<int, QString>{{company.getId(), listed}}));
    QCOMPARE(catalog->findIndex(loaded), company.getId());
}

void TestAppraisalCompany::firstOfSeveralLinkedAccountsIsTheCompanys()
{
    AppraisalCompany company;
    fill(company, true);
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
    fill(company, isOrg);
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
    fill(company, true);
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

void TestAppraisalCompany::failedSaveKeepsNothing_data()
{
    QTest::addColumn<bool>("isOrg");
    QTest::addColumn<bool>("storedBefore");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("table");
    QTest::newRow("company row") << true << false << "insert" << "appraisalcompany";
    QTest::newRow("legal entity row") << true << false << "insert" << "org";
    QTest::newRow("legal entity's account") << true << false << "insert" << "bankaccount";
    QTest::newRow("legal entity's account link") << true << false << "insert" << "bankaccount2org";
    QTest::newRow("proprietor row") << false << false << "insert" << "businessman";
    QTest::newRow("proprietor's account link") << false << false << "insert" << "bankaccount2bman";
    QTest::newRow("update of a stored legal entity") << true << true << "update" << "org";
    QTest::newRow("update of a stored proprietor's account") << false << true << "update" << "bankaccount";
}

// A save is all or nothing: no company without its details or its account link, and a
// new company is new again, so the save after the fault stores it whole.
void TestAppraisalCompany::failedSaveKeepsNothing()
{
    QFETCH(bool, isOrg);
    QFETCH(bool, storedBefore);
    QFETCH(QString, statement);
    QFETCH(QString, table);
    AppraisalCompany company;
    fill(company, isOrg);
    if (storedBefore)
        QVERIFY(company.save());
    const QString rowsBefore = storedRows();
    const int idBefore = company.getId();
    const AppraisalDetailRows::Ids detailIdsBefore = detailsOf(company).getIds();
    const int accountBefore = accountOf(company).getId();
    company.setPolicyNumber(QStringLiteral("999-000777/26"));

    refuseEvery(statement, table);
    QVERIFY(!company.save());
    QCOMPARE(storedRows(), rowsBefore);
    QCOMPARE(company.getId(), idBefore);
    QCOMPARE(detailsOf(company).getRowId(), detailIdsBefore.row);
    QCOMPARE(detailsOf(company).getIds().accountRow, detailIdsBefore.accountRow);
    QCOMPARE(accountOf(company).getId(), accountBefore);
    if (storedBefore) {
        QString policy;
        QCOMPARE(AppraisalCompany(idBefore).getPolicyNumber(policy), QStringLiteral("433-000123/25"));
    }

    refuseNoMore();
    QVERIFY(company.save());
    QCOMPARE(storedRows(), rowsOfOne(isOrg));
    AppraisalCompany loaded(company.getId());
    QCOMPARE(written(loaded, 1), written(company, 1));
}

// Legal entity, then sole proprietor, then legal entity again: each save leaves the rows of
// the current kind only, and a change of kind that fails removes nothing.
void TestAppraisalCompany::changedKindLeavesNoDetailsBehind()
{
    AppraisalCompany company;
    fill(company, true);
    QVERIFY(company.save());

    fill(company, false);
    refuseEvery(QStringLiteral("insert"), QStringLiteral("businessman"));
    QVERIFY(!company.save());
    QCOMPARE(storedRows(), rowsOfOne(true));
    refuseNoMore();

    QVERIFY(company.save());
    QCOMPARE(storedRows(), rowsOfOne(false));
    AppraisalCompany asProprietor(company.getId());
    QCOMPARE(written(asProprietor, 1), written(company, 1));

    company.setType(CUSTOMER_LEGAL_ENTITY);
    QVERIFY(company.save());
    QCOMPARE(storedRows(), rowsOfOne(true));
    AppraisalCompany asLegalEntity(company.getId());
    QCOMPARE(written(asLegalEntity, 1), written(company, 1));
}

void TestAppraisalCompany::bicFillsTheBank_data()
{
    QTest::addColumn<bool>("throughSetText");
    QTest::addColumn<QString>("bic");
    QTest::addColumn<QString>("bankName");
    QTest::addColumn<QString>("correspondentAccount");
    for (const bool throughSetText : {false, true}) {
        const char* path = throughSetText ? "setText" : "setBic";
        QTest::addRow("%s, known BIC", path) << throughSetText << "044525225" << "ПАО Сбербанк" << "30101810400000000225";
        QTest::addRow("%s, unknown BIC", path) << throughSetText << "049999999" << "" << "";
    }
}

void TestAppraisalCompany::bicFillsTheBank()
{
    QFETCH(bool, throughSetText);
    QFETCH(QString, bic);
    QFETCH(QString, bankName);
    QFETCH(QString, correspondentAccount);
    exec(QStringLiteral("insert into bank (bic, raccount, name) values ('044525225', '30101810400000000225', "
                        "'ПАО Сбербанк')"));
    AppraisalCompany company;
    fill(company, true);
    AppraisalBankAccount& account = accountOf(company);
    account.setText(BankAccount::BANK_NAME, QStringLiteral("Банк, что был прежде"));
    account.setText(BankAccount::CORRESPONDENT_ACCOUNT, QStringLiteral("30101810000000000001"));
    if (throughSetText)
        account.setText(BankAccount::BIC, bic);
    else
        account.setBic(bic);
    QString text;
    QCOMPARE(account.getText(BankAccount::BIC, text), bic);
    QCOMPARE(account.getText(BankAccount::BANK_NAME, text), bankName);
    QCOMPARE(account.getText(BankAccount::CORRESPONDENT_ACCOUNT, text), correspondentAccount);
}

void TestAppraisalCompany::logoByTaxpayerNumber_data()
{
    QTest::addColumn<bool>("isOrg");
    QTest::addColumn<QString>("inn"); // of the company in the evaluation
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("hasLogo");
    for (const bool isOrg : {true, false}) {
        const char* kind = isOrg ? "legal entity" : "proprietor";
        QTest::addRow("%s, stored number", kind) << isOrg << sampleInn(isOrg) << QString() << true;
        QTest::addRow("%s, empty number", kind) << isOrg << QString() << QString() << false;
        QTest::addRow("%s, unknown number", kind) << isOrg << "7709999999" << QString() << false;
        QTest::addRow("%s, no company table", kind) << isOrg << sampleInn(isOrg) << "drop table appraisalcompany" << false;
        QTest::addRow("%s, database of random bytes", kind) << isOrg << sampleInn(isOrg) << "random" << false;
    }
}

// The logo a report shows comes from the catalog. A company read from an evaluation
// never keeps a logo it had before, and a catalog that cannot answer gives no logo
// rather than an exception out of a report.
void TestAppraisalCompany::logoByTaxpayerNumber()
{
    QFETCH(bool, isOrg);
    QFETCH(QString, inn);
    QFETCH(QString, damage);
    QFETCH(bool, hasLogo);
    for (const bool storedIsOrg : {true, false}) {
        for (const QString& storedInn : {sampleInn(storedIsOrg), QStringLiteral("")}) { // "": typed, then erased
            AppraisalCompany stored;
            fill(stored, storedIsOrg, storedInn);
            stored.setLogo(sampleLogo());
            QVERIFY(stored.save());
        }
    }
    AppraisalCompany copy;
    fill(copy, isOrg, inn);
    EvaluationTagStorage storage;
    readInto(storage, written(copy, 1));
    if (damage == QLatin1String("random"))
        writeRandomCatalog();
    else if (!damage.isEmpty())
        exec(damage);

    AppraisalCompany read;
    read.setLogo(sampleLogo());
    read.loadFromStorage(1, storage);
    QCOMPARE(read.isLogo(), hasLogo);
    if (hasLogo)
        QCOMPARE(logoOf(read), sampleLogo());
}

// With a catalog database that is not a database, an evaluation's report is still made:
// its appraisal company's tags answer, and the logo's place shows a white picture.
void TestAppraisalCompany::reportWithoutAHealthyCatalog()
{
    writeRandomCatalog();
    EvaluationTagStorage storage;
    AutoEvaluation evaluation(storage);
    QTemporaryDir dir;
    QVERIFY(reloadedWithOneAppraiser(evaluation, QStringLiteral("ООО «Эксперт»"), sampleInn(true),
                                     dir.filePath(QStringLiteral("evaluation.zip"))));

    QString value;
    QVERIFY(evaluation.getTag(QStringLiteral("НАИМЕНОВАНИЕ_ЮЛ_ОЦЕН_КОМП_1"), value, 0));
    QCOMPARE(value, QStringLiteral("ООО «Эксперт»"));

    TemplateToDocx generator;
    generator.use(evaluation);
    QSignalSpy done(&generator, &TemplateToDocument::done);
    const QString output = dir.filePath(QStringLiteral("act.docx"));
    QVERIFY(generator.make(QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/act.docx"), output));
    QVERIFY(done.count() == 1 || done.wait(10000));
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrNone);
    const QImage logo = QImage::fromData(contentOf(output, QStringLiteral("word/media/image1.png")));
    QCOMPARE(logo.size(), QSize(1, 1));
    QCOMPARE(logo.pixelColor(0, 0), QColor(Qt::white));
}

// A company taken from the catalog whose account cannot be read when a report asks for
// it: the report shows the account empty, and a save does not write the empty fields
// over the stored account.
void TestAppraisalCompany::unreadAccountIsNotSavedOver()
{
    AppraisalCompany company;
    fill(company, true);
    QVERIFY(company.save());
    AppraisalCompany selected(company.getId());
    exec(QStringLiteral("alter table bankaccount rename to kept"));
    QCOMPARE(tag(selected, QStringLiteral("РАСЧЕТНЫЙ_СЧЕТ_ЮЛ_ОЦЕН_КОМП")), QString());
    exec(QStringLiteral("alter table kept rename to bankaccount"));
    QVERIFY(!selected.save());
    QString account;
    QCOMPARE(AppraisalCompany(company.getId()).getOrg()->getBankAccount()->getText(BankAccount::ACCOUNT, account),
             QStringLiteral("40702810900000000001"));
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

    fill(company, true);
    QVERIFY(company.save());
    AppraisalOrg org(company.getId());
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, org.save(company.getId() + 1));
}

QTEST_MAIN(TestAppraisalCompany)
#include "tst_appraisalcompany.moc"
