#include "evaluation/informer.h"
#include "runtime/singletonregistry.h"

#include <QTest>

namespace {

Informer::info_t info(int value)
{
    return static_cast<Informer::info_t>(value);
}

const Informer::status_t anyStatus = static_cast<Informer::status_t>(3);

QStringList details(Informer::info_t headline)
{
    QStringList out{QStringLiteral("stale")};
    return Informer::getInstance()->getDependMessages(headline, out);
}

bool hasIcon(Informer::info_t headline)
{
    QPixmap icon(5, 5);
    return !Informer::getInstance()->getIcon(headline, icon).isNull();
}

} // namespace

class TestInformer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void standardTexts_data();
    void standardTexts();
    void detailsInKeyOrderWithStandardTextForEmptyMessage();
    void iconIsARedSquareWhileFiled();
    void clearingDetailsAndHeadlines();
    void allMessagesOnlyEmptiesTheList();
};

void TestInformer::cleanup()
{
    SingletonRegistry::destroyAllForTesting();
}

void TestInformer::standardTexts_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("first") << 1 << QStringLiteral("Не указана дата договора на оценку");
    QTest::newRow("3 keeps its typo") << 3 << QStringLiteral("Ну казан общий износ ТС");
    QTest::newRow("6 keeps its typo") << 6 << QStringLiteral("В таблице переоборудования не казана стоимость работ(ы)");
    QTest::newRow("45 repeats 27") << 45 << QStringLiteral("Не удалось расчитать стоимость аналога");
    QTest::newRow("last") << 46 << QStringLiteral("Не удалось выбрать метод аппроксимации");
    for (int value : {24, 40, 41, 42, 0, 47})
        QTest::newRow(qPrintable(QStringLiteral("fallback %1").arg(value)))
            << value << QStringLiteral("Отсутствует значение №%1").arg(value);
}

void TestInformer::standardTexts()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QString out = QStringLiteral("stale");
    QCOMPARE(Informer::getInstance()->getStdMessage(info(value), out), text);
    QCOMPARE(out, text);
}

void TestInformer::detailsInKeyOrderWithStandardTextForEmptyMessage()
{
    Informer* informer = Informer::getInstance();
    const Informer::info_t headline = Informer::INFO_FULL_COST;
    informer->setMissing(headline, info(99), QStringLiteral("Своя причина"), anyStatus);
    informer->setMissing(headline, Informer::INFO_INITIAL_COST, QString(), anyStatus);
    informer->setMissing(headline, info(2), QStringLiteral("первое"), anyStatus);
    informer->setMissing(headline, info(2), QStringLiteral("Нет даты выпуска"), anyStatus);
    informer->setMissing(Informer::INFO_MARKET_VALUE, info(1), QStringLiteral("Другой заголовок"), anyStatus);

    QCOMPARE(details(headline), QStringList({QStringLiteral("Нет даты выпуска"),
                                             QStringLiteral("Не указана начальная стоимость"),
                                             QStringLiteral("Своя причина")}));
    QVERIFY(details(Informer::INFO_CONTRACT_DATE).isEmpty());
}

void TestInformer::iconIsARedSquareWhileFiled()
{
    QVERIFY(!hasIcon(info(28)));
    Informer::getInstance()->setMissing(info(28), info(23), QString(), anyStatus);
    QPixmap icon;
    const QImage image = Informer::getInstance()->getIcon(info(28), icon).toImage();
    QCOMPARE(image.size(), QSize(10, 10));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(image.pixelColor(9, 9), QColor(Qt::red));
}

void TestInformer::clearingDetailsAndHeadlines()
{
    Informer* informer = Informer::getInstance();
    informer->clearMissing(info(5));
    informer->clearMissing(info(5), info(6));
    QVERIFY(!hasIcon(info(5)));

    informer->setMissing(info(4), info(5), QStringLiteral("a"), anyStatus);
    informer->setMissing(info(4), info(6), QStringLiteral("b"), anyStatus);
    informer->setMissing(info(7), info(5), QStringLiteral("c"), anyStatus);
    informer->clearMissing(info(4), info(9));
    informer->clearMissing(info(4), info(5));
    QCOMPARE(details(info(4)), QStringList{QStringLiteral("b")});
    informer->clearMissing(info(4), info(6));
    QVERIFY(!hasIcon(info(4)));

    informer->clearMissing(info(7));
    QVERIFY(!hasIcon(info(7)));
    QVERIFY(details(info(7)).isEmpty());
}

void TestInformer::allMessagesOnlyEmptiesTheList()
{
    Informer::getInstance()->setMissing(info(1), info(1), QStringLiteral("x"), anyStatus);
    QStringList out{QStringLiteral("old")};
    Informer::getInstance()->getAllMessages(out);
    QVERIFY(out.isEmpty());
}

QTEST_MAIN(TestInformer)
#include "tst_informer.moc"
