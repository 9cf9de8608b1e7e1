#ifndef ZENTAVO_TOOL_REMOTETEMPLATES_H
#define ZENTAVO_TOOL_REMOTETEMPLATES_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

class QUrl;

// The templates of a template server's list, fetched once for a whole render: the list,
// every template to render and the server's meta tags (as metatags.txt) go into a
// temporary folder, made by fetch() and removed with this object. The render, and each of its workers, then
// reads that folder like any template folder.
class RemoteTemplates
{
public:
    static bool isUrl(const QString& location);

    // Fetches the .docx, .odt and .txt templates of the list at url, only those named when
    // only is not empty. False, with one line for the user in error, when anything
    // cannot be fetched or kept.
    bool fetch(const QString& url, const QStringList& only, QString& error);
    QString folder() const { return dir ? dir->path() : QString(); }

private:
    bool fetchInto(const QUrl& url, const QString& fileName, qint64 maxBytes, QString& failure);

    std::optional<QTemporaryDir> dir;
};

#endif
