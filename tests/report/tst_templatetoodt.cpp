#include "report/templatetoodt.h"
#include "runtime/singletonregistry.h"

#include "opendocumenttext.h"
#include "renderfixture.h"
#include "zipfixture.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace RenderFixture;

namespace {

using TestOdt = WithExtraTags<TemplateToOdt>;

const QString dataDir = QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/");

QImage pictureOf(const QList<ZipEntry>& entries, const QString& name)
{
    return QImage::fromData(contentOf(entries, name));
}

// The picture files the frames of a part show, by description.
QHash<QString, QString> shownPictures(const QList<ZipEntry>& entries, const QString& part)
{
    QHash<QString, QString> shown;
    for (const auto& [described, image] : OpenDocumentText::framesOf(contentOf(entries, part)))
        shown.insert(described, image);
    return shown;
}

QString written(const QTemporaryDir& dir, const QString& name, const QList<ZipEntry>& entries)
{
    const QString path = dir.filePath(name);
    return writeZip(path, entries) ? path : QString();
}

// The entries of a template with some replaced or left out.
QList<ZipEntry> changed(const QString& templateName, const QHash<QString, QByteArray>& replaced,
                        const QStringList& removed = {})
{
    QList<ZipEntry> entries;
    for (ZipEntry& entry : readZip(dataDir + templateName)) {
        if (removed.contains(entry.name))
            continue;
        if (replaced.contains(entry.name))
            entry.content = replaced.value(entry.name);
        entries.append(entry);
    }
    return entries;
}

} // namespace

class TestTemplateToOdt : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }
    void templatesBecomeDocumentsThatOpen_data();
    void templatesBecomeDocumentsThatOpen();
    void picturesComeFromTheEvaluation_data();
    void picturesComeFromTheEvaluation();
    void framesSharingAnImageGetTheirOwnPictures();
    void headerPictureComesFromTheEvaluation();
    void framesOfOtherWritersAreFilled_data();
    void framesOfOtherWritersAreFilled();
    void packagesOfOtherProgramsAreMadeValid_data();
    void packagesOfOtherProgramsAreMadeValid();
    void unusableTemplatesEndTheRunWithAnError_data();
    void unusableTemplatesEndTheRunWithAnError();

private:
    QTemporaryDir dir;
};

void TestTemplateToOdt::templatesBecomeDocumentsThatOpen_data()
{
    QTest::addColumn<QString>("templateName");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    // Headers and footers live in the page styles.
    for (const ExpectedText& text : expectedTexts())
        QTest::newRow(text.row) << QLatin1String(text.templateName) + QStringLiteral(".odt")
                                << QString::fromLatin1(text.part == ExpectedText::Body ? "content.xml" : "styles.xml")
                                << text.present << text.absent;
    QTest::newRow("tags cut by tracked changes and bookmarks, conditions across paragraphs")
        << "changemarks.odt" << "content.xml"
        << QStringList{"Марка: Лада, модель: Веста (закладка), знак: А123ВС69.",
                       "Идентификационный номер:XTA210990Y2765432", "До условия.  После условия."}
        << QStringList{"<#", "<?", "Паспорт не представлен", "Заказчик предупреждён"};
    QTest::newRow("header tag split by formatting") << "changemarks.odt" << "styles.xml" << QStringList{"Отчёт № 17/2026"}
                                                    << QStringList{"<#"};
}

void TestTemplateToOdt::templatesBecomeDocumentsThatOpen()
{
    QFETCH(QString, templateName);
    QFETCH(QString, part);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    Evaluation evaluation(4, true, true);
    TestOdt generator;
    generator.use(evaluation.ae);
    generator.extra = reportTags();
    const QString output = dir.filePath(templateName);

    QVERIFY(run(generator, dataDir + templateName, output));
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrNone);
    QCOMPARE(OpenDocumentText::problemsOf(output), QStringList());
    const QByteArray xml = contentOf(output, part);
    const QString text = OpenDocumentText::textOf(xml);
    for (const QString& expected : present)
        QVERIFY2(text.contains(expected), qPrintable(expected + QLatin1String(" not in ") + text));
    for (const QString& unexpected : absent)
        QVERIFY2(!text.contains(unexpected), qPrintable(unexpected));
    // A marker taken out of a tag goes with its partner.
    QCOMPARE(xml.count("<text:bookmark-start"), xml.count("<text:bookmark-end"));
    QCOMPARE(xml.count("<text:change-start"), xml.count("<text:change-end"));
}

