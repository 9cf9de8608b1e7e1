#include "report/templatetoodt.h"

#include "report/odtspanjoiner.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QHash>

#include <quazip/quazip.h>

#include <algorithm>

namespace {

constexpr auto PatternOptions = QRegularExpression::UseUnicodePropertiesOption
    | QRegularExpression::DotMatchesEverythingOption | QRegularExpression::InvertedGreedinessOption;

struct Edit
{
    qsizetype start;
    qsizetype end;
    QString replacement;
};

// Applies edits that do not overlap; one that starts inside an earlier one (a frame
// within a removed frame) is left out with it.
QString applied(const QString& text, QList<Edit>& edits)
{
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });
    QString result;
    result.reserve(text.size());
    qsizetype copiedUpTo = 0;
    for (const Edit& edit : std::as_const(edits)) {
        if (edit.start < copiedUpTo)
            continue;
        result.append(QStringView(text).mid(copiedUpTo, edit.start - copiedUpTo));
        result.append(edit.replacement);
        copiedUpTo = edit.end;
    }
    result.append(QStringView(text).mid(copiedUpTo));
    return result;
}

QString kindName(DocxPicsHandler::PictureKind kind)
{
    switch (kind) {
    case DocxPicsHandler::Photo:
        return QStringLiteral("photo");
    case DocxPicsHandler::Graphic:
        return QStringLiteral("graphic");
    default:
        return QStringLiteral("appraiserLogo");
    }
}

// An attribute and its value, in double or single quotes.
QRegularExpression attributePattern(const QString& name)
{
    return QRegularExpression(QStringLiteral("(\\s%1\\s*=\\s*)([\"'])[^\"']*\\2").arg(QRegularExpression::escape(name)));
}

// Sets an attribute of a start tag (given without its closing), adding it when absent.
// The patterns of the few attributes a filled frame's image gets are made once: one
// compiled for each of twenty frames cost more than reading the frames.
void setAttribute(QString& tag, const QString& name, const QString& value)
{
    static const QHash<QString, QRegularExpression> known = [] {
        QHash<QString, QRegularExpression> patterns;
        for (const char* attribute : {"xlink:href", "xlink:type", "xlink:show", "xlink:actuate", "draw:mime-type",
                                      "loext:mime-type"})
            patterns.insert(QString::fromLatin1(attribute), attributePattern(QString::fromLatin1(attribute)));
        return patterns;
    }();
    const auto found = known.constFind(name);
    const QRegularExpression attribute = found != known.constEnd() ? *found : attributePattern(name);
    const QString written = value.toHtmlEscaped();
    if (tag.contains(attribute))
        tag.replace(attribute, QStringLiteral("\\1\"") + written + QLatin1Char('"'));
    else
        tag += QLatin1Char(' ') + name + QStringLiteral("=\"") + written + QLatin1Char('"');
}

} // namespace

QString TemplateToOdt::leftTagBracket() const
{
    return QStringLiteral("&lt;");
}

QString TemplateToOdt::rightTagBracket() const
{
    return QStringLiteral("&gt;");
}

QRegularExpression TemplateToOdt::paragraphRegExp() const
{
    static const QRegularExpression re(QStringLiteral("(<text:p(?:\\s|>).+</text:p>)"), PatternOptions);
    return re;
}

QRegularExpression TemplateToOdt::tableLineRegExp() const
{
    static const QRegularExpression re(QStringLiteral("(<table:table-row(?:\\s|>).+</table:table-row>)"), PatternOptions);
    return re;
}

QRegularExpression TemplateToOdt::pictureRegExp() const
{
    static const QRegularExpression re(
        QStringLiteral("(<draw:frame(?:\\s|>).+(?:<draw:image(?:\\s|\\s.+\\s)xlink:href=\"([^\"]+)\".+|)</draw:frame>)"),
        PatternOptions);
    return re;
}

bool TemplateToOdt::isNeedFiltering(const QString& entryName)
{
    return package.isTextPart(entryName);
}

bool TemplateToOdt::isLeftOutOfCopy(const QString& entryName) const
{
    static const QStringList notTheDocuments = {OdtPackage::ManifestEntry, QStringLiteral("Thumbnails/thumbnail.png"),
                                                QStringLiteral("META-INF/documentsignatures.xml")};
    return notTheDocuments.contains(entryName);
}

bool TemplateToOdt::isPhoto(const QString& entryName)
{
    return pictures.contains(entryName);
}

int TemplateToOdt::indexOf(const QString& entryName, DocxPicsHandler::PictureKind kind) const
{
    const auto found = pictures.constFind(entryName);
    return found != pictures.constEnd() && found->first == kind ? found->second : -1;
}

int TemplateToOdt::extractIndexFromPhotoName(const QString& entryName)
{
    return indexOf(entryName, DocxPicsHandler::Photo);
}

int TemplateToOdt::extractIndexFromGraphName(const QString& entryName)
{
    return indexOf(entryName, DocxPicsHandler::Graphic);
}

int TemplateToOdt::extractIndexFromLogoName(const QString& entryName)
{
    return indexOf(entryName, DocxPicsHandler::AppraiserLogo);
}

// Read anew for every template, so a generator that makes one document after another
// never takes a picture from an earlier template.
bool TemplateToOdt::beforeCopy(QuaZip& templateZip)
{
    pictures.clear();
    pictureOrder.clear();
    if (!package.read(templateZip)) {
        failRead(package.failure());
        return false;
    }
    return true;
}

