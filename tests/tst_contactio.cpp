// Contacts in and out of the directory file: the plan of an import, its all-or-nothing write, the round trip through
// every export format, and the command line that does the same without windows. An import reads regular files of a
// bounded size only, keeps memory in proportion to what it keeps, and reports what it could not decode.
#include "Deadline.h"
#include "TempDatabase.h"
#include "exchange/ContactExport.h"
#include "exchange/ContactImport.h"
#include "exchange/CsvWriter.h"
#include "exchange/VCardWriter.h"

#include <QProcess>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QtTest>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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
    QCOMPARE(
        db.exec(QStringLiteral(
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
        rows << QStringList{c.category, c.fname, c.lname, c.busName, c.address, c.city,
                            c.state,    c.zip,   c.tel1,  c.tel2,    c.pel,     c.fax}
                    .join(QLatin1Char('|'));
    return rows;
}

// The program copied into the folder of `db` (so it uses that file), run without any display.
class Program
{
public:
    explicit Program(TempDatabase& db) : m_dir(db.dir())
    {
        QFile::remove(m_dir + QStringLiteral("/tovrin"));
        QVERIFY(QFile::copy(QStringLiteral(TOVRIN_BINARY), m_dir + QStringLiteral("/tovrin")));
        for (const QString& entry : QProcessEnvironment::systemEnvironment().toStringList()) {
            if (!entry.startsWith(QLatin1String("DISPLAY=")) && !entry.startsWith(QLatin1String("QT_QPA_PLATFORM=")))
                m_environment << QFile::encodeName(entry);
        }
    }

    struct Run
    {
        int exitCode = -1; // -1: killed after the time allowed
        long peakKb = 0;   // the largest resident size the run reached
        QByteArray out;
        QByteArray err;
    };

    // Runs the program with its output in files, for at most `seconds`.
    Run run(const QStringList& arguments, int seconds = 60) const
    {
        const QByteArray program = QFile::encodeName(m_dir + QStringLiteral("/tovrin"));
        const QByteArray outPath = QFile::encodeName(m_dir + QStringLiteral("/run.out"));
        const QByteArray errPath = QFile::encodeName(m_dir + QStringLiteral("/run.err"));
        QList<QByteArray> args{program};
        for (const QString& argument : arguments)
            args << QFile::encodeName(argument);
        std::vector<char*> argv;
        for (QByteArray& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        QList<QByteArray> environment = m_environment;
        std::vector<char*> envp;
        for (QByteArray& e : environment)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        Run result;
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return result;
        QElapsedTimer clock;
        clock.start();
        int status = 0;
        rusage usage{};
        for (;;) {
            if (wait4(pid, &status, WNOHANG, &usage) == pid)
                break;
            if (clock.elapsed() > seconds * 1000) {
                kill(pid, SIGKILL);
                wait4(pid, &status, 0, &usage);
                status = -1;
                break;
            }
            usleep(10000);
        }
        result.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.peakKb = usage.ru_maxrss;
        QFile out(QFile::decodeName(outPath));
        if (out.open(QIODevice::ReadOnly))
            result.out = out.readAll();
        QFile err(QFile::decodeName(errPath));
        if (err.open(QIODevice::ReadOnly))
            result.err = err.readAll();
        return result;
    }

    void setEnvironment(const QString& name, const QString& value)
    {
        const QByteArray prefix = QFile::encodeName(name) + '=';
        m_environment.removeIf([&](const QByteArray& entry) { return entry.startsWith(prefix); });
        m_environment << prefix + QFile::encodeName(value);
    }

private:
    QString m_dir;
    QList<QByteArray> m_environment;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The bytes of a literal, the NULs in it included.
template <std::size_t N> QByteArray withNul(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

// A UNIX socket bound at `path`; -1 when none can be made.
int bindSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || name.size() >= qsizetype(sizeof(address.sun_path)))
        return -1;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

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
    void othersExportsComeInWhole_data();
    void othersExportsComeInWhole();
    void theRegionComesFromTheCommandLine_data();
    void theRegionComesFromTheCommandLine();
    void theUsersLanguageGuessesTheEncoding_data();
    void theUsersLanguageGuessesTheEncoding();
    void importReadsRegularFilesOnly();
    void importReadsNoMoreThanItsLimit();
    void importMemoryGoesWithWhatItKeeps();
    void summaryNamesTheFirstThousand();
    void problemListKeepsTheFirstByRecord();
    void replacedCharactersAreReported_data();
    void replacedCharactersAreReported();
    void textsLongerThanAnyNumberAreNoNumbers_data();
    void textsLongerThanAnyNumberAreNoNumbers();
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
    const QByteArray bytes =
        format == QLatin1String("csv")           ? CsvWriter::contacts(entries)
        : format == QLatin1String("google-csv")  ? CsvWriter::contacts(entries, CsvWriter::Layout::Google)
        : format == QLatin1String("outlook-csv") ? CsvWriter::contacts(entries, CsvWriter::Layout::Outlook)
        : format == QLatin1String("vcard21")     ? VCardWriter::write(entries, VCardWriter::Version::V21)
        : format == QLatin1String("vcard4")      ? VCardWriter::write(entries, VCardWriter::Version::V40)
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
    // A line break, which no box of the entry window can hold, comes back as ", ".
    QCOMPARE(rowsOf(ContactExport::entries(to.path(), ContactExport::Book::Both)),
             rowsOf(entries).replaceInStrings(QStringLiteral("\n"), QStringLiteral(", ")));
}

void TestContactIo::importSkipsWhatIsThereAndWritesAllOrNothing()
{
    TempDatabase db;
    seed(db);
    ReadResult read;
    read.contacts = ContactExport::entries(db.path(), ContactExport::Book::Personal); // both already there
    Contact fresh{QStringLiteral("Personal"),
                  QStringLiteral("Eli"),
                  QStringLiteral("Katz"),
                  QStringLiteral(" "),
                  QString(),
                  QString(),
                  QString(),
                  QStringLiteral("_____"),
                  QStringLiteral("03 - 1234567"),
                  kNoNumber,
                  kNoNumber,
                  kNoNumber};
    read.contacts << fresh << fresh; // and one twice in the file
    Contact refused = fresh;
    refused.lname = QStringLiteral("Refused");
    read.contacts << refused;
    // An entry already there, written in capitals by another address book, is the same entry.
    for (const Contact& there : ContactExport::entries(db.path(), ContactExport::Book::Personal)) {
        if (there.lname == QStringLiteral("O'Brien")) {
            Contact shouting = there;
            shouting.fname = shouting.fname.toUpper();
            shouting.lname = shouting.lname.toUpper();
            read.contacts << shouting;
        }
    }

    ContactImport::Plan plan = ContactImport::plan(read, db.path());
    QCOMPARE(plan.added.size(), 2);
    QCOMPARE(plan.duplicates.size(), 4);

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
    QCOMPARE(ContactImport::csvSample(bytes, QStringLiteral("list.csv"), QString()).firstRow,
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

    // A header with a name the reader does not know: the user's names take its place, and the header line is no
    // entry.
    const QByteArray named = "Name,Number\nDana Cohen,0501234567\n";
    QCOMPARE(ContactImport::csvSample(named, QStringLiteral("list.csv"), QString()).header,
             (QStringList{"Name", "Number"}));
    const ReadResult renamed = ContactImport::readBytes(named, QStringLiteral("list.csv"), QString(), nullptr,
                                                        {QStringLiteral("Name"), choices.at(8)});
    QCOMPARE(renamed.contacts.size(), 1);
    QCOMPARE(renamed.contacts.at(0).lname, QStringLiteral("Cohen"));
    QCOMPARE(renamed.contacts.at(0).tel1, QStringLiteral("050 - 1234567"));
}

void TestContactIo::commandLine()
{
    TempDatabase db;
    seed(db);
    const Program program(db);
    const auto tovrin = [&](const QStringList& arguments, QByteArray* out = nullptr) {
        const Program::Run run = program.run(arguments);
        if (out)
            *out = run.out;
        return run.exitCode;
    };
    const QString cards = db.dir() + QStringLiteral("/out.vcf");
    const QString pdf = db.dir() + QStringLiteral("/out.pdf");
    QCOMPARE(tovrin({QStringLiteral("--export"), cards}), 0);
    QCOMPARE(tovrin({QStringLiteral("--pdf"), pdf, QStringLiteral("--book"), QStringLiteral("personal")}), 0);
    QCOMPARE(tovrin({QStringLiteral("--export"), cards, QStringLiteral("--book"), QStringLiteral("none")}), 2);
    // A mistyped option is an error, not a start of the windows.
    QCOMPARE(tovrin({QStringLiteral("--exprot"), cards}), 2);
    // A file that cannot be read is an error, not a value left out.
    QCOMPARE(tovrin({QStringLiteral("--import"), db.dir() + QStringLiteral("/missing.vcf")}), 2);

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
    QTest::newRow("a symbolic link to the directory file") << "--export"
                                                           << "symlink" << 2;
    QTest::newRow("a hard link to the directory file") << "--pdf"
                                                       << "hardlink" << 2;
    QTest::newRow("the journal's name") << "--export-messages"
                                        << "journal" << 2;
    QTest::newRow("a pipe") << "--export"
                            << "fifo" << 2;
    QTest::newRow("a folder") << "--pdf"
                              << "folder" << 2;
    QTest::newRow("a missing folder") << "--export"
                                      << "missing folder" << 2;
    QTest::newRow("a link to another file") << "--export"
                                            << "link elsewhere" << 2;
    QTest::newRow("another user's file") << "--export-messages"
                                         << "foreign" << 2;
    QTest::newRow("a file on a full disk") << "--export"
                                           << "full" << 2;
    QTest::newRow("a PDF on a full disk") << "--pdf"
                                          << "full" << 2;
    QTest::newRow("a file of the user's") << "--export"
                                          << "own" << 0;
    QTest::newRow("a PDF of the user's") << "--pdf"
                                         << "own" << 0;
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
    // The program's own output files aside, which the runs write beside the directory file.
    const auto listing = [&folder] {
        QStringList names = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        names.removeIf([](const QString& name) { return name.startsWith(QLatin1String("run.")); });
        return names;
    };
    const QStringList before = listing();

    const Program::Run run = tovrin.run({option, path});
    const QByteArray& err = run.err;
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QVERIFY(contentOf(path).startsWith(option == QLatin1String("--pdf") ? "%PDF" : "BEGIN:VCARD"));
    } else {
        QVERIFY2(err.contains(QFile::encodeName(path)), err.constData());
        if (target == QLatin1String("full"))
            QVERIFY2(err.contains(std::strerror(ENOSPC)), err.constData());
        if (!kept.isEmpty())
            QCOMPARE(contentOf(kept), old);
        QCOMPARE(QFileInfo(path).isSymLink(),
                 target.contains(QLatin1String("link")) && target != QLatin1String("hardlink"));
        QCOMPARE(QFileInfo(path).isDir(), target == QLatin1String("folder"));
    }
    // No temporary file is left behind, and the directory is whole.
    QCOMPARE(listing(), before);
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
    file.write(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Shani;Gil;;;\r\nFN:Gil Shani\r\nTEL;TYPE=CELL:050-1234567\r\nEND:VCARD\r\n");
    file.close();
    QCOMPARE(db.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
    QElapsedTimer clock;
    clock.start();
    const Program::Run run = tovrin.run({QStringLiteral("--import"), cards});
    const QByteArray& err = run.err;
    QCOMPARE(run.exitCode, 2);
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
    QCOMPARE(
        db.exec(QStringLiteral(
            "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) "
            "VALUES ('Personal', 'Alexandra-Maria', 'Papadopoulou-Feather', ' ', "
            "'1234 Long Boulevard of the Republic, Apt 56', 'Springfield', 'IL', '62701', '212 - 5550101', "
            "'212 - 5550102', '917 - 5550103', '212 - 5550104'), "
            "('Business', 'Ann', 'Lee', 'Smith, Jones and Company', '', 'Boston', 'MA', '02101', "
            "'617 - 5550100', '617 - 5550101', '617 - 5550102', '617 - 5550199')")),
        SQLITE_OK);
    db.close();
    // Enough entries for a second page.
    QCOMPARE(db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
                                    "INSERT INTO tblTel (Category, Fname, Lname, BusName, Tel1) SELECT 'Personal', "
                                    "'Filler', printf('Zz%02d', i), ' ', '03 - 5550000' FROM n")),
             SQLITE_OK);
    db.close();
    const Program tovrin(db);
    const QString pdf = db.dir() + QStringLiteral("/list.pdf");
    QCOMPARE(tovrin.run({QStringLiteral("--pdf"), pdf}).exitCode, 0);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString boxes = QString::fromUtf8(text.readAllStandardOutput());
    // The words of the pages, in reading order, joined by single spaces.
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QStringList words;
    const double margin = 10 / 25.4 * 72;
    const QStringList pages = boxes.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1);
    QCOMPARE(pages.size(), 2);
    for (const QString& page : pages) {
        // Every line of the page ends above its footer, "Page N", the last words of the page.
        double footerTop = 0;
        double lowestLine = 0;
        QString previous;
        for (const QRegularExpressionMatch& m : word.globalMatch(page)) {
            words << m.captured(5);
            QVERIFY2(m.captured(1).toDouble() >= margin - 0.5, qPrintable(m.captured(5)));
            QVERIFY2(m.captured(3).toDouble() <= 595 - margin + 0.5, qPrintable(m.captured(5)));
            if (previous == QStringLiteral("Page") && m.captured(5).toInt() > 0) {
                footerTop = m.captured(2).toDouble();
            } else if (m.captured(5) != QStringLiteral("Page")) {
                lowestLine = std::max(lowestLine, m.captured(4).toDouble());
            }
            previous = m.captured(5);
        }
        QVERIFY(footerTop > 0);
        QVERIFY2(lowestLine < footerTop, qPrintable(QStringLiteral("%1 over %2").arg(lowestLine).arg(footerTop)));
    }
    const QString printed = words.join(QLatin1Char(' '));
    for (const char* expected : {"Tel 212 - 5550101", "Tel 212 - 5550102", "Cell 917 - 5550103", "Fax 212 - 5550104",
                                 "Tel 617 - 5550100", "Tel 617 - 5550101", "Cell 617 - 5550102", "Fax 617 - 5550199",
                                 "1234 Long Boulevard of the Republic, Apt 56, Springfield,", "Boston, MA 02101",
                                 "Personal", "Business", "Zz40, Filler"})
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
    QCOMPARE(
        db.exec(QStringLiteral(
            "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax) "
            "VALUES ('Personal', 'Noa', 'Bar', ' ', '', '', '', '_____', '___ - _______', '___ - _______', "
            "'050 - 7654322', '___ - _______')")),
        SQLITE_OK);
    db.close();
    Program tovrin(db);
    tovrin.setEnvironment(QStringLiteral("LC_ALL"), QStringLiteral("he_IL.UTF-8"));
    const QString file = db.dir() + QStringLiteral("/cards.vcf");
    QCOMPARE(tovrin.run({QStringLiteral("--export"), file, QStringLiteral("--format"), format}).exitCode, 0);

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

void TestContactIo::othersExportsComeInWhole_data()
{
    QTest::addColumn<QString>("file"); // in tests/exports, as the programs wrote them
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("problems"); // record, field and value of each

    // A business card: the work number before the others, the state's postal code for its name, the middle names
    // and everything the entry has no place for reported.
    const QString mask = QStringLiteral("___ - _______");
    const QStringList unplaced{"0 birthday",  "0 country",  "0 department", "0 e-mail",
                               "0 job title", "0 nickname", "0 notes"};
    QTest::newRow("groupware suite")
        << "evolution.vcf"
        << QStringList{"Business|John|Doe|IBM|15 Crescent moon drive, ASB-123|Albaney|NY|12345|905 - 5551234|" + mask +
                       "|905 - 6661234|" + mask}
        << QStringList{"0 birthday", "0 categories"} + unplaced.mid(1) +
               QStringList{"0 web page", "1 N Richter, James"};
    // Every kind of number and two addresses: the work ones are a business's, the rest give way and are named.
    QTest::newRow("desktop address book")
        << "mac-address-book.vcf"
        << QStringList{"Business|John|Doe|IBM|Street4, Building 6, Floor 8|New York||12345|905 - 7771234|905 - 6661234|"
                       "905 - 5551234|905 - 9991234"}
        << unplaced + QStringList{"0 photo",
                                  "0 web page",
                                  "1 N Richter,James",
                                  "1 ADR Silicon Alley 5,, New York, New York, 12345, United States of America",
                                  "1 TEL 905-888-1234",
                                  "1 TEL 905-222-1234",
                                  "1 TEL 905-111-1234"};
    // A mail program's own layout, its rows a field shorter than its header: e-mail is counted, not passed over.
    const QString doe = "|Doe| ||||_____|" + QStringList(4, mask).join(u'|');
    QTest::newRow("mail program CSV") << "mail-program.csv" << QStringList{"Personal|John" + doe, "Personal|Jane" + doe}
                                      << QStringList{"0 e-mail"};
}

void TestContactIo::othersExportsComeInWhole()
{
    QFETCH(QString, file);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, problems);
    const QString path = QStringLiteral(TOVRIN_EXPORTS "/") + file;
    const ReadResult read = ContactImport::readFile(path);
    QStringList got;
    for (const Contact& c : read.contacts)
        got << QStringList{c.category, c.fname, c.lname, c.busName, c.address, c.city,
                           c.state,    c.zip,   c.tel1,  c.tel2,    c.pel,     c.fax}
                   .join(QLatin1Char('|'));
    QStringList reported;
    for (const ExchangeProblem& p : read.problems)
        reported << QStringLiteral("%1 %2 %3").arg(p.record).arg(p.field, p.value).trimmed();
    QCOMPARE(got, entries);
    QCOMPARE(reported, problems);
}

void TestContactIo::theRegionComesFromTheCommandLine_data()
{
    QTest::addColumn<QStringList>("region"); // the arguments that name it
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("tel1"); // stored; empty: nothing imported
    QTest::addColumn<QString>("said"); // a part of what was printed

    // The tests run under C.UTF-8, whose locale names no country.
    QTest::newRow("none") << QStringList{} << 1 << "___ - _______"
                          << "a number of another country";
    QTest::newRow("--region US") << QStringList{"--region", "US"} << 0 << "503 - 5550000"
                                 << "1 new entries";
    QTest::newRow("--region=gb") << QStringList{"--region=gb"} << 1 << "___ - _______"
                                 << "a number of another country";
    QTest::newRow("no such country") << QStringList{"--region", "XQ"} << 2 << ""
                                     << "Unknown country \"XQ\"";
}

void TestContactIo::theRegionComesFromTheCommandLine()
{
    QFETCH(QStringList, region);
    QFETCH(int, exitCode);
    QFETCH(QString, tel1);
    QFETCH(QString, said);
    TempDatabase db;
    db.close();
    const QString file = db.dir() + QStringLiteral("/us.vcf");
    writeFile(file, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Baker;Bob\r\nTEL;TYPE=HOME:+1 503 555 0000\r\nEND:VCARD\r\n");
    Program tovrin(db);
    const Program::Run run = tovrin.run(region + QStringList{QStringLiteral("--import"), file});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(said.toUtf8()), (run.out + run.err).constData());
    QCOMPARE(db.rows(QStringLiteral("SELECT Tel1 FROM tblTel")), tel1.isEmpty() ? QStringList() : QStringList{tel1});
}

void TestContactIo::theUsersLanguageGuessesTheEncoding_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("bytes"); // "Dan Cohen" or its like in the language's old code page
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("Hebrew") << "he_IL.UTF-8" << QByteArray("\xE3\xEF,\xEB\xE4\xEF") << QString::fromUtf8("דן כהן")
                            << "windows-1255";
    QTest::newRow("Polish") << "pl_PL.UTF-8"
                            << QByteArray("\xA3ucja,\x9Cwi\xEA"
                                          "cka")
                            << QString::fromUtf8("Łucja święcka") << "windows-1250";
    QTest::newRow("French") << "fr_FR.UTF-8"
                            << QByteArray("Ren\xE9"
                                          "e,M\xFCller")
                            << QString::fromUtf8("Renée Müller") << "windows-1252";
}

// A file in the old code page of the user's language reads right without the user naming it, on the command line
// as in the window.
void TestContactIo::theUsersLanguageGuessesTheEncoding()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, encoding);
    TempDatabase db;
    db.close();
    const QString file = db.dir() + QStringLiteral("/old.csv");
    writeFile(file, "First Name,Last Name\n" + bytes + "\n");
    Program tovrin(db);
    tovrin.setEnvironment(QStringLiteral("LC_ALL"), locale);
    const Program::Run run = tovrin.run({QStringLiteral("--import"), file});
    QCOMPARE(run.exitCode, 1); // the guess is reported
    QVERIFY2(run.out.contains(("read as " + encoding).toUtf8()), run.out.constData());
    const QStringList names = name.split(QLatin1Char(' '));
    QCOMPARE(db.rows(QStringLiteral("SELECT Fname, Lname FROM tblTel")), QStringList{names.join(QLatin1Char('|'))});
}

