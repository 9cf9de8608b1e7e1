#include "runtime/autoevalexception.h"
#include "runtime/errorinfo.h"
#include "runtime/moneyexception.h"

#include <QScopedPointer>
#include <QTest>

#include <exception>

class TestErrors : public QObject
{
    Q_OBJECT

private slots:
    void freshErrorInfoIsEmpty();
    void errorInfoMessageFollowsCode_data();
    void errorInfoMessageFollowsCode();
    void standardMessagesNameTheArchive();
    void exceptionCarriesItsLocation();
    void cloneCopiesEveryField_data();
    void cloneCopiesEveryField();
    void raiseThrowsTheDerivedType();
    void whatAnswersTheBaseText();
    void throwMacroNamesThisFile();
    void moneyExceptionRaisesItsOwnType();
};

void TestErrors::freshErrorInfoIsEmpty()
{
    const ErrorInfo info;
    QCOMPARE(info.code(), ErrorInfo::ErrNone);
    QVERIFY(info.message().isEmpty());
}

void TestErrors::errorInfoMessageFollowsCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("read") << int(ErrorInfo::ErrRead) << QStringLiteral("some text");
    QTest::newRow("write") << int(ErrorInfo::ErrWrite) << QStringLiteral("some text");
    QTest::newRow("none hides a stored text") << int(ErrorInfo::ErrNone) << QString();
}

void TestErrors::errorInfoMessageFollowsCode()
{
    QFETCH(int, code);
    QFETCH(QString, shown);
    ErrorInfo info;
    info.set(ErrorInfo::ErrRead, QStringLiteral("earlier"));
    info.set(static_cast<ErrorInfo::errorcode_t>(code), QStringLiteral("some text"));
    QCOMPARE(int(info.code()), code);
    QCOMPARE(info.message(), shown);
    // The text stays stored behind a cleared code and shows again with a real code.
    info.set(ErrorInfo::ErrWrite, info.message().isEmpty() ? QStringLiteral("again") : info.message());
    QVERIFY(!info.message().isEmpty());
}

void TestErrors::standardMessagesNameTheArchive()
{
    QCOMPARE(ErrorInfo::standardMessage(ErrorInfo::ErrWrite, QStringLiteral("out.docx")),
             QStringLiteral("Unable write to document out.docx"));
    QCOMPARE(ErrorInfo::standardMessage(ErrorInfo::ErrRead, QStringLiteral("in.docx")),
             QStringLiteral("Unable read from template in.docx"));
    QVERIFY(ErrorInfo::standardMessage(ErrorInfo::ErrNone, QStringLiteral("x")).isEmpty());
}

void TestErrors::exceptionCarriesItsLocation()
{
    const AutoEvalException e(QStringLiteral("src/values/money.cpp"), 42);
    QCOMPARE(e.getFile(), QStringLiteral("src/values/money.cpp"));
    QCOMPARE(e.getLine(), 42);
    QVERIFY(e.getMessage().isEmpty());
    const AutoEvalException withText(QStringLiteral("host.cpp"), 7, QStringLiteral("no evaluation open"));
    QCOMPARE(withText.getMessage(), QStringLiteral("no evaluation open"));
}

void TestErrors::cloneCopiesEveryField_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("two-argument form") << QString();
    QTest::newRow("with message") << QStringLiteral("текст");
}

void TestErrors::cloneCopiesEveryField()
{
    QFETCH(QString, message);
    const AutoEvalException original(QStringLiteral("file"), 12, message);
    const QScopedPointer<AutoEvalException> copy(original.clone());
    QCOMPARE(copy->getFile(), original.getFile());
    QCOMPARE(copy->getLine(), original.getLine());
    QCOMPARE(copy->getMessage(), message);
}

void TestErrors::raiseThrowsTheDerivedType()
{
    const AutoEvalException original(QStringLiteral("file"), 12);
    const QScopedPointer<QException> stored(original.clone());
    try {
        stored->raise();
        QFAIL("raise() must throw");
    } catch (const AutoEvalException& e) {
        QCOMPARE(e.getLine(), 12);
    } catch (...) {
        QFAIL("raise() threw another type");
    }
}

void TestErrors::whatAnswersTheBaseText()
{
    const AutoEvalException e(QStringLiteral("file"), 1);
    QCOMPARE(QByteArray(e.what()), QByteArray("std::exception"));
    const std::exception& base = e;
    QCOMPARE(QByteArray(base.what()), QByteArray("std::exception"));
}

void TestErrors::throwMacroNamesThisFile()
{
    try {
        ZENTAVO_THROW();
    } catch (const AutoEvalException& e) {
        // The build maps source paths to paths relative to the project root.
        QCOMPARE(e.getFile(), QStringLiteral("tests/runtime/tst_errors.cpp"));
        QVERIFY(e.getLine() > 0);
        return;
    }
    QFAIL("ZENTAVO_THROW must throw");
}

void TestErrors::moneyExceptionRaisesItsOwnType()
{
    const QScopedPointer<QException> stored(MoneyException().clone());
    QVERIFY_THROWS_EXCEPTION(MoneyException, stored->raise());
}

QTEST_GUILESS_MAIN(TestErrors)
#include "tst_errors.moc"
