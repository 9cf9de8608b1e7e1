#ifndef ZENTAVO_AGREEAPPRAISER_H
#define ZENTAVO_AGREEAPPRAISER_H

#include "zentavo_export.h"

#include <QString>

class AppraisalCompany;
class Appraiser;
class QIODevice;

// One person named in an evaluation, at a position 1, 2, 3 …: the appraiser or specialist,
// the appraisal company on whose behalf they act, and their share of participation. The
// person's and the company's tags carry the position, so the evaluation keeps complete
// copies of both, independent of the catalog.
class ZENTAVO_EXPORT AgreeAppraiser
{
public:
    AgreeAppraiser();
    virtual ~AgreeAppraiser();
    Q_DISABLE_COPY(AgreeAppraiser)

    // The participation, the person's and the company's tags, under the entry's position.
    virtual void save(QIODevice& out) = 0;
    // The same tags under another position, as a save that numbers the entries again
    // writes them; the entry keeps its own position.
    virtual void saveAt(int position, QIODevice& out) = 0;
    virtual QString& getParticipation(QString& value) = 0;
    virtual void setParticipation(const QString& value) = 0;
    virtual Appraiser* getAppraiser() = 0;
    virtual AppraisalCompany* getAppraisalCompany() = 0;
    // An id of 1 or more takes the catalog record; below 1 the copy in the evaluation again.
    virtual void setAppraiser(int id) = 0;
    virtual void setAppraisalCompany(int id) = 0;

    int getIndex() const { return index; }
    void setIndex(int position);
    // A report tag without its number: the person's, then the company's, then the participation.
    bool getTag(const QString& name, QString& value, long flags);
    // The participation tag without a number.
    static const QString& participationTagBase();

protected:
    const QString& participationTag() const { return indexedParticipationTag; }

private:
    int index = -1;
    QString indexedParticipationTag;
};

#endif
