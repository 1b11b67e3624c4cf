#pragma once

#include "data/DbError.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3;

// One open connection to the database file, with the statement dialect installed: LIKE uses the file's own
// pattern language (see LikePattern) instead of SQLite's "%" and "_", letter case ignored for every letter. A
// function is not stored in the file, so the file stays an ordinary SQLite file: every index in it uses SQLite's
// built-in collations and reads the same in any SQLite tool. A book's alphabetical order comes from stored sort
// keys (see Schema and SortKey).
//
// The file keeps a rollback journal, written through (synchronous FULL): a save is in the file itself when it
// returns, a copy of the file alone holds it, and nothing is left beside the file when the program ends. A file
// or folder that cannot be written is opened for reading.
class Database
{
public:
    struct ColumnInfo
    {
        QString name;
        QString declaredType; // upper case: "TEXT", "DATE", "TIME", "INTEGER"
        bool isIntegerKey = false;
    };

    // Opens an existing file. Never creates one: a missing, unreadable or non-database file is a DbError whose
    // description names the path, and so is a file whose tables lack a column the windows need (that file is left
    // byte for byte as it was). A file the program may write gets what the program adds (see Schema).
    static std::shared_ptr<Database> open(const QString& path);
    // Until released, this process opens the file at `path` for reading only, whatever the file's permissions:
    // nothing at all is written to it, not even what opening adds (keys, the change log's trimming, the journal
    // mode). The start holds the file while the damage check runs beside the windows (UntilChecked), and goes on
    // holding a damaged file the user chose to work with as it is (Damaged). Connections opened while the file is
    // held as Damaged stay read-only; those opened while it is held UntilChecked refuse every write while it is held
    // (a DbError that says why) and take writes once it is released, when they also catch up on what opening adds.
    enum class Hold { Damaged, UntilChecked };
    static void holdWrites(const QString& path, Hold why = Hold::Damaged);
    static void releaseWrites(const QString& path);
    static bool writesHeld(const QString& path);
    // Held, and only until the check has ended.
    static bool heldUntilChecked(const QString& path);
    // Creates a new file with both tables at `path`; an existing file is a DbError and stays as it is. The build
    // supplies the program's empty database with it; the program itself never creates the file.
    static void create(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }
    // The file or its folder cannot be written: everything reads, every write is refused.
    bool isReadOnly() const;

    void exec(const QString& sql); // for statements without rows; throws DbError
    QList<ColumnInfo> columns(const QString& table) const;

    // Runs `work` in one write transaction: everything or nothing reaches the file. Inside another transaction,
    // `work` becomes part of it, and the outer one decides.
    template <class F> void transaction(F&& work)
    {
        if (inTransaction()) {
            work();
            return;
        }
        exec(QStringLiteral("BEGIN IMMEDIATE"));
        try {
            work();
            exec(QStringLiteral("COMMIT"));
        } catch (...) {
            rollback();
            throw;
        }
    }

    // Gives every row of tblTel without a current sort key its key (every row, when the keys were made under
    // another collator). True when each row has a key, so a book may be read in key order; a file that cannot be
    // written, or is busy, keeps the keys it has.
    bool refreshSortKeys();
    // Changes when another connection (any program) committed to the file since this one last looked.
    long long dataVersion() const;

    // Whether the windows hear of a connection's wait for another program's lock (see setBusyNotifier): only
    // the connections of the windows' own thread may be Notified.
    enum class Waits { Notified, Quiet };
    // Sets up any connection to the file as the program's own are: the dialect, extended result codes, waiting
    // a few seconds for another program's lock, reading through mmap (also used by tools and tests).
    static void prepareConnection(sqlite3* db, Waits waits = Waits::Notified);
    // How long a statement waits for another program's lock before it gives up.
    static constexpr int kBusyWaitMs = 3000;
    // Shared: from now on the waits of every statement on every connection draw on one allowance of kBusyWaitMs,
    // so that a command of the command line waits that long once, however many statements it runs. Not shared:
    // each statement waits as long on its own again.
    static void shareBusyWait(bool shared);
    // Called when a statement of a Notified connection starts to wait for another program's lock (the windows
    // show a busy cursor). Set from the windows' thread, and called on it only: a Notified connection waiting on
    // any other thread ends the program (qFatal), as that is a fault of the program.
    static void setBusyNotifier(std::function<void()> notifier);

private:
    Database(sqlite3* db, QString path);
    bool inTransaction() const;
    void rollback() noexcept;
    void checkColumns();
    void maintain();
    void guardWhileHeld();

    sqlite3* m_db;
    QString m_path;
    bool m_hasSortKey = false;
    bool m_collatorChecked = false;
    bool m_guarded = false;         // opened while held until checked: writes refused while the hold lasts
    bool m_maintainPending = false; // what opening adds waits for the hold to end
};
