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
    int clears = 0, loads = 0;
    bool failOnSave = false;

    bool getTag(const QString&, QString&, tagflag_t) override { return false; }
    void save(QuaZipFile& file) override
    {
        QByteArray line;
        for (auto [name, value] : written)
            file.write(TagUtils::mkTagLine(name, value, line));
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

// Photos are told apart by their width, which no encoding changes.
QImage numbered(int number)
{
    QImage image(10 + number, 10, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

QByteArray jpegOf(int number)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    numbered(number).save(&buffer, "JPG");
    return buffer.data();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray zipped(const QList<ZipEntry>& entries)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("z.zip"));
    return writeZip(file, entries) ? fileBytes(file) : QByteArray("not written");
}

QList<int> photoNumbers(const EvaluationTagStorage& storage)
{
    QList<int> numbers;
    QPixmap photo;
    for (int i = 0; i < storage.getPhotoCount(); ++i)
        numbers << storage.getPhoto(i, photo).width() - 10;
    return numbers;
}

template <typename T>
void checkTyped(EvaluationTagStorage& storage, const T& value, const T& absent, const char* text)
{
    T read = value;
    QCOMPARE(storage.getTag(QStringLiteral("ABSENT"), read), absent);
    storage.setTag(QStringLiteral("T"), value);
    QCOMPARE(storage.getTag(QStringLiteral("T"), read), value);
    QString shown;
    QCOMPARE(storage.getTag(QStringLiteral("T"), shown), QString::fromUtf8(text));
}

} // namespace

class TestEvaluationTagStorage : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        storage = std::make_unique<EvaluationTagStorage>();
        approach = std::make_unique<ScriptedApproach>();
        storage->registerApproach(APPROACH_COST, *approach);
    }

    void tagValues();
    void realsIgnoreTheLocale_data();
    void realsIgnoreTheLocale();
    void parseLine_data();
    void parseLine();
    void approaches();

    void savedContainer();
    void roundTripKeepsValues_data();
    void roundTripKeepsValues();
    void documentStateAndFailedSaves();
    void loadedContainers_data();
    void loadedContainers();
    void whatNothingHereUnderstandsComesBack();

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<EvaluationTagStorage> storage;
    std::unique_ptr<ScriptedApproach> approach;
};

void TestEvaluationTagStorage::tagValues()
{
    // An absent tag reads null, one set empty reads empty; names are case-sensitive.
    QString text = QStringLiteral("stale");
    QVERIFY(storage->getTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), text).isNull());
    storage->setTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), QString(""));
    QVERIFY(!storage->getTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), text).isNull() && text.isEmpty());
    QVERIFY(storage->getTag(QStringLiteral("цель_оценки"), text).isNull());

    checkTyped(*storage, true, false, "Да");
    checkTyped(*storage, 42, -1, "42");
    checkTyped(*storage, QDate(2026, 12, 5), QDate(), "05.12.2026");
    checkTyped(*storage, Real(0.75), Real(), "0.75");
    checkTyped(*storage, Money(1234, 56), Money(), "1234.56");
    // Text written by the host reads typed; the integer "no value" is stored as empty.
    Money money;
    storage->setTag(QStringLiteral("M"), QStringLiteral("99,5"));
    QCOMPARE(storage->getTag(QStringLiteral("M"), money), Money(99, 50));
    storage->setTag(QStringLiteral("N"), -1);
    QVERIFY(storage->getTag(QStringLiteral("N"), text).isEmpty());

    // Tag values never reach the log: they hold passport and taxpayer numbers.
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    storage->setTag(QStringLiteral("ДАТА_ОЦЕНКИ"), QStringLiteral("05.12.2026"));
    storage->setTag(QStringLiteral("ЗП_КОЛИЧЕСТВО_ВЛАДЕЛЬЦЕВ"), QStringLiteral("2"));
    QVERIFY(appender.messages().isEmpty());
}

// Tag text is the same under every locale; older files with the user's decimal comma still read.
void TestEvaluationTagStorage::realsIgnoreTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("German") << QStringLiteral("de_DE");
    QTest::newRow("Russian") << QStringLiteral("ru_RU");
}

