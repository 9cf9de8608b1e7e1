// Renders an ODT template of report size, the counterpart of docx_render: content.xml of
// about 2 MB with 5 000 tag occurrences of 1 000 distinct names, a table row repeated for
// 500 items and 20 frames described photo-0.jpg to photo-19.jpg (all showing one sample
// picture, as LibreOffice stores equal pictures once), filled from an evaluation of 20
// camera-sized photos. Reported, as the median of the rounds:
//   render     the whole document through TemplateToOdt (template read from disk)
//   floor      a copy of the rendered document that does what any render must: its
//              text parts (content.xml, styles.xml) inflated and deflated again, every
//              other entry copied as its compressed bytes (the template holds one sample
//              picture, the document 20 photos)
//   text       content.xml alone through every pass, UTF-8 in and out, no zip
//   passes     each pass on its own over content.xml, the joining of split tags first
// in milliseconds of this thread's CPU time.
//   bench_odt_render [rounds]

#include "benchtiming.h"
#include "renderfixtures.h"

#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "report/templatetoodt.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

#include <cstdio>
#include <functional>

namespace {

constexpr int DistinctTags = 1000;
constexpr int TagOccurrences = 5000;
constexpr int TableRows = 500;
constexpr int Photos = 20;

QByteArray paragraph(const QString& text)
{
    return "<text:p text:style-name=\"P1\"><text:span text:style-name=\"T1\">" + text.toUtf8() + "</text:span></text:p>";
}

QByteArray cell(const QString& text)
{
    return "<table:table-cell table:style-name=\"Table1.A1\" office:value-type=\"string\">" + paragraph(text)
        + "</table:table-cell>";
}

QByteArray frame(int photo)
{
    return QStringLiteral("<text:p text:style-name=\"P1\"><draw:frame draw:style-name=\"fr1\" draw:name=\"Photo%1\" "
                          "text:anchor-type=\"as-char\" svg:width=\"6cm\" svg:height=\"4.5cm\" draw:z-index=\"%1\">"
                          "<draw:image xlink:href=\"Pictures/sample.jpg\" xlink:type=\"simple\" xlink:show=\"embed\" "
                          "xlink:actuate=\"onLoad\" draw:mime-type=\"image/jpeg\"/><svg:desc>photo-%1.jpg</svg:desc>"
                          "</draw:frame></text:p>")
        .arg(photo)
        .toUtf8();
}

const char* filler = "Рыночная стоимость объекта оценки определена с учётом его технического состояния, пробега, "
                     "условий эксплуатации, наличия повреждений и дополнительного оборудования, "
                     "комплектации и сложившихся на рынке цен на аналогичные транспортные средства ";

QByteArray content()
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content "
                     "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                     "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                     "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                     "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                     "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                     "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.3\">"
                     "<office:body><office:text>";
    const int paragraphs = TagOccurrences / 2;
    for (int i = 0; i < paragraphs; ++i) {
        xml += paragraph(QString::fromUtf8(filler) + QStringLiteral("&lt;#%1#&gt; и &lt;#%2#R#&gt;.")
                                                        .arg(tagName((2 * i) % DistinctTags), tagName((2 * i + 1) % DistinctTags)));
        if (i == paragraphs / 2)
            xml += "<table:table table:name=\"Table1\"><table:table-column table:number-columns-repeated=\"3\"/>"
                   "<table:table-row>"
                + cell(QStringLiteral("&lt;#НОМЕР_СТРОКИ#&gt;")) + cell(QStringLiteral("&lt;#ДЕТАЛЬ#&gt;"))
                + cell(QStringLiteral("&lt;#ЦЕНА#&gt;")) + "</table:table-row></table:table>";
        if (i % (paragraphs / Photos) == 0 && i / (paragraphs / Photos) < Photos)
            xml += frame(i / (paragraphs / Photos));
    }
    return xml + "</office:text></office:body></office:document-content>";
}

