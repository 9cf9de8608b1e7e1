// The bank directory archive as downloaded: a zip whose bnkseek.txt lists the banks,
// imported into an empty bank table that is emptied again after each input.
// Skipped lines are printed to standard output: run with -close_fd_mask=1.
#include "catalog/sqlstorage.h"
#include "catalogsource/bankcatalogsourcerbc.h"
#include "fuzzapplication.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzApplication::ensure();
    static QTemporaryDir dir;
    static BankCatalogSourceRBC source;
    const QString path = dir.filePath(QStringLiteral("bank.zip"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    source.readZip(path);
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(QStringLiteral("delete from bank"));
    return 0;
}
