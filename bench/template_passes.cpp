// The tag passes and the template check on texts that grow: each case is run at sizes
// that double, and a linear cost about doubles with them. Cases:
//   tags on one line        "<#VIN#> " repeated on one line of a text template
//   condition pairs         "<?VIN?>a<?/VIN?>" repeated
//   unclosed conditions     "<?VIN?>a " repeated, never closed
//   DOCX paragraph          one paragraph of a DOCX part holding the tags, each in a run
//                           of its own and split by a spelling mark (joined first)
//   DOCX unclosed tags      the same with tags that are never closed
// For each size: "passes" is the text through every pass (TemplateToTxt or TemplateToDocx
// filtering, UTF-8 in and out), "check" is TemplateChecker on the same text; in
// milliseconds of this thread's CPU time, the median of the rounds, and the ratio to the
// size before.
//   bench_template_passes [rounds [case]]   (only the cases whose name starts with case)

#include "benchtiming.h"

#include "report/templatechecker.h"
#include "report/templatetodocx.h"
#include "report/templatetotxt.h"

#include <QBuffer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Case
{
    const char* name;
    bool docx;
    QList<int> sizes;
    std::function<QString(int)> text;
};

QString docxParagraph(int tags, const char* tagEnd)
{
    const QString run = QStringLiteral("<w:r><w:t>&lt;#V</w:t></w:r><w:proofErr w:type=\"spellStart\"/>"
                                       "<w:r><w:t>IN%1 </w:t></w:r>")
                            .arg(QLatin1String(tagEnd));
    return QStringLiteral("<w:document xmlns:w=\"w\"><w:body><w:p>") + run.repeated(tags)
        + QStringLiteral("</w:p></w:body></w:document>");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    const Case cases[] = {
        {"tags on one line", false, {10000, 20000, 40000},
         [](int n) { return QStringLiteral("<#VIN#> ").repeated(n) + QLatin1Char('\n'); }},
        {"condition pairs", false, {8000, 16000, 32000},
         [](int n) { return QStringLiteral("<?VIN?>a<?/VIN?>").repeated(n) + QLatin1Char('\n'); }},
        {"unclosed conditions", false, {25000, 50000, 100000},
         [](int n) { return QStringLiteral("<?VIN?>a ").repeated(n) + QLatin1Char('\n'); }},
        {"DOCX paragraph", true, {10000, 20000, 40000}, [](int n) { return docxParagraph(n, "#&gt;"); }},
        {"DOCX unclosed tags", true, {10000, 20000, 40000}, [](int n) { return docxParagraph(n, ""); }},
    };
    TemplateToTxt text;
    TemplateToDocx docx;
    std::printf("%-20s %7s %10s %6s %10s %6s\n", "case", "size", "passes ms", "x", "check ms", "x");
    for (const Case& bench : cases) {
        if (!QString::fromLatin1(bench.name).startsWith(only))
            continue;
        double previousPasses = 0;
        double previousCheck = 0;
        for (const int size : bench.sizes) {
            const QByteArray input = bench.text(size).toUtf8();
            TemplateToDocument& generator = bench.docx ? static_cast<TemplateToDocument&>(docx) : text;
            const double passes = medianMs(rounds, [&] {
                QByteArray source = input;
                QByteArray result;
                QBuffer in(&source);
                QBuffer out(&result);
                in.open(QIODevice::ReadOnly);
                out.open(QIODevice::WriteOnly);
                generator.filtering(in, out);
            });
            const QString decoded = QString::fromUtf8(input);
            const double check = medianMs(rounds, [&] {
                TemplateChecker checker;
                checker.checkText(QStringLiteral("bench"), decoded, bench.docx);
            });
            std::printf("%-20s %7d %10.1f %6.2f %10.1f %6.2f\n", bench.name, size, passes,
                        previousPasses > 0 ? passes / previousPasses : 0.0, check,
                        previousCheck > 0 ? check / previousCheck : 0.0);
            std::fflush(stdout);
            previousPasses = passes;
            previousCheck = check;
        }
    }
    return 0;
}
