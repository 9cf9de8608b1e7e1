#include "report/templatechecker.h"

#include "evaluation/autoevaluation.h"
#include "evaluation/tagnameregistry.h"
#include "report/conditionmarkup.h"
#include "report/docxpicshandler.h"
#include "report/metatagcatalog.h"
#include "report/odtpackage.h"
#include "report/odtpicshandler.h"
#include "report/tagpatterns.h"
#include "report/templatetodocx.h"
#include "report/templatetoodt.h"
#include "report/templatetotxt.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

bool isMarkerName(const QString& name)
{
    return TagPatterns::isMarkerName(name);
}

bool isZip(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "PK";
}

// An OpenDocument package names its kind in a first entry "mimetype"; one written
// otherwise is known by its name.
bool isOdt(const QString& name, const QByteArray& head)
{
    return head.startsWith("PK")
        && (head.mid(30, 8) == "mimetype" || QFileInfo(name).suffix().compare(QLatin1String("odt"), Qt::CaseInsensitive) == 0);
}

QByteArray headOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
}

// What the author typed of a tag that is not closed: up to the markup or the line that
// follows, at most a few words.
QString unclosedTagText(QStringView tag, qsizetype leftSize)
{
    constexpr qsizetype ShownLength = 40;
    qsizetype end = qMin(tag.size(), leftSize + ShownLength);
    for (const QChar stop : {QLatin1Char('<'), QLatin1Char('\n')}) {
        const qsizetype at = tag.left(end).indexOf(stop, leftSize);
        if (at >= 0)
            end = at;
    }
    return TemplateChecker::unescaped(tag.left(end)).simplified();
}

} // namespace

struct TemplateChecker::ConditionMarker
{
    ConditionMarkup::Marker marker;
    QString text; // between L? and ?R
    Location location;
};

TemplateChecker::TemplateChecker() = default;

TemplateChecker::TemplateChecker(TemplateToDocument& renderer) : generator(&renderer), rendering(true) {}

TemplateChecker::~TemplateChecker() = default;

void TemplateChecker::useOwnGenerator(Flavour flavour)
{
    if (flavour == Flavour::Odt)
        ownGenerator = std::make_unique<TemplateToOdt>();
    else if (flavour == Flavour::Docx)
        ownGenerator = std::make_unique<TemplateToDocx>();
    else
        ownGenerator = std::make_unique<TemplateToTxt>();
    if (evaluation)
        ownGenerator->use(*evaluation);
    generator = ownGenerator.get();
    rendering = false;
}

void TemplateChecker::setApproachKeys(const QStringList& keys)
{
    approachKeys = keys;
}

void TemplateChecker::use(AutoEvaluation& attached)
{
    evaluation = &attached;
}

bool TemplateChecker::checkFile(const QString& path)
{
    const QFileInfo info(path);
    templateName = info.fileName();
    const QString metaTags = info.dir().filePath(MetaTagCatalog::FolderFileName);
    package.clear();
    docxPart = isZip(path) || info.suffix().compare(QLatin1String("docx"), Qt::CaseInsensitive) == 0;
    if (!docxPart && info.isFile() && info.size() == 0) {
        problem(tr("the file is empty: it is not a template"), {info.fileName(), 0, {}});
        return false;
    }
    const bool odt = docxPart && isOdt(path, headOf(path));
    useOwnGenerator(odt ? Flavour::Odt : docxPart ? Flavour::Docx : Flavour::Text);
    if (QFileInfo::exists(metaTags))
        generator->getMetaTagCatalog().load_from_disk(metaTags);
    if (docxPart)
        return checkDocx(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "template not read for checking:" << path << file.errorString();
        problem(tr("the template cannot be read: %1").arg(file.errorString()), {info.fileName(), 0, {}});
        return false;
    }
    if (file.size() > TemplateToDocument::MAX_TEMPLATE_BYTES) {
        problem(tr("the template is larger than %1 MiB, so it is not read")
                    .arg(TemplateToDocument::MAX_TEMPLATE_BYTES / (1024 * 1024)),
                {info.fileName(), 0, {}});
        return false;
    }
    checkText(info.fileName(), QString::fromUtf8(file.readAll()), false);
    return true;
}

