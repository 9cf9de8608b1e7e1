#include "evaluation/evaluationtagstorage.h"
#include "evaluation/photogallery.h"
#include "recordingappender.h"
#include "runtime/autoevalexception.h"
#include "values/tagutils.h"
#include "zipfixture.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <quazip/quazipfile.h>

namespace {

// Stands in for a host's valuation approach: writes the tags it is given, counts calls.
class ScriptedApproach : public EvaluationApproach
{
public:
    QList<QPair<QString, QString>> written;
    int clears = 0;
    int loads = 0;
    bool failOnSave = false;

    bool getTag(const QString&, QString&, tagflag_t) override { return false; }
    void save(QuaZipFile& file) override
    {
        for (const auto& [name, value] : written) {
            QString escaped = value;
            QByteArray line;
            file.write(TagUtils::mkTagLine(name, escaped, line));
        }
        if (failOnSave)
            ZENTAVO_THROW();
    }
    void clear() override { ++clears; }
    void load() override { ++loads; }
    QString& getName(QString& name) override { return name; }
    QString& getTagKey(QString& key) override { return key; }
    Money& getAnalogFullCost(Money& cost) override { return cost; }
    Money& getCost(Money& cost) override { return cost; }
    int getImageCount() override { return 0; }
    QPixmap& getImage(int, QPixmap& image) override { return image; }
};

QByteArray jpegOf(const QColor& color, int width = 64, int height = 48)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

QPixmap pixmapOf(const QColor& color, int width = 64, int height = 48)
{
    QPixmap pixmap(width, height);
    pixmap.fill(color);
    return pixmap;
}

QColor centreColour(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool nearColour(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) < 16 && qAbs(a.green() - b.green()) < 16 && qAbs(a.blue() - b.blue()) < 16;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEvaluationTagStorage : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void absentAndEmptyTags();
    void typedTagsRoundTrip();
    void typedReadOfAbsentTag();
    void parseLine_data();
    void parseLine();
    void approachRegistry();
    void clearDropsTagsAndSectionsButKeepsApproaches();
    void ownersCountIsLogged();

    void savedContainerLayout();
    void roundTripKeepsValues_data();
    void roundTripKeepsValues();
    void roundTripKeepsPhotoOrder();
    void tagsNoWriterKnowsAreNotSaved();
    void documentStateFollowsLoadAndSave();

    void unreadableContainers_data();
    void unreadableContainers();
    void tagListLines_data();
    void tagListLines();
    void photoEntries_data();
    void photoEntries();
    void oversizedPhotoEntryIsSkippedUnread();

    void saveIntoMissingFolderFails_data();
    void saveIntoMissingFolderFails();
    void failedSaveKeepsPreviousFile();

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<EvaluationTagStorage> storage;
    std::unique_ptr<ScriptedApproach> approach;
};

void TestEvaluationTagStorage::init()
{
    dir = std::make_unique<QTemporaryDir>();
    storage = std::make_unique<EvaluationTagStorage>();
    approach = std::make_unique<ScriptedApproach>();
    storage->registerApproach(APPROACH_COST, *approach);
}

void TestEvaluationTagStorage::absentAndEmptyTags()
{
    QString value = QStringLiteral("stale");
    QVERIFY(storage->getTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), value).isNull());
    storage->setTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), QString(""));
    QVERIFY(!storage->getTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), value).isNull());
    QVERIFY(value.isEmpty());
    QVERIFY(storage->getTag(QStringLiteral("цель_оценки"), value).isNull()); // names are case-sensitive
}

