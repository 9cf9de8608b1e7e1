#ifndef ZENTAVO_FIELDKIND_H
#define ZENTAVO_FIELDKIND_H

#include "zentavo_export.h"

#include "values/tagtypes.h"

#include <QString>
#include <QVariant>

// The kind of value a field of a record holds, and all that the kind decides: how the
// value is shaped for a report by the flags of its tag, written into tag text and read
// back, and kept in a column of the catalog database.
class ZENTAVO_EXPORT FieldKind
{
public:
    enum kind_t {
        Text,      // shown as written
        Name,      // a first name or a patronymic: the flag S gives its initial, "И."
        LegalForm, // "Общество с ограниченной ответственностью": the flag A gives "ООО"
        Date,      // "dd.MM.yyyy" in tags; the flag Y gives the year
        Flag,      // "Да" or "Нет" in tags, 0 or 1 in the catalog
        Number     // a whole number; -1, none, is an empty tag and a NULL column reads as it
    };

    // The value of a field never given: a null text or date, false, -1.
    static QVariant empty(kind_t kind);
    static QString& reportText(kind_t kind, const QVariant& value, tagflag_t flags, QString& out);
    static QString& tagText(kind_t kind, const QVariant& value, QString& out);
    // The value is what the parse gives; ok, when not null, tells whether the text held one.
    static QVariant fromTagText(kind_t kind, const QString& text, bool* ok = nullptr);
    static QVariant toColumn(kind_t kind, const QVariant& value);
    static QVariant fromColumn(kind_t kind, const QVariant& stored);
};

#endif
