#include "runtime/fileappenderrotated.h"
#include "runtime/logger.h"
#include "recordingappender.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// A value with its own QDebug output that counts how often it is formatted, so a
// test can see whether a log call did any work.
struct Plate { QString number; };

std::atomic<int> plateFormatted{0};

QDebug operator<<(QDebug debug, const Plate& plate)
{
    ++plateFormatted;
    const QDebugStateSaver saver(debug);
    debug.nospace() << "Plate(" << plate.number << ')';
    return debug;
}

const QString logBaseName = QStringLiteral("zentavo.log");
const QDateTime fixedTime(QDate(2026, 12, 5), QTime(19, 50, 56, 123));

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void appendMessage(FileAppender& appender, const QString& message)
{
    appender.append(fixedTime, Logger::Trace, "src/catalog/bank.cpp", 42, "void load()", message);
}

QByteArray lineOf(const QString& message)
{
    return FileAppender::formatLine(fixedTime, Logger::Trace, "src/catalog/bank.cpp", 42, "void load()", message);
}

// "=current .1=one" names the log file starting with "current" and L.1 starting with "one".
QStringList files(const char* layout)
{
    return QString::fromLatin1(layout).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void linesReachRegisteredAppendersOnly();
    void detailsLevelFiltersLowerLevels_data();
    void detailsLevelFiltersLowerLevels();
    void rotatesOnlyAboveTheLimit_data();
    void rotatesOnlyAboveTheLimit();
    void rotationShiftsOlderFiles_data();
    void rotationShiftsOlderFiles();
    void repeatedRotationKeepsRotateCountFiles_data();
    void repeatedRotationKeepsRotateCountFiles();
    void concurrentWritersLoseNoLine_data();
    void concurrentWritersLoseNoLine();

private:
    QString logName() const { return dir->filePath(logBaseName); }
    QString rotatedName(int number) const { return logName() + QLatin1Char('.') + QString::number(number); }
    QStringList filesOnDisk() const;

    std::unique_ptr<QTemporaryDir> dir;
};

void TestLogging::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

// Every file in the folder, in name order, as "suffix=first line".
QStringList TestLogging::filesOnDisk() const
{
    QStringList result;
    for (const QString& name : QDir(dir->path()).entryList(QDir::Files)) {
        const QByteArray content = readFile(dir->filePath(name));
        result.append(name.mid(logBaseName.size()) + QLatin1Char('=')
                      + QString::fromUtf8(content.left(content.indexOf('\n'))));
    }
    return result;
}

void TestLogging::linesReachRegisteredAppendersOnly()
{
    const Plate plate{QStringLiteral("А123ВС77")};
    plateFormatted = 0;
    LOG_TRACE() << "before any appender" << plate;
    RecordingAppender kept;
    RecordingAppender removed;
    {
        const AppenderRegistration keptRegistration(&kept);
        Logger::registerAppender(&removed);
        LOG_TRACE() << "plate=" << plate;
        Logger::removeAppender(&removed);
        LOG_TRACE() << "second";
    }
    LOG_TRACE() << "after both are gone" << plate;

    // Formatted once for both appenders, and not at all while none is registered.
    QCOMPARE(plateFormatted.load(), 1);
    const QString first = QStringLiteral("plate= Plate(\"А123ВС77\")");
    QCOMPARE(removed.messages(), QStringList{first});
    QCOMPARE(kept.messages(), (QStringList{first, QStringLiteral("second")}));
}

void TestLogging::detailsLevelFiltersLowerLevels_data()
{
    QTest::addColumn<Logger::LogLevel>("threshold");
    QTest::addColumn<Logger::LogLevel>("level");
    QTest::addColumn<bool>("delivered");

    QTest::newRow("default passes trace") << Logger::Trace << Logger::Trace << true;
    QTest::newRow("below") << Logger::Warning << Logger::Info << false;
    QTest::newRow("at") << Logger::Warning << Logger::Warning << true;
    QTest::newRow("above") << Logger::Warning << Logger::Error << true;
}

void TestLogging::detailsLevelFiltersLowerLevels()
{
    QFETCH(Logger::LogLevel, threshold);
    QFETCH(Logger::LogLevel, level);
    QFETCH(bool, delivered);

    RecordingAppender filtered;
    RecordingAppender everything;
    filtered.setDetailsLevel(threshold);
    const AppenderRegistration filteredRegistration(&filtered);
    const AppenderRegistration everythingRegistration(&everything);
    Logger::write(level, __FILE__, __LINE__, Q_FUNC_INFO) << "line";

    QCOMPARE(filtered.recorded().size(), delivered ? 1 : 0);
    QCOMPARE(everything.recorded().size(), 1);
}

void TestLogging::rotatesOnlyAboveTheLimit_data()
{
    // The limit is a number of lines plus some bytes.
    QTest::addColumn<int>("limitLines");
    QTest::addColumn<int>("limitExtraBytes");
    QTest::addColumn<int>("writes");
    QTest::addColumn<int>("linesInLog");
    QTest::addColumn<int>("linesInFirstRotated");

    QTest::newRow("exactly at the limit stays") << 1 << 0 << 1 << 1 << 0;
    QTest::newRow("one byte over rotates at that write") << 1 << -1 << 1 << 0 << 1;
    QTest::newRow("line after rotation starts a fresh file") << 2 << -1 << 3 << 1 << 2;
}

