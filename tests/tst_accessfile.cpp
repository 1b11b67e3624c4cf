// Reading the old program's data files (Access databases) and importing them: every cell of the three test files
// as a correct reader sees it, their import into an empty directory and one holding some of their entries, and the
// files that cannot be read.
#include "EveryTextTranslated.h"
#include "ProgramCopy.h"
#include "TempDatabase.h"
#include "data/StoredRows.h"
#include "exchange/AccessFile.h"
#include "exchange/AccessImport.h"
#include "exchange/ContactImport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

namespace {

const QString kFixtures = QStringLiteral(TOVRIN_JET_FIXTURES);

QByteArray fixture(const QString& name)
{
    QFile file(kFixtures + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray renamed(QByteArray bytes, const QString& from, const QString& to)
{
    const auto utf16 = [](const QString& s) {
        return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    };
    return bytes.replace(utf16(from), utf16(to));
}

} // namespace

class TestAccessFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AccessFile::setReaderProgram(QStringLiteral(TOVRIN_BINARY));
        AccessFile::setTimeLimit(3000);
    }

    void everyCellAsStored_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Jet4 2000") << QStringLiteral("dalvek-jet4-v2000.mdb");
        QTest::newRow("Jet4 2003, no key") << QStringLiteral("dalvek-jet4-v2003-nokey.mdb");
        QTest::newRow("ACE 2007") << QStringLiteral("dalvek-ace-v2007.accdb");
    }
    // Memos whole, NULL apart from '', dates from their raw value, Hebrew and quotes: the dump of every cell.
    void everyCellAsStored()
    {
        QFETCH(QString, name);
        const AccessFile::Result read = AccessFile::read(fixture(name));
        QVERIFY2(read.file, qPrintable(read.problem));
        const QList<QByteArray> got = read.file->dump().split('\n');
        const QList<QByteArray> expected = fixture(name + QStringLiteral(".expected.txt")).split('\n');
        for (int i = 0; i < std::min(got.size(), expected.size()); ++i)
            QCOMPARE(got.at(i), expected.at(i));
        QCOMPARE(got.size(), expected.size());
    }

    // What the reader's answer means: dates before Jet's day 0 count the time of day forward from midnight; Jet 3
    // texts are in the file's code page, or the one the user picks, when they are not plain ASCII; an answer cut
    // short or a row short of a cell is a damaged file.
    void readerOutput_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("read"); // the dump, or the problem
        QTest::addColumn<bool>("encodingUsed");
        QTest::addColumn<bool>("clean");
        const QByteArray date = "V4:jet4T6:tblMesC7:8 CdateR0:D";
        QTest::newRow("day 0") << date + "1:0Z0:" << QString()
                               << QStringLiteral("tblMes[1].Cdate = 1899-12-30 00:00:00\n") << false << true;
        QTest::newRow("before day 0") << date + "5:-1.25Z0:" << QString()
                                      << QStringLiteral("tblMes[1].Cdate = 1899-12-29 06:00:00\n") << false << true;
        QTest::newRow("year 100") << date + "7:-657434Z0:" << QString()
                                  << QStringLiteral("tblMes[1].Cdate = 0100-01-01 00:00:00\n") << false << true;
        QTest::newRow("rounds to midnight")
            << date + "14:36525.99999999Z0:" << QString() << QStringLiteral("tblMes[1].Cdate = 2000-01-01 00:00:00\n")
            << false << true;
        // The reader passes each byte of a Jet 3 text on as the character of its number: here "שלום" in windows-1255.
        const QByteArray jet3 = "V4:jet3P4:%1T6:tblTelC8:10 LnameR0:S8:\xc3\xb9\xc3\xac\xc3\xa5\xc3\xadZ0:";
        QTest::newRow("Jet 3, the file's code page") << QByteArray(jet3).replace("%1", "1255") << QString()
                                                     << QStringLiteral("tblTel[1].Lname = \"שלום\"\n") << true << true;
        QTest::newRow("Jet 3, no code page: Western") << QByteArray(jet3).replace("%1", "0000") << QString()
                                                      << QStringLiteral("tblTel[1].Lname = \"ùìåí\"\n") << true << true;
        QTest::newRow("Jet 3, the user's choice")
            << QByteArray(jet3).replace("%1", "1252") << QStringLiteral("windows-1255")
            << QStringLiteral("tblTel[1].Lname = \"שלום\"\n") << true << true;
        QTest::newRow("Jet 3, plain ASCII")
            << QByteArray("V4:jet3P4:1255T6:tblTelC8:10 LnameR0:S5:CohenZ0:") << QString()
            << QStringLiteral("tblTel[1].Lname = \"Cohen\"\n") << false << true;
        QTest::newRow("Jet 3, a byte with no character")
            << QByteArray("V4:jet3P4:1255T6:tblTelC8:10 LnameR0:S4:\xc3\xb9\xc3\xbfZ0:") << QString()
            << QStringLiteral("tblTel[1].Lname = \"ש\uFFFD\"\n") << true << false;
        QTest::newRow("cut short") << QByteArray("V4:jet4T6:tblTelC8:10 LnameR0:S5:Co") << QString()
                                   << QStringLiteral("reading it failed (the file is damaged)") << false << true;
        // The reader's reason comes with the names it is about; a name is never read as a placeholder.
        const QByteArray reason =
            QByteArrayList{"the table %1 is damaged: it holds %2 rows, of which %3 could be read", "t%2", "5", "3"}
                .join('\x1f');
        QTest::newRow("the reader's reason")
            << "V4:jet4X" + QByteArray::number(reason.size()) + ':' + reason << QString()
            << QStringLiteral("the table t%2 is damaged: it holds 5 rows, of which 3 could be read") << false << true;
        QTest::newRow("a cell short") << QByteArray("V4:jet4T6:tblTelC8:10 LnameC8:10 FnameR0:N0:Z0:") << QString()
                                      << QStringLiteral("reading it failed (the file is damaged)") << false << true;
    }
    void readerOutput()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, encoding);
        QFETCH(QString, read);
        QFETCH(bool, encodingUsed);
        QFETCH(bool, clean);
        const AccessFile::Result result = AccessFile::parse(output, encoding);
        QCOMPARE(result.file ? QString::fromUtf8(result.file->dump()) : result.problem, read);
        QCOMPARE(result.file && result.file->encodingUsed, encodingUsed);
        QCOMPARE(!result.file || result.file->cleanText, clean);
    }

    // A converted file keeps a message's day without its time of day (and a time without its date), but refuses a
    // year before 1000, which has no stored form: the same in every language the program speaks.
    void messageDatesKeptOrRefused_data()
    {
        QTest::addColumn<QDateTime>("cdate"); // the date column's value
        QTest::addColumn<QDateTime>("ctime"); // the time column's
        QTest::addColumn<bool>("translated");
        QTest::addColumn<QList<bool>>("keepsPart"); // of each problem, in their order
        const QDate dayZero(1899, 12, 30);
        for (const bool translated : {false, true}) {
            const char* const language = translated ? "translated" : "English";
            QTest::addRow("%s: time of day on a date", language)
                << QDateTime(QDate(2001, 5, 17), QTime(9, 30)) << QDateTime(dayZero, QTime(8, 0)) << translated
                << QList<bool>{true};
            QTest::addRow("%s: year 100", language)
                << QDateTime(QDate(100, 1, 1), QTime(0, 0)) << QDateTime(dayZero, QTime(8, 0)) << translated
                << QList<bool>{false};
            QTest::addRow("%s: date on a time", language)
                << QDateTime(QDate(2001, 5, 17), QTime(0, 0)) << QDateTime(QDate(2001, 5, 17), QTime(8, 0))
                << translated << QList<bool>{true};
        }
    }
    void messageDatesKeptOrRefused()
    {
        QFETCH(QDateTime, cdate);
        QFETCH(QDateTime, ctime);
        QFETCH(bool, translated);
        QFETCH(QList<bool>, keepsPart);
        using Cell = AccessFile::Cell;
        AccessFile file;
        AccessFile::Table tel{QStringLiteral("tblTel"), StoredRows::telColumns(), {}, {}};
        tel.types.fill(10, tel.columns.size());
        AccessFile::Table mes{QStringLiteral("tblMes"), StoredRows::mesColumns(), {8, 8, 10, 10, 10}, {}};
        mes.rows.append({Cell{Cell::Kind::Date, {}, cdate.date(), cdate.time()},
                         Cell{Cell::Kind::Date, {}, ctime.date(), ctime.time()},
                         Cell{Cell::Kind::Text, QStringLiteral("Dana"), {}, {}},
                         Cell{Cell::Kind::Text, QStringLiteral("Avi"), {}, {}}, Cell{}});
        file.tables = {tel, mes};
        std::optional<EveryTextTranslated> language;
        if (translated)
            language.emplace();
        const AccessImport::Copy copy = AccessImport::copy(file);
        QList<bool> kept;
        for (const ExchangeProblem& problem : copy.problems)
            kept << AccessImport::keepsPart(problem);
        language.reset();
        QVERIFY2(copy.problem.isEmpty(), qPrintable(copy.problem));
        QCOMPARE(kept, keepsPart);
    }

    void importIntoEmptyAndPartlyFilled_data()

    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("before"); // entries and messages of the file already in the directory
        QTest::newRow("Jet4 2000, empty") << QStringLiteral("dalvek-jet4-v2000.mdb") << 0;
        QTest::newRow("ACE 2007, empty") << QStringLiteral("dalvek-ace-v2007.accdb") << 0;
        QTest::newRow("Jet4 2003, four there") << QStringLiteral("dalvek-jet4-v2003-nokey.mdb") << 4;
    }
    // The entries go in through the plan every import uses, typed masks as they were; the messages join the log;
    // what is there already is skipped.
    void importIntoEmptyAndPartlyFilled()
    {
        QFETCH(QString, name);
        QFETCH(int, before);
        TempDatabase db;
        const QString path = kFixtures + QLatin1Char('/') + name;
        if (before > 0) {
            const ReadResult all = ContactImport::readFile(path);
            ReadResult some;
            some.contacts = all.contacts.toList().mid(0, before);
            some.messages = all.messages.mid(0, before);
            ContactImport::write(ContactImport::plan(some, db.path()), db.path());
        }
        const ReadResult read = ContactImport::readFile(path);
        const ContactImport::Plan plan = ContactImport::plan(read, db.path());
        QCOMPARE(plan.added.size(), 14 - before);
        QCOMPARE(plan.duplicates.size(), before);
        QCOMPARE(plan.messages.size(), 10 - before);
        QCOMPARE(plan.messagesKnown, before);
        QVERIFY(ContactImport::write(plan, db.path()));
        QCOMPARE(db.rows(QStringLiteral("SELECT count(*) FROM tblTel")), QStringList{QStringLiteral("14")});
        QCOMPARE(db.rows(QStringLiteral("SELECT count(*) FROM tblMes")), QStringList{QStringLiteral("10")});
        // A partly typed number and an untouched mask stay as the entry window stored them.
        QCOMPARE(db.rows(QStringLiteral("SELECT Tel1, Zip, BusName FROM tblTel WHERE Lname = 'כהן'")),
                 QStringList{QStringLiteral("048 - 12_____|33095| ")});
        QCOMPARE(db.rows(QStringLiteral(
                     "SELECT Cdate, Ctime, Meet, Avur, length(Hodaa) FROM tblMes WHERE Ctime = '13:45:00'")),
                 QStringList{QStringLiteral("2024-02-29|13:45:00|Seán|Moshe|20051")});
        QCOMPARE(db.rows(QStringLiteral("SELECT Meet, Avur FROM tblMes WHERE Cdate = '2012-07-04'")),
                 QStringList{QStringLiteral("<null>|<null>")});
        // The extra column and the key are named as not carried over.
        const QString summary = ContactImport::summary(plan);
        QCOMPARE(summary.contains(QStringLiteral("tblTel.Notes")), name.contains(QLatin1String("v2003")) == false);
    }

    // The command line, with no display: the old file into the directory beside the program, then again, when
    // everything is there already. Entries and messages both count.
    void commandLine()
    {
        TempDatabase db;
        QVERIFY(copyProgram(db.dir() + QStringLiteral("/tovrin")));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        const auto import = [&](QByteArray* out) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(db.dir() + QStringLiteral("/tovrin"),
                          {QStringLiteral("--import"), kFixtures + QStringLiteral("/dalvek-jet4-v2003-nokey.mdb")});
            if (!process.waitForFinished(60000))
                return -1;
            *out = process.readAllStandardOutput();
            return process.exitCode();
        };
        QByteArray summary;
        QCOMPARE(import(&summary), 0);
        QVERIFY2(summary.contains("14 new entries") && summary.contains("10 new messages"), summary.constData());
        QCOMPARE(import(&summary), 0);
        QVERIFY2(summary.contains("14 already in the directory") && summary.contains("10 already there"),
                 summary.constData());
        QCOMPARE(db.rows(QStringLiteral("SELECT count(*) FROM tblTel")), QStringList{QStringLiteral("14")});
        QCOMPARE(db.rows(QStringLiteral("SELECT count(*) FROM tblMes")), QStringList{QStringLiteral("10")});
    }

    void badFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray ace = fixture(QStringLiteral("dalvek-ace-v2007.accdb"));
        const QByteArray jet = fixture(QStringLiteral("dalvek-jet4-v2000.mdb"));
        QByteArray encrypted = ace; // the header readable, every page after it unreadable without the password
        QRandomGenerator noise(7);
        for (qsizetype i = 4096; i < encrypted.size(); ++i)
            encrypted[i] = char(encrypted.at(i) ^ char(noise.generate()));
        TempDatabase sqlite;
        QFile sqliteFile(sqlite.path());
        QVERIFY(sqliteFile.open(QIODevice::ReadOnly));
        QTest::newRow("empty") << QStringLiteral("Dalvek.mdb") << QByteArray() << QStringLiteral("it is empty");
        QTest::newRow("truncated") << QStringLiteral("old.accdb") << ace.left(2000) << QStringLiteral("too short");
        QTest::newRow("cut in half") << QStringLiteral("old.mdb") << jet.left(jet.size() / 2) << QString();
        QTest::newRow("encrypted") << QStringLiteral("locked.accdb") << encrypted << QString();
        QTest::newRow("SQLite named .accdb")
            << QStringLiteral("new.accdb") << sqliteFile.readAll() << QStringLiteral("not an Access database file");
        QTest::newRow("text named .mdb") << QStringLiteral("notes.mdb") << QByteArray("Dana,Cohen,905 555 1234\n")
                                         << QStringLiteral("not an Access database file");
        QTest::newRow("no tblTel") << QStringLiteral("other.mdb")
                                   << renamed(jet, QStringLiteral("tblTel"), QStringLiteral("tblTex"))
                                   << QStringLiteral("no table tblTel");
        // Its messages lie past the cut: the entries alone are no whole file.
        QTest::newRow("cut after its entries")
            << QStringLiteral("old.mdb") << fixture(QStringLiteral("dalvek-jet4-v2003-nokey.mdb")).left(57 * 4096)
            << QStringLiteral("the table tblMes is damaged");
        QTest::newRow("other columns") << QStringLiteral("other.accdb")
                                       << renamed(ace, QStringLiteral("Lname"), QStringLiteral("Lnamx"))
                                       << QStringLiteral("lacks the columns Lname");
    }
    // Each is refused with a message that names the file and says why; nothing is imported.
    void badFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const ReadResult read = ContactImport::readFile(path);
        QVERIFY(read.contacts.isEmpty() && read.messages.isEmpty());
        QCOMPARE(read.problems.size(), 1);
        QCOMPARE(read.problems.at(0).value, name);
        QVERIFY2(read.problems.at(0).action.contains(reason), qPrintable(read.problems.at(0).action));
        QVERIFY(read.problems.at(0).action.startsWith(QLatin1String("cannot be")));
    }

    // A reader that crashes or hangs: the file "cannot be read", said as such, within the limit.
    void readerThatFails_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("reason");
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << QStringLiteral("reading it failed");
        QTest::newRow("endless read") << QByteArray("exec sleep 30") << QStringLiteral("did not come to an end");
    }
    void readerThatFails()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("reader"));
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\ncat >/dev/null\n" + script + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        AccessFile::setReaderProgram(program);
        AccessFile::setTimeLimit(1000);
        QElapsedTimer timer;
        timer.start();
        const AccessFile::Result read = AccessFile::read(fixture(QStringLiteral("dalvek-jet4-v2000.mdb")));
        AccessFile::setReaderProgram(QStringLiteral(TOVRIN_BINARY));
        AccessFile::setTimeLimit(3000);
        QVERIFY(!read.file);
        QVERIFY2(read.problem.contains(reason), qPrintable(read.problem));
        QVERIFY(timer.elapsed() < 5000);
    }

    // Cut short at any page, the file is refused or, when everything it holds lies before the cut, read whole: never
    // read as a file with fewer rows or tables than it has.
    void cutAnywhere()
    {
        const QString name = QStringLiteral("dalvek-jet4-v2003-nokey.mdb");
        const QByteArray original = fixture(name);
        const QByteArray expected = fixture(name + QStringLiteral(".expected.txt"));
        int refused = 0;
        for (qsizetype size = 4096; size < original.size(); size += 4096) {
            const AccessFile::Result read = AccessFile::read(original.left(size));
            if (read.file)
                QVERIFY2(read.file->dump() == expected, qPrintable(QStringLiteral("cut at %1").arg(size)));
            else
                QVERIFY(!read.problem.isEmpty());
            refused += !read.file;
        }
        QVERIFY(refused > 0);
    }

    // Random damage to the bytes the file uses crashes or hangs the reader now and then; the reading side only ever
    // sees a file or a reason, within the time limit.
    void damagedCopies()
    {
        const QByteArray original = fixture(QStringLiteral("dalvek-jet4-v2003-nokey.mdb"));
        QList<qsizetype> used;
        for (qsizetype i = 4096; i < original.size(); ++i) {
            if (original.at(i) != 0)
                used.append(i);
        }
        QRandomGenerator random(20240229);
        int refused = 0;
        for (int copy = 0; copy < 16; ++copy) {
            QByteArray damaged = original;
            for (int change = 0; change < 64; ++change)
                damaged[used.at(random.bounded(used.size()))] = char(random.generate());
            QElapsedTimer timer;
            timer.start();
            const AccessFile::Result read = AccessFile::read(damaged);
            QVERIFY(timer.elapsed() < AccessFile::timeLimitFor(damaged.size()) + 2000);
            QVERIFY(read.file.has_value() != !read.problem.isEmpty());
            refused += !read.file;
        }
        qInfo("%d of 16 damaged copies refused", refused);
    }
};

QTEST_GUILESS_MAIN(TestAccessFile)
#include "tst_accessfile.moc"
