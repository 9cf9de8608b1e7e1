#ifndef ZENTAVO_TEMPLATEPASSES_H
#define ZENTAVO_TEMPLATEPASSES_H

#include "zentavo_export.h"

#include "report/conditionmarkup.h"
#include "report/tagpatterns.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <memory>

class BlockPattern;
class QRegularExpression;
class TemplateToDocument;

// The kind of a conditional block of a template.
enum condtype_t {
    COND_EMPTY = 0,     // L?NAME!?R text L?/NAME?R: shown when the tag is empty
    COND_NOT_EMPTY = 1, // L?NAME?R text L?R or L?NAME?R text L?/NAME?R: shown when it has a value
    COND_EQUAL = 2,     // L?NAME=VALUE?R text L?/NAME?R
    COND_NOT_EQUAL = 3  // L?NAME!VALUE?R text L?/NAME?R
};

// The passes of the template language (see TemplateToDocument) over the texts of one
// generator, with its brackets, its tag answers and its meta tags. Each pass reads its
// input once and builds its output once. A pass that cannot go on (the text grew past
// TemplateToDocument::MAX_OUTPUT_TEXT, a block has more items than MAX_BLOCK_COPIES)
// stops the passes: it and every pass after it answer false, and failure() says why.
class ZENTAVO_EXPORT TemplatePasses
{
    // The reasons reach the user as the generator's.
    Q_DECLARE_TR_FUNCTIONS(TemplateToDocument)

public:
    explicit TemplatePasses(TemplateToDocument& generator);
    ~TemplatePasses();
    Q_DISABLE_COPY(TemplatePasses)

    // Every pass in order: meta tags, conditions, repeated table rows, repeated
    // paragraphs, tags, then the generator's removal of pictures without data.
    bool run(QString& text);

    bool expandMetaTags(QString& text);
    bool decideConditions(QString& text);
    // One form of condition, given as a pattern: group 1 the name, then the comparison
    // for COND_EQUAL and COND_NOT_EQUAL, then the text kept.
    bool decideConditions(QString& text, const QRegularExpression& re, condtype_t type);
    bool repeatTableRows(QString& text);
    bool repeatParagraphs(QString& text);
    bool repeatBlocks(QString& text, const QRegularExpression& block, const QString& marker);
    // Each tag name gets the suffix "_index" when index >= 0; hadValue tells whether any
    // tag had a value (an empty one counts), which is what keeps a block repeating.
    bool replaceTags(QString& text, int index, bool& hadValue);

    // Empty while the passes go on.
    const QString& failure() const { return reason; }
    // The first reason stands.
    void stop(const QString& why);
    void goOn() { reason.clear(); }

    // While the cache is on, each distinct tag name and flag word is asked of the
    // generator once, across every text.
    void startTagCache();
    void endTagCache();
    bool isCachingTags() const { return cachingTags; }

private:
    bool stopped() const { return !reason.isEmpty(); }
    bool isPastSizeLimit(const QString& out);
    // Every span of text that next(start, end) finds, one after the other from the end of
    // the last (end holds it when next is called), replaced by what valueOf() answers
    // for the span just found, asked once per distinct text, into out (emptied first,
    // its room kept). Nothing leaves out as it was; Stopped, with out cut short, when
    // the passes stop meanwhile.
    enum class Substituted { Nothing, Some, Stopped };
    template <typename Next, typename ValueOf>
    Substituted substitute(QStringView text, Next next, qsizetype reserved, ValueOf valueOf, QString& out);
    QString takeSpare();
    void replaceText(QString& text, QString& out);
    const TagPatterns& patterns();
    QString resolve(const QString& name, long flags);
    QString resolvePlainTag(QStringView name, QStringView flags, int index, bool& hadValue);
    bool repeat(QString& text, const BlockPattern& block, const QString& marker);
    QList<TagPatterns::PlainTag> plainTagsOf(QStringView text);
    Substituted substituteTags(QStringView text, const QList<TagPatterns::PlainTag>& tags, int index, bool& hadValue,
                               QString& out);
    QString expandedMetaTags(const QString& text, QStringList& enclosing);
    QString metaTagText(const QString& name, QStringList& enclosing);
    bool conditionHolds(condtype_t type, const QString& value, const QString& comparison) const;
    QString decidedConditions(QStringView text, const QRegularExpression& re, condtype_t type);
    void decideConditions(QString& text, const ConditionMarkup& markup, ConditionMarkup::Form form, condtype_t type);
    std::function<bool(const ConditionMarkup::Marker&)> decisionOf(condtype_t type);
    bool templateTextIsEscaped() const;

    TemplateToDocument& generator;
    std::unique_ptr<TagPatterns> tagPatterns;
    // Answers of the generator while the cache is on, by flag word and name.
    QHash<QString, QString> resolvedTags;
    bool cachingTags = false;
    QString reason;
    // The buffer of the last text a pass replaced, kept for the next pass, in this
    // document or the next one, to write into.
    QString spare;
};

#endif
