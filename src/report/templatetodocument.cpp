#include "report/templatetodocument.h"

#include "evaluation/autoevaluation.h"
#include "runtime/autoevalexception.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

// A template file whole; false when it cannot be read or is larger than the bound, in
// which case it is refused unread (the bounded read still guards a file that grows).
bool readTemplateFile(const QString& path, QBuffer& buffer)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > TemplateToDocument::MAX_TEMPLATE_BYTES) {
        LOG_WARNING() << "cannot read the template" << path << "of" << file.size() << "bytes:" << file.errorString();
        return false;
    }
    buffer.setData(BoundedRead::atMost(file, TemplateToDocument::MAX_TEMPLATE_BYTES + 1));
    return buffer.size() <= TemplateToDocument::MAX_TEMPLATE_BYTES && file.error() == QFileDevice::NoError;
}

} // namespace

TemplateToDocument::TemplateToDocument(QObject* parent)
    : QObject(parent), passes(std::make_unique<TemplatePasses>(*this))
{
    connect(&metaTags, &MetaTagCatalog::loaded, this, &TemplateToDocument::then_metaTagCatalog_loaded);
    connect(&metaTags, &MetaTagCatalog::failed, this, &TemplateToDocument::then_metaTagCatalog_failed);
    connect(&download, &Download::progress, this, &TemplateToDocument::downloadProgress);
    connect(&download, &Download::finished, this, &TemplateToDocument::templateDownloaded);
}

TemplateToDocument::~TemplateToDocument() = default;

void TemplateToDocument::use(AutoEvaluation& ae)
{
    evaluation = &ae;
}

bool TemplateToDocument::isValidSource() const
{
    return evaluation != nullptr;
}

AutoEvaluation& TemplateToDocument::AE() const
{
    if (!evaluation)
        ZENTAVO_THROW();
    return *evaluation;
}

void TemplateToDocument::setTemplateSourceType(templatesourcetype_t type)
{
    configuredSourceType = type;
}

bool TemplateToDocument::isMaking() const
{
    return progressPercent <= 99;
}

QString TemplateToDocument::getOutputFile() const
{
    return outputFile;
}

const ErrorInfo& TemplateToDocument::getErrorInfo() const
{
    return errorInfo;
}

MetaTagCatalog& TemplateToDocument::getMetaTagCatalog()
{
    return metaTags;
}

void TemplateToDocument::setTemplateCheck(TemplateCheck check)
{
    checking = check;
}

QString& TemplateToDocument::getTag(const QString& name, QString& value, long flags)
{
    if (evaluation && evaluation->getTag(name, value, flags))
        return TagUtils::toXmlValue(value);
    if (metaTags.getTag(name, value))
        return TagUtils::toXmlValue(value);
    value = QString();
    return value;
}

QString& TemplateToDocument::fitForDocument(QString& value) const
{
    return value;
}

QString TemplateToDocument::visibleText(QStringView markup) const
{
    return markup.toString();
}

long TemplateToDocument::parseTagFlag(const QString& flag)
{
    if (flag.size() < 2 || flag.size() > 3 || flag.at(0) != QLatin1Char('#'))
        return 0;
    return TagUtils::flagForLetter(flag.at(1).toUpper());
}

// ---- the passes ----

bool TemplateToDocument::replaceTags(QString& text, int index)
{
    bool hadValue = false;
    passes->replaceTags(text, index, hadValue);
    return hadValue;
}

bool TemplateToDocument::replicateBlocks(QString& text, const QRegularExpression& block, const QString& marker)
{
    return passes->repeatBlocks(text, block, marker);
}

bool TemplateToDocument::replicateParagraphs(QString& text)
{
    return passes->repeatParagraphs(text);
}

bool TemplateToDocument::replicateTableLines(QString& text)
{
    return passes->repeatTableRows(text);
}

bool TemplateToDocument::replaceCondTags(QString& text)
{
    return passes->decideConditions(text);
}

bool TemplateToDocument::replaceCondTags(QString& text, const QRegularExpression& re, condtype_t type)
{
    return passes->decideConditions(text, re, type);
}

bool TemplateToDocument::replaceMetaTags(QString& text)
{
    return passes->expandMetaTags(text);
}

bool TemplateToDocument::filtering(QIODevice& in, QIODevice& out)
{
    QString text = QString::fromUtf8(in.readAll());
    if (!filterText(text))
        return false;
    const QByteArray bytes = text.toUtf8();
    return out.write(bytes) == bytes.size();
}

bool TemplateToDocument::filterText(QString& text)
{
    passes->goOn();
    // Within a run the cache spans every part of the document; a direct call has its own.
    const bool ownCache = !passes->isCachingTags();
    if (ownCache)
        passes->startTagCache();
    prepareText(text);
    const bool passed = passes->run(text);
    if (ownCache)
        passes->endTagCache();
    return passed;
}

void TemplateToDocument::prepareText(QString&) {}