void TestEvaluationTagStorage::typedTagsRoundTrip()
{
    storage->setTag(QStringLiteral("B"), true);
    storage->setTag(QStringLiteral("I"), 42);
    storage->setTag(QStringLiteral("D"), QDate(2026, 12, 5));
    storage->setTag(QStringLiteral("R"), Real(0.75));
    storage->setTag(QStringLiteral("M"), Money(1234, 56));
    bool b = false;
    int i = 0;
    QDate d;
    Real r;
    Money m;
    QCOMPARE(storage->getTag(QStringLiteral("B"), b), true);
    QCOMPARE(storage->getTag(QStringLiteral("I"), i), 42);
    QCOMPARE(storage->getTag(QStringLiteral("D"), d), QDate(2026, 12, 5));
    QCOMPARE(storage->getTag(QStringLiteral("R"), r), Real(0.75));
    QCOMPARE(storage->getTag(QStringLiteral("M"), m), Money(1234, 56));

    // The text forms are those of the tag values, so text written by the host reads typed.
    QString text;
    QCOMPARE(storage->getTag(QStringLiteral("B"), text), QStringLiteral("Да"));
    QCOMPARE(storage->getTag(QStringLiteral("D"), text), QStringLiteral("05.12.2026"));
    storage->setTag(QStringLiteral("M"), QStringLiteral("99,5"));
    QCOMPARE(storage->getTag(QStringLiteral("M"), m), Money(99, 50));
}

void TestEvaluationTagStorage::typedReadOfAbsentTag()
{
    bool b = true;
    int i = 5;
    QDate d(2000, 1, 1);
    Real r(1);
    Money m(1, 0);
    QCOMPARE(storage->getTag(QStringLiteral("X"), b), false);
    QCOMPARE(storage->getTag(QStringLiteral("X"), i), -1);
    QVERIFY(!storage->getTag(QStringLiteral("X"), d).isValid());
    QVERIFY(storage->getTag(QStringLiteral("X"), r).isNull());
    QVERIFY(storage->getTag(QStringLiteral("X"), m).isNull());
    storage->setTag(QStringLiteral("N"), -1); // the integer "no value" is stored as empty
    QVERIFY(storage->getTag(QStringLiteral("N"), i) == -1);
}

void TestEvaluationTagStorage::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("nameAndValue");
    QTest::newRow("inner space kept") << QStringLiteral("ЦЕЛЬ_ОЦЕНКИ=  для банка  \n")
                                      << QStringList{QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), QStringLiteral("для банка")};
    QTest::newRow("space before = is part of the name") << QStringLiteral("A =1\n")
                                                         << QStringList{QStringLiteral("A "), QStringLiteral("1")};
    QTest::newRow("nothing after =") << QStringLiteral("A=\n") << QStringList{QStringLiteral("A"), QString("")};
    QTest::newRow("one character") << QStringLiteral("A=x") << QStringList{QStringLiteral("A"), QStringLiteral("x")};
    QTest::newRow("second = in the value") << QStringLiteral("A=b=c\r\n")
                                           << QStringList{QStringLiteral("A"), QStringLiteral("b=c")};
    QTest::newRow("no =") << QStringLiteral("just text\n") << QStringList();
    QTest::newRow("begins with =") << QStringLiteral("=value\n") << QStringList();
    QTest::newRow("empty line") << QStringLiteral("\n") << QStringList();
}

void TestEvaluationTagStorage::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, nameAndValue);
    QStringList parts{QStringLiteral("stale")};
    EvaluationTagStorage::parseLine(line, parts);
    QCOMPARE(parts.mid(1), nameAndValue);
}

void TestEvaluationTagStorage::approachRegistry()
{
    ScriptedApproach second;
    QVERIFY(storage->registerApproach(APPROACH_COST, second));
    QCOMPARE(storage->getApproach(APPROACH_COST), &second);
    QVERIFY(!storage->isApproach(APPROACH_COMPARATIVE));
    try {
        storage->getApproach(APPROACH_COMPARATIVE);
        QFAIL("an unregistered approach must throw");
    } catch (const AutoEvalException& e) {
        QCOMPARE(e.getFile(), QStringLiteral("evaluationtagstorage"));
    }
    storage->registerApproach(APPROACH_COST, *approach);
}

void TestEvaluationTagStorage::clearDropsTagsAndSectionsButKeepsApproaches()
{
    storage->setTag(QStringLiteral("A"), QStringLiteral("1"));
    storage->addPhoto(pixmapOf(Qt::red));
    PhotoGallery* gallery = storage->getPhotoGallery();
    gallery->setModified(true);
    storage->clear();
    QString value;
    QVERIFY(storage->getTag(QStringLiteral("A"), value).isNull());
    QCOMPARE(storage->getPhotoCount(), 0);
    QVERIFY(!storage->getPhotoGallery()->isModified()); // a new gallery object
    QVERIFY(storage->isApproach(APPROACH_COST));
    QCOMPARE(approach->clears, 1);
}

