#include "evaluation/manualanalyze.h"

const TagTable::Fields& ManualAnalyze::fields()
{
    using Kind = TagTable::Kind;
    using Mode = TagTable::Mode;
    static const TagTable::Fields described = {
        {QStringLiteral("АНАЛИЗ_РЫНКА"), Kind::Text, Mode::Computed},
        {QStringLiteral("ПЕРЕЧЕНЬ_ИСТОЧНИКОВ"), Kind::Text, Mode::Computed},
        {QStringLiteral("ВЫВОДЫ_ПО_АНАЛИЗУ"), Kind::Text, Mode::Computed},
    };
    return described;
}

const QStringList& ManualAnalyze::tagNames()
{
    static const QStringList names = TagTable::reportedNames(fields());
    return names;
}

// The texts live where the implementation keeps them; the table only names them.
ManualAnalyze::ManualAnalyze() : texts(nullptr, fields(), [this](int field) { return text(field); })
{
}

TagTable::Value ManualAnalyze::text(int field)
{
    QString value;
    switch (field) {
    case Analysis:
        return getAnalysis(value);
    case Sources:
        return getSources(value);
    default:
        return getConclusions(value);
    }
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
