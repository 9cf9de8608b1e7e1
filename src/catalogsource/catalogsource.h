#ifndef ZENTAVO_CATALOGSOURCE_H
#define ZENTAVO_CATALOGSOURCE_H

#include "zentavo_export.h"

#include <QDateTime>
#include <QObject>
#include <QString>

// One reference catalog that can be refreshed from a server. The host connects to the
// signals, calls startLoad() and shows progress until done(), which ends every load,
// successful or not; a failed one is announced by failure() before it.
class ZENTAVO_EXPORT CatalogSource : public QObject
{
    Q_OBJECT

public:
    explicit CatalogSource(QObject* parent = nullptr);
    ~CatalogSource() override;

    virtual void startLoad() = 0;
    // Whether the last load ended with the catalog updated.
    virtual bool isLoaded() = 0;
    virtual bool isLoading() = 0;
    // The catalog's name for the user.
    virtual QString getTitle() = 0;
    // The catalog's key in the table of last updates.
    virtual QString getIdent() = 0;

    // When this catalog was last updated successfully (UTC); null when never, or when the
    // database cannot tell.
    QDateTime getLastUpdate();
    // Records now as the last successful update.
    void fixateLastUpdate();

signals:
    void progress(int percent);
    void done();
    void failure(QString description);
};

#endif
