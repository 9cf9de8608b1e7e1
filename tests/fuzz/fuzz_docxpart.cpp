// The template passes over a DOCX part (tags with escaped brackets), then the
// well-formedness check the generator makes before it writes the part.
#include "fuzzharness.h"
#include "report/templatetodocx.h"
#include "runtime/xmldefaulthandler.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QByteArray filtered;
    QBuffer out(&filtered);
    out.open(QIODevice::WriteOnly);
    TemplateToDocx generator;
    generator.use(FuzzHarness::evaluation());
    if (generator.filtering(in, out)) {
        XmlDefaultHandler checker;
        checker.parse(filtered);
    }
    return 0;
}
