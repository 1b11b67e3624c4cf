#include "ProgramCopy.h"
#include "Radicale.h"
#include "TempDatabase.h"
#include "data/Backups.h"
#include "data/Database.h"
#include "sync/DavClient.h"
#include "sync/DavXml.h"
#include "sync/Discovery.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"

#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>

namespace {

// Answers every request with the same bytes (or never), for servers that misbehave; over TLS with the given
// certificate and key when they are given. Keeps what it was sent.
class CannedServer
{
public:
    explicit CannedServer(QByteArray answer, const QString& certificate = QString(), const QString& key = QString())
        : m_answer(std::move(answer))
    {
        if (!certificate.isEmpty()) {
            QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
            QFile cert(certificate);
            QFile privateKey(key);
            cert.open(QIODevice::ReadOnly);
            privateKey.open(QIODevice::ReadOnly);
            tls.setLocalCertificate(QSslCertificate(cert.readAll()));
            tls.setPrivateKey(QSslKey(privateKey.readAll(), QSsl::Rsa));
            tls.setPeerVerifyMode(QSslSocket::VerifyNone);
            m_tls.setSslConfiguration(tls);
            m_server = &m_tls;
        }
        m_server->listen(QHostAddress::LocalHost);
        QObject::connect(m_server, &QTcpServer::pendingConnectionAvailable, m_server, [this] {
            QTcpSocket* socket = m_server->nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                received += socket->readAll();
                if (!m_answer.isEmpty())
                    socket->write(QByteArray(m_answer).replace("PORT", QByteArray::number(m_server->serverPort())));
            });
        });
    }
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2%3")
                        .arg(m_server == &m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                        .arg(m_server->serverPort())
                        .arg(path));
    }

    QByteArray received;

private:
    QTcpServer m_plain;
    QSslServer m_tls;
    QTcpServer* m_server = &m_plain;
    QByteArray m_answer;
};

const QByteArray kPhoneCard = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nFN:Maximiliana-Dana Levin\r\n"
                              "N:Levin;Maximiliana-Dana;;;\r\n"
                              "EMAIL;TYPE=INTERNET:dana@example.org\r\nNOTE:Met at the fair\\, stand 4\r\n"
                              "item1.TEL:0355512345\r\nitem1.X-ABLABEL:Studio\r\nTEL;TYPE=CELL:050-1234567\r\n"
                              "TEL;TYPE=HOME:02-6543210\r\nADR;TYPE=HOME:;;12 Herzl St;Haifa;;33000;Israel\r\n"
                              "ADR;TYPE=WORK:;;1 Port Rd;Ashdod;;77000;Israel\r\nX-CUSTOM-THING:keep me\r\n"
                              "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAP8A\r\nEND:VCARD\r\n";

SyncSettings settingsFor(const Radicale& server)
{
    return {server.url(QStringLiteral("/")), QStringLiteral("alice"), server.url(QStringLiteral("/alice/personal/")),
            server.url(QStringLiteral("/alice/business/")), QString()};
}

SyncReport sync(TempDatabase& desk, const SyncSettings& settings, const QString& password = QStringLiteral("secret"))
{
    const auto db = Database::open(desk.path());
    DavClient client(settings.server, settings.user, password);
    client.setTimeout(2000);
    return SyncRun(*db, client, settings).run();
}

QStringList lines(const QByteArray& card)
{
    return QString::fromUtf8(card).split(QStringLiteral("\r\n"));
}

} // namespace

class tst_Sync : public QObject
{
    Q_OBJECT
private slots:
    void editRewritesOnlyItsLines_data();
    void editRewritesOnlyItsLines();
    void syncsWithoutEditsSendNothing();
    void storedFormsSurvive();
    void twoDesksFromOneFile();
    void setUpMakesNoBookUnasked();
    void withoutTheNetworkModuleNothingIsSetUp();
    void oneAddressBookForBoth();
    void conflicts_data();
    void conflicts();
    void killedMidwayConverges();
    void emptiedAddressBookAsks();
    void foreignAnswers_data();
    void foreignAnswers();
    void badServers_data();
    void badServers();
    void credentialsStayHome();
    void passwordInTheAddressStaysOutOfTheFile_data();
    void passwordInTheAddressStaysOutOfTheFile();
    void aWaitingWindowCancels();
    void untrustedCertificate_data();
    void untrustedCertificate();
};

void tst_Sync::editRewritesOnlyItsLines_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("before"); // the lines of the server's card that change
    QTest::addColumn<QStringList>("after");  // what they become; every other line stays as it was

    QTest::newRow("cellular number") << QStringLiteral("Pel = '050 - 7654321'")
                                     << QStringList{QStringLiteral("TEL;TYPE=CELL:050-1234567")}
                                     << QStringList{QStringLiteral("TEL;TYPE=CELL:0507654321")};
    // The given name is longer than its column: the directory holds it cut, the server keeps it whole.
    QTest::newRow("family name") << QStringLiteral("Lname = 'Katz'")
                                 << QStringList{QStringLiteral("FN:Maximiliana-Dana Levin"),
                                                QStringLiteral("N:Levin;Maximiliana-Dana;;;")}
                                 << QStringList{QStringLiteral("FN:Maximiliana-Dana Katz"),
                                                QStringLiteral("N:Katz;Maximiliana-Dana;;;")};
    QTest::newRow("city") << QStringLiteral("City = 'Akko'")
                          << QStringList{QStringLiteral("ADR;TYPE=HOME:;;12 Herzl St;Haifa;;33000;Israel")}
                          << QStringList{QStringLiteral("ADR;TYPE=HOME:;;12 Herzl St;Akko;;33000;Israel")};
}

