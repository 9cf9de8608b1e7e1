#include "report/templateslist.h"

#include "report/metatagcatalog.h"
#include "report/templatelistxmlhandler.h"
#include "runtime/logger.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The extension is searched anywhere after the first character and only in these two
// spellings, so "report.docx.bak" counts as DOCX while "report.Docx" counts as nothing.
QRegularExpression extensionPattern(const char* lower, const char* upper)
{
    return QRegularExpression(QStringLiteral(".+(:?\\.%1)|(:?\\.%2)$").arg(QLatin1String(lower), QLatin1String(upper)),
                              QRegularExpression::UseUnicodePropertiesOption
                                  | QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

TemplatesList::TemplatesList(QObject* parent) : QObject(parent)
{
    connect(&download, &Download::progress, this, &TemplatesList::downloadProgress);
    connect(&download, &Download::finished, this, &TemplatesList::listDownloaded);
}

TemplatesList::~TemplatesList() = default;

void TemplatesList::setTemplateSourceType(templatesourcetype_t type)
{
    sourceType = type;
}

void TemplatesList::setBaseDir(const QString& dir)
{
    baseDir = dir;
}

bool TemplatesList::load(const QString& location)
{
    templatesourcetype_t type = sourceType;
    if (type == TEMPLATE_SOURCE_FROM_PATH)
        type = sourceTypeOfLocation(location);
    LOG_TRACE() << "load=" << location << "sourcetype=" << type;
    if (type == TEMPLATE_SOURCE_DISK)
        return load_from_disk(location);
    if (type == TEMPLATE_SOURCE_NETWORK)
        return load_from_network(location);
    return false;
}

bool TemplatesList::load_from_disk(const QString& dir)
{
    percent = 0;
    errorString.clear();
    baseDir = dir;
    const QStringList names = QDir(dir).entryList(
        {QStringLiteral("*.txt"), QStringLiteral("*.odt"), QStringLiteral("*.docx")});
    entries.clear();
    for (const QString& name : names)
        if (name != MetaTagCatalog::FolderFileName) // the folder's meta tags, no template
            entries.append(direntry_t{name, true});
    percent = 100;
    sortEntries();
    emit done();
    return true;
}

bool TemplatesList::load_from_network(const QString& url)
{
    percent = 0;
    download.start(QUrl(url), Download::MakerServer);
    return true;
}

int TemplatesList::count() const
{
    return int(entries.size());
}

bool TemplatesList::get(int i, QString& name) const
{
    name = inRange(i) ? entries.at(i).name : QString();
    return true;
}

bool TemplatesList::getFullName(int i, QString& out) const
{
    QString name;
    get(i, name);
    const bool network = sourceTypeOfLocation(baseDir) == TEMPLATE_SOURCE_NETWORK;
    const QChar separator = network ? QLatin1Char('/') : QDir::separator();
    out = baseDir + separator + name;
    return true;
}

int TemplatesList::getType(int i) const
{
    static const QRegularExpression docx = extensionPattern("docx", "DOCX");
    static const QRegularExpression txt = extensionPattern("txt", "TXT");
    static const QRegularExpression odt = extensionPattern("odt", "ODT");
    QString name;
    get(i, name);
    if (docx.match(name).hasMatch())
        return TYPE_DOCX;
    if (txt.match(name).hasMatch())
        return TYPE_TXT;
    if (odt.match(name).hasMatch())
        return TYPE_ODT;
    return TYPE_NONE;
}

bool TemplatesList::isSelected(int i) const
{
    return inRange(i) && entries.at(i).selected;
}

void TemplatesList::select(int i, bool on)
{
    if (inRange(i))
        entries[i].selected = on;
}

void TemplatesList::selectAll()
{
    for (direntry_t& entry : entries)
        entry.selected = true;
}

void TemplatesList::unselectAll()
{
    for (direntry_t& entry : entries)
        entry.selected = false;
}

void TemplatesList::append(const QString& name)
{
    entries.append(direntry_t{name, true});
}

bool TemplatesList::lessThen(const direntry_t& a, const direntry_t& b)
{
    return a.name < b.name;
}

void TemplatesList::sortEntries()
{
    std::stable_sort(entries.begin(), entries.end(), &TemplatesList::lessThen);
}

void TemplatesList::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (Download::advance(percent, bytesReceived, bytesTotal))
        emit progress(percent);
}

void TemplatesList::listDownloaded(bool ok, const QByteArray& body, const QString& failure)
{
    percent = 100;
    errorString = failure;
    if (ok) {
        entries.clear();
        TemplateListXmlHandler handler(this);
        if (!handler.parse(body))
            LOG_WARNING() << "The templates list is not read whole:" << handler.errorString();
        sortEntries();
    }
    emit done();
}
