// The sync's rules and its defences against a server, on a server played in memory (ScriptedServer): no network,
// no waiting. tst_sync runs the whole path against a real server.
#include "ScriptedServer.h"
#include "TempDatabase.h"
#include "data/Backups.h"
#include "data/Database.h"
#include "sync/DavClient.h"
#include "sync/Discovery.h"
#include "sync/MergeRules.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"
#include "sync/SyncSetup.h"
#include "sync/TaskRules.h"

#include <QtTest>

namespace {

const QString kBook = QStringLiteral("/alice/contacts/");

QByteArray card(const QString& uid, const QString& family, const QString& extra = QString())
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:Dana %2\r\nN:%2;Dana;;;\r\n%3END:VCARD\r\n")
        .arg(uid, family, extra)
        .toUtf8();
}

QString href(int i)
{
    return kBook + QStringLiteral("card-%1.vcf").arg(i);
}

// A desk syncing with one address book of a ScriptedServer for both books.
struct Desk
{
    Desk() { server.addBook(kBook); }
    SyncReport sync(const SyncRun::Options& options = SyncRun::Options())
    {
        const auto db = Database::open(file.path());
        DavClient client(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"), &server);
        client.setLimits(answerBytes, DavClient::kDeadlineMs);
        const QUrl book = server.url(kBook);
        return SyncRun(*db, client, {server.url(QStringLiteral("/")), QStringLiteral("alice"), book, book, QString()},
                       options)
            .run();
    }
    // Fills the address book with `count` cards and syncs them here.
    void seed(int count)
    {
        for (int i = 0; i < count; ++i)
            server.put(href(i), card(QString::number(i), QStringLiteral("Family%1").arg(i, 3, 10, QLatin1Char('0'))));
        QCOMPARE(sync().exitCode(), 0);
        QCOMPARE(file.count(QStringLiteral("tblTel")), count);
    }
    QStringList copies() const
    {
        return QDir(Backups::folderOf(file.path())).entryList({QStringLiteral("*before sync.mdb")}, QDir::Files);
    }
    QStringList families() { return file.rows(QStringLiteral("SELECT Lname FROM tblTel ORDER BY Lname")); }

    TempDatabase file;
    ScriptedServer server;
    qint64 answerBytes = DavClient::kAnswerBytes;
};

// Twelve values of an entry in "Personal": family name, city and cellular number as given.
QStringList entry(const QString& family, const QString& city = QString(), const QString& pel = QString())
{
    const QString none = QStringLiteral("___ - _______");
    return {QStringLiteral("Personal"),
            QStringLiteral("Dana"),
            family,
            QString(),
            QString(),
            city,
            QString(),
            QStringLiteral("_____"),
            none,
            none,
            pel.isEmpty() ? none : pel,
            none};
}

} // namespace

Q_DECLARE_METATYPE(ScriptedServer::Answer)

class tst_SyncRules : public QObject
{
    Q_OBJECT
private slots:
    void mergeRules_data();
    void mergeRules();
    void taskRules_data();
    void taskRules();
    void changedBetweenReadAndWrite();
    void unknownVersionIsReadFirst();
    void massDeletionsAsk_data();
    void massDeletionsAsk();
    void keptEntriesGoUpAgain();
    void pausedBookWaits();
    void answersAreBounded_data();
    void answersAreBounded();
    void oneBadCardOneLine_data();
    void oneBadCardOneLine();
    void onlyTheBooksOwnCards_data();
    void onlyTheBooksOwnCards();
    void serverTextIsText_data();
    void serverTextIsText();
    void changesTravel_data();
    void changesTravel();
    void changesSinceToken_data();
    void changesSinceToken();
    void missingAddressBookIsMade();
    void taskListSetUp_data();
    void taskListSetUp();
    void plainHttpOnlyOnThisMachine_data();
    void plainHttpOnlyOnThisMachine();
};

