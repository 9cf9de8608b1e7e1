#include "catalog/catalogfailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// SQLite's primary result codes, as the driver reports them in nativeErrorCode().
enum sqliteCode_t {
    SQLITE_GENERIC_ERROR = 1,
    SQLITE_NO_PERMISSION = 3,
    SQLITE_DATABASE_BUSY = 5,
    SQLITE_TABLE_LOCKED = 6,
    SQLITE_READ_ONLY = 8,
    SQLITE_IO_ERROR = 10,
    SQLITE_MALFORMED = 11,
    SQLITE_DISK_FULL = 13,
    SQLITE_CANNOT_OPEN = 14,
    SQLITE_NOT_AUTHORIZED = 23,
    SQLITE_NOT_A_DATABASE = 26,
};

} // namespace

int CatalogFailure::primaryCode(const QSqlError& error)
{
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber);
    return isNumber ? code & 0xff : 0;
}

SQLStorage::health_t CatalogFailure::healthAfter(const QSqlError& error)
{
    switch (primaryCode(error)) {
    case SQLITE_DATABASE_BUSY:
    case SQLITE_TABLE_LOCKED:
        return SQLStorage::LOCKED;
    case SQLITE_NOT_A_DATABASE:
    case SQLITE_MALFORMED:
        return SQLStorage::DAMAGED;
    default:
        return SQLStorage::INACCESSIBLE;
    }
}

QString CatalogFailure::newestBackup(const QString& path)
{
    const QFileInfo database(path);
    const QStringList names =
        database.dir().entryList({database.fileName() + QStringLiteral(".bak-*")}, QDir::Files, QDir::Name);
    return names.isEmpty() ? QString() : database.dir().filePath(names.last());
}

QString CatalogFailure::damaged(const QString& path, const QString& cause)
{
    const QString backup = newestBackup(path);
    if (backup.isEmpty())
        return SQLStorage::tr("the catalog database %1 is damaged (%2); restore it from a backup or remove it to start "
                          "an empty catalog")
            .arg(path, cause);
    return SQLStorage::tr("the catalog database %1 is damaged (%2); restore it from the backup %3 or remove it to start "
                      "an empty catalog")
        .arg(path, cause, backup);
}

QString CatalogFailure::describe(const QString& path, const QSqlError& error)
{
    const QString cause = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (primaryCode(error)) {
    case SQLITE_DATABASE_BUSY:
    case SQLITE_TABLE_LOCKED:
        return SQLStorage::tr("the catalog database %1 is locked by another program; close it and try again").arg(path);
    case SQLITE_NOT_A_DATABASE:
    case SQLITE_MALFORMED:
        return damaged(path, cause);
    case SQLITE_DISK_FULL:
        return SQLStorage::tr("the catalog database %1 cannot be written: the disk is full; free some space and try again")
            .arg(path);
    case SQLITE_NO_PERMISSION:
    case SQLITE_READ_ONLY:
    case SQLITE_CANNOT_OPEN:
    case SQLITE_NOT_AUTHORIZED:
        return SQLStorage::tr("the catalog database %1 cannot be opened for reading and writing (%2); check the "
                          "permissions of the file and its folder")
            .arg(path, cause);
    case SQLITE_IO_ERROR:
        return SQLStorage::tr("the catalog database %1 cannot be read or written (%2); check the disk, or restore the "
                          "file from a backup")
            .arg(path, cause);
    default:
        if (cause.trimmed().isEmpty())
            return SQLStorage::tr("the catalog database %1 failed without saying why").arg(path);
        return SQLStorage::tr("the catalog database %1 failed: %2").arg(path, cause);
    }
}

bool CatalogFailure::isSchemaMismatch(const QSqlError& error)
{
    return primaryCode(error) == SQLITE_GENERIC_ERROR;
}
