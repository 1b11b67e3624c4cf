#include "Database.h"

#include "LikePattern.h"
#include "Schema.h"
#include "Statement.h"
#include "TextFold.h"

#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace {

// Marks a file whose NOCASE indexes were last built with this program's collation (see reindexIfNeeded).
constexpr int kCollationStamp = 0x54565231;

std::string_view textOf(sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, size_t(sqlite3_value_bytes(value))) : std::string_view();
}

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    // x LIKE y arrives as like(y, x). A null on either side gives null, as SQLite's own LIKE does.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return;
    // The pattern is the same for every row of a statement: compile it once and keep it with the statement.
    if (const auto* cached = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 0))) {
        sqlite3_result_int(ctx, cached->matches(textOf(argv[1])));
        return;
    }
    auto* pattern = new LikePattern(textOf(argv[0]));
    sqlite3_result_int(ctx, pattern->matches(textOf(argv[1])));
    // SQLite owns it from here on and may free it at once when the pattern is not a constant.
    sqlite3_set_auxdata(ctx, 0, pattern, [](void* p) { delete static_cast<LikePattern*>(p); });
}

int noCaseCollation(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return TextFold::compareNoCase(std::string_view(static_cast<const char*>(a), size_t(lengthA)),
                                   std::string_view(static_cast<const char*>(b), size_t(lengthB)));
}

QString quoted(const QString& identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

std::shared_ptr<Database> Database::open(const QString& path)
{
    const QString shown = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN, QStringLiteral("The database file \"%1\" does not exist.").arg(shown));

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw DbError(rc, QStringLiteral("Cannot open the database file \"%1\": %2.").arg(shown, message));
    }
    std::shared_ptr<Database> database(new Database(db, path));
    // Reading the schema is the first access to the file: it tells a database from any other file. An empty file
    // reads as an empty database and another program's database reads fine too; both are turned away here, before
    // the journal mode and the stamp below would change them.
    {
        Statement tables(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) "
                                            "IN ('tbltel', 'tblmes')"));
        if (!tables.step() || tables.int64(0) == 0)
            throw DbError(SQLITE_NOTADB, QStringLiteral("The file is not a database of this program: it has neither "
                                                        "the directory nor the messages (tables tblTel and tblMes).\n"
                                                        "Database file: %1")
                                             .arg(shown));
    }
    // Readers then never block writers, also when another copy of the program has the same file open.
    // A read-only file or folder cannot switch; it stays in its own mode and is still readable.
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    database->maintain();
    return database;
}

Database::Database(sqlite3* db, QString path) : m_db(db), m_path(std::move(path))
{
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
    // Rows are read through the operating system's page cache, shared by every connection to the file, instead
    // of each connection's own small cache: a book read in key order jumps all over the table.
    sqlite3_exec(m_db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
    installDialect(m_db);
}

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

void Database::installDialect(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, noCaseCollation);
}

void Database::exec(const QString& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw errorOf(m_db, rc);
}

void Database::rollback() noexcept
{
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

QList<Database::ColumnInfo> Database::columns(const QString& table) const
{
    QList<ColumnInfo> result;
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)).toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw errorOf(m_db, sqlite3_errcode(m_db));
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ColumnInfo info;
        info.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        info.declaredType = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))).toUpper();
        info.isIntegerKey = sqlite3_column_int(stmt, 5) == 1 && info.declaredType == QLatin1String("INTEGER");
        result.append(info);
    }
    sqlite3_finalize(stmt);
    return result;
}

