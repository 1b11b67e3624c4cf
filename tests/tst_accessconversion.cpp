// An old program's data file found at start: converted value for value at the user's word, the old file kept byte
// for byte, and at every moment of the switch one of the two whole files in place.
#include "AsNobody.h"
#include "app/AccessConversion.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "exchange/AccessFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {

const QString kFixtures = QStringLiteral(TOVRIN_JET_FIXTURES);
const QString kBackup = QStringLiteral("Dalvek (Access).mdb");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

const QStringList kColumns = QStringLiteral("Fname Lname BusName Category Address City State Zip Tel1 Tel2 Pel Fax "
                                            "Cdate Ctime Meet Avur Hodaa")
                                 .split(QLatin1Char(' '));

// The lines of the test file's dump for the columns the program keeps; the others counted by their values.
QStringList expectedDump(const QString& name, QMap<QString, int>* unused)
{
    static const QRegularExpression line(QStringLiteral("^(tbl\\w+)\\[\\d+\\]\\.(\\w+) = (.*)$"));
    QStringList lines;
    for (const QString& text :
         QString::fromUtf8(bytesOf(kFixtures + QLatin1Char('/') + name + QStringLiteral(".expected.txt")))
             .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(text);
        if (kColumns.contains(m.captured(2)))
            lines << text;
        else
            (*unused)[m.captured(1) + QLatin1Char('.') + m.captured(2)] += m.captured(3) != QLatin1String("NULL");
    }
    return lines;
}