bool TemplateChecker::checkTemplate(const QString& name, const QByteArray& bytes)
{
    templateName = name;
    const bool docx = rendering ? dynamic_cast<TemplateToZipDocument*>(generator) != nullptr : bytes.startsWith("PK");
    if (!rendering)
        useOwnGenerator(!docx ? Flavour::Text : isOdt(name, bytes) ? Flavour::Odt : Flavour::Docx);
    if (!docx) {
        checkText(name, QString::fromUtf8(bytes), false);
        return true;
    }
    QBuffer package;
    package.setData(bytes);
    return checkPackage(package, name);
}

bool TemplateChecker::checkDocx(const QString& path)
{
    QFile file(path);
    return checkPackage(file, QFileInfo(path).fileName());
}

// The parts and pictures the report would read, as the report reads them.
bool TemplateChecker::checkPackage(QIODevice& device, const QString& fileName)
{
    package.clear();
    QuaZip zip(&device);
    const bool odt = dynamic_cast<TemplateToOdt*>(generator) != nullptr;
    if (!zip.open(QuaZip::mdUnzip)) {
        LOG_WARNING() << "template is not a readable zip:" << fileName << "error" << zip.getZipError();
        problem(tr("not a %1 template: it is not a zip archive").arg(QLatin1String(odt ? "ODT" : "DOCX")),
                {fileName, 0, {}});
        return false;
    }
    if (odt) {
        OdtPackage odtPackage;
        if (!odtPackage.read(zip)) {
            problem(QStringLiteral("not a usable ODT template: %1").arg(odtPackage.failure()), {fileName, 0, {}});
            return false;
        }
        checkParts(zip, odtPackage.textParts());
        return true;
    }
    if (!package.read(zip)) {
        problem(tr("not a usable DOCX template: %1").arg(package.failure()), {fileName, 0, {}});
        return false;
    }
    checkParts(zip, package.textParts());
    return true;
}

void TemplateChecker::checkParts(QuaZip& zip, const QStringList& parts)
{
    for (const QString& part : parts) {
        QByteArray bytes;
        QuaZipFile entry(&zip);
        if (!zip.setCurrentFile(part) || !TemplateToZipDocument::readTextPart(entry, bytes)) {
            problem(tr("the part cannot be read"), {part, 0, {}});
            continue;
        }
        checkText(part, QString::fromUtf8(bytes), true);
    }
}

void TemplateChecker::checkText(const QString& name, const QString& original, bool docx)
{
    if (!rendering && (!generator || docx != bool(dynamic_cast<TemplateToZipDocument*>(generator))))
        useOwnGenerator(docx ? Flavour::Docx : Flavour::Text);
    partName = name;
    docxPart = docx;
    QString text = original;
    generator->prepareText(text);
    locations.index(text, docx);

    const QString left = generator->leftTagBracket();
    const QString right = generator->rightTagBracket();
    RepeatedBlocks blocks(text, *generator);
    QList<ConditionMarker> conditions;
    for (qsizetype start = text.indexOf(left), next = 0; start >= 0; start = next) {
        next = text.indexOf(left, start + left.size());
        const QChar kind = (start + left.size() < text.size() ? text.at(start + left.size()) : QChar());
        if (kind != QLatin1Char('#') && kind != QLatin1Char('%') && kind != QLatin1Char('?'))
            continue;
        // A tag ends before the next left bracket, or is not closed: no search goes further.
        const qsizetype from = start + left.size() + (kind == QLatin1Char('?') ? 0 : 1);
        const qsizetype stop = next < 0 ? text.size() : next;
        qsizetype close = QStringView(text).mid(from, stop - from).indexOf(kind + right);
        close = close < 0 ? -1 : from + close;
        const bool crossesMarkup =
            docx && close >= 0 && QStringView(text).mid(start, close - start).contains(QLatin1Char('<'));
        if (close < 0 || crossesMarkup) {
            problem(tr("unclosed tag: \"%1\" has no %2")
                        .arg(unclosedTagText(QStringView(text).mid(start, stop - start), left.size()),
                             kind + unescaped(right)),
                    locate(text, start));
            continue;
        }
        checkToken(text, start, close + 1 + right.size(), blocks, conditions);
    }
    checkConditionPairs(text, conditions);
    checkBlocks(text, blocks);
    if (dynamic_cast<TemplateToOdt*>(generator))
        checkFrames(text);
    else if (docx)
        checkPictures(text);
}