void tst_Sync::editRewritesOnlyItsLines()
{
    QFETCH(QString, edit);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    Radicale server;
    QVERIFY(server.port());
    DavClient phone(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    const QUrl card = server.url(QStringLiteral("/alice/personal/dana.vcf"));
    QCOMPARE(phone.send("PUT", card, kPhoneCard, {{"Content-Type", "text/vcard"}}).status, 201);
    const QByteArray stored = phone.send("GET", card).body;

    TempDatabase desk;
    // The given name cut to its column, the second address and the number no entry holds are reported.
    QCOMPARE(sync(desk, settingsFor(server)).exitCode(), 1);
    QCOMPARE(desk.rows(QStringLiteral("SELECT Category, Fname, Lname, City, Pel FROM tblTel")),
             QStringList{QStringLiteral("Personal|Maximiliana-Dan|Levin|Haifa|050 - 1234567")});
    QCOMPARE(desk.exec(QStringLiteral("UPDATE tblTel SET ") + edit), SQLITE_OK);
    QCOMPARE(sync(desk, settingsFor(server)).exitCode(), 0);

    QStringList expected = lines(stored);
    for (int i = 0; i < before.size(); ++i) {
        const auto at = expected.indexOf(before.at(i));
        QVERIFY2(at >= 0, qPrintable(before.at(i)));
        expected[at] = after.at(i);
    }
    QCOMPARE(lines(phone.send("GET", card).body), expected);
}

void tst_Sync::syncsWithoutEditsSendNothing()
{
    Radicale server;
    QVERIFY(server.port());
    DavClient phone(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    // Values the directory stores in other forms: a name longer than its column, a number into its mask.
    const QByteArray reformatted =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:long\r\nFN:x\r\n"
        "N:Abcdefghijklmnopqrstuvwxyzabcd;Ann;;;\r\nTEL;TYPE=CELL:050 123 4567\r\nEND:VCARD\r\n";
    QCOMPARE(phone.send("PUT", server.url(QStringLiteral("/alice/personal/long.vcf")), reformatted).status, 201);
    TempDatabase here;
    here.addTel(QStringLiteral("Personal"), QStringLiteral("Moshe"), QStringLiteral("Cohen"));
    here.addTel(QStringLiteral("Business"), QString(), QString(), QStringLiteral("Bar Tools"),
                QStringLiteral("054 - 1112222"));
    // The family name cut to its column is reported by each desk that reads it.
    QCOMPARE(sync(here, settingsFor(server)).exitCode(), 1);
    TempDatabase there;
    QCOMPARE(sync(there, settingsFor(server)).exitCode(), 1);
    QCOMPARE(there.count(QStringLiteral("tblTel")), 3);

    const int puts = server.served("PUT");
    const int deletes = server.served("DELETE");
    QCOMPARE(puts, 3); // the card put by the test, and one for each entry
    for (TempDatabase* desk : {&here, &there, &here, &there})
        QCOMPARE(sync(*desk, settingsFor(server)).exitCode(), 0);
    QCOMPARE(server.served("PUT"), puts);
    QCOMPARE(server.served("DELETE"), deletes);
    QCOMPARE(here.rows(QStringLiteral("SELECT Lname, Pel FROM tblTel ORDER BY Lname")),
             there.rows(QStringLiteral("SELECT Lname, Pel FROM tblTel ORDER BY Lname")));
    // With nothing to do on either side the file is not written at all.
    const QStringList version = here.rows(QStringLiteral("PRAGMA data_version"));
    QCOMPARE(sync(here, settingsFor(server)).exitCode(), 0);
    QCOMPARE(here.rows(QStringLiteral("PRAGMA data_version")), version);
}

// Partly typed numbers and zips go up, come down to another desk, survive a phone's edit of the card, and come back
// exactly as the entry window stored them, while the phone sees their digits.
void tst_Sync::storedFormsSurvive()
{
    Radicale server;
    QVERIFY(server.port());
    TempDatabase here;
    QCOMPARE(
        here.exec(QStringLiteral(
            "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) "
            "VALUES ('Personal', 'Dana', 'Levin', ' ', '12 Herzl St', 'Haifa', '', '6100_', '048 - 12_____', "
            "'___ - _______', '05_ - 1______', '___ - _______'), "
            "('Personal', 'Avi', 'Bar', ' ', '', '', '', '_____', '03_ - _______', '050 - 1234567', "
            "'___ - _______', '0_8 - 1234567'), "
            "('Business', 'Rina', 'Amar', '', '', '', '', '3_000', '___ - _______', '___ - _______', "
            "'054 - 1234567', '___ - _______')")),
        SQLITE_OK);
    const QString all =
        QStringLiteral("SELECT Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax "
                       "FROM tblTel ORDER BY Lname");
    const QStringList stored = here.rows(all);
    QCOMPARE(sync(here, settingsFor(server)).exitCode(), 0);
    TempDatabase there;
    QCOMPARE(sync(there, settingsFor(server)).exitCode(), 0);
    QCOMPARE(there.rows(all), stored);

    DavClient phone(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    QByteArray seen;
    for (const QString& href : here.rows(QStringLiteral("SELECT href FROM tovrin_sync_card"))) {
        const QUrl card = server.url(href);
        QByteArray text = phone.send("GET", card).body;
        seen += text;
        text.insert(text.indexOf("END:VCARD"), "NOTE:called back\\, twice\r\n");
        QCOMPARE(phone.send("PUT", card, text, {{"Content-Type", "text/vcard"}}).status, 201);
    }
    for (const char* digits : {":04812\r\n", ":051\r\n", ":03\r\n", ":0501234567\r\n", ":081234567\r\n"})
        QVERIFY2(seen.contains(digits), seen.constData());
    for (TempDatabase* desk : {&here, &there}) {
        QCOMPARE(sync(*desk, settingsFor(server)).exitCode(), 0);
        QCOMPARE(desk->rows(all), stored);
    }
}

// Two desks that start from copies of one file: the second pairs its entries with the cards the first sent, and
// sends only what the first did not have.
void tst_Sync::twoDesksFromOneFile()
{
    Radicale server;
    QVERIFY(server.port());
    TempDatabase here;
    here.addTel(QStringLiteral("Personal"), QStringLiteral("Dana"), QStringLiteral("Levin"), QStringLiteral(" "),
                QStringLiteral("048 - 12_____"));
    here.addTel(QStringLiteral("Business"), QString(), QString(), QStringLiteral("Bar Tools"));
    TempDatabase there;
    QVERIFY(QFile::remove(there.path()));
    QVERIFY(QFile::copy(here.path(), there.path()));
    // Typed twice there: the second is an entry of its own.
    here.addTel(QStringLiteral("Personal"), QStringLiteral("Avi"), QStringLiteral("Amar"));
    there.addTel(QStringLiteral("Personal"), QStringLiteral("Avi"), QStringLiteral("Amar"));
    there.addTel(QStringLiteral("Personal"), QStringLiteral("Avi"), QStringLiteral("Amar"));

    QCOMPARE(sync(here, settingsFor(server)).sent, 3);
    const SyncReport second = sync(there, settingsFor(server));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.received, 0);
    QCOMPARE(second.sent, 1);
    QCOMPARE(sync(here, settingsFor(server)).received, 1);
    const QString all = QStringLiteral("SELECT Category, Fname, Lname, BusName, Tel1 FROM tblTel ORDER BY 1, 2, 3, 4");
    QCOMPARE(here.count(QStringLiteral("tblTel")), 4);
    QCOMPARE(there.rows(all), here.rows(all));
    QCOMPARE(server.served("PUT"), 4);
}

// A server whose address books have other names gets no new empty ones unless the user names them.
void tst_Sync::setUpMakesNoBookUnasked()
{
    Radicale server;
    QVERIFY(server.port());
    DavClient phone(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    for (const char* book : {"/alice/personal/", "/alice/business/"})
        QCOMPARE(phone.send("DELETE", server.url(QLatin1String(book))).status, 200);
    QString error;
    for (const char* name : {"contacts", "family"})
        QVERIFY(Discovery::create(phone, server.url(QStringLiteral("/alice/")), QLatin1String(name), error).isValid());
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("tovrin"));
    QVERIFY(copyProgram(program));
    Database::create(folder.filePath(QStringLiteral("Dalvek.mdb")));
    qputenv("TOVRIN_CREDENTIALS", folder.filePath(QStringLiteral("passwords")).toUtf8());
    const auto setUp = [&](const QStringList& books) {
        QProcess setup;
        setup.start(program,
                    QStringList{QStringLiteral("--sync-setup"), server.url(QStringLiteral("/")).toString(),
                                QStringLiteral("--user"), QStringLiteral("alice"), QStringLiteral("--password-stdin")} +
                        books);
        setup.write("secret\n");
        setup.closeWriteChannel();
        setup.waitForFinished(20000);
        return std::pair{setup.exitCode(), QString::fromLocal8Bit(setup.readAllStandardError())};
    };
    const auto [refused, said] = setUp({});
    QCOMPARE(refused, 2);
    QVERIFY2(said.contains(QLatin1String("\"contacts\", \"family\"")) && said.contains(QLatin1String("--personal")),
             qPrintable(said));
    QCOMPARE(Discovery::find(phone, server.url(QStringLiteral("/"))).books.size(), 2);
    QCOMPARE(Discovery::findTaskLists(phone, server.url(QStringLiteral("/"))).books.size(), 0);
    QCOMPARE(setUp({QStringLiteral("--personal"), QStringLiteral("family"), QStringLiteral("--business"),
                    QStringLiteral("contacts"), QStringLiteral("--tasks"), QStringLiteral("Office")})
                 .first,
             0);
    QCOMPARE(Discovery::find(phone, server.url(QStringLiteral("/"))).books.size(), 2);
    // The task list named is made there, and kept beside the books.
    const Discovery::Result lists = Discovery::findTaskLists(phone, server.url(QStringLiteral("/")));
    QCOMPARE(lists.error, QString());
    QCOMPARE(lists.books.size(), 1);
    QCOMPARE(lists.books.first().name, QStringLiteral("Office"));
    const auto db = Database::open(folder.filePath(QStringLiteral("Dalvek.mdb")));
    QCOMPARE(SyncSettings::read(*db).tasks, lists.books.first().url);
}

// A program copied without its network module runs, and its sync says why it reaches no server, as an offline one
// does: the same set-up against the same server goes through with the module.
void tst_Sync::withoutTheNetworkModuleNothingIsSetUp()
{
    Radicale server;
    QVERIFY(server.port());
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("tovrin"));
    QVERIFY(copyProgram(program));
    Database::create(folder.filePath(QStringLiteral("Dalvek.mdb")));
    qputenv("TOVRIN_CREDENTIALS", folder.filePath(QStringLiteral("passwords")).toUtf8());
    const auto setUp = [&] {
        QProcess setup;
        setup.start(program, {QStringLiteral("--sync-setup"), server.url(QStringLiteral("/")).toString(),
                              QStringLiteral("--user"), QStringLiteral("alice"), QStringLiteral("--password-stdin")});
        setup.write("secret\n");
        setup.closeWriteChannel();
        setup.waitForFinished(20000);
        return std::pair{setup.exitCode(), QString::fromLocal8Bit(setup.readAllStandardError())};
    };
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("tovrin_network.so"))));
    const auto [refused, said] = setUp();
    QCOMPARE(refused, 2);
    QVERIFY2(said.contains(QLatin1String("the network module could not be loaded")), qPrintable(said));
    QVERIFY(!SyncSettings::read(*Database::open(folder.filePath(QStringLiteral("Dalvek.mdb")))).isSet());
    QVERIFY(QFile::copy(QStringLiteral(TOVRIN_MODULES "/tovrin_network.so"),
                        folder.filePath(QStringLiteral("tovrin_network.so"))));
    QCOMPARE(setUp().first, 0);
}

