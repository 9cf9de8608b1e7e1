#ifndef ZENTAVO_REQUESTCOUNTER_H
#define ZENTAVO_REQUESTCOUNTER_H

#include "zentavo_export.h"

#include <QtGlobal>

// The installation's count of requests to the maker's servers, each of which carries the
// next value. It is kept in the catalog database (structinfo.trCount), so it goes on
// across program runs. Downloads take it through Config::getNextTrCount(), which this
// counter serves from the moment the library is loaded.
class ZENTAVO_EXPORT RequestCounter
{
public:
    static RequestCounter* getInstance();
    Q_DISABLE_COPY(RequestCounter)

    // Answers the stored value and advances it by one, so calls answer n, n+1, ... across
    // program runs, and no value twice, also when several processes ask at once. A value
    // once answered stays taken even when the caller rolls back a transaction it holds on
    // the catalog connection. A database locked by another program is waited on for
    // SQLStorage::BUSY_TIMEOUT_MS. 0, and a warning in the log, when the counter cannot be
    // read or advanced.
    qulonglong takeNext();
    // The next takeNext() answers 1.
    void reset();

private:
    friend class SingletonRegistry;
    RequestCounter() = default;

    // The lowest count not yet answered by this process; a transaction rolled back on the
    // catalog connection may have put the stored counter below it.
    qulonglong nextAtLeast = 1;
};

#endif