void tst_SyncRules::mergeRules_data()
{
    using M = MergeRules::Merge;
    using H = MergeRules::Here;
    using T = MergeRules::There;
    QTest::addColumn<int>("here");
    QTest::addColumn<QStringList>("local");
    QTest::addColumn<int>("there");
    QTest::addColumn<QStringList>("server");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("values"); // the entry's new values (Insert, Update)
    QTest::addColumn<int>("card");
    QTest::addColumn<int>("lines");

    // Agreed on: Levin in Haifa, no cellular number.
    const QStringList akko = entry(QStringLiteral("Levin"), QStringLiteral("Akko"));
    const QStringList yafo = entry(QStringLiteral("Levin"), QStringLiteral("Yafo"));
    const QStringList cell = entry(QStringLiteral("Levin"), QStringLiteral("Haifa"), QStringLiteral("050 - 1111111"));
    const QStringList agreed = entry(QStringLiteral("Levin"), QStringLiteral("Haifa"));
    const QStringList none;
    QTest::newRow("changed there") << int(H::Unchanged) << agreed << int(T::Changed) << yafo << int(M::Row::Update)
                                   << yafo << int(M::Card::Server) << 0;
    QTest::newRow("changed here") << int(H::Edited) << akko << int(T::Changed) << agreed << int(M::Row::Keep) << none
                                  << int(M::Card::Server) << 0;
    QTest::newRow("different fields on both sides")
        << int(H::Edited) << akko << int(T::Changed) << cell << int(M::Row::Update)
        << entry(QStringLiteral("Levin"), QStringLiteral("Akko"), QStringLiteral("050 - 1111111"))
        << int(M::Card::Server) << 0;
    QTest::newRow("same field on both sides") << int(H::Edited) << akko << int(T::Changed) << yafo
                                              << int(M::Row::Update) << yafo << int(M::Card::Server) << 1;
    QTest::newRow("deleted here, changed there") << int(H::Deleted) << none << int(T::Changed) << yafo
                                                 << int(M::Row::Insert) << yafo << int(M::Card::Server) << 1;
    QTest::newRow("new there") << int(H::NoEntry) << none << int(T::Changed) << yafo << int(M::Row::Insert) << yafo
                               << int(M::Card::Server) << 0;
    QTest::newRow("edited here, deleted there") << int(H::Edited) << akko << int(T::Gone) << none << int(M::Row::Keep)
                                                << none << int(M::Card::CreateAgain) << 1;
    QTest::newRow("deleted there") << int(H::Unchanged) << agreed << int(T::Gone) << none << int(M::Row::Delete) << none
                                   << int(M::Card::Forget) << 0;
    QTest::newRow("deleted on both sides")
        << int(H::Deleted) << none << int(T::Gone) << none << int(M::Row::Keep) << none << int(M::Card::Forget) << 0;
    QTest::newRow("emptied there") << int(H::Unchanged) << agreed << int(T::Blank) << none << int(M::Row::Delete)
                                   << none << int(M::Card::Server) << 1;
    QTest::newRow("emptied there, edited here")
        << int(H::Edited) << akko << int(T::Blank) << none << int(M::Row::Keep) << none << int(M::Card::Kept) << 1;
}

void tst_SyncRules::mergeRules()
{
    QFETCH(int, here);
    QFETCH(QStringList, local);
    QFETCH(int, there);
    QFETCH(QStringList, server);
    QFETCH(int, row);
    QFETCH(QStringList, values);
    QFETCH(int, card);
    QFETCH(int, lines);
    const MergeRules::Merge merge = MergeRules::merge(entry(QStringLiteral("Levin"), QStringLiteral("Haifa")),
                                                      MergeRules::Here(here), local, MergeRules::There(there), server);
    QCOMPARE(int(merge.row), row);
    QCOMPARE(merge.values, values);
    QCOMPARE(int(merge.card), card);
    QCOMPARE(merge.lines.size(), lines);
}

// A message's parts (date and time, From, To, text, done, call back, urgent) merge one by one.
void tst_SyncRules::taskRules_data()
{
    using M = MergeRules::Merge;
    using H = MergeRules::Here;
    using T = MergeRules::There;
    QTest::addColumn<int>("here");
    QTest::addColumn<QStringList>("local");
    QTest::addColumn<int>("there");
    QTest::addColumn<QStringList>("server");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("lines");

    const auto message = [](const char* text, const char* done, const char* at = "", const char* urgent = "0") {
        return QStringList{"2026-03-01", "10:15:00", "Dana", "Yossi", text, done, at, "", "0", urgent};
    };
    const QStringList agreed = message("Call Dana", "0");
    const QStringList ticked = message("Call Dana", "1", "2026-03-02T09:30:00Z");
    const QStringList none;
    QTest::newRow("ticked on a phone") << int(H::Unchanged) << agreed << int(T::Changed) << ticked
                                       << int(M::Row::Update) << ticked << 0;
    QTest::newRow("ticked there, text edited here")
        << int(H::Edited) << message("Call Dana at home", "0") << int(T::Changed) << ticked << int(M::Row::Update)
        << message("Call Dana at home", "1", "2026-03-02T09:30:00Z") << 0;
    QTest::newRow("text on both sides") << int(H::Edited) << message("Call Dana at home", "0") << int(T::Changed)
                                        << message("Call Dana at work", "0") << int(M::Row::Update)
                                        << message("Call Dana at work", "0") << 1;
    QTest::newRow("done on both sides") << int(H::Edited) << message("Call Dana", "1", "2026-03-02T10:00:00Z")
                                        << int(T::Changed) << ticked << int(M::Row::Update) << ticked << 0;
    QTest::newRow("done here, urgent there")
        << int(H::Edited) << message("Call Dana", "1", "2026-03-02T10:00:00Z") << int(T::Changed)
        << message("Call Dana", "0", "", "1") << int(M::Row::Update)
        << message("Call Dana", "1", "2026-03-02T10:00:00Z", "1") << 0;
    QTest::newRow("reopened there, done again here")
        << int(H::Edited) << message("Call Dana", "1", "2026-03-03T10:00:00Z") << int(T::Changed) << agreed
        << int(M::Row::Keep) << none << 0;
    QTest::newRow("new there") << int(H::NoEntry) << none << int(T::Changed) << ticked << int(M::Row::Insert) << ticked
                               << 0;
    QTest::newRow("deleted there") << int(H::Unchanged) << agreed << int(T::Gone) << none << int(M::Row::Delete) << none
                                   << 0;
    QTest::newRow("edited here, deleted there")
        << int(H::Edited) << ticked << int(T::Gone) << none << int(M::Row::Keep) << none << 1;
}