void tst_Sync::oneAddressBookForBoth()
{
    Radicale server;
    QVERIFY(server.port());
    const QUrl book = server.url(QStringLiteral("/alice/personal/"));
    const SyncSettings one{server.url(QStringLiteral("/")), QStringLiteral("alice"), book, book, QString()};
    TempDatabase here;
    here.addTel(QStringLiteral("Personal"), QStringLiteral("Moshe"), QStringLiteral("Cohen"));
    here.addTel(QStringLiteral("Business"), QString(), QString(), QStringLiteral("Bar Tools"),
                QStringLiteral("054 - 1112222"));
    // A business entry without a company: its book travels as the card's category, not by an organisation.
    here.addTel(QStringLiteral("Business"), QStringLiteral("Avi"), QStringLiteral("Amar"), QString());
    QCOMPARE(sync(here, one).sent, 3);
    TempDatabase there;
    QCOMPARE(sync(there, one).exitCode(), 0);
    const QString books = QStringLiteral("SELECT Category, Lname, BusName FROM tblTel ORDER BY Category, Lname");
    QCOMPARE(there.rows(books), (QStringList{QStringLiteral("Business||Bar Tools"), QStringLiteral("Business|Amar|"),
                                             QStringLiteral("Personal|Cohen| ")}));
    QCOMPARE(here.rows(books), there.rows(books));

    // An entry moved to the other book here is in that book there too.
    QCOMPARE(here.exec(QStringLiteral("UPDATE tblTel SET Category = 'Business', BusName = '' WHERE Lname = 'Cohen'")),
             SQLITE_OK);
    QCOMPARE(sync(here, one).exitCode(), 0);
    QCOMPARE(sync(there, one).exitCode(), 0);
    QCOMPARE(there.rows(books), (QStringList{QStringLiteral("Business||Bar Tools"), QStringLiteral("Business|Amar|"),
                                             QStringLiteral("Business|Cohen|")}));
}

