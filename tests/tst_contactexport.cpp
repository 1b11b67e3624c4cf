// What leaves the directory through the command line: every place an export or a printout can be aimed at, the
// printed phone list, and our cards as another program's reader takes them.
#include "ContactIoFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestContactExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportTargets_data();
    void exportTargets();
    void thePhoneListCutsNothing();
    void anotherReaderReadsOurCards_data();
    void anotherReaderReadsOurCards();
};

void TestContactExport::exportTargets_data()
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
    QTest::newRow("a PDF from a program without its printing") << "--pdf"
                                                               << "no printing" << 2;
}

// Every place an export or a printout can be aimed at: the directory survives whole, a refused target stays as it
// was, and the refusal names the path and the reason.
void TestContactExport::exportTargets()
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
        if (target == QLatin1String("no printing"))
            QVERIFY(QFile::remove(db.dir() + QStringLiteral("/tovrin_printing.so")));
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
        QVERIFY2(err.contains(target == QLatin1String("no printing") ? QByteArray("Printing is not available")
                                                                     : QFile::encodeName(path)),
                 err.constData());
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

// Every number whole, even with four of them to an entry; the address under the name; each book under its name;
// nothing inside the 10 mm a printer keeps free.
void TestContactExport::thePhoneListCutsNothing()
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

void TestContactExport::anotherReaderReadsOurCards_data()
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
void TestContactExport::anotherReaderReadsOurCards()
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

QTEST_GUILESS_MAIN(TestContactExport)
#include "tst_contactexport.moc"
