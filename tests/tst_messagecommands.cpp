#include "ProgramCopy.h"
#include "TempDatabase.h"
#include "data/Database.h"
#include "data/MessageLog.h"

#include <QFile>
#include <QProcess>
#include <QtTest>
#include <unistd.h>

// The message log from the command line: the listing, its order, filters and escapes; --mark-done by the number a
// listing showed; what is refused.
class tst_MessageCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listing_data();
    void listing();
    void markDone_data();
    void markDone();
    void readOnlyFile();

private:
    // Runs the program beside the file; `asNobody`: as the user "nobody" when the test runs as root, whose writes
    // no permission bits stop (the program refuses to run with only its effective user changed).
    int run(const QStringList& arguments, QString* said = nullptr, bool asNobody = false);
    std::unique_ptr<TempDatabase> m_db;
    QString m_program;
};

// Three messages, newest first: Ben's (id 2), C's (id 3, done and urgent), Ann's (id 1, call back, with a tab and
// a line feed in it).
void tst_MessageCommands::init()
{
    m_db = std::make_unique<TempDatabase>();
    QCOMPARE(m_db->exec(QStringLiteral(
                 "INSERT INTO tblMes (ID, Cdate, Ctime, Meet, Avur, Hodaa) VALUES "
                 "(1, '2026-03-01', '09:00:00', 'Ann', 'Dana', 'Call back' || char(9) || 'please' || char(10) || "
                 "'about the lease'), (2, '2026-03-03', '10:30:00', 'Ben', 'Eli', 'Invoice'), "
                 "(3, '2026-03-02', '14:00:00', 'C:\\path', 'dana', 'Meeting moved')")),
             0);
    m_db->close();
    {
        const auto db = Database::open(m_db->path());
        const QDateTime at(QDate(2026, 3, 2), QTime(15, 0));
        MessageLog::mark(*db, {3}, MessageLog::Mark::Done, true, QStringLiteral("eli@desk"), at);
        MessageLog::mark(*db, {3}, MessageLog::Mark::Urgent, true, QString(), at);
        MessageLog::mark(*db, {1}, MessageLog::Mark::CallBack, true, QString(), at);
    }
    m_program = m_db->dir() + QStringLiteral("/tovrin");
    QVERIFY(copyProgram(m_program));
}

// A folder made read-only is given back, so that it can be removed.
void tst_MessageCommands::cleanup()
{
    QFile::setPermissions(m_db->dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_db.reset();
}

int tst_MessageCommands::run(const QStringList& arguments, QString* said, bool asNobody)
{
    QProcess tovrin;
    if (asNobody) {
        tovrin.setChildProcessModifier([] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(77);
        });
    }
    tovrin.start(m_program, arguments);
    if (!tovrin.waitForFinished(60000))
        return -1;
    if (said)
        *said = QString::fromUtf8(tovrin.readAllStandardOutput() + tovrin.readAllStandardError());
    return tovrin.exitCode();
}

void tst_MessageCommands::listing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("lines");
    const QString ben = QStringLiteral("1\t2026-03-03\t10:30:00\tBen\tEli\tInvoice\topen");
    const QString c = QStringLiteral("2\t2026-03-02\t14:00:00\tC:\\\\path\tdana\tMeeting moved\tdone,urgent");
    const QString ann =
        QStringLiteral("3\t2026-03-01\t09:00:00\tAnn\tDana\tCall back\\tplease\\nabout the lease\topen,call back");
    QTest::newRow("whole log") << QStringList{"--messages"} << QStringList{ben, c, ann};
    QTest::newRow("open only: numbers kept") << QStringList{"--messages", "--open"} << QStringList{ben, ann};
    QTest::newRow("for, letter case aside") << QStringList{"--messages", "--for", "DANA"} << QStringList{c, ann};
    QTest::newRow("both filters") << QStringList{"--messages", "--open", "--for", "dana"} << QStringList{ann};
}

void tst_MessageCommands::listing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, lines);
    QString said;
    QCOMPARE(run(arguments, &said), 0);
    QCOMPARE(said.split(QLatin1Char('\n'), Qt::SkipEmptyParts), lines);
}

void tst_MessageCommands::markDone_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("doneIds"); // the ids of the done messages afterwards
    QTest::addColumn<QString>("saidPart");
    QTest::newRow("the last listed") << "3" << 0 << "1 3" << "Message 3 (2026-03-01 09:00:00, from Ann for Dana)";
    QTest::newRow("done already: kept as it was") << "2" << 0 << "3" << "marked done already";
    QTest::newRow("past the end") << "4" << 2 << "3" << "numbered 1 to 3";
    QTest::newRow("no number") << "two" << 2 << "3" << "There is no message two";
}

void tst_MessageCommands::markDone()
{
    QFETCH(QString, number);
    QFETCH(int, exitCode);
    QFETCH(QString, doneIds);
    QFETCH(QString, saidPart);
    QString said;
    QCOMPARE(run({QStringLiteral("--mark-done"), number}, &said), exitCode);
    QVERIFY2(said.contains(saidPart), qPrintable(said));
    QCOMPARE(m_db->rows(QStringLiteral("SELECT group_concat(message, ' ') FROM (SELECT message FROM "
                                       "tovrin_message WHERE done = 1 ORDER BY message)")),
             QStringList{doneIds});
    // A message done before keeps who marked it.
    QCOMPARE(m_db->rows(QStringLiteral("SELECT done_by FROM tovrin_message WHERE message = 3")),
             QStringList{"eli@desk"});
}

void tst_MessageCommands::readOnlyFile()
{
    m_db->close();
    QVERIFY(QFile::setPermissions(m_db->dir(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                   QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
    QVERIFY(QFile::setPermissions(m_db->path(), QFile::ReadOwner | QFile::ReadOther | QFile::ReadGroup));
    QString said;
    const int code = run({QStringLiteral("--messages")}, &said, true);
    if (code == 77)
        QSKIP("running as root without the right to become another user: permissions cannot be tested");
    QCOMPARE(code, 0);
    QCOMPARE(said.count(QLatin1Char('\n')), 3);
    QCOMPARE(run({QStringLiteral("--mark-done"), QStringLiteral("1")}, &said, true), 2);
    QVERIFY2(said.contains(QLatin1String("cannot be written")), qPrintable(said));
}

QTEST_GUILESS_MAIN(tst_MessageCommands)
#include "tst_messagecommands.moc"
