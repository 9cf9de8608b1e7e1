#include "evaluation/evaluationtagstorage.h"

#include "evaluation/agreecustomerontag.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/agreementontag.h"
#include "evaluation/appraiserlistontag.h"
#include "evaluation/equipmentontag.h"
#include "evaluation/evaluationjobontag.h"
#include "evaluation/harmonization.h"
#include "evaluation/manualanalyzeontag.h"
#include "evaluation/photogalleryontag.h"
#include "evaluation/storedphoto.h"
#include "evaluation/vehicleontag.h"
#include "evaluation/vehicleownerontag.h"
#include "runtime/autoevalexception.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSaveFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

namespace {

const QString& versionEntry()
{
    static const QString name = QStringLiteral("version.txt");
    return name;
}

const QString& tagListEntry()
{
    static const QString name = QStringLiteral("tag_list.txt");
    return name;
}

// Any entry whose name holds this text is a photo, wherever it stands in the name.
const QString& photoPrefix()
{
    static const QString prefix = QStringLiteral("photo/photo");
    return prefix;
}

QString photoEntry(int index)
{
    return photoPrefix() + QString::number(index + 1) + QStringLiteral(".jpg");
}

bool openEntryForWriting(QuaZipFile& file, const QString& name, const QDateTime& time)
{
    QuaZipNewInfo info(name);
    info.dateTime = time;
    return file.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION);
}

bool closeEntry(QuaZipFile& file)
{
    file.close();
    return file.getZipError() == ZIP_OK;
}

// The photo's deflate stream goes in as it is: no photo is coded again on a save.
bool writePhotoEntry(QuaZipFile& file, const QString& name, const QDateTime& time, const StoredPhoto& photo)
{
    QuaZipNewInfo info(name);
    info.dateTime = time;
    info.uncompressedSize = quint64(photo.picture().size());
    const QByteArray& stream = photo.deflated();
    return file.open(QIODevice::WriteOnly, info, nullptr, photo.crc(), Z_DEFLATED, Z_BEST_SPEED, true)
        && file.write(stream) == stream.size() && closeEntry(file);
}

// The entry's compressed bytes, read again without inflating them; empty when they
// cannot be read, and the photo is then deflated anew.
QByteArray readDeflateStream(QuaZipFile& file)
{
    int method = 0, level = 0;
    if (!file.open(QIODevice::ReadOnly, &method, &level, true))
        return QByteArray();
    const QByteArray stream = BoundedRead::atMost(file, 2 * EvaluationTagStorage::MaxPhotoEntrySize);
    file.close();
    return file.getZipError() == UNZ_OK ? stream : QByteArray();
}

} // namespace

EvaluationTagStorage::EvaluationTagStorage() = default;

EvaluationTagStorage::~EvaluationTagStorage()
{
    // The host may already have destroyed its approaches: forget them unasked.
    approaches.clear();
    clear();
}

void EvaluationTagStorage::clear()
{
    deleteSections();
    tags.clear();
    clearAllPhotos();
    clearApproaches();
    resetDocumentState();
}

namespace {

template <typename Section>
void deleteSection(Section*& section)
{
    delete section;
    section = nullptr;
}

template <typename Section, typename... Arguments>
Section* sectionOnFirstRequest(Section*& section, Arguments... arguments)
{
    if (!section)
        section = new Section(arguments...);
    return section;
}

} // namespace

void EvaluationTagStorage::deleteSections()
{
    // The owner works over the agreement and the customer: it goes before them.
    deleteSection(vehicleOwner);
    deleteSection(agreement);
    deleteSection(evaluationJob);
    deleteSection(photoGallery);
    deleteSection(agreeCustomer);
    deleteSection(vehicle);
    deleteSection(equipment);
    deleteSection(appraiserList);
    deleteSection(manualAnalyze);
    deleteSection(harmonization);
}

QString& EvaluationTagStorage::getTag(const QString& name, QString& value) const
{
    value = tags.value(name);
    return value;
}

void EvaluationTagStorage::setTag(const QString& name, const QString& value)
{
    tags.insert(name, value);
}

QDate& EvaluationTagStorage::getTag(const QString& name, QDate& value) const
{
    QString text;
    bool ok = false;
    return TagUtils::parseDate(getTag(name, text), &ok, value);
}

void EvaluationTagStorage::setTag(const QString& name, const QDate& value)
{
    QString text;
    setTag(name, TagUtils::processDate(value, text));
}

Money& EvaluationTagStorage::getTag(const QString& name, Money& value) const
{
    QString text;
    bool ok = false;
    return TagUtils::parseMoney(getTag(name, text), &ok, value);
}

