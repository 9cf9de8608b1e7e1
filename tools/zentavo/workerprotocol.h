#ifndef ZENTAVO_TOOL_WORKERPROTOCOL_H
#define ZENTAVO_TOOL_WORKERPROTOCOL_H

#include <QByteArray>
#include <QString>

// The lines a render's worker processes and their parent exchange, one event a line: a
// word, a tab and a value, percent-encoded so that any path or message fits on one line.
class WorkerProtocol
{
public:
    // Parent to worker: an evaluation to render; the answers to a folder claim.
    static constexpr char Evaluation[] = "evaluation";
    static constexpr char Granted[] = "granted";
    static constexpr char Refused[] = "refused";

    // Worker to parent, for the evaluation in hand.
    static constexpr char Claim[] = "claim";         // its document folder, before anything is written
    static constexpr char Folder[] = "folder";
    static constexpr char Started[] = "started";     // a document
    static constexpr char Written[] = "written";
    static constexpr char Skipped[] = "skipped";     // existed, kept
    static constexpr char Finding[] = "finding";     // in a template from a server
    static constexpr char Failed[] = "failed";
    static constexpr char Unwritten[] = "unwritten"; // failed, naming a document not written
    static constexpr char End[] = "end";             // of the evaluation; the worker takes the next

    static QByteArray line(const char* word, const QString& value = QString());
    // Splits a line (with its line feed or without); false when it is none of the protocol's.
    static bool read(const QByteArray& line, QByteArray& word, QString& value);
};

#endif
