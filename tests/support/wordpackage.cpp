#include "wordpackage.h"

#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

const QByteArray Namespaces =
    " xmlns:wpc=\"http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas\""
    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
    " xmlns:o=\"urn:schemas-microsoft-com:office:office\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:v=\"urn:schemas-microsoft-com:vml\""
    " xmlns:wp14=\"http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:w10=\"urn:schemas-microsoft-com:office:word\""
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:w14=\"http://schemas.microsoft.com/office/word/2010/wordml\""
    " xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\""
    " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\" mc:Ignorable=\"w14 wp14\"";
const QByteArray Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
const QString RelationshipTypes = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
const QString WordTypes = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

QString relationshipsName(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

// The root element of each kind of text part.
QByteArray rootOf(const QString& type)
{
    if (type == QLatin1String("header"))
        return "w:hdr";
    if (type == QLatin1String("footer"))
        return "w:ftr";
    if (type == QLatin1String("comments"))
        return "w:comments";
    return type == QLatin1String("footnotes") ? "w:footnotes" : "w:endnotes";
}

// A break in the line, not of the page or column (which the paragraph's style gives in
// other formats).
bool isLineBreak(const QXmlStreamReader& reader)
{
    const QStringView type = reader.attributes().value(QLatin1String("w:type"));
    return reader.qualifiedName() == u"w:br" && (type.isEmpty() || type == u"textWrapping");
}

} // namespace

WordPackage::WordPackage(const QString& mainPart) : main(mainPart)
{
    relationships.append({QString(), QStringLiteral("rId1"), QStringLiteral("officeDocument"),
                          mainPart.startsWith(QLatin1String("word/")) && mainPart != QLatin1String("word/document.xml")
                              ? QLatin1Char('/') + mainPart
                              : mainPart,
                          false});
    partTypes.append({mainPart, WordTypes + QStringLiteral("document.main+xml")});
    relate(mainPart, QStringLiteral("styles"), QStringLiteral("styles.xml"), false);
    extra.append({QStringLiteral("word/styles.xml"), Declaration + "<w:styles" + Namespaces + "/>"});
    partTypes.append({QStringLiteral("word/styles.xml"), WordTypes + QStringLiteral("styles+xml")});
}

void WordPackage::setBody(const QByteArray& content)
{
    body = content;
}

QString WordPackage::addPart(const QString& type, const QString& name, const QByteArray& content)
{
    const QByteArray root = rootOf(type);
    parts.append({name, Declaration + "<" + root + Namespaces + ">" + content + "</" + root + ">"});
    partTypes.append({name, WordTypes + type + QStringLiteral("+xml")});
    return relate(main, type, QFileInfo(name).fileName(), false);
}

QString WordPackage::addImage(const QString& part, const QString& name, const QByteArray& bytes)
{
    media.append({name, bytes, 0});
    const QString folder = part.left(part.lastIndexOf(QLatin1Char('/')) + 1);
    return relate(part, QStringLiteral("image"), name.mid(folder.size()), false);
}

QString WordPackage::addLink(const QString& part, const QString& url)
{
    return relate(part, QStringLiteral("image"), url, true);
}

void WordPackage::setEntry(const QString& name, const QByteArray& bytes)
{
    removeEntry(name);
    removed.removeAll(name);
    extra.append({name, bytes});
}

void WordPackage::removeEntry(const QString& name)
{
    removed.append(name);
    extra.removeIf([&name](const ZipEntry& entry) { return entry.name == name; });
}

QString WordPackage::relate(const QString& part, const QString& type, const QString& target, bool external)
{
    int count = 0;
    for (const Relationship& relationship : std::as_const(relationships))
        count += relationship.part == part;
    const QString id = QStringLiteral("rId%1").arg(count + 1);
    relationships.append({part, id, type, target, external});
    return id;
}

QByteArray WordPackage::relationshipsOf(const QString& part) const
{
    QByteArray xml = Declaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (const Relationship& relationship : relationships) {
        if (relationship.part != part)
            continue;
        xml += QStringLiteral("<Relationship Id=\"%1\" Type=\"%2\" Target=\"%3\"%4/>")
                   .arg(relationship.id, RelationshipTypes + relationship.type, relationship.target.toHtmlEscaped(),
                        relationship.external ? QStringLiteral(" TargetMode=\"External\"") : QString())
                   .toUtf8();
    }
    return xml + "</Relationships>";
}

