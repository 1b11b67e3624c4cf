#include "exchange/ContactFit.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvWriter.h"
#include "exchange/PhoneNumbers.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

Q_DECLARE_METATYPE(CsvReader::Options)

namespace {

const QString kMask = QStringLiteral("___ - _______");

// A table row of four texts, so that each case stays on one line.
void row(const char* tag, const QString& a, const QString& b, const QString& c, const QString& d)
{
    QTest::newRow(tag) << a << b << c << d;
}

QString& fieldOf(Contact& c, const QString& column)
{
    QString* const fields[] = {&c.category, &c.fname, &c.lname, &c.busName, &c.address, &c.city,
                               &c.state,    &c.zip,   &c.tel1,  &c.tel2,    &c.pel,     &c.fax};
    static const QStringList names = QStringLiteral("Category Fname Lname BusName Address City State Zip Tel1 Tel2 "
                                                    "Pel Fax")
                                         .split(u' ');
    return *fields[names.indexOf(column)];
}

// A contact as "Category; Field=value; ..." with the empty fields left out, so a table row stays readable.
QString render(const Contact& c)
{
    const std::pair<const char*, QString> fields[] = {
        {"Fname", c.fname}, {"Lname", c.lname}, {"BusName", c.busName}, {"Address", c.address},
        {"City", c.city},   {"State", c.state}, {"Zip", c.zip},         {"Tel1", c.tel1},
        {"Tel2", c.tel2},   {"Pel", c.pel},     {"Fax", c.fax}};
    QStringList parts{c.category};
    for (const auto& [name, value] : fields) {
        if (!value.isEmpty())
            parts << QLatin1String(name) + u'=' + value;
    }
    return parts.join(QStringLiteral("; "));
}

QString rendered(const ContactList& contacts)
{
    QStringList result;
    for (const Contact& c : contacts)
        result << render(c);
    return result.join(QStringLiteral(" / "));
}

// Each problem as "record:action", cut to the length of the expected one when it starts so.
QString rendered(const ProblemList& problems, const QString& expected)
{
    const QStringList wanted = expected.split(QStringLiteral(" / "), Qt::SkipEmptyParts);
    QStringList result;
    for (int i = 0; i < problems.size(); ++i) {
        const QString actual = QString::number(problems.at(i).record) + u':' + problems.at(i).action;
        result << (actual.startsWith(wanted.value(i, QStringLiteral("-"))) ? wanted.value(i) : actual);
    }
    return result.join(QStringLiteral(" / "));
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding, bool bom)
{
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

// A case of read(): the file, the contacts it gives (" / " between them), the problems (the same way).
void file(const char* tag, const QByteArray& bytes, const QString& contacts, const QString& problems = QString(),
          const CsvReader::Options& options = CsvReader::Options())
{
    QTest::newRow(tag) << bytes << options << contacts << problems;
}

CsvReader::Options withoutHeader(const QString& names, QChar separator = QChar())
{
    CsvReader::Options options;
    options.header = CsvReader::Header::Absent;
    options.columnNames = names.split(u',');
    options.separator = separator;
    return options;
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void toStored_data();
    void toStored();
    void digits();
    void fitField_data();
    void fitField();
    void fitBooks_data();
    void fitBooks();
    void fitEmpty_data();
    void fitEmpty();
    void read_data();
    void read();
    void readAgain();
    void roundTrip();
    void messages();
    void brokenInput_data();
    void brokenInput();
};

void TestCsv::toStored_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("stored"); // the untyped mask when it does not fit
    QTest::addColumn<QString>("reason");

    // Ten digits never go through the library, which drops the zero of "048" in GB and IL alike.
    row("ten digits", "0501234567", "IL", "050 - 1234567", "");
    row("stored form", "050 - 1234567", "GB", "050 - 1234567", "");
    row("048 GB", "048 - 1234567", "GB", "048 - 1234567", "");
    row("048 IL dashes", "048-1234567", "IL", "048 - 1234567", "");
    row("international IL", "+972-50-1234567", "IL", "050 - 1234567", "");
    row("international with (0)", "+972 (0)50 123 4567", "IL", "050 - 1234567", "");
    row("extension US", "(905) 555-1234 ext. 12", "US", "905 - 5551234", "extension 12");
    row("letters US", "1-800-FLOWERS", "US", "800 - 3569377", "");
    row("plus and ten digits", "+354 123 4567", "IL", kMask, "a number of another country");
    row("nine-digit landline", "03-5551234", "IL", "035 - 551234_", "");
    row("nine-digit landline, international", "+972 3 555 1234", "IL", "035 - 551234_", "");
    row("too short", "12345", "IL", kMask, "not ten digits");
    row("too long", "050123456789", "IL", kMask, "not ten digits");
    row("partly typed", "050 - 12_____", "IL", kMask, "not ten digits");
    row("words", "call me", "US", kMask, "not a telephone number");
    row("empty", "", "IL", kMask, "");
    row("untyped", kMask, "IL", kMask, "");
}

void TestCsv::toStored()
{
    QFETCH(QString, text);
    QFETCH(QString, region);
    QFETCH(QString, stored);
    QFETCH(QString, reason);
    const PhoneNumbers::Fitted fitted = PhoneNumbers::toStored(text, region);
    QCOMPARE(fitted.stored, stored);
    QCOMPARE(fitted.reason, reason);
    QCOMPARE(fitted.fits, stored != kMask || PhoneNumbers::isBlank(text));
    // What an export writes of the stored form reads back as the same number.
    if (fitted.fits)
        QCOMPARE(PhoneNumbers::toStored(PhoneNumbers::digits(fitted.stored), region).stored, stored);
}

void TestCsv::digits()
{
    QCOMPARE(PhoneNumbers::digits(QStringLiteral("050 - 12_____")), QStringLiteral("05012"));
    QCOMPARE(PhoneNumbers::digits(kMask), QString());
}

void TestCsv::fitField_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("action"); // empty: no problem reported