void TestEvaluationTagStorage::ownersCountIsLogged()
{
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    storage->setTag(QStringLiteral("ДАТА_ОЦЕНКИ"), QStringLiteral("05.12.2026"));
    QVERIFY(appender.messages().isEmpty());
    storage->setTag(QStringLiteral("ЗП_КОЛИЧЕСТВО_ВЛАДЕЛЬЦЕВ"), QStringLiteral("2"));
    QCOMPARE(appender.messages(), QStringList{QStringLiteral("NEW val= \"2\"")});
}

void TestEvaluationTagStorage::savedContainerLayout()
{
    approach->written = {{QStringLiteral("A"), QStringLiteral("1")}, {QStringLiteral("Б"), QString()}};
    storage->addPhoto(pixmapOf(Qt::red));
    storage->addPhoto(pixmapOf(Qt::blue));
    QVERIFY(storage->save(path(QStringLiteral("e.zip"))));

    const QList<ZipEntry> entries = readZip(path(QStringLiteral("e.zip")));
    QStringList names;
    for (const ZipEntry& entry : entries) {
        names << entry.name;
        QCOMPARE(entry.method, 8);
        QCOMPARE(entry.time, entries.first().time);
    }
    QCOMPARE(names, (QStringList{QStringLiteral("version.txt"), QStringLiteral("tag_list.txt"),
                                 QStringLiteral("photo/photo1.jpg"), QStringLiteral("photo/photo2.jpg")}));
    QCOMPARE(entries.at(0).content, QByteArray("VERSION=1.1\nEDITION=AUTO\n"));
    // The sections write first, the registered approaches after them.
    QVERIFY(entries.at(1).content.startsWith(QStringLiteral("НОМЕР_ДОГОВОРА=\n").toUtf8()));
    QVERIFY(entries.at(1).content.endsWith(QStringLiteral("\nA=1\nБ=\n").toUtf8()));
    QVERIFY(entries.at(2).content.startsWith("\xFF\xD8")); // JPEG start-of-image marker
}

void TestEvaluationTagStorage::roundTripKeepsValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("line feeds") << QStringLiteral("первая\nвторая\n") << QStringLiteral("первая\nвторая\n");
    QTest::newRow("carriage returns") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("windows path") << QStringLiteral("C:\\new\\report.docx") << QStringLiteral("C:\\new\\report.docx");
    QTest::newRow("escape text itself") << QStringLiteral("\\n is not a line feed") << QStringLiteral("\\n is not a line feed");
    QTest::newRow("equals signs") << QStringLiteral("a=b==c") << QStringLiteral("a=b==c");
    QTest::newRow("blanks trimmed") << QStringLiteral("  value \t ") << QStringLiteral("value");
    QTest::newRow("empty") << QString("") << QString("");
    QTest::newRow("null reads back empty") << QString() << QString("");
}

void TestEvaluationTagStorage::roundTripKeepsValues()
{
    QFETCH(QString, value);
    QFETCH(QString, loaded);
    approach->written = {{QStringLiteral("ЗНАЧЕНИЕ"), value}};
    QVERIFY(storage->save(path(QStringLiteral("e.zip"))));
    QVERIFY(storage->load(path(QStringLiteral("e.zip"))));
    QString read;
    QCOMPARE(storage->getTag(QStringLiteral("ЗНАЧЕНИЕ"), read), loaded);
    QVERIFY(!read.isNull());
    QCOMPARE(approach->loads, 1);
}

void TestEvaluationTagStorage::roundTripKeepsPhotoOrder()
{
    for (const QColor& colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)})
        storage->addPhoto(pixmapOf(colour));
    storage->setTitlePhoto(2);
    QVERIFY(storage->save(path(QStringLiteral("e.zip"))));
    QVERIFY(storage->load(path(QStringLiteral("e.zip"))));
    QCOMPARE(storage->getPhotoCount(), 3);
    QPixmap photo;
    QVERIFY(nearColour(centreColour(storage->getPhoto(0, photo)), Qt::blue));
    QVERIFY(nearColour(centreColour(storage->getPhoto(1, photo)), Qt::red));
    QVERIFY(nearColour(centreColour(storage->getPhoto(2, photo)), Qt::green));
}

