#include "evaluation/evaluationtagstorage.h"

#include "evaluation/agreecustomerontag.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/agreementontag.h"
#include "evaluation/appraiserlistontag.h"
#include "evaluation/equipmentontag.h"
#include "evaluation/evaluationfilelock.h"
#include "evaluation/evaluationjobontag.h"
#include "evaluation/harmonization.h"
#include "evaluation/manualanalyzeontag.h"
#include "evaluation/photogalleryontag.h"
#include "evaluation/vehicleontag.h"
#include "evaluation/vehicleownerontag.h"
#include "runtime/atomicfilewriter.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>

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

bool openEntryForWriting(QuaZipFile& file, const QString& name, const QDateTime& time, int method = Z_DEFLATED)
{
    QuaZipNewInfo info(name);
    info.dateTime = time;
    const int level = method == Z_DEFLATED ? Z_DEFAULT_COMPRESSION : 0;
    return file.open(QIODevice::WriteOnly, info, nullptr, 0, method, level);
}

bool closeEntry(QuaZipFile& file)
{
    file.close();
    return file.getZipError() == ZIP_OK;
}

bool writeWhole(QIODevice& device, const QByteArray& bytes)
{
    return device.write(bytes) == bytes.size();
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
    otherEntries.clear();
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
    image = QImage::fromData(getPhotoData(index));
    return image;
}

QByteArray EvaluationTagStorage::getPhotoData(int index) const
{
    return index >= 0 && index < photos.size() ? photos.at(index).content(MaxPhotoEntrySize) : QByteArray();
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
    photos.append(StoredEntry::fromContent(encoded));
    return true;
}

bool EvaluationTagStorage::addPhotoData(const QByteArray& encoded)
{
    if (!isReadablePicture(encoded)) {
        LOG_WARNING() << "not a readable picture, photo not added; bytes:" << encoded.size();
        return false;
    }
    photos.append(StoredEntry::fromContent(encoded));
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
    lastError.clear();
    if (reservation && reservation->covers(path))
        return writeFile(path);
    EvaluationFileLock lock(path);
    if (!lock.lock())
        return fail(lock.errorString());
    return writeFile(path);
}

bool EvaluationTagStorage::reserveFile(const QString& path, int waitMs)
{
    lastError.clear();
    auto lock = std::make_unique<EvaluationFileLock>(path);
    if (!lock->lock(waitMs))
        return fail(lock->errorString());
    reservation = std::move(lock);
    return true;
}

void EvaluationTagStorage::releaseFile()
{
    reservation.reset();
}

bool EvaluationTagStorage::fail(const QString& reason)
{
    lastError = reason;
    LOG_ERROR() << "evaluation not saved:" << reason.section(QLatin1Char('/'), -1);
    return false;
}

// The user's own link to an evaluation kept elsewhere is followed: the file it points to
// is the evaluation.
bool EvaluationTagStorage::writeFile(const QString& path)
{
    AtomicFileWriter target(path, AtomicFileWriter::Links::Follow);
    if (!target.open())
        return fail(target.errorString());
    QuaZip zip(&target.device());
    zip.setAutoClose(false); // the writer finishes the file, after checking it
    if (!zip.open(QuaZip::mdCreate)) {
        target.cancel();
        return fail(QStringLiteral("%1 cannot be written: the container cannot be started (zip error %2)")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(zip.getZipError()));
    }
    bool written = writeContainer(zip);
    zip.close();
    written = written && zip.getZipError() == ZIP_OK;
    if (!written) {
        // A write the disk refused says why; otherwise the container itself went wrong.
        const QString reason = target.reason();
        target.cancel();
        return fail(QDir::toNativeSeparators(path) + QLatin1Char(' ')
                    + (reason.isEmpty() ? QStringLiteral("cannot be written: the container could not be completed")
                                        : reason));
    }
    if (!target.commit())
        return fail(target.errorString());
    return true;
}

bool EvaluationTagStorage::writeContainer(QuaZip& zip)
{
    const QDateTime started = QDateTime::currentDateTime();
    QuaZipFile file(&zip);
    if (!openEntryForWriting(file, versionEntry(), started) || !writeWhole(file, "VERSION=1.1\nEDITION=AUTO\n")
        || !closeEntry(file))
        return false;
    if (!openEntryForWriting(file, tagListEntry(), started) || !writeTagList(file) || !closeEntry(file))
        return false;
    for (int i = 0; i < photos.size(); ++i) {
        if (!photos.at(i).writeAs(file, photoEntry(i), started))
            return false;
    }
    for (const StoredEntry& entry : std::as_const(otherEntries)) {
        if (!entry.writeAsRead(file))
            return false;
    }
    return true;
}