bool TemplateToDocument::passesTemplateCheck(const QByteArray& templateBytes, const QString& templateName)
{
    passes->goOn();
    findings.clear();
    if (checking == NoTemplateCheck)
        return true;
    TemplateChecker checker(*this);
    checker.checkTemplate(loggedName(templateName), templateBytes);
    findings = checker.problems();
    LOG_DEBUG() << "template" << loggedName(templateName) << "findings:" << findings.size();
    if (checking != RefuseTemplateWithFindings || findings.isEmpty())
        return true;
    const TemplateChecker::Problem& first = findings.first();
    passes->stop(tr("%n problem(s) in the template, the first at %1:%2: %3", "", int(findings.size()))
             .arg(first.location.part, QString::number(first.location.paragraph), first.message));
    failTemplate(templateName);
    return false;
}

void TemplateToDocument::failTemplate(const QString& templateName)
{
    errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templateName, passes->failure()));
}

// ---- a run ----

bool TemplateToDocument::make(QString templatePath, QString outputPath)
{
    if (isMaking()) {
        LOG_WARNING() << "a run was started while another is going on; refused";
        return false;
    }
    errorInfo = ErrorInfo();
    passes->goOn();
    findings.clear();
    progressPercent = 0;
    sourceType = configuredSourceType;
    if (sourceType == TEMPLATE_SOURCE_FROM_PATH)
        sourceType = sourceTypeOfLocation(templatePath);
    this->templatePath = std::move(templatePath);
    this->outputPath = std::move(outputPath);
    passes->startTagCache();
    waitingForMetaTags = true;
    prepareMetaTags();
    return true;
}

void TemplateToDocument::prepareMetaTags()
{
    if (sourceType == TEMPLATE_SOURCE_NETWORK) {
        if (metaTagsSource != TEMPLATE_SOURCE_NETWORK) {
            metaTags.clear();
            metaTagsSource = TEMPLATE_SOURCE_NETWORK;
        }
        metaTags.start_loading(TEMPLATE_SOURCE_NETWORK);
        return;
    }
    // Templates in different folders may have different meta tags: read them each run.
    metaTags.clear();
    metaTagsSource = TEMPLATE_SOURCE_DISK;
    const QString file = QFileInfo(templatePath).dir().filePath(MetaTagCatalog::FolderFileName);
    if (QFileInfo::exists(file))
        metaTags.load_from_disk(file);
    else
        metaTags.start_loading(TEMPLATE_SOURCE_DISK);
}

void TemplateToDocument::then_metaTagCatalog_loaded()
{
    if (!waitingForMetaTags)
        return;
    waitingForMetaTags = false;
    LOG_TRACE() << "stage2";
    make_stage2();
}

void TemplateToDocument::then_metaTagCatalog_failed(QString reason)
{
    if (!waitingForMetaTags)
        return;
    waitingForMetaTags = false;
    LOG_WARNING() << "The metatags loading is failed, reason:" << reason;
    errorInfo.set(ErrorInfo::ErrRead, tr("Unable to load the meta tags: %1").arg(reason));
    finishRun();
}

QString TemplateToDocument::loggedName(const QString& path)
{
    return QFileInfo(path).fileName();
}

bool TemplateToDocument::make_stage2()
{
    LOG_TRACE() << loggedName(outputPath) << "source type" << sourceType;
    if (sourceType == TEMPLATE_SOURCE_NETWORK)
        return make_from_network(templatePath, outputPath);
    // An exception from the evaluation passes through to the host; the generator must
    // not stay "making" after it, or it would refuse every later run.
    auto idleIfThrown = qScopeGuard([this] {
        passes->endTagCache();
        progressPercent = 100;
    });
    bool made = false;
    QBuffer buffer;
    if (readTemplateFile(templatePath, buffer))
        made = make_from_buffer(buffer, outputPath);
    else
        errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templatePath));
    idleIfThrown.dismiss();
    finishRun();
    return made;
}

void TemplateToDocument::finishRun()
{
    passes->endTagCache();
    progressPercent = 100;
    emit done();
}

void TemplateToDocument::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (Download::advance(progressPercent, bytesReceived, bytesTotal))
        emit progress(progressPercent);
}

bool TemplateToDocument::make_from_network(QString url, QString outputPath)
{
    progressPercent = 1;
    outputFile = std::move(outputPath);
    download.start(QUrl(url), Download::MakerServer);
    if (isMaking()) {
        QEventLoop wait;
        connect(this, &TemplateToDocument::done, &wait, &QEventLoop::quit);
        wait.exec();
    }
    return true;
}

void TemplateToDocument::templateDownloaded(bool ok, const QByteArray& body, const QString& failure)
{
    if (!ok) {
        errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templatePath, failure));
    } else {
        QBuffer buffer;
        buffer.setData(body);
        LOG_TRACE() << loggedName(outputFile) << "template bytes" << buffer.size();
        const bool made = make_from_buffer(buffer, outputFile);
        LOG_TRACE() << loggedName(outputFile) << "made" << made;
    }
    finishRun();
}
