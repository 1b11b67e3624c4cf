#include "ScriptedServer.h"
#include "TempDatabase.h"
#include "data/Database.h"
#include "exchange/ProblemList.h"
#include "exchange/VCardWriter.h"
#include "sync/DavClient.h"
#include "sync/ServerCard.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"

#include <QtTest>

// A server's card as the directory reads and edits it, without a server: what one desk sends must come back to
// another as the very values stored, and an edit must leave what the card had of its own.
namespace {

const QString kNone = QStringLiteral("___ - _______");

// Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax
Contact entry(const QString& values)
{
    return Contact::fromValues(values.split(QLatin1Char('|')));
}

QString shown(const std::optional<Contact>& contact)
{
    return contact ? contact->values().join(QLatin1Char('|')) : QStringLiteral("(no entry)");
}

QByteArray card(const QByteArray& lines)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u1\r\n" + lines + "END:VCARD\r\n";
}

} // namespace

class tst_ServerCard : public QObject
{
    Q_OBJECT
private slots:
    void storedFormsComeBack_data();
    void storedFormsComeBack();
    void editedNumbersKeepTheirForm();
    void namesStayWhole_data();
    void namesStayWhole();
    void entriesHaveAName_data();
    void entriesHaveAName();
    void unplacedValuesAreReported_data();
    void unplacedValuesAreReported();
    void sameLineAsExport_data();
    void sameLineAsExport();
};

void tst_ServerCard::storedFormsComeBack_data()
{
    QTest::addColumn<QString>("stored"); // the twelve values as the entry window stored them
    QTest::addColumn<QString>("book");   // what the address book holds: empty for both books

    const QString personal = QStringLiteral("Personal|Dana|Levin| |12 Herzl St|Haifa||%1|%2|%3|%4|%5");
    QTest::newRow("partly typed number and zip")
        << personal.arg(QStringLiteral("6100_"), QStringLiteral("048 - 12_____"), kNone, kNone, kNone) << QString();
    QTest::newRow("a gap in the middle") << personal.arg(QStringLiteral("3_000"), QStringLiteral("0_8 - 1234567"),
                                                         kNone, kNone, kNone)
                                         << QString();
    // Read from its digits alone, the short one would give way to the whole one and Tel2 would move to Tel1.
    QTest::newRow("short Tel1 beside Tel2") << personal.arg(QStringLiteral("33000"), QStringLiteral("03_ - _______"),
                                                            QStringLiteral("050 - 1234567"), kNone, kNone)
                                            << QString();
    QTest::newRow("every number partly typed")
        << personal.arg(QStringLiteral("_____"), QStringLiteral("02_ - _______"), QStringLiteral("035 - 551234_"),
                        QStringLiteral("05_ - 1______"), QStringLiteral("__9 - 9999999"))
        << QStringLiteral("Personal");
    QTest::newRow("business entry without a company")
        << QStringLiteral("Business|Avi|Amar|||||_____|054 - 1______|%1|%1|%1").arg(kNone)
        << QStringLiteral("Business");
}

// Stored form -> card -> read back at another desk.
void tst_ServerCard::storedFormsComeBack()
{
    QFETCH(QString, stored);
    QFETCH(QString, book);
    ProblemList problems;
    QCOMPARE(shown(ServerCard(ServerCard::created(entry(stored), QStringLiteral("u1"))).entry(book, &problems)),
             stored);
    QCOMPARE(problems.size(), 0);
}

