#include "catalogfeeds.h"

#include <QStringEncoder>
#include <QStringList>

namespace CatalogFeeds {

namespace {

void appendEntry(QByteArray& feed, const char* element, const QByteArray& attributes, const QString& name)
{
    feed += '<' + QByteArray(element) + ' ' + attributes + '>' + name.toHtmlEscaped().toUtf8() + "</"
            + QByteArray(element) + ">\n";
}

QByteArray attribute(const char* name, int value)
{
    return QByteArray(name) + "=\"" + QByteArray::number(value) + "\" ";
}

} // namespace

QByteArray vehicleFeed(int types, int brands, int models)
{
    QByteArray feed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vehicle>\n";
    const char* transmissions[] = {"механика", "автомат", "вариатор"};
    for (int i = 0; i < 3; ++i)
        appendEntry(feed, "trans", attribute("id", i + 1), QString::fromUtf8(transmissions[i]));
    for (int t = 0; t < types; ++t) {
        const QByteArray tread = "treadminheight=\"" + QByteArray::number(1.0 + (t % 4) * 0.6) + "\"";
        appendEntry(feed, "type", attribute("id", 1000 + t) + tread, QStringLiteral("Тип ТС № %1").arg(t));
        appendEntry(feed, "body", attribute("id", 5000 + 2 * t) + attribute("type", 1000 + t), QStringLiteral("Седан"));
        appendEntry(feed, "body", attribute("id", 5001 + 2 * t) + attribute("type", 1000 + t), QStringLiteral("Фургон & K°"));
    }
    for (int b = 0; b < brands; ++b)
        appendEntry(feed, "brand", attribute("id", 100000 + b) + attribute("type", 1000 + b % types),
                    QStringLiteral("Марка-%1").arg(b));
    for (int m = 0; m < models; ++m)
        appendEntry(feed, "model", attribute("id", 1000000 + m) + attribute("brand", 100000 + m % brands),
                    QStringLiteral("Модель %1 «%2»").arg(m / brands).arg(m));
    return feed + "</vehicle>\n";
}

QByteArray bankLine(const QString& bic, const QString& rc, const QString& name)
{
    QStringList fields{QStringLiteral("12"), QStringLiteral("Москва"), QStringLiteral("ул. Тверская"), name,
                       QStringLiteral("495"), bic};
    if (!rc.isNull())
        fields.append(rc);
    QStringEncoder windows1251("windows-1251");
    return QByteArray(windows1251(fields.join(QLatin1Char('\t')))) + "\r\n";
}

QByteArray bankLines(int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += bankLine(QStringLiteral("0445%1").arg(i, 5, 10, QLatin1Char('0')),
                          QStringLiteral("301018104%1").arg(i, 11, 10, QLatin1Char('0')),
                          QStringLiteral("ПАО Банк «Номер %1»").arg(i));
    return lines;
}

} // namespace CatalogFeeds
