#include "Radicale.h"
#include "TempDatabase.h"
#include "Xandikos.h"
#include "data/Database.h"
#include "sync/DavClient.h"
#include "sync/Discovery.h"
#include "sync/MessageTask.h"
#include "sync/SyncFile.h"
#include "sync/SyncSettings.h"
#include "sync/Transports.h"

namespace {

// The network, with every request kept; the line is cut at request `cutAt`: it reaches the server, its answer is
// lost, and nothing after it goes.
class Recorder : public DavTransport
{
public:
    End exchange(const Request& request, Receiver& receiver) override
    {
        if (cutAt >= 0 && requests.size() > cutAt)
            return {QStringLiteral("the line was cut"), {}};
        requests << request;
        if (cutAt >= 0 && requests.size() > cutAt) {
            Lost lost;
            m_network->exchange(request, lost);
            return {QStringLiteral("the line was cut"), {}};
        }
        return m_network->exchange(request, receiver);
    }
    QList<Request> of(const QByteArray& method) const
    {
        QList<Request> found;
        for (const Request& request : requests) {
            if (request.method == method)
                found << request;
        }
        return found;
    }

    int cutAt = -1;
    QList<Request> requests;

private:
    struct Lost : Receiver
    {
        bool head(int, const Headers&, qint64) override { return true; }
        bool data(const QByteArray&, qint64) override { return true; }
        bool wait(qint64) override { return true; }
    };
    std::unique_ptr<DavTransport> m_network = Transports::network();
};

struct Server
{
    QUrl root;
    QUrl personal;
    QUrl business;
    QUrl tasks;
};

// A task list named "Messages" made on the server as the set-up makes it.
Server withTaskList(const QUrl& root, const QString& personal, const QString& business)
{
    DavClient client(root, QStringLiteral("alice"), QStringLiteral("secret"));
    const Discovery::Result found = Discovery::findTaskLists(client, root);
    QString error;
    const QUrl list = Discovery::createTaskList(client, found.home, QStringLiteral("Messages"), error);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return {root, root.resolved(QUrl(personal)), root.resolved(QUrl(business)), list};
}

// The task list on a Radicale of the test's own, beside its two address books.
Server withTaskList(const Radicale& radicale)
{
    return withTaskList(radicale.url(QStringLiteral("/")), QStringLiteral("/alice/personal/"),
                        QStringLiteral("/alice/business/"));
}

void setUp(TempDatabase& desk, const Server& server)
{
    const auto db = Database::open(desk.path());
    SyncSettings{server.root, QStringLiteral("alice"), server.personal, server.business, QString(), server.tasks}.write(
        *db);
}

SyncReport sync(TempDatabase& desk, DavTransport* transport = nullptr,
                const SyncRun::Options& options = SyncRun::Options())
{
    desk.close();
    SyncFile::setTransportForTesting(transport);
    const SyncReport report = SyncFile::run(desk.path(), QStringLiteral("secret"), options);
    SyncFile::setTransportForTesting(nullptr);
    return report;
}

void addMessage(TempDatabase& desk, int i)
{
    QCOMPARE(desk.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES ('2026-03-%1', "
                                      "'10:%2:00', 'Dana Levin %3', 'Yossi', 'Please call back about order %3')")
                           .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                           .arg(i % 60, 2, 10, QLatin1Char('0'))
                           .arg(i)),
             SQLITE_OK);
}

// The log as a user sees it: each message's five values, done and urgent.
QStringList log(TempDatabase& desk)
{
    return desk.rows(QStringLiteral("SELECT m.Cdate, m.Ctime, m.Meet, m.Avur, m.Hodaa, coalesce(s.done, 0), "
                                    "coalesce(s.urgent, 0) FROM tblMes m LEFT JOIN tovrin_message s ON s.message = "
                                    "m.rowid ORDER BY m.Hodaa, m.Cdate"));
}

