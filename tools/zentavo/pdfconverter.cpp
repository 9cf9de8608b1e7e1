#include "pdfconverter.h"

#include "interruption.h"
#include "renderprogress.h"
#include "toolconsole.h"

#include "runtime/atomicfilewriter.h"
#include "runtime/logger.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace {

constexpr int kConverterTimeoutMs = 10 * 60 * 1000;
constexpr int kKeptOutputLines = 50;

bool isTextDocument(const QString& document)
{
    return QFileInfo(document).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
}

// A text document is markup without a head: as a page of its own it needs one that
// says UTF-8, or the converter guesses another encoding.
QByteArray asHtmlPage(const QByteArray& text, const QString& title)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    if (QString::fromUtf8(text).contains(QLatin1String("<html"), Qt::CaseInsensitive))
        return bom + text;
    return bom + "<!DOCTYPE html>\n<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
           + "<title>" + title.toHtmlEscaped().toUtf8() + "</title></head><body>\n" + text + "\n</body></html>\n";
}

// LibreOffice tells of each document it converts: "convert IN as a Writer document ->
// OUT using filter : writer_pdf_Export".
QString convertedFile(const QString& line)
{
    if (!line.startsWith(QLatin1String("convert ")))
        return QString();
    const qsizetype arrow = line.indexOf(QLatin1String(" -> "));
    if (arrow < 0)
        return QString();
    const QString rest = line.mid(arrow + 4);
    return rest.left(rest.indexOf(QLatin1String(" using filter")));
}

// What the converter said that explains a failure: its error line, else its last line.
QString lastWords(const QStringList& output)
{
    for (auto line = output.crbegin(); line != output.crend(); ++line)
        if (line->contains(QLatin1String("rror")))
            return line->trimmed();
    for (auto line = output.crbegin(); line != output.crend(); ++line)
        if (!line->trimmed().isEmpty() && convertedFile(*line).isEmpty())
            return line->trimmed();
    return QString();
}

// The converter runs in a process group of its own (LibreOffice starts helpers of its
// own), stopped whole.
void stopGroup(QProcess& process)
{
    if (process.processId() > 0)
        ::kill(-pid_t(process.processId()), SIGKILL);
    process.kill();
}

} // namespace

QString PdfConverter::program(QString& missing)
{
    const QString named = qEnvironmentVariable("ZENTAVO_SOFFICE");
    const QString found = QStandardPaths::findExecutable(named.isEmpty() ? QStringLiteral("soffice") : named);
    if (found.isEmpty())
        missing = named.isEmpty()
                      ? ToolConsole::tr("--pdf needs LibreOffice, and its soffice command is not installed "
                                        "(Debian: apt-get install libreoffice-writer-nogui); nothing rendered")
                      : ToolConsole::tr("ZENTAVO_SOFFICE names \"%1\", which is no program that can be run; nothing "
                                        "rendered")
                            .arg(named);
    return found;
}

PdfConverter::PdfConverter(QString program, RenderProgress& progress) : converter(std::move(program)), progress(progress)
{
}

void PdfConverter::convert(const QStringList& documents)
{
    QTemporaryDir work;
    if (!work.isValid() || !profile.isValid()) {
        for (const QString& document : documents)
            failed.append(
                ToolConsole::tr("%1: no PDF made: no temporary folder: %2").arg(document, work.errorString()));
        return;
    }
    QList<Job> jobs;
    for (const QString& document : documents)
        prepare(document, work.path(), jobs);
    if (jobs.isEmpty())
        return;
    const QString outFolder = work.filePath(QStringLiteral("pdf"));
    QDir().mkpath(outFolder);
    QString message;
    const bool ran = runConverter(jobs, outFolder, message);
    if (Interruption::happened())
        return;
    for (const Job& job : std::as_const(jobs)) {
        if (ran)
            place(job, outFolder, message);
        else
            failed.append(ToolConsole::tr("%1: no PDF made: %2").arg(job.document, message));
    }
}

