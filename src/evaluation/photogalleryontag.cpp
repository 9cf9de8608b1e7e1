#include "evaluation/photogalleryontag.h"

#include "evaluation/evaluationtagstorage.h"

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

bool PhotoGalleryOnTag::delPhoto(int index)
{
    return storage->delPhoto(index);
}

void PhotoGalleryOnTag::addPhoto(const QString& path)
{
    const QPixmap loaded(path);
    if (loaded.isNull())
        return;
    QPixmap scaled = scaledForEvaluation(loaded);
    storage->addPhoto(scaled);
    setModified(true);
}

QPixmap PhotoGalleryOnTag::scaledForEvaluation(const QPixmap& photo)
{
    if (photo.width() > MaxSide && photo.width() >= photo.height())
        return photo.scaledToWidth(MaxSide, Qt::SmoothTransformation);
    if (photo.height() > MaxSide)
        return photo.scaledToHeight(MaxSide, Qt::SmoothTransformation);
    return photo;
}
