#ifndef ZENTAVO_EVALUATIONTAGSTORAGE_H
#define ZENTAVO_EVALUATIONTAGSTORAGE_H

#include "evaluation/evaluationstorage.h"
#include "evaluation/storedphoto.h"
#include "values/tagtypes.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QStringList>

class QIODevice;
class QuaZip;
class QuaZipFile;
class AgreeCustomerOnTag;
class AgreementOnTag;
class AppraiserListOnTag;
class EquipmentOnTag;
class EvaluationJobOnTag;
class Harmonization;
class ManualAnalyzeOnTag;
class PhotoGalleryOnTag;
class VehicleOnTag;
class VehicleOwnerOnTag;

// An evaluation kept as a map of tags, with its photo list and its approaches,
// stored on disk as one zip container: "version.txt", "tag_list.txt" with one
// "NAME=value" line per tag, and the photos as "photo/photoN.jpg".
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

    // Each photo is kept as its encoded bytes and written back unchanged, so saving
    // never costs a photo quality, nor time to code it. Pictures are decoded only when
    // asked for.
    int getPhotoCount() const;
    // For the host's GUI thread.
    QPixmap& getPhoto(int index, QPixmap& photo) const;
    // For any thread; a null image for an index out of range.
    QImage& getPhotoImage(int index, QImage& image) const;
    // The bytes as they will be saved (JPEG for photos the library encoded).
    QByteArray getPhotoData(int index) const;
    // A new picture is encoded as JPEG once, when added; false for a null picture.
    bool addPhoto(const QPixmap& photo);
    bool addPhotoImage(const QImage& photo);
    // Keeps the bytes of an encoded picture, such as a camera's JPEG file, as they
    // are; false when they are not a readable picture.
    bool addPhotoData(const QByteArray& encoded);
    bool delPhoto(int index);
    // Moves the photo to the front: the title photo is always photo 0.
    bool setTitlePhoto(int index);
    int getTitlePhotoIndex() const { return titleIndex; }
    void clearAllPhotos();

    // Refuses a container without a tag list or with an entry that fails its checksum:
    // the storage is then left cleared.
    bool doLoad(const QString& path) override;
    // Writes beside the target first and replaces it only when complete, so a
    // failed save leaves the previous file as it was.
    bool doSave(const QString& path) override;
    // False when the entry cannot be read or fails its checksum.
    bool loadTags(QuaZipFile& file);
    // Reads tag lines from an open device into the tag map, replacing tags of the same
    // name; lines that are not tag lines are skipped. False, after reading at most
    // MaxTagListSize bytes, when the device holds more than that.
    bool readTagLines(QIODevice& device);
    bool loadPhoto(int index, const QString& entryName, QuaZipFile& file);

    // Splits "NAME=value" into {whole line, name, trimmed value}; empty when the
    // line is not a tag line.
    static QStringList& parseLine(const QString& line, QStringList& parts);
    static QString& mkRole(customertype_t type, customerrole_t role, QString& out);

    // Photo entries larger than this are skipped unread.
    static constexpr qint64 MaxPhotoEntrySize = 64 * 1024 * 1024;
    // A tag list above this is refused. Real ones are kilobytes; the bound keeps a
    // tag list that inflates to gigabytes from taking the memory (its text is held
    // several times over while it is parsed).
    static constexpr qint64 MaxTagListSize = 16 * 1024 * 1024;

private:
    void deleteSections();
    bool writeContainer(QuaZip& zip);
    void writeTagList(QuaZipFile& file);
    // Positions 1 up to the list's count, each under its own position.
    void saveAppraisers(QIODevice& file);
    bool readEntries(QuaZip& zip);
    enum class EntryRead { Read, Skipped, Damaged };
    EntryRead readPhoto(const QString& entryName, QuaZipFile& file);
    static bool closeCheckingChecksum(QuaZipFile& file);
    static bool isReadablePicture(const QByteArray& encoded);

    AgreementOnTag* agreement = nullptr;
    EvaluationJobOnTag* evaluationJob = nullptr;
    PhotoGalleryOnTag* photoGallery = nullptr;
    AgreeCustomerOnTag* agreeCustomer = nullptr;
    VehicleOwnerOnTag* vehicleOwner = nullptr;
    VehicleOnTag* vehicle = nullptr;
    EquipmentOnTag* equipment = nullptr;
    AppraiserListOnTag* appraiserList = nullptr;
    ManualAnalyzeOnTag* manualAnalyze = nullptr;
    QMap<QString, QString> tags;
    QList<StoredPhoto> photos;
    int titleIndex = -1;
    QMap<evaluationapproach_t, EvaluationApproach*> approaches;
    Harmonization* harmonization = nullptr;
};

#endif