void TestEvaluationTagStorage::realsIgnoreTheLocale()
{
    QFETCH(QString, locale);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    approach->written = {{QStringLiteral("ИЗ_ФАЙЛА"), QStringLiteral("1.234")},
                         {QStringLiteral("СТАРЫЙ_ФАЙЛ"), QStringLiteral("0,75")}};
    storage->setTag(QStringLiteral("ДОЛЯ"), Real(0.75));
    QString text;
    const QString stored = storage->getTag(QStringLiteral("ДОЛЯ"), text);
    const bool saved = storage->save(path(QStringLiteral("e.zip")));
    const bool loaded = storage->load(path(QStringLiteral("e.zip")));
    Real fromFile, older;
    storage->getTag(QStringLiteral("ИЗ_ФАЙЛА"), fromFile);
    storage->getTag(QStringLiteral("СТАРЫЙ_ФАЙЛ"), older);
    QLocale::setDefault(before);
    QCOMPARE(stored, QStringLiteral("0.75"));
    QVERIFY(saved && loaded);
    QCOMPARE(fromFile.getVal(), 1.234);
    QCOMPARE(older.getVal(), 0.75);
}

void TestEvaluationTagStorage::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("nameAndValue"); // joined by "|"; empty for a line that is no tag
    QTest::newRow("blanks around the value trimmed") << QStringLiteral("ЦЕЛЬ=  для банка  \n")
                                                     << QStringLiteral("ЦЕЛЬ|для банка");
    QTest::newRow("space before = is part of the name") << QStringLiteral("A =1\n") << QStringLiteral("A |1");
    QTest::newRow("nothing after =") << QStringLiteral("A=\n") << QStringLiteral("A|");
    QTest::newRow("second = in the value") << QStringLiteral("A=b=c\r\n") << QStringLiteral("A|b=c");
    QTest::newRow("no =") << QStringLiteral("just text\n") << QString();
    QTest::newRow("begins with =") << QStringLiteral("=value\n") << QString();
}

void TestEvaluationTagStorage::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, nameAndValue);
    QStringList parts{QStringLiteral("stale")};
    EvaluationTagStorage::parseLine(line, parts);
    QCOMPARE(parts.mid(1).join(QLatin1Char('|')), nameAndValue);
}

void TestEvaluationTagStorage::approaches()
{
    ScriptedApproach second;
    QVERIFY(storage->registerApproach(APPROACH_COST, second)); // the later registration wins
    QCOMPARE(storage->getApproach(APPROACH_COST), &second);
    QVERIFY(!storage->isApproach(APPROACH_COMPARATIVE));
    try {
        storage->getApproach(APPROACH_COMPARATIVE);
        QFAIL("an unregistered approach must throw");
    } catch (const AutoEvalException& e) {
        QCOMPARE(e.getFile(), QStringLiteral("evaluationtagstorage"));
    }

    // Clearing drops tags, photos and sections, and clears the approaches it keeps.
    storage->setTag(QStringLiteral("A"), QStringLiteral("1"));
    storage->addPhoto(QPixmap::fromImage(numbered(0)));
    storage->getPhotoGallery()->setModified(true);
    storage->clear();
    QString value;
    QVERIFY(storage->getTag(QStringLiteral("A"), value).isNull());
    QCOMPARE(storage->getPhotoCount(), 0);
    QVERIFY(!storage->getPhotoGallery()->isModified()); // a new gallery object
    QCOMPARE(storage->getApproach(APPROACH_COST), &second);
    QCOMPARE(second.clears, 1);
    // second goes before the storage, whose destructor must forget it unasked.
}

void TestEvaluationTagStorage::savedContainer()
{
    approach->written = {{QStringLiteral("A"), QStringLiteral("1")}, {QStringLiteral("Б"), QString()}};
    for (int number = 0; number < 3; ++number)
        storage->addPhoto(QPixmap::fromImage(numbered(number)));
    storage->setTitlePhoto(2);
    QVERIFY(storage->save(path(QStringLiteral("e.zip"))));

    const QList<ZipEntry> entries = readZip(path(QStringLiteral("e.zip")));
    QStringList names;
    for (const ZipEntry& entry : entries) {
        names << entry.name;
        QCOMPARE(entry.method, 8);
        QCOMPARE(entry.time, entries.first().time);
    }
    QCOMPARE(names.join(QLatin1Char(' ')),
             QStringLiteral("version.txt tag_list.txt photo/photo1.jpg photo/photo2.jpg photo/photo3.jpg"));
    QCOMPARE(entries.at(0).content, QByteArray("VERSION=1.1\nEDITION=AUTO\n"));
    // The sections write first, then the registered approaches, the reconciliation last.
    QVERIFY(entries.at(1).content.startsWith(QStringLiteral("НОМЕР_ДОГОВОРА=\n").toUtf8()));
    QVERIFY(entries.at(1).content.endsWith(QStringLiteral("\nA=1\nБ=\nДОПУЩЕНИЯ_ПРИ_ОЦЕНКЕ=\n").toUtf8()));
    QVERIFY(entries.at(2).content.startsWith("\xFF\xD8")); // JPEG start-of-image marker
    // The title photo is saved first and so comes back first.
    QVERIFY(storage->load(path(QStringLiteral("e.zip"))));
    QCOMPARE(photoNumbers(*storage), (QList<int>{2, 0, 1}));
}