void TestEvaluationTagStorage::tagsNoWriterKnowsAreNotSaved()
{
    storage->setTag(QStringLiteral("НИЧЕЙ_ТЕГ"), QStringLiteral("x"));
    QVERIFY(storage->save(path(QStringLiteral("e.zip"))));
    QString value;
    QCOMPARE(storage->getTag(QStringLiteral("НИЧЕЙ_ТЕГ"), value), QStringLiteral("x")); // still in memory
    QVERIFY(storage->load(path(QStringLiteral("e.zip"))));
    QVERIFY(storage->getTag(QStringLiteral("НИЧЕЙ_ТЕГ"), value).isNull());
}

void TestEvaluationTagStorage::documentStateFollowsLoadAndSave()
{
    QVERIFY(storage->isNewDocument());
    QVERIFY(!storage->save()); // no file name yet
    storage->setModified();
    QVERIFY(storage->save(path(QStringLiteral("e.zip"))));
    QVERIFY(!storage->isModified());
    QVERIFY(!storage->isNewDocument());
    QCOMPARE(storage->getFileName(), path(QStringLiteral("e.zip")));
    QVERIFY(!storage->load(path(QStringLiteral("missing.zip"))));
    QVERIFY(storage->isNewDocument());
    QVERIFY(storage->getFileName().isNull());
    QVERIFY(storage->load(path(QStringLiteral("e.zip"))));
    QVERIFY(!storage->isNewDocument());
}

void TestEvaluationTagStorage::unreadableContainers_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("not a zip") << QByteArray("VERSION=1.1\nEDITION=AUTO\n") << true;
    QTest::newRow("truncated zip") << QByteArray("truncate") << true;
}

void TestEvaluationTagStorage::unreadableContainers()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    const QString file = path(QStringLiteral("bad.zip"));
    if (content == "truncate") {
        QVERIFY(writeZip(file, {{QStringLiteral("tag_list.txt"), QByteArray(4000, 'a')}}));
        QFile zip(file);
        QVERIFY(zip.resize(zip.size() / 2));
    } else if (exists) {
        QFile plain(file);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write(content);
    }
    storage->setTag(QStringLiteral("A"), QStringLiteral("1"));
    QVERIFY(!storage->load(file));
    QString value;
    QVERIFY(storage->getTag(QStringLiteral("A"), value).isNull());
}

void TestEvaluationTagStorage::tagListLines_data()
{
    QTest::addColumn<QByteArray>("tagList");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const QByteArray longValue(4 * 1024 * 1024, 'x');
    QTest::newRow("CR LF line ends") << QByteArray("A=1\r\nB=2\r\n") << QStringLiteral("B") << QStringLiteral("2");
    QTest::newRow("line without = skipped") << QByteArray("garbage\nB=2\n") << QStringLiteral("B") << QStringLiteral("2");
    QTest::newRow("value holding =") << QByteArray("URL=a=b\n") << QStringLiteral("URL") << QStringLiteral("a=b");
    QTest::newRow("later line wins") << QByteArray("A=1\nA=2\n") << QStringLiteral("A") << QStringLiteral("2");
    QTest::newRow("invalid UTF-8 kept readable") << QByteArray("A=\xff\xfe ok\nB=2\n") << QStringLiteral("B")
                                                 << QStringLiteral("2");
    QTest::newRow("line of megabytes read whole") << QByteArray("A=" + longValue + "\nB=2\n") << QStringLiteral("A")
                                                  << QString::fromLatin1(longValue);
    QTest::newRow("no final line feed") << QByteArray("A=1\nB=2") << QStringLiteral("B") << QStringLiteral("2");
}

void TestEvaluationTagStorage::tagListLines()
{
    QFETCH(QByteArray, tagList);
    QFETCH(QString, name);
    QFETCH(QString, value);
    const QString file = path(QStringLiteral("e.zip"));
    QVERIFY(writeZip(file, {{QStringLiteral("tag_list.txt"), tagList}}));
    QVERIFY(storage->load(file));
    QString read;
    QCOMPARE(storage->getTag(name, read), value);
}

