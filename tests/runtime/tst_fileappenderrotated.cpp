#include "runtime/fileappender.h"
#include "runtime/fileappenderrotated.h"
#include "recordingappender.h"
#include "runtime/logger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

namespace {

const QDateTime fixedTime(QDate(2026, 12, 5), QTime(19, 50, 56, 123));

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray firstLine(const QString& path)
{
    const QByteArray content = readFile(path);
    return content.left(content.indexOf('\n'));
}

void appendMessage(FileAppender& appender, const QString& message)
{
    appender.append(fixedTime, Logger::Trace, "src/catalog/bankcatalog.cpp", 42, "void load()", message);
}

QByteArray lineOf(const QString& message)
{
    return FileAppender::formatLine(fixedTime, Logger::Trace, "src/catalog/bankcatalog.cpp", 42,
                                    "void load()", message);
}


} // namespace

class TestFileAppenderRotated : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void fileAppenderWritesOneUtf8LinePerCall();
    void fileAppenderOpensLazilyAndKeepsExistingContent();
    void fileAppenderDropsLinesItCannotWrite();

    void constructionSetsLimitAndDefaultCount();
    void rotatesOnlyAboveTheLimit_data();
    void rotatesOnlyAboveTheLimit();
    void rotationShiftsExistingFiles_data();
    void rotationShiftsExistingFiles();
    void repeatedRotationKeepsRotateCountFiles_data();
    void repeatedRotationKeepsRotateCountFiles();
    void rotatesFilesWhosePathHoldsPercentSigns();
    void concurrentWritersLoseNoLine_data();
    void concurrentWritersLoseNoLine();

private:
    QString logName() const { return dir->filePath(QStringLiteral("zentavo.log")); }
    QString rotatedName(int number) const { return logName() + QLatin1Char('.') + QString::number(number); }

    std::unique_ptr<QTemporaryDir> dir;
};

void TestFileAppenderRotated::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestFileAppenderRotated::fileAppenderWritesOneUtf8LinePerCall()
{
    FileAppender appender(logName());
    QCOMPARE(appender.fileName(), logName());
    appender.append(fixedTime, Logger::Warning, "src/catalog/bankcatalog.cpp", 42, "void load()",
                    QStringLiteral("bic= \"044525225\""));
    appender.append(fixedTime.addMSecs(1), Logger::Trace, nullptr, 0, nullptr,
                    QStringLiteral("tag= \"ДАТА_ОЦЕНКИ\""));

    const QByteArray expected =
        "2026-12-05T19:50:56.123 [Warning] src/catalog/bankcatalog.cpp:42 <void load()> bic= \"044525225\"\n"
        "2026-12-05T19:50:56.124 [Trace] tag= \"\xD0\x94\xD0\x90\xD0\xA2\xD0\x90_\xD0\x9E\xD0\xA6\xD0\x95"
        "\xD0\x9D\xD0\x9A\xD0\x98\"\n";
    QCOMPARE(readFile(logName()), expected);
    QCOMPARE(QFileInfo(logName()).size(), qint64(expected.size())); // flushed as written
}

void TestFileAppenderRotated::fileAppenderOpensLazilyAndKeepsExistingContent()
{
    {
        FileAppender unused(logName());
    }
    QVERIFY(!QFile::exists(logName()));

    writeFile(logName(), "earlier run\n");
    FileAppender appender(logName());
    appendMessage(appender, QStringLiteral("now"));
    QCOMPARE(readFile(logName()), QByteArray("earlier run\n") + lineOf(QStringLiteral("now")));
}

void TestFileAppenderRotated::fileAppenderDropsLinesItCannotWrite()
{
    const QString folder = dir->filePath(QStringLiteral("later"));
    const QString name = folder + QStringLiteral("/zentavo.log");
    FileAppender appender(name);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("zentavo\\.log")));
    appendMessage(appender, QStringLiteral("lost"));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("zentavo\\.log")));
    appendMessage(appender, QStringLiteral("lost too")); // reported once only
    QVERIFY(!QFile::exists(name));

    QVERIFY(QDir().mkpath(folder));
    appendMessage(appender, QStringLiteral("kept"));
    QCOMPARE(readFile(name), lineOf(QStringLiteral("kept")));
}

