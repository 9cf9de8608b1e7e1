#include "model/evaluationstorage.h"

bool EvaluationStorage::load(const QString& path)
{
    clear();
    const bool loaded = doLoad(path);
    if (loaded)
        markStored(path);
    return loaded;
}

bool EvaluationStorage::save()
{
    return save(QString(fileName));
}

bool EvaluationStorage::save(const QString& path)
{
    const bool saved = doSave(path);
    if (saved)
        markStored(path);
    return saved;
}

void EvaluationStorage::resetDocumentState()
{
    newDocument = true;
    modified = false;
    fileName = QString();
}

void EvaluationStorage::markStored(const QString& path)
{
    fileName = path;
    newDocument = false;
    modified = false;
}
