#ifndef ZENTAVO_EVALUATIONTAGSTORAGE_H
#define ZENTAVO_EVALUATIONTAGSTORAGE_H

#include "model/evaluationstorage.h"
#include "evaluation/photostore.h"
#include "evaluation/storedentry.h"
#include "evaluation/storedtags.h"
#include "values/tagtypes.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QStringList>

#include <memory>

class QIODevice;
class QuaZipFile;
class AgreeCustomerOnTag;
class AgreementOnTag;
class AppraiserListOnTag;
class EquipmentOnTag;
class EvaluationFileLock;
class EvaluationJobOnTag;
class Harmonization;
class ManualAnalyzeOnTag;
class PhotoGalleryOnTag;
class VehicleOnTag;
class VehicleOwnerOnTag;

// An evaluation kept as a map of tags, with its photo list and its approaches, stored on
// disk as one zip container (EvaluationFile). What the file holds and this version does
// not understand (tags no section reads, photos no codec here reads, entries of other
// kinds) is written back as it was.
class ZENTAVO_EXPORT EvaluationTagStorage : public EvaluationStorage
{
public:
    EvaluationTagStorage();
    ~EvaluationTagStorage() override;

    void clear() override;

    QString& getTag(const QString& name, QString& value) const override;
    void setTag(const QString& name, const QString& value) override;
    QDate& getTag(const QString& name, QDate& value) const override;
    void setTag(const QString& name, const QDate& value) override;
    Money& getTag(const QString& name, Money& value) const override;
    void setTag(const QString& name, const Money& value) override;
    Real& getTag(const QString& name, Real& value) const override;
    void setTag(const QString& name, const Real& value) override;
    int& getTag(const QString& name, int& value) const override;
    void setTag(const QString& name, int value) override;
    bool& getTag(const QString& name, bool& value) const override;
    void setTag(const QString& name, bool value) override;
    using EvaluationStorage::setTag;
    quint64 tagRevision() const override { return tags.revision(); }

    Agreement* getAgreement() override;
    EvaluationJob* getEvaluationJob() override;
    AgreeCustomer* getAgreeCustomer() override;
    // Creates the agreement and the customer first: the owner works over both.
    VehicleOwner* getVehicleOwner() override;
    Vehicle* getVehicle() override;
    Equipment* getEquipment() override;
    // Built from the evaluation's appraiser markers on the first request.
    AppraiserList* getAppraiserList() override;
    // Deletes the list; the next request builds it again from the tags.
    void clearAllAppraisers();
    PhotoGallery* getPhotoGallery() override;
    ManualAnalyze* getManualAnalyze() override;

    bool registerApproach(evaluationapproach_t key, EvaluationApproach& approach) override;
    bool isApproach(evaluationapproach_t key) const override;
    // Throws AutoEvalException for a key that is not registered.
    EvaluationApproach* getApproach(evaluationapproach_t key) const override;
    void clearApproaches();
    void loadApproaches();
    void saveApproaches(QuaZipFile& file);
    Harmonization* getHarmonization() override;

    // The photos, kept as the file holds them (PhotoStore).
    int getPhotoCount() const { return photos.count(); }
    // For the host's GUI thread.
    QPixmap& getPhoto(int index, QPixmap& photo) const;
    // For any thread; a null image for an index out of range.
    QImage& getPhotoImage(int index, QImage& image) const;
    // The bytes as they will be saved (JPEG for photos the library encoded); empty for a
    // photo beyond MaxPhotoEntrySize.
    QByteArray getPhotoData(int index) const { return photos.data(index); }
    // The photo as it will be saved, compressed; null for an index out of range.
    const StoredEntry* getPhotoEntry(int index) const { return photos.entry(index); }
    // A new picture is encoded as JPEG once, when added; false for a null picture.
    bool addPhoto(const QPixmap& photo);
    bool addPhotoImage(const QImage& photo) { return photos.addImage(photo); }
    // Keeps the bytes of an encoded picture, such as a camera's JPEG file, as they
    // are; false when they are not a readable picture.
    bool addPhotoData(const QByteArray& encoded) { return photos.addData(encoded); }
    bool delPhoto(int index) { return photos.remove(index); }
    // Moves the photo to the front: the title photo is always photo 0.
    bool setTitlePhoto(int index) { return photos.makeTitle(index); }
    int getTitlePhotoIndex() const { return photos.titleIndex(); }
    void clearAllPhotos() { photos.clear(); }

