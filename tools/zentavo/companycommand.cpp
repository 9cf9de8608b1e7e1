// zentavo company logo EVALUATION FILE: the logo of the appraisal company of the
// evaluation's first appraiser. Reports look the logo up in the catalog database by the
// company's kind and taxpayer number, so it replaces the logo of the stored company of
// that number; a company not stored yet is stored once, from the evaluation's copy.

#include "hostevaluation.h"
#include "subcommands.h"
#include "toolconsole.h"

#include "catalog/appraisalcompany.h"
#include "catalog/sqlstorage.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"

#include <QCoreApplication>
#include <QImage>

int runCompany(const QStringList& arguments)
{
    if (arguments.size() != 3 || arguments.at(0) != QLatin1String("logo"))
        return ToolConsole::fail(QStringLiteral("usage: zentavo company logo EVALUATION FILE"), ToolConsole::Usage);
    if (!SQLStorage::getInstance()->isHealthy())
        return ToolConsole::fail(SQLStorage::getInstance()->failure());
    HostEvaluation evaluation;
    QString error;
    if (!evaluation.reserve(arguments.at(1), error) || !evaluation.open(arguments.at(1), error))
        return ToolConsole::fail(error);
    AppraiserList* appraisers = evaluation.evaluation().getAppraiserList();
    AgreeAppraiser* first = appraisers->count() > 0 ? appraisers->getAppraiserInOrder(0) : nullptr;
    if (!first)
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "%1 names no appraiser").arg(arguments.at(1)));
    const QImage logo(arguments.at(2));
    if (logo.isNull())
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "%1: not a picture").arg(arguments.at(2)));
    AppraisalCompany* named = first->getAppraisalCompany();
    const QString inn = named->taxpayerNumber();
    if (inn.isEmpty())
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "%1: the appraisal company has no taxpayer "
                                                                        "number, by which reports find its logo")
                                     .arg(arguments.at(1)));
    int storedId = -1;
    if (!AppraisalCompany::findStored(named->getType(), inn, storedId))
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "the catalog database cannot be read"));
    AppraisalCompany stored;
    AppraisalCompany* company = named;
    if (storedId != -1) {
        stored.load(storedId);
        company = &stored;
    }
    company->setLogo(logo);
    if (!company->save())
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "the catalog database refused the company"));
    ToolConsole::out() << QCoreApplication::translate("zentavo", "logo stored for the appraisal company of %1")
                              .arg(arguments.at(1))
                       << '\n';
    return ToolConsole::Success;
}
