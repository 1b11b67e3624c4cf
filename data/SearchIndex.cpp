#include "data/SearchIndex.h"

#include "data/Database.h"
#include "data/DbError.h"
#include "data/LikePattern.h"
#include "data/SavedCopy.h"
#include "data/Schema.h"
#include "data/SearchedColumns.h"
#include "data/Statement.h"
#include "data/TextFold.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <sqlite3.h>
#include <unordered_set>

namespace {

constexpr char kEndOfColumn = '\x1f';
constexpr char kNull = '\x1e';

// The masked values the windows write take less room in the copy (a million rows hold millions of them): a
// telephone left empty ("___ - _______") and a zip left empty ("_____") are one byte each, and a telephone as its
// mask writes it ("052 - 1234567") keeps its digits with one byte in place of " - ". Text that holds these bytes
// itself is not held by the copy (see appendFolded).
constexpr char kEmptyPhone = '\x01';
constexpr char kEmptyZip = '\x02';
constexpr char kPhoneDash = '\x03';
constexpr std::string_view kEmptyPhoneText = "___ - _______";
constexpr std::string_view kEmptyZipText = "_____";
constexpr std::string_view kDash = " - ";
constexpr std::size_t kPhoneAreaDigits = 3;
constexpr std::size_t kPhoneDigits = 10;

// Asks for the memory at `address` ahead of its use, where the compiler can.
void prefetch(const void* address)
{
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    Q_UNUSED(address);
#endif
}

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return unsigned(c - '0') < 10u; });
}

// Rewrites the folded column that ends `out` from `from` on in its packed form, where it has one.
void pack(std::string& out, std::size_t from)
{
    const std::string_view value = std::string_view(out).substr(from);
    if (value == kEmptyPhoneText || value == kEmptyZipText) {
        const char code = value == kEmptyPhoneText ? kEmptyPhone : kEmptyZip;
        out.resize(from);
        out.push_back(code);
    } else if (value.size() == kPhoneDigits + kDash.size() && value.substr(kPhoneAreaDigits, kDash.size()) == kDash &&
               allDigits(value.substr(0, kPhoneAreaDigits)) &&
               allDigits(value.substr(kPhoneAreaDigits + kDash.size()))) {
        out.replace(from + kPhoneAreaDigits, kDash.size(), 1, kPhoneDash);
    }
}

// Whether the needle may lie inside a packed value, where memmem does not see it: only digits, spaces, dashes and
// underscores, one of the last three among them. (Digits alone lie in a telephone's digits as they lie in its text.)
bool mayLieInPackedValue(std::string_view needle)
{
    return needle.find_first_not_of("0123456789 -_") == std::string_view::npos &&
           needle.find_first_of(" -_") != std::string_view::npos;
}

// A column of the copy as its folded text: a packed value is written out in `buffer`.
std::string_view unpacked(std::string_view column, std::string& buffer)
{
    if (column.size() == 1 && column[0] == kEmptyPhone)
        return kEmptyPhoneText;
    if (column.size() == 1 && column[0] == kEmptyZip)
        return kEmptyZipText;
    if (column.size() == kPhoneDigits + 1 && column[kPhoneAreaDigits] == kPhoneDash) {
        buffer.assign(column.substr(0, kPhoneAreaDigits));
        buffer += kDash;
        buffer += column.substr(kPhoneAreaDigits + 1);
        return buffer;
    }
    return column;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// True when one of the eight bytes of `word` is an ASCII digit. For bytes below 0x80, adding 0x7f - '9' sets the
// high bit of those above '9' and adding 0x80 - '0' that of those from '0' on; a byte of 0x80 or more (UTF-8) is
// excluded by its own high bit. No carry crosses a byte, since each byte is below 0x80 where it counts.
constexpr bool hasDigitByte(std::uint64_t word)
{
    constexpr std::uint64_t ones = ~std::uint64_t(0) / 255;
    constexpr std::uint64_t low7 = ones * 0x7f;
    constexpr std::uint64_t high = ones * 0x80;
    const std::uint64_t seven = word & low7;
    const std::uint64_t aboveNine = seven + ones * (0x7f - '9');
    const std::uint64_t fromZero = seven + ones * (0x80 - '0');
    return (fromZero & ~aboveNine & ~word & high) != 0;
}

// Appends the folded text; false when the text holds something the copy cannot represent faithfully (bytes that
// are no UTF-8, the copy's own separators, or the bytes of its packed values).
bool appendFolded(std::string& out, std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (b == kEndOfColumn || b == kNull || b == kEmptyPhone || b == kEmptyZip || b == kPhoneDash)
                return false;
            out.push_back(char(b >= 'A' && b <= 'Z' ? b + 32 : b));
            ++pos;
            continue;
        }
        const char32_t c = TextFold::decode(text, pos);
        if (c >= 0xDC00 && c <= 0xDCFF)
            return false;
        appendUtf8(out, TextFold::fold(c));
    }
    return true;
}

