#include "evaluation/agreeappraiser.h"

#include "catalog/appraisalcompany.h"
#include "catalog/appraiser.h"
#include "values/tagutils.h"

AgreeAppraiser::AgreeAppraiser() = default;

AgreeAppraiser::~AgreeAppraiser() = default;

const QString& AgreeAppraiser::participationTagBase()
{
    static const QString base = QStringLiteral("СТЕПЕНЬ_УЧАСТИЯ_ОЦЕНЩИКА");
    return base;
}

void AgreeAppraiser::setIndex(int position)
{
    index = position;
    TagUtils::appendIndex(participationTagBase(), position, indexedParticipationTag);
}

bool AgreeAppraiser::getTag(const QString& name, QString& value, long flags)
{
    if (getAppraiser()->getTag(name, value, flags) || getAppraisalCompany()->getTag(name, value, flags))
        return true;
    if (name != participationTagBase())
        return false;
    getParticipation(value);
    return true;
}