void TemplateChecker::checkToken(const QString& text, qsizetype start, qsizetype end, RepeatedBlocks& blocks,
                                 QList<ConditionMarker>& conditions)
{
    const qsizetype leftSize = generator->leftTagBracket().size();
    const qsizetype inner = start + leftSize + 1;
    // L?R, the short end of a condition, has no body: its "?" is the one that opened it.
    const QString body = text.mid(inner, qMax<qsizetype>(0, end - generator->rightTagBracket().size() - 1 - inner));
    const QChar kind = text.at(start + leftSize);
    Occurrence occurrence;
    occurrence.text = unescaped(QStringView(text).mid(start, end - start));
    occurrence.location = locate(text, start);
    if (kind == QLatin1Char('%')) {
        occurrence.kind = MetaTag;
        occurrence.name = body;
        QString block;
        if (!generator->getMetaTagCatalog().getTag(body, block))
            problem(tr("unknown meta tag \"%1\"").arg(body), occurrence.location);
        else if (evaluation)
            occurrence.value = block;
    } else if (kind == QLatin1Char('?')) {
        occurrence.kind = Condition;
        occurrence.name = checkCondition(body, start, end, occurrence.location, conditions);
        if (occurrence.name.isEmpty())
            occurrence.name = body;
        else
            occurrence.value = valueOf(occurrence.name, 0);
    } else {
        occurrence.kind = Tag;
        occurrence.name = body.section(QLatin1Char('#'), 0, 0);
        RepeatedBlocks::Block* holder = blocks.holding(start, end);
        if (holder && !isMarkerName(occurrence.name))
            holder->hasTag = true;
        checkPlainTag(body, occurrence.location, holder != nullptr);
        long flags = 0;
        for (const QString& flag : body.split(QLatin1Char('#')).mid(1))
            flags |= TemplateToDocument::parseTagFlag(QLatin1Char('#') + flag);
        if (!holder)
            occurrence.value = valueOf(occurrence.name, flags);
        if (!isMarkerName(occurrence.name))
            checkValueFits(occurrence.name, flags, holder != nullptr, occurrence.location);
    }
    found.append(occurrence);
}

void TemplateChecker::checkPlainTag(const QString& body, const Location& where, bool indexed)
{
    static const QRegularExpression flagForm(QRegularExpression::anchoredPattern(QStringLiteral("\\w[\\w\\d]?")),
                                             QRegularExpression::UseUnicodePropertiesOption);
    const QStringList pieces = body.split(QLatin1Char('#'));
    const QString& name = pieces.first();
    if (name.isEmpty()) {
        problem(tr("tag without a name"), where);
        return;
    }
    for (const QString& flag : pieces.mid(1)) {
        if (!flagForm.match(flag).hasMatch())
            problem(tr("tag \"%1\": \"#%2\" is not a flag (one or two letters)").arg(name, flag), where);
        else if (TagUtils::flagForLetter(flag.at(0)) == 0)
            problem(tr("tag \"%1\": unknown flag letter \"%2\"").arg(name, flag.at(0)), where);
    }
    const bool known = indexed ? isKnownName(name + QStringLiteral("_0")) || isKnownName(name + QStringLiteral("_1"))
                                 || isMarkerName(name)
                               : isKnownName(name);
    if (!known)
        problem(tr("unknown tag name \"%1\"").arg(name), where);
}

