#include "report/odtspanjoiner.h"
#include "report/splittagjoiner.h"

#include "zipfixture.h"

#include <QRandomGenerator>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString dataDir = QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/");

// A paragraph of runs; "|" separates the texts of the runs, "[b]" makes a run bold and
// "{name}" puts a marker element (such as a proofing mark) between two runs.
QString paragraph(const QString& runs)
{
    QString xml = QStringLiteral("<w:p><w:pPr><w:jc w:val=\"left\"/></w:pPr>");
    for (QString run : runs.split(QLatin1Char('|'))) {
        if (run.startsWith(QLatin1Char('{'))) {
            xml += run.mid(1, run.size() - 2);
            continue;
        }
        const bool bold = run.startsWith(QLatin1String("[b]"));
        if (bold)
            run = run.mid(3);
        xml += QStringLiteral("<w:r>") + (bold ? QStringLiteral("<w:rPr><w:b/></w:rPr>") : QString())
            + QStringLiteral("<w:t>") + run + QStringLiteral("</w:t></w:r>");
    }
    return xml + QStringLiteral("</w:p>");
}

QString part(const QString& body)
{
    return QStringLiteral("<w:document xmlns:w=\"w\"><w:body>") + body + QStringLiteral("</w:body></w:document>");
}

bool wellFormed(const QString& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

const char* const proof = "{<w:proofErr w:type=\"spellStart\"/>}";

QString odtPart(const QString& body)
{
    return QStringLiteral("<office:text xmlns:office=\"o\" xmlns:text=\"t\">") + body + QStringLiteral("</office:text>");
}

QString odtParagraph(const QString& content)
{
    return QStringLiteral("<text:p text:style-name=\"Standard\">") + content + QStringLiteral("</text:p>");
}

QString span(const QString& text)
{
    return QStringLiteral("<text:span text:style-name=\"B\">") + text + QStringLiteral("</text:span>");
}

} // namespace

class TestSplitTagJoiner : public QObject
{
    Q_OBJECT

private slots:
    void joinsTagsSplitAcrossRuns_data();
    void joinsTagsSplitAcrossRuns();
    void joinsTagsSplitAcrossSpans_data();
    void joinsTagsSplitAcrossSpans();
    void partsOfWholeTagsNeedNoJoining();
    void keepsWordProcessorTemplatesWithoutSplitTags_data();
    void keepsWordProcessorTemplatesWithoutSplitTags();
};