void TestFileAppenderRotated::constructionSetsLimitAndDefaultCount()
{
    FileAppenderRotated appender(logName(), 1 << 20);
    QCOMPARE(appender.fileName(), logName());
    QCOMPARE(appender.getRotateLimit(), qint64(1 << 20));
    QCOMPARE(appender.getRotateCount(), 9);
    appender.setRotateLimit(Q_INT64_C(5000000000));
    appender.setRotateCount(3);
    QCOMPARE(appender.getRotateLimit(), Q_INT64_C(5000000000));
    QCOMPARE(appender.getRotateCount(), 3);
}

void TestFileAppenderRotated::rotatesOnlyAboveTheLimit_data()
{
    // The limit is given as a number of lines plus a number of bytes.
    QTest::addColumn<int>("limitLines");
    QTest::addColumn<int>("limitExtraBytes");
    QTest::addColumn<int>("writes");
    QTest::addColumn<int>("linesInLog");
    QTest::addColumn<int>("linesInFirstRotated");

    QTest::newRow("file exactly at the limit stays") << 1 << 0 << 1 << 1 << 0;
    QTest::newRow("one byte over rotates at that write") << 1 << -1 << 1 << 0 << 1;
    QTest::newRow("second line crosses the limit") << 2 << -1 << 2 << 0 << 2;
    QTest::newRow("two lines exactly at the limit") << 2 << 0 << 2 << 2 << 0;
    QTest::newRow("line after rotation starts a fresh file") << 2 << -1 << 3 << 1 << 2;
    QTest::newRow("limit far above") << 100 << 0 << 5 << 5 << 0;
}

void TestFileAppenderRotated::rotatesOnlyAboveTheLimit()
{
    QFETCH(int, limitLines);
    QFETCH(int, limitExtraBytes);
    QFETCH(int, writes);
    QFETCH(int, linesInLog);
    QFETCH(int, linesInFirstRotated);

    const qint64 lineSize = lineOf(QStringLiteral("x")).size();
    FileAppenderRotated appender(logName(), limitLines * lineSize + limitExtraBytes);
    for (int i = 0; i < writes; ++i)
        appendMessage(appender, QStringLiteral("x"));

    QCOMPARE(QFile::exists(logName()), linesInLog > 0);
    QCOMPARE(QFileInfo(logName()).size(), linesInLog * lineSize);
    const QString firstRotated = rotatedName(1);
    QCOMPARE(QFile::exists(firstRotated), linesInFirstRotated > 0);
    QCOMPARE(QFileInfo(firstRotated).size(), linesInFirstRotated * lineSize);
    QVERIFY(!QFile::exists(rotatedName(2)));
}

