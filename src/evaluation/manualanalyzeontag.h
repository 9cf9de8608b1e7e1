#ifndef ZENTAVO_MANUALANALYZEONTAG_H
#define ZENTAVO_MANUALANALYZEONTAG_H

#include "evaluation/manualanalyze.h"

class EvaluationStorage;

// The market analysis kept in the evaluation's tags; it holds no text of its own.
class ZENTAVO_EXPORT ManualAnalyzeOnTag : public ManualAnalyze
{
public:
    explicit ManualAnalyzeOnTag(EvaluationStorage* storage);

    bool save(QIODevice& out) override;
    QString& getAnalysis(QString& analysis) override;
    void setAnalysis(const QString& analysis) override;
    QString& getSources(QString& sources) override;
    void setSources(const QString& sources) override;
    QString& getConclusions(QString& conclusions) override;
    void setConclusions(const QString& conclusions) override;

private:
    EvaluationStorage* storage;
};

#endif
