#include "report/templatetodocx.h"

#include "catalog/appraisalcompany.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/photogallery.h"
#include "report/splittagjoiner.h"
#include "report/tagpatterns.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <algorithm>

namespace {

constexpr auto PatternOptions = QRegularExpression::UseUnicodePropertiesOption
    | QRegularExpression::DotMatchesEverythingOption | QRegularExpression::InvertedGreedinessOption;

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
    return package.isTextPart(entryName);
}

bool TemplateToDocx::isPhoto(const QString& entryName)
{
    return package.bindingOf(entryName).kind != DocxPicsHandler::None;
}

int TemplateToDocx::indexOf(const QString& entryName, DocxPicsHandler::PictureKind kind) const
{
    const DocxPackage::Binding binding = package.bindingOf(entryName);
    return binding.kind == kind ? binding.index : -1;
}

int TemplateToDocx::extractIndexFromPhotoName(const QString& entryName)
{
    return indexOf(entryName, DocxPicsHandler::Photo);
}

int TemplateToDocx::extractIndexFromGraphName(const QString& entryName)
{
    return indexOf(entryName, DocxPicsHandler::Graphic);
}

int TemplateToDocx::extractIndexFromLogoName(const QString& entryName)
{
    return indexOf(entryName, DocxPicsHandler::AppraiserLogo);
}

bool TemplateToDocx::parseXml(QuaZipFile& entry, XmlDefaultHandler& handler)
{
    QByteArray bytes;
    return readTextPart(entry, bytes) && handler.parse(bytes);
}

// Read anew for every template, so a generator that makes one document after another
// never takes a picture from an earlier template.
bool TemplateToDocx::beforeCopy(QuaZip& templateZip)
{
    pictureHasData.clear();
    if (!package.read(templateZip, DocxPackage::TextParts::CheckedLater)) {
        failRead(package.failure());
        return false;
    }
    for (const QString& image : package.boundImages())
        if (evaluationFillsImage(image))
            pictureHasData.insert(image, true);
    settledParts.clear();
    for (const QString& part : package.textParts())
        if (picturesStaySettled(part))
            settledParts.insert(part);
    return true;
}

// The passes keep each drawing of a part whole, copied or dropped, when no bracket
// stands inside one and the part has no meta tag, whose text could bring drawings of its
// own. When none of the template's drawings needs an edit then, none of the document's
// does, and the part is not read for drawings again after the passes.
bool TemplateToDocx::picturesStaySettled(const QString& part) const
{
    if (package.textContains(part, TagPatterns::metaTagOpening(leftTagBracket()))
        || package.drawingsContain(part, leftTagBracket()))
        return false;
    for (const DocxPicsHandler::Drawing& drawing : package.drawings(part)) {
        if (!isFilled(part, drawing))
            return false;
        for (const DocxPicsHandler::Picture& picture : drawing.pictures)
            if (needsEdit(part, picture))
                return false;
    }
    return true;
}

bool TemplateToDocx::evaluationFillsImage(const QString& entryName)
{
    if (!isValidSource())
        return false;
    if (!canEncodeFor(entryName)) {
        LOG_WARNING() << "pictures cannot be written in the format of" << entryName;
        return false;
    }
    const DocxPackage::Binding binding = package.bindingOf(entryName);
    return hasEvaluationPicture(binding.kind, binding.index);
}

bool TemplateToDocx::replacementOf(const QString& name, QByteArray& bytes)
{
    const auto found = package.replacedEntries().constFind(name);
    if (found == package.replacedEntries().constEnd())
        return false;
    bytes = *found;
    return true;
}

bool TemplateToDocx::takeTextPart(const QString& name, QString& text)
{
    return package.takeText(name, text);
}

QList<std::pair<QString, QByteArray>> TemplateToDocx::addedEntries()
{
    return package.addedEntries();
}

// A picture is filled when its image file is in the package, stands for this very
// picture and the evaluation has it.
bool TemplateToDocx::isFilled(const QString& part, const DocxPicsHandler::Drawing& drawing) const
{
    for (const DocxPicsHandler::Picture& picture : drawing.pictures) {
        if (picture.kind == DocxPicsHandler::None)
            continue;
        const QString image = package.entryNamed(part, package.embedIdOf(part, picture));
        LOG_TRACE() << "pic:" << picture.embedId << image;
        if (image.isEmpty() || !(package.bindingOf(image) == DocxPackage::Binding{picture.kind, picture.index})
            || !pictureHasData.value(image, false))
            return false;
    }
    return true;
}

// Drawings that show only the template's own pictures stay; so do those whose
// pictures the evaluation fills, each shown from its own image file. The others go,
// each as its own element, so the text and the drawings around them stay. The text is
// rebuilt once.
bool TemplateToDocx::removeMissingPictures(QString& text)
{
    if (settledParts.contains(currentPart()))
        return true;
    DocxPicsHandler reader;
    if (!reader.parseDrawingsOf(text))
        return true; // not XML: the part is refused after the passes
    QList<Edit> edits;
    for (const DocxPicsHandler::Drawing& drawing : reader.drawings()) {
        if (!isFilled(currentPart(), drawing)) {
            const auto [start, end] = reader.extentOf(drawing, text);
            edits.append({start, end, QString()});
            continue;
        }
        for (const DocxPicsHandler::Picture& picture : drawing.pictures)
            if (needsEdit(currentPart(), picture))
                edits.append(filledPictureEdit(text, picture, package.embedIdOf(currentPart(), picture)));
    }
    if (edits.isEmpty())
        return true;
    // Drawings start in order; a removed mc:AlternateContent starts before its choices.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });
    QString kept;
    kept.reserve(text.size());
    qsizetype copiedUpTo = 0;
    for (const Edit& edit : std::as_const(edits)) {
        if (edit.start < copiedUpTo)
            continue; // within a drawing removed already
        kept.append(QStringView(text).mid(copiedUpTo, edit.start - copiedUpTo));
        kept.append(edit.replacement);
        copiedUpTo = edit.end;
    }
    kept.append(QStringView(text).mid(copiedUpTo));
    text = std::move(kept);
    return true;
}

bool TemplateToDocx::needsEdit(const QString& part, const DocxPicsHandler::Picture& picture) const
{
    return picture.kind != DocxPicsHandler::None
        && (package.embedIdOf(part, picture) != picture.embedId || !picture.linkId.isEmpty());
}

// The start tag that names a filled picture's image, naming it by the given id and no
// longer linking a file: a word processor updates linked pictures from their files (Word
// does before printing), which would put the template's sample back in the photo's place.
TemplateToDocx::Edit TemplateToDocx::filledPictureEdit(const QString& text, const DocxPicsHandler::Picture& picture,
                                                       const QString& id)
{
    const auto attribute = [](const QString& name) {
        return QRegularExpression(QStringLiteral("(\\s%1\\s*=\\s*)([\"'])[^\"']*\\2").arg(QRegularExpression::escape(name)));
    };
    const qsizetype start = text.lastIndexOf(QLatin1Char('<'), qsizetype(picture.tagEnd) - 1);
    QString tag = text.mid(start, qsizetype(picture.tagEnd) - start);
    tag.replace(attribute(picture.idAttribute), QStringLiteral("\\1\"") + id.toHtmlEscaped() + QLatin1Char('"'));
    if (!picture.linkAttribute.isEmpty())
        tag.replace(attribute(picture.linkAttribute), QString());
    return {start, qsizetype(picture.tagEnd), tag};
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
