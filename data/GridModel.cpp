#include "data/GridModel.h"

#include "data/Book.h"
#include "data/BookKeys.h"
#include "data/Columns.h"
#include "data/CursorKeys.h"
#include "data/DateRules.h"
#include "data/Schema.h"
#include "data/UndoLog.h"

#include <QCoreApplication>
#include <QLocale>
#include <QScopeGuard>
#include <QSet>
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
    : QAbstractTableModel(parent), m_source(source), m_columns(std::move(columns))
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
        m_keys.clear();
        m_moreKeys = false;
        m_cache.clear();
        m_rowQuery = Statement();
        m_book = nullptr;
        m_reader.reset();
        endResetModel();
    });
    if (m_source->Recordset())
        reload();
}

void GridModel::reload()
{
    beginResetModel();
    m_keys.clear();
    m_cache.clear();
    m_readFailureReported = false;
    m_rowQuery = Statement();
    m_fieldOfColumn.clear();
    m_keyName.clear();
    m_book = nullptr;
    m_counted = false;
    m_front = m_back = 0;
    m_reader.reset();
    ::Recordset* rs = m_source ? m_source->Recordset() : nullptr;
    if (rs) {
        for (const auto& column : std::as_const(m_columns))
            m_fieldOfColumn.append(rs->columnIndex(column.field));
        if (rs->keyColumn() >= 0)
            m_keyName = rs->columnName(rs->keyColumn());
        // The key column is the rowid, which the ranges continue from.
        if (!m_keyName.isEmpty() && rs->table() == QLatin1String("tblTel"))
            m_book = m_source->keyedBook();
    }
    // A keyed book leaves the record set's cursor alone: it never starts, so it never holds the file.
    if (m_book)
        m_reader = std::make_unique<BookKeys>(m_source->database(), *m_book);
    else if (rs && rs->keyColumn() >= 0)
        m_reader = std::make_unique<CursorKeys>(rs, m_cache, kBatch);
    m_moreKeys = m_reader && !m_reader->atEnd();
    try {
        if (!m_book) {
            fetchKeys(kBatch, m_keys);
        } else {
            m_keys = m_reader->readForward(kBatch);
            m_front = m_back = int(m_keys.size());
            // A book within the first batch is complete; any other is counted when it has to be.
            m_counted = met();
            m_moreKeys = !m_counted;
        }
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
    const int read = int(m_keys.size());
    if (rows > read) {
        beginInsertRows(QModelIndex(), read, rows - 1);
        m_keys.insert(read, rows - read, -1);
        m_back = rows;
        endInsertRows();
        // The last screen, for a view that goes to the end.
        fillBack(rows - kBatch);
    }
}

void GridModel::fillFront(int upTo)
{
    upTo = std::min(upTo, m_back);
    if (met() || upTo <= m_front)
        return;
    const QVector<qint64> keys = m_reader->readForward(upTo - m_front);
    std::copy(keys.cbegin(), keys.cend(), m_keys.begin() + m_front);
    m_front += int(keys.size());
}

void GridModel::fillBack(int downTo)
{
    downTo = std::max(downTo, m_front);
    if (met() || downTo >= m_back)
        return;
    for (const qint64 key : m_reader->readBackward(m_back - downTo))
        m_keys[--m_back] = key;
}

void GridModel::fillAround(int row)
{
    if (row - m_front <= m_back - 1 - row)
        fillFront(row + kBatch);
    else
        fillBack(row - kBatch + 1);
}

void GridModel::settle()
{
    if (!m_counted || joined())
        return;
    if (met() && m_front < m_back) {
        // Fewer rows between the runs than counted: deleted (or given another book) elsewhere since.
        beginRemoveRows(QModelIndex(), m_front, m_back - 1);
        m_keys.remove(m_front, m_back - m_front);
        m_back = m_front;
        endRemoveRows();
    } else if (!met() && m_front == m_back) {
        // More rows than counted: added elsewhere since.
        const QVector<qint64> keys = m_reader->readForward(kBatch);
        if (!keys.isEmpty()) {
            beginInsertRows(QModelIndex(), m_front, m_front + int(keys.size()) - 1);
            m_keys.insert(m_front, keys.size(), 0);
            std::copy(keys.cbegin(), keys.cend(), m_keys.begin() + m_front);
            m_front += int(keys.size());
            m_back += int(keys.size());
            endInsertRows();
        }
    }
    if (joined() && m_source->database()->dataVersion() != m_version)
        dropDuplicates();
}

void GridModel::dropDuplicates()
{
    // Another copy may have given a row of one run a key that falls between the runs, where it was read again.
    QVector<qint64> sorted = m_keys;
    std::sort(sorted.begin(), sorted.end());
    QSet<qint64> twice;
    for (qsizetype i = 1; i < sorted.size(); ++i) {
        if (sorted.at(i) == sorted.at(i - 1))
            twice.insert(sorted.at(i));
    }
    if (twice.isEmpty())
        return;
    QSet<qint64> seen;
    QList<int> extra;
    for (int row = 0; row < m_keys.size(); ++row) {
        const qint64 key = m_keys.at(row);
        if (!twice.contains(key))
            continue;
        if (seen.contains(key))
            extra.append(row);
        else
            seen.insert(key);
    }
    for (auto it = extra.crbegin(); it != extra.crend(); ++it)
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
                fillFront(m_front + kIdleSlice);
            else
                fillBack(m_back - kIdleSlice);
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
    if (m_keys.value(row, 0) < 0 && row >= m_front && row < m_back)
        fillAround(row);
    return m_keys.value(row, -1);
}

void GridModel::eraseRow(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_cache.remove(m_keys.at(row));
    m_keys.removeAt(row);
    if (row < m_front)
        --m_front;
    if (row < m_back)
        --m_back;
    endRemoveRows();
}

void GridModel::fetchKeys(int count, QVector<qint64>& into)
{
    // A save lets go of the cursor (Recordset::release); the keys end there until the next refresh.
    m_moreKeys = m_moreKeys && m_reader && !m_reader->atEnd();
    if (!m_moreKeys)
        return;
    into += m_reader->readForward(count);
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
        QVector<qint64> fresh;
        fetchKeys(count, fresh);
        if (!fresh.isEmpty()) {
            const int first = int(m_keys.size());
            beginInsertRows(QModelIndex(), first, first + int(fresh.size()) - 1);
            m_keys += fresh;
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
            fillFront(m_back);
            settle();
        }
    } catch (const DbError& error) {
        Q_EMIT databaseError(error.number(), error.description());
    }
}

