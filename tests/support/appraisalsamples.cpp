#include "appraisalsamples.h"

#include "catalog/appraisalbusinessman.h"
#include "catalog/appraisalcompany.h"
#include "catalog/appraisalorg.h"
#include "catalog/appraiser.h"
#include "catalog/sqlstorage.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

void fillAccount(BankAccount& account, const QString& number)
{
    account.setText(BankAccount::ACCOUNT, number);
    account.setText(BankAccount::BIC, QStringLiteral("044525225"));
    account.setText(BankAccount::BANK_NAME, QStringLiteral("ПАО Сбербанк"));
    account.setText(BankAccount::CORRESPONDENT_ACCOUNT, QStringLiteral("30101810400000000225"));
}

void fillPolicy(AppraisalCompany& company)
{
    company.setPolicyNumber(QStringLiteral("433-000123/25"));
    company.setPolicyInsurer(QStringLiteral("СК «Надёжная»"));
    company.setPolicyDate(QDate(2025, 1, 20));
    company.setPolicyLimit(30000000);
    company.setPolicyAdditionalResponsibility(true);
    company.setAddInfo(QStringLiteral("Член СРО с 2010 года"));
}

} // namespace

void fillLegalEntity(AppraisalCompany& company, const QString& name, const QString& inn)
{
    company.setType(CUSTOMER_LEGAL_ENTITY);
    fillPolicy(company);
    company.setLogo(sampleLogo());
    AppraisalOrg* org = company.getAppraisalOrg();
    for (int i = 0; i < Organization::FieldCount; ++i)
        org->setText(Organization::field_t(i), QStringLiteral("Поле %1").arg(i));
    org->setText(Organization::NAME, name);
    org->setText(Organization::INN, inn);
    org->setOgrnDate(QDate(2008, 4, 1));
    org->setSimplifiedTaxation(true);
    fillAccount(*org->getBankAccount(), QStringLiteral("40702810900000000001"));
}

void fillProprietor(AppraisalCompany& company, const QString& lastName, const QString& inn)
{
    company.setType(CUSTOMER_SOLE_PROPRIETOR);
    fillPolicy(company);
    company.setLogo(sampleLogo());
    AppraisalBusinessman* man = company.getAppraisalBusinessman();
    man->setFirstName(QStringLiteral("Олег"));
    man->setMiddleName(QStringLiteral("Петрович"));
    man->setLastName(lastName);
    man->setLocation(QStringLiteral("г. Тула, ул. Мира, д. 3"));
    man->setInn(inn);
    man->setEmail(QStringLiteral("oleg@example.ru"));
    man->setPhone(QStringLiteral("+7 900 000-00-09"));
    man->setOgrn(QStringLiteral("304710000000015"));
    man->setRegistrationDate(QDate(2004, 6, 20));
    man->setAccountant(QStringLiteral("Орлова Мария"));
    man->setAccountantPost(QStringLiteral("Бухгалтер"));
    IdentDocument* document = man->getIdentDocument();
    document->setText(IdentDocument::KIND, QStringLiteral("Паспорт"));
    document->setText(IdentDocument::SERIES, QStringLiteral("70 05"));
    document->setText(IdentDocument::NUMBER, QStringLiteral("654321"));
    document->setText(IdentDocument::ISSUED_BY, QStringLiteral("ОВД г. Тулы"));
    document->setDate(QDate(2010, 9, 1));
    fillAccount(*man->getBankAccount(), QStringLiteral("40802810900000000002"));
}

void fillSpecialist(Appraiser& specialist, const QString& lastName)
{
    specialist.setType(Appraiser::SPECIALIST);
    specialist.setFirstName(QStringLiteral("Анна"));
    specialist.setMiddleName(QStringLiteral("Сергеевна"));
    specialist.setLastName(lastName);
    specialist.setAddInfo(QStringLiteral("Эксперт-техник"));
    specialist.setLocation(QStringLiteral("г. Тверь"));
}

void fillAppraiser(Appraiser& appraiser, const QString& lastName)
{
    fillSpecialist(appraiser, lastName);
    appraiser.setType(Appraiser::APPRAISER);
    appraiser.setCategory(QStringLiteral("Высшая"));
    appraiser.setSRO(QStringLiteral("СРО «Оценщики»"));
    appraiser.setSRONumber(QStringLiteral("001234"));
    appraiser.setSROLocation(QStringLiteral("г. Москва"));
    appraiser.setDiplomNumber(QStringLiteral("123456"));
    appraiser.setDiplomSerial(QStringLiteral("ПП"));
    appraiser.setDiplomOrg(QStringLiteral("МГУ"));
    appraiser.setDiplomDate(QDate(2005, 6, 30));
    appraiser.setInsurNumber(QStringLiteral("77-55/25"));
    appraiser.setInsurOrg(QStringLiteral("СК «Гарант»"));
    appraiser.setInsurDate(QDate(2025, 2, 1));
    appraiser.setInsurLimit(5000000);
    appraiser.setAge(12);
    appraiser.setAdditionalResponcibility(true);
}

QImage sampleLogo()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    image.setPixel(1, 1, qRgb(200, 10, 10));
    return image;
}

bool reloadedWithOneAppraiser(AutoEvaluation& evaluation, const QString& company, const QString& inn,
                              const QString& file)
{
    AgreeAppraiser* entry = evaluation.getAppraiserList()->addAppraiser(1);
    fillAppraiser(*entry->getAppraiser(), QStringLiteral("Яковлева"));
    fillLegalEntity(*entry->getAppraisalCompany(), company, inn);
    return evaluation.save(file) && evaluation.load(file);
}

void refuseEvery(const QString& statement, const QString& table)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(QStringLiteral("create trigger refuse before %1 on %2 begin select raise(abort, 'refused'); end")
                   .arg(statement, table));
}

void refuseNoMore()
{
    QSqlQuery(SQLStorage::getInstance()->getCatalogDatabase()).exec(QStringLiteral("drop trigger if exists refuse"));
}

int rowCount(const char* table)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!query.exec(QStringLiteral("select count(*) from ") + QString::fromLatin1(table)) || !query.next())
        return -1;
    return query.value(0).toInt();
}
