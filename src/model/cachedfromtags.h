#ifndef ZENTAVO_CACHEDFROMTAGS_H
#define ZENTAVO_CACHEDFROMTAGS_H

#include "model/evaluationstorage.h"

// A value a section works out from the evaluation's tags and asks for on every report
// tag, such as a party's kind: read once, and again only after the tags have changed.
template <typename T>
class CachedFromTags
{
public:
    // The value read by read(), or the one it gave while the tags have not changed since.
    template <typename Read>
    T get(const EvaluationStorage& storage, Read read) const
    {
        const quint64 revision = storage.tagRevision();
        if (!held || revision != readAt) {
            value = read();
            readAt = revision;
            held = true;
        }
        return value;
    }

private:
    mutable T value{};
    mutable quint64 readAt = 0;
    mutable bool held = false;
};

#endif
