// Contacts in and out of the directory file: the plan of an import, its all-or-nothing write, the round trip through
// every export format, and the command line that does the same without windows.
#include "ContactExport.h"
#include "ContactImport.h"
#include "CsvWriter.h"
#include "TempDatabase.h"
#include "VCardWriter.h"

#include <QProcess>
#include <QScopeGuard>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kNoNumber = QStringLiteral("___ - _______");

// Entries as the entry window stores them, with what tends to break a format: Hebrew, quotes, commas, semicolons,
// a line break, a backslash.
void seed(TempDatabase& db)
{
    QCOMPARE(db.exec(QStringLiteral(
                 "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) "
                 "VALUES ('Personal', 'דנה', 'כהן', ' ', 'רחוב הרצל 12, דירה 3', 'חיפה', '', '31999', '048 - 1234567', "
                 "'___ - _______', '050 - 7654321', '___ - _______'), "
                 "('Personal', 'Sean', 'O''Brien', ' ', '1 \"Main\" St;\nBack door', 'Cork', 'CO', '_____', "
                 "'021 - 4567890', '021 - 4567891', '___ - _______', '___ - _______'), "
                 "('Business', 'Ann', 'Lee', 'Smith, Jones \\ Co', '', 'Boston', 'MA', '02101', '617 - 5550100', "
                 "'___ - _______', '___ - _______', '617 - 5550199')")),
             SQLITE_OK);
    db.close();
}

QStringList rowsOf(const QList<Contact>& entries)
{
    QStringList rows;
    for (const Contact& c : entries)
        rows << QStringList{c.category, c.fname, c.lname, c.busName, c.address, c.city, c.state, c.zip, c.tel1, c.tel2,
                            c.pel, c.fax}
                    .join(QLatin1Char('|'));
    return rows;
}

