#include "renderfixture.h"

#include "catalog/appraisalcompany.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "report/templatetodocument.h"

#include <QPixmap>
#include <QSignalSpy>

namespace RenderFixture {

QColor photoColour(int i)
{
    return QColor::fromHsv(i * 70, 255, 220);
}

QImage solid(const QColor& colour, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool sameColour(const QImage& image, const QColor& colour)
{
    const QColor pixel = image.pixelColor(image.width() / 2, image.height() / 2);
    return qAbs(pixel.red() - colour.red()) < 12 && qAbs(pixel.green() - colour.green()) < 12
        && qAbs(pixel.blue() - colour.blue()) < 12;
}

Evaluation::Evaluation(int photos, bool withGraphic, bool withLogo)
{
    storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("17/2026"));
    storage.setTag(QStringLiteral("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), QStringLiteral("Тверь"));
    for (int i = 0; i < photos; ++i)
        storage.addPhotoImage(solid(photoColour(i)));
    if (withGraphic) {
        comparative.setImages({QPixmap::fromImage(solid(graphicColour, 400, 300))});
        ae.registerApproach(APPROACH_COMPARATIVE, comparative);
    }
    if (withLogo)
        ae.getAppraiserList()->addAppraiser(1)->getAppraisalCompany()->setLogo(solid(logoColour, 64, 64));
}

QHash<QString, QString> reportTags()
{
    const QList<std::pair<const char*, const char*>> values = {
        {"МАРКА_ТС", "Лада"}, {"МОДЕЛЬ_ТС", "Веста"}, {"РЕГИСТРАЦИОННЫЙ_ЗНАК", "А123ВС69"},
        {"VIN", "XTA210990Y2765432"}, {"ПТС", "69 ОК 123456"}, {"ЦВЕТ_КУЗОВА", "белый"},
        {"ОБОРУДОВАНИЕ_0", "Фаркоп"}, {"ОБОРУДОВАНИЕ_ЦЕНА_0", "12 000"}, {"ОБОРУДОВАНИЕ_1", "Багажник"},
        {"ОБОРУДОВАНИЕ_ЦЕНА_1", "8 500"}, {"ДЕТАЛЬ_0", "Дверь"}, {"ДЕТАЛЬ_ЦЕНА_0", "21 300"},
        {"ДЕТАЛЬ_1", "Капот"}, {"ДЕТАЛЬ_ЦЕНА_1", "17 900"}, {"ДЕТАЛЬ_2", "Бампер <задний> & усилитель"},
        {"ДЕТАЛЬ_ЦЕНА_2", "9 100"}, {"ИТОГОВАЯ_СТОИМОСТЬ", "654 000"}, {"ОЦЕНЩИК_ФИО", "Петров П. П."},
        {"НОМЕР_АКТА_ОСМОТРА", "41"}, {"ПОВРЕЖДЕНИЕ_0", "Вмятина"}, {"РЕМОНТ_0", "Рихтовка"},
        {"ПРИЛОЖЕНИЕ_0", "ПТС"}, {"ПРИЛОЖЕНИЕ_1", "СТС"}, {"ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ_0", "Фаркоп"},
        {"ДОУКОМПЛЕКТАЦИЯ_ДЕТАЛЬ_1", "Багажник"}};
    QHash<QString, QString> tags;
    for (const auto& [name, value] : values)
        tags.insert(QString::fromUtf8(name), QString::fromUtf8(value));
    return tags;
}

const QList<ExpectedText>& expectedTexts()
{
    static const QList<ExpectedText> texts = {
        {"report body", "report", ExpectedText::Body,
         {"ОТЧЁТ № 17/2026 об оценке", "Объект оценки: Лада Веста, государственный регистрационный знак А123ВС69.",
          "заключён в городе Тверь.", "Идентификационный номер (VIN): XTA210990Y2765432.", "Кузов белого цвета",
          "1. Фаркоп — 12 000 руб.2. Багажник — 8 500 руб.", "1Дверь21 3002Капот17 9003Бампер <задний> & усилитель9 100"},
         {"Паспорт транспортного средства", "<#", "<?", "3. "}},
        {"report header", "report", ExpectedText::Header, {"Отчёт № 17/2026"}, {"<#"}},
        {"report footer", "report", ExpectedText::Footer, {"Лада Веста — стр."}, {"<#"}},
        {"photo sheet", "photos", ExpectedText::Body, {"Фототаблица к отчёту № 17/2026", "Оценщик: Петров П. П."}, {"<#"}},
        {"act", "act", ExpectedText::Body,
         {"АКТ ОСМОТРА № 41", "1ВмятинаРихтовка", "1) Приложение: ПТС2) Приложение: СТС"},
         {"Особые отметки", "<#", "<?"}},
        {"tags split by formatting", "splittags", ExpectedText::Body,
         {"Объект оценки: Лада Веста — важно.", "VIN: XTA210990Y2765432", "Цвет: белый.", "1. Фаркоп2. Багажник"},
         {"<#", "<?", "не представлен"}},
        {"act footer", "act", ExpectedText::Footer, {"Оценщик Петров П. П."}, {"<#"}},
    };
    return texts;
}

bool run(TemplateToDocument& generator, const QString& templatePath, const QString& output)
{
    QSignalSpy done(&generator, &TemplateToDocument::done);
    if (!generator.make(templatePath, output))
        return false;
    return done.count() == 1 || (done.wait(10000) && done.count() == 1);
}

} // namespace RenderFixture
