#include "runtime/abstractappender.h"
#include "runtime/logger.h"
#include "recordingappender.h"

#include <QDate>
#include <QMutexLocker>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

namespace {

// A value type of the library's kind, with its own QDebug output. It counts how
// often it is formatted so a test can see whether a log call did any work.
struct Plate
{
    QString number;
};

std::atomic<int> plateFormatted{0};

QDebug operator<<(QDebug debug, const Plate& plate)
{
    ++plateFormatted;
    const QDebugStateSaver saver(debug);
    debug.nospace() << "Plate(" << plate.number << ')';
    return debug;
}

} // namespace

class TestLogger : public QObject
{
    Q_OBJECT

private slots:
    void withoutAppenderNothingIsFormatted();
    void everyRegisteredAppenderReceivesTheLine();
    void removedAppenderReceivesNothingMore();
    void detailsLevelFiltersLowerLevels_data();
    void detailsLevelFiltersLowerLevels();
    void macrosNameLevelAndSourcePlace();
    void valuesOfSeveralTypesAreStreamed();
    void lineLoggedFromInsideAnAppenderIsDropped();
    void removeWaitsForLineInFlight();
};

void TestLogger::withoutAppenderNothingIsFormatted()
{
    plateFormatted = 0;
    LOG_TRACE() << "plate=" << Plate{QStringLiteral("А123ВС77")};
    QCOMPARE(plateFormatted.load(), 0);

    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    LOG_TRACE() << "plate=" << Plate{QStringLiteral("А123ВС77")};
    QCOMPARE(plateFormatted.load(), 1);
    QCOMPARE(appender.messages(), QStringList{QStringLiteral("plate= Plate(\"А123ВС77\")")});
}

void TestLogger::everyRegisteredAppenderReceivesTheLine()
{
    RecordingAppender first;
    RecordingAppender second;
    const AppenderRegistration firstRegistration(&first);
    const AppenderRegistration secondRegistration(&second);
    Logger::registerAppender(&first); // a second registration changes nothing

    LOG_TRACE() << "tag=" << QStringLiteral("ДАТА_ОЦЕНКИ");

    const QStringList expected{QStringLiteral("tag= \"ДАТА_ОЦЕНКИ\"")};
    QCOMPARE(first.messages(), expected);
    QCOMPARE(second.messages(), expected);
}

void TestLogger::removedAppenderReceivesNothingMore()
{
    RecordingAppender kept;
    RecordingAppender removed;
    const AppenderRegistration keptRegistration(&kept);
    Logger::registerAppender(&removed);
    LOG_TRACE() << "first";
    Logger::removeAppender(&removed);
    LOG_TRACE() << "second";

    QCOMPARE(removed.messages(), QStringList{QStringLiteral("first")});
    QCOMPARE(kept.messages(), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));

    Logger::removeAppender(&kept);
    LOG_TRACE() << "third";
    QCOMPARE(kept.messages().size(), 2);
}

void TestLogger::detailsLevelFiltersLowerLevels_data()
{
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("delivered");

    QTest::newRow("trace passes the default") << int(Logger::Trace) << int(Logger::Trace) << true;
    QTest::newRow("below threshold") << int(Logger::Warning) << int(Logger::Info) << false;
    QTest::newRow("at threshold") << int(Logger::Warning) << int(Logger::Warning) << true;
    QTest::newRow("above threshold") << int(Logger::Warning) << int(Logger::Error) << true;
    QTest::newRow("trace under debug") << int(Logger::Debug) << int(Logger::Trace) << false;
    QTest::newRow("fatal under fatal") << int(Logger::Fatal) << int(Logger::Fatal) << true;
    QTest::newRow("error under fatal") << int(Logger::Fatal) << int(Logger::Error) << false;
}

void TestLogger::detailsLevelFiltersLowerLevels()
{
    QFETCH(int, threshold);
    QFETCH(int, level);
    QFETCH(bool, delivered);

    RecordingAppender filtered;
    RecordingAppender everything;
    QCOMPARE(filtered.detailsLevel(), Logger::Trace);
    filtered.setDetailsLevel(Logger::LogLevel(threshold));
    const AppenderRegistration filteredRegistration(&filtered);
    const AppenderRegistration everythingRegistration(&everything);

    Logger::write(Logger::LogLevel(level), __FILE__, __LINE__, Q_FUNC_INFO) << "line";

    QCOMPARE(filtered.recorded().size(), delivered ? 1 : 0);
    QCOMPARE(everything.recorded().size(), 1);
}

