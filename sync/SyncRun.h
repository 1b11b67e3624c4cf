#pragma once

#include "data/SyncStore.h"
#include "exchange/ContactImport.h"
#include "exchange/ProblemList.h"
#include "sync/CollectionChanges.h"
#include "sync/DavClient.h"
#include "sync/DavXml.h"
#include "sync/MergeRules.h"
#include "sync/SyncReport.h"
#include "sync/SyncSettings.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <functional>

class Database;

// One sync of both books with their address books, both ways.
//
// For each address book: what changed on the server since the stored token (sync-collection; a full listing of
// ETags where the server keeps no token or refuses it), the changed cards fetched with multiget, merged with what
// changed here, and written in one transaction with the new token, so a run that dies midway is run again from the
// same token. Then what changed here goes up: an edit as the card kept from the server with only the edited lines
// rewritten (PUT If-Match), a new entry as a new card (PUT If-None-Match: *, its card kept in the file before it is
// sent, so a run that dies after sending finds it again instead of sending a second one), a deletion as DELETE
// If-Match. After anything went up, the changes are read back once more, as the server stored them.
//
// What each side's changes make of an entry and its card is decided by MergeRules alone.
//
// A pull that would delete entries here asks first when they are many (see MergeRules::asksFirst): nothing of that
// address book is written, its token stays, and the report holds the count until the user says. Any pull that
// deletes entries here makes a "before sync" copy of the file first (see Backups).
class SyncRun
{
public:
    // The largest card read: as large as an import file may be.
    static constexpr qint64 kCardBytes = ContactImport::kMaxFileSize;

    struct Options
    {
        bool forceDelete = false; // deletions are made however many they are, in every address book ...
        QStringList deleteHere;   // ... or in these (as the settings keep them)
        QStringList keepHere;     // address books whose entries missing there stay here and go up again
        bool leavePaused = false; // an address book the user paused is not synced (the windows' own syncs)
        qint64 cardBytes = kCardBytes;
        // Told how far the run is: of an address book (the directory's book it holds, else its own name), the cards
        // read of those to read, then the new cards sent of those to send.
        std::function<void(const QString& book, qsizetype done, qsizetype total)> progress;
    };

    SyncRun(Database& db, DavClient& client, const SyncSettings& settings);
    SyncRun(Database& db, DavClient& client, const SyncSettings& settings, Options options);
    SyncReport run();

    // An address book left alone by the windows' own syncs until the user syncs it by hand.
    static void setPaused(Database& db, const QString& book, bool paused);
    static bool paused(Database& db, const QString& book);

    // Whether `href` names the collection itself.
    static bool isSelf(const QUrl& collection, const QString& href);
    // Whether `href` is an item directly inside the collection: not on another host, not in another folder, not
    // through "..". Anything else a server names is reported (once) and never sent to.
    static bool isInside(const QUrl& collection, const QString& href);

private:
    struct Book
    {
        QUrl url;
        QString key;    // url as stored
        QString forced; // "Personal" or "Business" when the address book holds one book; empty for both
    };
    using State = MergeRules::Here;
    struct Local
    {
        State state = State::NoEntry;
        SyncStore::Entry row;
    };

    using Changes = CollectionChanges::Changes;
    // What a pull writes: rows of tblTel, the cards as kept, the cards forgotten.
    struct Merge
    {
        QList<SyncStore::EntryWrite> writes;
        QList<SyncStore::Card> cards;
        QStringList dropped;
    };

    bool pull(const Book& book);
    // Reads what changed in the address book on the server.
    CollectionChanges changesOf(const Book& book);
    // The fetched cards and those gone from the server, each merged with its entry here.
    void mergeFetched(const Book& book, const QMap<QString, QPair<QString, QByteArray>>& fetched,
                      const QHash<QString, SyncStore::Card>& stored, Merge& merge);
    void mergeRemoved(const QStringList& removed, const QHash<QString, SyncStore::Card>& stored, Merge& merge);
    // One report line for each value of a card an entry has no place for (the first kUnplacedShown of a run; the
    // rest counted), as an import reports them. `name`: the entry the card made; empty when it made none.
    void reportUnplaced(const QString& href, const QString& name, const ProblemList& problems);
    // Whether the deletions `merge` makes here may go ahead; a copy of the file is made before the first.
    bool mayDelete(const Book& book, const Merge& merge, const QHash<QString, SyncStore::Card>& stored,
                   const Changes& changes);
    // What MergeRules decided for one card, added to what the pull writes.
    void take(const MergeRules::Merge& rule, const Local& local, SyncStore::Card card, Merge& merge);
    bool ownCard(const Book& book, const QString& href);
    void push(const Book& book);
    // The steps of a push, one card or entry each; false when the run must stop (the server failed).
    bool pushMove(const Book& book, const SyncStore::Card& card, const Local& local);
    bool pushEdit(const Book& book, const SyncStore::Card& card, const Local& local);
    bool pushDeletion(const Book& book, const SyncStore::Card& card);
    bool pushNew(const Book& book, const QList<SyncStore::Entry>& rows);
    // Sends a write of one card; anything sent makes the run read the changes back.
    DavClient::Reply send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                          const DavClient::Headers& headers);
    // Ties the stored cards of every book to the rows of tblTel; rows no card claims are new here.
    void match();
    Local localOf(const SyncStore::Card& card) const;
    bool belongs(const QStringList& values, const Book& book) const;
    // A REPORT or PROPFIND (Depth 1) whose multistatus is read as it comes.
    DavXml::Multistatus ask(const QByteArray& method, const QUrl& url, const QByteArray& body, DavClient::Reply& reply);
    bool fetch(const Book& book, const QStringList& hrefs, QMap<QString, QPair<QString, QByteArray>>& cards,
               QStringList& gone);
    bool failed(const DavClient::Reply& reply, const QString& what);
    // Tells Options::progress, when given, how far the run is.
    void tell(const Book& book, qsizetype done, qsizetype total) const;
    bool store(const Book& book, const QList<SyncStore::EntryWrite>& writes, const QList<SyncStore::Card>& cards,
               const QStringList& dropped = {}, const QString& token = QString());
    QUrl urlOf(const Book& book, const QString& href) const;
    // A new card's path in `book`: a new UID and ".vcf".
    QString newHref(const Book& book) const;

    Database& m_db;
    DavClient& m_client;
    Options m_options;
    bool m_copied = false; // the copy before deletions was made
    QList<Book> m_books;
    SyncReport m_report;
    QHash<QString, Local> m_local; // by book + href
    QList<SyncStore::Entry> m_new; // rows no card claims
    bool m_sentSomething = false;
    static constexpr qsizetype kUnplacedShown = 1000;
    static constexpr qsizetype kNewBatch = 100; // new cards kept in the file in one write before they are sent
    qsizetype m_unplaced = 0;                   // values of cards the entries could not take, this run
    QSet<QString> m_strangers;                  // hrefs outside an address book, reported
};
