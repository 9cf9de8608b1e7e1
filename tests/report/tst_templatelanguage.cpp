#include "report/tagpatterns.h"
#include "report/templatetotxt.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

namespace {

// Б1 holds 16 Б2, each holding 16 Б3 ... down to Б7, a kilobyte of text.
QString multiplyingMetaTags()
{
    QString lines;
    for (int level = 1; level < 7; ++level)
        lines += QStringLiteral("<%Б%1%>=").arg(level) + QStringLiteral("<%Б%1%>").arg(level + 1).repeated(16)
            + QLatin1Char('\n');
    return lines + QStringLiteral("<%Б7%>=") + QString(1024, QLatin1Char('x')) + QLatin1Char('\n');
}

// A text generator whose evaluation is a fixed map of values, with the tag brackets of
// either text templates ("<", ">") or of the escaped XML of DOCX parts ("&lt;", "&gt;").
// Every name starting with МНОГО_ has a value, for the copy limit of repeated blocks.
class MapGenerator : public TemplateToTxt
{
public:
    explicit MapGenerator(bool escapedBrackets = false) : escaped(escapedBrackets)
    {
        values = {
            {QStringLiteral("ФИО"), QStringLiteral("Иванов")},
            {QStringLiteral("ПУСТО"), QStringLiteral("")},
            {QStringLiteral("ТИП"), QStringLiteral("1")},
            {QStringLiteral("ГАРАНТИЯ"), QStringLiteral("Да")},
            {QStringLiteral("ОЦЕНЩИК_0"), QStringLiteral("Петров")},
            {QStringLiteral("ОЦЕНЩИК_1"), QStringLiteral("Сидоров")},
            {QStringLiteral("ОПАСНО"), QStringLiteral("<a> & \"q\" 'k'")},
            {QStringLiteral("САМ"), QStringLiteral("<#САМ#> <#ФИО#> <?ФИО?>x<?>")},
        };
        QBuffer catalog;
        catalog.setData((QStringLiteral("<%ШАПКА%> = Оценщик: <#ФИО#><?ТИП=1?>, тип один<?/ТИП?>\n"
                                       "<%ВЛОЖЕНО%>=[<%ШАПКА%>|<%ШАПКА%>]\n"
                                       "<%ЦИКЛ%>=x<%ЦИКЛ%>\n"
                                       "<%Т1%>=1<%Т2%>\n<%Т2%>=2<%Т3%>\n<%Т3%>=3<%Т4%>\n<%Т4%>=4<%Т5%>\n"
                                       "<%Т5%>=5<%Т6%>\n<%Т6%>=6<%Т7%>\n<%Т7%>=7<%Т8%>\n<%Т8%>=8<%Т9%>\n<%Т9%>=9\n"
                                       "<%ПЕРЕЧЕНЬ%>=<p><#ОЦЕНЩИК#>;<#НОМЕР_ПАРАГРАФА#></p>\n")
                                + multiplyingMetaTags())
                            .toUtf8());
        getMetaTagCatalog().load(catalog);
    }

    QString& getTag(const QString& name, QString& value, long flags) override
    {
        asked.append({name, flags});
        if (name.startsWith(QStringLiteral("МНОГО_"))) {
            value = QStringLiteral("v");
            return value;
        }
        if (values.contains(name)) {
            value = values.value(name);
            return TagUtils::toXmlValue(value);
        }
        return TemplateToTxt::getTag(name, value, flags);
    }

    QString leftTagBracket() const override { return escaped ? QStringLiteral("&lt;") : QStringLiteral("<"); }
    QString rightTagBracket() const override { return escaped ? QStringLiteral("&gt;") : QStringLiteral(">"); }

    QString filter(const QString& text)
    {
        QBuffer in;
        in.setData(text.toUtf8());
        in.open(QIODevice::ReadOnly);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        if (!filtering(in, out))
            return QStringLiteral("<filtering failed>");
        return QString::fromUtf8(out.data());
    }

    QMap<QString, QString> values;
    QList<QPair<QString, long>> asked;

private:
    bool escaped;
};

} // namespace

