#include "hostevaluation.h"

#include "toolconsole.h"
#include "typedinput.h"

#include "evaluation/evaluationfilelock.h"
#include "evaluation/harmonization.h"

#include <QCoreApplication>
#include <QFileInfo>

HostEvaluation::HostEvaluation() : facade(tags), cost(tags), comparative(tags)
{
    facade.registerApproach(APPROACH_COST, cost);
    facade.registerApproach(APPROACH_COMPARATIVE, comparative);
}

QStringList HostEvaluation::approachKeys()
{
    QStringList keys;
    for (const evaluationapproach_t approach : {APPROACH_COST, APPROACH_COMPARATIVE}) {
        QString key;
        if (facade.isApproach(approach))
            keys.append(facade.getApproach(approach)->getTagKey(key));
    }
    return keys;
}

bool HostEvaluation::open(const QString& path, QString& error)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        error = ToolConsole::tr("%1: no such file").arg(path);
        return false;
    }
    if (!file.isFile() || !file.isReadable()) {
        error = ToolConsole::tr("%1: not a readable file").arg(path);
        return false;
    }
    if (!facade.load(path)) {
        error = ToolConsole::tr("%1: not an evaluation file, or a damaged one").arg(path);
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

bool HostEvaluation::reserve(const QString& path, QString& error)
{
    if (tags.reserveFile(path, EvaluationFileLock::DefaultWaitMs))
        return true;
    error = tags.errorString();
    return false;
}

bool HostEvaluation::takeTypedValue(const QString& name, const QString& typed, QString& stored, QString& error) const
{
    QString why;
    for (const HostApproach* approach : {static_cast<const HostApproach*>(&cost), static_cast<const HostApproach*>(&comparative)}) {
        switch (approach->takeInput(name, typed, stored, why)) {
        case HostApproach::Input::Taken:
            return true;
        case HostApproach::Input::Refused:
            error = ToolConsole::tr("%1: \"%2\" is refused: %3").arg(name, typed, why);
            return false;
        case HostApproach::Input::NotMine:
            break;
        }
    }
    stored = typed;
    return true;
}

void HostEvaluation::keepTypedForms(const QStringList& names)
{
    QMap<QString, QString> kept = tags.tagsAsSaved();
    QString typed, form;
    for (const QString& name : names) {
        if (tags.getTag(name, typed).trimmed().isEmpty() || !kept.value(name).isEmpty())
            continue;
        if (!TypedInput::number(typed, form) && !TypedInput::date(typed, form))
            continue;
        tags.setTag(name, form);
        kept = tags.tagsAsSaved();
        if (kept.value(name).isEmpty())
            tags.setTag(name, typed);
    }
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
    const QMap<QString, QString> kept = tags.tagsAsSaved();
    QStringList lost;
    QString before;
    for (const QString& name : checkedTags)
        if (!tags.getTag(name, before).isEmpty() && kept.value(name).isEmpty())
            lost.append(name);
    if (!lost.isEmpty()) {
        error = ToolConsole::tr("nothing saved: an evaluation file does not keep %1 "
                                "(an unknown tag, or a value not of its form)")
                    .arg(lost.join(QStringLiteral(", ")));
        return false;
    }
    if (!facade.save(path)) {
        error = tags.errorString();
        return false;
    }
    return true;
}
