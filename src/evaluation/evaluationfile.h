#ifndef ZENTAVO_EVALUATIONFILE_H
#define ZENTAVO_EVALUATIONFILE_H

#include "zentavo_export.h"

#include "evaluation/storedentry.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QuaZip;
class QuaZipFile;

// The zip container an evaluation lives in on disk, in the order it is written:
// "version.txt", "tag_list.txt" with one "NAME=value" line per tag, the photos as
// "photo/photoN.jpg", then the entries of other kinds the file held, as it held them.
// Every entry written carries the moment the save began.
class ZENTAVO_EXPORT EvaluationFile
{
    Q_DECLARE_TR_FUNCTIONS(EvaluationFile)

public:
    // Where the entries of a container go while it is read, in the container's order.
    // Each answers false for a damaged entry, which refuses the whole file.
    struct Readers
    {
        std::function<bool(QuaZipFile& file)> tagList;
        std::function<bool(const QString& entryName, QuaZipFile& file)> photo;
    };

    explicit EvaluationFile(const QString& path);
    ~EvaluationFile();
    Q_DISABLE_COPY(EvaluationFile)

    // False, and logged, when the file is no zip container.
    bool openForReading();
    // Hands the tag list and the photos to the readers and keeps every other entry but
    // the version in others. False when an entry or the directory is damaged, or the
    // container has no tag list: it is then no evaluation.
    bool readEntries(const Readers& readers, QList<StoredEntry>& others);

    // Writes beside the target first and replaces it only when every byte is on the disk,
    // so a failed write leaves the previous file as it was; false with the reason, which
    // names the file. The user's own link to an evaluation kept elsewhere is followed.
    static bool write(const QString& path, const QByteArray& tagList, const QList<StoredEntry>& photos,
                      const QList<StoredEntry>& others, QString& failure);
    // What writers that write into an open zip entry (the sections, the host's
    // approaches) write, caught in an entry of a scratch container in memory.
    static bool linesWrittenBy(const std::function<void(QuaZipFile& entry)>& writers, QByteArray& lines);
    // Closing an entry read to its end checks its checksum; false, logged, when it fails.
    static bool closeCheckingChecksum(QuaZipFile& file);
    // The reason of a save whose container could not be completed, naming the file.
    static QString notCompleted(const QString& path);

    static const QString TagListEntry;
    // Any entry whose name holds this text is a photo, wherever it stands in the name.
    static const QString PhotoPrefix;

private:
    static bool writeContainer(QuaZip& zip, const QByteArray& tagList, const QList<StoredEntry>& photos,
                               const QList<StoredEntry>& others);

    QString path;
    std::unique_ptr<QuaZip> zip;
};

#endif
