#include "data/Backups.h"

#include "data/Database.h"
#include "data/DbError.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The steps a copy reads the file in: the file is shared between steps, so the windows' saves never wait long.
constexpr int kPagesPerStep = 1024;
constexpr int kWaitMs = 3000;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A connection of the copy's own: no dialect, no busy cursor, only a plain wait for another writer.
sqlite3* openPlain(const QString& path, bool writable)
{
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &db,
                        (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = DbError::fromEngine(db, rc);
        sqlite3_close(db);
        throw error;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kWaitMs);
    return db;
}

struct Connection
{
    sqlite3* db;
    ~Connection() { sqlite3_close_v2(db); }
};

void syncPath(const QString& path, bool folder)
{
    const int fd = ::open(QFile::encodeName(path).constData(), folder ? O_RDONLY | O_DIRECTORY : O_WRONLY);
    if (fd < 0)
        throw DbError(
            SQLITE_IOERR,
            QCoreApplication::translate("Backups", "Cannot write \"%1\": %2.").arg(shown(path), systemError(errno)));
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced && !folder)
        throw DbError(
            SQLITE_IOERR,
            QCoreApplication::translate("Backups", "Cannot write \"%1\": %2.").arg(shown(path), systemError(error)));
}

// Copies every page of `from` into `to` through the online backup API; with `steps`, a few pages at a time.
void runBackup(sqlite3* to, sqlite3* from, bool steps)
{
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw DbError::fromEngine(to, sqlite3_errcode(to));
    int rc = SQLITE_OK;
    int waited = 0;
    do {
        rc = sqlite3_backup_step(backup, steps ? kPagesPerStep : -1);
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
            if (waited >= kWaitMs)
                break;
            sqlite3_sleep(20);
            waited += 20;
            rc = SQLITE_OK;
        }
    } while (rc == SQLITE_OK);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        // The error belongs to whichever side failed; the destination's says so when it was there.
        sqlite3* side = sqlite3_errcode(to) != SQLITE_OK ? to : from;
        throw DbError::fromEngine(side, sqlite3_errcode(side) != SQLITE_OK ? sqlite3_errcode(side) : rc);
    }
}

// A new empty file `<prefix>XXXXXX<suffix>` of mode 0600; returns its path.
QString temporaryFile(const QString& prefix, const QString& suffix)
{
    QByteArray name = QFile::encodeName(prefix) + "XXXXXX" + QFile::encodeName(suffix);
    const int fd = ::mkstemps(name.data(), int(QFile::encodeName(suffix).size()));
    if (fd < 0)
        throw DbError(SQLITE_CANTOPEN, QCoreApplication::translate("Backups", "Cannot create a file in \"%1\": %2.")
                                           .arg(shown(QFileInfo(prefix).absolutePath()), systemError(errno)));
    ::close(fd);
    return QFile::decodeName(name);
}

// A whole consistent copy of `from`, written beside `to` and renamed over it.
void writeWhole(const QString& from, const QString& to, mode_t mode)
{
    const QFileInfo target(to);
    const QString temporary = temporaryFile(
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.'), QStringLiteral(".part"));
    try {
        Backups::copyInto(from, temporary);
        ::chmod(QFile::encodeName(temporary).constData(), mode);
        syncPath(temporary, false);
        if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(to).constData()) != 0)
            throw DbError(
                SQLITE_CANTOPEN,
                QCoreApplication::translate("Backups", "Cannot write \"%1\": %2.").arg(shown(to), systemError(errno)));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    syncPath(target.absolutePath(), true);
}

// The file's bytes as they lie, for a file SQLite cannot read as a database.
void copyBytes(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw DbError(
            SQLITE_CANTOPEN,
            QCoreApplication::translate("Backups", "Cannot read \"%1\": %2.").arg(shown(from), source.errorString()));
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly) || target.write(source.readAll()) != source.size() ||
        !target.flush() || ::fsync(target.handle()) != 0) {
        const QString reason = target.errorString();
        target.remove();
        throw DbError(SQLITE_IOERR,
                      QCoreApplication::translate("Backups", "Cannot write \"%1\": %2.").arg(shown(to), reason));
    }
    target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

struct Names
{
    QString base;   // "Dalvek"
    QString suffix; // "mdb"
};

Names namesOf(const QString& database)
{
    const QFileInfo info(database);
    return {info.completeBaseName(), info.suffix()};
}

QString dailyName(const QString& database, const QDate& day)
{
    const Names names = namesOf(database);
    return QStringLiteral("%1 %2.%3").arg(names.base, day.toString(Qt::ISODate), names.suffix);
}

bool isDamage(const DbError& error)
{
    const int code = error.number() & 0xff;
    return code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
}

