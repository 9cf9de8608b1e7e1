#ifndef ZENTAVO_TAGPATTERNS_H
#define ZENTAVO_TAGPATTERNS_H

#include "zentavo_export.h"

#include <QRegularExpression>
#include <QString>

// The compiled patterns of the template tag language for one pair of tag brackets
// ("<" and ">" in text templates, "&lt;" and "&gt;" in the escaped XML of DOCX parts).
// All are case-sensitive and match minimally, so a block ends at its nearest end.
class ZENTAVO_EXPORT TagPatterns
{
public:
    // The five forms of a conditional block, in the order they are applied.
    enum { CONDITION_FORMS = 5 };

    TagPatterns(const QString& left, const QString& right, const QRegularExpression& tableLine,
                const QRegularExpression& paragraph);

    // L#NAME#R or L#NAME#F1#F2#R: group 1 the name, group 2 the flags.
    const QRegularExpression& plainTag() const { return plain; }
    // L%NAME%R: group 1 the name.
    const QRegularExpression& metaTag() const { return meta; }
    const QRegularExpression& condition(int form) const { return conditions[form]; }
    const QRegularExpression& tableLine() const { return tableLineBlock; }
    const QRegularExpression& paragraph() const { return paragraphBlock; }
    const QString& tableLineMarker() const { return tableMarker; }
    const QString& paragraphMarker() const { return paragraphMarkerText; }

    // One flag of a plain tag: "#" and one or two letters or digits.
    static const QRegularExpression& flag();
    // The options every pattern of the language is matched with.
    static QRegularExpression minimal(const QRegularExpression& pattern);
    static QRegularExpression minimal(const QString& pattern);

private:
    QRegularExpression plain;
    QRegularExpression meta;
    QRegularExpression conditions[CONDITION_FORMS];
    QRegularExpression tableLineBlock;
    QRegularExpression paragraphBlock;
    QString tableMarker;
    QString paragraphMarkerText;
};

#endif
