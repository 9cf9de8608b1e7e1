#ifndef ZENTAVO_TOOL_SHARD_H
#define ZENTAVO_TOOL_SHARD_H

#include <QString>
#include <QStringList>

// One of N shares of a render spread over several machines: "--shard K/N" keeps the
// evaluations whose share is K. Shares are numbered from 0 to N-1, as a Kubernetes
// Indexed Job numbers its pods (JOB_COMPLETION_INDEX) and a Slurm array started with
// --array=0-(N-1) its tasks (SLURM_ARRAY_TASK_ID).
//
// An evaluation's share depends on its path alone: the first eight bytes of the SHA-256
// of its absolute path, modulo N. A relative path is made absolute against the working
// folder as the system reports it (its links resolved); "." and ".." are taken out, and
// links in the path given are not followed. So the same command line on every node of
// a cluster that mounts the shared folder at the same path splits the evaluations into
// shares that together hold each exactly once, whatever order the shell lists them in
// and whatever else each node was given.
class Shard
{
public:
    // The whole render: one share of one.
    Shard() = default;

    // Reads "K/N"; false with what is wrong in problem (not two numbers, N below 1, K
    // outside 0 to N-1).
    static bool parse(const QString& text, Shard& shard, QString& problem);
    // The share, from 0 to count-1, that path falls into.
    static int of(const QString& path, int count);

    // The evaluations of this share, in the order given.
    QStringList select(const QStringList& evaluations) const;
    bool isWhole() const { return total == 1; }
    int index() const { return number; }
    int count() const { return total; }

private:
    int number = 0;
    int total = 1;
};

#endif