// L?NAME?R, L?NAME!?R, L?NAME=VALUE?R and L?NAME!VALUE?R open a condition, L?/NAME?R
// and L?R end one; which end closes which opening is settled once all are known.
QString TemplateChecker::checkCondition(const QString& body, qsizetype start, qsizetype end, const Location& where,
                                        QList<ConditionMarker>& conditions)
{
    ConditionMarker condition{{}, body, where};
    if (!ConditionMarkup::parse(body, condition.marker)) {
        problem(tr("malformed condition \"%1\"").arg(body), where);
        return QString();
    }
    condition.marker.start = start;
    condition.marker.end = end;
    conditions.append(condition);
    if (condition.marker.role != ConditionMarkup::Marker::Opening)
        return QString();
    const QString& name = condition.marker.name;
    if (!isKnownName(name))
        problem(tr("unknown tag name \"%1\" in a condition").arg(name), where);
    return name;
}

// Paired as the report pairs them: an end that closes nothing and an opening that is never
// closed stay in the document as text.
void TemplateChecker::checkConditionPairs(const QString& text, QList<ConditionMarker>& conditions)
{
    QList<ConditionMarkup::Marker> markers;
    markers.reserve(conditions.size());
    for (const ConditionMarker& condition : std::as_const(conditions))
        markers.append(condition.marker);
    ConditionMarkup::pair(text, markers, true);
    for (int i = 0; i < markers.size(); ++i)
        if (markers.at(i).role != ConditionMarkup::Marker::Opening && markers.at(i).partner < 0)
            problem(tr("condition end \"%1\" without its start").arg(conditions.at(i).text), conditions.at(i).location);
    for (int i = 0; i < markers.size(); ++i)
        if (markers.at(i).role == ConditionMarkup::Marker::Opening && markers.at(i).partner < 0)
            problem(tr("condition \"%1\" has no end").arg(markers.at(i).name), conditions.at(i).location);
}

// A repeated block is copied while one of its indexed tags has a value; with none it
// never shows.
void TemplateChecker::checkBlocks(const QString& text, const RepeatedBlocks& blocks)
{
    for (const RepeatedBlocks::Block& block : blocks.all())
        if (!block.hasTag)
            problem(tr("repeated block without indexed tags: it never shows"), locate(text, block.start));
}

// The value a DOCX document gets lacks the characters XML cannot hold; the user is told
// which tags lose some. In a repeated block, every item's value.
void TemplateChecker::checkValueFits(const QString& name, long flags, bool indexed, const Location& where)
{
    if (!evaluation || !docxPart)
        return;
    for (int item = 0; item < (indexed ? TemplateToDocument::MAX_BLOCK_COPIES : 1); ++item) {
        QString itemName;
        TagUtils::appendIndexIfAny(name, indexed ? item : TagUtils::NoIndex, itemName);
        QString value;
        if (!evaluation->getTag(itemName, value, flags) || value.isNull())
            return;
        if (const qsizetype dropped = TagUtils::nonXmlCharacterCount(value))
            cautions.append({tr("tag \"%1\": its value holds %2 character(s) a DOCX document cannot "
                                "hold, such as control characters; the document leaves them out")
                                 .arg(itemName)
                                 .arg(dropped),
                             where, templateName});
    }
}

// Pictures the evaluation is meant to fill and will not, and descriptions that were
// meant to name one of its pictures and do not (the template's own image would show).
void TemplateChecker::checkPictures(const QString& text)
{
    DocxPicsHandler reader;
    if (!reader.parseDrawingsOf(text))
        return;
    for (const DocxPicsHandler::Drawing& drawing : reader.drawings()) {
        for (const DocxPicsHandler::Picture& picture : drawing.pictures) {
            const QString message = pictureProblem(picture);
            if (!message.isEmpty())
                problem(message, locate(text, reader.extentOf(drawing, text).first));
        }
    }
}

