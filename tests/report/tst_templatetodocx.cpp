#include "catalog/appraisalcompany.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "report/templatechecker.h"
#include "report/templatetodocx.h"
#include "runtime/singletonregistry.h"
#include "values/tagutils.h"

#include "filesizelimit.h"
#include "renderfixture.h"
#include "testapproach.h"
#include "wordpackage.h"
#include "zipfixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QImage>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

#include <memory>

using namespace RenderFixture;

namespace {

using TestDocx = WithExtraTags<TemplateToDocx>;

const QString dataDir = QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/");

// A copy of a template with one entry's bytes, or its declared size, changed.
QString alteredTemplate(const QTemporaryDir& dir, const char* fileName, const QString& entryName, const QByteArray& content)
{
    QList<ZipEntry> entries = readZip(dataDir + QStringLiteral("photos.docx"));
    for (ZipEntry& e : entries)
        if (e.name == entryName)
            e.content = content;
    const QString path = dir.filePath(QString::fromUtf8(fileName));
    return writeZip(path, entries) ? path : QString();
}

// A copy of photos.docx whose document.xml declares the given size (4 GB, or a lie the
// other way: 1 000 bytes for 20 MiB) in its headers.
QString misdeclaredTemplate(const QTemporaryDir& dir, const char* fileName, quint32 size, const QByteArray& document)
{
    const QString source = document.isEmpty() ? dataDir + QStringLiteral("photos.docx")
                                              : alteredTemplate(dir, "plain.docx", QStringLiteral("word/document.xml"), document);
    QFile in(source);
    in.open(QIODevice::ReadOnly);
    const QByteArray zip = withDeclaredSize(in.readAll(), "word/document.xml", size);
    const QString path = dir.filePath(QString::fromUtf8(fileName));
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(zip) == zip.size() ? path : QString();
}

// A copy of photos.docx whose document.xml, stored (0) or deflated (8), declares a
// checksum its content does not have: a template damaged on its way.
QString mischeckedTemplate(const QTemporaryDir& dir, const char* fileName, int method)
{
    QList<ZipEntry> entries = readZip(dataDir + QStringLiteral("photos.docx"));
    for (ZipEntry& e : entries)
        if (e.name == QLatin1String("word/document.xml"))
            e.method = method;
    const QString sound = dir.filePath(QStringLiteral("sound-%1.docx").arg(method));
    QFile in(sound);
    if (!writeZip(sound, entries) || !in.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray zip = withChecksum(in.readAll(), "word/document.xml", 0x5EEDF00Du);
    const QString path = dir.filePath(QString::fromUtf8(fileName));
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(zip) == zip.size() ? path : QString();
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A package whose pictures photo-0.jpg, photo-1.jpg ... are stored in the given formats.
QList<ZipEntry> packageWithPictures(const QStringList& suffixes)
{
    WordPackage package;
    QByteArray body;
    for (int i = 0; i < suffixes.size(); ++i) {
        const QByteArray suffix = suffixes[i].toUtf8();
        const QString id = package.addImage(package.mainPart(), QStringLiteral("word/media/image%1.%2").arg(i + 1).arg(suffixes[i]),
                                            encoded(solid(Qt::gray, 8, 8), suffix == "gif" ? "PNG" : suffix.constData()));
        body += WordPackage::paragraphOf(WordPackage::picture(QStringLiteral("photo-%1.jpg").arg(i), id));
    }
    package.setBody(body);
    return package.entries();
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Where the disk fills while a document is written, as a place in the complete document.
enum FullAt { FullAtStart, FullInFirstEntry, FullInLaterEntry, FullInDirectory, FullAtLastByte, NeverFull };

// The byte count of the complete zip that fits: read from its end of central directory
// record and the directory's records of the local headers.
qint64 roomFor(const QByteArray& zip, FullAt place)
{
    const auto at16 = [&zip](qsizetype offset) { return qFromLittleEndian<quint16>(zip.constData() + offset); };
    const auto at32 = [&zip](qsizetype offset) { return qFromLittleEndian<quint32>(zip.constData() + offset); };
    const qsizetype directory = at32(zip.size() - 22 + 16);
    QList<qint64> entries;
    for (qsizetype record = directory; record < zip.size() - 22;
         record += 46 + at16(record + 28) + at16(record + 30) + at16(record + 32))
        entries.append(at32(record + 42));
    entries.append(directory);
    switch (place) {
    case FullAtStart:
        return 0;
    case FullInFirstEntry:
        return (entries[0] + entries[1]) / 2;
    case FullInLaterEntry:
        return (entries[entries.size() / 2] + entries[entries.size() / 2 + 1]) / 2;
    case FullInDirectory:
        return (directory + zip.size()) / 2;
    case FullAtLastByte:
        return zip.size() - 1;
    case NeverFull:
        break;
    }
    return zip.size();
}


QByteArray tagRun(const char* tag)
{
    return QByteArray("<w:r><w:t>&lt;#") + tag + "#&gt;</w:t></w:r>";
}

// A report as Word writes it: a main part named document2.xml (Word for the web), three
// sections with a first-page, even-page and default header and footer each, a content
// control, a tag cut by proofing marks and revision ids, a footnote, an endnote and a
// comment. Header 5 starts with a byte order mark; footer 9 is written in UTF-16.
WordPackage wordReport()
{
    WordPackage package(QStringLiteral("word/document2.xml"));
    QByteArray sections;
    for (int i = 1; i <= 9; ++i) {
        const QString header = package.addPart(QStringLiteral("header"), QStringLiteral("word/header%1.xml").arg(i),
                                               WordPackage::paragraphOf("<w:r><w:t xml:space=\"preserve\">Шапка "
                                                                        + QByteArray::number(i) + ": </w:t></w:r>"
                                                                        + tagRun("НОМЕР_ДОГОВОРА")));
        const QString footer = package.addPart(QStringLiteral("footer"), QStringLiteral("word/footer%1.xml").arg(i),
                                               WordPackage::paragraphOf("<w:r><w:t xml:space=\"preserve\">Подвал "
                                                                        + QByteArray::number(i) + ": </w:t></w:r>"
                                                                        + tagRun("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА")));
        const char* type[] = {"first", "even", "default"};
        sections += "<w:headerReference w:type=\"" + QByteArray(type[(i - 1) % 3]) + "\" r:id=\"" + header.toUtf8()
                    + "\"/><w:footerReference w:type=\"" + QByteArray(type[(i - 1) % 3]) + "\" r:id=\"" + footer.toUtf8() + "\"/>";
        if (i % 3 == 0)
            sections = "<w:p><w:pPr><w:sectPr>" + sections + "<w:titlePg/></w:sectPr></w:pPr></w:p>";
    }
    package.addPart(QStringLiteral("footnotes"), QStringLiteral("word/footnotes.xml"),
                    "<w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>"
                    "<w:footnote w:type=\"continuationSeparator\" w:id=\"0\"><w:p><w:r><w:continuationSeparator/></w:r></w:p>"
                    "</w:footnote><w:footnote w:id=\"1\"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\"> "
                    "Сноска: </w:t></w:r>" + tagRun("VIN") + "</w:p></w:footnote>");
    package.addPart(QStringLiteral("endnotes"), QStringLiteral("word/endnotes.xml"),
                    "<w:endnote w:id=\"1\"><w:p><w:r><w:t xml:space=\"preserve\">Примечание: </w:t></w:r>" + tagRun("МАРКА_ТС")
                        + "</w:p></w:endnote>");
    package.addPart(QStringLiteral("comments"), QStringLiteral("word/comments.xml"),
                    "<w:comment w:id=\"0\" w:author=\"Оценщик\" w:date=\"2026-02-01T10:00:00Z\" w:initials=\"О\"><w:p>"
                    "<w:r><w:t xml:space=\"preserve\">Сверить </w:t></w:r>" + tagRun("VIN") + "</w:p></w:comment>");
    const QByteArray contentControl = "<w:sdt><w:sdtPr><w:alias w:val=\"Марка\"/><w:tag w:val=\"brand\"/><w:id w:val=\"-1184040448\"/>"
                                      "<w:placeholder><w:docPart w:val=\"DefaultPlaceholder_-1854013440\"/></w:placeholder></w:sdtPr>"
                                      "<w:sdtContent>" + tagRun("МАРКА_ТС") + "</w:sdtContent></w:sdt>";
    const QByteArray proofedTag = "<w:r w:rsidR=\"00B21C4D\"><w:t>&lt;#</w:t></w:r><w:proofErr w:type=\"spellStart\"/>"
                                  "<w:r w:rsidRPr=\"00D3E4F5\"><w:rPr><w:lang w:val=\"en-US\"/></w:rPr><w:t>V</w:t></w:r>"
                                  "<w:r w:rsidR=\"00C0FFEE\"><w:t>IN</w:t></w:r><w:proofErr w:type=\"spellEnd\"/>"
                                  "<w:r w:rsidR=\"00B21C4D\"><w:t>#&gt;</w:t></w:r>";
    package.setBody(WordPackage::paragraphOf("<w:commentRangeStart w:id=\"0\"/><w:r><w:t xml:space=\"preserve\">Договор № </w:t></w:r>"
                                             + tagRun("НОМЕР_ДОГОВОРА") + "<w:commentRangeEnd w:id=\"0\"/><w:r>"
                                             "<w:commentReference w:id=\"0\"/></w:r>")
                    + WordPackage::paragraphOf("<w:r><w:t xml:space=\"preserve\">Марка: </w:t></w:r>" + contentControl)
                    + WordPackage::paragraphOf("<w:r><w:t xml:space=\"preserve\">VIN: </w:t></w:r>" + proofedTag
                                               + "<w:r><w:footnoteReference w:id=\"1\"/></w:r><w:r><w:endnoteReference w:id=\"1\"/></w:r>")
                    + sections);
    QList<ZipEntry> entries = package.entries();
    package.setEntry(QStringLiteral("word/header5.xml"), "\xEF\xBB\xBF" + contentOf(entries, QStringLiteral("word/header5.xml")));
    package.setEntry(QStringLiteral("word/footer9.xml"), WordPackage::utf16(contentOf(entries, QStringLiteral("word/footer9.xml"))));
    return package;
}

struct Shown
{
    QString description;
    QImage image;        // null for a drawing that shows no image of the package
    bool linked = false; // to a file outside the package as well
};

// The drawings of a part with their descriptions and the pictures they show, read
// through the part's relationships as a word processor reads them.
QList<Shown> drawingsShown(const QList<ZipEntry>& entries, const QString& part)
{
    const QString folder = part.left(part.lastIndexOf(QLatin1Char('/')) + 1);
    QHash<QString, QString> targets;
    QXmlStreamReader relationships(contentOf(entries, folder + QStringLiteral("_rels/") + part.mid(folder.size()) + QStringLiteral(".rels")));
    while (!relationships.atEnd())
        if (relationships.readNext() == QXmlStreamReader::StartElement && relationships.name() == u"Relationship") {
            const QString target = relationships.attributes().value(QLatin1String("Target")).toString();
            targets.insert(relationships.attributes().value(QLatin1String("Id")).toString(),
                           target.startsWith(QLatin1Char('/')) ? target.mid(1) : folder + target);
        }
    QList<Shown> shown;
    QXmlStreamReader reader(contentOf(entries, part));
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.qualifiedName() == u"wp:docPr")
            shown.append({attributes.value(QLatin1String("descr")).toString(), QImage(), false});
        else if (reader.qualifiedName().startsWith(u"v:") && attributes.hasAttribute(QLatin1String("alt")))
            shown.append({attributes.value(QLatin1String("alt")).toString(), QImage(), false});
        for (const char* id : {"r:embed", "r:id"})
            if (attributes.hasAttribute(QLatin1String(id)) && !shown.isEmpty())
                shown.last().image = QImage::fromData(contentOf(entries, targets.value(attributes.value(QLatin1String(id)).toString())));
        if ((attributes.hasAttribute(QLatin1String("r:link")) || attributes.hasAttribute(QLatin1String("r:href"))) && !shown.isEmpty())
            shown.last().linked = true;
    }
    return shown;
}

} // namespace

class TestTemplateToDocx : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void templatesBecomeDocumentsThatOpen_data();
    void templatesBecomeDocumentsThatOpen();
    void picturesComeFromTheEvaluation_data();
    void picturesComeFromTheEvaluation();
    void pictureFilesKeepTheirFormat();
    void undecodablePhotoShowsBlank();
    void headerPictureComesFromTheEvaluation();
    void everyTextPartIsFilled_data();
    void everyTextPartIsFilled();
    void picturesOfWordPackages_data();
    void picturesOfWordPackages();
    void valuesAreTextInTheDocument();
    void reusedGeneratorForgetsEarlierPictures();
    void badInputEndsTheRunWithAnError_data();
    void badInputEndsTheRunWithAnError();
    void directDiskCallProducesNothing();
    void templateFindingsOfARun_data();
    void templateFindingsOfARun();
    void hostilePartsEndBounded_data();
    void hostilePartsEndBounded();
    void fullDiskKeepsTheOlderDocument_data();
    void fullDiskKeepsTheOlderDocument();

private:
    QTemporaryDir dir;
};

