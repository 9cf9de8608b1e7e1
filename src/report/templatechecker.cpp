#include "report/templatechecker.h"

#include "evaluation/autoevaluation.h"
#include "evaluation/tagnameregistry.h"
#include "report/docxpicshandler.h"
#include "report/splittagjoiner.h"
#include "report/tagpatterns.h"
#include "report/templatetodocx.h"
#include "report/templatetotxt.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <algorithm>

namespace {

constexpr int ContextLength = 100;

const QString RowMarkerName = QStringLiteral("НОМЕР_СТРОКИ");
const QString ParagraphMarkerName = QStringLiteral("НОМЕР_ПАРАГРАФА");

bool isMarkerName(const QString& name)
{
    return name == RowMarkerName || name == ParagraphMarkerName;
}

bool isZip(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "PK";
}

// The text of a DOCX paragraph, as the word processor shows it.
QString paragraphText(QStringView xml)
{
    static const QRegularExpression text(QStringLiteral("<w:t(?:\\s[^>]*)?>([^<]*)</w:t>"));
    QString shown;
    for (const QRegularExpressionMatch& match : text.globalMatch(xml))
        shown += match.capturedView(1);
    return shown;
}

QString shortened(const QString& text)
{
    const QString simple = text.simplified();
    return simple.size() <= ContextLength ? simple : simple.left(ContextLength) + QStringLiteral("…");
}

} // namespace

struct TemplateChecker::Block
{
    qsizetype start;
    qsizetype end;
    bool hasTag;
};

struct TemplateChecker::ConditionMarker
{
    QString name;
    bool shortForm; // L?NAME?R, which L?R may close
    Location location;
};

TemplateChecker::TemplateChecker() = default;
TemplateChecker::~TemplateChecker() = default;

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
    const QString metaTags = info.dir().filePath(QStringLiteral("metatags.txt"));
    package.clear();
    docxPart = isZip(path) || info.suffix().compare(QLatin1String("docx"), Qt::CaseInsensitive) == 0;
    if (!docxPart && info.isFile() && info.size() == 0) {
        problem(QStringLiteral("the file is empty: it is not a template"), {info.fileName(), 0, {}});
        return false;
    }
    generator.reset(docxPart ? static_cast<TemplateToDocument*>(new TemplateToDocx) : new TemplateToTxt);
    if (QFileInfo::exists(metaTags))
        generator->getMetaTagCatalog().load_from_disk(metaTags);
    if (evaluation)
        generator->use(*evaluation);
    if (docxPart)
        return checkDocx(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "template not read for checking:" << path << file.errorString();
        problem(QStringLiteral("the template cannot be read: %1").arg(file.errorString()), {info.fileName(), 0, {}});
        return false;
    }
    if (file.size() > TemplateToDocument::MAX_TEMPLATE_BYTES) {
        problem(QStringLiteral("the template is larger than %1 MiB, so it is not read")
                    .arg(TemplateToDocument::MAX_TEMPLATE_BYTES / (1024 * 1024)),
                {info.fileName(), 0, {}});
        return false;
    }
    checkText(info.fileName(), QString::fromUtf8(file.readAll()), false);
    return true;
}

// The parts and pictures the report would read, as the report reads them.
bool TemplateChecker::checkDocx(const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        LOG_WARNING() << "template is not a readable zip:" << path << "error" << zip.getZipError();
        problem(QStringLiteral("not a DOCX template: it is not a zip archive"), {fileName, 0, {}});
        return false;
    }
    if (!package.read(zip)) {
        problem(QStringLiteral("not a usable DOCX template: %1").arg(package.failure()), {fileName, 0, {}});
        return false;
    }
    for (const QString& part : package.textParts()) {
        QByteArray bytes;
        QuaZipFile entry(&zip);
        if (!zip.setCurrentFile(part) || !TemplateToZipDocument::readTextPart(entry, bytes)) {
            problem(QStringLiteral("the part cannot be read"), {part, 0, {}});
            continue;
        }
        checkText(part, QString::fromUtf8(bytes), true);
    }
    return true;
}

