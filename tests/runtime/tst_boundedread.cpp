#include "runtime/boundedread.h"

#include <QBuffer>
#include <QTemporaryFile>
#include <QtTest>

// A bounded read gives exactly what the device holds from where it stands, up to the
// limit, whatever kind of device: a file, a buffer, or a stream that tells no size.
class TestBoundedRead : public QObject
{
    Q_OBJECT

private slots:
    void readsUpToTheLimit_data();
    void readsUpToTheLimit();
};

namespace {

// A stream: bytes arrive in small pieces, and its size says nothing.
class TrickleDevice : public QIODevice
{
public:
    explicit TrickleDevice(const QByteArray& bytes) : bytes(bytes) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 size) override
    {
        const qint64 given = qMin<qint64>(qMin<qint64>(size, 7000), bytes.size() - at);
        memcpy(data, bytes.constData() + at, size_t(given));
        at += given;
        return given;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes;
    qint64 at = 0;
};

QByteArray content(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 23);
    return bytes;
}

} // namespace

void TestBoundedRead::readsUpToTheLimit_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("limit");
    const qint64 mib = 1024 * 1024;
    for (const QString& device : {QStringLiteral("file"), QStringLiteral("buffer"), QStringLiteral("stream")}) {
        const QByteArray name = device.toUtf8();
        QTest::newRow(name + ", empty") << device << qint64(0) << qint64(0) << qint64(10);
        QTest::newRow(name + ", under the limit") << device << 3 * mib + 5 << qint64(0) << 4 * mib;
        QTest::newRow(name + ", exactly the limit") << device << 2 * mib << qint64(0) << 2 * mib;
        QTest::newRow(name + ", one byte over") << device << 2 * mib + 1 << qint64(0) << 2 * mib;
        QTest::newRow(name + ", far over") << device << 5 * mib << qint64(0) << mib + 3;
        if (device != QLatin1String("stream"))
            QTest::newRow(name + ", from the middle") << device << 3 * mib << mib + 17 << 4 * mib;
    }
}

void TestBoundedRead::readsUpToTheLimit()
{
    QFETCH(QString, device);
    QFETCH(qint64, size);
    QFETCH(qint64, position);
    QFETCH(qint64, limit);
    const QByteArray bytes = content(size);
    const QByteArray expected = bytes.mid(position, limit);
    QByteArray read;
    if (device == QLatin1String("file")) {
        QTemporaryFile file;
        QVERIFY(file.open());
        QCOMPARE(file.write(bytes), size);
        QVERIFY(file.seek(position));
        read = BoundedRead::atMost(file, limit);
    } else if (device == QLatin1String("buffer")) {
        QBuffer buffer;
        buffer.setData(bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly) && buffer.seek(position));
        read = BoundedRead::atMost(buffer, limit);
    } else {
        TrickleDevice stream(bytes);
        read = BoundedRead::atMost(stream, limit);
    }
    QCOMPARE(read.size(), expected.size());
    QVERIFY(read == expected);
}

QTEST_GUILESS_MAIN(TestBoundedRead)
#include "tst_boundedread.moc"