void TestTemplateToDocx::templatesBecomeDocumentsThatOpen_data()
{
    QTest::addColumn<QString>("templateName");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QString parts[] = {QStringLiteral("word/document.xml"), QStringLiteral("word/header1.xml"),
                             QStringLiteral("word/footer1.xml")};
    for (const ExpectedText& text : expectedTexts())
        QTest::newRow(text.row) << QLatin1String(text.templateName) + QStringLiteral(".docx") << parts[text.part]
                                << text.present << text.absent;
}

void TestTemplateToDocx::templatesBecomeDocumentsThatOpen()
{
    QFETCH(QString, templateName);
    QFETCH(QString, part);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    Evaluation evaluation(4, true, true);
    TestDocx generator;
    generator.use(evaluation.ae);
    generator.extra = reportTags();
    const QString output = dir.filePath(templateName);

    QVERIFY(run(generator, dataDir + templateName, output));
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrNone);
    const QList<ZipEntry> entries = readZip(output);
    QCOMPARE(packageProblems(entries), QStringList());
    QCOMPARE(entries.size(), readZip(dataDir + templateName).size());
    const QString text = WordPackage::textOf(contentOf(entries, part));
    for (const QString& expected : present)
        QVERIFY2(text.contains(expected), qPrintable(expected + QLatin1String(" not in ") + text));
    for (const QString& unexpected : absent)
        QVERIFY2(!text.contains(unexpected), qPrintable(unexpected));
}

