#pragma once

#include <QString>
#include <QVector>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

// The fast path of the free-text search over both books.
//
// The search statement tests one LIKE pattern against eleven columns of every row of tblTel. Run as written, that
// is eleven calls into the pattern matcher per row, from SQLite's virtual machine. Here the same test runs over a
// compact, case-folded copy of the eleven columns held in memory: the longest literal run of the pattern is looked
// for with memmem, and only the rows where it occurs are tested with the pattern itself, column by column. The
// rows found are exactly those of the statement (same matcher, same folding), in the same order (key order, as
// SQLite scans the table for it).
//
// There is one copy per file in the process, read through a connection of its own. When the file has changed since
// it was read, whoever changed it (SQLite's data_version), the rows the file's change log names are read again;
// without a log that covers the change (or after a change to the schema), the whole copy is.
class SearchIndex
{
public:
    // The columns the search statement tests, in its order.
    static const char* const kColumns[11];

    // The LIKE pattern of a search statement ("*T*" with T's doubled apostrophes made single again), or nothing
    // when `sql` is not exactly the search statement.
    static std::optional<std::string> patternOf(const QString& sql);

    // The copy for a file, shared by every data control of the process; the last one searched is kept.
    static std::shared_ptr<SearchIndex> forFile(const QString& path);

    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // The keys of the rows in which any of the eleven columns matches `pattern`, in key order. Throws DbError.
    QVector<qint64> find(const std::string& pattern);
    // How many times the whole table was read into the copy.
    int rebuilds() const { return m_rebuilds; }

private:
    explicit SearchIndex(const QString& path);
    void rebuildIfChanged();
    void rebuild();
    // Reads again the rows the change log names since the copy was made; false, with nothing changed, when the log
    // cannot vouch for every change.
    bool readChanges();
    long long scalar(const char* sql, long long fallback) const;

    QString m_path;
    sqlite3* m_db = nullptr;
    bool m_built = false;
    long long m_dataVersion = -1;
    std::string m_text;                 // per row: eleven folded columns, each ended by 0x1f; null is 0x1e
    std::vector<std::uint32_t> m_rowStart; // offset of each row in m_text, plus the end
    std::vector<qint64> m_keys;          // key of each row
    std::vector<qint64> m_irregular;     // rows whose text the copy cannot hold faithfully, in key order; tested
                                         // through SQL
    long long m_schemaVersion = -1;      // of the file when the copy was read whole
    long long m_logSeq = -1;             // the last entry of the change log the copy holds; -1 without a log
    int m_rebuilds = 0;
};
