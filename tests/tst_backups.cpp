// The program's own backup copies: made, thinned out by their dates, restored (also under a kill at any moment),
// and offered when the file is found damaged at start.
#include "ProgramCopy.h"
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/BackupCommands.h"
#include "app/DataGrid.h"
#include "app/FileDialogs.h"
#include "app/MDIForm1.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/WindowSwitch.h"
#include "data/Backups.h"
#include "data/Database.h"
#include "data/GridModel.h"
#include "directory/frmMain.h"
#include "messages/frmMes.h"

#include <QAction>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <csignal>

namespace {

const QDate kToday(2026, 12, 8);

void addEntries(TempDatabase& db, int count, const QString& name)
{
    QCOMPARE(db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                    "INSERT INTO tblTel (Category, Lname) SELECT 'Personal', '%2' || i FROM n")
                         .arg(count)
                         .arg(name)),
             SQLITE_OK);
}

qint64 entriesIn(const QString& path)
{
    qint64 entries = -1;
    const QString problem = Backups::problemOf(path, &entries);
    return problem.isEmpty() ? entries : -1;
}

} // namespace

class tst_Backups : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }}, {"frmMes", [] { return new frmMes; }}});
    }

    // "Restore a Backup..." from either window's context menu: the directory window shows the restored entries.
    // A copy of the folder, or "Other File..." (the last item) for a copy made elsewhere, as with --backup.
    void restoreFromWindows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("copy"); // "folder", "elsewhere" or "not a copy"
        QTest::newRow("directory") << QStringLiteral("frmMain") << "folder";
        QTest::newRow("messages") << QStringLiteral("frmMes") << "folder";
        QTest::newRow("other file") << QStringLiteral("frmMain") << "elsewhere";
        QTest::newRow("other file, no directory file") << QStringLiteral("frmMain") << "not a copy";
    }
    void restoreFromWindows()
    {
        QFETCH(QString, window);
        QFETCH(QString, copy);
        MessageBox::takeMessages();
        TempDatabase db;
        addEntries(db, 3, QStringLiteral("Kept "));
        db.close();
        const QString elsewhere = db.dir() + QStringLiteral("/on a stick.mdb");
        if (copy == QLatin1String("folder")) {
            Backups::make(db.path(), QDateTime(kToday.addDays(-1), QTime(8, 0)));
            BackupCommands::setNextChoice(0);
        } else {
            if (copy == QLatin1String("elsewhere"))
                QVERIFY(QFile::copy(db.path(), elsewhere));
            else
                QVERIFY(QFile(elsewhere).open(QIODevice::WriteOnly));
            BackupCommands::setNextChoice(0); // the folder holds no copy: "Other File..." comes first
            FileDialogs::setNextFiles({elsewhere});
        }
        addEntries(db, 5, QStringLiteral("Slip "));
        db.close();
        Module1::setProgramDirForTesting(db.dir());
        MDIForm1 frame;
        WindowSwitch::setFrame(&frame);
        QWidget* shown = WindowSwitch::show(window);
        QVERIFY(shown);
        QAction* restore = nullptr;
        for (QAction* action : shown->findChildren<QAction*>())
            restore = action->text() == QStringLiteral("Restore a Backup...") ? action : restore;
        QVERIFY(restore);
        MessageBox::setNextAnswer(true);
        restore->trigger();
        if (copy == QLatin1String("not a copy")) {
            // The same checks as for any copy: refused with the reason, nothing changed.
            const QStringList said = MessageBox::takeMessages();
            QVERIFY2(said.size() == 1 && said.first().contains(QLatin1String("cannot be restored")),
                     qPrintable(said.join('|')));
            QCOMPARE(entriesIn(db.path()), 8);
            MessageBox::setNextAnswer(false);
            WindowSwitch::current()->unload();
            WindowSwitch::setFrame(nullptr);
            return;
        }
        auto* directory = qobject_cast<frmMain*>(WindowSwitch::current());
        QVERIFY(directory);
        QTRY_COMPARE(directory->dbgPer->model()->rowCount(), 3);
        QCOMPARE(entriesIn(db.path()), 3);
        const QList<Backups::Copy> copies = Backups::list(db.path());
        QCOMPARE(copies.size(), copy == QLatin1String("folder") ? 2 : 1);
        QCOMPARE(copies.first().entries, 8); // what was there, kept first
        WindowSwitch::current()->unload();
        WindowSwitch::setFrame(nullptr);
        Module1::setProgramDirForTesting(QString());
    }

    // Days are offsets back from kToday; "sN" is a copy made before a restore N days ago.
    void rotation_data()
    {
        QTest::addColumn<QStringList>("made");
        QTest::addColumn<QStringList>("kept");
        QStringList month;
        for (int day = 0; day < 30; ++day)
            month << QString::number(day);
        QTest::newRow("a month of dailies") << month << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "14", "21"};
        QTest::newRow("days without a start")
            << QStringList{"0", "1", "2", "3", "4", "5", "6", "8", "9", "20", "27", "35"}
            << QStringList{"0", "1", "2", "3", "4", "5", "6", "8", "20", "27"};
        QTest::newRow("copies before a restore") << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "s2", "s9"}
                                                 << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "s2"};
        QTest::newRow("older than four weeks") << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "40"}
                                               << QStringList{"0", "1", "2", "3", "4", "5", "6", "7"};
        // The eighth daily copy is not its week's newest.
        QTest::newRow("seven dailies") << QStringList{"0", "1", "2", "3", "4", "5", "6", "s7", "8"}
                                       << QStringList{"0", "1", "2", "3", "4", "5", "6", "s7"};
    }
    void rotation()
    {
        QFETCH(QStringList, made);
        QFETCH(QStringList, kept);
        TempDatabase db;
        QHash<QString, QString> named;
        for (const QString& copy : made) {
            const bool before = copy.startsWith(QLatin1Char('s'));
            const QDate day = kToday.addDays(-copy.mid(before ? 1 : 0).toInt());
            QVERIFY(Backups::dailyDue(db.path(), day) || before);
            named.insert(Backups::make(db.path(), QDateTime(day, QTime(13, 0)), before ? "before restore" : QString()),
                         copy);
            QVERIFY(before || !Backups::dailyDue(db.path(), day));
        }
        Backups::rotate(db.path(), kToday);
        QStringList left;
        for (const Backups::Copy& copy : Backups::list(db.path())) {
            QCOMPARE(copy.problem, QString());
            left << named.value(copy.path);
        }
        std::sort(left.begin(), left.end());
        std::sort(kept.begin(), kept.end());
        QCOMPARE(left, kept);
    }

    void unwritableFolderIsSaidNotFatal()
    {
        TempDatabase db;
        QFile blocker(Backups::folderOf(db.path()));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
        blocker.close();
        const QString said = BackupCommands::daily(db.path(), kToday);
        QVERIFY2(said.contains(QDir::toNativeSeparators(blocker.fileName())), qPrintable(said));
    }

    // The command line: a copy, the list with its counts, a restore that keeps what was there.
    void commandLine()
    {
        TempDatabase db;
        addEntries(db, 3, QStringLiteral("Old"));
        db.close();
        const QString program = db.dir() + QStringLiteral("/tovrin");
        QVERIFY(copyProgram(program));
        const auto run = [&](const QStringList& arguments, QByteArray* out = nullptr) {
            QProcess process;
            process.start(program, arguments);
            process.waitForFinished(60000);
            if (out)
                *out = process.readAllStandardOutput();
            return process.exitCode();
        };
        const QString copy = db.dir() + QStringLiteral("/copy.mdb");
        QCOMPARE(run({QStringLiteral("--backup"), copy}), 0);
        QCOMPARE(run({QStringLiteral("--backup"), db.path()}), 2); // never over the directory itself
        addEntries(db, 4, QStringLiteral("New"));
        db.close();
        QCOMPARE(run({QStringLiteral("--restore"), copy}), 0);
        QCOMPARE(entriesIn(db.path()), 3);
        // The day's copy is named by its day alone; the list gives the time it was made as well.
        const QString daily = Backups::make(db.path(), QDateTime::currentDateTime());
        const QByteArray made =
            QFileInfo(daily).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        QByteArray listed;
        QCOMPARE(run({QStringLiteral("--list-backups")}, &listed), 0);
        QVERIFY2(listed.contains("7 entries, 0 messages") && listed.contains("before restore"), listed.constData());
        QVERIFY2(listed.contains(made + "\t3 entries"), listed.constData());
        QCOMPARE(run({QStringLiteral("--restore"), db.dir() + QStringLiteral("/missing.mdb")}), 2);
        QCOMPARE(entriesIn(db.path()), 3);
    }

    // Only a file of this program is restored: tables of the same names with other columns are refused, from the
    // command line as from the list of copies, and nothing changes.
    void restoreTakesOnlyDirectoryFiles_data()
    {
        QTest::addColumn<QString>("tables");
        QTest::addColumn<QString>("named"); // what the refusal names
        QTest::newRow("other columns") << QStringLiteral("CREATE TABLE tblTel (a); CREATE TABLE tblMes (b)")
                                       << QStringLiteral("tblTel.Category");
        QTest::newRow("a column short")
            << QStringLiteral("CREATE TABLE tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, "
                              "Tel2, Pel); CREATE TABLE tblMes (Cdate, Ctime, Meet, Avur, Hodaa)")
            << QStringLiteral("tblTel.Fax");
    }
    void restoreTakesOnlyDirectoryFiles()
    {
        QFETCH(QString, tables);
        QFETCH(QString, named);
        TempDatabase db;
        addEntries(db, 3, QStringLiteral("Kept "));
        db.close();
        const QString program = db.dir() + QStringLiteral("/tovrin");
        QVERIFY(copyProgram(program));
        QVERIFY(QDir().mkpath(Backups::folderOf(db.path())));
        const QString foreign = Backups::folderOf(db.path()) + QStringLiteral("/Dalvek 2026-12-07.mdb");
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(foreign.toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, tables.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        QProcess restore;
        restore.start(program, {QStringLiteral("--restore"), foreign});
        QVERIFY(restore.waitForFinished(60000));
        QCOMPARE(restore.exitCode(), 2);
        const QString said = QString::fromLocal8Bit(restore.readAllStandardError());
        QVERIFY2(said.contains(named) && said.contains(QStringLiteral("Nothing was changed")), qPrintable(said));
        const QList<Backups::Copy> copies = Backups::list(db.path());
        QCOMPARE(copies.size(), 1); // no copy "before restore" either
        QVERIFY2(copies.first().problem.contains(named), qPrintable(copies.first().problem));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // Killed at any moment, a restore leaves the old contents or the new ones, whole.
    void restoreSurvivesKill()
    {
        TempDatabase db;
        addEntries(db, 40000, QStringLiteral("Backed up "));
        db.close();
        const QString copy = db.dir() + QStringLiteral("/copy.mdb");
        QVERIFY(QFile::copy(db.path(), copy));
        addEntries(db, 20000, QStringLiteral("Later "));
        db.close();
        const QString before = db.dir() + QStringLiteral("/before.mdb");
        QVERIFY(QFile::copy(db.path(), before));
        const QString program = db.dir() + QStringLiteral("/tovrin");
        QVERIFY(copyProgram(program));
        QSet<qint64> seen;
        for (int run = 0; run < 30; ++run) {
            QFile::remove(db.path());
            QVERIFY(QFile::copy(before, db.path()));
            QFile::setPermissions(db.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QProcess restorer;
            restorer.start(program, {QStringLiteral("--restore"), copy});
            QVERIFY(restorer.waitForStarted());
            QTest::qSleep(int(QRandomGenerator::global()->bounded(5, 200)));
            ::kill(pid_t(restorer.processId()), SIGKILL);
            restorer.waitForFinished();
            const qint64 entries = entriesIn(db.path());
            QVERIFY2(entries == 40000 || entries == 60000, qPrintable(QString::number(entries)));
            seen.insert(entries);
        }
        qInfo() << "states seen after the kills:" << seen;
    }

    // A damaged file at start: the newest good copy is offered and restored; a damaged copy is passed over. The
    // same whether the check runs before the windows or beside them.
    void damagedAtStart_data()
    {
        QTest::addColumn<bool>("besideTheWindows");
        QTest::newRow("checked before the windows") << false;
        QTest::newRow("checked beside the windows") << true;
    }
    void damagedAtStart()
    {
        QFETCH(bool, besideTheWindows);
        TempDatabase db;
        addEntries(db, 2000, QStringLiteral("Good "));
        db.close();
        Module1::setProgramDirForTesting(db.dir());
        Backups::make(db.path(), QDateTime(kToday.addDays(-1), QTime(9, 0)));
        const QString newest = Backups::make(db.path(), QDateTime(kToday, QTime(9, 0)));
        QFile damaged(newest);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        for (qint64 at = 8192; at < damaged.size(); at += 4096) {
            damaged.seek(at);
            damaged.write(QByteArray(200, '\x5a'));
        }
        damaged.close();
        QFile::remove(db.path());
        QVERIFY(QFile::copy(newest, db.path())); // the file itself has the same damage
        QFile::setPermissions(db.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(!Backups::problemOf(db.path()).isEmpty());
        // Not made the next day's copy either: the good copies stay the newest.
        QCOMPARE(BackupCommands::daily(db.path(), kToday.addDays(1)), QString());
        QVERIFY(Backups::dailyDue(db.path(), kToday.addDays(1)));

        MessageBox::takeMessages();
        MessageBox::setNextAnswer(true);
        const int asked = MessageBox::questionsAsked();
        if (besideTheWindows) {
            bool ended = false;
            BackupCommands::startCheck(nullptr, [&ended] { ended = true; });
            QTRY_VERIFY(ended);
        } else {
            BackupCommands::checkAtStart(nullptr);
        }
        QCOMPARE(MessageBox::questionsAsked(), asked + 1);
        QCOMPARE(entriesIn(db.path()), 2000);
        QVERIFY(MessageBox::takeMessages().join(QLatin1Char('\n')).contains(QStringLiteral("restored")));
        QVERIFY(!Database::open(db.path())->isReadOnly()); // the restored file takes the user's changes again
        Module1::setProgramDirForTesting(QString());
    }

    // While the start's check runs beside the windows, they read the file and nothing writes to it: a write is
    // refused with a message that says why. A sound file takes writes on the same connection once the check
    // passed; a damaged one without a good copy goes on refusing them, and stays byte for byte as it was.
    void checkBesideTheWindows_data()
    {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("sound file") << false;
        QTest::newRow("damaged file, no good copy") << true;
    }
    void checkBesideTheWindows()
    {
        QFETCH(bool, damaged);
        TempDatabase db;
        addEntries(db, 2000, QStringLiteral("Entry "));
        db.close();
        if (damaged) {
            QFile file(db.path());
            QVERIFY(file.open(QIODevice::ReadWrite));
            for (qint64 at = file.size() / 2 / 4096 * 4096; at < file.size(); at += 4096) {
                file.seek(at);
                file.write(QByteArray(200, '\x5a'));
            }
        }
        const auto bytes = [&db] {
            QFile file(db.path());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = bytes();
        Module1::setProgramDirForTesting(db.dir());
        MessageBox::takeMessages();
        bool ended = false;
        BackupCommands::startCheck(nullptr, [&ended] { ended = true; });

        const std::shared_ptr<Database> window = Database::open(db.path());
        QVERIFY(window->isReadOnly());
        const auto add = [&window] {
            try {
                window->exec(QStringLiteral("INSERT INTO tblTel (Category, Lname) VALUES ('Personal', 'Added')"));
            } catch (const DbError& error) {
                return error.description();
            }
            return QString();
        };
        const QString during = add();
        QVERIFY2(during.contains(QStringLiteral("being checked")), qPrintable(during));
        QTRY_VERIFY(ended);
        QCOMPARE(bytes(), before);
        const QString after = add();
        if (damaged) {
            QVERIFY2(after.contains(QStringLiteral("damaged")), qPrintable(after));
            QVERIFY(window->isReadOnly());
            QVERIFY(MessageBox::takeMessages().join(QLatin1Char('\n')).contains(QStringLiteral("reading only")));
            QCOMPARE(bytes(), before);
        } else {
            QCOMPARE(after, QString());
            QVERIFY(!window->isReadOnly());
            QCOMPARE(entriesIn(db.path()), 2001);
            QCOMPARE(MessageBox::takeMessages(), QStringList());
        }
        Database::releaseWrites(db.path());
        Module1::setProgramDirForTesting(QString());
    }
};

QTEST_MAIN(tst_Backups)
#include "tst_backups.moc"