void tst_Sync::conflicts_data()
{
    QTest::addColumn<QString>("here");     // done here, synced last
    QTest::addColumn<QString>("there");    // done at the other desk, synced first
    QTest::addColumn<QStringList>("both"); // what both desks hold in the end
    QTest::addColumn<int>("exitCode");     // of the sync here

    const QString dana = QStringLiteral("UPDATE tblTel SET %1 WHERE Lname = 'Levin'");
    const QString gone = QStringLiteral("DELETE FROM tblTel WHERE Lname = 'Levin'");
    const QString avi = QStringLiteral("Bar|Eilat|___ - _______");
    QTest::newRow("different fields") << dana.arg(QStringLiteral("City = 'Akko'"))
                                      << dana.arg(QStringLiteral("Pel = '050 - 1111111'"))
                                      << QStringList{avi, QStringLiteral("Levin|Akko|050 - 1111111")} << 0;
    QTest::newRow("same field") << dana.arg(QStringLiteral("City = 'Akko'"))
                                << dana.arg(QStringLiteral("City = 'Yafo'"))
                                << QStringList{avi, QStringLiteral("Levin|Yafo|050 - 1234567")} << 1;
    QTest::newRow("edited here, deleted there") << dana.arg(QStringLiteral("City = 'Akko'")) << gone
                                                << QStringList{avi, QStringLiteral("Levin|Akko|050 - 1234567")} << 1;
    QTest::newRow("deleted here, edited there") << gone << dana.arg(QStringLiteral("City = 'Yafo'"))
                                                << QStringList{avi, QStringLiteral("Levin|Yafo|050 - 1234567")} << 1;
    QTest::newRow("deleted on both sides") << gone << gone << QStringList{avi} << 0;
}

