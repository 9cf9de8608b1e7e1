#include "evaluation/photostore.h"

#include "runtime/logger.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

QImage PhotoStore::image(int index) const
{
    return QImage::fromData(data(index));
}

QByteArray PhotoStore::data(int index) const
{
    return isIndex(index) ? photos.at(index).content(MaxEntrySize) : QByteArray();
}

// From here on the picture's bytes travel unchanged.
bool PhotoStore::addImage(const QImage& photo)
{
    // A null picture cannot be written as JPEG and would make every later save fail.
    if (photo.isNull())
        return false;
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!photo.save(&buffer, "JPG")) {
        LOG_WARNING() << "a photo could not be encoded as JPEG" << photo.size();
        return false;
    }
    photos.append(StoredEntry::fromContent(encoded));
    return true;
}

bool PhotoStore::addData(const QByteArray& encoded)
{
    if (!isReadablePicture(encoded)) {
        LOG_WARNING() << "not a readable picture, photo not added; bytes:" << encoded.size();
        return false;
    }
    photos.append(StoredEntry::fromContent(encoded));
    return true;
}

bool PhotoStore::remove(int index)
{
    if (!isIndex(index))
        return false;
    photos.removeAt(index);
    if (title >= photos.size())
        title = -1;
    return true;
}

bool PhotoStore::makeTitle(int index)
{
    if (!isIndex(index))
        return false;
    photos.move(index, 0);
    title = 0;
    return true;
}

void PhotoStore::clear()
{
    photos.clear();
    title = -1;
}

bool PhotoStore::isReadablePicture(const QByteArray& encoded)
{
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.canRead() && reader.size().isValid() && !reader.size().isEmpty();
}