// A package as LibreOffice writes it: mimetype first and stored, the manifest last.
void writePackage(const QString& path, const QByteArray& contentXml)
{
    const QList<std::pair<QString, QByteArray>> entries = {
        {QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text"},
        {QStringLiteral("styles.xml"), QByteArray(40 * 1024, ' ').prepend("<office:document-styles xmlns:office=\"o\">")
                                           .append("</office:document-styles>")},
        {QStringLiteral("content.xml"), contentXml},
        {QStringLiteral("Pictures/sample.jpg"), cameraPhoto(99)},
        {QStringLiteral("META-INF/manifest.xml"),
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:"
         "opendocument:xmlns:manifest:1.0\" manifest:version=\"1.3\"><manifest:file-entry manifest:full-path=\"/\" "
         "manifest:version=\"1.3\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
         "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
         "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
         "<manifest:file-entry manifest:full-path=\"Pictures/sample.jpg\" manifest:media-type=\"image/jpeg\"/>"
         "</manifest:manifest>"}};
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    for (const auto& [name, bytes] : entries) {
        QuaZipFile file(&zip);
        const int method = name == QLatin1String("mimetype") ? 0 : Z_DEFLATED;
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, method);
        file.write(bytes);
        file.close();
    }
    zip.close();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    isolate(dir);

    BenchEvaluation bench(DistinctTags, TableRows, Photos);

    const QByteArray contentXml = content();
    const QString single = dir.filePath(QStringLiteral("single.odt"));
    writePackage(single, contentXml);
    const QString output = dir.filePath(QStringLiteral("out.odt"));
    TemplateToOdt generator;
    generator.use(bench.evaluation);
    if (!render(generator, single, output)) {
        std::printf("render failed: %s\n", qPrintable(generator.getErrorInfo().message()));
        return 1;
    }
    const QString text = entryText(output, QStringLiteral("content.xml"));
    std::printf("template: content.xml %.2f MB, %d tag occurrences of %d names, %d rows, %d photos\n",
                contentXml.size() / 1048576.0, TagOccurrences, DistinctTags, TableRows, Photos);
    std::printf("output check: tags left %d, rows %d, frames %d\n", int(text.count(QStringLiteral("&lt;#"))),
                int(text.count(QStringLiteral("<table:table-row>"))), int(text.count(QStringLiteral("<draw:frame "))));

    const double renderMs = medianMs(rounds, [&] { render(generator, single, output); });
    const QString copied = dir.filePath(QStringLiteral("copied.odt"));
    const double floorMs = medianMs(rounds, [&] { plainCopy({QStringLiteral("content.xml"), QStringLiteral("styles.xml")}, output, copied); });
    std::printf("render   %8.1f ms\nfloor    %8.1f ms   render/floor   %.2f\n", renderMs, floorMs, renderMs / floorMs);
    const double textMs = medianMs(rounds, [&] {
        QByteArray source = contentXml;
        QByteArray result;
        QBuffer in(&source);
        QBuffer out(&result);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        generator.filtering(in, out);
    });
    std::printf("text     %8.1f ms   (content.xml alone: decoded, every pass, encoded; no zip)\n", textMs);
    const QString original = QString::fromUtf8(contentXml);
    const std::pair<const char*, std::function<void(QString&)>> passes[] = {
        {"split tags", [&](QString& t) { generator.prepareText(t); }},
        {"conditions", [&](QString& t) { generator.replaceCondTags(t); }},
        {"table rows", [&](QString& t) { generator.replicateTableLines(t); }},
        {"paragraphs", [&](QString& t) { generator.replicateParagraphs(t); }},
        {"tags", [&](QString& t) { generator.replaceTags(t, -1); }},
        {"pictures", [&](QString& t) { generator.removeMissingPictures(t); }},
    };
    for (const auto& [name, pass] : passes) {
        const double ms = medianMs(rounds, [&, &pass = pass] {
            QString copy = original;
            pass(copy);
        });
        std::printf("pass %-11s %7.1f ms\n", name, ms);
    }
    return 0;
}
