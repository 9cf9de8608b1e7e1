// zentavo tags, zentavo set, zentavo photo add: reading and editing an evaluation file.

#include "commandline.h"
#include "hostevaluation.h"
#include "subcommands.h"
#include "toolconsole.h"

#include "values/tagutils.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

// The tag list exactly as the file stores it, one "NAME=value" line per tag.
int listStoredTags(const QString& path)
{
    QuaZip zip(path);
    QuaZipFile entry(&zip);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(QStringLiteral("tag_list.txt"))
        || !entry.open(QIODevice::ReadOnly))
        return ToolConsole::fail(ToolConsole::tr("%1: the tag list cannot be read").arg(path));
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (!line.isEmpty())
            ToolConsole::out() << line << '\n';
    }
    return ToolConsole::Success;
}

// NAME#FLAGS as a template writes it, for example СТОИМОСТЬ_УСЛУГ#R#T or ДАТА_ОЦЕНКИ#Y.
int resolveReportTags(HostEvaluation& evaluation, const QStringList& requests)
{
    int result = ToolConsole::Success;
    for (const QString& request : requests) {
        const QStringList parts = request.split(QLatin1Char('#'), Qt::SkipEmptyParts);
        tagflag_t flags = 0;
        for (const QString& letters : parts.mid(1))
            for (const QChar letter : letters)
                flags |= TagUtils::flagForLetter(letter);
        QString value;
        if (parts.isEmpty() || !evaluation.evaluation().getTag(parts.at(0), value, flags)) {
            result = ToolConsole::fail(ToolConsole::tr("no tag \"%1\" in this evaluation").arg(request));
            continue;
        }
        ToolConsole::out() << request << " = " << value << '\n';
    }
    return result;
}

struct Assignment
{
    QString name;
    QString value;
};

// The lines of a tag file, each NAME=VALUE in the evaluation's line form; a line that is
// not one is refused with its number, as the same text on the command line would be.
bool readTagFile(const QString& path, QList<Assignment>& assignments, int& code)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        code = ToolConsole::fail(ToolConsole::tr("%1: %2").arg(path, file.errorString()));
        return false;
    }
    QStringList parts;
    for (int number = 1; !file.atEnd(); ++number) {
        const QString line = QString::fromUtf8(file.readLine());
        if (line.trimmed().isEmpty())
            continue;
        if (EvaluationTagStorage::parseLine(line, parts).isEmpty()) {
            code = ToolConsole::fail(
                ToolConsole::tr("%1:%2: not NAME=VALUE: \"%3\"").arg(path).arg(number).arg(line.trimmed()),
                ToolConsole::Usage);
            return false;
        }
        QString value = parts.at(2);
        assignments.append({parts.at(1), TagUtils::unescapeTagValue(value)});
    }
    return true;
}

bool parseAssignments(const QStringList& arguments, QList<Assignment>& assignments, int& code)
{
    for (const QString& assignment : arguments) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            code = ToolConsole::fail(ToolConsole::tr("not NAME=VALUE: \"%1\"").arg(assignment), ToolConsole::Usage);
            return false;
        }
        assignments.append({assignment.left(equals), assignment.mid(equals + 1)});
    }
    return true;
}

} // namespace

int runTags(const QStringList& arguments)
{
    CommandLine line(
        QStringLiteral("tags"), QStringLiteral("EVALUATION [NAME[#FLAGS]...]"),
        ToolConsole::tr("Lists the tags an evaluation file stores, as it stores them; with names, resolves them as a "
                        "template would, flags included (СТОИМОСТЬ_УСЛУГ#R)."));
    if (!line.parse(arguments, 1))
        return line.exitCode();
    const QStringList names = line.positional();
    HostEvaluation evaluation;
    QString error;
    if (!evaluation.open(names.at(0), error))
        return ToolConsole::fail(error);
    if (names.size() == 1)
        return listStoredTags(names.at(0));
    return resolveReportTags(evaluation, names.mid(1));
}

int runSet(const QStringList& arguments)
{
    CommandLine line(
        QStringLiteral("set"), QStringLiteral("EVALUATION [--from TAGFILE] NAME=VALUE..."),
        ToolConsole::tr("Sets tags of an evaluation file, creating the file when there is none. Numbers and dates are "
                        "taken as people type them; nothing is saved when a tag would not be kept."));
    const QCommandLineOption fromOption(
        QStringLiteral("from"), ToolConsole::tr("reads NAME=VALUE lines from a file first"), QStringLiteral("TAGFILE"));
    line.addOption(fromOption);
    if (!line.parse(arguments, 1))
        return line.exitCode();
    QStringList rest = line.positional();
    const QString from = line.value(fromOption.names().constFirst());
    if (rest.size() == 1 && from.isEmpty())
        return line.usageError(ToolConsole::tr("no NAME=VALUE given"));
    int code = 0;
    const QString path = rest.takeFirst();
    HostEvaluation evaluation;
    QString error;
    if (!evaluation.reserve(path, error) || !evaluation.openOrCreate(path, error))
        return ToolConsole::fail(error);
    QList<Assignment> assignments;
    if ((!from.isEmpty() && !readTagFile(from, assignments, code)) || !parseAssignments(rest, assignments, code))
        return code;
    QStringList names;
    for (const Assignment& assignment : std::as_const(assignments)) {
        QString value;
        if (!evaluation.takeTypedValue(assignment.name, assignment.value, value, error))
            return ToolConsole::fail(error);
        evaluation.storage().setTag(assignment.name, value);
        names.append(assignment.name);
    }
    evaluation.adoptWrittenTags();
    evaluation.keepTypedForms(names);
    if (!evaluation.save(path, names, error))
        return ToolConsole::fail(error);
    ToolConsole::out() << ToolConsole::tr("%1: %2 tag(s) set").arg(path).arg(names.size()) << '\n';
    return ToolConsole::Success;
}

int runPhoto(const QStringList& arguments)
{
    CommandLine line(
        QStringLiteral("photo add"), QStringLiteral("EVALUATION FILE..."),
        ToolConsole::tr("Adds photos to an evaluation file that exists. JPEG files are kept byte for byte, other "
                        "pictures are stored as JPEG."));
    if (!line.parseAfterWord(arguments, 2))
        return line.exitCode();
    const QStringList files = line.positional();
    const QString path = files.at(0);
    HostEvaluation evaluation;
    QString error;
    if (!evaluation.reserve(path, error) || !evaluation.open(path, error))
        return ToolConsole::fail(error);
    for (const QString& photo : files.mid(1)) {
        QFile file(photo);
        if (!file.open(QIODevice::ReadOnly))
            return ToolConsole::fail(ToolConsole::tr("%1: %2").arg(photo, file.errorString()));
        // A camera's JPEG is kept byte for byte; other pictures are encoded as JPEG.
        const QByteArray bytes = file.readAll();
        const bool added = bytes.startsWith("\xFF\xD8") ? evaluation.storage().addPhotoData(bytes)
                                                         : evaluation.storage().addPhotoImage(QImage::fromData(bytes));
        if (!added)
            return ToolConsole::fail(ToolConsole::tr("%1: not a picture").arg(photo));
    }
    if (!evaluation.save(path, {}, error))
        return ToolConsole::fail(error);
    ToolConsole::out() << ToolConsole::tr("%1: %2 photo(s), %3 added")
                              .arg(path)
                              .arg(evaluation.storage().getPhotoCount())
                              .arg(files.size() - 1)
                       << '\n';
    return ToolConsole::Success;
}
