#include "rendersummary.h"

#include "runtime/atomicfilewriter.h"

#include <QJsonArray>
#include <QJsonDocument>

void RenderSummary::setEvaluations(const QStringList& list, const Shard& share)
{
    evaluations = list;
    shard = share;
}

void RenderSummary::setOutcomes(const QList<RenderBatch::Outcome>& list, const QStringList& failures)
{
    outcomes = list;
    workerFailures = failures;
}

void RenderSummary::setPdfs(const QStringList& written, const QStringList& failures)
{
    pdfsMade = true;
    pdfsWritten = written;
    pdfFailures = failures;
}

void RenderSummary::setFailure(const QString& message)
{
    if (failure.isEmpty())
        failure = message;
}

QJsonObject RenderSummary::evaluationEntry(int index) const
{
    QJsonObject entry{{QStringLiteral("path"), evaluations.at(index)}};
    if (index >= outcomes.size()) {
        entry.insert(QStringLiteral("state"), QStringLiteral("not rendered"));
        return entry;
    }
    const RenderBatch::Outcome& outcome = outcomes.at(index);
    const QString state = !outcome.error.isEmpty() ? QStringLiteral("failed")
                          : outcome.interrupted    ? QStringLiteral("interrupted")
                                                   : QStringLiteral("done");
    entry.insert(QStringLiteral("state"), state);
    entry.insert(QStringLiteral("folder"), outcome.folder);
    entry.insert(QStringLiteral("written"), QJsonArray::fromStringList(outcome.written));
    entry.insert(QStringLiteral("kept"), QJsonArray::fromStringList(outcome.skipped));
    if (!outcome.error.isEmpty())
        entry.insert(QStringLiteral("error"), outcome.error);
    return entry;
}

bool RenderSummary::write(const QString& path, int exitCode, bool interrupted, QString& error) const
{
    QJsonArray entries;
    int written = 0, kept = 0, failed = 0, unfinished = 0;
    for (int i = 0; i < evaluations.size(); ++i) {
        const QJsonObject entry = evaluationEntry(i);
        written += int(entry.value(QStringLiteral("written")).toArray().size());
        kept += int(entry.value(QStringLiteral("kept")).toArray().size());
        const QString state = entry.value(QStringLiteral("state")).toString();
        failed += state == QLatin1String("failed");
        unfinished += state == QLatin1String("interrupted") || state == QLatin1String("not rendered");
        entries.append(entry);
    }
    QJsonObject summary{{QStringLiteral("exitCode"), exitCode},
                        {QStringLiteral("interrupted"), interrupted},
                        {QStringLiteral("shard"), QJsonObject{{QStringLiteral("index"), shard.index()},
                                                              {QStringLiteral("count"), shard.count()}}},
                        {QStringLiteral("totals"), QJsonObject{{QStringLiteral("evaluations"), int(evaluations.size())},
                                                               {QStringLiteral("written"), written},
                                                               {QStringLiteral("kept"), kept},
                                                               {QStringLiteral("failed"), failed},
                                                               {QStringLiteral("notFinished"), unfinished}}},
                        {QStringLiteral("evaluations"), entries},
                        {QStringLiteral("workerFailures"), QJsonArray::fromStringList(workerFailures)}};
    if (!failure.isEmpty())
        summary.insert(QStringLiteral("error"), failure);
    if (pdfsMade)
        summary.insert(QStringLiteral("pdf"),
                       QJsonObject{{QStringLiteral("written"), QJsonArray::fromStringList(pdfsWritten)},
                                   {QStringLiteral("failed"), QJsonArray::fromStringList(pdfFailures)}});
    // A failed write is said by commit(), which then leaves the file as it was.
    AtomicFileWriter file(path);
    if (file.open()) {
        file.write(QJsonDocument(summary).toJson());
        if (file.commit())
            return true;
    }
    error = file.errorString();
    return false;
}
