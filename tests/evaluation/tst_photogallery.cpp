#include "evaluation/evaluationtagstorage.h"
#include "evaluation/photogallery.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

class TestPhotoGallery : public QObject
{
    Q_OBJECT

private slots:
    void addingAFile_data();
    void addingAFile();
    void titleAndIndexes();
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

QTEST_MAIN(TestPhotoGallery)
#include "tst_photogallery.moc"
