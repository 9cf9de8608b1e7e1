#ifndef ZENTAVO_AGREEAPPRAISERONTAG_H
#define ZENTAVO_AGREEAPPRAISERONTAG_H

#include "evaluation/agreeappraiser.h"

#include <memory>

class EvaluationStorage;

// An entry of the evaluation's appraiser list over its tags. The participation is read
// when the entry is built; the person and the company on first access.
class ZENTAVO_EXPORT AgreeAppraiserOnTag : public AgreeAppraiser
{
public:
    AgreeAppraiserOnTag(int position, EvaluationStorage* storage);
    ~AgreeAppraiserOnTag() override;

    void save(QIODevice& out) override;
    void saveAt(int position, QIODevice& out) override;
    QString& getParticipation(QString& value) override;
    void setParticipation(const QString& value) override;
    Appraiser* getAppraiser() override;
    AppraisalCompany* getAppraisalCompany() override;
    void setAppraiser(int id) override;
    void setAppraisalCompany(int id) override;
    // Forgets what the evaluation holds at the position: a new, empty person and company.
    void makeEmpty();

private:
    EvaluationStorage* storage;
    QString participation;
    std::unique_ptr<Appraiser> appraiser;
    std::unique_ptr<AppraisalCompany> company;
};

#endif
