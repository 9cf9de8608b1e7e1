#include "evaluation/person.h"

#include "evaluation/identdocument.h"
#include "values/tagutils.h"

#include <QIODevice>

QStringList Person::tagNames(customertype_t type, customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(type, role, suffix);
    QStringList answered = {QStringLiteral("ИМЯ"), QStringLiteral("ОТЧЕСТВО"), QStringLiteral("ФАМИЛИЯ"),
                            QStringLiteral("МЕСТО_РЕГИСТРАЦИИ"), QStringLiteral("ИНН"),
                            QStringLiteral("ЭЛЕКТРОННАЯ_ПОЧТА"), QStringLiteral("ТЕЛЕФОН")};
    for (QString& name : answered)
        name += suffix;
    return answered + IdentDocument::tagNames(type, role);
}

Person::Person(customertype_t type, customerrole_t role)
{
    const QStringList answered = tagNames(type, role);
    for (int i = 0; i < FieldCount; ++i) {
        names[i] = answered.at(i);
        fieldsByName.insert(names[i], static_cast<field_t>(i));
    }
}

Person::~Person() = default;

bool Person::getTag(const QString& name, QString& value, long flags)
{
    const auto found = fieldsByName.constFind(name);
    if (found == fieldsByName.cend())
        return getIdentDocument()->getTag(name, value, flags);
    getText(*found, value);
    // Acts and contracts sign a party as "Иванов И. И.", as they sign appraisers.
    if ((flags & TAGFLAG_SHORT) && (*found == FIRST_NAME || *found == MIDDLE_NAME))
        TagUtils::processFlagSHORT(value);
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
