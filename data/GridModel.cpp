#include "data/GridModel.h"

#include "data/Book.h"
#include "data/BookKeys.h"
#include "data/Columns.h"
#include "data/CursorKeys.h"
#include "data/DateRules.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QLocale>
#include <QScopeGuard>
#include <algorithm>
#include <sqlite3.h>

namespace {

// A column's name as a step of Undo says it: the field written out, not the grid's short heading ("Tel - 1").
QString writtenOut(const QString& field, const QString& caption)
{
    if (const Columns::Column* column = Columns::named(field))
        return Columns::writtenOut(*column);
    static const std::pair<const char*, const char*> names[] = {
        {"Cdate", QT_TRANSLATE_NOOP("GridModel", "Date")},    {"Ctime", QT_TRANSLATE_NOOP("GridModel", "Time")},
        {"Meet", QT_TRANSLATE_NOOP("GridModel", "From")},     {"Avur", QT_TRANSLATE_NOOP("GridModel", "To")},
        {"Hodaa", QT_TRANSLATE_NOOP("GridModel", "Message")},
    };
    for (const auto& [name, words] : names) {
        if (field.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QCoreApplication::translate("GridModel", words);
    }
    return caption.isEmpty() ? field : caption;
}

constexpr int kBatch = 256;
constexpr int kCacheRows = 2048;
constexpr int kIdleSlice = 8192; // keys read in one idle moment: a few milliseconds
} // namespace

GridModel::GridModel(DataControl* source, QVector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_source(source), m_columns(std::move(columns)), m_rows(kCacheRows)
{
    m_drain.setSingleShot(true);
    m_drain.setInterval(0);
    connect(&m_drain, &QTimer::timeout, this, [this] {
        if (m_book) {
            drainKeyed();
            return;
        }
        fetchMoreKeys(kIdleSlice);
        if (m_moreKeys)
            m_drain.start();
    });
    connect(m_source, &DataControl::refreshed, this, &GridModel::reload);
    connect(m_source, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_drain.stop();
        m_source = nullptr;
        m_rows.clear();
        m_moreKeys = false;
        m_writer.reset();
        m_book = nullptr;
        m_reader.reset();
        endResetModel();
    });
    if (m_source->Recordset())
        reload();
}

GridModel::~GridModel() = default;

void GridModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_readFailureReported = false;
    m_writer.reset();
    m_fieldOfColumn.clear();
    m_book = nullptr;
    m_counted = false;
    m_reader.reset();
    ::Recordset* rs = m_source ? m_source->Recordset() : nullptr;
    if (rs) {
        for (const auto& column : std::as_const(m_columns))
            m_fieldOfColumn.append(rs->columnIndex(column.field));
        if (rs->keyColumn() >= 0) {
            m_writer = std::make_unique<GridWriter>(rs, rs->columnName(rs->keyColumn()), m_fieldOfColumn);
            // The key column is the rowid, which the ranges continue from.
            if (rs->table() == QLatin1String("tblTel"))
                m_book = m_source->keyedBook();
        }
    }
    // A keyed book leaves the record set's cursor alone: it never starts, so it never holds the file.
    if (m_book)
        m_reader = std::make_unique<BookKeys>(m_source->database(), *m_book);
    else if (rs && rs->keyColumn() >= 0)
        m_reader = m_source->letterKeys(); // a letter read from the index leaves the cursor alone too
    if (!m_reader && rs && rs->keyColumn() >= 0)
        m_reader = std::make_unique<CursorKeys>(rs, m_rows, kBatch);
    m_moreKeys = m_reader && !m_reader->atEnd();
    try {
        std::vector<std::int64_t> keys;
        fetchKeys(kBatch, keys);
        m_rows.append(keys);
        // A book within the first batch is complete; any other is counted when it has to be.
        m_counted = m_book && met();
    } catch (const DbError& error) {
        m_moreKeys = false;
        endResetModel();
        Q_EMIT databaseError(error.number(), error.description());
        return;
    }
    // Views may ask for more rows while they are told of the reset; they get them on their next request.
    m_fetching = true;
    endResetModel();
    m_fetching = false;
    if (m_moreKeys)
        m_drain.start();
}