constexpr std::uint8_t kHasDigit = 1; // an ASCII digit in some column: what "#" finds
constexpr std::uint8_t kHasValue = 2; // some column not null: what a pattern of stars only finds

// Appends the folded text of the searched columns of the statement's row (its columns from 1 on) and gives its
// flags; false, with `out` as it was, when the copy cannot hold it.
bool appendRow(std::string& out, sqlite3_stmt* stmt, std::uint8_t& flags)
{
    const std::size_t start = out.size();
    flags = 0;
    for (int c = 1; c <= SearchedColumns::kCount; ++c) {
        if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
            out.push_back(kNull);
        } else {
            flags |= kHasValue;
            const std::size_t from = out.size();
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            const std::string_view value(text, std::size_t(sqlite3_column_bytes(stmt, c)));
            if (!appendFolded(out, value)) {
                out.resize(start);
                return false;
            }
            const std::string_view folded = std::string_view(out).substr(from);
            if (!(flags & kHasDigit) &&
                std::any_of(folded.begin(), folded.end(), [](char b) { return unsigned(b - '0') < 10u; }))
                flags |= kHasDigit;
            pack(out, from);
        }
        out.push_back(kEndOfColumn);
    }
    return true;
}

// The key and the searched columns of tblTel.
std::string rowStatement(const char* where)
{
    std::string sql = "SELECT ID";
    for (const char* column : SearchedColumns::kNames)
        sql += std::string(", ") + column;
    return sql + " FROM tblTel " + where;
}

} // namespace

// The copy of the file last searched stays, so a search after a return to the directory window is as quick as the
// one before.
std::shared_ptr<SearchIndex>& SearchIndex::lastCopy(QString** path)
{
    static QString lastPath;
    static std::shared_ptr<SearchIndex> last;
    *path = &lastPath;
    return last;
}

std::shared_ptr<SearchIndex> SearchIndex::forFile(const QString& path)
{
    QString* lastPath = nullptr;
    std::shared_ptr<SearchIndex>& last = lastCopy(&lastPath);
    const QString key = QFileInfo(path).absoluteFilePath();
    if (!last || *lastPath != key) {
        last.reset(new SearchIndex(path));
        *lastPath = key;
    }
    return last;
}

std::shared_ptr<SearchIndex> SearchIndex::keptFor(const QString& path)
{
    QString* lastPath = nullptr;
    const std::shared_ptr<SearchIndex>& last = lastCopy(&lastPath);
    return last && *lastPath == QFileInfo(path).absoluteFilePath() ? last : nullptr;
}

SearchIndex::SearchIndex(const QString& path) : m_path(path) {}

SearchIndex::~SearchIndex()
{
    m_stop = true;
    if (m_reading.joinable())
        m_reading.join();
    sqlite3_close_v2(m_db);
}