QByteArray WordPackage::contentTypes() const
{
    QByteArray xml = Declaration + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                   "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                                   "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    QStringList extensions;
    for (const ZipEntry& picture : media) {
        const QString extension = QFileInfo(picture.name).suffix();
        if (extensions.contains(extension))
            continue;
        extensions.append(extension);
        const QString type = extension == QLatin1String("jpg") ? QStringLiteral("jpeg") : extension;
        xml += QStringLiteral("<Default Extension=\"%1\" ContentType=\"image/%2\"/>").arg(extension, type).toUtf8();
    }
    for (const auto& [name, type] : partTypes)
        xml += QStringLiteral("<Override PartName=\"/%1\" ContentType=\"%2\"/>").arg(name, type).toUtf8();
    return xml + "</Types>";
}

QList<ZipEntry> WordPackage::entries() const
{
    QList<ZipEntry> all{{QStringLiteral("[Content_Types].xml"), contentTypes()},
                        {QStringLiteral("_rels/.rels"), relationshipsOf(QString())},
                        {main, Declaration + "<w:document" + Namespaces + "><w:body>" + body
                                   + "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/></w:sectPr></w:body></w:document>"}};
    QStringList sources{main};
    for (const auto& [name, xml] : parts) {
        all.append({name, xml});
        sources.append(name);
    }
    for (const QString& source : std::as_const(sources)) {
        const bool related = std::any_of(relationships.cbegin(), relationships.cend(),
                                         [&source](const Relationship& r) { return r.part == source; });
        if (related)
            all.append({relationshipsName(source), relationshipsOf(source)});
    }
    all += media;
    for (const ZipEntry& entry : extra) {
        all.removeIf([&entry](const ZipEntry& e) { return e.name == entry.name; });
        all.append(entry);
    }
    all.removeIf([this](const ZipEntry& e) { return removed.contains(e.name); });
    return all;
}

bool WordPackage::write(const QString& path) const
{
    return writeZip(path, entries());
}

QByteArray WordPackage::drawing(const QString& description, const QString& embedId, const QString& linkId)
{
    static int id = 0;
    ++id;
    QString blip = QStringLiteral("<a:blip");
    if (!embedId.isEmpty())
        blip += QStringLiteral(" r:embed=\"%1\"").arg(embedId);
    if (!linkId.isEmpty())
        blip += QStringLiteral(" r:link=\"%1\"").arg(linkId);
    return QStringLiteral(
               "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" wp14:anchorId=\"1A2B3C%1\" "
               "wp14:editId=\"5E6F7A%1\"><wp:extent cx=\"1905000\" cy=\"1428750\"/>"
               "<wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:docPr id=\"%1\" name=\"Рисунок %1\" descr=\"%2\"/>"
               "<wp:cNvGraphicFramePr><a:graphicFrameLocks xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
               "noChangeAspect=\"1\"/></wp:cNvGraphicFramePr><a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
               "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
               "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:nvPicPr>"
               "<pic:cNvPr id=\"0\" name=\"Рисунок %1\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill>%3><a:extLst>"
               "<a:ext uri=\"{28A0092B-C50C-407E-A947-70E740481C1C}\"><a14:useLocalDpi "
               "xmlns:a14=\"http://schemas.microsoft.com/office/drawing/2010/main\" val=\"0\"/></a:ext></a:extLst></a:blip>"
               "<a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
               "<a:ext cx=\"1905000\" cy=\"1428750\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr>"
               "</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing>")
        .arg(id)
        .arg(description.toHtmlEscaped(), blip)
        .toUtf8();
}

QByteArray WordPackage::picture(const QString& description, const QString& embedId, const QString& linkId)
{
    return "<w:r><w:rPr><w:noProof/></w:rPr>" + drawing(description, embedId, linkId) + "</w:r>";
}

QByteArray WordPackage::shape(const QString& description, const QString& fillId, const QByteArray& textBox)
{
    const QByteArray fill = fillId.isEmpty() ? QByteArray("<a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill>")
                                             : "<a:blipFill><a:blip r:embed=\"" + fillId.toUtf8()
                                                   + "\"/><a:stretch><a:fillRect/></a:stretch></a:blipFill>";
    const QByteArray box = textBox.isEmpty() ? QByteArray() : "<wps:txbx><w:txbxContent>" + textBox + "</w:txbxContent></wps:txbx>";
    return "<w:drawing><wp:anchor distT=\"0\" distB=\"0\" distL=\"114300\" distR=\"114300\" simplePos=\"0\" "
           "relativeHeight=\"251659264\" behindDoc=\"1\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\">"
           "<wp:simplePos x=\"0\" y=\"0\"/><wp:positionH relativeFrom=\"page\"><wp:posOffset>0</wp:posOffset></wp:positionH>"
           "<wp:positionV relativeFrom=\"page\"><wp:posOffset>0</wp:posOffset></wp:positionV><wp:extent cx=\"7560000\" "
           "cy=\"10692000\"/><wp:wrapNone/><wp:docPr id=\"90\" name=\"Прямоугольник 90\" descr=\""
        + description.toHtmlEscaped().toUtf8()
        + "\"/><a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:graphicData "
          "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp><wps:cNvSpPr/><wps:spPr>"
          "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"7560000\" cy=\"10692000\"/></a:xfrm><a:prstGeom prst=\"rect\">"
          "<a:avLst/></a:prstGeom>"
        + fill + "</wps:spPr>" + box + "<wps:bodyPr/></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing>";
}

