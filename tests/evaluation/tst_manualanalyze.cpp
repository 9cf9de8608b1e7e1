#include "evaluation/evaluationtagstorage.h"
#include "evaluation/manualanalyze.h"

#include <QTemporaryDir>
#include <QTest>

const QString outline = QStringLiteral(
    "Анализ рынка объекта оценки:\nАнализ других внешних факторов, не относящихся непосредственно к объекту оценки, "
    "но влияющих на его стоимость:\nИнформация по всем ценоообразующим факторам, использующимся при определении "
    "стоимости:\nОписание значений или диапазонов значений ценоообразующих факторов:");

class TestManualAnalyze : public QObject
{
    Q_OBJECT

private slots:
    void tagsSurviveSaveAndLoad_data();
    void tagsSurviveSaveAndLoad();
};

void TestManualAnalyze::tagsSurviveSaveAndLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    const QString sources = QStringLiteral("ПЕРЕЧЕНЬ_ИСТОЧНИКОВ");
    const QString conclusions = QStringLiteral("ВЫВОДЫ_ПО_АНАЛИЗУ");
    QTest::newRow("empty analysis: outline") << QStringLiteral("АНАЛИЗ_РЫНКА") << QString() << outline;
    QTest::newRow("no sources yet") << sources << QString() << QString();
    QTest::newRow("no conclusions yet") << conclusions << QString() << QString();
    QTest::newRow("line feeds") << sources << "Сайт\nЖурнал \\ №3\r\n\nАрхив" << "Сайт\nЖурнал \\ №3\r\n\nАрхив";
    QTest::newRow("an empty line") << conclusions << "Цены\n\nстабильны" << "Цены\n\nстабильны";
}

// An empty analysis is written as the outline, which the appraiser then edits as any text.
void TestManualAnalyze::tagsSurviveSaveAndLoad()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    EvaluationTagStorage storage;
    storage.setTag(name, stored);
    QTemporaryDir dir;
    QVERIFY(storage.save(dir.filePath(QStringLiteral("analysis.zip"))));
    EvaluationTagStorage loaded;
    QVERIFY(loaded.load(dir.filePath(QStringLiteral("analysis.zip"))));
    QString value;
    QCOMPARE(loaded.getTag(name, value), expected);
    for (EvaluationTagStorage* source : {&storage, &loaded}) {
        value = QStringLiteral("<stale>");
        QVERIFY(source->getManualAnalyze()->getTag(name, value, TAGFLAG_WORDS));
        QCOMPARE(value, expected);
    }
    QVERIFY(!loaded.getManualAnalyze()->getTag(QStringLiteral("АНАЛИЗ"), value, 0));
}

QTEST_MAIN(TestManualAnalyze)
#include "tst_manualanalyze.moc"