class TestTemplateLanguage : public QObject
{
    Q_OBJECT

private slots:
    void filtering_data();
    void filtering();
    void eachTagResolvedOncePerText();
    void copiesOfARepeatedBlockAreLimited_data();
    void copiesOfARepeatedBlockAreLimited();
    void withoutEvaluationTagsBecomeEmpty();
    void textGrowingPastItsBoundIsNotWritten_data();
    void textGrowingPastItsBoundIsNotWritten();
    void plainTagsFoundWhereThePatternFindsThem();
    void conditionsDecidedAsFormAfterForm();
};

void TestTemplateLanguage::filtering_data()
{
    QTest::addColumn<bool>("escapedBrackets");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    auto row = [](const char* name, const QString& text, const QString& expected, bool escaped = false) {
        QTest::newRow(name) << escaped << text << expected;
    };
    row("no tags", QStringLiteral("<p>Отчёт & <b>жирный</b></p>"), QStringLiteral("<p>Отчёт & <b>жирный</b></p>"));
    row("tag", QStringLiteral("a <#ФИО#> b <#ФИО#>"), QStringLiteral("a Иванов b Иванов"));
    row("unknown tag", QStringLiteral("a<#НЕТ#S#>b"), QStringLiteral("ab"));
    row("escaped value", QStringLiteral("<#ОПАСНО#>"), QStringLiteral("&lt;a&gt; &amp; &quot;q&quot; &apos;k&apos;"));
    row("value with tag text, escaped brackets", QStringLiteral("&lt;#САМ#&gt;|&lt;#ФИО#&gt;"),
        QStringLiteral("&lt;#САМ#&gt; &lt;#ФИО#&gt; &lt;?ФИО?&gt;x&lt;?&gt;|Иванов"), true);

    row("short block, value", QStringLiteral("<?ФИО?>abc<?>"), QStringLiteral("abc"));
    row("short block, empty", QStringLiteral("1<?ПУСТО?>abc<?>2"), QStringLiteral("12"));
    row("short block, unknown", QStringLiteral("1<?НЕТ?>abc<?>2"), QStringLiteral("12"));
    row("long block", QStringLiteral("<?ФИО?>a\nb<?/ФИО?>"), QStringLiteral("a\nb"));
    row("empty block, value", QStringLiteral("<?ФИО!?>abc<?/ФИО?>"), QStringLiteral(""));
    row("empty block, empty", QStringLiteral("<?ПУСТО!?>abc<?/ПУСТО?>"), QStringLiteral("abc"));
    row("equal", QStringLiteral("<?ТИП=1?>abc<?/ТИП?><?ТИП=2?>def<?/ТИП?>"), QStringLiteral("abc"));
    row("not equal", QStringLiteral("<?ТИП!1?>abc<?/ТИП?><?ТИП!2?>def<?/ТИП?>"), QStringLiteral("def"));
    row("nested, both kept", QStringLiteral("<?ФИО?>a<?ПУСТО!?>b<?/ПУСТО?>c<?/ФИО?>"), QStringLiteral("abc"));
    row("nested, inner dropped", QStringLiteral("<?ФИО?>a<?ТИП=2?>b<?/ТИП?>c<?/ФИО?>"), QStringLiteral("ac"));
    row("nested, same form", QStringLiteral("<?ФИО?>a<?ТИП?>b<?/ТИП?>c<?/ФИО?>"), QStringLiteral("abc"));
    row("nested, outer dropped", QStringLiteral("<?ПУСТО?>a<?ФИО?>b<?/ФИО?><?/ПУСТО?>z"), QStringLiteral("z"));
    row("two blocks of one name", QStringLiteral("<?ФИО?>a<?/ФИО?>-<?ФИО?>b<?/ФИО?>"), QStringLiteral("a-b"));
    row("nested on one tag", QStringLiteral("[<?ГАРАНТИЯ=Да?>a<?ГАРАНТИЯ=Нет?>b<?/ГАРАНТИЯ?>c<?/ГАРАНТИЯ?>]"),
        QStringLiteral("[ac]"));
    row("nested on one tag, same form", QStringLiteral("<?ФИО?>a<?ФИО?>b<?/ФИО?>c<?/ФИО?>"), QStringLiteral("abc"));
    row("nested on one tag, outer dropped", QStringLiteral("<?ПУСТО?>a<?ПУСТО!?>b<?/ПУСТО?>c<?/ПУСТО?>z"),
        QStringLiteral("z"));
    row("opening never closed stays", QStringLiteral("<?ФИО?>a<?ФИО!?>b<?/ФИО?>"), QStringLiteral("<?ФИО?>a"));
    row("short block holding a question mark stays", QStringLiteral("<?ФИО?>да?<?>"), QStringLiteral("<?ФИО?>да?<?>"));
    row("condition, escaped brackets", QStringLiteral("&lt;?ТИП=1?&gt;abc&lt;?/ТИП?&gt;"), QStringLiteral("abc"), true);

    row("repeated paragraph",
        QStringLiteral("<p>Оценщик <#ОЦЕНЩИК#> <#НОМЕР_ПАРАГРАФА#></p>\n<p><#ФИО#></p>"),
        QStringLiteral("<p>Оценщик Петров 1</p><p>Оценщик Сидоров 2</p>\n<p>Иванов</p>"));
    row("repeated paragraph without data", QStringLiteral("a<p><#НЕТ#> <#НОМЕР_ПАРАГРАФА#></p>b"), QStringLiteral("ab"));
    row("repeated table", QStringLiteral("<table><tr><#НОМЕР_СТРОКИ#>. <#ОЦЕНЩИК#S#></tr></table>"),
        QStringLiteral("<table><tr>1. Петров</tr></table><table><tr>2. Сидоров</tr></table>"));
    row("condition inside a repeated paragraph, decided on the name without index",
        QStringLiteral("<p><?ФИО?>+<?/ФИО?><?ОЦЕНЩИК?>!<?/ОЦЕНЩИК?><#ОЦЕНЩИК#><#НОМЕР_ПАРАГРАФА#></p>"),
        QStringLiteral("<p>+Петров1</p><p>+Сидоров2</p>"));
    row("markers outside blocks", QStringLiteral("№<#НОМЕР_СТРОКИ#>/<#НОМЕР_ПАРАГРАФА#>."), QStringLiteral("№/."));

    row("meta tag with a tag and a condition", QStringLiteral("<%ШАПКА%>."), QStringLiteral("Оценщик: Иванов, тип один."));
    row("meta tag in meta tag", QStringLiteral("<%ВЛОЖЕНО%>"),
        QStringLiteral("[Оценщик: Иванов, тип один|Оценщик: Иванов, тип один]"));
    row("meta tags nested 8 deep, the 9th left empty", QStringLiteral("<%Т1%>|<%Т2%>"),
        QStringLiteral("12345678|23456789"));
    row("meta tag containing itself", QStringLiteral("<%ЦИКЛ%>"), QStringLiteral("x"));
    row("meta tag with a repeated paragraph", QStringLiteral("<%ПЕРЕЧЕНЬ%>"),
        QStringLiteral("<p>Петров;1</p><p>Сидоров;2</p>"));
    row("unknown meta tag and br", QStringLiteral("a<%НЕТ%>b<%br%>c"), QStringLiteral("abc"));
    row("meta tag, escaped brackets", QStringLiteral("&lt;%ШАПКА%&gt;"), QStringLiteral("Оценщик: Иванов, тип один"), true);
    row("meta tag as a plain tag: its text as a value", QStringLiteral("<#ЦИКЛ#>"), QStringLiteral("x&lt;%ЦИКЛ%&gt;"));
}