void SearchIndex::open(Database::Waits waits)
{
    const int rc =
        sqlite3_open_v2(m_path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = DbError::fromEngine(m_db, rc);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw error;
    }
    Database::prepareConnection(m_db, waits);
    // The copy reads every row once and keeps what it needs; mapped, the whole file would stay resident in the
    // process besides.
    sqlite3_exec(m_db, "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr);
}

void SearchIndex::prepare()
{
    if (m_reading.joinable() || m_built)
        return;
    m_reading = std::thread([this] {
        try {
            // The windows hear of a busy file from their own statements only, on their own thread; this read
            // simply gives up, and the first search reads the copy itself.
            if (!m_db)
                open(Database::Waits::Quiet);
            sqlite3_busy_timeout(m_db, 0);
            m_dataVersion = Statement::scalar(m_db, "PRAGMA data_version", -1);
            if (!bringInSaved()) {
                rebuild();
                if (m_built)
                    SavedCopy::save(m_path, savedParts(m_schemaVersion, m_logSeq));
            }
        } catch (...) {
            m_built = false; // the first search tries again, and reports what goes wrong
        }
        m_readDone = true;
    });
}

void SearchIndex::rebuildIfChanged()
{
    if (m_reading.joinable()) {
        m_reading.join();
        if (m_db) {
            Database::prepareConnection(m_db); // back to the busy handler the windows hear from
            sqlite3_exec(m_db, "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr);
        }
    }
    if (!m_db)
        open();
    const long long version = Statement::scalar(m_db, "PRAGMA data_version", -1);
    if (m_built && version == m_dataVersion)
        return;
    // Read the version first: a change landing while the copy is read shows at the next search.
    m_dataVersion = version;
    // The log, the schema and the rows are read in one snapshot of the file.
    int rc = sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError::fromEngine(m_db, rc);
    try {
        if (m_partial) {
            // The read ahead stopped part way (a busy file, say): the rows it did read stay, the rest is read now,
            // and whatever changed meanwhile comes from the log as after any read ahead.
            readRest();
            if (!readChanges())
                rebuild();
        } else if (!(m_built && readChanges())) {
            rebuild();
        }
    } catch (...) {
        m_built = false; // whatever was half read, the next search reads everything
        m_partial = false;
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
}

bool SearchIndex::readChanges()
{
    if (m_logSeq < 0 || Statement::scalar(m_db, "PRAGMA schema_version", -1) != m_schemaVersion)
        return false;
    const long long last = Statement::scalar(m_db, "SELECT seq FROM sqlite_sequence WHERE name = 'tovrin_changes'", 0);
    if (last == m_logSeq)
        return true; // the change was elsewhere: the log of messages, say
    if (last < m_logSeq || last - m_logSeq > Schema::kChangesKept)
        return false;

    std::vector<qint64> changed;
    try {
        Statement log(m_db, QStringLiteral("SELECT row FROM tovrin_changes WHERE seq > ? ORDER BY seq"));
        log.bind(1, m_logSeq);
        while (log.step())
            changed.push_back(log.int64(0));
    } catch (const DbError&) {
        return false; // the whole table is read instead
    }
    // Entries were numbered without gaps; any missing were cleared before this copy saw them.
    if (changed.size() != std::size_t(last - m_logSeq))
        return false;
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    applyChanges(readChangedRows(changed));
    m_logSeq = last;
    return true;
}

std::vector<SearchIndex::Change> SearchIndex::readChangedRows(const std::vector<qint64>& changed)
{
    std::vector<Change> changes;
    Statement rowNow(m_db, QString::fromStdString(rowStatement("WHERE ID = ?")));
    sqlite3_stmt* stmt = rowNow.handle();
    for (qint64 key : changed) {
        rowNow.reset();
        rowNow.bind(1, key);
        const bool found = rowNow.step();
        const auto irregular = std::lower_bound(m_irregular.begin(), m_irregular.end(), key);
        if (irregular != m_irregular.end() && *irregular == key)
            m_irregular.erase(irregular);
        Change change{key, 0, std::nullopt};
        if (found) {
            change.text.emplace();
            if (!appendRow(*change.text, stmt, change.flags)) {
                change.text.reset();
                m_irregular.insert(std::lower_bound(m_irregular.begin(), m_irregular.end(), key), key);
            }
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

void SearchIndex::applyChanges(const std::vector<Change>& changes)
{
    std::string& current = m_text;
    if (m_keys.empty() || changes.front().key > m_keys.back()) {
        // New rows after the last: the usual save. They go on the end, nothing moves.
        m_rowStart.pop_back();
        for (const Change& change : changes) {
            if (!change.text)
                continue;
            m_rowStart.push_back(std::uint32_t(current.size()));
            m_keys.push_back(change.key);
            m_flags.push_back(change.flags);
            current += *change.text;
        }
        m_rowStart.push_back(std::uint32_t(current.size()));
    } else {
        // One pass merges the changed rows into the unchanged ones, into a new text.
        std::string text;
        text.reserve(current.size() + 4096);
        std::vector<std::uint32_t> rowStart;
        rowStart.reserve(rowCount() + changes.size() + 1);
        QVector<qint64> rows;
        rows.reserve(m_keys.size() + qsizetype(changes.size()));
        std::vector<std::uint8_t> flags;
        flags.reserve(rowCount() + changes.size());
        std::size_t row = 0;
        const auto copyRowsBefore = [&](std::size_t end) {
            const std::uint32_t from = m_rowStart[row];
            const std::uint32_t to = m_rowStart[end];
            const std::uint32_t at = std::uint32_t(text.size());
            for (std::size_t r = row; r < end; ++r)
                rowStart.push_back(m_rowStart[r] - from + at);
            rows.append(m_keys.mid(qsizetype(row), qsizetype(end - row)));
            flags.insert(flags.end(), m_flags.begin() + std::ptrdiff_t(row), m_flags.begin() + std::ptrdiff_t(end));
            text.append(current, from, to - from);
            row = end;
        };
        for (const Change& change : changes) {
            copyRowsBefore(std::size_t(
                std::lower_bound(m_keys.cbegin() + std::ptrdiff_t(row), m_keys.cend(), change.key) - m_keys.cbegin()));
            if (row < rowCount() && m_keys.at(qsizetype(row)) == change.key)
                ++row; // its old text goes
            if (change.text) {
                rowStart.push_back(std::uint32_t(text.size()));
                rows.push_back(change.key);
                flags.push_back(change.flags);
                text += *change.text;
            }
        }
        copyRowsBefore(rowCount());
        rowStart.push_back(std::uint32_t(text.size()));
        m_text = std::move(text);
        m_rowStart = std::move(rowStart);
        m_keys = std::move(rows);
        m_flags = std::move(flags);
    }
}

void SearchIndex::rebuild()
{
    startRebuild();
    readRest();
}

void SearchIndex::readFacts()
{
    Statement(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master")).step(); // throws when the file is busy
    m_schemaVersion = Statement::scalar(m_db, "PRAGMA schema_version", -1);
    // The log is followed only while all of its triggers are in place. Without it (a file the program could not
    // add it to, say), every change means reading everything.
    const bool logged =
        Statement::scalar(
            m_db,
            "SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND lower(tbl_name) = 'tbltel' AND name "
            "IN ('tblTel_log_insert', 'tblTel_log_update', 'tblTel_log_delete')",
            0) == 3;
    m_logSeq =
        logged ? Statement::scalar(m_db, "SELECT seq FROM sqlite_sequence WHERE name = 'tovrin_changes'", 0) : -1;
    // A row leaves the table unlogged when INSERT OR REPLACE or UPDATE OR REPLACE meets a unique index other than
    // the key's (deletions of that kind run no trigger). So with such an index, the copy may hold keys that are
    // gone, and the rows found are read through the statement, which skips them.
    m_keysTrusted =
        Statement::scalar(m_db, "SELECT count(*) FROM pragma_index_list('tblTel') WHERE \"unique\" AND origin <> 'pk'",
                          1) == 0;
}

SavedCopy::Parts SearchIndex::savedParts(long long& schemaVersion, long long& logSeq)
{
    return {m_text, m_rowStart, m_keys, m_flags, m_irregular, schemaVersion, logSeq};
}

bool SearchIndex::bringInSaved()
{
    long long savedSchema = -1;
    long long savedSeq = -1;
    if (!SavedCopy::load(m_path, savedParts(savedSchema, savedSeq)))
        return false;
    // The file's facts, the log since the copy was kept and the rows checked are read in one moment of the file.
    if (sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DbError::fromEngine(m_db, sqlite3_errcode(m_db));
    const auto endMoment = qScopeGuard([&] { sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr); });
    readFacts();
    // The copy kept follows the file only through its log, from the entry it was kept at.
    if (m_logSeq < 0 || m_schemaVersion != savedSchema)
        return false;
    m_logSeq = savedSeq;
    if (!readChanges() || !matchesFile())
        return false;
    m_partial = false;
    m_built = true;
    return true;
}

bool SearchIndex::matchesFile()
{
    // Rows spread over the whole copy, the first and the last among them, hold the text the file holds: a copy of
    // another file put in this one's place differs in them. (Changes to this file reach the copy through its log,
    // which the file keeps while the schema stays.)
    constexpr std::size_t kSamples = 64;
    Statement rowNow(m_db, QString::fromStdString(rowStatement("WHERE ID = ?")));
    std::string text;
    const std::size_t rows = rowCount();
    for (std::size_t sample = 0; sample < std::min(rows, kSamples); ++sample) {
        const std::size_t row = rows <= kSamples ? sample : sample * (rows - 1) / (kSamples - 1);
        rowNow.reset();
        rowNow.bind(1, m_keys.at(qsizetype(row)));
        std::uint8_t flags = 0;
        text.clear();
        if (!rowNow.step() || !appendRow(text, rowNow.handle(), flags) || flags != m_flags[row] ||
            text != std::string_view(m_text).substr(m_rowStart[row], m_rowStart[row + 1] - m_rowStart[row]))
            return false;
    }
    return true;
}

void SearchIndex::startRebuild()
{
    m_built = false;
    m_partial = false;
    // The facts below are read in one moment of the file, and a busy file is an error here: read as their
    // fallbacks, they would leave the copy without its log, so that every change would mean reading everything.
    const bool ownMoment = sqlite3_get_autocommit(m_db) != 0;
    if (ownMoment && sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DbError::fromEngine(m_db, sqlite3_errcode(m_db));
    auto endMoment = qScopeGuard([&] {
        if (ownMoment)
            sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    });
    // Read outside a transaction (in the background), the rows come in slices, each a moment of its own; whatever
    // changes after the log's last entry is read here is read again from the log at the next search, and a change
    // of the schema means reading everything again.
    readFacts();
    // Room for the whole copy is taken at once, as growing it by doubling would hold the old and the new room
    // together for a moment. The text cannot be longer than the file, nor the rows more than the highest key;
    // room never written to costs no memory.
    const auto fileBytes =
        std::size_t(Statement::scalar(m_db, "PRAGMA page_count", 0) * Statement::scalar(m_db, "PRAGMA page_size", 0));
    const auto maxKey = std::size_t(std::max(0LL, Statement::scalar(m_db, "SELECT max(ID) FROM tblTel", 0)));
    const std::size_t rows = std::max(rowCount(), std::min(maxKey, fileBytes / 16));
    m_text.clear();
    m_text.reserve(std::max(m_text.capacity(), fileBytes));
    m_rowStart.clear();
    m_keys.clear();
    m_flags.clear();
    m_rowStart.reserve(rows + 16);
    m_keys.reserve(qsizetype(rows + 16));
    m_flags.reserve(rows + 16);
    m_irregular.clear();
    m_readAfter = std::numeric_limits<qint64>::min();
    m_partial = true;
    ++m_rebuilds;
}

void SearchIndex::readRest()
{
    std::string& text = m_text;

    // A slice at a time, so that no read holds the file for long: other copies of the program save meanwhile.
    constexpr int kSlice = 16384;
    Statement slice(m_db, QString::fromStdString(rowStatement("WHERE ID > ? ORDER BY ID LIMIT 16384")));
    sqlite3_stmt* stmt = slice.handle();
    for (int read = kSlice; read == kSlice && !m_stop;) {
        slice.bind(1, m_readAfter);
        for (read = 0; slice.step(); ++read) {
            const qint64 key = sqlite3_column_int64(stmt, 0);
            const std::size_t start = text.size();
            std::uint8_t flags = 0;
            if (!appendRow(text, stmt, flags)) {
                m_irregular.push_back(key);
                m_readAfter = key;
                continue;
            }
            m_rowStart.push_back(std::uint32_t(start));
            m_keys.push_back(key);
            m_flags.push_back(flags);
            m_readAfter = key; // only now: a row is read whole or not at all
        }
        slice.reset();
    }
    if (m_stop)
        return;
    m_rowStart.push_back(std::uint32_t(text.size()));
    m_partial = false;
    m_built = true;
    sqlite3_db_release_memory(m_db); // the pages read are in the copy now
}

SearchIndex::Result SearchIndex::search(const std::string& patternText)
{
    rebuildIfChanged();
    const LikePattern pattern(patternText);
    std::string needle;
    for (char32_t c : pattern.longestLiteral())
        appendUtf8(needle, c);

    const std::string& text = m_text;
    // The rows found go straight into the result: a search may find a million.
    Result result;
    // The keys are read through const access only: a list may share them (see withFlag).
    const auto take = [&](std::size_t row) { result.keys.append(m_keys.at(qsizetype(row))); };
    std::string buffer;
    const auto rowMatches = [&](std::size_t row) {
        const char* p = text.data() + m_rowStart[row];
        const char* end = text.data() + m_rowStart[row + 1];
        while (p < end) {
            const char* stop = static_cast<const char*>(std::memchr(p, kEndOfColumn, std::size_t(end - p)));
            const std::string_view column(p, std::size_t(stop - p));
            if (!(column.size() == 1 && column[0] == kNull) && pattern.matches(unpacked(column, buffer)))
                return true;
            p = stop + 1;
        }
        return false;
    };
    const auto withFlag = [&](std::uint8_t flag) {
        if (std::all_of(m_flags.begin(), m_flags.end(), [flag](std::uint8_t flags) { return flags & flag; })) {
            result.keys = m_keys; // every row: shared, not copied
            return;
        }
        result.keys.reserve(m_keys.size());
        for (std::size_t row = 0; row < m_flags.size(); ++row) {
            if (m_flags[row] & flag)
                take(row);
        }
    };

    const std::size_t rows = rowCount();
    if (pattern.findsAnyDigit()) {
        withFlag(kHasDigit);
    } else if (patternText.find_first_not_of('*') == std::string::npos) {
        withFlag(kHasValue); // stars match any text, the empty one too, but no null
    } else if (needle.empty() || mayLieInPackedValue(needle)) {
        for (std::size_t row = 0; row < rows; ++row) {
            if (rowMatches(row))
                take(row);
        }
    } else {
        const char* base = text.data();
        std::size_t from = 0;
        while (from < text.size()) {
            const void* hit = memmem(base + from, text.size() - from, needle.data(), needle.size());
            if (!hit)
                break;
            const std::size_t at = std::size_t(static_cast<const char*>(hit) - base);
            const auto next = std::upper_bound(m_rowStart.begin(), m_rowStart.end(), std::uint32_t(at));
            const std::size_t row = std::size_t(next - m_rowStart.begin()) - 1;
            if (rowMatches(row))
                take(row);
            from = m_rowStart[row + 1];
        }
    }

    mergeIrregular(result.keys, irregularMatches(pattern));
    result.keysInFile = m_keysTrusted;
    return result;
}

bool SearchIndex::keepMatching(std::vector<std::int64_t>& keys, int column, const std::string& patternText)
{
    if (!isRead())
        return false;
    rebuildIfChanged();
    if (!m_built)
        return false;
    const LikePattern pattern(patternText);
    std::string buffer;
    std::unordered_set<std::int64_t> dropped;
    std::vector<std::int64_t> irregular;
    const std::string& text = m_text;
    // Read through const access only: a list may share the keys (see search()).
    const QVector<qint64>& rowKeys = m_keys;
    // Keys are mostly dense: a key's place, were the keys evenly spread, is usually its own. Rounding may put the
    // guess one short.
    const qint64 first = rowKeys.empty() ? 0 : rowKeys.front();
    const qint64 last = rowKeys.empty() ? 0 : rowKeys.back();
    const auto guessOf = [&](std::int64_t key) {
        if (key < first || key > last || last <= first)
            return rowCount();
        return std::size_t(double(key - first) / double(last - first) * double(rowCount() - 1));
    };
    const auto rowOf = [&](std::int64_t key, std::size_t guess) {
        for (const std::size_t at : {guess, guess + 1}) {
            if (at < rowCount() && rowKeys[qsizetype(at)] == key)
                return at;
        }
        return std::size_t(std::lower_bound(rowKeys.begin(), rowKeys.end(), key) - rowKeys.begin());
    };
    // The keys come in the book's order, their rows from anywhere in the copy. Each of a row's three reads (its
    // key, its place in the text, its text) depends on the one before; asked for a key at a time, each would wait
    // for memory. Asked for a step at a time over all the keys, the reads of each step overlap.
    std::vector<std::size_t> rows(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        rows[i] = guessOf(keys[i]);
        if (rows[i] < rowCount())
            prefetch(rowKeys.constData() + rows[i]);
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        rows[i] = rowOf(keys[i], rows[i]);
        if (rows[i] < rowCount())
            prefetch(m_rowStart.data() + rows[i]);
    }
    for (const std::size_t row : rows) {
        if (row < rowCount())
            prefetch(text.data() + m_rowStart[row]);
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::int64_t key = keys[i];
        const std::size_t row = rows[i];
        if (row == rowCount() || rowKeys[qsizetype(row)] != key) {
            irregular.push_back(key); // or gone since the keys were read: the file tells
            continue;
        }
        // Each row holds every column, each ended by its separator.
        const char* p = text.data() + m_rowStart[row];
        const char* end = text.data() + m_rowStart[row + 1];
        for (int c = 0; c < column; ++c)
            p = static_cast<const char*>(std::memchr(p, kEndOfColumn, std::size_t(end - p))) + 1;
        const auto* stop = static_cast<const char*>(std::memchr(p, kEndOfColumn, std::size_t(end - p)));
        const std::string_view value(p, std::size_t(stop - p));
        if ((value.size() == 1 && value[0] == kNull) || !pattern.matches(unpacked(value, buffer)))
            dropped.insert(key);
    }
    if (!irregular.empty()) {
        Statement stored(m_db, QStringLiteral("SELECT %1 FROM tblTel WHERE ID = ?")
                                   .arg(QLatin1String(SearchedColumns::kNames[std::size_t(column)])));
        for (const std::int64_t key : irregular) {
            stored.reset();
            stored.bind(1, qint64(key));
            const bool found = stored.step() && sqlite3_column_type(stored.handle(), 0) != SQLITE_NULL;
            if (!found || !pattern.matches(stored.text(0)))
                dropped.insert(key);
        }
    }
    if (!dropped.empty())
        keys.erase(std::remove_if(keys.begin(), keys.end(), [&](std::int64_t key) { return dropped.count(key) > 0; }),
                   keys.end());
    return true;
}

std::vector<qint64> SearchIndex::irregularMatches(const LikePattern& pattern)
{
    // The few rows the copy could not hold are tested against their stored text.
    std::vector<qint64> irregular;
    if (!m_irregular.empty()) {
        Statement values(m_db, SearchedColumns::selectByKey());
        sqlite3_stmt* stmt = values.handle();
        for (const qint64 key : m_irregular) {
            values.reset();
            values.bind(1, key);
            if (!values.step())
                continue;
            for (int c = 0; c < SearchedColumns::kCount; ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_NULL)
                    continue;
                const auto* stored = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                if (pattern.matches(std::string_view(stored, std::size_t(sqlite3_column_bytes(stmt, c))))) {
                    irregular.push_back(key);
                    break;
                }
            }
        }
    }
    return irregular;
}

void SearchIndex::mergeIrregular(QVector<qint64>& keys, const std::vector<qint64>& irregular)
{
    if (irregular.empty())
        return;
    // Both lists are in key order: merge them.
    QVector<qint64> merged;
    merged.reserve(keys.size() + qsizetype(irregular.size()));
    std::merge(keys.cbegin(), keys.cend(), irregular.cbegin(), irregular.cend(), std::back_inserter(merged));
    keys = std::move(merged);
}
