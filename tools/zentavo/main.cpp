// zentavo: the command-line host of the library.
//   zentavo words AMOUNT          the amount in words, as contracts write it
//   zentavo money AMOUNT [FLAGS]  the amount as a report tag with flag letters shows it
//   zentavo sample DIR OUT        the sample evaluation of DIR/sample-evaluation.txt saved
//                                 as OUT/sample-evaluation.zip, read back and summarised,
//                                 then every line "AMOUNT FLAGS" of DIR/sample-amounts.txt

#include "catalogcommands.h"
#include "evaluation/agreement.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/vehicle.h"
#include "values/money.h"
#include "values/tagutils.h"

#include <QDir>

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>

namespace {

QTextStream& standardOutput()
{
    static QTextStream out(stdout);
    return out;
}

QTextStream& standardError()
{
    static QTextStream err(stderr);
    return err;
}

tagflag_t parseFlagLetters(const QString& letters)
{
    tagflag_t flags = 0;
    for (const QChar letter : letters)
        flags |= TagUtils::flagForLetter(letter);
    return flags;
}

bool parseAmount(const QString& text, Money& amount)
{
    bool ok = false;
    TagUtils::parseMoney(text, &ok, amount);
    if (!ok)
        standardError() << "Not an amount: \"" << text << "\"\n";
    return ok;
}

int printInWords(const QString& text)
{
    Money amount;
    if (!parseAmount(text, amount))
        return 2;
    QString words;
    standardOutput() << TagUtils::processFlagSUMM_IN_WORDS(amount, words) << '\n';
    return 0;
}

int printFlagged(const QString& text, const QString& letters)
{
    Money amount;
    if (!parseAmount(text, amount))
        return 2;
    QString value;
    TagUtils::condProcessFlagMONEY(parseFlagLetters(letters), amount, value);
    standardOutput() << text << (letters.isEmpty() ? QString() : QLatin1Char('#') + letters) << " = " << value << '\n';
    return 0;
}

// Fills an evaluation from a tag list in the file format's line form.
bool readTagList(const QString& path, EvaluationTagStorage& storage)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        standardError() << "Cannot read " << path << ": " << file.errorString() << '\n';
        return false;
    }
    storage.readTagLines(file);
    return true;
}

QString resolved(Agreement* agreement, const QString& name, tagflag_t flags)
{
    QString value;
    agreement->getTag(name, value, flags);
    return value;
}

int writeSampleEvaluation(const QString& directory, const QString& output)
{
    EvaluationTagStorage storage;
    const QString saved = output + QStringLiteral("/sample-evaluation.zip");
    if (!readTagList(directory + QStringLiteral("/sample-evaluation.txt"), storage))
        return 1;
    if (!QDir().mkpath(output) || !storage.save(saved)) {
        standardError() << "Cannot save " << saved << '\n';
        return 1;
    }
    EvaluationTagStorage loaded;
    if (!loaded.load(saved)) {
        standardError() << "Cannot load " << saved << '\n';
        return 1;
    }
    Agreement* agreement = loaded.getAgreement();
    QString number, dateText, plate;
    QDate date;
    standardOutput() << "Evaluation saved to " << saved << '\n'
                     << "Agreement " << agreement->getNumber(number) << " of "
                     << TagUtils::processDate(agreement->getDate(date), dateText) << '\n'
                     << "Vehicle " << loaded.getVehicle()->getRegistrationPlate(plate) << '\n'
                     << "Price: " << resolved(agreement, QStringLiteral("СТОИМОСТЬ_УСЛУГ"), TAGFLAG_WORDS) << '\n'
                     << "VAT: " << resolved(agreement, QStringLiteral("СТОИМОСТЬ_УСЛУГ_НДС"), 0) << '\n'
                     << "Guarantee: " << resolved(agreement, QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ"), TAGFLAG_WORDS)
                     << '\n';
    return 0;
}

int printSample(const QString& directory, const QString& output)
{
    if (const int result = writeSampleEvaluation(directory, output))
        return result;
    QFile file(directory + QStringLiteral("/sample-amounts.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        standardError() << "Cannot read " << file.fileName() << ": " << file.errorString() << '\n';
        return 1;
    }
    int result = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        result |= printFlagged(fields.at(0), fields.value(1));
    }
    return result;
}

int usage(const QCommandLineParser& parser)
{
    standardError() << parser.helpText();
    return 2;
}

int runCommand(const QCommandLineParser& parser)
{
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    if (command == QLatin1String("words") && args.size() == 2)
        return printInWords(args.at(1));
    if (command == QLatin1String("money") && (args.size() == 2 || args.size() == 3))
        return printFlagged(args.at(1), args.value(2));
    if (command == QLatin1String("sample") && args.size() == 3)
        return printSample(args.at(1), args.at(2));
    if (isCatalogCommand(args)) return runCatalogCommand(args);
    return usage(parser);
}

} // namespace

int main(int argc, char* argv[])
{
    // The library draws pictures with QPixmap, which needs a GUI application; on a
    // machine without a display the offscreen platform stands in.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("zentavo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zentavo vehicle valuation core"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("words | money | sample"));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("arguments of the command"));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);

    int result = 0;
    try {
        result = runCommand(parser);
    } catch (const std::exception& e) {
        standardError() << "Internal error: " << e.what() << '\n';
        result = 3;
    }
    standardOutput().flush();
    standardError().flush();
    return result;
}
