#include "exchange/VCardParser.h"
#include "exchange/VCardReader.h"
#include "exchange/VCardWriter.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(VCardWriter::Version)

namespace {

const QString kFallback = QStringLiteral("windows-1255");

// A 3.0 card around `body`, whose "\n" become CR LF.
QByteArray v3(const QByteArray& body)
{
    QByteArray text = "BEGIN:VCARD\nVERSION:3.0\n" + body + "\nEND:VCARD\n";
    return text.replace("\n", "\r\n");
}

// Little-endian, as desktop address books write it.
QByteArray utf16(const QByteArray& text, bool bom)
{
    QByteArray bytes = bom ? QByteArray("\xFF\xFE") : QByteArray();
    for (const QChar c : QString::fromUtf8(text))
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return bytes;
}

// Only the fields that hold something, so a table row states just what the card is about.
QString render(const Contact& c)
{
    QStringList parts{c.category};
    const auto add = [&](const char* key, const QString& value) {
        if (!value.isEmpty())
            parts.append(QLatin1String(key) + QLatin1Char('=') + value);
    };
    add("fname", c.fname);
    add("lname", c.lname);
    if (c.category != QLatin1String("Personal") || c.busName != QLatin1String(" "))
        add("busName", c.busName);
    add("address", c.address);
    add("city", c.city);
    add("state", c.state);
    add("zip", c.zip);
    add("tel1", c.tel1);
    add("tel2", c.tel2);
    add("pel", c.pel);
    add("fax", c.fax);
    return parts.join(QStringLiteral(" | "));
}

QStringList renderProblems(const ProblemList& problems)
{
    QStringList lines;
    for (const ExchangeProblem& p : problems) {
        // a problem that does not say what is done with the value is of no use to the user
        if (p.action.isEmpty())
            lines.append(QStringLiteral("no action"));
        lines.append(QStringLiteral("%1 %2 %3").arg(p.record).arg(p.field, p.value).trimmed());
    }
    return lines;
}

Contact entry(const QString& category, const QString& fname, const QString& lname, const QString& busName,
              const QStringList& rest = {})
{
    Contact c;
    c.category = category;
    c.fname = fname;
    c.lname = lname;
    c.busName = busName;
    QString* fields[] = {&c.address, &c.city, &c.state, &c.zip, &c.tel1, &c.tel2, &c.pel, &c.fax};
    for (qsizetype i = 0; i < rest.size(); ++i)
        *fields[i] = rest.at(i);
    return c;
}

} // namespace

class TestVCard : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void cards_data();
    void cards();
    void brokenInput_data();
    void brokenInput();
    void roundTrip_data();
    void roundTrip();
    void numbers_data();
    void numbers();
};

void TestVCard::lines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected"); // group|NAME|parameters|value|components

    QTest::newRow("group, lower case") << QByteArray("item1.tel;type=cell:1") << "item1|TEL|TYPE=cell|1|1";
    QTest::newRow("2.1 bare") << QByteArray("TEL;CELL;PREF:1") << "|TEL|TYPE=CELL,PREF|1|1";
    QTest::newRow("2.1 bare encoding") << QByteArray("NOTE;QUOTED-PRINTABLE:a=3Db")
                                       << "|NOTE|ENCODING=QUOTED-PRINTABLE|a=b|a=b";
    QTest::newRow("quoted colon") << QByteArray("X-A;LABEL=\"a:b;c\":v") << "|X-A|LABEL=a:b;c|v|v";
    QTest::newRow("escapes") << QByteArray("N:a\\;b;c\\,d\\\\\\nx\\q") << "|N||a;b;c,d\\\nx\\q|a;b,c,d\\\nx\\q";
}

void TestVCard::lines()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);

    const VCardParser::Result result = VCardParser::parse("BEGIN:VCARD\r\n" + line + "\r\nEND:VCARD\r\n", kFallback);
    QCOMPARE(result.problems.size(), 0);
    QCOMPARE(result.cards.size(), 1);
    QCOMPARE(result.cards.first().lines.size(), 1);
    const VCardLine& l = result.cards.first().lines.first();
    QStringList parameters;
    for (auto it = l.parameters.cbegin(); it != l.parameters.cend(); ++it)
        parameters.append(it.key() + QLatin1Char('=') + it.value().join(QLatin1Char(',')));
    QCOMPARE(QStringList({l.group, l.name, parameters.join(QLatin1Char(';')), l.value, l.components.join(',')})
                 .join(QLatin1Char('|')),
             expected);
}

