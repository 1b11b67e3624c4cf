#pragma once

#include "data/ETag.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Database;

// What the file keeps of the sync with a CardDAV server, in tables of its own beside tblTel: the settings (server,
// user, the address book each book goes to), each address book's sync token, and for each card on the server its
// address, ETag, text as received and the twelve values last agreed for it with the directory. Plain tables under
// SQLite's own collations, readable by any tool.
//
// An entry is tied to its card by the values last agreed and the rowid it was last seen at: a VACUUM may renumber
// tblTel, so a row is found at its rowid when it still holds those values, anywhere else holding them next, and at
// its rowid holding others (edited here) last. A card kept here whose entry is found nowhere was deleted here, and
// stays until the server has the deletion.
namespace SyncStore {

// The columns of tblTel a sync carries, in the order of Columns::kAll (the order of Contact::values()).
const QStringList& columns();

struct Entry
{
    qint64 rowid = -1;
    QStringList values; // columns(), NULL as the empty text
};

struct Card
{
    QString book;       // the address book's URL
    QString href;       // the card's path on the server
    ETag etag;          // the version on the server this file knows
    QByteArray text;    // the card as last received (or sent)
    qint64 entry = -1;  // rowid last seen at; -1: the card is no entry (nothing the directory can show)
    QStringList agreed; // columns(), the values last agreed; empty when the card is no entry
};

// A change of one entry, applied only when the row still holds `expected` (nothing changed it meanwhile).
struct EntryWrite
{
    enum class Kind { Insert, Update, Delete } kind = Kind::Insert;
    qint64 rowid = -1;
    QStringList expected; // Update and Delete
    QStringList values;   // Insert and Update
    int card = -1;        // index in the cards given to apply() whose `entry` becomes the row's rowid
};

// Creates the tables when missing.
void prepare(Database& db);
// Whether the file has them: a file that never synced is not written to by merely looking.
bool prepared(Database& db);

QString setting(Database& db, const QString& name);
void setSetting(Database& db, const QString& name, const QString& value);

// Gives the cards and the token kept for the address book `from` to `to` (the same address book under another
// address).
void renameBook(Database& db, const QString& from, const QString& to);

// Runs `work` in one transaction with whatever it overwrites or deletes zeroed in the file, so that a secret taken
// out of the file is not left behind in its free space.
void erasing(Database& db, const std::function<void()>& work);

QList<Entry> entries(Database& db);
QList<Card> cards(Database& db, const QString& book);
QString token(Database& db, const QString& book);
// What a sync with nothing to do needs, without reading a card: each card's version by its href; whether some card
// waits to be read again (its version not known); whether nothing of `book` waits to go up: every card kept for it
// confirmed there and tied to a row that holds the values last agreed, and every row of `category` (of any, when
// empty) tied to one of them.
QHash<QString, ETag> versions(Database& db, const QString& book);
bool unknownVersions(Database& db, const QString& book);
bool settled(Database& db, const QString& book, const QString& category);

// In one transaction: the entry writes, the cards stored or replaced, the cards dropped, the book's new token
// (unchanged when `token` is null). False, and nothing written, when a row a write is meant for no longer holds
// what it is expected to (edited meanwhile): the next run sees the edit. Throws DbError.
bool apply(Database& db, const QString& book, const QList<EntryWrite>& writes, QList<Card> cards,
           const QStringList& droppedHrefs, const QString& token);

} // namespace SyncStore