    // Refuses a container without a tag list or with an entry that fails its checksum:
    // the storage is then left cleared.
    bool doLoad(const QString& path) override;
    // Writes beside the target first and replaces it only when every byte is on the disk,
    // so a failed save leaves the previous file as it was, and says why in errorString().
    // The file is locked for the save, unless this evaluation holds its lock already.
    bool doSave(const QString& path) override;

    // Reserves the evaluation file for this evaluation's saves until releaseFile(): a
    // host that loads, changes and saves holds it across all three, so another program's
    // save cannot slip in between and be lost. Waits at most waitMs for another writer;
    // false, with the reason in errorString(), when it does not finish.
    bool reserveFile(const QString& path, int waitMs);
    void releaseFile();
    // The names of the tags held now that begin with prefix, in name order: for a host's
    // approach that keeps rows of its own under one prefix.
    QStringList getTagNamesStartingWith(const QString& prefix) const { return tags.namesStartingWith(prefix); }
    // The tags a save would write now, name to value: what the file keeps of them.
    QMap<QString, QString> tagsAsSaved();
    // Why the last save or reservation failed, naming the file; empty after a success.
    QString errorString() const { return lastError; }
    // False when the entry cannot be read or fails its checksum.
    bool loadTags(QuaZipFile& file);
    // Reads tag lines a host hands over (not an evaluation file's) into the tag map,
    // replacing tags of the same name; lines that are not tag lines are skipped. False,
    // after reading at most MaxTagListSize bytes, when the device holds more than that.
    bool readTagLines(QIODevice& device);
    bool loadPhoto(int index, const QString& entryName, QuaZipFile& file);

    // Splits "NAME=value" into {whole line, name, trimmed value}; empty when the
    // line is not a tag line.
    static QStringList& parseLine(const QString& line, QStringList& parts);
    static QString& mkRole(customertype_t type, customerrole_t role, QString& out);

    static constexpr qint64 MaxPhotoEntrySize = PhotoStore::MaxEntrySize;
    // A tag list above this is refused. Real ones are kilobytes; the bound keeps a
    // tag list that inflates to gigabytes from taking the memory (its text is held
    // several times over while it is parsed).
    static constexpr qint64 MaxTagListSize = 16 * 1024 * 1024;

private:
    void deleteSections();
    bool writeFile(const QString& path);
    // The tag list a save writes: every section's lines, then the file's tags nothing
    // understood.
    bool tagListAsSaved(QByteArray& tagList);
    void writeSections(QuaZipFile& file);
    // Positions 1 up to the list's count, each under its own position.
    void saveAppraisers(QIODevice& file);
    bool readPhoto(const QString& entryName, QuaZipFile& file);
    void forgetFileContent();
    bool fail(const QString& path, const QString& reason);

    AgreementOnTag* agreement = nullptr;
    EvaluationJobOnTag* evaluationJob = nullptr;
    PhotoGalleryOnTag* photoGallery = nullptr;
    AgreeCustomerOnTag* agreeCustomer = nullptr;
    VehicleOwnerOnTag* vehicleOwner = nullptr;
    VehicleOnTag* vehicle = nullptr;
    EquipmentOnTag* equipment = nullptr;
    AppraiserListOnTag* appraiserList = nullptr;
    ManualAnalyzeOnTag* manualAnalyze = nullptr;
    StoredTags tags;
    PhotoStore photos;
    // Entries that are neither the tag list nor photos, kept as the file had them.
    QList<StoredEntry> otherEntries;
    QMap<evaluationapproach_t, EvaluationApproach*> approaches;
    Harmonization* harmonization = nullptr;
    std::unique_ptr<EvaluationFileLock> reservation;
    QString lastError;
};

#endif