void TestTemplateToDocx::picturesComeFromTheEvaluation_data()
{
    QTest::addColumn<int>("photos");
    QTest::addColumn<bool>("withGraphic");
    QTest::addColumn<bool>("withLogo");
    QTest::addColumn<int>("drawingsKept");

    // The sheet holds photo-0.jpg to photo-3.jpg, graphic-0.jpg, appraiserLogo-0.jpg and
    // an undescribed picture (a stamp, the template's own), stored by the word processor
    // as image1.png to image7.png.
    QTest::newRow("everything at hand") << 4 << true << true << 7;
    QTest::newRow("three photos, no approach, no appraiser") << 3 << false << false << 4;
}

void TestTemplateToDocx::picturesComeFromTheEvaluation()
{
    QFETCH(int, photos);
    QFETCH(bool, withGraphic);
    QFETCH(bool, withLogo);
    QFETCH(int, drawingsKept);
    Evaluation evaluation(photos, withGraphic, withLogo);
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("pictures.docx"));
    QVERIFY(run(generator, dataDir + QStringLiteral("photos.docx"), output));

    const QList<ZipEntry> entries = readZip(output);
    const QList<ZipEntry> original = readZip(dataDir + QStringLiteral("photos.docx"));
    QCOMPARE(packageProblems(entries), QStringList());
    const auto image = [&entries](int n) {
        return QImage::fromData(contentOf(entries, QStringLiteral("word/media/image%1.png").arg(n)), "PNG");
    };
    const auto unchanged = [&](int n) {
        const QString name = QStringLiteral("word/media/image%1.png").arg(n);
        return contentOf(entries, name) == contentOf(original, name);
    };
    for (int i = 0; i < 4; ++i) {
        if (i < photos)
            QVERIFY2(sameColour(image(i + 1), photoColour(i)), qPrintable(QString::number(i)));
        else
            QCOMPARE(image(i + 1).size(), QSize(1, 1));
    }
    QVERIFY(withGraphic ? sameColour(image(5), graphicColour) : unchanged(5));
    QVERIFY(withLogo ? sameColour(image(6), logoColour) : unchanged(6));
    QVERIFY(unchanged(7));
    const QByteArray document = contentOf(entries, QStringLiteral("word/document.xml"));
    QCOMPARE(int(document.count("<w:drawing>")), drawingsKept);
    QVERIFY(document.contains("name=\"Stamp\""));
}