void EvaluationTagStorage::setTag(const QString& name, const Money& value)
{
    QString text;
    setTag(name, TagUtils::processMoney(value, text));
}

Real& EvaluationTagStorage::getTag(const QString& name, Real& value) const
{
    QString text;
    bool ok = false;
    return TagUtils::parseReal(getTag(name, text), &ok, value);
}

void EvaluationTagStorage::setTag(const QString& name, const Real& value)
{
    QString text;
    setTag(name, value.toString(text, false)); // tag text is the same under every locale
}

int& EvaluationTagStorage::getTag(const QString& name, int& value) const
{
    QString text;
    bool ok = false;
    value = TagUtils::parseInt(getTag(name, text), &ok);
    return value;
}

void EvaluationTagStorage::setTag(const QString& name, int value)
{
    QString text;
    setTag(name, TagUtils::processInt(value, text));
}

bool& EvaluationTagStorage::getTag(const QString& name, bool& value) const
{
    QString text;
    bool ok = false;
    value = TagUtils::parseBool(getTag(name, text), &ok);
    return value;
}

void EvaluationTagStorage::setTag(const QString& name, bool value)
{
    QString text;
    setTag(name, TagUtils::processBool(value, text));
}

Agreement* EvaluationTagStorage::getAgreement()
{
    return sectionOnFirstRequest(agreement, this);
}

EvaluationJob* EvaluationTagStorage::getEvaluationJob()
{
    return sectionOnFirstRequest(evaluationJob, this);
}

AgreeCustomer* EvaluationTagStorage::getAgreeCustomer()
{
    return sectionOnFirstRequest(agreeCustomer, this);
}

VehicleOwner* EvaluationTagStorage::getVehicleOwner()
{
    if (!vehicleOwner)
        vehicleOwner = new VehicleOwnerOnTag(getAgreement(), getAgreeCustomer(), this);
    return vehicleOwner;
}

Vehicle* EvaluationTagStorage::getVehicle()
{
    return sectionOnFirstRequest(vehicle, this);
}

Equipment* EvaluationTagStorage::getEquipment()
{
    return sectionOnFirstRequest(equipment, this);
}

AppraiserList* EvaluationTagStorage::getAppraiserList()
{
    return sectionOnFirstRequest(appraiserList, this);
}

void EvaluationTagStorage::clearAllAppraisers()
{
    deleteSection(appraiserList);
}

PhotoGallery* EvaluationTagStorage::getPhotoGallery()
{
    return sectionOnFirstRequest(photoGallery, this);
}

ManualAnalyze* EvaluationTagStorage::getManualAnalyze()
{
    return sectionOnFirstRequest(manualAnalyze, this);
}

bool EvaluationTagStorage::registerApproach(evaluationapproach_t key, EvaluationApproach& approach)
{
    approaches.insert(key, &approach);
    return true;
}

bool EvaluationTagStorage::isApproach(evaluationapproach_t key) const
{
    return approaches.contains(key);
}

EvaluationApproach* EvaluationTagStorage::getApproach(evaluationapproach_t key) const
{
    if (!approaches.contains(key))
        throw AutoEvalException(QStringLiteral("evaluationtagstorage"), __LINE__);
    return approaches.value(key);
}

Harmonization* EvaluationTagStorage::getHarmonization()
{
    if (!harmonization)
        harmonization = new Harmonization(*this);
    return harmonization;
}

void EvaluationTagStorage::clearApproaches()
{
    for (EvaluationApproach* approach : std::as_const(approaches))
        approach->clear();
}

void EvaluationTagStorage::loadApproaches()
{
    for (EvaluationApproach* approach : std::as_const(approaches))
        approach->load();
}

void EvaluationTagStorage::saveApproaches(QuaZipFile& file)
{
    for (EvaluationApproach* approach : std::as_const(approaches))
        approach->save(file);
}

int EvaluationTagStorage::getPhotoCount() const
{
    return int(photos.size());
}

QPixmap& EvaluationTagStorage::getPhoto(int index, QPixmap& photo) const
{
    QImage image;
    photo = QPixmap::fromImage(getPhotoImage(index, image));
    return photo;
}

QImage& EvaluationTagStorage::getPhotoImage(int index, QImage& image) const
{
    image = index >= 0 && index < photos.size() ? QImage::fromData(photos.at(index).picture()) : QImage();
    return image;
}

QByteArray EvaluationTagStorage::getPhotoData(int index) const
{
    return index >= 0 && index < photos.size() ? photos.at(index).picture() : QByteArray();
}

bool EvaluationTagStorage::addPhoto(const QPixmap& photo)
{
    return addPhotoImage(photo.toImage());
}

// A new picture is encoded once, here; from then on its bytes travel unchanged.
bool EvaluationTagStorage::addPhotoImage(const QImage& photo)
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
    photos.append(StoredPhoto::fromPicture(encoded));
    return true;
}

