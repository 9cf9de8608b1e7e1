#include "evaluation/identdocument.h"

#include "values/tagutils.h"

#include <QIODevice>

// The text fields in field order, then the date of issue.
QStringList IdentDocument::tagNames(customertype_t type, customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(type, role, suffix);
    QStringList answered = {QStringLiteral("ДОКУМЕНТ"), QStringLiteral("СЕРИЯ_ДОКУМЕНТА"),
                            QStringLiteral("НОМЕР_ДОКУМЕНТА"), QStringLiteral("ДОКУМЕНТ_ВЫДАН"),
                            QStringLiteral("ДАТА_ДОКУМЕНТА")};
    for (QString& name : answered)
        name += suffix;
    return answered;
}

IdentDocument::IdentDocument(customertype_t type, customerrole_t role)
{
    const QStringList answered = tagNames(type, role);
    for (int i = 0; i < FieldCount; ++i) {
        names[i] = answered.at(i);
        fieldsByName.insert(names[i], static_cast<field_t>(i));
    }
    dateName = answered.at(FieldCount);
}

IdentDocument::~IdentDocument() = default;

bool IdentDocument::getTag(const QString& name, QString& value, long flags)
{
    if (name == dateName) {
        QDate date;
        TagUtils::condProcessFlagDATE(flags, getDate(date), value);
        return true;
    }
    const auto found = fieldsByName.constFind(name);
    if (found == fieldsByName.cend())
        return false;
    getText(*found, value);
    return true;
}

void IdentDocument::save(QIODevice& out, int index)
{
    QByteArray line;
    QString name;
    const auto writeText = [&](field_t field) {
        QString value;
        out.write(TagUtils::mkTagLine(TagUtils::appendIndexIfAny(names[field], index, name), getText(field, value), line));
    };
    writeText(KIND);
    writeText(SERIES);
    writeText(NUMBER);
    QDate date;
    out.write(TagUtils::mkTagLine(TagUtils::appendIndexIfAny(dateName, index, name), getDate(date), line));
    writeText(ISSUED_BY);
}