void TestTemplateToDocx::pictureFilesKeepTheirFormat()
{
    const QStringList suffixes = {"jpeg", "png", "bmp", "jpg", "gif"};
    const QString templatePath = dir.filePath(QStringLiteral("formats.docx"));
    QVERIFY(writeZip(templatePath, packageWithPictures(suffixes)));
    Evaluation evaluation(0, false, false);
    const QByteArray cameraJpeg = encoded(solid(photoColour(0)), "JPEG");
    for (int i = 0; i < suffixes.size(); ++i)
        QVERIFY(i == 0 ? evaluation.storage.addPhotoData(cameraJpeg) : evaluation.storage.addPhotoImage(solid(photoColour(i))));
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("formats-out.docx"));
    QVERIFY(run(generator, templatePath, output));

    const QList<ZipEntry> entries = readZip(output);
    QCOMPARE(packageProblems(entries), QStringList());
    // A photo already in the file's format keeps its bytes: it is evidence.
    QCOMPARE(contentOf(entries, QStringLiteral("word/media/image1.jpeg")), cameraJpeg);
    const QList<QByteArray> formats = {"jpeg", "png", "bmp", "jpeg"};
    for (int i = 1; i < formats.size(); ++i) {
        const QByteArray bytes = contentOf(entries, QStringLiteral("word/media/image%1.%2").arg(i + 1).arg(suffixes[i]));
        QBuffer buffer;
        buffer.setData(bytes);
        QCOMPARE(QImageReader(&buffer).format(), formats[i]);
        QVERIFY(sameColour(QImage::fromData(bytes), photoColour(i)));
    }
    // No GIF writer: that picture is left out rather than shown with the template's image.
    QVERIFY(!QImageWriter::supportedImageFormats().contains("gif"));
    QCOMPARE(int(contentOf(entries, QStringLiteral("word/document.xml")).count("<w:drawing>")), 4);
}

// A photo the evaluation file keeps but no codec here reads (a TIFF from a scanner) is
// shown blank, never as the template's own sample picture.
void TestTemplateToDocx::undecodablePhotoShowsBlank()
{
    const QString templatePath = dir.filePath(QStringLiteral("one-photo.docx"));
    QVERIFY(writeZip(templatePath, packageWithPictures({QStringLiteral("png")})));
    const QString evaluationPath = dir.filePath(QStringLiteral("tiff-photo.zip"));
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0", 8) + QByteArray(600, '\x11');
    QVERIFY(writeZip(evaluationPath, {{QStringLiteral("tag_list.txt"), "НОМЕР_ДОГОВОРА=1\n"},
                                      {QStringLiteral("photo/photo1.jpg"), tiff}}));
    Evaluation evaluation(0, false, false);
    QVERIFY(evaluation.storage.load(evaluationPath));
    QCOMPARE(evaluation.storage.getPhotoCount(), 1);
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("one-photo-out.docx"));
    QVERIFY(run(generator, templatePath, output));
    QVERIFY(sameColour(QImage::fromData(contentOf(readZip(output), QStringLiteral("word/media/image1.png"))), Qt::white));
}

// The letterhead's header shows appraiserLogo-0.jpg (image2.png, id rId1 among the
// header's own relationships); the body shows photo-0.jpg.
void TestTemplateToDocx::headerPictureComesFromTheEvaluation()
{
    Evaluation evaluation(1, false, true);
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("letterhead.docx"));
    QVERIFY(run(generator, dataDir + QStringLiteral("letterhead.docx"), output));

    const QList<ZipEntry> entries = readZip(output);
    QCOMPARE(packageProblems(entries), QStringList());
    QVERIFY(sameColour(QImage::fromData(contentOf(entries, QStringLiteral("word/media/image1.png"))), photoColour(0)));
    QVERIFY(contentOf(entries, QStringLiteral("word/header1.xml")).contains("<w:drawing>"));
    QVERIFY(sameColour(QImage::fromData(contentOf(entries, QStringLiteral("word/media/image2.png"))), logoColour));
}

void TestTemplateToDocx::everyTextPartIsFilled_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("text");

    QVERIFY(wordReport().write(dir.filePath(QStringLiteral("word-report.docx"))));
    QTest::newRow("main part document2.xml")
        << "word/document2.xml" << "Договор № 17/2026Марка: ЛадаVIN: XTA210990Y2765432";
    for (const int i : {1, 5, 7, 9})
        QTest::addRow("header %d", i) << QStringLiteral("word/header%1.xml").arg(i) << QStringLiteral("Шапка %1: 17/2026").arg(i);
    for (const int i : {4, 6, 9})
        QTest::addRow("footer %d", i) << QStringLiteral("word/footer%1.xml").arg(i) << QStringLiteral("Подвал %1: Тверь").arg(i);
    QTest::newRow("footnotes") << "word/footnotes.xml" << " Сноска: XTA210990Y2765432";
    QTest::newRow("endnotes") << "word/endnotes.xml" << "Примечание: Лада";
    QTest::newRow("comments") << "word/comments.xml" << "Сверить XTA210990Y2765432";
}

void TestTemplateToDocx::everyTextPartIsFilled()
{
    QFETCH(QString, part);
    QFETCH(QString, text);
    Evaluation evaluation(0, false, false);
    TestDocx generator;
    generator.use(evaluation.ae);
    generator.extra = reportTags();
    const QString templatePath = dir.filePath(QStringLiteral("word-report.docx"));
    const QString output = dir.filePath(QStringLiteral("word-report-out.docx"));
    QVERIFY(run(generator, templatePath, output));
    QCOMPARE(generator.getErrorInfo().message(), QString());

    const QList<ZipEntry> entries = readZip(output);
    QCOMPARE(packageProblems(entries), QStringList());
    QCOMPARE(entries.size(), readZip(templatePath).size());
    QCOMPARE(WordPackage::textOf(contentOf(entries, part)), text);
}