void tst_SyncRules::taskRules()
{
    QFETCH(int, here);
    QFETCH(QStringList, local);
    QFETCH(int, there);
    QFETCH(QStringList, server);
    QFETCH(int, row);
    QFETCH(QStringList, values);
    QFETCH(int, lines);
    // Last agreed: "Call Dana", open.
    const QStringList agreed{"2026-03-01", "10:15:00", "Dana", "Yossi", "Call Dana", "0", "", "", "0", "0"};
    const MergeRules::Merge merge =
        TaskRules::merge(agreed, MergeRules::Here(here), local, MergeRules::There(there), server);
    QCOMPARE(int(merge.row), row);
    QCOMPARE(merge.values, values);
    QCOMPARE(merge.lines.size(), lines);
}

// A card changed on the server between the sync's read and its write (412) is read again, merged and sent once more
// in the same sync: both edits end on the server.
void tst_SyncRules::changedBetweenReadAndWrite()
{
    Desk desk;
    desk.server.put(href(1), card(QStringLiteral("1"), QStringLiteral("Levin")));
    QCOMPARE(desk.sync().exitCode(), 0);
    QCOMPARE(desk.file.exec(QStringLiteral("UPDATE tblTel SET City = 'Akko'")), SQLITE_OK);
    bool changed = false;
    desk.server.script = [&](const DavTransport::Request& request) -> std::optional<ScriptedServer::Answer> {
        if (request.method == "PUT" && !changed) {
            changed = true;
            desk.server.put(href(1),
                            card(QStringLiteral("1"), QStringLiteral("Levin"), "TEL;TYPE=CELL:0501111111\r\n"));
        }
        return std::nullopt;
    };
    const SyncReport report = desk.sync();
    QCOMPARE(report.exitCode(), 0);
    QCOMPARE(desk.server.sent("PUT").size(), 2);
    const QByteArray stored = desk.server.books[kBook].cards[href(1)].text;
    QVERIFY2(stored.contains("Akko") && stored.contains("0501111111"), stored.constData());
    QCOMPARE(desk.file.rows(QStringLiteral("SELECT City, Pel FROM tblTel")),
             QStringList{QStringLiteral("Akko|050 - 1111111")});
}

// A card whose version the file does not know (the server changed it, or named none) is read before anything is
// sent to it: no write goes out with an If-Match the server never gave.
void tst_SyncRules::unknownVersionIsReadFirst()
{
    Desk desk;
    desk.server.put(href(1), card(QStringLiteral("1"), QStringLiteral("Levin")));
    desk.server.put(href(2), card(QStringLiteral("2"), QStringLiteral("Bar")));
    QCOMPARE(desk.sync().exitCode(), 0);
    QCOMPARE(desk.file.exec(QStringLiteral("UPDATE tovrin_sync_card SET etag = '-'")), SQLITE_OK);
    QCOMPARE(desk.file.exec(QStringLiteral("DELETE FROM tblTel WHERE Lname = 'Levin'")), SQLITE_OK);
    QCOMPARE(desk.file.exec(QStringLiteral("UPDATE tblTel SET City = 'Akko' WHERE Lname = 'Bar'")), SQLITE_OK);
    desk.server.requests.clear();
    QCOMPARE(desk.sync().exitCode(), 0);
    for (const QString& line : desk.server.sent())
        QVERIFY2(!line.contains(QLatin1String("If-Match: -")), qPrintable(line));
    QVERIFY(!desk.server.books[kBook].cards.contains(href(1)));
    QVERIFY(desk.server.books[kBook].cards[href(2)].text.contains("Akko"));
    QCOMPARE(desk.families(), QStringList{QStringLiteral("Bar")});
}

void tst_SyncRules::massDeletionsAsk_data()
{
    QTest::addColumn<int>("synced");  // entries here synced with the address book
    QTest::addColumn<int>("removed"); // cards the server no longer lists (all: the address book made again)
    QTest::addColumn<bool>("force");
    QTest::addColumn<int>("held"); // deletions held back (0: made)

    QTest::newRow("address book made again empty") << 30 << 30 << false << 30;
    QTest::newRow("emptied, one entry") << 1 << 1 << false << 1;
    QTest::newRow("11 of 30") << 30 << 11 << false << 11;
    QTest::newRow("10 of 30") << 30 << 10 << false << 0;
    QTest::newRow("11 of 50") << 50 << 11 << false << 0;
    QTest::newRow("emptied, forced") << 30 << 30 << true << 0;
}