void TestTemplateLanguage::filtering()
{
    QFETCH(bool, escapedBrackets);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    MapGenerator generator(escapedBrackets);
    QCOMPARE(generator.filter(text), expected);
}

void TestTemplateLanguage::eachTagResolvedOncePerText()
{
    MapGenerator generator;
    const QString text = QStringLiteral("<#СТОИМОСТЬ#R#T#> <#СТОИМОСТЬ#r#t#> <#СТОИМОСТЬ#R#T#> <?СТОИМОСТЬ?>x<?> <#СТОИМОСТЬ#>");
    generator.filter(text);
    const QList<QPair<QString, long>> expected = {
        {QStringLiteral("СТОИМОСТЬ"), 0L},    // the condition
        {QStringLiteral("СТОИМОСТЬ"), 0x90L}, // both spellings of R and T
    };
    QCOMPARE(generator.asked, expected);
}

void TestTemplateLanguage::copiesOfARepeatedBlockAreLimited_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("items"); // of РЯД; МНОГО has any number

    QTest::newRow("as many items as copies") << "<p><#РЯД#><#НОМЕР_ПАРАГРАФА#></p>"
                                             << TemplateToDocument::MAX_BLOCK_COPIES;
    QTest::newRow("one item more") << "<p><#РЯД#><#НОМЕР_ПАРАГРАФА#></p>" << TemplateToDocument::MAX_BLOCK_COPIES + 1;
    QTest::newRow("no end of items") << "<table><#МНОГО#><#НОМЕР_СТРОКИ#></table>" << 0;
}

