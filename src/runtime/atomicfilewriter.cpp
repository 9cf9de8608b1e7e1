#include "runtime/atomicfilewriter.h"

#include "runtime/logger.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The new file, remembering the first write that did not go through whole: a zip
// library may go on writing after a short write, but the file is lost all the same.
class CheckedTemporaryFile : public QTemporaryFile
{
public:
    using QTemporaryFile::QTemporaryFile;

    bool openUnbuffered() { return QTemporaryFile::open(QIODevice::ReadWrite | QIODevice::Unbuffered); }
    bool writeFailed() const { return failed; }
    const QString& failure() const { return reason; }

protected:
    qint64 writeData(const char* data, qint64 length) override
    {
        const qint64 written = QTemporaryFile::writeData(data, length);
        const int code = errno;
        if (written != length && !failed) {
            failed = true;
            // A short write sets no error on the device; errno holds why the rest failed.
            reason = written < 0 ? errorString() : qt_error_string(code);
        }
        return written;
    }

private:
    bool failed = false;
    QString reason;
};

CheckedTemporaryFile& checked(QTemporaryFile& file)
{
    return static_cast<CheckedTemporaryFile&>(file);
}

const char* const notWritten = QT_TRANSLATE_NOOP("AtomicFileWriter", "cannot be written");

// What a new file of this process gets: read and write for all, less the umask.
QFileDevice::Permissions defaultPermissions()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = 0666 & ~mask;
    QFileDevice::Permissions permissions;
    if (mode & S_IRUSR)
        permissions |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & S_IWUSR)
        permissions |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & S_IRGRP)
        permissions |= QFileDevice::ReadGroup;
    if (mode & S_IWGRP)
        permissions |= QFileDevice::WriteGroup;
    if (mode & S_IROTH)
        permissions |= QFileDevice::ReadOther;
    if (mode & S_IWOTH)
        permissions |= QFileDevice::WriteOther;
    return permissions;
}

QString errnoText(int code)
{
    return qt_error_string(code);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString& path, Links links) : requested(path), target(path), links(links) {}

AtomicFileWriter::~AtomicFileWriter()
{
    cancel();
}

bool AtomicFileWriter::resolveTarget()
{
    QFileInfo info(requested);
    if (info.isSymLink() && links == Links::Refuse)
        return refuse(QT_TR_NOOP("a symbolic link stands in its place; it is not followed"));
    // A chain of links ends at the file to replace, which need not exist yet.
    for (int hops = 0; info.isSymLink(); ++hops) {
        if (hops == 32)
            return refuse(QT_TR_NOOP("too many symbolic links"));
        info.setFile(info.symLinkTarget());
    }
    if (info.exists() && !info.isFile())
        return refuse(QT_TR_NOOP("it is not a regular file"));
    target = info.filePath();
    return true;
}

bool AtomicFileWriter::open()
{
    cancel();
    error.clear();
    failure.clear();
    if (!resolveTarget())
        return false;
    const QFileInfo info(target);
    auto file = std::make_unique<CheckedTemporaryFile>(target + QStringLiteral(".part-XXXXXX"));
    if (!file->openUnbuffered())
        return fail(QT_TR_NOOP("cannot create a file beside it"), file->errorString());
    file->setPermissions(info.exists() ? info.permissions() : defaultPermissions());
    partial = std::move(file);
    holdPartial();
    return true;
}

QIODevice& AtomicFileWriter::device()
{
    Q_ASSERT(partial);
    return *partial;
}

bool AtomicFileWriter::write(const QByteArray& bytes)
{
    return partial && partial->write(bytes) == bytes.size();
}

