#include "evaluation/manualanalyze.h"

const QStringList& ManualAnalyze::tagNames()
{
    static const QStringList names = {
        QStringLiteral("АНАЛИЗ_РЫНКА"),
        QStringLiteral("ПЕРЕЧЕНЬ_ИСТОЧНИКОВ"),
        QStringLiteral("ВЫВОДЫ_ПО_АНАЛИЗУ"),
    };
    return names;
}

ManualAnalyze::ManualAnalyze()
    : analysisTag(tagNames().at(0)),
      sourcesTag(tagNames().at(1)),
      conclusionsTag(tagNames().at(2))
{
}

QString& ManualAnalyze::getDefaultAnalysis(QString& analysis)
{
    // The tripled "о" in "ценоообразующим" stays on purpose: evaluations saved
    // earlier hold this outline word for word.
    analysis = QStringLiteral(
        "Анализ рынка объекта оценки:\n"
        "Анализ других внешних факторов, не относящихся непосредственно к объекту оценки, "
        "но влияющих на его стоимость:\n"
        "Информация по всем ценоообразующим факторам, использующимся при определении стоимости:\n"
        "Описание значений или диапазонов значений ценоообразующих факторов:");
    return analysis;
}

bool ManualAnalyze::getTag(const QString& name, QString& value, long)
{
    if (name == analysisTag)
        getAnalysis(value);
    else if (name == sourcesTag)
        getSources(value);
    else if (name == conclusionsTag)
        getConclusions(value);
    else
        return false;
    return true;
}
