#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString projectRoot = QStringLiteral(ZENTAVO_TESTS_DIR "/..");

struct Check
{
    int exitCode = -1;
    QStringList lines;
};

Check checkLayers(const QString& root)
{
    QProcess process;
    process.start(QStringLiteral("bash"), {projectRoot + QStringLiteral("/scripts/check-layers.sh"), root});
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit)
        return {};
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return {process.exitCode(), out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

// Into a tree that has a src/ folder, as every checked tree does.
bool writeSource(const QString& root, const QString& path, const QString& text)
{
    QFile file(root + QLatin1Char('/') + path);
    return QDir(root).mkpath(QStringLiteral("src")) && QDir(root).mkpath(QFileInfo(path).path())
           && file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT

private slots:
    void includeOfAnotherFloor_data();
    void includeOfAnotherFloor();
    void folderOnNoFloorIsReported();
    void treeIncludesNoHigherFloor();
};

void TestLayers::includeOfAnotherFloor_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("directive");
    QTest::addColumn<QString>("verdict"); // empty: allowed

    QTest::newRow("runtime up to catalog") << "src/runtime/config.cpp" << "#include \"catalog/sqlstorage.h\""
                                           << "runtime climbs to catalog";
    QTest::newRow("values up to model") << "src/values/money.h" << "#include \"model/party.h\""
                                        << "values climbs to model";
    QTest::newRow("model up to catalog") << "src/model/party.h" << "#include \"catalog/bankcatalog.h\""
                                         << "model climbs to catalog";
    QTest::newRow("catalog up to evaluation") << "src/catalog/appraiser.h" << "#include \"evaluation/party.h\""
                                              << "catalog climbs to evaluation";
    QTest::newRow("evaluation up to report") << "src/evaluation/informer.cpp"
                                             << "#include \"report/templateslist.h\""
                                             << "evaluation climbs to report";
    QTest::newRow("report across to catalogsource")
        << "src/report/templateslist.cpp" << "#include \"catalogsource/catalogsource.h\""
        << "report reaches across to catalogsource on its own floor";
    QTest::newRow("catalogsource across to report")
        << "src/catalogsource/catalogsource.cpp" << "#include \"report/templateslist.h\""
        << "catalogsource reaches across to report on its own floor";
    QTest::newRow("climb through a relative path") << "src/runtime/download.cpp" << "#include \"../catalog/sqlstorage.h\""
                                                   << "runtime climbs to catalog";
    QTest::newRow("climb in angle brackets") << "src/values/real.cpp" << "#  include <evaluation/vehicle.h>"
                                             << "values climbs to evaluation";
    QTest::newRow("evaluation down to catalog") << "src/evaluation/vehicleontag.cpp"
                                                << "#include \"catalog/vehiclebrandcatalog.h\"" << "";
    QTest::newRow("report down to evaluation") << "src/report/templatetodocx.cpp"
                                               << "#include \"evaluation/autoevaluation.h\"" << "";
    QTest::newRow("own folder") << "src/catalog/bankcatalog.cpp" << "#include \"catalog/sqlstorage.h\"" << "";
    QTest::newRow("header without folder") << "src/runtime/logger.h" << "#include \"zentavo_export.h\"" << "";
    QTest::newRow("library outside the tree") << "src/runtime/download.cpp" << "#include <quazip/quazip.h>" << "";
    QTest::newRow("commented out") << "src/runtime/config.cpp" << "// #include \"catalog/sqlstorage.h\"" << "";
    QTest::newRow("tools include every floor") << "tools/zentavo/main.cpp" << "#include \"report/templatetodocx.h\""
                                               << "";
}

void TestLayers::includeOfAnotherFloor()
{
    QFETCH(QString, file);
    QFETCH(QString, directive);
    QFETCH(QString, verdict);
    QTemporaryDir tree;
    QVERIFY(writeSource(tree.path(), file, QStringLiteral("// a source\n%1\n").arg(directive)));

    const Check check = checkLayers(tree.path());

    if (verdict.isEmpty()) {
        QCOMPARE(check.exitCode, 0);
        QCOMPARE(check.lines, QStringList{QStringLiteral("layers: 1 files, no include climbs a floor")});
    } else {
        QCOMPARE(check.exitCode, 1);
        QCOMPARE(check.lines, QStringList{QStringLiteral("%1:2: %2: %3").arg(file, directive.trimmed(), verdict)});
    }
}

void TestLayers::folderOnNoFloorIsReported()
{
    QTemporaryDir tree;
    QVERIFY(writeSource(tree.path(), QStringLiteral("src/misc/helper.h"), QStringLiteral("#pragma once\n")));

    const Check check = checkLayers(tree.path());

    QCOMPARE(check.exitCode, 1);
    QCOMPARE(check.lines, QStringList{QStringLiteral("src/misc/helper.h: misc is on no floor")});
}

void TestLayers::treeIncludesNoHigherFloor()
{
    const Check check = checkLayers(projectRoot);

    QVERIFY2(check.exitCode == 0, qPrintable(check.lines.join(QLatin1Char('\n'))));
    QCOMPARE(check.lines.size(), 1);
    QVERIFY(check.lines.first().endsWith(QLatin1String(" files, no include climbs a floor")));
}

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