QString TemplateToOdt::pictureEntry(const Binding& binding, const QString& suffix) const
{
    const QString base = QStringLiteral("Pictures/evaluation-%1-%2").arg(kindName(binding.first)).arg(binding.second);
    QString name = base + QLatin1Char('.') + suffix;
    for (int n = 1; package.hasEntry(name); ++n)
        name = base + QStringLiteral("-%1.").arg(n) + suffix;
    return name;
}

// Frames the evaluation fills show a picture file of their own; the others that stand
// for its pictures go. The text is rebuilt once.
bool TemplateToOdt::removeMissingPictures(QString& text)
{
    OdtPicsHandler reader;
    if (!reader.parseFramesOf(text))
        return true; // not XML: the part is refused after the passes
    QList<Edit> edits;
    for (const OdtPicsHandler::Frame& frame : reader.frames()) {
        if (frame.kind == DocxPicsHandler::None)
            continue;
        const Binding binding{frame.kind, frame.index};
        if (!hasEvaluationPicture(frame.kind, frame.index)) {
            LOG_TRACE() << "frame removed:" << frame.kind << frame.index;
            edits.append({frame.start, frame.end, QString()});
            continue;
        }
        const OdtPicsHandler::Image& shown = frame.images.first();
        const QString entry = pictureEntry(binding, OdtPicsHandler::suffixFor(shown));
        if (!pictures.contains(entry)) {
            pictures.insert(entry, binding);
            pictureOrder.append(entry);
        }
        edits.append({shown.start, shown.end, filledImageTag(text, shown, entry)});
        // Fallbacks (a bitmap beside a vector picture) would show the template's image.
        for (qsizetype i = 1; i < frame.images.size(); ++i)
            edits.append({frame.images.at(i).start, frame.images.at(i).end, QString()});
    }
    if (!edits.isEmpty())
        text = applied(text, edits);
    return true;
}

// The frame's image element naming the picture's own file; an image the template held
// inline loses its data.
QString TemplateToOdt::filledImageTag(const QString& text, const OdtPicsHandler::Image& image, const QString& entry)
{
    QString tag = text.mid(image.start, image.startTagEnd - image.start);
    tag.chop(tag.endsWith(QLatin1String("/>")) ? 2 : 1);
    while (!tag.isEmpty() && tag.back().isSpace())
        tag.chop(1);
    setAttribute(tag, QStringLiteral("xlink:href"), entry);
    setAttribute(tag, QStringLiteral("xlink:type"), QStringLiteral("simple"));
    setAttribute(tag, QStringLiteral("xlink:show"), QStringLiteral("embed"));
    setAttribute(tag, QStringLiteral("xlink:actuate"), QStringLiteral("onLoad"));
    for (const QLatin1String mimeAttribute : {QLatin1String("draw:mime-type"), QLatin1String("loext:mime-type")})
        if (tag.contains(QLatin1Char(' ') + mimeAttribute))
            setAttribute(tag, mimeAttribute, OdtPackage::mediaTypeOf(entry));
    return tag + QStringLiteral("/>");
}

QList<std::pair<QString, QByteArray>> TemplateToOdt::addedEntries()
{
    QList<std::pair<QString, QByteArray>> added;
    for (const QString& entry : std::as_const(pictureOrder))
        added.append({entry, QByteArray()});
    QStringList documentEntries;
    for (const QString& entry : package.entryNames())
        if (!isLeftOutOfCopy(entry))
            documentEntries.append(entry);
    added.append({OdtPackage::ManifestEntry, package.manifest(documentEntries + pictureOrder)});
    return added;
}

bool TemplateToOdt::make_from_buffer(QBuffer& templateBuffer, QString& outputPath)
{
    if (!passesTemplateCheck(templateBuffer.data(), getTemplatePath()))
        return false;
    QByteArray bytes = templateBuffer.data();
    QString reason;
    if (!OdtPackage::normalised(bytes, reason)) {
        errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, getTemplatePath(), reason));
        return false;
    }
    QBuffer normalisedTemplate(&bytes);
    const bool made = TemplateToZipDocument::make_from_buffer(normalisedTemplate, outputPath);
    if (!made && !passFailure().isEmpty())
        failTemplate(getTemplatePath());
    return made;
}

QString& TemplateToOdt::fitForDocument(QString& value) const
{
    return TagUtils::dropNonXmlCharacters(value);
}

QString TemplateToOdt::visibleText(QStringView markup) const
{
    static const QRegularExpression hidden(QStringLiteral("<(svg:desc|svg:title)(?:\\s[^>]*)?>.*</\\1>"), PatternOptions);
    static const QRegularExpression space(QStringLiteral("<text:(?:s|tab|line-break)(?:\\s[^>]*)?/>"));
    static const QRegularExpression markupTag(QStringLiteral("<[^>]*>"));
    QString shown = markup.toString();
    shown.remove(hidden).replace(space, QStringLiteral(" ")).remove(markupTag);
    return TagUtils::fromXmlValue(shown);
}

void TemplateToOdt::prepareText(QString& text)
{
    OdtSpanJoiner joiner;
    if (const int joined = joiner.join(text))
        LOG_DEBUG() << "tags split across spans joined:" << joined;
}
