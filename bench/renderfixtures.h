#ifndef ZENTAVO_BENCH_RENDERFIXTURES_H
#define ZENTAVO_BENCH_RENDERFIXTURES_H

// What the render benches share: the host's approach that answers the template's own
// tags, an evaluation of camera-sized photos, the render call, and the floor: the copy
// any render must make of a package.

#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "model/evaluationapproach.h"
#include "runtime/atomicfilewriter.h"
#include "runtime/rawdeflate.h"
#include "runtime/xmlwellformedness.h"
#include "values/money.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

// Answers the template's own tags the way a host's approach answers its tags: after
// every section of the evaluation was asked.
class BenchApproach : public EvaluationApproach
{
public:
    QHash<QString, QString> values;
    bool getTag(const QString& name, QString& value, tagflag_t) override
    {
        const auto found = values.constFind(name);
        if (found == values.constEnd())
            return false;
        value = *found;
        return true;
    }
    void save(QuaZipFile&) override {}
    void clear() override {}
    void load() override {}
    QString& getName(QString& name) override { return name = QStringLiteral("bench"); }
    QString& getTagKey(QString& key) override { return key = QStringLiteral("Б"); }
    Money& getAnalogFullCost(Money& cost) override { return cost; }
    Money& getCost(Money& cost) override { return cost; }
    int getImageCount() override { return 0; }
    QPixmap& getImage(int, QPixmap& image) override { return image; }
};

// A photo as a camera gives it: 1200x900 JPEG of some detail, different for each seed.
inline QByteArray cameraPhoto(int seed)
{
    QImage image(1200, 900, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1200, 900);
    gradient.setColorAt(0, QColor::fromHsv(seed * 17 % 360, 200, 230));
    gradient.setColorAt(1, QColor::fromHsv(seed * 53 % 360, 120, 60));
    painter.fillRect(image.rect(), gradient);
    QRandomGenerator random(seed);
    for (int i = 0; i < 400; ++i) {
        painter.setPen(QColor::fromRgb(random.generate()));
        painter.drawLine(random.bounded(1200), random.bounded(900), random.bounded(1200), random.bounded(900));
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setQuality(85);
    writer.write(image);
    return bytes;
}

// Copies an entry as its compressed bytes, neither inflated nor deflated.
inline void copyCompressed(QuaZipFile& reader, QuaZipFile& writer)
{
    QuaZipFileInfo64 info;
    reader.getFileInfo(&info);
    int method = 0;
    int level = 0;
    reader.open(QIODevice::ReadOnly, &method, &level, true);
    QuaZipNewInfo entry(info.name);
    entry.uncompressedSize = info.uncompressedSize;
    writer.open(QIODevice::WriteOnly, entry, nullptr, info.crc, method, level, true);
    writer.write(reader.readAll());
    writer.close();
}

// The names of the template's own tags.
inline QString tagName(int i)
{
    return QStringLiteral("ПОКАЗАТЕЛЬ_%1").arg(i);
}

// Keeps the catalog database and settings of the run away from the user's own.
inline void isolate(const QTemporaryDir& home)
{
    for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
}

// Values for the template's tags and for the items of its repeated row.
inline void answerTemplateTags(BenchApproach& approach, int distinctTags, int tableRows)
{
    for (int i = 0; i < distinctTags; ++i)
        approach.values.insert(tagName(i), QStringLiteral("%1 руб.").arg(1000 + i * 37));
    for (int i = 0; i < tableRows; ++i) {
        approach.values.insert(QStringLiteral("ДЕТАЛЬ_%1").arg(i), QStringLiteral("Деталь кузова № %1").arg(i + 1));
        approach.values.insert(QStringLiteral("ЦЕНА_%1").arg(i), QStringLiteral("%1").arg(500 + i));
    }
}

// An evaluation of camera photos whose comparative approach answers the template's tags.
struct BenchEvaluation
{
    BenchEvaluation(int distinctTags, int tableRows, int photos)
    {
        answerTemplateTags(approach, distinctTags, tableRows);
        evaluation.registerApproach(APPROACH_COMPARATIVE, approach);
        for (int i = 0; i < photos; ++i)
            storage.addPhotoData(cameraPhoto(i));
    }

    EvaluationTagStorage storage;
    AutoEvaluation evaluation{storage};
    BenchApproach approach;
};

inline void deflateWithLibdeflate(QuaZipFile& writer, const QString& name, const QByteArray& bytes)
{
    QuaZipNewInfo entry(name);
    entry.uncompressedSize = quint64(bytes.size());
    writer.open(QIODevice::WriteOnly, entry, nullptr, RawDeflate::checksum(bytes), Z_DEFLATED, RawDeflate::Text, true);
    writer.write(RawDeflate::compress(bytes, RawDeflate::Text));
    writer.close();
}

// How the floor copies. The plain floor is the cheapest job on the archive; the safe one
// adds what no render may skip while it keeps its word: the template read whole before
// it is used (as a host hands it over), every text part checked to be well-formed XML
// before it is written, and the document flushed to disk and put in place atomically.
struct FloorCopy
{
    bool libdeflate = false;
    bool safe = false;
};

// The floor: the text parts the render goes through inflated and deflated again, every
// other entry copied as its compressed bytes, nothing else.
inline void plainCopy(const QSet<QString>& textParts, const QString& from, const QString& to, FloorCopy how = {})
{
    QFile file(from);
    QBuffer whole;
    if (how.safe) {
        file.open(QIODevice::ReadOnly);
        whole.setData(file.readAll());
    }
    AtomicFileWriter writer(to);
    if (how.safe)
        writer.open();
    QuaZip in(how.safe ? static_cast<QIODevice*>(&whole) : nullptr);
    QuaZip out(how.safe ? &writer.device() : nullptr);
    if (!how.safe) {
        in.setZipName(from);
        out.setZipName(to);
    }
    out.setAutoClose(false);
    in.open(QuaZip::mdUnzip);
    out.open(QuaZip::mdCreate);
    for (bool more = in.goToFirstFile(); more; more = in.goToNextFile()) {
        QuaZipFile reader(&in);
        QuaZipFile writer(&out);
        if (!textParts.contains(in.getCurrentFileName())) {
            copyCompressed(reader, writer);
            continue;
        }
        reader.open(QIODevice::ReadOnly);
        const QByteArray bytes = reader.readAll();
        if (how.safe && !XmlWellFormedness::check(bytes))
            return;
        if (how.libdeflate) {
            deflateWithLibdeflate(writer, reader.getActualFileName(), bytes);
            continue;
        }
        writer.open(QIODevice::WriteOnly, QuaZipNewInfo(reader.getActualFileName()));
        writer.write(bytes);
        writer.close();
    }
    out.close();
    if (how.safe)
        writer.commit();
}

// A render as a host makes it: the template read whole from disk.
template <typename Generator>
bool render(Generator& generator, const QString& from, QString to)
{
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QBuffer buffer;
    buffer.setData(file.readAll());
    return generator.make_from_buffer(buffer, to);
}

// One entry of a written document, as text.
inline QString entryText(const QString& path, const QString& entry)
{
    QuaZip zip(path);
    zip.open(QuaZip::mdUnzip);
    zip.setCurrentFile(entry);
    QuaZipFile file(&zip);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

#endif
