#ifndef ZENTAVO_TEMPLATECHECKER_H
#define ZENTAVO_TEMPLATECHECKER_H

#include "zentavo_export.h"

#include "report/docxpackage.h"
#include "report/repeatedblocks.h"
#include "report/textlocations.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class AutoEvaluation;
class QByteArray;
class QIODevice;
class QuaZip;
class TemplateToDocument;

// Reads a template (DOCX, ODT, or a text template) the way the report engine reads it,
// tags split by a word processor joined first, and lists every tag, meta tag and
// condition marker with where it stands. It finds what would silently spoil a report:
// tag names that nothing answers, tags and conditions that are not closed, flag letters
// that mean nothing, repeated blocks that can never show because they hold no tag to
// index, and pictures whose description names no picture of the evaluation. With an
// evaluation attached it also gives the value each tag takes, and warns of values a
// DOCX document cannot hold whole. Conditions are paired as the report engine pairs them
// (ConditionMarkup), and a check takes time linear in the size of the template.
class ZENTAVO_EXPORT TemplateChecker
{
    Q_DECLARE_TR_FUNCTIONS(TemplateChecker)

public:
    enum Kind { Tag, MetaTag, Condition };

    // Where a finding stands in a template: the part, the paragraph or line, and its text.
    struct Location
    {
        QString part;      // the DOCX entry, or the text template's file name
        int paragraph = 0; // 1-based: paragraphs of a DOCX part, lines of a text template
        QString context;   // the paragraph's text around the finding
    };

    // One tag, meta tag or condition marker of a template, as its author typed it and where.
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

    // Something in a template that would spoil a report, said for its author, and where.
    struct Problem
    {
        QString message;
        Location location;
        QString templateName; // the template's file name, when a whole template is checked
    };

    TemplateChecker();
    // Checks with the brackets, meta tags and evaluation of a generator about to render
    // the template, leaving the generator as it is. Names its evaluation answers are
    // known; values are not shown.
    explicit TemplateChecker(TemplateToDocument& renderer);
    ~TemplateChecker();

    // Names that begin with one of these keys and "_" belong to an approach of the host.
    void setApproachKeys(const QStringList& keys);
    void use(AutoEvaluation& evaluation);

    // Checks a template file; the meta tags come from "metatags.txt" beside it. False
    // when the file cannot be read or is no template (a problem says why). A DOCX file
    // is read as the report reads it (DocxPackage): a package the report refuses is
    // refused here with the same reason, and its repairs are listed in repairs().
    bool checkFile(const QString& path);
    // Checks a template held in memory, a DOCX package or a text template: the one the
    // generator renders when one was given, else as its bytes say. False when it cannot
    // be read (a problem says why).
    bool checkTemplate(const QString& name, const QByteArray& bytes);
    // Checks one text: escaped XML of a DOCX part, or a text template.
    void checkText(const QString& partName, const QString& text, bool docx);

    const QList<Occurrence>& occurrences() const { return found; }
    const QList<Problem>& problems() const { return errors; }
    bool hasErrors() const { return !errors.isEmpty(); }
    // What the report repairs in the template's package, one line each.
    const QStringList& repairs() const { return package.repairs(); }
    // What renders, but not as the evaluation has it: values with characters a DOCX
    // document cannot hold, which are left out.
    const QList<Problem>& warnings() const { return cautions; }

    // Text as the author sees it: no XML entities.
    static QString unescaped(QStringView text);

private:
    struct ConditionMarker;
    enum class Flavour { Text, Docx, Odt };

    void useOwnGenerator(Flavour flavour);
    bool checkDocx(const QString& path);
    bool checkPackage(QIODevice& package, const QString& name);
    // The text parts of a package, as the report reads them.
    void checkParts(QuaZip& zip, const QStringList& parts);
    void checkToken(const QString& text, qsizetype start, qsizetype end, RepeatedBlocks& blocks,
                    QList<ConditionMarker>& conditions);
    void checkPlainTag(const QString& inner, const Location& where, bool indexed);
    // The name of the tag a condition opens on; empty for an end.
    QString checkCondition(const QString& inner, qsizetype start, qsizetype end, const Location& where,
                           QList<ConditionMarker>& conditions);
    void checkConditionPairs(const QString& text, QList<ConditionMarker>& conditions);
    void checkBlocks(const QString& text, const RepeatedBlocks& blocks);
    void checkPictures(const QString& text);
    void checkFrames(const QString& text);
    static QString nearMissProblem(const QString& described);
    QString pictureProblem(const DocxPicsHandler::Picture& picture) const;
    void checkValueFits(const QString& name, long flags, bool indexed, const Location& where);
    bool isKnownName(const QString& name) const;
    AutoEvaluation* knownNamesSource() const;
    QString valueOf(const QString& name, long flags) const;
    Location locate(const QString& text, qsizetype pos);
    void problem(const QString& message, const Location& where);

    std::unique_ptr<TemplateToDocument> ownGenerator;
    // The generator whose brackets and meta tags are used: the own one or the renderer.
    TemplateToDocument* generator = nullptr;
    bool rendering = false;
    DocxPackage package;
    AutoEvaluation* evaluation = nullptr;
    QStringList approachKeys;
    QString templateName;
    QString partName;
    bool docxPart = true;
    TextLocations locations;
    QList<Occurrence> found;
    QList<Problem> errors;
    QList<Problem> cautions;
};

#endif
