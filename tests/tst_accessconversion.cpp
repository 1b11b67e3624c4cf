// An old program's data file found at start: converted value for value at the user's word, the old file kept byte
// for byte, and at every moment of the switch one of the two whole files in place.
#include "AccessConversion.h"
#include "AccessFile.h"
#include "AsNobody.h"
#include "MessageBox.h"
#include "Module1.h"

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

// The dump's text value back to the text: NULL, or quoted with \\ \" \n \r \t escaped.
QString unquoted(const QString& value)
{
    if (value == QLatin1String("NULL"))
        return QStringLiteral("<null>");
    QString text;
    for (qsizetype i = 1; i + 1 < value.size(); ++i) {
        QChar c = value.at(i);
        if (c == QLatin1Char('\\')) {
            c = value.at(++i);
            c = c == QLatin1Char('n')   ? QChar('\n')
                : c == QLatin1Char('r') ? QChar('\r')
                : c == QLatin1Char('t') ? QChar('\t')
                                        : c;
        }
        text += c;
    }
    return text;
}

// What the program's file must hold for the fixture, table by table: the twelve or five columns of each row joined
// by "|", in the old file's order; dates as yyyy-mm-dd, times as hh:mm:ss. Also the old columns not carried with
// their counts of values.
struct Expected
{
    QStringList tel, mes;
    QMap<QString, int> unused;
};

Expected expectedOf(const QString& dumpPath)
{
    static const QStringList telColumns =
        QStringLiteral("Fname Lname BusName Category Address City State Zip Tel1 Tel2 Pel Fax").split(QLatin1Char(' '));
    static const QStringList mesColumns = QStringLiteral("Cdate Ctime Meet Avur Hodaa").split(QLatin1Char(' '));
    static const QRegularExpression line(QStringLiteral("^(tbl\\w+)\\[(\\d+)\\]\\.(\\w+) = (.*)$"));
    QMap<QString, QMap<int, QMap<QString, QString>>> cells;
    Expected expected;
    for (const QString& text : QString::fromUtf8(bytesOf(dumpPath)).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(text);
        const QString table = m.captured(1), column = m.captured(3), value = m.captured(4);
        const QStringList& used = table == QLatin1String("tblTel") ? telColumns : mesColumns;
        if (!used.contains(column)) {
            expected.unused[table + QLatin1Char('.') + column] += value != QLatin1String("NULL");
            continue;
        }
        QString stored = unquoted(value);
        if (column == QLatin1String("Cdate"))
            stored = value.left(10);
        else if (column == QLatin1String("Ctime"))
            stored = value.mid(11);
        cells[table][m.captured(2).toInt()][column] = stored;
    }
    for (const auto& row : cells[QStringLiteral("tblTel")]) {
        QStringList values;
        for (const QString& c : telColumns)
            values << row.value(c);
        expected.tel << values.join(QLatin1Char('|'));
    }
    for (const auto& row : cells[QStringLiteral("tblMes")]) {
        QStringList values;
        for (const QString& c : mesColumns)
            values << row.value(c);
        expected.mes << values.join(QLatin1Char('|'));
    }
    return expected;
}

// The rows of the file through a plain SQLite connection, as any tool sees them.
QStringList rowsOf(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    QStringList rows;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            QStringList values;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                values << (text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, c))
                                : QStringLiteral("<null>"));
            }
            rows << values.join(QLatin1Char('|'));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return rows;
}

const char* const kTelRows = "SELECT Fname, Lname, BusName, Category, Address, City, State, Zip, Tel1, Tel2, Pel, Fax "
                             "FROM tblTel ORDER BY ID";
const char* const kMesRows = "SELECT Cdate, Ctime, Meet, Avur, Hodaa FROM tblMes ORDER BY ID";

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

        const Expected expected = expectedOf(kFixtures + QLatin1Char('/') + name + QStringLiteral(".expected.txt"));
        QCOMPARE(rowsOf(path, kTelRows), expected.tel);
        QCOMPARE(rowsOf(path, kMesRows), expected.mes);
        QCOMPARE(bytesOf(dir.filePath(kBackup)), old);
        QCOMPARE(filesIn(dir.path()), (QStringList{kBackup, QStringLiteral("Dalvek.mdb")}));
        QCOMPARE(QFile::permissions(path), QFile::permissions(dir.filePath(kBackup)));
        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages.at(0).contains(path));
        for (auto it = expected.unused.begin(); it != expected.unused.end(); ++it)
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
        QTest::addColumn<int>("step");   // the step the converter stops dead after; 0: killed at a random moment
        QTest::addColumn<bool>("asked"); // the next start asks again (the old file is still the one in place)
        for (int step = 1; step <= 4; ++step)
            QTest::addRow("after step %d", step) << step << (step == 1);
        for (int i = 0; i < 4; ++i)
            QTest::addRow("at random %d", i) << 0 << false;
    }
    // At every moment either the old file is in place untouched, or the whole new file with the old one kept; the
    // next start finishes the job and leaves nothing behind.
    void killedMidway()
    {
        QFETCH(int, step);
        QFETCH(bool, asked);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Dalvek.mdb"));
        const QByteArray old = bytesOf(kFixtures + QStringLiteral("/dalvek-ace-v2007.accdb"));
        put(path, old);
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

        const QByteArray now = bytesOf(path);
        if (now == old) {
            QVERIFY(!QFile::exists(dir.filePath(kBackup)) || bytesOf(dir.filePath(kBackup)) == old);
        } else {
            QCOMPARE(bytesOf(dir.filePath(kBackup)), old);
            QCOMPARE(rowsOf(path, kTelRows).size(), 14);
            QCOMPARE(rowsOf(path, kMesRows).size(), 10);
        }

        Module1::setProgramDirForTesting(dir.path());
        MessageBox::setNextAnswer(true);
        const int questions = MessageBox::questionsAsked();
        QCOMPARE(AccessConversion::offerAtStart(nullptr), AccessConversion::Start::Go);
        if (step != 0)
            QCOMPARE(MessageBox::questionsAsked() - questions, asked ? 1 : 0);
        QCOMPARE(filesIn(dir.path()), (QStringList{kBackup, QStringLiteral("Dalvek.mdb")}));
        QCOMPARE(bytesOf(dir.filePath(kBackup)), old);
        QCOMPARE(rowsOf(path, kTelRows).size(), 14);
        QCOMPARE(rowsOf(path, kMesRows).size(), 10);
    }
};

QTEST_MAIN(TestAccessConversion)
#include "tst_accessconversion.moc"