void TestEvaluationTagStorage::roundTripKeepsValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("line feeds") << QStringLiteral("первая\nвторая\n") << QStringLiteral("первая\nвторая\n");
    QTest::newRow("carriage returns") << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("windows path") << QStringLiteral("C:\\new\\report.docx") << QStringLiteral("C:\\new\\report.docx");
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
    storage->setTag(QStringLiteral("НИЧЕЙ_ТЕГ"), QStringLiteral("x")); // no section or approach writes it
    QVERIFY(storage->save(path(QStringLiteral("e.zip"))));
    QVERIFY(storage->load(path(QStringLiteral("e.zip"))));
    QString read;
    QCOMPARE(storage->getTag(QStringLiteral("ЗНАЧЕНИЕ"), read), loaded);
    QVERIFY(!read.isNull());
    QVERIFY(storage->getTag(QStringLiteral("НИЧЕЙ_ТЕГ"), read).isNull());
    QCOMPARE(approach->loads, 1);
}

void TestEvaluationTagStorage::documentStateAndFailedSaves()
{
    const QString file = path(QStringLiteral("e.zip"));
    QVERIFY(storage->isNewDocument());
    QVERIFY(!storage->save()); // no file name yet
    storage->setModified();
    QVERIFY(storage->save(file));
    QVERIFY(!storage->isModified() && !storage->isNewDocument());
    const QByteArray before = fileBytes(file);
    QVERIFY(!storage->save(path(QStringLiteral("no/such/folder/e.zip"))));
    QVERIFY(!storage->save(path(QStringLiteral("e.zip/e.zip")))); // a file where a folder should be
    QCOMPARE(storage->getFileName(), file);

    // A writer that throws part way leaves the previous file byte for byte, and no temporary file.
    approach->written = {{QStringLiteral("A"), QStringLiteral("1")}};
    approach->failOnSave = true;
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, storage->save(file));
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("e.zip")});

    // A file that does not open leaves a new, empty document.
    QVERIFY(!storage->load(path(QStringLiteral("missing.zip"))));
    QVERIFY(storage->isNewDocument() && storage->getFileName().isNull());
    QVERIFY(storage->load(file));
    QVERIFY(!storage->isNewDocument());
}

