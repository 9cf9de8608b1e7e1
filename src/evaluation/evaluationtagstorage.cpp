#include "evaluation/evaluationtagstorage.h"

#include "evaluation/agreecustomerontag.h"
#include "evaluation/agreementontag.h"
#include "evaluation/equipmentontag.h"
#include "evaluation/evaluationjobontag.h"
#include "evaluation/harmonization.h"
#include "evaluation/manualanalyzeontag.h"
#include "evaluation/photogalleryontag.h"
#include "evaluation/vehicleontag.h"
#include "evaluation/vehicleownerontag.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QImage>
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

// Reads at most limit bytes, in pieces, so a lying entry header cannot make
// the reader allocate more than that.
QByteArray readAtMost(QIODevice& device, qint64 limit)
{
    constexpr qint64 piece = 1024 * 1024;
    QByteArray bytes;
    while (bytes.size() < limit) {
        const QByteArray chunk = device.read(qMin(piece, limit - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    return bytes;
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
    if (name == QStringLiteral("ЗП_КОЛИЧЕСТВО_ВЛАДЕЛЬЦЕВ"))
        LOG_TRACE() << "NEW val=" << value;
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
    setTag(name, TagUtils::processReal(value, text));
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
    photo = index >= 0 && index < photos.size() ? photos.at(index) : QPixmap();
    return photo;
}

bool EvaluationTagStorage::addPhoto(const QPixmap& photo)
{
    // A null pixmap cannot be written as JPEG and would make every later save fail.
    if (photo.isNull())
        return false;
    photos.append(photo);
    return true;
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
        LOG_TRACE() << "cannot create" << path << target.errorString();
        return false;
    }
    QuaZip zip(&target);
    zip.setAutoClose(false); // QSaveFile is finished by commit(), never by close()
    if (!zip.open(QuaZip::mdCreate)) {
        LOG_TRACE() << "cannot start the container" << path << zip.getZipError();
        return false;
    }
    bool written = writeContainer(zip);
    zip.close();
    written = written && zip.getZipError() == ZIP_OK;
    if (!written) {
        LOG_TRACE() << "writing failed, previous file kept" << path;
        target.cancelWriting();
        return false;
    }
    return target.commit();
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
        if (!openEntryForWriting(file, photoEntry(i), started) || !photos.at(i).save(&file, "JPG")
            || !closeEntry(file))
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
    saveApproaches(file);
    getHarmonization()->save(file);
}

bool EvaluationTagStorage::doLoad(const QString& path)
{
    LOG_TRACE() << "begin";
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        LOG_TRACE() << "cannot open" << path << zip.getZipError();
        return false;
    }
    clearAllPhotos();
    tags.clear();
    LOG_TRACE() << "photo dir:" << photoPrefix();
    readEntries(zip);
    zip.close();
    loadApproaches();
    LOG_TRACE() << "done";
    return true;
}

void EvaluationTagStorage::readEntries(QuaZip& zip)
{
    QuaZipFile file(&zip);
    int photoIndex = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        LOG_TRACE() << "zip:" << name;
        if (name == tagListEntry())
            loadTags(file);
        else if (name.contains(photoPrefix()))
            loadPhoto(photoIndex++, name, file);
    }
}

bool EvaluationTagStorage::loadTags(QuaZipFile& file)
{
    tags.clear();
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_TRACE() << "cannot open the tag list" << file.getZipError();
        return true;
    }
    readTagLines(file);
    file.close();
    return true;
}

void EvaluationTagStorage::readTagLines(QIODevice& device)
{
    QStringList parts;
    while (!device.atEnd()) {
        const QByteArray raw = device.readLine();
        if (raw.isEmpty())
            break; // a damaged entry: keep what was read
        if (parseLine(QString::fromUtf8(raw), parts).isEmpty()) {
            LOG_TRACE() << "skipped line:" << raw;
            continue;
        }
        QString value = parts.at(2);
        LOG_TRACE() << "tag=" << parts.at(1) << "val=" << value;
        tags.insert(parts.at(1), TagUtils::unescapeTagValue(value));
    }
}

bool EvaluationTagStorage::loadPhoto(int, const QString& entryName, QuaZipFile& file)
{
    LOG_TRACE() << "zip photo:" << entryName;
    QuaZipFileInfo64 info;
    if (file.getZip()->getCurrentFileInfo(&info) && info.uncompressedSize > quint64(MaxPhotoEntrySize)) {
        LOG_TRACE() << "skipped, uncompressed size=" << info.uncompressedSize << "above" << MaxPhotoEntrySize;
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_TRACE() << "cannot open the entry" << file.getZipError();
        return false;
    }
    LOG_TRACE() << "file size=" << file.usize();
    const QByteArray bytes = readAtMost(file, MaxPhotoEntrySize + 1);
    file.close();
    LOG_TRACE() << "loaded size=" << bytes.size();
    if (bytes.size() > MaxPhotoEntrySize) {
        LOG_TRACE() << "skipped, more data than its header declares";
        return false;
    }
    const QImage image = QImage::fromData(bytes);
    if (image.isNull()) {
        LOG_TRACE() << "loading failed";
        return false;
    }
    photos.append(QPixmap::fromImage(image));
    LOG_TRACE() << "added to collection ret=" << true;
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
