#include "model/fieldkind.h"

#include "values/tagutils.h"

#include <QDate>

QVariant FieldKind::empty(kind_t kind)
{
    switch (kind) {
    case Date:
        return QDate();
    case Flag:
        return false;
    case Number:
        return -1;
    case Text:
    case Name:
    case LegalForm:
        break;
    }
    return QString();
}

QString& FieldKind::reportText(kind_t kind, const QVariant& value, tagflag_t flags, QString& out)
{
    switch (kind) {
    case Name:
        out = value.toString();
        return (flags & TAGFLAG_SHORT) ? TagUtils::processFlagSHORT(out) : out;
    case LegalForm:
        out = value.toString();
        return (flags & TAGFLAG_ABBREVIATION) ? TagUtils::processFlagABBREVIATION(out) : out;
    case Date:
        return TagUtils::condProcessFlagDATE(flags, value.toDate(), out);
    case Text:
    case Flag:
    case Number:
        break;
    }
    return tagText(kind, value, out);
}

QString& FieldKind::tagText(kind_t kind, const QVariant& value, QString& out)
{
    switch (kind) {
    case Date:
        return TagUtils::processDate(value.toDate(), out);
    case Flag:
        return TagUtils::processBool(value.toBool(), out);
    case Number:
        return TagUtils::processInt(value.toInt(), out);
    case Text:
    case Name:
    case LegalForm:
        break;
    }
    out = value.toString();
    return out;
}

QVariant FieldKind::fromTagText(kind_t kind, const QString& text, bool* ok)
{
    switch (kind) {
    case Date: {
        QDate date;
        return TagUtils::parseDate(text, ok, date);
    }
    case Flag:
        return TagUtils::parseBool(text, ok);
    case Number:
        return TagUtils::parseInt(text, ok);
    case Text:
    case Name:
    case LegalForm:
        break;
    }
    if (ok)
        *ok = true;
    return text;
}

QVariant FieldKind::toColumn(kind_t kind, const QVariant& value)
{
    switch (kind) {
    case Date:
        return value.toDate();
    case Flag:
        return int(value.toBool());
    case Number:
        return value.toInt();
    case Text:
    case Name:
    case LegalForm:
        break;
    }
    return value.toString();
}

QVariant FieldKind::fromColumn(kind_t kind, const QVariant& stored)
{
    switch (kind) {
    case Date:
        return stored.toDate();
    case Flag:
        return stored.toBool();
    case Number:
        return TagUtils::parseInt(stored.toString(), nullptr); // NULL: never given
    case Text:
    case Name:
    case LegalForm:
        break;
    }
    return stored.toString();
}
