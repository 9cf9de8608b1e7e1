#include "report/templatetodocument.h"

#include "evaluation/autoevaluation.h"
#include "report/blockpattern.h"
#include "report/tagpatterns.h"
#include "runtime/autoevalexception.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace {

const QString& metaTagFileName()
{
    static const QString name = QStringLiteral("metatags.txt");
    return name;
}

bool isNetworkLocation(const QString& path)
{
    static const QRegularExpression network(QStringLiteral("^(http://)|(https://)"));
    return network.match(path).hasMatch();
}

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

// What each form of ConditionMarkup shows on, in the same order.
const condtype_t conditionTypes[ConditionMarkup::FORMS] = {COND_NOT_EMPTY, COND_NOT_EMPTY, COND_EMPTY,
                                                           COND_NOT_EQUAL, COND_EQUAL};

constexpr int NamedBlockLength = 100;

} // namespace

TemplateToDocument::TemplateToDocument(QObject* parent) : QObject(parent)
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

const TagPatterns& TemplateToDocument::patterns()
{
    if (!tagPatterns) {
        tagPatterns = std::make_unique<TagPatterns>(leftTagBracket(), rightTagBracket(), tableLineRegExp(),
                                                    paragraphRegExp());
    }
    return *tagPatterns;
}

QString TemplateToDocument::resolve(const QString& name, long flags)
{
    if (!cachingTags) {
        QString value;
        return fitForDocument(getTag(name, value, flags));
    }
    const QString key = QString::number(flags) + QLatin1Char(':') + name;
    auto cached = resolvedTags.constFind(key);
    if (cached == resolvedTags.constEnd()) {
        QString value;
        cached = resolvedTags.insert(key, fitForDocument(getTag(name, value, flags)));
    }
    return *cached;
}

QString TemplateToDocument::resolvePlainTag(QStringView name, QStringView flags, int index, bool& changed)
{
    if (index >= 0 && (name.contains(u"НОМЕР_СТРОКИ") || name.contains(u"НОМЕР_ПАРАГРАФА")))
        return QString::number(index + 1);
    QString fullName;
    TagUtils::appendIndexIfAny(name.toString(), index, fullName);
    long flagWord = 0;
    QRegularExpressionMatchIterator flag = TagPatterns::flag().globalMatch(flags);
    while (flag.hasNext())
        flagWord |= parseTagFlag(flag.next().captured(1));
    QString value = resolve(fullName, flagWord);
    if (!value.isNull())
        changed = true;
    return value;
}

bool TemplateToDocument::replaceTags(QString& text, int index)
{
    const QStringView view(text);
    QRegularExpressionMatchIterator tag = patterns().plainTag().globalMatch(view);
    if (!tag.hasNext())
        return false;
    bool changed = false;
    QHash<QString, QString> replaced; // tag text -> value, within this text
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype copied = 0;
    while (tag.hasNext()) {
        const QRegularExpressionMatch match = tag.next();
        out.append(view.mid(copied, match.capturedStart() - copied));
        const QString whole = match.captured(0);
        auto value = replaced.constFind(whole);
        if (value == replaced.constEnd()) {
            value = replaced.insert(whole, resolvePlainTag(match.capturedView(1), match.capturedView(2), index,
                                                           changed));
        }
        out.append(*value);
        copied = match.capturedEnd();
        if (outgrown(out))
            return changed;
    }
    out.append(view.mid(copied));
    text = std::move(out);
    return changed;
}

bool TemplateToDocument::replicateBlocks(QString& text, const QRegularExpression& block, const QString& marker)
{
    return replicate(text, BlockPattern(block), marker);
}

bool TemplateToDocument::replicate(QString& text, const BlockPattern& block, const QString& marker)
{
    const QStringView view(text);
    QString out;
    qsizetype copied = 0;
    qsizetype start = 0;
    qsizetype end = 0;
    for (BlockPattern::Blocks blocks = block.in(view); blocks.next(start, end);) {
        const QStringView body = view.mid(start, end - start);
        if (!body.contains(marker))
            continue;
        if (out.isNull())
            out.reserve(text.size() * 2);
        out.append(view.mid(copied, start - copied));
        for (int copies = 0;; ++copies) {
            QString copy = body.toString();
            if (!replaceTags(copy, copies) || stopped())
                break;
            if (copies == MAX_BLOCK_COPIES) {
                LOG_WARNING() << "a repeated block has more than" << MAX_BLOCK_COPIES << "items; marker" << marker;
                const QString named = visibleText(body).simplified().left(NamedBlockLength);
                stop(tr("a repeated block has more than %1 items, so the document would lack some: \"%2\"")
                         .arg(QString::number(MAX_BLOCK_COPIES), named));
                return false;
            }
            out.append(copy);
            if (outgrown(out))
                return true;
        }
        if (stopped())
            return true;
        copied = end;
    }
    if (copied == 0)
        return true;
    out.append(view.mid(copied));
    text = std::move(out);
    return true;
}

