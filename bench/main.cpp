// tovrin_bench: how fast the program's own statements run on large books, side by side with stock SQLite and an
// in-memory scan of the same text, printed as Markdown with a PASS or MISS for each of the program's targets and
// each goal of the table of goals (Goals.cpp). --quick runs 100,000 and 1,000,000 entries, fewer times each.
//
//   tovrin_bench [--sizes 10000,100000,1000000] [--quick]
//
// Internal modes, started by the benchmark itself: --peak-child FILE (peak memory with a book open),
// --first-search-child FILE fresh|kept (the first search of a run, with or without the copy kept from the run before).
#include "Anchors.h"
#include "Generator.h"
#include "Goals.h"
#include "data/Book.h"
#include "data/DataControl.h"
#include "data/GridModel.h"
#include "data/Query.h"
#include "data/SavedCopy.h"
#include "data/Schema.h"
#include "data/SearchIndex.h"
#include "directory/ResultLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <vector>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

constexpr int kMessageRows = 100000;
constexpr int kScreenRows = 30;      // rows of a grid on screen
constexpr int kScreenResultRows = 3; // rows behind the first screen of search result lines
constexpr int kStartupRuns = 15;
// Start-ups swing by a tenth from one to the next on a small machine: even a quick run takes the median of seven.
constexpr int kQuickStartupRuns = 7;

// What the windows ask for, as they ask for it.
const Query kBook[] = {Query::book(Book::Personal), Query::book(Book::Business)};
const Query kLetter = Query::letter(Book::Personal, QStringLiteral("K"));

// ---------------------------------------------------------------------------------------------------------------
// Output