void TestSplitTagJoiner::joinsTagsSplitAcrossRuns_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("joined");

    const QString bookmarkStart = QStringLiteral("{<w:bookmarkStart w:id=\"7\" w:name=\"_GoBack\"/>}");
    const QString bookmarkEnd = QStringLiteral("{<w:bookmarkEnd w:id=\"7\"/>}");
    QTest::newRow("three runs, formatting after the tag kept")
        << paragraph(QStringLiteral("Марка: &lt;#МАРКА_|[b]ТС|#&gt;|[b] важно"))
        << paragraph(QStringLiteral("Марка: &lt;#МАРКА_ТС#&gt;|[b]||[b] важно")) << 1;
    QTest::newRow("proofing marks inside the tag dropped, outside kept")
        << paragraph(QStringLiteral("&lt;#ОЦЕН|") + proof + QStringLiteral("|ЩИК_ФИО#S#&gt;x|") + proof
                     + QStringLiteral("|y"))
        << paragraph(QStringLiteral("&lt;#ОЦЕНЩИК_ФИО#S#&gt;|x|") + proof + QStringLiteral("|y")) << 1;
    QTest::newRow("bookmark inside a tag dropped with its end")
        << paragraph(QStringLiteral("&lt;%ША|") + bookmarkStart + QStringLiteral("|ПКА%&gt;|") + bookmarkEnd
                     + QStringLiteral("|после"))
        << paragraph(QStringLiteral("&lt;%ШАПКА%&gt;||после")) << 1;
    QTest::newRow("condition markers, the short end split at its bracket")
        << paragraph(QStringLiteral("&lt;?VIN|[b]?&gt;есть&lt;|?&gt;"))
        << paragraph(QStringLiteral("&lt;?VIN?&gt;|[b]есть&lt;?&gt;|")) << 2;
    QTest::newRow("two tags in one run boundary")
        << paragraph(QStringLiteral("&lt;#A#&gt;&lt;#Б|[b]В#&gt;&lt;#Г|Д#R#&gt;"))
        << paragraph(QStringLiteral("&lt;#A#&gt;&lt;#БВ#&gt;|[b]&lt;#ГД#R#&gt;|")) << 2;
    QTest::newRow("opener split from its mark")
        << paragraph(QStringLiteral("текст &lt;|#VIN#&gt;")) << paragraph(QStringLiteral("текст &lt;#VIN#&gt;|")) << 1;
    QTest::newRow("unclosed opener before a split tag")
        << paragraph(QStringLiteral("&lt;#ОБРЫВ &lt;#V|IN#&gt;"))
        << paragraph(QStringLiteral("&lt;#ОБРЫВ &lt;#VIN#&gt;|")) << 1;
    QTest::newRow("space after the tag kept")
        << paragraph(QStringLiteral("&lt;#V|IN#&gt; и"))
        << paragraph(QStringLiteral("&lt;#VIN#&gt;|")).replace(QStringLiteral("<w:t></w:t></w:r></w:p>"),
                                                                 QStringLiteral("<w:t xml:space=\"preserve\"> и</w:t></w:r></w:p>"))
        << 1;
    const QString untouched[] = {
        paragraph(QStringLiteral("&lt;#VIN#&gt;|[b]&lt;#МАРКА_ТС#R#&gt;")),
        paragraph(QStringLiteral("a &lt; b|[b] и c &gt; d # %")),
        paragraph(QStringLiteral("&lt;#МАР")) + paragraph(QStringLiteral("КА#&gt;")),
    };
    QTest::newRow("whole tags untouched") << untouched[0] << untouched[0] << 0;
    QTest::newRow("comparison signs untouched") << untouched[1] << untouched[1] << 0;
    QTest::newRow("never across paragraphs") << untouched[2] << untouched[2] << 0;
}

void TestSplitTagJoiner::joinsTagsSplitAcrossRuns()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(int, joined);
    QString text = part(input);
    QCOMPARE(SplitTagJoiner().join(text), joined);
    QCOMPARE(text, part(expected));
    QVERIFY(wellFormed(text));
}

void TestSplitTagJoiner::joinsTagsSplitAcrossSpans_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("joined");

    QTest::newRow("span inside a tag, its formatting after the tag kept")
        << odtParagraph(QStringLiteral("Марка: &lt;#МАРКА_") + span(QStringLiteral("ТС")) + QStringLiteral("#&gt; ")
                        + span(QStringLiteral("важно")))
        << odtParagraph(QStringLiteral("Марка: &lt;#МАРКА_ТС#&gt;") + span(QString()) + QStringLiteral(" ")
                        + span(QStringLiteral("важно")))
        << 1;
    QTest::newRow("tracked insertion inside a tag dropped with its end")
        << odtParagraph(QStringLiteral("&lt;#МАРКА<text:change-start text:change-id=\"ct1\"/>_ТС"
                                       "<text:change-end text:change-id=\"ct1\"/>#&gt;"))
        << odtParagraph(QStringLiteral("&lt;#МАРКА_ТС#&gt;")) << 1;
    QTest::newRow("bookmark started inside a tag, ended after it: both dropped")
        << odtParagraph(QStringLiteral("&lt;#МОДЕЛЬ<text:bookmark-start text:name=\"М\"/>_ТС#&gt; (з)"
                                       "<text:bookmark-end text:name=\"М\"/>. <text:bookmark text:name=\"К\"/>"))
        << odtParagraph(QStringLiteral("&lt;#МОДЕЛЬ_ТС#&gt; (з). <text:bookmark text:name=\"К\"/>")) << 1;
    QTest::newRow("heading, condition marker inside spans")
        << QStringLiteral("<text:h text:outline-level=\"1\">") + span(QStringLiteral("&lt;?V")) + QStringLiteral("IN?&gt;есть&lt;")
               + span(QStringLiteral("?&gt;")) + QStringLiteral("</text:h>")
        << QStringLiteral("<text:h text:outline-level=\"1\">") + span(QStringLiteral("&lt;?VIN?&gt;"))
               + QStringLiteral("есть&lt;?&gt;") + span(QString()) + QStringLiteral("</text:h>")
        << 2;
    const QString apart = odtParagraph(QStringLiteral("&lt;#МАР")) + odtParagraph(QStringLiteral("КА#&gt;"));
    QTest::newRow("never across paragraphs") << apart << apart << 0;
}