QByteArray WordPackage::vmlShape(const QString& description, const QString& fillId, const QByteArray& textBox)
{
    const QByteArray fill = fillId.isEmpty() ? QByteArray() : "<v:fill r:id=\"" + fillId.toUtf8() + "\" type=\"frame\"/>";
    const QByteArray box = textBox.isEmpty() ? QByteArray() : "<v:textbox><w:txbxContent>" + textBox + "</w:txbxContent></v:textbox>";
    return "<w:pict><v:rect id=\"Прямоугольник 90\" o:spid=\"_x0000_s1026\" alt=\"" + description.toHtmlEscaped().toUtf8()
        + "\" style=\"position:absolute;width:595.3pt;height:841.9pt;z-index:-251657216\" stroked=\"f\">" + fill + box
        + "</v:rect></w:pict>";
}

QByteArray WordPackage::vmlPicture(const QString& description, const QString& imageId)
{
    return QStringLiteral("<w:r><w:pict><v:shape id=\"_x0000_i1025\" type=\"#_x0000_t75\" alt=\"%1\" "
                          "style=\"width:150pt;height:112.5pt\"><v:imagedata r:id=\"%2\" o:title=\"\"/></v:shape></w:pict></w:r>")
        .arg(description.toHtmlEscaped(), imageId)
        .toUtf8();
}

QByteArray WordPackage::alternateContent(const QByteArray& choice, const QByteArray& fallback)
{
    return "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\">" + choice + "</mc:Choice><mc:Fallback>" + fallback
        + "</mc:Fallback></mc:AlternateContent></w:r>";
}

QByteArray WordPackage::paragraph(const QString& text)
{
    return paragraphOf("<w:r><w:t xml:space=\"preserve\">" + text.toUtf8() + "</w:t></w:r>");
}

QByteArray WordPackage::paragraphOf(const QByteArray& runs)
{
    return "<w:p w14:paraId=\"3F2A1B0C\" w14:textId=\"77777777\" w:rsidR=\"00A1B2C3\" w:rsidRDefault=\"00A1B2C3\">" + runs
        + "</w:p>";
}

QString WordPackage::textOf(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    QString text;
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.qualifiedName() == u"w:t")
            text += reader.readElementText();
    return text;
}

QStringList WordPackage::paragraphsOf(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    QStringList paragraphs;
    QList<int> open; // paragraphs of text boxes stand inside others
    int runs = 0;    // a w:tab outside a run is a tab stop, not a tab
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (reader.qualifiedName() == u"w:r")
            runs += token == QXmlStreamReader::StartElement ? 1 : token == QXmlStreamReader::EndElement ? -1 : 0;
        if (token == QXmlStreamReader::StartElement && reader.qualifiedName() == u"w:p") {
            open.append(int(paragraphs.size()));
            paragraphs.append(QString());
        } else if (token == QXmlStreamReader::EndElement && reader.qualifiedName() == u"w:p") {
            open.removeLast();
        } else if (token == QXmlStreamReader::StartElement && !open.isEmpty()) {
            if (reader.qualifiedName() == u"w:t")
                paragraphs[open.last()] += reader.readElementText();
            else if (runs > 0 && (reader.qualifiedName() == u"w:tab" || isLineBreak(reader)))
                paragraphs[open.last()] += QLatin1Char(' ');
        }
    }
    return paragraphs;
}

QString WordPackage::textOf(const QString& path, const QString& part)
{
    return textOf(contentOf(path, part));
}

QByteArray WordPackage::utf16(const QByteArray& xml)
{
    const QString text =
        QString::fromUtf8(xml).replace(QLatin1String("encoding=\"UTF-8\""), QLatin1String("encoding=\"UTF-16\""));
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}
