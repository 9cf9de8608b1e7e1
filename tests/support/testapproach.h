#ifndef ZENTAVO_TESTAPPROACH_H
#define ZENTAVO_TESTAPPROACH_H

#include "model/evaluationapproach.h"

#include <QList>

class EvaluationStorage;

// A valuation approach as a host would write one, kept small: its cost and the full
// cost of the analogue live in its own tags "<key>_СТОИМОСТЬ" and
// "<key>_СТОИМОСТЬ_АНАЛОГА", which it saves, reloads and answers to reports.
class TestApproach : public EvaluationApproach
{
public:
    TestApproach(EvaluationStorage& storage, QString name, QString tagKey);

    // The cost approach ("Затратный подход", key "ЗП") and the comparative one
    // ("Сравнительный подход", key "СП").
    static TestApproach cost(EvaluationStorage& storage);
    static TestApproach comparative(EvaluationStorage& storage);

    void setCost(const Money& value) { approachCost = value; }
    void setAnalogFullCost(const Money& value) { analogFullCost = value; }

    bool getTag(const QString& name, QString& value, tagflag_t flags) override;
    void save(QuaZipFile& file) override;
    void clear() override;
    void load() override;
    QString& getName(QString& out) override;
    QString& getTagKey(QString& out) override;
    Money& getAnalogFullCost(Money& out) override;
    Money& getCost(Money& out) override;
    // The charts it hands to reports; none unless set.
    void setImages(const QList<QPixmap>& charts) { images = charts; }
    int getImageCount() override { return int(images.size()); }
    QPixmap& getImage(int index, QPixmap& image) override
    {
        image = images.value(index);
        return image;
    }

private:
    EvaluationStorage& storage;
    QString name;
    QString key;
    QString costTag;
    QString analogTag;
    Money approachCost;
    Money analogFullCost;
    QList<QPixmap> images;
};

#endif