void progress(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

void out(const QString& text)
{
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

QString ms(double value)
{
    if (value < 1)
        return QString::number(value, 'f', 3);
    if (value < 10)
        return QString::number(value, 'f', 2);
    if (value < 100)
        return QString::number(value, 'f', 1);
    return QString::number(value, 'f', 0);
}

QString ratio(double value)
{
    return value <= 0 ? QStringLiteral("–") : ms(value);
}

QString thousands(long long n)
{
    QString text = QString::number(n);
    for (int i = int(text.size()) - 3; i > 0; i -= 3)
        text.insert(i, QLatin1Char(','));
    return text;
}

// ---------------------------------------------------------------------------------------------------------------
// Timing

using Clock = std::chrono::steady_clock;

struct Stat
{
    double ms = 0;
    int runs = 0;
    long long rows = -1; // what the action found, -1 when a count means nothing
};

double since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Median of several runs. A first run warms the caches and is dropped; slow actions get fewer runs, and for the
// slowest the first run counts too, so the 1,000,000-row books finish in minutes.
// `prepare`, when given, runs before every run, outside the timing.
Stat measure(const std::function<long long()>& action, bool quick, const std::function<void()>& prepare = {})
{
    Stat stat;
    if (prepare)
        prepare();
    auto start = Clock::now();
    stat.rows = action();
    const double first = since(start);
    std::vector<double> times;
    int runs = quick ? 3 : 7;
    if (first > 1500) {
        times.push_back(first);
        runs = quick ? 1 : 3;
    } else if (first > 300) {
        runs = quick ? 3 : 5;
    }
    while (int(times.size()) < runs) {
        if (prepare)
            prepare();
        start = Clock::now();
        action();
        times.push_back(since(start));
    }
    stat.ms = median(times);
    stat.runs = int(times.size());
    return stat;
}

// ---------------------------------------------------------------------------------------------------------------
// The program's statements and windows

QVector<GridColumn> personalColumns()
{
    const QString number = QStringLiteral("General Number");
    return {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()},
            {QStringLiteral("First"), QStringLiteral("Fname"), 2760, QString()},
            {QStringLiteral("Tel - 1"), QStringLiteral("Tel1"), 1410, number},
            {QStringLiteral("Tel - 2"), QStringLiteral("Tel2"), 1380, number},
            {QStringLiteral("Cellular"), QStringLiteral("Pel"), 1395, number},
            {QStringLiteral("Fax"), QStringLiteral("Fax"), 1350, number}};
}

QVector<GridColumn> businessColumns()
{
    QVector<GridColumn> columns = personalColumns();
    columns.prepend({QStringLiteral("Business"), QStringLiteral("BusName"), 3000, QString()});
    return columns;
}

QVector<GridColumn> logColumns()
{
    return {{QStringLiteral("Date"), QStringLiteral("Cdate"), 1200, QStringLiteral("Short Date")},
            {QStringLiteral("Time"), QStringLiteral("Ctime"), 1000, QStringLiteral("Short Time")},
            {QStringLiteral("From"), QStringLiteral("Meet"), 2000, QString()},
            {QStringLiteral("For"), QStringLiteral("Avur"), 1500, QString()},
            {QStringLiteral("Message"), QStringLiteral("Hodaa"), 5000, QString()}};
}

// A data control with its grid, as a window holds them.
struct Grid
{
    Grid(const QString& file, QVector<GridColumn> columns) : model(&control, std::move(columns))
    {
        control.setDatabaseName(file);
    }
    DataControl control;
    GridModel model;
};

long long sink = 0; // keeps the reads from being optimised away

void readRow(const GridModel& model, int row)
{
    qsizetype shown = 0;
    for (int c = 0; c < model.columnCount(); ++c)
        shown += model.data(model.index(row, c)).toString().size();
    // Every generated row has a name: an empty row is a grid that failed to read it, and its time means nothing.
    if (shown == 0) {
        std::fprintf(stderr, "row %d of the grid read empty\n", row);
        std::exit(1);
    }
    sink += shown;
}

// Refresh and the grid's first screen.
long long firstScreen(Grid& grid, const Query& query)
{
    grid.control.setRecordSource(query);
    grid.control.Refresh();
    const int rows = std::min(kScreenRows, grid.model.rowCount());
    for (int r = 0; r < rows; ++r)
        readRow(grid.model, r);
    return -1;
}

// Refresh and the view going to its last rows (Ctrl+End, the scroll bar dragged to the bottom): the view asks for
// more rows while the model has more to give, then reads the screen at `at` (0 the first, 1 the last row).
long long screenAt(Grid& grid, const Query& query, double at)
{
    grid.control.setRecordSource(query);
    grid.control.Refresh();
    while (grid.model.canFetchMore(QModelIndex()))
        grid.model.fetchMore(QModelIndex());
    const int rows = grid.model.rowCount();
    const int first = std::clamp(int(rows * at) - kScreenRows / 2, 0, std::max(0, rows - kScreenRows));
    for (int r = first; r < std::min(rows, first + kScreenRows); ++r)
        readRow(grid.model, r);
    return rows;
}

long long lastRow(Grid& grid, const Query& query)
{
    return screenAt(grid, query, 1);
}

// Scrolling screen by screen, once the view has jumped there: 40 screens down from the middle, 40 up from the end.
// Each screen's time counts once; the first of each direction includes the jump's reading.
Stat scrolling(Grid& grid, const Query& query)
{
    grid.control.setRecordSource(query);
    grid.control.Refresh();
    while (grid.model.canFetchMore(QModelIndex()))
        grid.model.fetchMore(QModelIndex());
    const int rows = grid.model.rowCount();
    std::vector<double> times;
    const auto screen = [&](int first) {
        const auto start = Clock::now();
        for (int r = std::max(0, first); r < std::min(rows, first + kScreenRows); ++r)
            readRow(grid.model, r);
        times.push_back(since(start));
    };
    for (int s = 0; s < 40; ++s)
        screen(rows / 2 + s * kScreenRows);
    for (int s = 1; s <= 40; ++s)
        screen(rows - s * kScreenRows);
    Stat stat;
    stat.rows = rows;
    stat.ms = median(times);
    stat.runs = int(times.size());
    return stat;
}

// The search to its complete result, the way the directory window lists it: the rows found, their lines read by key
// as they are shown (or, when the keys cannot be trusted, from every row read through the record set), shown once
// the last row is in.
long long searchComplete(DataControl& control, ResultLines& lines, const QString& text)
{
    control.setRecordSource(Query::search(text));
    control.Refresh();
    lines.clear();
    if (control.foundRows().isReadable())
        lines.appendFound(control.foundRows());
    else
        lines.appendRows(*control.Recordset());
    lines.flush();
    return lines.blockCount();
}

// The search to the first screen of result lines: the complete result (the window lists a search only once every
// row is in), then the lines on screen written.
long long searchFirstScreen(DataControl& control, ResultLines& lines, const QString& text)
{
    searchComplete(control, lines, text);
    for (int row = 0; row < kScreenResultRows * ResultLines::LinesPerBlock && row < lines.rowCount(); ++row)
        sink += lines.line(row).size();
    return -1;
}

// Saving one entry the way the entry window does.
long long saveEntry(DataControl& control)
{
    Recordset* rs = control.Recordset();
    rs->AddNew();
    const std::pair<const char*, const char*> values[] = {
        {"Category", "Personal"},
        {"Fname", "Bench"},
        {"Lname", "Saved"},
        {"BusName", " "},
        {"Address", "1 Bench St"},
        {"City", "Haifa"},
        {"State", ""},
        {"Zip", "_____"},
        {"Tel1", "054 - 0000000"},
        {"Tel2", "___ - _______"},
        {"Pel", "052 - 0000000"},
        {"Fax", "___ - _______"},
    };
    for (const auto& [name, value] : values)
        rs->setCollect(QLatin1String(name), QString::fromUtf8(value));
    rs->Update();
    control.Refresh();
    return -1;
}

// ---------------------------------------------------------------------------------------------------------------
// Files

QString dataDir()
{
    return QStringLiteral(TOVRIN_BENCH_DATA);
}

void removeDatabase(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

// The cached file for `rows`, made when missing or written by another version of the generator or schema.
QString cachedFile(int rows)
{
    QDir().mkpath(dataDir());
    const QString path = QDir(dataDir()).filePath(QStringLiteral("tel-%1.mdb").arg(rows));
    QFile stampFile(path + QStringLiteral(".stamp"));
    const QString stamp = Generator::stamp();
    if (QFileInfo::exists(path) && stampFile.open(QIODevice::ReadOnly) &&
        QString::fromLatin1(stampFile.readAll()).trimmed() == stamp)
        return path;
    stampFile.close();
    progress(QStringLiteral("Generating %1 rows into %2 ...").arg(thousands(rows), path));
    const QString part = path + QStringLiteral(".part");
    removeDatabase(part);
    removeDatabase(path);
    auto start = Clock::now();
    Generator::generate(part, rows, kMessageRows);
    const double generated = since(start);
    // The program's first open of a file it did not write may do one-time work on it; the cache keeps the
    // result, as a file in use would.
    start = Clock::now();
    Database::open(part)->refreshSortKeys();
    progress(QStringLiteral("  generated in %1 s, first opened by the program in %2 s")
                 .arg(generated / 1000, 0, 'f', 1)
                 .arg(since(start) / 1000, 0, 'f', 1));
    if (!QFile::rename(part, path))
        throw DbError(0, QStringLiteral("Cannot rename %1").arg(part));
    removeDatabase(part);
    if (!stampFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw DbError(0, QStringLiteral("Cannot write %1").arg(stampFile.fileName()));
    stampFile.write(stamp.toLatin1() + '\n');
    return path;
}

// A copy of the cached file to run on: the save benchmark writes, and the cache stays as generated.
QString workingCopy(const QString& cached, int rows)
{
    const QString path = QDir(dataDir()).filePath(QStringLiteral("work-%1.mdb").arg(rows));
    removeDatabase(path);
    if (!QFile::copy(cached, path))
        throw DbError(0, QStringLiteral("Cannot copy %1 to %2").arg(cached, path));
    return path;
}

// ---------------------------------------------------------------------------------------------------------------
// Peak memory, in a process of its own

long long statusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

int peakChild(const QString& file)
{
    const long long before = statusKb("VmHWM:");
    Grid grid(file, personalColumns());
    firstScreen(grid, kBook[0]);
    const long long shown = statusKb("VmHWM:");
    const long long rows = lastRow(grid, kBook[0]);
    const long long last = statusKb("VmHWM:");
    // Pages of the file mapped into the process count as its memory too; the split tells them from the heap.
    const long long lastAnon = statusKb("RssAnon:");
    const long long lastFile = statusKb("RssFile:");
    // The search's list may be open beside the book, listing every row.
    DataControl search;
    search.setDatabaseName(file);
    ResultLines lines;
    searchComplete(search, lines, QString());
    std::printf("before %lld\nfirst %lld\nlast %lld\nlastAnon %lld\nlastFile %lld\nrows %lld\nsearch %lld\n"
                "searchAnon %lld\nsearchFile %lld\n",
                before, shown, last, lastAnon, lastFile, rows, statusKb("VmHWM:"), statusKb("RssAnon:"),
                statusKb("RssFile:"));
    return 0;
}

// ---------------------------------------------------------------------------------------------------------------
// The first search of a run, in a process of its own

// Typed the moment the directory window is up, which has just started the read ahead of the search's copy: the
// time from that start to the complete result. "fresh" forgets the copy kept from the run before.
int firstSearchChild(const QString& file, bool fresh)
{
    if (fresh)
        QFile::remove(SavedCopy::pathFor(file));
    DataControl search;
    search.setDatabaseName(file);
    ResultLines lines;
    const auto start = Clock::now();
    SearchIndex::forFile(file)->prepare();
    searchComplete(search, lines, Generator::planted().rareWord);
    std::printf("%.3f\n", since(start));
    return 0;
}

// The environment of the programs the benchmark starts: their kept copies of the search live in its own cache
// folder, not the user's.
QProcessEnvironment benchEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), QDir(dataDir()).filePath(QStringLiteral("cache")));
    return environment;
}

