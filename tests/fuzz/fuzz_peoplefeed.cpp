// The identity document feed, merged into an empty catalog database; the table is
// emptied again after each input, so every input meets the same database.
#include "catalog/sqlstorage.h"
#include "catalogsource/peoplexmlhandler.h"
#include "fuzzharness.h"

#include <QSqlQuery>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzHarness::ensureApplication();
    PeopleXmlHandler handler;
    handler.import(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(QStringLiteral("delete from peopleidentdoc"));
    return 0;
}
