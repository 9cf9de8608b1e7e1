#include "runtime/utf8.h"
#include "runtime/xmldefaulthandler.h"
#include "runtime/xmlwellformedness.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QtTest>

// The scan must never call well-formed what the full parser refuses: a document part
// the word processor cannot open would be written. What the scan is unsure of goes to
// the parser, so every verdict is the parser's; the scan only has to be sure often
// enough to matter, which the ordinary parts below show.
class TestXmlWellFormedness : public QObject
{
    Q_OBJECT

private slots:
    void verdictIsTheParsers_data();
    void verdictIsTheParsers();
    void mutatedPartsNeverFoolTheScan();
    void reasonIsTheParsers();
    void utf8VerdictIsTheDecoders();
};

namespace {

bool parserAccepts(const QByteArray& document)
{
    XmlDefaultHandler parser;
    return parser.parse(document);
}

bool scanIsSure(const QByteArray& document)
{
    return XmlWellFormedness::scan(document) == XmlWellFormedness::Scan::WellFormed;
}

const QByteArray wordPart = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                            "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                            "xmlns:r='r'><w:body><w:p w:rsidR=\"00A1\"><w:r><w:t xml:space=\"preserve\">Цена "
                            "&lt;#СТОИМОСТЬ#R#&gt; руб. &amp; &#1046;&#x416; &quot;ок&apos;</w:t></w:r>"
                            "<w:r><w:drawing><wp:docPr id=\"1\" descr=\"photo-1.jpg &gt; &lt;\"/></w:drawing></w:r>"
                            "</w:p><!-- комментарий - с дефисом --><?mso-application progid=\"Word.Document\"?>"
                            "<w:p><w:r><w:t><![CDATA[<не разметка> & ]] ]>]]></w:t></w:r></w:p>"
                            "<w:sectPr/></w:body></w:document>\n";

} // namespace

void TestXmlWellFormedness::verdictIsTheParsers_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<bool>("scanIsSure");

    QTest::newRow("a Word part") << wordPart << true << true;
    QTest::newRow("byte order mark, no declaration") << QByteArray("\xEF\xBB\xBF<a/>") << true << true;
    QTest::newRow("standalone without encoding") << QByteArray("<?xml version='1.0' standalone='no'?><a/>") << true
                                                 << true;
    QTest::newRow("spaces in an end tag") << QByteArray("<a><b></b \n></a>") << true << true;
    QTest::newRow("deep nesting") << QByteArray("<a>").repeated(5000) + QByteArray("</a>").repeated(5000) << true
                                  << true;
    QTest::newRow("four-byte character") << QByteArray("<a>\xF0\x9F\x9A\x97</a>") << true << true;

    // Well-formed, but left to the parser.
    QTest::newRow("document type") << QByteArray("<!DOCTYPE a><a/>") << true << false;
    QTest::newRow("declared Windows-1251") << QByteArray("<?xml version='1.0' encoding='windows-1251'?><a>\xC0</a>")
                                           << true << false;
    QTest::newRow("C1 control character") << QByteArray("<a>\xC2\x85</a>") << true << false;
    QTest::newRow("non-character") << QByteArray("<a>\xEF\xB7\x90</a>") << true << false;
    QTest::newRow("Cyrillic element name") << QByteArray("<имя/>") << true << false;

    QTest::newRow("empty") << QByteArray() << false << false;
    QTest::newRow("white space only") << QByteArray(" \n") << false << false;
    QTest::newRow("unclosed element") << QByteArray("<a><b></b>") << false << false;
    QTest::newRow("crossed elements") << QByteArray("<a><b></a></b>") << false << false;
    QTest::newRow("end tag of another name") << QByteArray("<w:p></w:r>") << false << false;
    QTest::newRow("two roots") << QByteArray("<a/><b/>") << false << false;
    QTest::newRow("text after the root") << QByteArray("<a/>x") << false << false;
    QTest::newRow("attribute twice") << QByteArray("<a x='1' x='2'/>") << false << false;
    QTest::newRow("attributes without space") << QByteArray("<a x='1'y='2'/>") << false << false;
    QTest::newRow("unquoted attribute") << QByteArray("<a x=1/>") << false << false;
    QTest::newRow("< in an attribute") << QByteArray("<a x='<'/>") << false << false;
    QTest::newRow("lone ampersand") << QByteArray("<a>AT&T</a>") << false << false;
    QTest::newRow("entity of HTML") << QByteArray("<a>&nbsp;</a>") << false << false;
    QTest::newRow("reference to NUL") << QByteArray("<a>&#0;</a>") << false << false;
    QTest::newRow("reference to U+FFFE") << QByteArray("<a>&#xFFFE;</a>") << false << false;
    QTest::newRow("reference beyond Unicode") << QByteArray("<a>&#x110000;</a>") << false << false;
    QTest::newRow("vertical tab") << QByteArray("<a>\x0B</a>") << false << false;
    QTest::newRow("U+FFFF") << QByteArray("<a>\xEF\xBF\xBF</a>") << false << false;
    QTest::newRow("cut UTF-8 character") << QByteArray("<a>\xD0</a>") << false << false;
    QTest::newRow("overlong UTF-8") << QByteArray("<a>\xC0\xBC</a>") << false << false;
    QTest::newRow("]]> in text") << QByteArray("<a>]]></a>") << false << false;
    QTest::newRow("-- in a comment") << QByteArray("<a><!-- a -- b --></a>") << false << false;
    QTest::newRow("comment ending --->") << QByteArray("<a><!-- a ---></a>") << false << false;
    QTest::newRow("unclosed CDATA") << QByteArray("<a><![CDATA[x</a>") << false << false;
    QTest::newRow("declaration not first") << QByteArray(" <?xml version='1.0'?><a/>") << false << false;
    QTest::newRow("declaration inside") << QByteArray("<a><?xml version='1.0'?></a>") << false << false;
    QTest::newRow("version 1.1") << QByteArray("<?xml version='1.1'?><a/>") << false << false;
    QTest::newRow("name with two colons") << QByteArray("<a:b:c/>") << false << false;
    QTest::newRow("name starting with a digit") << QByteArray("<1a/>") << false << false;
    QTest::newRow("cut in a start tag") << QByteArray("<a><b x='1'") << false << false;
}

