#pragma once

#include "data/KeyReader.h"
#include "data/Statement.h"

#include <QByteArray>
#include <memory>
#include <string>

class Book;
class Database;
class SearchIndex;

// The keys of a letter's names in the book's order, read from the index tblTel_Book alone: the range of sort keys
// that holds the letter's names (and the few that only sort with them, an accented first letter, say), a batch at a
// time from the last key read, each batch picked by the search's copy of the names (SearchIndex::keepMatching), as
// the letter's statement picks them. The statement is reset after each batch: no read lock outlives a call.
class LetterKeys : public KeyReader
{
public:
    // `copy` is read already; `column` is the book's sort column among the searched ones.
    LetterKeys(std::shared_ptr<Database> database, const Book& book, QByteArray low, QByteArray high,
               std::shared_ptr<SearchIndex> copy, int column, std::string pattern);

    std::vector<std::int64_t> readForward(int limit) override;
    bool atEnd() const override { return m_end; }

private:
    // Up to `limit` keys of the range after the last one read. Throws DbError.
    std::vector<std::int64_t> readRange(int limit);

    std::shared_ptr<Database> m_database;
    const Book& m_book;
    QByteArray m_low;
    QByteArray m_high;
    std::shared_ptr<SearchIndex> m_copy;
    int m_column;
    std::string m_pattern;
    Statement m_first; // the range from its start
    Statement m_next;  // the range after the last row read
    Statement::StoredValue m_lastKey;
    qint64 m_lastId = 0;
    bool m_started = false;
    bool m_end = false;
};
