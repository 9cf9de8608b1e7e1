#ifndef ZENTAVO_APPRAISERLIST_H
#define ZENTAVO_APPRAISERLIST_H

#include "zentavo_export.h"

#include <QString>

#include <map>
#include <memory>

class AgreeAppraiser;
class QIODevice;

// The people who did the work of an evaluation, by position 1, 2, 3 …. Reports number
// them differently: tags numbered 1 to 3 name the first, second and third appraiser in
// position order, tags numbered 4 and above the first, second … specialist.
class ZENTAVO_EXPORT AppraiserList
{
public:
    AppraiserList();
    virtual ~AppraiserList();
    Q_DISABLE_COPY(AppraiserList)

    virtual int count();
    // Null when the position is empty.
    virtual AgreeAppraiser* getAppraiser(int position);
    // The entry that comes order-th (from 0) in position order, whatever the positions;
    // null beyond the last.
    AgreeAppraiser* getAppraiserInOrder(int order);
    // The entry at the position, created empty when there is none.
    virtual AgreeAppraiser* addAppraiser(int position) = 0;
    virtual bool removeAppraiser(int position);
    // Re-keys the entry; the caller gives it its new position with setIndex.
    virtual bool moveAppraiser(int from, int to);

    // Set by adding and removing entries, not by moving or editing them.
    bool isModified() const { return modified; }
    void setModified(bool value) { modified = value; }
    // Report number 1-3: that appraiser in position order; 4 and above: specialist n - 3.
    AgreeAppraiser* getAppraiserForTag(int number);
    // A report tag ending in "_" and its report number.
    bool getTag(const QString& name, QString& value, long flags);
    // Every entry in position order, numbered 1, 2, … whatever gaps removing or moving
    // entries left: the next load reads them all. The entries keep their positions here.
    void save(QIODevice& out);

    // Whether an evaluation's tag is one an entry writes under its position: the marker,
    // the person's tags of either type, the company's of either kind, the participation.
    // The list owns these names: under a position it no longer writes, or of a type an
    // entry no longer has, they are gone with the next save.
    static bool isEntryTag(const QString& name);

    static constexpr int FirstSpecialistNumber = 4;

protected:
    std::map<int, std::unique_ptr<AgreeAppraiser>> entries;

private:
    bool modified = false;
};

#endif
