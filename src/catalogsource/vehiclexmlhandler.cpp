#include "catalogsource/vehiclexmlhandler.h"

#include "runtime/logger.h"

#include <QCoreApplication>
#include <QVariant>

namespace {

// A tread height is written with a point whatever the user's locale; anything else is no height.
QVariant treadHeight(QStringView text)
{
    bool ok = false;
    const double height = text.toDouble(&ok);
    return ok ? QVariant(height) : QVariant();
}

} // namespace

VehicleXmlHandler::VehicleXmlHandler()
    : CatalogXmlHandler(QStringLiteral("vehicle"),
                        {QStringLiteral("vehicletype vt_gid"), QStringLiteral("vehiclebodytype vbt_gid"),
                         QStringLiteral("vehiclebrand vb_gid"), QStringLiteral("vehiclemodel vm_gid")})
{
}

void VehicleXmlHandler::prepareStatements()
{
    types = prepareEntry(
        QStringLiteral("select count(*),min(id_vt),treadminh,vt_gid from vehicletype where name=?"),
        QStringLiteral("insert into vehicletype (name,treadminh,vt_gid,loaded) values (?,?,?,1)"),
        QStringLiteral("update vehicletype set treadminh=?, vt_gid=?, loaded=1 where id_vt=?"));
    bodies = prepareEntry(
        QStringLiteral("select count(*),min(id_vbt),vbt_gid from vehiclebodytype where name=? and id_vt=?"),
        QStringLiteral("insert into vehiclebodytype (id_vt,name,vbt_gid,loaded) values (?,?,?,1)"),
        QStringLiteral("update vehiclebodytype set vbt_gid=?, loaded=1 where id_vbt=?"));
    brands = prepareEntry(
        QStringLiteral("select count(*),min(id_vb),vb_gid from vehiclebrand where name=? and id_vt=?"),
        QStringLiteral("insert into vehiclebrand (id_vt,name,vb_gid,loaded) values (?,?,?,1)"),
        QStringLiteral("update vehiclebrand set vb_gid=?, loaded=1 where id_vb=?"));
    models = prepareEntry(
        QStringLiteral("select count(*),min(id_vm),vm_gid from vehiclemodel where name=? and id_vb=?"),
        QStringLiteral("insert into vehiclemodel (id_vb,name,vm_gid,loaded) values (?,?,?,1)"),
        QStringLiteral("update vehiclemodel set vm_gid=?, loaded=1 where id_vm=?"));
    transmissions = prepareEntry(
        QStringLiteral("select count(*),min(id_trans),trans_gid from transmission where name=:b"),
        QStringLiteral("insert into transmission (name,trans_gid,loaded) values (?,?,1)"),
        QStringLiteral("update transmission set trans_gid=?, loaded=1 where id_trans=?"));
    typeByGid = prepareQuery(QStringLiteral("select id_vt from vehicletype where vt_gid=?"));
    brandByGid = prepareQuery(QStringLiteral("select id_vb from vehiclebrand where vb_gid=?"));
}

bool VehicleXmlHandler::isEntry(const QString& name) const
{
    return name == QLatin1String("type") || name == QLatin1String("body") || name == QLatin1String("brand")
           || name == QLatin1String("model") || name == QLatin1String("trans");
}

void VehicleXmlHandler::mergeEntry(const QString& name)
{
    if (name == QLatin1String("type"))
        mergeType();
    else if (name == QLatin1String("body"))
        mergeBody();
    else if (name == QLatin1String("brand"))
        mergeBrand();
    else if (name == QLatin1String("model"))
        mergeModel();
    else
        mergeTransmission();
}

void VehicleXmlHandler::mergeType()
{
    const QVariant height = treadHeight(attributes.value(QLatin1String("treadminheight")));
    const int gid = intAttribute(QStringLiteral("id"));
    merge(types, {text}, {text, height, gid}, {height, gid});
}

void VehicleXmlHandler::mergeBody()
{
    const int type = getVehicleType(intAttribute(QStringLiteral("type")));
    const int gid = intAttribute(QStringLiteral("id"));
    merge(bodies, {text, type}, {type, text, gid}, {gid});
}

void VehicleXmlHandler::mergeBrand()
{
    const int type = getVehicleType(intAttribute(QStringLiteral("type")));
    const int gid = intAttribute(QStringLiteral("id"));
    merge(brands, {text, type}, {type, text, gid}, {gid});
}

void VehicleXmlHandler::mergeModel()
{
    const int brand = getVehicleBrand(intAttribute(QStringLiteral("brand")));
    const int gid = intAttribute(QStringLiteral("id"));
    merge(models, {text, brand}, {brand, text, gid}, {gid});
}

void VehicleXmlHandler::mergeTransmission()
{
    const int gid = intAttribute(QStringLiteral("id"));
    merge(transmissions, {text}, {text, gid}, {gid});
}

int VehicleXmlHandler::getVehicleType(int gid)
{
    return lookUp(typeByGid, gid, QT_TRANSLATE_NOOP("VehicleXmlHandler", "vehicle type"));
}

int VehicleXmlHandler::getVehicleBrand(int gid)
{
    return lookUp(brandByGid, gid, QT_TRANSLATE_NOOP("VehicleXmlHandler", "brand"));
}

int VehicleXmlHandler::lookUp(QSqlQuery& query, int gid, const char* parent)
{
    run(query, {gid});
    bool found = query.next();
    const int id = found ? query.value(0).toInt(&found) : 0;
    query.finish();
    if (!found) {
        LOG_WARNING() << "no" << parent << "carries gid" << gid;
        refuse(QCoreApplication::translate("VehicleXmlHandler", "\"%1\" names %2 %3, which the catalog does not hold")
                   .arg(text, QCoreApplication::translate("VehicleXmlHandler", parent))
                   .arg(gid));
    }
    return id;
}