void TestTemplateToDocx::picturesOfWordPackages_data()
{
    QTest::addColumn<QString>("templatePath");
    QTest::addColumn<QStringList>("kept");      // descriptions of the drawings left, in order
    QTest::addColumn<QString>("text");          // the document's text
    QTest::addColumn<QStringList>("unchanged"); // image files that keep the template's bytes

    const QByteArray sample = encoded(solid(Qt::gray, 8, 8), "PNG");
    const auto body = [](std::initializer_list<QByteArray> paragraphs) {
        QByteArray xml;
        for (const QByteArray& p : paragraphs)
            xml += p.startsWith("<w:p") ? p : WordPackage::paragraphOf(p);
        return xml;
    };
    const QString main = QStringLiteral("word/document.xml");
    const auto save = [this](const WordPackage& package, const char* name) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        return package.write(path) ? path : QString();
    };
    {
        WordPackage package;
        const QString first = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        const QString linked = package.addLink(main, QStringLiteral("file:///C:/Фото/кузов.jpg"));
        const QString third = package.addImage(main, QStringLiteral("word/media/image2.png"), sample);
        package.setBody(body({WordPackage::paragraph(QStringLiteral("До снимков.")),
                              WordPackage::picture(QStringLiteral("photo-0.jpg"), first),
                              WordPackage::paragraph(QStringLiteral("Между снимками.")),
                              WordPackage::picture(QStringLiteral("photo-1.jpg"), QString(), linked),
                              WordPackage::paragraph(QStringLiteral("После снимков.")),
                              WordPackage::picture(QStringLiteral("photo-2.jpg"), third),
                              WordPackage::paragraph(QStringLiteral("Конец."))}));
        QTest::newRow("linked picture between embedded ones")
            << save(package, "linked.docx") << QStringList{"photo-0.jpg"}
            << "До снимков.Между снимками.После снимков.Конец." << QStringList{};
    }
    {
        WordPackage package;
        const QString logo = package.addImage(main, QStringLiteral("word/media/image1.png"), encoded(solid(Qt::blue, 8, 8), "PNG"));
        const QString stamp = package.addImage(main, QStringLiteral("word/media/image2.png"), encoded(solid(Qt::red, 8, 8), "PNG"));
        const QString photo = package.addImage(main, QStringLiteral("word/media/image3.png"), sample);
        const QString signature = package.addImage(main, QStringLiteral("word/media/image4.jpeg"), encoded(solid(Qt::black, 8, 8), "JPEG"));
        const QString seal = package.addLink(main, QStringLiteral("file:///C:/Бланки/герб.png"));
        package.setBody(body({WordPackage::picture(QString(), logo), WordPackage::paragraph(QStringLiteral("Отчёт.")),
                              WordPackage::picture(QStringLiteral("photo-0.jpg"), photo),
                              WordPackage::picture(QStringLiteral("Печать организации"), stamp),
                              WordPackage::picture(QStringLiteral("Подпись оценщика"), signature),
                              WordPackage::picture(QStringLiteral("Герб"), QString(), seal)}));
        QTest::newRow("the template's own pictures")
            << save(package, "own.docx") << QStringList{"", "photo-0.jpg", "Печать организации", "Подпись оценщика", "Герб"}
            << "Отчёт." << QStringList{"word/media/image1.png", "word/media/image2.png", "word/media/image4.jpeg"};
    }
    {
        WordPackage package;
        const QString cover = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        const QByteArray title = WordPackage::paragraph(QStringLiteral("Отчёт об оценке"));
        package.setBody(body({WordPackage::alternateContent(WordPackage::shape(QStringLiteral("Обложка"), cover, title),
                                                            WordPackage::vmlShape(QStringLiteral("Обложка"), cover, title)),
                              WordPackage::paragraph(QStringLiteral("Текст."))}));
        QTest::newRow("cover page filled with a picture")
            << save(package, "cover.docx") << QStringList{"Обложка", "Обложка"} << "Отчёт об оценкеОтчёт об оценкеТекст."
            << QStringList{"word/media/image1.png"};
    }
    {
        WordPackage package;
        const QString photo = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        const QByteArray caption = WordPackage::paragraph(QStringLiteral("Фото 6"));
        package.setBody(body({WordPackage::paragraph(QStringLiteral("До.")),
                              WordPackage::alternateContent(WordPackage::shape(QStringLiteral("photo-5.jpg"), photo, caption),
                                                            WordPackage::vmlShape(QStringLiteral("photo-5.jpg"), photo, caption))
                                  + "<w:r><w:t>После.</w:t></w:r>"}));
        QTest::newRow("shape of a photo the evaluation lacks, with its copy for older readers")
            << save(package, "shape.docx") << QStringList{} << "До.После." << QStringList{};
    }
    {
        WordPackage package;
        const QString photo = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        const QByteArray box = WordPackage::paragraph(QStringLiteral("Текст врезки"))
                               + WordPackage::paragraphOf(WordPackage::picture(QStringLiteral("photo-3.jpg"), photo));
        const QByteArray oldBox = WordPackage::paragraph(QStringLiteral("Текст врезки"))
                                  + WordPackage::paragraphOf(WordPackage::vmlPicture(QStringLiteral("photo-3.jpg"), photo));
        package.setBody(body({WordPackage::alternateContent(WordPackage::shape(QStringLiteral("Врезка"), QString(), box),
                                                            WordPackage::vmlShape(QStringLiteral("Врезка"), QString(), oldBox))}));
        QTest::newRow("photo the evaluation lacks in a text box")
            << save(package, "textbox.docx") << QStringList{"Врезка", "Врезка"} << "Текст врезкиТекст врезки"
            << QStringList{};
    }
    {
        WordPackage package;
        const QString first = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        const QString second = package.addImage(main, QStringLiteral("word/media/image2.png"), sample);
        package.setBody(body({WordPackage::vmlPicture(QStringLiteral("photo-0.jpg"), first),
                              WordPackage::paragraph(QStringLiteral("Текст.")),
                              WordPackage::vmlPicture(QStringLiteral("photo-4.jpg"), second)}));
        QTest::newRow("VML pictures") << save(package, "vml.docx") << QStringList{"photo-0.jpg"} << "Текст."
                                      << QStringList{};
    }
    {
        // Insert > Picture > Insert and Link: the picture is kept and linked to its file.
        WordPackage package;
        const QString embedded = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        const QString linked = package.addLink(main, QStringLiteral("file:///C:/Образцы/кузов.png"));
        package.setBody(body({WordPackage::picture(QStringLiteral("photo-1.jpg"), embedded, linked)}));
        QTest::newRow("picture embedded and linked") << save(package, "embedded-and-linked.docx")
                                                     << QStringList{"photo-1.jpg"} << "" << QStringList{};
    }
    {
        // Word keeps one image file for pictures pasted from one picture.
        WordPackage package;
        const QString frame = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        package.setBody(body({WordPackage::picture(QStringLiteral("photo-1.jpg"), frame),
                              WordPackage::paragraph(QStringLiteral("Текст.")),
                              WordPackage::picture(QStringLiteral("photo-0.jpg"), frame),
                              WordPackage::picture(QStringLiteral("photo-1.jpg"), frame)}));
        QTest::newRow("pictures pasted from one")
            << save(package, "pasted.docx") << QStringList{"photo-1.jpg", "photo-0.jpg", "photo-1.jpg"} << "Текст."
            << QStringList{};
    }
    {
        // The image file is bound by what the template says; a description that only a
        // tag completes binds nothing, and the sample must not pass for photo 1.
        WordPackage package;
        const QString sampleFile = package.addImage(main, QStringLiteral("word/media/image1.png"), sample);
        const QByteArray picture = WordPackage::picture(QStringLiteral("photo-N.jpg"), sampleFile)
                                       .replace("photo-N.jpg", "photo-&lt;#НОМЕР_ДОГОВОРА#&gt;.jpg");
        package.setBody(body({picture, WordPackage::paragraph(QStringLiteral("Текст."))}));
        QTest::newRow("description a tag completes") << save(package, "tag-description.docx") << QStringList{}
                                                     << "Текст." << QStringList{};
    }
}

