#include "evaluation/agreement.h"
#include "evaluation/evaluationtagstorage.h"
#include "filesizelimit.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <memory>

// A save killed at any moment (power cut, the host killed) leaves on disk either the
// evaluation as it was or the one being saved, whole and loadable. A child process, this
// program started with --keep-saving, saves generation after generation of a large
// evaluation until it is killed with SIGKILL at a random moment. A save onto a disk that
// fills up at any byte fails, says so, and leaves the evaluation as it was.

namespace {

const char* const keepSavingArgument = "--keep-saving";
constexpr int photoCount = 2;
constexpr int kills = 100;

// Noise does not compress: each photo is some hundreds of kilobytes, as real ones are.
QByteArray noisePhoto(int seed)
{
    QRandomGenerator random(quint32(seed + 1));
    QImage image(600, 400, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xff000000u;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return buffer.data();
}

// A place text of about a megabyte that names its generation throughout, so a file
// pieced together from two saves cannot pass for either.
QString placeOf(int generation)
{
    return QStringLiteral("place of generation %1;").arg(generation).repeated(40000);
}

void writeGeneration(EvaluationTagStorage& storage, int generation)
{
    storage.getAgreement()->setNumber(QString::number(generation));
    storage.getAgreement()->setPlace(placeOf(generation));
}

EvaluationTagStorage* evaluationWithPhotos()
{
    auto* storage = new EvaluationTagStorage;
    for (int i = 0; i < photoCount; ++i)
        storage->addPhotoData(noisePhoto(i));
    return storage;
}

int keepSaving(const QString& path, int firstGeneration)
{
    std::unique_ptr<EvaluationTagStorage> storage(evaluationWithPhotos());
    std::puts("saving");
    std::fflush(stdout);
    for (int generation = firstGeneration;; ++generation) {
        writeGeneration(*storage, generation);
        if (!storage->save(path))
            return 1;
    }
}

} // namespace

class TestSaveCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void killedSaveLeavesOldOrNewEvaluation();
    void fullDiskLeavesTheEvaluation_data();
    void fullDiskLeavesTheEvaluation();
};

void TestSaveCrashSafety::killedSaveLeavesOldOrNewEvaluation()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("evaluation.zip"));
    std::unique_ptr<EvaluationTagStorage> saved(evaluationWithPhotos());
    writeGeneration(*saved, 0);
    QVERIFY(saved->save(path));
    QList<QByteArray> photos;
    for (int i = 0; i < photoCount; ++i)
        photos << saved->getPhotoData(i);

    QRandomGenerator random(15); // the same moments on every run
    int lastGeneration = 0, generationsSeen = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(keepSavingArgument), path, QString::number(lastGeneration + 1)});
        QVERIFY2(child.waitForReadyRead(10000), "the saving child did not start");
        QThread::msleep(random.bounded(120));
        child.kill(); // SIGKILL: no chance to clean up
        QVERIFY(child.waitForFinished(10000));
        QVERIFY2(child.exitStatus() == QProcess::CrashExit, "the child stopped saving before it was killed");

        EvaluationTagStorage loaded;
        QVERIFY2(loaded.load(path), qPrintable(QStringLiteral("broken file after kill %1").arg(kill)));
        QString number, place;
        const int generation = loaded.getAgreement()->getNumber(number).toInt();
        QVERIFY2(generation >= lastGeneration, "an older evaluation came back");
        QVERIFY2(loaded.getAgreement()->getPlace(place) == placeOf(generation), "a mixed evaluation");
        QCOMPARE(loaded.getPhotoCount(), photoCount);
        for (int i = 0; i < photoCount; ++i)
            QCOMPARE(loaded.getPhotoData(i), photos.at(i));
        generationsSeen += generation > lastGeneration;
        lastGeneration = generation;
    }
    QVERIFY2(generationsSeen > 0, "no save ever completed: the kills tested nothing");
}

void TestSaveCrashSafety::fullDiskLeavesTheEvaluation_data()
{
    // Where the disk fills, as a share of the new file: its first byte, the version note,
    // the tag list, each photo, the directory at the end, its very last byte.
    QTest::addColumn<double>("share");
    QTest::addColumn<qint64>("offset");
    QTest::newRow("no byte") << 0.0 << qint64(0);
    QTest::newRow("first header") << 0.0 << qint64(40);
    QTest::newRow("tag list") << 0.0 << qint64(2000);
    QTest::newRow("first photo") << 0.4 << qint64(0);
    QTest::newRow("second photo") << 0.8 << qint64(0);
    QTest::newRow("directory") << 1.0 << qint64(-100);
    QTest::newRow("last byte") << 1.0 << qint64(-1);
}

void TestSaveCrashSafety::fullDiskLeavesTheEvaluation()
{
    QFETCH(double, share);
    QFETCH(qint64, offset);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("evaluation.zip"));
    std::unique_ptr<EvaluationTagStorage> storage(evaluationWithPhotos());
    writeGeneration(*storage, 1);
    QVERIFY(storage->save(path));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    saved.close();

    writeGeneration(*storage, 2);
    const qint64 limit = qint64(share * double(before.size())) + offset;
    bool written = true;
    {
        FileSizeLimit full(limit);
        written = storage->save(path);
    }
    QVERIFY2(!written, qPrintable(QStringLiteral("a save reported success with the disk full at %1").arg(limit)));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), before);
    QVERIFY2(storage->errorString().contains(path), qPrintable(storage->errorString()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("evaluation.zip")});
    EvaluationTagStorage loaded;
    QVERIFY(loaded.load(path));
    QString number;
    QCOMPARE(loaded.getAgreement()->getNumber(number), QStringLiteral("1"));
}

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], keepSavingArgument) == 0)
        return keepSaving(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    TestSaveCrashSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savecrashsafety.moc"
