#include "report/templatepasses.h"

#include "evaluation/autoevaluation.h"
#include "report/blockpattern.h"
#include "report/tagpatterns.h"
#include "report/templatetodocument.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

namespace {

// What each form of ConditionMarkup shows on, in the same order.
const condtype_t conditionTypes[ConditionMarkup::FORMS] = {COND_NOT_EMPTY, COND_NOT_EMPTY, COND_EMPTY,
                                                           COND_NOT_EQUAL, COND_EQUAL};

// How much of a block's text names it in a failure.
constexpr int NamedBlockLength = 100;

} // namespace

TemplatePasses::TemplatePasses(TemplateToDocument& generator) : generator(generator) {}

TemplatePasses::~TemplatePasses() = default;

bool TemplatePasses::run(QString& text)
{
    bool hadValue = false;
    if (!expandMetaTags(text) || !decideConditions(text) || !repeatTableRows(text) || !repeatParagraphs(text)
        || !replaceTags(text, -1, hadValue))
        return false;
    generator.removeMissingPictures(text);
    return true;
}

void TemplatePasses::stop(const QString& why)
{
    if (reason.isEmpty())
        reason = why;
}

// Stops the passes when out has grown past the bound.
bool TemplatePasses::isPastSizeLimit(const QString& out)
{
    if (out.size() <= TemplateToDocument::MAX_OUTPUT_TEXT)
        return false;
    if (!stopped()) {
        LOG_WARNING() << "the document's text grows past" << TemplateToDocument::MAX_OUTPUT_TEXT
                      << "characters; not written";
        stop(tr("the document's text would grow past %1 characters").arg(TemplateToDocument::MAX_OUTPUT_TEXT));
    }
    return true;
}

template <typename Next, typename ValueOf>
TemplatePasses::Substituted TemplatePasses::substitute(QStringView text, Next next, qsizetype reserved,
                                                       ValueOf valueOf, QString& out)
{
    qsizetype start = 0;
    qsizetype end = 0;
    if (!next(start, end))
        return stopped() ? Substituted::Stopped : Substituted::Nothing;
    QHash<QStringView, QString> values; // found text -> value, within this text
    out.resize(0);
    out.reserve(reserved);
    qsizetype copied = 0;
    do {
        out.append(text.mid(copied, start - copied));
        const QStringView whole = text.mid(start, end - start);
        auto value = values.constFind(whole);
        if (value == values.constEnd())
            value = values.insert(whole, valueOf());
        if (stopped())
            return Substituted::Stopped;
        out.append(*value);
        copied = end;
        if (isPastSizeLimit(out))
            return Substituted::Stopped;
    } while (next(start, end));
    out.append(text.mid(copied));
    return stopped() ? Substituted::Stopped : Substituted::Some;
}

// The buffer of an earlier text: a pass writes into room that is already the process's,
// and a render does not take fresh pages from the system for each pass of each part.
QString TemplatePasses::takeSpare()
{
    return std::exchange(spare, QString());
}

// The text a pass replaced becomes the next pass's room.
void TemplatePasses::replaceText(QString& text, QString& out)
{
    spare = std::move(text);
    text = std::move(out);
}

void TemplatePasses::startTagCache()
{
    resolvedTags.clear();
    cachingTags = true;
}

void TemplatePasses::endTagCache()
{
    cachingTags = false;
    resolvedTags.clear();
}

const TagPatterns& TemplatePasses::patterns()
{
    if (!tagPatterns) {
        tagPatterns = std::make_unique<TagPatterns>(generator.leftTagBracket(), generator.rightTagBracket(),
                                                    generator.tableLineRegExp(), generator.paragraphRegExp());
    }
    return *tagPatterns;
}

QString TemplatePasses::resolve(const QString& name, long flags)
{
    if (!cachingTags) {
        QString value;
        return generator.fitForDocument(generator.getTag(name, value, flags));
    }
    const QString key = QString::number(flags) + QLatin1Char(':') + name;
    auto cached = resolvedTags.constFind(key);
    if (cached == resolvedTags.constEnd()) {
        QString value;
        cached = resolvedTags.insert(key, generator.fitForDocument(generator.getTag(name, value, flags)));
    }
    return *cached;
}

// ---- tags ----

QString TemplatePasses::resolvePlainTag(QStringView name, QStringView flags, int index, bool& hadValue)
{
    if (index >= 0 && (name.contains(TagPatterns::RowMarkerName) || name.contains(TagPatterns::ParagraphMarkerName)))
        return QString::number(index + 1);
    QString fullName;
    TagUtils::appendIndexIfAny(name.toString(), index, fullName);
    long flagWord = 0;
    for (const QStringView flag : TagPatterns::flagsOf(flags))
        flagWord |= TemplateToDocument::parseTagFlag(flag.toString());
    QString value = resolve(fullName, flagWord);
    if (!value.isNull())
        hadValue = true;
    return value;
}

