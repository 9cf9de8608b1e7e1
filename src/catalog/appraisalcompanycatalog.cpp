#include "catalog/appraisalcompanycatalog.h"

#include "catalog/appraisalcompany.h"
#include "model/businessman.h"
#include "model/organization.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

AppraisalCompanyCatalog* AppraisalCompanyCatalog::getInstance()
{
    return SingletonRegistry::instance<AppraisalCompanyCatalog>(
        [](AppraisalCompanyCatalog* catalog) { catalog->load(); });
}

void AppraisalCompanyCatalog::load()
{
    loadNames(QStringLiteral("select c.id_apprcomp,c.companytype,o.inn,o.name from appraisalcompany c "
                             "left outer join org o using (id_apprcomp) where c.companytype=0 union "
                             "select c.id_apprcomp,c.companytype,b.inn, coalesce(b.lastname,'')||' '||"
                             "coalesce(b.firstname,'')||' '||coalesce(b.middlename,'') as name from "
                             "appraisalcompany c left outer join businessman b using (id_apprcomp) "
                             "where c.companytype=2 order by name"),
              QStringLiteral("id_apprcomp"), [](const QSqlQuery& row) {
                  const bool isOrg = row.value(QStringLiteral("companytype")).toInt() == 0;
                  QString name;
                  return makeName(row.value(QStringLiteral("name")).toString(), isOrg, name);
              });
}

AppraisalCompany* AppraisalCompanyCatalog::getAppraisalCompany(int id)
{
    return new AppraisalCompany(id);
}

QString& AppraisalCompanyCatalog::makeName(const QString& name, bool isOrg, QString& out)
{
    out = name + (isOrg ? QStringLiteral(" (ЮЛ)") : QStringLiteral(" (ИП)"));
    return out;
}

QString& AppraisalCompanyCatalog::makeName(AppraisalCompany& company, QString& out)
{
    QString name;
    if (company.getType() == CUSTOMER_LEGAL_ENTITY)
        return makeName(company.getOrg()->getText(Organization::NAME, name), true, out);
    return makeName(company.getBusinessman()->getFIO(name), false, out);
}

int AppraisalCompanyCatalog::findIndex(AppraisalCompany& company)
{
    QString name;
    return idOfName(makeName(company, name));
}