void tst_Sync::conflicts()
{
    QFETCH(QString, here);
    QFETCH(QString, there);
    QFETCH(QStringList, both);
    QFETCH(int, exitCode);
    Radicale server;
    QVERIFY(server.port());
    TempDatabase desk1;
    TempDatabase desk2;
    desk1.addTel(QStringLiteral("Personal"), QStringLiteral("Dana"), QStringLiteral("Levin"), QStringLiteral(" "),
                 QStringLiteral("___ - _______"), QStringLiteral("Haifa"));
    desk1.addTel(QStringLiteral("Personal"), QStringLiteral("Avi"), QStringLiteral("Bar"), QStringLiteral(" "),
                 QStringLiteral("___ - _______"), QStringLiteral("Eilat"));
    QCOMPARE(desk1.exec(QStringLiteral("UPDATE tblTel SET Pel = '050 - 1234567' WHERE Lname = 'Levin'")), SQLITE_OK);
    QCOMPARE(sync(desk1, settingsFor(server)).exitCode(), 0);
    QCOMPARE(sync(desk2, settingsFor(server)).exitCode(), 0);

    QCOMPARE(desk1.exec(here), SQLITE_OK);
    QCOMPARE(desk2.exec(there), SQLITE_OK);
    QCOMPARE(sync(desk2, settingsFor(server)).exitCode(), 0);
    const SyncReport report = sync(desk1, settingsFor(server));
    QCOMPARE(report.exitCode(), exitCode);
    QCOMPARE(sync(desk2, settingsFor(server)).exitCode(), 0);
    const QString shown = QStringLiteral("SELECT Lname, City, Pel FROM tblTel ORDER BY Lname");
    QCOMPARE(desk1.rows(shown), both);
    QCOMPARE(desk2.rows(shown), both);
}

