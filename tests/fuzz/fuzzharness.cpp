#include "fuzzharness.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

void FuzzHarness::ensureApplication()
{
    static int argc = 1;
    static char name[] = "zentavo-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

QString FuzzHarness::inputFile(const uint8_t* data, size_t size, const QString& name)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        return {};
    return path;
}
