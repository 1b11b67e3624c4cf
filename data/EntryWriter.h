#pragma once

#include "data/Statement.h"
#include "data/StoredRows.h"

#include <QString>
#include <functional>
#include <memory>

class Database;
class Recordset;
struct Contact;

// Adds entries and messages to a file in bulk, as an import does, and reads what the file holds already so the
// caller can tell what is new. Entries are written with every column as text (one INSERT, prepared once), all of
// them inside one transaction; each is recorded for undo as any write of the program's own connections.
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
    // Writes an entry, each of its fields into its column (see Columns), and returns its row. Throws DbError.
    qint64 add(const Contact& entry);
    // Adds rows to the log. Throws DbError.
    void addMessages(const QList<StoredRows::Row>& rows);

private:
    std::shared_ptr<Database> m_db;
    Statement m_insert;
};
