#ifndef ZENTAVO_EVALUATIONAPPROACH_H
#define ZENTAVO_EVALUATIONAPPROACH_H

#include "zentavo_export.h"

#include "values/money.h"
#include "values/tagtypes.h"

#include <QPixmap>
#include <QString>

class QuaZipFile;

// The key under which a valuation approach is registered with an evaluation.
typedef int evaluationapproach_t;

enum : evaluationapproach_t {
    APPROACH_COST = 0,        // also answers the full cost of the analogue
    APPROACH_COMPARATIVE = 1  // also supplies the charts of the report
};

// A valuation approach supplied by the host. The evaluation calls it to answer
// report tags, to save and reload its own tags, and for its name, key and costs.
class ZENTAVO_EXPORT EvaluationApproach
{
public:
    virtual ~EvaluationApproach() = default;

    // true when the approach handled the tag.
    virtual bool getTag(const QString& name, QString& value, tagflag_t flags) = 0;
    // Writes the approach's own complete tag lines into the open tag list entry.
    virtual void save(QuaZipFile& file) = 0;
    virtual void clear() = 0;
    // Rebuilds the approach's state from the tags just loaded.
    virtual void load() = 0;
    virtual QString& getName(QString& name) = 0;
    // The key text used inside the names of the criterion weight tags.
    virtual QString& getTagKey(QString& key) = 0;
    virtual Money& getAnalogFullCost(Money& cost) = 0;
    virtual Money& getCost(Money& cost) = 0;
    virtual int getImageCount() = 0;
    virtual QPixmap& getImage(int index, QPixmap& image) = 0;
};

#endif