void TestVCard::cards_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("contacts");
    QTest::addColumn<QStringList>("problems");

    const QString dana = QStringLiteral("Personal | fname=Dana | lname=Cohen");
    const QString hebrew = QString::fromUtf8("Personal | fname=דנה | lname=כהן");
    const QByteArray twoOne = "BEGIN:VCARD\r\nVERSION:2.1\r\n";

    QTest::newRow("2.1 bare types")
        << twoOne +
               "N:Cohen;Dana\r\nTEL;CELL;PREF:050-1234567\r\nTEL;HOME;VOICE:03-1234567\r\nTEL;WORK;FAX:03-7654321\r\n"
               "END:VCARD\r\n"
        << QStringList{dana + " | tel1=03-1234567 | pel=050-1234567 | fax=03-7654321"} << QStringList{};
    QTest::newRow("2.1 QP UTF-8")
        << twoOne + "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D7=9B=D7=94=D7=9F;=D7=93=D7=A0=D7=94\r\nEND:VCARD\r\n"
        << QStringList{hebrew} << QStringList{};
    QTest::newRow("2.1 QP windows-1255")
        << twoOne + "N;CHARSET=WINDOWS-1255;ENCODING=QUOTED-PRINTABLE:=EB=E4=EF;=E3=F0=E4\r\nEND:VCARD\r\n"
        << QStringList{hebrew} << QStringList{};
    QTest::newRow("2.1 QP soft breaks, one inside a character, one before a blank")
        << twoOne + "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D7=9B=D7=\r\n=94=D7=9F;Da=\r\nna\r\n"
                    "ADR;ENCODING=QUOTED-PRINTABLE:;;Herzl=\r\n 12=0D=0AApt 4;Haifa\r\nEND:VCARD\r\n"
        << QStringList{QString::fromUtf8("Personal | fname=Dana | lname=כהן | address=Herzl 12\nApt 4 | city=Haifa")}
        << QStringList{};
    QTest::newRow("2.1 base64 photo, folded and unindented")
        << twoOne + "N:Cohen;Dana\r\nPHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQ\r\n  AAAQABAAD/2wBDAAgGBgcG\r\n"
                    "BwgHBwcJCQgKDBQNDAsLDBkSEw8U==\r\n\r\nTEL;CELL:0501234567\r\nEND:VCARD\r\n"
        << QStringList{dana + " | pel=0501234567"} << QStringList{"0 photo"};
    QTest::newRow("3.0 b photo and groups")
        << v3("N:Cohen;Dana\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\n SkZJRg==\nitem1.TEL;TYPE=CELL:050\nitem1.X-LABEL:x\n"
              "item2.TEL:03")
        << QStringList{dana + " | tel1=03 | pel=050"} << QStringList{"0 photo"};
    QTest::newRow("3.0 escapes")
        << v3("N:Cohen\\, Levi;Dana\\; Ruth\nORG:Ben \\; Sons\\, Ltd;Sales\nADR:;;1 A\\nB\\NC\\\\D;Haifa")
        << QStringList{"Business | fname=Dana; Ruth | lname=Cohen, Levi | busName=Ben ; Sons, Ltd | "
                       "address=1 A\nB\nC\\D | city=Haifa"}
        << QStringList{"0 department"};
    QTest::newRow("folds: space, tab, in a character, in parameters")
        << v3("N:Co\n hen;D\n\tana\nADR:;;הר\xD7\n \xA6\xD7\x9C\nTEL;TY\n PE=CE\n LL:050")
        << QStringList{dana + QString::fromUtf8(" | address=הרצל | pel=050")} << QStringList{};
    QTest::newRow("4.0 tel URIs")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Dana Cohen\r\nTEL;VALUE=uri;TYPE=\"cell,voice\":tel:+972-50-"
                      "1234567\r\nTEL;VALUE=uri:tel:+972-3-1234567;ext=12\r\nEND:VCARD\r\n")
        << QStringList{dana + " | tel1=+972-3-1234567 ext. 12 | pel=+972-50-1234567"} << QStringList{};
    QTest::newRow("4.0 KIND org") << QByteArray("BEGIN:VCARD\nVERSION:4.0\nKIND:org\nFN:Acme\nEND:VCARD\n")
                                  << QStringList{"Business | busName=Acme"} << QStringList{};
    QTest::newRow("lower case, no VERSION, LF")
        << QByteArray("begin:vcard\nn:Cohen;Dana\ntel;type=work;type=fax:03\nend:vcard\n")
        << QStringList{dana + " | fax=03"} << QStringList{};
    QTest::newRow("CR CR LF, blank lines, two cards")
        << QByteArray("\r\r\nBEGIN:VCARD\r\r\nFN:Dana Cohen\r\r\nEND:VCARD\r\r\n\r\r\n\r\nBEGIN:VCARD\r\r\nFN:"
                      "Ran\r\r\nEND:VCARD")
        << QStringList{dana, "Personal | lname=Ran"} << QStringList{};
    QTest::newRow("lone CR") << QByteArray("BEGIN:VCARD\rFN:Dana Cohen\rEND:VCARD\r") << QStringList{dana}
                             << QStringList{};
    QTest::newRow("BOM, and a BOM before a joined file")
        << "\xEF\xBB\xBF" + v3("FN:Dana Cohen") + "\xEF\xBB\xBF" + v3("FN:Ran")
        << QStringList{dana, "Personal | lname=Ran"} << QStringList{};
    QTest::newRow("UTF-16 with BOM") << utf16(v3("N:כהן;דנה"), true) << QStringList{hebrew} << QStringList{};
    QTest::newRow("UTF-16 without BOM") << utf16(v3("N:כהן;דנה"), false) << QStringList{hebrew} << QStringList{};
    QTest::newRow("undeclared, not UTF-8: the fallback")
        << v3("N:\xEB\xE4\xEF;\xE3\xF0\xE4") << QStringList{hebrew} << QStringList{"0  windows-1255"};
    QTest::newRow("unknown CHARSET") << v3("N;CHARSET=X-NOPE:Cohen;Dana") << QStringList{dana}
                                     << QStringList{"1 N X-NOPE"};
    QTest::newRow("ORG: Business, FN repeating it is no name")
        << v3("FN:Acme Ltd\nORG:Acme Ltd;Sales\nTEL;TYPE=WORK:03")
        << QStringList{"Business | busName=Acme Ltd | tel1=03"} << QStringList{"0 department"};
    QTest::newRow("empty N: FN split at its last word")
        << v3("N:;;;;\nFN:Dana Ruth  Cohen") << QStringList{"Personal | fname=Dana Ruth | lname=Cohen"}
        << QStringList{};
    QTest::newRow("additional name") << v3("N:Cohen;Dana;Ruth;Dr.;") << QStringList{dana} << QStringList{"1 N Ruth"};
    // A number no entry can hold gives way to one that fits, rather than keep it out "for want of room".
    QTest::newRow("invalid number first")
        << v3("FN:Dana Cohen\nTEL;TYPE=CELL:12\nTEL;TYPE=CELL:050-1234567\nTEL;TYPE=CELL:03")
        << QStringList{dana + " | tel1=03 | pel=050-1234567"} << QStringList{"1 TEL 12"};
    QTest::newRow("address: street, extended; a second one left out")
        << v3("FN:Dana Cohen\nADR:;;;;;;Israel\nADR;TYPE=HOME:;Apt 4;12 Herzl St;Haifa;North;3303112;Israel\n"
              "ADR:;;1 Main;Eilat;;;")
        << QStringList{dana + " | address=12 Herzl St, Apt 4 | city=Haifa | state=North | zip=3303112"}
        << QStringList{"0 country", "1 ADR 1 Main, Eilat"};
    // A personal entry takes its home number first.
    QTest::newRow("numbers left over")
        << v3("FN:Dana Cohen\nTEL:1\nTEL;TYPE=CELL:2\nTEL;TYPE=HOME:3\nTEL;TYPE=CELL:4\nTEL:5\nTEL;TYPE=FAX:6\n"
              "TEL;TYPE=FAX:7\nTEL:")
        << QStringList{dana + " | tel1=3 | tel2=1 | pel=2 | fax=6"} << QStringList{"1 TEL 7", "1 TEL 5", "1 TEL 4"};
    // The same person as a CSV row gives: a business keeps its work address, a second cellular number and then a
    // pager take the telephone fields the others leave free.
    QTest::newRow("one mapping with CSV")
        << v3("FN:Dana Cohen\nORG:Acme\nADR;TYPE=HOME:;;2 Home Ln;Akko;;;\nADR;TYPE=WORK:;;1 Work Rd;Haifa;;;\n"
              "TEL;TYPE=PAGER:0549999999\nTEL;TYPE=CELL:0521111111\nTEL;TYPE=CELL:0522222222")
        << QStringList{"Business | fname=Dana | lname=Cohen | busName=Acme | address=1 Work Rd | city=Haifa | "
                       "tel1=0522222222 | tel2=0549999999 | pel=0521111111"}
        << QStringList{"1 ADR 2 Home Ln, Akko"};
    QTest::newRow("no name, no number") << v3("FN:Dana Cohen") + v3("EMAIL:a@b.c\nADR:;;1 Main;;;;") + v3("TEL:03")
                                        << QStringList{dana, "Personal | tel1=03"}
                                        << QStringList{"0 e-mail", "2  1 Main"};
    QTest::newRow("last card without END")
        << QByteArray("BEGIN:VCARD\r\nFN:Dana Cohen\r\n") << QStringList{dana} << QStringList{"1"};
    QTest::newRow("no card") << QByteArray("Name,Phone\r\nDana,050\r\n") << QStringList{}
                             << QStringList{"0  Name,Phone", "0"};
    QTest::newRow("empty file") << QByteArray() << QStringList{} << QStringList{"0"};
}

