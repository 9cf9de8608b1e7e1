#ifndef ZENTAVO_TAGSECTION_H
#define ZENTAVO_TAGSECTION_H

#include "zentavo_export.h"

#include <QString>

class QIODevice;

// A section of an evaluation: it keeps its fields in the evaluation's tags, answers
// its report tags and writes its tag lines when the evaluation is saved.
class ZENTAVO_EXPORT TagSection
{
public:
    TagSection() = default;
    virtual ~TagSection() = default;
    Q_DISABLE_COPY(TagSection)

    virtual void save(QIODevice& out) = 0;
    // name is upper-cased; false, with value untouched, for a name the section does not know.
    virtual bool getTag(const QString& name, QString& value, long flags) = 0;
};

#endif
