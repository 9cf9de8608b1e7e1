#include "appraisalsamples.h"
#include "catalog/appraisalcompany.h"
#include "catalog/appraiser.h"
#include "catalog/sqlstorage.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/evaluationtagstorage.h"
#include "model/organization.h"
#include "runtime/singletonregistry.h"

#include "zipfixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void setMarkers(EvaluationStorage& storage, const QStringList& markers)
{
    for (int i = 0; i < markers.size(); ++i)
        storage.setTag(QStringLiteral("ОЦЕНЩИК_%1").arg(i + 1), markers.at(i));
}

// Positions 1, 2, 3: an appraiser, a specialist, an appraiser.
void setThreePeople(EvaluationStorage& storage)
{
    setMarkers(storage, {QStringLiteral("true"), QStringLiteral("true"), QStringLiteral("true")});
    const char* const lastNames[] = {"Первая", "Вторая", "Третья"};
    for (int position = 1; position <= 3; ++position) {
        const bool isAppraiser = position != 2;
        const QString word = isAppraiser ? QStringLiteral("ОЦЕНЩИКА") : QStringLiteral("СПЕЦИАЛИСТА");
        storage.setTag(QStringLiteral("ТИП_ОЦЕНЩИКА_%1").arg(position),
                       isAppraiser ? QStringLiteral("ОЦЕНЩИК") : QStringLiteral("СПЕЦИАЛИСТ"));
        storage.setTag(QStringLiteral("ФАМИЛИЯ_%1_%2").arg(word).arg(position), QString::fromUtf8(lastNames[position - 1]));
        storage.setTag(QStringLiteral("СТЕПЕНЬ_УЧАСТИЯ_ОЦЕНЩИКА_%1").arg(position), QStringLiteral("%1 %").arg(position * 10));
        storage.setTag(QStringLiteral("ТИП_ОЦЕНОЧНОЙ_КОМПАНИИ_%1").arg(position), QStringLiteral("Юридическое лицо"));
        storage.setTag(QStringLiteral("НАИМЕНОВАНИЕ_КОМПАНИИ_ЮЛ_ОЦЕН_КОМП_%1").arg(position),
                       QStringLiteral("Компания %1").arg(position));
    }
}

QString reportTag(AppraiserList& list, const QString& name)
{
    QString value;
    return list.getTag(name, value, 0) ? value : QStringLiteral("<none>");
}

// Every tag base the saved evaluation holds for its appraisers, asked under report numbers 1 to 6.
QMap<QString, QString> allReportTags(EvaluationTagStorage& storage, const QStringList& bases)
{
    QMap<QString, QString> answers;
    for (const QString& base : bases) {
        for (int number = 1; number <= 6; ++number) {
            const QString name = base + QLatin1Char('_') + QString::number(number);
            answers.insert(name, reportTag(*storage.getAppraiserList(), name));
        }
    }
    return answers;
}

} // namespace

class TestAppraiserList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void countFromMarkers_data();
    void countFromMarkers();
    void reportNumbering_data();
    void reportNumbering();
    void editingTheList();
    void evaluationKeepsItsCopies();
    void savedEntriesAreNumberedAgain_data();
    void savedEntriesAreNumberedAgain();
};

void TestAppraiserList::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
}

void TestAppraiserList::countFromMarkers_data()
{
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<int>("count");
    QTest::newRow("none") << QStringList() << 0;
    QTest::newRow("a gap ends the list") << QStringList{QStringLiteral("true"), QStringLiteral("true"), QString(),
                                                        QStringLiteral("true")} << 2;
    QTest::newRow("the placeholder ends the list")
        << QStringList{QStringLiteral("true"), QStringLiteral("Выберите оценщика или специалиста..."),
                       QStringLiteral("true")} << 1;
}

void TestAppraiserList::countFromMarkers()
{
    QFETCH(QStringList, markers);
    QFETCH(int, count);
    EvaluationTagStorage storage;
    setMarkers(storage, markers);
    QCOMPARE(storage.getAppraiserList()->count(), count);
    QVERIFY(!storage.getAppraiserList()->isModified());
}

void TestAppraiserList::reportNumbering_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    // Which person answers under which number, for this same layout of appraiser,
    // specialist, appraiser, is resolved end to end by tst_fullevaluation.
    QTest::newRow("no specialist 5") << QStringLiteral("ФАМИЛИЯ_СПЕЦИАЛИСТА_5") << QStringLiteral("<none>");
    QTest::newRow("company of appraiser 2") << QStringLiteral("НАИМЕНОВАНИЕ_ЮЛ_ОЦЕН_КОМП_2") << QStringLiteral("Компания 3");
    QTest::newRow("no number") << QStringLiteral("ФАМИЛИЯ_ОЦЕНЩИКА") << QStringLiteral("<none>");
    QTest::newRow("number 0") << QStringLiteral("ФАМИЛИЯ_ОЦЕНЩИКА_0") << QStringLiteral("<none>");
}

