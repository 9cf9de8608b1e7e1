// Renders a DOCX template of report size and compares it with the cheapest possible
// job on the same archive. The template's document.xml is about 2.1 MB: 5 000 tag
// occurrences of 1 000 distinct names, a table row repeated for 680 items, 60
// conditional blocks (half of them across paragraphs) and 20 pictures described
// photo-0.jpg to photo-19.jpg, filled from an evaluation of 20 camera-sized photos.
// Reported, as the median of the rounds:
//   render     the whole document through TemplateToDocx (template read from disk)
//   floor      a copy of the same archive that does what any render must: the text
//              parts inflated and deflated again (zlib's default level), every other
//              entry copied as its compressed bytes
//   floor, libdeflate  the same copy deflating with the render's own deflater, to tell
//              what the passes cost from what the faster deflater saves
//   safe floor the libdeflate floor keeping the render's promises: the template read
//              whole first, each text part checked to be well-formed before it is
//              written, the document flushed to disk and put in place atomically
//   doubled    the render of a template with twice the text, rows and pictures
//   text       document.xml alone through every pass, UTF-8 in and out, no zip
//   passes     each tag pass on its own over the document text, the joining of
//              tags split across runs first
//   png        the render when the picture files are PNG, as some word processors
//              store them: the photos must then be coded again
//   freed memory kept  render, floor and doubled once more with the allocator keeping
//              the memory a render frees (AllocatorTuning), as the zentavo tool runs
// in milliseconds of this thread's CPU time, and the peak memory the first render added, against the template's unpacked size.
//   bench_docx_render [rounds [render|png]]   (time that render only, for a profiler)

#include "benchtiming.h"
#include "renderfixtures.h"

#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "report/templatetodocx.h"
#include "runtime/allocatortuning.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int DistinctTags = 1000;
constexpr int TagOccurrences = 5000;
constexpr int TableRows = 680;
constexpr int Conditions = 60;
constexpr int Photos = 20;

QByteArray paragraph(const QString& text)
{
    return "<w:p><w:pPr><w:pStyle w:val=\"Normal\"/><w:jc w:val=\"both\"/><w:rPr></w:rPr></w:pPr><w:r><w:rPr>"
           "<w:rFonts w:ascii=\"Liberation Serif\" w:hAnsi=\"Liberation Serif\"/><w:sz w:val=\"24\"/></w:rPr>"
           "<w:t xml:space=\"preserve\">"
        + text.toUtf8() + "</w:t></w:r></w:p>";
}

QByteArray cell(const QString& text)
{
    return "<w:tc><w:tcPr><w:tcW w:w=\"3213\" w:type=\"dxa\"/></w:tcPr>" + paragraph(text) + "</w:tc>";
}

QByteArray drawing(int photo, int rid)
{
    return QStringLiteral("<w:p><w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
                          "<wp:extent cx=\"2160270\" cy=\"1619885\"/><wp:docPr id=\"%2\" name=\"Photo%1\" "
                          "descr=\"photo-%1.jpg\"/><a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
                          "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
                          "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:nvPicPr>"
                          "<pic:cNvPr id=\"%2\" name=\"Photo%1\" descr=\"photo-%1.jpg\"/><pic:cNvPicPr/></pic:nvPicPr>"
                          "<pic:blipFill><a:blip r:embed=\"rId%2\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
                          "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"2160270\" cy=\"1619885\"/></a:xfrm>"
                          "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData>"
                          "</a:graphic></wp:inline></w:drawing></w:r></w:p>")
        .arg(photo)
        .arg(rid)
        .toUtf8();
}

const char* filler = "Рыночная стоимость объекта оценки определена с учётом его технического состояния, пробега, "
                     "условий эксплуатации, наличия повреждений и дополнительного оборудования, "
                     "комплектации, года выпуска и сложившихся на дату оценки рыночных цен на аналогичные "
                     "транспортные средства ";

// The opening and the end of a conditional block on a tag that has a value: even blocks
// are shown, odd ones ask for an empty value and go. Every other block spans two
// paragraphs.
QString conditionOpening(int block)
{
    return QStringLiteral("&lt;?%1%2?&gt;").arg(tagName(block), block % 2 ? QStringLiteral("!") : QString());
}

QString conditionEnd(int block)
{
    return QStringLiteral("&lt;?/%1?&gt;").arg(tagName(block));
}

