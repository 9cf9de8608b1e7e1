#include "evaluation/agreementontag.h"
#include "evaluation/bankguarantee.h"
#include "evaluation/evaluationjobontag.h"
#include "evaluation/evaluationtagstorage.h"
#include "values/tagtypes.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QTest>

namespace {

template <typename Section>
QStringList writtenLines(Section& section)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    section.save(buffer);
    QStringList lines = QString::fromUtf8(buffer.data()).split(QLatin1Char('\n'));
    // Every line ends with a line feed, so the text ends with an empty piece.
    if (lines.takeLast() != QString())
        lines << QStringLiteral("<no line feed at the end>");
    return lines;
}

// Reads written tag lines into a storage as a load does.
void reload(EvaluationStorage& storage, const QStringList& lines)
{
    QStringList parts;
    for (const QString& line : lines) {
        if (EvaluationTagStorage::parseLine(line, parts).isEmpty())
            continue;
        QString value = parts.at(2);
        storage.setTag(parts.at(1), TagUtils::unescapeTagValue(value));
    }
}

void fillAgreement(Agreement& agreement)
{
    agreement.setNumber(QStringLiteral("Д-17/2014"));
    agreement.setDate(QDate(2014, 2, 5));
    agreement.setPrice(Money(1000, 0));
    agreement.setPlace(QStringLiteral("г. Москва"));
    BankGuarantee* guarantee = agreement.getBankGuarantee();
    guarantee->setNumber(QStringLiteral("БГ-1"));
    guarantee->setDate(QDate(2014, 2, 1));
    guarantee->setAmount(Money(123456, 78));
    guarantee->setBankName(QStringLiteral("ПАО Банк"));
    guarantee->setBic(QStringLiteral("044525225"));
    guarantee->setGuaranteed(true);
}

void fillJob(EvaluationJob& job)
{
    job.setPurpose(QStringLiteral("Определение рыночной стоимости"));
    job.setUsage(QStringLiteral("Для суда"));
    job.setRestrictions(QStringLiteral("Только для указанной цели"));
    job.setAssumptions(QStringLiteral("первое\nвторое"));
    job.setEvaluationDate(QDate(2014, 3, 1));
    job.setReportDate(QDate(2014, 3, 5));
    job.setCompletionDate(QDate(2014, 3, 15));
}

// The agreement's four lines come first, then the guarantee's six.
const QStringList agreementTagOrder{
    QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), QStringLiteral("СТОИМОСТЬ_УСЛУГ"),
    QStringLiteral("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), QStringLiteral("НОМЕР_БАНКОВСКОЙ_ГАРАНТИИ"),
    QStringLiteral("ДАТА_БАНКОВСКОЙ_ГАРАНТИИ"), QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ"), QStringLiteral("БАНК_ГАРАНТ"),
    QStringLiteral("БИК_БАНКА_ГАРАНТА"), QStringLiteral("БАНКОВСКАЯ_ГАРАНТИЯ"),
};

void addTagColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<long>("flags");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<QString>("expected");
}

void addTagRow(const char* title, const QString& name, long flags, const QString& expected)
{
    QTest::newRow(title) << name << flags << true << expected;
}

void addUnknownRow(const char* title, const QString& name)
{
    QTest::newRow(title) << name << 0L << false << QString();
}

} // namespace

class TestAgreementJob : public QObject
{
    Q_OBJECT

private slots:
    void agreementWriter_data();
    void agreementWriter();
    void agreementTags_data();
    void agreementTags();
    void valueAddedTax_data();
    void valueAddedTax();
    void jobWriterCarriesCompletionDateInTerm();
    void jobTags_data();
    void jobTags();
    void completionDateAndDays_data();
    void completionDateAndDays();
};

