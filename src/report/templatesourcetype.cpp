#include "report/templatesourcetype.h"

#include <QRegularExpression>
#include <QString>

templatesourcetype_t sourceTypeOfLocation(const QString& location)
{
    static const QRegularExpression network(QStringLiteral("^(http://)|(https://)"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    return network.match(location).hasMatch() ? TEMPLATE_SOURCE_NETWORK : TEMPLATE_SOURCE_DISK;
}
