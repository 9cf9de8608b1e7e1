#include "report/docxpackage.h"

#include "report/docxcontenttypes.h"
#include "report/tagpatterns.h"
#include "report/templatetozipdocument.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "runtime/xmlwellformedness.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QUrl>

#include <algorithm>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

const QString PackageRelationships = QStringLiteral("_rels/.rels");
// Parts other than the text parts are only checked to be XML, up to this many bytes in
// all; a template holding more is copied as it is beyond that.
constexpr qint64 CheckedXmlBudget = 4 * TemplateToZipDocument::MaxTextPartSize;
constexpr qint64 TextPartsBudget = 4 * TemplateToZipDocument::MaxTextPartSize;

QString tr(const char* text)
{
    return QCoreApplication::translate("DocxPackage", text);
}

bool isTextPartType(const QString& type)
{
    static const QSet<QString> types = {QStringLiteral("header"), QStringLiteral("footer"), QStringLiteral("footnotes"),
                                        QStringLiteral("endnotes"), QStringLiteral("comments")};
    return types.contains(type);
}

QString extensionOf(const QString& name)
{
    return DocxContentTypes::extensionOf(name);
}

// The description that names a picture of the evaluation, such as "photo-3.jpg".
QString descriptionOf(const DocxPackage::Binding& picture)
{
    switch (picture.kind) {
    case DocxPicsHandler::Photo:
        return QStringLiteral("photo-%1.jpg").arg(picture.index);
    case DocxPicsHandler::Graphic:
        return QStringLiteral("graphic-%1.jpg").arg(picture.index);
    case DocxPicsHandler::AppraiserLogo:
        return QStringLiteral("appraiserLogo-%1.jpg").arg(picture.index);
    case DocxPicsHandler::None:
        break;
    }
    return QString();
}

bool isXmlName(const QString& name)
{
    const QString extension = extensionOf(name);
    return extension == QLatin1String("xml") || extension == QLatin1String("rels");
}

} // namespace

// What is gathered while a package is read, and forgotten after.
struct DocxPackage::Reading
{
    QStringList entries; // in the order of the archive, without folders
    QByteArray contentTypes;
    bool hasContentTypes = false;
    DocxContentTypes types;
    QHash<QString, QByteArray> relationshipParts; // by the part they belong to
};

DocxPackage::DocxPackage() = default;
DocxPackage::~DocxPackage() = default;

void DocxPackage::clear()
{
    refusal.clear();
    repaired.clear();
    main.clear();
    texts.clear();
    entriesByLowerName.clear();
    pictures.clear();
    textOf.clear();
    relationships.clear();
    bindings.clear();
    copyIds.clear();
    replaced.clear();
    added.clear();
}

bool DocxPackage::read(QuaZip& zip, TextParts texts)
{
    clear();
    Reading reading;
    if (!readStructure(zip, reading) || !readContentTypes(reading) || !findMainPart(reading) || !checkRelationships())
        return false;
    findTextParts();
    if (!readParts(zip, texts))
        return false;
    bindPictures();
    if (!copySharedImages(zip, reading) || !checkContentTypes(reading))
        return false;
    for (const QString& repair : std::as_const(repaired))
        LOG_INFO() << "template repaired:" << repair;
    return true;
}

// The archive's current entry, as a text part is read.
bool DocxPackage::readCurrent(QuaZip& zip, QByteArray& bytes)
{
    QuaZipFile entry(&zip);
    QString reason;
    return TemplateToZipDocument::readTextPart(entry, bytes, &reason) || refuse(reason);
}

bool DocxPackage::refuse(const QString& reason)
{
    LOG_WARNING() << "template refused:" << reason;
    refusal = reason;
    return false;
}

bool DocxPackage::isTextPart(const QString& entry) const
{
    return texts.contains(entry);
}

const QList<DocxPicsHandler::Drawing>& DocxPackage::drawings(const QString& part) const
{
    static const QList<DocxPicsHandler::Drawing> none;
    const auto found = pictures.constFind(part);
    return found == pictures.constEnd() ? none : (*found)->drawings();
}

bool DocxPackage::textContains(const QString& part, QStringView needle) const
{
    return TagPatterns::indexOf(textOf.value(part), needle) >= 0;
}

