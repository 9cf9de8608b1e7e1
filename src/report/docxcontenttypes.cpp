#include "report/docxcontenttypes.h"

#include "runtime/xmldefaulthandler.h"

#include <utility>

namespace {

// The attributes of every element of the given names, in document order.
class AttributeCollector : public XmlDefaultHandler
{
public:
    explicit AttributeCollector(QStringList names) : wanted(std::move(names)) {}
    QList<std::pair<QString, QXmlStreamAttributes>> found;

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override
    {
        const QStringView local = qName.mid(qName.indexOf(u':') + 1);
        for (const QString& name : std::as_const(wanted))
            if (local == name)
                found.append({name, attributes});
        return true;
    }

private:
    QStringList wanted;
};

bool isMainDocumentType(const QString& contentType)
{
    return contentType.endsWith(QLatin1String(".main+xml"))
        && (contentType.contains(QLatin1String("wordprocessingml")) || contentType.contains(QLatin1String("ms-word")));
}

} // namespace

const QString DocxContentTypes::EntryName = QStringLiteral("[Content_Types].xml");

bool DocxContentTypes::read(const QByteArray& xml)
{
    bytes = xml;
    AttributeCollector types({QStringLiteral("Default"), QStringLiteral("Override")});
    if (!types.parse(bytes)) {
        error = types.errorString();
        return false;
    }
    for (const auto& [element, attributes] : std::as_const(types.found)) {
        const QString type = attributes.value(QLatin1String("ContentType")).toString();
        if (element == QLatin1String("Default"))
            defaults.insert(attributes.value(QLatin1String("Extension")).toString().toLower(), type);
        else
            overrides.insert(attributes.value(QLatin1String("PartName")).toString().mid(1).toLower(), type);
    }
    return true;
}

QStringList DocxContentTypes::mainDocumentParts() const
{
    QStringList parts;
    for (auto type = overrides.cbegin(); type != overrides.cend(); ++type)
        if (isMainDocumentType(type.value()))
            parts.append(type.key());
    return parts;
}

bool DocxContentTypes::covers(const QString& entry) const
{
    return entry.compare(EntryName, Qt::CaseInsensitive) == 0 || overrides.contains(entry.toLower())
        || defaults.contains(extensionOf(entry));
}

QByteArray DocxContentTypes::withDefaults(const QStringList& extensions) const
{
    QString types = QString::fromUtf8(bytes);
    QString added;
    for (const QString& extension : extensions)
        added += QStringLiteral("<Default Extension=\"%1\" ContentType=\"%2\"/>")
                     .arg(extension, typeOfExtension(extension));
    types.insert(types.lastIndexOf(QLatin1String("</")), added);
    return types.toUtf8();
}

QString DocxContentTypes::typeOfExtension(const QString& extension)
{
    static const QHash<QString, QString> types = {
        {QStringLiteral("png"), QStringLiteral("image/png")},
        {QStringLiteral("jpeg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("jpg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("gif"), QStringLiteral("image/gif")},
        {QStringLiteral("bmp"), QStringLiteral("image/bmp")},
        {QStringLiteral("tif"), QStringLiteral("image/tiff")},
        {QStringLiteral("tiff"), QStringLiteral("image/tiff")},
        {QStringLiteral("emf"), QStringLiteral("image/x-emf")},
        {QStringLiteral("wmf"), QStringLiteral("image/x-wmf")},
        {QStringLiteral("svg"), QStringLiteral("image/svg+xml")},
        {QStringLiteral("rels"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml")},
        {QStringLiteral("xml"), QStringLiteral("application/xml")},
    };
    return types.value(extension);
}

QString DocxContentTypes::extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 || dot < name.lastIndexOf(QLatin1Char('/')) ? QString() : name.mid(dot + 1).toLower();
}