// The tasks on the server: href and text.
QMap<QString, QByteArray> tasksOn(const Server& server)
{
    DavClient client(server.root, QStringLiteral("alice"), QStringLiteral("secret"));
    const DavXml::Multistatus listed = DavXml::parse(
        client.send("PROPFIND", server.tasks, DavXml::propfind({QStringLiteral("getetag")}, {}), {{"Depth", "1"}}).body,
        server.tasks);
    QMap<QString, QByteArray> found;
    for (const DavXml::Response& response : listed.responses) {
        if (response.href.endsWith(QLatin1String(".ics")))
            found.insert(response.href, client.send("GET", server.tasks.resolved(QUrl(response.href))).body);
    }
    return found;
}

QString nameOf(const QString& line)
{
    return line.section(QRegularExpression(QStringLiteral("[:;]")), 0, 0);
}

} // namespace

class tst_TaskSync : public QObject
{
    Q_OBJECT
private slots:
    void editRewritesOnlyItsLines_data();
    void editRewritesOnlyItsLines();
    void aPhoneTicksAndAdds();
    void twoDesksConverge();
    void killedMidwayConverges_data();
    void killedMidwayConverges();
    void emptiedListAsks();
    void aTaskTooLargeIsLeftOut();
    void xandikos();
};

void tst_TaskSync::editRewritesOnlyItsLines_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("mustChange");
    QTest::addColumn<QStringList>("mayChange"); // besides DTSTAMP and LAST-MODIFIED

    QTest::newRow("text") << QStringLiteral("UPDATE tblMes SET Hodaa = 'The parcel came, no need to call'")
                          << QStringLiteral("DESCRIPTION") << QStringList{QStringLiteral("DESCRIPTION")};
    QTest::newRow("to") << QStringLiteral("UPDATE tblMes SET Avur = 'Rivka'") << QStringLiteral("X-TOVRIN-TO")
                        << QStringList{QStringLiteral("SUMMARY"), QStringLiteral("X-TOVRIN-TO"),
                                       QStringLiteral("X-TOVRIN-SUMMARY")};
    QTest::newRow("done") << QStringLiteral("UPDATE tovrin_message SET done = 1, done_at = '2026-03-02T11:00:00Z', "
                                            "done_by = 'yossi@desk2'")
                          << QStringLiteral("STATUS")
                          << QStringList{QStringLiteral("STATUS"), QStringLiteral("COMPLETED"),
                                         QStringLiteral("PERCENT-COMPLETE"), QStringLiteral("X-TOVRIN-DONE-BY")};
}

void tst_TaskSync::editRewritesOnlyItsLines()
{
    QFETCH(QString, edit);
    QFETCH(QString, mustChange);
    QFETCH(QStringList, mayChange);
    Radicale radicale;
    QVERIFY(radicale.port());
    const Server server = withTaskList(radicale);
    TempDatabase desk;
    setUp(desk, server);
    addMessage(desk, 1);
    QCOMPARE(sync(desk).summary(), QStringLiteral("0 received, 0 deleted here, 1 sent, 0 deleted on the server."));

    // Another client gives the task what this program does not know: a category and an alarm.
    DavClient other(server.root, QStringLiteral("alice"), QStringLiteral("secret"));
    const QString href = tasksOn(server).firstKey();
    QByteArray text = tasksOn(server).first();
    text.replace("END:VTODO", "CATEGORIES:Office\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Ring\r\n"
                              "TRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VTODO");
    QCOMPARE(other.send("PUT", server.tasks.resolved(QUrl(href)), text, {{"Content-Type", "text/calendar"}}).status,
             201);
    QCOMPARE(sync(desk).exitCode(), 0);
    const QStringList before = QString::fromUtf8(tasksOn(server).first()).split(QStringLiteral("\r\n"));

    QCOMPARE(desk.exec(edit), SQLITE_OK);
    Recorder recorder;
    const SyncReport report = sync(desk, &recorder);
    QCOMPARE(report.exitCode(), 0);
    QCOMPARE(report.sent, 1);
    QCOMPARE(recorder.of("PUT").size(), 1);
    const QStringList after = QString::fromUtf8(recorder.of("PUT").first().body).split(QStringLiteral("\r\n"));
    QSet<QString> changed;
    for (const QString& line : after) {
        if (!before.contains(line))
            changed.insert(nameOf(line));
    }
    for (const QString& line : before) {
        if (!after.contains(line))
            changed.insert(nameOf(line));
    }
    QVERIFY2(changed.contains(mustChange), qPrintable(QStringList(changed.values()).join(QLatin1Char(' '))));
    for (const QString& name : changed)
        QVERIFY2(mayChange.contains(name) || name == QLatin1String("DTSTAMP") || name == QLatin1String("LAST-MODIFIED"),
                 qPrintable(name));
    QVERIFY(after.contains(QStringLiteral("CATEGORIES:Office")) && after.contains(QStringLiteral("TRIGGER:-PT15M")));
    // Nothing is left to send.
    Recorder quiet;
    QCOMPARE(sync(desk, &quiet).exitCode(), 0);
    QCOMPARE(quiet.of("PUT").size(), 0);
}

