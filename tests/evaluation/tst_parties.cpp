#include "evaluation/agreecustomerontag.h"
#include "evaluation/agreement.h"
#include "evaluation/businessman.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/organization.h"
#include "evaluation/vehicleownerontag.h"
#include "runtime/autoevalexception.h"

#include <QBuffer>
#include <QTest>

#include <functional>

namespace {

// The owner reads only the date of the agreement.
class DatedAgreement : public Agreement
{
public:
    QDate date;

    void save(QIODevice&) override {}
    QString& getNumber(QString& number) override { return number; }
    void setNumber(const QString&) override {}
    QDate& getDate(QDate& out) override
    {
        out = date;
        return out;
    }
    void setDate(const QDate& value) override { date = value; }
    Money& getPrice(Money& price) override { return price; }
    void setPrice(const Money&) override {}
    QString& getPlace(QString& place) override { return place; }
    void setPlace(const QString&) override {}
    BankGuarantee* getBankGuarantee() override { return nullptr; }
    bool getTag(const QString&, QString&, long) override { return false; }
};

// The customer and the owner over one storage, as the evaluation builds them.
struct Parties
{
    EvaluationTagStorage storage;
    DatedAgreement agreement;
    AgreeCustomerOnTag customer{&storage};
    VehicleOwnerOnTag owner{&agreement, &customer, &storage};

    explicit Parties(const QStringList& entries)
    {
        agreement.date = QDate(2024, 3, 5);
        for (const QString& entry : entries) {
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            storage.setTag(entry.left(eq), entry.mid(eq + 1));
        }
    }

    Party& party(const QString& which)
    {
        return which == QLatin1String("owner") ? static_cast<Party&>(owner) : customer;
    }
};

QStringList writtenLines(Party& party)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    party.save(buffer);
    QStringList lines = QString::fromUtf8(buffer.data()).split(QLatin1Char('\n'));
    if (lines.takeLast() != QString())
        lines << QStringLiteral("<no line feed at the end>");
    return lines;
}

QStringList withSuffix(const QString& suffix, const QList<QPair<QString, QString>>& fields)
{
    QStringList lines;
    for (const auto& [word, value] : fields)
        lines << word + suffix + QLatin1Char('=') + value;
    return lines;
}

QStringList bankLines(const QString& suffix)
{
    return withSuffix(suffix, {{QStringLiteral("БАНК"), QStringLiteral("ПАО Сбербанк")},
                               {QStringLiteral("РАСЧЕТНЫЙ_СЧЕТ"), QStringLiteral("40702810900000000001")},
                               {QStringLiteral("КОРРЕСПОНДЕНТСКИЙ_СЧЕТ"), QStringLiteral("30101810400000000225")},
                               {QStringLiteral("БИК"), QStringLiteral("044525225")}});
}

// In the order the organisation writes them.
QStringList organizationLines(const QString& suffix)
{
    return withSuffix(
               suffix,
               {{QStringLiteral("ОРГАНИЗАЦИОННО-ПРАВОВАЯ_ФОРМА"), QStringLiteral("Общество с ограниченной ответственностью")},
                {QStringLiteral("НАИМЕНОВАНИЕ_КОМПАНИИ"), QStringLiteral("Ромашка")},
                {QStringLiteral("АДРЕС_КОМПАНИИ"), QStringLiteral("г. Москва, ул. Лесная, д. 1")},
                {QStringLiteral("ИНН"), QStringLiteral("7701234567")},
                {QStringLiteral("ОГРН"), QStringLiteral("1027700000001")},
                {QStringLiteral("ДАТА_ПРИСВОЕНИЯ_ОГРН"), QStringLiteral("15.03.2002")},
                {QStringLiteral("УСНО"), QStringLiteral("Да")},
                {QStringLiteral("КПП"), QStringLiteral("770101001")},
                {QStringLiteral("ФИО_РУКОВОДИТЕЛЯ"), QStringLiteral("Петров Пётр Петрович")},
                {QStringLiteral("ФИО_РУКОВОДИТЕЛЯ_РП"), QStringLiteral("Петрова Петра Петровича")},
                {QStringLiteral("ДОЛЖНОСТЬ_РУКОВОДИТЕЛЯ"), QStringLiteral("Генеральный директор")},
                {QStringLiteral("ДОЛЖНОСТЬ_РУКОВОДИТЕЛЯ_РП"), QStringLiteral("Генерального директора")},
                {QStringLiteral("ОСНОВАНИЕ_РУКОВОДИТЕЛЯ"), QStringLiteral("Устав")},
                {QStringLiteral("ФИО_БУХГАЛТЕРА"), QStringLiteral("Сидорова Анна Ивановна")},
                {QStringLiteral("ДОЛЖНОСТЬ_БУХГАЛТЕРА"), QStringLiteral("Главный бухгалтер")},
                {QStringLiteral("ТЕЛЕФОН"), QStringLiteral("+7 495 000-00-01")},
                {QStringLiteral("ЭЛ_АДРЕС"), QStringLiteral("office@romashka.ru")}})
        + bankLines(suffix);
}

