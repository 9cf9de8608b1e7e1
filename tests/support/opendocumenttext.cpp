#include "opendocumenttext.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>

namespace {

const QByteArray TextMediaType = "application/vnd.oasis.opendocument.text";

bool isParagraph(QStringView name)
{
    return name == u"text:p" || name == u"text:h";
}

} // namespace

QStringList OpenDocumentText::paragraphsOf(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    QStringList paragraphs;
    QList<int> open; // indexes of the paragraphs being read, innermost last
    int hidden = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        const QStringView name = reader.qualifiedName();
        if (token == QXmlStreamReader::StartElement) {
            if (isParagraph(name)) {
                open.append(int(paragraphs.size()));
                paragraphs.append(QString());
            } else if (name == u"svg:desc" || name == u"svg:title") {
                ++hidden;
            } else if (!open.isEmpty() && name == u"text:s") {
                const int count = reader.attributes().value(QLatin1String("text:c")).toInt();
                paragraphs[open.last()] += QString(qMax(1, count), QLatin1Char(' '));
            } else if (!open.isEmpty() && (name == u"text:tab" || name == u"text:line-break")) {
                paragraphs[open.last()] += QLatin1Char(' ');
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (isParagraph(name))
                open.removeLast();
            else if (name == u"svg:desc" || name == u"svg:title")
                --hidden;
        } else if (token == QXmlStreamReader::Characters && !open.isEmpty() && hidden == 0) {
            paragraphs[open.last()] += reader.text();
        }
    }
    return paragraphs;
}

QString OpenDocumentText::textOf(const QByteArray& xml)
{
    return paragraphsOf(xml).join(QString());
}

QString OpenDocumentText::textOf(const QString& path, const QString& part)
{
    return textOf(contentOf(path, part));
}

QList<std::pair<QString, QString>> OpenDocumentText::framesOf(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    QList<std::pair<QString, QString>> frames;
    QString name, description, image;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && reader.qualifiedName() == u"draw:frame") {
            name = reader.attributes().value(QLatin1String("draw:name")).toString();
            description.clear();
            image.clear();
        } else if (token == QXmlStreamReader::StartElement && reader.qualifiedName() == u"draw:image" && image.isEmpty()) {
            image = reader.attributes().value(QLatin1String("xlink:href")).toString();
        } else if (token == QXmlStreamReader::StartElement && reader.qualifiedName() == u"svg:desc") {
            description = reader.readElementText();
        } else if (token == QXmlStreamReader::EndElement && reader.qualifiedName() == u"draw:frame") {
            frames.append({description.isEmpty() ? name : description, image});
        }
    }
    return frames;
}

QStringList OpenDocumentText::problemsOf(const QString& path)
{
    const QList<ZipEntry> entries = readZip(path);
    if (entries.isEmpty())
        return {QStringLiteral("no archive")};
    QStringList problems;
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(38 + TextMediaType.size()) : QByteArray();
    if (entries.first().name != QLatin1String("mimetype") || entries.first().method != 0
        || head.mid(30) != "mimetype" + TextMediaType)
        problems << QStringLiteral("mimetype: not the first entry, stored, naming an OpenDocument text");
    const QByteArray manifest = contentOf(entries, QStringLiteral("META-INF/manifest.xml"));
    QSet<QString> listed;
    QXmlStreamReader reader(manifest);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.qualifiedName() == u"manifest:file-entry") {
            const QString entry = reader.attributes().value(QLatin1String("manifest:full-path")).toString();
            if (!reader.attributes().hasAttribute(QLatin1String("manifest:media-type")))
                problems << entry + QStringLiteral(": no media type in the manifest");
            listed.insert(entry);
        }
    QSet<QString> names;
    for (const ZipEntry& entry : entries) {
        names.insert(entry.name);
        const QString suffix = QFileInfo(entry.name).suffix().toLower();
        if (suffix == QLatin1String("xml") || suffix == QLatin1String("rdf"))
            if (const QString error = xmlError(entry.content); !error.isEmpty())
                problems << entry.name + QLatin1String(": ") + error;
        if (entry.name.startsWith(QLatin1String("Pictures/")) && QImage::fromData(entry.content).isNull())
            problems << entry.name + QLatin1String(": picture does not decode");
        if (entry.name != QLatin1String("mimetype") && !entry.name.startsWith(QLatin1String("META-INF/"))
            && !entry.name.endsWith(QLatin1Char('/')) && !listed.contains(entry.name))
            problems << entry.name + QLatin1String(": not in the manifest");
    }
    for (const QString& entry : std::as_const(listed))
        if (entry != QLatin1String("/") && !entry.endsWith(QLatin1Char('/')) && !names.contains(entry))
            problems << entry + QLatin1String(": in the manifest, not in the package");
    for (const char* part : {"content.xml", "styles.xml"})
        for (const auto& [described, image] : framesOf(contentOf(entries, QString::fromLatin1(part))))
            if (!image.isEmpty() && !names.contains(image))
                problems << QString::fromLatin1(part) + QLatin1String(": frame ") + described + QLatin1String(" shows missing ") + image;
    return problems;
}
