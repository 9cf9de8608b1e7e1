#include "testapproach.h"

#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <quazip/quazipfile.h>

TestApproach::TestApproach(EvaluationStorage& storage, QString name, QString tagKey)
    : storage(storage),
      name(std::move(name)),
      key(std::move(tagKey)),
      costTag(key + QStringLiteral("_СТОИМОСТЬ")),
      analogTag(key + QStringLiteral("_СТОИМОСТЬ_АНАЛОГА"))
{
}

TestApproach TestApproach::cost(EvaluationStorage& storage)
{
    return TestApproach(storage, QStringLiteral("Затратный подход"), QStringLiteral("ЗП"));
}

TestApproach TestApproach::comparative(EvaluationStorage& storage)
{
    return TestApproach(storage, QStringLiteral("Сравнительный подход"), QStringLiteral("СП"));
}

bool TestApproach::getTag(const QString& tag, QString& value, tagflag_t flags)
{
    if (tag == costTag)
        TagUtils::condProcessFlagMONEY(flags, approachCost, value);
    else if (tag == analogTag)
        TagUtils::condProcessFlagMONEY(flags, analogFullCost, value);
    else
        return false;
    return true;
}

void TestApproach::save(QuaZipFile& file)
{
    QByteArray line;
    file.write(TagUtils::mkTagLine(costTag, approachCost, line));
    file.write(TagUtils::mkTagLine(analogTag, analogFullCost, line));
}

void TestApproach::clear()
{
    approachCost.letNull();
    analogFullCost.letNull();
}

void TestApproach::load()
{
    storage.getTag(costTag, approachCost);
    storage.getTag(analogTag, analogFullCost);
}

QString& TestApproach::getName(QString& out)
{
    out = name;
    return out;
}

QString& TestApproach::getTagKey(QString& out)
{
    out = key;
    return out;
}

Money& TestApproach::getAnalogFullCost(Money& out)
{
    out = analogFullCost;
    return out;
}

Money& TestApproach::getCost(Money& out)
{
    out = approachCost;
    return out;
}
