#pragma once

#include "data/Database.h"
#include "data/SavedCopy.h"

#include <QString>
#include <QVector>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class LikePattern;
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
// The copy holds only what the search needs: the folded text and the rows' keys. A result list reads what it shows
// of its rows from the file (see FoundRows).
//
// A letter's list asks the copy too: which of the keys of a range of the book's index begin with the letter
// (keepMatching), so those rows are not read from the file.
//
// The process keeps one copy, of the file searched last, read through a connection of its own (its reading thread
// waits quietly for a busy file, see prepare()). When the file has changed since it was read, whoever changed it
// (SQLite's data_version), the rows the file's change log names are read again; without a log that covers the
// change (or after a change to the schema), the whole copy is.
class SearchIndex
{
public:
    // The copy for a file, shared by every data control of the process; the last one searched is kept.
    static std::shared_ptr<SearchIndex> forFile(const QString& path);
    // The copy kept for a file, without making one: null when the copy kept is another file's, or none is.
    static std::shared_ptr<SearchIndex> keptFor(const QString& path);

    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    struct Result
    {
        QVector<qint64> keys; // in key order
        // Every key is that of a row of the file at the search, so a list may show the rows by their keys (see
        // FoundRows). False when the copy cannot vouch for that (see startRebuild()): the rows are then read
        // through the statement, which skips the keys that are gone.
        bool keysInFile = false;
    };
    // The rows in which any of the eleven columns matches `pattern`. Throws DbError.
    Result search(const std::string& pattern);
    QVector<qint64> find(const std::string& pattern) { return search(pattern).keys; }
    // Starts reading the copy in a thread of its own, if it was never read, so that the first search finds it
    // ready: the copy kept from the run before when it can be believed, else the whole table, which is then kept
    // for the next run. The search waits for the thread.
    void prepare();
    // The copy was read, by a search or by prepare()'s thread, which is done.
    bool isRead() const { return m_reading.joinable() ? m_readDone.load() : m_built; }
    // Keeps of `keys` those whose searched column `column` matches `pattern`, in their order, as the statement's
    // LIKE would pick them; false, with the keys as they were, when the copy could not be read. Throws DbError.
    bool keepMatching(std::vector<std::int64_t>& keys, int column, const std::string& pattern);
    // How many times the whole table was read into the copy.
    int rebuilds() const { return m_rebuilds; }

private:
    explicit SearchIndex(const QString& path);
    // The copy kept and the file it is of.
    static std::shared_ptr<SearchIndex>& lastCopy(QString** path);
    void open(Database::Waits waits = Database::Waits::Notified);
    void rebuildIfChanged();
    void rebuild();
    // The file's facts the copy follows it by: the schema's version, the log's last entry, whether keys are
    // trusted. Throws DbError when the file is busy.
    void readFacts();
    // The copy kept from an earlier run (see SavedCopy), brought up to date from the file's log and checked
    // against the file; false when there is none or it cannot be believed, and the copy is to be read whole.
    bool bringInSaved();
    bool matchesFile();
    SavedCopy::Parts savedParts(long long& schemaVersion, long long& logSeq);
    // Empties the copy for a read of the whole table; readRest() reads its rows, and may be called again to go on
    // from the last row read when it stopped part way.
    void startRebuild();
    void readRest();
    // Reads again the rows the change log names since the copy was made; false, with nothing changed, when the log
    // cannot vouch for every change.
    bool readChanges();
    struct Change;
    // Each changed row as it is now.
    std::vector<Change> readChangedRows(const std::vector<qint64>& keys);
    // Puts the changed rows in the place of their old text.
    void applyChanges(const std::vector<Change>& changes);
    std::size_t rowCount() const { return std::size_t(m_keys.size()); }

    QString m_path;
    sqlite3* m_db = nullptr;
    bool m_built = false;
    long long m_dataVersion = -1;
    // A changed row as it is now: its folded text, or nothing when it is gone or the copy cannot hold it.
    struct Change
    {
        qint64 key;
        std::uint8_t flags;
        std::optional<std::string> text;
    };
    // The rows the copy could not hold whose stored text matches.
    std::vector<qint64> irregularMatches(const LikePattern& pattern);
    // Adds those rows to the keys found, in key order.
    static void mergeIrregular(QVector<qint64>& keys, const std::vector<qint64>& irregular);
    // Per row: eleven folded columns, each ended by 0x1f; null is 0x1e.
    std::string m_text;
    std::vector<std::uint32_t> m_rowStart; // offset of each row in m_text, plus the end
    QVector<qint64> m_keys;                // the key of each row (a search that finds every row shares them)
    std::vector<std::uint8_t> m_flags;     // of each row: what the all-row patterns ask (kHasDigit, kHasValue)
    std::vector<qint64> m_irregular;       // rows whose text the copy cannot hold faithfully, in key order; tested
                                           // through SQL
    bool m_keysTrusted = false;            // no row can leave the table without the change log noting it
    long long m_schemaVersion = -1;        // of the file when the copy was read whole
    long long m_logSeq = -1;               // the last entry of the change log the copy holds; -1 without a log
    int m_rebuilds = 0;
    bool m_partial = false;          // a read of the whole table stopped part way; the rows up to m_readAfter are in
    qint64 m_readAfter = 0;          // the key of the last row read by a read of the whole table
    std::thread m_reading;           // reads the copy ahead of the first search; nothing else runs meanwhile
    std::atomic<bool> m_stop{false}; // the copy is no longer wanted
    std::atomic<bool> m_readDone{false}; // the thread has ended
};