void TestTemplateToOdt::picturesComeFromTheEvaluation_data()
{
    QTest::addColumn<int>("photos");
    QTest::addColumn<bool>("withGraphic");
    QTest::addColumn<bool>("withLogo");

    // The sheet holds photo-0.jpg to photo-3.jpg, graphic-0.jpg, appraiserLogo-0.jpg and
    // the template's own "Stamp", each stored by LibreOffice as a PNG of its own.
    QTest::newRow("everything at hand") << 4 << true << true;
    QTest::newRow("three photos, no approach, no appraiser") << 3 << false << false;
}

void TestTemplateToOdt::picturesComeFromTheEvaluation()
{
    QFETCH(int, photos);
    QFETCH(bool, withGraphic);
    QFETCH(bool, withLogo);
    Evaluation evaluation(photos, withGraphic, withLogo);
    TemplateToOdt generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("pictures.odt"));
    QVERIFY(run(generator, dataDir + QStringLiteral("photos.odt"), output));

    QCOMPARE(OpenDocumentText::problemsOf(output), QStringList());
    const QList<ZipEntry> entries = readZip(output);
    const QList<ZipEntry> original = readZip(dataDir + QStringLiteral("photos.odt"));
    const QHash<QString, QString> shown = shownPictures(entries, QStringLiteral("content.xml"));
    QCOMPARE(shown.size(), photos + (withGraphic ? 1 : 0) + (withLogo ? 1 : 0) + 1);
    for (int i = 0; i < photos; ++i) {
        const QString image = shown.value(QStringLiteral("photo-%1.jpg").arg(i));
        QVERIFY2(sameColour(pictureOf(entries, image), photoColour(i)), qPrintable(image));
        QVERIFY(image.endsWith(QLatin1String(".png"))); // the format of the template's picture
    }
    if (withGraphic)
        QVERIFY(sameColour(pictureOf(entries, shown.value(QStringLiteral("graphic-0.jpg"))), graphicColour));
    if (withLogo)
        QVERIFY(sameColour(pictureOf(entries, shown.value(QStringLiteral("appraiserLogo-0.jpg"))), logoColour));
    const QHash<QString, QString> before = shownPictures(original, QStringLiteral("content.xml"));
    const QString stamp = before.value(QStringLiteral("Stamp"));
    QCOMPARE(shown.value(QStringLiteral("Stamp")), stamp);
    QCOMPARE(contentOf(entries, stamp), contentOf(original, stamp));
    // Every entry of the template stays but its thumbnail, which shows the template; the
    // pictures come as entries of their own.
    QStringList names;
    for (const ZipEntry& entry : entries)
        names << entry.name;
    for (const ZipEntry& entry : original)
        QVERIFY2(names.contains(entry.name) != entry.name.startsWith(QLatin1String("Thumbnails/")), qPrintable(entry.name));
}

// LibreOffice keeps one file for equal pictures: the three photo frames of changemarks.odt
// (two described, one only named "photo-1.jpg") show one placeholder. Each gets its photo,
// and the frame without one goes with nothing around it.
void TestTemplateToOdt::framesSharingAnImageGetTheirOwnPictures()
{
    const QList<ZipEntry> original = readZip(dataDir + QStringLiteral("changemarks.odt"));
    const QHash<QString, QString> before = shownPictures(original, QStringLiteral("content.xml"));
    QCOMPARE(before.value(QStringLiteral("photo-0.jpg")), before.value(QStringLiteral("photo-1.jpg")));
    QCOMPARE(before.value(QStringLiteral("photo-0.jpg")), before.value(QStringLiteral("photo-2.jpg")));
    Evaluation evaluation(2, false, false);
    TestOdt generator;
    generator.use(evaluation.ae);
    generator.extra = reportTags();
    const QString output = dir.filePath(QStringLiteral("shared.odt"));
    QVERIFY(run(generator, dataDir + QStringLiteral("changemarks.odt"), output));

    QCOMPARE(OpenDocumentText::problemsOf(output), QStringList());
    const QList<ZipEntry> entries = readZip(output);
    const QHash<QString, QString> shown = shownPictures(entries, QStringLiteral("content.xml"));
    QCOMPARE(shown.keys().size(), 3);
    QVERIFY(sameColour(pictureOf(entries, shown.value(QStringLiteral("photo-0.jpg"))), photoColour(0)));
    QVERIFY(sameColour(pictureOf(entries, shown.value(QStringLiteral("photo-1.jpg"))), photoColour(1)));
    QCOMPARE(shown.value(QStringLiteral("Печать организации")), before.value(QStringLiteral("Печать организации")));
    const QStringList paragraphs = OpenDocumentText::paragraphsOf(contentOf(entries, QStringLiteral("content.xml")));
    QVERIFY(paragraphs.contains(QStringLiteral("Вид сзади: ")));
}

