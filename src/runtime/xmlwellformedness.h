#ifndef ZENTAVO_XMLWELLFORMEDNESS_H
#define ZENTAVO_XMLWELLFORMEDNESS_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QString>

// Whether a UTF-8 document is well-formed XML, at the cost of one look at each byte.
// The parts of a document package are megabytes of markup that the generator checks
// before writing them: a full parser costs as much as the rest of a render together.
// The scan accepts only what it is sure of: elements properly nested with plain ASCII
// names, quoted attributes once each, the predefined entities and character references
// to characters XML allows, comments, processing instructions, CDATA sections, and an
// XML declaration of version 1.0 in UTF-8. Anything else, an error above all, is left to
// the full parser (XmlDefaultHandler), whose verdict and reason are then given: the
// answer is always the full parser's, only faster where the scan is sure.
class ZENTAVO_EXPORT XmlWellFormedness
{
public:
    enum class Scan { WellFormed, Undecided };

    // True when the document is well-formed; the full parser's reason otherwise.
    static bool check(const QByteArray& utf8, QString* reason = nullptr);
    // The scan alone: WellFormed only for a document the scan is sure of.
    static Scan scan(const QByteArray& utf8);
};

#endif
