// The desktop's notice of messages a sync brought, against a notification service of the test's own on a session
// bus of its own (a dbus-daemon the test starts with no service files, so nothing real is ever started or shown).
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/MDIForm1.h"
#include "app/MessageNotice.h"
#include "app/Module1.h"
#include "app/SyncScheduler.h"
#include "app/WindowSwitch.h"
#include "entry/frmAdd.h"
#include "messages/LogFilterBar.h"
#include "messages/MessageReader.h"
#include "messages/frmMes.h"
#include "sync/SyncReport.h"

#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/prctl.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// The desktop's notification service: what it was asked to show.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Note
    {
        QString app;
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Note> notes;

public Q_SLOTS:
    uint Notify(const QString& app, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int)
    {
        notes.append({app, summary, body, actions});
        return 40 + static_cast<uint>(notes.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
};

// Stands in for the directory window.
class StandIn : public WorkingWindow
{
public:
    void Form_Load() override {}
    QString caption() const override { return QString(); }
    Border border() const override { return Border::None; }
};

SyncReport arrived(const QList<SyncReport::Arrived>& messages)
{
    SyncReport report;
    report.arrived = messages;
    return report;
}

} // namespace

class TestMessageNotice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new StandIn; }},
                                  {"frmMes", [] { return new frmMes; }},
                                  {"frmAdd", [] { return new frmAdd; }}});
        QVERIFY(m_busDir.isValid());
        const QString config = m_busDir.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                  "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                  "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
                       .arg(m_busDir.path())
                       .toUtf8());
        file.close();
        // The bus ends with the test, also when the test crashes.
        m_daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                       QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon did not start");
        QTRY_VERIFY(m_daemon.canReadLine());
        const QString address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_appBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, QStringLiteral("app")));
        m_serviceBus =
            std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, QStringLiteral("service")));
        QVERIFY(m_appBus->isConnected() && m_serviceBus->isConnected());
        QVERIFY(m_serviceBus->registerObject(kPath, &m_service, QDBusConnection::ExportAllSlots));
    }
    void cleanupTestCase()
    {
        m_appBus.reset();
        m_serviceBus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("app"));
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    void init()
    {
        WindowTest::startTest();
        m_service.notes.clear();
        QVERIFY(m_serviceBus->registerService(kService));
    }
    void cleanup() { m_serviceBus->unregisterService(kService); }

    // One message is named in the summary; several are counted, and the first is named. A name is never read as
    // markup. A sync that brought nothing open shows nothing.
    void noticeNamesFromAndTo_data()
    {
        QTest::addColumn<QList<SyncReport::Arrived>>("messages");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("body");
        QTest::newRow("one") << QList<SyncReport::Arrived>{{7, "Dana Levi", "Avi"}} << "Message for Avi from Dana Levi"
                             << "New in the message log.";
        QTest::newRow("three") << QList<SyncReport::Arrived>{{7, "Dana", "Avi"}, {8, "Bo", "Ruth"}, {9, "Cy", "Avi"}}
                               << "3 new messages"
                               << "The first is for Avi from Dana.";
        QTest::newRow("names like markup")
            << QList<SyncReport::Arrived>{{7, "<b>Bo & Co</b>", "Avi"}, {8, "Cy", "Avi"}} << "2 new messages"
            << "The first is for Avi from &lt;b&gt;Bo &amp; Co&lt;/b&gt;.";
        QTest::newRow("no names") << QList<SyncReport::Arrived>{{7, " ", ""}} << "Message for (no name) from (no name)"
                                  << "New in the message log.";
    }
    void noticeNamesFromAndTo()
    {
        QFETCH(QList<SyncReport::Arrived>, messages);
        QFETCH(QString, summary);
        QFETCH(QString, body);
        MessageNotice notice(*m_appBus, nullptr);
        Q_EMIT SyncScheduler::instance().finished(SyncReport());
        Q_EMIT SyncScheduler::instance().finished(arrived(messages));
        // The bus keeps the order of the calls: a notice of the empty report would have come first.
        QTRY_COMPARE(m_service.notes.size(), 1);
        const FakeNotifications::Note note = m_service.notes.first();
        QCOMPARE(note.app, QStringLiteral("Tovrin"));
        QCOMPARE(note.summary, summary);
        QCOMPARE(note.body, body);
        QCOMPARE(note.actions.value(0), QStringLiteral("default"));
    }

    // Clicking the notice brings the log with the message selected and read whole, whatever the frame showed; a
    // window holding what the user typed stays, and the status line names the message.
    void clickShowsTheMessage_data()
    {
        QTest::addColumn<QString>("showing");
        QTest::addColumn<bool>("shown");
        QTest::newRow("directory") << "frmMain" << true;
        QTest::newRow("log filtered for someone else") << "frmMes" << true;
        QTest::newRow("entry window, nothing typed") << "frmAdd" << true;
        QTest::newRow("entry window with typing") << "frmAdd typing" << false;
        QTest::newRow("log's entry view with typing") << "frmMes typing" << false;
    }
    void clickShowsTheMessage()
    {
        QFETCH(QString, showing);
        QFETCH(bool, shown);
        TempDatabase db;
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES "
                                        "('2026-03-03', '10:00:00', 'Al', 'Ruth', 'The order came'), "
                                        "('2026-03-01', '10:00:00', 'Bo', 'Avi', 'Call back about the chairs'), "
                                        "('2026-03-02', '10:00:00', 'Cy', 'Ruth', 'Invoice')")),
                 SQLITE_OK);
        Module1::setProgramDirForTesting(db.dir());
        MDIForm1 frame;
        WindowSwitch::setFrame(&frame);
        frame.resize(1400, 900);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        WorkingWindow* before = WindowSwitch::show(showing.section(QLatin1Char(' '), 0, 0));
        if (auto* log = qobject_cast<frmMes*>(before)) {
            log->filterBar()->cmbFor->setCurrentIndex(log->filterBar()->cmbFor->findText(QStringLiteral("Ruth")));
            QCOMPARE(log->dbgMes->view()->model()->rowCount(), 2);
            if (showing.endsWith(QLatin1String("typing"))) {
                QTest::mouseClick(log->cmdAdd, Qt::LeftButton);
                QTest::keyClicks(log->txtMeet, QStringLiteral("Half a name"));
            }
        }
        if (auto* entry = qobject_cast<frmAdd*>(before); entry && showing.endsWith(QLatin1String("typing")))
            QTest::keyClicks(entry->txtFname, QStringLiteral("Half a name"));
        frame.showMinimized();

        MessageNotice notice(*m_appBus, nullptr);
        Q_EMIT SyncScheduler::instance().finished(arrived({{2, QStringLiteral("Bo"), QStringLiteral("Avi")}}));
        QTRY_COMPARE(m_service.notes.size(), 1);
        // Another program's notice, and another action of ours, leave the frame alone.
        invoke(40, QStringLiteral("default"));
        invoke(41, QStringLiteral("dismiss"));
        invoke(41, QStringLiteral("default"));
        if (shown) {
            // The log shown now (a filtered one is replaced by a fresh one) reads the message.
            const auto reader = [] {
                auto* now = qobject_cast<frmMes*>(WindowSwitch::current());
                return now ? now->findChild<MessageReader*>() : nullptr;
            };
            QTRY_VERIFY(reader());
            auto* log = static_cast<frmMes*>(WindowSwitch::current());
            QVERIFY(log->filterBar()->filter().forName.isEmpty());
            // Read once: the other notices' clicks were not this one's.
            QCOMPARE(log->findChildren<MessageReader*>().size(), 1);
            QCOMPARE(log->findChild<MessageReader*>()->findChild<QLabel*>(QStringLiteral("lblFrom"))->text(),
                     QStringLiteral("From: Bo"));
            QTableView* grid = log->dbgMes->view();
            QCOMPARE(grid->model()->index(grid->currentIndex().row(), 2).data().toString(), QStringLiteral("Bo"));
            QVERIFY(!(frame.windowState() & Qt::WindowMinimized));
        } else {
            QTRY_VERIFY(frame.statusBar()->currentMessage().contains(QLatin1String("Avi")));
            QCOMPARE(frame.statusBar()->currentMessage(),
                     QStringLiteral("The message for Avi from Bo is in the message log."));
            QCOMPARE(WindowSwitch::current(), before);
            if (auto* log = qobject_cast<frmMes*>(before))
                QCOMPARE(log->txtMeet->text(), QStringLiteral("Half a name"));
            if (auto* entry = qobject_cast<frmAdd*>(before))
                QCOMPARE(entry->txtFname->text(), QStringLiteral("Half a name"));
        }
        if (WindowSwitch::current())
            WindowSwitch::current()->unload();
        WindowSwitch::setFrame(nullptr);
    }

    // With no notification service, or no session bus at all, a sync's messages show nothing and say nothing; a
    // service that comes later is used.
    void noServiceNothingHappens()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        m_serviceBus->unregisterService(kService);
        MessageNotice notice(*m_appBus, nullptr);
        // The user's own session bus, as the program finds it, is one that is gone.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_busDir.filePath(QStringLiteral("gone")).toUtf8());
        MessageNotice nowhere(nullptr);
        Q_EMIT SyncScheduler::instance().finished(arrived({{1, QStringLiteral("Al"), QStringLiteral("Ruth")}}));
        QVERIFY(m_serviceBus->registerService(kService));
        Q_EMIT SyncScheduler::instance().finished(arrived({{2, QStringLiteral("Bo"), QStringLiteral("Avi")}}));
        QTRY_COMPARE(m_service.notes.size(), 1);
        QCOMPARE(m_service.notes.first().summary, QStringLiteral("Message for Avi from Bo"));
    }

private:
    void invoke(uint id, const QString& action)
    {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
        signal << id << action;
        QVERIFY(m_serviceBus->send(signal));
    }

    QTemporaryDir m_busDir;
    QProcess m_daemon;
    std::unique_ptr<QDBusConnection> m_appBus;
    std::unique_ptr<QDBusConnection> m_serviceBus;
    FakeNotifications m_service;
};

QTEST_MAIN(TestMessageNotice)
#include "tst_messagenotice.moc"