void TestAppraiserList::reportNumbering()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    EvaluationTagStorage storage;
    setThreePeople(storage);
    QCOMPARE(reportTag(*storage.getAppraiserList(), name), value);
}

void TestAppraiserList::editingTheList()
{
    EvaluationTagStorage storage;
    setThreePeople(storage);
    AppraiserList* list = storage.getAppraiserList();
    QCOMPARE(list->addAppraiser(2), list->getAppraiser(2));
    QVERIFY(!list->isModified());
    QVERIFY(!list->moveAppraiser(1, 2));
    QVERIFY(!list->moveAppraiser(7, 8));
    QVERIFY(list->moveAppraiser(3, 5));
    QVERIFY(!list->isModified());
    // Order counts the entries, not the positions: positions 1, 2 and 5.
    QCOMPARE(list->getAppraiserInOrder(2), list->getAppraiser(5));
    QCOMPARE(list->getAppraiserInOrder(3), nullptr);
    QCOMPARE(list->getAppraiserInOrder(-1), nullptr);
    QVERIFY(!list->removeAppraiser(3));
    QVERIFY(list->removeAppraiser(5));
    QVERIFY(list->isModified());

    // A new entry starts empty even where an earlier entry left its tags.
    AgreeAppraiser* added = list->addAppraiser(3);
    QString text;
    QCOMPARE(added->getAppraiser()->getLastName(text), QString());
    QCOMPARE(added->getAppraisalCompany()->getId(), -1);

    AgreeAppraiser* first = list->getAppraiser(1);
    first->getAppraisalCompany()->setPolicyNumber(QStringLiteral("изменено"));
    first->setAppraisalCompany(0);
    QCOMPARE(first->getAppraisalCompany()->getPolicyNumber(text), QString());
    QCOMPARE(reportTag(*list, QStringLiteral("НАИМЕНОВАНИЕ_ЮЛ_ОЦЕН_КОМП_1")), QStringLiteral("Компания 1"));
}

// Two appraisers and a specialist with their companies taken from the catalog: the saved
// evaluation answers every report tag the same. That a loaded copy needs no catalog row is
// shown by tst_fullevaluation, whose catalog holds no appraiser or company at all.
void TestAppraiserList::evaluationKeepsItsCopies()
{
    AppraisalCompany org;
    fillLegalEntity(org, QStringLiteral("ООО «Эксперт»"), QStringLiteral("7701000001"));
    AppraisalCompany proprietor;
    fillProprietor(proprietor, QStringLiteral("Смирнов"), QStringLiteral("771000000002"));
    Appraiser first, second, specialist;
    fillAppraiser(first, QStringLiteral("Яковлева"));
    fillAppraiser(second, QStringLiteral("Лебедев"));
    fillSpecialist(specialist, QStringLiteral("Борисова"));
    for (AppraisalCompany* company : {&org, &proprietor})
        QVERIFY(company->save());
    for (Appraiser* person : {&first, &second, &specialist})
        QVERIFY(person->save());

    EvaluationTagStorage storage;
    const QList<std::pair<Appraiser*, AppraisalCompany*>> people = {
        {&specialist, &proprietor}, {&first, &org}, {&second, &proprietor}};
    for (int position = 1; position <= people.size(); ++position) {
        AgreeAppraiser* entry = storage.getAppraiserList()->addAppraiser(position);
        entry->setAppraiser(people.at(position - 1).first->getId());
        entry->setAppraisalCompany(people.at(position - 1).second->getId());
        entry->setParticipation(QStringLiteral("%1 %").arg(position * 30));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("evaluation.zip"));
    QVERIFY(storage.save(path));

    QStringList bases;
    EvaluationTagStorage reloaded;
    QVERIFY(reloaded.load(path));
    for (const QString& name : {QStringLiteral("ФАМИЛИЯ_ОЦЕНЩИКА"), QStringLiteral("СТАЖ_ОЦЕНЩИКА"),
                                QStringLiteral("ФАМИЛИЯ_СПЕЦИАЛИСТА"), QStringLiteral("СТЕПЕНЬ_УЧАСТИЯ_ОЦЕНЩИКА"),
                                QStringLiteral("НАИМЕНОВАНИЕ_ЮЛ_ОЦЕН_КОМП"), QStringLiteral("РАСЧЕТНЫЙ_СЧЕТ_ЮЛ_ОЦЕН_КОМП"),
                                QStringLiteral("ФАМИЛИЯ_ИП_ОЦЕН_КОМП"), QStringLiteral("НОМЕР_ДОКУМЕНТА_ИП_ОЦЕН_КОМП"),
                                QStringLiteral("СТРАХ_ПОЛИС_ИП_ОЦЕН_КОМП"), QStringLiteral("БИК_ИП_ОЦЕН_КОМП")})
        bases << name;
    const QMap<QString, QString> expected = allReportTags(storage, bases);
    QCOMPARE(expected.value(QStringLiteral("ФАМИЛИЯ_ОЦЕНЩИКА_2")), QStringLiteral("Лебедев"));
    QCOMPARE(expected.value(QStringLiteral("НАИМЕНОВАНИЕ_ЮЛ_ОЦЕН_КОМП_1")), QStringLiteral("ООО «Эксперт»"));
    QCOMPARE(expected.value(QStringLiteral("НОМЕР_ДОКУМЕНТА_ИП_ОЦЕН_КОМП_4")), QStringLiteral("654321"));
    QCOMPARE(allReportTags(reloaded, bases), expected);

}

