// Contacts in and out of the directory file: the plan of an import, its all-or-nothing write, the round trip through
// every export format, and the command line that does the same without windows.
#include "ContactExport.h"
#include "ContactImport.h"
#include "CsvWriter.h"
#include "TempDatabase.h"
#include "VCardWriter.h"

#include <QProcess>
#include <QtTest>

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
};

void TestContactIo::exportedBooksComeBackTheSame_data()
{
    QTest::addColumn<QString>("format");
    for (const char* format : {"vcard3", "vcard21", "vcard4", "csv"})
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
                             : format == QLatin1String("vcard21") ? VCardWriter::write(entries, VCardWriter::Version::V21)
                             : format == QLatin1String("vcard4")  ? VCardWriter::write(entries, VCardWriter::Version::V40)
                                                                  : VCardWriter::write(entries);

    TempDatabase to;
    to.close();
    const ReadResult read = ContactImport::readBytes(bytes, format == QLatin1String("csv") ? "out.csv" : "out.vcf");
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
    // The program itself, in a folder of its own, with no display at all.
    TempDatabase db;
    seed(db);
    QVERIFY(QFile::copy(QStringLiteral(TOVRIN_BINARY), db.dir() + QStringLiteral("/tovrin")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const auto tovrin = [&](const QStringList& arguments, QByteArray* out = nullptr) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(db.dir() + QStringLiteral("/tovrin"), arguments);
        if (!process.waitForFinished(60000))
            return -1;
        if (out)
            *out = process.readAllStandardOutput();
        return process.exitCode();
    };
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

QTEST_GUILESS_MAIN(TestContactIo)
#include "tst_contactio.moc"