// Each section writes the tags it knows, in this fixed order: the agreement with its
// bank guarantee, the job, the customer, the owner, the vehicle, the equipment, the
// manual market analysis, the appraisers, then the approaches and the reconciliation.
// Then come the file's tags that nothing here asked for and nothing wrote: they belong
// to a later version or to data this one does not hold. A tag a host set under a name
// nothing writes stays in memory but is not saved.
bool EvaluationTagStorage::writeTagList(QuaZipFile& file)
{
    QByteArray lines;
    return sectionLines(lines) && writeWhole(file, lines)
           && tags.writeUnderstoodByNone(file, StoredTags::namesIn(lines), &AppraiserList::isEntryTag);
}

// The writers write into an entry of a scratch container in memory first: an approach
// writes into a zip entry, and the names written must be known before the tags nothing
// understood are added.
bool EvaluationTagStorage::sectionLines(QByteArray& lines)
{
    QBuffer scratch;
    QuaZip writing(&scratch);
    QuaZipFile entry(&writing);
    if (!writing.open(QuaZip::mdCreate) || !openEntryForWriting(entry, tagListEntry(), QDateTime(), 0))
        return false;
    writeSections(entry);
    const bool written = closeEntry(entry);
    writing.close();
    if (!written || writing.getZipError() != ZIP_OK)
        return false;
    QuaZip reading(&scratch);
    QuaZipFile back(&reading);
    if (!reading.open(QuaZip::mdUnzip) || !reading.goToFirstFile() || !back.open(QIODevice::ReadOnly))
        return false;
    lines = back.readAll();
    back.close();
    return back.getZipError() == UNZ_OK;
}

QMap<QString, QString> EvaluationTagStorage::tagsAsSaved()
{
    QByteArray lines;
    if (!sectionLines(lines))
        return {};
    QBuffer all(&lines);
    all.open(QIODevice::ReadWrite | QIODevice::Append);
    tags.writeUnderstoodByNone(all, StoredTags::namesIn(lines), &AppraiserList::isEntryTag);
    all.seek(0);
    StoredTags saved;
    saved.readLines(all, MaxTagListSize);
    return saved.toMap();
}

void EvaluationTagStorage::writeSections(QuaZipFile& file)
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
        LOG_WARNING() << "cannot open" << QFileInfo(path).fileName() << "as an evaluation, zip error"
                      << zip.getZipError();
        return false;
    }
    clearAllPhotos();
    clearAllAppraisers();
    tags.clear();
    otherEntries.clear();
    LOG_TRACE() << "photo dir:" << photoPrefix();
    const bool read = readEntries(zip);
    zip.close();
    if (!read) {
        LOG_WARNING() << "refused" << QFileInfo(path).fileName();
        clearAllPhotos();
        tags.clear();
        otherEntries.clear();
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
        bool read = true;
        if (name == tagListEntry()) {
            read = tagListRead = loadTags(file);
        } else if (name.contains(photoPrefix())) {
            read = readPhoto(name, file);
        } else if (name != versionEntry()) {
            read = keepEntry(name, file);
        }
        if (!read)
            return false;
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
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "cannot open the tag list, zip error" << file.getZipError();
        return false;
    }
    if (!tags.readFileLines(file, MaxTagListSize)) {
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
    return tags.readLines(device, MaxTagListSize);
}

bool EvaluationTagStorage::loadPhoto(int, const QString& entryName, QuaZipFile& file)
{
    const int before = getPhotoCount();
    return readPhoto(entryName, file) && getPhotoCount() > before
           && isReadablePicture(photos.last().content(MaxPhotoEntrySize));
}

// A photo is kept as the file holds it, whether or not a codec here can read it: photos
// are evidence. Only a damaged entry refuses the file.
bool EvaluationTagStorage::readPhoto(const QString& entryName, QuaZipFile& file)
{
    LOG_TRACE() << "zip photo:" << entryName;
    StoredEntry photo;
    if (StoredEntry::readCurrent(file, MaxPhotoEntrySize, photo) == StoredEntry::Read::Damaged)
        return false;
    photos.append(photo);
    LOG_TRACE() << "added to collection ret=" << true << "size" << photo.size();
    return true;
}

bool EvaluationTagStorage::keepEntry(const QString& entryName, QuaZipFile& file)
{
    LOG_TRACE() << "kept as it is:" << entryName;
    StoredEntry entry;
    if (StoredEntry::readCurrent(file, MaxPhotoEntrySize, entry) == StoredEntry::Read::Damaged)
        return false;
    otherEntries.append(entry);
    return true;
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
