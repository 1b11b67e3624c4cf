#pragma once

#include "data/KeyReader.h"
#include "data/Statement.h"

#include <QString>
#include <memory>

class Book;
class Database;

// The keys of a whole book in its rows' key order, read without a cursor by short statements over the index
// tblTel_Book (Category, SortKey, rowid): a front run from the start and a back run from the end, each continued
// from its last (SortKey, rowid). Each read stays inside the range between the runs, so no row is read twice, and
// every statement is reset after use: no read lock outlives a call. A screen far from both runs is read alone by
// its position in the book (readAt); the runs still read it again when they reach it.
class BookKeys : public KeyReader
{
public:
    BookKeys(std::shared_ptr<Database> database, const Book& book);

    std::vector<std::int64_t> readForward(int limit) override { return readRange(true, limit); }
    std::vector<std::int64_t> readBackward(int limit) override { return readRange(false, limit); }
    std::vector<std::int64_t> readAt(int offset, int limit, bool fromEnd) override;
    bool atEnd() const override { return m_met; }

    // The statement for rowid and SortKey of the book ?1's rows after the row (`key`, `id`) in key order, or before
    // it, the last one first (`forward` false): the rest of the row's name, those rows also meeting `sameName`
    // (" AND ..."), then the names beyond it, those rows meeting `beyond`. Parameters are named by number ("?2").
    static QString continuedFrom(bool forward, const char* key, const char* id, const QString& sameName,
                                 const QString& beyond);

private:
    struct Bound
    {
        Statement::StoredValue sortKey; // as stored: a key another build or tool wrote as text compares as text
        qint64 id = 0;
        bool set = false;
    };

    // Reads up to `limit` keys between the runs, forward after the front run or backward before the back run, and
    // moves that run's bound.
    std::vector<std::int64_t> readRange(bool forward, int limit);

    std::shared_ptr<Database> m_database;
    const Book& m_book;
    bool m_met = false;    // no key is left between the runs' bounds
    Bound m_frontLast;     // the last row of the front run
    Bound m_backFirst;     // the first row of the back run
    Statement m_ranges[8]; // by direction and by which bounds are set
    Statement m_at[2];     // rows counted off from the start, from the end
};