// A sync that would delete many entries here, or every one of an address book, writes nothing of it and names the
// count; taken, the deletions come after a copy of the file.
void tst_SyncRules::massDeletionsAsk()
{
    QFETCH(int, synced);
    QFETCH(int, removed);
    QFETCH(bool, force);
    QFETCH(int, held);
    Desk desk;
    desk.seed(synced);
    if (removed == synced) {
        desk.server.empty(kBook);
    } else {
        for (int i = 0; i < removed; ++i)
            desk.server.remove(href(i));
    }
    const QStringList tokenBefore = desk.file.rows(QStringLiteral("SELECT token FROM tovrin_sync_book"));
    SyncRun::Options options;
    options.forceDelete = force;
    const SyncReport report = desk.sync(options);
    if (held > 0) {
        QCOMPARE(report.exitCode(), 2);
        QCOMPARE(report.held.size(), 1);
        QCOMPARE(report.held[0].count, held);
        QVERIFY2(report.summary().contains(QStringLiteral("%1 entr").arg(held)), qPrintable(report.summary()));
        QCOMPARE(desk.file.count(QStringLiteral("tblTel")), synced);
        QCOMPARE(desk.file.rows(QStringLiteral("SELECT token FROM tovrin_sync_book")), tokenBefore);
        QCOMPARE(desk.copies(), QStringList());
        // Asked again at the next sync, not forgotten.
        QCOMPARE(desk.sync().held.value(0).count, held);
        QCOMPARE(desk.file.count(QStringLiteral("tblTel")), synced);
    } else {
        QCOMPARE(report.exitCode(), 0);
        QCOMPARE(report.removedHere, removed);
        QCOMPARE(desk.file.count(QStringLiteral("tblTel")), synced - removed);
        QCOMPARE(desk.copies().size(), 1);
        qint64 entries = 0;
        QCOMPARE(
            Backups::problemOf(Backups::folderOf(desk.file.path()) + QLatin1Char('/') + desk.copies()[0], &entries),
            QString());
        QCOMPARE(entries, qint64(synced));
    }
}

// Kept here on the user's word, the entries an emptied address book no longer lists go up again as new cards.
void tst_SyncRules::keptEntriesGoUpAgain()
{
    Desk desk;
    desk.seed(12);
    desk.server.empty(kBook);
    QCOMPARE(desk.sync().held.value(0).count, 12);
    SyncRun::Options options;
    options.keepHere << desk.server.url(kBook).toString();
    const SyncReport report = desk.sync(options);
    QCOMPARE(report.exitCode(), 0);
    QCOMPARE(report.sent, 12);
    QCOMPARE(desk.server.books[kBook].cards.size(), 12);
    QCOMPARE(desk.file.count(QStringLiteral("tblTel")), 12);
    QCOMPARE(desk.sync().exitCode(), 0);
    QCOMPARE(desk.file.count(QStringLiteral("tblTel")), 12);
}

// Kept here and paused by the user: the program's own syncs leave the address book alone, a sync by hand asks again.
void tst_SyncRules::pausedBookWaits()
{
    Desk desk;
    desk.seed(12);
    desk.server.empty(kBook);
    QCOMPARE(desk.sync().held.size(), 1);
    {
        const auto db = Database::open(desk.file.path());
        SyncRun::setPaused(*db, desk.server.url(kBook).toString(), true);
    }
    desk.server.requests.clear();
    SyncRun::Options quiet;
    quiet.leavePaused = true;
    const SyncReport report = desk.sync(quiet);
    QCOMPARE(report.exitCode(), 1);
    QCOMPARE(desk.server.requests.size(), 0);
    QCOMPARE(desk.sync().held.value(0).count, 12);
    QCOMPARE(desk.file.count(QStringLiteral("tblTel")), 12);
}

void tst_SyncRules::answersAreBounded_data()
{
    using Answer = ScriptedServer::Answer;
    QTest::addColumn<Answer>("answer"); // to the request that reads the changes
    QTest::addColumn<QString>("said");

    const QByteArray listing = "<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>" + href(7).toUtf8() +
                               "</d:href><d:propstat><d:prop><d:getetag>\"9\"</d:getetag></d:prop><d:status>HTTP/1.1 "
                               "200 OK</d:status></d:propstat></d:response></d:multistatus>";
    QTest::newRow("endless body") << Answer{207, {},    "<d:multistatus xmlns:d=\"DAV:\">" + QByteArray(65536, ' '),
                                            0,   65536, 0,
                                            true}
                                  << QStringLiteral("larger than 1 MB");
    QTest::newRow("one byte every 20 seconds")
        << Answer{207, {}, listing, 0, 1, 20000, false} << QStringLiteral("took more than 300 seconds");
    QTest::newRow("no answer") << Answer{207, {}, listing, -1, 0, 0, false}
                               << QStringLiteral("did not answer within 30 seconds");
    QTest::newRow("silent midway") << Answer{207, {}, listing, 0, 50, 31000, false}
                                   << QStringLiteral("did not answer within 30 seconds");
}

