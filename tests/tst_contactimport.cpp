// The plan of an import and its all-or-nothing write: what is there already is skipped, the summary names the first
// thousand of each kind and counts the rest, and every export format comes back as it left.
#include "ContactIoFixture.h"
#include "exchange/ContactExport.h"
#include "exchange/ContactImport.h"
#include "exchange/CsvWriter.h"
#include "exchange/VCardWriter.h"

#include <QtTest>

class TestContactImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportedBooksComeBackTheSame_data();
    void exportedBooksComeBackTheSame();
    void importSkipsWhatIsThereAndWritesAllOrNothing();
    void summaryNamesTheFirstThousand();
    void problemListKeepsTheFirstByRecord();
};

void TestContactImport::exportedBooksComeBackTheSame_data()
{
    QTest::addColumn<QString>("format");
    for (const char* format : {"vcard3", "vcard21", "vcard4", "csv", "google-csv", "outlook-csv"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

void TestContactImport::exportedBooksComeBackTheSame()
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

void TestContactImport::importSkipsWhatIsThereAndWritesAllOrNothing()
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

void TestContactImport::summaryNamesTheFirstThousand()
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

void TestContactImport::problemListKeepsTheFirstByRecord()
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

QTEST_GUILESS_MAIN(TestContactImport)
#include "tst_contactimport.moc"
