#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// Copies of the directory file kept by the program itself, in a folder "backups" beside the file.
//
// A copy is made with SQLite's online backup API on connections of its own (no busy cursor, no dialect), so it is
// consistent while the windows work, and is written under a temporary name, made durable and renamed into place:
// a copy in the folder is always whole. A daily copy is named "<file> YYYY-MM-DD.mdb"; a copy made before the file
// is rewritten (a restore, an upgrade of its tables) is "<file> YYYY-MM-DD HHMMSS <why>.mdb". The dates are taken
// from the names, never from the file system, so a copy moved or touched keeps its day.
namespace Backups {

constexpr int kDailyKept = 7; // the newest daily copies
constexpr int kWeeksKept = 4; // and the newest copy of each of the last weeks

struct Copy
{
    QString path;
    QDateTime made;
    bool daily = false;
    bool timeKnown = false; // a daily copy's name holds its day only; its time is the file's when that is of that day
    QString why;         // what it was made before; empty for a daily copy
    qint64 entries = -1; // rows of tblTel and tblMes, when counted
    qint64 messages = -1;
    QString problem; // why it cannot be restored (damaged, not a directory file); empty when it can
};

QString folderOf(const QString& database);

// A consistent copy of `database` written to `target`, an empty or new file the caller owns (mode and place are
// the caller's). Throws DbError.
void copyInto(const QString& database, const QString& target);

// Makes a copy in the backups folder: a daily one when `why` is empty. Returns its path. Throws DbError naming the
// folder and the system's reason (a full disk, a folder that cannot be written); nothing half-written is left.
QString make(const QString& database, const QDateTime& now, const QString& why = QString());
// No daily copy of `today` yet.
bool dailyDue(const QString& database, const QDate& today);
// Removes the copies the rule does not keep: the kDailyKept newest daily copies, the newest copy of each of the
// kWeeksKept weeks ending on `today`, and every copy made before a rewrite during the last week stay. Half-written
// copies left by a stop more than a day before `today` go too. Returns the removed paths.
QStringList rotate(const QString& database, const QDate& today);

// The copies, newest first; with `counted`, each checked and its rows counted.
QList<Copy> list(const QString& database, bool counted = true);
// Why the file cannot serve as the directory (fails SQLite's quick check, is no database, lacks a table or a column
// the windows need, as Database::open checks); empty when it can, and when another program holds the file (that is
// no damage). Only reads, but rolls back a save cut short, as any SQLite tool opening the file does.
QString problemOf(const QString& path, qint64* entries = nullptr, qint64* messages = nullptr);

// Replaces the contents of `database` with those of `backup` after making a copy of the current file (kept under
// "before restore"). The contents are written into the file in one SQLite transaction: a stop at any moment leaves
// the old contents or the new, every open connection (of any program) sees the new ones at its next statement, and
// the file keeps its name, owner and permissions. A file too damaged to be written that way is replaced by a whole
// copy written beside it, made durable and renamed over it. Returns the path of the copy of the current file.
// Throws DbError; then nothing changed.
QString restore(const QString& database, const QString& backup, const QDateTime& now);

} // namespace Backups