// The program's file, read with a plain SQLite connection as any tool reads it, written in the dump's form: rows in
// the order they were added, dates at midnight and times on day 0 as the old file held them.
QStringList dumpOf(const QString& path)
{
    sqlite3* db = nullptr;
    QStringList lines;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (const QString& table : {QStringLiteral("tblTel"), QStringLiteral("tblMes")}) {
        const QStringList columns =
            kColumns.mid(table == QLatin1String("tblTel") ? 0 : 12, table == QLatin1String("tblTel") ? 12 : 5);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db,
                           QStringLiteral("SELECT %1 FROM %2 ORDER BY ID")
                               .arg(columns.join(QLatin1Char(',')), table)
                               .toUtf8()
                               .constData(),
                           -1, &statement, nullptr);
        for (int row = 1; statement && sqlite3_step(statement) == SQLITE_ROW; ++row) {
            for (int c = 0; c < columns.size(); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                QString value = QString::fromUtf8(text, sqlite3_column_bytes(statement, c));
                if (!text)
                    value = QStringLiteral("NULL");
                else if (columns.at(c) == QLatin1String("Cdate"))
                    value += QStringLiteral(" 00:00:00");
                else if (columns.at(c) == QLatin1String("Ctime"))
                    value.prepend(QStringLiteral("1899-12-30 "));
                else
                    value = QLatin1Char('"') +
                            value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                                .replace(QLatin1Char('"'), QStringLiteral("\\\""))
                                .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
                                .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
                                .replace(QLatin1Char('\t'), QStringLiteral("\\t")) +
                            QLatin1Char('"');
                lines << QStringLiteral("%1[%2].%3 = %4").arg(table).arg(row).arg(columns.at(c), value);
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return lines;
}

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestAccessConversion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        MessageBox::setTestMode(true);
        AccessFile::setReaderProgram(QStringLiteral(TOVRIN_BINARY));
        AccessFile::setTimeLimit(3000);
    }
    void cleanup() { MessageBox::takeMessages(); }

    void everyValueCarried_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Jet4 2000") << QStringLiteral("dalvek-jet4-v2000.mdb");
        QTest::newRow("Jet4 2003, no key") << QStringLiteral("dalvek-jet4-v2003-nokey.mdb");
        QTest::newRow("ACE 2007") << QStringLiteral("dalvek-ace-v2007.accdb");
    }
    // Yes: the program's file holds every row of both tables as stored, the old file is kept byte for byte, the
    // columns left behind are named with their counts, nothing else is left in the folder.
    void everyValueCarried()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Dalvek.mdb"));
        const QByteArray old = bytesOf(kFixtures + QLatin1Char('/') + name);
        put(path, old);
        Module1::setProgramDirForTesting(dir.path());
        MessageBox::setNextAnswer(true);
        QCOMPARE(AccessConversion::offerAtStart(nullptr), AccessConversion::Start::Go);

        QMap<QString, int> unused;
        QCOMPARE(dumpOf(path), expectedDump(name, &unused));
        QCOMPARE(bytesOf(dir.filePath(kBackup)), old);
        QCOMPARE(filesIn(dir.path()), (QStringList{kBackup, QStringLiteral("Dalvek.mdb")}));
        QCOMPARE(QFile::permissions(path), QFile::permissions(dir.filePath(kBackup)));
        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages.at(0).contains(path));
        for (auto it = unused.begin(); it != unused.end(); ++it)
            QVERIFY2(messages.at(1).contains(QStringLiteral("%1 (%2 values)").arg(it.key()).arg(it.value())),
                     qPrintable(messages.at(1)));
        // A second start finds the program's own file and asks nothing.
        QCOMPARE(AccessConversion::offerAtStart(nullptr), AccessConversion::Start::Go);
        QCOMPARE(MessageBox::takeMessages(), QStringList());
    }

    void nothingChanged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<QString>("reason");
        const QByteArray jet = bytesOf(kFixtures + QStringLiteral("/dalvek-jet4-v2000.mdb"));
        QByteArray noTel = jet;
        const QString from = QStringLiteral("tblTel"), to = QStringLiteral("tblTex");
        noTel.replace(QByteArray(reinterpret_cast<const char*>(from.utf16()), 12),
                      QByteArray(reinterpret_cast<const char*>(to.utf16()), 12));
        QTest::newRow("the user says no") << jet << false << true << QString();
        QTest::newRow("folder not writable") << jet << true << false << QStringLiteral("cannot be written");
        QTest::newRow("no tblTel") << noTel << true << true << QStringLiteral("no table tblTel");
        QTest::newRow("cut short") << jet.left(jet.size() / 2) << true << true << QStringLiteral("cannot be read");
        // The entries whole, the messages past the cut: no conversion with "0 messages".
        QTest::newRow("cut after the entries")
            << bytesOf(kFixtures + QStringLiteral("/dalvek-jet4-v2003-nokey.mdb")).left(57 * 4096) << true << true
            << QStringLiteral("the table tblMes is damaged");
    }
    // No, or a conversion that cannot be made: the program ends, the folder is as it was, and a failure is said
    // with the file's name and the reason.
    void nothingChanged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, answer);
        QFETCH(bool, folderWritable);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Dalvek.mdb"));
        put(path, bytes);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        QFile::setPermissions(dir.path(),
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther |
                                  (folderWritable ? QFile::WriteOwner | QFile::WriteOther : QFile::Permissions()));
        Module1::setProgramDirForTesting(dir.path());
        MessageBox::setNextAnswer(answer);
        AccessConversion::Start start;
        {
            AsNobody nobody; // root writes into any folder
            start = AccessConversion::offerAtStart(nullptr);
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(start, answer ? AccessConversion::Start::Failed : AccessConversion::Start::Declined);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Dalvek.mdb")});
        QCOMPARE(bytesOf(path), bytes);
        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), answer ? 2 : 1);
        if (answer) {
            QVERIFY2(messages.at(1).contains(path) && messages.at(1).contains(reason), qPrintable(messages.at(1)));
            QVERIFY(messages.at(1).contains(QStringLiteral("Nothing was changed")));
        }
    }

    void killedMidway_data()
    {
        QTest::addColumn<int>("step");      // the step the converter stops dead after; 0: killed at a random moment
        QTest::addColumn<bool>("asked");    // the next start asks again (the old file is still the one in place)
        QTest::addColumn<QString>("other"); // an old file put in place before the next start
        for (int step = 1; step <= 4; ++step)
            QTest::addRow("after step %d", step) << step << (step == 1) << QString();
        for (int i = 0; i < 4; ++i)
            QTest::addRow("at random %d", i) << 0 << false << QString();
        // The new file was made from another file than the one now in place: it is not switched in.
        QTest::newRow("after step 2, another old file") << 2 << true << QStringLiteral("dalvek-jet4-v2000.mdb");
    }
    void textsAndDatesAsTheyCanBeKept_data()
    {
        QTest::addColumn<QByteArray>("stored"); // the Lname's bytes in the file
        QTest::addColumn<QString>("chosen");    // empty: the user cancels the choice (or is not asked)
        QTest::addColumn<QString>("lname");     // as converted; empty: nothing converted
        QTest::addColumn<int>("start");
        QTest::addColumn<QByteArray>("messages"); // tblMes as the reader gives it
        const QByteArray shalom("\xf9\xec\xe5\xed");
        const int go = int(AccessConversion::Start::Go);
        QTest::newRow("the encoding that reads right")
            << shalom << QStringLiteral("windows-1255") << QString::fromUtf8("שלום") << go << QByteArray();
        QTest::newRow("the file's own code page")
            << shalom << QStringLiteral("windows-1252") << QString::fromUtf8("ùìåí") << go << QByteArray();
        QTest::newRow("cancelled") << shalom << QString() << QString() << int(AccessConversion::Start::Declined)
                                   << QByteArray();
        // Plain ASCII asks nothing; a text wider than its column has no exact stored form: nothing is converted.
        QTest::newRow("wider than its column") << QByteArray("Featherstonehaugh-Cholmondeley") << QString() << QString()
                                               << int(AccessConversion::Start::Failed) << QByteArray();
        // A message dated with a time of day converts; the report names what the log does not keep.
        QTest::newRow("a date with a time of day")
            << QByteArray("Cohen") << QString() << QStringLiteral("Cohen") << go
            << QByteArray("T6:tblMesC7:8 CdateC7:8 CtimeC7:10 MeetC7:10 AvurC8:12 HodaaR0:D7:31120.5D3:0.5S4:Dana"
                          "S4:HansS3:Hi!");
    }
    // A Jet 3 file whose code page says windows-1252 holds Hebrew written in windows-1255, as old files did: the user
    // sees its texts and chooses. Values with no exact stored form stop the conversion; a message's time of day is
    // named in the report. No Jet 3 file can be written here, so a stand-in reader gives the file's rows.
    void textsAndDatesAsTheyCanBeKept()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, chosen);
        QFETCH(QString, lname);
        QFETCH(int, start);
        QFETCH(QByteArray, messages);
        QTemporaryDir dir;
        const auto token = [](char tag, const QByteArray& text) {
            return tag + QByteArray::number(text.size()) + ':' + text;
        };
        QByteArray rows = "V4:jet3P4:1252" + token('T', "tblTel");
        const QByteArrayList columns{"Fname", "Lname", "BusName", "Category", "Address", "City",
                                     "State", "Zip",   "Tel1",    "Tel2",     "Pel",     "Fax"};
        for (const QByteArray& column : columns)
            rows += token('C', "10 " + column);
        // The reader passes each byte of a Jet 3 text on as the character of its number.
        rows += "R0:" + token('S', "Dan") + token('S', QString::fromLatin1(stored).toUtf8()) + token('S', " ") +
                token('S', "Personal");
        for (int c = 4; c < 12; ++c)
            rows += "N0:";
        rows += messages + "Z0:";
        const QString reader = dir.filePath(QStringLiteral("reader.sh"));
        put(reader, "#!/bin/sh\ncat >/dev/null\nprintf '%s' '" + rows + "'\n");
        QFile::setPermissions(reader, QFile::ReadOwner | QFile::ExeOwner);
        AccessFile::setReaderProgram(reader);
        const auto back = qScopeGuard([] { AccessFile::setReaderProgram(QStringLiteral(TOVRIN_BINARY)); });

        const QString path = dir.filePath(QStringLiteral("Dalvek.mdb"));
        const QByteArray old = QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(2028, '\0');
        put(path, old);
        Module1::setProgramDirForTesting(dir.path());
        MessageBox::setNextAnswer(true);
        AccessConversion::setNextEncodingForTesting(chosen);
        QCOMPARE(int(AccessConversion::offerAtStart(nullptr)), start);
        const QStringList said = MessageBox::takeMessages();
        QCOMPARE(said.last().contains(QLatin1String("the time of day is left out")), !messages.isEmpty());
        if (lname.isEmpty()) {
            QCOMPARE(bytesOf(path), old);
            QVERIFY(!QFile::exists(dir.filePath(kBackup)));
        } else {
            QVERIFY(dumpOf(path).contains(QStringLiteral("tblTel[1].Lname = \"%1\"").arg(lname)));
            QCOMPARE(bytesOf(dir.filePath(kBackup)), old);
        }
    }

    // At every moment either the old file is in place untouched, or the whole new file with the old one kept; the
    // next start finishes the job and leaves nothing behind.
    void killedMidway()
    {
        QFETCH(int, step);
        QFETCH(bool, asked);
        QFETCH(QString, other);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Dalvek.mdb"));
        QByteArray old = bytesOf(kFixtures + QStringLiteral("/dalvek-ace-v2007.accdb"));
        put(path, old);
        QMap<QString, int> unused;
        QStringList expected = expectedDump(QStringLiteral("dalvek-ace-v2007.accdb"), &unused);
        QProcess converter;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TOVRIN_CONVERSION_STOP"), QString::number(step));
        converter.setProcessEnvironment(environment);
        converter.start(QStringLiteral(TOVRIN_CONVERTER), {QStringLiteral(TOVRIN_BINARY), path});
        QVERIFY(converter.waitForStarted());
        if (step == 0) {
            QTest::qWait(int(QRandomGenerator::global()->bounded(5, 140)));
            converter.kill();
        }
        QVERIFY(converter.state() == QProcess::NotRunning || converter.waitForFinished(20000));
        if (step != 0)
            QCOMPARE(converter.exitStatus(), QProcess::CrashExit);
        if (!other.isEmpty()) {
            old = bytesOf(kFixtures + QLatin1Char('/') + other);
            put(path, old);
            expected = expectedDump(other, &unused);
        }

        const QByteArray now = bytesOf(path);
        if (now == old) {
            QVERIFY(!QFile::exists(dir.filePath(kBackup)) || bytesOf(dir.filePath(kBackup)) == old);
        } else {
            QCOMPARE(bytesOf(dir.filePath(kBackup)), old);
            QCOMPARE(dumpOf(path), expected);
        }

        Module1::setProgramDirForTesting(dir.path());
        MessageBox::setNextAnswer(true);
        const int questions = MessageBox::questionsAsked();
        QCOMPARE(AccessConversion::offerAtStart(nullptr), AccessConversion::Start::Go);
        if (step != 0)
            QCOMPARE(MessageBox::questionsAsked() - questions, asked ? 1 : 0);
        QCOMPARE(filesIn(dir.path()), (QStringList{kBackup, QStringLiteral("Dalvek.mdb")}));
        QCOMPARE(bytesOf(dir.filePath(kBackup)), old);
        QCOMPARE(dumpOf(path), expected);
    }
};

QTEST_MAIN(TestAccessConversion)
#include "tst_accessconversion.moc"