void TestContactIo::importReadsRegularFilesOnly()
{
    TempDatabase db;
    seed(db);
    const QString dir = db.dir();
    const QString good = dir + QStringLiteral("/good.vcf");
    writeFile(good, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Katz;Eli\r\nTEL;TYPE=CELL:0521234567\r\nEND:VCARD\r\n");
    // A named pipe nobody writes to, a link to it, a folder, a socket and a file larger than an import reads (sparse:
    // it takes no room on the disk). No device of the machine is opened.
    const QString pipe = dir + QStringLiteral("/pipe.vcf");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString link = dir + QStringLiteral("/link.csv");
    QVERIFY(QFile::link(pipe, link));
    const QString folder = dir + QStringLiteral("/cards.vcf");
    QVERIFY(QDir().mkdir(folder));
    const QString socket = dir + QStringLiteral("/listening.vcf");
    const int socketFd = bindSocket(socket);
    QVERIFY(socketFd >= 0);
    const QString big = dir + QStringLiteral("/big.vcf");
    {
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(ContactImport::kMaxFileSize + 1));
    }
    const QList<std::pair<QString, QString>> refused{{pipe, QStringLiteral("named pipe")},
                                                     {link, QStringLiteral("named pipe")},
                                                     {folder, QStringLiteral("folder")},
                                                     {socket, QStringLiteral("socket")},
                                                     {big, QStringLiteral("256 MB")}};

    {
        Deadline deadline(30, "ContactImport::load of a named pipe, a folder or a socket");
        for (const auto& [path, reason] : refused) {
            const ContactImport::File file = ContactImport::load(path);
            QVERIFY2(file.bytes.isEmpty(), qPrintable(path));
            QVERIFY2(file.error.contains(path) && file.error.contains(reason), qPrintable(file.error));
            const ReadResult read = ContactImport::readFile(path);
            QVERIFY(read.contacts.isEmpty());
            QCOMPARE(read.problems.total(), 1);
            QVERIFY2(read.problems.constFirst().action.contains(reason), qPrintable(read.problems.constFirst().action));
        }
        // Not even with a writer at the other end, which would keep a read waiting for ever.
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_RDWR | O_NONBLOCK);
        QVERIFY(writer >= 0);
        QVERIFY(ContactImport::load(pipe).error.contains(QStringLiteral("named pipe")));
        ::close(writer);
        QCOMPARE(ContactImport::load(good).error, QString());
    }

    // The command line: an error (exit code 2) naming the file, and nothing written, the readable file before it
    // included.
    Program tovrin(db);
    for (const auto& [path, reason] : refused) {
        const Program::Run run = tovrin.run({QStringLiteral("--import"), good, path}, 30);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(QFile::encodeName(path)) && run.err.contains(reason.toUtf8()), run.err.constData());
        QCOMPARE(db.count(QStringLiteral("tblTel")), 3);
        db.close();
    }
    QCOMPARE(tovrin.run({QStringLiteral("--import"), good}).exitCode, 0);
    QCOMPARE(db.count(QStringLiteral("tblTel")), 4);
    ::close(socketFd);
}

