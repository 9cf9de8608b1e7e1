#ifndef ZENTAVO_MANUALANALYZEONTAG_H
#define ZENTAVO_MANUALANALYZEONTAG_H

#include "evaluation/manualanalyze.h"

// The market analysis kept in the evaluation's tags; it holds no text of its own.
class ZENTAVO_EXPORT ManualAnalyzeOnTag : public ManualAnalyze
{
public:
    explicit ManualAnalyzeOnTag(EvaluationStorage* storage);

    bool save(QIODevice& out) override;
    QString& getAnalysis(QString& analysis) override;
    void setAnalysis(const QString& analysis) override { storage->setTag(texts.name(Analysis), analysis); }
    QString& getSources(QString& sources) override { return storage->getTag(texts.name(Sources), sources); }
    void setSources(const QString& sources) override { storage->setTag(texts.name(Sources), sources); }
    QString& getConclusions(QString& conclusions) override
    {
        return storage->getTag(texts.name(Conclusions), conclusions);
    }
    void setConclusions(const QString& conclusions) override { storage->setTag(texts.name(Conclusions), conclusions); }

private:
    EvaluationStorage* storage;
};

#endif
