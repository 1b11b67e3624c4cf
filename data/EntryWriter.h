#pragma once

#include "data/StoredRows.h"

#include <QString>
#include <functional>
#include <memory>

class Database;
class Recordset;

// Adds entries and messages to a file in bulk, as an import does, and reads what the file holds already so the
// caller can tell what is new. Entries are written as the entry window saves them (one record set, its INSERT
// prepared once for rows that set the same columns), all of them inside one transaction.
class EntryWriter
{
public:
    // Opens the file at `databasePath`. Throws DbError.
    explicit EntryWriter(const QString& databasePath);
    ~EntryWriter();
    EntryWriter(const EntryWriter&) = delete;
    EntryWriter& operator=(const EntryWriter&) = delete;

    // One entry of the file while readEntries passes it on: a column's value by name, a NULL as the empty text.
    class Entry
    {
    public:
        QString operator[](const QString& column) const;

    private:
        friend class EntryWriter;
        explicit Entry(const Recordset& rows) : m_rows(rows) {}
        const Recordset& m_rows;
    };
    // Calls `each` for every entry of the file. Throws DbError.
    void readEntries(const std::function<void(const Entry&)>& each);
    // The messages of `rows` the log does not hold yet (see StoredRows::newMessages). Throws DbError.
    QList<StoredRows::Row> newMessages(const QList<StoredRows::Row>& rows);

    // Runs `work` in one write transaction: every entry and message it adds reaches the file, or, when it throws,
    // none does (the exception goes on to the caller).
    void transaction(const std::function<void()>& work);
    // Sets a column of the next entry by name; add() writes the entry and returns its row. Throws DbError.
    void set(const QString& column, const QString& value);
    qint64 add();
    // Adds rows to the log. Throws DbError.
    void addMessages(const QList<StoredRows::Row>& rows);

private:
    std::shared_ptr<Database> m_db;
    std::unique_ptr<Recordset> m_rows; // appends only: its cursor never starts, so it never holds the file
    bool m_adding = false;             // set() began the next entry
};
