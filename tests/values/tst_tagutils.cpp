#include "values/tagutils.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(Money)

namespace {

Money rubles(double amount)
{
    Money m;
    m.let(amount);
    return m;
}

} // namespace

class TestTagUtils : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void parseInt_data();
    void parseInt();
    void parseBool_data();
    void parseBool();
    void parseDate_data();
    void parseDate();
    void scalarText();
    void dateFlag_data();
    void dateFlag();
    void shortForm_data();
    void shortForm();
    void abbreviation_data();
    void abbreviation();
    void moneyFlags_data();
    void moneyFlags();
    void xmlEscaping_data();
    void xmlEscaping();
    void tagLineEscaping_data();
    void tagLineEscaping();
    void typedTagLines();
    void flagLetters_data();
    void flagLetters();
    void extractIndex_data();
    void extractIndex();
    void roles_data();
    void roles();
};

void TestTagUtils::parseInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("0") << QStringLiteral("0") << true << 0;
    QTest::newRow("-1 reads as a number") << QStringLiteral("-1") << true << -1;
    QTest::newRow("empty") << QString() << false << -1;
    QTest::newRow("letters") << QStringLiteral("сорок") << false << -1;
    QTest::newRow("overflow") << QStringLiteral("99999999999") << false << -1;
}

void TestTagUtils::parseInt()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    bool parsed = !ok;
    QCOMPARE(TagUtils::parseInt(text, &parsed), value);
    QCOMPARE(parsed, ok);
}

void TestTagUtils::parseBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("value");
    QTest::newRow("Да") << QStringLiteral("Да") << true << true;
    QTest::newRow("ДА") << QStringLiteral("ДА") << true << true;
    QTest::newRow("True") << QStringLiteral("True") << true << true;
    QTest::newRow("FALSE") << QStringLiteral("FALSE") << true << false;
    QTest::newRow("1") << QStringLiteral("1") << false << false;
    QTest::newRow("yes") << QStringLiteral("yes") << false << false;
    QTest::newRow("empty") << QString() << false << false;
}

void TestTagUtils::parseBool()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(bool, value);
    bool parsed = !ok;
    QCOMPARE(TagUtils::parseBool(text, &parsed), value);
    QCOMPARE(parsed, ok);
}

void TestTagUtils::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("05.12.2026") << QStringLiteral("05.12.2026") << QDate(2026, 12, 5);
    QTest::newRow("no leap day") << QStringLiteral("29.02.2023") << QDate();
    QTest::newRow("iso") << QStringLiteral("2026-12-05") << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void TestTagUtils::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    bool ok = !date.isValid();
    QDate out(1999, 1, 1);
    QCOMPARE(TagUtils::parseDate(text, &ok, out), date);
    QCOMPARE(ok, date.isValid());
}

void TestTagUtils::scalarText()
{
    QString out;
    QVERIFY(TagUtils::processInt(-1, out).isNull());
    QCOMPARE(TagUtils::processInt(0, out), QStringLiteral("0"));
    QCOMPARE(TagUtils::processInt(-2, out), QStringLiteral("-2"));
    QCOMPARE(TagUtils::processBool(true, out), QStringLiteral("Да"));
    QCOMPARE(TagUtils::processBool(false, out), QStringLiteral("Нет"));
    QVERIFY(TagUtils::processDate(QDate(), out).isEmpty());
    QVERIFY(TagUtils::processMoney(Money(), out).isNull());
    QCOMPARE(TagUtils::processMoney(Money(12, 5), out), QStringLiteral("12.05"));
    QVERIFY(TagUtils::processReal(Real(), out).isNull());
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCOMPARE(TagUtils::processReal(Real(0.25), out), QStringLiteral("0,25"));
}

void TestTagUtils::dateFlag_data()
{
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0L << QStringLiteral("07.03.2025");
    QTest::newRow("Y") << long(TAGFLAG_YEAR) << QStringLiteral("2025");
    QTest::newRow("Y with others") << long(TAGFLAG_YEAR | TAGFLAG_SHORT) << QStringLiteral("2025");
    QTest::newRow("other flags") << long(TAGFLAG_WORDS | TAGFLAG_ROUND_T) << QStringLiteral("07.03.2025");
}

void TestTagUtils::dateFlag()
{
    QFETCH(long, flags);
    QFETCH(QString, text);
    QString out;
    QCOMPARE(TagUtils::condProcessFlagDATE(flags, QDate(2025, 3, 7), out), text);
}

void TestTagUtils::shortForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortened");
    QTest::newRow("Иван") << QStringLiteral("Иван") << QStringLiteral("И.");
    QTest::newRow("one letter") << QStringLiteral("Я") << QStringLiteral("Я");
    QTest::newRow("empty") << QString() << QString();
}

void TestTagUtils::shortForm()
{
    QFETCH(QString, text);
    QFETCH(QString, shortened);
    QCOMPARE(TagUtils::processFlagSHORT(text), shortened);
    QCOMPARE(text, shortened);
}

void TestTagUtils::abbreviation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("abbreviated");
    QTest::newRow("ООО") << QStringLiteral("Общество с ограниченной ответственностью") << QStringLiteral("ООО");
    QTest::newRow("double spaces") << QStringLiteral("Общество  с  ограниченной ответственностью")
                                   << QStringLiteral("ООО");
    QTest::newRow("short words only") << QStringLiteral("и в на") << QString();
    QTest::newRow("four letters count") << QStringLiteral("Банк дом") << QStringLiteral("Б");
}