int Database::scalarInt(const char* sql, int fallback) const
{
    sqlite3_stmt* stmt = nullptr;
    int value = fallback;
    if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

void Database::maintain()
{
    // Files made before an index existed, or by another tool, get the program's indexes; a read-only file
    // is read as it is.
    const bool writable = !sqlite3_db_readonly(m_db, "main");
    const bool hasTables =
        scalarInt("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('tblTel', 'tblMes')", 0) == 2;
    if (writable && hasTables) {
        sqlite3_exec(m_db, Schema::indexStatements().toUtf8().constData(), nullptr, nullptr, nullptr);
        const auto telColumns = columns(QStringLiteral("tblTel"));
        const bool keyedById = std::any_of(telColumns.begin(), telColumns.end(), [](const ColumnInfo& column) {
            return column.isIntegerKey && column.name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0;
        });
        if (keyedById) {
            sqlite3_exec(m_db, Schema::changeLogStatements().toUtf8().constData(), nullptr, nullptr, nullptr);
            // A search far behind reads the whole table anyway, so the log keeps only its newest entries. (A
            // search that finds entries it needs gone reads the whole table too.)
            if (scalarInt("SELECT max(seq) - min(seq) FROM tovrin_changes", 0) >= 2 * Schema::kChangesKept)
                sqlite3_exec(m_db,
                             QStringLiteral("DELETE FROM tovrin_changes WHERE seq <= (SELECT max(seq) FROM "
                                            "tovrin_changes) - %1")
                                 .arg(Schema::kChangesKept)
                                 .toUtf8()
                                 .constData(),
                             nullptr, nullptr, nullptr);
        }
    }

    // An index over NOCASE text built by another tool (with SQLite's ASCII-only NOCASE) disagrees with ours on
    // letters outside ASCII; files this program has indexed carry a stamp.
    if (scalarInt("PRAGMA user_version", 0) != kCollationStamp && writable) {
        if (scalarInt("SELECT count(*) FROM sqlite_master WHERE type = 'index'", 0) > 0)
            sqlite3_exec(m_db, "REINDEX NOCASE", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, QStringLiteral("PRAGMA user_version = %1").arg(kCollationStamp).toUtf8().constData(),
                     nullptr, nullptr, nullptr);
    }
    checkCollation();
}

void Database::checkCollation()
{
    if (scalarInt("SELECT value FROM tovrin_state WHERE name = 'reindex'", 0) != 1)
        return;
    // Another tool wrote a name outside ASCII into an index ordered by its own NOCASE.
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE; REINDEX NOCASE; UPDATE tovrin_state SET value = 0 WHERE name = "
                           "'reindex'; COMMIT",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        rollback();
}

bool Database::collationFlagClear() const
{
    return scalarInt("SELECT value FROM tovrin_state WHERE name = 'reindex'", 0) == 0;
}

void Database::clearCollationFlag()
{
    sqlite3_exec(m_db, "UPDATE tovrin_state SET value = 0 WHERE name = 'reindex'", nullptr, nullptr, nullptr);
}

DbError Database::errorOf(sqlite3* db, int rc)
{
    const int code = db ? sqlite3_extended_errcode(db) : rc;
    QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    const QString where = file && *file ? QString::fromUtf8(file) : QString();

    const QLatin1String check("CHECK constraint failed: ");
    const QLatin1String noTable("no such table: ");
    if (message.startsWith(check))
        message = QStringLiteral("The value was refused: %1.").arg(message.mid(check.size()));
    else if (message.startsWith(noTable))
        message =
            QStringLiteral("The database file has no table %1: it is damaged or was made by another program (%2).")
                .arg(message.mid(noTable.size()), message);
    else if ((code & 0xff) == SQLITE_NOTADB)
        message = QStringLiteral("The file is not a database of this program, or it is damaged (%1).").arg(message);
    else if ((code & 0xff) == SQLITE_CORRUPT)
        message = QStringLiteral("The database file is damaged (%1).").arg(message);
    else if ((code & 0xff) == SQLITE_READONLY)
        message = QStringLiteral("The database file cannot be written: it or its folder is read-only (%1).")
                      .arg(message);
    else if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED)
        message = QStringLiteral("The database file is in use by another program; try again (%1).").arg(message);
    else if ((code & 0xff) == SQLITE_FULL)
        message = QStringLiteral("The disk or the database file is full (%1).").arg(message);
    else if ((code & 0xff) == SQLITE_IOERR)
        message = QStringLiteral("The database file could not be read or written: the disk may be full, removed or "
                                 "failing (%1).")
                      .arg(message);
    if (!where.isEmpty())
        message += QStringLiteral("\nDatabase file: %1").arg(where);
    return DbError(code, message);
}
