// Tag list lines as an evaluation file or an import holds them.
#include "evaluation/evaluationtagstorage.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    EvaluationTagStorage storage;
    storage.readTagLines(device);
    return 0;
}
