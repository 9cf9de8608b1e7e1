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
    void addingScalesLargePhotos_data();
    void addingScalesLargePhotos();
    void unreadableFileIsIgnored();
    void titlePhotoMovesToFront_data();
    void titlePhotoMovesToFront();
    void indexesOutsideTheList();
    void deletingTheLastPhotoDropsTheTitle();
};

void TestPhotoGallery::addingScalesLargePhotos_data()
{
    QTest::addColumn<QSize>("original");
    QTest::addColumn<QSize>("stored");
    QTest::newRow("landscape") << QSize(4000, 3000) << QSize(1200, 900);
    QTest::newRow("portrait") << QSize(1000, 3000) << QSize(400, 1200);
    QTest::newRow("at the limit") << QSize(1200, 1200) << QSize(1200, 1200);
    QTest::newRow("square above") << QSize(1300, 1300) << QSize(1200, 1200);
    QTest::newRow("small") << QSize(640, 480) << QSize(640, 480);
}

void TestPhotoGallery::addingScalesLargePhotos()
{
    QFETCH(QSize, original);
    QFETCH(QSize, stored);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("photo.png"));
    QImage image(original, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(file));

    EvaluationTagStorage storage;
    PhotoGallery* gallery = storage.getPhotoGallery();
    gallery->addPhoto(file);
    QCOMPARE(gallery->getPhotoCount(), 1);
    QPixmap photo;
    QCOMPARE(gallery->getPhoto(0, photo).size(), stored);
    QVERIFY(gallery->isModified());
}

void TestPhotoGallery::unreadableFileIsIgnored()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("notes.jpg"));
    QFile text(file);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    EvaluationTagStorage storage;
    PhotoGallery* gallery = storage.getPhotoGallery();
    gallery->addPhoto(file);
    gallery->addPhoto(dir.filePath(QStringLiteral("missing.jpg")));
    QCOMPARE(gallery->getPhotoCount(), 0);
    QVERIFY(!gallery->isModified());
}

void TestPhotoGallery::titlePhotoMovesToFront_data()
{
    QTest::addColumn<int>("title");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("third of four") << 2 << QList<int>{2, 0, 1, 3};
    QTest::newRow("last") << 3 << QList<int>{3, 0, 1, 2};
    QTest::newRow("first stays") << 0 << QList<int>{0, 1, 2, 3};
}

void TestPhotoGallery::titlePhotoMovesToFront()
{
    QFETCH(int, title);
    QFETCH(QList<int>, expected);
    EvaluationTagStorage storage;
    for (int i = 0; i < 4; ++i)
        storage.addPhoto(numbered(i));
    PhotoGallery* gallery = storage.getPhotoGallery();
    QVERIFY(gallery->setTitlePhoto(title));
    QCOMPARE(order(storage), expected);
    QCOMPARE(storage.getTitlePhotoIndex(), 0);
    QVERIFY(gallery->isModified());
    QPixmap photo;
    QCOMPARE(gallery->getTitlePhoto(photo).width() - 10, expected.first());
}

void TestPhotoGallery::indexesOutsideTheList()
{
    EvaluationTagStorage storage;
    storage.addPhoto(numbered(0));
    storage.addPhoto(numbered(1));
    PhotoGallery* gallery = storage.getPhotoGallery();
    QPixmap photo = numbered(5);
    QVERIFY(gallery->getPhoto(2, photo).isNull());
    QVERIFY(gallery->getPhoto(-1, photo).isNull());
    QVERIFY(!gallery->delPhoto(2));
    QVERIFY(!gallery->setTitlePhoto(2));
    QVERIFY(!gallery->isModified());
    QVERIFY(gallery->delPhoto(0)); // deleting does not mark the gallery
    QVERIFY(!gallery->isModified());
    QCOMPARE(order(storage), QList<int>{1});
    QVERIFY(!storage.addPhoto(QPixmap()));
}

void TestPhotoGallery::deletingTheLastPhotoDropsTheTitle()
{
    EvaluationTagStorage storage;
    storage.addPhoto(numbered(0));
    storage.setTitlePhoto(0);
    QVERIFY(storage.delPhoto(0));
    QCOMPARE(storage.getTitlePhotoIndex(), -1);
}

QTEST_MAIN(TestPhotoGallery)
#include "tst_photogallery.moc"
