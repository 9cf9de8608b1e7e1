#include "evaluation/agreeappraiser.h"

#include "catalog/appraisalcompany.h"
#include "catalog/appraiser.h"
#include "values/tagutils.h"

AgreeAppraiser::AgreeAppraiser()
    : participationBase(QStringLiteral("СТЕПЕНЬ_УЧАСТИЯ_ОЦЕНЩИКА"))
{
}

AgreeAppraiser::~AgreeAppraiser() = default;

void AgreeAppraiser::setIndex(int position)
{
    index = position;
    TagUtils::appendIndex(participationBase, position, indexedParticipationTag);
}

bool AgreeAppraiser::getTag(const QString& name, QString& value, long flags)
{
    if (getAppraiser()->getTag(name, value, flags) || getAppraisalCompany()->getTag(name, value, flags))
        return true;
    if (name != participationBase)
        return false;
    getParticipation(value);
    return true;
}