void TestSplitTagJoiner::joinsTagsSplitAcrossSpans()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(int, joined);
    QString text = odtPart(input);
    QCOMPARE(OdtSpanJoiner().join(text), joined);
    QCOMPARE(text, odtPart(expected));
    QVERIFY(wellFormed(text));
}

// Templates whose tags stand whole render exactly as before.
void TestSplitTagJoiner::keepsWordProcessorTemplatesWithoutSplitTags_data()
{
    QTest::addColumn<QString>("templateName");
    for (const char* name : {"report.docx", "act.docx", "photos.docx", "letterhead.docx", "report.odt", "act.odt",
                             "photos.odt", "letterhead.odt"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSplitTagJoiner::keepsWordProcessorTemplatesWithoutSplitTags()
{
    QFETCH(QString, templateName);
    for (const ZipEntry& entry : readZip(dataDir + templateName)) {
        if (!entry.name.endsWith(QLatin1String(".xml")))
            continue;
        const QString original = QString::fromUtf8(entry.content);
        QString text = original;
        const bool odt = templateName.endsWith(QLatin1String(".odt"));
        QCOMPARE(odt ? OdtSpanJoiner().join(text) : SplitTagJoiner().join(text), 0);
        QVERIFY2(text == original, qPrintable(entry.name));
    }
}

// The joiner reading every piece of text, without its quick look.
struct EveryPiece : SplitTagJoiner
{
    using SplitTagJoiner::joinEveryPiece;
};
struct OdtEveryPiece : OdtSpanJoiner
{
    using OdtSpanJoiner::joinEveryPiece;
};

// The quick look that lets a part skip reading every piece of text must never skip one
// that reading would change: random runs of tag pieces, whole or cut at any point, in
// Word's and OpenDocument's markup.
void TestSplitTagJoiner::partsOfWholeTagsNeedNoJoining()
{
    const QStringList pieces = {QStringLiteral("&lt;#ИМЯ#&gt;"), QStringLiteral("&lt;#ИМЯ#R#&gt;"), QStringLiteral("&lt;?А?&gt;"),
                                QStringLiteral("&lt;?&gt;"),     QStringLiteral("&lt;%Ш%&gt;"),   QStringLiteral("&lt;"),
                                QStringLiteral("&lt;#"),         QStringLiteral("#&gt;"),         QStringLiteral("?&gt;"),
                                QStringLiteral("&gt;"),          QStringLiteral("#"),             QStringLiteral("?"),
                                QStringLiteral("текст "),        QStringLiteral("&amp;"),         QStringLiteral("&lt;&amp;")};
    QRandomGenerator random(5);
    int whole = 0;
    int split = 0;
    for (int round = 0; round < 4000; ++round) {
        QStringList runs;
        for (int n = 1 + random.bounded(6); n > 0; --n) {
            QString run;
            for (int k = random.bounded(4); k >= 0; --k)
                run += pieces.at(random.bounded(int(pieces.size())));
            runs << run;
        }
        const bool odt = round % 2;
        QString spans;
        for (const QString& run : std::as_const(runs))
            spans += span(run);
        const QString text = odt ? odtPart(odtParagraph(spans)) : part(paragraph(runs.join(QLatin1Char('|'))));
        QString joined = text;
        const int count = odt ? OdtEveryPiece().joinEveryPiece(joined) : EveryPiece().joinEveryPiece(joined);
        if (!SplitTagJoiner::holdsOnlyWholeTags(text)) {
            split += count > 0 ? 1 : 0;
            continue;
        }
        ++whole;
        QVERIFY2(count == 0 && joined == text, qPrintable(text));
    }
    QVERIFY2(whole > 500 && split > 100, qPrintable(QStringLiteral("%1 %2").arg(whole).arg(split)));
}

QTEST_GUILESS_MAIN(TestSplitTagJoiner)
#include "tst_splittagjoiner.moc"
