// zentavo company logo EVALUATION FILE: the logo of the appraisal company of the
// evaluation's first appraiser, stored in the catalog database, where reports look it
// up by the company's taxpayer number.

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
    if (!evaluation.open(arguments.at(1), error))
        return ToolConsole::fail(error);
    AppraiserList* appraisers = evaluation.evaluation().getAppraiserList();
    AgreeAppraiser* first = appraisers->count() > 0 ? appraisers->getAppraiserInOrder(0) : nullptr;
    if (!first)
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "%1 names no appraiser").arg(arguments.at(1)));
    const QImage logo(arguments.at(2));
    if (logo.isNull())
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "%1: not a picture").arg(arguments.at(2)));
    AppraisalCompany* company = first->getAppraisalCompany();
    company->setLogo(QPixmap::fromImage(logo));
    if (!company->save())
        return ToolConsole::fail(QCoreApplication::translate("zentavo", "the catalog database refused the company"));
    ToolConsole::out() << QCoreApplication::translate("zentavo", "logo stored for the appraisal company of %1")
                              .arg(arguments.at(1))
                       << '\n';
    return ToolConsole::Success;
}
