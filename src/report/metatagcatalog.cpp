#include "report/metatagcatalog.h"

#include "runtime/config.h"
#include "runtime/logger.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString& lineBreakName()
{
    static const QString name = QStringLiteral("br");
    return name;
}

} // namespace

const QString MetaTagCatalog::FolderFileName = QStringLiteral("metatags.txt");

MetaTagCatalog::MetaTagCatalog(QObject* parent) : QObject(parent)
{
    clear();
    connect(&download, &Download::progress, this, &MetaTagCatalog::downloadProgress);
    connect(&download, &Download::finished, this, &MetaTagCatalog::fileDownloaded);
}

void MetaTagCatalog::clear()
{
    percent = 100;
    tags.clear();
    tags.insert(lineBreakName(), QLatin1String(""));
    catalogLoaded = false;
}

bool MetaTagCatalog::isLoading() const
{
    return percent <= 99;
}

bool MetaTagCatalog::isLoaded() const
{
    return catalogLoaded;
}

bool MetaTagCatalog::getTag(const QString& name, QString& text) const
{
    const auto found = tags.constFind(name);
    if (found == tags.constEnd()) {
        text = QString();
        return false;
    }
    text = *found;
    return true;
}

void MetaTagCatalog::start_loading(templatesourcetype_t type)
{
    LOG_TRACE() << "type=" << type;
    if (catalogLoaded || type != TEMPLATE_SOURCE_NETWORK) {
        emit loaded();
        return;
    }
    load_from_network();
}

void MetaTagCatalog::load_from_network()
{
    LOG_TRACE() << "Start";
    percent = 0;
    download.start(Config::getInstance()->getMetaTagUrl(), Download::MakerServer);
}

void MetaTagCatalog::load(QIODevice& device)
{
    if (!device.isOpen() && !device.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "cannot read the meta tags:" << device.errorString();
        emit failed(tr("Unable to read the meta tags: %1").arg(device.errorString()));
        return;
    }
    QByteArray line(MAX_LINE_BYTES + 1, Qt::Uninitialized);
    QString name;
    QString text;
    qint64 total = 0;
    while (!device.atEnd()) {
        const qint64 length = device.readLine(line.data(), line.size());
        if (length < 0)
            break;
        total += length;
        if (total > MAX_FILE_BYTES) {
            refuseTooLarge();
            return;
        }
        const QString decoded = QString::fromUtf8(line.constData(), length);
        if (decoded.startsWith(QLatin1Char(';')) || !parseLine(decoded, name, text))
            continue;
        tags.insert(name, text);
    }
    LOG_TRACE() << "meta tags=" << tags.size();
    catalogLoaded = true;
    emit loaded();
}

void MetaTagCatalog::load_from_disk(const QString& path)
{
    percent = 100;
    QFile file(path);
    load(file);
}

void MetaTagCatalog::refuseTooLarge()
{
    LOG_WARNING() << "meta tags refused: more than" << MAX_FILE_BYTES << "bytes";
    clear();
    emit failed(tr("the meta tags are larger than %1 MiB").arg(MAX_FILE_BYTES / (1024 * 1024)));
}

bool MetaTagCatalog::parseLine(const QString& line, QString& name, QString& text)
{
    static const QRegularExpression definition(
        QStringLiteral("^<%([^=%>]+)%>\\s*=\\s*((?:\\S.*\\S)|(?:\\S)|)[\\s\\n\\r]*$"),
        QRegularExpression::UseUnicodePropertiesOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = definition.match(line);
    if (!match.hasMatch())
        return false;
    name = match.captured(1);
    text = match.captured(2);
    if (text.isNull())
        text = QLatin1String("");
    return true;
}

void MetaTagCatalog::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (Download::advance(percent, bytesReceived, bytesTotal))
        emit progress(percent);
}

void MetaTagCatalog::fileDownloaded(bool ok, const QByteArray& body, const QString& failure)
{
    LOG_TRACE() << "Finished";
    percent = 100;
    if (!ok) {
        emit failed(failure);
        return;
    }
    QBuffer buffer;
    buffer.setData(body);
    load(buffer);
}
