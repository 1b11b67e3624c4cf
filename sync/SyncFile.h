#pragma once

#include "sync/SyncReport.h"
#include "sync/SyncRun.h"

#include <QString>

class Database;
class DavTransport;

// One sync of a directory file with the server its settings name, as --sync and the windows' background sync run
// it.
namespace SyncFile {

// Syncs the file at `database` with the password kept for it (`password` when not null). The result is kept in the
// file for About and "Sync Now...".
SyncReport run(const QString& database, const QString& password = QString(),
               const SyncRun::Options& options = SyncRun::Options());
// The last result kept in the file: its time and summary; empty when the file never synced.
QString lastResult(Database& db);
// Tests: the syncs of run() talk to `transport` instead of the network (nullptr: the network again).
void setTransportForTesting(DavTransport* transport);
// What the program's requests to the server go through: the network (nullptr) unless a test said otherwise.
DavTransport* transport();

} // namespace SyncFile
