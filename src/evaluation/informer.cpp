#include "evaluation/informer.h"

#include "runtime/singletonregistry.h"

namespace {

constexpr int IconSide = 10;

} // namespace

Informer* Informer::getInstance()
{
    return SingletonRegistry::instance<Informer>();
}

// The standard texts are kept word for word as users have always seen them,
// misspellings included.
Informer::Informer()
{
    messages = {
        {INFO_CONTRACT_DATE, QStringLiteral("Не указана дата договора на оценку")},
        {INFO_MANUFACTURE_DATE, QStringLiteral("Не указана дата производства ТС")},
        {INFO_TOTAL_WEAR, QStringLiteral("Ну казан общий износ ТС")},
        {INFO_CONVERSION_COST, QStringLiteral("Не получилось расчитать затраты на переоборудование")},
        {INFO_CONVERSION_PART_PRICE, QStringLiteral("В таблице переоборудования не указана цена детали(ей)")},
        {INFO_CONVERSION_WORK_COST, QStringLiteral("В таблице переоборудования не казана стоимость работ(ы)")},
        {INFO_CONVERSION_REPLACED_PART_PRICE,
         QStringLiteral("В таблице переоборудования не указана цена замененной детали(ей)")},
        {INFO_CONVERSION_INSTALLED_PART_WEAR,
         QStringLiteral("В таблице переоборудования не указан износ установленной детали(ей)")},
        {INFO_COMPLETION_COST, QStringLiteral("Не получилось расчитать затраты на доукомплектацию")},
        {INFO_REMOVAL_COST, QStringLiteral("Не получилось расчитать затраты на разукомплектацию")},
        {INFO_PART_PRICE, QStringLiteral("В таблице не указана цена детали(ей)")},
        {INFO_WORK_COST, QStringLiteral("В таблице не указана стоимость работ(ы)")},
        {INFO_PART_WEAR, QStringLiteral("В таблице не указан износ детали(ей)")},
        {INFO_FULL_COST, QStringLiteral("Не получилось расчитать полную стоимость")},
        {INFO_FULL_COST_METHOD, QStringLiteral("Не выбран метод расчета полной стоимости")},
        {INFO_INITIAL_COST, QStringLiteral("Не указана начальная стоимость")},
        {INFO_ANALOG_CURRENT_COST, QStringLiteral("Не указана текущая стоимость аналога")},
        {INFO_ANALOG_INITIAL_COST, QStringLiteral("Не указана начальная стоимость аналога")},
        {INFO_PRICE_LIST_COST, QStringLiteral("Не указана стоимость по прайсу")},
        {INFO_BASE_INDEX, QStringLiteral("Не указан базисный индекс")},
        {INFO_PAST_DATE_COST, QStringLiteral("Не указана стоимость на дату в прошлом")},
        {INFO_SLOWDOWN_FACTOR, QStringLiteral("Не выбран коэффициент торможения")},
        {INFO_ANALOG_COST, QStringLiteral("Не указана стоимость аналога")},
        {INFO_REPAIR_COST, QStringLiteral("Не указана стоимость восстановительного ремонта")},
        {INFO_COST_APPROACH, QStringLiteral("Не удалось расчитать стоимость по затратному подходу")},
        {INFO_COST_APPROACH_ANALOG, QStringLiteral("Не удалось расчитать стоимость аналога")},
        {INFO_MARKET_VALUE, QStringLiteral("Не удалось расчитать рыночную стоимость ТС")},
        {INFO_PHYSICAL_WEAR, QStringLiteral("Не удалось расчитать физический износ")},
        {INFO_TYRE_REPLACEMENT_COST, QStringLiteral("Не удалось расчитать стоимость замены шин")},
        {INFO_TYRE_AGE, QStringLiteral("Не удалось расчитать возраст шин")},
        {INFO_TYRE_COUNT, QStringLiteral("Не указано число шин")},
        {INFO_TYRE_WEAR, QStringLiteral("Не указан износ шин")},
        {INFO_TYRE_MAX_WEAR, QStringLiteral("Не удалось расчитать максимальный износ шин")},
        {INFO_BATTERY_REPLACEMENT_COST, QStringLiteral("Не удалось расчитать стоимость замены АКБ")},
        {INFO_BATTERY_WEAR, QStringLiteral("Не указан износ АКБ")},
        {INFO_BATTERY_PHYSICAL_WEAR, QStringLiteral("Не удалось расчитать физический износ АКБ")},
        {INFO_BATTERY_ANALOG_COST, QStringLiteral("Не указана стоимость аналога АКБ")},
        {INFO_EXTERNAL_WEAR, QStringLiteral("Не удалось расчитать совокупный внешний износ")},
        {INFO_OWNERS_EXTERNAL_WEAR,
         QStringLiteral("Не получилось расчитать внешний износ, учитывающий число владельцев")},
        {INFO_COMPARATIVE_APPROACH, QStringLiteral("Не удалось расчитать стоимость по сравнительному подходу")},
        {INFO_COMPARATIVE_APPROACH_ANALOG, QStringLiteral("Не удалось расчитать стоимость аналога")},
        {INFO_APPROXIMATION_METHOD, QStringLiteral("Не удалось выбрать метод аппроксимации")},
    };
}

void Informer::setMissing(info_t headline, info_t detail, const QString& message, status_t status)
{
    missing[headline].insert(detail, Notice{message, status});
}

void Informer::clearMissing(info_t headline)
{
    missing.remove(headline);
}

void Informer::clearMissing(info_t headline, info_t detail)
{
    const auto found = missing.find(headline);
    if (found == missing.end())
        return;
    found->remove(detail);
    if (found->isEmpty())
        missing.erase(found);
}

QString& Informer::getStdMessage(info_t info, QString& out) const
{
    const auto found = messages.constFind(info);
    out = found != messages.constEnd() ? *found
                                       : QStringLiteral("Отсутствует значение №%1").arg(static_cast<int>(info));
    return out;
}

QStringList& Informer::getDependMessages(info_t headline, QStringList& out) const
{
    out.clear();
    const auto found = missing.constFind(headline);
    if (found == missing.constEnd())
        return out;
    QString text;
    for (auto notice = found->constBegin(); notice != found->constEnd(); ++notice)
        out << (notice->message.isEmpty() ? getStdMessage(notice.key(), text) : notice->message);
    return out;
}

QPixmap& Informer::getIcon(info_t headline, QPixmap& out) const
{
    if (!missing.contains(headline)) {
        out = QPixmap();
        return out;
    }
    out = QPixmap(IconSide, IconSide);
    out.fill(Qt::red);
    return out;
}

QStringList& Informer::getAllMessages(QStringList& out) const
{
    out.clear();
    return out;
}