bool DocxPackage::drawingsContain(const QString& part, QStringView needle) const
{
    const auto handler = pictures.constFind(part);
    const auto text = textOf.constFind(part);
    if (handler == pictures.constEnd() || text == textOf.constEnd())
        return false;
    for (const DocxPicsHandler::Drawing& drawing : (*handler)->drawings()) {
        const auto [start, end] = (*handler)->extentOf(drawing, *text);
        if (TagPatterns::indexOf(QStringView(*text).mid(start, end - start), needle) >= 0)
            return true;
    }
    return false;
}

bool DocxPackage::takeText(const QString& part, QString& text)
{
    const auto found = textOf.find(part);
    if (found == textOf.end())
        return false;
    text = std::move(*found);
    textOf.erase(found);
    return true;
}

const DocxRelsHandler* DocxPackage::relationshipsOf(const QString& part) const
{
    return relationships.value(part).get();
}

// The names, [Content_Types].xml and every relationship file.
bool DocxPackage::readStructure(QuaZip& zip, Reading& reading)
{
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (name.endsWith(QLatin1Char('/')))
            continue;
        reading.entries.append(name);
        entriesByLowerName.insert(name.toLower(), name);
        QString source;
        const bool isContentTypes = name.compare(DocxContentTypes::EntryName, Qt::CaseInsensitive) == 0;
        if (!isContentTypes && !DocxRelsHandler::partOfRelationships(name, source))
            continue;
        QByteArray bytes;
        if (!readCurrent(zip, bytes))
            return false;
        if (isContentTypes) {
            reading.contentTypes = bytes;
            reading.hasContentTypes = true;
            continue;
        }
        auto handler = std::make_shared<DocxRelsHandler>();
        if (!handler->parse(bytes))
            return refuse(tr("%1 is not well-formed XML: %2").arg(name, handler->errorString()));
        relationships.insert(source, handler);
        reading.relationshipParts.insert(source, bytes);
    }
    if (zip.getZipError() != UNZ_OK)
        return refuse(tr("the archive's directory cannot be read"));
    return true;
}

bool DocxPackage::readContentTypes(Reading& reading)
{
    if (!reading.hasContentTypes)
        return refuse(tr("the archive has no %1: it is not a DOCX package").arg(DocxContentTypes::EntryName));
    if (!reading.types.read(reading.contentTypes))
        return refuse(tr("%1 is not well-formed XML: %2").arg(DocxContentTypes::EntryName, reading.types.errorString()));
    return true;
}

bool DocxPackage::findMainPart(Reading& reading)
{
    if (const DocxRelsHandler* package = relationshipsOf(QString())) {
        for (const DocxRelsHandler::Relationship& relationship : package->relationships()) {
            if (relationship.type != QLatin1String("officeDocument") || relationship.external)
                continue;
            main = resolve(QString(), relationship.target);
            if (main.isEmpty())
                return refuse(tr("%1 names %2 as the main document, which the archive does not hold")
                                  .arg(PackageRelationships, relationship.target));
            return true;
        }
        return refuse(tr("%1 names no main document").arg(PackageRelationships));
    }
    // The main document is certain when the content types name exactly one.
    QStringList named;
    for (const QString& part : reading.types.mainDocumentParts())
        if (entriesByLowerName.contains(part))
            named.append(entriesByLowerName.value(part));
    if (named.size() != 1)
        return refuse(tr("the archive has no %1 naming its main document").arg(PackageRelationships));
    main = named.first();
    added.append({PackageRelationships, DocxRelsHandler::packageRelationships(main)});
    repaired.append(tr("%1 was missing; written, naming %2 as the main document").arg(PackageRelationships, main));
    return true;
}

void DocxPackage::findTextParts()
{
    texts = QStringList{main};
    const DocxRelsHandler* named = relationshipsOf(main);
    if (!named)
        return;
    for (const DocxRelsHandler::Relationship& relationship : named->relationships()) {
        if (relationship.external || !isTextPartType(relationship.type))
            continue;
        const QString part = resolve(main, relationship.target);
        if (!part.isEmpty() && !texts.contains(part))
            texts.append(part);
    }
}

// Every relationship of a part the archive holds names a part it holds, or a link.
bool DocxPackage::checkRelationships()
{
    for (auto rels = relationships.cbegin(); rels != relationships.cend(); ++rels) {
        const QString& source = rels.key();
        if (!source.isEmpty() && !entriesByLowerName.contains(source.toLower()))
            continue; // relationships of no part: no reader looks at them
        for (const DocxRelsHandler::Relationship& relationship : rels.value()->relationships()) {
            if (!relationship.external && resolve(source, relationship.target).isEmpty())
                return refuse(tr("%1 names %2, which the archive does not hold")
                                  .arg(source.isEmpty() ? PackageRelationships : DocxRelsHandler::relationshipsPartOf(source),
                                       relationship.target));
        }
    }
    return true;
}

