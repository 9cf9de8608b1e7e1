#include "testenvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QTemporaryDir& temporaryRoot()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zentavo-test-XXXXXX"));
    return dir;
}

void setPath(const char* variable, const QString& path)
{
    QDir().mkpath(path);
    qputenv(variable, QFile::encodeName(path));
}

} // namespace

void TestEnvironment::isolate()
{
    const QString base = temporaryRoot().path();
    setPath("HOME", base);
    setPath("XDG_CONFIG_HOME", base + QStringLiteral("/config"));
    setPath("XDG_DATA_HOME", base + QStringLiteral("/data"));
    setPath("XDG_CACHE_HOME", base + QStringLiteral("/cache"));
    setPath("XDG_RUNTIME_DIR", base + QStringLiteral("/runtime"));
    QFile::setPermissions(base + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
}

QString TestEnvironment::root()
{
    return temporaryRoot().path();
}

// Runs before any test object exists, in every test program that links this library.
static void isolateTestProcess()
{
    TestEnvironment::isolate();
}
Q_CONSTRUCTOR_FUNCTION(isolateTestProcess)
