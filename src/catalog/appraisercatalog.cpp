#include "catalog/appraisercatalog.h"

#include "catalog/appraiser.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

AppraiserCatalog* AppraiserCatalog::getInstance()
{
    return SingletonRegistry::instance<AppraiserCatalog>([](AppraiserCatalog* catalog) { catalog->load(); });
}

void AppraiserCatalog::load()
{
    loadNames(QStringLiteral("select id_spec,firstname,lastname,middlename, id_appr from specialist "
                             "left outer join appraiser on (id_spec=id_appr) order by lastname"),
              QStringLiteral("id_spec"), [](const QSqlQuery& row) {
                  const auto column = [&row](const char* label) { return row.value(QString::fromLatin1(label)); };
                  bool isAppraiser = false;
                  column("id_appr").toInt(&isAppraiser);
                  QString name;
                  return makeName(column("firstname").toString(), column("middlename").toString(),
                                  column("lastname").toString(), isAppraiser, name);
              });
}

Appraiser* AppraiserCatalog::getAppraiser(int id)
{
    return new Appraiser(id);
}

QString& AppraiserCatalog::makeName(const QString& first, const QString& middle, const QString& last,
                                    bool isAppraiser, QString& out)
{
    out = last + QLatin1Char(' ') + first + QLatin1Char(' ') + middle + QLatin1Char(' ')
        + (isAppraiser ? QStringLiteral("(оценщик)") : QStringLiteral("(специалист)"));
    return out;
}

QString& AppraiserCatalog::makeName(Appraiser& appraiser, QString& out)
{
    QString first;
    QString middle;
    QString last;
    return makeName(appraiser.getFirstName(first), appraiser.getMiddleName(middle), appraiser.getLastName(last),
                    appraiser.getType() == Appraiser::APPRAISER, out);
}

int AppraiserCatalog::findIndex(Appraiser& appraiser)
{
    QString name;
    return idOfName(makeName(appraiser, name));
}