// A number changed here goes with the form beside it; one a phone changed there is read from the phone's digits.
void tst_ServerCard::editedNumbersKeepTheirForm()
{
    const QString before = QStringLiteral("Personal|Dana|Levin| ||||_____|050 - 1234567|%1|%1|%1").arg(kNone);
    const QString partly = QStringLiteral("Personal|Dana|Levin| ||||610__|048 - 12_____|%1|%1|%1").arg(kNone);
    const QByteArray phone = card("FN:Dana Levin\r\nN:Levin;Dana;;;\r\nTEL;TYPE=HOME:050-1234567\r\n"
                                  "ADR;TYPE=HOME:;;;;;;Israel\r\nX-PHONE-ONLY:kept\r\n");
    QCOMPARE(shown(ServerCard(phone).entry(QString())), before);

    const QByteArray edited = ServerCard(phone).patched(entry(partly), QString());
    QCOMPARE(shown(ServerCard(edited).entry(QString())), partly);
    QVERIFY2(edited.contains("TEL;TYPE=HOME:04812\r\n") && edited.contains("X-PHONE-ONLY:kept\r\n"), edited);

    // Typed whole again: no form is left beside the number.
    const QByteArray whole = ServerCard(edited).patched(entry(before), QString());
    QCOMPARE(shown(ServerCard(whole).entry(QString())), before);
    QVERIFY2(!whole.contains("X-TOVRIN"), whole);

    // The phone typed the rest of the number: its digits no longer agree with the form, the phone's number counts.
    const QByteArray completed = QByteArray(edited).replace("TEL;TYPE=HOME:04812", "TEL;TYPE=HOME:0481299999");
    QCOMPARE(shown(ServerCard(completed).entry(QString())),
             QStringLiteral("Personal|Dana|Levin| ||||610__|048 - 1299999|%1|%1|%1").arg(kNone));
}

void tst_ServerCard::namesStayWhole_data()
{
    QTest::addColumn<QByteArray>("names"); // the card's N and FN
    QTest::addColumn<QString>("fname");    // the names edited here
    QTest::addColumn<QString>("lname");
    QTest::addColumn<QByteArray>("after"); // what N and FN become

    QTest::newRow("family name, with prefix and middle name")
        << QByteArray("N:Ben-David;Yael;Miriam;Dr.;\r\nFN:Dr. Yael Miriam Ben-David\r\n") << QStringLiteral("Yael")
        << QStringLiteral("Ben-David-Levi")
        << QByteArray("N:Ben-David-Levi;Yael;Miriam;Dr.;\r\nFN:Dr. Yael Miriam Ben-David-Levi\r\n");
    QTest::newRow("given name, with suffix")
        << QByteArray("N:Cohen;Moshe;Aharon;;Jr.\r\nFN:Moshe Aharon Cohen Jr.\r\n") << QStringLiteral("Moses")
        << QStringLiteral("Cohen") << QByteArray("N:Cohen;Moses;Aharon;;Jr.\r\nFN:Moses Aharon Cohen Jr.\r\n");
    QTest::newRow("family name first") << QByteArray("N:Levin;Dana;;;\r\nFN:Levin\\, Dana\r\n")
                                       << QStringLiteral("Dana") << QStringLiteral("Katz")
                                       << QByteArray("N:Katz;Dana;;;\r\nFN:Katz\\, Dana\r\n");
    QTest::newRow("a carriage return in a name is no line end")
        << QByteArray("N:Levin;Dana;;;\r\nFN:Dana Levin\r\n") << QStringLiteral("Dana") << QStringLiteral("Katz\rCohen")
        << QByteArray("N:Katz\\nCohen;Dana;;;\r\nFN:Dana Katz Cohen\r\n");
}

void tst_ServerCard::namesStayWhole()
{
    QFETCH(QByteArray, names);
    QFETCH(QString, fname);
    QFETCH(QString, lname);
    QFETCH(QByteArray, after);
    const ServerCard server(card("TEL;TYPE=CELL:0501234567\r\n" + names));
    Contact wanted = server.entry(QString()).value();
    wanted.fname = fname;
    wanted.lname = lname;
    QCOMPARE(server.patched(wanted, QString()), card("TEL;TYPE=CELL:0501234567\r\n" + after));
}

void tst_ServerCard::entriesHaveAName_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("book"); // the book the address book holds
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("busName");

    const QByteArray company = "FN:Acme Tools\r\nORG:Acme Tools\r\nTEL:0355512345\r\n";
    QTest::newRow("company in the personal address book")
        << company << QStringLiteral("Personal") << QStringLiteral("|Acme Tools") << QStringLiteral(" ");
    QTest::newRow("written-out name in the business address book")
        << QByteArray("FN:Avi Amar\r\n") << QStringLiteral("Business") << QStringLiteral("Avi|Amar") << QString();
    QTest::newRow("nothing to show") << QByteArray("FN:\r\nEMAIL:a@example.org\r\n") << QStringLiteral("Personal")
                                     << QString() << QString();
}