void PdfConverter::prepare(const QString& document, const QString& workFolder, QList<Job>& jobs)
{
    const QFileInfo info(document);
    const QString folder = info.absolutePath() + QLatin1Char('/');
    Job job{info.absoluteFilePath(), info.absoluteFilePath(), folder + info.completeBaseName() + QStringLiteral(".pdf")};
    const auto isTaken = [&jobs](const QString& pdf) {
        return std::any_of(jobs.begin(), jobs.end(), [&pdf](const Job& other) { return other.pdf == pdf; });
    };
    // A report rendered from a DOCX and from an ODT template has one name before its
    // suffix: the second PDF is named after the whole file name, and the converter reads
    // a copy under a name of its own, as it names what it makes after what it reads.
    const bool shared = isTaken(job.pdf);
    if (shared)
        job.pdf = folder + info.fileName() + QStringLiteral(".pdf");
    if (isTaken(job.pdf)) {
        failed.append(ToolConsole::tr("%1: no PDF made: its PDF would be %2, made for another document").arg(document, job.pdf));
        return;
    }
    const QString stem = shared ? info.completeBaseName() + QLatin1Char('-') + info.suffix() : info.completeBaseName();
    if (isTextDocument(document)) {
        QFile text(document);
        QFile page(workFolder + QLatin1Char('/') + stem + QStringLiteral(".html"));
        if (!text.open(QIODevice::ReadOnly) || !page.open(QIODevice::WriteOnly)
            || !page.write(asHtmlPage(text.readAll(), info.fileName())) || !page.flush()) {
            failed.append(ToolConsole::tr("%1: no PDF made: %2")
                              .arg(document, text.isOpen() ? page.errorString() : text.errorString()));
            return;
        }
        job.input = page.fileName();
    } else if (shared) {
        job.input = workFolder + QLatin1Char('/') + stem + QLatin1Char('.') + info.suffix();
        if (!QFile::copy(document, job.input)) {
            failed.append(ToolConsole::tr("%1: no PDF made: it cannot be copied for the converter").arg(document));
            return;
        }
    }
    jobs.append(job);
}

bool PdfConverter::runConverter(const QList<Job>& jobs, const QString& outFolder, QString& message)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    QStringList arguments{QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
                          QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                          QStringLiteral("pdf"), QStringLiteral("--outdir"), outFolder};
    for (const Job& job : jobs)
        arguments.append(job.input);

    QStringList output;
    bool cannotStart = false, tooSlow = false;
    QEventLoop wait;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &wait, [&] {
        while (process.canReadLine()) {
            output.append(QString::fromLocal8Bit(process.readLine()).trimmed());
            if (output.size() > kKeptOutputLines)
                output.removeFirst();
            const QString made = QFileInfo(convertedFile(output.constLast())).completeBaseName();
            for (const Job& job : jobs)
                if (!made.isEmpty() && QFileInfo(job.input).completeBaseName() == made)
                    announce(job);
        }
    });
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &wait, [&](QProcess::ProcessError error) {
        cannotStart = error == QProcess::FailedToStart;
        if (cannotStart)
            wait.quit();
    });
    QObject::connect(&Interruption::instance(), &Interruption::interrupted, &wait, [&] { stopGroup(process); });
    QTimer::singleShot(kConverterTimeoutMs, &wait, [&] {
        tooSlow = true;
        stopGroup(process);
    });
    process.start(converter, arguments);
    if (process.state() != QProcess::NotRunning && !Interruption::happened())
        wait.exec();
    if (process.state() != QProcess::NotRunning) {
        stopGroup(process);
        process.waitForFinished(5000);
    }
    output += QString::fromLocal8Bit(process.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString said = lastWords(output);
    if (cannotStart)
        message = ToolConsole::tr("LibreOffice (%1) cannot be started: %2").arg(converter, process.errorString());
    else if (tooSlow)
        message = ToolConsole::tr("LibreOffice did not finish within %1 minutes").arg(kConverterTimeoutMs / 60000);
    else if (process.exitStatus() == QProcess::CrashExit)
        message = said.isEmpty() ? ToolConsole::tr("LibreOffice crashed")
                                 : ToolConsole::tr("LibreOffice crashed: %1").arg(said);
    else if (process.exitCode() != 0)
        message = said.isEmpty() ? ToolConsole::tr("LibreOffice ended with exit code %1").arg(process.exitCode())
                                 : ToolConsole::tr("LibreOffice: %1").arg(said);
    else
        message = said;
    if (cannotStart || tooSlow || process.exitStatus() == QProcess::CrashExit || process.exitCode() != 0) {
        LOG_WARNING() << "the PDF converter failed for" << jobs.size() << "document(s)";
        return false;
    }
    return true;
}

void PdfConverter::place(const Job& job, const QString& outFolder, const QString& message)
{
    QFile made(outFolder + QLatin1Char('/') + QFileInfo(job.input).completeBaseName() + QStringLiteral(".pdf"));
    const QByteArray pdf = made.open(QIODevice::ReadOnly) ? made.readAll() : QByteArray();
    if (!pdf.startsWith("%PDF")) {
        failed.append(message.isEmpty()
                          ? ToolConsole::tr("%1: LibreOffice made no PDF of it").arg(job.document)
                          : ToolConsole::tr("%1: LibreOffice made no PDF of it: %2").arg(job.document, message));
        return;
    }
    AtomicFileWriter::removeAbandoned(job.pdf);
    AtomicFileWriter writer(job.pdf);
    if (!writer.open() || !writer.write(pdf) || !writer.commit()) {
        failed.append(writer.errorString());
        return;
    }
    announce(job);
    pdfs.append(job.pdf);
}

void PdfConverter::announce(const Job& job)
{
    if (announced.contains(job.pdf))
        return;
    announced.insert(job.pdf);
    progress.documentStarted(job.pdf);
}
