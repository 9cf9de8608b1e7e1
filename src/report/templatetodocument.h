#ifndef ZENTAVO_TEMPLATETODOCUMENT_H
#define ZENTAVO_TEMPLATETODOCUMENT_H

#include "zentavo_export.h"

#include "report/metatagcatalog.h"
#include "report/templatechecker.h"
#include "report/templatepasses.h"
#include "report/templatesourcetype.h"
#include "runtime/download.h"
#include "runtime/errorinfo.h"

#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QRegularExpression>
#include <QSslError>
#include <QString>
#include <QStringList>

#include <memory>

class AutoEvaluation;
class QBuffer;
class QIODevice;

// Turns a template into a finished document of one evaluation. The template language,
// with L and R the brackets of the flavour:
//
//   L#NAME#R, L#NAME#F#F#R   a tag, with format flags (one letter each, see TagUtils)
//   L%NAME%R                 a meta tag: a block of template text from the MetaTagCatalog
//   L?NAME?R ... L?R         conditional blocks (see condtype_t); an opening is closed
//   L?NAME?R ... L?/NAME?R   by its own L?/NAME?R, so blocks nest, on the same tag too
//   L#НОМЕР_ПАРАГРАФА#R      inside a paragraph: the paragraph is repeated once per item
//   L#НОМЕР_СТРОКИ#R         inside a table row: the row is repeated once per item
//
// Each text goes through the passes in this order: meta tags, conditions, repeated table
// rows, repeated paragraphs, tags, removal of pictures without data. So a meta tag may
// hold any of the other forms, and a condition inside a repeated block is decided once,
// on the tag without the item index. Every pass reads its input once and builds its
// output once, in time linear in the text; each distinct tag is resolved once per text,
// and a value is never scanned for tags again, so a value that holds tag text appears as
// written. A block repeated for more items than MAX_BLOCK_COPIES ends the run with an
// error that names it: a report is never silently short. TemplatePasses runs them.
//
// A run (make) loads the meta tags, fetches the template from disk or from the template
// server and ends with done(); a failure is left in getErrorInfo(). The flavours supply
// the container of the document and the brackets.
class ZENTAVO_EXPORT TemplateToDocument : public QObject
{
    Q_OBJECT

public:
    // A repeated paragraph or row is copied at most this often; one more item with data
    // ends the run without a document.
    static constexpr int MAX_BLOCK_COPIES = 1500;
    // Meta tags inside meta tags are expanded this deep; deeper ones become empty text.
    static constexpr int MAX_META_TAG_DEPTH = 8;
    // A text the passes make longer than this (in characters) is not written: real parts
    // are a few megabytes, and values or meta tags repeated over a template could
    // otherwise grow it past any memory.
    static constexpr qsizetype MAX_OUTPUT_TEXT = 48 * 1024 * 1024;
    // A template file larger than this is not read: the same bound as for a download.
    static constexpr qint64 MAX_TEMPLATE_BYTES = Download::MAX_BYTES;

    // What a run does with the findings of TemplateChecker on its template.
    enum TemplateCheck {
        NoTemplateCheck,            // the template is not analysed (the default)
        ReportTemplateFindings,     // analysed before the passes; templateFindings() lists them
        RefuseTemplateWithFindings  // the same, and a template with a finding makes no document
    };

    explicit TemplateToDocument(QObject* parent = nullptr);
    ~TemplateToDocument() override;

    // Produce the document from a template file directly, outside a run.
    virtual bool make_from_disk(QString templatePath, QString outputPath) = 0;
    // Produce the document from a template held in memory.
    virtual bool make_from_buffer(QBuffer& templateBuffer, QString& outputPath) = 0;
    // Whether a container entry is a picture the evaluation may replace.
    virtual bool isPhoto(const QString& entryName) = 0;
    // The item index a picture entry stands for, -1 when none.
    virtual int extractIndexFromPhotoName(const QString& entryName) = 0;
    virtual int extractIndexFromGraphName(const QString& entryName) = 0;
    virtual int extractIndexFromLogoName(const QString& entryName) = 0;
    // The value of one tag, XML-escaped: the evaluation's answer, else the meta tag of
    // that name, else a null string. Fills value and returns it.
    virtual QString& getTag(const QString& name, QString& value, long flags);
    // Removes the pictures the evaluation has no data for.
    virtual bool removeMissingPictures(QString& text) = 0;
    // The text of a piece of template markup as its author sees it.
    virtual QString visibleText(QStringView markup) const;
    virtual QString leftTagBracket() const = 0;
    virtual QString rightTagBracket() const = 0;
    // Group 1: one repeatable table row (text templates: a whole table).
    virtual QRegularExpression tableLineRegExp() const = 0;
    // Group 1: one repeatable paragraph.
    virtual QRegularExpression paragraphRegExp() const = 0;
    // Group 1: one picture, group 2: the id of its image.
    virtual QRegularExpression pictureRegExp() const = 0;

