#include "folderclaims.h"

#include "toolconsole.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool FolderClaims::claim(const QString& folder, const QString& evaluation, QString& refusal)
{
    const QString key = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()).toCaseFolded();
    const QString holder = holders.value(key, evaluation);
    if (holder == evaluation) {
        holders.insert(key, evaluation);
        return true;
    }
    refusal = ToolConsole::tr("its documents would go to %1, the folder of %2 in this "
                              "render (same agreement number, vehicle and plate); nothing written")
                  .arg(folder, holder);
    return false;
}
