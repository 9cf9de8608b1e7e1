#include "catalogsource/bankcatalogsourcerbc.h"

#include "catalog/sqlstorage.h"
#include "runtime/boundedread.h"
#include "runtime/config.h"
#include "runtime/logger.h"

#include <QBuffer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <algorithm>
#include <cstdio>

namespace {

const QString workingBanksEntry = QStringLiteral("bnkseek.txt");
const QString deletedBanksEntry = QStringLiteral("bnkdel.txt");

// Windows-1251 gives every byte but one a letter, so text in another encoding decodes
// into plausible nonsense. Text in UTF-8, the likely other one, is told apart: Cyrillic
// in Windows-1251 is almost never a valid UTF-8 sequence.
bool isWindows1251(const QByteArray& content)
{
    const bool allAscii = std::all_of(content.begin(), content.end(), [](char c) { return (c & 0x80) == 0; });
    if (allAscii)
        return true;
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString asUtf8 = utf8(content);
    return utf8.hasError();
}

// The catalog database's own account of what went wrong, naming the file.
QString databaseFailure(const QSqlError& error)
{
    return SQLStorage::getInstance()->reasonFor(error);
}

} // namespace

BankCatalogSourceRBC::BankCatalogSourceRBC(QObject* parent) : CatalogHttpSource(parent)
{
}

QString BankCatalogSourceRBC::getTitle()
{
    return tr("Banks");
}

QString BankCatalogSourceRBC::getIdent()
{
    return QStringLiteral("bank-RBC");
}

QUrl BankCatalogSourceRBC::getCatalogUrl()
{
    return Config::getInstance()->getBankDirectoryUrl();
}

int BankCatalogSourceRBC::loadingPersent()
{
    return percent;
}

int BankCatalogSourceRBC::getCount()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!SQLStorage::exec(query, QStringLiteral("select count(*) from bank")) || !query.next())
        return 0;
    return query.value(0).toInt();
}

bool BankCatalogSourceRBC::parseResult(const QByteArray& downloaded)
{
    QTemporaryFile archive;
    if (!archive.open() || archive.write(downloaded) < 0 || !archive.flush())
        return reject(tr("cannot keep the downloaded archive: %1").arg(archive.errorString()));
    archive.close();
    return readZip(archive.fileName());
}

bool BankCatalogSourceRBC::readZip(QString path)
{
    LOG_TRACE() << "zipfile:" << path;
    summary = CatalogImportSummary();
    QSqlDatabase& database = SQLStorage::getInstance()->getCatalogDatabase();
    if (!database.transaction())
        return loaded = reject(databaseFailure(database.lastError()));
    loaded = readEntries(path);
    if (loaded && database.commit())
        return true;
    if (loaded)
        reject(databaseFailure(database.lastError()));
    database.rollback();
    summary = CatalogImportSummary();
    return loaded = false;
}

bool BankCatalogSourceRBC::readEntries(const QString& path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        LOG_WARNING() << "Currupted zip" << path << ", error=" << zip.getZipError();
        return reject(tr("the bank directory is not a readable zip archive"));
    }
    bool read = true;
    bool workingBanksListed = false;
    for (bool more = zip.goToFirstFile(); more && read; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        LOG_TRACE() << "zip:" << name;
        QuaZipFile file(&zip);
        if (name.contains(workingBanksEntry)) {
            workingBanksListed = true;
            read = readWorked(file);
        } else if (name.contains(deletedBanksEntry)) {
            readDeleted(file);
        }
    }
    if (read && zip.getZipError() != UNZ_OK)
        read = reject(tr("the bank directory archive is damaged (error %1)").arg(zip.getZipError()));
    // Any zip file opens: one without the list is another file (an evaluation, say),
    // not a directory that happens to list no bank.
    if (read && !workingBanksListed)
        read = reject(tr("the archive holds no list of working banks (%1)").arg(workingBanksEntry));
    zip.close();
    return read;
}

bool BankCatalogSourceRBC::readWorked(QuaZipFile& file)
{
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return reject(tr("cannot read \"%1\" of the bank directory").arg(file.getActualFileName()));
    const QByteArray content = BoundedRead::atMost(file, MAX_LIST_BYTES + 1);
    const bool complete = file.getZipError() == UNZ_OK;
    file.close();
    if (content.size() > MAX_LIST_BYTES)
        return reject(tr("\"%1\" of the bank directory is larger than %2 MiB")
                          .arg(file.getActualFileName())
                          .arg(MAX_LIST_BYTES / (1024 * 1024)));
    if (!complete || file.getZipError() != UNZ_OK)
        return reject(tr("\"%1\" of the bank directory is damaged").arg(file.getActualFileName()));
    if (!isWindows1251(content))
        return reject(tr("\"%1\" of the bank directory is not Windows-1251 text").arg(file.getActualFileName()));
    return insertBanks(content);
}

bool BankCatalogSourceRBC::insertBanks(const QByteArray& content)
{
    QSqlDatabase& database = SQLStorage::getInstance()->getCatalogDatabase();
    QSqlQuery count(database);
    QSqlQuery insert(database);
    if (!count.prepare(QStringLiteral("select count(*) from bank where bic=:bic")))
        return reject(databaseFailure(count.lastError()));
    if (!insert.prepare(QStringLiteral("insert into bank (bic,raccount,name) values (:bic,:rc,:name)")))
        return reject(databaseFailure(insert.lastError()));
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    QByteArray raw(LINE_BUFFER_BYTES, Qt::Uninitialized);
    QStringDecoder windows1251("windows-1251");
    QString bic, rc, name;
    while (!buffer.atEnd()) {
        const qint64 length = buffer.readLine(raw.data(), raw.size());
        if (length < 0)
            break;
        QString line = windows1251(QByteArrayView(raw.constData(), length));
        if (!parseLine(line, bic, rc, name)) {
            std::printf("skip: %s\n", line.toUtf8().constData());
            ++summary.skipped;
            continue;
        }
        count.bindValue(QStringLiteral(":bic"), bic);
        if (!SQLStorage::exec(count) || !count.next())
            return reject(databaseFailure(count.lastError()));
        const int present = count.value(0).toInt();
        count.finish();
        if (present > 1)
            LOG_TRACE() << "bic=" << bic << "cnt=" << present;
        if (present != 0)
            continue;
        insert.bindValue(QStringLiteral(":bic"), bic);
        insert.bindValue(QStringLiteral(":rc"), rc);
        insert.bindValue(QStringLiteral(":name"), name);
        if (!SQLStorage::exec(insert))
            return reject(databaseFailure(insert.lastError()));
        ++summary.added;
    }
    return true;
}

void BankCatalogSourceRBC::readDeleted(QuaZipFile&)
{
    LOG_TRACE() << "deleted banks";
}

bool BankCatalogSourceRBC::parseLine(QString& line, QString& bic, QString& rc, QString& name)
{
    line = line.trimmed();
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != 6 && fields.size() != 7)
        return false;
    name = fields.at(3);
    bic = fields.at(5);
    rc = fields.size() == 7 ? fields.at(6) : QString();
    return true;
}