// One copy of the report body: text with tags, the conditions, the repeated row and the
// pictures.
QByteArray body(int firstRid)
{
    QByteArray xml;
    const int paragraphs = TagOccurrences / 2;
    const int conditionEvery = paragraphs / Conditions;
    for (int i = 0; i < paragraphs; ++i) {
        const int block = i / conditionEvery;
        const bool opens = i % conditionEvery == 0 && block < Conditions;
        const bool spans = block % 4 >= 2;
        const bool ends = block < Conditions && i % conditionEvery == (spans ? 1 : 0);
        xml += paragraph((opens ? conditionOpening(block) : QString()) + QString::fromUtf8(filler) + QStringLiteral("&lt;#%1#&gt; и &lt;#%2#R#&gt;.")
                                                        .arg(tagName((2 * i) % DistinctTags), tagName((2 * i + 1) % DistinctTags))
                         + (ends ? conditionEnd(block) : QString()));
        if (i == paragraphs / 2) {
            xml += "<w:tbl><w:tblPr><w:tblW w:w=\"5000\" w:type=\"pct\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"3213\"/>"
                   "<w:gridCol w:w=\"3213\"/><w:gridCol w:w=\"3213\"/></w:tblGrid><w:tr>"
                + cell(QStringLiteral("&lt;#НОМЕР_СТРОКИ#&gt;")) + cell(QStringLiteral("&lt;#ДЕТАЛЬ#&gt;"))
                + cell(QStringLiteral("&lt;#ЦЕНА#&gt;")) + "</w:tr></w:tbl>";
        }
        if (i % (paragraphs / Photos) == 0 && i / (paragraphs / Photos) < Photos)
            xml += drawing(i / (paragraphs / Photos), firstRid + i / (paragraphs / Photos));
    }
    return xml;
}

// The template author's sample photo, camera-sized like the evaluation's.
QByteArray placeholder(const char* format)
{
    const QImage image = QImage::fromData(cameraPhoto(99));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

struct Entry
{
    QString name;
    QByteArray content;
};

// A package as a word processor writes it, with `copies` copies of the report body.
QList<Entry> templatePackage(int copies, const char* extension)
{
    const QString ns = QStringLiteral(
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\"");
    QByteArray document = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document " + ns.toUtf8() + "><w:body>";
    QByteArray rels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships "
                      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                      "relationships/styles\" Target=\"styles.xml\"/>";
    QList<Entry> media;
    const QByteArray picture = placeholder(extension);
    for (int copy = 0; copy < copies; ++copy) {
        const int firstRid = 2 + copy * Photos;
        document += body(firstRid);
        for (int i = 0; i < Photos; ++i) {
            const QString target = QStringLiteral("media/image%1.%2").arg(firstRid + i).arg(QLatin1String(extension));
            rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                                   "2006/relationships/image\" Target=\"%2\"/>")
                        .arg(firstRid + i)
                        .arg(target)
                        .toUtf8();
            media.append({QStringLiteral("word/") + target, picture});
        }
    }
    document += "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>";
    rels += "</Relationships>";
    const QByteArray types = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Types xmlns=\"http://schemas.openxmlformats.org/"
                             "package/2006/content-types\"><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                             "<Default Extension=\"png\" ContentType=\"image/png\"/><Default Extension=\"jpeg\" "
                             "ContentType=\"image/jpeg\"/><Override PartName=\"/word/document.xml\" ContentType=\"application/"
                             "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
    QList<Entry> entries = {{QStringLiteral("[Content_Types].xml"), types},
                            {QStringLiteral("_rels/.rels"),
                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"http://schemas."
                             "openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"http://"
                             "schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                             "Target=\"word/document.xml\"/></Relationships>"},
                            {QStringLiteral("word/_rels/document.xml.rels"), rels},
                            {QStringLiteral("word/document.xml"), document},
                            {QStringLiteral("word/styles.xml"), QByteArray(40 * 1024, ' ').prepend("<w:styles " + ns.toUtf8() + ">").append("</w:styles>")}};
    return entries + media;
}

qint64 writePackage(const QString& path, const QList<Entry>& entries)
{
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    qint64 unpacked = 0;
    for (const Entry& entry : entries) {
        QuaZipFile file(&zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.name));
        file.write(entry.content);
        file.close();
        unpacked += entry.content.size();
    }
    zip.close();
    return unpacked;
}

// The entries of a template the render runs its passes on.
QSet<QString> textPartsOf(TemplateToDocx& generator, const QString& path)
{
    QuaZip zip(path);
    zip.open(QuaZip::mdUnzip);
    generator.beforeCopy(zip);
    QSet<QString> parts;
    for (const QString& name : zip.getFileNameList())
        if (generator.isNeedFiltering(name))
            parts.insert(name);
    return parts;
}

