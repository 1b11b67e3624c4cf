#pragma once

#include "DataControl.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QTimer>
#include <QVector>
#include <optional>

// One column of a grid: its caption, the field it shows, its width in twips and its number format ("" for the
// stored text, "General Number", "Short Date", "Short Time").
struct GridColumn
{
    QString caption;
    QString field;
    int widthTwips = 0;
    QString numberFormat;
};

// The rows of a data control's record set for a grid. It keeps one key per row and reads the values of the rows
// on screen from the file, so a book of a million rows opens at once and costs a few megabytes. Keys are taken
// from the record set in batches as the view scrolls (canFetchMore/fetchMore).
//
// The record set's cursor holds a read lock on the file while it is inside its rows, which keeps other programs
// from saving; so the keys past the first screen are read as soon as the program is idle, a slice at a time, and
// the lock goes with the last of them.
//
// Edits are written to the row at once (the cell's commit), deletions of whole rows likewise; no row is ever
// added. Each write first checks that the row is still as the grid shows it: a row changed or deleted elsewhere
// meanwhile is not written (DbError::ChangedElsewhere) and the grid shows it as stored. A write the file refuses
// changes nothing and is reported through writeFailed.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { MaxLengthRole = Qt::UserRole + 1 };

    GridModel(DataControl* source, QVector<GridColumn> columns, QObject* parent = nullptr);

    const QVector<GridColumn>& gridColumns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // Deletes the given rows in one transaction: all of them or, when the file refuses, none.
    bool removeRowList(QList<int> rows);
    // Reads every remaining key of the record set (a view jumping to the last row needs them).
    void fetchAll();

Q_SIGNALS:
    void writeFailed(int number, const QString& description);

private:
    void reload();
    void fetchKeys(int count, QVector<qint64>& into);
    void fetchMoreKeys(int count);
    const QVector<QVariant>* rowValues(int row) const;
    // The row as stored, in the record set's columns; nothing when it is gone.
    std::optional<QVector<QVariant>> readRow(qint64 key) const;
    // Throws DbError::ChangedElsewhere when the row is gone or differs in a shown column from what the grid showed.
    void checkUnchanged(qint64 key) const;
    // After a write was refused: forgets what the grid showed of the rows, so it reads them again, and drops those
    // that are gone.
    void showAsStored(const QVector<qint64>& keys);
    QVariant displayValue(const GridColumn& column, const QVariant& stored) const;

    DataControl* m_source;
    QVector<GridColumn> m_columns;
    QVector<int> m_fieldOfColumn; // result column of each grid column
    QVector<qint64> m_keys;
    bool m_moreKeys = false;
    bool m_fetching = false;
    mutable QHash<qint64, QVector<QVariant>> m_cache;
    mutable Statement m_rowQuery;
    QString m_keyName;
    QTimer m_drain;
};
