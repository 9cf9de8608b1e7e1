#include "evaluation/agreeappraiserontag.h"

#include "catalog/appraisalcompany.h"
#include "catalog/appraiser.h"
#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <QIODevice>

AgreeAppraiserOnTag::AgreeAppraiserOnTag(int position, EvaluationStorage* storage)
    : storage(storage)
{
    setIndex(position);
    storage->getTag(participationTag(), participation);
}

AgreeAppraiserOnTag::~AgreeAppraiserOnTag() = default;

void AgreeAppraiserOnTag::save(QIODevice& out)
{
    saveAt(getIndex(), out);
}

// The person and the company are read from the entry's own position before they are
// written under the other.
void AgreeAppraiserOnTag::saveAt(int position, QIODevice& out)
{
    Appraiser* person = getAppraiser();
    AppraisalCompany* firm = getAppraisalCompany();
    QByteArray line;
    QString name;
    QString value = participation;
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(participationTagBase(), position, name), value, line));
    person->save(position, out);
    firm->save(position, out);
}

QString& AgreeAppraiserOnTag::getParticipation(QString& value)
{
    value = participation;
    return value;
}

void AgreeAppraiserOnTag::setParticipation(const QString& value)
{
    participation = value;
}

Appraiser* AgreeAppraiserOnTag::getAppraiser()
{
    if (!appraiser)
        appraiser = std::make_unique<Appraiser>(getIndex(), *storage);
    return appraiser.get();
}

AppraisalCompany* AgreeAppraiserOnTag::getAppraisalCompany()
{
    if (!company)
        company = std::make_unique<AppraisalCompany>(getIndex(), *storage);
    return company.get();
}

void AgreeAppraiserOnTag::setAppraiser(int id)
{
    if (id >= 1)
        getAppraiser()->load(id);
    else
        appraiser = std::make_unique<Appraiser>(getIndex(), *storage);
}

void AgreeAppraiserOnTag::makeEmpty()
{
    participation.clear();
    appraiser = std::make_unique<Appraiser>();
    company = std::make_unique<AppraisalCompany>();
}

void AgreeAppraiserOnTag::setAppraisalCompany(int id)
{
    if (id >= 1)
        getAppraisalCompany()->load(id);
    else
        getAppraisalCompany()->loadFromStorage(getIndex(), *storage);
}