bool EvaluationTagStorage::addPhotoData(const QByteArray& encoded)
{
    if (!isReadablePicture(encoded)) {
        LOG_WARNING() << "not a readable picture, photo not added; bytes:" << encoded.size();
        return false;
    }
    photos.append(StoredPhoto::fromPicture(encoded));
    return true;
}

// Reads only the header, so a photo is not decoded just to be kept.
bool EvaluationTagStorage::isReadablePicture(const QByteArray& encoded)
{
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.canRead() && reader.size().isValid() && !reader.size().isEmpty();
}

bool EvaluationTagStorage::delPhoto(int index)
{
    if (index < 0 || index >= photos.size())
        return false;
    photos.removeAt(index);
    if (titleIndex >= photos.size())
        titleIndex = -1;
    return true;
}

bool EvaluationTagStorage::setTitlePhoto(int index)
{
    if (index < 0 || index >= photos.size())
        return false;
    photos.move(index, 0);
    titleIndex = 0;
    return true;
}

void EvaluationTagStorage::clearAllPhotos()
{
    photos.clear();
    titleIndex = -1;
}

bool EvaluationTagStorage::doSave(const QString& path)
{
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly)) {
        LOG_ERROR() << "cannot create" << path << target.errorString();
        return false;
    }
    QuaZip zip(&target);
    zip.setAutoClose(false); // QSaveFile is finished by commit(), never by close()
    if (!zip.open(QuaZip::mdCreate)) {
        LOG_ERROR() << "cannot start the container" << path << zip.getZipError();
        return false;
    }
    bool written = writeContainer(zip);
    zip.close();
    written = written && zip.getZipError() == ZIP_OK;
    if (!written) {
        LOG_ERROR() << "writing failed, previous file kept" << path;
        target.cancelWriting();
        return false;
    }
    if (!target.commit()) {
        LOG_ERROR() << "cannot replace" << path << target.errorString() << "previous file kept";
        return false;
    }
    return true;
}

bool EvaluationTagStorage::writeContainer(QuaZip& zip)
{
    const QDateTime started = QDateTime::currentDateTime();
    QuaZipFile file(&zip);
    if (!openEntryForWriting(file, versionEntry(), started))
        return false;
    file.write("VERSION=1.1\nEDITION=AUTO\n");
    if (!closeEntry(file) || !openEntryForWriting(file, tagListEntry(), started))
        return false;
    writeTagList(file);
    if (!closeEntry(file))
        return false;
    for (int i = 0; i < photos.size(); ++i) {
        if (!writePhotoEntry(file, photoEntry(i), started, photos.at(i)))
            return false;
    }
    return true;
}

// Each section writes the tags it knows, in this fixed order: the agreement with its
// bank guarantee, the job, the customer, the owner, the vehicle, the equipment, the
// manual market analysis, the appraisers, then the approaches and the reconciliation.
// A tag that no writer knows stays in memory but is not saved.
void EvaluationTagStorage::writeTagList(QuaZipFile& file)
{
    getAgreement()->save(file);
    getEvaluationJob()->save(file);
    getAgreeCustomer()->save(file);
    getVehicleOwner()->save(file);
    getVehicle()->save(file);
    getEquipment()->save(file);
    getManualAnalyze()->save(file);
    saveAppraisers(file);
    saveApproaches(file);
    getHarmonization()->save(file);
}

void EvaluationTagStorage::saveAppraisers(QIODevice& file)
{
    getAppraiserList()->save(file);
}

// A file that is not an evaluation, or is damaged, is refused and nothing of it is
// kept: a host that saved after a half load would write the loss over the file.
bool EvaluationTagStorage::doLoad(const QString& path)
{
    LOG_TRACE() << "begin";
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        LOG_WARNING() << "cannot open" << path << "as an evaluation, zip error" << zip.getZipError();
        return false;
    }
    clearAllPhotos();
    clearAllAppraisers();
    tags.clear();
    LOG_TRACE() << "photo dir:" << photoPrefix();
    const bool read = readEntries(zip);
    zip.close();
    if (!read) {
        LOG_WARNING() << "refused" << path;
        clearAllPhotos();
        tags.clear();
        return false;
    }
    loadApproaches();
    LOG_TRACE() << "done";
    return true;
}