void TestAgreementJob::agreementWriter_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("written");
    const QStringList empty(agreementTagOrder.size());
    QStringList writtenEmpty = empty;
    writtenEmpty.last() = QStringLiteral("Нет");
    QTest::newRow("filled")
        << QStringList{QStringLiteral("Д-17/2014"), QStringLiteral("05.02.2014"), QStringLiteral("1000.5"),
                       QStringLiteral("г. Москва"), QStringLiteral("БГ-1\nот банка"), QStringLiteral("01.02.2014"),
                       QStringLiteral("123456.78"), QStringLiteral("ПАО Банк"), QStringLiteral("044525225"),
                       QStringLiteral("true")}
        << QStringList{QStringLiteral("Д-17/2014"), QStringLiteral("05.02.2014"), QStringLiteral("1000.50"),
                       QStringLiteral("г. Москва"), QStringLiteral("БГ-1\\nот банка"), QStringLiteral("01.02.2014"),
                       QStringLiteral("123456.78"), QStringLiteral("ПАО Банк"), QStringLiteral("044525225"),
                       QStringLiteral("Да")};
    QTest::newRow("nothing stored") << empty << writtenEmpty;
    QTest::newRow("values that do not parse")
        << QStringList{QString(), QStringLiteral("32.13.2014"), QStringLiteral("тысяча"), QString(), QString(),
                       QStringLiteral("1 февраля"), QStringLiteral("12,3,4"), QString(), QString(),
                       QStringLiteral("может быть")}
        << writtenEmpty;
}

void TestAgreementJob::agreementWriter()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, written);
    EvaluationTagStorage storage;
    QStringList expected;
    for (qsizetype i = 0; i < agreementTagOrder.size(); ++i) {
        storage.setTag(agreementTagOrder.at(i), stored.at(i));
        expected << agreementTagOrder.at(i) + QLatin1Char('=') + written.at(i);
    }
    AgreementOnTag agreement(&storage);
    QCOMPARE(writtenLines(agreement), expected);
}

void TestAgreementJob::agreementTags_data()
{
    addTagColumns();
    const QString amount = QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ");
    addTagRow("number", QStringLiteral("НОМЕР_ДОГОВОРА"), 0, QStringLiteral("Д-17/2014"));
    addTagRow("place", QStringLiteral("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), 0, QStringLiteral("г. Москва"));
    addTagRow("date", QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), 0, QStringLiteral("05.02.2014"));
    addTagRow("date, year", QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), TAGFLAG_YEAR, QStringLiteral("2014"));
    addTagRow("price", QStringLiteral("СТОИМОСТЬ_УСЛУГ"), 0, QStringLiteral("1000"));
    addTagRow("price in words", QStringLiteral("СТОИМОСТЬ_УСЛУГ"), TAGFLAG_WORDS,
              QStringLiteral("Одна тысяча рублей 00 копеек"));
    addTagRow("tax", QStringLiteral("СТОИМОСТЬ_УСЛУГ_НДС"), 0, QStringLiteral("180"));
    addTagRow("guarantee number", QStringLiteral("НОМЕР_БАНКОВСКОЙ_ГАРАНТИИ"), 0, QStringLiteral("БГ-1"));
    addTagRow("guarantee year", QStringLiteral("ДАТА_БАНКОВСКОЙ_ГАРАНТИИ"), TAGFLAG_YEAR, QStringLiteral("2014"));
    addTagRow("guarantee amount", amount, 0, QStringLiteral("123456.78"));
    addTagRow("guarantee amount in words", amount, TAGFLAG_WORDS,
              QStringLiteral("Сто двадцать три тысячи четыреста пятьдесят шесть рублей 78 копеек"));
    addTagRow("guarantee amount rounded", amount, TAGFLAG_ROUND_T, QStringLiteral("125000"));
    addTagRow("rounded, in words", amount, TAGFLAG_ROUND_T | TAGFLAG_WORDS,
              QStringLiteral("Сто двадцать пять тысяч рублей 00 копеек"));
    addTagRow("guarantor bank", QStringLiteral("БАНК_ГАРАНТ"), 0, QStringLiteral("ПАО Банк"));
    addTagRow("guarantor BIC", QStringLiteral("БИК_БАНКА_ГАРАНТА"), 0, QStringLiteral("044525225"));
    addTagRow("guarantee flag", QStringLiteral("БАНКОВСКАЯ_ГАРАНТИЯ"), 0, QStringLiteral("Да"));
    addUnknownRow("known to neither", QStringLiteral("БАНК"));
    addUnknownRow("a job tag", QStringLiteral("ДАТА_ОЦЕНКИ"));
}

void TestAgreementJob::agreementTags()
{
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(bool, handled);
    QFETCH(QString, expected);
    EvaluationTagStorage storage;
    AgreementOnTag agreement(&storage);
    fillAgreement(agreement);
    QString value;
    QCOMPARE(agreement.getTag(name, value, flags), handled);
    if (handled)
        QCOMPARE(value, expected);
}