void GridModel::count()
{
    if (m_counted)
        return;
    // Counting half a million rows takes tens of milliseconds; the count stands while nobody writes to the file
    // (neither another connection, which data_version tells, nor this one).
    const std::shared_ptr<Database>& database = m_source->database();
    sqlite3* db = database->handle();
    m_version = database->dataVersion();
    const CountKey key{database, m_book, m_version, sqlite3_total_changes64(db)};
    if (m_countKey.connection.lock() != database || key.book != m_countKey.book || key.version != m_countKey.version ||
        key.changes != m_countKey.changes) {
        // The index pages a count reads are spread over the file; through the mapping, the system would map
        // their neighbours along and leave a hundred megabytes of a large file resident in the process. Unmapped,
        // they go through the connection's own cache. (SQLite maps again, lazily, when the size is set back.)
        sqlite3_exec(db, "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr);
        const auto mapAgain =
            qScopeGuard([db] { sqlite3_exec(db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr); });
        Statement total(db, QStringLiteral("SELECT count(*) FROM tblTel WHERE Category = ?"));
        total.bind(1, m_book->name());
        total.step();
        m_countedRows = int(total.int64(0));
        total.reset();
        m_countKey = key;
    }
    const int rows = m_countedRows;
    m_counted = true;
    m_moreKeys = false;
    const int read = m_rows.rows();
    if (rows > read) {
        beginInsertRows(QModelIndex(), read, rows - 1);
        m_rows.extendTo(rows);
        endInsertRows();
        // The last screen, for a view that goes to the end.
        fillBack(rows - kBatch);
    }
}

void GridModel::fillFront(int upTo)
{
    upTo = std::min(upTo, m_rows.back());
    if (met() || upTo <= m_rows.front())
        return;
    m_rows.fillFront(m_reader->readForward(upTo - m_rows.front()));
}

void GridModel::fillBack(int downTo)
{
    downTo = std::max(downTo, m_rows.front());
    if (met() || downTo >= m_rows.back())
        return;
    m_rows.fillBack(m_reader->readBackward(m_rows.back() - downTo));
}

void GridModel::fillAround(int row)
{
    const bool nearerFront = m_rows.nearerFront(row);
    const int distance = nearerFront ? row - m_rows.front() : m_rows.back() - 1 - row;
    if (distance > kIdleSlice) {
        fillAlone(row, nearerFront);
        // Rows deleted elsewhere since the count may leave the position short of rows: then the run reads there.
        if (m_rows.keyAt(row) != Rows::kNone)
            return;
    }
    if (nearerFront)
        fillFront(row + kBatch);
    else
        fillBack(row - kBatch + 1);
}

void GridModel::fillAlone(int row, bool fromFront)
{
    const int first = std::max(m_rows.front(), row - kBatch / 2);
    const int end = std::min(m_rows.back(), first + kBatch);
    if (fromFront) {
        m_rows.fillAt(first, m_reader->readAt(first, end - first, false));
        return;
    }
    std::vector<std::int64_t> keys = m_reader->readAt(m_rows.rows() - end, end - first, true);
    std::reverse(keys.begin(), keys.end());
    // Fewer rows than asked for lie at the start of the screen: the last ones are counted from the end.
    m_rows.fillAt(end - int(keys.size()), keys);
}

void GridModel::settle()
{
    if (!m_counted || joined())
        return;
    const int front = m_rows.front();
    if (met() && front < m_rows.back()) {
        // Fewer rows between the runs than counted: deleted (or given another book) elsewhere since.
        beginRemoveRows(QModelIndex(), front, m_rows.back() - 1);
        m_rows.removeBetween();
        endRemoveRows();
    } else if (!met() && front == m_rows.back()) {
        // More rows than counted: added elsewhere since.
        const std::vector<std::int64_t> keys = m_reader->readForward(kBatch);
        if (!keys.empty()) {
            beginInsertRows(QModelIndex(), front, front + int(keys.size()) - 1);
            m_rows.insertBetween(keys);
            endInsertRows();
        }
    }
    if (joined() && m_source->database()->dataVersion() != m_version)
        dropDuplicates();
}

void GridModel::dropDuplicates()
{
    // Another copy may have given a row of one run a key that falls between the runs, where it was read again.
    const std::vector<int> copies = m_rows.laterCopies();
    for (auto it = copies.crbegin(); it != copies.crend(); ++it)
        eraseRow(*it);
}

void GridModel::drainKeyed()
{
    if (m_fetching)
        return;
    try {
        if (!m_counted) {
            count();
        } else {
            if (m_forwardTurn)
                fillFront(m_rows.front() + kIdleSlice);
            else
                fillBack(m_rows.back() - kIdleSlice);
            m_forwardTurn = !m_forwardTurn;
            settle();
        }
    } catch (const DbError& error) {
        Q_EMIT databaseError(error.number(), error.description());
        return;
    }
    if (!joined())
        m_drain.start();
}

qint64 GridModel::keyAt(int row)
{
    if (m_rows.keyAt(row) == Rows::kNone && m_rows.between(row))
        fillAround(row);
    return m_rows.keyAt(row);
}

void GridModel::eraseRow(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(row);
    endRemoveRows();
}

void GridModel::fetchKeys(int count, std::vector<std::int64_t>& into)
{
    // A save lets go of the cursor (Recordset::release); the keys end there until the next refresh.
    m_moreKeys = m_moreKeys && m_reader && !m_reader->atEnd();
    if (!m_moreKeys)
        return;
    const std::vector<std::int64_t> keys = m_reader->readForward(count);
    into.insert(into.end(), keys.begin(), keys.end());
    m_moreKeys = !m_reader->atEnd();
}

bool GridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_moreKeys;
}