// An answer too large, too slow or missing is given up: the sync says which and why, and the file stays as the
// last whole step left it.
void tst_SyncRules::answersAreBounded()
{
    QFETCH(ScriptedServer::Answer, answer);
    QFETCH(QString, said);
    Desk desk;
    desk.seed(3);
    QCOMPARE(desk.file.exec(QStringLiteral("UPDATE tblTel SET City = 'Akko'")), SQLITE_OK);
    const QStringList before = desk.file.rows(QStringLiteral("SELECT * FROM tovrin_sync_card"));
    desk.answerBytes = 1024 * 1024;
    desk.server.script = [&answer](const DavTransport::Request& request) -> std::optional<ScriptedServer::Answer> {
        if (request.method == "REPORT")
            return answer;
        return std::nullopt;
    };
    const SyncReport report = desk.sync();
    QCOMPARE(report.exitCode(), 2);
    QVERIFY2(report.error.contains(said), qPrintable(report.error));
    QCOMPARE(desk.file.rows(QStringLiteral("SELECT * FROM tovrin_sync_card")), before);
    QCOMPARE(desk.server.sent("PUT"), QStringList());
}

void tst_SyncRules::oneBadCardOneLine_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::addColumn<QString>("said");

    QTest::newRow("control character") << card(QStringLiteral("x"), QStringLiteral("Ab\x01"
                                                                                   "cd"))
                                       << QStringLiteral("characters XML does not allow");
    QTest::newRow("escape sequence") << card(QStringLiteral("x"), QStringLiteral("\x1b]0;owned\x07"))
                                     << QStringLiteral("characters XML does not allow");
    QTest::newRow("larger than a card may be")
        << card(QStringLiteral("x"), QStringLiteral("Levin"), QStringLiteral("NOTE:%1\r\n").arg(QString(70000, 'n')))
        << QStringLiteral("larger than");
    QTest::newRow("no vCard") << QByteArray("hello, world") << QStringLiteral("no vCard");
}

// A card that cannot be read is one line of the report, naming it; the cards around it sync.
void tst_SyncRules::oneBadCardOneLine()
{
    QFETCH(QByteArray, bad);
    QFETCH(QString, said);
    Desk desk;
    desk.server.put(href(1), card(QStringLiteral("1"), QStringLiteral("Amar")));
    desk.server.put(href(2), bad);
    desk.server.put(href(3), card(QStringLiteral("3"), QStringLiteral("Cohen")));
    SyncRun::Options options;
    options.cardBytes = 64 * 1024;
    for (int run = 0; run < 2; ++run) {
        const SyncReport report = desk.sync(options);
        QCOMPARE(report.exitCode(), run == 0 ? 1 : 0);
        if (run == 0) {
            QVERIFY2(report.lines.size() == 1, qPrintable(report.lines.join(QLatin1Char(10))));
            QVERIFY2(report.lines[0].contains(href(2)) && report.lines[0].contains(said), qPrintable(report.lines[0]));
        }
        QCOMPARE(desk.families(), (QStringList{QStringLiteral("Amar"), QStringLiteral("Cohen")}));
    }
    // Mended on the server, it comes.
    desk.server.put(href(2), card(QStringLiteral("2"), QStringLiteral("Bar")));
    QCOMPARE(desk.sync(options).exitCode(), 0);
    QCOMPARE(desk.families(), (QStringList{QStringLiteral("Amar"), QStringLiteral("Bar"), QStringLiteral("Cohen")}));
}

void tst_SyncRules::onlyTheBooksOwnCards_data()
{
    QTest::addColumn<QString>("named"); // an href as the server's listing gives it
    QTest::addColumn<QString>("seen");  // as the report names it

    QTest::newRow("up and over") << QStringLiteral("../other/evil.vcf") << QStringLiteral("/alice/other/evil.vcf");
    QTest::newRow("another folder") << QStringLiteral("/etc/x.vcf") << QStringLiteral("/etc/x.vcf");
    QTest::newRow("deeper") << QStringLiteral("sub/x.vcf") << QStringLiteral("/alice/contacts/sub/x.vcf");
    QTest::newRow("dots encoded") << QStringLiteral("%2e%2e") << QStringLiteral("/alice/contacts/%2e%2e");
    QTest::newRow("another host") << QStringLiteral("http://elsewhere.invalid/alice/contacts/x.vcf")
                                  << QStringLiteral("http://elsewhere.invalid/alice/contacts/x.vcf");
    QTest::newRow("another port") << QStringLiteral("http://127.0.0.1:1/alice/contacts/x.vcf")
                                  << QStringLiteral("http://127.0.0.1:1/alice/contacts/x.vcf");
}

