#include "data/Database.h"

#include "data/Backups.h"
#include "data/Book.h"
#include "data/LikePattern.h"
#include "data/Schema.h"
#include "data/SortKey.h"
#include "data/Statement.h"
#include "data/UndoLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// The steps a statement waits for another program's lock in.
constexpr int kBusyStepMs = 20;

std::function<void()> s_busyNotifier;
std::thread::id s_notifierThread; // the windows' thread, which set the notifier
// With one allowance shared by every connection: how much of it is left, in ms.
std::atomic<bool> s_busyWaitShared{false};
std::atomic<int> s_sharedBusyWaitLeft{0};

// The files this process opens for reading only (see holdWrites), by absolute path.
QMutex s_heldMutex;
QHash<QString, Database::Hold> s_held;

QString heldKey(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

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

// tovrin_sortkey(Category, Lname, BusName): the key of the row's sort column for its book.
void sortKeyFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const auto text = [argv](int i) {
        const auto* utf16 = static_cast<const char16_t*>(sqlite3_value_text16(argv[i]));
        return std::u16string_view(utf16 ? utf16 : u"", std::size_t(sqlite3_value_bytes16(argv[i])) / 2);
    };
    static const QString businessName = Book::Business.name();
    const std::u16string_view category = text(0);
    const bool business = QStringView(category).compare(businessName, Qt::CaseInsensitive) == 0;
    const std::u16string_view name = text(business ? 2 : 1);
    const QByteArray key = SortKey::of(name.data(), int(name.size()));
    sqlite3_result_blob(ctx, key.constData(), int(key.size()), SQLITE_TRANSIENT);
}

// `notifies`: non-null on a connection whose waits the windows hear of.
int busyWait(void* notifies, int count)
{
    if (count == 0 && notifies && s_busyNotifier) {
        // The notifier works on the windows (a busy pointer): a connection of another thread must not reach it.
        if (std::this_thread::get_id() != s_notifierThread)
            qFatal("A connection of another thread waits with the windows' busy notifier");
        s_busyNotifier();
    }
    if (s_busyWaitShared.load()) {
        if (s_sharedBusyWaitLeft.fetch_sub(kBusyStepMs) <= 0)
            return 0;
    } else if (count * kBusyStepMs >= Database::kBusyWaitMs) {
        return 0;
    }
    sqlite3_sleep(kBusyStepMs);
    return 1;
}

QString quoted(const QString& identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool isMain(const char* schema)
{
    return schema && std::strcmp(schema, "main") == 0;
}

// Refuses, while the file is held, every statement that would write to it: the rows, the schema, and the pragmas
// that write. Reading, the temporary schema and the connection's own settings stay allowed.
int refuseWritesWhileHeld(void* database, int action, const char* arg1, const char* arg2, const char* schema,
                          const char*)
{
    bool writes = false;
    switch (action) {
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_VIEW:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_DROP_VIEW:
    case SQLITE_ALTER_TABLE:
    case SQLITE_REINDEX:
    case SQLITE_ANALYZE:
        writes = action == SQLITE_ALTER_TABLE ? isMain(arg1) : isMain(schema);
        break;
    case SQLITE_PRAGMA: {
        const auto named = [arg1](const char* name) { return arg1 && sqlite3_stricmp(arg1, name) == 0; };
        writes = named("wal_checkpoint") || named("incremental_vacuum") || named("optimize") ||
                 (arg2 && (named("journal_mode") || named("user_version") || named("application_id") ||
                           named("schema_version")));
        break;
    }
    default:
        break;
    }
    if (writes && Database::writesHeld(static_cast<const Database*>(database)->path()))
        return SQLITE_DENY;
    return SQLITE_OK;
}

sqlite3* openConnection(const QString& path, bool writable, bool immutable, int& rc)
{
    sqlite3* db = nullptr;
    QByteArray name = path.toUtf8();
    int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
    if (immutable) {
        // A file left in write-ahead mode on a medium nothing can write (a disc, a read-only share) is read as
        // it lies: the journal's side files cannot be made there.
        name = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    return db;
}

} // namespace

std::shared_ptr<Database> Database::open(const QString& path)
{
    const QFileInfo info(path);
    const QString shown = info.absoluteFilePath();
    if (!info.exists())
        throw DbError(SQLITE_CANTOPEN,
                      QCoreApplication::translate("Database", "The database file \"%1\" does not exist.").arg(shown));

    // A rollback journal is made beside the file, so writing needs the folder as well. Asked with the ids the
    // kernel checks the open against (QFileInfo asks with the real ones).
    const auto mayWrite = [](const QString& name) {
        return faccessat(AT_FDCWD, QFile::encodeName(name).constData(), W_OK, AT_EACCESS) == 0;
    };
    // While the start's check runs, the connection is made for writing, to take writes the moment the check passed.
    const bool checking = heldUntilChecked(path);
    const bool writable = (checking || !writesHeld(path)) && mayWrite(path) && mayWrite(info.absolutePath());
    std::shared_ptr<Database> database;
    for (const bool immutable : {false, true}) {
        int rc = SQLITE_OK;
        sqlite3* db = openConnection(path, writable, immutable, rc);
        if (rc != SQLITE_OK) {
            const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(db);
            throw DbError(rc, QCoreApplication::translate("Database", "Cannot open the database file \"%1\": %2.")
                                  .arg(shown, message));
        }
        database.reset(new Database(db, path));
        if (writable && checking)
            database->guardWhileHeld();
        try {
            // Reading the schema is the first access to the file: it tells a database from any other file, and
            // nothing is changed before the file has shown it is one of this program's.
            database->checkColumns();
            break;
        } catch (const DbError& error) {
            const int code = error.number() & 0xff;
            if (writable || immutable || (code != SQLITE_CANTOPEN && code != SQLITE_READONLY))
                throw;
        }
    }
    if (database->m_guarded && writesHeld(path))
        database->m_maintainPending = true;
    else if (!database->isReadOnly())
        database->maintain();
    return database;
}

void Database::guardWhileHeld()
{
    m_guarded = true;
    sqlite3_set_authorizer(m_db, refuseWritesWhileHeld, this);
}

void Database::holdWrites(const QString& path, Hold why)
{
    const QMutexLocker lock(&s_heldMutex);
    s_held.insert(heldKey(path), why);
}

void Database::releaseWrites(const QString& path)
{
    const QMutexLocker lock(&s_heldMutex);
    s_held.remove(heldKey(path));
}

bool Database::writesHeld(const QString& path)
{
    const QMutexLocker lock(&s_heldMutex);
    return s_held.contains(heldKey(path));
}

bool Database::heldUntilChecked(const QString& path)
{
    const QMutexLocker lock(&s_heldMutex);
    return s_held.value(heldKey(path), Hold::Damaged) == Hold::UntilChecked;
}

void Database::create(const QString& path)
{
    if (QFileInfo::exists(path))
        throw DbError(
            SQLITE_CANTOPEN,
            QCoreApplication::translate("Database", "The file \"%1\" exists already; it is left as it is.").arg(path));
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, ("BEGIN; " + Schema::createStatements() + "COMMIT;").toUtf8().constData(), nullptr,
                          nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = DbError::fromEngine(db, rc);
        sqlite3_close(db);
        QFile::remove(path);
        throw error;
    }
    sqlite3_close(db);
}