void TestTagUtils::abbreviation()
{
    QFETCH(QString, text);
    QFETCH(QString, abbreviated);
    QCOMPARE(TagUtils::processFlagABBREVIATION(text), abbreviated);
}

void TestTagUtils::moneyFlags_data()
{
    QTest::addColumn<Money>("amount");
    QTest::addColumn<long>("flags");
    QTest::addColumn<QString>("text");
    const Money amount = rubles(123456.78);
    QTest::newRow("none") << amount << 0L << QStringLiteral("123456.78");
    QTest::newRow("T") << amount << long(TAGFLAG_ROUND_T) << QStringLiteral("125000");
    QTest::newRow("R") << amount << long(TAGFLAG_WORDS)
                       << QStringLiteral("Сто двадцать три тысячи четыреста пятьдесят шесть рублей 78 копеек");
    QTest::newRow("R rounds first") << amount << long(TAGFLAG_WORDS | TAGFLAG_ROUND_T)
                                    << QStringLiteral("Сто двадцать пять тысяч рублей 00 копеек");
    QTest::newRow("null") << Money() << long(TAGFLAG_WORDS) << QString();
}

void TestTagUtils::moneyFlags()
{
    QFETCH(Money, amount);
    QFETCH(long, flags);
    QFETCH(QString, text);
    const Money before = amount;
    QString out = QStringLiteral("stale");
    QCOMPARE(TagUtils::condProcessFlagMONEY(flags, amount, out), text);
    QCOMPARE(out.isNull(), text.isNull());
    QCOMPARE(amount, before); // rounding works on a copy
}

void TestTagUtils::xmlEscaping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("plain") << QStringLiteral("ООО Ромашка") << QStringLiteral("ООО Ромашка");
    QTest::newRow("all five") << QStringLiteral("a&b<c>d\"e'f") << QStringLiteral("a&amp;b&lt;c&gt;d&quot;e&apos;f");
    QTest::newRow("existing entity escaped again") << QStringLiteral("&lt;") << QStringLiteral("&amp;lt;");
}

void TestTagUtils::xmlEscaping()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(TagUtils::toXmlValue(text), escaped);
    QCOMPARE(text, escaped);
}

void TestTagUtils::tagLineEscaping_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << QStringLiteral("Иванов") << QStringLiteral("ИМЯ=Иванов\n").toUtf8();
    QTest::newRow("line feed") << QStringLiteral("a\nb") << QByteArray("\xd0\x98\xd0\x9c\xd0\xaf=a\\nb\n");
    QTest::newRow("carriage return") << QStringLiteral("a\r\nb") << QByteArray("\xd0\x98\xd0\x9c\xd0\xaf=a\\r\\nb\n");
    QTest::newRow("backslash doubled") << QStringLiteral("C:\\new") << QByteArray("\xd0\x98\xd0\x9c\xd0\xaf=C:\\\\new\n");
    QTest::newRow("empty") << QString() << QByteArray("\xd0\x98\xd0\x9c\xd0\xaf=\n");
}

void TestTagUtils::tagLineEscaping()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    QByteArray out;
    QString v = value;
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("ИМЯ"), v, out), line);
    QCOMPARE(out.count('\n'), 1);
    QVERIFY(out.endsWith('\n'));
    QCOMPARE(QString::fromUtf8(out).mid(4).chopped(1), v); // the caller's value is escaped in place
}

void TestTagUtils::typedTagLines()
{
    QByteArray out;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("N"), 5, out), QByteArray("N=5\n"));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("N"), -1, out), QByteArray("N=\n"));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("B"), true, out), QStringLiteral("B=Да\n").toUtf8());
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("R"), Real(0.25), out), QByteArray("R=0.25\n"));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("R"), Real(), out), QByteArray("R=\n"));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("M"), Money(7, 5), out), QByteArray("M=7.05\n"));
    QCOMPARE(TagUtils::mkTagLine(QStringLiteral("D"), QDate(2026, 1, 2), out), QByteArray("D=02.01.2026\n"));
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
    QTest::newRow("ОЦЕНЩИК_0") << QStringLiteral("ОЦЕНЩИК_0") << true << QStringLiteral("ОЦЕНЩИК") << 0;
    QTest::newRow("last underscore wins") << QStringLiteral("A_1_2") << true << QStringLiteral("A_1") << 2;
    QTest::newRow("no suffix") << QStringLiteral("ОЦЕНЩИК") << false << QStringLiteral("untouched") << 77;
    QTest::newRow("letters after underscore") << QStringLiteral("ДАТА_ОЦЕНКИ") << false << QStringLiteral("untouched") << 77;
    QTest::newRow("trailing line feed") << QStringLiteral("A_5\n") << false << QStringLiteral("untouched") << 77;
}

void TestTagUtils::extractIndex()
{
    QString indexed;
    QCOMPARE(TagUtils::appendIndex(QStringLiteral("ОЦЕНЩИК"), 3, indexed), QStringLiteral("ОЦЕНЩИК_3"));

    QFETCH(QString, tag);
    QFETCH(bool, matched);
    QFETCH(QString, base);
    QFETCH(int, index);
    int i = 77;
    QString foundBase = QStringLiteral("untouched");
    QCOMPARE(TagUtils::extractIndex(tag, i, foundBase), matched);
    QCOMPARE(foundBase, base);
    QCOMPARE(i, index);
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