void TemplateChecker::checkText(const QString& name, const QString& original, bool docx)
{
    if (!generator || docx != bool(dynamic_cast<TemplateToDocx*>(generator.get()))) {
        generator.reset(docx ? static_cast<TemplateToDocument*>(new TemplateToDocx) : new TemplateToTxt);
        if (evaluation)
            generator->use(*evaluation);
    }
    partName = name;
    docxPart = docx;
    QString text = original;
    if (docx)
        SplitTagJoiner().join(text);
    paragraphStarts.clear();
    const QRegularExpression paragraphStart(docx ? QStringLiteral("<w:p[\\s>]") : QStringLiteral("^"),
                                            QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : paragraphStart.globalMatch(text))
        paragraphStarts.append(match.capturedStart());

    QList<Block> blocks = repeatedBlocks(text);
    QList<ConditionMarker> open;
    const QString left = generator->leftTagBracket();
    const QString right = generator->rightTagBracket();
    for (qsizetype start = text.indexOf(left); start >= 0; start = text.indexOf(left, start + left.size())) {
        const QChar kind = (start + left.size() < text.size() ? text.at(start + left.size()) : QChar());
        if (kind != QLatin1Char('#') && kind != QLatin1Char('%') && kind != QLatin1Char('?'))
            continue;
        const qsizetype from = start + left.size() + (kind == QLatin1Char('?') ? 0 : 1);
        const qsizetype close = text.indexOf(kind + right, from);
        const qsizetype next = text.indexOf(left, start + left.size());
        const qsizetype stop = next < 0 ? text.size() : next;
        const bool crossesMarkup =
            docx && close >= 0 && QStringView(text).mid(start, close - start).contains(QLatin1Char('<'));
        if (close < 0 || close > stop || crossesMarkup) {
            problem(QStringLiteral("unclosed tag: %1 has no %2")
                        .arg(unescaped(left) + kind, kind + unescaped(right)),
                    locate(text, start));
            continue;
        }
        checkToken(text, start, close + 1 + right.size(), blocks, open);
    }
    for (const ConditionMarker& marker : std::as_const(open))
        problem(QStringLiteral("condition \"%1\" has no end").arg(marker.name), marker.location);
    checkBlocks(text, blocks);
    if (docx)
        checkPictures(text);
}

void TemplateChecker::checkToken(const QString& text, qsizetype start, qsizetype end, QList<Block>& blocks,
                                 QList<ConditionMarker>& open)
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
            problem(QStringLiteral("unknown meta tag \"%1\"").arg(body), occurrence.location);
        else if (evaluation)
            occurrence.value = block;
    } else if (kind == QLatin1Char('?')) {
        occurrence.kind = Condition;
        occurrence.name = checkCondition(body, occurrence.location, open);
        if (occurrence.name.isEmpty())
            occurrence.name = body;
        else
            occurrence.value = valueOf(occurrence.name, 0);
    } else {
        occurrence.kind = Tag;
        occurrence.name = body.section(QLatin1Char('#'), 0, 0);
        Block* holder = nullptr;
        for (Block& block : blocks)
            if (block.start <= start && end <= block.end)
                holder = &block;
        if (holder && !isMarkerName(occurrence.name))
            holder->hasTag = true;
        checkPlainTag(body, occurrence.location, holder != nullptr);
        long flags = 0;
        for (const QString& flag : body.split(QLatin1Char('#')).mid(1))
            flags |= TemplateToDocument::parseTagFlag(QLatin1Char('#') + flag);
        if (!holder)
            occurrence.value = valueOf(occurrence.name, flags);
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
        problem(QStringLiteral("tag without a name"), where);
        return;
    }
    for (const QString& flag : pieces.mid(1)) {
        if (!flagForm.match(flag).hasMatch())
            problem(QStringLiteral("tag \"%1\": \"#%2\" is not a flag (one or two letters)").arg(name, flag), where);
        else if (TagUtils::flagForLetter(flag.at(0)) == 0)
            problem(QStringLiteral("tag \"%1\": unknown flag letter \"%2\"").arg(name, flag.at(0)), where);
    }
    const bool known = indexed ? isKnownName(name + QStringLiteral("_0")) || isKnownName(name + QStringLiteral("_1"))
                                 || isMarkerName(name)
                               : isKnownName(name);
    if (!known)
        problem(QStringLiteral("unknown tag name \"%1\"").arg(name), where);
}

