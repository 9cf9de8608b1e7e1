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
      plainOpening(left + QLatin1Char('#')),
      plainClosing(QLatin1Char('#') + right),
      meta(minimal(withBrackets(QStringLiteral(R"(%1%([^%]+)%%2)"), left, right))),
      metaOpening(metaTagOpening(left)),
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

// Where a tag's flags end, at the "#" of its closing, given where they start: each flag
// is "#" and one or two word characters, and as few are taken as let the tag close, as
// the pattern's lazy quantifiers take them. After a one-character flag the next "#"
// decides (a second character cannot be "#"), so the tag is read in one pass.
qsizetype TagPatterns::flagsEnd(QStringView text, qsizetype at) const
{
    while (true) {
        if (text.mid(at).startsWith(plainClosing))
            return at;
        if (at >= text.size() || text[at] != u'#')
            return -1;
        const qsizetype first = at + 1 + wordLength(text, at + 1);
        if (first == at + 1)
            return -1;
        if (first < text.size() && text[first] == u'#') {
            at = first;
            continue;
        }
        const int second = wordLength(text, first);
        if (second == 0)
            return -1;
        at = first + second;
    }
}

// The UTF-16 length of the letter, digit or underscore at a position (what \w matches
// with Unicode properties); 0 for anything else.
int TagPatterns::wordLength(QStringView text, qsizetype at)
{
    if (at >= text.size())
        return 0;
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return QChar::isLetterOrNumber(QChar::surrogateToUcs4(c, text[at + 1])) ? 2 : 0;
    return c == u'_' || c.isLetterOrNumber() ? 1 : 0;
}

qsizetype TagPatterns::indexOf(QStringView text, QStringView needle, qsizetype from)
{
    if (needle.isEmpty())
        return -1;
    const QChar first = needle.front();
    for (qsizetype at = text.indexOf(first, from); at >= 0; at = text.indexOf(first, at + 1))
        if (text.mid(at).startsWith(needle))
            return at;
    return -1;
}

bool TagPatterns::findPlainTag(QStringView text, qsizetype from, PlainTag& tag) const
{
    for (qsizetype at = indexOf(text, plainOpening, from); at >= 0; at = indexOf(text, plainOpening, at + 1)) {
        const qsizetype nameStart = at + plainOpening.size();
        const qsizetype nameEnd = text.indexOf(u'#', nameStart);
        if (nameEnd < 0)
            return false; // no tag can close without a "#" further on
        const qsizetype end = nameEnd > nameStart ? flagsEnd(text, nameEnd) : -1;
        if (end < 0)
            continue;
        tag = {at, end + plainClosing.size(), text.mid(nameStart, nameEnd - nameStart), text.mid(nameEnd, end - nameEnd)};
        return true;
    }
    return false;
}

QList<QStringView> TagPatterns::flagsOf(QStringView flags)
{
    QList<QStringView> each;
    for (qsizetype at = flags.indexOf(u'#'); at >= 0; at = flags.indexOf(u'#', at + 1))
        each.append(flags.mid(at, 1 + wordLength(flags, at + 1)));
    return each;
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
