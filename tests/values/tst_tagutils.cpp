#include "values/tagutils.h"

#include <QLocale>
#include <QTest>

class TestTagUtils : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void parsers_data();
    void parsers();
    void valuesAsText();
    void inPlaceTransforms_data();
    void inPlaceTransforms();
    void flagLetters_data();
    void flagLetters();
    void extractIndex_data();
    void extractIndex();
    void roles_data();
    void roles();
};

void TestTagUtils::parsers_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QVariant>("value");
    const int integer = QMetaType::Int;
    const int boolean = QMetaType::Bool;
    const int date = QMetaType::QDate;
    QTest::newRow("0") << integer << QStringLiteral("0") << true << QVariant(0);
    QTest::newRow("-1 reads as a number") << integer << QStringLiteral("-1") << true << QVariant(-1);
    QTest::newRow("empty number") << integer << QString() << false << QVariant(-1);
    QTest::newRow("number overflow") << integer << QStringLiteral("99999999999") << false << QVariant(-1);
    QTest::newRow("Да") << boolean << QStringLiteral("Да") << true << QVariant(true);
    QTest::newRow("Нет") << boolean << QStringLiteral("Нет") << true << QVariant(false);
    QTest::newRow("True") << boolean << QStringLiteral("True") << true << QVariant(true);
    QTest::newRow("FALSE") << boolean << QStringLiteral("FALSE") << true << QVariant(false);
    QTest::newRow("1 is no boolean") << boolean << QStringLiteral("1") << false << QVariant(false);
    QTest::newRow("05.12.2026") << date << QStringLiteral("05.12.2026") << true << QVariant(QDate(2026, 12, 5));
    QTest::newRow("no leap day") << date << QStringLiteral("29.02.2023") << false << QVariant(QDate());
    QTest::newRow("iso date") << date << QStringLiteral("2026-12-05") << false << QVariant(QDate());
    const int real = QMetaType::Double; // -1: null
    QTest::newRow("real") << real << QStringLiteral("0.75") << true << QVariant(0.75);
    QTest::newRow("no real") << real << QStringLiteral("x") << false << QVariant(-1.0);
}

void TestTagUtils::parsers()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QVariant, value);
    const auto parse = [&](bool* success) {
        QDate date(1999, 1, 1);
        Real real;
        if (type == QMetaType::Int)
            return QVariant(TagUtils::parseInt(text, success));
        if (type == QMetaType::Bool)
            return QVariant(TagUtils::parseBool(text, success));
        if (type == QMetaType::Double)
            return QVariant(TagUtils::parseReal(text, success, real).isNull() ? -1.0 : real.getVal());
        return QVariant(TagUtils::parseDate(text, success, date));
    };
    bool parsed = !ok;
    QCOMPARE(parse(&parsed), value);
    QCOMPARE(parsed, ok);
    QCOMPARE(parse(nullptr), value); // a caller may not ask for success
}

void TestTagUtils::valuesAsText()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QString out;
    QVERIFY(TagUtils::processInt(-1, out).isNull());
    QCOMPARE(TagUtils::processBool(false, out), QStringLiteral("Нет"));
    QVERIFY(TagUtils::processDate(QDate(), out).isEmpty());
    QVERIFY(TagUtils::processMoney(Money(), out).isNull());
    QVERIFY(TagUtils::processReal(Real(), out).isNull());
    QCOMPARE(TagUtils::processReal(Real(0.25), out), QStringLiteral("0,25"));
    // A null amount has no text whatever its flags. Amounts with T and R are resolved by
    // tst_agreementjob (the bank guarantee) and tst_fullevaluation.
    QVERIFY(TagUtils::condProcessFlagMONEY(TAGFLAG_WORDS | TAGFLAG_ROUND_T, Money(), out).isNull());
    // Amounts in words keep their kopecks where a double would lose them.
    Money large;
    large.let(9007199254740993LL); // 2^53 + 1 kopecks
    QVERIFY(TagUtils::condProcessFlagMONEY(TAGFLAG_WORDS, large, out).endsWith(QStringLiteral(" 93 копейки")));
    const QDate date(2025, 3, 7);
    QCOMPARE(TagUtils::condProcessFlagDATE(TAGFLAG_WORDS | TAGFLAG_ROUND_T, date, out), QStringLiteral("07.03.2025"));
    QCOMPARE(TagUtils::condProcessFlagDATE(TAGFLAG_YEAR | TAGFLAG_SHORT, date, out), QStringLiteral("2025"));

    // Tag list lines do not depend on the locale. Whole numbers, flags, dates and whole
    // amounts are written back line for line by tst_fullevaluation.
    QByteArray line;
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("R"), Real(0.25), line), QByteArray("R=0.25\n"));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("R"), Real(), line), QByteArray("R=\n"));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("M"), Money(7, 5), line), QByteArray("M=7.05\n"));
}