// Each drawing is judged on its own: a picture the evaluation should fill and cannot is
// removed with its own element and nothing else; the template's own pictures stay.
void TestTemplateToDocx::picturesOfWordPackages()
{
    QFETCH(QString, templatePath);
    QFETCH(QStringList, kept);
    QFETCH(QString, text);
    QFETCH(QStringList, unchanged);
    QVERIFY(!templatePath.isEmpty());
    Evaluation evaluation(2, false, false);
    evaluation.storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("1"));
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("pictures-out.docx"));
    QVERIFY(run(generator, templatePath, output));
    QCOMPARE(generator.getErrorInfo().message(), QString());

    const QList<ZipEntry> entries = readZip(output);
    const QList<ZipEntry> original = readZip(templatePath);
    QCOMPARE(packageProblems(entries), QStringList());
    const QList<Shown> drawings = drawingsShown(entries, QStringLiteral("word/document.xml"));
    QStringList descriptions;
    for (const Shown& drawing : drawings)
        descriptions << drawing.description;
    QCOMPARE(descriptions, kept);
    QCOMPARE(WordPackage::textOf(contentOf(entries, QStringLiteral("word/document.xml"))), text);
    for (const QString& image : unchanged)
        QVERIFY2(contentOf(entries, image) == contentOf(original, image), qPrintable(image));
    // A photo shows the evaluation's, and no file linked in the template can take its place.
    static const QRegularExpression photo(QStringLiteral("^photo-(\\d)\\.jpg$"));
    for (const Shown& shown : drawings) {
        if (const QRegularExpressionMatch match = photo.match(shown.description); match.hasMatch()) {
            QVERIFY2(sameColour(shown.image, photoColour(match.captured(1).toInt())), qPrintable(shown.description));
            QVERIFY2(!shown.linked, qPrintable(shown.description));
        }
    }
}

