#ifndef ZENTAVO_CATALOGSCHEMA_H
#define ZENTAVO_CATALOGSCHEMA_H

#include <QString>
#include <QStringList>

// The statements of the catalog database's current schema; SQLStorage runs them.
class CatalogSchema
{
public:
    // The version row and the request counter.
    static const QString& structinfo();
    // When each catalog was last updated from the network.
    static const QString& lastupdate();
    // The tables after structinfo, in the order they are created; lastupdate is last.
    static const QStringList& tables();
    // Lookups of the catalog feed imports, which match rows by name within their parent
    // and by feed identifier. Without them every import is quadratic in the catalog size.
    static const QStringList& indexes();
};

#endif
