// The template passes over a text template, with an evaluation that answers tags.
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "fuzzharness.h"
#include "report/templatetotxt.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An appraiser's company carries its logo as a pixmap, which needs the application.
    FuzzHarness::ensureApplication();
    static EvaluationTagStorage storage;
    static AutoEvaluation evaluation(storage);
    static bool filled = false;
    if (!filled) {
        storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("17/2026 <#НОМЕР_ДОГОВОРА#>"));
        storage.setTag(QStringLiteral("ОЦЕНЩИК_0"), QStringLiteral("Петров"));
        storage.setTag(QStringLiteral("ОЦЕНЩИК_1"), QStringLiteral("Сидоров"));
        filled = true;
    }
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TemplateToTxt generator;
    generator.use(evaluation);
    generator.filtering(in, out);
    return 0;
}
