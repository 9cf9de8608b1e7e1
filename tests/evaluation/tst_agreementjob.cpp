#include "evaluation/agreementontag.h"
#include "evaluation/evaluationjob.h"
#include "evaluation/evaluationtagstorage.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString notHandled = QStringLiteral("<not handled>");

// What a section answers for a tag, or notHandled when the name is not one of its own.
template <typename Section>
QString answer(Section& section, const QString& name, long flags)
{
    QString value = QStringLiteral("<stale>");
    return section.getTag(name, value, flags) ? value : notHandled;
}

// Puts "NAME=value" entries into the storage as a loaded tag list would.
void store(EvaluationStorage& storage, const QStringList& entries)
{
    for (const QString& entry : entries)
        storage.setTag(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
}

} // namespace

class TestAgreementJob : public QObject
{
    Q_OBJECT

private slots:
    void agreementTags_data();
    void agreementTags();
    void agreementWriterWithoutValues_data();
    void agreementWriterWithoutValues();
    void completionDateAndDays_data();
    void completionDateAndDays();
};

void TestAgreementJob::agreementTags_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("name");
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("expected");
    // The agreement's date with Y, its price in words and the tax on a price with kopecks
    // are resolved end to end by tst_fullevaluation.
    const QString price = QStringLiteral("СТОИМОСТЬ_УСЛУГ");
    const QString vat = QStringLiteral("СТОИМОСТЬ_УСЛУГ_НДС");
    const QString amount = QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ");
    const long words = TAGFLAG_WORDS;
    const long rounded = TAGFLAG_ROUND_T;
    QTest::newRow("price of no number") << "тысяча" << price << (rounded | words) << "";
    QTest::newRow("tax") << "1000" << vat << 0L << "180";
    QTest::newRow("tax without price") << "" << vat << 0L << "";
    // Names the agreement does not know go on to its guarantee.
    QTest::newRow("guarantee number") << "1000" << "НОМЕР_БАНКОВСКОЙ_ГАРАНТИИ" << 0L << "БГ-1";
    QTest::newRow("guarantee amount, T") << "1000" << amount << rounded << "125000";
    QTest::newRow("T, R") << "1000" << amount << (rounded | words) << "Сто двадцать пять тысяч рублей 00 копеек";
    QTest::newRow("known to neither") << "1000" << "БАНК" << 0L << notHandled;
    QTest::newRow("a job tag") << "1000" << "ДАТА_ОЦЕНКИ" << 0L << notHandled;
}