void TestXmlWellFormedness::verdictIsTheParsers()
{
    QFETCH(QByteArray, document);
    QFETCH(bool, wellFormed);
    QFETCH(bool, scanIsSure);
    QCOMPARE(parserAccepts(document), wellFormed);
    QCOMPARE(XmlWellFormedness::check(document), wellFormed);
    QCOMPARE(::scanIsSure(document), scanIsSure);
}

// Bytes that matter to XML put in, taken out and swapped at random places of a Word
// part, many times over: whatever the scan is sure of, the parser accepts.
void TestXmlWellFormedness::mutatedPartsNeverFoolTheScan()
{
    static const QByteArray alphabet[] = {"<", ">", "/", "&", ";", "#", "x", "\"", "'", "=", " ", "!", "?", "-",
                                          "[", "]", ":", "a", "1", "\x0B", "\xD0", "\x96", "&amp;", "</w:t>",
                                          "<w:t>", "<!--", "-->", "<![CDATA[", "]]>", "&#", "\xEF\xBF\xBE"};
    QRandomGenerator random(20261206);
    int sure = 0;
    int refused = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray document = wordPart;
        for (int edits = 1 + random.bounded(3); edits > 0; --edits) {
            const qsizetype at = random.bounded(document.size());
            const QByteArray& piece = alphabet[random.bounded(int(std::size(alphabet)))];
            switch (random.bounded(3)) {
            case 0:
                document.insert(at, piece);
                break;
            case 1:
                document.remove(at, 1 + random.bounded(4));
                break;
            default:
                document.replace(at, qMin<qsizetype>(piece.size(), document.size() - at), piece);
            }
        }
        const bool accepted = parserAccepts(document);
        if (scanIsSure(document)) {
            ++sure;
            if (!accepted)
                QFAIL(qPrintable(QStringLiteral("the scan accepts what the parser refuses: ") + QString::fromUtf8(document)));
        }
        refused += accepted ? 0 : 1;
    }
    // Both kinds of mutation occur, so the loop tests something either way.
    QVERIFY2(sure > 200, qPrintable(QString::number(sure)));
    QVERIFY2(refused > 1000, qPrintable(QString::number(refused)));
}

void TestXmlWellFormedness::reasonIsTheParsers()
{
    const QByteArray broken = "<w:p><w:r></w:p>";
    XmlDefaultHandler parser;
    QVERIFY(!parser.parse(broken));
    QString reason;
    QVERIFY(!XmlWellFormedness::check(broken, &reason));
    QCOMPARE(reason, parser.errorString());
    QVERIFY(!reason.isEmpty());
}

// A text part is taken as UTF-8 only when Qt's strict decoder would take it: pieces of
// every length, sound and broken (overlong, surrogate, past U+10FFFF, cut short, stray
// continuation bytes), strung together at random.
void TestXmlWellFormedness::utf8VerdictIsTheDecoders()
{
    static const QByteArray pieces[] = {"a",        "<w:t>",    "\xD0\x96",     "\xC2\x80",     "\xDF\xBF",     "\xE2\x82\xAC",
                                        "\xEF\xBF\xBE", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xC0\x80", "\xC1\xBF",
                                        "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5",     "\x80",
                                        "\xBF",     "\xD0",     "\xE2\x82",     "\xFF",     "12345678"};
    QRandomGenerator random(20261206);
    int valid = 0;
    for (int round = 0; round < 5000; ++round) {
        QByteArray bytes;
        for (int count = random.bounded(12); count > 0; --count)
            bytes += pieces[random.bounded(int(std::size(pieces)))];
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(bytes);
        const bool decodes = !decoder.hasError();
        QVERIFY2(Utf8::isValid(bytes) == decodes, bytes.toHex(' ').constData());
        valid += decodes ? 1 : 0;
    }
    QVERIFY2(valid > 500 && valid < 4500, qPrintable(QString::number(valid)));
}

QTEST_GUILESS_MAIN(TestXmlWellFormedness)
#include "tst_xmlwellformedness.moc"