// The child's milliseconds.
std::optional<double> measureFirstSearch(const QString& file, bool fresh)
{
    QProcess child;
    child.setProcessEnvironment(benchEnvironment());
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-search-child"), file,
                                                          fresh ? QStringLiteral("fresh") : QStringLiteral("kept")});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return std::nullopt;
    bool ok = false;
    const double ms = child.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? std::optional<double>(ms) : std::nullopt;
}

// The child's figures by name, in kB (and "rows").
using Peak = std::map<QByteArray, long long>;

std::optional<Peak> measurePeak(const QString& file)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--peak-child"), file});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return std::nullopt;
    Peak peak;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            peak[parts[0]] = parts[1].toLongLong();
    }
    for (const char* name :
         {"before", "first", "last", "lastAnon", "lastFile", "rows", "search", "searchAnon", "searchFile"}) {
        if (!peak.count(name))
            return std::nullopt;
    }
    return peak;
}

// ---------------------------------------------------------------------------------------------------------------
// The run

struct SearchKind
{
    const char* key;
    QString label;
    QString text;
};

struct Line
{
    QString label;
    Stat stat;
    QString anchorKey; // the search kind whose anchors the ratios use
    bool anchor = false;
};

struct SizeResult
{
    int rows = 0;
    std::vector<Line> lines;
    std::map<QString, double> figure; // key -> median ms, for the targets
    std::optional<Peak> peak;
    double firstOpenMs = 0;
    double firstSearchMs = -1;      // with the copy kept from the run before
    double firstSearchFreshMs = -1; // without it
};