// Values go into the document escaped: & < > " in a value are text, not markup.
void TestTemplateToDocx::valuesAreTextInTheDocument()
{
    const QString value = QStringLiteral("ООО \"Север & Юг\" <филиал> 'Тверь'");
    Evaluation evaluation(0, false, false);
    evaluation.storage.setTag(QStringLiteral("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), value);
    WordPackage package;
    package.setBody(WordPackage::paragraphOf("<w:r><w:t>Место: </w:t></w:r>" + tagRun("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА")));
    const QString templatePath = dir.filePath(QStringLiteral("escaping.docx"));
    QVERIFY(package.write(templatePath));
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("escaping-out.docx"));
    QVERIFY(run(generator, templatePath, output));

    QCOMPARE(generator.getErrorInfo().message(), QString());
    QCOMPARE(WordPackage::textOf(contentOf(readZip(output), QStringLiteral("word/document.xml"))), QStringLiteral("Место: ") + value);
}

void TestTemplateToDocx::reusedGeneratorForgetsEarlierPictures()
{
    Evaluation evaluation(4, false, false);
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    QVERIFY(run(generator, dataDir + QStringLiteral("photos.docx"), dir.filePath(QStringLiteral("first.docx"))));
    // The same image file, now behind a picture without a description.
    const QByteArray document = contentOf(readZip(dataDir + QStringLiteral("photos.docx")), QStringLiteral("word/document.xml"))
                                    .replace("descr=\"photo-0.jpg\"", "descr=\"\"");
    const QString second = alteredTemplate(dir, "undescribed.docx", QStringLiteral("word/document.xml"), document);
    const QString output = dir.filePath(QStringLiteral("second.docx"));
    QVERIFY(run(generator, second, output));

    QCOMPARE(contentOf(readZip(output), QStringLiteral("word/media/image1.png")),
             contentOf(readZip(second), QStringLiteral("word/media/image1.png")));
}

void TestTemplateToDocx::badInputEndsTheRunWithAnError_data()
{
    QTest::addColumn<QString>("templatePath");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("code");

    const QString output = dir.filePath(QStringLiteral("bad.docx"));
    QFile notZip(dir.filePath(QStringLiteral("not-a-zip.docx")));
    notZip.open(QIODevice::WriteOnly);
    notZip.write("This is a letter, not a document package.");
    notZip.close();
    QTest::newRow("not a zip") << notZip.fileName() << output << int(ErrorInfo::ErrRead);
    QTest::newRow("missing template") << dir.filePath(QStringLiteral("absent.docx")) << output << int(ErrorInfo::ErrRead);
    QTest::newRow("entry declaring gigabytes")
        << misdeclaredTemplate(dir, "oversized.docx", 0xFFFFFFF0u, {}) << output << int(ErrorInfo::ErrRead);
    QTest::newRow("entry understating its size")
        << misdeclaredTemplate(dir, "understated.docx", 1000,
                               "<w:document><w:body>" + QByteArray(20 * 1024 * 1024, ' ') + "</w:body></w:document>")
        << output << int(ErrorInfo::ErrRead);
    QTest::newRow("stored entry whose checksum does not match")
        << mischeckedTemplate(dir, "stored-damaged.docx", 0) << output << int(ErrorInfo::ErrRead);
    QTest::newRow("deflated entry whose checksum does not match")
        << mischeckedTemplate(dir, "deflated-damaged.docx", 8) << output << int(ErrorInfo::ErrRead);
    QTest::newRow("output folder that cannot be written")
        << dataDir + QStringLiteral("photos.docx") << notZip.fileName() + QStringLiteral("/out.docx")
        << int(ErrorInfo::ErrWrite);
    QTest::newRow("broken document.xml")
        << alteredTemplate(dir, "cut.docx", QStringLiteral("word/document.xml"), "<w:document><w:body><w:p>cut")
        << output << int(ErrorInfo::ErrRead);
    QTest::newRow("condition from a paragraph into a table cell")
        << alteredTemplate(dir, "spanning.docx", QStringLiteral("word/document.xml"),
                           "<w:document xmlns:w='w'><w:body><w:p><w:r><w:t>&lt;?НОМЕР_ДОГОВОРА!?&gt;x</w:t></w:r></w:p>"
                           "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>y&lt;?/НОМЕР_ДОГОВОРА?&gt;</w:t></w:r></w:p></w:tc></w:tr>"
                           "</w:tbl></w:body></w:document>")
        << output << int(ErrorInfo::ErrRead);
}

void TestTemplateToDocx::badInputEndsTheRunWithAnError()
{
    QFETCH(QString, templatePath);
    QFETCH(QString, output);
    QFETCH(int, code);
    QVERIFY(!templatePath.isEmpty());
    QFile::remove(output);
    Evaluation evaluation(4, false, false);
    TemplateToDocx generator;
    generator.use(evaluation.ae);

    QVERIFY(run(generator, templatePath, output));
    QVERIFY(!generator.isMaking());
    QCOMPARE(int(generator.getErrorInfo().code()), code);
    const QString named = QFileInfo(code == ErrorInfo::ErrWrite ? output : templatePath).fileName();
    QVERIFY2(generator.getErrorInfo().message().contains(named), qPrintable(generator.getErrorInfo().message()));
    QVERIFY(!QFile::exists(output));
}

void TestTemplateToDocx::hostilePartsEndBounded_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("value"); // of the tag ВЕЛИЧИНА
    QTest::addColumn<QString>("expected"); // the document's text after the run, when it was made

    const auto body = [](const QByteArray& inner) {
        return "<w:document xmlns:w='w'><w:body>" + inner + "</w:body></w:document>";
    };
    const QByteArray tagRow = "<w:tr><w:tc><w:p><w:r><w:t>&lt;#ВЕЛИЧИНА#&gt;;</w:t></w:r></w:p></w:tc></w:tr>";
    const QByteArray tagParagraph = "<w:p><w:r><w:t>&lt;#ВЕЛИЧИНА#&gt;</w:t></w:r></w:p>";
    const int depth = 100000;
    const QString megabytes = QStringLiteral("Ж").repeated(3 * 1024 * 1024);

    QTest::newRow("10 000 repeated rows") << body("<w:tbl>" + tagRow.repeated(10000) + "</w:tbl>")
                                          << int(ErrorInfo::ErrNone) << "ab" << QStringLiteral("ab;").repeated(10000);
    QTest::newRow("tag value of megabytes") << body(tagParagraph.repeated(3)) << int(ErrorInfo::ErrNone) << megabytes
                                            << megabytes.repeated(3);
    QTest::newRow("tag values growing past the bound") << body(tagParagraph.repeated(20)) << int(ErrorInfo::ErrRead)
                                                       << megabytes << "";
    // A vertical tab is Word's line break pasted into a form; XML cannot hold it.
    QTest::newRow("value with characters XML cannot hold")
        << body(tagParagraph) << int(ErrorInfo::ErrNone)
        << QStringLiteral("a\vb\x01" "c\uFFFF\uFFFEd\te & <f> \"g\"") << QStringLiteral("abcd\te & <f> \"g\"");
    QTest::newRow("deeply nested elements")
        << body(QByteArray("<w:sdt>").repeated(depth) + tagParagraph + QByteArray("</w:sdt>").repeated(depth))
        << int(ErrorInfo::ErrNone) << "ab" << "ab";
    QTest::newRow("deeply nested drawings")
        << body(QByteArray("<w:drawing>").repeated(depth) + tagParagraph + QByteArray("</w:drawing>").repeated(depth))
        << int(ErrorInfo::ErrNone) << "ab" << "ab";
    QTest::newRow("deeply nested, never closed") << QByteArray("<w:document>" + QByteArray("<w:sdt>").repeated(depth))
                                                 << int(ErrorInfo::ErrRead) << "" << "";
    // Windows-1251 bytes under an XML declaration that claims UTF-8.
    QTest::newRow("part not in UTF-8")
        << "<?xml version='1.0' encoding='UTF-8'?>" + body("<w:p><w:r><w:t>\xcf\xf0\xe8\xe2\xe5\xf2</w:t></w:r></w:p>")
        << int(ErrorInfo::ErrRead) << "" << "";
    QTest::newRow("entity bomb")
        << "<!DOCTYPE w:document [<!ENTITY a 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'>"
           "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>"
           "<!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'><!ENTITY e '&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;'>"
           "<!ENTITY f '&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;'><!ENTITY g '&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;'>]>"
            + body("<w:p><w:r><w:t>&g;</w:t></w:r></w:p>")
        << int(ErrorInfo::ErrRead) << "" << "";
}

