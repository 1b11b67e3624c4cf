#pragma once

#include "DbError.h"

#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

// One open connection to the database file, with the statement dialect installed:
//  - LIKE uses the file's own pattern language (see LikePattern) instead of SQLite's "%" and "_";
//  - the NOCASE collation, which the text columns are declared with, folds every letter Unicode folds, so "=",
//    LIKE and ORDER BY ignore letter case for é/É as well as for A/a.
// The statements the windows send therefore run exactly as written. The file itself stays an ordinary SQLite
// file that the stock sqlite3 shell reads (it has its own NOCASE, which agrees with ours on ASCII text).
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
    // description names the path.
    static std::shared_ptr<Database> open(const QString& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

    void exec(const QString& sql); // for statements without rows; throws DbError
    QList<ColumnInfo> columns(const QString& table) const;

    // Runs `work` in one write transaction: everything or nothing reaches the file. The program's own writes
    // are filed in the name indexes with its own collation, so they do not mark the indexes for rebuilding.
    template <class F> void transaction(F&& work)
    {
        exec(QStringLiteral("BEGIN IMMEDIATE"));
        try {
            const bool wasClear = collationFlagClear();
            work();
            if (wasClear)
                clearCollationFlag();
        } catch (...) {
            rollback();
            throw;
        }
        exec(QStringLiteral("COMMIT"));
    }

    // Rebuilds the name indexes when another tool has written a name outside ASCII since the last check.
    void checkCollation();

    // The error of the last call on `db`, as a DbError. The description names the file.
    static DbError errorOf(sqlite3* db, int rc);

    // Installs the dialect's LIKE and NOCASE on any connection (also used by tools and tests on their own
    // connections).
    static void installDialect(sqlite3* db);

private:
    Database(sqlite3* db, QString path);
    void rollback() noexcept;
    void maintain();
    int scalarInt(const char* sql, int fallback) const;
    bool collationFlagClear() const;
    void clearCollationFlag();

    sqlite3* m_db;
    QString m_path;
};
