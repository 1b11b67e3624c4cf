#include "data/Schema.h"

#include "data/Columns.h"

namespace {

constexpr const char* kBookIndex = "CREATE INDEX IF NOT EXISTS tblTel_Book ON tblTel (Category, SortKey)";
constexpr const char* kMesColumns[] = {"Cdate", "Ctime", "Meet", "Avur", "Hodaa"};

// Statements as one text for sqlite3_exec.
template <std::size_t N> QString script(const char* const (&statements)[N])
{
    QString sql;
    for (const char* statement : statements)
        sql += QLatin1String(statement) + QStringLiteral(";\n");
    return sql;
}

QString keyStatements()
{
    // A book walks tblTel_Book in (Category, SortKey, rowid) order: equal keys keep the order rows were added in.
    // The column's own NOCASE (SQLite's) serves the book test Category = 'Personal'.
    // The triggers forget a key that no longer fits its row; an inserting tool may bring keys made elsewhere (under
    // another locale), so those are forgotten as well. The program's own inserts and edits write no key.
    static const char* const statements[] = {
        kBookIndex,
        "CREATE INDEX IF NOT EXISTS tblTel_Unkeyed ON tblTel (SortKey) WHERE SortKey IS NULL",
        "CREATE TRIGGER IF NOT EXISTS tblTel_key_insert AFTER INSERT ON tblTel WHEN NEW.SortKey IS NOT NULL "
        "BEGIN UPDATE tblTel SET SortKey = NULL WHERE rowid = NEW.rowid; END",
        "CREATE TRIGGER IF NOT EXISTS tblTel_key_update AFTER UPDATE OF Category, Lname, BusName ON tblTel "
        "WHEN NEW.SortKey IS NOT NULL "
        "BEGIN UPDATE tblTel SET SortKey = NULL WHERE rowid = NEW.rowid; END",
    };
    return script(statements);
}

QString otherIndexStatements()
{
    // A letter reads its book by Category (any of its rows may be on the first screen); the log opens newest first.
    static const char* const statements[] = {
        "CREATE INDEX IF NOT EXISTS tblTel_Category ON tblTel (Category)",
        "CREATE INDEX IF NOT EXISTS tblMes_Cdate ON tblMes (Cdate)",
        "CREATE TABLE IF NOT EXISTS tovrin_state (name TEXT PRIMARY KEY, value) WITHOUT ROWID",
    };
    return script(statements);
}

QString messageStateStatements()
{
    // Each message's state (see MessageLog), tied to the message by its rowid and its five values then. The
    // triggers carry the tie along when any tool edits the message and drop the state when any tool deletes it; a
    // renumbering no trigger hears of is mended when the program next reads the log.
    QStringList same;
    QStringList follow;
    for (const char* column : kMesColumns) {
        same << QStringLiteral("%1 IS OLD.%1 COLLATE BINARY").arg(QLatin1String(column));
        follow << QStringLiteral("%1 = NEW.%1").arg(QLatin1String(column));
    }
    const QString held = same.join(QStringLiteral(" AND "));
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS tovrin_message (uid TEXT NOT NULL UNIQUE, message INTEGER, Cdate, Ctime, "
               "Meet, Avur, Hodaa, done INTEGER NOT NULL DEFAULT 0 CHECK (done IN (0, 1)), done_at TEXT, done_by TEXT, "
               "call_back INTEGER NOT NULL DEFAULT 0 CHECK (call_back IN (0, 1)), urgent INTEGER NOT NULL DEFAULT 0 "
               "CHECK (urgent IN (0, 1)));\n"
               "CREATE INDEX IF NOT EXISTS tovrin_message_row ON tovrin_message (message);\n"
               "CREATE TRIGGER IF NOT EXISTS tblMes_state_update AFTER UPDATE ON tblMes BEGIN UPDATE tovrin_message "
               "SET message = NEW.rowid, %2 WHERE message = OLD.rowid AND %1; END;\n"
               "CREATE TRIGGER IF NOT EXISTS tblMes_state_delete AFTER DELETE ON tblMes BEGIN DELETE FROM "
               "tovrin_message WHERE message = OLD.rowid AND %1; END;\n")
        .arg(held, follow.join(QStringLiteral(", ")));
}

QString changeLogStatements()
{
    // Every row of tblTel whose searched text or key changes, by whatever tool, leaves its key in tovrin_changes,
    // so a copy of the table kept in memory reads only those rows again. The numbers never repeat (AUTOINCREMENT):
    // a reader that finds fewer entries after its last number than were numbered knows some were cleared, and
    // reads everything. A new sort key changes nothing searched, so it is not logged.
    static const char* const statements[] = {
        "CREATE TABLE IF NOT EXISTS tovrin_changes (seq INTEGER PRIMARY KEY AUTOINCREMENT, row INTEGER)",
        "CREATE TRIGGER IF NOT EXISTS tblTel_log_insert AFTER INSERT ON tblTel "
        "BEGIN INSERT INTO tovrin_changes (row) VALUES (NEW.ID); END",
        "CREATE TRIGGER IF NOT EXISTS tblTel_log_delete AFTER DELETE ON tblTel "
        "BEGIN INSERT INTO tovrin_changes (row) VALUES (OLD.ID); END",
    };
    QStringList searched;
    for (const char* column : Columns::searchedNames())
        searched << QLatin1String(column);
    return script(statements) +
           QStringLiteral("CREATE TRIGGER IF NOT EXISTS tblTel_log_update AFTER UPDATE OF ID, %1 ON tblTel "
                          "BEGIN INSERT INTO tovrin_changes (row) VALUES (OLD.ID); "
                          "INSERT INTO tovrin_changes (row) SELECT NEW.ID WHERE NEW.ID IS NOT OLD.ID; END;\n")
               .arg(searched.join(QStringLiteral(", ")));
}

} // namespace