void tst_Sync::killedMidwayConverges()
{
    Radicale server;
    QVERIFY(server.port());
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("tovrin"));
    QVERIFY(copyProgram(program));
    Database::create(folder.filePath(QStringLiteral("Dalvek.mdb")));
    qputenv("TOVRIN_CREDENTIALS", folder.filePath(QStringLiteral("passwords")).toUtf8());
    {
        sqlite3* db = nullptr;
        sqlite3_open(folder.filePath(QStringLiteral("Dalvek.mdb")).toUtf8().constData(), &db);
        for (int i = 0; i < 120; ++i) {
            const QString sql = QStringLiteral("INSERT INTO tblTel (Category, Fname, Lname, BusName, Pel) VALUES "
                                               "('%1', 'Given%2', 'Family%2', '%3', '050 - 1234%4')")
                                    .arg(i % 3 ? QStringLiteral("Personal") : QStringLiteral("Business"))
                                    .arg(i)
                                    .arg(i % 3 ? QStringLiteral(" ") : QStringLiteral("Firm %1").arg(i))
                                    .arg(i, 3, 10, QLatin1Char('0'));
            QCOMPARE(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        sqlite3_close(db);
    }
    QProcess setup;
    setup.start(program, {QStringLiteral("--sync-setup"), server.url(QStringLiteral("/")).toString(),
                          QStringLiteral("--user"), QStringLiteral("alice"), QStringLiteral("--password-stdin")});
    setup.write("secret\n");
    setup.closeWriteChannel();
    QVERIFY(setup.waitForFinished(20000));
    QVERIFY2(setup.exitCode() == 0, setup.readAllStandardError().constData());

    // Killed at growing moments until a run goes through; each start takes up where the last one stopped.
    int killed = 0;
    for (int delay = 100;; delay += 60) {
        QProcess run;
        run.start(program, {QStringLiteral("--sync")});
        if (!run.waitForFinished(delay)) {
            run.kill();
            run.waitForFinished();
            ++killed;
            continue;
        }
        QCOMPARE(run.exitCode(), 0);
        break;
    }
    QVERIFY(killed > 0);
    TempDatabase other;
    QCOMPARE(sync(other, settingsFor(server)).exitCode(), 0);
    const QString all = QStringLiteral("SELECT Category, Fname, Lname, BusName, Pel FROM tblTel ORDER BY Pel");
    QCOMPARE(other.count(QStringLiteral("tblTel")), 120);
    TempDatabase copy;
    QVERIFY(QFile::remove(copy.path()));
    QVERIFY(QFile::copy(folder.filePath(QStringLiteral("Dalvek.mdb")), copy.path()));
    QCOMPARE(copy.rows(all), other.rows(all));
    qInfo("killed %d times before a run went through", killed);
}

// A phone's sync app wipes the address book: the program deletes nothing until told to, and then keeps a copy.
void tst_Sync::emptiedAddressBookAsks()
{
    Radicale server;
    QVERIFY(server.port());
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("tovrin"));
    const QString file = folder.filePath(QStringLiteral("Dalvek.mdb"));
    QVERIFY(copyProgram(program));
    Database::create(file);
    qputenv("TOVRIN_CREDENTIALS", folder.filePath(QStringLiteral("passwords")).toUtf8());
    TempDatabase desk;
    for (int i = 0; i < 12; ++i)
        desk.addTel(QStringLiteral("Personal"), QStringLiteral("Given%1").arg(i), QStringLiteral("Family%1").arg(i));
    desk.close();
    QVERIFY(QFile::remove(file) && QFile::copy(desk.path(), file));
    const auto tovrin = [&program](const QStringList& arguments, QByteArray* said = nullptr) {
        QProcess run;
        run.start(program, arguments);
        run.write("secret\n");
        run.closeWriteChannel();
        run.waitForFinished(60000);
        if (said)
            *said = run.readAllStandardError();
        return run.exitCode();
    };
    QCOMPARE(
        tovrin({QStringLiteral("--sync-setup"), server.url(QStringLiteral("/")).toString(), QStringLiteral("--user"),
                QStringLiteral("alice"), QStringLiteral("--password-stdin"), QStringLiteral("--sync")}),
        0);

    DavClient phone(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    const QUrl book = server.url(QStringLiteral("/alice/personal/"));
    const DavClient::Reply listing =
        phone.send("PROPFIND", book, DavXml::propfind({QStringLiteral("getetag")}, {}), {{"Depth", "1"}});
    int deleted = 0;
    for (const DavXml::Response& card : DavXml::parse(listing.body, listing.url).responses) {
        if (card.href.endsWith(QLatin1String(".vcf")))
            deleted += phone.send("DELETE", book.resolved(QUrl(card.href))).status < 300 ? 1 : 0;
    }
    QCOMPARE(deleted, 12);

    const auto count = [&file] {
        sqlite3* db = nullptr;
        sqlite3_open(file.toUtf8().constData(), &db);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM tblTel", -1, &stmt, nullptr);
        sqlite3_step(stmt);
        const int rows = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return rows;
    };
    const QDir backups(Backups::folderOf(file));
    const QStringList beforeSync{QStringLiteral("*before sync.mdb")};
    QByteArray said;
    QCOMPARE(tovrin({QStringLiteral("--sync")}, &said), 2);
    QVERIFY2(said.contains("12 entries") && said.contains("tovrin --sync --force-delete"), said.constData());
    QCOMPARE(count(), 12);
    QCOMPARE(backups.entryList(beforeSync, QDir::Files), QStringList());

    QCOMPARE(tovrin({QStringLiteral("--sync"), QStringLiteral("--force-delete")}, &said), 0);
    QCOMPARE(count(), 0);
    const QStringList copies = backups.entryList(beforeSync, QDir::Files);
    QCOMPARE(copies.size(), 1);
    qint64 kept = 0;
    QCOMPARE(Backups::problemOf(backups.filePath(copies[0]), &kept), QString());
    QCOMPARE(kept, qint64(12));
}

void tst_Sync::foreignAnswers_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("hrefs");
    QTest::addColumn<QStringList>("etags");
    QTest::addColumn<QString>("token");
    QTest::addColumn<bool>("readable");

    // As Xandikos writes it: ns0 prefixes, the token after the responses and no URI.
    QTest::newRow("prefixes, token last")
        << QByteArray("<?xml version='1.0' encoding='utf-8'?>\n<ns0:multistatus xmlns:ns0=\"DAV:\"><ns0:response>"
                      "<ns0:href>/u/c/a%20b.vcf</ns0:href><ns0:propstat><ns0:status>HTTP/1.1 200 OK</ns0:status>"
                      "<ns0:prop><ns0:getetag>\"e1\"</ns0:getetag></ns0:prop></ns0:propstat></ns0:response>"
                      "<ns0:response><ns0:href>/u/c/gone.vcf</ns0:href><ns0:status>HTTP/1.1 404 Not Found</ns0:status>"
                      "</ns0:response><ns0:sync-token>42</ns0:sync-token></ns0:multistatus>")
        << QStringList{QStringLiteral("/u/c/a%20b.vcf"), QStringLiteral("/u/c/gone.vcf")}
        << QStringList{QStringLiteral("\"e1\""), QString()} << QStringLiteral("42") << true;
    // A default namespace, a foreign element with DAV: names inside, the token first.
    QTest::newRow("default namespace")
        << QByteArray("<multistatus xmlns=\"DAV:\" xmlns:x=\"urn:x\"><sync-token>http://127.0.0.1/t/7</sync-token>"
                      "<x:extra><href>/nothing</href></x:extra><response><href>c/1.vcf</href><propstat><prop>"
                      "<getetag>W/\"1\"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat></response>"
                      "</multistatus>")
        << QStringList{QStringLiteral("/u/c/1.vcf")} << QStringList{QStringLiteral("W/\"1\"")}
        << QStringLiteral("http://127.0.0.1/t/7") << true;
    // The right local names in another namespace are not WebDAV's.
    QTest::newRow("wrong namespace") << QByteArray("<multistatus xmlns=\"urn:other\"><response/></multistatus>")
                                     << QStringList{} << QStringList{} << QString() << false;
    QTest::newRow("cut short") << QByteArray("<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/a</d:hr")
                               << QStringList{QStringLiteral("/a")} << QStringList{QString()} << QString() << false;
}

