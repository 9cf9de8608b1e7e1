#include "evaluation/storedtags.h"

#include "evaluation/evaluationtagstorage.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QIODevice>
#include <QStringList>

QString StoredTags::value(const QString& name) const
{
    const auto found = tags.constFind(name);
    if (found == tags.constEnd())
        return QString();
    found->asked = true;
    return found->text;
}

void StoredTags::insert(const QString& name, const QString& value)
{
    ++changes;
    const auto found = tags.find(name);
    if (found == tags.end()) {
        tags.insert(name, Tag{value, true});
        return;
    }
    // A tag of the file that a host changes is written with its new value.
    if (found->text != value)
        fileLines.remove(name);
    found->text = value;
}

QMap<QString, QString> StoredTags::toMap() const
{
    QMap<QString, QString> map;
    for (auto tag = tags.constBegin(); tag != tags.constEnd(); ++tag)
        map.insert(tag.key(), tag->text);
    return map;
}

QStringList StoredTags::namesStartingWith(const QString& prefix) const
{
    QStringList names;
    for (auto tag = tags.lowerBound(prefix); tag != tags.constEnd() && tag.key().startsWith(prefix); ++tag)
        names.append(tag.key());
    return names;
}

void StoredTags::clear()
{
    ++changes;
    tags.clear();
    fileLines.clear();
    strayLines.clear();
}

bool StoredTags::readFileLines(QIODevice& device, qint64 limit)
{
    return readInto(device, limit, true);
}

bool StoredTags::readLines(QIODevice& device, qint64 limit)
{
    return readInto(device, limit, false);
}

bool StoredTags::readInto(QIODevice& device, qint64 limit, bool fromFile)
{
    QStringList parts;
    qint64 budget = limit;
    while (!device.atEnd()) {
        const QByteArray raw = BoundedRead::lineAtMost(device, budget);
        if (raw.isEmpty())
            break; // a read error: the caller's checksum test tells a damaged entry
        if (raw.size() > budget)
            return false;
        budget -= raw.size();
        if (EvaluationTagStorage::parseLine(QString::fromUtf8(raw), parts).isEmpty()) {
            LOG_TRACE() << "skipped line of length" << raw.size();
            if (fromFile && !raw.trimmed().isEmpty())
                strayLines.append(raw);
            continue;
        }
        QString value = parts.at(2);
        LOG_TRACE() << "tag=" << parts.at(1) << "length" << value.size();
        TagUtils::unescapeTagValue(value);
        if (fromFile) {
            keepFileLine(parts.at(1), value, raw);
        } else {
            insert(parts.at(1), value);
        }
    }
    return true;
}

void StoredTags::keepFileLine(const QString& name, const QString& value, const QByteArray& raw)
{
    ++changes;
    tags.insert(name, Tag{value, false});
    QByteArray line;
    QString text = value;
    if (TagUtils::mkTagLine(name, text, line) == raw)
        fileLines.remove(name);
    else
        fileLines.insert(name, raw.endsWith('\n') ? raw : raw + '\n');
}

bool StoredTags::writeUnderstoodByNone(QIODevice& out, const QSet<QString>& written,
                                       bool (*ownedBySection)(const QString&)) const
{
    QByteArray lines;
    for (auto tag = tags.constBegin(); tag != tags.constEnd(); ++tag) {
        if (tag->asked || written.contains(tag.key()) || ownedBySection(tag.key()))
            continue;
        const auto asRead = fileLines.constFind(tag.key());
        if (asRead != fileLines.constEnd()) {
            lines += *asRead;
        } else {
            QByteArray line;
            QString text = tag->text;
            lines += TagUtils::mkTagLine(tag.key(), text, line);
        }
    }
    for (const QByteArray& stray : strayLines)
        lines += stray.endsWith('\n') ? stray : stray + '\n';
    return out.write(lines) == lines.size();
}

QSet<QString> StoredTags::namesIn(const QByteArray& lines)
{
    QSet<QString> names;
    for (qsizetype start = 0; start < lines.size();) {
        qsizetype end = lines.indexOf('\n', start);
        if (end < 0)
            end = lines.size();
        const qsizetype equals = lines.indexOf('=', start);
        if (equals > start && equals < end)
            names.insert(QString::fromUtf8(lines.constData() + start, equals - start));
        start = end + 1;
    }
    return names;
}
