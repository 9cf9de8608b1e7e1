#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "report/templatechecker.h"
#include "report/templatetodocument.h"
#include "runtime/singletonregistry.h"

#include "wordpackage.h"
#include "zipfixture.h"

#include <QImage>
#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString dataDir = QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/");

// "paragraph: message" for every problem, in the order found.
QStringList problemsOf(const TemplateChecker& checker)
{
    QStringList lines;
    for (const TemplateChecker::Problem& problem : checker.problems())
        lines << QStringLiteral("%1:%2: %3").arg(problem.location.part).arg(problem.location.paragraph).arg(problem.message);
    return lines;
}

} // namespace

class TestTemplateChecker : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void findsEveryPlantedError_data();
    void findsEveryPlantedError();
    void cleanTemplateHasNoErrors_data();
    void cleanTemplateHasNoErrors();
    void readsAPackageAsTheReportDoes();
    void framesOfOdtTemplates_data();
    void framesOfOdtTemplates();
    void showsTheValuesOfAnEvaluation();
    void warnsOfValuesADocumentCannotHold_data();
    void warnsOfValuesADocumentCannotHold();
    void textTemplates_data();
    void textTemplates();
    void unusableTextFilesAreNotRead_data();
    void unusableTextFilesAreNotRead();
};

void TestTemplateChecker::findsEveryPlantedError_data()
{
    QTest::addColumn<QString>("templateName");
    QTest::addColumn<QString>("part");
    QTest::newRow("DOCX") << "checkerrors.docx" << "word/document.xml";
    QTest::newRow("ODT") << "checkerrors.odt" << "content.xml";
}

void TestTemplateChecker::findsEveryPlantedError()
{
    QFETCH(QString, templateName);
    QFETCH(QString, part);
    TemplateChecker checker;
    QVERIFY(checker.checkFile(dataDir + templateName));
    const QString doc = part + QLatin1Char(':');
    QCOMPARE(problemsOf(checker),
             QStringList({doc + "1: unknown tag name \"МАРКА_ТЗ\"", doc + "1: tag \"VIN\": unknown flag letter \"Q\"",
                          doc + "2: unclosed tag: \"<#НОМЕР_ДОГОВОРА без конца.\" has no #>",
                          doc + "5: unknown meta tag \"ШАПКА\"",
                          doc + "3: condition \"VIN\" has no end",
                          doc + "4: repeated block without indexed tags: it never shows"}));
    QVERIFY(checker.hasErrors());
    QCOMPARE(checker.problems().at(0).location.context, QStringLiteral("Марка: <#МАРКА_ТЗ#>, VIN: <#VIN#Q#>."));
}

void TestTemplateChecker::cleanTemplateHasNoErrors_data()
{
    findsEveryPlantedError_data();
}

// The template's tags were split by formatting changes in the word processor.
void TestTemplateChecker::cleanTemplateHasNoErrors()
{
    QFETCH(QString, templateName);
    QFETCH(QString, part);
    TemplateChecker checker;
    QVERIFY(checker.checkFile(dataDir + templateName.replace(QLatin1String("checkerrors"), QLatin1String("splittags"))));
    QCOMPARE(problemsOf(checker), QStringList());
    QStringList tags;
    for (const TemplateChecker::Occurrence& found : checker.occurrences())
        if (found.location.part == part)
            tags << found.text;
    QCOMPARE(tags, QStringList({"<#МАРКА_ТС#>", "<#МОДЕЛЬ_ТС#>", "<?VIN?>", "<#VIN#>", "<?/VIN?>", "<?ПТС!?>",
                                "<?/ПТС?>", "<#ЦВЕТ_КУЗОВА#L#>", "<#НОМЕР_ПАРАГРАФА#>", "<#ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ#>"}));
}

void TestTemplateChecker::framesOfOdtTemplates_data()
{
    QTest::addColumn<QByteArray>("photoFrame"); // what binds the first photo frame of photos.odt
    QTest::addColumn<QString>("problem");
    QTest::newRow("description") << QByteArray("<svg:desc>photo-0.jpg</svg:desc>") << QString();
    QTest::newRow("description near a picture's name")
        << QByteArray("<svg:desc>Photo-0.jpg</svg:desc>") << "picture described \"Photo-0.jpg\" names no picture";
    QTest::newRow("alternative text only")
        << QByteArray("<svg:title>photo-0.jpg</svg:title>") << "picture with the alternative text \"photo-0.jpg\"";
}

// Frames meant to show a picture of the evaluation that would keep the template's image.
void TestTemplateChecker::framesOfOdtTemplates()
{
    QFETCH(QByteArray, photoFrame);
    QFETCH(QString, problem);
    QList<ZipEntry> entries = readZip(dataDir + QStringLiteral("photos.odt"));
    for (ZipEntry& entry : entries)
        if (entry.name == QLatin1String("content.xml"))
            entry.content.replace("<svg:desc>photo-0.jpg</svg:desc>", photoFrame);
    QTemporaryDir dir;
    QVERIFY(writeZip(dir.filePath(QStringLiteral("frames.odt")), entries));
    TemplateChecker checker;
    QVERIFY(checker.checkFile(dir.filePath(QStringLiteral("frames.odt"))));
    const QStringList found = problemsOf(checker).filter(QStringLiteral(": picture "));
    QCOMPARE(found.size(), problem.isEmpty() ? 0 : 1);
    if (!problem.isEmpty())
        QVERIFY2(found.first().startsWith(QStringLiteral("content.xml:2: ") + problem), qPrintable(found.first()));
}

