#pragma once

#include "data/SearchedColumns.h"

#include <QString>
#include <QVector>
#include <array>
#include <memory>

class Database;

// The rows a search found, by their keys, with what a result list shows of each: its searched columns, read from
// the file when they are shown. A list of a million rows so costs its keys alone; a row changed since the search
// shows as it is now, and one deleted since shows empty.
class FoundRows
{
public:
    using Values = std::array<QString, SearchedColumns::kCount>;

    FoundRows() = default;
    FoundRows(std::shared_ptr<Database> db, QVector<qint64> keys);

    // The rows can be read by their keys; not so when a list must be made from the record set instead (see
    // SearchIndex::Result::keysInFile).
    bool isReadable() const { return m_reader != nullptr; }
    qsizetype size() const { return m_keys.size(); }
    qint64 key(qsizetype row) const { return m_keys.value(row, -1); }
    // The searched columns of row `row` as the file holds them now, null as empty; all empty when the row is gone.
    // Throws DbError.
    Values values(qsizetype row) const;

private:
    struct Reader;
    QVector<qint64> m_keys;
    std::shared_ptr<Reader> m_reader; // shared by copies
};
