#pragma once

#include <QDate>
#include <QString>
#include <functional>

class QAction;
class QWidget;

// The program's own backup copies of the directory file (see Backups) as the user meets them: a daily copy made in
// the background at start, the damage check at start and "Restore a Backup..." in the windows' context menus (the
// command line's --backup, --list-backups and --restore are BackupCommandLine).
namespace BackupCommands {

// When the file fails SQLite's quick check, says so and offers the newest good copy. Declined or without a good
// copy, the program goes on with the file as it is, opened for reading only for the rest of the run (see
// Database::holdWrites); nothing writes to the file before the check. checkAtStart checks before it returns;
// startCheck, at start, checks on a connection and in a thread of its own while the windows read the file, and
// calls `ended` on this thread once the check and what it asked of the user are over (after a restore, the
// directory window has been shown afresh).
void checkAtStart(QWidget* parent);
void startCheck(QWidget* parent, std::function<void()> ended);
// Makes the day's first copy and removes those no longer kept, in a thread of its own; returns at once. A copy that
// cannot be made is said once, in a message over `parent`. The program waits for the thread only when it ends.
void startDaily(QWidget* parent, const QDate& today);
// The work of startDaily for `database`, where it runs: an empty text, or why no copy could be made.
QString daily(const QString& database, const QDate& today);

// "Restore a Backup...": lists the copies with their dates and rows; the one chosen replaces the file's contents
// (the current ones are kept as a copy first), and the directory window shows the restored data.
QAction* restoreAction(QWidget* window);
// In MessageBox's test mode the copy list takes this answer (an index into the list, newest first; -1 cancels).
void setNextChoice(int index);

// Where the copies are, for the About box.
QString whereCopiesAre();

} // namespace BackupCommands
