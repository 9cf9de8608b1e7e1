#include "runtime/rawdeflate.h"
#include "runtime/zipwriter.h"

#include "zipfixture.h"

#include <QBuffer>
#include <quazip/quazip.h>
#include <quazip/quazipfileinfo.h>
#include <QTemporaryDir>
#include <QtTest>

// What the writer makes, any zip reader reads back whole; a write that fails, at whatever
// byte, is reported and never followed by a claim of success.
class TestZipWriter : public QObject
{
    Q_OBJECT

private slots:
    void entriesReadBackWhole();
    void failedWriteIsReported_data();
    void failedWriteIsReported();
    void archiveBeyondPlainZipIsRefused();

private:
    QTemporaryDir dir;
};

namespace {

// Takes the first limit bytes and refuses the rest, as a full disk does.
class FillingDevice : public QIODevice
{
public:
    explicit FillingDevice(qint64 limit) : limit(limit) { open(QIODevice::WriteOnly); }
    QByteArray taken;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 room = limit - taken.size();
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        taken.append(data, qMin(size, room));
        return qMin(size, room);
    }

private:
    qint64 limit;
};

struct Content
{
    QString name;
    QByteArray bytes;
    quint16 method;
};

const QList<Content>& contents()
{
    static const QList<Content> all = {
        {QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text", ZipWriter::Stored},
        {QStringLiteral("word/document.xml"), QString(QStringLiteral("<w:t>Рыночная стоимость</w:t>")).repeated(500).toUtf8(),
         ZipWriter::Deflated},
        {QStringLiteral("word/media/empty.png"), QByteArray(), ZipWriter::Stored},
        {QStringLiteral("Pictures/фото-1.jpg"), QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(3000, '\x55'),
         ZipWriter::Stored},
    };
    return all;
}

bool writeAll(ZipWriter& zip)
{
    for (const Content& content : contents()) {
        const QByteArray packed = content.method == ZipWriter::Stored ? content.bytes
                                                                       : RawDeflate::compress(content.bytes, RawDeflate::Text);
        if (!zip.add(content.name, content.method, RawDeflate::checksum(content.bytes), quint64(content.bytes.size()), packed))
            return false;
    }
    return zip.finish();
}

} // namespace

void TestZipWriter::entriesReadBackWhole()
{
    const QString path = dir.filePath(QStringLiteral("whole.zip"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    ZipWriter zip(file, QDateTime(QDate(1975, 5, 1), QTime(12, 0))); // before the archive's clock
    QVERIFY(writeAll(zip));
    QCOMPARE(zip.errorString(), QString());
    file.close();

    const QList<ZipEntry> entries = readZip(path);
    QCOMPARE(entries.size(), contents().size());
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries[i].name, contents()[i].name);
        QCOMPARE(entries[i].method, int(contents()[i].method));
        QVERIFY2(entries[i].intact, qPrintable(entries[i].name));
        QCOMPARE(entries[i].content, contents()[i].bytes);
        QCOMPARE(entries[i].time.date(), QDate(1980, 1, 1));
    }
    // Readers that do not guess take a name for UTF-8 only when its entry says so:
    // Windows' own zip folders would show the photo's name garbled otherwise.
    QuaZip reader(path);
    QVERIFY(reader.open(QuaZip::mdUnzip));
    for (bool more = reader.goToFirstFile(); more; more = reader.goToNextFile()) {
        QuaZipFileInfo64 info;
        QVERIFY(reader.getCurrentFileInfo(&info));
        const bool ascii = info.name.toUtf8().size() == info.name.size();
        QCOMPARE(bool(info.flags & 0x800), !ascii);
    }
}

void TestZipWriter::failedWriteIsReported_data()
{
    QTest::addColumn<qint64>("room");
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    ZipWriter zip(whole);
    writeAll(zip);
    const qint64 size = whole.size();
    QTest::newRow("nothing fits") << qint64(0);
    QTest::newRow("within the first header") << qint64(10);
    QTest::newRow("within the deflated part") << qint64(200);
    QTest::newRow("within the directory") << size - 60;
    QTest::newRow("all but the last byte") << size - 1;
}

void TestZipWriter::failedWriteIsReported()
{
    QFETCH(qint64, room);
    FillingDevice device(room);
    ZipWriter zip(device);
    QVERIFY(!writeAll(zip));
    QCOMPARE(zip.errorString(), QStringLiteral("No space left on device"));
    QVERIFY(!zip.finish());
    QVERIFY(!zip.add(QStringLiteral("later"), ZipWriter::Stored, 0, 0, QByteArray()));
}

void TestZipWriter::archiveBeyondPlainZipIsRefused()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ZipWriter zip(buffer);
    QVERIFY(!zip.add(QStringLiteral("huge.bin"), ZipWriter::Deflated, 0, quint64(5) << 30, QByteArray("x")));
    QVERIFY(!zip.errorString().isEmpty());
    QCOMPARE(buffer.size(), qint64(0));
}

QTEST_GUILESS_MAIN(TestZipWriter)
#include "tst_zipwriter.moc"
