#include "comparativeapproach.h"

#include "toolconsole.h"

#include "evaluation/evaluationtagstorage.h"
#include "values/tagutils.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QString descriptionBase = QStringLiteral("СП_АНАЛОГ");
const QString priceBase = QStringLiteral("СП_ЦЕНА_АНАЛОГА");
const QString adjustmentBase = QStringLiteral("СП_КОРРЕКТИРОВКА");
const QString adjustedBase = QStringLiteral("СП_СКОРРЕКТИРОВАННАЯ_ЦЕНА");
const QString countTag = QStringLiteral("СП_КОЛИЧЕСТВО_АНАЛОГОВ");
const QString costTag = QStringLiteral("СП_СТОИМОСТЬ");

// The amount as the report's text writes it, so chart and text agree.
QString rubles(const Money& amount)
{
    QString text;
    return TagUtils::condProcessFlagMONEY(0, amount, text) + QStringLiteral(" руб.");
}

// Bars of the adjusted prices with their values, the analogue numbers beneath, and a
// dashed line at the result.
QImage drawChart(const QMap<int, Money>& prices, const Money& result)
{
    const int width = 900, height = 500, left = 60, right = 30, top = 90, bottom = 60;
    QImage chart(width, height, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(16);
    painter.setFont(font);

    double highest = result.getRubles();
    for (const Money& price : prices)
        highest = std::max(highest, price.getRubles());
    highest = std::max(highest * 1.15, 1.0);
    const int plotHeight = height - top - bottom;
    const auto yOf = [&](double value) { return top + plotHeight - int(value / highest * plotHeight); };

    painter.drawText(QRect(0, 10, width, 30), Qt::AlignCenter, QStringLiteral("Скорректированные цены аналогов"));
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(left, top + plotHeight, width - right, top + plotHeight);

    const int slot = (width - left - right) / int(std::max<qsizetype>(prices.size(), 1));
    int i = 0;
    for (auto price = prices.cbegin(); price != prices.cend(); ++price, ++i) {
        const int x = left + i * slot + slot / 5;
        const int y = yOf(price->getRubles());
        const QRect bar(x, y, slot * 3 / 5, top + plotHeight - y);
        painter.fillRect(bar, QColor(70, 110, 170));
        painter.setPen(Qt::black);
        painter.drawText(QRect(x - 20, y - 26, bar.width() + 40, 24), Qt::AlignCenter, rubles(*price));
        painter.drawText(QRect(x - 20, top + plotHeight + 8, bar.width() + 40, 24), Qt::AlignCenter,
                         QStringLiteral("Аналог %1").arg(price.key() + 1));
    }
    const int resultY = yOf(result.getRubles());
    painter.setPen(QPen(QColor(190, 40, 40), 3, Qt::DashLine));
    painter.drawLine(left, resultY, width - right, resultY);
    painter.drawText(QRect(left, 34, width - left - right, 24), Qt::AlignRight,
                     QStringLiteral("- - -  стоимость: %1").arg(rubles(result)));
    return chart;
}

} // namespace

ComparativeApproach::ComparativeApproach(EvaluationTagStorage& storage)
    : HostApproach(storage, QStringLiteral("Сравнительный подход"), QStringLiteral("СП"))
{
}

// No adjusted price for an analogue without a price, or with an adjustment that is no
// percentage above -100.
Money ComparativeApproach::adjustedPrice(int index) const
{
    QString name, range;
    const Money price = money(TagUtils::appendIndex(priceBase, index, name));
    const double adjustment = percent(TagUtils::appendIndex(adjustmentBase, index, name));
    if (price.isNull() || std::isnan(adjustment) || !allows(name, adjustment, range))
        return Money();
    return wholeRubles(price.getRubles() * (1.0 + adjustment / 100.0));
}

QMap<int, Money> ComparativeApproach::adjustedPrices() const
{
    QMap<int, Money> prices;
    int index = -1;
    QString base;
    for (const QString& name : storage.getTagNamesStartingWith(priceBase)) {
        if (!TagUtils::extractIndex(name, index, base) || base != priceBase || prices.contains(index))
            continue;
        const Money price = adjustedPrice(index);
        if (!price.isNull())
            prices.insert(index, price);
    }
    return prices;
}

Money& ComparativeApproach::getCost(Money& cost)
{
    const QMap<int, Money> prices = adjustedPrices();
    double sum = 0;
    for (const Money& price : prices)
        sum += price.getRubles();
    cost = prices.isEmpty() ? Money() : wholeRubles(sum / double(prices.size()));
    return cost;
}

int ComparativeApproach::getImageCount()
{
    return adjustedPrices().isEmpty() ? 0 : 1;
}

QPixmap& ComparativeApproach::getImage(int index, QPixmap& image)
{
    if (index != 0 || getImageCount() == 0)
        return HostApproach::getImage(index, image);
    Money cost;
    image = QPixmap::fromImage(drawChart(adjustedPrices(), getCost(cost)));
    return image;
}

// Every analogue row the evaluation holds, whatever rows before it lack; a row with a
// description but no price yet is kept too.
QStringList ComparativeApproach::storedTags() const
{
    QStringList names;
    int index = -1;
    QString base;
    for (const QString& name : storage.getTagNamesStartingWith(QStringLiteral("СП_"))) {
        if (TagUtils::extractIndex(name, index, base)
            && (base == descriptionBase || base == priceBase || base == adjustmentBase))
            names.append(name);
    }
    return names;
}

bool ComparativeApproach::computedTag(const QString& name, QString& value, tagflag_t flags)
{
    Money amount;
    if (name == costTag) {
        answerMoney(getCost(amount), value, flags);
        return true;
    }
    if (name == countTag) {
        value = QString::number(adjustedPrices().size());
        return true;
    }
    int index = -1;
    QString base;
    if (TagUtils::extractIndex(name, index, base) && base == adjustedBase) {
        answerMoney(adjustedPrice(index), value, flags);
        return true;
    }
    return false;
}

HostApproach::Kind ComparativeApproach::kindOf(const QString& tag) const
{
    int index = -1;
    QString base;
    if (!TagUtils::extractIndex(tag, index, base))
        return Kind::None;
    if (base == priceBase)
        return Kind::Amount;
    return base == adjustmentBase ? Kind::Percent : Kind::None;
}

bool ComparativeApproach::allows(const QString&, double percent, QString& range) const
{
    range = ToolConsole::tr("above -100");
    return percent > -100.0;
}