void GridModel::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid())
        fetchMoreKeys(kBatch * 4);
}

void GridModel::fetchMoreKeys(int count)
{
    if (!m_moreKeys || m_fetching)
        return;
    // A view may ask for more while it is told about the rows just added.
    m_fetching = true;
    const auto done = qScopeGuard([this] { m_fetching = false; });
    try {
        if (m_book) {
            // The whole book at once: every row, most of them without a key yet.
            this->count();
            return;
        }
        // Read first, then announce: rows must not appear before beginInsertRows.
        std::vector<std::int64_t> fresh;
        fetchKeys(count, fresh);
        if (!fresh.empty()) {
            const int first = m_rows.rows();
            beginInsertRows(QModelIndex(), first, first + int(fresh.size()) - 1);
            m_rows.append(fresh);
            endInsertRows();
        }
    } catch (const DbError& error) {
        m_moreKeys = false;
        Q_EMIT databaseError(error.number(), error.description());
    }
}

void GridModel::fetchAll()
{
    if (!m_book) {
        while (m_moreKeys && !m_fetching)
            fetchMoreKeys(kIdleSlice);
        return;
    }
    if (m_fetching)
        return;
    m_fetching = true;
    const auto done = qScopeGuard([this] { m_fetching = false; });
    try {
        while (!joined()) {
            count();
            fillFront(m_rows.back());
            settle();
        }
    } catch (const DbError& error) {
        Q_EMIT databaseError(error.number(), error.description());
    }
}

