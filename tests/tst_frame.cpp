// The frame window, the window switch, the start-up failure path, and what the frame and its dialogs say.
#include "EventCounter.h"
#include "ScriptedServer.h"
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/ErrorPath.h"
#include "app/MDIForm1.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/SyncScheduler.h"
#include "app/SyncSettingsDialog.h"
#include "app/SyncWindows.h"
#include "app/WindowSwitch.h"
#include "app/WorkingWindow.h"
#include "data/Backups.h"
#include "data/Database.h"
#include "sync/Credentials.h"
#include "sync/SyncFile.h"
#include "sync/SyncReport.h"
#include "sync/SyncRun.h"
#include "sync/SyncSettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QtTest>

namespace {

// A working window that counts its loads and can be made to fail loading.
class ProbeWindow : public WorkingWindow
{
public:
    static inline int loads = 0;
    static inline bool failLoad = false;

    void Form_Load() override
    {
        ++loads;
        if (failLoad)
            throw DbError(14, QStringLiteral("Cannot open the database file \"%1\".").arg(Module1::databasePath()));
        setBoundsTwips(6600, 200, 5000, 7600);
    }
    QString caption() const override { return QStringLiteral("Probe"); }
    Border border() const override { return Border::FixedSingle; }
};

} // namespace

class TestFrame : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"probe", [] { return new ProbeWindow; }}});
    }
    void init()
    {
        ProbeWindow::loads = 0;
        ProbeWindow::failLoad = false;
        WindowTest::startTest();
    }

    void frameLooksAsDesigned()
    {
        MDIForm1 frame;
        QCOMPARE(frame.windowTitle(), QStringLiteral("Tovrin"));
        const auto sizes = frame.windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(!frame.menuWidget());
        // The status line lies beneath the client area, outside the working windows.
        QCOMPARE(frame.findChildren<QStatusBar*>().size(), 1);
        QVERIFY(!frame.mdiArea()->isAncestorOf(frame.statusBar()));
        QVERIFY(frame.findChildren<QToolBar*>().isEmpty());

        // The picture is drawn once, in the middle, on black: the corners stay black, the middle does not.
        frame.resize(1200, 900);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QImage shot = frame.mdiArea()->viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(2, 2), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(shot.width() - 3, shot.height() - 3), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(shot.width() / 2 - 219 - 5, shot.height() / 2), QColor(Qt::black));
        int lit = 0;
        for (int x = shot.width() / 2 - 200; x < shot.width() / 2 + 200; x += 10)
            lit += shot.pixelColor(x, shot.height() / 2).value() > 20;
        QVERIFY(lit > 0);
    }

    void workingWindowFollowsTheFirstPaint()
    {
        // Start-up shows the frame before the directory window reads the file: the work waits for the frame's
        // first paint to be over, runs once, and only then.
        MDIForm1 frame;
        EventCounter paints(QEvent::Paint);
        frame.mdiArea()->viewport()->installEventFilter(&paints);
        int runs = 0;
        int paintsBefore = -1;
        frame.afterFirstPaint([&] {
            ++runs;
            paintsBefore = paints.count;
        });
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0);
        frame.resize(800, 600);
        frame.show();
        QTRY_COMPARE(runs, 1);
        QVERIFY(paintsBefore >= 1);
        frame.resize(900, 700);
        frame.mdiArea()->viewport()->repaint();
        QTest::qWait(50);
        QVERIFY(paints.count > 1);
        QCOMPARE(runs, 1);
    }

    void switchUnloadsAndLoadsAfresh()
    {
        TempDatabase db;
        Module1::setProgramDirForTesting(db.dir());
        MDIForm1 frame;
        WindowSwitch::setFrame(&frame);
        // Room for the window at its designed bounds.
        frame.resize(1000, 800);
        frame.show();

        QPointer<WorkingWindow> first = WindowSwitch::show(QStringLiteral("probe"));
        QVERIFY(first);
        QCOMPARE(ProbeWindow::loads, 1);
        QMdiSubWindow* sub = first->subWindow();
        QVERIFY(sub);
        // A caption, and no system menu or buttons to close, shrink or grow it.
        QCOMPARE(sub->windowTitle(), QStringLiteral("Probe"));
        QVERIFY(!(sub->windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(!(sub->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(sub->geometry(), QRect(440, 13, 333, 507));

        QPointer<WorkingWindow> second = WindowSwitch::switchTo(first, QStringLiteral("probe"));
        QVERIFY(second);
        QVERIFY(second != first);
        QCOMPARE(ProbeWindow::loads, 2);
        QTRY_VERIFY(!first); // destroyed with its controls
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(WindowSwitch::current(), second.data());
        WindowSwitch::setFrame(nullptr);
    }

    void smallFrameKeepsWindowsInsideAndRemembersItsPlace()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        TempDatabase db;
        Module1::setProgramDirForTesting(db.dir());
        QRect left;
        {
            MDIForm1 frame;
            WindowSwitch::setFrame(&frame);
            frame.showFillingScreen();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            // Past the moment the frame checks whether anything maximized it.
            QTest::qWait(400);
            frame.setWindowState(Qt::WindowNoState);
            frame.setGeometry(60, 50, 400, 300);
            QTRY_COMPARE(frame.geometry(), QRect(60, 50, 400, 300));
            // The fixed window of 333 x 507 pixels at (440, 13) is moved and shrunk into the small client area,
            // a scroll bar wider.
            WorkingWindow* probe = WindowSwitch::show(QStringLiteral("probe"));
            QVERIFY(probe);
            const QSize room = frame.mdiArea()->viewport()->size();
            const int width = 333 + frame.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            QTRY_COMPARE(probe->subWindow()->geometry(), QRect(QPoint(400 - width, 0), QSize(width, room.height())));
            // Given room again, it stands where designed.
            frame.resize(1000, 800);
            QTRY_COMPARE(probe->subWindow()->geometry(), QRect(440, 13, 333, 507));
            frame.resize(400, 300);
            left = frame.geometry();
            frame.close();
            WindowSwitch::setFrame(nullptr);
        }
        MDIForm1 again;
        again.showFillingScreen();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QTRY_COMPARE(again.geometry(), left);
        QVERIFY(!(again.windowState() & Qt::WindowMaximized));
    }

    void statusLineShowsHowTheSyncStands_data()
    {
        QTest::addColumn<bool>("notSetUp");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("shown"); // a regular expression
        QTest::addColumn<qint64>("done");   // a sync that runs: cards read of 338 (-1: the report of one that ended)
        QTest::newRow("no server") << true << QString() << "^$" << qint64(-1);
        QTest::newRow("synced") << false << QString() << "^Last synced at .+: 3 received, 2 sent$" << qint64(-1);
        QTest::newRow("failed") << false << "The server did not answer."
                                << "^Sync failed at .+: The server did not answer\\.$" << qint64(-1);
        QTest::newRow("syncing") << false << QString() << "^Syncing Personal: 120 of 338 cards\\.\\.\\.$"
                                 << qint64(120);
    }
    void statusLineShowsHowTheSyncStands()
    {
        QFETCH(bool, notSetUp);
        QFETCH(QString, error);
        QFETCH(QString, shown);
        QFETCH(qint64, done);
        MDIForm1 frame;
        frame.followSync();
        if (done >= 0) {
            emit SyncScheduler::instance().progress(QStringLiteral("Personal"), done, 338);
            QVERIFY2(QRegularExpression(shown).match(frame.syncState()).hasMatch(), qPrintable(frame.syncState()));
            return;
        }
        SyncReport report;
        report.notSetUp = notSetUp;
        report.error = error;
        report.received = 2;
        report.removedHere = 1;
        report.sent = 2;
        frame.showSyncReport(report);
        QVERIFY2(QRegularExpression(shown).match(frame.syncState()).hasMatch(), qPrintable(frame.syncState()));
    }

    // Where no keyring answers (no session bus here), the password goes to the user's own file, and the note that
    // says so carries no "(Unknown error)" from the keyring library.
    void passwordWithoutKeyringSaysWhy()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("TOVRIN_CREDENTIALS");
        const Credentials::Kept kept = Credentials::store(QStringLiteral("ann@127.0.0.1"), QStringLiteral("secret"));
        if (kept.where == QLatin1String("the desktop keyring"))
            QSKIP("a desktop keyring answered");
        QVERIFY(kept.ok);
        QVERIFY2(!kept.note.isEmpty() && !kept.note.contains(QLatin1String("Unknown error")), qPrintable(kept.note));
        QCOMPARE(Credentials::read(QStringLiteral("ann@127.0.0.1")), QStringLiteral("secret"));
        // Readable by the user alone.
        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(kept.where) & others, QFileDevice::Permissions());
    }

    // An address book that comes back empty: the windows' own sync asks what to do with the entries it no longer
    // lists, and each answer does to the file what its button says.
    void emptiedAddressBookIsAskedAbout_data()
    {
        QTest::addColumn<int>("answer"); // -1: the default button
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("onServer");
        QTest::addColumn<bool>("paused");
        QTest::addColumn<int>("copies"); // "before sync" copies of the file
        QTest::newRow("Keep Them Here (default)") << -1 << 12 << 0 << true << 0;
        QTest::newRow("Send Them Again") << 1 << 12 << 12 << false << 0;
        QTest::newRow("Delete Them Here") << 2 << 0 << 0 << false << 1;
    }
    void emptiedAddressBookIsAskedAbout()
    {
        QFETCH(int, answer);
        QFETCH(int, entries);
        QFETCH(int, onServer);
        QFETCH(bool, paused);
        QFETCH(int, copies);
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("TOVRIN_CREDENTIALS");
        TempDatabase db;
        Module1::setProgramDirForTesting(db.dir());
        const QString path = QStringLiteral("/alice/contacts/");
        ScriptedServer server;
        server.addBook(path);
        for (int i = 0; i < 12; ++i)
            server.put(path + QStringLiteral("card-%1.vcf").arg(i),
                       QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:Dana Family%1\r\n"
                                      "N:Family%1;Dana;;;\r\nEND:VCARD\r\n")
                           .arg(i)
                           .toUtf8());
        const SyncSettings settings{server.url(QStringLiteral("/")), QStringLiteral("alice"), server.url(path),
                                    server.url(path), QString()};
        {
            const auto file = Database::open(db.path());
            settings.write(*file);
        }
        QVERIFY(Credentials::store(settings.account(), QStringLiteral("secret")).ok);
        SyncFile::setTransportForTesting(&server);
        const auto network = qScopeGuard([] { SyncFile::setTransportForTesting(nullptr); });
        SyncScheduler& scheduler = SyncScheduler::instance();
        int runs = scheduler.finishedRuns();
        QSignalSpy told(&scheduler, &SyncScheduler::progress);
        scheduler.runNow();
        ++runs;
        QTRY_VERIFY_WITH_TIMEOUT(scheduler.finishedRuns() >= runs && !scheduler.isRunning(), 60000);
        QCOMPARE(db.count(QStringLiteral("tblTel")), 12);
        QCOMPARE(told.value(told.size() - 1), QVariantList({QStringLiteral("contacts"), qint64(12), qint64(12)}));

        QWidget window;
        int refreshed = 0;
        SyncWindows::actions(&window, [&refreshed] { ++refreshed; });
        server.empty(path);
        MessageBox::takeMessages();
        MessageBox::setNextChoice(answer);
        scheduler.runNow();
        ++runs;
        QTRY_VERIFY_WITH_TIMEOUT(scheduler.finishedRuns() >= runs && !scheduler.isRunning(), 60000);
        const QStringList asked = MessageBox::takeMessages();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].contains(QLatin1String(" 12 ")) && asked[0].contains(server.url(path).toDisplayString()),
                 qPrintable(asked[0]));
        if (answer > 0)
            ++runs;
        QTRY_VERIFY_WITH_TIMEOUT(scheduler.finishedRuns() >= runs && !scheduler.isRunning(), 60000);
        QVERIFY(!scheduler.isRunning());

        QCOMPARE(db.count(QStringLiteral("tblTel")), entries);
        QCOMPARE(server.books[path].cards.size(), onServer);
        {
            const auto file = Database::open(db.path());
            QCOMPARE(SyncRun::paused(*file, server.url(path).toString()), paused);
        }
        QCOMPARE(QDir(Backups::folderOf(db.path())).entryList({QStringLiteral("*before sync.mdb")}, QDir::Files).size(),
                 copies);
        QCOMPARE(refreshed, answer == 2 ? 1 : 0);
        QCOMPARE(MessageBox::takeMessages(), QStringList());
    }

    // "Sync Settings..." offers the task lists found (never a calendar of events), a new "Messages" where there is
    // none of that name, or none; OK keeps the one chosen, made first when new.
    void syncSettingsChooseTheTaskList_data()
    {
        QTest::addColumn<QStringList>("calendars"); // path, then the components it takes
        QTest::addColumn<int>("choice");            // -1: as offered
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("made");
        const QString none = QStringLiteral("None: the messages do not sync");
        QTest::newRow("the list of that name") << QStringList{"/alice/messages/ VTODO", "/alice/events/ VEVENT"} << -1
                                               << QStringList{"messages", none} << "/alice/messages/" << 0;
        QTest::newRow("only events: a new one")
            << QStringList{"/alice/events/ VEVENT"} << -1 << QStringList{"New task list \"Messages\"", none}
            << "/alice/messages/" << 1;
        QTest::newRow("none chosen") << QStringList{"/alice/messages/ VTODO VEVENT"} << 1
                                     << QStringList{"messages", none} << "" << 0;
    }
    void syncSettingsChooseTheTaskList()
    {
        QFETCH(QStringList, calendars);
        QFETCH(int, choice);
        QFETCH(QStringList, offered);
        QFETCH(QString, kept);
        QFETCH(int, made);
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("TOVRIN_CREDENTIALS");
        TempDatabase db;
        Module1::setProgramDirForTesting(db.dir());
        ScriptedServer server;
        server.addBook(QStringLiteral("/alice/personal/"));
        server.addBook(QStringLiteral("/alice/business/"));
        for (const QString& calendar : calendars)
            server.addCalendar(calendar.section(QLatin1Char(' '), 0, 0), calendar.split(QLatin1Char(' ')).mid(1));
        SyncFile::setTransportForTesting(&server);
        SyncScheduler& scheduler = SyncScheduler::instance();
        const auto network = qScopeGuard([] { SyncFile::setTransportForTesting(nullptr); });

        SyncSettingsDialog dialog;
        dialog.txtServer->setText(server.url(QStringLiteral("/")).toString());
        dialog.txtUser->setText(QStringLiteral("alice"));
        dialog.txtPassword->setText(QStringLiteral("secret"));
        QTest::mouseClick(dialog.cmdFind, Qt::LeftButton);
        QStringList shown;
        for (int i = 0; i < dialog.cmbTasks->count(); ++i)
            shown << dialog.cmbTasks->itemText(i);
        QCOMPARE(shown, offered);
        QCOMPARE(dialog.cmbTasks->currentIndex(), 0);
        if (choice >= 0)
            dialog.cmbTasks->setCurrentIndex(choice);
        QVERIFY(dialog.cmdOK->isEnabled());
        const int runs = scheduler.finishedRuns();
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        MessageBox::takeMessages(); // where the password is kept
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // OK starts a sync on the settings kept.
        QTRY_VERIFY_WITH_TIMEOUT(scheduler.finishedRuns() > runs && !scheduler.isRunning(), 60000);
        QCOMPARE(server.sent("MKCALENDAR").size(), made);
        const auto file = Database::open(db.path());
        QCOMPARE(SyncSettings::read(*file).tasks.path(), kept);
    }

    void loadFailureIsReportedAndEnds()
    {
        QTemporaryDir empty;
        Module1::setProgramDirForTesting(empty.path());
        MDIForm1 frame;
        WindowSwitch::setFrame(&frame);
        ProbeWindow::failLoad = true;
        QVERIFY(!WindowSwitch::show(QStringLiteral("probe")));
        QVERIFY(ErrorPath::hasEnded());
        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith(QStringLiteral("Error 14")));
        QVERIFY(messages.first().contains(Module1::databasePath()));
        QTRY_COMPARE(frame.mdiArea()->subWindowList().size(), 0);
        WindowSwitch::setFrame(nullptr);
    }

    void programFolderIsReadFromItsBytes_data()
    {
        QTest::addColumn<QByteArray>("programFile");
        QTest::addColumn<QString>("folder"); // empty: the folder cannot be named
        QTest::addColumn<QString>("shown");  // how the problem shows the folder

        QTest::newRow("plain") << QByteArray("/opt/tovrin/tovrin") << QStringLiteral("/opt/tovrin") << QString();
        QTest::newRow("Hebrew") << QByteArray("/home/\xD7\x93\xD7\x9F/tovrin") << QStringLiteral("/home/\u05D3\u05DF")
                                << QString();
        QTest::newRow("the root folder") << QByteArray("/tovrin") << QStringLiteral("/") << QString();
        QTest::newRow("a replacement character typed in the name")
            << QByteArray("/tmp/\xEF\xBF\xBD/tovrin") << QStringLiteral("/tmp/\uFFFD") << QString();
        QTest::newRow("no text only in the program's own name")
            << QByteArray("/opt/tovrin/tov\xFFrin") << QStringLiteral("/opt/tovrin") << QString();

        QTest::newRow("Latin-1") << QByteArray("/home/caf\xE9/tovrin") << QString()
                                 << QStringLiteral("\"/home/caf\\xE9\"");
        QTest::newRow("overlong slash") << QByteArray("/tmp/a\xC0\xAFz/tovrin") << QString()
                                        << QStringLiteral("\"/tmp/a\\xC0\\xAFz\"");
        QTest::newRow("encoded surrogate")
            << QByteArray("/tmp/\xED\xA0\x80/tovrin") << QString() << QStringLiteral("\"/tmp/\\xED\\xA0\\x80\"");
        QTest::newRow("no path (the system did not tell)") << QByteArray() << QString() << QString();
    }

    void programFolderIsReadFromItsBytes()
    {
        QFETCH(QByteArray, programFile);
        QFETCH(QString, folder);
        QFETCH(QString, shown);

        const Module1::ProgramFolder found = Module1::programFolderOf(programFile);
        QCOMPARE(found.path, folder);
        // A folder that cannot be named is explained, never replaced by another.
        QCOMPARE(found.problem.isEmpty(), !folder.isEmpty());
        if (!shown.isEmpty())
            QVERIFY2(found.problem.contains(shown), qPrintable(found.problem));
    }
};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