bool TemplateToDocument::replicateParagraphs(QString& text)
{
    const TagPatterns& language = patterns();
    return replicate(text, language.paragraph(), language.paragraphMarker());
}

bool TemplateToDocument::replicateTableLines(QString& text)
{
    const TagPatterns& language = patterns();
    return replicate(text, language.tableLine(), language.tableLineMarker());
}

bool TemplateToDocument::replaceCondTags(QString& text)
{
    const ConditionMarkup& markup = patterns().conditionMarkup();
    for (int form = 0; form < ConditionMarkup::FORMS; ++form)
        decideConditions(text, markup, ConditionMarkup::Form(form), conditionTypes[form]);
    return true;
}

bool TemplateToDocument::replaceCondTags(QString& text, const QRegularExpression& re, condtype_t type)
{
    const TagPatterns& language = patterns();
    for (int form = 0; form < ConditionMarkup::FORMS; ++form) {
        if (re.pattern() == language.condition(form).pattern()) {
            decideConditions(text, language.conditionMarkup(), ConditionMarkup::Form(form), type);
            return true;
        }
    }
    const QRegularExpression minimal = (re.patternOptions() & QRegularExpression::InvertedGreedinessOption)
                                           ? re
                                           : TagPatterns::minimal(re);
    text = replaceConditions(text, minimal, type);
    return true;
}

void TemplateToDocument::decideConditions(QString& text, const ConditionMarkup& markup, ConditionMarkup::Form form,
                                          condtype_t type)
{
    markup.apply(text, form, [&](const ConditionMarkup::Marker& opening) {
        LOG_TRACE() << "condtag:" << opening.name;
        return decide(type, resolve(opening.name, 0), opening.comparison);
    });
}

bool TemplateToDocument::decide(condtype_t type, const QString& value, const QString& comparison) const
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
QString TemplateToDocument::replaceConditions(QStringView text, const QRegularExpression& re, condtype_t type)
{
    QRegularExpressionMatchIterator block = re.globalMatch(text);
    if (!block.hasNext())
        return text.toString();
    const int keptGroup = (type == COND_EQUAL || type == COND_NOT_EQUAL) ? 3 : 2;
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    while (block.hasNext()) {
        const QRegularExpressionMatch match = block.next();
        out.append(text.mid(copied, match.capturedStart() - copied));
        const QString name = match.captured(1);
        LOG_TRACE() << "condtag:" << name;
        const QString comparison = keptGroup == 3 ? match.captured(2) : QString();
        if (decide(type, resolve(name, 0), comparison))
            out.append(replaceConditions(match.capturedView(keptGroup), re, type));
        copied = match.capturedEnd();
    }
    out.append(text.mid(copied));
    return out;
}

bool TemplateToDocument::replaceMetaTags(QString& text)
{
    QStringList enclosing;
    text = expandMetaTags(text, enclosing);
    return true;
}

QString TemplateToDocument::expandMetaTags(const QString& text, QStringList& enclosing)
{
    const QStringView view(text);
    QRegularExpressionMatchIterator metaTag = patterns().metaTag().globalMatch(view);
    if (!metaTag.hasNext())
        return text;
    QHash<QString, QString> expanded; // name -> text, within this text
    QString out;
    out.reserve(text.size() * 2);
    qsizetype copied = 0;
    while (metaTag.hasNext()) {
        const QRegularExpressionMatch match = metaTag.next();
        out.append(view.mid(copied, match.capturedStart() - copied));
        const QString name = match.captured(1);
        auto block = expanded.constFind(name);
        if (block == expanded.constEnd())
            block = expanded.insert(name, metaTagText(name, enclosing));
        if (stopped())
            return out;
        out.append(*block);
        copied = match.capturedEnd();
        if (outgrown(out))
            return out;
    }
    out.append(view.mid(copied));
    return out;
}

// An evaluation value of that name is data: escaped and inserted as written. A catalog
// block is template text written with "<" and ">": it takes the flavour's form and its
// own meta tags are expanded; its tags and conditions are left to the later passes.
// enclosing: the meta tags being expanded around this one.
QString TemplateToDocument::metaTagText(const QString& name, QStringList& enclosing)
{
    QString value;
    if (evaluation && evaluation->getTag(name, value, 0))
        return fitForDocument(TagUtils::toXmlValue(value));
    if (!metaTags.getTag(name, value))
        return QString();
    if (enclosing.contains(name)) {
        LOG_WARNING() << "meta tag" << name << "contains itself; left empty there";
        return QString();
    }
    if (enclosing.size() >= MAX_META_TAG_DEPTH) {
        LOG_WARNING() << "meta tag" << name << "is nested deeper than" << MAX_META_TAG_DEPTH << "levels; left empty";
        return QString();
    }
    if (templateTextIsEscaped())
        fitForDocument(TagUtils::toXmlValue(value));
    enclosing.append(name);
    value = expandMetaTags(value, enclosing);
    enclosing.removeLast();
    return value;
}

bool TemplateToDocument::templateTextIsEscaped()
{
    QString escapedBracket = QStringLiteral("<");
    return leftTagBracket() == TagUtils::toXmlValue(escapedBracket);
}