void TestEvaluationTagStorage::loadedContainers_data()
{
    QTest::addColumn<QByteArray>("container");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("tag"); // "NAME=value" as read afterwards; "A" is set before loading
    QTest::addColumn<QList<int>>("photos");
    QTest::addColumn<int>("uncheckedBySize"); // photo entries kept unread for the size their header declares
    const auto row = [](const char* title, const QByteArray& container, bool loads, const QByteArray& tag,
                        const QList<int>& photos = {}, int uncheckedBySize = 0) {
        QTest::newRow(title) << container << loads << QString::fromUtf8(tag) << photos << uncheckedBySize;
    };
    const auto tagList = [](const QByteArray& lines) { return zipped({{QStringLiteral("tag_list.txt"), lines}}); };
    // Two photo entries after a tag list.
    const auto pair = [](const char* first, const QByteArray& one, const char* second, const QByteArray& other) {
        return zipped({{QStringLiteral("tag_list.txt"), "B=2\n"},
                       {QString::fromUtf8(first), one},
                       {QString::fromUtf8(second), other}});
    };
    // A stored entry whose content changed after its checksum was written.
    const auto damaged = [](const QList<ZipEntry>& entries, const QByteArray& original, const QByteArray& changed) {
        QByteArray bytes = zipped(entries);
        return bytes.replace(original, changed);
    };
    const QByteArray whole = tagList(QByteArray(4000, 'a'));
    const QByteArray one = jpegOf(1), two = jpegOf(2);
    const QByteArray longValue(4 * 1024 * 1024, 'x');
    // 65 MiB of zeros deflate to a few dozen kilobytes: a classic zip bomb.
    const QByteArray bomb(int(EvaluationTagStorage::MaxPhotoEntrySize + 1024 * 1024), '\0');

    // A file that is not a whole evaluation is refused and leaves an empty one.
    row("empty file", QByteArray(""), false, "A=");
    row("not a zip", QByteArray("VERSION=1.1\nEDITION=AUTO\n"), false, "A=");
    row("truncated zip", whole.left(whole.size() / 2), false, "A=");
    row("a document opened by mistake",
        zipped({{QStringLiteral("[Content_Types].xml"), "<Types/>"}, {QStringLiteral("word/document.xml"), "<w/>"}}),
        false, "A=");
    row("damaged tag list", damaged({{QStringLiteral("tag_list.txt"), "B=value one\n", 0}}, "one", "two"), false, "B=");
    row("damaged photo",
        damaged({{QStringLiteral("tag_list.txt"), "B=2\n"}, {QStringLiteral("photo/photo1.jpg"), one, 0}},
                one.right(8), QByteArray(8, 'x')),
        false, "B=");

    row("CR LF line ends", tagList("A=1\r\nB=2\r\n"), true, "B=2");
    row("line without = skipped", tagList("garbage\nB=2\n"), true, "B=2");
    row("personal data", tagList("ПАСПОРТ_ЗАКАЗЧИКА=4510 123456\n"), true, "ПАСПОРТ_ЗАКАЗЧИКА=4510 123456");
    row("invalid UTF-8 kept readable", tagList("A=\xff\xfe ok\nB=2\n"), true, "B=2");
    row("line of megabytes read whole", tagList("A=" + longValue + "\nB=2\n"), true, "A=" + longValue);
    row("no final line feed", tagList("A=1\nB=2"), true, "B=2");
    // 16 MiB of one letter deflate to a few kilobytes.
    row("tag list at its bound read",
        tagList("B=2\nA=" + QByteArray(int(EvaluationTagStorage::MaxTagListSize) - 7, 'x') + "\n"), true, "B=2");
    row("tag list understating its size",
        withDeclaredSize(tagList("B=2\nA=" + QByteArray(20 * 1024 * 1024, 'x') + "\n"), "tag_list.txt", 100), false,
        "B=");
    row("photo understating its size",
        withDeclaredSize(pair("photo/photo1.jpg", bomb, "photo/photo2.jpg", two), "photo/photo1.jpg", 1000), false,
        "B=");
    row("tag list above its bound refused",
        tagList("B=2\nA=" + QByteArray(int(EvaluationTagStorage::MaxTagListSize) - 5, 'x') + "\n"), false, "B=");

    row("photos in stored order", pair("photo/photo2.jpg", two, "photo/photo1.jpg", one), true, "B=2", {2, 1});
    row("folder, other extension", pair("old/photo/photo1.png", one, "photo/photo7.jpeg", two), true, "B=2", {1, 2});
    row("other letter case ignored", pair("Photo/Photo1.jpg", one, "photo/photo2.jpg", two), true, "B=2", {2});
    // A photo no codec here reads keeps its place, as a null picture (width 0).
    row("not an image kept", pair("photo/photo1.jpg", "not a picture", "photo/photo2.jpg", two), true, "B=2",
        {-10, 2});
    row("oversized photo kept unread", pair("photo/photo1.jpg", bomb, "photo/photo2.jpg", two), true, "B=2", {-10, 2},
        1);
}

