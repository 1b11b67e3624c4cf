#include "data/SyncStore.h"

#include "data/Columns.h"
#include "data/Database.h"
#include "data/Statement.h"

#include <sqlite3.h>

namespace {

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

QStringList textValues(const Statement& statement, int first)
{
    QStringList values;
    for (int i = 0; i < SyncStore::columns().size(); ++i)
        values << statement.value(first + i).toString();
    return values;
}

// The row still holds `expected`, whatever type another tool gave its values (NULL counts as the empty text).
QString sameRow()
{
    QStringList tests;
    for (const QString& column : SyncStore::columns())
        tests << QStringLiteral("coalesce(%1, '') = ? COLLATE BINARY").arg(column);
    return tests.join(QStringLiteral(" AND "));
}

// A row a write was meant for no longer holds what the sync read: the transaction is taken back.
struct Changed
{
};

} // namespace

const QStringList& SyncStore::columns()
{
    return Columns::names();
}

void SyncStore::prepare(Database& db)
{
    QStringList agreed;
    for (const QString& column : columns())
        agreed << column + QStringLiteral(" TEXT");
    db.exec(
        QStringLiteral("CREATE TABLE IF NOT EXISTS tovrin_sync_setting (name TEXT PRIMARY KEY, value) WITHOUT ROWID;"
                       "CREATE TABLE IF NOT EXISTS tovrin_sync_book (book TEXT PRIMARY KEY, token TEXT) WITHOUT "
                       "ROWID;"
                       "CREATE TABLE IF NOT EXISTS tovrin_sync_card (book TEXT NOT NULL, href TEXT NOT NULL, etag "
                       "TEXT, card BLOB, entry INTEGER, %1, PRIMARY KEY (book, href)) WITHOUT ROWID;"
                       "CREATE INDEX IF NOT EXISTS tovrin_sync_card_entry ON tovrin_sync_card (book, entry)")
            .arg(agreed.join(QStringLiteral(", "))));
}

bool SyncStore::prepared(Database& db)
{
    Statement select(db.handle(), QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = "
                                                 "'tovrin_sync_card'"));
    return select.step();
}

QString SyncStore::setting(Database& db, const QString& name)
{
    Statement select(db.handle(), QStringLiteral("SELECT value FROM tovrin_sync_setting WHERE name = ?"));
    select.bind(1, name);
    return select.step() ? select.value(0).toString() : QString();
}

void SyncStore::setSetting(Database& db, const QString& name, const QString& value)
{
    Statement write(db.handle(),
                    QStringLiteral("INSERT OR REPLACE INTO tovrin_sync_setting (name, value) VALUES (?, ?)"));
    write.bind(1, name);
    write.bind(2, value);
    write.step();
}

void SyncStore::renameBook(Database& db, const QString& from, const QString& to)
{
    for (const char* table : {"tovrin_sync_card", "tovrin_sync_book"}) {
        Statement rename(db.handle(),
                         QStringLiteral("UPDATE OR REPLACE %1 SET book = ? WHERE book = ?").arg(QLatin1String(table)));
        rename.bind(1, to);
        rename.bind(2, from);
        rename.step();
    }
}

void SyncStore::erasing(Database& db, const std::function<void()>& work)
{
    db.exec(QStringLiteral("PRAGMA secure_delete = ON"));
    try {
        db.transaction(work);
    } catch (...) {
        db.exec(QStringLiteral("PRAGMA secure_delete = OFF"));
        throw;
    }
    db.exec(QStringLiteral("PRAGMA secure_delete = OFF"));
}

QList<SyncStore::Entry> SyncStore::entries(Database& db)
{
    Statement select(db.handle(), QStringLiteral("SELECT rowid, %1 FROM tblTel").arg(columns().join(QLatin1Char(','))));
    QList<Entry> rows;
    while (select.step())
        rows.append(Entry{select.int64(0), textValues(select, 1)});
    return rows;
}

QList<SyncStore::Card> SyncStore::cards(Database& db, const QString& book)
{
    Statement select(db.handle(),
                     QStringLiteral("SELECT href, etag, card, entry, %1 FROM tovrin_sync_card WHERE book = ?")
                         .arg(columns().join(QLatin1Char(','))));
    select.bind(1, book);
    QList<Card> found;
    while (select.step()) {
        Card card;
        card.book = book;
        card.href = select.value(0).toString();
        card.etag = ETag::fromStored(select.value(1).toString());
        card.text = select.value(2).toByteArray();
        const QVariant entry = select.value(3);
        card.entry = entry.isNull() ? -1 : entry.toLongLong();
        if (!entry.isNull())
            card.agreed = textValues(select, 4);
        found.append(card);
    }
    return found;
}

QString SyncStore::token(Database& db, const QString& book)
{
    Statement select(db.handle(), QStringLiteral("SELECT token FROM tovrin_sync_book WHERE book = ?"));
    select.bind(1, book);
    return select.step() ? select.value(0).toString() : QString();
}