void TestTagUtils::inPlaceTransforms_data()
{
    QTest::addColumn<char>("kind"); // S: short form, A: abbreviation, X: XML value, L: tag line value
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("short Иван") << 'S' << QStringLiteral("Иван") << QStringLiteral("И.");
    QTest::newRow("short of one letter") << 'S' << QStringLiteral("Я") << QStringLiteral("Я");
    QTest::newRow("abbreviation") << 'A' << QStringLiteral("Общество  с ограниченной ответственностью")
                                  << QStringLiteral("ООО");
    QTest::newRow("abbreviation of short words") << 'A' << QStringLiteral("и в на") << QString();
    QTest::newRow("four letters count") << 'A' << QStringLiteral("Банк дом") << QStringLiteral("Б");
    QTest::newRow("xml, all five") << 'X' << QStringLiteral("a&b<c>d\"e'f")
                                   << QStringLiteral("a&amp;b&lt;c&gt;d&quot;e&apos;f");
    QTest::newRow("xml entity escaped again") << 'X' << QStringLiteral("&lt;") << QStringLiteral("&amp;lt;");
    QTest::newRow("line feed") << 'L' << QStringLiteral("a\nb") << QStringLiteral("a\\nb");
    QTest::newRow("carriage return") << 'L' << QStringLiteral("a\r\nb") << QStringLiteral("a\\r\\nb");
    QTest::newRow("backslash doubled first") << 'L' << QStringLiteral("C:\\new") << QStringLiteral("C:\\\\new");
}

void TestTagUtils::inPlaceTransforms()
{
    QFETCH(char, kind);
    QFETCH(QString, text);
    QFETCH(QString, result);
    if (kind == 'S') {
        QCOMPARE(TagUtils::processFlagSHORT(text), result);
    } else if (kind == 'A') {
        QCOMPARE(TagUtils::processFlagABBREVIATION(text), result);
    } else if (kind == 'X') {
        QCOMPARE(TagUtils::toXmlValue(text), result);
    } else {
        QByteArray line;
        const QByteArray expected = (QStringLiteral("ИМЯ=") + result + QLatin1Char('\n')).toUtf8();
        QCOMPARE(TagUtils::mkTagLine(QStringLiteral("ИМЯ"), text, line), expected);
    }
    QCOMPARE(text, result); // the caller's string is changed
}

void TestTagUtils::flagLetters_data()
{
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<long>("bit");
    QTest::newRow("!") << QChar(u'!') << 0x1L;
    QTest::newRow("y") << QChar(u'y') << 0x4L;
    QTest::newRow("r") << QChar(u'r') << 0x10L;
    QTest::newRow("h") << QChar(u'h') << 0x100L;
    QTest::newRow("X") << QChar(u'X') << 0L;
    QTest::newRow("Cyrillic С") << QChar(u'С') << 0L;
}

void TestTagUtils::flagLetters()
{
    QFETCH(QChar, letter);
    QFETCH(long, bit);
    QCOMPARE(TagUtils::flagForLetter(letter), bit);
}

void TestTagUtils::extractIndex_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("matched");
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("index");
    QTest::newRow("ОЦЕНЩИК_3") << QStringLiteral("ОЦЕНЩИК_3") << true << QStringLiteral("ОЦЕНЩИК") << 3;
    QTest::newRow("last underscore wins") << QStringLiteral("A_1_2") << true << QStringLiteral("A_1") << 2;
    QTest::newRow("no suffix") << QStringLiteral("ОЦЕНЩИК") << false << QStringLiteral("untouched") << 77;
    QTest::newRow("letters after underscore") << QStringLiteral("ДАТА_ОЦЕНКИ") << false << QStringLiteral("untouched") << 77;
    QTest::newRow("trailing line feed") << QStringLiteral("A_5\n") << false << QStringLiteral("untouched") << 77;
}

void TestTagUtils::extractIndex()
{
    QFETCH(QString, tag);
    QFETCH(bool, matched);
    QFETCH(QString, base);
    QFETCH(int, index);
    int i = 77;
    QString foundBase = QStringLiteral("untouched");
    QCOMPARE(TagUtils::extractIndex(tag, i, foundBase), matched);
    QCOMPARE(foundBase, base);
    QCOMPARE(i, index);
    if (matched) {
        QString indexed;
        QCOMPARE(TagUtils::appendIndex(base, index, indexed), tag);
    }
}

void TestTagUtils::roles_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("customer, legal entity") << 0 << 0 << QStringLiteral("_ЗАКАЗЧИКА_ЮЛ");
    QTest::newRow("owner, person") << 1 << 1 << QStringLiteral("_СОБСТВЕННИКА_ФЛ");
    QTest::newRow("appraisal company, proprietor") << 2 << 2 << QStringLiteral("_ИП_ОЦЕН_КОМП");
    QTest::newRow("unknown type") << 7 << 0 << QStringLiteral("_ЗАКАЗЧИКА");
    QTest::newRow("unknown role") << 1 << 9 << QStringLiteral("_ФЛ");
}

void TestTagUtils::roles()
{
    QFETCH(int, type);
    QFETCH(int, role);
    QFETCH(QString, suffix);
    QString out = QStringLiteral("stale");
    QCOMPARE(TagUtils::mkRole(static_cast<customertype_t>(type), static_cast<customerrole_t>(role), out), suffix);
}

QTEST_GUILESS_MAIN(TestTagUtils)
#include "tst_tagutils.moc"
