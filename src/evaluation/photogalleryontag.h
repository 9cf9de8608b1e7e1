#ifndef ZENTAVO_PHOTOGALLERYONTAG_H
#define ZENTAVO_PHOTOGALLERYONTAG_H

#include "evaluation/photogallery.h"

#include <QByteArray>
#include <QImage>

class EvaluationTagStorage;

// The gallery over the photo list of an evaluation's tag storage.
class ZENTAVO_EXPORT PhotoGalleryOnTag : public PhotoGallery
{
public:
    explicit PhotoGalleryOnTag(EvaluationTagStorage* storage);

    int getPhotoCount() override;
    QPixmap& getTitlePhoto(QPixmap& photo) override;
    bool setTitlePhoto(int index) override;
    QPixmap& getPhoto(int index, QPixmap& photo) override;
    bool delPhoto(int index) override;
    void addPhoto(const QString& path) override;
    bool getPhotoData(int index, QByteArray& data) override;
    const StoredEntry* getPhotoEntry(int index) override;

    // The longest side a photo keeps when it is added from a file.
    static constexpr int MaxSide = 1200;
    static QImage scaledForEvaluation(const QImage& photo);

private:
    static bool isJpegWithinLimits(const QByteArray& bytes);
    bool addScaled(const QByteArray& bytes);

    EvaluationTagStorage* storage;
};

#endif