bool AtomicFileWriter::commit()
{
    if (!partial)
        return error.isEmpty() ? fail(QT_TR_NOOP("not written"), QStringLiteral("no file was open")) : false;
    CheckedTemporaryFile& file = checked(*partial);
    if (file.writeFailed()) {
        const QString reason = file.failure();
        cancel();
        return fail(notWritten, reason);
    }
    // The data must be on the disk before the name points at it: a crash after the
    // rename must find the new file whole.
    if (!file.flush() || ::fsync(file.handle()) != 0) {
        const QString reason = errnoText(errno);
        cancel();
        return fail(notWritten, reason);
    }
    const QString partialName = file.fileName();
    file.close();
    if (file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        cancel();
        return fail(notWritten, reason);
    }
    // rename() replaces whatever is at the name, a link included, without following it.
    if (std::rename(QFile::encodeName(partialName).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString reason = errnoText(errno);
        cancel();
        return fail(QT_TR_NOOP("cannot be put in place"), reason);
    }
    file.setAutoRemove(false);
    partial.reset();
    releasePartial();
    syncFolder();
    return true;
}

QString AtomicFileWriter::reason() const
{
    if (partial && checked(*partial).writeFailed())
        return tr(notWritten) + QStringLiteral(": ") + checked(*partial).failure();
    return failure;
}

void AtomicFileWriter::cancel()
{
    if (!partial)
        return;
    partial->close();
    partial->remove();
    partial.reset();
    releasePartial();
}

// The lock is held through a second descriptor of the same open file, so that it lasts
// through the close before the rename: until the file is in place it is known to be in
// use. (Asking the new file for its name would give it one early: on file systems that
// can, it stays unnamed, and invisible to others, until commit().)
void AtomicFileWriter::holdPartial()
{
    lockDescriptor = ::fcntl(partial->handle(), F_DUPFD_CLOEXEC, 0);
    if (lockDescriptor >= 0 && ::flock(lockDescriptor, LOCK_EX | LOCK_NB) == 0)
        return;
    // Without the lock, the file only looks abandoned to a later cleaner once this
    // process is gone: a write never fails for want of it.
    LOG_DEBUG() << "the new file of a write is not locked:" << errnoText(errno);
}

void AtomicFileWriter::releasePartial()
{
    if (lockDescriptor >= 0)
        ::close(lockDescriptor);
    lockDescriptor = -1;
}

int AtomicFileWriter::removeAbandoned(const QString& path)
{
    const QFileInfo target(path);
    const QString prefix = target.fileName() + QStringLiteral(".part-");
    static const QRegularExpression suffix(QStringLiteral("^[A-Za-z0-9]{6}$"), QRegularExpression::UseUnicodePropertiesOption);
    int removed = 0;
    const QDir folder = target.dir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(prefix) || !suffix.match(QStringView(name).mid(prefix.size())).hasMatch())
            continue;
        const QByteArray file = QFile::encodeName(folder.filePath(name));
        const int descriptor = ::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (descriptor < 0)
            continue;
        // Held: a writer is at work on it right now. A file system without locks keeps it.
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && ::unlink(file.constData()) == 0)
            ++removed;
        ::close(descriptor);
    }
    if (removed > 0)
        LOG_INFO() << "removed" << removed << "abandoned new file(s) of" << target.fileName();
    return removed;
}

// The rename is only durable once the folder is on the disk too. The file is in place
// either way, so a folder that cannot be synced is only logged.
bool AtomicFileWriter::syncFolder()
{
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
    if (descriptor >= 0)
        ::close(descriptor);
    if (!synced)
        LOG_WARNING() << "the folder of a written file could not be synced:" << errnoText(errno);
    return synced;
}

bool AtomicFileWriter::fail(const char* what, const QString& reason)
{
    const QString shownWhat = what ? tr(what) : QString();
    failure = shownWhat.isEmpty() ? reason : QStringLiteral("%1: %2").arg(shownWhat, reason);
    error = shownWhat.isEmpty() ? QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(requested), reason)
                                : tr("%1 %2: %3").arg(QDir::toNativeSeparators(requested), shownWhat, reason);
    // The folder may name the client: the log gets the file's own name only.
    LOG_WARNING() << "write refused or failed:" << QFileInfo(requested).fileName() << QString::fromLatin1(what) << reason;
    return false;
}

bool AtomicFileWriter::refuse(const char* reason)
{
    failure = tr(reason);
    error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(requested), failure);
    LOG_WARNING() << "write refused or failed:" << QFileInfo(requested).fileName() << QString()
                  << QString::fromLatin1(reason);
    return false;
}