// Whatever a template holds, the run ends in bounded time with a document or an error.
void TestTemplateToDocx::hostilePartsEndBounded()
{
    QFETCH(QByteArray, document);
    QFETCH(int, code);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    const QString templatePath = alteredTemplate(dir, "hostile.docx", QStringLiteral("word/document.xml"), document);
    const QString output = dir.filePath(QStringLiteral("hostile-out.docx"));
    QFile::remove(output);
    Evaluation evaluation(0, false, false);
    TestDocx generator;
    generator.use(evaluation.ae);
    generator.extra.insert(QStringLiteral("ВЕЛИЧИНА"), value);

    QVERIFY(run(generator, templatePath, output)); // within 10 s
    QCOMPARE(int(generator.getErrorInfo().code()), code);
    if (code == ErrorInfo::ErrNone)
        QVERIFY(WordPackage::textOf(contentOf(readZip(output), QStringLiteral("word/document.xml"))) == expected);
    else
        QVERIFY(!QFile::exists(output));
}

void TestTemplateToDocx::templateFindingsOfARun_data()
{
    QTest::addColumn<int>("check");
    QTest::newRow("not analysed") << int(TemplateToDocument::NoTemplateCheck);
    QTest::newRow("findings reported") << int(TemplateToDocument::ReportTemplateFindings);
    QTest::newRow("findings refuse the template") << int(TemplateToDocument::RefuseTemplateWithFindings);
}

// The generator finds what the checker finds in the template it renders.
void TestTemplateToDocx::templateFindingsOfARun()
{
    QFETCH(int, check);
    const QString templatePath = dataDir + QStringLiteral("checkerrors.docx");
    const QString output = dir.filePath(QStringLiteral("findings.docx"));
    QFile::remove(output);
    Evaluation evaluation(0, false, false);
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    generator.setTemplateCheck(TemplateToDocument::TemplateCheck(check));

    QVERIFY(run(generator, templatePath, output));
    TemplateChecker checker;
    checker.checkFile(templatePath);
    QStringList expected;
    for (const TemplateChecker::Problem& problem : checker.problems())
        expected << problem.templateName + QLatin1Char(':') + problem.message;
    QStringList found;
    for (const TemplateChecker::Problem& problem : generator.templateFindings())
        found << problem.templateName + QLatin1Char(':') + problem.message;
    QCOMPARE(found, check == TemplateToDocument::NoTemplateCheck ? QStringList() : expected);
    const bool refused = check == TemplateToDocument::RefuseTemplateWithFindings;
    QCOMPARE(generator.getErrorInfo().code(), refused ? ErrorInfo::ErrRead : ErrorInfo::ErrNone);
    QCOMPARE(QFile::exists(output), !refused);
    if (refused)
        QVERIFY2(generator.getErrorInfo().message().contains(checker.problems().first().message),
                 qPrintable(generator.getErrorInfo().message()));
}

void TestTemplateToDocx::fullDiskKeepsTheOlderDocument_data()
{
    QTest::addColumn<int>("place");
    QTest::newRow("before the first byte") << int(FullAtStart);
    QTest::newRow("inside the first entry") << int(FullInFirstEntry);
    QTest::newRow("inside a later entry") << int(FullInLaterEntry);
    QTest::newRow("inside the central directory") << int(FullInDirectory);
    QTest::newRow("at the last byte") << int(FullAtLastByte);
    QTest::newRow("room for all of it") << int(NeverFull);
}

// A disk that fills anywhere in the document leaves the older document of that name as
// it was, no partial file beside it, and an error naming the document and the cause.
void TestTemplateToDocx::fullDiskKeepsTheOlderDocument()
{
    QFETCH(int, place);
    Evaluation evaluation(4, true, true);
    TemplateToDocx generator;
    generator.use(evaluation.ae);
    const QString templatePath = dataDir + QStringLiteral("photos.docx");
    const QString complete = dir.filePath(QStringLiteral("complete.docx"));
    QVERIFY(run(generator, templatePath, complete));
    const QByteArray completeBytes = bytesOf(complete);
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("фототаблица.docx"));
    QVERIFY(QFile::copy(dataDir + QStringLiteral("act.docx"), output));
    const QByteArray older = bytesOf(output);

    bool ran = false;
    {
        FileSizeLimit full(roomFor(completeBytes, FullAt(place)));
        ran = run(generator, templatePath, output);
    }
    QVERIFY(ran);
    QCOMPARE(filesIn(folder.path()), QStringList{QFileInfo(output).fileName()});
    const ErrorInfo& error = generator.getErrorInfo();
    if (place == NeverFull) {
        QCOMPARE(error.code(), ErrorInfo::ErrNone);
        QCOMPARE(bytesOf(output).size(), completeBytes.size());
        return;
    }
    QCOMPARE(bytesOf(output), older);
    QCOMPARE(error.code(), ErrorInfo::ErrWrite);
    QVERIFY2(error.message().contains(output) && error.message().contains(QLatin1String("File too large")),
             qPrintable(error.message()));
}

void TestTemplateToDocx::directDiskCallProducesNothing()
{
    TemplateToDocx generator;
    QSignalSpy done(&generator, &TemplateToDocument::done);
    const QString output = dir.filePath(QStringLiteral("direct.docx"));
    QVERIFY(!generator.make_from_disk(dataDir + QStringLiteral("photos.docx"), output));
    QCOMPARE(done.count(), 1);
    QVERIFY(!QFile::exists(output));
}

QTEST_MAIN(TestTemplateToDocx)
#include "tst_templatetodocx.moc"
