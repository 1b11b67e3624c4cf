#pragma once

// Tovrin: a telephone directory with a telephone-message pad.
//
// How the pieces fit:
//  - main() installs the fonts, creates the frame MDIForm1 and asks WindowSwitch to show frmMain.
//  - The three working windows (frmMain in directory/, frmAdd in entry/, frmMes in messages/) derive from
//    WorkingWindow. Exactly one is loaded at a time: WindowSwitch::switchTo unloads the window that asks and
//    shows the other, freshly created, after running its Form_Load.
//  - Each window owns its DataControl objects (data/). A handler names what it wants as a Query (a Book, a book's
//    letter, a search text, the entries, the log), stores the Query's statement in gRecordSource, hands the Query
//    to a DataControl and calls Refresh; the DataControl picks its way of reading from the kind of Query. Grids
//    (DataGrid over a GridModel) re-read on every Refresh. Writes go through a Recordset (AddNew, setCollect,
//    Update) or through in-place edits and deletions in a grid.
//  - Every failure of the database layer is a DbError. Handlers run inside ErrorPath: a failure while loading a
//    window ends the program after showing its number and description; a failure while the user was writing
//    (a save, a grid edit or deletion) is shown and the window keeps what the user typed.

#include <QByteArray>
#include <QString>

// The path of the database file, written by the load of every working window.
extern QString gDbPath;
// The statement a handler is about to give to a data control.
extern QString gRecordSource;

namespace Module1 {

// The folder the program was started from (tests point it elsewhere). Throws DbError when the folder's name
// cannot be read as text: the files beside the program cannot be named then, and no other folder stands in.
QString programDir();
void setProgramDirForTesting(const QString& dir);

// Where the program keeps its files. Run from a folder of its own (a build, a stick) everything lies beside the
// program. Installed (the program in <prefix>/bin, the template file in <prefix>/share/tovrin, nothing beside the
// program) each user works on a copy of the template in the user's own data folder, and the pictures are read from
// the share folder.
struct Layout
{
    bool installed = false;
    QString filesDir;    // where the pictures and, run from its own folder, the database file lie
    QString templateDir; // installed: <prefix>/share/tovrin
};
Layout layoutOf(const QString& programDir);
// The user's data folder (QStandardPaths::AppDataLocation, the application being named "Tovrin").
QString userDataDir();

// The path of the database file, with the platform's separator. Installed, the user's copy is made from the
// template when there is none yet (folder 0700, file 0600) and never replaced. Throws DbError as programDir() does,
// and when the user's copy cannot be made.
QString databasePath();
// The same path without making the user's copy, for telling the user where the file is.
QString databaseLocation();
// The path of one of the program's own files (the pictures): beside the program, or installed in the share folder.
// Throws as programDir() does.
QString besideProgram(const QString& fileName);

// The folder of the program file, read from the path the system names the file by (its bytes, as the kernel
// keeps them), with the platform's file-name encoding.
struct ProgramFolder
{
    QString path;    // empty when the folder cannot be named
    QString problem; // then why, for the user; the folder's bytes that are no text are shown as \xNN
};
ProgramFolder programFolderOf(const QByteArray& programFile);

} // namespace Module1