QStringList personLines(const QString& suffix)
{
    return withSuffix(suffix, {{QStringLiteral("ИМЯ"), QStringLiteral("Иван")},
                               {QStringLiteral("ОТЧЕСТВО"), QStringLiteral("Сергеевич")},
                               {QStringLiteral("ФАМИЛИЯ"), QStringLiteral("Кузнецов")},
                               {QStringLiteral("МЕСТО_РЕГИСТРАЦИИ"), QStringLiteral("г. Тверь, ул. Садовая, д. 7")},
                               {QStringLiteral("ИНН"), QStringLiteral("690100000001")},
                               {QStringLiteral("ЭЛЕКТРОННАЯ_ПОЧТА"), QStringLiteral("ivan@example.ru")},
                               {QStringLiteral("ТЕЛЕФОН"), QStringLiteral("+7 900 000-00-02")},
                               {QStringLiteral("ДОКУМЕНТ"), QStringLiteral("Паспорт")},
                               {QStringLiteral("СЕРИЯ_ДОКУМЕНТА"), QStringLiteral("28 05")},
                               {QStringLiteral("НОМЕР_ДОКУМЕНТА"), QStringLiteral("123456")},
                               {QStringLiteral("ДАТА_ДОКУМЕНТА"), QStringLiteral("01.09.2010")},
                               {QStringLiteral("ДОКУМЕНТ_ВЫДАН"), QStringLiteral("ОВД г. Твери")}});
}

QStringList businessmanLines(const QString& suffix)
{
    return withSuffix(suffix, {{QStringLiteral("ОГРН"), QStringLiteral("304690000000011")},
                               {QStringLiteral("ДАТА_ПРИСВОЕНИЯ"), QStringLiteral("20.06.2004")},
                               {QStringLiteral("УСНО"), QStringLiteral("Нет")},
                               {QStringLiteral("ФИО_БУХГАЛТЕРА"), QStringLiteral("Орлова Мария")},
                               {QStringLiteral("ДОЛЖНОСТЬ_БУХГАЛТЕРА"), QStringLiteral("Бухгалтер")}})
        + personLines(suffix) + bankLines(suffix);
}

QString customerForm(const QString& form)
{
    return QStringLiteral("ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА=") + form;
}

QString ownerForm(const QString& form)
{
    return QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА=") + form;
}

QString ownerIsCustomer(const QString& flag)
{
    return QStringLiteral("СОБСТВЕННИК_ЯВЛЯЕТСЯ_ЗАКАЗЧИКОМ=") + flag;
}

// Details of every kind for both roles, so each test shows which of them are used.
QStringList allDetails()
{
    return organizationLines(QStringLiteral("_ЗАКАЗЧИКА_ЮЛ")) + personLines(QStringLiteral("_ЗАКАЗЧИКА_ФЛ"))
        + businessmanLines(QStringLiteral("_ЗАКАЗЧИКА_ИП"))
        + withSuffix(QStringLiteral("_СОБСТВЕННИКА_ЮЛ"), {{QStringLiteral("НАИМЕНОВАНИЕ_КОМПАНИИ"), QStringLiteral("Лютик")}})
        + personLines(QStringLiteral("_СОБСТВЕННИКА_ФЛ")) + businessmanLines(QStringLiteral("_СОБСТВЕННИКА_ИП"));
}