// The program itself, in the folder of the database, with no display at all.
class Program
{
public:
    explicit Program(const TempDatabase& db) : m_path(db.dir() + QStringLiteral("/tovrin"))
    {
        QFile::copy(QStringLiteral(TOVRIN_BINARY), m_path);
        m_environment.remove(QStringLiteral("DISPLAY"));
        m_environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    }
    void setEnvironment(const QString& name, const QString& value) { m_environment.insert(name, value); }
    // The exit code, -1 when it did not end within a minute.
    int run(const QStringList& arguments, QByteArray* out = nullptr, QByteArray* err = nullptr) const
    {
        QProcess process;
        process.setProcessEnvironment(m_environment);
        process.start(m_path, arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (out)
            *out = process.readAllStandardOutput();
        if (err)
            *err = process.readAllStandardError();
        return process.exitCode();
    }

private:
    QString m_path;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestContactIo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportedBooksComeBackTheSame_data();
    void exportedBooksComeBackTheSame();
    void importSkipsWhatIsThereAndWritesAllOrNothing();
    void csvWithoutHeaderReadsByTheNamesTheUserGives();
    void commandLine();
    void exportTargets_data();
    void exportTargets();
    void aBusyFileIsWaitedForOnce();
    void thePhoneListCutsNothing();
    void anotherReaderReadsOurCards_data();
    void anotherReaderReadsOurCards();
};

void TestContactIo::exportedBooksComeBackTheSame_data()
{
    QTest::addColumn<QString>("format");
    for (const char* format : {"vcard3", "vcard21", "vcard4", "csv", "google-csv", "outlook-csv"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

void TestContactIo::exportedBooksComeBackTheSame()
{
    QFETCH(QString, format);

    TempDatabase from;
    seed(from);
    const QList<Contact> entries = ContactExport::entries(from.path(), ContactExport::Book::Both);
    QCOMPARE(entries.size(), 3);
    const QByteArray bytes = format == QLatin1String("csv")       ? CsvWriter::contacts(entries)
                             : format == QLatin1String("google-csv")
                                 ? CsvWriter::contacts(entries, CsvWriter::Layout::Google)
                             : format == QLatin1String("outlook-csv")
                                 ? CsvWriter::contacts(entries, CsvWriter::Layout::Outlook)
                             : format == QLatin1String("vcard21") ? VCardWriter::write(entries, VCardWriter::Version::V21)
                             : format == QLatin1String("vcard4")  ? VCardWriter::write(entries, VCardWriter::Version::V40)
                                                                  : VCardWriter::write(entries);

    TempDatabase to;
    to.close();
    const bool csv = format.endsWith(QLatin1String("csv"));
    // A spreadsheet would take a bare number for a number and drop its leading zero.
    QVERIFY(!csv || !bytes.contains(",0481234567"));
    const ReadResult read = ContactImport::readBytes(bytes, csv ? "out.csv" : "out.vcf");
    const ContactImport::Plan plan = ContactImport::plan(read, to.path());
    QVERIFY2(plan.problems.isEmpty(), qPrintable(ContactImport::summary(plan)));
    QCOMPARE(plan.personal, 2);
    QCOMPARE(plan.business, 1);
    QVERIFY(ContactImport::write(plan, to.path()));
    QCOMPARE(rowsOf(ContactExport::entries(to.path(), ContactExport::Book::Both)), rowsOf(entries));
}

void TestContactIo::importSkipsWhatIsThereAndWritesAllOrNothing()
{
    TempDatabase db;
    seed(db);
    ReadResult read;
    read.contacts = ContactExport::entries(db.path(), ContactExport::Book::Personal); // both already there
    Contact fresh{QStringLiteral("Personal"), QStringLiteral("Eli"), QStringLiteral("Katz"), QStringLiteral(" "),
                  QString(), QString(), QString(), QStringLiteral("_____"), QStringLiteral("03 - 1234567"),
                  kNoNumber, kNoNumber, kNoNumber};
    read.contacts << fresh << fresh; // and one twice in the file
    Contact refused = fresh;
    refused.lname = QStringLiteral("Refused");
    read.contacts << refused;

    ContactImport::Plan plan = ContactImport::plan(read, db.path());
    QCOMPARE(plan.added.size(), 2);
    QCOMPARE(plan.duplicates.size(), 3);

    // A row the file refuses, after one it took: neither is written.
    QCOMPARE(db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblTel WHEN NEW.Lname = 'Refused' "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END")),
             SQLITE_OK);
    db.close();
    QVERIFY_THROWS_EXCEPTION(DbError, ContactImport::write(plan, db.path()));
    QCOMPARE(db.count(QStringLiteral("tblTel")), 3);
    QCOMPARE(db.exec(QStringLiteral("DROP TRIGGER refuse")), SQLITE_OK);
    db.close();

    // Cancelled after the first entry: nothing is written.
    QVERIFY(!ContactImport::write(plan, db.path(), [](int written) { return written < 1; }));
    QCOMPARE(db.count(QStringLiteral("tblTel")), 3);
    db.close();
    QVERIFY(ContactImport::write(plan, db.path()));
    QCOMPARE(db.count(QStringLiteral("tblTel")), 5);
}

void TestContactIo::csvWithoutHeaderReadsByTheNamesTheUserGives()
{
    const QByteArray bytes = "Dana,Cohen,0501234567\nAvi,Levi,048-1234567\n";
    QCOMPARE(ContactImport::unnamedColumns(bytes, QStringLiteral("list.csv"), QString()),
             (QStringList{"Dana", "Cohen", "0501234567"}));
    // Unnamed, nothing can be read; named as the preview's choices name them, every row is.
    QVERIFY(ContactImport::readBytes(bytes, QStringLiteral("list.csv")).contacts.isEmpty());
    const QStringList choices = ContactImport::columnChoices();
    const ReadResult read = ContactImport::readBytes(bytes, QStringLiteral("list.csv"), QString(), nullptr,
                                                     {choices.at(1), choices.at(2), choices.at(9)});
    QCOMPARE(read.contacts.size(), 2);
    QCOMPARE(read.contacts.at(1).lname, QStringLiteral("Levi"));
    QCOMPARE(read.contacts.at(0).pel, QStringLiteral("050 - 1234567"));
    QCOMPARE(read.contacts.at(1).pel, QStringLiteral("048 - 1234567"));
}

void TestContactIo::commandLine()
{
    TempDatabase db;
    seed(db);
    const Program program(db);
    const auto tovrin = [&](const QStringList& arguments, QByteArray* out = nullptr) { return program.run(arguments, out); };
    const QString cards = db.dir() + QStringLiteral("/out.vcf");
    const QString pdf = db.dir() + QStringLiteral("/out.pdf");
    QCOMPARE(tovrin({QStringLiteral("--export"), cards}), 0);
    QCOMPARE(tovrin({QStringLiteral("--pdf"), pdf, QStringLiteral("--book"), QStringLiteral("personal")}), 0);
    QCOMPARE(tovrin({QStringLiteral("--export"), cards, QStringLiteral("--book"), QStringLiteral("none")}), 2);
    QCOMPARE(tovrin({QStringLiteral("--import"), db.dir() + QStringLiteral("/missing.vcf")}), 1);

    // Everything exported is there already: nothing to add, nothing left out.
    QByteArray summary;
    QCOMPARE(tovrin({QStringLiteral("--import"), cards}, &summary), 0);
    QVERIFY2(summary.contains("0 new entries") && summary.contains("3 already in the directory"), summary.constData());
    // A number that does not make ten digits is reported, the rest is written, and the exit code says so.
    QFile odd(db.dir() + QStringLiteral("/odd.csv"));
    QVERIFY(odd.open(QIODevice::WriteOnly));
    odd.write("First Name,Last Name,Mobile Phone\nGil,Shani,12345\n");
    odd.close();
    QCOMPARE(tovrin({QStringLiteral("--import"), odd.fileName(), QStringLiteral("--dry-run")}, &summary), 1);
    QVERIFY2(summary.contains("12345"), summary.constData());
    QCOMPARE(db.count(QStringLiteral("tblTel")), 3);
    QCOMPARE(tovrin({QStringLiteral("--import"), odd.fileName()}), 1);
    QCOMPARE(db.count(QStringLiteral("tblTel")), 4);

    // The PDF holds the book's entries.
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains(QStringLiteral("O'Brien, Sean")) && printed.contains(QStringLiteral("021 - 4567891")),
             qPrintable(printed));
    QVERIFY2(printed.contains(QStringLiteral("כהן")), qPrintable(printed));
    QVERIFY(!printed.contains(QStringLiteral("Lee")));
}

void TestContactIo::exportTargets_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("target"); // what lies at the path named
    QTest::addColumn<int>("exitCode");
    for (const char* option : {"--export", "--export-messages", "--pdf"})
        QTest::addRow("%s the directory file", option) << QString::fromLatin1(option) << "database" << 2;
    QTest::newRow("a symbolic link to the directory file") << "--export" << "symlink" << 2;
    QTest::newRow("a hard link to the directory file") << "--pdf" << "hardlink" << 2;
    QTest::newRow("the journal's name") << "--export-messages" << "journal" << 2;
    QTest::newRow("a pipe") << "--export" << "fifo" << 2;
    QTest::newRow("a folder") << "--pdf" << "folder" << 2;
    QTest::newRow("a missing folder") << "--export" << "missing folder" << 2;
    QTest::newRow("a link to another file") << "--export" << "link elsewhere" << 2;
    QTest::newRow("another user's file") << "--export-messages" << "foreign" << 2;
    QTest::newRow("a file on a full disk") << "--export" << "full" << 2;
    QTest::newRow("a PDF on a full disk") << "--pdf" << "full" << 2;
    QTest::newRow("a file of the user's") << "--export" << "own" << 0;
    QTest::newRow("a PDF of the user's") << "--pdf" << "own" << 0;
}

