// The sync's rules and its defences against a server, on a server played in memory (ScriptedServer): no network,
// no waiting. tst_sync runs the whole path against a real server.
#include "Database.h"
#include "DavClient.h"
#include "MergeRules.h"
#include "ScriptedServer.h"
#include "SyncRun.h"
#include "SyncSettings.h"
#include "TempDatabase.h"

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
    SyncReport sync()
    {
        const auto db = Database::open(file.path());
        DavClient client(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"), &server);
        const QUrl book = server.url(kBook);
        return SyncRun(*db, client, {server.url(QStringLiteral("/")), QStringLiteral("alice"), book, book, QString()})
            .run();
    }
    QStringList families() { return file.rows(QStringLiteral("SELECT Lname FROM tblTel ORDER BY Lname")); }

    TempDatabase file;
    ScriptedServer server;
};

// Twelve values of an entry in "Personal": family name, city and cellular number as given.
QStringList entry(const QString& family, const QString& city = QString(), const QString& pel = QString())
{
    const QString none = QStringLiteral("___ - _______");
    return {QStringLiteral("Personal"), QStringLiteral("Dana"), family, QString(), QString(), city, QString(),
            QStringLiteral("_____"),    none,                   none,   pel.isEmpty() ? none : pel, none};
}

} // namespace

class tst_SyncRules : public QObject
{
    Q_OBJECT
private slots:
    void mergeRules_data();
    void mergeRules();
    void changedBetweenReadAndWrite();
    void unknownVersionIsReadFirst();
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
    QTest::newRow("deleted there") << int(H::Unchanged) << agreed << int(T::Gone) << none << int(M::Row::Delete)
                                   << none << int(M::Card::Forget) << 0;
    QTest::newRow("deleted on both sides") << int(H::Deleted) << none << int(T::Gone) << none << int(M::Row::Keep)
                                           << none << int(M::Card::Forget) << 0;
    QTest::newRow("emptied there") << int(H::Unchanged) << agreed << int(T::Blank) << none << int(M::Row::Delete)
                                   << none << int(M::Card::Server) << 1;
    QTest::newRow("emptied there, edited here") << int(H::Edited) << akko << int(T::Blank) << none
                                                << int(M::Row::Keep) << none << int(M::Card::Kept) << 1;
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
    const MergeRules::Merge merge =
        MergeRules::merge(entry(QStringLiteral("Levin"), QStringLiteral("Haifa")), MergeRules::Here(here), local,
                          MergeRules::There(there), server);
    QCOMPARE(int(merge.row), row);
    QCOMPARE(merge.values, values);
    QCOMPARE(int(merge.card), card);
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
            desk.server.put(href(1), card(QStringLiteral("1"), QStringLiteral("Levin"), "TEL;TYPE=CELL:0501111111\r\n"));
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

QTEST_GUILESS_MAIN(tst_SyncRules)
#include "tst_syncrules.moc"