bool EvaluationTagStorage::readEntries(QuaZip& zip)
{
    QuaZipFile file(&zip);
    bool tagListRead = false;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        LOG_TRACE() << "zip:" << name;
        if (name == tagListEntry()) {
            if (!loadTags(file))
                return false;
            tagListRead = true;
        } else if (name.contains(photoPrefix()) && readPhoto(name, file) == EntryRead::Damaged) {
            return false;
        }
    }
    if (zip.getZipError() != UNZ_OK) {
        LOG_WARNING() << "damaged directory, zip error" << zip.getZipError();
        return false;
    }
    if (!tagListRead)
        LOG_WARNING() << "no" << tagListEntry() << "in the container: not an evaluation";
    return tagListRead;
}

bool EvaluationTagStorage::loadTags(QuaZipFile& file)
{
    tags.clear();
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "cannot open the tag list, zip error" << file.getZipError();
        return false;
    }
    if (!readTagLines(file)) {
        file.close();
        LOG_WARNING() << "the tag list is larger than" << MaxTagListSize << "bytes: not an evaluation";
        return false;
    }
    return closeCheckingChecksum(file);
}

// Closing an entry read to its end checks its checksum.
bool EvaluationTagStorage::closeCheckingChecksum(QuaZipFile& file)
{
    file.close();
    const int error = file.getZipError();
    if (error == UNZ_OK)
        return true;
    LOG_WARNING() << "damaged entry" << file.getZip()->getCurrentFileName() << "zip error" << error;
    return false;
}

bool EvaluationTagStorage::readTagLines(QIODevice& device)
{
    QStringList parts;
    qint64 budget = MaxTagListSize;
    while (!device.atEnd()) {
        const QByteArray raw = BoundedRead::lineAtMost(device, budget);
        if (raw.isEmpty())
            break; // a read error: the caller's checksum test tells a damaged entry
        if (raw.size() > budget)
            return false;
        budget -= raw.size();
        if (parseLine(QString::fromUtf8(raw), parts).isEmpty()) {
            LOG_TRACE() << "skipped line of length" << raw.size();
            continue;
        }
        QString value = parts.at(2);
        LOG_TRACE() << "tag=" << parts.at(1) << "length" << value.size();
        tags.insert(parts.at(1), TagUtils::unescapeTagValue(value));
    }
    return true;
}

bool EvaluationTagStorage::loadPhoto(int, const QString& entryName, QuaZipFile& file)
{
    return readPhoto(entryName, file) == EntryRead::Read;
}

// The photo's bytes are kept as they are in the file; only the header is read to
// tell a picture from anything else.
EvaluationTagStorage::EntryRead EvaluationTagStorage::readPhoto(const QString& entryName, QuaZipFile& file)
{
    LOG_TRACE() << "zip photo:" << entryName;
    QuaZipFileInfo64 info;
    if (!file.getZip()->getCurrentFileInfo(&info)) {
        LOG_WARNING() << "cannot read the entry's header" << entryName;
        return EntryRead::Damaged;
    }
    if (info.uncompressedSize > quint64(MaxPhotoEntrySize)) {
        LOG_WARNING() << "photo skipped, uncompressed size" << info.uncompressedSize << "above" << MaxPhotoEntrySize;
        return EntryRead::Skipped;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "cannot open the entry" << entryName << "zip error" << file.getZipError();
        return EntryRead::Damaged;
    }
    LOG_TRACE() << "file size=" << file.usize();
    const QByteArray bytes = BoundedRead::atMost(file, MaxPhotoEntrySize + 1);
    LOG_TRACE() << "loaded size=" << bytes.size();
    if (bytes.size() > MaxPhotoEntrySize) {
        file.close();
        LOG_WARNING() << "photo skipped, more data than its header declares";
        return EntryRead::Skipped;
    }
    if (!closeCheckingChecksum(file))
        return EntryRead::Damaged;
    if (!isReadablePicture(bytes)) {
        LOG_WARNING() << "loading failed:" << entryName << "is not a readable picture";
        return EntryRead::Skipped;
    }
    const QByteArray stream = info.method == Z_DEFLATED ? readDeflateStream(file) : QByteArray();
    photos.append(stream.isEmpty() ? StoredPhoto::fromPicture(bytes) : StoredPhoto::fromEntry(bytes, stream, info.crc));
    LOG_TRACE() << "added to collection ret=" << true;
    return EntryRead::Read;
}

QStringList& EvaluationTagStorage::parseLine(const QString& line, QStringList& parts)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([^=]+)=\\s*((?:\\S.*\\S)|(?:\\S)|)[\\s\\n\\r]*$"),
        QRegularExpression::UseUnicodePropertiesOption | QRegularExpression::DotMatchesEverythingOption);
    parts.clear();
    const QRegularExpressionMatch match = pattern.match(line);
    if (match.hasMatch())
        parts = match.capturedTexts();
    return parts;
}

QString& EvaluationTagStorage::mkRole(customertype_t type, customerrole_t role, QString& out)
{
    return TagUtils::mkRole(type, role, out);
}