void TestLogger::macrosNameLevelAndSourcePlace()
{
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);

    const int firstLine = __LINE__ + 1;
    LOG_TRACE() << "t";
    LOG_DEBUG() << "d";
    LOG_INFO() << "i";
    LOG_WARNING() << "w";
    LOG_ERROR() << "e";

    const QList<RecordingAppender::Line> lines = appender.recorded();
    QCOMPARE(lines.size(), 5);
    const Logger::LogLevel levels[] = {Logger::Trace, Logger::Debug, Logger::Info, Logger::Warning,
                                       Logger::Error};
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].level, levels[i]);
        QCOMPARE(lines[i].file, QStringLiteral("tests/runtime/tst_logger.cpp"));
        QCOMPARE(lines[i].line, firstLine + i);
        QVERIFY2(lines[i].function.contains(QStringLiteral("macrosNameLevelAndSourcePlace")),
                 qPrintable(lines[i].function));
    }
}

void TestLogger::valuesOfSeveralTypesAreStreamed()
{
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);

    LOG_TRACE() << "pst=" << QStringLiteral("Оценщик");
    LOG_TRACE() << "count=" << 42 << qint64(-9000000000) << 2.5;
    LOG_TRACE() << "ok=" << true << 'x';
    LOG_TRACE() << "date=" << QDate(2026, 12, 5);
    LOG_TRACE() << "hex=" << Qt::hex << 255;
    LOG_TRACE() << "list=" << QStringList{QStringLiteral("a"), QStringLiteral("б")};
    LOG_TRACE() << Plate{QStringLiteral("В001ОР")} << "end";
    LOG_TRACE();

    const QStringList expected{
        QStringLiteral("pst= \"Оценщик\""),
        QStringLiteral("count= 42 -9000000000 2.5"),
        QStringLiteral("ok= true x"),
        QStringLiteral("date= QDate(\"2026-12-05\")"),
        QStringLiteral("hex= ff"),
        QStringLiteral("list= QList(\"a\", \"б\")"),
        QStringLiteral("Plate(\"В001ОР\") end"),
        QString(),
    };
    QCOMPARE(appender.messages(), expected);
}

namespace {

// Logs from inside its own append(), as a Qt message handler forwarding to the logger would.
class ReentrantAppender : public RecordingAppender
{
public:
    void append(const QDateTime& time, Logger::LogLevel level, const char* file, int line,
                const char* function, const QString& message) override
    {
        RecordingAppender::append(time, level, file, line, function, message);
        LOG_ERROR() << "from inside";
    }
};

// Holds the first line it gets until released, to keep a line in flight.
class BlockingAppender : public AbstractAppender
{
public:
    QSemaphore entered;
    QSemaphore release;
    std::atomic<bool> finished{false};

    void append(const QDateTime&, Logger::LogLevel, const char*, int, const char*, const QString&) override
    {
        entered.release();
        release.acquire();
        finished = true;
    }
};

} // namespace

void TestLogger::lineLoggedFromInsideAnAppenderIsDropped()
{
    ReentrantAppender appender;
    const AppenderRegistration registration(&appender);

    LOG_TRACE() << "outer";
    LOG_TRACE() << "again";

    QCOMPARE(appender.messages(), (QStringList{QStringLiteral("outer"), QStringLiteral("again")}));
}

void TestLogger::removeWaitsForLineInFlight()
{
    BlockingAppender appender;
    const AppenderRegistration registration(&appender);

    std::unique_ptr<QThread> writer(QThread::create([] { LOG_TRACE() << "held"; }));
    std::atomic<bool> finishedWhenRemoved{false};
    std::unique_ptr<QThread> remover(QThread::create([&] {
        Logger::removeAppender(&appender);
        finishedWhenRemoved = appender.finished.load();
    }));
    // Whatever check fails, no thread is left blocked behind the appender.
    const auto joinThreads = qScopeGuard([&] {
        appender.release.release();
        writer->wait();
        remover->wait();
    });

    writer->start();
    QVERIFY(appender.entered.tryAcquire(1, 10000));
    remover->start();
    QThread::msleep(50); // room for a remover that does not wait to return early
    appender.release.release();

    QVERIFY(writer->wait(10000));
    QVERIFY(remover->wait(10000));
    QVERIFY(finishedWhenRemoved.load());
}

QTEST_GUILESS_MAIN(TestLogger)
#include "tst_logger.moc"
