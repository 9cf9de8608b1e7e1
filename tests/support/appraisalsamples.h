#ifndef ZENTAVO_APPRAISALSAMPLES_H
#define ZENTAVO_APPRAISALSAMPLES_H

#include <QPixmap>

class AppraisalCompany;
class Appraiser;

// Appraisal companies and appraisers with every field filled, for tests that store them
// in the catalog or copy them into an evaluation.
void fillLegalEntity(AppraisalCompany& company, const QString& name, const QString& inn);
void fillProprietor(AppraisalCompany& company, const QString& lastName, const QString& inn);
void fillAppraiser(Appraiser& appraiser, const QString& lastName);
void fillSpecialist(Appraiser& specialist, const QString& lastName);
QPixmap sampleLogo();
// The rows of one table of the catalog database.
int rowCount(const char* table);

#endif