// Resident set size now and at its peak, in KiB.
std::pair<long, long> memoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    long now = 0;
    long peak = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            now = line.mid(6).trimmed().split(' ').first().toLong();
        if (line.startsWith("VmHWM:"))
            peak = line.mid(6).trimmed().split(' ').first().toLong();
    }
    return {now, peak};
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
    AutoEvaluation& evaluation = bench.evaluation;
    EvaluationTagStorage& storage = bench.storage;

    const QString single = dir.filePath(QStringLiteral("single.docx"));
    const QString doubled = dir.filePath(QStringLiteral("doubled.docx"));
    const QString png = dir.filePath(QStringLiteral("png.docx"));
    const QList<Entry> singleEntries = templatePackage(1, "jpeg");
    const qint64 unpacked = writePackage(single, singleEntries);
    writePackage(doubled, templatePackage(2, "jpeg"));
    writePackage(png, templatePackage(1, "png"));
    const QString output = dir.filePath(QStringLiteral("out.docx"));

    TemplateToDocx generator;
    generator.use(evaluation);
    const auto [before, peakBefore] = memoryKiB();
    if (!render(generator, single, output)) {
        std::printf("render failed: %s\n", qPrintable(generator.getErrorInfo().message()));
        return 1;
    }
    const long peakAdded = memoryKiB().second - std::max(before, peakBefore);
    const QString text = entryText(output, QStringLiteral("word/document.xml"));
    std::printf("template: document.xml %.2f MB, unpacked %.2f MB, %d tag occurrences of %d names, %d rows, %d photos"
                " of %.0f KB\n",
                singleEntries[3].content.size() / 1048576.0, unpacked / 1048576.0, TagOccurrences, DistinctTags,
                TableRows, Photos, storage.getPhotoData(0).size() / 1024.0);
    std::printf("output check: tags left %d, conditions left %d, rows %d, drawings %d\n",
                int(text.count(QStringLiteral("&lt;#"))), int(text.count(QStringLiteral("&lt;?"))),
                int(text.count(QStringLiteral("<w:tr>"))), int(text.count(QStringLiteral("<w:drawing>"))));

    if (argc > 2) {
        const QString& profiled = QByteArray(argv[2]) == "png" ? png : single;
        const double renderMs = medianMs(rounds, [&] { render(generator, profiled, output); });
        std::printf("render   %8.1f ms\n", renderMs);
        return 0;
    }
    const double renderMs = medianMs(rounds, [&] { render(generator, single, output); });
    const QSet<QString> textParts = textPartsOf(generator, single);
    const double floorMs = medianMs(rounds, [&] { plainCopy(textParts, single, output); });
    const double libdeflateFloorMs = medianMs(rounds, [&] { plainCopy(textParts, single, output, {true, false}); });
    const double safeFloorMs = medianMs(rounds, [&] { plainCopy(textParts, single, output, {true, true}); });
    const double doubledMs = medianMs(rounds, [&] { render(generator, doubled, output); });
    const double pngMs = medianMs(rounds, [&] { render(generator, png, output); });
    std::printf("render   %8.1f ms\nfloor    %8.1f ms   render/floor   %.2f (goal <= 1.3)\n", renderMs, floorMs,
                renderMs / floorMs);
    std::printf("floor, libdeflate %5.1f ms   render/that    %.2f\n", libdeflateFloorMs, renderMs / libdeflateFloorMs);
    std::printf("safe floor, libdeflate %5.1f ms   render/that %.2f   (read whole, parts checked, flushed, renamed)\n",
                safeFloorMs, renderMs / safeFloorMs);
    std::printf("doubled  %8.1f ms   doubled/render %.2f (goal <= 2.05)\n", doubledMs, doubledMs / renderMs);
    std::printf("png      %8.1f ms   (pictures stored as PNG: every photo decoded and coded again)\n", pngMs);
    std::printf("peak memory added by the first render %.1f MB = %.1fx the unpacked template (goal < 10x)\n",
                peakAdded / 1024.0, peakAdded * 1024.0 / unpacked);

    // Last, since it holds for the rest of the process: a host that has the allocator
    // keep freed memory, as the zentavo tool does.
    if (AllocatorTuning::keepFreedMemory()) {
        const double keptRenderMs = medianMs(rounds, [&] { render(generator, single, output); });
        const double keptFloorMs = medianMs(rounds, [&] { plainCopy(textParts, single, output); });
        const double keptDoubledMs = medianMs(rounds, [&] { render(generator, doubled, output); });
        std::printf("freed memory kept: render %.1f ms   floor %.1f ms   render/floor %.2f   doubled/render %.2f\n",
                    keptRenderMs, keptFloorMs, keptRenderMs / keptFloorMs, keptDoubledMs / keptRenderMs);
    }

    const QByteArray doubledDocument = templatePackage(2, "jpeg")[3].content;
    const auto textOnly = [&](const QByteArray& document) {
        QByteArray source = document;
        QByteArray result;
        QBuffer in(&source);
        QBuffer out(&result);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        generator.filtering(in, out);
    };
    const double textMs = medianMs(rounds, [&] { textOnly(singleEntries[3].content); });
    const double textDoubledMs = medianMs(rounds, [&] { textOnly(doubledDocument); });
    std::printf("text     %8.1f ms   (document.xml alone: decoded, every pass, encoded; no zip)\n", textMs);
    std::printf("text x2  %8.1f ms   doubled/single %.2f\n", textDoubledMs, textDoubledMs / textMs);
    const QString original = QString::fromUtf8(singleEntries[3].content);
    const std::pair<const char*, std::function<void(QString&)>> passes[] = {
        {"split tags", [&](QString& t) { generator.prepareText(t); }},
        {"meta tags", [&](QString& t) { generator.replaceMetaTags(t); }},
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
