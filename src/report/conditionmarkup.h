#ifndef ZENTAVO_CONDITIONMARKUP_H
#define ZENTAVO_CONDITIONMARKUP_H

#include "zentavo_export.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

// The conditional blocks of a template text. With L and R the flavour's tag brackets:
//
//   L?NAME?R text L?R          shown when the tag has a value; the text holds no "?"
//   L?NAME?R text L?/NAME?R    shown when the tag has a value
//   L?NAME!?R text L?/NAME?R   shown when it is empty
//   L?NAME!VALUE?R ...         shown when it differs from VALUE (letters, digits, spaces)
//   L?NAME=VALUE?R ...         shown when it equals VALUE
//
// An opening is closed by its own end: openings and ends of the same name between them
// are counted, so a condition inside another on the same tag works as its nesting says.
// Blocks of different names nest freely. Every operation reads the text once from left
// to right, whatever it holds: openings that are never closed cost no more than others.
class ZENTAVO_EXPORT ConditionMarkup
{
public:
    // The forms in the order the generator decides them.
    enum Form { ShortBlock = 0, ValueBlock = 1, EmptyBlock = 2, NotEqualBlock = 3, EqualBlock = 4 };
    enum { FORMS = 5 };

    // One opening or end of a conditional block: its form, its tag and where it stands.
    struct Marker
    {
        enum Role { Opening, End, ShortEnd };
        Role role = Opening;
        // Of an opening. L?NAME?R is a ValueBlock until a short end is found to close it.
        Form form = ValueBlock;
        QString name;       // of an opening or an end
        QString comparison; // of NotEqualBlock and EqualBlock
        qsizetype start = 0;
        qsizetype end = 0; // one past the marker
        // The index of the marker that closes this opening or that this end closes.
        int partner = -1;
    };

    ConditionMarkup(QString left, QString right);

    // A marker from the text between "L?" and "?R" (empty for the short end L?R); false
    // when that text makes no marker, such as "ТИП=a-b".
    static bool parse(QStringView body, Marker& marker);

    // Every marker of the text, in order, none paired yet.
    QList<Marker> find(QStringView text) const;
    // Pairs the markers found in text: with shortBlocks, an L?NAME?R that the next marker,
    // an L?R, closes over text without "?"; then every opening with the end that closes it.
    static void pair(QStringView text, QList<Marker>& markers, bool shortBlocks);

    // Decides every block of one form in the text: when decide answers true its two
    // markers go and its text stays, otherwise the whole block goes. Blocks of other
    // forms, and markers that close nothing or are never closed, stay as they are; so do
    // the blocks a removed block held, which are not decided. A block that begins inside
    // a kept block of the same form and ends after it stays as text.
    void apply(QString& text, Form form, const std::function<bool(const Marker& opening)>& decide) const;
    // The same with the markers find() gave for the text; answers whether the text
    // changed, so markers found once serve every form until one does.
    bool apply(QString& text, const QList<Marker>& found, Form form,
               const std::function<bool(const Marker& opening)>& decide) const;

private:
    QString left;
    QString right;
};

#endif