    const QString thumb = QString::fromUtf8("👍");
    const QString skin = QString::fromUtf8("🏽"); // with the thumb, one character on screen
    row("fits", "Lname", "Cohen", "Cohen", "");
    row("first name cut", "Fname", "Bartholomew-James", "Bartholomew-Jam", "cut to 15 characters");
    row("Hebrew cut", "Lname", QString(26, QChar(0x05D0)), QString(25, QChar(0x05D0)), "cut to 25 characters");
    row("state name", "State", "New York", "NY", "");
    row("province name", "State", QString::fromUtf8("Québec"), "QC", "");
    row("state without a code", "State", QString::fromUtf8("Baden-Württemberg"), "",
        "left out: no 2-letter postal code for it");
    row("address lines", "Address", "12 Herzl St\r\nApt 4\n", "12 Herzl St, Apt 4", "");
    // The file counts code points: 25 emoji are 50 UTF-16 units and still fit.
    row("astral fits", "Lname", thumb.repeated(25), thumb.repeated(25), "");
    row("no half character", "Lname", QString(24, u'a') + thumb + skin, QString(24, u'a'), "cut to 25 characters");
    row("zip", "Zip", "12345", "12345", "");
    row("zip empty", "Zip", "", "_____", "");
    row("zip seven digits", "Zip", "3498838", "_____", "left out: not five digits");
    row("ZIP+4", "Zip", "53202-1234", "53202", "stored as 53202, the +4 part 1234 left out");
    row("tel empty", "Tel1", "", kMask, "");
    row("tel international", "Tel2", "+972-50-1234567", "050 - 1234567", "");
    row("tel short", "Pel", "12345", kMask, "left out: not ten digits");
    row("fax extension", "Fax", "050-1234567 ext. 3", "050 - 1234567", "stored as 050 - 1234567, extension 3 left out");
}

void TestCsv::fitField()
{
    QFETCH(QString, column);
    QFETCH(QString, raw);
    QFETCH(QString, stored);
    QFETCH(QString, action);

    Contact contact;
    contact.category = QStringLiteral("Personal");
    contact.lname = QStringLiteral("Levi");
    fieldOf(contact, column) = raw;
    ContactFit::Result result = ContactFit::fit(contact, 7, QStringLiteral("IL"));
    QCOMPARE(fieldOf(result.contact, column), stored);
    QCOMPARE(result.problems.size(), action.isEmpty() ? 0 : 1);
    if (!action.isEmpty()) {
        const ExchangeProblem& p = result.problems.constFirst();
        QCOMPARE(QStringList({QString::number(p.record), p.field, p.value, p.action}),
                 QStringList({"7", column, raw, action}));
    }
}