int GridModel::rowOfKey(qint64 key)
{
    fetchAll();
    return m_rows.rowOf(key);
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.rows();
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

const QVector<QVariant>* GridModel::rowValues(int row) const
{
    qint64 key = m_rows.keyAt(row);
    if (const auto* cached = m_rows.cached(key))
        return cached;
    try {
        if (key < 0 && m_book) {
            // Reading the keys between the runs changes no row a view knows of; rows to add or remove wait for the
            // next idle moment, out of the view's reading.
            auto* self = const_cast<GridModel*>(this);
            key = self->keyAt(row);
            if (key < 0) {
                self->m_drain.start();
                return nullptr;
            }
        }
        const GridWriter* table = writer();
        auto values = table ? table->readRow(key) : std::nullopt;
        if (!values)
            return nullptr; // deleted by another copy of the program since the last refresh
        return &m_rows.keep(key, std::move(*values));
    } catch (const DbError& error) {
        // A view asks while it paints: the row shows empty, and the user hears of it once the painting is done.
        if (!m_readFailureReported) {
            m_readFailureReported = true;
            QMetaObject::invokeMethod(
                const_cast<GridModel*>(this),
                [self = const_cast<GridModel*>(this), error] {
                    Q_EMIT self->databaseError(error.number(), error.description());
                },
                Qt::QueuedConnection);
        }
        return nullptr;
    }
}

void GridModel::showAsStored(const QVector<qint64>& keys)
{
    for (const qint64 key : keys) {
        m_rows.forget(key);
        const int row = m_rows.rowOf(key);
        if (row < 0)
            continue;
        bool gone = false;
        try {
            gone = !writer() || !writer()->readRow(key);
        } catch (const DbError&) {
        }
        if (gone) {
            eraseRow(row);
        } else {
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
        }
    }
}

QVariant GridModel::displayValue(const GridColumn& column, const QVariant& stored) const
{
    if (stored.isNull())
        return QVariant();
    if (column.numberFormat == QLatin1String("Short Date"))
        return DateRules::shortDate(stored.toString(), QLocale());
    if (column.numberFormat == QLatin1String("Short Time"))
        return DateRules::shortTime(stored.toString(), QLocale());
    // "General Number" shows numbers as numbers; the masked telephone texts are never numbers, so they show as
    // stored, like every other text.
    return stored.toString();
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.rows() || index.column() >= m_columns.size())
        return QVariant();
    const GridColumn& column = m_columns.at(index.column());
    if (role == MaxLengthRole) {
        const auto* rs = m_source ? m_source->Recordset() : nullptr;
        return rs ? Schema::widthOf(rs->table(), column.field) : 0;
    }
    if (role == InputMaskRole)
        return column.inputMask;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const int field = m_fieldOfColumn.value(index.column(), -1);
    const QVector<QVariant>* values = rowValues(index.row());
    if (!values || field < 0)
        return QVariant();
    return displayValue(column, values->at(field));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return m_columns.value(section).caption;
    return QVariant(); // the record selector shows no numbers
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (writer() && m_fieldOfColumn.value(index.column(), -1) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (data(index, Qt::EditRole) == value)
        return true; // nothing changed: leave the row untouched
    const GridColumn& column = m_columns.at(index.column());
    const qint64 key = m_rows.keyAt(index.row()); // read by data() above
    if (key < 0)
        return false;
    try {
        // A write may move the row within a half-read ordered result; take the remaining keys first so no row
        // is listed twice. A keyed book needs no such thing: its runs never read a row of theirs again, and the
        // row an edit moves loses its key until the next refresh.
        if (!m_book)
            fetchAll();
        m_writer->write(key, shownOf(key), column.field, writtenOut(column.field, column.caption), value);
        m_rows.forget(key);
        Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        return true;
    } catch (const DbError& error) {
        if (error.number() == DbError::ChangedElsewhere)
            showAsStored({key});
        Q_EMIT databaseError(error.number(), error.description());
        return false;
    }
}

bool GridModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.rows())
        return false;
    QList<int> rows;
    for (int r = row; r < row + count; ++r)
        rows.append(r);
    return removeRowList(rows);
}

bool GridModel::removeRowList(QList<int> rows)
{
    if (!writer() || rows.isEmpty())
        return false;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!m_book) {
        fetchAll();
    } else {
        // Rows selected without being shown may have no key yet; a row without one is gone.
        try {
            for (const int r : std::as_const(rows))
                keyAt(r);
        } catch (const DbError& error) {
            Q_EMIT databaseError(error.number(), error.description());
            return false;
        }
        rows.removeIf([this](int r) { return m_rows.keyAt(r) < 0; });
        if (rows.isEmpty())
            return false;
    }
    std::vector<std::pair<qint64, GridWriter::Shown>> doomed;
    for (const int r : std::as_const(rows))
        doomed.emplace_back(m_rows.keyAt(r), shownOf(m_rows.keyAt(r)));
    try {
        m_writer->remove(doomed);
    } catch (const DbError& error) {
        if (error.number() == DbError::ChangedElsewhere) {
            QVector<qint64> keys;
            for (const auto& row : doomed)
                keys.append(row.first);
            showAsStored(keys);
        }
        Q_EMIT databaseError(error.number(), error.description());
        return false;
    }
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        eraseRow(*it);
    if (m_book && !joined())
        m_drain.start();
    return true;
}
