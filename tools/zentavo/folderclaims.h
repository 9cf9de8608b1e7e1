#ifndef ZENTAVO_TOOL_FOLDERCLAIMS_H
#define ZENTAVO_TOOL_FOLDERCLAIMS_H

#include <QHash>
#include <QString>

// The document folders of one render, each held by the first evaluation that named it.
// Two evaluations with the same agreement number, vehicle and plate name one folder;
// the second is refused, so that no folder mixes the documents of two evaluations and
// no document is counted twice. Folder names are compared ignoring case, as the shared
// folders of an office often do.
class FolderClaims
{
public:
    // True when folder is free or already evaluation's; otherwise refusal says whose it is.
    bool claim(const QString& folder, const QString& evaluation, QString& refusal);

private:
    QHash<QString, QString> holders;
};

#endif