bool TemplatePasses::replaceTags(QString& text, int index, bool& hadValue)
{
    QString out = takeSpare();
    const Substituted result = substituteTags(text, plainTagsOf(text), index, hadValue, out);
    if (result == Substituted::Some)
        replaceText(text, out);
    else
        spare = std::move(out);
    return result != Substituted::Stopped;
}

QList<TagPatterns::PlainTag> TemplatePasses::plainTagsOf(QStringView text)
{
    QList<TagPatterns::PlainTag> tags;
    TagPatterns::PlainTag tag;
    for (qsizetype from = 0; patterns().findPlainTag(text, from, tag); from = tag.end)
        tags.append(tag);
    return tags;
}

// Every tag of text (tags, as plainTagsOf() found them) replaced by its value, into out:
// a repeated block's tags are found once for every copy made of it.
TemplatePasses::Substituted TemplatePasses::substituteTags(QStringView text, const QList<TagPatterns::PlainTag>& tags,
                                                           int index, bool& hadValue, QString& out)
{
    qsizetype found = 0;
    const auto next = [&](qsizetype& start, qsizetype& end) {
        if (found == tags.size())
            return false;
        start = tags.at(found).start;
        end = tags.at(found).end;
        ++found;
        return true;
    };
    const auto value = [&] {
        const TagPatterns::PlainTag& tag = tags.at(found - 1);
        return resolvePlainTag(tag.name, tag.flags, index, hadValue);
    };
    return substitute(text, next, text.size() + text.size() / 8, value, out);
}

// ---- repeated blocks ----

bool TemplatePasses::repeatBlocks(QString& text, const QRegularExpression& block, const QString& marker)
{
    return repeat(text, BlockPattern(block), marker);
}

bool TemplatePasses::repeatParagraphs(QString& text)
{
    const TagPatterns& language = patterns();
    return repeat(text, language.paragraph(), language.paragraphMarker());
}

bool TemplatePasses::repeatTableRows(QString& text)
{
    const TagPatterns& language = patterns();
    return repeat(text, language.tableLine(), language.tableLineMarker());
}

bool TemplatePasses::repeat(QString& text, const BlockPattern& block, const QString& marker)
{
    // Most parts repeat nothing: one search spares reading every block of them.
    if (TagPatterns::indexOf(text, marker) < 0)
        return !stopped();
    const QStringView view(text);
    QString out;
    qsizetype copied = 0;
    qsizetype start = 0;
    qsizetype end = 0;
    for (BlockPattern::Blocks blocks = block.in(view); blocks.next(start, end);) {
        const QStringView body = view.mid(start, end - start);
        if (!body.contains(marker))
            continue;
        if (copied == 0) {
            out = takeSpare();
            out.resize(0);
            out.reserve(text.size() * 2);
        }
        out.append(view.mid(copied, start - copied));
        const QList<TagPatterns::PlainTag> tags = plainTagsOf(body);
        for (int copies = 0;; ++copies) {
            QString copy;
            bool hadValue = false;
            const Substituted result = substituteTags(body, tags, copies, hadValue, copy);
            if (result == Substituted::Stopped || !hadValue)
                break;
            if (copies == TemplateToDocument::MAX_BLOCK_COPIES) {
                LOG_WARNING() << "a repeated block has more than" << TemplateToDocument::MAX_BLOCK_COPIES
                              << "items; marker" << marker;
                const QString named = generator.visibleText(body).simplified().left(NamedBlockLength);
                stop(tr("a repeated block has more than %1 items, so the document would lack some: \"%2\"")
                         .arg(QString::number(TemplateToDocument::MAX_BLOCK_COPIES), named));
                return false;
            }
            out.append(copy);
            if (isPastSizeLimit(out))
                return false;
        }
        if (stopped())
            return false;
        copied = end;
    }
    if (copied == 0)
        return !stopped();
    out.append(view.mid(copied));
    replaceText(text, out);
    return !stopped();
}

// ---- conditions ----

// The markers are found again only after a form changed the text: cutting a block out
// may bring two halves of a new marker together.
bool TemplatePasses::decideConditions(QString& text)
{
    const ConditionMarkup& markup = patterns().conditionMarkup();
    QList<ConditionMarkup::Marker> markers = markup.find(text);
    for (int form = 0; form < ConditionMarkup::FORMS && !markers.isEmpty(); ++form) {
        if (markup.apply(text, markers, ConditionMarkup::Form(form), decisionOf(conditionTypes[form])))
            markers = markup.find(text);
    }
    return !stopped();
}