    void use(AutoEvaluation& ae);
    bool isValidSource() const;
    // Throws AutoEvalException while no evaluation is attached.
    AutoEvaluation& AE() const;

    // 0 (the default): a location starting with http:// or https:// is on the network.
    void setTemplateSourceType(templatesourcetype_t type);

    // Starts a run that ends with done(). A template on disk takes the meta tags from
    // "metatags.txt" beside it when there is one; a template on the template server
    // takes them from the server, downloaded once per generator. False, and nothing
    // started, while a run is going on.
    bool make(QString templatePath, QString outputPath);
    bool isMaking() const;
    // The output of the current or last network run.
    QString getOutputFile() const;
    // The failure of the last run; ErrNone after a run that produced its document.
    const ErrorInfo& getErrorInfo() const;
    MetaTagCatalog& getMetaTagCatalog();

    // Applies to the runs that follow.
    void setTemplateCheck(TemplateCheck check);
    TemplateCheck templateCheck() const { return checking; }
    // What the analysis found in the template of the last run (each location names the
    // template); empty when it was not analysed.
    const QList<TemplateChecker::Problem>& templateFindings() const { return findings; }

    // The bit of one flag text such as "#R"; 0 for anything else.
    static long parseTagFlag(const QString& flag);

    // The passes (TemplatePasses). replaceTags gives each tag name the suffix "_index"
    // when index >= 0 and answers whether any tag had a value (an empty one counts). The
    // block and condition passes take the patterns of TagPatterns in one reading of the
    // text (a condition pattern of another text is matched as a pattern, from each
    // opening); they answer false when the passes stopped (passFailure() says why).
    bool replaceTags(QString& text, int index);
    bool replicateBlocks(QString& text, const QRegularExpression& block, const QString& marker);
    bool replicateParagraphs(QString& text);
    bool replicateTableLines(QString& text);
    bool replaceCondTags(QString& text);
    bool replaceCondTags(QString& text, const QRegularExpression& re, condtype_t type);
    bool replaceMetaTags(QString& text);
    // Reads a UTF-8 text, runs every pass and writes it as UTF-8. False when the output
    // could not be written whole, or a pass failed (passFailure() says why; nothing is
    // written then): the text grew past MAX_OUTPUT_TEXT, or a block has too many items.
    bool filtering(QIODevice& in, QIODevice& out);
    // The same on a text already decoded, in place; false as filtering() when a pass failed.
    bool filterText(QString& text);
    // Why the passes of the current or last run stopped; empty when they did not.
    const QString& passFailure() const { return passes->failure(); }
    // Called on each text before the passes; a flavour repairs what its editors do to tags.
    virtual void prepareText(QString& text);

    bool make_from_network(QString url, QString outputPath);
    bool make_stage2();

signals:
    void progress(int persent);
    void done();

public slots:
    void then_metaTagCatalog_loaded();
    void then_metaTagCatalog_failed(QString reason);
    // The download of the template handles its network signals itself; these forward to it.
    void error(QNetworkReply::NetworkError code) { download.error(code); }
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors) { download.sslErrors(reply, errors); }
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void downloadFinished(QNetworkReply* reply) { download.replyFinished(reply); }

protected:
    // The file name alone, for the log: a document's folder is named after the agreement
    // and the vehicle, which the log must not carry.
    static QString loggedName(const QString& path);
    // The template of the current or last run, as passed to make; names it in errors.
    const QString& getTemplatePath() const { return templatePath; }
    // Takes out of an escaped value what the flavour's documents cannot hold; applied to
    // every answer of getTag. The text flavour keeps everything.
    virtual QString& fitForDocument(QString& value) const;
    // Before a flavour makes its document: analyses the template when the run is to
    // (setTemplateCheck). False, with the run's error set, when a finding refuses it.
    bool passesTemplateCheck(const QByteArray& templateBytes, const QString& templateName);
    // ErrRead for the template, with the reason the passes stopped when they did.
    void failTemplate(const QString& templateName);
    // For the flavours, which record why a document could not be made.
    ErrorInfo errorInfo;

private:
    friend class TemplatePasses;

    void prepareMetaTags();
    void finishRun();
    void templateDownloaded(bool ok, const QByteArray& body, const QString& failure);

    Download download;
    templatesourcetype_t sourceType = TEMPLATE_SOURCE_FROM_PATH;
    QString templatePath;
    QString outputPath;
    MetaTagCatalog metaTags;
    templatesourcetype_t configuredSourceType = TEMPLATE_SOURCE_FROM_PATH;
    AutoEvaluation* evaluation = nullptr;
    int progressPercent = 100;
    QString outputFile;
    // What the meta tag catalog holds: nothing yet, a template folder's file or the server's.
    templatesourcetype_t metaTagsSource = TEMPLATE_SOURCE_FROM_PATH;
    bool waitingForMetaTags = false;
    std::unique_ptr<TemplatePasses> passes;
    TemplateCheck checking = NoTemplateCheck;
    QList<TemplateChecker::Problem> findings;
};

#endif
