#ifndef ZENTAVO_TAGPATTERNS_H
#define ZENTAVO_TAGPATTERNS_H

#include "zentavo_export.h"

#include "report/blockpattern.h"
#include "report/conditionmarkup.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

// The compiled patterns of the template tag language for one pair of tag brackets
// ("<" and ">" in text templates, "&lt;" and "&gt;" in the escaped XML of DOCX parts).
// All are case-sensitive and match minimally; a repeated block ends at its nearest end,
// a condition at its own (ConditionMarkup).
class ZENTAVO_EXPORT TagPatterns
{
public:
    // The five forms of a conditional block, in the order they are applied.
    enum { CONDITION_FORMS = 5 };

    TagPatterns(const QString& left, const QString& right, const QRegularExpression& tableLine,
                const QRegularExpression& paragraph);

    // L#NAME#R or L#NAME#F1#F2#R: group 1 the name, group 2 the flags.
    const QRegularExpression& plainTag() const { return plain; }
    // A plain tag where plainTag() finds it, found by plain searches: the pass that
    // replaces thousands of tags in a part of megabytes spends its time here.
    struct PlainTag
    {
        qsizetype start = -1;
        qsizetype end = -1; // one past the right bracket
        QStringView name;
        QStringView flags; // "#R#T", each flag "#" and one or two letters or digits
    };
    // The first plain tag starting at from or later; false when there is none.
    bool findPlainTag(QStringView text, qsizetype from, PlainTag& tag) const;
    // Where needle first occurs from a position on, -1 when nowhere: for needles whose
    // first character is rare in the text, such as a bracket ("&lt;" in a part, "<" in a
    // text template), many times faster than QStringView::indexOf(needle), since a
    // search for one character runs on wide registers.
    static qsizetype indexOf(QStringView text, QStringView needle, qsizetype from = 0);
    // Each flag of a tag's flags as the flag() pattern reads it: "#" and its first letter.
    static QList<QStringView> flagsOf(QStringView flags);
    // L%NAME%R: group 1 the name.
    const QRegularExpression& metaTag() const { return meta; }
    // L%, which every meta tag begins with: a text without it holds none.
    const QString& metaTagOpening() const { return metaOpening; }
    static QString metaTagOpening(const QString& left) { return left + QLatin1Char('%'); }
    // The forms as patterns, for a caller that names one (see ConditionMarkup::Form).
    const QRegularExpression& condition(int form) const { return conditions[form]; }
    const ConditionMarkup& conditionMarkup() const { return conditionBlocks; }
    const BlockPattern& tableLine() const { return tableLineBlock; }
    const BlockPattern& paragraph() const { return paragraphBlock; }
    const QString& tableLineMarker() const { return tableMarker; }
    const QString& paragraphMarker() const { return paragraphMarkerText; }

    // The tags that mark a repeated table row or paragraph and show the item's number.
    static const QString RowMarkerName;
    static const QString ParagraphMarkerName;
    static bool isMarkerName(const QString& name);
    // One flag of a plain tag: "#" and one or two letters or digits.
    static const QRegularExpression& flag();
    // The options every pattern of the language is matched with.
    static QRegularExpression minimal(const QRegularExpression& pattern);
    static QRegularExpression minimal(const QString& pattern);

private:
    qsizetype flagsEnd(QStringView text, qsizetype at) const;
    static int wordLength(QStringView text, qsizetype at);

    QRegularExpression plain;
    QString plainOpening; // L#
    QString plainClosing; // #R
    QRegularExpression meta;
    QString metaOpening; // L%
    QRegularExpression conditions[CONDITION_FORMS];
    ConditionMarkup conditionBlocks;
    BlockPattern tableLineBlock;
    BlockPattern paragraphBlock;
    QString tableMarker;
    QString paragraphMarkerText;
};

#endif