// The letterhead's header (in styles.xml) shows appraiserLogo-0.jpg; the body photo-0.jpg.
void TestTemplateToOdt::headerPictureComesFromTheEvaluation()
{
    Evaluation evaluation(1, false, true);
    TemplateToOdt generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("letterhead.odt"));
    QVERIFY(run(generator, dataDir + QStringLiteral("letterhead.odt"), output));

    QCOMPARE(OpenDocumentText::problemsOf(output), QStringList());
    const QList<ZipEntry> entries = readZip(output);
    const QHash<QString, QString> header = shownPictures(entries, QStringLiteral("styles.xml"));
    QVERIFY(sameColour(pictureOf(entries, header.value(QStringLiteral("appraiserLogo-0.jpg"))), logoColour));
    const QHash<QString, QString> body = shownPictures(entries, QStringLiteral("content.xml"));
    QVERIFY(sameColour(pictureOf(entries, body.value(QStringLiteral("photo-0.jpg"))), photoColour(0)));
}

void TestTemplateToOdt::framesOfOtherWritersAreFilled_data()
{
    QTest::addColumn<QByteArray>("image"); // what the frame described photo-0.jpg shows
    QTest::addColumn<QString>("suffix");   // of the picture file it gets
    QTest::addColumn<bool>("captioned");   // the frame stands in a text box with its caption

    QTest::newRow("a file outside the package")
        << QByteArray("<draw:image xlink:href=\"../Фото/машина.jpg\" xlink:type=\"simple\" xlink:show=\"embed\" "
                      "xlink:actuate=\"onLoad\"/>")
        << "jpg" << false;
    QTest::newRow("a picture held inline")
        << QByteArray("<draw:image draw:mime-type=\"image/png\"><office:binary-data>iVBORw0KGgo=</office:binary-data>"
                      "</draw:image>")
        << "png" << false;
    QTest::newRow("a vector picture with its bitmap for older readers")
        << QByteArray("<draw:image xlink:href=\"Pictures/sample.svg\" draw:mime-type=\"image/svg+xml\"/>"
                      "<draw:image xlink:href=\"Pictures/sample.png\" draw:mime-type=\"image/png\"/>")
        << "png" << false;
    // Insert > Caption: the picture's frame goes into a text box of an outer frame.
    QTest::newRow("a picture with a caption")
        << QByteArray("<draw:image xlink:href=\"Pictures/sample.png\" draw:mime-type=\"image/png\"/>") << "png" << true;
}

// A frame described photo-0.jpg shows the photo from a file of the package, however the
// template held its sample picture; no sample picture is left for it.
void TestTemplateToOdt::framesOfOtherWritersAreFilled()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, suffix);
    QFETCH(bool, captioned);
    QByteArray content = contentOf(dataDir + QStringLiteral("photos.odt"), QStringLiteral("content.xml"));
    const qsizetype description = content.indexOf("<svg:desc>photo-0.jpg</svg:desc>");
    const qsizetype start = content.lastIndexOf("<draw:image", description);
    content.replace(start, description - start, image);
    if (captioned) {
        const qsizetype frame = content.lastIndexOf("<draw:frame", start);
        const qsizetype end = content.indexOf("</draw:frame>", start) + qsizetype(qstrlen("</draw:frame>"));
        content.insert(end, "Фото 1</text:p></draw:text-box></draw:frame>");
        content.insert(frame, "<draw:frame draw:name=\"Рамка1\" text:anchor-type=\"as-char\" svg:width=\"6cm\">"
                              "<draw:text-box><text:p>");
    }
    const QString templatePath = written(dir, QStringLiteral("other.odt"), changed("photos.odt", {{"content.xml", content}}));
    Evaluation evaluation(1, false, false);
    TemplateToOdt generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("other-out.odt"));
    QVERIFY(run(generator, templatePath, output));

    QCOMPARE(OpenDocumentText::problemsOf(output), QStringList());
    const QList<ZipEntry> entries = readZip(output);
    const QByteArray filled = contentOf(entries, QStringLiteral("content.xml"));
    const QString picture = shownPictures(entries, QStringLiteral("content.xml")).value(QStringLiteral("photo-0.jpg"));
    QVERIFY2(picture.startsWith(QLatin1String("Pictures/")) && picture.endsWith(QLatin1Char('.') + suffix), qPrintable(picture));
    QVERIFY(sameColour(pictureOf(entries, picture), photoColour(0)));
    QVERIFY(!filled.contains("sample.") && !filled.contains("машина") && !filled.contains("office:binary-data"));
}