void TestContactIo::importReadsNoMoreThanItsLimit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cards.vcf"));
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Katz;Eli\r\nEND:VCARD\r\n";
    writeFile(path, card);
    QCOMPARE(ContactImport::load(path, card.size()).bytes, card);
    const ContactImport::File over = ContactImport::load(path, card.size() - 1);
    QVERIFY(over.bytes.isEmpty());
    QVERIFY2(over.error.contains(path) && over.error.contains(QStringLiteral("MB")), qPrintable(over.error));
    QVERIFY(ContactImport::load(dir.filePath(QStringLiteral("none.vcf"))).error.contains(QStringLiteral("none.vcf")));
}

void TestContactIo::importMemoryGoesWithWhatItKeeps()
{
#ifdef __SANITIZE_ADDRESS__
    QSKIP("AddressSanitizer keeps freed memory in quarantine: peak sizes say nothing of the program's own");
#endif
    // Inputs of a few megabytes that used to take hundreds: each is measured against a run that imports one card.
    // The run before these bounds took 465, 264 and 593 MB more than that one; now a few.
    TempDatabase db;
    seed(db);
    const QString dir = db.dir();
    writeFile(dir + QStringLiteral("/one.vcf"),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Small;Card\r\nTEL:0521234567\r\nEND:VCARD\r\n");
    // One card with 400,000 numbers (2.8 MB): one entry, 400,000 values left out.
    writeFile(dir + QStringLiteral("/numbers.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Big;Card\r\n" +
                                                        QByteArray("TEL:1\r\n").repeated(400000) + "END:VCARD\r\n");
    // Broken quotes, 1 MB: a row of them makes one entry (the same each time) and two problems.
    writeFile(dir + QStringLiteral("/quotes.csv"),
              "First Name,Mobile Phone\n" + QByteArray("\"a\"b,\"1\n").repeated(131072));
    // A quote opened on every line, 1 MB: no entry at all, two problems a row, and the notes counted as left out.
    writeFile(dir + QStringLiteral("/unkept.csv"), "Notes,First Name\n" + QByteArray("\"x\n").repeated(349525));

    Program tovrin(db);
    const Program::Run one =
        tovrin.run({QStringLiteral("--import"), dir + QStringLiteral("/one.vcf"), QStringLiteral("--dry-run")});
    QCOMPARE(one.exitCode, 0);
    QVERIFY(one.peakKb > 0);
    struct Case
    {
        const char* file;
        const char* said;
    };
    for (const Case& c : {Case{"numbers.vcf", "400000 values not carried over as they were:\n"},
                          Case{"quotes.csv", "131071 already in the directory, skipped:\n"},
                          // Two problems a row, and one line for the 349,525 notes left out.
                          Case{"unkept.csv", "1048575 values not carried over as they were:\n"}}) {
        const Program::Run run = tovrin.run(
            {QStringLiteral("--import"), dir + QLatin1Char('/') + QLatin1String(c.file), QStringLiteral("--dry-run")});
        QCOMPARE(run.exitCode, 1);
        const long grownKb = run.peakKb - one.peakKb;
        QVERIFY2(
            grownKb < 40 * 1024,
            qPrintable(
                QStringLiteral("%1: %2 kB beyond the import of one card").arg(QLatin1String(c.file)).arg(grownKb)));
        // The summary names the first thousand and counts the rest.
        QVERIFY2(run.out.contains(c.said), run.out.left(300).constData());
        QVERIFY2(run.out.size() < 300 * 1000, qPrintable(QString::number(run.out.size())));
        QVERIFY(run.out.contains(" more\n"));
    }
    QCOMPARE(db.count(QStringLiteral("tblTel")), 3);
}

void TestContactIo::summaryNamesTheFirstThousand()
{
    TempDatabase db;
    db.close();
    // 2,500 rows of the same entry with a number that does not make ten digits: one new entry, 2,499 duplicates and
    // 2,500 numbers left out.
    const QByteArray rows = "First Name,Last Name,Mobile Phone\n" + QByteArray("Gil,Shani,12345\n").repeated(2500);
    const ContactImport::Plan plan =
        ContactImport::plan(ContactImport::readBytes(rows, QStringLiteral("rows.csv")), db.path());
    QCOMPARE(plan.added.size(), 1);
    QCOMPARE(plan.duplicates.size(), 2499);
    QCOMPARE(plan.problems.total(), 2500);
    QCOMPARE(plan.problems.size(), ProblemList::kKept);
    QCOMPARE(plan.problems.constLast().record, 1000);
    const QStringList lines = ContactImport::summary(plan).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + 1 + 1000 + 1 + 1 + 1000 + 1);
    QCOMPARE(lines.at(1), QStringLiteral("2499 already in the directory, skipped:"));
    QCOMPARE(lines.at(1002), QStringLiteral("  and 1499 more"));
    QCOMPARE(lines.at(1003), QStringLiteral("2500 values not carried over as they were:"));
    QVERIFY2(lines.at(1004).startsWith(QLatin1String("  entry 1 Pel \"12345\"")), qPrintable(lines.at(1004)));
    QCOMPARE(lines.last(), QStringLiteral("  and 1500 more"));
}

void TestContactIo::problemListKeepsTheFirstByRecord()
{
    ProblemList list;
    for (int record = 1; record <= 1500; ++record)
        list.append({record, QStringLiteral("Tel1"), QString(), QStringLiteral("left out")});
    // The file's own problem, found last, goes first; a value too long to show is cut.
    list.append({0, QString(), QString(5000, QLatin1Char('x')), QStringLiteral("read as windows-1252")});
    QCOMPARE(list.total(), 1501);
    QCOMPARE(list.size(), ProblemList::kKept);
    QCOMPARE(list.leftOut(), 501);
    QCOMPARE(list.constFirst().record, 0);
    QCOMPARE(list.constFirst().value.size(), ProblemList::kValueShown);
    QCOMPARE(list.at(1).record, 1);
    QCOMPARE(list.constLast().record, 999);

    // Another file's problems come after all of these, whatever their records, and carry its name.
    ProblemList first;
    first.append({2, QString(), QString(), QStringLiteral("a")});
    ProblemList second;
    second.append({1, QString(), QString(), QStringLiteral("b")});
    second.append({0, QString(), QString(), QStringLiteral("c")});
    ProblemList all;
    all.appendAfter(first);
    all.appendAfter(second, QStringLiteral("in two.csv"));
    QCOMPARE(all.size(), 3);
    QCOMPARE(all.at(0).action, QStringLiteral("a"));
    QCOMPARE(all.at(1).action, QStringLiteral("c (in two.csv)"));
    QCOMPARE(all.at(2).action, QStringLiteral("b (in two.csv)"));
}

void TestContactIo::replacedCharactersAreReported_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("field");

    const auto utf16 = [](const QString& before, char16_t unit, const QString& after) {
        QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QByteArray bytes = encoder.encode(before);
        bytes.append(char(unit & 0xff)).append(char(unit >> 8));
        return bytes + QStringEncoder(QStringEncoder::Utf16LE).encode(after);
    };
    QTest::newRow("NUL in a CSV row") << withNul("First Name,Last Name\nDana,Cohen\nGi\0l,Shani\n") << "list.csv"
                                      << QString() << 2 << "Fname";
    QTest::newRow("half a surrogate pair in UTF-16 CSV")
        << utf16(QStringLiteral("First Name,Last Name\r\nDa"), 0xD800, QStringLiteral("na,Cohen\r\n")) << "list.csv"
        << QString() << 1 << "Fname";
    QTest::newRow("a byte windows-1255 has no letter for") << QByteArray("Company\n\xF9\xEC\xFF\n") << "list.csv"
                                                           << "windows-1255" << 1 << "BusName";
    // The second card names the problem, though the first makes no entry.
    QTest::newRow("NUL in a vCard") << withNul("BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE:empty\r\nEND:VCARD\r\n"
                                               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Le\0vi;Ran\r\nEND:VCARD\r\n")
                                    << "cards.vcf" << QString() << 2 << "Lname";
    QTest::newRow("half a surrogate pair in a UTF-16 vCard")
        << utf16(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Katz;E"), 0xDC00,
                 QStringLiteral("li\r\nEND:VCARD\r\n"))
        << "cards.vcf" << QString() << 1 << "Fname";
    QTest::newRow("broken UTF-8 in a vCard that says UTF-8")
        << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:Le\xC3vi;Ran\r\nEND:VCARD\r\n") << "cards.vcf"
        << QString() << 1 << "Lname";
}

void TestContactIo::replacedCharactersAreReported()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, encoding);
    QFETCH(int, record);
    QFETCH(QString, field);

    const ReadResult read = ContactImport::readBytes(bytes, name, encoding);
    const auto it = std::find_if(read.problems.begin(), read.problems.end(),
                                 [&](const ExchangeProblem& p) { return p.action.contains(QStringLiteral("U+FFFD")); });
    QVERIFY2(it != read.problems.end(), qPrintable(QString::number(read.problems.total())));
    QCOMPARE(it->record, record);
    QCOMPARE(it->field, field);
    QVERIFY(it->value.contains(QChar::ReplacementCharacter));
    // What is stored holds the replacement character where the unreadable one was: nothing vanishes unsaid.
    bool stored = false;
    for (const Contact& c : read.contacts)
        stored = stored || (c.fname + c.lname + c.busName).contains(QChar::ReplacementCharacter);
    QVERIFY(stored);
    for (const Contact& c : read.contacts)
        QVERIFY(!(c.fname + c.lname + c.busName).contains(QChar(0)));
}