// Word for the web names the main part document2.xml; the header's tags and pictures
// count as much as the body's.
void TestTemplateChecker::readsAPackageAsTheReportDoes()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::gray);
    image.save(&buffer, "PNG");
    const QString main = QStringLiteral("word/document2.xml");
    WordPackage package(main);
    const QString header = QStringLiteral("word/header7.xml");
    package.addPart(QStringLiteral("header"), header,
                    WordPackage::paragraphOf("<w:r><w:t>&lt;#VIN#&gt;</w:t></w:r>"
                                             + WordPackage::picture(QStringLiteral("appraiserLogo-0.jpg"),
                                                                    package.addImage(header, QStringLiteral("word/media/image3.png"), png))));
    const QString frame = package.addImage(main, QStringLiteral("word/media/image1.png"), png);
    package.setBody(WordPackage::paragraph(QStringLiteral("&lt;#НОМЕР_ДОГОВОРА#&gt;"))
                    + WordPackage::paragraphOf(WordPackage::picture(QStringLiteral("photo-1.jpg"), QString(),
                                                                    package.addLink(main, QStringLiteral("file:///C:/x.jpg"))))
                    + WordPackage::paragraphOf(WordPackage::picture(QStringLiteral("Photo-2.jpg"), frame))
                    + WordPackage::paragraphOf(WordPackage::picture(QStringLiteral("photo-0.jpg"), frame)
                                               + WordPackage::picture(QStringLiteral("photo-3.jpg"), frame))
                    + WordPackage::paragraphOf(WordPackage::picture(QStringLiteral("Логотип"),
                                                                    package.addImage(main, QStringLiteral("word/media/image2.png"), png)))
                    + WordPackage::paragraphOf(WordPackage::picture(QStringLiteral("photo-4.jpg"),
                                                                    package.addImage(main, QStringLiteral("word/media/image4.gif"), png))));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("word.docx"));
    QVERIFY(package.write(path));

    TemplateChecker checker;
    QVERIFY(checker.checkFile(path));
    QStringList tags;
    for (const TemplateChecker::Occurrence& found : checker.occurrences())
        tags << found.location.part + QLatin1Char(' ') + found.text;
    QCOMPARE(tags, QStringList({"word/document2.xml <#НОМЕР_ДОГОВОРА#>", "word/header7.xml <#VIN#>"}));
    const QString doc = QStringLiteral("word/document2.xml:");
    QCOMPARE(problemsOf(checker),
             QStringList({doc + "2: picture described \"photo-1.jpg\" is linked to a file outside the template: the "
                                "evaluation cannot fill it, so it is removed",
                          doc + "3: picture described \"Photo-2.jpg\" names no picture of the evaluation (photo-N.jpg, "
                                "graphic-N.jpg, appraiserLogo-N.jpg): the template's own image stays",
                          doc + "6: picture described \"photo-4.jpg\" is stored as word/media/image4.gif, a format "
                                "pictures cannot be written in: it is removed"}));
    QCOMPARE(checker.repairs().size(), 1);
    QVERIFY2(checker.repairs().first().contains(QLatin1String("word/media/image1.png was shared")),
             qPrintable(checker.repairs().first()));
}

void TestTemplateChecker::showsTheValuesOfAnEvaluation()
{
    EvaluationTagStorage storage;
    AutoEvaluation evaluation(storage);
    storage.setTag(QStringLiteral("VIN"), QStringLiteral("XTA<210990>"));
    TemplateChecker checker;
    checker.use(evaluation);
    checker.checkText(QStringLiteral("t.txt"), QStringLiteral("<?VIN?>VIN: <#VIN#>, <#МАРКА_ТС#><?>"), false);
    QStringList values;
    for (const TemplateChecker::Occurrence& found : checker.occurrences())
        values << found.name + QLatin1Char('=') + (found.value.isNull() ? QStringLiteral("null") : found.value);
    QCOMPARE(values, QStringList({"VIN=XTA<210990>", "VIN=XTA<210990>", "МАРКА_ТС=null", "=null"}));
}

void TestTemplateChecker::warnsOfValuesADocumentCannotHold_data()
{
    QTest::addColumn<bool>("docx");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("warnings");

    const QString paragraph = QStringLiteral("<w:p><w:r><w:t>%1</w:t></w:r></w:p>");
    const QString cannotHold = QStringLiteral("character(s) a DOCX document cannot hold, such as control "
                                              "characters; the document leaves them out");
    QTest::newRow("docx") << true << paragraph.arg(QStringLiteral("&lt;#VIN#&gt; &lt;#ЦВЕТ_КУЗОВА#&gt;"))
                          << QStringList{"1: tag \"VIN\": its value holds 2 " + cannotHold};
    QTest::newRow("docx, repeated row")
        << true
        << QStringLiteral("<w:tbl><w:tr><w:tc>%1</w:tc></w:tr></w:tbl>")
               .arg(paragraph.arg(QStringLiteral("&lt;#НОМЕР_СТРОКИ#&gt;&lt;#ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ#&gt;")))
        << QStringList{"1: tag \"ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ_1\": its value holds 1 " + cannotHold};
    QTest::newRow("text template keeps them") << false << QStringLiteral("<#VIN#>") << QStringList();
}