// The text parts are kept with their drawings; every other XML part is checked.
bool DocxPackage::readParts(QuaZip& zip, TextParts check)
{
    qint64 checked = 0;
    qint64 textSize = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        const bool isText = texts.contains(name);
        QString source;
        if (!isText && (!isXmlName(name) || name.compare(DocxContentTypes::EntryName, Qt::CaseInsensitive) == 0
                        || DocxRelsHandler::partOfRelationships(name, source)))
            continue;
        if (!isText && checked > CheckedXmlBudget) {
            LOG_WARNING() << "template part not checked, the template holds too much XML:" << name;
            continue;
        }
        QByteArray bytes;
        if (!readCurrent(zip, bytes))
            return false;
        QString reason;
        if ((!isText || check == TextParts::Checked) && !XmlWellFormedness::check(bytes, &reason))
            return refuse(tr("%1 is not well-formed XML: %2").arg(name, reason));
        if (!isText) {
            checked += bytes.size();
            continue;
        }
        if ((textSize += bytes.size()) > TextPartsBudget)
            return refuse(tr("the text parts hold more than %1 MiB").arg(TextPartsBudget / (1024 * 1024)));
        auto handler = std::make_shared<DocxPicsHandler>();
        QString text = QString::fromUtf8(bytes);
        if (!handler->parseDrawingsOf(text))
            return refuse(tr("%1 is not well-formed XML: %2").arg(name, handler->errorString()));
        pictures.insert(name, handler);
        textOf.insert(name, std::move(text));
    }
    if (zip.getZipError() != UNZ_OK)
        return refuse(tr("the archive's directory cannot be read"));
    return true;
}

// A part without a content type makes a word processor refuse the package.
bool DocxPackage::checkContentTypes(Reading& reading)
{
    QStringList names = reading.entries;
    for (const auto& [name, bytes] : std::as_const(added))
        names.append(name);
    QStringList missing;
    for (const QString& name : std::as_const(names)) {
        const QString extension = extensionOf(name);
        if (reading.types.covers(name) || missing.contains(extension))
            continue;
        if (DocxContentTypes::typeOfExtension(extension).isEmpty())
            return refuse(tr("%1 has no content type in %2").arg(name, DocxContentTypes::EntryName));
        missing.append(extension);
    }
    if (missing.isEmpty())
        return true;
    for (const QString& extension : std::as_const(missing))
        repaired.append(tr("%1 had no content type for .%2 files; added").arg(DocxContentTypes::EntryName, extension));
    replaced.insert(entriesByLowerName.value(DocxContentTypes::EntryName.toLower()), reading.types.withDefaults(missing));
    return true;
}

// An image file stands for the picture of the first description that names one.
void DocxPackage::bindPictures()
{
    for (const QString& part : std::as_const(texts)) {
        for (const DocxPicsHandler::Drawing& drawing : drawings(part)) {
            for (const DocxPicsHandler::Picture& picture : drawing.pictures) {
                const QString image = picture.kind == DocxPicsHandler::None ? QString() : entryNamed(part, picture.embedId);
                if (!image.isEmpty() && !bindings.contains(image))
                    bindings.insert(image, Binding{picture.kind, picture.index});
            }
        }
    }
}

// A name for a copy of an image file, beside it: word/media/image1-photo-3.png.
QString DocxPackage::unusedName(const QString& image, const Binding& picture) const
{
    const QString extension = extensionOf(image);
    const QString stem = image.chopped(extension.size() + 1) + QLatin1Char('-')
                         + descriptionOf(picture).section(QLatin1Char('.'), 0, 0);
    QString name = stem + QLatin1Char('.') + extension;
    for (int n = 2; entriesByLowerName.contains(name.toLower()); ++n)
        name = stem + QStringLiteral("-%1.").arg(n) + extension;
    return name;
}

QString DocxPackage::copyKey(const QString& part, const DocxPicsHandler::Picture& picture) const
{
    return part + QLatin1Char('\n') + picture.embedId + QLatin1Char('\n') + QString::number(picture.kind)
        + QLatin1Char('\n') + QString::number(picture.index);
}