std::vector<SearchKind> searchKinds()
{
    const Generator::Planted planted = Generator::planted();
    return {{"rare", QStringLiteral("a rare word"), planted.rareWord},
            {"phone", QStringLiteral("seven phone digits"), planted.phoneDigits},
            {"two", QStringLiteral("a common two-letter text"), QStringLiteral("an")},
            {"three", QStringLiteral("a common three-letter text"), QStringLiteral("ber")},
            {"hash", QStringLiteral("any digit"), QStringLiteral("#")},
            {"empty", QStringLiteral("the empty text"), QString()}};
}

QString quotedText(const QString& text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

SizeResult runSize(int rows, bool quick)
{
    SizeResult result;
    result.rows = rows;
    const QString file = workingCopy(cachedFile(rows), rows);
    progress(QStringLiteral("Measuring %1 rows on %2").arg(thousands(rows), file));

    auto add = [&](const QString& key, const QString& label, const QString& anchorKey,
                   const std::function<long long()>& action, const std::function<void()>& prepare = {}) {
        progress(QStringLiteral("  %1").arg(label));
        Line line{label, measure(action, quick, prepare), anchorKey, false};
        result.figure[key] = line.stat.ms;
        result.lines.push_back(line);
    };

    // The very first open of the copy: whatever one-time work the data layer does on a file it meets.
    {
        const auto start = Clock::now();
        Grid grid(file, personalColumns());
        firstScreen(grid, kBook[0]);
        result.firstOpenMs = since(start);
    }

    Grid personal(file, personalColumns());
    Grid business(file, businessColumns());
    add(QStringLiteral("book-new"), QStringLiteral("Personal book, first screen, new connection"),
        QStringLiteral("rare"), [&] {
            Grid fresh(file, personalColumns());
            return firstScreen(fresh, kBook[0]);
        });
    add(QStringLiteral("book-first"), QStringLiteral("Personal book, first screen"), QStringLiteral("rare"),
        [&] { return firstScreen(personal, kBook[0]); });
    add(QStringLiteral("book-last"), QStringLiteral("Personal book, last screen (Ctrl+End, the book counted before)"),
        QStringLiteral("rare"), [&] { return lastRow(personal, kBook[0]); });
    add(QStringLiteral("book-last-new"),
        QStringLiteral("Personal book, last screen on a new connection (counted first: Ctrl+End the moment it opens)"),
        QStringLiteral("rare"), [&] {
            Grid fresh(file, personalColumns());
            return lastRow(fresh, kBook[0]);
        });
    add(QStringLiteral("book-middle"), QStringLiteral("Personal book, screen in the middle (scroll bar dragged)"),
        QStringLiteral("rare"), [&] { return screenAt(personal, kBook[0], 0.5); });
    {
        progress(QStringLiteral("  Personal book, each screen while scrolling"));
        const Stat stat = scrolling(personal, kBook[0]);
        result.figure[QStringLiteral("book-scroll")] = stat.ms;
        result.lines.push_back(
            {QStringLiteral("Personal book, each screen while scrolling (median of %1)").arg(stat.runs), stat,
             QStringLiteral("rare"), false});
    }
    add(QStringLiteral("business-first"), QStringLiteral("Business book, first screen"), QStringLiteral("rare"),
        [&] { return firstScreen(business, kBook[1]); });
    add(QStringLiteral("business-last"),
        QStringLiteral("Business book, last screen (Ctrl+End, the book counted before)"), QStringLiteral("rare"),
        [&] { return lastRow(business, kBook[1]); });
    add(QStringLiteral("letter-first"), QStringLiteral("Letter K, first screen"), QStringLiteral("rare"),
        [&] { return firstScreen(personal, kLetter); });
    add(QStringLiteral("letter-last"), QStringLiteral("Letter K, complete (last row)"), QStringLiteral("rare"),
        [&] { return lastRow(personal, kLetter); });

    progress(QStringLiteral("  loading the memory scan"));
    const Anchors::StockSearch stock(file);
    const Anchors::MemoryScan memory(file);
    DataControl search;
    search.setDatabaseName(file);
    ResultLines lines;
    {
        progress(QStringLiteral("  the first search of a run (child processes)"));
        // A run without a kept copy reads the file and keeps the copy for the runs after it.
        result.firstSearchFreshMs = measureFirstSearch(file, true).value_or(-1);
        // The runs after it start long after the copy was written, as a user's next start does: the copy is on the
        // disk by then, and the first of them, which warms the caches, is not counted.
#if defined(Q_OS_UNIX)
        ::sync();
#endif
        measureFirstSearch(file, false);
        std::vector<double> kept;
        for (int run = 0; run < 5; ++run) {
            if (const auto ms = measureFirstSearch(file, false))
                kept.push_back(*ms);
        }
        if (!kept.empty())
            result.firstSearchMs = median(kept);
        searchComplete(search, lines, Generator::planted().rareWord); // this process's copy, read once
    }
    // With the copy read (as the directory window has it read from its start), a letter's names come from the
    // book's index, picked by the copy.
    add(QStringLiteral("letter-first-copy"), QStringLiteral("Letter K, first screen, the search's copy read"),
        QStringLiteral("rare"), [&] { return firstScreen(personal, kLetter); });
    add(QStringLiteral("letter-last-copy"), QStringLiteral("Letter K, complete (last row), the search's copy read"),
        QStringLiteral("rare"), [&] { return lastRow(personal, kLetter); });
    for (const SearchKind& kind : searchKinds()) {
        const QString key = QLatin1String(kind.key);
        const QString shown = quotedText(kind.text);
        add(QStringLiteral("search-%1").arg(key), QStringLiteral("Search %1 (%2), complete").arg(shown, kind.label),
            key, [&] { return searchComplete(search, lines, kind.text); });
        add(QStringLiteral("search-%1-first").arg(key), QStringLiteral("Search %1, first screen of lines").arg(shown),
            key, [&] { return searchFirstScreen(search, lines, kind.text); });
        if (key == QLatin1String("rare")) {
            add(QStringLiteral("search-rare-new"), QStringLiteral("Search %1, first screen, new connection").arg(shown),
                key, [&] {
                    DataControl fresh;
                    fresh.setDatabaseName(file);
                    ResultLines freshLines;
                    return searchFirstScreen(fresh, freshLines, kind.text);
                });
        }
        progress(QStringLiteral("  anchors for %1").arg(shown));
        const Stat stockStat = measure(
            [&] {
                long long bytes = 0;
                const long long found = stock.run(kind.text, bytes);
                sink += bytes;
                return found;
            },
            quick);
        const std::string needle = Anchors::MemoryScan::fold(kind.text.toStdString());
        const Stat memoryStat = measure([&] { return (long long)memory.search(needle).size(); }, quick);
        result.figure[QStringLiteral("stock-%1").arg(key)] = stockStat.ms;
        result.figure[QStringLiteral("memory-%1").arg(key)] = memoryStat.ms;
        result.lines.push_back(
            {QStringLiteral("  anchor: stock SQLite, LIKE '%%1%'").arg(kind.text), stockStat, key, true});
        result.lines.push_back(
            {QStringLiteral("  anchor: memmem over %1 MB in memory").arg(memory.bytes() >> 20), memoryStat, key, true});
        if (key == QLatin1String("empty")) {
            // Not an anchor: how much of the program's walk the text conversion alone costs.
            const Stat converted = measure(
                [&] {
                    long long bytes = 0;
                    const long long found = stock.run(kind.text, bytes, true);
                    sink += bytes;
                    return found;
                },
                quick);
            result.lines.push_back({QStringLiteral("  (context) stock SQLite, LIKE '%%', the 11 columns made QStrings"),
                                    converted, key, true});
        }
    }

    {
        // The entry window opens once the directory window is gone; here the grids stay, so they are given the
        // idle moments in which a grid reads its remaining keys and lets go of the file.
        personal.model.fetchAll();
        business.model.fetchAll();
        DataControl entry;
        entry.setDatabaseName(file);
        entry.setRecordSource(Query::entries());
        entry.Refresh();
        add(QStringLiteral("save"), QStringLiteral("Save one entry (AddNew, 12 fields, Update, Refresh)"),
            QStringLiteral("rare"), [&] { return saveEntry(entry); });
        // A search after any change to the file is the one that pays for whatever the layer keeps about the
        // file's rows.
        const QString rare = Generator::planted().rareWord;
        add(
            QStringLiteral("search-after-save"),
            QStringLiteral("Search %1, first screen of lines, right after a save").arg(quotedText(rare)),
            QStringLiteral("rare"), [&] { return searchFirstScreen(search, lines, rare); }, [&] { saveEntry(entry); });
    }
    {
        Grid log(file, logColumns());
        add(QStringLiteral("log-first"), QStringLiteral("Message log, first screen"), QStringLiteral("rare"),
            [&] { return firstScreen(log, Query::log()); });
    }

    progress(QStringLiteral("  peak memory with the book open (child process)"));
    result.peak = measurePeak(file);
    removeDatabase(file);
    return result;
}

void printSize(const SizeResult& result)
{
    out(QStringLiteral("\n### %1 rows in tblTel, %2 in tblMes\n").arg(thousands(result.rows), thousands(kMessageRows)));
    out(QStringLiteral("| action | rows found | median ms | runs | × stock SQLite | × memmem |"));
    out(QStringLiteral("|---|--:|--:|--:|--:|--:|"));
    for (const Line& line : result.lines) {
        const double stock = result.figure.at(QStringLiteral("stock-") + line.anchorKey);
        const double memory = result.figure.at(QStringLiteral("memory-") + line.anchorKey);
        const bool search = line.label.startsWith(QLatin1String("Search")) || line.anchor;
        const QString mark = search ? QString() : QStringLiteral(" †");
        out(QStringLiteral("| %1 | %2 | %3 | %4 | %5%6 | %7%6 |")
                .arg(line.label, line.stat.rows >= 0 ? thousands(line.stat.rows) : QString(), ms(line.stat.ms))
                .arg(line.stat.runs)
                .arg(ratio(line.stat.ms / stock), mark, ratio(line.stat.ms / memory)));
    }
    out(QStringLiteral("\n† ratio to the anchors of the rare-word search."));
    out(QStringLiteral("First open of the freshly copied file (once): %1 ms.").arg(ms(result.firstOpenMs)));
    out(QStringLiteral("First search of a run, typed the moment the window is up: %1 ms with the copy kept from the "
                       "run before (median of 5 runs), %2 ms without one (the whole table read, and the copy kept).")
            .arg(ms(result.firstSearchMs), ms(result.firstSearchFreshMs)));
    if (result.peak) {
        const Peak& p = *result.peak;
        const auto mb = [&](const char* name) { return QString::number(p.at(name) / 1024.0, 'f', 1); };
        out(QStringLiteral("Peak memory (VmHWM) with the Personal book open: %1 MB at the first screen, %2 MB after "
                           "going to its last row (%3 rows; resident then: %4 MB heap, %5 MB file pages), %6 MB "
                           "after a search as well (resident then: %7 MB heap, %8 MB file pages); the process "
                           "alone: %9 MB.")
                .arg(mb("first"), mb("last"), thousands(p.at("rows")), mb("lastAnon"), mb("lastFile"), mb("search"),
                     mb("searchAnon"), mb("searchFile"), mb("before")));
    } else {
        out(QStringLiteral("Peak memory: the child process failed."));
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Start-up

struct Startup
{
    double programMs = -1;   // to the frame
    double directoryMs = -1; // to the directory window in it
    double emptyMs = -1;     // the program on an empty file: what the rows add is the difference
    double emptyDirectoryMs = -1;
    double trivialMs = -1;
    double textMs = -1; // the trivial window with one line of text
    int runs = 0;
    QString note;
};

Startup runStartup(bool quick)
{
    Startup result;
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QFileInfo program(QStringLiteral(TOVRIN_PROGRAM));
    if (xvfb.isEmpty() || !program.exists()) {
        result.note = xvfb.isEmpty() ? QStringLiteral("xvfb-run is not installed")
                                     : QStringLiteral("%1 is not built").arg(program.filePath());
        return result;
    }
    const QString cached = cachedFile(100000);
    // Two program folders as users have them: the binary, its pictures and its file, full or empty.
    QTemporaryDir full;
    QTemporaryDir empty;
    for (const QString& dir : {full.path(), empty.path()}) {
        for (const char* name : {"Kesh1.gif", "engbaner.gif"})
            QFile::copy(QDir(program.absolutePath()).filePath(QLatin1String(name)),
                        QDir(dir).filePath(QLatin1String(name)));
        QFile::copy(program.filePath(), QDir(dir).filePath(QStringLiteral("tovrin")));
    }
    QFile::copy(cached, QDir(full.path()).filePath(QStringLiteral("Dalvek.mdb")));
    Database::create(QDir(empty.path()).filePath(QStringLiteral("Dalvek.mdb")));
    const QString shots = QDir(dataDir()).filePath(QStringLiteral("startup-shots"));
    QDir().mkpath(shots);

    const int runs = quick ? kQuickStartupRuns : kStartupRuns;
    progress(QStringLiteral("Start-up with 100,000 rows against a trivial window, %1 runs each").arg(runs));
    QProcess watch;
    watch.setProcessEnvironment(benchEnvironment());
    watch.setProcessChannelMode(QProcess::SeparateChannels);
    watch.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24 -wr"),
                       QStringLiteral(TOVRIN_STARTUP_WATCH), QString::number(runs), QStringLiteral("--shots"), shots,
                       QStringLiteral("program=") + QDir(full.path()).filePath(QStringLiteral("tovrin")),
                       QStringLiteral("empty=") + QDir(empty.path()).filePath(QStringLiteral("tovrin")),
                       QStringLiteral("trivial=") + QStringLiteral(TOVRIN_TRIVIAL_WINDOW),
                       QStringLiteral("text=") + QStringLiteral(TOVRIN_TRIVIAL_TEXT)});
    if (!watch.waitForFinished(600000) || watch.exitCode() != 0) {
        result.note =
            QStringLiteral("the watcher failed: %1").arg(QString::fromLocal8Bit(watch.readAllStandardError()));
        return result;
    }
    std::map<QByteArray, std::vector<double>> times;
    std::map<QByteArray, std::vector<double>> secondTimes;
    for (const QByteArray& line : watch.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 3)
            continue;
        const double value = parts[1].toDouble();
        if (value < 0) {
            result.note = QStringLiteral("a window did not appear within 30 s");
            continue;
        }
        times[parts[0]].push_back(value);
        if (parts[2].toDouble() >= 0)
            secondTimes[parts[0]].push_back(parts[2].toDouble());
    }
    result.programMs = median(times["program"]);
    result.directoryMs = median(secondTimes["program"]);
    result.emptyMs = median(times["empty"]);
    result.emptyDirectoryMs = median(secondTimes["empty"]);
    result.trivialMs = median(times["trivial"]);
    result.textMs = median(times["text"]);
    result.runs = int(std::min(times["program"].size(), times["trivial"].size()));
    result.note = QStringLiteral("screens at the first paint: %1").arg(shots);
    return result;
}