// Only a card directly inside the address book is the address book's: anything else the server names is reported
// and never asked for nor written to, with the password or without; nor is a card kept under such a name.
void tst_SyncRules::onlyTheBooksOwnCards()
{
    QFETCH(QString, named);
    QFETCH(QString, seen);
    Desk desk;
    desk.seed(2);
    // A card an older run kept under a name from outside, its entry edited since.
    QCOMPARE(
        desk.file.exec(QStringLiteral("UPDATE tovrin_sync_card SET href = '%1' WHERE href = '%2'")
                           .arg(seen.startsWith(QLatin1Char('/')) ? seen : QStringLiteral("/etc/kept.vcf"), href(1))),
        SQLITE_OK);
    QCOMPARE(desk.file.exec(QStringLiteral("UPDATE tblTel SET City = 'Akko'")), SQLITE_OK);
    desk.server.put(href(5), card(QStringLiteral("5"), QStringLiteral("Cohen")));
    desk.server.script = [&](const DavTransport::Request& request) -> std::optional<ScriptedServer::Answer> {
        if (request.method != "PROPFIND" && !request.body.contains("sync-collection"))
            return std::nullopt;
        QByteArray listing = "<d:multistatus xmlns:d=\"DAV:\">";
        for (const QString& one : {named, href(0), href(5)})
            listing += "<d:response><d:href>" + one.toUtf8() + "</d:href><d:propstat><d:prop><d:getetag>\"e" +
                       one.toUtf8().toHex() +
                       "\"</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
                       "</d:propstat></d:response>";
        return ScriptedServer::Answer{207, {}, listing + "<d:sync-token>1-99</d:sync-token></d:multistatus>"};
    };
    desk.server.requests.clear();
    const SyncReport report = desk.sync();
    QCOMPARE(report.exitCode(), 1);
    QVERIFY2(report.summary().contains(seen.startsWith(QLatin1Char('/')) ? seen : named), qPrintable(report.summary()));
    for (const DavTransport::Request& request : std::as_const(desk.server.requests)) {
        const QString path = request.url.path();
        QVERIFY2(request.url.host() == QLatin1String("127.0.0.1") && request.url.port() == 5232 &&
                     (path == kBook || path == href(0) || path == href(5)),
                 qPrintable(request.method + ' ' + request.url.toString()));
        QVERIFY2(!request.body.contains("evil") && !request.body.contains("/etc/") && !request.body.contains("sub/"),
                 request.body.constData());
    }
    QVERIFY(desk.families().contains(QStringLiteral("Cohen")));
}

void tst_SyncRules::serverTextIsText_data()
{
    QTest::addColumn<QString>("where"); // what of the server's carries the text
    // Escape sequences that retitle and clear a terminal, a C1 control (CSI) and a direction override.
    const QString nasty =
        QStringLiteral("\x1b]0;owned\x07\x1b[2J") + QChar(0x9B) + QStringLiteral("31m") + QChar(0x202E);
    QTest::addColumn<QString>("text");
    QTest::newRow("error page") << QStringLiteral("error") << nasty;
    QTest::newRow("card") << QStringLiteral("card") << QString(QChar(0x9B)) + QStringLiteral("2J") + QChar(0x202E);
    QTest::newRow("href") << QStringLiteral("href") << QString(QChar(0x9B)) + QStringLiteral("2J");
    QTest::newRow("ETag") << QStringLiteral("etag") << QString(QChar(0x9B)) + QStringLiteral("2J");
    QTest::newRow("sync token") << QStringLiteral("token") << QString(QChar(0x9B)) + QStringLiteral("2J");
}

// Control and escape characters a server sends are replaced before anything is printed, shown or kept.
void tst_SyncRules::serverTextIsText()
{
    QFETCH(QString, where);
    QFETCH(QString, text);
    Desk desk;
    desk.server.put(href(1),
                    card(QStringLiteral("1"), where == QLatin1String("card") ? text : QStringLiteral("Levin")));
    const QByteArray bytes = text.toUtf8();
    desk.server.script = [&](const DavTransport::Request& request) -> std::optional<ScriptedServer::Answer> {
        if (where == QLatin1String("error"))
            return ScriptedServer::Answer{500, {}, "Oops " + bytes};
        if (!request.body.contains("sync-collection") || where == QLatin1String("card"))
            return std::nullopt;
        const QByteArray one = where == QLatin1String("href") ? kBook.toUtf8() + bytes + ".vcf" : href(1).toUtf8();
        const QByteArray etag = where == QLatin1String("etag") ? bytes : QByteArray("\"e\"");
        const QByteArray token = where == QLatin1String("token") ? bytes : QByteArray("1-1");
        return ScriptedServer::Answer{207,
                                      {},
                                      "<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>" + one +
                                          "</d:href><d:propstat><d:prop><d:getetag>" + etag +
                                          "</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
                                          "</d:propstat></d:response><d:sync-token>" +
                                          token + "</d:sync-token></d:multistatus>"};
    };
    const SyncReport report = desk.sync();
    QStringList kept = desk.file.rows(QStringLiteral("SELECT * FROM tblTel"));
    kept << desk.file.rows(QStringLiteral("SELECT href, etag FROM tovrin_sync_card"))
         << desk.file.rows(QStringLiteral("SELECT token FROM tovrin_sync_book"))
         << report.summary().split(QLatin1Char('\n'));
    for (const QString& one : std::as_const(kept)) {
        for (const QChar c : one) {
            QVERIFY2(c.category() != QChar::Other_Control && c != QChar(0x202E),
                     qPrintable(QStringLiteral("U+%1 in: ").arg(c.unicode(), 4, 16, QLatin1Char('0')) +
                                QString(one).replace(c, QLatin1Char('?'))));
        }
    }
    if (where == QLatin1String("error"))
        QVERIFY2(report.error.contains(QStringLiteral("Oops ") + QChar(QChar::ReplacementCharacter)),
                 qPrintable(report.error));
}

