#ifndef ZENTAVO_RENDERFIXTURE_H
#define ZENTAVO_RENDERFIXTURE_H

#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "values/tagutils.h"

#include "testapproach.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class TemplateToDocument;

// What the tests of the zip flavours (DOCX, ODT) render with: an evaluation with photos
// of known colours, a chart and a company logo, and the tags no section keeps.
namespace RenderFixture {

QColor photoColour(int i);
inline const QColor graphicColour(20, 20, 200);
inline const QColor logoColour(200, 120, 0);

QImage solid(const QColor& colour, int width = 120, int height = 90);
// Whether the middle of the picture has the colour, within what JPEG coding changes.
bool sameColour(const QImage& image, const QColor& colour);

struct Evaluation
{
    EvaluationTagStorage storage;
    AutoEvaluation ae{storage};
    TestApproach comparative = TestApproach::comparative(storage);

    // The agreement 17/2026 made in Тверь, photos 0 to photos - 1, chart 0 of the
    // comparative approach and the logo of appraiser 0's company as asked.
    Evaluation(int photos, bool withGraphic, bool withLogo);
};

// The vehicle, equipment, parts, damages and appraiser of the test templates.
QHash<QString, QString> reportTags();

// What each test template, rendered with reportTags() and an Evaluation(4, true, true),
// shows in one of its parts, and what it must not; the same for its DOCX and ODT export.
struct ExpectedText
{
    enum Part { Body, Header, Footer };
    const char* row;
    const char* templateName; // without its suffix
    Part part;
    QStringList present;
    QStringList absent;
};
const QList<ExpectedText>& expectedTexts();

// Runs the generator the way a host does and waits for the end of the run.
bool run(TemplateToDocument& generator, const QString& templatePath, const QString& output);

} // namespace RenderFixture

// A flavour that also answers the given tags, as a host's own approach would.
template<class Flavour>
class WithExtraTags : public Flavour
{
public:
    QHash<QString, QString> extra;

    QString& getTag(const QString& name, QString& value, long flags) override
    {
        if (!extra.contains(name))
            return Flavour::getTag(name, value, flags);
        value = extra.value(name);
        return TagUtils::toXmlValue(value);
    }
};

#endif
