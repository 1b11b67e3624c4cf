#include "GridModel.h"

#include "DateRules.h"
#include "Schema.h"

#include <QLocale>
#include <QScopeGuard>
#include <algorithm>

namespace {
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
    m_rowQuery = Statement();
    m_fieldOfColumn.clear();
    m_keyName.clear();
    ::Recordset* rs = m_source ? m_source->Recordset() : nullptr;
    m_moreKeys = rs && !rs->Eof() && rs->keyColumn() >= 0;
    if (rs) {
        for (const auto& column : std::as_const(m_columns))
            m_fieldOfColumn.append(rs->columnIndex(column.field));
        if (rs->keyColumn() >= 0)
            m_keyName = rs->columnName(rs->keyColumn());
    }
    try {
        fetchKeys(kBatch, m_keys);
    } catch (const DbError& error) {
        m_moreKeys = false;
        endResetModel();
        Q_EMIT writeFailed(error.number(), error.description());
        return;
    }
    // Views may ask for more rows while they are told of the reset; they get them on their next request.
    m_fetching = true;
    endResetModel();
    m_fetching = false;
    if (m_moreKeys)
        m_drain.start();
}

void GridModel::fetchKeys(int count, QVector<qint64>& into)
{
    ::Recordset* rs = m_source ? m_source->Recordset() : nullptr;
    // A save lets go of the cursor (Recordset::release); the keys end there until the next refresh.
    m_moreKeys = m_moreKeys && rs && !rs->Eof();
    while (m_moreKeys && count-- > 0) {
        const qint64 key = rs->currentKey();
        into.append(key);
        // The first screen's values come with the keys at no extra cost.
        if (m_cache.size() < kBatch) {
            QVector<QVariant> values(rs->columnCount());
            for (int c = 0; c < values.size(); ++c)
                values[c] = rs->value(c);
            m_cache.insert(key, values);
        }
        rs->MoveNext();
        m_moreKeys = !rs->Eof();
    }
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
        Q_EMIT writeFailed(error.number(), error.description());
    }
}

void GridModel::fetchAll()
{
    while (m_moreKeys && !m_fetching)
        fetchMoreKeys(kIdleSlice);
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
    const qint64 key = m_keys.value(row, -1);
    auto it = m_cache.constFind(key);
    if (it != m_cache.constEnd())
        return &*it;
    try {
        auto values = readRow(key);
        if (!values)
            return nullptr; // deleted by another copy of the program since the last refresh
        if (m_cache.size() >= kCacheRows)
            m_cache.clear();
        return &*m_cache.insert(key, *values);
    } catch (const DbError&) {
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
            beginRemoveRows(QModelIndex(), row, row);
            m_keys.removeAt(row);
            endRemoveRows();
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
    const qint64 key = m_keys.at(index.row());
    try {
        // A write may move the row within a half-read ordered result; take the remaining keys first so no row
        // is listed twice.
        fetchAll();
        Database::ColumnInfo info;
        for (const auto& c : rs->tableColumns()) {
            if (c.name.compare(column.field, Qt::CaseInsensitive) == 0)
                info = c;
        }
        if (info.name.isEmpty())
            throw DbError(DbError::ItemNotFound, QStringLiteral("Item not found in this collection: %1.").arg(column.field));
        const QVariant stored = rs->convertForColumn(info, value);
        rs->database()->transaction([&] {
            checkUnchanged(key);
            Statement update(rs->database()->handle(), QStringLiteral("UPDATE \"%1\" SET \"%2\" = ? WHERE \"%3\" = ?")
                                                           .arg(rs->table(), info.name, m_keyName));
            update.bind(1, stored);
            update.bind(2, key);
            update.step();
        });
        m_cache.remove(key);
        Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        return true;
    } catch (const DbError& error) {
        if (error.number() == DbError::ChangedElsewhere)
            showAsStored({key});
        Q_EMIT writeFailed(error.number(), error.description());
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
    try {
        fetchAll();
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
    } catch (const DbError& error) {
        if (error.number() == DbError::ChangedElsewhere) {
            QVector<qint64> keys;
            for (int r : std::as_const(rows))
                keys.append(m_keys.at(r));
            showAsStored(keys);
        }
        Q_EMIT writeFailed(error.number(), error.description());
        return false;
    }
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        beginRemoveRows(QModelIndex(), *it, *it);
        m_cache.remove(m_keys.at(*it));
        m_keys.removeAt(*it);
        endRemoveRows();
    }
    return true;
}