void TestEvaluationTagStorage::photoEntries_data()
{
    QTest::addColumn<QList<ZipEntry>>("entries");
    QTest::addColumn<QList<QColor>>("photos");
    const QByteArray red = jpegOf(Qt::red);
    const QByteArray blue = jpegOf(Qt::blue);
    QTest::newRow("stored order, not numbering")
        << QList<ZipEntry>{{QStringLiteral("photo/photo2.jpg"), blue}, {QStringLiteral("photo/photo1.jpg"), red}}
        << QList<QColor>{Qt::blue, Qt::red};
    QTest::newRow("leading folder and other extension")
        << QList<ZipEntry>{{QStringLiteral("old/photo/photo1.png"), red}, {QStringLiteral("photo/photo7.jpeg"), blue}}
        << QList<QColor>{Qt::red, Qt::blue};
    QTest::newRow("prefix in another letter case ignored")
        << QList<ZipEntry>{{QStringLiteral("Photo/Photo1.jpg"), red}, {QStringLiteral("photo/photo2.jpg"), blue}}
        << QList<QColor>{Qt::blue};
    QTest::newRow("entry that is not an image skipped")
        << QList<ZipEntry>{{QStringLiteral("photo/photo1.jpg"), QByteArray("not a picture")},
                           {QStringLiteral("photo/photo2.jpg"), red}}
        << QList<QColor>{Qt::red};
    QTest::newRow("stored, not deflated")
        << QList<ZipEntry>{{QStringLiteral("photo/photo1.jpg"), red, 0}} << QList<QColor>{Qt::red};
}

void TestEvaluationTagStorage::photoEntries()
{
    QFETCH(QList<ZipEntry>, entries);
    QFETCH(QList<QColor>, photos);
    const QString file = path(QStringLiteral("e.zip"));
    QVERIFY(writeZip(file, entries));
    QVERIFY(storage->load(file));
    QCOMPARE(storage->getPhotoCount(), photos.size());
    QPixmap photo;
    for (int i = 0; i < photos.size(); ++i)
        QVERIFY(nearColour(centreColour(storage->getPhoto(i, photo)), photos.at(i)));
}

void TestEvaluationTagStorage::oversizedPhotoEntryIsSkippedUnread()
{
    // 65 MiB of zeros deflate to a few dozen kilobytes: a classic zip bomb.
    const QByteArray bomb(int(EvaluationTagStorage::MaxPhotoEntrySize + 1024 * 1024), '\0');
    const QString file = path(QStringLiteral("bomb.zip"));
    QVERIFY(writeZip(file, {{QStringLiteral("photo/photo1.jpg"), bomb},
                            {QStringLiteral("photo/photo2.jpg"), jpegOf(Qt::red)},
                            {QStringLiteral("tag_list.txt"), QByteArray("A=1\n")}}));
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    QVERIFY(storage->load(file));
    QCOMPARE(storage->getPhotoCount(), 1);
    QString value;
    QCOMPARE(storage->getTag(QStringLiteral("A"), value), QStringLiteral("1"));
    const QStringList lines = appender.messages();
    QVERIFY(lines.filter(QStringLiteral("skipped, uncompressed size=")).size() == 1);
    QVERIFY(lines.filter(QStringLiteral("loaded size= 67108864")).isEmpty());
}

void TestEvaluationTagStorage::saveIntoMissingFolderFails_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << QStringLiteral("no/such/folder/e.zip");
    QTest::newRow("folder is a file") << QStringLiteral("plain.txt/e.zip");
}

void TestEvaluationTagStorage::saveIntoMissingFolderFails()
{
    QFETCH(QString, target);
    QFile plain(path(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(!storage->save(path(target)));
    QVERIFY(storage->isNewDocument());
}

void TestEvaluationTagStorage::failedSaveKeepsPreviousFile()
{
    const QString file = path(QStringLiteral("e.zip"));
    approach->written = {{QStringLiteral("A"), QStringLiteral("old")}};
    QVERIFY(storage->save(file));
    const QByteArray before = fileBytes(file);

    approach->written = {{QStringLiteral("A"), QStringLiteral("new")}};
    approach->failOnSave = true;
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, storage->save(file));
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("e.zip")});
}

QTEST_MAIN(TestEvaluationTagStorage)
#include "tst_evaluationtagstorage.moc"
