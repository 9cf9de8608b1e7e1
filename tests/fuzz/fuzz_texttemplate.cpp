// The template passes over a text template, with an evaluation that answers tags.
#include "fuzzharness.h"
#include "report/templatetotxt.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TemplateToTxt generator;
    generator.use(FuzzHarness::evaluation());
    generator.filtering(in, out);
    return 0;
}
