#ifndef ZENTAVO_BANKCATALOG_H
#define ZENTAVO_BANKCATALOG_H

#include "zentavo_export.h"

#include <QString>

// Looks banks up by their identification code (BIC) in the imported bank directory.
class ZENTAVO_EXPORT BankCatalog
{
public:
    static BankCatalog* getInstance();

    // Fills the bank's name and correspondent account. For an unknown BIC the name
    // becomes the message for the user, the account a null string, and the answer false.
    bool findBank(const QString& bic, QString& name, QString& raccount) const;

    // Kept for the host's interface; the bank directory import does the real work.
    void load();
    void save() {}
    void importFromRBC() {}

private:
    friend class SingletonRegistry;
    BankCatalog() = default;
};

#endif