// A vertical tab is how a line break pasted from Word arrives; the document leaves it out.
void TestTemplateChecker::warnsOfValuesADocumentCannotHold()
{
    QFETCH(bool, docx);
    QFETCH(QString, text);
    QFETCH(QStringList, warnings);
    EvaluationTagStorage storage;
    AutoEvaluation evaluation(storage);
    storage.setTag(QStringLiteral("VIN"), QStringLiteral("XTA\v2109\x01"));
    storage.setTag(QStringLiteral("ЦВЕТ_КУЗОВА"), QStringLiteral("белый\tметаллик"));
    const QStringList rows{QStringLiteral("Фаркоп"), QStringLiteral("Багажник\uFFFF")};
    for (int row = 0; row < rows.size(); ++row) {
        storage.setTag(QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_СТРОКА_%1").arg(row), QStringLiteral("Да"));
        storage.setTag(QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ_%1").arg(row), rows.at(row));
    }
    TemplateChecker checker;
    checker.use(evaluation);
    checker.checkText(QStringLiteral("part"), text, docx);
    QStringList found;
    for (const TemplateChecker::Problem& warning : checker.warnings())
        found << QStringLiteral("%1: %2").arg(warning.location.paragraph).arg(warning.message);
    QCOMPARE(found, warnings);
}

void TestTemplateChecker::textTemplates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("problems");

    const QString at1 = QStringLiteral("t.txt:1: ");
    QTest::newRow("clean") << "<%br%><?VIN?>a<?>\n<?VIN=1 2?>b<?/VIN?><?VIN!?>c<?/VIN?> <#VIN#RR#s#> x < y"
                           << QStringList();
    QTest::newRow("end without start") << "<?/VIN?>" << QStringList{at1 + "condition end \"/VIN\" without its start"};
    QTest::newRow("short end without start") << "<?VIN!?>a<?>"
        << QStringList{at1 + "condition end \"\" without its start", at1 + "condition \"VIN\" has no end"};
    QTest::newRow("malformed condition") << "<?VIN=a-b?>x<?/VIN?>"
        << QStringList{at1 + "malformed condition \"VIN=a-b\"", at1 + "condition end \"/VIN\" without its start"};
    QTest::newRow("unknown condition tag") << "<?НЕТ_ТАКОГО?>x<?>"
                                           << QStringList{at1 + "unknown tag name \"НЕТ_ТАКОГО\" in a condition"};
    QTest::newRow("no name") << "<##>" << QStringList{at1 + "tag without a name"};
    QTest::newRow("not a flag") << "<#VIN#ЖЖЖ#>" << QStringList{at1 + "tag \"VIN\": \"#ЖЖЖ\" is not a flag (one or two letters)"};
    QTest::newRow("unclosed, on its line") << "a\n<#VIN без конца\n"
                                           << QStringList{"t.txt:2: unclosed tag: \"<#VIN без конца\" has no #>"};
    QTest::newRow("nested on one tag") << "<?VIN?>a<?VIN!?>b<?/VIN?>c<?VIN=1?>d<?/VIN?><?/VIN?>" << QStringList();
    // The report leaves such a block as it is: "?" may not stand in the text of L?NAME?R ... L?R.
    QTest::newRow("short block with a question mark") << "<?VIN?>есть ли?<?>"
        << QStringList{at1 + "condition end \"\" without its start", at1 + "condition \"VIN\" has no end"};
}

void TestTemplateChecker::textTemplates()
{
    QFETCH(QString, text);
    QFETCH(QStringList, problems);
    TemplateChecker checker;
    checker.checkText(QStringLiteral("t.txt"), text, false);
    QCOMPARE(problemsOf(checker), problems);
}

void TestTemplateChecker::unusableTextFilesAreNotRead_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("problem");
    QTest::newRow("oversized") << qint64(TemplateToDocument::MAX_TEMPLATE_BYTES + 1)
                               << "t.txt:0: the template is larger than 64 MiB, so it is not read";
    QTest::newRow("empty") << qint64(0) << "t.txt:0: the file is empty: it is not a template";
}

void TestTemplateChecker::unusableTextFilesAreNotRead()
{
    QFETCH(qint64, size);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("t.txt"))); // sparse: costs no disk
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
    file.close();
    TemplateChecker checker;
    QVERIFY(!checker.checkFile(file.fileName()));
    QCOMPARE(problemsOf(checker), QStringList{problem});
}

QTEST_MAIN(TestTemplateChecker)
#include "tst_templatechecker.moc"
