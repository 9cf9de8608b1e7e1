#include "evaluation/agreecustomer.h"
#include "model/businessman.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/vehicleowner.h"
#include "runtime/autoevalexception.h"

#include <QBuffer>
#include <QTest>

namespace {

const QString legalCustomer = QStringLiteral("ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА=Юридическое лицо");
const QString proprietorCustomer = QStringLiteral("ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА=Индивидуальный предприниматель");
const QString legalOwner = QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА=Юридическое лицо");
const QString proprietorOwner = QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА=Индивидуальный предприниматель");
const QString ownerIsCustomer = QStringLiteral("СОБСТВЕННИК_ЯВЛЯЕТСЯ_ЗАКАЗЧИКОМ=Да");
const QString notHandled = QStringLiteral("<not handled>");

// "NAME=value" lines separated by "|", each name given the role suffix.
QStringList details(const QString& suffix, const char* lines)
{
    QStringList result;
    for (const QString& line : QString::fromUtf8(lines).split(QLatin1Char('|')))
        result << line.section(QLatin1Char('='), 0, 0) + suffix + QLatin1Char('=') + line.section(QLatin1Char('='), 1);
    return result;
}

// In the order a person writes them.
QStringList personDetails(const QString& suffix)
{
    return details(suffix, "ИМЯ=Иван|ОТЧЕСТВО=Сергеевич|ФАМИЛИЯ=Кузнецов|МЕСТО_РЕГИСТРАЦИИ=г. Тверь, ул. Садовая, д. 7|"
                           "ИНН=690100000001|ЭЛЕКТРОННАЯ_ПОЧТА=ivan@example.ru|ТЕЛЕФОН=+7 900 000-00-02|"
                           "ДОКУМЕНТ=Паспорт|СЕРИЯ_ДОКУМЕНТА=28 05|НОМЕР_ДОКУМЕНТА=123456|ДАТА_ДОКУМЕНТА=01.09.2010|"
                           "ДОКУМЕНТ_ВЫДАН=ОВД г. Твери");
}

// In the order a sole proprietor writes them: own details, the person, the bank account.
QStringList businessmanDetails(const QString& suffix)
{
    return details(suffix, "ОГРН=304690000000011|ДАТА_ПРИСВОЕНИЯ=20.06.2004|УСНО=Нет|ФИО_БУХГАЛТЕРА=Орлова Мария|"
                           "ДОЛЖНОСТЬ_БУХГАЛТЕРА=Бухгалтер")
        + personDetails(suffix)
        + details(suffix, "БАНК=ПАО Сбербанк|РАСЧЕТНЫЙ_СЧЕТ=40702810900000000001|"
                          "КОРРЕСПОНДЕНТСКИЙ_СЧЕТ=30101810400000000225|БИК=044525225");
}

// Details of several kinds for both roles, so each case shows which of them are used.
QStringList allDetails()
{
    return details(QStringLiteral("_ЗАКАЗЧИКА_ЮЛ"),
                   "ОРГАНИЗАЦИОННО-ПРАВОВАЯ_ФОРМА=Общество с ограниченной ответственностью|"
                   "НАИМЕНОВАНИЕ_КОМПАНИИ=Ромашка|ДАТА_ПРИСВОЕНИЯ_ОГРН=15.03.2002|ФИО_РУКОВОДИТЕЛЯ=Петров Пётр")
        + personDetails(QStringLiteral("_ЗАКАЗЧИКА_ФЛ")) + businessmanDetails(QStringLiteral("_ЗАКАЗЧИКА_ИП"))
        + details(QStringLiteral("_СОБСТВЕННИКА_ЮЛ"), "НАИМЕНОВАНИЕ_КОМПАНИИ=Лютик")
        + businessmanDetails(QStringLiteral("_СОБСТВЕННИКА_ИП"));
}

void store(EvaluationStorage& evaluation, const QStringList& entries)
{
    for (const QString& entry : entries)
        evaluation.setTag(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
}

Party& partyOf(EvaluationStorage& evaluation, const QString& which)
{
    return which == QLatin1String("owner") ? static_cast<Party&>(*evaluation.getVehicleOwner())
                                           : *evaluation.getAgreeCustomer();
}

} // namespace

class TestParties : public QObject
{
    Q_OBJECT

private slots:
    void legalFormOfKind();
    void writer_data();
    void writer();
    void resolver_data();
    void resolver();
    void ownerWhoIsCustomerHasCustomersKindAndDetails();
    void kindFollowsTheTags_data();
    void kindFollowsTheTags();
    void fullNameWithoutPatronymic();
};

void TestParties::legalFormOfKind()
{
    EvaluationTagStorage evaluation;
    AgreeCustomer* customer = evaluation.getAgreeCustomer();
    QCOMPARE(customer->getType(), CUSTOMER_PERSON); // no legal form yet
    customer->setType(CUSTOMER_SOLE_PROPRIETOR);
    evaluation.getVehicleOwner()->setType(static_cast<customertype_t>(3)); // no kind of ours
    QString form;
    QCOMPARE(evaluation.getTag(QStringLiteral("ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА"), form),
             QStringLiteral("Индивидуальный предприниматель"));
    QCOMPARE(evaluation.getTag(QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА"), form), QStringLiteral("Физическое лицо"));
}

void TestParties::writer_data()
{
    QTest::addColumn<QString>("party");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");
    const QStringList legal = allDetails() + QStringList{legalCustomer};
    const QString customer = QStringLiteral("_ЗАКАЗЧИКА");

    QTest::newRow("customer switched from legal entity to person")
        << "customer" << legal << int(CUSTOMER_PERSON)
        << details(customer, "ПРАВОВАЯ_ФОРМА=Физическое лицо") + personDetails(customer + QStringLiteral("_ФЛ"));
    QTest::newRow("customer sole proprietor")
        << "customer" << legal << int(CUSTOMER_SOLE_PROPRIETOR)
        << QStringList{proprietorCustomer} + businessmanDetails(customer + QStringLiteral("_ИП"));
    // The customer writes the party details of an owner who is the customer.
    QTest::newRow("owner who is customer, unreadable values")
        << "owner"
        << legal + details({}, "СОБСТВЕННИК_ЯВЛЯЕТСЯ_ЗАКАЗЧИКОМ=да|ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=возможно|"
                               "ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА=Доверенность № 5|ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=31.02.2024")
        << int(CUSTOMER_LEGAL_ENTITY)
        << details({}, "ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=Нет|ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА=Доверенность № 5|"
                       "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=|СОБСТВЕННИК_ЯВЛЯЕТСЯ_ЗАКАЗЧИКОМ=Да");
}

void TestParties::writer()
{
    QFETCH(QString, party);
    QFETCH(QStringList, entries);
    QFETCH(int, kind);
    QFETCH(QStringList, expected);
    EvaluationTagStorage evaluation;
    store(evaluation, entries);
    Party& written = partyOf(evaluation, party);
    written.setType(static_cast<customertype_t>(kind));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    written.save(buffer);
    QCOMPARE(QString::fromUtf8(buffer.data()).split(QLatin1Char('\n')), expected << QString());
}

void TestParties::resolver_data()
{
    QTest::addColumn<QString>("party");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("expected");
    const QStringList person = allDetails();
    const QStringList legal = person + QStringList{legalCustomer};
    const QStringList proprietor = person + QStringList{proprietorCustomer};
    const QStringList asCustomer = legal + QStringList{proprietorOwner, ownerIsCustomer};
    const QStringList basis = details({}, "ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА=05.03.2024|ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА=Доверенность|"
                                          "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА=01.02.2023");
    const QStringList given = basis + details({}, "ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ=Да");
    const long A = TAGFLAG_ABBREVIATION;
    const long Y = TAGFLAG_YEAR;
    const long S = TAGFLAG_SHORT;

    QTest::newRow("legal form alias, A") << "customer" << legal << "ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА_ЮЛ" << A << "ООО";
    QTest::newRow("A only for the legal form")
        << "customer" << legal << "ФИО_РУКОВОДИТЕЛЯ_ЗАКАЗЧИКА_ЮЛ" << A << "Петров Пётр";
    QTest::newRow("date alias, Y") << "customer" << legal << "ДАТА_ОГРН_ЗАКАЗЧИКА_ЮЛ" << Y << "2002";
    QTest::newRow("legal entity, no person") << "customer" << legal << "ФАМИЛИЯ_ЗАКАЗЧИКА_ФЛ" << 0L << notHandled;
    QTest::newRow("no form: person") << "customer" << person << "ДАТА_ДОКУМЕНТА_ЗАКАЗЧИКА_ФЛ" << 0L << "01.09.2010";
    QTest::newRow("proprietor date, Y") << "customer" << proprietor << "ДАТА_ПРИСВОЕНИЯ_ЗАКАЗЧИКА_ИП" << Y << "2004";
    QTest::newRow("proprietor document") << "customer" << proprietor << "ДОКУМЕНТ_ЗАКАЗЧИКА_ИП" << 0L << "Паспорт";
    QTest::newRow("person's first name, S") << "customer" << person << "ИМЯ_ЗАКАЗЧИКА_ФЛ" << S << "И.";
    QTest::newRow("proprietor's patronymic, S") << "customer" << proprietor << "ОТЧЕСТВО_ЗАКАЗЧИКА_ИП" << S << "С.";
    QTest::newRow("owner's first name, S") << "owner" << person + QStringList{proprietorOwner} << "ИМЯ_СОБСТВЕННИКА_ИП"
                                           << S << "И.";
    QTest::newRow("surname stays whole, S") << "customer" << person << "ФАМИЛИЯ_ЗАКАЗЧИКА_ФЛ" << S << "Кузнецов";
    QTest::newRow("bank alias") << "customer" << proprietor << "РАСЧ_СЧЕТ_ЗАКАЗЧИКА_ИП" << 0L << "40702810900000000001";

    QTest::newRow("owner as customer") << "owner" << asCustomer << "ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА_ЮЛ" << A << "ООО";
    QTest::newRow("owner as customer, own") << "owner" << asCustomer << "ОГРН_СОБСТВЕННИКА_ИП" << 0L << notHandled;
    QTest::newRow("owner, customer names") << "owner" << asCustomer << "НАИМЕНОВАНИЕ_ЗАКАЗЧИКА_ЮЛ" << 0L << notHandled;
    QTest::newRow("owner of its own") << "owner" << legal + QStringList{legalOwner} << "НАИМЕНОВАНИЕ_СОБСТВЕННИКА_ЮЛ"
                                      << 0L << "Лютик";

    QTest::newRow("basis not given") << "owner" << basis << "ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА" << 0L << "Договор на оценку";
    QTest::newRow("agreement's date") << "owner" << basis << "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА" << 0L << "05.03.2024";
    QTest::newRow("given basis") << "owner" << given << "ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА" << 0L << "Доверенность";
    QTest::newRow("given basis date, Y") << "owner" << given << "ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА" << Y << "2023";
    QTest::newRow("basis, owner as customer") << "owner" << asCustomer << "ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА" << 0L
                                              << "Договор на оценку";

    QTest::newRow("bad date") << "customer" << legal + details({}, "ДАТА_ПРИСВОЕНИЯ_ОГРН_ЗАКАЗЧИКА_ЮЛ=15/03/2002")
                              << "ДАТА_ОГРН_ЗАКАЗЧИКА_ЮЛ" << Y << "";
    QTest::newRow("bad flag") << "customer" << legal + details({}, "УСНО_ЗАКАЗЧИКА_ЮЛ=1") << "УСНО_ЗАКАЗЧИКА_ЮЛ" << 0L
                              << "Нет";
}

void TestParties::resolver()
{
    QFETCH(QString, party);
    QFETCH(QStringList, entries);
    QFETCH(QString, name);
    QFETCH(long, flags);
    QFETCH(QString, expected);
    EvaluationTagStorage evaluation;
    store(evaluation, entries);
    QString value = QStringLiteral("<stale>");
    const bool handled = partyOf(evaluation, party).getTag(name, value, flags);
    QCOMPARE(handled ? value : notHandled, expected);
}

// Details of another kind than the one the owner has are an error.
void TestParties::ownerWhoIsCustomerHasCustomersKindAndDetails()
{
    EvaluationTagStorage evaluation;
    store(evaluation, {legalCustomer, proprietorOwner, QStringLiteral("СОБСТВЕННИК_ЯВЛЯЕТСЯ_ЗАКАЗЧИКОМ=может")});
    VehicleOwner* owner = evaluation.getVehicleOwner();
    QCOMPARE(owner->getType(), CUSTOMER_SOLE_PROPRIETOR); // an unreadable flag: not the customer

    owner->setCustomer(true);
    QCOMPARE(owner->getType(), CUSTOMER_LEGAL_ENTITY);
    QCOMPARE(owner->getOrg(), evaluation.getAgreeCustomer()->getOrg());
    QVERIFY(owner->getOwnerBusinessman() != nullptr); // its own details still follow its own kind
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, owner->getOwnerOrg());
    try {
        owner->getBusinessman();
        QFAIL("the customer is no sole proprietor");
    } catch (const AutoEvalException& e) {
        QCOMPARE(e.getFile(), QStringLiteral("vehicleowner"));
        QVERIFY(e.getLine() > 0);
    }
}

void TestParties::kindFollowsTheTags_data()
{
    QTest::addColumn<bool>("asLines");
    QTest::newRow("tags set by the host") << false;
    QTest::newRow("tag lines handed over") << true;
}

// A party's kind is read from its tags: however they change, the next answer follows.
void TestParties::kindFollowsTheTags()
{
    QFETCH(bool, asLines);
    EvaluationTagStorage evaluation;
    const auto change = [&](const QStringList& entries) {
        if (!asLines)
            return store(evaluation, entries);
        QBuffer lines;
        lines.setData(entries.join(QLatin1Char('\n')).toUtf8());
        QVERIFY(lines.open(QIODevice::ReadOnly));
        QVERIFY(evaluation.readTagLines(lines));
    };
    store(evaluation, {legalCustomer, legalOwner});
    AgreeCustomer* customer = evaluation.getAgreeCustomer();
    VehicleOwner* owner = evaluation.getVehicleOwner();
    QCOMPARE(customer->getType(), CUSTOMER_LEGAL_ENTITY);
    QCOMPARE(owner->getType(), CUSTOMER_LEGAL_ENTITY);

    change({proprietorCustomer, QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА=Физическое лицо")});
    QCOMPARE(customer->getType(), CUSTOMER_SOLE_PROPRIETOR);
    QCOMPARE(owner->getType(), CUSTOMER_PERSON);
    change({ownerIsCustomer});
    QCOMPARE(owner->getType(), CUSTOMER_SOLE_PROPRIETOR);
}

// The appraisal company list joins the parts the same way, so the space stays.
void TestParties::fullNameWithoutPatronymic()
{
    EvaluationTagStorage evaluation;
    store(evaluation, details(QStringLiteral("_ЗАКАЗЧИКА_ИП"), "ФАМИЛИЯ=Кузнецов|ИМЯ=Иван") << proprietorCustomer);
    QString fio;
    QCOMPARE(evaluation.getAgreeCustomer()->getBusinessman()->getFIO(fio), QStringLiteral("Кузнецов Иван "));
}

QTEST_MAIN(TestParties)
#include "tst_parties.moc"
