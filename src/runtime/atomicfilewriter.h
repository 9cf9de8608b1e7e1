#ifndef ZENTAVO_ATOMICFILEWRITER_H
#define ZENTAVO_ATOMICFILEWRITER_H

#include "zentavo_export.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

class QIODevice;
class QTemporaryFile;

// Writes a file so that nothing is lost: into a new file beside the target, every write
// checked, flushed to disk, and only then renamed over the target. Until commit()
// answers true the target is exactly as it was; a full disk, a file size limit or a
// failed rename leave it untouched and say why in errorString(). An uncommitted write is
// removed when the writer goes.
//
// While a writer lives it holds a lock on its new file ("NAME.part-XXXXXX"), so a file of
// that name that nobody holds was left by a writer that was killed, and
// removeAbandoned() may take it away.
class ZENTAVO_EXPORT AtomicFileWriter
{
    Q_DECLARE_TR_FUNCTIONS(AtomicFileWriter)

public:
    enum class Links {
        // The target may be a symbolic link of the user's own: the file it points to is
        // replaced, and the link stays.
        Follow,
        // Anything but a regular file in the target's place (a symbolic link planted
        // there, a folder, a pipe) is refused and never written through.
        Refuse
    };

    explicit AtomicFileWriter(const QString& path, Links links = Links::Refuse);
    ~AtomicFileWriter();
    Q_DISABLE_COPY(AtomicFileWriter)

    // Creates the new file beside the target; false with the reason otherwise.
    bool open();
    // Where the content goes, once open() succeeded. Unbuffered: a write that fails
    // reports it at once.
    QIODevice& device();
    bool write(const QByteArray& bytes);
    // Puts the new file in place when every byte was written and is on the disk.
    bool commit();
    // Drops the new file; the target stays as it was.
    void cancel();

    // The file that is replaced (a followed link's target).
    QString targetPath() const { return target; }
    // One line naming the file and what went wrong.
    QString errorString() const { return error; }
    // Removes the new files that writers of path left behind when they were killed: those
    // beside it named "NAME.part-XXXXXX" that no writer holds. Answers how many went.
    static int removeAbandoned(const QString& path);

    // What went wrong, without the file's name, for a caller that names the file itself:
    // why open() or commit() failed, or the first write that did not go through as soon
    // as it failed. Empty while nothing failed.
    QString reason() const;

private:
    bool resolveTarget();
    // what went wrong (a text marked for translation, or null) and why: the user reads
    // them in their language, the log as written here.
    bool fail(const char* what, const QString& reason);
    // A file refused before anything was written, for the reason given (marked for
    // translation).
    bool refuse(const char* reason);
    bool syncFolder();
    void holdPartial();
    void releasePartial();

    QString requested;
    QString target;
    Links links;
    QString error;
    QString failure;
    std::unique_ptr<QTemporaryFile> partial;
    // A second descriptor of the new file, locked until the file is in place or gone.
    int lockDescriptor = -1;
};

#endif