void TestVCard::cards()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, contacts);
    QFETCH(QStringList, problems);

    bool fallbackUsed = false;
    const ReadResult result = VCardReader::read(file, kFallback, &fallbackUsed);
    QStringList got;
    for (const Contact& c : result.contacts)
        got.append(render(c));
    QCOMPARE(got, contacts);
    QCOMPARE(renderProblems(result.problems), problems);
    QCOMPARE(fallbackUsed, QByteArray(QTest::currentDataTag()).contains("fallback"));
}

void TestVCard::brokenInput_data()
{
    QTest::addColumn<QByteArray>("broken");
    QTest::addColumn<QString>("problem"); // part of the first problem about card 2

    QRandomGenerator random(7);
    QByteArray junk(200000, Qt::Uninitialized);
    for (char& c : junk)
        c = static_cast<char>(random.bounded(256));
    const QString nothing = QStringLiteral("no name and no telephone number");

    QTest::newRow("no END") << QByteArray("BEGIN:VCARD\r\nFN:Mid Card\r\n") << "the card has no END";
    QTest::newRow("binary junk") << "BEGIN:VCARD\r\n" + junk + "\r\nEND:VCARD\r\n"
                                 << "lines unreadable";
    QTest::newRow("5 MB value") << "BEGIN:VCARD\r\nNOTE:" + QByteArray(5 << 20, 'x') + "\r\nEND:VCARD\r\n" << nothing;
    QTest::newRow("5 MB line, no colon") << "BEGIN:VCARD\r\n\"" + QByteArray(5 << 20, 'x') + "\r\nEND:VCARD\r\n"
                                         << "line unreadable";
    QTest::newRow("5 MB of folds") << "BEGIN:VCARD\r\nNOTE:" + QByteArray(1 << 20, 'x').replace("x", "x\r\n\t ") +
                                          "\r\nEND:VCARD\r\n"
                                   << nothing;
    QTest::newRow("QP = before END") << QByteArray("BEGIN:VCARD\r\nNOTE;ENCODING=QUOTED-PRINTABLE:a=\r\nEND:VCARD\r\n")
                                     << nothing;
}