// A phone ticks a task as done and makes one of its own, written by an independent iCalendar library.
void tst_TaskSync::aPhoneTicksAndAdds()
{
    Radicale radicale;
    QVERIFY(radicale.port());
    const Server server = withTaskList(radicale);
    TempDatabase desk;
    setUp(desk, server);
    addMessage(desk, 1);
    addMessage(desk, 2);
    QCOMPARE(sync(desk).sent, 2);
    QString ticked;
    const QMap<QString, QByteArray> tasks = tasksOn(server);
    for (auto it = tasks.cbegin(); it != tasks.cend(); ++it)
        ticked = it.value().contains("order 2") ? it.key() : ticked;

    const QString phone = QStringLiteral(R"(
import sys, urllib.request, base64, datetime, icalendar
base, href, folder = sys.argv[1], sys.argv[2], sys.argv[3]
auth = 'Basic ' + base64.b64encode(b'alice:secret').decode()
def send(method, url, body=None, headers={}):
    return urllib.request.urlopen(urllib.request.Request(url, data=body, method=method,
                                                         headers=dict(headers, Authorization=auth)))
task = icalendar.Calendar.from_ical(send('GET', base + href).read())
for todo in task.walk('VTODO'):
    todo['STATUS'] = 'COMPLETED'
    todo.add('COMPLETED', datetime.datetime(2026, 3, 2, 9, 30, tzinfo=datetime.timezone.utc))
send('PUT', base + href, task.to_ical(), {'Content-Type': 'text/calendar'})
new = icalendar.Calendar()
new.add('prodid', '-//Test phone//EN')
new.add('version', '2.0')
todo = icalendar.Todo()
todo.add('uid', 'phone-task-1')
todo.add('dtstamp', datetime.datetime(2026, 3, 2, 9, 0, tzinfo=datetime.timezone.utc))
todo.add('summary', 'Ring the plumber about the boiler')
todo.add('priority', 1)
new.add_component(todo)
send('PUT', base + folder + 'phone-task-1.ics', new.to_ical(), {'Content-Type': 'text/calendar'})
)");
    QProcess python;
    python.start(QString::fromLatin1(Radicale::kPython),
                 {QStringLiteral("-c"), phone, radicale.url(QString()).toString(), ticked, server.tasks.path()});
    QVERIFY(python.waitForFinished(20000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());

    const SyncReport report = sync(desk);
    QCOMPARE(report.exitCode(), 0);
    QCOMPARE(report.received, 2);
    // The ticked task marks its message done; the phone's own task is a new open message, and says so.
    QCOMPARE(report.arrived.size(), 1);
    QCOMPARE(report.arrived.first().from, QString());
    QCOMPARE(desk.rows(QStringLiteral("SELECT m.Hodaa, s.done, s.urgent FROM tblMes m JOIN tovrin_message s ON "
                                      "s.message = m.rowid ORDER BY m.Hodaa")),
             (QStringList{QStringLiteral("Please call back about order 1|0|0"),
                          QStringLiteral("Please call back about order 2|1|0"),
                          QStringLiteral("Ring the plumber about the boiler|0|1")}));
    QCOMPARE(QString::number(report.arrived.first().message),
             desk.rows(QStringLiteral("SELECT ID FROM tblMes WHERE Hodaa LIKE 'Ring%'")).value(0));
}

void tst_TaskSync::twoDesksConverge()
{
    Radicale radicale;
    QVERIFY(radicale.port());
    const Server server = withTaskList(radicale);
    TempDatabase front;
    TempDatabase back;
    setUp(front, server);
    setUp(back, server);
    for (int i = 0; i < 3; ++i)
        addMessage(front, i);
    QCOMPARE(sync(front).exitCode(), 0);
    QCOMPARE(sync(back).received, 3);
    QCOMPARE(log(back), log(front));

    // Each desk changes something of its own, and both the same message's text; the server's (first in) stays.
    QCOMPARE(back.exec(QStringLiteral("UPDATE tovrin_message SET done = 1, done_at = '2026-03-03T08:00:00Z' WHERE "
                                      "Hodaa LIKE '%order 0'")),
             SQLITE_OK);
    addMessage(back, 7);
    QCOMPARE(back.exec(QStringLiteral("UPDATE tblMes SET Hodaa = 'Back desk text' WHERE Hodaa LIKE '%order 2'")),
             SQLITE_OK);
    QCOMPARE(front.exec(QStringLiteral("UPDATE tblMes SET Hodaa = 'Front desk text' WHERE Hodaa LIKE '%order 2'")),
             SQLITE_OK);
    QCOMPARE(front.exec(QStringLiteral("DELETE FROM tblMes WHERE Hodaa LIKE '%order 1'")), SQLITE_OK);
    QCOMPARE(sync(front).exitCode(), 0);
    const SyncReport report = sync(back);
    QCOMPARE(report.exitCode(), 1);
    QVERIFY2(report.lines.join(QLatin1Char('\n'))
                 .contains(QLatin1String("the message was changed here and on the "
                                         "server")),
             qPrintable(report.summary()));
    QCOMPARE(sync(front).exitCode(), 0);
    QCOMPARE(log(back), log(front));
    QCOMPARE(log(front), (QStringList{QStringLiteral("2026-03-03|10:02:00|Dana Levin 2|Yossi|Front desk text|0|0"),
                                      QStringLiteral("2026-03-01|10:00:00|Dana Levin 0|Yossi|Please call back about "
                                                     "order 0|1|0"),
                                      QStringLiteral("2026-03-08|10:07:00|Dana Levin 7|Yossi|Please call back about "
                                                     "order 7|0|0")}));
    QCOMPARE(tasksOn(server).size(), 3);
}

void tst_TaskSync::killedMidwayConverges_data()
{
    QTest::addColumn<int>("cutAt"); // requests answered before the one whose answer is lost
    for (int cut : {2, 3, 4, 9, 14})
        QTest::addRow("after %d requests", cut) << cut;
}

void tst_TaskSync::killedMidwayConverges()
{
    QFETCH(int, cutAt);
    Radicale radicale;
    QVERIFY(radicale.port());
    const Server server = withTaskList(radicale);
    TempDatabase desk;
    setUp(desk, server);
    for (int i = 0; i < 12; ++i)
        addMessage(desk, i);
    Recorder cut;
    cut.cutAt = cutAt;
    QVERIFY(!sync(desk, &cut).error.isEmpty());
    QCOMPARE(sync(desk).exitCode(), 0);
    QCOMPARE(tasksOn(server).size(), 12);
    TempDatabase other;
    setUp(other, server);
    QCOMPARE(sync(other).received, 12);
    QCOMPARE(log(other), log(desk));
    QCOMPARE(desk.count(QStringLiteral("tblMes")), 12);
}

// The list emptied on the server (a phone's app wiped it): nothing is deleted here until the user says so.
void tst_TaskSync::emptiedListAsks()
{
    Radicale radicale;
    QVERIFY(radicale.port());
    const Server server = withTaskList(radicale);
    TempDatabase desk;
    setUp(desk, server);
    for (int i = 0; i < 4; ++i)
        addMessage(desk, i);
    QCOMPARE(sync(desk).sent, 4);
    DavClient phone(server.root, QStringLiteral("alice"), QStringLiteral("secret"));
    for (const QString& href : tasksOn(server).keys())
        QCOMPARE(phone.send("DELETE", server.tasks.resolved(QUrl(href))).status, 200);

    const SyncReport held = sync(desk);
    QCOMPARE(held.exitCode(), 2);
    QCOMPARE(held.held.size(), 1);
    QCOMPARE(held.held.first().count, 4);
    QCOMPARE(desk.count(QStringLiteral("tblMes")), 4);
    QCOMPARE(tasksOn(server).size(), 0);

    SyncRun::Options deleting;
    deleting.deleteHere = QStringList{server.tasks.toString()};
    const SyncReport deleted = sync(desk, nullptr, deleting);
    QCOMPARE(deleted.exitCode(), 0);
    QCOMPARE(deleted.removedHere, 4);
    QCOMPARE(desk.count(QStringLiteral("tblMes")), 0);
}

// A task larger than the sync takes is one line of the report; the rest syncs.
void tst_TaskSync::aTaskTooLargeIsLeftOut()
{
    Radicale radicale;
    QVERIFY(radicale.port());
    const Server server = withTaskList(radicale);
    DavClient phone(server.root, QStringLiteral("alice"), QStringLiteral("secret"));
    MessageTask::Message message;
    message.to = QStringLiteral("Yossi");
    for (const int size : {20, 20000}) {
        message.uid = QStringLiteral("phone-%1").arg(size);
        message.text = QString(size, QLatin1Char('x'));
        QCOMPARE(phone
                     .send("PUT", server.tasks.resolved(QUrl(message.uid + QStringLiteral(".ics"))),
                           MessageTask::created(message, QDateTime::currentDateTime()),
                           {{"Content-Type", "text/calendar"}})
                     .status,
                 201);
    }
    TempDatabase desk;
    setUp(desk, server);
    SyncRun::Options small;
    small.cardBytes = 8192;
    const SyncReport report = sync(desk, nullptr, small);
    QCOMPARE(report.exitCode(), 1);
    QCOMPARE(report.lines.size(), 1);
    QVERIFY2(report.lines.first().contains(QLatin1String("phone-20000.ics")), qPrintable(report.summary()));
    QCOMPARE(desk.rows(QStringLiteral("SELECT length(Hodaa) FROM tblMes")), QStringList{QStringLiteral("20")});
}

// One run against another server: no authentication, its own XML prefixes and sync tokens.
void tst_TaskSync::xandikos()
{
    if (!Xandikos::available() && !qEnvironmentVariableIsSet("TOVRIN_REQUIRE_RADICALE"))
        QSKIP("Xandikos is not installed (apt-get install xandikos).");
    Xandikos xandikos;
    QVERIFY(xandikos.port());
    const Server server =
        withTaskList(xandikos.url(QStringLiteral("/user/")), QStringLiteral("/user/contacts/addressbook/"),
                     QStringLiteral("/user/contacts/addressbook/"));
    QVERIFY(server.tasks.isValid() && !server.tasks.isEmpty());
    TempDatabase front;
    TempDatabase back;
    setUp(front, server);
    setUp(back, server);
    for (int i = 0; i < 3; ++i)
        addMessage(front, i);
    QCOMPARE(sync(front).summary(), QStringLiteral("0 received, 0 deleted here, 3 sent, 0 deleted on the server."));
    QCOMPARE(sync(back).received, 3);
    QCOMPARE(back.exec(QStringLiteral("UPDATE tovrin_message SET done = 1 WHERE Hodaa LIKE '%order 1'")), SQLITE_OK);
    QCOMPARE(sync(back).sent, 1);
    QCOMPARE(sync(front).received, 1);
    QCOMPARE(log(front), log(back));
    QCOMPARE(front.rows(QStringLiteral("SELECT count(*) FROM tovrin_message WHERE done = 1")),
             QStringList{QStringLiteral("1")});
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!Radicale::available()) {
        // CI installs it: there a missing server is a failure, not a skip.
        std::fputs("Radicale is not installed (apt-get install radicale).\n", stderr);
        return qEnvironmentVariableIsSet("TOVRIN_REQUIRE_RADICALE") ? 1 : 77;
    }
    tst_TaskSync test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tasksync.moc"