void tst_ServerCard::entriesHaveAName()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, book);
    QFETCH(QString, named);
    QFETCH(QString, busName);
    const std::optional<Contact> read = ServerCard(card(lines)).entry(book);
    QCOMPARE(read.has_value(), !named.isEmpty());
    if (!read)
        return;
    QCOMPARE(read->category, book);
    QCOMPARE(read->fname + QLatin1Char('|') + read->lname, named);
    QCOMPARE(read->busName, busName);
}

void tst_ServerCard::unplacedValuesAreReported_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QStringList>("entries"); // Lname and Tel1 of what the directory holds afterwards
    QTest::addColumn<QStringList>("said");

    const QString card = QStringLiteral("/alice/contacts/1.vcf");
    QTest::newRow("values a phone wrote")
        << QByteArray("FN:Dana Levin\r\nN:Levin;Dana;;;\r\nTEL:+1 202 555 0100\r\n"
                      "ADR;TYPE=HOME:;;1 Main St;Haifa;;3498838;\r\n")
        << QStringList{QStringLiteral("Levin|") + kNone}
        << QStringList{QStringLiteral("\"Dana Levin\" (card %1): Zip \"3498838\" left out: not five digits.").arg(card),
                       QStringLiteral("\"Dana Levin\" (card %1): Tel1 \"+1 202 555 0100\" left out: a number of "
                                      "another country.")
                           .arg(card)};
    QTest::newRow("nothing to show")
        << QByteArray("FN:\r\nEMAIL:dana@example.org\r\nADR:;;1 Main St;;;;\r\n") << QStringList()
        << QStringList{QStringLiteral("The card %1 \"1 Main St\": left out: it holds no name and no telephone number.")
                           .arg(card)};
}

// A card's values the entry cannot take are each reported, as an import reports them, and the sync says so.
void tst_ServerCard::unplacedValuesAreReported()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, said);
    ScriptedServer server;
    const QString book = QStringLiteral("/alice/contacts/");
    server.addBook(book);
    server.put(book + QStringLiteral("1.vcf"), card(lines));
    TempDatabase desk;
    const auto db = Database::open(desk.path());
    DavClient client(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"), &server);
    const SyncReport report = SyncRun(*db, client,
                                      {server.url(QStringLiteral("/")), QStringLiteral("alice"), server.url(book),
                                       server.url(book), QString()})
                                  .run();
    QCOMPARE(report.lines, said);
    QCOMPARE(report.exitCode(), 1);
    QCOMPARE(desk.rows(QStringLiteral("SELECT Lname, Tel1 FROM tblTel")), entries);
}

void tst_ServerCard::sameLineAsExport_data()
{
    QTest::addColumn<QString>("stored");  // the entry as edited here
    QTest::addColumn<QByteArray>("line"); // the line an export and a sync edit both write for it

    const QString dana = QStringLiteral("Personal|Dana|Levin| |%1|||%2|%3|%3|%4|%3");
    QTest::newRow("line break in the address")
        << dana.arg(QStringLiteral("12 Herzl St\rFloor 2"), QStringLiteral("_____"), kNone, kNone)
        << QByteArray("ADR;TYPE=HOME:;;12 Herzl St\\nFloor 2;;;;\r\n");
    QTest::newRow("digits of another script")
        << dana.arg(QString(), QStringLiteral("_____"), kNone,
                    QStringLiteral("\u0660\u0665\u0660 - \u0661\u0662\u0663\u0664\u0665\u0666\u0667"))
        << QByteArray("TEL;TYPE=CELL:0501234567\r\n");
    QTest::newRow("zip with letters") << dana.arg(QString(), QStringLiteral("K1A0B"), kNone, kNone)
                                      << QByteArray("ADR;TYPE=HOME:;;;;;K1A0B;\r\n");
}

// A value makes the same line whether the entry is exported or its card on a server is edited.
void tst_ServerCard::sameLineAsExport()
{
    QFETCH(QString, stored);
    QFETCH(QByteArray, line);
    const QByteArray exported = VCardWriter::write({entry(stored)}, VCardWriter::Version::V30);
    QVERIFY2(exported.contains(line), exported);
    const QByteArray edited =
        ServerCard(card("FN:Dana Levin\r\nN:Levin;Dana;;;\r\n")).patched(entry(stored), QString());
    QVERIFY2(edited.contains(line), edited);
}

QTEST_GUILESS_MAIN(tst_ServerCard)
#include "tst_servercard.moc"
