#include "runtime/errorinfo.h"

#include <QCoreApplication>

#include <utility>

ErrorInfo::errorcode_t ErrorInfo::code() const
{
    return errorCode;
}

QString ErrorInfo::message() const
{
    return errorCode == ErrNone ? QString() : errorMessage;
}

void ErrorInfo::set(errorcode_t code, QString message)
{
    errorCode = code;
    errorMessage = std::move(message);
}

QString ErrorInfo::standardMessage(errorcode_t code, const QString& zipName, const QString& reason)
{
    QString message;
    switch (code) {
    case ErrWrite:
        message = QCoreApplication::translate("TemplateToDocument", "Unable write to document %1").arg(zipName);
        break;
    case ErrRead:
        message = QCoreApplication::translate("TemplateToDocument", "Unable read from template %1").arg(zipName);
        break;
    case ErrNone:
        return QString();
    }
    return reason.isEmpty() ? message : message + QStringLiteral(": ") + reason;
}
