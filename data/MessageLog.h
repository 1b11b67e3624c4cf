#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

// What the log keeps about its messages beside tblMes, whose five columns stay as they are: each message's state
// (open or done, when and by whom; "please call back"; "urgent") and its identity (a UID) in tovrin_message, a plain
// table any SQLite tool reads. A message without a row there is open, with no marks.
//
// A state is tied to its message by the rowid it was last seen at and the message's five values then. Triggers keep
// the tie when any tool edits the message and drop the state when any tool deletes it. A VACUUM or a rebuilt table
// may renumber tblMes without a trigger hearing of it: retie() finds such a message again by its values, and drops
// the states whose message is gone.
namespace MessageLog {

struct State
{
    QString uid;
    bool done = false;
    QString doneAt; // ISO 8601 local time with its offset from UTC
    QString doneBy;
    bool callBack = false;
    bool urgent = false;
};

enum class Mark { Done, CallBack, Urgent };

// Whether the file has the state table (a file that could not be written since an earlier version has none, and
// every message in it is open).
bool kept(Database& db);
// Ties again the states whose message was renumbered, and drops those whose message is gone. A file that cannot be
// written, or another program busy writing it, is left as it is. Throws DbError for any other failure.
void retie(Database& db);
// The states tied to their messages, by the message's rowid. None when the file has no state table.
QHash<qint64, State> states(Database& db);
// Sets or clears one mark of the messages with the given rowids, in one transaction, giving a message its state row
// (and UID) when it has none. Marking done notes `at` and `by`; marking open clears them. Throws DbError
// (ChangedElsewhere when a message is gone).
void mark(Database& db, const QList<qint64>& messages, Mark mark, bool on, const QString& by, const QDateTime& at);

// Who marks a message done at this desk: the user's login name at this computer's name.
QString deskUser();

// The people messages were left for (the distinct To values, letter case ignored), in order.
QStringList people(Database& db);

// A directory entry the text of a message's From names: by a whole name ("first last", "last first", the last
// name alone or the business name, letter case ignored) or by a number whose digits are all the digits From holds.
struct Caller
{
    qint64 entry = -1;
    QString book;
    QString name;
    QList<QPair<QString, QString>> numbers; // caption ("Telephone 1", ...), the number as stored; typed ones only
};
QList<Caller> callers(Database& db, const QString& from);

// The condition (for tblMes rows) that a message is done, for a statement over tblMes.
QString doneCondition();

} // namespace MessageLog
