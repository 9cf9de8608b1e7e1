#ifndef ZENTAVO_STOREDTAGS_H
#define ZENTAVO_STOREDTAGS_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

class QIODevice;

// The tags of one evaluation, name to text, ordered by name. It remembers which tags came
// from the evaluation file and were never asked for since: tags of a later version, or of
// data no section of this one holds. A save writes those back as the file had them, so
// an evaluation that passes through this version loses nothing it did not understand.
class ZENTAVO_EXPORT StoredTags
{
public:
    // A null string for an absent tag. Asking marks a tag of the file as understood.
    QString value(const QString& name) const;
    void insert(const QString& name, const QString& value);
    void clear();
    qsizetype size() const { return tags.size(); }
    // Moves with every insert, read line and clear.
    quint64 revision() const { return changes; }
    QMap<QString, QString> toMap() const;
    // The names that begin with prefix, in name order.
    QStringList namesStartingWith(const QString& prefix) const;

    // Tag lines of an evaluation file. False, after reading at most limit bytes, when the
    // device holds more.
    bool readFileLines(QIODevice& device, qint64 limit);
    // Tag lines typed by a person or handed over by a host: plain inserts.
    bool readLines(QIODevice& device, qint64 limit);
    // The file's tags that nobody asked for, that are not among the written names and that
    // no section owns, as the file had them (or with the value a host gave them since),
    // then the file's lines that were no tag lines at all.
    bool writeUnderstoodByNone(QIODevice& out, const QSet<QString>& written,
                               bool (*ownedBySection)(const QString&)) const;

    // The names of the tag lines in a text.
    static QSet<QString> namesIn(const QByteArray& lines);

private:
    struct Tag
    {
        QString text;
        // False for a tag of the file that nobody has asked for yet.
        mutable bool asked = true;
    };

    bool readInto(QIODevice& device, qint64 limit, bool fromFile);
    void keepFileLine(const QString& name, const QString& value, const QByteArray& raw);

    QMap<QString, Tag> tags;
    // A file's lines that would not come back the same when written anew (other spacing,
    // escapes this version does not make), by tag name.
    QHash<QString, QByteArray> fileLines;
    QList<QByteArray> strayLines;
    quint64 changes = 0;
};

#endif