// A report never lacks items silently: one item more than the copies fails, naming the block.
void TestTemplateLanguage::copiesOfARepeatedBlockAreLimited()
{
    QFETCH(QString, block);
    QFETCH(int, items);
    MapGenerator generator;
    for (int i = 0; i < items; ++i)
        generator.values.insert(QStringLiteral("РЯД_%1").arg(i), QStringLiteral("v"));
    const QString out = generator.filter(QStringLiteral("x") + block);
    if (items == TemplateToDocument::MAX_BLOCK_COPIES) {
        QCOMPARE(out.count(QStringLiteral("<p>")), TemplateToDocument::MAX_BLOCK_COPIES);
        QVERIFY(out.endsWith(QStringLiteral("<p>v1500</p>")));
        QVERIFY(generator.passFailure().isEmpty());
    } else {
        QCOMPARE(out, QStringLiteral("<filtering failed>"));
        QVERIFY2(generator.passFailure().contains(block), qPrintable(generator.passFailure()));
    }
}

void TestTemplateLanguage::withoutEvaluationTagsBecomeEmpty()
{
    TemplateToTxt generator;
    QVERIFY(!generator.isValidSource());
    QString value = QStringLiteral("left over");
    QVERIFY(generator.getTag(QStringLiteral("ФИО"), value, 0).isNull());
    QVERIFY(generator.getTag(QStringLiteral("br"), value, 0).isEmpty());
    QVERIFY(!value.isNull());
}

void TestTemplateLanguage::textGrowingPastItsBoundIsNotWritten_data()
{
    QTest::addColumn<QString>("text");
    // 16^6 KiB of text, from a few lines of meta tags.
    QTest::newRow("meta tags multiplying each other") << QStringLiteral("<%Б1%>");
    // A paragraph repeated for 1500 values of a megabyte each.
    QTest::newRow("large values in a repeated paragraph") << QStringLiteral("<p><#БОЛЬШОЙ#><#НОМЕР_ПАРАГРАФА#></p>");
}

void TestTemplateLanguage::textGrowingPastItsBoundIsNotWritten()
{
    QFETCH(QString, text);
    MapGenerator generator;
    const QString megabyte(1024 * 1024, QLatin1Char('y'));
    for (int i = 0; i < TemplateToDocument::MAX_BLOCK_COPIES; ++i)
        generator.values.insert(QStringLiteral("БОЛЬШОЙ_%1").arg(i), megabyte);
    QCOMPARE(generator.filter(text), QStringLiteral("<filtering failed>"));
}