// L?NAME?R, L?NAME!?R, L?NAME=VALUE?R and L?NAME!VALUE?R open a condition; L?R closes
// the nearest L?NAME?R, L?/NAME?R the nearest one of that name.
QString TemplateChecker::checkCondition(const QString& body, const Location& where, QList<ConditionMarker>& open)
{
    static const QRegularExpression opening(
        QRegularExpression::anchoredPattern(QStringLiteral("([^\\?!=/]+)(?:(!)|([!=])([\\d\\s\\w]+))?")),
        QRegularExpression::UseUnicodePropertiesOption);
    if (body.isEmpty() || body.startsWith(QLatin1Char('/'))) {
        const QString name = body.mid(1);
        auto opener = std::find_if(open.rbegin(), open.rend(), [&](const ConditionMarker& marker) {
            return body.isEmpty() ? marker.shortForm : marker.name == name;
        });
        if (opener == open.rend())
            problem(QStringLiteral("condition end \"%1\" without its start").arg(body), where);
        else
            open.erase(std::next(opener).base());
        return QString();
    }
    const QRegularExpressionMatch match = opening.match(body);
    if (!match.hasMatch()) {
        problem(QStringLiteral("malformed condition \"%1\"").arg(body), where);
        return QString();
    }
    const QString name = match.captured(1);
    open.append({name, match.capturedLength(2) + match.capturedLength(3) == 0, where});
    if (!isKnownName(name))
        problem(QStringLiteral("unknown tag name \"%1\" in a condition").arg(name), where);
    return name;
}

// A repeated block is copied while one of its indexed tags has a value; with none it
// never shows.
void TemplateChecker::checkBlocks(const QString& text, const QList<Block>& blocks)
{
    for (const Block& block : blocks)
        if (!block.hasTag)
            problem(QStringLiteral("repeated block without indexed tags: it never shows"), locate(text, block.start));
}

QList<TemplateChecker::Block> TemplateChecker::repeatedBlocks(const QString& text) const
{
    QList<Block> blocks;
    const QString left = generator->leftTagBracket();
    const QString right = generator->rightTagBracket();
    const std::pair<QRegularExpression, QString> kinds[] = {
        {TagPatterns::minimal(generator->paragraphRegExp()), left + QLatin1Char('#') + ParagraphMarkerName
                                                                 + QLatin1Char('#') + right},
        {TagPatterns::minimal(generator->tableLineRegExp()), left + QLatin1Char('#') + RowMarkerName
                                                                 + QLatin1Char('#') + right},
    };
    for (const auto& [pattern, marker] : kinds)
        for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
            if (match.capturedView(1).contains(marker))
                blocks.append({match.capturedStart(1), match.capturedEnd(1), false});
    return blocks;
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

QString TemplateChecker::pictureProblem(const DocxPicsHandler::Picture& picture) const
{
    static const QRegularExpression nearMiss(QStringLiteral("(photo|graphic|appraiserlogo)\\W?_?\\d"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString& described = picture.description; // as the word processor shows it
    if (picture.kind == DocxPicsHandler::None) {
        if (!nearMiss.match(described).hasMatch())
            return QString();
        return QStringLiteral("picture described \"%1\" names no picture of the evaluation (photo-N.jpg, "
                              "graphic-N.jpg, appraiserLogo-N.jpg): the template's own image stays")
            .arg(described);
    }
    if (!package.isTextPart(partName))
        return QString();
    if (picture.embedId.isEmpty())
        return QStringLiteral("picture described \"%1\" is linked to a file outside the template: the evaluation "
                              "cannot fill it, so it is removed")
            .arg(described);
    const QString image = package.entryNamed(partName, package.embedIdOf(partName, picture));
    if (image.isEmpty())
        return QStringLiteral("picture described \"%1\" shows %2, which the relationships of its part do not name: "
                              "it is removed")
            .arg(described, picture.embedId);
    if (!TemplateToZipDocument::canEncodeFor(image))
        return QStringLiteral("picture described \"%1\" is stored as %2, a format pictures cannot be written in: "
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
    return evaluation && evaluation->getTag(name, text, 0);
}

QString TemplateChecker::valueOf(const QString& name, long flags) const
{
    if (!evaluation)
        return QString();
    QString value;
    generator->getTag(name, value, flags);
    return value.isNull() ? value : unescaped(value);
}

TemplateChecker::Location TemplateChecker::locate(const QString& text, qsizetype pos) const
{
    const auto after = std::upper_bound(paragraphStarts.begin(), paragraphStarts.end(), pos);
    const int paragraph = int(after - paragraphStarts.begin());
    Location where{partName, paragraph, QString()};
    if (text.isEmpty() || paragraph == 0)
        return where;
    const qsizetype start = paragraphStarts.at(paragraph - 1);
    const qsizetype end = after == paragraphStarts.end() ? text.size() : *after;
    const QStringView span = QStringView(text).mid(start, end - start);
    where.context = shortened(docxPart ? unescaped(paragraphText(span)) : span.toString());
    return where;
}

void TemplateChecker::problem(const QString& message, const Location& where)
{
    LOG_DEBUG() << "template check:" << where.part << where.paragraph << message.size();
    errors.append({message, where});
}

QString TemplateChecker::unescaped(QStringView text)
{
    QString plain = text.toString();
    plain.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&apos;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
    return plain;
}
