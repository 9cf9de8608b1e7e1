#include "catalog/appraisercatalog.h"

#include "catalog/appraiser.h"
#include "catalog/sqlstorage.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

AppraiserCatalog* AppraiserCatalog::getInstance()
{
    return SingletonRegistry::instance<AppraiserCatalog>([](AppraiserCatalog* catalog) { catalog->load(); });
}

void AppraiserCatalog::load()
{
    names.clear();
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!SQLStorage::exec(query, QStringLiteral("select id_spec,firstname,lastname,middlename, id_appr from specialist "
                                                "left outer join appraiser on (id_spec=id_appr) order by lastname")))
        return;
    QString name;
    while (query.next()) {
        const auto column = [&query](const char* label) { return query.value(QString::fromLatin1(label)); };
        bool isAppraiser = false;
        column("id_appr").toInt(&isAppraiser);
        makeName(column("firstname").toString(), column("middlename").toString(), column("lastname").toString(),
                 isAppraiser, name);
        names.insert(column("id_spec").toInt(), name);
    }
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
    makeName(appraiser, name);
    for (auto entry = names.cbegin(); entry != names.cend(); ++entry) {
        if (entry.value() == name)
            return entry.key();
    }
    return -1;
}