bool TemplatePasses::decideConditions(QString& text, const QRegularExpression& re, condtype_t type)
{
    const TagPatterns& language = patterns();
    for (int form = 0; form < ConditionMarkup::FORMS; ++form) {
        if (re.pattern() == language.condition(form).pattern()) {
            decideConditions(text, language.conditionMarkup(), ConditionMarkup::Form(form), type);
            return !stopped();
        }
    }
    const QRegularExpression minimal = (re.patternOptions() & QRegularExpression::InvertedGreedinessOption)
                                           ? re
                                           : TagPatterns::minimal(re);
    text = decidedConditions(text, minimal, type);
    return !stopped();
}

void TemplatePasses::decideConditions(QString& text, const ConditionMarkup& markup, ConditionMarkup::Form form,
                                      condtype_t type)
{
    markup.apply(text, form, decisionOf(type));
}

std::function<bool(const ConditionMarkup::Marker&)> TemplatePasses::decisionOf(condtype_t type)
{
    return [this, type](const ConditionMarkup::Marker& opening) {
        LOG_TRACE() << "condtag:" << opening.name;
        return conditionHolds(type, resolve(opening.name, 0), opening.comparison);
    };
}

bool TemplatePasses::conditionHolds(condtype_t type, const QString& value, const QString& comparison) const
{
    switch (type) {
    case COND_EMPTY:
        return value.isEmpty();
    case COND_NOT_EMPTY:
        return !value.isEmpty();
    case COND_EQUAL:
        return value == comparison;
    case COND_NOT_EQUAL:
        return value != comparison;
    }
    return false;
}

// A condition pattern of the caller's own: one scan from left to right, each block ending
// where the pattern ends it. The text a block keeps is scanned again for blocks of the
// same form, so blocks of different names nest.
QString TemplatePasses::decidedConditions(QStringView text, const QRegularExpression& re, condtype_t type)
{
    QRegularExpressionMatchIterator block = re.globalMatch(text);
    if (!block.hasNext())
        return text.toString();
    const bool compares = type == COND_EQUAL || type == COND_NOT_EQUAL;
    const int keptGroup = compares ? 3 : 2;
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    while (block.hasNext()) {
        const QRegularExpressionMatch match = block.next();
        out.append(text.mid(copied, match.capturedStart() - copied));
        const QString name = match.captured(1);
        LOG_TRACE() << "condtag:" << name;
        const QString comparison = compares ? match.captured(2) : QString();
        if (conditionHolds(type, resolve(name, 0), comparison))
            out.append(decidedConditions(match.capturedView(keptGroup), re, type));
        copied = match.capturedEnd();
    }
    out.append(text.mid(copied));
    return out;
}

// ---- meta tags ----

bool TemplatePasses::expandMetaTags(QString& text)
{
    QStringList enclosing;
    text = expandedMetaTags(text, enclosing);
    return !stopped();
}

QString TemplatePasses::expandedMetaTags(const QString& text, QStringList& enclosing)
{
    if (TagPatterns::indexOf(text, patterns().metaTagOpening()) < 0)
        return text;
    QRegularExpressionMatchIterator matches = patterns().metaTag().globalMatch(text);
    QRegularExpressionMatch metaTag;
    const auto next = [&](qsizetype& start, qsizetype& end) {
        if (!matches.hasNext())
            return false;
        metaTag = matches.next();
        start = metaTag.capturedStart();
        end = metaTag.capturedEnd();
        return true;
    };
    const auto block = [&] { return metaTagText(metaTag.captured(1), enclosing); };
    QString out;
    return substitute(text, next, text.size() * 2, block, out) == Substituted::Nothing ? text : out;
}

// An evaluation value of that name is data: escaped and inserted as written. A catalog
// block is template text written with "<" and ">": it takes the flavour's form and its
// own meta tags are expanded; its tags and conditions are left to the later passes.
// enclosing: the meta tags being expanded around this one.
QString TemplatePasses::metaTagText(const QString& name, QStringList& enclosing)
{
    QString value;
    if (generator.isValidSource() && generator.AE().getTag(name, value, 0))
        return generator.fitForDocument(TagUtils::toXmlValue(value));
    if (!generator.getMetaTagCatalog().getTag(name, value))
        return QString();
    if (enclosing.contains(name)) {
        LOG_WARNING() << "meta tag" << name << "contains itself; left empty there";
        return QString();
    }
    if (enclosing.size() >= TemplateToDocument::MAX_META_TAG_DEPTH) {
        LOG_WARNING() << "meta tag" << name << "is nested deeper than" << TemplateToDocument::MAX_META_TAG_DEPTH
                      << "levels; left empty";
        return QString();
    }
    if (templateTextIsEscaped())
        generator.fitForDocument(TagUtils::toXmlValue(value));
    enclosing.append(name);
    value = expandedMetaTags(value, enclosing);
    enclosing.removeLast();
    return value;
}

bool TemplatePasses::templateTextIsEscaped() const
{
    QString escapedBracket = QStringLiteral("<");
    return generator.leftTagBracket() == TagUtils::toXmlValue(escapedBracket);
}