void tst_SyncRules::changesTravel_data()
{
    QTest::addColumn<QString>("change");   // between the first two syncs: "gone" deletes the card on the server
    QTest::addColumn<QStringList>("here"); // Tel1 and Tel2 of the card's entry here then (none: deleted)
    QTest::addColumn<QByteArray>("there"); // a line of the server's card then; empty: the card is gone

    const QStringList both{QStringLiteral("031 - 2345678|048 - 7654321")};
    QTest::newRow("two numbers from the server") << QString() << both << QByteArray("TEL;TYPE=HOME:0487654321");
    QTest::newRow("Tel2 edited here") << QStringLiteral("UPDATE tblTel SET Tel2 = '048 - 1111111'")
                                      << QStringList{QStringLiteral("031 - 2345678|048 - 1111111")}
                                      << QByteArray("TEL;TYPE=HOME:0481111111");
    QTest::newRow("card deleted on the server") << QStringLiteral("gone") << QStringList() << QByteArray();
}

// A card's numbers arrive in their columns, an edit here reaches the server, a deletion there reaches the entry
// here; and the token of the last change is kept, so the next sync asks only for what changed since.
void tst_SyncRules::changesTravel()
{
    QFETCH(QString, change);
    QFETCH(QStringList, here);
    QFETCH(QByteArray, there);
    Desk desk;
    desk.server.put(href(1), card(QStringLiteral("1"), QStringLiteral("Levin"),
                                  QStringLiteral("TEL;TYPE=HOME:0312345678\r\nTEL;TYPE=HOME:0487654321\r\n")));
    desk.server.put(href(2), card(QStringLiteral("2"), QStringLiteral("Bar")));
    QCOMPARE(desk.sync().exitCode(), 0);
    if (change == QLatin1String("gone"))
        desk.server.remove(href(1));
    else if (!change.isEmpty())
        QCOMPARE(desk.file.exec(change), SQLITE_OK);
    QCOMPARE(desk.sync().exitCode(), 0);
    const ScriptedServer::Book& book = desk.server.books[kBook];
    const QByteArray token = (book.generation + QLatin1Char('-') + QString::number(book.log.size())).toUtf8();
    desk.server.requests.clear();
    QCOMPARE(desk.sync().exitCode(), 0);
    QVERIFY(!desk.server.requests.isEmpty());
    QVERIFY2(desk.server.requests.first().body.contains("sync-token>" + token + "<"),
             desk.server.requests.first().body.constData());
    QCOMPARE(desk.server.sent("PUT"), QStringList());
    QCOMPARE(desk.file.rows(QStringLiteral("SELECT Tel1 || '|' || Tel2 FROM tblTel WHERE Lname = 'Levin'")), here);
    QCOMPARE(book.cards.size(), there.isEmpty() ? 1 : 2);
    if (!there.isEmpty())
        QVERIFY2(book.cards[href(1)].text.contains(there + "\r\n"), book.cards[href(1)].text.constData());
}

void tst_SyncRules::changesSinceToken_data()
{
    using Answer = ScriptedServer::Answer;
    QTest::addColumn<Answer>("answer"); // to the first sync-collection from the stored token
    QTest::addColumn<QString>("said");  // in the error; empty: the sync succeeds and both new cards arrive

    // The first new card and a token for it; 507 on the address book itself: more changes to ask for.
    const QByteArray part = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>" +
                            href(2).toUtf8() +
                            "</d:href><d:propstat><d:prop><d:getetag>\"e2\"</d:getetag></d:prop><d:status>HTTP/1.1 "
                            "200 OK</d:status></d:propstat></d:response><d:response><d:href>" +
                            kBook.toUtf8() +
                            "</d:href><d:status>HTTP/1.1 507 Insufficient Storage</d:status></d:response>"
                            "<d:sync-token>1-3</d:sync-token></d:multistatus>";
    QTest::newRow("507: the rest asked for") << Answer{207, {{"Content-Type", "application/xml"}}, part} << QString();
    QTest::newRow("500 to a stale token: listed") << Answer{500, {}, "Oops"} << QString();
    QTest::newRow("403 to the token: listed") << Answer{403, {}, {}} << QString();
    QTest::newRow("503: a failure") << Answer{503, {}, {}} << QStringLiteral("Reading the changes of");
}

// What changed since the stored token arrives whole, however the server answers for that token.
void tst_SyncRules::changesSinceToken()
{
    QFETCH(ScriptedServer::Answer, answer);
    QFETCH(QString, said);
    Desk desk;
    desk.seed(2);
    for (int i = 2; i < 4; ++i)
        desk.server.put(href(i), card(QString::number(i), QStringLiteral("Family%1").arg(i, 3, 10, QLatin1Char('0'))));
    bool answered = false;
    desk.server.script = [&](const DavTransport::Request& request) -> std::optional<ScriptedServer::Answer> {
        if (answered || !request.body.contains("sync-collection"))
            return std::nullopt;
        answered = true;
        return answer;
    };
    const SyncReport report = desk.sync();
    QVERIFY(answered);
    if (!said.isEmpty()) {
        QCOMPARE(report.exitCode(), 2);
        QVERIFY2(report.error.contains(said), qPrintable(report.error));
        QCOMPARE(desk.families().size(), 2);
        return;
    }
    QCOMPARE(report.exitCode(), 0);
    QCOMPARE(desk.families(), (QStringList{QStringLiteral("Family000"), QStringLiteral("Family001"),
                                           QStringLiteral("Family002"), QStringLiteral("Family003")}));
}

