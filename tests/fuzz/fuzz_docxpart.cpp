// The template passes over a DOCX part (tags with escaped brackets), then the
// well-formedness check the generator makes before it writes the part: whatever its
// quick scan is sure of, the full parser must accept.
#include "fuzzharness.h"
#include "report/templatetodocx.h"
#include "runtime/xmldefaulthandler.h"
#include "runtime/xmlwellformedness.h"

#include <QBuffer>

#include <cstdlib>

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
        const bool accepted = checker.parse(filtered);
        if (XmlWellFormedness::scan(filtered) == XmlWellFormedness::Scan::WellFormed && !accepted)
            abort();
    }
    return 0;
}
