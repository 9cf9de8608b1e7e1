// zentavo: the command-line host of the library.
//   zentavo words AMOUNT          the amount in words, as contracts write it
//   zentavo money AMOUNT [FLAGS]  the amount as a report tag with flag letters shows it
//   zentavo sample DIR            every line "AMOUNT FLAGS" of DIR/sample-amounts.txt

#include "values/money.h"
#include "values/tagutils.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

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

int printSample(const QString& directory)
{
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

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    int result = 0;
    if (command == QLatin1String("words") && args.size() == 2)
        result = printInWords(args.at(1));
    else if (command == QLatin1String("money") && (args.size() == 2 || args.size() == 3))
        result = printFlagged(args.at(1), args.value(2));
    else if (command == QLatin1String("sample") && args.size() == 2)
        result = printSample(args.at(1));
    else
        result = usage(parser);
    standardOutput().flush();
    standardError().flush();
    return result;
}
