#include "evaluation/evaluationtagstorage.h"

#include "evaluation/agreecustomerontag.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/agreementontag.h"
#include "evaluation/appraiserlistontag.h"
#include "evaluation/equipmentontag.h"
#include "evaluation/evaluationfile.h"
#include "evaluation/evaluationfilelock.h"
#include "evaluation/evaluationjobontag.h"
#include "evaluation/harmonization.h"
#include "evaluation/manualanalyzeontag.h"
#include "evaluation/photogalleryontag.h"
#include "evaluation/vehicleontag.h"
#include "evaluation/vehicleownerontag.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <quazip/quazipfile.h>

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

// Text that does not read as the type gives its null value.
QDate& EvaluationTagStorage::getTag(const QString& name, QDate& value) const
{
    QString text;
    return TagUtils::parseDate(getTag(name, text), nullptr, value);
}

Money& EvaluationTagStorage::getTag(const QString& name, Money& value) const
{
    QString text;
    return TagUtils::parseMoney(getTag(name, text), nullptr, value);
}

Real& EvaluationTagStorage::getTag(const QString& name, Real& value) const
{
    QString text;
    return TagUtils::parseReal(getTag(name, text), nullptr, value);
}

int& EvaluationTagStorage::getTag(const QString& name, int& value) const
{
    QString text;
    return value = TagUtils::parseInt(getTag(name, text), nullptr);
}

bool& EvaluationTagStorage::getTag(const QString& name, bool& value) const
{
    QString text;
    return value = TagUtils::parseBool(getTag(name, text), nullptr);
}

void EvaluationTagStorage::setTag(const QString& name, const QDate& value)
{
    QString text;
    setTag(name, TagUtils::processDate(value, text));
}

void EvaluationTagStorage::setTag(const QString& name, const Money& value)
{
    QString text;
    setTag(name, TagUtils::processMoney(value, text));
}

void EvaluationTagStorage::setTag(const QString& name, const Real& value)
{
    QString text;
    setTag(name, value.toString(text, false)); // tag text is the same under every locale
}

void EvaluationTagStorage::setTag(const QString& name, int value)
{
    QString text;
    setTag(name, TagUtils::processInt(value, text));
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

QPixmap& EvaluationTagStorage::getPhoto(int index, QPixmap& photo) const
{
    photo = QPixmap::fromImage(photos.image(index));
    return photo;
}

QImage& EvaluationTagStorage::getPhotoImage(int index, QImage& image) const
{
    image = photos.image(index);
    return image;
}

bool EvaluationTagStorage::addPhoto(const QPixmap& photo)
{
    return photos.addImage(photo.toImage());
}

bool EvaluationTagStorage::doSave(const QString& path)
{
    lastError.clear();
    if (reservation && reservation->covers(path))
        return writeFile(path);
    EvaluationFileLock lock(path);
    if (!lock.lock())
        return fail(path, lock.errorString());
    return writeFile(path);
}

bool EvaluationTagStorage::reserveFile(const QString& path, int waitMs)
{
    lastError.clear();
    auto lock = std::make_unique<EvaluationFileLock>(path);
    if (!lock->lock(waitMs))
        return fail(path, lock->errorString());
    reservation = std::move(lock);
    return true;
}

void EvaluationTagStorage::releaseFile()
{
    reservation.reset();
}

bool EvaluationTagStorage::fail(const QString& path, const QString& reason)
{
    lastError = reason;
    // The reason is in the user's language, and was logged where it arose.
    LOG_ERROR() << "evaluation not saved:" << QFileInfo(path).fileName();
    return false;
}

bool EvaluationTagStorage::writeFile(const QString& path)
{
    QByteArray tagList;
    if (!tagListAsSaved(tagList))
        return fail(path, EvaluationFile::notCompleted(path));
    QString failure;
    return EvaluationFile::write(path, tagList, photos.entries(), otherEntries, failure) || fail(path, failure);
}

// Each section writes the tags it knows, in this fixed order: the agreement with its
// bank guarantee, the job, the customer, the owner, the vehicle, the equipment, the
// manual market analysis, the appraisers, then the approaches and the reconciliation.
// Then come the file's tags that nothing here asked for and nothing wrote: they belong
// to a later version or to data this one does not hold. A tag a host set under a name
// nothing writes stays in memory but is not saved.
bool EvaluationTagStorage::tagListAsSaved(QByteArray& tagList)
{
    if (!EvaluationFile::linesWrittenBy([this](QuaZipFile& entry) { writeSections(entry); }, tagList))
        return false;
    QBuffer all(&tagList);
    all.open(QIODevice::ReadWrite | QIODevice::Append);
    return tags.writeUnderstoodByNone(all, StoredTags::namesIn(tagList), &AppraiserList::isEntryTag);
}

QMap<QString, QString> EvaluationTagStorage::tagsAsSaved()
{
    QByteArray lines;
    if (!tagListAsSaved(lines))
        return {};
    QBuffer all(&lines);
    all.open(QIODevice::ReadOnly);
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
    EvaluationFile file(path);
    if (!file.openForReading())
        return false;
    clearAllAppraisers();
    forgetFileContent();
    EvaluationFile::Readers readers;
    readers.tagList = [this](QuaZipFile& entry) { return loadTags(entry); };
    readers.photo = [this](const QString& name, QuaZipFile& entry) { return readPhoto(name, entry); };
    if (!file.readEntries(readers, otherEntries)) {
        LOG_WARNING() << "refused" << QFileInfo(path).fileName();
        forgetFileContent();
        return false;
    }
    loadApproaches();
    LOG_TRACE() << "done";
    return true;
}

void EvaluationTagStorage::forgetFileContent()
{
    clearAllPhotos();
    tags.clear();
    otherEntries.clear();
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
    return EvaluationFile::closeCheckingChecksum(file);
}

bool EvaluationTagStorage::readTagLines(QIODevice& device)
{
    return tags.readLines(device, MaxTagListSize);
}

bool EvaluationTagStorage::loadPhoto(int, const QString& entryName, QuaZipFile& file)
{
    const int before = getPhotoCount();
    return readPhoto(entryName, file) && getPhotoCount() > before
           && PhotoStore::isReadablePicture(photos.entries().last().content(MaxPhotoEntrySize));
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