void TestAgreementJob::agreementTags()
{
    QFETCH(QString, price);
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(QString, expected);
    EvaluationTagStorage storage;
    store(storage, {QStringLiteral("СТОИМОСТЬ_УСЛУГ=") + price,
                    QStringLiteral("НОМЕР_БАНКОВСКОЙ_ГАРАНТИИ=БГ-1"), QStringLiteral("БАНКОВСКАЯ_ГАРАНТИЯ=Да"),
                    QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ=123456.78")});
    AgreementOnTag agreement(&storage);
    QCOMPARE(answer(agreement, name, flags), expected);
}

void TestAgreementJob::agreementWriterWithoutValues_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("nothing stored") << QStringList();
    QTest::newRow("values that do not parse")
        << QStringList{QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА=32.13.2014"), QStringLiteral("СТОИМОСТЬ_УСЛУГ=тысяча"),
                       QStringLiteral("ДАТА_БАНКОВСКОЙ_ГАРАНТИИ=1 февраля"),
                       QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ=12,3,4"), QStringLiteral("БАНКОВСКАЯ_ГАРАНТИЯ=может")};
}

// Every tag is written, the guarantee's six included, empty when nothing readable is stored.
void TestAgreementJob::agreementWriterWithoutValues()
{
    QFETCH(QStringList, stored);
    EvaluationTagStorage storage;
    store(storage, stored);
    AgreementOnTag agreement(&storage);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    agreement.save(buffer);
    QCOMPARE(QString::fromUtf8(buffer.data()).split(QLatin1Char('\n')),
             (QStringList{QStringLiteral("НОМЕР_ДОГОВОРА="), QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА="),
                          QStringLiteral("СТОИМОСТЬ_УСЛУГ="), QStringLiteral("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА="),
                          QStringLiteral("НОМЕР_БАНКОВСКОЙ_ГАРАНТИИ="), QStringLiteral("ДАТА_БАНКОВСКОЙ_ГАРАНТИИ="),
                          QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ="), QStringLiteral("БАНК_ГАРАНТ="),
                          QStringLiteral("БИК_БАНКА_ГАРАНТА="), QStringLiteral("БАНКОВСКАЯ_ГАРАНТИЯ=Нет"), QString()}));
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
    const QString march1 = QStringLiteral("01.03.2014");
    const QString march15 = QStringLiteral("15.03.2014");
    const QString tenDays = QStringLiteral("10 дней");
    const QString byMarch15 = QStringLiteral("до 15.03.2014");
    const QString byMarch20 = QStringLiteral("до 20.03.2014 включительно");
    const QString fiveDays = QStringLiteral("в течение 5 рабочих дней");
    QTest::newRow("completion stored") << march15 << tenDays << march1 << QDate(2014, 3, 15) << 14 << "14" << byMarch15;
    QTest::newRow("no agreement date") << march15 << "" << "" << QDate(2014, 3, 15) << -1 << "" << byMarch15;
    QTest::newRow("days < 0") << "25.02.2014" << "" << march1 << QDate(2014, 2, 25) << -4 << "-4" << "до 25.02.2014";
    QTest::newRow("date in the term") << "" << byMarch20 << march1 << QDate(2014, 3, 20) << 19 << "19" << byMarch20;
    QTest::newRow("one digit") << "" << fiveDays << march1 << QDate(2014, 3, 6) << 5 << "5" << fiveDays;
    QTest::newRow("three digits") << "" << "120 дней" << march1 << QDate(2014, 6, 29) << 120 << "120" << "120 дней";
    QTest::newRow("four digits are no day count") << "" << "1000 дней" << march1 << QDate() << -1 << "" << "1000 дней";
    QTest::newRow("no dates at all") << "" << "" << "" << QDate() << -1 << "" << "";
    QTest::newRow("bad agreement date") << "" << tenDays << "1 марта 2014" << QDate() << -1 << "" << tenDays;
    QTest::newRow("bad completion") << "31.02.2014" << tenDays << march1 << QDate(2014, 3, 11) << 10 << "10" << tenDays;
    // A written-out date wins over a day count even when it is no real date.
    QTest::newRow("31 February") << "" << "до 31.02.2014" << march1 << QDate() << -1 << "" << "до 31.02.2014";
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
    QCOMPARE(answer(*storage.getEvaluationJob(), QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), 0), notHandled);
    QTemporaryDir dir;
    QVERIFY(storage.save(dir.filePath(QStringLiteral("job.zip"))));
    EvaluationTagStorage loaded;
    QVERIFY(loaded.load(dir.filePath(QStringLiteral("job.zip"))));

    // Only the term is written, so the completion date has to come back from it.
    for (EvaluationTagStorage* source : {&storage, &loaded}) {
        EvaluationJob* job = source->getEvaluationJob();
        QDate date;
        QCOMPARE(job->getCompletionDate(date), completion);
        QCOMPARE(job->getDays(), days);
        QString text;
        QCOMPARE(job->getTerm(text), term);
        QCOMPARE(answer(*job, QStringLiteral("СРОК_ПРОВЕДЕНИЯ_ОЦЕНКИ_ДНЕЙ"), 0), daysText);
        QCOMPARE(answer(*job, QStringLiteral("ДАТА_ЗАВЕРШЕНИЯ_ОЦЕНКИ"), 0), completion.toString(u"dd.MM.yyyy"));
    }
}

QTEST_MAIN(TestAgreementJob)
#include "tst_agreementjob.moc"
