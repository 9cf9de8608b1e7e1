// A whole evaluation file: the zip container, its tag list and its photos.
#include "evaluation/evaluationtagstorage.h"
#include "fuzzapplication.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication::ensure();
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input.zip"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    EvaluationTagStorage storage;
    storage.load(path);
    return 0;
}
