#include "data/StoredRows.h"

#include "data/Columns.h"
#include "data/Database.h"
#include "data/Statement.h"

#include <QFile>
#include <QSet>
#include <QVariant>

namespace {

const QString kSourceName = QStringLiteral("converted_from");

QVariant bound(const StoredRows::Cell& cell)
{
    return cell ? QVariant(*cell) : QVariant();
}

QString insertInto(const QString& table, const QStringList& columns)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, columns.join(QStringLiteral(", ")),
             QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
}

void insertAll(Database& db, const QString& table, const QStringList& columns, const QList<StoredRows::Row>& rows)
{
    Statement insert(db.handle(), insertInto(table, columns));
    for (const StoredRows::Row& row : rows) {
        for (int c = 0; c < columns.size(); ++c)
            insert.bind(c + 1, bound(row.value(c)));
        insert.step();
        insert.reset();
    }
}

QList<StoredRows::Row> readAll(Database& db, const QString& table, const QStringList& columns)
{
    QList<StoredRows::Row> rows;
    Statement select(db.handle(),
                     QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columns.join(QStringLiteral(", ")), table));
    while (select.step()) {
        StoredRows::Row row;
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant value = select.value(c);
            row.append(value.isValid() ? StoredRows::Cell(value.toString()) : std::nullopt);
        }
        rows.append(row);
    }
    return rows;
}

// A message's identity: its five values, NULL apart from the empty text.
QString identity(const StoredRows::Row& row)
{
    QString id;
    for (const StoredRows::Cell& cell : row)
        id += cell ? QLatin1Char('+') + *cell + QChar(0x1f) : QStringLiteral("-") + QChar(0x1f);
    return id;
}

} // namespace

const QStringList& StoredRows::telColumns()
{
    return Columns::oldNames();
}

const QStringList& StoredRows::mesColumns()
{
    static const QStringList columns{QStringLiteral("Cdate"), QStringLiteral("Ctime"), QStringLiteral("Meet"),
                                     QStringLiteral("Avur"), QStringLiteral("Hodaa")};
    return columns;
}

void StoredRows::create(const QString& path, const Tables& rows, const QString& source)
{
    Database::create(path);
    try {
        const std::shared_ptr<Database> db = Database::open(path);
        db->transaction([&] {
            insertAll(*db, QStringLiteral("tblTel"), telColumns(), rows.tel);
            insertAll(*db, QStringLiteral("tblMes"), mesColumns(), rows.mes);
            Statement note(db->handle(),
                           QStringLiteral("INSERT OR REPLACE INTO tovrin_state (name, value) VALUES (?, ?)"));
            note.bind(1, kSourceName);
            note.bind(2, source);
            note.step();
        });
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

StoredRows::Tables StoredRows::read(const QString& path, QString* source)
{
    const std::shared_ptr<Database> db = Database::open(path);
    Tables tables{readAll(*db, QStringLiteral("tblTel"), telColumns()),
                  readAll(*db, QStringLiteral("tblMes"), mesColumns())};
    if (source) {
        Statement note(db->handle(), QStringLiteral("SELECT value FROM tovrin_state WHERE name = ?"));
        note.bind(1, kSourceName);
        *source = note.step() ? note.value(0).toString() : QString();
    }
    return tables;
}

QList<StoredRows::Row> StoredRows::newMessages(Database& db, const QList<Row>& rows)
{
    QSet<QString> known;
    for (const Row& row : readAll(db, QStringLiteral("tblMes"), mesColumns()))
        known.insert(identity(row));
    QList<Row> fresh;
    for (const Row& row : rows) {
        const QString id = identity(row);
        if (known.contains(id))
            continue;
        known.insert(id);
        fresh.append(row);
    }
    return fresh;
}

void StoredRows::addMessages(Database& db, const QList<Row>& rows)
{
    insertAll(db, QStringLiteral("tblMes"), mesColumns(), rows);
}