QHash<QString, ETag> SyncStore::versions(Database& db, const QString& book)
{
    Statement select(db.handle(), QStringLiteral("SELECT href, etag FROM tovrin_sync_card WHERE book = ?"));
    select.bind(1, book);
    QHash<QString, ETag> found;
    while (select.step())
        found.insert(select.value(0).toString(), ETag::fromStored(select.value(1).toString()));
    return found;
}

bool SyncStore::unknownVersions(Database& db, const QString& book)
{
    Statement select(db.handle(), QStringLiteral("SELECT 1 FROM tovrin_sync_card WHERE book = ? AND etag = ?"));
    select.bind(1, book);
    select.bind(2, ETag::unknown().stored());
    return select.step();
}

bool SyncStore::settled(Database& db, const QString& book, const QString& category)
{
    QStringList same;
    for (const QString& column : columns())
        same << QStringLiteral("coalesce(t.%1, '') = coalesce(c.%1, '') COLLATE BINARY").arg(column);
    const QString held = same.join(QStringLiteral(" AND "));
    // No card unconfirmed or whose row no longer holds its values, and as many rows of the book as cards hold
    // (those rows are then all of them): a count over the index rather than a search for each row.
    Statement select(
        db.handle(),
        QStringLiteral("SELECT NOT EXISTS (SELECT 1 FROM tovrin_sync_card c WHERE c.book = ?1 AND (c.etag IN (?3, ?4) "
                       "OR (c.entry IS NOT NULL AND NOT EXISTS (SELECT 1 FROM tblTel t WHERE t.rowid = c.entry AND "
                       "%1)))) AND (SELECT count(DISTINCT entry) FROM tovrin_sync_card WHERE book = ?1 AND entry IS "
                       "NOT NULL) = (SELECT count(*) FROM tblTel WHERE ?2 = '' OR coalesce(Category, '') = ?2 "
                       "COLLATE BINARY)")
            .arg(held));
    select.bind(1, book);
    select.bind(2, category);
    select.bind(3, ETag().stored());
    select.bind(4, ETag::unknown().stored());
    return select.step() && select.value(0).toInt() == 1;
}

bool SyncStore::apply(Database& db, const QString& book, const QList<EntryWrite>& writes, QList<Card> cards,
                      const QStringList& droppedHrefs, const QString& token)
{
    try {
        db.transaction([&] {
            const int n = int(columns().size());
            Statement insert(db.handle(), QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2)")
                                              .arg(columns().join(QLatin1Char(',')), placeholders(n)));
            Statement update(db.handle(),
                             QStringLiteral("UPDATE tblTel SET %1 WHERE rowid = ? AND %2")
                                 .arg(columns().join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ?"), sameRow()));
            Statement remove(db.handle(), QStringLiteral("DELETE FROM tblTel WHERE rowid = ? AND %1").arg(sameRow()));
            for (const EntryWrite& write : writes) {
                Statement* statement = write.kind == EntryWrite::Kind::Insert   ? &insert
                                       : write.kind == EntryWrite::Kind::Update ? &update
                                                                                : &remove;
                int index = 1;
                if (write.kind != EntryWrite::Kind::Delete) {
                    for (const QString& value : write.values)
                        statement->bind(index++, value);
                }
                if (write.kind != EntryWrite::Kind::Insert) {
                    statement->bind(index++, write.rowid);
                    for (const QString& value : write.expected)
                        statement->bind(index++, value);
                }
                statement->step();
                statement->reset();
                if (sqlite3_changes(db.handle()) == 0)
                    throw Changed();
                if (write.card >= 0 && write.card < cards.size()) {
                    Card& card = cards[write.card];
                    card.entry = write.kind == EntryWrite::Kind::Insert   ? sqlite3_last_insert_rowid(db.handle())
                                 : write.kind == EntryWrite::Kind::Update ? write.rowid
                                                                          : -1;
                }
            }
            Statement store(db.handle(),
                            QStringLiteral("INSERT OR REPLACE INTO tovrin_sync_card (book, href, etag, card, "
                                           "entry, %1) VALUES (?, ?, ?, ?, ?, %2)")
                                .arg(columns().join(QLatin1Char(',')), placeholders(n)));
            for (const Card& card : cards) {
                store.bind(1, book);
                store.bind(2, card.href);
                store.bind(3, card.etag.stored());
                store.bind(4, card.text);
                store.bind(5, card.entry >= 0 ? QVariant(card.entry) : QVariant());
                for (int i = 0; i < n; ++i)
                    store.bind(6 + i,
                               card.entry >= 0 && i < card.agreed.size() ? QVariant(card.agreed.at(i)) : QVariant());
                store.step();
                store.reset();
            }
            Statement drop(db.handle(), QStringLiteral("DELETE FROM tovrin_sync_card WHERE book = ? AND href = ?"));
            for (const QString& href : droppedHrefs) {
                drop.bind(1, book);
                drop.bind(2, href);
                drop.step();
                drop.reset();
            }
            if (!token.isNull()) {
                Statement keep(db.handle(),
                               QStringLiteral("INSERT OR REPLACE INTO tovrin_sync_book (book, token) VALUES (?, ?)"));
                keep.bind(1, book);
                keep.bind(2, token);
                keep.step();
            }
        });
    } catch (const Changed&) {
        return false;
    }
    return true;
}