// ---------------------------------------------------------------------------------------------------------------
// Targets

struct Target
{
    QString text;
    std::optional<bool> pass; // empty when not measured
    QString detail;
};

QString verdict(const std::optional<bool>& pass)
{
    return !pass ? QStringLiteral("NOT MEASURED") : *pass ? QStringLiteral("PASS") : QStringLiteral("MISS");
}

std::vector<Target> targets(const std::vector<SizeResult>& sizes, const Startup& startup)
{
    std::vector<Target> list;
    const SizeResult* at100k = nullptr;
    const SizeResult* at1m = nullptr;
    for (const SizeResult& size : sizes) {
        if (size.rows == 100000)
            at100k = &size;
        if (size.rows == 1000000)
            at1m = &size;
    }

    {
        Target t{QStringLiteral("100,000 rows: every action under 50 ms"), std::nullopt, QString()};
        if (at100k) {
            QStringList misses;
            for (const Line& line : at100k->lines) {
                if (!line.anchor && line.stat.ms >= 50)
                    misses << QStringLiteral("%1: %2 ms").arg(line.label, ms(line.stat.ms));
            }
            t.pass = misses.isEmpty();
            t.detail = misses.join(QStringLiteral("; "));
        }
        list.push_back(t);
    }
    {
        Target t{QStringLiteral("Start-up with 100,000 rows within 1.5 × a trivial Qt window"), std::nullopt,
                 startup.note};
        if (startup.programMs > 0 && startup.trivialMs > 0) {
            const double r = startup.programMs / startup.trivialMs;
            t.pass = r <= 1.5;
            t.detail =
                QStringLiteral("%1 ms against %2 ms: × %3").arg(ms(startup.programMs), ms(startup.trivialMs), ratio(r));
        }
        list.push_back(t);
    }
    auto under = [&](const QString& text, const char* key, double limit) {
        Target t{text, std::nullopt, QString()};
        if (at1m) {
            const double value = at1m->figure.at(QLatin1String(key));
            t.pass = value < limit;
            t.detail = QStringLiteral("%1 ms").arg(ms(value));
        }
        list.push_back(t);
    };
    under(QStringLiteral("1,000,000 rows: Personal book first screen under 20 ms"), "book-first", 20);
    under(QStringLiteral("1,000,000 rows: Business book first screen under 20 ms"), "business-first", 20);
    under(QStringLiteral("1,000,000 rows: letter first screen under 20 ms"), "letter-first", 20);
    under(QStringLiteral("1,000,000 rows: letter first screen, the search's copy read, under 20 ms"),
          "letter-first-copy", 20);
    under(QStringLiteral("1,000,000 rows: Personal book last screen (Ctrl+End) under 50 ms"), "book-last", 50);
    under(QStringLiteral("1,000,000 rows: Business book last screen (Ctrl+End) under 50 ms"), "business-last", 50);
    under(QStringLiteral("1,000,000 rows: Personal book, each screen while scrolling under 16 ms"), "book-scroll", 16);
    for (const char* key : {"rare", "phone"}) {
        const QString label =
            key == QLatin1String("rare") ? QStringLiteral("a rare word") : QStringLiteral("seven phone digits");
        Target faster{QStringLiteral("1,000,000 rows: search for %1 at least 10 × faster than stock SQLite").arg(label),
                      std::nullopt, QString()};
        if (at1m) {
            const QString k = QLatin1String(key);
            const double value = at1m->figure.at(QStringLiteral("search-") + k);
            const double stock = at1m->figure.at(QStringLiteral("stock-") + k);
            faster.pass = value * 10 <= stock;
            faster.detail =
                QStringLiteral("%1 ms against %2 ms: %3 × faster").arg(ms(value), ms(stock), ratio(stock / value));
        }
        list.push_back(faster);
    }
    {
        Target t{QStringLiteral("1,000,000 rows: every search kind, complete, within 3 × memmem"), std::nullopt,
                 QString()};
        if (at1m) {
            QStringList figures;
            bool pass = true;
            for (const SearchKind& kind : searchKinds()) {
                const QString k = QLatin1String(kind.key);
                const double value = at1m->figure.at(QStringLiteral("search-") + k);
                const double memory = at1m->figure.at(QStringLiteral("memory-") + k);
                pass = pass && value <= 3 * memory;
                figures << QStringLiteral("%1 × %2").arg(quotedText(kind.text), ratio(value / memory));
            }
            t.pass = pass;
            t.detail = figures.join(QStringLiteral("; "));
        }
        list.push_back(t);
    }
    {
        Target t{QStringLiteral("1,000,000 rows: no search kind slower than stock SQLite (complete result)"),
                 std::nullopt, QString()};
        if (at1m) {
            QStringList misses;
            for (const SearchKind& kind : searchKinds()) {
                const QString k = QLatin1String(kind.key);
                const double value = at1m->figure.at(QStringLiteral("search-") + k);
                const double stock = at1m->figure.at(QStringLiteral("stock-") + k);
                if (value > stock)
                    misses
                        << QStringLiteral("%1: %2 ms against %3 ms").arg(quotedText(kind.text), ms(value), ms(stock));
            }
            t.pass = misses.isEmpty();
            t.detail = misses.join(QStringLiteral("; "));
        }
        list.push_back(t);
    }
    {
        Target t{QStringLiteral("1,000,000 rows: peak memory under 300 MB with a book open and every row listed by "
                                "a search"),
                 std::nullopt, QString()};
        if (at1m && at1m->peak) {
            const long long kb = at1m->peak->at("search");
            t.pass = kb < 300 * 1024;
            t.detail = QStringLiteral("%1 MB").arg(kb / 1024.0, 0, 'f', 1);
        }
        list.push_back(t);
    }
    return list;
}

