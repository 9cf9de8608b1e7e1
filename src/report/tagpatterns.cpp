#include "report/tagpatterns.h"

namespace {

// "%1"/"%3" stand for the left bracket, "%2"/"%4" for the right one.
QString withBrackets(const QString& pattern, const QString& left, const QString& right)
{
    const QString l = QRegularExpression::escape(left);
    const QString r = QRegularExpression::escape(right);
    return QString(pattern)
        .replace(QLatin1String("%1"), l)
        .replace(QLatin1String("%2"), r)
        .replace(QLatin1String("%3"), l)
        .replace(QLatin1String("%4"), r);
}

const char* const conditionForms[TagPatterns::CONDITION_FORMS] = {
    R"(%1\?([^\?!=]+)\?%2([^\?]+)%3\?%4)",
    R"(%1\?([^\?!=]+)\?%2(.+)%3\?/\1\?%4)",
    R"(%1\?([^\?!=]+)!\?%2(.+)%3\?/\1\?%4)",
    R"(%1\?([^\?!=]+)!([\d\s\w]+)\?%2(.+)%3\?/\1\?%4)",
    R"(%1\?([^\?!=]+)=([\d\s\w]+)\?%2(.+)%3\?/\1\?%4)",
};

} // namespace

TagPatterns::TagPatterns(const QString& left, const QString& right, const QRegularExpression& tableLine,
                         const QRegularExpression& paragraph)
    : plain(minimal(withBrackets(QStringLiteral(R"(%1#([^#]+)((?:#\w[\w\d]?)*)#%2)"), left, right))),
      meta(minimal(withBrackets(QStringLiteral(R"(%1%([^%]+)%%2)"), left, right))),
      conditionBlocks(left, right),
      tableLineBlock(tableLine),
      paragraphBlock(paragraph),
      tableMarker(left + QLatin1Char('#') + RowMarkerName + QLatin1Char('#') + right),
      paragraphMarkerText(left + QLatin1Char('#') + ParagraphMarkerName + QLatin1Char('#') + right)
{
    for (int form = 0; form < CONDITION_FORMS; ++form)
        conditions[form] = minimal(withBrackets(QString::fromLatin1(conditionForms[form]), left, right));
}

const QString TagPatterns::RowMarkerName = QStringLiteral("НОМЕР_СТРОКИ");
const QString TagPatterns::ParagraphMarkerName = QStringLiteral("НОМЕР_ПАРАГРАФА");

bool TagPatterns::isMarkerName(const QString& name)
{
    return name == RowMarkerName || name == ParagraphMarkerName;
}

const QRegularExpression& TagPatterns::flag()
{
    static const QRegularExpression pattern = minimal(QStringLiteral(R"((#\w[\w\d]?))"));
    return pattern;
}

QRegularExpression TagPatterns::minimal(const QRegularExpression& pattern)
{
    return minimal(pattern.pattern());
}

QRegularExpression TagPatterns::minimal(const QString& pattern)
{
    QRegularExpression compiled(pattern, QRegularExpression::UseUnicodePropertiesOption
                                             | QRegularExpression::DotMatchesEverythingOption
                                             | QRegularExpression::InvertedGreedinessOption);
    compiled.optimize();
    return compiled;
}
