#ifndef ZENTAVO_APPRAISALCOMPANYCATALOG_H
#define ZENTAVO_APPRAISALCOMPANYCATALOG_H

#include "catalog/namedrecordcatalog.h"

class AppraisalCompany;

// The stored appraisal companies for selection, by identifier, under their display names:
// a legal entity as "name (ЮЛ)", a sole proprietor as "surname first-name patronymic (ИП)".
class ZENTAVO_EXPORT AppraisalCompanyCatalog : public NamedRecordCatalog
{
public:
    static AppraisalCompanyCatalog* getInstance();

    void load();
    // A new company read from the database; the caller owns it.
    AppraisalCompany* getAppraisalCompany(int id);
    static QString& makeName(const QString& name, bool isOrg, QString& out);
    static QString& makeName(AppraisalCompany& company, QString& out);
    // The identifier of the stored company with the same display name, or -1.
    int findIndex(AppraisalCompany& company);

private:
    friend class SingletonRegistry;
    AppraisalCompanyCatalog() = default;
};

#endif
