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
    void errorInfoMessageFollowsCode_data();
    void errorInfoMessageFollowsCode();
    void standardMessagesNameTheArchive();
    void clonedExceptionRaisesItsOwnTypeWithEveryField();
    void throwMacroNamesThisFile();
};

void TestErrors::errorInfoMessageFollowsCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");
    QTest::newRow("read") << int(ErrorInfo::ErrRead) << QStringLiteral("some text");
    QTest::newRow("none hides a stored text") << int(ErrorInfo::ErrNone) << QString();
}

void TestErrors::errorInfoMessageFollowsCode()
{
    QFETCH(int, code);
    QFETCH(QString, shown);
    ErrorInfo info;
    QCOMPARE(info.code(), ErrorInfo::ErrNone);
    info.set(ErrorInfo::ErrRead, QStringLiteral("earlier"));
    info.set(static_cast<ErrorInfo::errorcode_t>(code), QStringLiteral("some text"));
    QCOMPARE(int(info.code()), code);
    QCOMPARE(info.message(), shown);
}

void TestErrors::standardMessagesNameTheArchive()
{
    QCOMPARE(ErrorInfo::standardMessage(ErrorInfo::ErrWrite, QStringLiteral("out.docx")),
             QStringLiteral("Unable write to document out.docx"));
    QCOMPARE(ErrorInfo::standardMessage(ErrorInfo::ErrRead, QStringLiteral("in.docx")),
             QStringLiteral("Unable read from template in.docx"));
    QVERIFY(ErrorInfo::standardMessage(ErrorInfo::ErrNone, QStringLiteral("x")).isEmpty());
}

void TestErrors::clonedExceptionRaisesItsOwnTypeWithEveryField()
{
    const QScopedPointer<QException> stored(
        AutoEvalException(QStringLiteral("file"), 12, QStringLiteral("текст")).clone());
    try {
        stored->raise();
        QFAIL("raise() must throw");
    } catch (const AutoEvalException& e) {
        QCOMPARE(e.getFile(), QStringLiteral("file"));
        QCOMPARE(e.getLine(), 12);
        QCOMPARE(e.getMessage(), QStringLiteral("текст"));
        // A host that catches only std::exception still learns where and why.
        const std::exception& base = e;
        QCOMPARE(QString::fromUtf8(base.what()), QStringLiteral("AutoEvalException at file:12: текст"));
    }
    const QScopedPointer<QException> money(MoneyException().clone());
    QVERIFY_THROWS_EXCEPTION(MoneyException, money->raise());
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

QTEST_GUILESS_MAIN(TestErrors)
#include "tst_errors.moc"
