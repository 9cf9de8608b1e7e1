// The bank directory archive as downloaded: a zip whose bnkseek.txt lists the banks,
// imported into an empty bank table that is emptied again after each input.
// Skipped lines are printed to standard output: run with -close_fd_mask=1.
#include "catalog/sqlstorage.h"
#include "catalogsource/bankcatalogsourcerbc.h"
#include "fuzzharness.h"

#include <QSqlQuery>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHarness::ensureApplication();
    static BankCatalogSourceRBC source;
    const QString path = FuzzHarness::inputFile(data, size, QStringLiteral("bank.zip"));
    if (path.isEmpty())
        return 0;
    source.readZip(path);
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(QStringLiteral("delete from bank"));
    return 0;
}
