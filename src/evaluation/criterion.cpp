#include "evaluation/criterion.h"

#include "catalog/approachcatalog.h"
#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <QIODevice>

Criterion::Criterion(EvaluationStorage& storage) : storage(storage)
{
}

const QString& Criterion::nameTagBase()
{
    static const QString base = QStringLiteral("ТАБЛИЦА_КРИТЕРИЕВ_НАИМЕНОВАНИЕ");
    return base;
}

const QString& Criterion::weightTagBase()
{
    static const QString base = QStringLiteral("ТАБЛИЦА_КРИТЕРИЕВ_ВЕС");
    return base;
}

const QString& Criterion::rowTagBase()
{
    static const QString base = QStringLiteral("ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА");
    return base;
}

QString& Criterion::getName(QString& out) const
{
    out = name;
    return out;
}

void Criterion::setName(const QString& text)
{
    name = text;
}

int Criterion::getWeight(evaluationapproach_t approach) const
{
    return weights.value(approach, -1);
}

void Criterion::setWeight(evaluationapproach_t approach, int score)
{
    weights.insert(approach, score);
}

QString& Criterion::mkTag(evaluationapproach_t approach, QString& out) const
{
    out = QString();
    if (!storage.isApproach(approach))
        return out;
    QString key;
    storage.getApproach(approach)->getTagKey(key);
    out = weightTagBase() + QLatin1Char('_') + key;
    return out;
}

QString& Criterion::mkTag(evaluationapproach_t approach, int row, QString& out) const
{
    QString base;
    if (mkTag(approach, base).isNull())
        out = QString();
    else
        TagUtils::appendIndex(base, row, out);
    return out;
}

bool Criterion::getTag(const QString& base, QString& out, long flags) const
{
    if (base == nameTagBase()) {
        out = name;
        return true;
    }
    return getApproachWeightTag(base, out, flags);
}

bool Criterion::getApproachWeightTag(const QString& base, QString& out, long) const
{
    QString tag;
    for (auto it = weights.cbegin(); it != weights.cend(); ++it) {
        if (!mkTag(it.key(), tag).isNull() && base == tag) {
            TagUtils::processInt(it.value(), out);
            return true;
        }
    }
    return false;
}

bool Criterion::loadFromStorage(int row)
{
    QString tag;
    bool present = false;
    if (!storage.getTag(TagUtils::appendIndex(rowTagBase(), row, tag), present))
        return false;
    storage.getTag(TagUtils::appendIndex(nameTagBase(), row, tag), name);
    for (const evaluationapproach_t approach : ApproachCatalog::getInstance()->getApproaches()) {
        if (mkTag(approach, row, tag).isNull())
            continue;
        int score = -1;
        if (storage.getTag(tag, score) != -1)
            setWeight(approach, score);
    }
    return true;
}

// A score of an approach the evaluation does not have cannot be named, so it is not
// written.
bool Criterion::save(QIODevice& out, int row) const
{
    QString tag;
    QByteArray line;
    QString text = name;
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(rowTagBase(), row, tag), true, line));
    out.write(TagUtils::mkTagLine(TagUtils::appendIndex(nameTagBase(), row, tag), text, line));
    for (auto it = weights.cbegin(); it != weights.cend(); ++it) {
        if (!mkTag(it.key(), row, tag).isNull())
            out.write(TagUtils::mkTagLine(tag, it.value(), line));
    }
    return true;
}