void TestCsv::fitBooks_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("busName");
    QTest::addColumn<QString>("stored"); // category and company
    QTest::addColumn<QString>("problemField");

    // A personal entry keeps one space as its company, as the entry window stores it.
    row("personal", "Personal", "", "Personal| ", "");
    row("personal with company", "Personal", "Acme", "Personal| ", "BusName");
    row("business", "Business", "Acme", "Business|Acme", "");
    row("letter case", "business", "Acme", "Business|Acme", "");
    row("other category, company", "Friends", "Acme", "Business|Acme", "Category");
    row("company cut", "Business", QString(31, u'x'), "Business|" + QString(30, u'x'), "BusName");
}

void TestCsv::fitBooks()
{
    QFETCH(QString, category);
    QFETCH(QString, busName);
    QFETCH(QString, stored);
    QFETCH(QString, problemField);

    Contact contact;
    contact.category = category;
    contact.busName = busName;
    contact.fname = QStringLiteral("Dana");
    const ContactFit::Result result = ContactFit::fit(contact, 1, QStringLiteral("IL"));
    QCOMPARE(result.contact.category + u'|' + result.contact.busName, stored);
    QStringList fields;
    for (const ExchangeProblem& p : result.problems)
        fields << p.field;
    QCOMPARE(fields.join(u','), problemField);
}

void TestCsv::fitEmpty_data()
{
    QTest::addColumn<QString>("column"); // the one number the row holds
    for (const char* column : {"Tel1", "Tel2", "Pel", "Fax"})
        QTest::newRow(column) << QString::fromLatin1(column);
}

void TestCsv::fitEmpty()
{
    QFETCH(QString, column);
    Contact contact;
    contact.tel1 = kMask;
    contact.zip = QStringLiteral("_____");
    const ContactFit::Result empty = ContactFit::fit(contact, 3, QStringLiteral("IL"));
    QVERIFY(empty.empty);
    QCOMPARE(empty.problems.size(), 1);
    QCOMPARE(empty.problems.constFirst().record, 3);

    // A number alone, in any of the four number columns, makes an entry; untyped boxes take the masks the entry
    // window stores.
    fieldOf(contact, column) = QStringLiteral("0521234567");
    const ContactFit::Result number = ContactFit::fit(contact, 3, QStringLiteral("IL"));
    QVERIFY(!number.empty);
    QVERIFY(number.problems.isEmpty());
    Contact expected = number.contact;
    expected.tel1 = expected.tel2 = expected.pel = expected.fax = kMask;
    fieldOf(expected, column) = QStringLiteral("052 - 1234567");
    const Contact& c = number.contact;
    QCOMPARE(QStringList({c.tel1, c.tel2, c.pel, c.fax, c.zip, c.busName}),
             QStringList({expected.tel1, expected.tel2, expected.pel, expected.fax, "_____", " "}));
}