void tst_Sync::foreignAnswers()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, hrefs);
    QFETCH(QStringList, etags);
    QFETCH(QString, token);
    QFETCH(bool, readable);
    const DavXml::Multistatus answer = DavXml::parse(body, QUrl(QStringLiteral("http://127.0.0.1/u/")));
    QCOMPARE(answer.error.isEmpty(), readable);
    if (!readable)
        return;
    QStringList foundHrefs;
    QStringList foundEtags;
    for (const DavXml::Response& response : answer.responses) {
        foundHrefs << response.href;
        foundEtags << response.etag;
    }
    QCOMPARE(foundHrefs, hrefs);
    QCOMPARE(foundEtags, etags);
    QCOMPARE(answer.syncToken, token);
    if (hrefs.size() > 1)
        QCOMPARE(answer.responses.at(1).status, 404);
}

void tst_Sync::badServers_data()
{
    QTest::addColumn<QByteArray>("answer"); // from a server of canned answers; empty: Radicale
    QTest::addColumn<QString>("book");      // path of both books
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("said");

    const QString good = QStringLiteral("/alice/personal/");
    QTest::newRow("wrong password") << QByteArray() << good << QStringLiteral("wrong") << QStringLiteral("(401)");
    QTest::newRow("missing address book")
        << QByteArray() << QStringLiteral("/alice/nothing/") << QStringLiteral("secret") << QStringLiteral("(404)");
    QTest::newRow("no answer") << QByteArray("") << good << QString() << QStringLiteral("did not answer");
    QTest::newRow("redirect loop") << QByteArray("HTTP/1.1 301 Moved\r\nLocation: http://127.0.0.1:PORT/a/\r\n"
                                                 "Content-Length: 0\r\n\r\n")
                                   << good << QString() << QStringLiteral("redirect loop");
    QTest::newRow("server error") << QByteArray("HTTP/1.1 500 Oops\r\nContent-Length: 4\r\n\r\nOops") << good
                                  << QString() << QStringLiteral("answered 500: Oops");
    QTest::newRow("malformed XML") << QByteArray("HTTP/1.1 207 Multi-Status\r\nContent-Length: 30\r\n\r\n"
                                                 "<d:multistatus xmlns:d=\"DAV:\">")
                                   << good << QString() << QStringLiteral("malformed XML");
}

void tst_Sync::badServers()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, book);
    QFETCH(QString, password);
    QFETCH(QString, said);
    std::optional<Radicale> radicale;
    std::optional<CannedServer> canned;
    QUrl where;
    if (answer.isNull()) {
        radicale.emplace();
        QVERIFY(radicale->port());
        where = radicale->url(book);
    } else {
        canned.emplace(answer);
        where = canned->url(book);
    }
    TempDatabase desk;
    desk.addTel(QStringLiteral("Personal"), QStringLiteral("Dana"), QStringLiteral("Levin"));
    const QStringList before = desk.rows(QStringLiteral("SELECT * FROM tblTel"));
    const SyncReport report = sync(desk, {where, QStringLiteral("alice"), where, where, QString()}, password);
    QCOMPARE(report.exitCode(), 2);
    QVERIFY2(report.error.contains(said), qPrintable(report.error));
    QCOMPARE(desk.rows(QStringLiteral("SELECT * FROM tblTel")), before);
    QCOMPARE(desk.count(QStringLiteral("tovrin_sync_card")), 0);
}

