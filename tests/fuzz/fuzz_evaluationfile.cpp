// A whole evaluation file: the zip container, its tag list and its photos.
#include "evaluation/evaluationtagstorage.h"
#include "fuzzharness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHarness::ensureApplication();
    const QString path = FuzzHarness::inputFile(data, size, QStringLiteral("input.zip"));
    if (path.isEmpty())
        return 0;
    EvaluationTagStorage storage;
    storage.load(path);
    return 0;
}
