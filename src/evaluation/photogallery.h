#ifndef ZENTAVO_PHOTOGALLERY_H
#define ZENTAVO_PHOTOGALLERY_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QPixmap>
#include <QString>

class StoredEntry;

// The photographs of the vehicle. The first photo is the title photo.
class ZENTAVO_EXPORT PhotoGallery
{
public:
    PhotoGallery() = default;
    virtual ~PhotoGallery() = default;
    Q_DISABLE_COPY(PhotoGallery)

    virtual int getPhotoCount() = 0;
    virtual QPixmap& getTitlePhoto(QPixmap& photo) = 0;
    virtual bool setTitlePhoto(int index) = 0;
    // A null pixmap for an index outside the list.
    virtual QPixmap& getPhoto(int index, QPixmap& photo) = 0;
    virtual bool delPhoto(int index) = 0;
    // Loads, scales down to at most 1200 pixels on the longer side, and appends.
    // A file that is not a readable image is ignored.
    virtual void addPhoto(const QString& path) = 0;
    // The photo's bytes as the evaluation keeps them, for a document that can take them
    // as they are; false when this gallery keeps pictures only (getPhoto() gives them).
    virtual bool getPhotoData(int /*index*/, QByteArray& /*data*/) { return false; }
    // The photo as the evaluation file holds it, compressed, for a document that can copy
    // it without inflating it; null when this gallery keeps pictures only, or for an index
    // outside the list.
    virtual const StoredEntry* getPhotoEntry(int /*index*/) { return nullptr; }

    bool isModified() const { return modified; }
    void setModified(bool value) { modified = value; }

private:
    bool modified = false;
};

#endif