void TemplateToDocument::stop(const QString& reason)
{
    if (failure.isEmpty())
        failure = reason;
}

bool TemplateToDocument::outgrown(const QString& out)
{
    if (out.size() <= MAX_OUTPUT_TEXT)
        return false;
    if (!stopped()) {
        LOG_WARNING() << "the document's text grows past" << MAX_OUTPUT_TEXT << "characters; not written";
        stop(tr("the document's text would grow past %1 characters").arg(MAX_OUTPUT_TEXT));
    }
    return true;
}

bool TemplateToDocument::filtering(QIODevice& in, QIODevice& out)
{
    failure.clear();
    QString text = QString::fromUtf8(in.readAll());
    // Within a run the cache spans every part of the document; a direct call has its own.
    const bool ownCache = !cachingTags;
    if (ownCache)
        startTagCache();
    prepareText(text);
    // Each pass that can fail or grow the text stops the run when it does.
    replaceMetaTags(text);
    if (!stopped())
        replaceCondTags(text);
    if (!stopped())
        replicateTableLines(text);
    if (!stopped())
        replicateParagraphs(text);
    if (!stopped())
        replaceTags(text, -1);
    removeMissingPictures(text);
    if (ownCache)
        endTagCache();
    if (stopped())
        return false;
    const QByteArray bytes = text.toUtf8();
    return out.write(bytes) == bytes.size();
}

void TemplateToDocument::prepareText(QString&) {}

bool TemplateToDocument::passesTemplateCheck(const QByteArray& templateBytes, const QString& templateName)
{
    failure.clear();
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
    stop(tr("%n problem(s) in the template, the first at %1:%2: %3", "", int(findings.size()))
             .arg(first.location.part, QString::number(first.location.paragraph), first.message));
    failTemplate(templateName);
    return false;
}

void TemplateToDocument::failTemplate(const QString& templateName)
{
    errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templateName, failure));
}

// ---- a run ----

bool TemplateToDocument::make(QString templatePath, QString outputPath)
{
    if (isMaking()) {
        LOG_WARNING() << "a run was started while another is going on; refused";
        return false;
    }
    errorInfo = ErrorInfo();
    failure.clear();
    findings.clear();
    progressPercent = 0;
    sourceType = configuredSourceType;
    if (sourceType == TEMPLATE_SOURCE_FROM_PATH)
        sourceType = isNetworkLocation(templatePath) ? TEMPLATE_SOURCE_NETWORK : TEMPLATE_SOURCE_DISK;
    this->templatePath = std::move(templatePath);
    this->outputPath = std::move(outputPath);
    startTagCache();
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
    const QString file = QFileInfo(templatePath).dir().filePath(metaTagFileName());
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
    LOG_TRACE() << loggedName(outputPath) << "stype=" << sourceType;
    if (sourceType == TEMPLATE_SOURCE_NETWORK)
        return make_from_network(templatePath, outputPath);
    // An exception from the evaluation passes through to the host; the generator must
    // not stay "making" after it, or it would refuse every later run.
    struct IdleOnException
    {
        TemplateToDocument& generator;
        const int exceptions = std::uncaught_exceptions();
        ~IdleOnException()
        {
            if (std::uncaught_exceptions() > exceptions) {
                generator.endTagCache();
                generator.progressPercent = 100;
            }
        }
    } idleOnException{*this};
    bool made = false;
    QBuffer buffer;
    if (readTemplateFile(templatePath, buffer))
        made = make_from_buffer(buffer, outputPath);
    else
        errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templatePath));
    finishRun();
    return made;
}

void TemplateToDocument::startTagCache()
{
    resolvedTags.clear();
    cachingTags = true;
}

void TemplateToDocument::endTagCache()
{
    cachingTags = false;
    resolvedTags.clear();
}

void TemplateToDocument::finishRun()
{
    endTagCache();
    progressPercent = 100;
    emit done();
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

void TemplateToDocument::error(QNetworkReply::NetworkError code)
{
    download.error(code);
}

void TemplateToDocument::sslErrors(QNetworkReply* reply, const QList<QSslError>& errors)
{
    download.sslErrors(reply, errors);
}

void TemplateToDocument::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    const int now = Download::percentOf(bytesReceived, bytesTotal);
    if (now < 0)
        return;
    progressPercent = now;
    LOG_TRACE() << "pst=" << progressPercent;
    emit progress(progressPercent);
}

void TemplateToDocument::downloadFinished(QNetworkReply* reply)
{
    download.replyFinished(reply);
}

void TemplateToDocument::templateDownloaded(bool ok, const QByteArray& body, const QString& failure)
{
    if (!ok) {
        errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templatePath, failure));
    } else {
        QBuffer buffer;
        buffer.setData(body);
        LOG_TRACE() << loggedName(outputFile) << "buf sz=" << buffer.size();
        const bool made = make_from_buffer(buffer, outputFile);
        LOG_TRACE() << loggedName(outputFile) << "make ret=" << made;
    }
    finishRun();
}
