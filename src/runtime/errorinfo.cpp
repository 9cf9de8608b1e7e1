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

QString ErrorInfo::standardMessage(errorcode_t code, const QString& zipName)
{
    switch (code) {
    case ErrWrite:
        return QCoreApplication::translate("TemplateToDocument", "Unable write to document %1").arg(zipName);
    case ErrRead:
        return QCoreApplication::translate("TemplateToDocument", "Unable read from template %1").arg(zipName);
    case ErrNone:
        break;
    }
    return QString();
}
