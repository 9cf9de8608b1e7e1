#include "remotetemplates.h"

#include "interruption.h"
#include "toolconsole.h"

#include "report/metatagcatalog.h"
#include "report/templateslist.h"
#include "runtime/config.h"
#include "runtime/download.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace {

const QString metaTagFileName = QStringLiteral("metatags.txt");

// A name the server gives must stay a file of the folder: no path, no "..".
bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool isRenderable(const TemplatesList& list, int i)
{
    QString name;
    list.get(i, name);
    const int type = list.getType(i);
    return type != TemplatesList::TYPE_NONE && name != metaTagFileName;
}

bool loadList(const QString& url, TemplatesList& list, QString& error)
{
    QEventLoop loop;
    QObject::connect(&list, &TemplatesList::done, &loop, &QEventLoop::quit);
    QObject::connect(&Interruption::instance(), &Interruption::interrupted, &loop, &QEventLoop::quit);
    list.load_from_network(url);
    if (!Interruption::happened())
        loop.exec();
    if (Interruption::happened())
        error = ToolConsole::tr("interrupted");
    else if (!list.getErrorString().isEmpty())
        error = ToolConsole::tr("the template list %1 cannot be fetched: %2").arg(url, list.getErrorString());
    return error.isEmpty();
}

// The entries to fetch: the renderable ones, or those named by only.
QList<int> chosen(const TemplatesList& list, const QString& url, const QStringList& only, QString& error)
{
    QList<int> entries;
    QString name;
    for (int i = 0; i < list.count(); ++i)
        if (isRenderable(list, i) && list.get(i, name) && (only.isEmpty() || only.contains(name)))
            entries.append(i);
    for (const QString& wanted : only) {
        const bool listed = std::any_of(entries.begin(), entries.end(), [&](int i) { return list.get(i, name) && name == wanted; });
        if (!listed) {
            error = ToolConsole::tr("no template \"%1\" in %2").arg(wanted, url);
            return {};
        }
    }
    if (entries.isEmpty())
        error = ToolConsole::tr("no .docx, .odt or .txt templates in %1").arg(url);
    return entries;
}

} // namespace

bool RemoteTemplates::isUrl(const QString& location)
{
    return location.startsWith(QLatin1String("http://")) || location.startsWith(QLatin1String("https://"));
}

bool RemoteTemplates::fetch(const QString& url, const QStringList& only, QString& error)
{
    dir.emplace();
    if (!dir->isValid()) {
        error = ToolConsole::tr("no temporary folder for the templates: %1").arg(dir->errorString());
        return false;
    }
    TemplatesList list;
    if (!loadList(url, list, error))
        return false;
    const QList<int> entries = chosen(list, url, only, error);
    if (entries.isEmpty())
        return false;
    QString failure;
    if (!fetchInto(Config::getInstance()->getMetaTagUrl(), metaTagFileName, MetaTagCatalog::MAX_FILE_BYTES, failure)) {
        error = ToolConsole::tr("the meta tags cannot be fetched: %1").arg(failure);
        return false;
    }
    for (int i : entries) {
        QString name, location;
        list.get(i, name);
        list.getFullName(i, location);
        if (!isPlainFileName(name)) {
            error = ToolConsole::tr("the template list %1 names \"%2\", which is not a file name").arg(url, name);
            return false;
        }
        if (!fetchInto(QUrl(location), name, Download::MAX_BYTES, failure)) {
            error = ToolConsole::tr("the template %1 cannot be fetched: %2").arg(name, failure);
            return false;
        }
    }
    return true;
}

bool RemoteTemplates::fetchInto(const QUrl& url, const QString& fileName, qint64 maxBytes, QString& failure)
{
    Download download(nullptr, maxBytes);
    QEventLoop loop;
    bool ok = false;
    QByteArray body;
    QObject::connect(&download, &Download::finished, &loop,
                     [&](bool downloaded, const QByteArray& content, const QString& reason) {
                         ok = downloaded;
                         body = content;
                         failure = reason;
                         loop.quit();
                     });
    QObject::connect(&Interruption::instance(), &Interruption::interrupted, &loop, &QEventLoop::quit);
    download.start(url, Download::MakerServer);
    if (!Interruption::happened())
        loop.exec();
    if (Interruption::happened())
        failure = ToolConsole::tr("interrupted");
    if (!ok || Interruption::happened())
        return false;
    QFile file(QFileInfo(dir->path(), fileName).filePath());
    if (file.open(QIODevice::WriteOnly) && file.write(body) == body.size() && file.flush())
        return true;
    failure = ToolConsole::tr("cannot keep it in %1: %2").arg(dir->path(), file.errorString());
    return false;
}