// An address book the server lacks is made there (201 Created).
void tst_SyncRules::missingAddressBookIsMade()
{
    ScriptedServer server;
    DavClient client(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"), &server);
    QString error;
    const QUrl made = Discovery::create(client, server.url(QStringLiteral("/alice/")), QStringLiteral("Family"), error);
    QCOMPARE(error, QString());
    QCOMPARE(made, server.url(QStringLiteral("/alice/family/")));
    QVERIFY(server.books.contains(QStringLiteral("/alice/family/")));
}

void tst_SyncRules::taskListSetUp_data()
{
    QTest::addColumn<QStringList>("calendars"); // "path components..."
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("lists"); // what discovery finds
    QTest::addColumn<QString>("taken");     // the task list's path after the set-up
    QTest::addColumn<int>("made");          // MKCALENDAR requests

    QTest::newRow("the one named; events alone left out")
        << QStringList{"/alice/tasks-1/ VTODO", "/alice/events/ VEVENT"} << "tasks-1" << QStringList{"tasks-1"}
        << "/alice/tasks-1/" << 0;
    QTest::newRow("a calendar of all components")
        << QStringList{"/alice/messages/"} << QString() << QStringList{"messages"} << "/alice/messages/" << 0;
    QTest::newRow("events only: Messages is made")
        << QStringList{"/alice/calendar/ VEVENT"} << QString() << QStringList() << "/alice/messages/" << 1;
    QTest::newRow("none: Messages is made") << QStringList() << QString() << QStringList() << "/alice/messages/" << 1;
    QTest::newRow("a name the server lacks")
        << QStringList{"/alice/messages/ VTODO VEVENT"} << "Office" << QStringList{"messages"} << "/alice/office/" << 1;
}

// Task lists are the calendars that take tasks; the one named is taken, else made with MKCALENDAR.
void tst_SyncRules::taskListSetUp()
{
    QFETCH(QStringList, calendars);
    QFETCH(QString, name);
    QFETCH(QStringList, lists);
    QFETCH(QString, taken);
    QFETCH(int, made);
    ScriptedServer server;
    server.addBook(QStringLiteral("/alice/personal/"));
    for (const QString& calendar : calendars) {
        const QStringList parts = calendar.split(QLatin1Char(' '));
        server.addCalendar(parts.first(), parts.mid(1));
    }
    DavClient client(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"), &server);
    const Discovery::Result found = Discovery::findTaskLists(client, server.url(QStringLiteral("/")));
    QCOMPARE(found.error, QString());
    QStringList names;
    for (const Discovery::AddressBook& list : found.books)
        names << list.name;
    QCOMPARE(names, lists);
    const SyncSetup::Pick pick = SyncSetup::chooseTaskList(found.books, name);
    QString error;
    const QUrl url = pick.found >= 0 ? found.books.at(pick.found).url
                                     : Discovery::createTaskList(client, found.home, pick.create, error);
    QCOMPARE(error, QString());
    QCOMPARE(url.path(), taken);
    QCOMPARE(server.sent("MKCALENDAR").size(), made);
    QVERIFY(server.calendars.value(taken).isEmpty() || server.calendars.value(taken).contains(QLatin1String("VTODO")));
}

void tst_SyncRules::plainHttpOnlyOnThisMachine_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("refused");
    const struct
    {
        const char* address;
        bool refused;
    } rows[] = {
        {"https://dav.example.org/", false},     {"http://localhost:5232/", false},
        {"http://127.0.0.1:5232/", false},       {"http://127.8.9.10/", false},
        {"http://[::1]:5232/", false},           {"http://[::ffff:127.0.0.1]/", false},
        {"http://dav.example.org/", true},       {"http://192.0.2.20:5232/", true},
        {"http://[2001:db8::2]/", true},         {"http://[::ffff:192.0.2.1]/", true},
        {"http://127.0.0.1.example.org/", true}, {"ftp://127.0.0.1/", true},
    };
    for (const auto& row : rows)
        QTest::newRow(row.address) << QString::fromLatin1(row.address) << row.refused;
}

// The password goes in the clear only to this machine's own loopback interface. (Only read here, never reached: the
// other addresses are of the ranges kept for documentation.)
void tst_SyncRules::plainHttpOnlyOnThisMachine()
{
    QFETCH(QString, address);
    QFETCH(bool, refused);
    QCOMPARE(!DavClient::refusal(QUrl(address)).isEmpty(), refused);
}

QTEST_GUILESS_MAIN(tst_SyncRules)
#include "tst_syncrules.moc"