void TestFileAppenderRotated::rotationShiftsExistingFiles_data()
{
    // Files are listed as "suffix=first line": ".2=one" is the second rotated file
    // starting with "one", and the empty suffix names the log file itself.
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("absent");

    const QStringList logAndTwo{QStringLiteral("=current"), QStringLiteral(".1=one"), QStringLiteral(".2=two")};

    QTest::newRow("count 3 shifts every file")
        << 3 << logAndTwo
        << QStringList{QStringLiteral(".1=current"), QStringLiteral(".2=one"), QStringLiteral(".3=two")}
        << QStringList{QString(), QStringLiteral(".4")};
    QTest::newRow("gap is carried along")
        << 9 << QStringList{QStringLiteral("=current"), QStringLiteral(".1=one"), QStringLiteral(".3=three")}
        << QStringList{QStringLiteral(".1=current"), QStringLiteral(".2=one"), QStringLiteral(".4=three")}
        << QStringList{QString(), QStringLiteral(".3"), QStringLiteral(".5")};
    QTest::newRow("gap below the oldest keeps it")
        << 3 << QStringList{QStringLiteral("=current"), QStringLiteral(".1=one"), QStringLiteral(".3=three")}
        << QStringList{QStringLiteral(".1=current"), QStringLiteral(".2=one"), QStringLiteral(".3=three")}
        << QStringList{QString(), QStringLiteral(".4")};
    QTest::newRow("first rotation")
        << 9 << QStringList{QStringLiteral("=current")}
        << QStringList{QStringLiteral(".1=current")}
        << QStringList{QString(), QStringLiteral(".2")};
    QTest::newRow("oldest is overwritten")
        << 2 << logAndTwo
        << QStringList{QStringLiteral(".1=current"), QStringLiteral(".2=one")}
        << QStringList{QString(), QStringLiteral(".3")};
    QTest::newRow("oldest beyond the count is replaced")
        << 3 << QStringList{QStringLiteral("=current"), QStringLiteral(".1=one"), QStringLiteral(".2=two"),
                            QStringLiteral(".3=three")}
        << QStringList{QStringLiteral(".1=current"), QStringLiteral(".2=one"), QStringLiteral(".3=two")}
        << QStringList{QString(), QStringLiteral(".4")};
    QTest::newRow("files past the count stay untouched")
        << 2 << QStringList{QStringLiteral("=current"), QStringLiteral(".5=five")}
        << QStringList{QStringLiteral(".1=current"), QStringLiteral(".5=five")}
        << QStringList{QString(), QStringLiteral(".2"), QStringLiteral(".6")};
    for (int count : {1, 0, -4}) {
        QTest::addRow("count %d deletes the log", count)
            << count << QStringList{QStringLiteral("=current"), QStringLiteral(".1=one")}
            << QStringList{QStringLiteral(".1=one")}
            << QStringList{QString(), QStringLiteral(".2")};
    }
}

void TestFileAppenderRotated::rotationShiftsExistingFiles()
{
    QFETCH(int, count);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QStringList, absent);

    for (const QString& file : before) {
        const QString suffix = file.section(QLatin1Char('='), 0, 0);
        writeFile(logName() + suffix, file.section(QLatin1Char('='), 1).toUtf8() + '\n');
    }

    FileAppenderRotated appender(logName(), 0);
    appender.setRotateCount(count);
    appendMessage(appender, QStringLiteral("last line"));

    for (const QString& file : after) {
        const QString path = logName() + file.section(QLatin1Char('='), 0, 0);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QCOMPARE(firstLine(path), file.section(QLatin1Char('='), 1).toUtf8());
    }
    for (const QString& suffix : absent)
        QVERIFY2(!QFile::exists(logName() + suffix), qPrintable(suffix));
    if (count > 1)
        QVERIFY(readFile(rotatedName(1)).endsWith(lineOf(QStringLiteral("last line"))));
}

void TestFileAppenderRotated::repeatedRotationKeepsRotateCountFiles_data()
{
    QTest::addColumn<int>("count");
    for (int count : {1, 2, 3, 9, 15})
        QTest::addRow("count %d", count) << count;
}

void TestFileAppenderRotated::repeatedRotationKeepsRotateCountFiles()
{
    QFETCH(int, count);
    const int writes = 12;

    // A limit of zero rotates at every line, so each kept file holds exactly one.
    FileAppenderRotated appender(logName(), 0);
    appender.setRotateCount(count);
    for (int i = 0; i < writes; ++i)
        appendMessage(appender, QStringLiteral("line %1").arg(i));

    QVERIFY(!QFile::exists(logName()));
    const int kept = count > 1 ? qMin(count, writes) : 0;
    for (int number = 1; number <= kept; ++number) {
        const QString path = rotatedName(number);
        QCOMPARE(readFile(path), lineOf(QStringLiteral("line %1").arg(writes - number)));
    }
    QVERIFY(!QFile::exists(rotatedName(kept + 1)));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), kept);
}

