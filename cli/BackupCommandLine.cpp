#include "cli/BackupCommandLine.h"

#include "cli/CommandRegistry.h"
#include "cli/Console.h"
#include "data/Backups.h"
#include "exchange/TargetFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

int backup(const CommandArguments& given)
{
    const QString database = given.workingDatabase();
    const QString path = given.value(QStringLiteral("backup"));
    TargetFile target(path, database);
    Backups::copyInto(database, target.temporaryPath());
    target.commit();
    Console::out(QCoreApplication::translate("BackupCommandLine", "A copy of %1 was written to %2.\n")
                     .arg(shown(database), path));
    return 0;
}

int listBackups(const CommandArguments& given)
{
    const QString database = given.workingDatabase();
    const QList<Backups::Copy> copies = Backups::list(database);
    Console::out(QCoreApplication::translate("BackupCommandLine", "Backup copies in %1:\n")
                     .arg(shown(Backups::folderOf(database))));
    int code = 0;
    for (const Backups::Copy& copy : copies) {
        Console::out(
            QStringLiteral("%1\t%2\t%3\n")
                .arg(copy.made.toString(copy.timeKnown ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                                       : QStringLiteral("yyyy-MM-dd")),
                     copy.problem.isEmpty()
                         ? QCoreApplication::translate("BackupCommandLine", "%1 entries, %2 messages")
                               .arg(copy.entries)
                               .arg(copy.messages)
                         : QCoreApplication::translate("BackupCommandLine", "cannot be restored: %1").arg(copy.problem),
                     QFileInfo(copy.path).fileName()));
        if (!copy.problem.isEmpty())
            code = 1;
    }
    return code;
}

int restore(const CommandArguments& given)
{
    const QString database = given.workingDatabase();
    // A plain name is a copy in the backups folder, unless a file of that name is here.
    QString from = given.value(QStringLiteral("restore"));
    const QString inFolder = Backups::folderOf(database) + QLatin1Char('/') + from;
    if (!QFileInfo::exists(from) && !from.contains(QLatin1Char('/')) && QFileInfo::exists(inFolder))
        from = inFolder;
    const QString kept = Backups::restore(database, from, QDateTime::currentDateTime());
    Console::out(QCoreApplication::translate("BackupCommandLine",
                                             "%1 was restored from %2; its former contents are kept as %3.\n")
                     .arg(shown(database), shown(from), shown(kept)));
    return 0;
}

} // namespace

void BackupCommandLine::addTo(CommandRegistry& registry)
{
    registry.addCommand(
        {QStringLiteral("backup"),
         QCoreApplication::translate("BackupCommandLine", "Writes a consistent copy of the directory file to FILE."),
         QStringLiteral("FILE")},
        backup);
    registry.addCommand(
        {QStringLiteral("list-backups"),
         QCoreApplication::translate("BackupCommandLine",
                                     "Lists the program's backup copies with their entries and messages.")},
        listBackups);
    registry.addCommand({QStringLiteral("restore"),
                         QCoreApplication::translate(
                             "BackupCommandLine",
                             "Replaces the directory's contents with those of FILE (a path, or the name of a copy in "
                             "the backups folder), keeping a copy of the current contents first."),
                         QStringLiteral("FILE")},
                        restore);
}
