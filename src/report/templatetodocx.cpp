#include "report/templatetodocx.h"

#include "catalog/appraisalcompany.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/photogallery.h"
#include "report/splittagjoiner.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

constexpr auto PatternOptions = QRegularExpression::UseUnicodePropertiesOption
    | QRegularExpression::DotMatchesEverythingOption | QRegularExpression::InvertedGreedinessOption;

const QString& relationshipsPart()
{
    static const QString name = QStringLiteral("word/_rels/document.xml.rels");
    return name;
}

const QString& mainDocumentPart()
{
    static const QString name = QStringLiteral("word/document.xml");
    return name;
}

} // namespace

QString TemplateToDocx::leftTagBracket() const
{
    return QStringLiteral("&lt;");
}

QString TemplateToDocx::rightTagBracket() const
{
    return QStringLiteral("&gt;");
}

QRegularExpression TemplateToDocx::paragraphRegExp() const
{
    static const QRegularExpression re(QStringLiteral("(<w:p(?:\\s|>).+</w:p>)"), PatternOptions);
    return re;
}

QRegularExpression TemplateToDocx::tableLineRegExp() const
{
    static const QRegularExpression re(QStringLiteral("(<w:tr(?:\\s|>).+</w:tr>)"), PatternOptions);
    return re;
}

QRegularExpression TemplateToDocx::pictureRegExp() const
{
    static const QRegularExpression re(
        QStringLiteral("(<w:drawing(?:\\s|>).+(?:<a:blip(?:\\s|\\s.+\\s)r:embed=\"([^\"]+)\".+|)</w:drawing>)"),
        PatternOptions);
    return re;
}

bool TemplateToDocx::isNeedFiltering(const QString& entryName)
{
    static const QRegularExpression re(
        QStringLiteral("word/(document|footer[1234]|header[1234]|footnotes|endnotes)\\.xml"));
    return re.match(entryName).hasMatch();
}

bool TemplateToDocx::isPhoto(const QString& entryName)
{
    return entryName.contains(QLatin1String("word/media/image"));
}