Database::Database(sqlite3* db, QString path) : m_db(db), m_path(std::move(path))
{
    prepareConnection(m_db);
    // Room for the index pages of a large book (counting half a million rows touches about 8 MB of them), which
    // stay valid from one statement to the next while the file is unchanged. The memory is taken as pages are read.
    sqlite3_exec(m_db, "PRAGMA cache_size = -16384", nullptr, nullptr, nullptr);
    // Used by the program's own statements only; nothing stored in the file names it.
    // The user's steps are recorded from the program's own connections, so that they can be taken back.
    UndoLog::watch(m_db);
    sqlite3_create_function(m_db, "tovrin_sortkey", 3, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr, sortKeyFunction,
                            nullptr, nullptr);
}

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

void Database::prepareConnection(sqlite3* db, Waits waits)
{
    static int notifying = 1;
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_handler(db, busyWait, waits == Waits::Notified ? &notifying : nullptr);
    // Each commit reaches the disk before the save returns, whatever this SQLite build's default.
    sqlite3_exec(db, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
    // Rows are read through the operating system's page cache, shared by every connection to the file, instead
    // of each connection's own small cache: the names of a letter are spread all over the table. (Counting a large
    // book turns the mapping off for a moment: see GridModel::count.)
    sqlite3_exec(db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
}

void Database::shareBusyWait(bool shared)
{
    s_sharedBusyWaitLeft.store(kBusyWaitMs);
    s_busyWaitShared.store(shared);
}

void Database::setBusyNotifier(std::function<void()> notifier)
{
    s_busyNotifier = std::move(notifier);
    s_notifierThread = std::this_thread::get_id();
}

bool Database::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1 || (m_guarded && writesHeld(m_path));
}

void Database::exec(const QString& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw DbError::fromEngine(m_db, rc);
}

bool Database::inTransaction() const
{
    return !sqlite3_get_autocommit(m_db);
}

void Database::rollback() noexcept
{
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

QList<Database::ColumnInfo> Database::columns(const QString& table) const
{
    QList<ColumnInfo> result;
    Statement info(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    while (info.step()) {
        ColumnInfo column;
        column.name = info.value(1).toString();
        column.declaredType = info.value(2).toString().toUpper();
        column.isIntegerKey = info.int64(5) == 1 && column.declaredType == QLatin1String("INTEGER");
        result.append(column);
    }
    return result;
}

long long Database::dataVersion() const
{
    return Statement::scalar(m_db, "PRAGMA data_version", -1);
}

void Database::checkColumns()
{
    const auto names = [this](const char* table) {
        QStringList result;
        for (const ColumnInfo& column : columns(QLatin1String(table)))
            result << column.name;
        return result;
    };
    const QStringList tel = names("tblTel");
    const QStringList mes = names("tblMes");
    const QString shown = QFileInfo(m_path).absoluteFilePath();
    if (tel.isEmpty() && mes.isEmpty())
        throw DbError(SQLITE_NOTADB, QCoreApplication::translate(
                                         "Database", "The file is not a database of this program: it has neither "
                                                     "the directory nor the messages (tables tblTel and tblMes).\n"
                                                     "Database file: %1")
                                         .arg(shown));
    const QStringList missing = Schema::missingColumns(tel, mes);
    if (!missing.isEmpty())
        throw DbError(SQLITE_NOTADB,
                      QCoreApplication::translate(
                          "Database", "The file is not a database of this program, or it was changed by another: it "
                                      "lacks %1. It was left as it is.\nDatabase file: %2")
                          .arg(missing.join(QStringLiteral(", ")), shown));
    m_hasSortKey = tel.contains(QLatin1String("SortKey"), Qt::CaseInsensitive);
}

void Database::maintain()
{
    // A file left in write-ahead mode (by an earlier version, or another tool) goes back to a rollback journal.
    // That needs the file to itself: while another connection has it open it stays as it is for now.
    if (Statement::scalar(m_db, "SELECT count(*) FROM pragma_journal_mode WHERE journal_mode = 'wal'", 0) == 1)
        sqlite3_exec(m_db, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);

    const auto telColumns = columns(QStringLiteral("tblTel"));
    const bool keyedById = std::any_of(telColumns.begin(), telColumns.end(), [](const ColumnInfo& column) {
        return column.isIntegerKey && column.name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0;
    });
    bool current = m_hasSortKey && Statement::scalar(m_db, "PRAGMA user_version", 0) == Schema::kVersion;
    if (current) {
        Statement present(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = ?"));
        for (const QString& name : Schema::upgradeObjects(keyedById)) {
            present.reset();
            present.bind(1, name);
            current = current && present.step() && present.int64(0) == 1;
        }
    }
    try {
        if (!current) {
            // The upgrade changes every row of tblTel: a copy of the file as it was comes first, or no upgrade.
            Backups::make(m_path, QDateTime::currentDateTime(), QStringLiteral("before upgrade"));
            transaction([&] { exec(Schema::upgradeStatements(m_hasSortKey, keyedById)); });
            m_hasSortKey = true;
        }
        // A search far behind reads the whole table anyway, so the log keeps only its newest entries. (A search
        // that finds entries it needs gone reads the whole table too.)
        if (keyedById &&
            Statement::scalar(m_db, "SELECT max(seq) - min(seq) FROM tovrin_changes", 0) >= 2 * Schema::kChangesKept)
            exec(QStringLiteral("DELETE FROM tovrin_changes WHERE seq <= (SELECT max(seq) FROM tovrin_changes) - %1")
                     .arg(Schema::kChangesKept));
    } catch (const DbError&) {
        // Busy elsewhere, or refused: the file is used as it is, and the next open tries again.
    }
}

bool Database::refreshSortKeys()
{
    if (m_maintainPending && !isReadOnly()) {
        // Opened while the start's check ran, which the file has passed since.
        m_maintainPending = false;
        maintain();
    }
    if (!m_hasSortKey)
        return false;
    if (!isReadOnly()) {
        try {
            // Keys made under another collator (another locale, another ICU) order differently: all are made again.
            const QString collator = SortKey::collatorName();
            bool all = false;
            if (!m_collatorChecked) {
                Statement stored(m_db, QStringLiteral("SELECT value FROM tovrin_state WHERE name = 'collator'"));
                all = !stored.step() || stored.value(0).toString() != collator;
            }
            Statement pending(m_db, QStringLiteral("SELECT rowid FROM tblTel WHERE SortKey IS NULL LIMIT 1"));
            if (all) {
                // The index is built again in one sorted pass rather than changed a row at a time.
                transaction([&] {
                    exec(QStringLiteral("DROP INDEX IF EXISTS tblTel_Book;\n"
                                        "UPDATE tblTel SET SortKey = tovrin_sortkey(Category, Lname, BusName);\n") +
                         Schema::bookIndexStatement());
                    Statement note(m_db, QStringLiteral("INSERT OR REPLACE INTO tovrin_state VALUES ('collator', ?)"));
                    note.bind(1, collator);
                    note.step();
                });
            } else if (pending.step()) {
                pending.reset();
                transaction([&] {
                    exec(QStringLiteral("UPDATE tblTel SET SortKey = tovrin_sortkey(Category, Lname, BusName) "
                                        "WHERE SortKey IS NULL"));
                });
            }
            m_collatorChecked = true;
        } catch (const DbError& error) {
            // Busy elsewhere, or a file that turned read-only: the book is read with the keys it has. A damaged
            // file says so.
            if (!error.isBusy() && (error.number() & 0xff) != SQLITE_READONLY)
                throw;
        }
    }
    Statement unkeyed(m_db, QStringLiteral("SELECT rowid FROM tblTel WHERE SortKey IS NULL LIMIT 1"));
    return !unkeyed.step();
}