void TestTemplateToOdt::packagesOfOtherProgramsAreMadeValid_data()
{
    QTest::addColumn<QString>("templatePath");

    QList<ZipEntry> entries = readZip(dataDir + QStringLiteral("photos.odt"));
    QList<ZipEntry> mimeTypeLast = entries;
    ZipEntry mimeType = mimeTypeLast.takeFirst();
    mimeType.method = 8;
    mimeTypeLast.append(mimeType);
    QTest::newRow("mimetype deflated, last") << written(dir, QStringLiteral("last.odt"), mimeTypeLast);
    QTest::newRow("no mimetype entry") << written(dir, QStringLiteral("nomime.odt"), changed("photos.odt", {}, {"mimetype"}));
    QByteArray manifest = contentOf(entries, QStringLiteral("META-INF/manifest.xml"));
    manifest.replace("<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>", "")
        .replace("</manifest:manifest>", "<manifest:file-entry manifest:full-path=\"gone.xml\" manifest:media-type=\"text/xml\"/></manifest:manifest>");
    QTest::newRow("manifest missing an entry, naming another that is not there")
        << written(dir, QStringLiteral("manifest.odt"), changed("photos.odt", {{"META-INF/manifest.xml", manifest}}));
    QTest::newRow("no manifest") << written(dir, QStringLiteral("nomanifest.odt"),
                                             changed("photos.odt", {}, {"META-INF/manifest.xml"}));
    QList<ZipEntry> signedEntries = entries;
    signedEntries.append({QStringLiteral("META-INF/documentsignatures.xml"), "<document-signatures/>"});
    QTest::newRow("signed by its author") << written(dir, QStringLiteral("signed.odt"), signedEntries);
}

void TestTemplateToOdt::packagesOfOtherProgramsAreMadeValid()
{
    QFETCH(QString, templatePath);
    Evaluation evaluation(4, false, false);
    TemplateToOdt generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("valid.odt"));
    QVERIFY(run(generator, templatePath, output));
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrNone);
    QCOMPARE(OpenDocumentText::problemsOf(output), QStringList());
    QVERIFY(OpenDocumentText::textOf(output, QStringLiteral("content.xml")).contains(QStringLiteral("№ 17/2026")));
    // A signature of the template would call the document forged.
    QVERIFY(contentOf(output, QStringLiteral("META-INF/documentsignatures.xml")).isNull());
}

void TestTemplateToOdt::unusableTemplatesEndTheRunWithAnError_data()
{
    QTest::addColumn<QString>("templatePath");
    QTest::addColumn<QString>("reason");

    QByteArray encrypted = contentOf(dataDir + QStringLiteral("photos.odt"), QStringLiteral("META-INF/manifest.xml"));
    encrypted.replace("manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>",
                      "manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"><manifest:encryption-data "
                      "manifest:checksum-type=\"SHA1/1K\" manifest:checksum=\"AAAA\"/></manifest:file-entry>");
    QTest::newRow("protected by a password")
        << written(dir, QStringLiteral("encrypted.odt"), changed("photos.odt", {{"META-INF/manifest.xml", encrypted}}))
        << "protected by a password";
    QTest::newRow("a spreadsheet")
        << written(dir, QStringLiteral("sheet.odt"),
                   changed("photos.odt", {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}))
        << "another kind";
    QTest::newRow("no content") << written(dir, QStringLiteral("nocontent.odt"), changed("photos.odt", {}, {"content.xml"}))
                                << "no content.xml";
    QFile notZip(dir.filePath(QStringLiteral("not-a-zip.odt")));
    QVERIFY(notZip.open(QIODevice::WriteOnly) && notZip.write("odt") == 3);
    QTest::newRow("not a zip") << notZip.fileName() << "not a zip";
    const QByteArray cut = "<office:document-content><office:body><office:text><text:p>&lt;?VIN?&gt;a</text:p>"
                           "<table:table><table:table-row><table:table-cell><text:p>&lt;?/VIN?&gt;b</text:p>"
                           "</table:table-cell></table:table-row></table:table></office:text></office:body></office:document-content>";
    QTest::newRow("a condition cutting across a table")
        << written(dir, QStringLiteral("cut.odt"), changed("photos.odt", {{"content.xml", cut}})) << "cut.odt";
}

// Nothing is written for a template that cannot be used, and the error says why.
void TestTemplateToOdt::unusableTemplatesEndTheRunWithAnError()
{
    QFETCH(QString, templatePath);
    QFETCH(QString, reason);
    Evaluation evaluation(0, false, false);
    TemplateToOdt generator;
    generator.use(evaluation.ae);
    const QString output = dir.filePath(QStringLiteral("refused.odt"));
    QVERIFY(run(generator, templatePath, output));
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrRead);
    QVERIFY2(generator.getErrorInfo().message().contains(reason), qPrintable(generator.getErrorInfo().message()));
    QVERIFY(!QFile::exists(output));
}

QTEST_MAIN(TestTemplateToOdt)
#include "tst_templatetoodt.moc"