[[noreturn]] void cannotBackUp(const QString& database, const QString& folder, const QString& reason)
{
    throw DbError(SQLITE_CANTOPEN,
                  QCoreApplication::translate("Backups", "No backup copy of \"%1\" could be made in \"%2\": %3")
                      .arg(shown(database), shown(folder), reason));
}

QString ensureFolder(const QString& database)
{
    const QString folder = Backups::folderOf(database);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        cannotBackUp(database, folder, systemError(errno) + QLatin1Char('.'));
    struct stat st;
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        cannotBackUp(database, folder, QCoreApplication::translate("Backups", "it is not a folder of your own."));
    return folder;
}

} // namespace

QString Backups::folderOf(const QString& database)
{
    return QFileInfo(database).absolutePath() + QStringLiteral("/backups");
}

void Backups::copyInto(const QString& database, const QString& target)
{
    const Connection from{openPlain(database, false)};
    const Connection to{openPlain(target, true)};
    // The copy is written whole and made durable by the caller; a journal of its own would only double the writes.
    sqlite3_exec(to.db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    runBackup(to.db, from.db, true);
}

QString Backups::make(const QString& database, const QDateTime& now, const QString& why)
{
    const QString folder = ensureFolder(database);
    QString name = dailyName(database, now.date());
    if (!why.isEmpty()) {
        const Names names = namesOf(database);
        const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
        name = QStringLiteral("%1 %2 %3.%4").arg(names.base, stamp, why, names.suffix);
        for (int n = 2; QFileInfo::exists(folder + QLatin1Char('/') + name); ++n)
            name = QStringLiteral("%1 %2 %3 %4.%5").arg(names.base, stamp, why).arg(n).arg(names.suffix);
    }
    const QString path = folder + QLatin1Char('/') + name;
    try {
        writeWhole(database, path, 0600);
    } catch (const DbError& error) {
        cannotBackUp(database, folder, error.description());
    }
    return path;
}

bool Backups::dailyDue(const QString& database, const QDate& today)
{
    return !QFileInfo::exists(folderOf(database) + QLatin1Char('/') + dailyName(database, today));
}

QList<Backups::Copy> Backups::list(const QString& database, bool counted)
{
    const Names names = namesOf(database);
    static const QRegularExpression pattern(
        QStringLiteral("^(.+) (\\d{4}-\\d{2}-\\d{2})(?: (\\d{6}) (.+))?\\.([^.]+)$"));
    QList<Copy> copies;
    const QDir folder(folderOf(database));
    for (const QFileInfo& file : folder.entryInfoList(QDir::Files | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = pattern.match(file.fileName());
        if (!match.hasMatch() || match.captured(1) != names.base || match.captured(5) != names.suffix)
            continue;
        Copy copy;
        copy.path = file.absoluteFilePath();
        copy.daily = match.captured(3).isEmpty();
        copy.why = match.captured(4);
        const QDate day = QDate::fromString(match.captured(2), Qt::ISODate);
        const QTime time = copy.daily ? QTime(0, 0) : QTime::fromString(match.captured(3), QStringLiteral("HHmmss"));
        if (!day.isValid() || !time.isValid())
            continue;
        copy.made = QDateTime(day, time);
        copy.timeKnown = !copy.daily;
        // The copy is written whole under another name and renamed: its modification time is when it was made.
        if (const QDateTime modified = file.lastModified(); copy.daily && modified.date() == day) {
            // To the second, as the names of the other copies give it.
            copy.made =
                QDateTime(day, QTime(modified.time().hour(), modified.time().minute(), modified.time().second()));
            copy.timeKnown = true;
        }
        if (counted)
            copy.problem = problemOf(copy.path, &copy.entries, &copy.messages);
        copies.append(copy);
    }
    std::stable_sort(copies.begin(), copies.end(),
                     [](const Copy& a, const Copy& b) { return a.made != b.made ? a.made > b.made : a.path > b.path; });
    return copies;
}

QStringList Backups::rotate(const QString& database, const QDate& today)
{
    const QList<Copy> copies = list(database, false); // newest first
    QList<const Copy*> kept;
    int dailies = 0;
    for (const Copy& copy : copies) {
        if (copy.daily && dailies < kDailyKept) {
            ++dailies;
            kept.append(&copy);
        } else if (!copy.daily && copy.made.date() > today.addDays(-7)) {
            kept.append(&copy);
        }
    }
    for (int week = 0; week < kWeeksKept; ++week) {
        const QDate last = today.addDays(-7 * week);
        const QDate first = last.addDays(-6);
        const auto newest = std::find_if(copies.begin(), copies.end(), [&](const Copy& copy) {
            return copy.made.date() >= first && copy.made.date() <= last;
        });
        if (newest != copies.end())
            kept.append(&*newest);
    }
    QStringList removed;
    for (const Copy& copy : copies) {
        if (!kept.contains(&copy) && QFile::remove(copy.path))
            removed.append(copy.path);
    }
    // What a copy stopped dead (a kill, a power cut) left half-written; a day old, no copy is still writing it.
    const QDir folder(folderOf(database));
    for (const QFileInfo& part : folder.entryInfoList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden)) {
        if (part.lastModified().date() < today.addDays(-1) && QFile::remove(part.absoluteFilePath()))
            removed.append(part.absoluteFilePath());
    }
    return removed;
}

QString Backups::problemOf(const QString& path, qint64* entries, qint64* messages)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return systemError(errno);
    if (!S_ISREG(st.st_mode))
        return QCoreApplication::translate("Backups", "it is not a plain file");
    try {
        // Read-write when it may be: a save cut short elsewhere is rolled back first, as any SQLite tool does.
        const QFileInfo info(path);
        const Connection db{openPlain(path, info.isWritable() && QFileInfo(info.absolutePath()).isWritable())};
        QStringList found;
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db.db, "PRAGMA quick_check(5)", -1, &stmt, nullptr);
        while (rc == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            found << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        rc = sqlite3_finalize(stmt);
        if (rc != SQLITE_OK)
            throw DbError::fromEngine(db.db, rc);
        if (found != QStringList{QStringLiteral("ok")})
            return QCoreApplication::translate("Backups", "it is damaged (%1)").arg(found.join(QStringLiteral("; ")));
        for (const auto& [table, count] : {std::pair{"tblTel", entries}, std::pair{"tblMes", messages}}) {
            stmt = nullptr;
            rc = sqlite3_prepare_v2(db.db, (QByteArray("SELECT count(*) FROM ") + table).constData(), -1, &stmt,
                                    nullptr);
            if (rc != SQLITE_OK) {
                sqlite3_finalize(stmt);
                return QCoreApplication::translate("Backups", "it is no directory file (it has no table %1)")
                    .arg(QLatin1String(table));
            }
            sqlite3_step(stmt);
            if (count)
                *count = sqlite3_column_int64(stmt, 0);
            sqlite3_finalize(stmt);
        }
        // The columns the windows need, as the program checks them when it opens a file: a file with other
        // columns under the same table names is no directory file either.
        QStringList columns[2];
        for (int t = 0; t < 2; ++t) {
            stmt = nullptr;
            sqlite3_prepare_v2(db.db,
                               t == 0 ? "SELECT name FROM pragma_table_info('tblTel')"
                                      : "SELECT name FROM pragma_table_info('tblMes')",
                               -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                columns[t] << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            sqlite3_finalize(stmt);
        }
        if (const QStringList missing = Schema::missingColumns(columns[0], columns[1]); !missing.isEmpty())
            return QCoreApplication::translate("Backups", "it is no directory file of this program (it lacks %1)")
                .arg(missing.join(QStringLiteral(", ")));
    } catch (const DbError& error) {
        // Held by another writer is no damage: whoever goes on meets the wait and its message as usual.
        if (error.isBusy())
            return QString();
        return error.description().section(QLatin1Char('\n'), 0, 0);
    }
    return QString();
}

QString Backups::restore(const QString& database, const QString& backup, const QDateTime& now)
{
    if (const QString problem = problemOf(backup); !problem.isEmpty())
        throw DbError(SQLITE_CANTOPEN,
                      QCoreApplication::translate("Backups", "\"%1\" cannot be restored: %2. Nothing was changed.")
                          .arg(shown(backup), problem));
    struct stat current;
    if (::lstat(QFile::encodeName(database).constData(), &current) != 0 || !S_ISREG(current.st_mode))
        throw DbError(SQLITE_CANTOPEN,
                      QCoreApplication::translate("Backups", "\"%1\" is not a plain file; nothing was restored.")
                          .arg(shown(database)));

    QString kept;
    try {
        kept = make(database, now, QStringLiteral("before restore"));
    } catch (const DbError& error) {
        if (problemOf(database).isEmpty())
            throw;
        // Too damaged for SQLite to copy: its bytes are kept as they are.
        const QString folder = ensureFolder(database);
        const Names names = namesOf(database);
        kept = QStringLiteral("%1/%2 %3 before restore (damaged).%4")
                   .arg(folder, names.base, now.toString(QStringLiteral("yyyy-MM-dd HHmmss")), names.suffix);
        copyBytes(database, kept);
    }

    try {
        const Connection from{openPlain(backup, false)};
        const Connection to{openPlain(database, true)};
        sqlite3_exec(to.db, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
        // One step: the whole contents in one transaction of the file's own journal.
        runBackup(to.db, from.db, false);
    } catch (const DbError& error) {
        if (!isDamage(error))
            throw;
        // A file SQLite cannot even start a transaction on: a whole new file takes its name. Its journal, if any,
        // belongs to the damaged file and must never be played back into the new one.
        QFile::remove(database + QStringLiteral("-journal"));
        writeWhole(backup, database, current.st_mode & 07777);
    }
    return kept;
}