QString DocxPackage::embedIdOf(const QString& part, const DocxPicsHandler::Picture& picture) const
{
    return copyIds.value(copyKey(part, picture), picture.embedId);
}

// Each picture of the evaluation whose image file stands for another gets a copy of
// the file, named by a new relationship of its part; the part's relationships are
// written anew with it.
bool DocxPackage::copySharedImages(QuaZip& zip, Reading& reading)
{
    QHash<QString, QString> copies;     // source entry and picture -> copy's entry
    QHash<QString, QString> sources;    // copy's entry -> source entry
    for (const QString& part : std::as_const(texts)) {
        DocxRelsHandler* rels = relationships.value(part).get();
        for (const DocxPicsHandler::Drawing& drawing : drawings(part)) {
            for (const DocxPicsHandler::Picture& picture : drawing.pictures) {
                const QString image = picture.kind == DocxPicsHandler::None ? QString() : entryNamed(part, picture.embedId);
                const Binding own{picture.kind, picture.index};
                if (image.isEmpty() || bindings.value(image) == own || copyIds.contains(copyKey(part, picture)))
                    continue;
                QString& copy = copies[image + QLatin1Char('\n') + QString::number(picture.kind) + QLatin1Char('\n')
                                       + QString::number(picture.index)];
                if (copy.isEmpty()) {
                    copy = unusedName(image, own);
                    entriesByLowerName.insert(copy.toLower(), copy);
                    sources.insert(copy, image);
                    bindings.insert(copy, own);
                    repaired.append(tr("%1 was shared by pictures described %2 and %3; %3 gets its own copy, %4")
                                        .arg(image, descriptionOf(bindings.value(image)), picture.description, copy));
                }
                QString id;
                for (int n = 1; id.isEmpty() || rels->find(id); ++n)
                    id = QStringLiteral("rIdPicture%1").arg(n);
                copyIds.insert(copyKey(part, picture), id);
                rels->append({id, QStringLiteral("image"), QLatin1Char('/') + copy, false});
                QByteArray& relsPart = reading.relationshipParts[part];
                relsPart.insert(relsPart.lastIndexOf("</"),
                                QStringLiteral("<Relationship Id=\"%1\" Type=\"http://schemas.openxmlformats.org/"
                                               "officeDocument/2006/relationships/image\" Target=\"/%2\"/>")
                                    .arg(id, copy.toHtmlEscaped())
                                    .toUtf8());
                replaced.insert(DocxRelsHandler::relationshipsPartOf(part), relsPart);
            }
        }
    }
    return sources.isEmpty() || readCopies(zip, sources);
}

// The bytes of the copies: those of their source files.
bool DocxPackage::readCopies(QuaZip& zip, const QHash<QString, QString>& sources)
{
    QHash<QString, QByteArray> bytesOf;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (std::find(sources.cbegin(), sources.cend(), name) == sources.cend())
            continue;
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly))
            return refuse(tr("%1 cannot be read from the archive").arg(name));
        bytesOf.insert(name, BoundedRead::atMost(entry, TemplateToDocument::MAX_TEMPLATE_BYTES));
    }
    QStringList names = sources.keys();
    names.sort();
    for (const QString& copy : std::as_const(names))
        added.append({copy, bytesOf.value(sources.value(copy))});
    return true;
}

QString DocxPackage::entryNamed(const QString& part, const QString& id) const
{
    const DocxRelsHandler* rels = id.isEmpty() ? nullptr : relationshipsOf(part);
    const DocxRelsHandler::Relationship* relationship = rels ? rels->find(id) : nullptr;
    if (!relationship || relationship->external)
        return QString();
    return resolve(part, relationship->target);
}

// A target is relative to the folder of its part, or to the package when it begins
// with "/"; part names are compared without regard to case, as word processors do.
QString DocxPackage::resolve(const QString& sourcePart, const QString& target) const
{
    const QString decoded = QUrl::fromPercentEncoding(target.toUtf8());
    QString path = decoded.startsWith(QLatin1Char('/'))
                       ? decoded.mid(1)
                       : sourcePart.left(sourcePart.lastIndexOf(QLatin1Char('/')) + 1) + decoded;
    path = QDir::cleanPath(path);
    if (path.startsWith(QLatin1String("../")) || path == QLatin1String(".."))
        return QString();
    return entriesByLowerName.value(path.toLower());
}