void TestFileAppenderRotated::rotatesFilesWhosePathHoldsPercentSigns()
{
    const QString folder = dir->filePath(QStringLiteral("logs %1 %2"));
    QVERIFY(QDir().mkpath(folder));
    const QString name = folder + QStringLiteral("/run%2.log");

    FileAppenderRotated appender(name, 0);
    appendMessage(appender, QStringLiteral("older"));
    appendMessage(appender, QStringLiteral("newer"));

    QCOMPARE(readFile(name + QStringLiteral(".1")), lineOf(QStringLiteral("newer")));
    QCOMPARE(readFile(name + QStringLiteral(".2")), lineOf(QStringLiteral("older")));
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
}

void TestFileAppenderRotated::concurrentWritersLoseNoLine_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("keepsEverything");

    QTest::newRow("count large enough for every line") << 1000 << true;
    QTest::newRow("small count keeps only the newest") << 3 << false;
}

// Several threads log through the Logger into one rotating file with a small limit.
// Every kept line must be whole and appear once, each thread's lines in the order it
// wrote them, and every rotated file must have been above the limit when it was moved
// aside (a file rotated twice would be small and push an older one out early).
void TestFileAppenderRotated::concurrentWritersLoseNoLine()
{
    QFETCH(int, count);
    QFETCH(bool, keepsEverything);
    const int threadCount = 4;
    const int linesPerThread = 2000;
    const qint64 limit = 16 * 1024;

    FileAppenderRotated appender(logName(), limit);
    appender.setRotateCount(count);
    {
        const AppenderRegistration registration(&appender);
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back(QThread::create([t] {
                for (int i = 0; i < linesPerThread; ++i)
                    LOG_INFO() << "writer=" << t << "line=" << i;
            }));
        }
        for (auto& thread : threads)
            thread->start();
        for (auto& thread : threads)
            QVERIFY(thread->wait(60000));
    }

    int rotated = 0;
    while (QFile::exists(rotatedName(rotated + 1)))
        ++rotated;
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), rotated + (QFile::exists(logName()) ? 1 : 0));
    if (keepsEverything) {
        QVERIFY2(rotated >= 10, "the limit should have made the file rotate many times");
        QVERIFY(rotated < count);
    } else {
        QCOMPARE(rotated, count);
    }

    QStringList filesOldestFirst;
    for (int number = rotated; number >= 1; --number) {
        const QString path = rotatedName(number);
        QVERIFY2(QFileInfo(path).size() > limit, qPrintable(path));
        filesOldestFirst.append(path);
    }
    filesOldestFirst.append(logName());

    static const QRegularExpression wholeLine(QStringLiteral(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\[Info\\] tests/runtime/tst_fileappenderrotated\\.cpp:\\d+ "
        "<[^>]*concurrentWritersLoseNoLine[^\\n]*> writer= (\\d) line= (\\d+)$"));
    std::vector<QList<int>> seen(threadCount);
    for (const QString& path : filesOldestFirst) {
        const QList<QByteArray> lines = readFile(path).split('\n');
        QVERIFY(lines.last().isEmpty()); // ends with a complete line, or the file is absent
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QRegularExpressionMatch match = wholeLine.match(QString::fromUtf8(lines[i]));
            QVERIFY2(match.hasMatch(), lines[i].constData());
            seen[match.captured(1).toInt()].append(match.captured(2).toInt());
        }
    }

    qsizetype keptLines = 0;
    for (int t = 0; t < threadCount; ++t) {
        const QList<int>& numbers = seen[t];
        keptLines += numbers.size();
        if (keepsEverything)
            QCOMPARE(numbers.size(), linesPerThread);
        // A thread that finished early may have all its lines in dropped files.
        if (numbers.isEmpty())
            continue;
        // The kept lines are the newest ones: a gapless run ending at the last line.
        QCOMPARE(numbers.last(), linesPerThread - 1);
        for (qsizetype i = 1; i < numbers.size(); ++i)
            QCOMPARE(numbers[i], numbers[i - 1] + 1);
    }
    QVERIFY(keptLines > 0);
}

QTEST_GUILESS_MAIN(TestFileAppenderRotated)
#include "tst_fileappenderrotated.moc"
