#include "catalog/limitscatalog.h"
#include "runtime/singletonregistry.h"

#include <QSignalSpy>
#include <QTest>

class TestLimitsCatalog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void sectionTexts_data();
    void sectionTexts();
    void sectionNames_data();
    void sectionNames();
    void editsLastUntilAnotherSectionIsSelected();
};

void TestLimitsCatalog::cleanup()
{
    SingletonRegistry::destroyAllForTesting();
}

void TestLimitsCatalog::sectionTexts_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QStringList>("openings");
    // Selecting section 1 changes nothing: the catalog starts on it, already loaded.
    QTest::newRow("primary information, loaded at start")
        << 1 << QStringList{QStringLiteral("Пунктом 19 ФСО №1"), QStringLiteral("Техническое состояние")};
    QTest::newRow("calculations")
        << 2 << QStringList{QStringLiteral("Все расчеты, выполняемые для целей подготовки настоящего Отчета, "
                                           "производятся в программе «Zentavo»."),
                            QStringLiteral("Наиболее эффективное использование")};
    QTest::newRow("results") << 3
        << QStringList{
               QStringLiteral("Результаты оценки могут быть использованы только в указанных в Отчете об оценке целях.")};
    QTest::newRow("general")
        << 4 << QStringList{QStringLiteral("Отчет достоверен лишь в полном объеме. Приложения являются его "
                                           "неотъемлемой частью."),
                            QStringLiteral("Ни Заказчик, ни Оценщик"), QStringLiteral("Исходя из вероятностной")};
    QTest::newRow("statutory")
        << 5 << QStringList{QStringLiteral("Пунктом 26 ФСО №1"), QStringLiteral("Пунктом 11 ФСО №3")};
    QTest::newRow("no section") << 0 << QStringList();
    QTest::newRow("past the last") << 9 << QStringList();
    QTest::newRow("negative") << -1 << QStringList();
}

void TestLimitsCatalog::sectionTexts()
{
    QFETCH(int, section);
    QFETCH(QStringList, openings);
    LimitsCatalog* catalog = LimitsCatalog::getInstance();
    QSignalSpy updated(catalog, &SimpleCatalog::updated);
    catalog->setSection(section);

    QCOMPARE(catalog->getSection(), section);
    QMap<int, QString> texts;
    catalog->getNames(texts);
    QList<int> ids;
    for (int id = 1; id <= openings.size(); ++id) {
        ids << id;
        QVERIFY2(texts.value(id).startsWith(openings.at(id - 1)), qPrintable(texts.value(id)));
    }
    QCOMPARE(texts.keys(), ids);
    QCOMPARE(catalog->count(), openings.size());
    QCOMPARE(updated.count(), 0);
}

void TestLimitsCatalog::sectionNames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("no section") << 0 << QStringLiteral("");
    QTest::newRow("first")
        << 1 << QStringLiteral("Относительно первичной информации по объекту оценки и рыночной информации");
    QTest::newRow("last") << 5 << QStringLiteral("Законодательно установленные ограничения и допущения");
    QTest::newRow("past the last") << 6 << QString();
    QTest::newRow("negative") << -1 << QString();
}

void TestLimitsCatalog::sectionNames()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    LimitsCatalog* catalog = LimitsCatalog::getInstance();
    QCOMPARE(catalog->countSections(), 5);
    const QString actual = catalog->getSectionName(index);
    QCOMPARE(actual, name);
    QCOMPARE(actual.isNull(), name.isNull());
}

void TestLimitsCatalog::editsLastUntilAnotherSectionIsSelected()
{
    LimitsCatalog* catalog = LimitsCatalog::getInstance();
    const QString own = QStringLiteral("Свое допущение");
    catalog->setSection(4);
    QCOMPARE(catalog->add(own), 4);
    catalog->del(1);

    catalog->setSection(4);
    QCOMPARE(catalog->count(), 3);
    QCOMPARE(catalog->find(own), 4);

    catalog->setSection(1);
    catalog->setSection(4);
    QCOMPARE(catalog->count(), 3);
    QCOMPARE(catalog->find(own), -1);
    QString text;
    QVERIFY(!catalog->getName(1, text).isNull());
}

QTEST_GUILESS_MAIN(TestLimitsCatalog)
#include "tst_limitscatalog.moc"
