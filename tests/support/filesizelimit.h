#ifndef ZENTAVO_FILESIZELIMIT_H
#define ZENTAVO_FILESIZELIMIT_H

#include <QtGlobal>

#include <sys/resource.h>

class QProcess;

// A full disk, made to order: while it lives, every file this process writes stops
// growing at the given size, and the write that would pass it fails (EFBIG), as a write
// onto a full disk fails with ENOSPC. The kernel enforces it, below Qt and the zip
// library, so it shows what a real full disk does to the code above. The signal the
// kernel sends with it is ignored, so the failing write returns instead of killing.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // The same limit for a child process only, set in the child before it runs.
    static void applyToChild(QProcess& process, qint64 bytes);

private:
    rlimit previous{};
};

#endif
