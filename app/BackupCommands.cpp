#include "app/BackupCommands.h"

#include "app/ErrorPath.h"
#include "app/FileDialogs.h"
#include "app/MDIForm1.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/WindowSwitch.h"
#include "app/WorkingWindow.h"
#include "data/Backups.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "exchange/AccessFile.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace {

int s_nextChoice = -1;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString described(const Backups::Copy& copy)
{
    const QLocale locale;
    QString when = copy.timeKnown ? locale.toString(copy.made, QLocale::ShortFormat)
                                  : locale.toString(copy.made.date(), QLocale::ShortFormat);
    if (!copy.why.isEmpty())
        when += QStringLiteral(", ") + copy.why;
    if (!copy.problem.isEmpty())
        return QStringLiteral("%1: cannot be restored, %2").arg(when, copy.problem);
    return QStringLiteral("%1: %2 entries, %3 messages")
        .arg(when, locale.toString(copy.entries), locale.toString(copy.messages));
}

// Restores and tells the user; true when the file now holds the copy's contents.
bool restoreShowing(QWidget* parent, const QString& database, const QString& backup)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const QString kept = Backups::restore(database, backup, QDateTime::currentDateTime());
        // A damaged file held for reading (see checkAtStart) has given way to a good one.
        Database::releaseWrites(database);
        QApplication::restoreOverrideCursor();
        MessageBox::information(
            parent, QCoreApplication::translate("BackupCommands",
                                                "\"%1\" was restored from \"%2\". The file as it was before is kept "
                                                "as \"%3\".\n\nUndo does not take a restore back: to go back, restore "
                                                "that copy.")
                        .arg(shown(database), shown(backup), shown(kept)));
        MDIForm1::showStatus(QCoreApplication::translate("BackupCommands", "Restored from \"%1\"; the file as it was "
                                                                           "before is kept as \"%2\".")
                                 .arg(shown(backup), shown(kept)));
        return true;
    } catch (const DbError& error) {
        QApplication::restoreOverrideCursor();
        MessageBox::critical(parent, error.description());
        return false;
    }
}

void chooseAndRestore(QWidget* window)
{
    QString database;
    try {
        database = Module1::databasePath();
    } catch (const DbError& error) {
        MessageBox::critical(window, error.description());
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QList<Backups::Copy> copies = Backups::list(database);
    QApplication::restoreOverrideCursor();
    QStringList items;
    for (const Backups::Copy& copy : copies)
        items << described(copy);
    // A copy made elsewhere (with --backup, or kept on a stick) is picked as a file.
    const QString otherFile = QCoreApplication::translate("BackupCommands", "Other File...");
    items << otherFile;
    int chosen = -1;
    if (MessageBox::testMode()) {
        chosen = s_nextChoice;
        s_nextChoice = -1;
    } else {
        bool ok = false;
        const QString where = shown(Backups::folderOf(database));
        const QString item = QInputDialog::getItem(
            window, QCoreApplication::translate("BackupCommands", "Restore a Backup"),
            copies.isEmpty()
                ? QCoreApplication::translate("BackupCommands", "There are no backup copies yet in %1.").arg(where)
                : QCoreApplication::translate("BackupCommands", "Backup copies in %1:").arg(where),
            items, 0, false, &ok);
        chosen = ok ? int(items.indexOf(item)) : -1;
    }
    const bool pickedFile = chosen == copies.size();
    if (pickedFile) {
        const QStringList picked = FileDialogs::openFiles(
            window, QCoreApplication::translate("BackupCommands", "Restore a Backup"),
            QCoreApplication::translate("BackupCommands", "Directory files (*.mdb *.sqlite *.db);;All files (*)"));
        if (picked.isEmpty())
            return;
        // The same checks as for a copy of the folder, and as --restore makes: a plain file that passes SQLite's
        // quick check and holds both tables.
        Backups::Copy other;
        other.path = picked.first();
        other.made = QFileInfo(other.path).lastModified();
        other.timeKnown = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        other.problem = Backups::problemOf(other.path, &other.entries, &other.messages);
        QApplication::restoreOverrideCursor();
        copies.append(other);
    }
    if (chosen < 0 || chosen >= copies.size())
        return;
    const Backups::Copy& copy = copies.at(chosen);
    if (!copy.problem.isEmpty()) {
        MessageBox::critical(window,
                             QStringLiteral("\"%1\" cannot be restored: %2.").arg(shown(copy.path), copy.problem));
        return;
    }
    if (!MessageBox::question(
            window,
            QCoreApplication::translate("BackupCommands",
                                        "Replace everything in the directory with the copy of %1?\n\n"
                                        "What the directory holds now is kept as a backup copy first.")
                .arg(pickedFile ? described(copy) + QStringLiteral(" (%1)").arg(shown(copy.path)) : described(copy))))
        return;
    if (restoreShowing(window, database, copy.path)) {
        // The windows read the restored rows afresh.
        if (WorkingWindow* current = WindowSwitch::current())
            WindowSwitch::switchTo(current, QStringLiteral("frmMain"));
    }
}

} // namespace