void TestAppraiserList::savedEntriesAreNumberedAgain_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("movedTo"); // where the third entry goes
    QTest::addColumn<int>("added");
    QTest::addColumn<QStringList>("reloaded"); // last name, participation, company, in position order
    QTest::addColumn<bool>("fromFile"); // the three were read from a file, not set by the host
    const QString first = QStringLiteral("Первая|10 %|Компания 1"), second = QStringLiteral("Вторая|20 %|Компания 2"),
                  third = QStringLiteral("Третья|30 %|Компания 3");
    for (const bool fromFile : {false, true}) {
        const auto row = [fromFile](const char* title) -> QTestData& {
            return QTest::newRow(qPrintable(QString::fromUtf8(title) + (fromFile ? QStringLiteral(", from a file") : QString())));
        };
        row("first removed") << 1 << 0 << 0 << QStringList{second, third} << fromFile;
        row("middle removed") << 2 << 0 << 0 << QStringList{first, third} << fromFile;
        row("last removed") << 3 << 0 << 0 << QStringList{first, second} << fromFile;
        row("last moved beyond a gap") << 0 << 5 << 0 << QStringList{first, second, third} << fromFile;
        row("added beyond a gap") << 0 << 0 << 6 << QStringList{first, second, third, QStringLiteral("Шестая|60 %|")}
                                  << fromFile;
    }
}

// Removing or moving entries leaves gaps; the file holds every entry in position order,
// numbered 1, 2, …, and nothing under a number beyond the last.
void TestAppraiserList::savedEntriesAreNumberedAgain()
{
    QFETCH(int, removed);
    QFETCH(int, movedTo);
    QFETCH(int, added);
    QFETCH(QStringList, reloaded);
    QFETCH(bool, fromFile);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("evaluation.zip"));
    EvaluationTagStorage storage;
    setThreePeople(storage);
    if (fromFile)
        QVERIFY(storage.save(path) && storage.load(path));
    AppraiserList* list = storage.getAppraiserList();
    if (removed)
        QVERIFY(list->removeAppraiser(removed));
    if (movedTo)
        QVERIFY(list->moveAppraiser(3, movedTo));
    if (added) {
        AgreeAppraiser* entry = list->addAppraiser(added);
        entry->getAppraiser()->setLastName(QStringLiteral("Шестая"));
        entry->setParticipation(QStringLiteral("60 %"));
    }
    QVERIFY(storage.save(path));

    EvaluationTagStorage again;
    QVERIFY(again.load(path));
    QStringList entries;
    for (int position = 1; position <= again.getAppraiserList()->count(); ++position) {
        AgreeAppraiser* entry = again.getAppraiserList()->getAppraiser(position);
        QVERIFY(entry);
        QString name, participation, company;
        entries << QStringList{entry->getAppraiser()->getLastName(name), entry->getParticipation(participation),
                               entry->getAppraisalCompany()->getOrg()->getText(Organization::NAME, company)}
                       .join(QLatin1Char('|'));
    }
    QCOMPARE(entries, reloaded);
    // Nothing is left under a number beyond the last, and nothing of a removed person.
    const QString beyond = QStringLiteral("_%1=").arg(reloaded.size() + 1);
    const QStringList lastNames{QStringLiteral("Первая"), QStringLiteral("Вторая"), QStringLiteral("Третья")};
    const QString tagList = QString::fromUtf8(contentOf(path, QStringLiteral("tag_list.txt")));
    QVERIFY(!tagList.isEmpty());
    QVERIFY2(!tagList.contains(beyond), qPrintable(beyond));
    if (removed)
        QVERIFY2(!tagList.contains(lastNames.at(removed - 1)), qPrintable(tagList));
}

QTEST_MAIN(TestAppraiserList)
#include "tst_appraiserlist.moc"
