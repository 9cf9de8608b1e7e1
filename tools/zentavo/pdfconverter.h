#ifndef ZENTAVO_TOOL_PDFCONVERTER_H
#define ZENTAVO_TOOL_PDFCONVERTER_H

#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

class RenderProgress;

// PDF copies of a render's documents, made by LibreOffice beside them: a DOCX or ODT
// document as it is, a text document as the HTML its markup is (so a contract prints as a
// contract). Of two documents with one name before the suffix (a report from a DOCX and
// from an ODT template) the second PDF is named after its whole file name
// ("report.odt.pdf").
// Each PDF is made in a temporary folder and put in place whole, replacing an older one
// only then. A document LibreOffice makes no PDF of is a failure, with LibreOffice's own
// words. Ctrl-C or SIGTERM stops LibreOffice and what it was making.
class PdfConverter
{
public:
    // The converter: the program ZENTAVO_SOFFICE names, else LibreOffice's soffice on the
    // PATH. Empty, with the line to say in missing, when there is none.
    static QString program(QString& missing);

    PdfConverter(QString program, RenderProgress& progress);

    // The documents of one folder, converted in one run of the converter.
    void convert(const QStringList& documents);

    const QStringList& written() const { return pdfs; }
    // One line for each document without its PDF: which, and why.
    const QStringList& failures() const { return failed; }

private:
    struct Job
    {
        QString document;
        QString input; // what the converter reads: the document, or its HTML copy
        QString pdf;
    };

    void prepare(const QString& document, const QString& workFolder, QList<Job>& jobs);
    bool runConverter(const QList<Job>& jobs, const QString& outFolder, QString& message);
    void place(const Job& job, const QString& outFolder, const QString& message);
    // Shows the PDF in the progress, once.
    void announce(const Job& job);

    QString converter;
    RenderProgress& progress;
    QTemporaryDir profile;
    QStringList pdfs;
    QStringList failed;
    QSet<QString> announced;
};

#endif
