// A meta tag file, then a text template that expands the blocks it may define.
#include "report/metatagcatalog.h"
#include "report/templatetotxt.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer catalog(&bytes);
    TemplateToTxt generator;
    generator.getMetaTagCatalog().load(catalog);
    QByteArray text("<%А%>|<%Б%>|<%В%>|<#А#>");
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    generator.filtering(in, out);
    return 0;
}
