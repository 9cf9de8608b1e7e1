#include "evaluation/person.h"

#include "evaluation/identdocument.h"
#include "values/tagutils.h"

#include <QIODevice>

Person::Person(customertype_t type, customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(type, role, suffix);
    names[FIRST_NAME] = QStringLiteral("ИМЯ") + suffix;
    names[MIDDLE_NAME] = QStringLiteral("ОТЧЕСТВО") + suffix;
    names[LAST_NAME] = QStringLiteral("ФАМИЛИЯ") + suffix;
    names[LOCATION] = QStringLiteral("МЕСТО_РЕГИСТРАЦИИ") + suffix;
    names[INN] = QStringLiteral("ИНН") + suffix;
    names[EMAIL] = QStringLiteral("ЭЛЕКТРОННАЯ_ПОЧТА") + suffix;
    names[PHONE] = QStringLiteral("ТЕЛЕФОН") + suffix;
    for (int i = 0; i < FieldCount; ++i)
        fieldsByName.insert(names[i], static_cast<field_t>(i));
}

Person::~Person() = default;

bool Person::getTag(const QString& name, QString& value, long flags)
{
    const auto found = fieldsByName.constFind(name);
    if (found == fieldsByName.cend())
        return getIdentDocument()->getTag(name, value, flags);
    getText(*found, value);
    return true;
}

void Person::save(QIODevice& out, int index)
{
    QByteArray line;
    QString name;
    for (int i = 0; i < FieldCount; ++i) {
        const field_t field = static_cast<field_t>(i);
        QString value;
        TagUtils::appendIndexIfAny(names[field], index, name);
        out.write(TagUtils::mkTagLine(name, getText(field, value), line));
    }
    getIdentDocument()->save(out, index);
}

QString& Person::getFIO(QString& fio)
{
    QString first;
    QString middle;
    getLastName(fio);
    fio += QLatin1Char(' ') + getFirstName(first) + QLatin1Char(' ') + getMiddleName(middle);
    return fio;
}
