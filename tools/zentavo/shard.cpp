#include "shard.h"

#include "toolconsole.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

bool Shard::parse(const QString& text, Shard& shard, QString& problem)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)/(\\d+)$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    bool indexRead = false, countRead = false;
    const int index = match.hasMatch() ? match.captured(1).toInt(&indexRead) : 0;
    const int count = match.hasMatch() ? match.captured(2).toInt(&countRead) : 0;
    if (!indexRead || !countRead)
        problem = ToolConsole::tr("--shard takes K/N, two whole numbers such as 0/4, not \"%1\"").arg(text);
    else if (count < 1)
        problem = ToolConsole::tr("--shard %1: the number of shares must be 1 or more").arg(text);
    else if (index >= count)
        problem = ToolConsole::tr("--shard %1: shares are numbered from 0 to %2").arg(text).arg(count - 1);
    if (!problem.isEmpty())
        return false;
    shard.number = index;
    shard.total = count;
    return true;
}

int Shard::of(const QString& path, int count)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QByteArray digest = QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha256);
    return int(qFromBigEndian<quint64>(digest.constData()) % quint64(count));
}

QStringList Shard::select(const QStringList& evaluations) const
{
    if (isWhole())
        return evaluations;
    QStringList selected;
    for (const QString& path : evaluations)
        if (of(path, total) == number)
            selected.append(path);
    return selected;
}
