#ifndef ZENTAVO_APPRAISERCATALOG_H
#define ZENTAVO_APPRAISERCATALOG_H

#include "catalog/namedrecordcatalog.h"

class Appraiser;

// The stored appraisers and specialists for selection, by specialist identifier, under
// "surname first-name patronymic (оценщик)" or "… (специалист)", ordered by surname.
class ZENTAVO_EXPORT AppraiserCatalog : public NamedRecordCatalog
{
public:
    static AppraiserCatalog* getInstance();

    void load();
    // A new record read from the database; the caller owns it.
    Appraiser* getAppraiser(int id);
    static QString& makeName(const QString& first, const QString& middle, const QString& last, bool isAppraiser,
                             QString& out);
    static QString& makeName(Appraiser& appraiser, QString& out);
    // The identifier of the stored person with the same display name, or -1.
    int findIndex(Appraiser& appraiser);

private:
    friend class SingletonRegistry;
    AppraiserCatalog() = default;
};

#endif