void TestContactIo::textsLongerThanAnyNumberAreNoNumbers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");

    // Long enough that a parse taking time with the square of the length would run for minutes.
    const QByteArray digits(64000, '7');
    QTest::newRow("vCard TEL of digits") << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Levi;Ran\r\nTEL:" + digits +
                                                "\r\nEND:VCARD\r\n"
                                         << "cards.vcf";
    QTest::newRow("vCard TEL with a country code")
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Levi;Ran\r\nTEL;TYPE=CELL:+972 " + digits + "\r\nEND:VCARD\r\n"
        << "cards.vcf";
    QTest::newRow("CSV phone of digits") << "First Name,Last Name,Phone\nRan,Levi," + digits + "\n"
                                         << "list.csv";
}

// A telephone text longer than any number is told as such without the library's parse (which would take minutes
// here and then only call it no number), and the entry comes in without it.
void TestContactIo::textsLongerThanAnyNumberAreNoNumbers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    const ReadResult read = ContactImport::readBytes(bytes, name);
    QCOMPARE(read.contacts.size(), 1);
    const Contact c = read.contacts.toList().at(0);
    QCOMPARE(c.lname, QStringLiteral("Levi"));
    const QString mask = QStringLiteral("___ - _______");
    QCOMPARE(QStringList({c.tel1, c.tel2, c.pel, c.fax}), QStringList(4, mask));
    QCOMPARE(read.problems.size(), 1);
    QCOMPARE(read.problems.at(0).action, QStringLiteral("left out: longer than any telephone number"));
}

QTEST_GUILESS_MAIN(TestContactIo)
#include "tst_contactio.moc"
