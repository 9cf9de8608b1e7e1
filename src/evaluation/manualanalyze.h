#ifndef ZENTAVO_MANUALANALYZE_H
#define ZENTAVO_MANUALANALYZE_H

#include "evaluation/tagtable.h"

// The market analysis the appraiser writes for the report: the analysis itself, the
// list of information sources and the conclusions. An analysis not written yet
// reads as a ready-made outline of the headings a report needs.
class ZENTAVO_EXPORT ManualAnalyze
{
public:
    ManualAnalyze();
    virtual ~ManualAnalyze() = default;
    Q_DISABLE_COPY(ManualAnalyze)

    virtual bool save(QIODevice& out) = 0;
    virtual QString& getAnalysis(QString& analysis) = 0;
    virtual void setAnalysis(const QString& analysis) = 0;
    virtual QString& getSources(QString& sources) = 0;
    virtual void setSources(const QString& sources) = 0;
    virtual QString& getConclusions(QString& conclusions) = 0;
    virtual void setConclusions(const QString& conclusions) = 0;
    virtual QString& getDefaultAnalysis(QString& analysis);

    // Answers the three report tags through the getters; false for any other name.
    bool getTag(const QString& name, QString& value, long flags) { return texts.getTag(name, value, flags); }
    // The three report tags.
    static const QStringList& tagNames();

protected:
    enum Field : int { Analysis, Sources, Conclusions };
    // The three texts, reported and written as the getters give them.
    TagTable texts;

private:
    static const TagTable::Fields& fields();
    TagTable::Value text(int field);
};

#endif