const QString legalEntity = QStringLiteral("Юридическое лицо");
const QString naturalPerson = QStringLiteral("Физическое лицо");
const QString soleProprietor = QStringLiteral("Индивидуальный предприниматель");

} // namespace

class TestParties : public QObject
{
    Q_OBJECT

private slots:
    void kinds_data();
    void kinds();
    void setTypeStoresLegalForm_data();
    void setTypeStoresLegalForm();
    void writer_data();
    void writer();
    void resolver_data();
    void resolver();
    void detailsOfWrongKindThrow_data();
    void detailsOfWrongKindThrow();
    void ownerWhoIsCustomerHandsOutCustomerDetails();
    void settersUseRoleSuffixedNames();
    void fullName_data();
    void fullName();
};

void TestParties::kinds_data()
{
    QTest::addColumn<QString>("party");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("kind");

    QTest::newRow("customer without legal form") << "customer" << QStringList() << int(CUSTOMER_PERSON);
    QTest::newRow("customer with unknown form")
        << "customer" << QStringList{customerForm(QStringLiteral("ООО"))} << int(CUSTOMER_PERSON);
    QTest::newRow("customer legal entity") << "customer" << QStringList{customerForm(legalEntity)}
                                           << int(CUSTOMER_LEGAL_ENTITY);
    QTest::newRow("customer sole proprietor")
        << "customer" << QStringList{customerForm(soleProprietor)} << int(CUSTOMER_SOLE_PROPRIETOR);
    QTest::newRow("owner by own form") << "owner"
                                       << QStringList{customerForm(legalEntity), ownerForm(soleProprietor),
                                                      ownerIsCustomer(QStringLiteral("Нет"))}
                                       << int(CUSTOMER_SOLE_PROPRIETOR);
    QTest::newRow("owner who is customer follows customer")
        << "owner"
        << QStringList{customerForm(legalEntity), ownerForm(soleProprietor), ownerIsCustomer(QStringLiteral("Да"))}
        << int(CUSTOMER_LEGAL_ENTITY);
    QTest::newRow("unreadable flag is not the customer")
        << "owner"
        << QStringList{customerForm(legalEntity), ownerForm(soleProprietor), ownerIsCustomer(QStringLiteral("может"))}
        << int(CUSTOMER_SOLE_PROPRIETOR);
}

void TestParties::kinds()
{
    QFETCH(QString, party);
    QFETCH(QStringList, entries);
    QFETCH(int, kind);

    Parties parties(entries);
    QCOMPARE(int(parties.party(party).getType()), kind);
}

void TestParties::setTypeStoresLegalForm_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("form");

    QTest::newRow("legal entity") << int(CUSTOMER_LEGAL_ENTITY) << legalEntity;
    QTest::newRow("natural person") << int(CUSTOMER_PERSON) << naturalPerson;
    QTest::newRow("sole proprietor") << int(CUSTOMER_SOLE_PROPRIETOR) << soleProprietor;
    QTest::newRow("any other kind") << 3 << naturalPerson;
}

