#include "evaluation/evaluationfile.h"

#include "evaluation/photostore.h"
#include "runtime/atomicfilewriter.h"
#include "runtime/logger.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

const QString EvaluationFile::TagListEntry = QStringLiteral("tag_list.txt");
const QString EvaluationFile::PhotoPrefix = QStringLiteral("photo/photo");

namespace {

const QString VersionEntry = QStringLiteral("version.txt");

QString photoEntry(int index)
{
    return EvaluationFile::PhotoPrefix + QString::number(index + 1) + QStringLiteral(".jpg");
}

bool openEntryForWriting(QuaZipFile& file, const QString& name, const QDateTime& time, int method = Z_DEFLATED)
{
    QuaZipNewInfo info(name);
    info.dateTime = time;
    const int level = method == Z_DEFLATED ? Z_DEFAULT_COMPRESSION : 0;
    return file.open(QIODevice::WriteOnly, info, nullptr, 0, method, level);
}

bool closeEntry(QuaZipFile& file)
{
    file.close();
    return file.getZipError() == ZIP_OK;
}

bool writeEntry(QuaZipFile& file, const QString& name, const QDateTime& time, const QByteArray& bytes)
{
    return openEntryForWriting(file, name, time) && file.write(bytes) == bytes.size() && closeEntry(file);
}

} // namespace

EvaluationFile::EvaluationFile(const QString& path) : path(path), zip(std::make_unique<QuaZip>(path)) {}

EvaluationFile::~EvaluationFile() = default;

bool EvaluationFile::openForReading()
{
    if (zip->open(QuaZip::mdUnzip))
        return true;
    LOG_WARNING() << "cannot open" << QFileInfo(path).fileName() << "as an evaluation, zip error" << zip->getZipError();
    return false;
}

bool EvaluationFile::readEntries(const Readers& readers, QList<StoredEntry>& others)
{
    LOG_TRACE() << "photo dir:" << PhotoPrefix;
    QuaZipFile file(zip.get());
    bool tagListRead = false;
    bool intact = true;
    for (bool more = zip->goToFirstFile(); more && intact; more = zip->goToNextFile()) {
        const QString name = zip->getCurrentFileName();
        LOG_TRACE() << "zip:" << name;
        if (name == TagListEntry) {
            intact = tagListRead = readers.tagList(file);
        } else if (name.contains(PhotoPrefix)) {
            intact = readers.photo(name, file);
        } else if (name != VersionEntry) {
            LOG_TRACE() << "kept as it is:" << name;
            StoredEntry entry;
            intact = StoredEntry::readCurrent(file, PhotoStore::MaxEntrySize, entry) != StoredEntry::Read::Damaged;
            if (intact)
                others.append(entry);
        }
    }
    const int error = zip->getZipError();
    zip->close();
    if (!intact)
        return false;
    if (error != UNZ_OK) {
        LOG_WARNING() << "damaged directory, zip error" << error;
        return false;
    }
    if (!tagListRead)
        LOG_WARNING() << "no" << TagListEntry << "in the container: not an evaluation";
    return tagListRead;
}

bool EvaluationFile::closeCheckingChecksum(QuaZipFile& file)
{
    file.close();
    const int error = file.getZipError();
    if (error == UNZ_OK)
        return true;
    LOG_WARNING() << "damaged entry" << file.getZip()->getCurrentFileName() << "zip error" << error;
    return false;
}

QString EvaluationFile::notCompleted(const QString& path)
{
    return tr("%1 cannot be written: the container could not be completed").arg(QDir::toNativeSeparators(path));
}

bool EvaluationFile::write(const QString& path, const QByteArray& tagList, const QList<StoredEntry>& photos,
                           const QList<StoredEntry>& others, QString& failure)
{
    AtomicFileWriter target(path, AtomicFileWriter::Links::Follow);
    if (!target.open()) {
        failure = target.errorString();
        return false;
    }
    QuaZip zip(&target.device());
    zip.setAutoClose(false); // the writer finishes the file, after checking it
    if (!zip.open(QuaZip::mdCreate)) {
        target.cancel();
        LOG_WARNING() << "evaluation container not started, zip error" << zip.getZipError();
        failure = tr("%1 cannot be written: the container cannot be started (zip error %2)")
                      .arg(QDir::toNativeSeparators(path))
                      .arg(zip.getZipError());
        return false;
    }
    bool written = writeContainer(zip, tagList, photos, others);
    zip.close();
    written = written && zip.getZipError() == ZIP_OK;
    if (!written) {
        // A write the disk refused says why; otherwise the container itself went wrong.
        const QString reason = target.reason();
        target.cancel();
        failure = reason.isEmpty() ? notCompleted(path) : QDir::toNativeSeparators(path) + QLatin1Char(' ') + reason;
        return false;
    }
    if (target.commit())
        return true;
    failure = target.errorString();
    return false;
}

bool EvaluationFile::writeContainer(QuaZip& zip, const QByteArray& tagList, const QList<StoredEntry>& photos,
                                    const QList<StoredEntry>& others)
{
    const QDateTime started = QDateTime::currentDateTime();
    QuaZipFile file(&zip);
    if (!writeEntry(file, VersionEntry, started, "VERSION=1.1\nEDITION=AUTO\n")
        || !writeEntry(file, TagListEntry, started, tagList))
        return false;
    for (int i = 0; i < photos.size(); ++i) {
        if (!photos.at(i).writeAs(file, photoEntry(i), started))
            return false;
    }
    for (const StoredEntry& entry : others) {
        if (!entry.writeAsRead(file))
            return false;
    }
    return true;
}

bool EvaluationFile::linesWrittenBy(const std::function<void(QuaZipFile&)>& writers, QByteArray& lines)
{
    QBuffer scratch;
    QuaZip writing(&scratch);
    QuaZipFile entry(&writing);
    if (!writing.open(QuaZip::mdCreate) || !openEntryForWriting(entry, TagListEntry, QDateTime(), 0))
        return false;
    writers(entry);
    const bool written = closeEntry(entry);
    writing.close();
    if (!written || writing.getZipError() != ZIP_OK)
        return false;
    QuaZip reading(&scratch);
    QuaZipFile back(&reading);
    if (!reading.open(QuaZip::mdUnzip) || !reading.goToFirstFile() || !back.open(QIODevice::ReadOnly))
        return false;
    lines = back.readAll();
    back.close();
    return back.getZipError() == UNZ_OK;
}
