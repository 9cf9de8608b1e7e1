#ifndef ZENTAVO_ERRORINFO_H
#define ZENTAVO_ERRORINFO_H

#include "zentavo_export.h"

#include <QString>

// The last failure of a report generation run: a code and a translated message.
class ZENTAVO_EXPORT ErrorInfo
{
public:
    enum errorcode_t : qint32 {
        ErrNone = 0,
        ErrWrite = 1, // the output document archive cannot be created
        ErrRead = 2   // the template archive does not open
    };

    ErrorInfo() = default;
    virtual ~ErrorInfo() = default;
    ErrorInfo(const ErrorInfo&) = default;
    ErrorInfo& operator=(const ErrorInfo&) = default;

    virtual errorcode_t code() const;
    // Empty while the code is ErrNone, so a stale text is never shown.
    virtual QString message() const;

    void set(errorcode_t code, QString message);

    // The standard text of a code for the archive zipName, translated in the
    // context of the document generators; empty for ErrNone. A reason, when given,
    // follows it after a colon: "Unable write to document a.docx: File too large".
    static QString standardMessage(errorcode_t code, const QString& zipName, const QString& reason = QString());

private:
    errorcode_t errorCode = ErrNone;
    QString errorMessage;
};

#endif