void TestCsv::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<CsvReader::Options>("options");
    QTest::addColumn<QString>("contacts");
    QTest::addColumn<QString>("problems");

    const QString plain = QStringLiteral("First Name,Last Name,Mobile Phone\r\nMoshe,Cohen,050-1234567\r\n");
    const QString moshe = QStringLiteral("Personal; Fname=Moshe; Lname=Cohen; Pel=050-1234567");
    const QString hebrew =
        QString::fromUtf8("שם פרטי;שם משפחה;טלפון נייד;רחוב בעבודה;רחוב בבית\nדנה;לוי;0521234567;הרצל 1;בגין 2\n");
    const QString dana = QString::fromUtf8("Personal; Fname=דנה; Lname=לוי; Address=בגין 2; Pel=0521234567");
    const QString oneAddress = QStringLiteral("1:left out: the entry holds one address");

    file("UTF-8", plain.toUtf8(), moshe);
    file("UTF-8 BOM, semicolons, Hebrew header", "\xEF\xBB\xBF" + hebrew.toUtf8(), dana, oneAddress);
    file("UTF-16LE BOM, tabs",
         utf16(QStringLiteral("Given Name\tFamily Name\tOrganization 1 - Name\nRon\tBar\tAcme Ltd\n"),
               QStringConverter::Utf16LE, true),
         "Business; Fname=Ron; Lname=Bar; BusName=Acme Ltd");
    file("UTF-16LE no BOM", utf16(hebrew, QStringConverter::Utf16LE, false), dana, oneAddress);
    file("UTF-16BE no BOM", utf16(plain, QStringConverter::Utf16BE, false), moshe);
    CsvReader::Options hebrewFallback;
    hebrewFallback.fallbackEncoding = QStringLiteral("windows-1255");
    file("windows-1255, a guess", "First Name,Last Name\n\xE3\xEF,\xEB\xE4\xEF\n",
         QString::fromUtf8("Personal; Fname=דן; Lname=כהן"), "0:read as windows-1255", hebrewFallback);

    file("quoted separators, quotes, line breaks",
         "First Name,Last Name,Company,Home Street\n\"Dan\",\"O\"\"Brien\", \"Smith, Jones\",\"12 Herzl\r\nFlat 4\"\n",
         "Business; Fname=Dan; Lname=O\"Brien; BusName=Smith, Jones; Address=12 Herzl\nFlat 4");
    file("a field more, a field less", "First Name,Phone\nDan,0501234567,extra\nRina\nAvi,0521234567\n",
         "Personal; Fname=Dan; Tel1=0501234567 / Personal; Fname=Rina / Personal; Fname=Avi; Tel1=0521234567",
         "1:has 3 fields");
    file("no header, names given", "Moshe,Cohen,0501234567\n", "Personal; Fname=Moshe; Lname=Cohen; Tel1=0501234567",
         "", withoutHeader("First Name,Last Name,Phone"));
    file("no header, no names", "Moshe,Cohen,0501234567\n", "", "0:nothing read");
    file("separator given", "Levi, Dan;0501234567\n", "Personal; Lname=Levi, Dan; Tel1=0501234567", "",
         withoutHeader("Last Name,Phone", u';'));
    // Commas in the values outnumber the semicolons of the header: the header's separator still wins.
    file("semicolons, commas in the notes",
         "First Name;Last Name;Notes\nDan;Cohen;call back, after 5, urgent\n"
         "Rina;Levi;a, b, c, d\n",
         "Personal; Fname=Dan; Lname=Cohen / Personal; Fname=Rina; Lname=Levi", "0:2 values left out");

    file("address book export",
         "\"First Name\",\"Last Name\",\"Company\",\"E-mail Address\",\"Mobile Phone\",\"Business Phone\","
         "\"Home Phone\",\"Business Fax\",\"Home Street\",\"Home City\",\"Home State\",\"Home Postal Code\"\n"
         "Noa,Peretz,,noa@example.com,052-7654321,03-6543210,04-8765432,03-6543211,5 Hagefen,Haifa,HA,34988\n",
         // A personal entry's home number first; the e-mail counted as left out.
         "Personal; Fname=Noa; Lname=Peretz; Address=5 Hagefen; City=Haifa; State=HA; Zip=34988; Tel1=04-8765432; "
         "Tel2=03-6543210; Pel=052-7654321; Fax=03-6543211",
         "0:1 value left out: the directory has no place for them");
    file("type and value pairs",
         "Given Name,Family Name,Organization 1 - Name,Organization 1 - Title,Phone 1 - Type,Phone 1 - Value,"
         "Phone 2 - Type,Phone 2 - Value,Phone 3 - Type,Phone 3 - Value,Address 1 - Street,Address 1 - City,"
         "Address 1 - Region,Address 1 - Postal Code\n"
         "Yael,Mor,,Engineer,Mobile,052 111 2222,Work Fax,03-5556666,Home,03-1112222 ::: 03-3334444,Rothschild 1,"
         "Tel Aviv,TA,65432\n",
         "Personal; Fname=Yael; Lname=Mor; Address=Rothschild 1; City=Tel Aviv; State=TA; Zip=65432; "
         "Tel1=03-1112222; Tel2=03-3334444; Pel=052 111 2222; Fax=03-5556666",
         "0:1 value left out: the directory has no place for them");
    // The services' own layouts: the type column says home or work, the written-out address is no street, pagers
    // come last, and the empty field one mail program ends every row with is nothing.
    file("typed addresses, formatted block, pager, trailing empty field",
         "Company,Home Address,Home Street,Pager,Phone 1 - Type,Phone 1 - Value,Address 1 - Type,Address 1 - Street,"
         "Address 2 - Type,Address 2 - Street,\n"
         "Acme,\"2 Home Ln\nAkko\",2 Home Ln,0549999999,Work,035-5550000,Home,2 Home Ln,Work,1 Work Rd,\n",
         "Business; BusName=Acme; Address=1 Work Rd; Tel1=035-5550000; Tel2=0549999999",
         oneAddress + " / " + oneAddress);
    file("category column", "Category,First Name,Company\nBusiness,Avi,\nPersonal,Rina,Acme\n",
         "Business; Fname=Avi / Personal; Fname=Rina; BusName=Acme");
    file("one address kept",
         "Company,First Name,Business Street,Business City,Home Street,Home City\n"
         "Acme,,1 Work Rd,Haifa,2 Home Ln,Akko\n,Dan,1 Work Rd,,2 Home Ln,\n",
         "Business; BusName=Acme; Address=1 Work Rd; City=Haifa / Personal; Fname=Dan; Address=2 Home Ln",
         oneAddress + " / 2:left out: the entry holds one address");
    file("more numbers than fields",
         "First Name,Home Phone,Business Phone,Other Phone,Mobile Phone,Cell Phone,Fax,Home Fax\n"
         "Dan,0311111111,0322222222,0333333333,0541111111,0542222222,0344444444,0355555555\n",
         "Personal; Fname=Dan; Tel1=0311111111; Tel2=0322222222; Pel=0541111111; Fax=0355555555",
         "1:left out: the entry holds one fax number / 1:left out: the entry holds two telephone numbers / "
         "1:left out: the entry holds two telephone numbers");
    file("a number no entry holds gives way", "First Name,Mobile Phone,Cell Phone\nDan,12,0541111111\n",
         "Personal; Fname=Dan; Pel=0541111111", "1:left out: not ten digits");
    file("full name only", "Name,Phone\nMoshe Ben David,0501234567\n",
         "Personal; Fname=Moshe Ben; Lname=David; Tel1=0501234567");

    const QString afterBrokenQuote =
        QStringLiteral("Personal; Fname=Dan; Lname=\"Cohen / Personal; Fname=Rina / Personal; Fname=Avi; Lname=Bar");
    file("quote closed rows later", "First Name,Last Name\nDan,\"Cohen\nRina\nAvi,\"Bar\"\n", afterBrokenQuote,
         "1:a quote is not closed on its line");
    file("quote never closed", "First Name,Last Name\nDan,\"Cohen\nRina\nAvi,Bar", afterBrokenQuote,
         "1:a quote is never closed");
    file("blank lines, CR line ends", "First Name\r\r   \rDan\r\n\r\nRina",
         "Personal; Fname=Dan / Personal; Fname=Rina");
}

