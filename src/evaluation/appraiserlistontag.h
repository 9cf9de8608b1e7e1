#ifndef ZENTAVO_APPRAISERLISTONTAG_H
#define ZENTAVO_APPRAISERLISTONTAG_H

#include "evaluation/appraiserlist.h"

class EvaluationStorage;

// The appraiser list over the evaluation's tags. Built from the markers "ОЦЕНЩИК_1",
// "ОЦЕНЩИК_2" …: the first position without a marker, or with the host's placeholder
// text, ends the list.
class ZENTAVO_EXPORT AppraiserListOnTag : public AppraiserList
{
public:
    explicit AppraiserListOnTag(EvaluationStorage* storage);

    AgreeAppraiser* addAppraiser(int position) override;

private:
    int countMarkers() const;

    EvaluationStorage* storage;
};

#endif