void TestLogging::rotatesOnlyAboveTheLimit()
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

    QCOMPARE(QFileInfo(logName()).size(), linesInLog * lineSize);
    QCOMPARE(QFileInfo(rotatedName(1)).size(), linesInFirstRotated * lineSize);
}

void TestLogging::rotationShiftsOlderFiles_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("count 3 shifts every file")
        << 3 << files("=current .1=one .2=two") << files(".1=current .2=one .3=two");
    QTest::newRow("gap is carried along")
        << 9 << files("=current .1=one .3=three") << files(".1=current .2=one .4=three");
    for (int count : {1, 0, -4})
        QTest::addRow("count %d deletes the log", count) << count << files("=current .1=one") << files(".1=one");
}

void TestLogging::rotationShiftsOlderFiles()
{
    QFETCH(int, count);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);

    for (const QString& file : before) {
        QFile existing(logName() + file.section(QLatin1Char('='), 0, 0));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write(file.section(QLatin1Char('='), 1).toUtf8() + '\n');
    }
    FileAppenderRotated appender(logName(), 0);
    appender.setRotateCount(count);
    appendMessage(appender, QStringLiteral("last line"));

    QCOMPARE(filesOnDisk(), after);
    if (count > 1) // the line was appended to the earlier content, then moved aside
        QVERIFY(readFile(rotatedName(1)).endsWith(lineOf(QStringLiteral("last line"))));
}

void TestLogging::repeatedRotationKeepsRotateCountFiles_data()
{
    QTest::addColumn<int>("count");
    for (int count : {1, 2, 3, 15})
        QTest::addRow("count %d", count) << count;
}

void TestLogging::repeatedRotationKeepsRotateCountFiles()
{
    QFETCH(int, count);
    const int writes = 12;

    // A limit of zero rotates at every line, so each kept file holds exactly one.
    FileAppenderRotated appender(logName(), 0);
    appender.setRotateCount(count);
    for (int i = 0; i < writes; ++i)
        appendMessage(appender, QStringLiteral("line %1").arg(i));

    const int kept = count > 1 ? qMin(count, writes) : 0;
    QCOMPARE(filesOnDisk().size(), kept);
    for (int number = 1; number <= kept; ++number)
        QCOMPARE(readFile(rotatedName(number)), lineOf(QStringLiteral("line %1").arg(writes - number)));
}

void TestLogging::concurrentWritersLoseNoLine_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("keepsEverything");
    QTest::newRow("count large enough for every line") << 1000 << true;
    QTest::newRow("small count keeps only the newest") << 3 << false;
}

// Several threads log through the Logger into one rotating file with a small limit. Every
// kept line must be whole, in UTF-8, and appear once, and every rotated file must have been
// above the limit when moved aside: one rotated twice would push an older one out early.
void TestLogging::concurrentWritersLoseNoLine()
{
    QFETCH(int, count);
    QFETCH(bool, keepsEverything);
    const int threadCount = 4;
    const int linesPerThread = 1000;
    const qint64 limit = 8 * 1024;

    FileAppenderRotated appender(logName(), limit);
    appender.setRotateCount(count);
    {
        const AppenderRegistration registration(&appender);
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back(QThread::create([t] {
                for (int i = 0; i < linesPerThread; ++i)
                    LOG_INFO() << "писатель=" << t << "строка=" << i;
            }));
            threads.back()->start();
        }
        for (auto& thread : threads)
            QVERIFY(thread->wait(60000));
    }

    const int rotated = filesOnDisk().size() - (QFile::exists(logName()) ? 1 : 0);
    // With the large count the limit must have made the file rotate many times.
    const bool rotatedAsExpected = keepsEverything ? rotated >= 10 && rotated < count : rotated == count;
    QVERIFY2(rotatedAsExpected, qPrintable(QStringLiteral("%1 rotated files").arg(rotated)));

    static const QRegularExpression wholeLine(QStringLiteral(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\[Info\\] tests/runtime/tst_logging\\.cpp:\\d+ "
        "<[^>]*concurrentWritersLoseNoLine[^\\n]*> писатель= (\\d) строка= (\\d+)$"));
    std::vector<QList<int>> seen(threadCount);
    for (int number = rotated; number >= 0; --number) { // oldest first, the log file last
        const QString path = number > 0 ? rotatedName(number) : logName();
        QVERIFY2(number == 0 || QFileInfo(path).size() > limit, qPrintable(path));
        const QList<QByteArray> lines = readFile(path).split('\n');
        QVERIFY(lines.last().isEmpty()); // ends with a complete line, or the file is absent
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QRegularExpressionMatch match = wholeLine.match(QString::fromUtf8(lines[i]));
            QVERIFY2(match.hasMatch(), lines[i].constData());
            seen[match.captured(1).toInt()].append(match.captured(2).toInt());
        }
    }

    for (const QList<int>& numbers : seen) {
        if (keepsEverything)
            QCOMPARE(numbers.size(), linesPerThread);
        // The kept lines are each thread's newest: a gapless run ending at its last line.
        for (qsizetype i = 0; i < numbers.size(); ++i)
            QCOMPARE(numbers[i], int(linesPerThread - numbers.size() + i));
    }
}

QTEST_GUILESS_MAIN(TestLogging)
#include "tst_logging.moc"