void TestParties::setTypeStoresLegalForm()
{
    QFETCH(int, kind);
    QFETCH(QString, form);

    Parties parties({});
    parties.customer.setType(static_cast<customertype_t>(kind));
    parties.owner.setType(static_cast<customertype_t>(kind));
    QString stored;
    QCOMPARE(parties.storage.getTag(QStringLiteral("ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА"), stored), form);
    QCOMPARE(parties.storage.getTag(QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА"), stored), form);
}

void TestParties::writer_data()
{
    QTest::addColumn<QString>("party");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected");

    const QStringList details = allDetails();
    const QStringList ownBasis = {QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=Да"),
                                  QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА=Доверенность № 5"),
                                  QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=01.02.2024")};

    QTest::newRow("customer legal entity")
        << "customer" << details + QStringList{customerForm(legalEntity)}
        << QStringList{customerForm(legalEntity)} + organizationLines(QStringLiteral("_ЗАКАЗЧИКА_ЮЛ"));
    QTest::newRow("customer switched to natural person drops organisation")
        << "customer" << details + QStringList{customerForm(naturalPerson)}
        << QStringList{customerForm(naturalPerson)} + personLines(QStringLiteral("_ЗАКАЗЧИКА_ФЛ"));
    QTest::newRow("customer without legal form")
        << "customer" << details << QStringList{customerForm(naturalPerson)} + personLines(QStringLiteral("_ЗАКАЗЧИКА_ФЛ"));
    QTest::newRow("customer sole proprietor")
        << "customer" << details + QStringList{customerForm(soleProprietor)}
        << QStringList{customerForm(soleProprietor)} + businessmanLines(QStringLiteral("_ЗАКАЗЧИКА_ИП"));
    QTest::newRow("owner who is customer writes its own tags only")
        << "owner" << details + ownBasis + QStringList{ownerForm(naturalPerson), ownerIsCustomer(QStringLiteral("Да"))}
        << ownBasis + QStringList{ownerIsCustomer(QStringLiteral("Да"))};
    QTest::newRow("owner of its own")
        << "owner" << details + ownBasis + QStringList{ownerForm(soleProprietor), ownerIsCustomer(QStringLiteral("Нет"))}
        << ownBasis + QStringList{ownerIsCustomer(QStringLiteral("Нет")), ownerForm(soleProprietor)}
               + businessmanLines(QStringLiteral("_СОБСТВЕННИКА_ИП"));
    QTest::newRow("unreadable values")
        << "owner"
        << QStringList{QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=возможно"),
                       QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=31.02.2024"), ownerIsCustomer(QStringLiteral("да"))}
        << QStringList{QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=Нет"),
                       QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА="), QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА="),
                       ownerIsCustomer(QStringLiteral("Да"))};
}

void TestParties::writer()
{
    QFETCH(QString, party);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);

    Parties parties(entries);
    QCOMPARE(writtenLines(parties.party(party)), expected);
}

void TestParties::resolver_data()
{
    QTest::addColumn<QString>("party");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<long>("flags");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    const QStringList details = allDetails();
    const QStringList legal = details + QStringList{customerForm(legalEntity)};
    const QStringList person = details + QStringList{customerForm(naturalPerson)};
    const QStringList proprietor = details + QStringList{customerForm(soleProprietor)};
    const QStringList ownerAsCustomer = legal + QStringList{ownerForm(soleProprietor), ownerIsCustomer(QStringLiteral("Да"))};
    const QStringList ownerOfItsOwn = legal + QStringList{ownerForm(legalEntity), ownerIsCustomer(QStringLiteral("Нет"))};
    const QStringList givenBasis = {QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=Да"),
                                    QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА=Доверенность № 5"),
                                    QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=01.02.2024")};
    const QStringList storedButNotGiven = {QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА=Доверенность № 5"),
                                           QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=01.02.2024")};
    const QString company = QStringLiteral("Ромашка");

    QTest::newRow("organisation name") << "customer" << legal << "НАИМЕНОВАНИЕ_КОМПАНИИ_ЗАКАЗЧИКА_ЮЛ" << 0L << true << company;
    QTest::newRow("organisation name alias") << "customer" << legal << "НАИМЕНОВАНИЕ_ЗАКАЗЧИКА_ЮЛ" << 0L << true << company;
    QTest::newRow("address alias") << "customer" << legal << "МЕСТО_РЕГИСТРАЦИИ_ЗАКАЗЧИКА_ЮЛ" << 0L << true
                                   << "г. Москва, ул. Лесная, д. 1";
    QTest::newRow("head authority alias") << "customer" << legal << "ДОКУМЕНТ_РУКОВОДИТЕЛЯ_ЗАКАЗЧИКА_ЮЛ" << 0L << true
                                          << "Устав";
    QTest::newRow("legal form in full") << "customer" << legal << "ОРГАНИЗАЦИОННО-ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА_ЮЛ" << 0L
                                        << true << "Общество с ограниченной ответственностью";
    QTest::newRow("legal form alias abbreviated")
        << "customer" << legal << "ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА_ЮЛ" << long(TAGFLAG_ABBREVIATION) << true << "ООО";
    QTest::newRow("abbreviation only for the legal form")
        << "customer" << legal << "ДОЛЖНОСТЬ_РУКОВОДИТЕЛЯ_ЗАКАЗЧИКА_ЮЛ" << long(TAGFLAG_ABBREVIATION) << true
        << "Генеральный директор";
    QTest::newRow("registration date alias, year") << "customer" << legal << "ДАТА_ОГРН_ЗАКАЗЧИКА_ЮЛ"
                                                   << long(TAGFLAG_YEAR) << true << "2002";
    QTest::newRow("taxation flag") << "customer" << legal << "УСНО_ЗАКАЗЧИКА_ЮЛ" << 0L << true << "Да";
    QTest::newRow("bank account alias") << "customer" << legal << "КОРР_СЧЕТ_ЗАКАЗЧИКА_ЮЛ" << 0L << true
                                        << "30101810400000000225";
    QTest::newRow("legal entity has no person") << "customer" << legal << "ФАМИЛИЯ_ЗАКАЗЧИКА_ФЛ" << 0L << false << "";
    QTest::newRow("legal form tag is not a report tag")
        << "customer" << legal << "ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА" << 0L << false << "";

    QTest::newRow("person surname") << "customer" << person << "ФАМИЛИЯ_ЗАКАЗЧИКА_ФЛ" << 0L << true << "Кузнецов";
    QTest::newRow("person document issuer") << "customer" << person << "ДОКУМЕНТ_ВЫДАН_ЗАКАЗЧИКА_ФЛ" << 0L << true
                                            << "ОВД г. Твери";
    QTest::newRow("person document date") << "customer" << person << "ДАТА_ДОКУМЕНТА_ЗАКАЗЧИКА_ФЛ" << 0L << true
                                          << "01.09.2010";
    QTest::newRow("person has no organisation") << "customer" << person << "НАИМЕНОВАНИЕ_КОМПАНИИ_ЗАКАЗЧИКА_ЮЛ" << 0L
                                                << false << "";
    QTest::newRow("person has no bank account") << "customer" << person << "БИК_ЗАКАЗЧИКА_ЮЛ" << 0L << false << "";

    QTest::newRow("proprietor registration date")
        << "customer" << proprietor << "ДАТА_ПРИСВОЕНИЯ_ЗАКАЗЧИКА_ИП" << long(TAGFLAG_YEAR) << true << "2004";
    QTest::newRow("proprietor taxation flag") << "customer" << proprietor << "УСНО_ЗАКАЗЧИКА_ИП" << 0L << true << "Нет";
    QTest::newRow("proprietor personal part") << "customer" << proprietor << "ОТЧЕСТВО_ЗАКАЗЧИКА_ИП" << 0L << true
                                              << "Сергеевич";
    QTest::newRow("proprietor document") << "customer" << proprietor << "ДОКУМЕНТ_ЗАКАЗЧИКА_ИП" << 0L << true
                                         << "Паспорт";
    QTest::newRow("proprietor bank alias") << "customer" << proprietor << "РАСЧ_СЧЕТ_ЗАКАЗЧИКА_ИП" << 0L << true
                                           << "40702810900000000001";

    QTest::newRow("owner who is customer answers from customer")
        << "owner" << ownerAsCustomer << "НАИМЕНОВАНИЕ_КОМПАНИИ_СОБСТВЕННИКА_ЮЛ" << 0L << true << company;
    QTest::newRow("owner who is customer, alias and flag")
        << "owner" << ownerAsCustomer << "ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА_ЮЛ" << long(TAGFLAG_ABBREVIATION) << true << "ООО";
    QTest::newRow("owner who is customer ignores own details")
        << "owner" << ownerAsCustomer << "ОГРН_СОБСТВЕННИКА_ИП" << 0L << false << "";
    QTest::newRow("owner does not answer customer names")
        << "owner" << ownerAsCustomer << "НАИМЕНОВАНИЕ_КОМПАНИИ_ЗАКАЗЧИКА_ЮЛ" << 0L << false << "";
    QTest::newRow("owner of its own") << "owner" << ownerOfItsOwn << "НАИМЕНОВАНИЕ_СОБСТВЕННИКА_ЮЛ" << 0L << true
                                      << "Лютик";
    QTest::newRow("owner unreadable flag keeps own details")
        << "owner" << legal + QStringList{ownerForm(naturalPerson), ownerIsCustomer(QStringLiteral("ага"))}
        << "ИМЯ_СОБСТВЕННИКА_ФЛ" << 0L << true << "Иван";

    QTest::newRow("default basis document") << "owner" << storedButNotGiven << "ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА" << 0L
                                            << true << "Договор на оценку";
    QTest::newRow("default basis date is the agreement's")
        << "owner" << storedButNotGiven << "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА" << 0L << true << "05.03.2024";
    QTest::newRow("default basis year") << "owner" << QStringList() << "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА"
                                        << long(TAGFLAG_YEAR) << true << "2024";
    QTest::newRow("given basis document") << "owner" << givenBasis << "ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА" << 0L << true
                                          << "Доверенность № 5";
    QTest::newRow("given basis date") << "owner" << givenBasis << "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА" << 0L << true
                                      << "01.02.2024";
    QTest::newRow("basis tags answered for owner who is customer")
        << "owner" << ownerAsCustomer << "ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА" << 0L << true << "Договор на оценку";

    QTest::newRow("unreadable date") << "customer"
                                     << QStringList{customerForm(legalEntity),
                                                    QStringLiteral("ДАТА_ПРИСВОЕНИЯ_ОГРН_ЗАКАЗЧИКА_ЮЛ=15/03/2002")}
                                     << "ДАТА_ПРИСВОЕНИЯ_ОГРН_ЗАКАЗЧИКА_ЮЛ" << long(TAGFLAG_YEAR) << true << "";
    QTest::newRow("unreadable flag") << "customer"
                                     << QStringList{customerForm(legalEntity), QStringLiteral("УСНО_ЗАКАЗЧИКА_ЮЛ=1")}
                                     << "УСНО_ЗАКАЗЧИКА_ЮЛ" << 0L << true << "Нет";
    QTest::newRow("unreadable given basis date")
        << "owner"
        << QStringList{QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=да"),
                       QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=2024-02-01")}
        << "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА" << 0L << true << "";
    QTest::newRow("unknown name") << "customer" << legal << "ВИН" << 0L << false << "";
}

void TestParties::resolver()
{
    QFETCH(QString, party);
    QFETCH(QStringList, entries);
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(bool, found);
    QFETCH(QString, value);

    Parties parties(entries);
    QString answer;
    QCOMPARE(parties.party(party).getTag(name, answer, flags), found);
    if (found)
        QCOMPARE(answer, value);
}

void TestParties::detailsOfWrongKindThrow_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("accessor");
    QTest::addColumn<bool>("throws");

    const QStringList personOwner = {ownerForm(naturalPerson)};
    const QStringList proprietorOwnerOfLegalCustomer = {customerForm(legalEntity), ownerForm(soleProprietor),
                                                        ownerIsCustomer(QStringLiteral("Да"))};

    QTest::newRow("person owner, organisation") << personOwner << "org" << true;
    QTest::newRow("person owner, proprietor") << personOwner << "businessman" << true;
    QTest::newRow("person owner, person") << personOwner << "people" << false;
    QTest::newRow("owner as customer follows customer's kind") << proprietorOwnerOfLegalCustomer << "org" << false;
    QTest::newRow("owner as customer, not customer's kind") << proprietorOwnerOfLegalCustomer << "businessman" << true;
    QTest::newRow("own details follow own kind") << proprietorOwnerOfLegalCustomer << "ownerBusinessman" << false;
    QTest::newRow("own details of another kind") << proprietorOwnerOfLegalCustomer << "ownerOrg" << true;
}

void TestParties::detailsOfWrongKindThrow()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, accessor);
    QFETCH(bool, throws);

    Parties parties(entries);
    VehicleOwner& owner = parties.owner;
    const QHash<QString, std::function<const void*()>> accessors = {
        {QStringLiteral("org"), [&] { return static_cast<const void*>(owner.getOrg()); }},
        {QStringLiteral("people"), [&] { return static_cast<const void*>(owner.getPeople()); }},
        {QStringLiteral("businessman"), [&] { return static_cast<const void*>(owner.getBusinessman()); }},
        {QStringLiteral("ownerOrg"), [&] { return static_cast<const void*>(owner.getOwnerOrg()); }},
        {QStringLiteral("ownerBusinessman"), [&] { return static_cast<const void*>(owner.getOwnerBusinessman()); }},
    };
    try {
        QVERIFY(accessors.value(accessor)() != nullptr);
        QVERIFY(!throws);
    } catch (const AutoEvalException& e) {
        QVERIFY(throws);
        QCOMPARE(e.getFile(), QStringLiteral("vehicleowner"));
        QVERIFY(e.getLine() > 0);
    }
}

void TestParties::ownerWhoIsCustomerHandsOutCustomerDetails()
{
    Parties parties({customerForm(legalEntity), ownerForm(legalEntity)});
    parties.owner.setCustomer(true);
    QCOMPARE(parties.owner.getOrg(), parties.customer.getOrg());
    parties.owner.setCustomer(false);
    QVERIFY(parties.owner.getOrg() != parties.customer.getOrg());
    QCOMPARE(parties.owner.getOrg(), parties.owner.getOwnerOrg());
}

void TestParties::settersUseRoleSuffixedNames()
{
    Parties parties({customerForm(legalEntity), ownerForm(legalEntity)});
    parties.customer.getOrg()->setText(Organization::NAME, QStringLiteral("Ромашка"));
    parties.owner.getOrg()->setText(Organization::NAME, QStringLiteral("Лютик"));
    parties.customer.getBusinessman()->setRegistrationDate(QDate(2004, 6, 20));

    QString value;
    QCOMPARE(parties.storage.getTag(QStringLiteral("НАИМЕНОВАНИЕ_КОМПАНИИ_ЗАКАЗЧИКА_ЮЛ"), value),
             QStringLiteral("Ромашка"));
    QCOMPARE(parties.storage.getTag(QStringLiteral("НАИМЕНОВАНИЕ_КОМПАНИИ_СОБСТВЕННИКА_ЮЛ"), value),
             QStringLiteral("Лютик"));
    QCOMPARE(parties.storage.getTag(QStringLiteral("ДАТА_ПРИСВОЕНИЯ_ЗАКАЗЧИКА_ИП"), value), QStringLiteral("20.06.2004"));
}

void TestParties::fullName_data()
{
    QTest::addColumn<QString>("patronymic");
    QTest::addColumn<QString>("fio");

    QTest::newRow("full") << "Сергеевич" << "Кузнецов Иван Сергеевич";
    // The appraisal company list joins the parts the same way, so the spaces stay.
    QTest::newRow("without patronymic") << "" << "Кузнецов Иван ";
}

void TestParties::fullName()
{
    QFETCH(QString, patronymic);
    QFETCH(QString, fio);

    Parties parties({});
    Businessman* businessman = parties.customer.getBusinessman();
    businessman->setLastName(QStringLiteral("Кузнецов"));
    businessman->setFirstName(QStringLiteral("Иван"));
    businessman->setMiddleName(patronymic);
    QString result;
    QCOMPARE(businessman->getFIO(result), fio);
}

QTEST_MAIN(TestParties)
#include "tst_parties.moc"