void TestCsv::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(CsvReader::Options, options);
    QFETCH(QString, contacts);
    QFETCH(QString, problems);

    const ReadResult result = CsvReader(bytes).read(options);
    QCOMPARE(rendered(result.contacts), contacts);
    QCOMPARE(rendered(result.problems, problems), problems);
}

void TestCsv::readAgain()
{
    // The preview reads the same bytes again when the user picks the encoding the guess missed.
    const CsvReader reader(QByteArray("Company\n\xF9\xEC\xE5\xED\n"));
    const ReadResult guessed = reader.read();
    QCOMPARE(guessed.contacts.size(), 1);
    QCOMPARE(guessed.contacts.constFirst().busName, QString::fromUtf8("ùìåí"));
    QCOMPARE(guessed.problems.size(), 1);

    CsvReader::Options chosen;
    chosen.encoding = QStringLiteral("windows-1255");
    const ReadResult read = reader.read(chosen);
    QCOMPARE(read.contacts.constFirst().busName, QString::fromUtf8("שלום"));
    QVERIFY(read.problems.isEmpty());
}

void TestCsv::roundTrip()
{
    const auto entry = [](const QStringList& v) {
        return Contact{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]};
    };
    const QString mask = PhoneNumbers::untypedMask();
    const QList<Contact> stored{
        entry({"Personal", QString::fromUtf8("דוד"), QString::fromUtf8("בן-גוריון"), " ",
               QString::fromUtf8("שדרות \"קק\"ל\", 3\nקומה 2"), QString::fromUtf8("תל אביב"), "", "61000",
               "048 - 1234567", mask, "050 - 1234567", mask}),
        entry({"Business", "", "", "Smith, \"Jones\" & Co", " 1 Main St ", "Haifa", "HA", "_____", mask,
               "072 - 5556666", mask, "077 - 5556667"}),
        entry({"Business", "Avi", "Bar", "", "", "", "", "_____", mask, mask, mask, mask}),
    };
    QList<Contact> fitted;
    const ReadResult read = CsvReader(CsvWriter::contacts(stored)).read();
    QVERIFY(read.problems.isEmpty());
    for (int i = 0; i < read.contacts.size(); ++i) {
        const ContactFit::Result result = ContactFit::fit(read.contacts.at(i), i + 1, QStringLiteral("IL"));
        QVERIFY(result.problems.isEmpty());
        fitted << result.contact;
    }
    // The file keeps a value's spaces and line breaks; the fitting trims the spaces and joins the lines, as a typed
    // box would have neither.
    QList<Contact> expected = stored;
    expected[0].address = QString::fromUtf8("שדרות \"קק\"ל\", 3, קומה 2");
    expected[1].address = QStringLiteral("1 Main St");
    QCOMPARE(rendered(fitted), rendered(expected));
}

