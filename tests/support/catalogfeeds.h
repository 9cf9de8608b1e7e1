#ifndef ZENTAVO_CATALOGFEEDS_H
#define ZENTAVO_CATALOGFEEDS_H

#include <QByteArray>
#include <QString>

// Catalog feeds generated for tests and benchmarks, in the servers' formats.
namespace CatalogFeeds {

// A vehicle feed: `types` vehicle types with two body types each, `brands` brands spread
// over the types, `models` models spread over the brands, three transmissions. Type t
// has gid 1000+t, brand b gid 100000+b, model m gid 1000000+m (all counted from 0).
QByteArray vehicleFeed(int types, int brands, int models);

// One line of the bank directory's working-bank list, Windows-1251, CR LF ended: seven
// tab-separated fields, or six without a correspondent account (rc null).
QByteArray bankLine(const QString& bic, const QString& rc, const QString& name);
// `count` distinct banks, BICs 044500000 upwards.
QByteArray bankLines(int count);

} // namespace CatalogFeeds

#endif