// Frames of an ODT part meant to name a picture of the evaluation that do not.
void TemplateChecker::checkFrames(const QString& text)
{
    OdtPicsHandler reader;
    if (!reader.parseFramesOf(text))
        return;
    for (const OdtPicsHandler::Frame& frame : reader.frames()) {
        if (frame.kind != DocxPicsHandler::None)
            continue;
        int index = -1;
        const QString message =
            DocxPicsHandler::kindOf(frame.title, index) != DocxPicsHandler::None
                ? QStringLiteral("picture with the alternative text \"%1\": a picture of the evaluation is named by "
                                 "its description or its name, so the template's own image stays")
                      .arg(frame.title)
                : nearMissProblem(frame.description.isEmpty() ? frame.name : frame.description);
        if (!message.isEmpty())
            problem(message, locate(text, frame.start));
    }
}

QString TemplateChecker::nearMissProblem(const QString& described)
{
    static const QRegularExpression nearMiss(QStringLiteral("(photo|graphic|appraiserlogo)\\W?_?\\d"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!nearMiss.match(described).hasMatch())
        return QString();
    return tr("picture described \"%1\" names no picture of the evaluation (photo-N.jpg, "
              "graphic-N.jpg, appraiserLogo-N.jpg): the template's own image stays")
        .arg(described);
}

QString TemplateChecker::pictureProblem(const DocxPicsHandler::Picture& picture) const
{
    const QString& described = picture.description; // as the word processor shows it
    if (picture.kind == DocxPicsHandler::None)
        return nearMissProblem(described);
    if (!package.isTextPart(partName))
        return QString();
    if (picture.embedId.isEmpty())
        return tr("picture described \"%1\" is linked to a file outside the template: the evaluation "
                  "cannot fill it, so it is removed")
            .arg(described);
    const QString image = package.entryNamed(partName, package.embedIdOf(partName, picture));
    if (image.isEmpty())
        return tr("picture described \"%1\" shows %2, which the relationships of its part do not name: "
                  "it is removed")
            .arg(described, picture.embedId);
    if (!TemplateToZipDocument::canEncodeFor(image))
        return tr("picture described \"%1\" is stored as %2, a format pictures cannot be written in: "
                  "it is removed")
            .arg(described, image);
    return QString();
}

bool TemplateChecker::isKnownName(const QString& name) const
{
    if (isMarkerName(name) || TagNameRegistry::isKnown(name))
        return true;
    for (const QString& key : approachKeys)
        if (name.startsWith(key + QLatin1Char('_')))
            return true;
    QString text;
    if (generator->getMetaTagCatalog().getTag(name, text))
        return true;
    AutoEvaluation* answering = knownNamesSource();
    return answering && answering->getTag(name, text, 0);
}

AutoEvaluation* TemplateChecker::knownNamesSource() const
{
    if (evaluation)
        return evaluation;
    return rendering && generator->isValidSource() ? &generator->AE() : nullptr;
}

QString TemplateChecker::valueOf(const QString& name, long flags) const
{
    if (!evaluation)
        return QString();
    QString value;
    generator->getTag(name, value, flags);
    return value.isNull() ? value : unescaped(value);
}

TemplateChecker::Location TemplateChecker::locate(const QString& text, qsizetype pos)
{
    return {partName, locations.paragraphOf(pos), locations.contextOf(text, pos, *generator)};
}

void TemplateChecker::problem(const QString& message, const Location& where)
{
    LOG_DEBUG() << "template check:" << where.part << where.paragraph << message.size();
    errors.append({message, where, templateName});
}

QString TemplateChecker::unescaped(QStringView text)
{
    QString plain = text.toString();
    return TagUtils::fromXmlValue(plain);
}
