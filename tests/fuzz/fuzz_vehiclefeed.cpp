// The vehicle catalog feed, merged into an empty catalog database; the tables are emptied
// again after each input, so every input meets the same database.
#include "catalog/sqlstorage.h"
#include "catalogsource/vehiclexmlhandler.h"
#include "fuzzharness.h"

#include <QSqlQuery>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHarness::ensureApplication();
    VehicleXmlHandler handler;
    handler.import(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const char* table : {"vehiclemodel", "vehiclebrand", "vehiclebodytype", "vehicletype", "transmission"})
        query.exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
    return 0;
}
