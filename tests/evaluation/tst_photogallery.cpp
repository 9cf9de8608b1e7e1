#include "evaluation/evaluationtagstorage.h"
#include "evaluation/photogallery.h"
#include "zipfixture.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {

QPixmap numbered(int number)
{
    // The width tells the photos apart.
    QPixmap pixmap(10 + number, 10);
    pixmap.fill(Qt::gray);
    return pixmap;
}

QList<int> order(EvaluationTagStorage& storage)
{
    QList<int> numbers;
    QPixmap photo;
    for (int i = 0; i < storage.getPhotoCount(); ++i)
        numbers << storage.getPhoto(i, photo).width() - 10;
    return numbers;
}

// A camera-like JPEG: noise, so that any re-encoding changes its bytes.
QByteArray cameraJpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 92);
    return buffer.data();
}

} // namespace

class TestPhotoGallery : public QObject
{
    Q_OBJECT

private slots:
    void addingAFile_data();
    void addingAFile();
    void titleAndIndexes();
    void photosKeepTheirBytes();
    void photosDecodeOnAnyThread();
};

void TestPhotoGallery::addingAFile_data()
{
    QTest::addColumn<QSize>("original"); // 0×0: a file that is no image
    QTest::addColumn<QSize>("stored");   // 0×0: nothing added
    QTest::newRow("landscape") << QSize(4000, 3000) << QSize(1200, 900);
    QTest::newRow("portrait") << QSize(1000, 3000) << QSize(400, 1200);
    QTest::newRow("at the limit") << QSize(1200, 1200) << QSize(1200, 1200);
    QTest::newRow("square above") << QSize(1300, 1300) << QSize(1200, 1200);
    QTest::newRow("not an image") << QSize(0, 0) << QSize(0, 0);
}

void TestPhotoGallery::addingAFile()
{
    QFETCH(QSize, original);
    QFETCH(QSize, stored);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("photo.png")));
    QImage image(original, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QVERIFY(image.isNull() ? file.write("not a picture") > 0 : image.save(&file, "PNG"));

    EvaluationTagStorage storage;
    PhotoGallery* gallery = storage.getPhotoGallery();
    gallery->addPhoto(file.fileName());
    gallery->addPhoto(dir.filePath(QStringLiteral("missing.jpg"))); // ignored as well
    QCOMPARE(gallery->getPhotoCount(), stored.isEmpty() ? 0 : 1);
    QPixmap photo;
    QCOMPARE(gallery->getPhoto(0, photo).size(), stored);
    QCOMPARE(gallery->isModified(), !stored.isEmpty());
    // Saved as a .jpg entry, so a picture of another format is encoded as JPEG.
    QVERIFY(stored.isEmpty() || storage.getPhotoData(0).startsWith("\xFF\xD8"));
}

void TestPhotoGallery::titleAndIndexes()
{
    EvaluationTagStorage storage;
    for (int i = 0; i < 4; ++i)
        storage.addPhoto(numbered(i));
    PhotoGallery* gallery = storage.getPhotoGallery();
    QPixmap above = numbered(5), below = numbered(5); // a stale photo in each
    QVERIFY(gallery->getPhoto(4, above).isNull() && gallery->getPhoto(-1, below).isNull());
    QVERIFY(!gallery->delPhoto(4) && !gallery->setTitlePhoto(4));
    QVERIFY(!storage.addPhoto(QPixmap()));
    QVERIFY(!gallery->isModified());

    // The title photo moves to the front; the others keep their order.
    QVERIFY(gallery->setTitlePhoto(2));
    QCOMPARE(order(storage), (QList<int>{2, 0, 1, 3}));
    QCOMPARE(gallery->getTitlePhoto(above).width() - 10, 2);
    QVERIFY(gallery->isModified());
    QVERIFY(gallery->setTitlePhoto(3) && gallery->setTitlePhoto(0)); // the last, then the first already
    QCOMPARE(order(storage), (QList<int>{3, 2, 0, 1}));
    QCOMPARE(storage.getTitlePhotoIndex(), 0);

    // Deleting does not mark the gallery; deleting the last photo drops the title.
    gallery->setModified(false);
    QVERIFY(gallery->delPhoto(0));
    QCOMPARE(order(storage), (QList<int>{2, 0, 1}));
    QVERIFY(gallery->delPhoto(0) && gallery->delPhoto(0) && gallery->delPhoto(0));
    QVERIFY(!gallery->isModified());
    QCOMPARE(storage.getTitlePhotoIndex(), -1);
}

// An appraiser's photographs are evidence: saving an evaluation must never re-encode them.
void TestPhotoGallery::photosKeepTheirBytes()
{
    QTemporaryDir dir;
    const QByteArray fromFile = cameraJpeg(640, 480), fromCamera = cameraJpeg(300, 200);
    const QString evaluation = dir.filePath(QStringLiteral("e.zip"));
    QVERIFY(writeZip(evaluation, {{QStringLiteral("tag_list.txt"), "A=1\n"},
                                  {QStringLiteral("photo/photo1.jpg"), fromFile}}));
    QFile camera(dir.filePath(QStringLiteral("camera.jpg")));
    QVERIFY(camera.open(QIODevice::WriteOnly) && camera.write(fromCamera) == fromCamera.size());
    camera.close();

    EvaluationTagStorage storage;
    QVERIFY(storage.load(evaluation));
    storage.getPhotoGallery()->addPhoto(camera.fileName());
    QCOMPARE(storage.getPhotoData(1), fromCamera);
    for (int round = 0; round < 10; ++round) {
        QVERIFY(storage.save(evaluation));
        QVERIFY(storage.load(evaluation));
    }
    QCOMPARE(contentOf(evaluation, QStringLiteral("photo/photo1.jpg")), fromFile);
    QCOMPARE(storage.getPhotoData(0), fromFile);
    QCOMPARE(storage.getPhotoData(1), fromCamera);
    QPixmap photo;
    QCOMPARE(storage.getPhoto(0, photo).size(), QSize(640, 480));
}

void TestPhotoGallery::photosDecodeOnAnyThread()
{
    EvaluationTagStorage storage;
    QVERIFY(storage.addPhotoData(cameraJpeg(64, 48)));
    QVERIFY(!storage.addPhotoData("not a picture"));
    QSize decoded, outOfRange(1, 1);
    std::thread worker([&] {
        QImage image;
        decoded = storage.getPhotoImage(0, image).size();
        outOfRange = storage.getPhotoImage(1, image).size();
    });
    worker.join();
    QCOMPARE(decoded, QSize(64, 48));
    QVERIFY(outOfRange.isEmpty());
}

QTEST_MAIN(TestPhotoGallery)
#include "tst_photogallery.moc"
