#ifndef ZENTAVO_TOOL_HOSTAPPROACH_H
#define ZENTAVO_TOOL_HOSTAPPROACH_H

#include "evaluation/evaluationapproach.h"

#include <QStringList>

class EvaluationStorage;

// A valuation approach of the tool that keeps everything in the evaluation's tags: its
// inputs are tags whose names begin with its key and "_", which it saves into the
// evaluation file and answers to reports as stored; its results are computed from them
// on every request, so there is no state to clear or reload.
class HostApproach : public EvaluationApproach
{
public:
    HostApproach(EvaluationStorage& storage, QString name, QString key);

    bool getTag(const QString& name, QString& value, tagflag_t flags) override;
    void save(QuaZipFile& file) override;
    void clear() override {}
    void load() override {}
    QString& getName(QString& out) override;
    QString& getTagKey(QString& out) override;
    Money& getAnalogFullCost(Money& cost) override;
    int getImageCount() override { return 0; }
    QPixmap& getImage(int index, QPixmap& image) override;

protected:
    // The names of the input tags the evaluation holds now.
    virtual QStringList storedTags() const = 0;
    // Answers a computed tag; false for any other name.
    virtual bool computedTag(const QString& name, QString& value, tagflag_t flags) = 0;

    QString text(const QString& name) const;
    Money money(const QString& name) const;
    // A percentage tag; 0 when absent.
    double percent(const QString& name) const;
    static Money wholeRubles(double rubles);
    static QString& answerMoney(const Money& amount, QString& value, tagflag_t flags);

    EvaluationStorage& storage;

private:
    QString name;
    QString key;
};

#endif