// Whatever lies between two good cards, both are read, in linear time.
void TestVCard::brokenInput()
{
    QFETCH(QByteArray, broken);
    QFETCH(QString, problem);

    QElapsedTimer timer;
    timer.start();
    const ReadResult result = VCardReader::read(v3("FN:Dana Cohen") + broken + v3("FN:Ran Levi"), kFallback);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(result.contacts.first().lname, QStringLiteral("Cohen"));
    QCOMPARE(result.contacts.last().lname, QStringLiteral("Levi"));
    const auto first = std::find_if(result.problems.begin(), result.problems.end(),
                                    [](const ExchangeProblem& p) { return p.record == 2; });
    QVERIFY(first != result.problems.end());
    QVERIFY2(first->action.contains(problem), qPrintable(first->action));
}

void TestVCard::roundTrip_data()
{
    QTest::addColumn<VCardWriter::Version>("version");
    QTest::newRow("2.1") << VCardWriter::Version::V21;
    QTest::newRow("3.0") << VCardWriter::Version::V30;
    QTest::newRow("4.0") << VCardWriter::Version::V40;
}

void TestVCard::roundTrip()
{
    QFETCH(VCardWriter::Version, version);

    const QString nasty = QString::fromUtf8("שלום \"עולם\", a;b\\c\\n =3D\nשורה 2\\");
    const QString longHebrew = QString::fromUtf8("רחוב הרצל פינת רחוב ויצמן, הבניין הגבוה, קומה שלישית, דירה מספר 12");
    QString ends; // somewhere a line break of the file falls right before an "end:"
    for (int i = 0; i < 200; ++i)
        ends += QString(i % 7, QLatin1Char('x')) + QStringLiteral("end:");
    const QList<Contact> contacts{
        entry("Personal", nasty, QString::fromUtf8("כהן-לוי"), " ",
              {longHebrew, "Tel Aviv", "Center", "61000", "031234567", "+97231234567", "0501234567", "031234568"}),
        entry("Business", "Dana", "Cohen", "Ben; Sons, \"Ltd\"",
              {"12 Herzl Street, corner of Weizmann Boulevard, the tall building, flat 12", "", "", "", "", "",
               "0501234567"}),
        // four-byte characters: a fold at 75 octets lands inside one unless it is moved
        entry("Business", "", "", QString::fromUtf8("חברה בע\"מ"),
              {QString::fromUtf8("\U0001F600").repeated(40), "", "", "", "031234567"}),
        entry("Personal", "", "", " ", {ends, "", "", "", "", "", "0501234567"}),
        // a business entry without a company is still a business one (2.1 has no categories to say so)
        entry(version == VCardWriter::Version::V21 ? "Personal" : "Business", "Avi", "Bar",
              version == VCardWriter::Version::V21 ? " " : "", {"", "", "", "", "0501234567"}),
    };
    const QByteArray file = VCardWriter::write(contacts, version);

    const ReadResult read = VCardReader::read(file, kFallback);
    QCOMPARE(renderProblems(read.problems), QStringList());
    QCOMPARE(read.contacts.size(), contacts.size());
    for (qsizetype i = 0; i < contacts.size(); ++i)
        QCOMPARE(render(read.contacts.at(i)), render(contacts.at(i)));

    // what other programs need of the file
    QVERIFY(!QByteArray(file).replace("\r\n", "").contains('\r') &&
            !QByteArray(file).replace("\r\n", "").contains('\n'));
    for (const QByteArray& line : file.split('\n')) {
        QVERIFY2(line.size() <= 76, line); // 75 octets and the CR
        // no character split between lines: old phones decode each quoted-printable line on its own
        const QByteArray text =
            version == VCardWriter::Version::V21 ? QByteArray::fromPercentEncoding(line, '=') : line;
        QVERIFY2(QString::fromUtf8(text).toUtf8() == text, line);
    }
    // FN is the one property 3.0 and 4.0 readers insist on
    for (const VCardParser::Card& card : VCardParser::parse(file, kFallback).cards) {
        QCOMPARE(std::count_if(card.lines.begin(), card.lines.end(),
                               [](const VCardLine& l) { return l.name == QLatin1String("FN"); }),
                 1);
    }
}

void TestVCard::numbers_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read"); // empty: no TEL line at all

    QTest::newRow("complete mask") << "050 - 1234567"
                                   << "0501234567";
    QTest::newRow("partly typed") << "050 - 12_____"
                                  << "05012";
    QTest::newRow("empty mask") << "___ - _______"
                                << "";
    QTest::newRow("typed otherwise") << "+972 (3) 1234567"
                                     << "+972 (3) 1234567";
}

void TestVCard::numbers()
{
    QFETCH(QString, stored);
    QFETCH(QString, read);

    for (const VCardWriter::Version version :
         {VCardWriter::Version::V21, VCardWriter::Version::V30, VCardWriter::Version::V40}) {
        const QByteArray file = VCardWriter::write(
            {entry("Personal", "Dana", "Cohen", " ", {"", "", "", "", "", "", "", stored})}, version);
        QCOMPARE(file.contains("TEL"), !read.isEmpty());
        QCOMPARE(VCardReader::read(file, kFallback).contacts.value(0).fax, read);
    }
}

QTEST_GUILESS_MAIN(TestVCard)
#include "tst_vcard.moc"
