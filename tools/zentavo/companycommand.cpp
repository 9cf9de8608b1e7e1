// zentavo company logo EVALUATION FILE: the logo of the appraisal company of the
// evaluation's first appraiser. Reports look the logo up in the catalog database by the
// company's kind and taxpayer number, so it replaces the logo of the stored company of
// that number; a company not stored yet is stored once, from the evaluation's copy.

#include "commandline.h"
#include "hostevaluation.h"
#include "subcommands.h"
#include "toolconsole.h"

#include "catalog/appraisalcompany.h"
#include "catalog/sqlstorage.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"

#include <QCoreApplication>
#include <QImage>

int runCompany(const QStringList& commandLine)
{
    CommandLine line(QStringLiteral("company logo"), QStringLiteral("EVALUATION FILE"),
                     ToolConsole::tr("Stores a picture as the logo of the appraisal company of "
                                     "the evaluation's first appraiser, in the catalog database, "
                                     "where reports find it."));
    if (!line.parseAfterWord(commandLine, 2, 2))
        return line.exitCode();
    const QString path = line.positional().at(0);
    const QString picture = line.positional().at(1);
    if (!SQLStorage::getInstance()->isHealthy())
        return ToolConsole::fail(SQLStorage::getInstance()->failure());
    HostEvaluation evaluation;
    QString error;
    if (!evaluation.reserve(path, error) || !evaluation.open(path, error))
        return ToolConsole::fail(error);
    AppraiserList* appraisers = evaluation.evaluation().getAppraiserList();
    AgreeAppraiser* first = appraisers->count() > 0 ? appraisers->getAppraiserInOrder(0) : nullptr;
    if (!first)
        return ToolConsole::fail(ToolConsole::tr("%1 names no appraiser").arg(path));
    const QImage logo(picture);
    if (logo.isNull())
        return ToolConsole::fail(ToolConsole::tr("%1: not a picture").arg(picture));
    AppraisalCompany* named = first->getAppraisalCompany();
    const QString inn = named->taxpayerNumber();
    if (inn.isEmpty())
        return ToolConsole::fail(ToolConsole::tr("%1: the appraisal company has no taxpayer "
                                                 "number, by which reports find its logo")
                                     .arg(path));
    int storedId = -1;
    if (!AppraisalCompany::findStored(named->getType(), inn, storedId))
        return ToolConsole::fail(ToolConsole::tr("the catalog database cannot be read"));
    AppraisalCompany stored;
    AppraisalCompany* company = named;
    if (storedId != -1) {
        stored.load(storedId);
        company = &stored;
    }
    company->setLogo(logo);
    if (!company->save())
        return ToolConsole::fail(ToolConsole::tr("the catalog database refused the company"));
    ToolConsole::out() << ToolConsole::tr("logo stored for the appraisal company of %1").arg(path) << '\n';
    return ToolConsole::Success;
}