// The settings window asks the server while it goes on taking input; its Cancel gives up the request at once, and
// the ones after it, rather than waiting for a server that does not answer.
void tst_Sync::aWaitingWindowCancels()
{
    CannedServer silent{QByteArray("")};
    DavClient client(silent.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    client.setTimeout(600000);
    bool cancelled = false;
    QTimer::singleShot(200, [&cancelled] { cancelled = true; });
    client.setCancel([&cancelled] { return cancelled; });
    QCOMPARE(client.send("PROPFIND", silent.url(QStringLiteral("/alice/"))).error, QStringLiteral("cancelled"));
    QCOMPARE(client.send("PROPFIND", silent.url(QStringLiteral("/alice/"))).error, QStringLiteral("cancelled"));
}

void tst_Sync::credentialsStayHome()
{
    // The server sends the client to another port of the same machine: another origin, which gets no password.
    CannedServer elsewhere("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    CannedServer home("HTTP/1.1 307 Moved\r\nLocation: " + elsewhere.url(QStringLiteral("/b/")).toEncoded() +
                      "\r\nContent-Length: 0\r\n\r\n");
    DavClient client(home.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    const DavClient::Reply reply = client.send("PROPFIND", home.url(QStringLiteral("/a/")), "<x/>");
    QCOMPARE(reply.status, 404);
    QVERIFY(home.received.startsWith("PROPFIND /a/ "));
    QVERIFY(home.received.contains("Authorization: Basic " + QByteArray("alice:secret").toBase64()));
    QVERIFY2(elsewhere.received.startsWith("PROPFIND /b/ "), elsewhere.received.constData());
    QVERIFY(elsewhere.received.endsWith("<x/>"));
    QVERIFY(!elsewhere.received.contains("Authorization"));
}

void tst_Sync::passwordInTheAddressStaysOutOfTheFile_data()
{
    QTest::addColumn<bool>("keptBefore"); // the address with the password was kept by an earlier set-up
    QTest::newRow("written into the address at set-up") << false;
    QTest::newRow("kept in the file before") << true;
}

// A user name and password written into the server's address go where passwords go; the file, its free space
// included, never holds the password, and the sync goes on with the cards it had (nothing sent twice).
void tst_Sync::passwordInTheAddressStaysOutOfTheFile()
{
    QFETCH(bool, keptBefore);
    Radicale server;
    QVERIFY(server.port());
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("tovrin"));
    QVERIFY(copyProgram(program));
    const QString path = folder.filePath(QStringLiteral("Dalvek.mdb"));
    const QString passwords = folder.filePath(QStringLiteral("passwords"));
    Database::create(path);
    qputenv("TOVRIN_CREDENTIALS", passwords.toUtf8());
    const auto run = [&](const QStringList& arguments, const QByteArray& input = QByteArray()) {
        QProcess process;
        process.start(program, arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(30000);
        return process.exitCode() == 0 ? QString() : QString::fromLocal8Bit(process.readAllStandardError());
    };
    const auto stored = [&](const QString& sql) {
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return rc;
    };
    QCOMPARE(stored(QStringLiteral("INSERT INTO tblTel (Category, Fname, Lname) VALUES ('Personal', 'Dana', 'Levi'), "
                                   "('Personal', 'Ran', 'Cohen')")),
             SQLITE_OK);
    QUrl address = server.url(QStringLiteral("/"));
    address.setUserInfo(QStringLiteral("alice:secret"));
    if (keptBefore) {
        QCOMPARE(
            run({QStringLiteral("--sync-setup"), server.url(QStringLiteral("/")).toString(), QStringLiteral("--user"),
                 QStringLiteral("alice"), QStringLiteral("--password-stdin"), QStringLiteral("--sync")},
                "secret\n"),
            QString());
        QVERIFY(QFile::remove(passwords));
        // As an earlier set-up kept the address it was given: everywhere the address is stored.
        const QString withSecret = QStringLiteral("'http://alice:secret@' || substr(%1, 8)");
        QCOMPARE(stored(QStringLiteral("UPDATE tovrin_sync_setting SET value = %1 WHERE name IN ('server', "
                                       "'personal', 'business'); UPDATE tovrin_sync_card SET book = %2; UPDATE "
                                       "tovrin_sync_book SET book = %3")
                            .arg(withSecret.arg(QStringLiteral("value")), withSecret.arg(QStringLiteral("book")),
                                 withSecret.arg(QStringLiteral("book")))),
                 SQLITE_OK);
    } else {
        QCOMPARE(run({QStringLiteral("--sync-setup"), address.toString()}), QString());
    }
    QCOMPARE(run({QStringLiteral("--sync")}), QString());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("secret"));
    QFile kept(passwords);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QVERIFY(kept.readAll().contains("\"secret\""));
    TempDatabase other;
    QCOMPARE(sync(other, settingsFor(server)).exitCode(), 0);
    QCOMPARE(other.count(QStringLiteral("tblTel")), 2);
}

void tst_Sync::untrustedCertificate_data()
{
    QTest::addColumn<bool>("pinIt");    // the user accepted the certificate shown
    QTest::addColumn<QString>("other"); // a digest accepted instead
    QTest::newRow("never accepted") << false << QString();
    QTest::newRow("accepted") << true << QString();
    QTest::newRow("another one accepted") << false << QStringLiteral("00:11:22:33");
}

void tst_Sync::untrustedCertificate()
{
    QFETCH(bool, pinIt);
    QFETCH(QString, other);
    if (!QSslSocket::supportsSsl())
        QSKIP("no TLS in this Qt");
    QTemporaryDir dir;
    const QString cert = dir.filePath(QStringLiteral("cert.pem"));
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    QProcess make;
    make.start(QStringLiteral("openssl"),
               {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                QStringLiteral("-nodes"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-keyout"), key, QStringLiteral("-out"),
                cert});
    QVERIFY(make.waitForFinished(30000));
    QCOMPARE(make.exitCode(), 0);
    QProcess fingerprint;
    fingerprint.start(QStringLiteral("openssl"),
                      {QStringLiteral("x509"), QStringLiteral("-noout"), QStringLiteral("-fingerprint"),
                       QStringLiteral("-sha256"), QStringLiteral("-in"), cert});
    QVERIFY(fingerprint.waitForFinished());
    const QString shown =
        QString::fromLatin1(fingerprint.readAllStandardOutput()).section(QLatin1Char('='), 1).trimmed();

    CannedServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", cert, key);
    DavClient client(server.url(QStringLiteral("/")), QStringLiteral("alice"), QStringLiteral("secret"));
    client.setPinnedCertificate(pinIt ? shown : other);
    const DavClient::Reply reply = client.send("GET", server.url(QStringLiteral("/")));
    if (pinIt) {
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.body, QByteArray("ok"));
        return;
    }
    QCOMPARE(reply.status, 0);
    QVERIFY2(reply.error.contains(shown), qPrintable(reply.error));
    QCOMPARE(client.untrustedCertificate(), shown);
    QVERIFY(!server.received.contains("secret") && !server.received.contains("Authorization"));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!Radicale::available()) {
        // CI installs it: there a missing server is a failure, not a skip.
        std::fputs("Radicale is not installed (apt-get install radicale).\n", stderr);
        return qEnvironmentVariableIsSet("TOVRIN_REQUIRE_RADICALE") ? 1 : 77;
    }
    tst_Sync test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sync.moc"