namespace {

// The check's verdict: a file that passed takes writes again; a damaged one is said to be and offered its newest
// good copy, and stays held for reading while the user goes on with it as it is. True when the windows show rows
// that are no longer the file's (a copy was restored).
bool afterCheck(QWidget* parent, const QString& database, const QString& problem)
{
    if (problem.isEmpty() || AccessFile::hasSignature(database)) {
        Database::releaseWrites(database);
        return false;
    }
    Database::holdWrites(database, Database::Hold::Damaged);
    const QList<Backups::Copy> copies = Backups::list(database);
    const auto good =
        std::find_if(copies.begin(), copies.end(), [](const Backups::Copy& copy) { return copy.problem.isEmpty(); });
    const QString said = QCoreApplication::translate("BackupCommands", "The directory file \"%1\" is damaged: %2.")
                             .arg(shown(database), problem);
    const QString asItIs = QCoreApplication::translate("BackupCommands", "Tovrin goes on with the file as it is, for "
                                                                         "reading only: nothing is written to it, so "
                                                                         "that nothing more of it is lost.");
    if (good == copies.end()) {
        MessageBox::critical(parent, QCoreApplication::translate("BackupCommands", "%1\n\nThere is no good backup "
                                                                                   "copy to restore. %2")
                                         .arg(said, asItIs));
        return false;
    }
    return MessageBox::question(parent,
                                QCoreApplication::translate("BackupCommands",
                                                            "%1\n\nRestore the newest good backup copy, %2?\n\nThe "
                                                            "damaged file is kept as a backup copy first. If you do "
                                                            "not restore it, %3")
                                    .arg(said, described(*good), asItIs),
                                true) &&
           restoreShowing(parent, database, good->path);
}

} // namespace

void BackupCommands::checkAtStart(QWidget* parent)
{
    QString database;
    try {
        database = Module1::databasePath();
    } catch (const DbError&) {
        return; // the directory window reports it
    }
    // What opening adds to a file (keys, the change log's trimming, the journal mode) waits for the check: a
    // damaged file stays byte for byte as it is until the user chose.
    Database::holdWrites(database);
    afterCheck(parent, database, Backups::problemOf(database));
}

void BackupCommands::startCheck(QWidget* parent, std::function<void()> ended)
{
    QString database;
    try {
        database = Module1::databasePath();
    } catch (const DbError&) {
        ended(); // the directory window reports it
        return;
    }
    // The windows read the file meanwhile; nothing writes to it before it passed (see Database::holdWrites).
    Database::holdWrites(database, Database::Hold::UntilChecked);
    auto problem = std::make_shared<QString>();
    QThread* thread = QThread::create([database, problem] { *problem = Backups::problemOf(database); });
    thread->setParent(qApp);
    const QPointer<QWidget> shownOver(parent);
    QObject::connect(thread, &QThread::finished, qApp, [database, problem, shownOver, ended] {
        if (afterCheck(shownOver, database, *problem)) {
            // The windows read the restored rows afresh.
            if (WorkingWindow* current = WindowSwitch::current())
                WindowSwitch::switchTo(current, QStringLiteral("frmMain"));
        }
        ended();
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, thread, [thread] { thread->wait(); });
    // Once the windows shown meanwhile have painted: the check's reading leaves them the processor until then.
    QTimer::singleShot(0, thread, [thread] { thread->start(); });
}

QString BackupCommands::daily(const QString& database, const QDate& today)
{
    try {
        if (!Backups::dailyDue(database, today))
            return QString();
        // A damaged file is never copied over good copies, and a file the old program wrote is no SQLite file.
        if (AccessFile::hasSignature(database) || !Backups::problemOf(database).isEmpty())
            return QString();
        Backups::make(database, QDateTime(today, QTime::currentTime()));
        Backups::rotate(database, today);
    } catch (const DbError& error) {
        return error.description();
    }
    return QString();
}

void BackupCommands::startDaily(QWidget* parent, const QDate& today)
{
    QString database;
    try {
        database = Module1::databasePath();
    } catch (const DbError&) {
        return;
    }
    auto problem = std::make_shared<QString>();
    QThread* thread = QThread::create([database, today, problem] { *problem = daily(database, today); });
    thread->setParent(qApp);
    const QPointer<QWidget> shownOver(parent);
    QObject::connect(thread, &QThread::finished, qApp, [problem, shownOver] {
        if (!problem->isEmpty())
            MessageBox::warning(shownOver, *problem + QStringLiteral("\n\nTovrin goes on; no backup copy was made "
                                                                     "today."));
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, thread, [thread] { thread->wait(); });
    thread->start(QThread::LowPriority);
}

QAction* BackupCommands::restoreAction(QWidget* window)
{
    auto* action = new QAction(QCoreApplication::translate("BackupCommands", "Restore a Backup..."), window);
    QObject::connect(action, &QAction::triggered, window, [window] { chooseAndRestore(window); });
    return action;
}

void BackupCommands::setNextChoice(int index)
{
    s_nextChoice = index;
}

QString BackupCommands::whereCopiesAre()
{
    try {
        return shown(Backups::folderOf(Module1::databaseLocation()));
    } catch (const DbError& error) {
        return error.description();
    }
}
