#ifndef ZENTAVO_STOREDPHOTO_H
#define ZENTAVO_STOREDPHOTO_H

#include <QByteArray>
#include <QtGlobal>

// One photo of an evaluation as the file holds it: the encoded picture and the deflate
// stream of its container entry with the entry's checksum. Both are made once, when the
// photo is added or read, so saving copies bytes and never codes a photo again.
class StoredPhoto
{
public:
    // Deflates the picture once, at the fastest level: JPEG bytes hardly shrink.
    static StoredPhoto fromPicture(const QByteArray& picture);
    // A photo read from a file: its entry's deflate stream is kept as it was.
    static StoredPhoto fromEntry(const QByteArray& picture, const QByteArray& deflated, quint32 crc);

    const QByteArray& picture() const { return encoded; }
    const QByteArray& deflated() const { return stream; }
    quint32 crc() const { return checksum; }

private:
    QByteArray encoded;
    QByteArray stream;
    quint32 checksum = 0;
};

#endif
