#ifndef ZENTAVO_APPRAISALSAMPLES_H
#define ZENTAVO_APPRAISALSAMPLES_H

#include <QImage>

class AppraisalCompany;
class Appraiser;
class AutoEvaluation;

// Appraisal companies and appraisers with every field filled, for tests that store them
// in the catalog or copy them into an evaluation.
void fillLegalEntity(AppraisalCompany& company, const QString& name, const QString& inn);
void fillProprietor(AppraisalCompany& company, const QString& lastName, const QString& inn);
void fillAppraiser(Appraiser& appraiser, const QString& lastName);
void fillSpecialist(Appraiser& specialist, const QString& lastName);
QImage sampleLogo();
// Gives the evaluation one appraiser of a legal entity with this name and taxpayer number,
// saves it to the file and reads it back: the company is then the evaluation's copy, whose
// logo comes from the catalog.
bool reloadedWithOneAppraiser(AutoEvaluation& evaluation, const QString& company, const QString& inn,
                              const QString& file);
// The rows of one table of the catalog database.
int rowCount(const char* table);
// Makes every statement of a kind ("insert", "update", "delete") on a table of the catalog
// database fail, as a full disk or a damaged file would, until refuseNoMore().
void refuseEvery(const QString& statement, const QString& table);
void refuseNoMore();

#endif
