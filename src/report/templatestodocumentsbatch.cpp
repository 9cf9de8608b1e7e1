#include "report/templatestodocumentsbatch.h"

#include "evaluation/agreement.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/vehicle.h"
#include "report/templateslist.h"
#include "runtime/logger.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

TemplatesToDocumentsBatch::TemplatesToDocumentsBatch(QObject* parent) : QObject(parent)
{
    for (TemplateToDocument* flavour :
         {static_cast<TemplateToDocument*>(&docx), static_cast<TemplateToDocument*>(&odt), static_cast<TemplateToDocument*>(&txt)})
        connect(flavour, &TemplateToDocument::done, this, &TemplatesToDocumentsBatch::make_next_one,
                Qt::QueuedConnection);
}

TemplatesToDocumentsBatch::~TemplatesToDocumentsBatch() = default;

bool TemplatesToDocumentsBatch::askForOverride(QString&)
{
    return true;
}

void TemplatesToDocumentsBatch::done(QString) {}

void TemplatesToDocumentsBatch::setTemplateCheck(TemplateToDocument::TemplateCheck check)
{
    docx.setTemplateCheck(check);
    odt.setTemplateCheck(check);
    txt.setTemplateCheck(check);
}

namespace {

// Longest folder name in UTF-8 bytes: file systems allow 255, and a little is left spare.
constexpr int kMaxFolderNameBytes = 240;

// The folder is named after values the user typed or a server sent. Separators, control
// characters (a NUL cuts a path short) and the characters other systems forbid in names
// become spaces, so the name is always one folder inside the base folder; a name too long
// for the file system is cut.
QString folderNameOf(QString name)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x{0}-\\x{1f}\\x{7f}]"));
    name.replace(forbidden, QStringLiteral(" "));
    name.truncate(kMaxFolderNameBytes);
    while (name.toUtf8().size() > kMaxFolderNameBytes)
        name.chop(name.size() >= 2 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
    return name;
}

// A dangling link is something too: kept unless the host says to replace it (which the
// generator then refuses), never taken for a free name.
bool somethingInPlaceOf(const QString& docFile)
{
    const QFileInfo info(docFile);
    return info.exists() || info.isSymLink();
}

} // namespace

void TemplatesToDocumentsBatch::stop()
{
    stopping = true;
}

void TemplatesToDocumentsBatch::constructDocDir(AutoEvaluation& ae, QString& baseDir, QString& out)
{
    QString number, brand, model, plate;
    ae.getAgreement()->getNumber(number);
    Vehicle* vehicle = ae.getVehicle();
    vehicle->getBrand(brand);
    vehicle->getModel(model);
    vehicle->getRegistrationPlate(plate);
    out = baseDir + QDir::separator()
        + folderNameOf(number + QLatin1Char('-') + brand + QLatin1Char(' ') + model + QLatin1Char('-') + plate);
}

void TemplatesToDocumentsBatch::constructDocName(QString& templateFile, QString& docDir, QString& out)
{
    const QString name = templateFile.mid(templateFile.lastIndexOf(QDir::separator()) + 1);
    out = docDir + QDir::separator() + name;
}

bool TemplatesToDocumentsBatch::make(AutoEvaluation& ae, TemplatesList& templates, QString baseDir)
{
    if (generator) {
        LOG_WARNING() << "a batch was started while its previous one is going on; refused";
        return false;
    }
    list = &templates;
    stopping = false;
    error = ErrorInfo();
    findings.clear();
    docx.use(ae);
    odt.use(ae);
    txt.use(ae);
    constructDocDir(ae, baseDir, docDir);
    // The folder's name follows from the agreement number, so anyone who can write to the
    // base folder can plant a link there: documents are never written through one.
    if (QFileInfo(docDir).isSymLink()) {
        LOG_WARNING() << "the document folder under" << baseDir << "is a symbolic link; nothing written";
        error.set(ErrorInfo::ErrWrite, tr("The document folder %1 is a symbolic link; documents are not written "
                                          "through it")
                                           .arg(QDir::toNativeSeparators(docDir)));
        return false;
    }
    if (!QDir().mkpath(docDir)) {
        // The folder's own name is made of the evaluation's values: only its base is logged.
        LOG_WARNING() << "cannot create the document folder under" << baseDir;
        return false;
    }
    emit progress(docDir, 0, 0);
    current = -1;
    generator = nullptr;
    make_next_one();
    return true;
}

void TemplatesToDocumentsBatch::make_next_one()
{
    if (generator) {
        findings += generator->templateFindings();
        const ErrorInfo& generatorError = generator->getErrorInfo();
        if (generatorError.code() != ErrorInfo::ErrNone) {
            QString templateName;
            list->get(current, templateName);
            LOG_WARNING() << "the batch stops at the template" << templateName << "error" << generatorError.code();
            error.set(generatorError.code(), generatorError.message());
            generator = nullptr;
            emit done();
            return;
        }
        done(docFile);
        generator = nullptr;
    }
    if (list && !stopping && startNextSelected())
        return;
    finish();
}

// Starts the generator of the next selected template; false when none is left.
bool TemplatesToDocumentsBatch::startNextSelected()
{
    const int total = list->count();
    for (++current; current < total; ++current) {
        if (!list->isSelected(current))
            continue;
        QString templateFile;
        list->getFullName(current, templateFile);
        constructDocName(templateFile, docDir, docFile);
        if (somethingInPlaceOf(docFile) && !askForOverride(docFile))
            continue;
        emit progress(docFile, 100, (current + 1) * 100 / total);
        switch (list->getType(current)) {
        case TemplatesList::TYPE_TXT:
            generator = &txt;
            break;
        case TemplatesList::TYPE_DOCX:
            generator = &docx;
            break;
        case TemplatesList::TYPE_ODT:
            generator = &odt;
            break;
        default:
            continue;
        }
        generator->make(templateFile, docFile);
        return true;
    }
    return false;
}

void TemplatesToDocumentsBatch::finish()
{
    emit progress(docDir, 100, 100);
    emit done();
}