// Word processors store inserted pictures in any raster format, so any numbered image
// file can stand for a picture of the evaluation.
bool TemplateToDocx::extractRID(const QString& entryName, QString& rid)
{
    static const QRegularExpression re(QStringLiteral("word/(media/.+\\d+\\.(?i:jpeg|jpg|png|gif|bmp))$"),
                                       QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = re.match(entryName);
    if (!match.hasMatch())
        return false;
    relsHandler.getRID(match.captured(1), rid);
    return true;
}

int TemplateToDocx::extractIndexFromPhotoName(const QString& entryName)
{
    QString rid;
    return extractRID(entryName, rid) ? picsHandler.getPhotoIDX(rid) : -1;
}

int TemplateToDocx::extractIndexFromGraphName(const QString& entryName)
{
    QString rid;
    return extractRID(entryName, rid) ? picsHandler.getGraphicIDX(rid) : -1;
}

int TemplateToDocx::extractIndexFromLogoName(const QString& entryName)
{
    QString rid;
    return extractRID(entryName, rid) ? picsHandler.getLogoIDX(rid) : -1;
}

bool TemplateToDocx::parseXml(QuaZipFile& entry, XmlDefaultHandler& handler)
{
    QByteArray bytes;
    return readTextPart(entry, bytes) && handler.parse(bytes);
}

// The maps start empty for every template, so a generator that makes one document after
// another never takes a picture from an earlier template.
bool TemplateToDocx::beforeCopy(QuaZip& templateZip)
{
    relsHandler.clear();
    picsHandler.clear();
    pictureHasData.clear();
    for (bool more = templateZip.goToFirstFile(); more; more = templateZip.goToNextFile()) {
        const QString name = templateZip.getCurrentFileName();
        if (name != relationshipsPart() && name != mainDocumentPart())
            continue;
        QuaZipFile entry(&templateZip);
        XmlDefaultHandler& handler =
            name == relationshipsPart() ? static_cast<XmlDefaultHandler&>(relsHandler) : picsHandler;
        if (!parseXml(entry, handler))
            LOG_WARNING() << "template part not read whole:" << name << handler.errorString();
    }
    for (bool more = templateZip.goToFirstFile(); more; more = templateZip.goToNextFile()) {
        const QString name = templateZip.getCurrentFileName();
        QString rid;
        if (isPhoto(name) && extractRID(name, rid) && hasData(name))
            pictureHasData.insert(rid, true);
    }
    return true;
}

bool TemplateToDocx::hasData(const QString& entryName)
{
    if (!isValidSource())
        return false;
    if (!canEncodeFor(entryName)) {
        LOG_WARNING() << "pictures cannot be written in the format of" << entryName;
        return false;
    }
    int index = extractIndexFromPhotoName(entryName);
    if (index >= 0)
        return index < AE().getPhotoGallery()->getPhotoCount();
    if (AE().isApproach(APPROACH_COMPARATIVE) && (index = extractIndexFromGraphName(entryName)) >= 0)
        return index < AE().getApproach(APPROACH_COMPARATIVE)->getImageCount();
    index = extractIndexFromLogoName(entryName);
    AppraiserList* appraisers = AE().getAppraiserList();
    LOG_TRACE() << "appraiser cnt=" << appraisers->count() << "idx=" << index << entryName;
    if (index < 0 || index >= appraisers->count())
        return false;
    AgreeAppraiser* appraiser = appraisers->getAppraiserInOrder(index);
    return appraiser && appraiser->getAppraisalCompany() && appraiser->getAppraisalCompany()->isLogo();
}

// Drawings without an image id stay; the others stay when their picture has data. The
// text is rebuilt once, so a document with many drawings costs no more than one scan.
bool TemplateToDocx::removeMissingPictures(QString& text)
{
    const QRegularExpression& picture = pictureRegExp();
    QString kept;
    qsizetype copiedUpTo = 0;
    QRegularExpressionMatchIterator drawings = picture.globalMatch(text);
    while (drawings.hasNext()) {
        const QRegularExpressionMatch match = drawings.next();
        const QString rid = match.captured(2);
        LOG_TRACE() << "pic #2:" << rid;
        if (rid.isEmpty() || pictureHasData.value(rid, false))
            continue;
        if (kept.isNull())
            kept.reserve(text.size());
        kept.append(QStringView(text).mid(copiedUpTo, match.capturedStart(1) - copiedUpTo));
        copiedUpTo = match.capturedEnd(1);
    }
    if (copiedUpTo > 0) {
        kept.append(QStringView(text).mid(copiedUpTo));
        text = kept;
    }
    return true;
}

bool TemplateToDocx::make_from_buffer(QBuffer& templateBuffer, QString& outputPath)
{
    if (!passesTemplateCheck(templateBuffer.data(), getTemplatePath()))
        return false;
    const bool made = TemplateToZipDocument::make_from_buffer(templateBuffer, outputPath);
    if (!made && !passFailure().isEmpty())
        failTemplate(getTemplatePath());
    return made;
}

QString& TemplateToDocx::fitForDocument(QString& value) const
{
    return TagUtils::dropNonXmlCharacters(value);
}

QString TemplateToDocx::visibleText(QStringView markup) const
{
    static const QRegularExpression text(QStringLiteral("<w:t(?:\\s[^>]*)?>([^<]*)</w:t>"));
    QString shown;
    for (const QRegularExpressionMatch& match : text.globalMatch(markup))
        shown += match.capturedView(1);
    return TagUtils::fromXmlValue(shown);
}

void TemplateToDocx::prepareText(QString& text)
{
    SplitTagJoiner joiner;
    if (const int joined = joiner.join(text))
        LOG_DEBUG() << "tags split across runs joined:" << joined;
}
