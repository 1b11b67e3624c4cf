#pragma once

#include "data/ETag.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

// What the file keeps of the message log's sync with a CalDAV task list, in plain tables of its own beside tblMes
// and tovrin_message: each task list's sync token, and for each task on the server its address, ETag, text as
// received (or sent), the UID of the message it is, and the message's values last agreed with the server.
//
// A message is tied to its task by its UID (tovrin_message, which keeps the UID whatever renumbers tblMes). A
// message's values are ten texts, in the order of columns(): tblMes's five (NULL as the empty text), then its
// state's: done "1" or "0", when (ISO 8601, empty when not known), by whom, call back "1" or "0", urgent "1" or "0".
namespace TaskStore {

const QStringList& columns();
constexpr int kCount = 10;

// A message of the log with its state; `uid` empty when it has no state row yet.
struct Message
{
    qint64 rowid = -1;
    QString uid;
    QStringList values;
};

struct Task
{
    QString href;
    ETag etag;
    QByteArray text;
    QString uid;        // the message it is; empty when it is no message (nothing the log can show)
    QStringList agreed; // the message's values last agreed; empty when it is no message
};

// A change of one message, applied only when it still holds `expected` (nothing changed it meanwhile). Claim gives
// a message without a state row one, under `uid`.
struct MessageWrite
{
    enum class Kind { Insert, Update, Delete, Claim } kind = Kind::Insert;
    qint64 rowid = -1; // Insert: set by apply()
    QString uid;       // Insert, Claim; Update and Delete find the state by it too
    QStringList expected;
    QStringList values;
};

// Creates the tables when missing.
void prepare(Database& db);

// Every message of the log with its state (after MessageLog::retie()).
QList<Message> messages(Database& db);
QList<Task> tasks(Database& db, const QString& list);
QString token(Database& db, const QString& list);
// What a sync with nothing to do needs, without reading a task: each task's version by its href; whether some task
// waits to be read again; whether nothing waits to go up (every task confirmed there, its message holding the
// values last agreed, and every message of the log tied to a task).
QHash<QString, ETag> versions(Database& db, const QString& list);
bool unknownVersions(Database& db, const QString& list);
bool settled(Database& db, const QString& list);

// In one transaction: the message writes, the tasks stored or replaced, the tasks dropped, the list's new token
// (unchanged when `token` is null). False, and nothing written, when a message a write is meant for changed
// meanwhile. Throws DbError.
bool apply(Database& db, const QString& list, QList<MessageWrite>& writes, const QList<Task>& tasks,
           const QStringList& droppedHrefs, const QString& token);

} // namespace TaskStore
