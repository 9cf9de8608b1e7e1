#ifndef ZENTAVO_CRITERION_H
#define ZENTAVO_CRITERION_H

#include "zentavo_export.h"

#include "model/evaluationapproach.h"

#include <QMap>
#include <QString>

class EvaluationStorage;
class QIODevice;

// One row of the reconciliation's criteria table: a quality by which the approaches
// are compared (reliability of the information, say) and the integer score it gives
// each approach. Row i lives in the tags as
//   ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА_i        the row marker, boolean true
//   ТАБЛИЦА_КРИТЕРИЕВ_НАИМЕНОВАНИЕ_i  the criterion's text
//   ТАБЛИЦА_КРИТЕРИЕВ_ВЕС_<key>_i     the score of the approach whose tag key is <key>
class ZENTAVO_EXPORT Criterion
{
public:
    explicit Criterion(EvaluationStorage& storage);

    QString& getName(QString& out) const;
    void setName(const QString& text);

    // -1 when the criterion gives the approach no score.
    int getWeight(evaluationapproach_t approach) const;
    void setWeight(evaluationapproach_t approach, int score);

    // The score tag name of the approach without and with the row index; a null
    // string when the evaluation has no such approach registered.
    QString& mkTag(evaluationapproach_t approach, QString& out) const;
    QString& mkTag(evaluationapproach_t approach, int row, QString& out) const;

    // base is a tag name without its row index.
    bool getTag(const QString& base, QString& out, long flags) const;
    bool getApproachWeightTag(const QString& base, QString& out, long flags) const;

    bool loadFromStorage(int row);
    bool save(QIODevice& out, int row) const;

    static const QString& nameTagBase();
    static const QString& weightTagBase();
    static const QString& rowTagBase();

private:
    EvaluationStorage& storage;
    QString name;
    QMap<evaluationapproach_t, int> weights;
};

#endif
