#ifndef ZENTAVO_TOOL_SUBCOMMANDS_H
#define ZENTAVO_TOOL_SUBCOMMANDS_H

#include <QStringList>

// Each subcommand takes the arguments that follow its name and returns the exit code.
int runWords(const QStringList& arguments);
int runMoney(const QStringList& arguments);
int runTags(const QStringList& arguments);
int runSet(const QStringList& arguments);
int runPhoto(const QStringList& arguments);
int runRender(const QStringList& arguments);
int runCompany(const QStringList& arguments);
int runCheck(const QStringList& arguments);

#endif