// Every figure of the run by name, for the table of goals.
Goals::Figures figuresOf(const std::vector<SizeResult>& sizes, const Startup& startup)
{
    Goals::Figures figures;
    for (const SizeResult& size : sizes) {
        const QString prefix = QString::number(size.rows) + QLatin1Char('/');
        for (const auto& [key, value] : size.figure)
            figures[prefix + key] = value;
        figures[prefix + QStringLiteral("first-search")] = size.firstSearchMs;
        if (size.peak) {
            figures[prefix + QStringLiteral("peak-search")] = double(size.peak->at("search")) / 1024;
            figures[prefix + QStringLiteral("peak-process")] = double(size.peak->at("before")) / 1024;
        }
    }
    figures[QStringLiteral("startup/program")] = startup.programMs;
    figures[QStringLiteral("startup/directory")] = startup.directoryMs;
    figures[QStringLiteral("startup/trivial")] = startup.trivialMs;
    return figures;
}

// Other work on the machine shows here; the ratios are what hold up under it.
QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).split(QLatin1Char(' ')).mid(0, 3).join(QStringLiteral(", "));
}

int usage()
{
    std::fprintf(stderr, "usage: tovrin_bench [--sizes 10000,100000,1000000] [--quick]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--peak-child"))
        return peakChild(args.at(2));
    if (args.size() == 4 && args.at(1) == QLatin1String("--first-search-child"))
        return firstSearchChild(args.at(2), args.at(3) == QLatin1String("fresh"));

    bool quick = false;
    QList<int> sizes;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--quick")) {
            quick = true;
        } else if (args.at(i) == QLatin1String("--sizes") && i + 1 < args.size()) {
            for (const QString& part : args.at(++i).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                bool ok = false;
                const int n = part.toInt(&ok);
                if (!ok || n < 100)
                    return usage();
                sizes << n;
            }
        } else {
            return usage();
        }
    }
    if (sizes.isEmpty())
        sizes = quick ? QList<int>{100000, 1000000} : QList<int>{10000, 100000, 1000000};

    try {
        const QString loadBefore = loadAverage();
        std::vector<SizeResult> results;
        for (int rows : std::as_const(sizes))
            results.push_back(runSize(rows, quick));
        const Startup startup = runStartup(quick);

        out(QStringLiteral("## Tovrin benchmark%1\n").arg(quick ? QStringLiteral(" (quick)") : QString()));
        out(QStringLiteral("Load average (1, 5, 15 min) when the measuring began: %1; at its end: %2.\n")
                .arg(loadBefore, loadAverage()));
        out(QStringLiteral("Medians; the first run of each action warms the caches and is not counted, except for "
                           "actions slower than 1.5 s. Searches are compared with the same text searched by stock "
                           "SQLite (built-in LIKE, \"%\") and by memmem over the folded text in memory."));
        for (const SizeResult& result : results)
            printSize(result);
        out(QStringLiteral("\n### Start-up with 100,000 rows\n"));
        if (startup.programMs > 0 && startup.trivialMs > 0) {
            const auto msOrNone = [](double value) { return value > 0 ? ms(value) : QStringLiteral("–"); };
            out(QStringLiteral("| program | median ms to the first painted window | then to the directory window | "
                               "runs |"));
            out(QStringLiteral("|---|--:|--:|--:|"));
            out(QStringLiteral("| tovrin, 100,000 rows | %1 | %2 | %3 |")
                    .arg(ms(startup.programMs), msOrNone(startup.directoryMs))
                    .arg(startup.runs));
            out(QStringLiteral("| tovrin, empty file | %1 | %2 | %3 |")
                    .arg(ms(startup.emptyMs), msOrNone(startup.emptyDirectoryMs))
                    .arg(startup.runs));
            out(QStringLiteral("| trivial Qt window | %1 | | %2 |").arg(ms(startup.trivialMs)).arg(startup.runs));
            out(QStringLiteral("| trivial Qt window with one line of text | %1 | | %2 |")
                    .arg(ms(startup.textMs))
                    .arg(startup.runs));
            out(QStringLiteral("| ratio tovrin (100,000 rows) / trivial | × %1 | × %2 | |")
                    .arg(ratio(startup.programMs / startup.trivialMs),
                         startup.directoryMs > 0 ? ratio(startup.directoryMs / startup.trivialMs)
                                                 : QStringLiteral("–")));
        }
        if (!startup.note.isEmpty())
            out(QStringLiteral("\n%1").arg(startup.note));

        out(QStringLiteral("\n### Goals\n"));
        for (const QString& line : Goals::table(figuresOf(results, startup)))
            out(line);
        out(QStringLiteral("\n### Targets\n"));
        for (const Target& t : targets(results, startup)) {
            out(QStringLiteral("- %1 — %2%3")
                    .arg(verdict(t.pass), t.text,
                         t.detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(t.detail)));
        }
    } catch (const DbError& error) {
        std::fprintf(stderr, "tovrin_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
