#ifndef ZENTAVO_TOOL_CATALOGCOMMANDS_H
#define ZENTAVO_TOOL_CATALOGCOMMANDS_H

#include <QStringList>

// The catalog commands of the zentavo tool:
//   zentavo catalog update [vehicles|people|banks] [--server URL]
//       refreshes the named catalog (all three when none is named) from the network.
//       --server replaces scheme, host and port of each catalog's address, keeping its path.
//   zentavo bank import FILE.zip
//       imports a bank directory archive from disk.
// Progress goes to standard error, a summary of the rows added and changed to standard
// output. A catalog database that cannot be used fails every command before it starts,
// with the one line that says why. args are the arguments after the program's name, the
// command word first. Answers the exit code: 0 done, 1 a catalog or the catalog database
// failed, 2 a usage error.
int runCatalogCommand(const QStringList& args);

#endif
