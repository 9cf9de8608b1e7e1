// Saves and loads an evaluation of 500 tags and 20 photos of 1200x900, and times the
// JPEG coding of the same photos on its own, so the container's own cost can be told
// apart from the image codec's. The save timed is that of an evaluation just loaded
// and unchanged, the appraiser's everyday save; the load asks for no picture. Times are
// this thread's CPU time, the best of the rounds: waiting for the disk, which a shared
// machine makes vary tenfold, is not the library's cost.
//   bench_evaluation_saveload [rounds]

#include "benchtiming.h"

#include "evaluation/evaluationtagstorage.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <quazip/quazipfile.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int TagCount = 500;
constexpr int PhotoCount = 20;

// Writes the benchmark's tags the way a section would.
class TagWriter : public EvaluationApproach
{
public:
    explicit TagWriter(EvaluationTagStorage& storage) : storage(storage) {}
    bool getTag(const QString&, QString&, tagflag_t) override { return false; }
    void save(QuaZipFile& file) override
    {
        QString value;
        QByteArray line;
        for (int i = 0; i < TagCount; ++i) {
            const QString name = QStringLiteral("ТЕГ_ОЦЕНКИ_%1").arg(i);
            storage.getTag(name, value);
            file.write(TagUtils::mkTagLine(name, value, line));
        }
    }
    void clear() override {}
    void load() override {}
    QString& getName(QString& name) override { return name; }
    QString& getTagKey(QString& key) override { return key; }
    Money& getAnalogFullCost(Money& cost) override { return cost; }
    Money& getCost(Money& cost) override { return cost; }
    int getImageCount() override { return 0; }
    QPixmap& getImage(int, QPixmap& image) override { return image; }

private:
    EvaluationTagStorage& storage;
};

// A photo-like picture: gradients, shapes and noise, so JPEG has real work to do.
QPixmap makePhoto(int seed)
{
    QImage image(1200, 900, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 900);
    sky.setColorAt(0, QColor::fromHsv(random.bounded(360), 80, 230));
    sky.setColorAt(1, QColor::fromHsv(random.bounded(360), 120, 90));
    painter.fillRect(image.rect(), sky);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 150, 200));
        painter.drawEllipse(random.bounded(1200), random.bounded(900), random.bounded(300), random.bounded(200));
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(16)) - 8;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + noise, 0, 255), std::clamp(qGreen(p) + noise, 0, 255),
                           std::clamp(qBlue(p) + noise, 0, 255));
        }
    }
    return QPixmap::fromImage(image);
}

// Starts timing on construction; elapsed() is this thread's CPU time since then.
class CpuTimer
{
public:
    void restart() { start = threadCpuMs(); }
    double elapsed() const { return threadCpuMs() - start; }

private:
    double start = threadCpuMs();
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    EvaluationTagStorage storage;
    TagWriter writer(storage);
    storage.registerApproach(APPROACH_COST, writer);
    for (int i = 0; i < TagCount; ++i)
        storage.setTag(QStringLiteral("ТЕГ_ОЦЕНКИ_%1").arg(i), QStringLiteral("Значение номер %1\nс переводом строки").arg(i));
    QList<QPixmap> photos;
    for (int i = 0; i < PhotoCount; ++i) {
        photos << makePhoto(i);
        storage.addPhoto(photos.last());
    }

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.zip"));
    double save = 1e300, load = 1e300, encode = 1e300, decode = 1e300;
    QList<QByteArray> jpegs;
    if (!storage.save(file) || !storage.load(file))
        return 1;
    for (int round = 0; round < rounds; ++round) {
        CpuTimer timer;
        if (!storage.save(file))
            return 1;
        save = std::min(save, timer.elapsed());

        timer.restart();
        jpegs.clear();
        for (const QPixmap& photo : std::as_const(photos)) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            photo.save(&buffer, "JPG");
            jpegs << bytes;
        }
        encode = std::min(encode, timer.elapsed());

        timer.restart();
        for (const QByteArray& bytes : std::as_const(jpegs))
            QPixmap::fromImage(QImage::fromData(bytes));
        decode = std::min(decode, timer.elapsed());

        timer.restart();
        if (!storage.load(file) || storage.getPhotoCount() != PhotoCount)
            return 1;
        load = std::min(load, timer.elapsed());
    }
    std::printf("evaluation: %d tags, %d photos 1200x900, file %.1f KiB, best of %d rounds\n", TagCount,
                PhotoCount, double(QFileInfo(file).size()) / 1024.0, rounds);
    std::printf("save of the loaded, unchanged evaluation %8.1f ms\n", save);
    std::printf("load, no picture asked for               %8.1f ms\n", load);
    std::printf("for scale: JPEG encoding of the photos %8.1f ms, decoding %8.1f ms\n", encode, decode);
    return 0;
}
