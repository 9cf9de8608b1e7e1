#include "evaluation/photogalleryontag.h"

#include "evaluation/evaluationtagstorage.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

PhotoGalleryOnTag::PhotoGalleryOnTag(EvaluationTagStorage* storage) : storage(storage)
{
}

int PhotoGalleryOnTag::getPhotoCount()
{
    return storage->getPhotoCount();
}

QPixmap& PhotoGalleryOnTag::getTitlePhoto(QPixmap& photo)
{
    return storage->getPhoto(0, photo);
}

bool PhotoGalleryOnTag::setTitlePhoto(int index)
{
    const bool changed = storage->setTitlePhoto(index);
    if (changed)
        setModified(true);
    return changed;
}

QPixmap& PhotoGalleryOnTag::getPhoto(int index, QPixmap& photo)
{
    return storage->getPhoto(index, photo);
}

bool PhotoGalleryOnTag::getPhotoData(int index, QByteArray& data)
{
    data = storage->getPhotoData(index);
    return true;
}

const StoredEntry* PhotoGalleryOnTag::getPhotoEntry(int index)
{
    return storage->getPhotoEntry(index);
}

bool PhotoGalleryOnTag::delPhoto(int index)
{
    return storage->delPhoto(index);
}

// A camera's JPEG that needs no scaling is kept byte for byte: the photograph is
// evidence, and re-encoding it would lose detail for nothing.
void PhotoGalleryOnTag::addPhoto(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // The storage would not keep a larger photo: it is refused unread.
    const QByteArray bytes = BoundedRead::atMost(file, EvaluationTagStorage::MaxPhotoEntrySize + 1);
    if (bytes.size() > EvaluationTagStorage::MaxPhotoEntrySize) {
        LOG_WARNING() << "photo not added, larger than" << EvaluationTagStorage::MaxPhotoEntrySize << "bytes";
        return;
    }
    if (isJpegWithinLimits(bytes) ? storage->addPhotoData(bytes) : addScaled(bytes))
        setModified(true);
}

bool PhotoGalleryOnTag::isJpegWithinLimits(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return reader.format() == "jpeg" && size.isValid() && size.width() <= MaxSide && size.height() <= MaxSide;
}

bool PhotoGalleryOnTag::addScaled(const QByteArray& bytes)
{
    const QImage loaded = QImage::fromData(bytes);
    return !loaded.isNull() && storage->addPhotoImage(scaledForEvaluation(loaded));
}

QImage PhotoGalleryOnTag::scaledForEvaluation(const QImage& photo)
{
    if (photo.width() > MaxSide && photo.width() >= photo.height())
        return photo.scaledToWidth(MaxSide, Qt::SmoothTransformation);
    if (photo.height() > MaxSide)
        return photo.scaledToHeight(MaxSide, Qt::SmoothTransformation);
    return photo;
}
