#include "Schema.h"

#include "Database.h"

#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>

namespace {

struct Width
{
    const char* column;
    int width;
};

// The widths are the longest texts the entry window lets a user type.
constexpr Width kTelWidths[] = {
    {"Category", 8}, {"Fname", 15}, {"Lname", 25}, {"BusName", 30}, {"Address", 50}, {"City", 30},
    {"State", 2},    {"Zip", 5},    {"Tel1", 13},  {"Tel2", 13},    {"Pel", 13},     {"Fax", 13},
};

// Statements as one text for sqlite3_exec.
template <std::size_t N> QString script(const char* const (&statements)[N])
{
    QString sql;
    for (const char* statement : statements)
        sql += QLatin1String(statement) + QStringLiteral(";\n");
    return sql;
}

} // namespace

int Schema::widthOf(const QString& table, const QString& column)
{
    if (table.compare(QLatin1String("tblTel"), Qt::CaseInsensitive) != 0)
        return 0;
    for (const Width& w : kTelWidths) {
        if (column.compare(QLatin1String(w.column), Qt::CaseInsensitive) == 0)
            return w.width;
    }
    return 0;
}

QString Schema::indexStatements()
{
    // Each book opens sorted by its own column; a letter reads its book in key order (any of its rows may be on
    // the first screen); the log opens newest first.
    // The state table notes a NOCASE-indexed value outside ASCII written by a connection without this program's
    // collation (triggers run in every tool): such a tool files it where its own NOCASE puts it, and the program
    // then rebuilds the two name indexes.
    static const char* const statements[] = {
        "CREATE INDEX IF NOT EXISTS tblTel_Category ON tblTel (Category)",
        "CREATE INDEX IF NOT EXISTS tblTel_Personal ON tblTel (Category, Lname)",
        "CREATE INDEX IF NOT EXISTS tblTel_Business ON tblTel (Category, BusName)",
        "CREATE INDEX IF NOT EXISTS tblMes_Cdate ON tblMes (Cdate)",
        "CREATE TABLE IF NOT EXISTS tovrin_state (name TEXT PRIMARY KEY, value INTEGER NOT NULL) WITHOUT ROWID",
        "INSERT OR IGNORE INTO tovrin_state VALUES ('reindex', 0)",
        "CREATE TRIGGER IF NOT EXISTS tblTel_insert AFTER INSERT ON tblTel "
        "WHEN coalesce(NEW.Category, '') || coalesce(NEW.Lname, '') || coalesce(NEW.BusName, '') "
        "GLOB '*[^' || char(1) || '-' || char(127) || ']*' "
        "BEGIN UPDATE tovrin_state SET value = 1 WHERE name = 'reindex'; END",
        "CREATE TRIGGER IF NOT EXISTS tblTel_update AFTER UPDATE OF Category, Lname, BusName ON tblTel "
        "WHEN coalesce(NEW.Category, '') || coalesce(NEW.Lname, '') || coalesce(NEW.BusName, '') "
        "GLOB '*[^' || char(1) || '-' || char(127) || ']*' "
        "BEGIN UPDATE tovrin_state SET value = 1 WHERE name = 'reindex'; END",
    };
    return script(statements);
}

QString Schema::changeLogStatements()
{
    // Every row of tblTel written, by whatever tool, leaves its key in tovrin_changes, so a copy of the table
    // kept in memory reads only those rows again. The numbers never repeat (AUTOINCREMENT): a reader that finds
    // fewer entries after its last number than were numbered knows some were cleared, and reads everything.
    static const char* const statements[] = {
        "CREATE TABLE IF NOT EXISTS tovrin_changes (seq INTEGER PRIMARY KEY AUTOINCREMENT, row INTEGER)",
        "CREATE TRIGGER IF NOT EXISTS tblTel_log_insert AFTER INSERT ON tblTel "
        "BEGIN INSERT INTO tovrin_changes (row) VALUES (NEW.ID); END",
        "CREATE TRIGGER IF NOT EXISTS tblTel_log_update AFTER UPDATE ON tblTel "
        "BEGIN INSERT INTO tovrin_changes (row) VALUES (OLD.ID); "
        "INSERT INTO tovrin_changes (row) SELECT NEW.ID WHERE NEW.ID IS NOT OLD.ID; END",
        "CREATE TRIGGER IF NOT EXISTS tblTel_log_delete AFTER DELETE ON tblTel "
        "BEGIN INSERT INTO tovrin_changes (row) VALUES (OLD.ID); END",
    };
    return script(statements);
}

QString Schema::createStatements()
{
    // Each width is a named CHECK constraint, so the refusal names the field and its width. The key column lets
    // grids write edits and deletions back to the right row; it fills itself.
    QStringList telColumns{QStringLiteral("ID INTEGER PRIMARY KEY")};
    for (const Width& w : kTelWidths) {
        telColumns << QStringLiteral("%1 TEXT COLLATE NOCASE CONSTRAINT \"%1 holds at most %2 characters\" "
                                     "CHECK (length(%1) <= %2)")
                          .arg(QLatin1String(w.column))
                          .arg(w.width);
    }
    // Dates and times are ISO text, so ORDER BY sorts them as dates and the stock shell shows them readably.
    const QString mes = QStringLiteral(
        "CREATE TABLE tblMes (\n"
        "  ID INTEGER PRIMARY KEY,\n"
        "  Cdate DATE CONSTRAINT \"Cdate holds a real date as yyyy-mm-dd\" CHECK (Cdate IS NULL OR (typeof(Cdate) = "
        "'text' AND Cdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]' AND date(Cdate, '+0 days') IS Cdate)),\n"
        "  Ctime TIME CONSTRAINT \"Ctime holds a real time as hh:mm:ss\" CHECK (Ctime IS NULL OR (typeof(Ctime) = "
        "'text' AND Ctime GLOB '[0-9][0-9]:[0-9][0-9]:[0-9][0-9]' AND time(Ctime) IS Ctime)),\n"
        "  Meet TEXT COLLATE NOCASE,\n"
        "  Avur TEXT COLLATE NOCASE,\n"
        "  Hodaa TEXT COLLATE NOCASE\n"
        ");\n");
    return QStringLiteral("CREATE TABLE tblTel (\n  ") + telColumns.join(QStringLiteral(",\n  ")) +
           QStringLiteral("\n);\n") + mes + indexStatements() + changeLogStatements();
}

void Schema::createFile(const QString& path)
{
    if (QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("The file \"%1\" exists already; it is left as it is.").arg(path));
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, ("PRAGMA journal_mode=WAL; BEGIN; " + createStatements() + "COMMIT;").toUtf8().constData(),
                          nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = Database::errorOf(db, rc);
        sqlite3_close(db);
        throw error;
    }
    sqlite3_close(db);
    // Stamp the file as indexed with this program's collation.
    Database::open(path);
}