void TestEvaluationTagStorage::loadedContainers()
{
    QFETCH(QByteArray, container);
    QFETCH(bool, loads);
    QFETCH(QString, tag);
    QFETCH(QList<int>, photos);
    QFETCH(int, uncheckedBySize);
    QFile file(path(QStringLiteral("e.zip")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(container) == container.size());
    storage->setTag(QStringLiteral("A"), QStringLiteral("1"));
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    QCOMPARE(storage->load(file.fileName()), loads);
    QString read;
    QCOMPARE(storage->getTag(tag.section(QLatin1Char('='), 0, 0), read), tag.section(QLatin1Char('='), 1));
    QCOMPARE(photoNumbers(*storage), photos);
    const QStringList lines = appender.messages();
    const QString value = tag.section(QLatin1Char('='), 1);
    if (value.size() > 2)
        QVERIFY2(lines.filter(value.left(100)).isEmpty(), "a tag value reached the log");
    QCOMPARE(lines.filter(QStringLiteral("kept unchecked")).size(), uncheckedBySize);
    QVERIFY(lines.filter(QStringLiteral("loaded size= 671088")).isEmpty()); // nothing near 64 MiB is read
    if (loads)
        return;
    // The refusal is visible to a host that keeps only warnings, and a save that follows
    // cannot write an empty evaluation over the file.
    QVERIFY(!appender.messages(Logger::Warning).isEmpty());
    QVERIFY(!storage->save());
    QCOMPARE(fileBytes(file.fileName()), container);
}

// Another version's tags, a photo no codec here reads, a scan the office put in the file:
// a save by this version writes them back as the file had them, while what this version
// does understand is written as it is now.
void TestEvaluationTagStorage::whatNothingHereUnderstandsComesBack()
{
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0", 8) + QByteArray(600, '\x11');
    const QByteArray cutJpeg = jpegOf(3).left(jpegOf(3).size() / 2);
    const QByteArray scan = "%PDF-1.4\n" + QByteArray(5000, 'p');
    const QByteArray unknownLines = "ПОЛЕ_БУДУЩЕЙ_ВЕРСИИ= с пробелами вокруг  \n"
                                    "ПУТЬ_СКАНА=C:\\scans\\n1\\tab\n"
                                    "line that is no tag\n";
    const QList<ZipEntry> original = {
        {QStringLiteral("tag_list.txt"), "ЦЕЛЬ_ОЦЕНКИ=прежняя\nЗП_СТОИМОСТЬ=100\n" + unknownLines},
        {QStringLiteral("photo/photo1.jpg"), tiff},
        {QStringLiteral("photo/photo2.jpg"), cutJpeg, 0},
        {QStringLiteral("photo/photo3.jpg"), jpegOf(4)},
        {QStringLiteral("documents/scan.pdf"), scan},
        {QStringLiteral("notes.txt"), "stored, not deflated", 0},
    };
    const QString file = path(QStringLiteral("e.zip"));
    QVERIFY(writeZip(file, original));
    // The approach computes its value anew and writes it without reading the old one.
    approach->written = {{QStringLiteral("ЗП_СТОИМОСТЬ"), QStringLiteral("200")}};

    for (int round = 0; round < 2; ++round) {
        QVERIFY(storage->load(file));
        storage->setTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), QStringLiteral("новая"));
        QVERIFY2(storage->save(file), qPrintable(storage->errorString()));
    }
    const QList<ZipEntry> saved = readZip(file);
    QStringList names;
    for (const ZipEntry& entry : saved)
        names << entry.name;
    QCOMPARE(names, (QStringList{QStringLiteral("version.txt"), QStringLiteral("tag_list.txt"),
                                 QStringLiteral("photo/photo1.jpg"), QStringLiteral("photo/photo2.jpg"),
                                 QStringLiteral("photo/photo3.jpg"), QStringLiteral("documents/scan.pdf"),
                                 QStringLiteral("notes.txt")}));
    const QByteArray tagList = saved.at(1).content;
    QVERIFY2(tagList.contains(unknownLines), tagList.constData());
    QCOMPARE(tagList.count("ЦЕЛЬ_ОЦЕНКИ="), 1);
    QVERIFY(tagList.contains("ЦЕЛЬ_ОЦЕНКИ=новая\n"));
    QCOMPARE(tagList.count("ЗП_СТОИМОСТЬ="), 1);
    QVERIFY(tagList.contains("ЗП_СТОИМОСТЬ=200\n"));
    QCOMPARE(saved.at(2).content, tiff);
    QCOMPARE(saved.at(3).content, cutJpeg);
    QCOMPARE(saved.at(3).method, 0);
    QCOMPARE(saved.at(4).content, jpegOf(4));
    QCOMPARE(saved.at(5).content, scan);
    QCOMPARE(saved.at(6).content, QByteArray("stored, not deflated"));
    QCOMPARE(saved.at(6).method, 0);
    QCOMPARE(storage->getPhotoCount(), 3);
}

QTEST_MAIN(TestEvaluationTagStorage)
#include "tst_evaluationtagstorage.moc"
