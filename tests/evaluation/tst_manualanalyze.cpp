#include "evaluation/evaluationtagstorage.h"
#include "evaluation/manualanalyzeontag.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QTest>

namespace {

const QString outline = QStringLiteral(
    "Анализ рынка объекта оценки:\n"
    "Анализ других внешних факторов, не относящихся непосредственно к объекту оценки, но влияющих на его "
    "стоимость:\n"
    "Информация по всем ценоообразующим факторам, использующимся при определении стоимости:\n"
    "Описание значений или диапазонов значений ценоообразующих факторов:");

QString escaped(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

QStringList writtenLines(ManualAnalyze& analysis)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!analysis.save(buffer))
        return {QStringLiteral("<save failed>")};
    QStringList lines = QString::fromUtf8(buffer.data()).split(QLatin1Char('\n'));
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

} // namespace

class TestManualAnalyze : public QObject
{
    Q_OBJECT

private slots:
    void reportTags_data();
    void reportTags();
    void writer_data();
    void writer();
    void textsSurviveSaveAndLoad();
};

void TestManualAnalyze::reportTags_data()
{
    QTest::addColumn<QString>("storedAnalysis");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<QString>("expected");
    const QString analysisTag = QStringLiteral("АНАЛИЗ_РЫНКА");
    QTest::newRow("new evaluation: outline") << QString() << analysisTag << true << outline;
    QTest::newRow("emptied analysis: outline") << QStringLiteral("") << analysisTag << true << outline;
    QTest::newRow("written analysis") << QStringLiteral("Рынок растёт") << analysisTag << true
                                      << QStringLiteral("Рынок растёт");
    QTest::newRow("a blank is a written text") << QStringLiteral(" ") << analysisTag << true << QStringLiteral(" ");
    QTest::newRow("no sources yet") << QString() << QStringLiteral("ПЕРЕЧЕНЬ_ИСТОЧНИКОВ") << true << QString();
    QTest::newRow("no conclusions yet") << QString() << QStringLiteral("ВЫВОДЫ_ПО_АНАЛИЗУ") << true << QString();
    QTest::newRow("other name") << QString() << QStringLiteral("АНАЛИЗ") << false << QString();
}

void TestManualAnalyze::reportTags()
{
    QFETCH(QString, storedAnalysis);
    QFETCH(QString, name);
    QFETCH(bool, handled);
    QFETCH(QString, expected);
    EvaluationTagStorage storage;
    ManualAnalyzeOnTag analysis(&storage);
    if (!storedAnalysis.isNull())
        analysis.setAnalysis(storedAnalysis);
    QString value = QStringLiteral("previous");
    QCOMPARE(analysis.getTag(name, value, TAGFLAG_WORDS), handled);
    if (handled)
        QCOMPARE(value, expected);
}

void TestManualAnalyze::writer_data()
{
    QTest::addColumn<QString>("analysisText");
    QTest::addColumn<QString>("writtenAnalysis");
    QTest::newRow("empty analysis saves the outline") << QStringLiteral("") << escaped(outline);
    QTest::newRow("written analysis") << QStringLiteral("Спрос\nПредложение") << QStringLiteral("Спрос\\nПредложение");
}

void TestManualAnalyze::writer()
{
    QFETCH(QString, analysisText);
    QFETCH(QString, writtenAnalysis);
    EvaluationTagStorage storage;
    ManualAnalyzeOnTag analysis(&storage);
    analysis.setAnalysis(analysisText);
    analysis.setSources(QStringLiteral("auto.example"));
    QCOMPARE(writtenLines(analysis), (QStringList{
                                         QStringLiteral("АНАЛИЗ_РЫНКА=") + writtenAnalysis,
                                         QStringLiteral("ПЕРЕЧЕНЬ_ИСТОЧНИКОВ=auto.example"),
                                         QStringLiteral("ВЫВОДЫ_ПО_АНАЛИЗУ="),
                                     }));
}

void TestManualAnalyze::textsSurviveSaveAndLoad()
{
    EvaluationTagStorage storage;
    ManualAnalyzeOnTag analysis(&storage);
    const QString sources = QStringLiteral("1. Сайт\n2. Журнал \\ выпуск 3\r\n3. Архив");
    const QString conclusions = QStringLiteral("Цены\n\nстабильны");
    analysis.setSources(sources);
    analysis.setConclusions(conclusions);

    EvaluationTagStorage loaded;
    reload(loaded, writtenLines(analysis));
    ManualAnalyzeOnTag reloaded(&loaded);
    QString text;
    QCOMPARE(loaded.getTag(QStringLiteral("АНАЛИЗ_РЫНКА"), text), outline);
    QCOMPARE(reloaded.getSources(text), sources);
    QCOMPARE(reloaded.getConclusions(text), conclusions);
    QCOMPARE(analysis.getSources(text), sources);
}

QTEST_MAIN(TestManualAnalyze)
#include "tst_manualanalyze.moc"
