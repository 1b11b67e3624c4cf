#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

// One prepared statement, finalized when it goes out of scope. Values are bound as parameters, never joined
// into the text.
class Statement
{
public:
    Statement() = default;
    Statement(sqlite3* db, const QString& sql); // throws DbError
    // The first column of the first row of `sql`; `fallback` when it is null, there is no row, or the statement
    // fails.
    static long long scalar(sqlite3* db, const char* sql, long long fallback);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    sqlite3_stmt* handle() const { return m_stmt; }

    void bind(int index, const QVariant& value); // 1-based, as SQLite counts
    // A value exactly as a column held it, its type and its bytes, to be bound again: compared with the column
    // it came from, it orders as the stored value did, whatever type another tool gave it.
    using StoredValue = std::shared_ptr<sqlite3_value>;
    void bind(int index, const StoredValue& value);
    // Steps once; true while a row is available. Throws DbError on failure.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant value(int column) const; // null stays null, text stays text
    qint64 int64(int column) const;
    StoredValue stored(int column) const;
    // The value as UTF-8 text without a copy (null is the empty text, a number is written as value() writes it);
    // valid until the next step or reset, or the next call of text() for the same column.
    std::string_view text(int column) const;

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    mutable signed char m_utf8File = -1;      // the file's text is UTF-8; -1 until asked
    mutable std::vector<std::string> m_text;  // per column: the text of a value that had to be converted
};
