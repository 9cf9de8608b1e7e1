#include "workerprotocol.h"

QByteArray WorkerProtocol::line(const char* word, const QString& value)
{
    return QByteArray(word) + '\t' + value.toUtf8().toPercentEncoding(" /") + '\n';
}

bool WorkerProtocol::read(const QByteArray& line, QByteArray& word, QString& value)
{
    const QByteArray text = line.endsWith('\n') ? line.chopped(1) : line;
    const qsizetype tab = text.indexOf('\t');
    if (tab <= 0)
        return false;
    word = text.left(tab);
    value = QString::fromUtf8(QByteArray::fromPercentEncoding(text.mid(tab + 1)));
    return true;
}
