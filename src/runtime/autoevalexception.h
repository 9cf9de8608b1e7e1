#ifndef ZENTAVO_AUTOEVALEXCEPTION_H
#define ZENTAVO_AUTOEVALEXCEPTION_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QException>
#include <QString>

// Thrown when an operation is called in a state where it cannot go on: an index
// out of range, a missing evaluation, a null number read as a value, a feed of the
// wrong structure. It carries the place of the throw, not a text for the user.
class ZENTAVO_EXPORT AutoEvalException : public QException
{
public:
    AutoEvalException(QString file, int line);
    AutoEvalException(QString file, int line, QString message);

    const QString& getFile() const { return file; }
    int getLine() const { return line; }
    const QString& getMessage() const { return message; }

    // "file:line" and the message, for a host that only catches std::exception.
    const char* what() const noexcept override;

    void raise() const override;
    AutoEvalException* clone() const override;

private:
    QString file;
    QString message;
    int line;
    QByteArray description;
};

// Throws an AutoEvalException that names the current source file and line.
#define ZENTAVO_THROW() throw AutoEvalException(QString::fromUtf8(__FILE__), __LINE__)

#endif
