#include "data/GridWriter.h"

#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/UndoLog.h"

#include <QCoreApplication>

GridWriter::GridWriter(::Recordset* rs, QString keyName, QVector<int> shownFields)
    : m_rs(rs), m_keyName(std::move(keyName)), m_shownFields(std::move(shownFields))
{
}

std::optional<QVector<QVariant>> GridWriter::readRow(qint64 key) const
{
    if (!m_rowQuery.isValid()) {
        // The same columns as the statement, in the same order, for one row picked by its key.
        m_rowQuery = Statement(m_rs->database()->handle(),
                               QStringLiteral("SELECT * FROM \"%1\" WHERE \"%2\" = ?").arg(m_rs->table(), m_keyName));
    }
    m_rowQuery.reset();
    m_rowQuery.bind(1, key);
    if (!m_rowQuery.step())
        return std::nullopt;
    // The row query has the table's columns; map them back to the statement's result columns by name.
    QVector<QVariant> values(m_rs->columnCount());
    for (int c = 0; c < m_rowQuery.columnCount(); ++c) {
        const int target = m_rs->columnIndex(m_rowQuery.columnName(c));
        if (target >= 0)
            values[target] = m_rowQuery.value(c);
    }
    m_rowQuery.reset();
    return values;
}

void GridWriter::checkUnchanged(qint64 key, const Shown& shown) const
{
    const auto stored = readRow(key);
    bool same = stored.has_value();
    if (same && shown) {
        for (const int field : m_shownFields) {
            if (field >= 0 && stored->at(field) != shown->at(field))
                same = false;
        }
    }
    if (!same)
        throw DbError(DbError::ChangedElsewhere,
                      QCoreApplication::translate(
                          "GridWriter", "The row was changed or deleted elsewhere since the grid showed it, so nothing "
                                        "was written. The grid now shows the row as stored."));
}

void GridWriter::write(qint64 key, const Shown& shown, const QString& field, const QString& name, const QVariant& value)
{
    Database::ColumnInfo info;
    for (const auto& c : m_rs->tableColumns()) {
        if (c.name.compare(field, Qt::CaseInsensitive) == 0)
            info = c;
    }
    if (info.name.isEmpty())
        throw DbError(DbError::ItemNotFound,
                      QCoreApplication::translate("GridWriter", "Item not found in this collection: %1.").arg(field));
    const QVariant stored = m_rs->convertForColumn(info, value);
    const int width = Schema::widthOf(m_rs->table(), info.name);
    if (const qsizetype length = stored.toString().toUcs4().size(); width > 0 && length > width)
        throw DbError(DbError::FieldTooSmall,
                      QCoreApplication::translate("GridWriter", "The column %1 holds at most %2 characters; the %3 "
                                                                "typed were not written, and the cell keeps what is "
                                                                "stored.")
                          .arg(name)
                          .arg(width)
                          .arg(length));
    UndoLog::Recording step(QCoreApplication::translate("GridWriter", "Edit of %1").arg(name));
    m_rs->database()->transaction([&] {
        checkUnchanged(key, shown);
        Statement update(
            m_rs->database()->handle(),
            QStringLiteral("UPDATE \"%1\" SET \"%2\" = ? WHERE \"%3\" = ?").arg(m_rs->table(), info.name, m_keyName));
        update.bind(1, stored);
        update.bind(2, key);
        update.step();
    });
    step.keep();
}

void GridWriter::remove(const std::vector<std::pair<qint64, Shown>>& rows)
{
    const bool messages = m_rs->table().compare(QLatin1String("tblMes"), Qt::CaseInsensitive) == 0;
    const qsizetype count = qsizetype(rows.size());
    UndoLog::Recording step(
        messages
            ? (count == 1 ? QCoreApplication::translate("GridWriter", "Deletion of 1 Message")
                          : QCoreApplication::translate("GridWriter", "Deletion of %n Messages", nullptr, int(count)))
            : (count == 1 ? QCoreApplication::translate("GridWriter", "Deletion of 1 Entry")
                          : QCoreApplication::translate("GridWriter", "Deletion of %n Entries", nullptr, int(count))));
    m_rs->database()->transaction([&] {
        Statement erase(m_rs->database()->handle(),
                        QStringLiteral("DELETE FROM \"%1\" WHERE \"%2\" = ?").arg(m_rs->table(), m_keyName));
        for (const auto& [key, shown] : rows) {
            checkUnchanged(key, shown);
            erase.reset();
            erase.bind(1, key);
            erase.step();
        }
    });
    step.keep();
}