// The tag pass finds tags by plain searches; the pattern that defines them is the judge.
// Random texts of tag-like pieces, for both kinds of brackets, must give the same tags,
// names, flags and extents, and the same flags read from each.
void TestTemplateLanguage::plainTagsFoundWhereThePatternFindsThem()
{
    const QStringList pieces = {QStringLiteral("#"), QStringLiteral("#R"), QStringLiteral("#РТ"), QStringLiteral("#_1"),
                                QStringLiteral("ИМЯ"), QStringLiteral("a b"), QStringLiteral("&"), QStringLiteral(";"),
                                QStringLiteral("\U0001D400"), QStringLiteral("<"), QStringLiteral(">"),
                                QStringLiteral("&lt;"), QStringLiteral("&gt;"), QStringLiteral("-"), QStringLiteral("\n")};
    QRandomGenerator random(7);
    int tags = 0;
    for (const auto& [left, right] : {std::pair{QStringLiteral("<"), QStringLiteral(">")},
                                      std::pair{QStringLiteral("&lt;"), QStringLiteral("&gt;")}}) {
        const TagPatterns language(left, right, QRegularExpression(), QRegularExpression());
        QStringList all = pieces;
        for (int weight = 0; weight < 3; ++weight)
            all << left + QLatin1Char('#') << QLatin1Char('#') + right;
        for (int round = 0; round < 3000; ++round) {
            QString text;
            for (int n = random.bounded(12); n >= 0; --n)
                text += all.at(random.bounded(int(all.size())));
            QRegularExpressionMatchIterator expected = language.plainTag().globalMatch(text);
            TagPatterns::PlainTag found;
            qsizetype from = 0;
            while (expected.hasNext()) {
                const QRegularExpressionMatch match = expected.next();
                QVERIFY2(language.findPlainTag(text, from, found), qPrintable(text));
                QCOMPARE(found.start, match.capturedStart());
                QCOMPARE(found.end, match.capturedEnd());
                QCOMPARE(found.name, match.capturedView(1));
                QCOMPARE(found.flags, match.capturedView(2));
                QStringList flags;
                for (QRegularExpressionMatchIterator flag = TagPatterns::flag().globalMatch(found.flags); flag.hasNext();)
                    flags << flag.next().captured(1);
                QStringList read;
                for (const QStringView flag : TagPatterns::flagsOf(found.flags))
                    read << flag.toString();
                QCOMPARE(read, flags);
                from = found.end;
                ++tags;
            }
            QVERIFY2(!language.findPlainTag(text, from, found), qPrintable(text));
        }
    }
    QVERIFY2(tags > 500, qPrintable(QString::number(tags)));
}

// The condition pass finds the markers once and again only after a form changed the
// text; deciding the forms one after the other, each reading the text anew, is the
// judge. Random texts of marker pieces, whose removed blocks may bring the halves of a
// new marker together, must come out the same.
void TestTemplateLanguage::conditionsDecidedAsFormAfterForm()
{
    const QStringList pieces = {QStringLiteral("<?ФИО?>"),  QStringLiteral("<?/ФИО?>"), QStringLiteral("<?ПУСТО!?>"),
                                QStringLiteral("<?/ПУСТО?>"), QStringLiteral("<?ТИП=1?>"), QStringLiteral("<?ТИП!1?>"),
                                QStringLiteral("<?/ТИП?>"),  QStringLiteral("<?>"),     QStringLiteral("<"),
                                QStringLiteral("?"),         QStringLiteral("?>"),      QStringLiteral("ФИО"),
                                QStringLiteral("x"),         QStringLiteral("<?ПУСТО?>")};
    const condtype_t types[] = {COND_NOT_EMPTY, COND_NOT_EMPTY, COND_EMPTY, COND_NOT_EQUAL, COND_EQUAL};
    MapGenerator generator;
    const TagPatterns language(generator.leftTagBracket(), generator.rightTagBracket(), QRegularExpression(),
                               QRegularExpression());
    QRandomGenerator random(11);
    int changed = 0;
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int n = random.bounded(14); n >= 0; --n)
            text += pieces.at(random.bounded(int(pieces.size())));
        QString expected = text;
        for (int form = 0; form < TagPatterns::CONDITION_FORMS; ++form)
            QVERIFY(generator.replaceCondTags(expected, language.condition(form), types[form]));
        QString decided = text;
        QVERIFY(generator.replaceCondTags(decided));
        QVERIFY2(decided == expected, qPrintable(text + QLatin1String(" -> ") + decided + QLatin1String(" / ") + expected));
        changed += expected != text ? 1 : 0;
    }
    QVERIFY2(changed > 1000, qPrintable(QString::number(changed)));
}

QTEST_GUILESS_MAIN(TestTemplateLanguage)
#include "tst_templatelanguage.moc"
