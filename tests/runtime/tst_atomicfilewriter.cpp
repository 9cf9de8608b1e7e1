#include "runtime/atomicfilewriter.h"

#include "filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray noise(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& byte : bytes)
        byte = char(random.generate());
    return bytes;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entriesOf(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
}

bool writeWhole(AtomicFileWriter& writer, const QByteArray& bytes)
{
    // In pieces, as a zip library writes: the failing write may be any of them.
    for (qsizetype at = 0; at < bytes.size(); at += 1000)
        writer.write(bytes.mid(at, 1000));
    return writer.commit();
}

} // namespace

class TestAtomicFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void completeWriteReplacesAndKeepsPermissions();
    void linksInTheTargetsPlace_data();
    void linksInTheTargetsPlace();
    void nonRegularTargetIsRefused();
    void onlyAbandonedFilesAreRemoved();
};

void TestAtomicFileWriter::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<qint64>("limit");
    for (qint64 limit : {0, 1, 999, 1000, 4096, 65535, 99999})
        QTest::newRow(qPrintable(QString::number(limit))) << limit;
}

// The disk fills at every kind of place: before the first byte, inside a write, at a
// write's end, one byte before the last. The old file must come through each.
void TestAtomicFileWriter::fullDiskKeepsTheOldFile()
{
    QFETCH(qint64, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("evaluation.zip"));
    const QByteArray old = noise(3000);
    QVERIFY(writeFile(path, old));

    AtomicFileWriter writer(path);
    bool committed = true;
    {
        FileSizeLimit full(limit);
        committed = writer.open() && writeWhole(writer, noise(100000));
    }
    QVERIFY(!committed);
    QCOMPARE(contentOf(path), old);
    QVERIFY2(writer.errorString().contains(path), qPrintable(writer.errorString()));
    QCOMPARE(entriesOf(dir), QStringList{QStringLiteral("evaluation.zip")});
}

void TestAtomicFileWriter::completeWriteReplacesAndKeepsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.docx"));
    QVERIFY(writeFile(path, "old"));
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                             | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, permissions));
    const QByteArray content = noise(100000);

    AtomicFileWriter writer(path);
    QVERIFY(writer.open());
    QVERIFY2(writeWhole(writer, content), qPrintable(writer.errorString()));
    QCOMPARE(contentOf(path), content);
    QCOMPARE(QFile::permissions(path), permissions);
    QCOMPARE(entriesOf(dir), QStringList{QStringLiteral("report.docx")});
}

void TestAtomicFileWriter::linksInTheTargetsPlace_data()
{
    QTest::addColumn<bool>("follow");
    QTest::addColumn<bool>("dangling");
    QTest::newRow("planted link refused") << false << false;
    QTest::newRow("dangling link refused") << false << true;
    QTest::newRow("user's link followed") << true << false;
    QTest::newRow("user's dangling link followed") << true << true;
}

// A link planted where a document goes must not let the write reach another file; an
// evaluation the user keeps behind a link of their own is saved where the link points.
void TestAtomicFileWriter::linksInTheTargetsPlace()
{
    QFETCH(bool, follow);
    QFETCH(bool, dangling);
    QTemporaryDir dir;
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.txt"));
    const QString link = dir.filePath(QStringLiteral("contract.txt"));
    if (!dangling)
        QVERIFY(writeFile(elsewhere, "precious"));
    QVERIFY(QFile::link(elsewhere, link));

    AtomicFileWriter writer(link, follow ? AtomicFileWriter::Links::Follow : AtomicFileWriter::Links::Refuse);
    const bool written = writer.open() && writer.write("new") && writer.commit();
    QCOMPARE(written, follow);
    QVERIFY(QFileInfo(link).isSymLink());
    if (follow) {
        QCOMPARE(contentOf(elsewhere), QByteArray("new"));
    } else {
        QVERIFY2(writer.errorString().contains(QLatin1String("symbolic link")), qPrintable(writer.errorString()));
        QCOMPARE(QFileInfo::exists(elsewhere), !dangling);
        if (!dangling)
            QCOMPARE(contentOf(elsewhere), QByteArray("precious"));
    }
}

void TestAtomicFileWriter::nonRegularTargetIsRefused()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("report.docx"));
    QVERIFY(QDir().mkdir(folder));
    AtomicFileWriter writer(folder);
    QVERIFY(!writer.open());
    QVERIFY2(writer.errorString().contains(QLatin1String("not a regular file")), qPrintable(writer.errorString()));
    QVERIFY(QFileInfo(folder).isDir());
}

// What a killed writer left goes; the new file of a writer at work, and the new files of
// other targets, stay.
void TestAtomicFileWriter::onlyAbandonedFilesAreRemoved()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.docx"));
    for (const char* name : {"report.docx.part-Ab12Cd", "contract.txt.part-Ab12Cd", "report.docx.part-kept"})
        QVERIFY(writeFile(dir.filePath(QLatin1String(name)), "left"));
    AtomicFileWriter writer(path);
    QVERIFY(writer.open() && writer.write("new"));
    // Where the file system cannot keep a new file unnamed, it has its name from the start.
    auto* partial = qobject_cast<QFileDevice*>(&writer.device());
    QVERIFY(partial && QFileInfo::exists(partial->fileName()));

    QCOMPARE(AtomicFileWriter::removeAbandoned(path), 1);
    QVERIFY2(writer.commit(), qPrintable(writer.errorString()));
    QCOMPARE(contentOf(path), QByteArray("new"));
    QCOMPARE(entriesOf(dir), (QStringList{"contract.txt.part-Ab12Cd", "report.docx", "report.docx.part-kept"}));
}

QTEST_GUILESS_MAIN(TestAtomicFileWriter)
#include "tst_atomicfilewriter.moc"