// Every place an export or a printout can be aimed at: the directory survives whole, a refused target stays as it
// was, and the refusal names the path and the reason.
void TestContactIo::exportTargets()
{
    QFETCH(QString, option);
    QFETCH(QString, target);
    QFETCH(int, exitCode);

    TempDatabase db;
    seed(db);
    QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) "
                                    "VALUES ('2024-03-07', '10:15:00', 'Dana', 'Avi', 'Call back')")),
             SQLITE_OK);
    db.close();
    const Program tovrin(db);
    QTemporaryDir out;
    const QByteArray old = "what was there before\n";
    QString path = out.filePath(QStringLiteral("out.file"));
    QString kept; // a file that must keep `old`
    const QByteArray encoded = QFile::encodeName(path);
    if (target == QLatin1String("database")) {
        path = db.path();
    } else if (target == QLatin1String("symlink")) {
        QVERIFY(QFile::link(db.path(), path));
    } else if (target == QLatin1String("hardlink")) {
        QCOMPARE(::link(QFile::encodeName(db.path()).constData(), encoded.constData()), 0);
    } else if (target == QLatin1String("journal")) {
        path = db.path() + QStringLiteral("-journal");
    } else if (target == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(encoded.constData(), 0600), 0);
    } else if (target == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (target == QLatin1String("missing folder")) {
        path = out.filePath(QStringLiteral("missing/out.file"));
    } else if (target == QLatin1String("link elsewhere")) {
        kept = out.filePath(QStringLiteral("someone else's"));
        QVERIFY(QFile::link(kept, path));
    } else {
        kept = path;
    }
    if (target == QLatin1String("full")) {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        QVERIFY(QDir().mkdir(out.filePath(QStringLiteral("full"))));
        kept = path = out.filePath(QStringLiteral("full/out.file"));
    }
    QByteArray mountPoint;
    const auto unmount = qScopeGuard([&] {
        if (!mountPoint.isEmpty())
            ::umount(mountPoint.constData());
    });
    if (target == QLatin1String("full")) {
        mountPoint = QFile::encodeName(QFileInfo(path).absolutePath());
        QCOMPARE(::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k"), 0);
    }
    if (!kept.isEmpty()) {
        QFile file(kept);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    if (target == QLatin1String("full")) {
        QFile filler(QFileInfo(path).absolutePath() + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    if (target == QLatin1String("foreign")) {
        if (::geteuid() != 0)
            QSKIP("giving a file to another user needs root");
        QCOMPARE(::chown(QFile::encodeName(kept).constData(), 65534, 65534), 0);
    }
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    QByteArray err;
    QCOMPARE(tovrin.run({option, path}, nullptr, &err), exitCode);
    if (exitCode == 0) {
        QVERIFY(contentOf(path).startsWith(option == QLatin1String("--pdf") ? "%PDF" : "BEGIN:VCARD"));
    } else {
        QVERIFY2(err.contains(QFile::encodeName(path)), err.constData());
        if (target == QLatin1String("full"))
            QVERIFY2(err.contains(std::strerror(ENOSPC)), err.constData());
        if (!kept.isEmpty())
            QCOMPARE(contentOf(kept), old);
        QCOMPARE(QFileInfo(path).isSymLink(), target.contains(QLatin1String("link")) && target != QLatin1String("hardlink"));
        QCOMPARE(QFileInfo(path).isDir(), target == QLatin1String("folder"));
    }
    // No temporary file is left behind, and the directory is whole.
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    QCOMPARE(db.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    QCOMPARE(db.count(QStringLiteral("tblTel")), 3);
    QCOMPARE(db.count(QStringLiteral("tblMes")), 1);
}

void TestContactIo::aBusyFileIsWaitedForOnce()
{
    TempDatabase db;
    seed(db);
    const Program tovrin(db);
    const QString cards = db.dir() + QStringLiteral("/one.vcf");
    QFile file(cards);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Shani;Gil;;;\r\nFN:Gil Shani\r\nTEL;TYPE=CELL:050-1234567\r\nEND:VCARD\r\n");
    file.close();
    QCOMPARE(db.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
    QElapsedTimer clock;
    clock.start();
    QByteArray err;
    QCOMPARE(tovrin.run({QStringLiteral("--import"), cards}, nullptr, &err), 2);
    // One wait of about three seconds for the whole command, not one for every statement it runs.
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(err.contains("in use by another program"), err.constData());
    QCOMPARE(db.exec(QStringLiteral("ROLLBACK")), SQLITE_OK);
}

// Every number whole, even with four of them to an entry; the address under the name; each book under its name;
// nothing inside the 10 mm a printer keeps free.
void TestContactIo::thePhoneListCutsNothing()
{
    TempDatabase db;
    QCOMPARE(db.exec(QStringLiteral(
                 "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) "
                 "VALUES ('Personal', 'Alexandra-Maria', 'Papadopoulou-Feather', ' ', "
                 "'1234 Long Boulevard of the Republic, Apt 56', 'Springfield', 'IL', '62701', '212 - 5550101', "
                 "'212 - 5550102', '917 - 5550103', '212 - 5550104'), "
                 "('Business', 'Ann', 'Lee', 'Smith, Jones and Company', '', 'Boston', 'MA', '02101', "
                 "'617 - 5550100', '617 - 5550101', '617 - 5550102', '617 - 5550199')")),
             SQLITE_OK);
    db.close();
    const Program tovrin(db);
    const QString pdf = db.dir() + QStringLiteral("/list.pdf");
    QCOMPARE(tovrin.run({QStringLiteral("--pdf"), pdf}), 0);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString boxes = QString::fromUtf8(text.readAllStandardOutput());
    // The words of the page, in reading order, joined by single spaces.
    static const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    QStringList words;
    const double margin = 10 / 25.4 * 72;
    for (const QRegularExpressionMatch& m : word.globalMatch(boxes)) {
        words << m.captured(3);
        QVERIFY2(m.captured(1).toDouble() >= margin - 0.5, qPrintable(m.captured(3)));
        QVERIFY2(m.captured(2).toDouble() <= 595 - margin + 0.5, qPrintable(m.captured(3)));
    }
    const QString printed = words.join(QLatin1Char(' '));
    for (const char* expected :
         {"Tel 212 - 5550101", "Tel 212 - 5550102", "Cell 917 - 5550103", "Fax 212 - 5550104", "Tel 617 - 5550100",
          "Tel 617 - 5550101", "Cell 617 - 5550102", "Fax 617 - 5550199",
          "1234 Long Boulevard of the Republic, Apt 56, Springfield,", "Boston, MA 02101", "Personal", "Business"})
        QVERIFY2(printed.contains(QLatin1String(expected)), qPrintable(expected + QStringLiteral(" in: ") + printed));
    QVERIFY(!printed.contains(QChar(0x2026)));
}

void TestContactIo::anotherReaderReadsOurCards_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("cards"); // as the other reader sees them: name | numbers | addresses
    const QStringList common{
        "Ann Lee | work,voice=6175550100 work,fax=6175550199 | /Boston/MA/02101",
        "Sean O'Brien | home,voice=0214567890 home,voice=0214567891 | 1 \"Main\" St;\\nBack door/Cork/CO/"};
    QTest::newRow("3.0") << "vcard3"
                         << common + QStringList{"Noa Bar | cell=0507654322 | ",
                                                 "דנה כהן | home,voice=0481234567 cell=0507654321 | "
                                                 "רחוב הרצל 12, דירה 3/חיפה//31999"};
    // 4.0: a number the user's region (here Israel) makes global is a tel: URI, any other is text.
    QTest::newRow("4.0") << "vcard4"
                         << common + QStringList{"Noa Bar | cell=tel:+972-50-765-4322 | ",
                                                 "דנה כהן | home,voice=0481234567 cell=tel:+972-50-765-4321 | "
                                                 "רחוב הרצל 12, דירה 3/חיפה//31999"};
}

// The cards as another program's reader (Python's vobject) takes them: every number, the address only where there
// is one, and no mask as a postal code.
void TestContactIo::anotherReaderReadsOurCards()
{
    QFETCH(QString, format);
    QFETCH(QStringList, cards);
    const QString python = QStringLiteral("/usr/bin/python3");
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import vobject")});
    if (!probe.waitForFinished() || probe.exitCode() != 0)
        QSKIP("python3-vobject is not installed");

    TempDatabase db;
    seed(db);
    QCOMPARE(db.exec(QStringLiteral(
                 "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) "
                 "VALUES ('Personal', 'Noa', 'Bar', ' ', '', '', '', '_____', '___ - _______', '___ - _______', "
                 "'050 - 7654322', '___ - _______')")),
             SQLITE_OK);
    db.close();
    Program tovrin(db);
    tovrin.setEnvironment(QStringLiteral("LC_ALL"), QStringLiteral("he_IL.UTF-8"));
    const QString file = db.dir() + QStringLiteral("/cards.vcf");
    QCOMPARE(tovrin.run({QStringLiteral("--export"), file, QStringLiteral("--format"), format}), 0);

    const QString script = QStringLiteral(R"(
import sys, vobject
for card in vobject.readComponents(open(sys.argv[1], encoding='utf-8').read()):
    tels = ['%s=%s' % (','.join(t.params.get('TYPE', [])).lower(), t.value) for t in card.contents.get('tel', [])]
    adrs = ['%s/%s/%s/%s' % (a.value.street, a.value.city, a.value.region, a.value.code) for a in card.contents.get('adr', [])]
    print(('%s | %s | %s' % (card.fn.value, ' '.join(tels), ' '.join(adrs))).replace(chr(10), r'\n'))
)");
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"), script, file});
    QVERIFY(reader.waitForFinished());
    QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
    QStringList read = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    read.sort();
    cards.sort();
    QCOMPARE(read, cards);
}

QTEST_GUILESS_MAIN(TestContactIo)
#include "tst_contactio.moc"