void TestAgreementJob::valueAddedTax_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("tax");
    QTest::newRow("charged on top") << QStringLiteral("1000") << QStringLiteral("180");
    QTest::newRow("with kopecks") << QStringLiteral("1000.50") << QStringLiteral("180.09");
    QTest::newRow("rounded to a kopeck") << QStringLiteral("0.05") << QStringLiteral("0.01");
    QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("no price") << QString() << QString();
    QTest::newRow("not a number") << QStringLiteral("тысяча") << QString();
}

void TestAgreementJob::valueAddedTax()
{
    QFETCH(QString, price);
    QFETCH(QString, tax);
    EvaluationTagStorage storage;
    storage.setTag(QStringLiteral("СТОИМОСТЬ_УСЛУГ"), price);
    AgreementOnTag agreement(&storage);
    QString value;
    QVERIFY(agreement.getTag(QStringLiteral("СТОИМОСТЬ_УСЛУГ_НДС"), value, 0));
    QCOMPARE(value, tax);
    Money vat;
    QCOMPARE(agreement.getPriceVat(vat).isNull(), tax.isNull());
}

void TestAgreementJob::jobWriterCarriesCompletionDateInTerm()
{
    EvaluationTagStorage storage;
    EvaluationJobOnTag job(&storage);
    fillJob(job);
    const QStringList lines = writtenLines(job);
    QCOMPARE(lines, (QStringList{
                        QStringLiteral("ЦЕЛЬ_ОЦЕНКИ=Определение рыночной стоимости"),
                        QStringLiteral("ИСПОЛЬЗОВАНИЕ_РЕЗУЛЬТАТОВ_ОЦЕНКИ=Для суда"),
                        QStringLiteral("ОГРАНИЧЕНИЯ_РЕЗУЛЬТАТОВ_ОЦЕНКИ=Только для указанной цели"),
                        QStringLiteral("ДОПУЩЕНИЯ_И_ОГРАНИЧЕНИЯ=первое\\nвторое"),
                        QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ=до 15.03.2014"),
                        QStringLiteral("ДАТА_ОЦЕНКИ=01.03.2014"),
                        QStringLiteral("ДАТА_ОТЧЕТА=05.03.2014"),
                    }));

    EvaluationTagStorage loaded;
    reload(loaded, lines);
    EvaluationJobOnTag reloadedJob(&loaded);
    QString text;
    QVERIFY(loaded.getTag(QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"), text).isNull());
    QDate date;
    QCOMPARE(reloadedJob.getCompletionDate(date), QDate(2014, 3, 15));
    QCOMPARE(reloadedJob.getTerm(text), QStringLiteral("до 15.03.2014"));
    QCOMPARE(reloadedJob.getAssumptions(text), QStringLiteral("первое\nвторое"));
}

void TestAgreementJob::jobTags_data()
{
    addTagColumns();
    addTagRow("purpose", QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), 0, QStringLiteral("Определение рыночной стоимости"));
    addTagRow("use", QStringLiteral("ИСПОЛЬЗОВАНИЕ_РЕЗУЛЬТАТОВ_ОЦЕНКИ"), 0, QStringLiteral("Для суда"));
    addTagRow("restrictions", QStringLiteral("ОГРАНИЧЕНИЯ_РЕЗУЛЬТАТОВ_ОЦЕНКИ"), 0,
              QStringLiteral("Только для указанной цели"));
    addTagRow("assumptions", QStringLiteral("ДОПУЩЕНИЯ_И_ОГРАНИЧЕНИЯ"), 0, QStringLiteral("первое\nвторое"));
    addTagRow("term", QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ"), 0, QStringLiteral("до 15.03.2014"));
    addTagRow("days", QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ_ДНЕЙ"), 0, QStringLiteral("14"));
    addTagRow("valuation date", QStringLiteral("ДАТА_ОЦЕНКИ"), 0, QStringLiteral("01.03.2014"));
    addTagRow("valuation year", QStringLiteral("ДАТА_ОЦЕНКИ"), TAGFLAG_YEAR, QStringLiteral("2014"));
    addTagRow("report date", QStringLiteral("ДАТА_ОТЧЕТА"), 0, QStringLiteral("05.03.2014"));
    addTagRow("completion date", QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"), 0, QStringLiteral("15.03.2014"));
    addTagRow("completion year", QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"), TAGFLAG_YEAR, QStringLiteral("2014"));
    addUnknownRow("an agreement tag", QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"));
    addUnknownRow("a part of a name", QStringLiteral("СРОК"));
}

void TestAgreementJob::jobTags()
{
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(bool, handled);
    QFETCH(QString, expected);
    EvaluationTagStorage storage;
    AgreementOnTag agreement(&storage);
    agreement.setDate(QDate(2014, 3, 1));
    EvaluationJobOnTag job(&storage);
    fillJob(job);
    QString value;
    QCOMPARE(job.getTag(name, value, flags), handled);
    if (handled)
        QCOMPARE(value, expected);
}

void TestAgreementJob::completionDateAndDays_data()
{
    QTest::addColumn<QString>("storedCompletion");
    QTest::addColumn<QString>("storedTerm");
    QTest::addColumn<QString>("agreementDate");
    QTest::addColumn<QDate>("completion");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("daysText");
    QTest::addColumn<QString>("term");
    const QString none;
    const QString march1 = QStringLiteral("01.03.2014");
    const QString march15 = QStringLiteral("15.03.2014");
    const QString to15 = QStringLiteral("до 15.03.2014");
    const QString tenDays = QStringLiteral("10 дней");
    const QString to20 = QStringLiteral("до 20.03.2014 включительно");
    const QString fiveDays = QStringLiteral("в течение 5 рабочих дней");
    const QString threeDigits = QStringLiteral("120 дней");
    const QString fourDigits = QStringLiteral("1000 дней");
    const QString impossible = QStringLiteral("до 31.02.2014");
    QTest::newRow("completion date set") << march15 << tenDays << march1 << QDate(2014, 3, 15) << 14
                                         << QStringLiteral("14") << to15;
    QTest::newRow("completion date only") << march15 << none << none << QDate(2014, 3, 15) << -1 << none << to15;
    QTest::newRow("completion before agreement") << QStringLiteral("25.02.2014") << none << march1
                                                 << QDate(2014, 2, 25) << -4 << QStringLiteral("-4")
                                                 << QStringLiteral("до 25.02.2014");
    QTest::newRow("date in the term") << none << to20 << march1 << QDate(2014, 3, 20) << 19 << QStringLiteral("19")
                                      << to20;
    QTest::newRow("ten days") << none << tenDays << march1 << QDate(2014, 3, 11) << 10 << QStringLiteral("10")
                              << tenDays;
    QTest::newRow("one digit") << none << fiveDays << march1 << QDate(2014, 3, 6) << 5 << QStringLiteral("5")
                               << fiveDays;
    QTest::newRow("zero days") << none << QStringLiteral("0") << march1 << QDate(2014, 3, 1) << 0
                               << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("three digits") << none << threeDigits << march1 << QDate(2014, 6, 29) << 120
                                  << QStringLiteral("120") << threeDigits;
    QTest::newRow("four digits are no day count") << none << fourDigits << march1 << QDate() << -1 << none
                                                  << fourDigits;
    QTest::newRow("no dates at all") << none << none << none << QDate() << -1 << none << none;
    QTest::newRow("days, no agreement date") << none << tenDays << none << QDate() << -1 << none << tenDays;
    QTest::newRow("bad agreement date") << none << tenDays << QStringLiteral("1 марта 2014") << QDate() << -1 << none
                                        << tenDays;
    QTest::newRow("bad completion date") << QStringLiteral("31.02.2014") << tenDays << march1 << QDate(2014, 3, 11)
                                         << 10 << QStringLiteral("10") << tenDays;
    QTest::newRow("impossible date in the term is no day count")
        << none << impossible << march1 << QDate() << -1 << none << impossible;
}

void TestAgreementJob::completionDateAndDays()
{
    QFETCH(QString, storedCompletion);
    QFETCH(QString, storedTerm);
    QFETCH(QString, agreementDate);
    QFETCH(QDate, completion);
    QFETCH(int, days);
    QFETCH(QString, daysText);
    QFETCH(QString, term);
    EvaluationTagStorage storage;
    storage.setTag(QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"), storedCompletion);
    storage.setTag(QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ"), storedTerm);
    storage.setTag(QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), agreementDate);
    EvaluationJobOnTag job(&storage);

    QDate date;
    QCOMPARE(job.getCompletionDate(date), completion);
    QCOMPARE(job.getDays(), days);
    QString value;
    QCOMPARE(job.getTerm(value), term);
    QVERIFY(job.getTag(QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ_ДНЕЙ"), value, 0));
    QCOMPARE(value, daysText);
    QVERIFY(job.getTag(QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"), value, 0));
    QCOMPARE(value, completion.toString(QStringLiteral("dd.MM.yyyy")));
}

QTEST_MAIN(TestAgreementJob)
#include "tst_agreementjob.moc"
