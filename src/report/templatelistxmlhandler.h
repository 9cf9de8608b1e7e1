#ifndef ZENTAVO_TEMPLATELISTXMLHANDLER_H
#define ZENTAVO_TEMPLATELISTXMLHANDLER_H

#include "zentavo_export.h"

#include "runtime/xmldefaulthandler.h"

#include <QString>
#include <QXmlStreamAttributes>

class TemplatesList;

// Reads the template server's list of templates into a TemplatesList. The list reads:
//   <templates baseurl="https://host/templates"><template type="docx">report.docx</template>...
// Element names are compared without regard to case; other elements are logged and skipped.
class ZENTAVO_EXPORT TemplateListXmlHandler : public XmlDefaultHandler
{
public:
    explicit TemplateListXmlHandler(TemplatesList* list = nullptr);

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override;
    bool endElement(QStringView qName) override;
    bool characters(QStringView text) override;
    void fatalError(const QString& message, qint64 line, qint64 column) override;

    // All three throw AutoEvalException while no list is bound.
    void processTemplateItem(QString name, QString type);
    void processBaseUrl(QString url);
    TemplatesList* getList();

private:
    QString text;
    QXmlStreamAttributes attributes;
    TemplatesList* list;
};

#endif
