#include "appraisalsamples.h"
#include "catalog/appraisalcompany.h"
#include "catalog/sqlstorage.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

// A host without a GUI (a service, a batch job) resolves the tags of an evaluation whose
// appraisal company has its logo in the catalog: nothing there needs a QGuiApplication.
class TestCompanyTagsWithoutGui : public QObject
{
    Q_OBJECT

private slots:
    void companyTagsAndLogo();
};

void TestCompanyTagsWithoutGui::companyTagsAndLogo()
{
    QVERIFY(!qobject_cast<QGuiApplication*>(QCoreApplication::instance()));
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    const QString name = QStringLiteral("ООО «Эксперт»"), inn = QStringLiteral("7701000001");
    AppraisalCompany stored;
    fillLegalEntity(stored, name, inn);
    QVERIFY(stored.save());

    EvaluationTagStorage storage;
    AutoEvaluation evaluation(storage);
    QTemporaryDir dir;
    QVERIFY(reloadedWithOneAppraiser(evaluation, name, inn, dir.filePath(QStringLiteral("evaluation.zip"))));

    QString value;
    QVERIFY(evaluation.getTag(QStringLiteral("НАИМЕНОВАНИЕ_ЮЛ_ОЦЕН_КОМП_1"), value, 0));
    QCOMPARE(value, name);
    AppraisalCompany* company = evaluation.getAppraiserList()->getAppraiserInOrder(0)->getAppraisalCompany();
    QImage logo;
    QCOMPARE(company->getLogo(logo).convertToFormat(QImage::Format_RGB32), sampleLogo());
}

QTEST_GUILESS_MAIN(TestCompanyTagsWithoutGui)
#include "tst_companytagswithoutgui.moc"
