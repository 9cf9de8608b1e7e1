// The template passes over a DOCX part (tags with escaped brackets), then the
// well-formedness check the generator makes before it writes the part.
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "fuzzharness.h"
#include "report/templatetodocx.h"
#include "runtime/xmldefaulthandler.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHarness::ensureApplication();
    static EvaluationTagStorage storage;
    static AutoEvaluation evaluation(storage);
    static bool filled = false;
    if (!filled) {
        storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("17/2026 <w:t> & &lt;#НОМЕР_ДОГОВОРА#&gt;"));
        storage.setTag(QStringLiteral("ОЦЕНЩИК_0"), QStringLiteral("Петров"));
        storage.setTag(QStringLiteral("ОЦЕНЩИК_1"), QStringLiteral("Сидоров"));
        filled = true;
    }
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QByteArray filtered;
    QBuffer out(&filtered);
    out.open(QIODevice::WriteOnly);
    TemplateToDocx generator;
    generator.use(evaluation);
    if (generator.filtering(in, out)) {
        XmlDefaultHandler checker;
        checker.parse(filtered);
    }
    return 0;
}