int Schema::widthOf(const QString& table, const QString& column)
{
    if (table.compare(QLatin1String("tblTel"), Qt::CaseInsensitive) != 0)
        return 0;
    const Columns::Column* c = Columns::named(column);
    return c ? c->width : 0;
}

QString Schema::bookIndexStatement()
{
    return QLatin1String(kBookIndex) + QStringLiteral(";\n");
}

QStringList Schema::missingColumns(const QStringList& telColumns, const QStringList& mesColumns)
{
    QStringList missing;
    for (const Columns::Column& c : Columns::kAll) {
        if (!telColumns.contains(c.columnName(), Qt::CaseInsensitive))
            missing << QStringLiteral("tblTel.%1").arg(c.columnName());
    }
    for (const char* column : kMesColumns) {
        if (!mesColumns.contains(QLatin1String(column), Qt::CaseInsensitive))
            missing << QStringLiteral("tblMes.%1").arg(QLatin1String(column));
    }
    return missing;
}

QString Schema::upgradeStatements(bool hasSortKey, bool keyedById)
{
    // Earlier versions kept name indexes in an order of their own NOCASE and triggers that flagged names for
    // re-indexing; every other tool read those indexes wrongly. They go, and whatever else uses NOCASE is rebuilt
    // in SQLite's own order. The log's update trigger is made again so that new keys are not logged.
    QString sql = QStringLiteral("DROP TRIGGER IF EXISTS tblTel_insert;\n"
                                 "DROP TRIGGER IF EXISTS tblTel_update;\n"
                                 "DROP INDEX IF EXISTS tblTel_Personal;\n"
                                 "DROP INDEX IF EXISTS tblTel_Business;\n"
                                 "DROP TRIGGER IF EXISTS tblTel_log_update;\n"
                                 "REINDEX NOCASE;\n");
    if (!hasSortKey)
        sql += QStringLiteral("ALTER TABLE tblTel ADD COLUMN SortKey BLOB;\n");
    sql += otherIndexStatements() + keyStatements() + messageStateStatements();
    sql += QStringLiteral("DELETE FROM tovrin_state WHERE name = 'reindex';\n");
    if (keyedById)
        sql += changeLogStatements();
    return sql + QStringLiteral("PRAGMA user_version = %1;\n").arg(kVersion);
}

QStringList Schema::upgradeObjects(bool keyedById)
{
    QStringList names{QStringLiteral("tblTel_Book"),        QStringLiteral("tblTel_Unkeyed"),
                      QStringLiteral("tblTel_key_insert"),  QStringLiteral("tblTel_key_update"),
                      QStringLiteral("tblTel_Category"),    QStringLiteral("tblMes_Cdate"),
                      QStringLiteral("tovrin_state"),       QStringLiteral("tovrin_message"),
                      QStringLiteral("tovrin_message_row"), QStringLiteral("tblMes_state_update"),
                      QStringLiteral("tblMes_state_delete")};
    if (keyedById)
        names << QStringLiteral("tovrin_changes") << QStringLiteral("tblTel_log_insert")
              << QStringLiteral("tblTel_log_update") << QStringLiteral("tblTel_log_delete");
    return names;
}

QString Schema::createStatements()
{
    // Each width is a named CHECK constraint, so the refusal names the field and its width. The key column lets
    // grids write edits and deletions back to the right row; it fills itself.
    QStringList telColumns{QStringLiteral("ID INTEGER PRIMARY KEY")};
    for (const Columns::Column& c : Columns::kAll) {
        telColumns << QStringLiteral("%1 TEXT COLLATE NOCASE CONSTRAINT \"%1 holds at most %2 characters\" "
                                     "CHECK (length(%1) <= %2)")
                          .arg(c.columnName())
                          .arg(c.width);
    }
    telColumns << QStringLiteral("SortKey BLOB");
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
           QStringLiteral("\n);\n") + mes + otherIndexStatements() + keyStatements() + changeLogStatements() +
           messageStateStatements() + QStringLiteral("PRAGMA user_version = %1;\n").arg(kVersion);
}
