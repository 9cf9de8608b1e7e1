#ifndef ZENTAVO_IDENTDOCUMENT_H
#define ZENTAVO_IDENTDOCUMENT_H

#include "zentavo_export.h"

#include "values/tagtypes.h"
#include "values/tagutils.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

class QIODevice;

// The identity document of a natural person or a sole proprietor: its kind (passport
// and the like), series, number, date of issue and issuing authority.
class ZENTAVO_EXPORT IdentDocument
{
public:
    // The text fields; the date of issue has its own accessors.
    enum field_t { KIND = 0, SERIES = 1, NUMBER = 2, ISSUED_BY = 3 };
    static constexpr int FieldCount = 4;

    IdentDocument(customertype_t type, customerrole_t role);
    virtual ~IdentDocument();
    IdentDocument(const IdentDocument&) = delete;
    IdentDocument& operator=(const IdentDocument&) = delete;

    virtual QString& getText(field_t field, QString& value) = 0;
    virtual void setText(field_t field, const QString& value) = 0;
    virtual QDate& getDate(QDate& date) = 0;
    virtual void setDate(const QDate& date) = 0;

    bool getTag(const QString& name, QString& value, long flags);
    // Kind, series, number, date, issuing authority; names carry the index if one is given.
    void save(QIODevice& out, int index = TagUtils::NoIndex);

    const QString& tagName(field_t field) const { return names[field]; }
    const QString& dateTagName() const { return dateName; }
    static QStringList tagNames(customertype_t type, customerrole_t role);

private:
    QString names[FieldCount];
    QString dateName;
    QHash<QString, field_t> fieldsByName;
};

#endif
