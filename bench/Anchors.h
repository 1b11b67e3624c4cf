#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

// The two yardsticks every search figure is set against, run on the same file as the program's own statements.
namespace Anchors {

// The same search as stock SQLite runs it: a connection of its own, without the program's LIKE,
// with the built-in LIKE and "%". Every row of the result is stepped and its eleven columns read.
class StockSearch
{
public:
    explicit StockSearch(const QString& path); // read-only; throws DbError
    ~StockSearch();
    StockSearch(const StockSearch&) = delete;
    StockSearch& operator=(const StockSearch&) = delete;

    // Number of rows found; `bytes` gets the length of all text read, so the reads cannot be left out. With
    // `asQString`, each column is also made a QString, as anything that shows it in Qt has to.
    long long run(const QString& text, long long& bytes, bool asQString = false) const;

private:
    sqlite3* m_db = nullptr;
};

// The physical limit: the eleven columns of every row held in memory, folded to lower case once, and searched
// with memmem. Loading and folding happen in the constructor; only search() is meant to be timed.
class MemoryScan
{
public:
    explicit MemoryScan(const QString& path); // throws DbError
    // Indexes of the rows whose text holds `foldedNeedle` (see fold) in one of the columns.
    std::vector<unsigned> search(std::string_view foldedNeedle) const;
    size_t bytes() const { return m_text.size(); }

    // Lower case by the dialect's folding, re-encoded as UTF-8.
    static std::string fold(std::string_view utf8);

private:
    std::string m_text;           // each field followed by a separator no text holds
    std::vector<size_t> m_rowEnd; // offset just past each row
};

} // namespace Anchors
