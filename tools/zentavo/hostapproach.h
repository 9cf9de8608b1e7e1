#ifndef ZENTAVO_TOOL_HOSTAPPROACH_H
#define ZENTAVO_TOOL_HOSTAPPROACH_H

#include "model/evaluationapproach.h"

#include <QStringList>

class EvaluationTagStorage;

// A valuation approach of the tool that keeps everything in the evaluation's tags: its
// inputs are tags whose names begin with its key and "_", which it saves into the
// evaluation file and answers to reports in the library's report forms; its results are
// computed from them on every request, so there is no state to clear or reload.
class HostApproach : public EvaluationApproach
{
public:
    enum class Input { NotMine, Taken, Refused };

    HostApproach(EvaluationTagStorage& storage, QString name, QString key);

    bool getTag(const QString& name, QString& value, tagflag_t flags) override;
    void save(QuaZipFile& file) override;
    void clear() override {}
    void load() override {}
    QString& getName(QString& out) override;
    QString& getTagKey(QString& out) override;
    Money& getAnalogFullCost(Money& cost) override;
    int getImageCount() override { return 0; }
    QPixmap& getImage(int index, QPixmap& image) override;

    // A value typed for one of the approach's inputs, in the form stored, or why it is
    // refused; NotMine for a tag that is not an input of this approach.
    Input takeInput(const QString& tag, const QString& typed, QString& stored, QString& why) const;

protected:
    enum class Kind { None, Amount, Percent };

    // The names of the input tags the evaluation holds now.
    virtual QStringList storedTags() const = 0;
    // Answers a computed tag; false for any other name.
    virtual bool computedTag(const QString& name, QString& value, tagflag_t flags) = 0;
    virtual Kind kindOf(const QString& tag) const = 0;
    // Whether a percentage input may hold the value; range tells the allowed values.
    virtual bool allows(const QString& tag, double percent, QString& range) const = 0;

    QString text(const QString& name) const;
    // An amount input; null when absent or not a number.
    Money money(const QString& name) const;
    // A percentage input; 0 when absent, NaN when it is not a number.
    double percent(const QString& name) const;
    static Money wholeRubles(double rubles);
    static QString& answerMoney(const Money& amount, QString& value, tagflag_t flags);

    EvaluationTagStorage& storage;

private:
    QString name;
    QString key;
};

#endif
