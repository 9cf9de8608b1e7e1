#ifndef ZENTAVO_PHOTOSTORE_H
#define ZENTAVO_PHOTOSTORE_H

#include "zentavo_export.h"

#include "evaluation/storedentry.h"

#include <QByteArray>
#include <QList>

class QImage;

// The photos of one evaluation, in their order; the title photo is photo 0. Each photo
// is kept as the evaluation file holds it, compressed, and written back unchanged, so
// saving never costs a photo quality, nor time to code it, and memory holds each photo
// once. Pictures are inflated and decoded only when asked for. A photo no codec here
// reads keeps its place: its picture is null and its bytes are saved as they are.
class ZENTAVO_EXPORT PhotoStore
{
public:
    // Photos larger than this are kept as the file holds them, unchecked and never
    // inflated: their picture is null.
    static constexpr qint64 MaxEntrySize = 64 * 1024 * 1024;

    int count() const { return int(photos.size()); }
    // A null image for an index out of range.
    QImage image(int index) const;
    // The bytes as they will be saved (JPEG for photos the library encoded); empty for a
    // photo beyond MaxEntrySize or an index out of range.
    QByteArray data(int index) const;
    const QList<StoredEntry>& entries() const { return photos; }
    // Null for an index out of range.
    const StoredEntry* entry(int index) const { return isIndex(index) ? &photos.at(index) : nullptr; }

    // A new picture is encoded as JPEG once, here; false for a null picture.
    bool addImage(const QImage& photo);
    // Keeps the bytes of an encoded picture, such as a camera's JPEG file, as they are;
    // false when they are not a readable picture.
    bool addData(const QByteArray& encoded);
    // A photo as an evaluation file holds it, readable or not.
    void append(const StoredEntry& photo) { photos.append(photo); }
    bool remove(int index);
    // Moves the photo to the front.
    bool makeTitle(int index);
    // 0 once a title photo was chosen, -1 before and after it is gone.
    int titleIndex() const { return title; }
    void clear();

    // Reads only the header, so a photo is not decoded just to be kept.
    static bool isReadablePicture(const QByteArray& encoded);

private:
    bool isIndex(int index) const { return index >= 0 && index < photos.size(); }

    QList<StoredEntry> photos;
    int title = -1;
};

#endif
