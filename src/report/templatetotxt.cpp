#include "report/templatetotxt.h"

#include "runtime/atomicfilewriter.h"
#include "runtime/logger.h"

#include <QBuffer>
#include <QFile>

TemplateToTxt::TemplateToTxt(QObject* parent) : TemplateToDocument(parent) {}

bool TemplateToTxt::make_txt(QIODevice& in, QIODevice& out)
{
    const bool written = filtering(in, out);
    in.close();
    out.close();
    return written;
}

bool TemplateToTxt::make_from_disk(QString templatePath, QString outputPath)
{
    QFile templateFile(templatePath);
    return produce(templateFile, templatePath, outputPath);
}

bool TemplateToTxt::make_from_buffer(QBuffer& templateBuffer, QString& outputPath)
{
    return produce(templateBuffer, getTemplatePath(), outputPath);
}

bool TemplateToTxt::produce(QIODevice& templateDevice, const QString& templateName, const QString& outputPath)
{
    if (!templateDevice.isOpen() && !templateDevice.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "cannot read the template" << templateName << templateDevice.errorString();
        errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templateName));
        return false;
    }
    QByteArray templateText = templateDevice.readAll();
    templateDevice.close();
    if (!passesTemplateCheck(templateText, templateName))
        return false;
    QBuffer source(&templateText);
    source.open(QIODevice::ReadOnly);
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    if (!make_txt(source, document)) {
        LOG_WARNING() << "no document made from the template" << templateName;
        failTemplate(templateName);
        return false;
    }

    // A link or anything but a regular file in the document's place is never written
    // through: the document folder may be reachable by others.
    AtomicFileWriter output(outputPath, AtomicFileWriter::Links::Refuse);
    bool written = output.open();
    if (written) {
        output.write(document.data()); // a write that fails makes commit() fail and say why
        written = output.commit();
    }
    if (!written)
        errorInfo.set(ErrorInfo::ErrWrite,
                      ErrorInfo::standardMessage(ErrorInfo::ErrWrite, outputPath, output.reason()));
    return written;
}

bool TemplateToTxt::isPhoto(const QString&)
{
    return false;
}

int TemplateToTxt::extractIndexFromPhotoName(const QString&)
{
    return -1;
}

int TemplateToTxt::extractIndexFromGraphName(const QString&)
{
    return -1;
}

int TemplateToTxt::extractIndexFromLogoName(const QString&)
{
    return -1;
}

bool TemplateToTxt::removeMissingPictures(QString&)
{
    return true;
}

QString TemplateToTxt::leftTagBracket() const
{
    return QStringLiteral("<");
}

QString TemplateToTxt::rightTagBracket() const
{
    return QStringLiteral(">");
}

QRegularExpression TemplateToTxt::tableLineRegExp() const
{
    static const QRegularExpression table(QStringLiteral("(<table>.+</table>)"));
    return table;
}

QRegularExpression TemplateToTxt::paragraphRegExp() const
{
    static const QRegularExpression paragraph(QStringLiteral("(<p>.+</p>)"));
    return paragraph;
}

QRegularExpression TemplateToTxt::pictureRegExp() const
{
    static const QRegularExpression picture(QStringLiteral("(<figure'>(.+)</figure>)"));
    return picture;
}
