#ifndef ZENTAVO_TEMPLATECHECKER_H
#define ZENTAVO_TEMPLATECHECKER_H

#include "zentavo_export.h"

#include "report/docxpackage.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class AutoEvaluation;
class TemplateToDocument;

// Reads a template (DOCX, or a text template) the way the report engine reads it,
// tags split by a word processor joined first, and lists every tag, meta tag and
// condition marker with where it stands. It finds what would silently spoil a report:
// tag names that nothing answers, tags and conditions that are not closed, flag letters
// that mean nothing, repeated blocks that can never show because they hold no tag to
// index, and pictures whose description names no picture of the evaluation. With an
// evaluation attached it also gives the value each tag takes.
class ZENTAVO_EXPORT TemplateChecker
{
public:
    enum Kind { Tag, MetaTag, Condition };

    struct Location
    {
        QString part;      // the DOCX entry, or the text template's file name
        int paragraph = 0; // 1-based: paragraphs of a DOCX part, lines of a text template
        QString context;   // the paragraph's text around the finding
    };

    struct Occurrence
    {
        Kind kind = Tag;
        QString text; // as the author typed it, such as <#МАРКА_ТС#S#>
        QString name;
        Location location;
        // With an evaluation: what the tag takes in the document (null when nothing
        // answers it); for a condition, the value its tag is compared by.
        QString value;
    };

    struct Problem
    {
        QString message;
        Location location;
    };

    TemplateChecker();
    ~TemplateChecker();

    // Names that begin with one of these keys and "_" belong to an approach of the host.
    void setApproachKeys(const QStringList& keys);
    void use(AutoEvaluation& evaluation);

    // Checks a template file; the meta tags come from "metatags.txt" beside it. False
    // when the file cannot be read or is no template (a problem says why). A DOCX file
    // is read as the report reads it (DocxPackage): a package the report refuses is
    // refused here with the same reason, and its repairs are listed in repairs().
    bool checkFile(const QString& path);
    // Checks one text: escaped XML of a DOCX part, or a text template.
    void checkText(const QString& partName, const QString& text, bool docx);

    const QList<Occurrence>& occurrences() const { return found; }
    const QList<Problem>& problems() const { return errors; }
    bool hasErrors() const { return !errors.isEmpty(); }
    // What the report repairs in the template's package, one line each.
    const QStringList& repairs() const { return package.repairs(); }

    // Text as the author sees it: no XML entities.
    static QString unescaped(QStringView text);

private:
    struct Block;
    struct ConditionMarker;

    bool checkDocx(const QString& path);
    void checkToken(const QString& text, qsizetype start, qsizetype end, QList<Block>& blocks,
                    QList<ConditionMarker>& open);
    void checkPlainTag(const QString& inner, const Location& where, bool indexed);
    // The name of the tag a condition opens on; empty for an end.
    QString checkCondition(const QString& inner, const Location& where, QList<ConditionMarker>& open);
    void checkBlocks(const QString& text, const QList<Block>& blocks);
    void checkPictures(const QString& text);
    QString pictureProblem(const DocxPicsHandler::Picture& picture) const;
    QList<Block> repeatedBlocks(const QString& text) const;
    bool isKnownName(const QString& name) const;
    QString valueOf(const QString& name, long flags) const;
    Location locate(const QString& text, qsizetype pos) const;
    void problem(const QString& message, const Location& where);

    std::unique_ptr<TemplateToDocument> generator;
    DocxPackage package;
    AutoEvaluation* evaluation = nullptr;
    QStringList approachKeys;
    QString partName;
    bool docxPart = true;
    QList<qsizetype> paragraphStarts;
    QList<Occurrence> found;
    QList<Problem> errors;
};

#endif