int GridModel::rowOfKey(qint64 key)
{
    fetchAll();
    return int(m_keys.indexOf(key));
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_keys.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

const QVector<QVariant>* GridModel::rowValues(int row) const
{
    qint64 key = m_keys.value(row, -1);
    auto it = m_cache.constFind(key);
    if (it != m_cache.constEnd())
        return &*it;
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
        auto values = readRow(key);
        if (!values)
            return nullptr; // deleted by another copy of the program since the last refresh
        if (m_cache.size() >= kCacheRows)
            m_cache.clear();
        return &*m_cache.insert(key, *values);
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

std::optional<QVector<QVariant>> GridModel::readRow(qint64 key) const
{
    if (!m_source || !m_source->Recordset() || m_keyName.isEmpty())
        return std::nullopt;
    ::Recordset* rs = m_source->Recordset();
    if (!m_rowQuery.isValid()) {
        // The same columns as the statement, in the same order, for one row picked by its key.
        m_rowQuery = Statement(rs->database()->handle(),
                               QStringLiteral("SELECT * FROM \"%1\" WHERE \"%2\" = ?").arg(rs->table(), m_keyName));
    }
    m_rowQuery.reset();
    m_rowQuery.bind(1, key);
    if (!m_rowQuery.step())
        return std::nullopt;
    // The row query has the table's columns; map them back to the statement's result columns by name.
    QVector<QVariant> values(rs->columnCount());
    for (int c = 0; c < m_rowQuery.columnCount(); ++c) {
        const int target = rs->columnIndex(m_rowQuery.columnName(c));
        if (target >= 0)
            values[target] = m_rowQuery.value(c);
    }
    m_rowQuery.reset();
    return values;
}

void GridModel::checkUnchanged(qint64 key) const
{
    const auto stored = readRow(key);
    bool same = stored.has_value();
    // Only what the grid showed counts: a change to a column it does not show is not lost by this write.
    const auto shown = m_cache.constFind(key);
    if (same && shown != m_cache.constEnd()) {
        for (const int field : m_fieldOfColumn) {
            if (field >= 0 && stored->at(field) != shown->at(field))
                same = false;
        }
    }
    if (!same)
        throw DbError(DbError::ChangedElsewhere,
                      QStringLiteral("The row was changed or deleted elsewhere since the grid showed it, so nothing "
                                     "was written. The grid now shows the row as stored."));
}

void GridModel::showAsStored(const QVector<qint64>& keys)
{
    for (const qint64 key : keys) {
        m_cache.remove(key);
        const int row = int(m_keys.indexOf(key));
        if (row < 0)
            continue;
        bool gone = false;
        try {
            gone = !readRow(key);
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
    if (!index.isValid() || index.row() >= m_keys.size() || index.column() >= m_columns.size())
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
    if (!m_keyName.isEmpty() && m_fieldOfColumn.value(index.column(), -1) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (data(index, Qt::EditRole) == value)
        return true; // nothing changed: leave the row untouched
    ::Recordset* rs = m_source->Recordset();
    const GridColumn& column = m_columns.at(index.column());
    const qint64 key = m_keys.at(index.row()); // read by data() above
    if (key < 0)
        return false;
    try {
        // A write may move the row within a half-read ordered result; take the remaining keys first so no row
        // is listed twice. A keyed book needs no such thing: its runs never read a row of theirs again, and the
        // row an edit moves loses its key until the next refresh.
        if (!m_book)
            fetchAll();
        Database::ColumnInfo info;
        for (const auto& c : rs->tableColumns()) {
            if (c.name.compare(column.field, Qt::CaseInsensitive) == 0)
                info = c;
        }
        if (info.name.isEmpty())
            throw DbError(DbError::ItemNotFound,
                          QStringLiteral("Item not found in this collection: %1.").arg(column.field));
        const QVariant stored = rs->convertForColumn(info, value);
        const int width = Schema::widthOf(rs->table(), info.name);
        if (const qsizetype length = stored.toString().toUcs4().size(); width > 0 && length > width)
            throw DbError(DbError::FieldTooSmall,
                          tr("The column %1 holds at most %2 characters; the %3 typed were not written, and the cell "
                             "keeps what is stored.")
                              .arg(writtenOut(info.name, column.caption))
                              .arg(width)
                              .arg(length));
        UndoLog::Recording step(QStringLiteral("Edit of %1").arg(writtenOut(info.name, column.caption)));
        rs->database()->transaction([&] {
            checkUnchanged(key);
            Statement update(
                rs->database()->handle(),
                QStringLiteral("UPDATE \"%1\" SET \"%2\" = ? WHERE \"%3\" = ?").arg(rs->table(), info.name, m_keyName));
            update.bind(1, stored);
            update.bind(2, key);
            update.step();
        });
        step.keep();
        m_cache.remove(key);
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
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_keys.size())
        return false;
    QList<int> rows;
    for (int r = row; r < row + count; ++r)
        rows.append(r);
    return removeRowList(rows);
}

bool GridModel::removeRowList(QList<int> rows)
{
    ::Recordset* rs = m_source ? m_source->Recordset() : nullptr;
    if (!rs || m_keyName.isEmpty() || rows.isEmpty())
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
        rows.removeIf([this](int r) { return m_keys.value(r, -1) < 0; });
        if (rows.isEmpty())
            return false;
    }
    try {
        const bool messages = rs->table().compare(QLatin1String("tblMes"), Qt::CaseInsensitive) == 0;
        UndoLog::Recording step(
            QStringLiteral("Deletion of %1 %2")
                .arg(rows.size())
                .arg(messages ? (rows.size() == 1 ? QStringLiteral("Message") : QStringLiteral("Messages"))
                              : (rows.size() == 1 ? QStringLiteral("Entry") : QStringLiteral("Entries"))));
        rs->database()->transaction([&] {
            Statement erase(rs->database()->handle(),
                            QStringLiteral("DELETE FROM \"%1\" WHERE \"%2\" = ?").arg(rs->table(), m_keyName));
            for (int r : std::as_const(rows)) {
                checkUnchanged(m_keys.at(r));
                erase.reset();
                erase.bind(1, m_keys.at(r));
                erase.step();
            }
        });
        step.keep();
    } catch (const DbError& error) {
        if (error.number() == DbError::ChangedElsewhere) {
            QVector<qint64> keys;
            for (int r : std::as_const(rows))
                keys.append(m_keys.at(r));
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
