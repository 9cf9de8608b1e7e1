#include "hostevaluation.h"

#include "evaluation/harmonization.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

HostEvaluation::HostEvaluation() : facade(tags), cost(tags), comparative(tags)
{
    facade.registerApproach(APPROACH_COST, cost);
    facade.registerApproach(APPROACH_COMPARATIVE, comparative);
}

bool HostEvaluation::open(const QString& path, QString& error)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        error = QCoreApplication::translate("zentavo", "%1: no such file").arg(path);
        return false;
    }
    if (!file.isFile() || !file.isReadable()) {
        error = QCoreApplication::translate("zentavo", "%1: not a readable file").arg(path);
        return false;
    }
    if (!facade.load(path)) {
        error = QCoreApplication::translate("zentavo", "%1: not an evaluation file, or a damaged one").arg(path);
        return false;
    }
    return true;
}

bool HostEvaluation::openOrCreate(const QString& path, QString& error)
{
    if (QFileInfo::exists(path))
        return open(path, error);
    return true;
}

void HostEvaluation::adoptWrittenTags()
{
    tags.clearAllAppraisers();
    QString firstCriterion;
    if (!tags.getTag(QStringLiteral("ТАБЛИЦА_КРИТЕРИЕВ_СТРОКА_0"), firstCriterion).isEmpty())
        tags.getHarmonization()->load();
}

bool HostEvaluation::save(const QString& path, const QStringList& checkedTags, QString& error)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("check.zip"));
    HostEvaluation reread;
    QString ignored;
    if (!scratch.isValid() || !tags.save(copy) || !reread.open(copy, ignored)) {
        error = QCoreApplication::translate("zentavo", "%1: cannot be saved").arg(path);
        return false;
    }
    QStringList lost;
    QString before, after;
    for (const QString& name : checkedTags)
        if (!tags.getTag(name, before).isEmpty() && reread.tags.getTag(name, after).isEmpty())
            lost.append(name);
    if (!lost.isEmpty()) {
        error = QCoreApplication::translate("zentavo", "nothing saved: an evaluation file does not keep %1 "
                                                   "(an unknown tag, or a value not of its form)")
                    .arg(lost.join(QStringLiteral(", ")));
        return false;
    }
    if (!facade.save(path)) {
        error = QCoreApplication::translate("zentavo", "%1: cannot be written").arg(path);
        return false;
    }
    return true;
}
