// What an import reads from other programs' vCard and CSV files: columns named by the user, every value placed or
// reported, characters that could not be decoded reported, texts too long for any number, and no more bytes than
// an import reads.
#include "ContactIoFixture.h"
#include "EveryTextTranslated.h"
#include "exchange/ContactImport.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

// The bytes of a literal, the NULs in it included.
template <std::size_t N> QByteArray withNul(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

} // namespace

class TestContactRead : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void csvWithoutHeaderReadsByTheNamesTheUserGives();
    void othersExportsComeInWhole_data();
    void othersExportsComeInWhole();
    void replacedCharactersAreReported_data();
    void replacedCharactersAreReported();
    void textsLongerThanAnyNumberAreNoNumbers_data();
    void textsLongerThanAnyNumberAreNoNumbers();
    void importReadsNoMoreThanItsLimit();
};

void TestContactRead::csvWithoutHeaderReadsByTheNamesTheUserGives()
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

    // The choices as a translated preview shows them read the same.
    const EveryTextTranslated language;
    const QStringList shown = ContactImport::columnChoices();
    QCOMPARE_NE(shown.at(1), choices.at(1));
    const ReadResult translated = ContactImport::readBytes(bytes, QStringLiteral("list.csv"), QString(), nullptr,
                                                           {shown.at(1), shown.at(2), shown.at(9)});
    QCOMPARE(translated.contacts.size(), 2);
    QCOMPARE(translated.contacts.at(1).lname, QStringLiteral("Levi"));
    QCOMPARE(translated.contacts.at(0).pel, QStringLiteral("050 - 1234567"));
}

void TestContactRead::othersExportsComeInWhole_data()
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

void TestContactRead::othersExportsComeInWhole()
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

void TestContactRead::replacedCharactersAreReported_data()
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

void TestContactRead::replacedCharactersAreReported()
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

void TestContactRead::textsLongerThanAnyNumberAreNoNumbers_data()
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
void TestContactRead::textsLongerThanAnyNumberAreNoNumbers()
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

void TestContactRead::importReadsNoMoreThanItsLimit()
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

QTEST_GUILESS_MAIN(TestContactRead)
#include "tst_contactread.moc"
