#ifndef ZENTAVO_TOOL_COMPARATIVEAPPROACH_H
#define ZENTAVO_TOOL_COMPARATIVEAPPROACH_H

#include "hostapproach.h"

#include <QMap>

// The comparative approach ("Сравнительный подход", key "СП"): offers of similar
// vehicles (analogues), each adjusted for its differences from the vehicle valued.
// Analogues are numbered from 0, as the rows of a report table:
//   СП_АНАЛОГ_N                   the analogue's description (input)
//   СП_ЦЕНА_АНАЛОГА_N             its offer price (input)
//   СП_КОРРЕКТИРОВКА_N            the sum of its adjustments, percent above -100 (input)
//   СП_СКОРРЕКТИРОВАННАЯ_ЦЕНА_N   = price × (1 + adjustment / 100), whole rubles
//   СП_КОЛИЧЕСТВО_АНАЛОГОВ        the number of analogues with a price
//   СП_СТОИМОСТЬ                  = the mean adjusted price, whole rubles
// Every analogue with a price counts, whatever rows before it lack. Its one chart
// (graphic 0 of a report) shows the adjusted prices and the result.
class ComparativeApproach : public HostApproach
{
public:
    explicit ComparativeApproach(EvaluationTagStorage& storage);

    Money& getCost(Money& cost) override;
    int getImageCount() override;
    QPixmap& getImage(int index, QPixmap& image) override;

protected:
    QStringList storedTags() const override;
    bool computedTag(const QString& name, QString& value, tagflag_t flags) override;
    Kind kindOf(const QString& tag) const override;
    bool allows(const QString& tag, double percent, QString& range) const override;

private:
    // The adjusted price of every analogue that has one, by row.
    QMap<int, Money> adjustedPrices() const;
    Money adjustedPrice(int index) const;
};

#endif