void TestCsv::messages()
{
    const QByteArray csv = CsvWriter::messages(
        {{"2026-03-05", "09:07:00", QString::fromUtf8("רונית"), "Dan", "Call back, \"urgent\"\nafter 5"},
         {"", "", "", "", ""}});
    QCOMPARE(csv, QByteArray("\xEF\xBB\xBF"
                             "Date,Time,From,To,Message\r\n"
                             "2026-03-05,09:07:00,\xD7\xA8\xD7\x95\xD7\xA0\xD7\x99\xD7\xAA,Dan,"
                             "\"Call back, \"\"urgent\"\"\nafter 5\"\r\n"
                             ",,,,\r\n"));
}

void TestCsv::brokenInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("contacts");

    constexpr int kBig = 5 * 1024 * 1024;
    const QByteArray header("First Name,Last Name\n");
    QTest::newRow("5 MB line") << header + QByteArray(kBig, 'x') << 1;
    QTest::newRow("5 MB of separators") << header + QByteArray(kBig, ',') << 0; // one row of nothing
    QTest::newRow("5 MB of quotes") << header + QByteArray(kBig, '"') << 1;
    QTest::newRow("5 MB of quoted line breaks") << header + "Dan,\"" + QByteArray(kBig, '\n') << 1;
    // Every quote opens a field the next line's quote seems to close: each row must still be read on its own.
    QTest::newRow("a broken quote on every line") << header + QByteArray("Dan,\"Cohen\n").repeated(300000) << 300000;
    QTest::newRow("one quote, rows after")
        << header + "Dan,\"Cohen\n" + QByteArray("Rina,Levi\n").repeated(300000) << 300001;
    QByteArray junk(kBig, Qt::Uninitialized);
    QRandomGenerator random(20261207);
    for (char& byte : junk)
        byte = char(random.bounded(256));
    QTest::newRow("binary junk") << header + junk << -1;
}

void TestCsv::brokenInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, contacts);

    QElapsedTimer timer;
    timer.start();
    const ReadResult result = CsvReader(bytes).read();
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    if (contacts >= 0)
        QCOMPARE(result.contacts.size(), contacts);
    for (int i = 0; i < std::min<int>(100, int(result.contacts.size())); ++i)
        ContactFit::fit(result.contacts.at(i), i + 1, QStringLiteral("IL"));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
