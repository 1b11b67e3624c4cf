// Files the program cannot fully use: damaged, foreign, read-only, locked by another writer, full. Each is met
// through the data controls, as the windows meet it: the user gets a DbError that names the file and says what is
// wrong, what was typed stays in the append buffer, and the file is left no worse than it was found.
#include "AsNobody.h"
#include "TempDatabase.h"
#include "TypedEntry.h"
#include "app/BackupCommands.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "data/Backups.h"
#include "data/Book.h"
#include "data/DataControl.h"
#include "data/Database.h"
#include "data/GridModel.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>
#include <chrono>
#include <csignal>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// What the windows read the file for: a book, the entry window's table, the message log.
const Query kBook = Query::book(Book::Personal);
const Query kBusinessBook = Query::book(Book::Business);
const Query kEntries = Query::entries();
const Query kLog = Query::log();

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes, qint64 at = 0)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(at));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// Every row the statement gives, all fields read, as a window's grid would; the first failure is returned.
std::optional<DbError> readAll(DataControl& control, const Query& query)
{
    try {
        control.setRecordSource(query);
        control.Refresh();
        for (Recordset* rs = control.Recordset(); !rs->Eof(); rs->MoveNext()) {
            for (int c = 0; c < rs->columnCount(); ++c)
                rs->value(c);
        }
    } catch (const DbError& error) {
        return error;
    }
    return std::nullopt;
}

// A file of a few pages per table and index, like a small real directory.
void fill(TempDatabase& db, int rows)
{
    QCOMPARE(db.exec(QStringLiteral("BEGIN")), SQLITE_OK);
    for (int i = 0; i < rows; ++i) {
        db.addTel(i % 2 ? QStringLiteral("Business") : QStringLiteral("Personal"), QStringLiteral("First%1").arg(i),
                  QStringLiteral("Last%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("Firm %1").arg(i),
                  QStringLiteral("03 - 555%1").arg(i % 10000, 4, 10, QLatin1Char('0')), QStringLiteral("Haifa"));
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES ('2026-01-%1', "
                                        "'10:00:00', 'Caller %2', 'Dana', '%3')")
                             .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                             .arg(i)
                             .arg(QString(150, QLatin1Char('m')))),
                 SQLITE_OK);
    }
    QCOMPARE(db.exec(QStringLiteral("COMMIT")), SQLITE_OK);
    db.close();
    // The program has shown the book once, so the rows have their sort keys, as in a file in use.
    DataControl control;
    control.setDatabaseName(db.path());
    control.setRecordSource(kBook);
    control.Refresh();
}

// The pages of one table or index, from SQLite's own page map.
QList<int> pagesOf(TempDatabase& db, const QString& name)
{
    QList<int> pages;
    for (const QString& row : db.rows(QStringLiteral("SELECT pageno FROM dbstat WHERE name = '%1' AND pagetype = "
                                                     "'leaf' ORDER BY pageno")
                                          .arg(name)))
        pages << row.toInt();
    db.close();
    return pages;
}

// Read through a connection of its own that may write (it does not), so that closing it removes the log files a
// read-only connection would leave behind.
QStringList integrityOf(const QString& path)
{
    sqlite3* db = nullptr;
    QStringList result;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        Database::prepareConnection(db);
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW)
                result << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
        sqlite3_finalize(stmt);
    }
    if (result.isEmpty())
        result << QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return result;
}

// Types a new message as the message window does; the body is long enough to need pages of its own.
void typeMessage(Recordset* rs, const QString& caller, const QString& body)
{
    rs->AddNew();
    rs->setCollect(QStringLiteral("Meet"), caller);
    rs->setCollect(QStringLiteral("Avur"), QStringLiteral("Dana"));
    rs->setCollect(QStringLiteral("CDate"), QStringLiteral("15/06/26"));
    rs->setCollect(QStringLiteral("Ctime"), QStringLiteral("10:30:00"));
    rs->setCollect(QStringLiteral("Hodaa"), body);
}

std::optional<DbError> update(Recordset* rs)
{
    try {
        rs->Update();
    } catch (const DbError& error) {
        return error;
    }
    return std::nullopt;
}

#define VERIFY_DESCRIBES(error, path, what)                                                                            \
    do {                                                                                                               \
        QVERIFY2((error).has_value(), "no error reported");                                                            \
        QVERIFY2((error)->description().contains(path), qPrintable((error)->description()));                           \
        QVERIFY2((error)->description().contains(what, Qt::CaseInsensitive), qPrintable((error)->description()));      \
    } while (false)

enum class Damage {
    TruncatedHalf,
    TruncatedToHeader,
    EmptyFile,
    EntriesPageOverwritten,
    MessagesPageOverwritten,
    IndexPageOverwritten,
    HeaderOverwritten,
    TextFile,
    RandomBytes,
    ForeignDatabase,
    NoMessagesTable,
    NoEntriesTable,
    ColumnsMissing,
};

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestBrokenFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_GB"))); }

    void damagedFileIsReportedAndLeftAlone_data();
    void damagedFileIsReportedAndLeftAlone();
    void damagedFileAtStartWithoutBackupIsNotWritten_data();
    void damagedFileAtStartWithoutBackupIsNotWritten();
    void readOnlyFileOrFolder_data();
    void readOnlyFileOrFolder();
    void writerHoldingTheFileDelaysThenReports();
    void writerHoldingTheFileBlocksTheGridEdit();
    void exclusiveWriterBlocksOpening();
    void fullFileRefusesTheSave_data();
    void fullFileRefusesTheSave();
};

void TestBrokenFiles::damagedFileIsReportedAndLeftAlone_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("expected"); // what the description says is wrong

    QTest::newRow("truncated to half") << Damage::TruncatedHalf << QStringLiteral("damaged");
    QTest::newRow("truncated to its header") << Damage::TruncatedToHeader << QStringLiteral("damaged");
    QTest::newRow("empty file") << Damage::EmptyFile << QStringLiteral("not a database");
    QTest::newRow("an entries page overwritten") << Damage::EntriesPageOverwritten << QStringLiteral("damaged");
    QTest::newRow("a messages page overwritten") << Damage::MessagesPageOverwritten << QStringLiteral("damaged");
    QTest::newRow("an index page overwritten") << Damage::IndexPageOverwritten << QStringLiteral("damaged");
    QTest::newRow("header overwritten") << Damage::HeaderOverwritten << QStringLiteral("not a database");
    QTest::newRow("text file") << Damage::TextFile << QStringLiteral("not a database");
    QTest::newRow("random bytes") << Damage::RandomBytes << QStringLiteral("not a database");
    QTest::newRow("another program's database") << Damage::ForeignDatabase << QStringLiteral("not a database");
    QTest::newRow("no message table") << Damage::NoMessagesTable << QStringLiteral("tblMes");
    QTest::newRow("no entries table") << Damage::NoEntriesTable << QStringLiteral("tblTel");
    QTest::newRow("tables lacking columns")
        << Damage::ColumnsMissing << QStringLiteral("tblTel.BusName, tblTel.Address");
}

void TestBrokenFiles::damagedFileIsReportedAndLeftAlone()
{
    QFETCH(Damage, damage);
    QFETCH(QString, expected);

    TempDatabase db;
    fill(db, 600);
    const QString path = db.path();
    const qint64 size = QFileInfo(path).size();
    const int pageSize = db.rows(QStringLiteral("PRAGMA page_size")).value(0).toInt();
    db.close();
    QVERIFY(pageSize > 0);

    const auto overwritePage = [&](const QString& name) {
        const QList<int> pages = pagesOf(db, name);
        QVERIFY2(pages.size() >= 3, qPrintable(name));
        writeBytes(path, QByteArray(pageSize, '\xA5'), qint64(pages.at(pages.size() / 2) - 1) * pageSize);
    };
    switch (damage) {
    case Damage::TruncatedHalf:
        QVERIFY(QFile::resize(path, size / 2));
        break;
    case Damage::TruncatedToHeader:
        QVERIFY(QFile::resize(path, 100));
        break;
    case Damage::EmptyFile:
        QVERIFY(QFile::resize(path, 0));
        break;
    case Damage::EntriesPageOverwritten:
        overwritePage(QStringLiteral("tblTel"));
        break;
    case Damage::MessagesPageOverwritten:
        overwritePage(QStringLiteral("tblMes"));
        break;
    case Damage::IndexPageOverwritten:
        overwritePage(QStringLiteral("tblTel_Book"));
        break;
    case Damage::HeaderOverwritten:
        writeBytes(path, QByteArray(16, 'x'));
        break;
    case Damage::TextFile:
        QVERIFY(QFile::remove(path));
        writeBytes(path, QByteArray("Name,Telephone\nDana,03-5551234\n").repeated(200));
        break;
    case Damage::RandomBytes: {
        QVERIFY(QFile::resize(path, 0));
        QByteArray noise(3 * pageSize, '\0');
        QRandomGenerator random(7);
        for (char& b : noise)
            b = char(random.bounded(256));
        writeBytes(path, noise);
        break;
    }
    case Damage::ForeignDatabase:
    case Damage::ColumnsMissing:
        QVERIFY(QFile::remove(path));
        {
            // Another program's database, or one whose tables have the right names but not all the columns.
            const char* sql = damage == Damage::ForeignDatabase
                                  ? "CREATE TABLE songs (title TEXT); INSERT INTO songs VALUES ('Dodi Li')"
                                  : "CREATE TABLE tblTel (Category, Fname, Lname); INSERT INTO tblTel VALUES "
                                    "('Personal', 'Dana', 'Levi'); CREATE TABLE tblMes (Cdate, Ctime, Meet, Avur)";
            sqlite3* other = nullptr;
            QCOMPARE(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
            QCOMPARE(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(other);
        }
        break;
    case Damage::NoMessagesTable:
        QCOMPARE(db.exec(QStringLiteral("DROP TABLE tblMes")), SQLITE_OK);
        db.close();
        break;
    case Damage::NoEntriesTable:
        QCOMPARE(db.exec(QStringLiteral("DROP TABLE tblTel")), SQLITE_OK);
        db.close();
        break;
    }
    const QByteArray before = bytesOf(path);
    const QStringList integrityBefore = integrityOf(path);

    QStringList descriptions;
    {
        DataControl control;
        control.setDatabaseName(path);
        for (const Query& query : {kBook, kBusinessBook, kEntries, kLog}) {
            if (const std::optional<DbError> error = readAll(control, query))
                descriptions << error->description();
        }
    }
    QVERIFY2(bytesOf(path) == before, "the file was changed");
    QCOMPARE(integrityOf(path), integrityBefore);
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
    QVERIFY(!descriptions.isEmpty());
    for (const QString& description : descriptions) {
        QVERIFY2(description.contains(path), qPrintable(description));
        QVERIFY2(description.contains(expected, Qt::CaseInsensitive), qPrintable(description));
    }
}

void TestBrokenFiles::damagedFileAtStartWithoutBackupIsNotWritten_data()
{
    QTest::addColumn<QString>("damaged"); // the table or index one of whose pages is overwritten

    QTest::newRow("an entries page overwritten") << QStringLiteral("tblTel");
    QTest::newRow("a messages page overwritten") << QStringLiteral("tblMes");
    QTest::newRow("an index page overwritten") << QStringLiteral("tblTel_Book");
}

// The start's damage check finds no good copy: the user is told, and the windows read the file as it is without
// writing to it, though the file asks for what opening writes (keys made under another collator, a long change log).
void TestBrokenFiles::damagedFileAtStartWithoutBackupIsNotWritten()
{
    QFETCH(QString, damaged);

    TempDatabase db;
    fill(db, 600);
    QCOMPARE(db.exec(QStringLiteral("UPDATE tovrin_state SET value = 'another collator' WHERE name = 'collator'; "
                                    "UPDATE tovrin_changes SET seq = seq + 100000 WHERE seq = (SELECT max(seq) FROM "
                                    "tovrin_changes)")),
             SQLITE_OK);
    const int pageSize = db.rows(QStringLiteral("PRAGMA page_size")).value(0).toInt();
    const QList<int> pages = pagesOf(db, damaged);
    QVERIFY(pages.size() >= 3);
    writeBytes(db.path(), QByteArray(pageSize, '\xA5'), qint64(pages.at(pages.size() / 2) - 1) * pageSize);
    const QByteArray before = bytesOf(db.path());

    MessageBox::setTestMode(true);
    MessageBox::takeMessages();
    Module1::setProgramDirForTesting(db.dir());
    BackupCommands::checkAtStart(nullptr);
    const QString said = MessageBox::takeMessages().join(QLatin1Char('\n'));
    QVERIFY2(said.contains(QStringLiteral("damaged")) && said.contains(QStringLiteral("reading only")),
             qPrintable(said));
    {
        DataControl control;
        control.setDatabaseName(db.path());
        for (const Query& query : {kBook, kBusinessBook, kEntries, kLog})
            readAll(control, query);
    }
    Database::releaseWrites(db.path());
    Module1::setProgramDirForTesting(QString());
    QVERIFY2(bytesOf(db.path()) == before, "the file was changed");
    QVERIFY(!QDir(Backups::folderOf(db.path())).exists());
}

void TestBrokenFiles::readOnlyFileOrFolder_data()
{
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("leftInWalMode"); // by another tool

    QTest::newRow("read-only file") << 0444 << 0777 << false;
    QTest::newRow("read-only folder") << 0666 << 0555 << false;
    QTest::newRow("both read-only") << 0444 << 0555 << false;
    QTest::newRow("read-only folder, file in write-ahead mode") << 0666 << 0555 << true;
}

void TestBrokenFiles::readOnlyFileOrFolder()
{
    QFETCH(int, fileMode);
    QFETCH(int, folderMode);
    QFETCH(bool, leftInWalMode);

    TempDatabase db;
    fill(db, 50);
    if (leftInWalMode)
        QCOMPARE(db.rows(QStringLiteral("PRAGMA journal_mode = WAL")), QStringList{QStringLiteral("wal")});
    db.close();
    const QString path = db.path();
    const QByteArray before = bytesOf(path);
    QCOMPARE(chmod(path.toUtf8().constData(), mode_t(fileMode)), 0);
    QCOMPARE(chmod(db.dir().toUtf8().constData(), mode_t(folderMode)), 0);

    std::optional<DbError> loadError;
    std::optional<DbError> saveError;
    QVariant keptName;
    {
        AsNobody nobody;
        if (!nobody.permissionsApply())
            QSKIP("running as root without the right to become another user: permissions cannot be tested");
        DataControl control;
        control.setDatabaseName(path);
        for (const Query& query : {kBook, kBusinessBook, kLog, kEntries}) {
            if (!loadError)
                loadError = readAll(control, query);
        }
        if (!loadError) {
            Recordset* rs = control.Recordset();
            typeEntry(rs, QStringLiteral("Dana"), QStringLiteral("Read-Only"));
            saveError = update(rs);
            keptName = rs->Collect(QStringLiteral("Lname"));
        }
    }
    chmod(db.dir().toUtf8().constData(), 0700);
    chmod(path.toUtf8().constData(), 0600);

    // Everything reads; the save is refused, the user is told the file and the reason, and nothing typed is
    // dropped.
    QVERIFY2(!loadError, loadError ? qPrintable(loadError->description()) : "");
    VERIFY_DESCRIBES(saveError, path, QStringLiteral("read-only"));
    QCOMPARE(keptName.toString(), QStringLiteral("Read-Only"));
    QVERIFY2(bytesOf(path) == before, "the file was changed");
    QCOMPARE(db.count(QStringLiteral("tblTel")), 50);
}

void TestBrokenFiles::writerHoldingTheFileDelaysThenReports()
{
    TempDatabase db;
    fill(db, 20);
    DataControl control;
    control.setDatabaseName(db.path());
    QVERIFY(!readAll(control, kEntries));
    Recordset* rs = control.Recordset();

    // Another copy of the program, or another tool, in the middle of a long write.
    QCOMPARE(db.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Other"), QStringLiteral("Writer"));

    typeEntry(rs, QStringLiteral("Dana"), QStringLiteral("Patient"));
    const std::optional<DbError> error = update(rs); // waits for the busy time-out first
    VERIFY_DESCRIBES(error, db.path(), QStringLiteral("in use by another program"));
    QCOMPARE(rs->Collect(QStringLiteral("Lname")).toString(), QStringLiteral("Patient"));

    // Once the other writer is done, saving again stores the entry as typed, once, beside the other's row.
    QCOMPARE(db.exec(QStringLiteral("COMMIT")), SQLITE_OK);
    QVERIFY(!update(rs));
    QCOMPARE(db.rows(QStringLiteral("SELECT Fname, City, Tel1 FROM tblTel WHERE Lname = 'Patient'")),
             QStringList{QStringLiteral("Dana|Haifa|04 - 5551234")});
    QCOMPARE(db.count(QStringLiteral("tblTel")), 22);
    QCOMPARE(integrityOf(db.path()), QStringList{QStringLiteral("ok")});

    // A writer that holds the file for a moment shorter than the wait, then commits: the save simply waits.
    db.close();
    std::promise<void> holding;
    std::thread other([path = db.path(), &holding] {
        sqlite3* raw = nullptr;
        sqlite3_open(path.toUtf8().constData(), &raw);
        sqlite3_exec(raw, "BEGIN EXCLUSIVE; INSERT INTO tblMes (Meet) VALUES ('Other')", nullptr, nullptr, nullptr);
        holding.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    });
    holding.get_future().wait();
    typeEntry(rs, QStringLiteral("Dana"), QStringLiteral("Waited"));
    const std::optional<DbError> waited = update(rs);
    other.join();
    QVERIFY2(!waited, waited ? qPrintable(waited->description()) : "");
    QCOMPARE(db.count(QStringLiteral("tblTel")), 23);
    QCOMPARE(db.count(QStringLiteral("tblMes")), 21);
}

void TestBrokenFiles::writerHoldingTheFileBlocksTheGridEdit()
{
    TempDatabase db;
    fill(db, 20);
    DataControl control;
    control.setDatabaseName(db.path());
    GridModel model(&control, {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()}});
    control.setRecordSource(kBook);
    control.Refresh();
    QVERIFY(model.rowCount() > 0);
    QSignalSpy failed(&model, &GridModel::databaseError);
    const QString was = model.index(0, 0).data().toString();

    QCOMPARE(db.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
    QCOMPARE(db.exec(QStringLiteral("UPDATE tblMes SET Avur = 'Other'")), SQLITE_OK);
    // A row not read yet shows empty, and the user is told why, once.
    QCOMPARE(model.index(5, 0).data(), QVariant());
    QCOMPARE(model.index(6, 0).data(), QVariant());
    QTRY_COMPARE(failed.count(), 1);
    QVERIFY(failed.at(0).at(1).toString().contains(QStringLiteral("in use by another program")));
    failed.clear();
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("Edited")));
    QCOMPARE(failed.count(), 1);
    QVERIFY2(failed.at(0).at(1).toString().contains(db.path()), qPrintable(failed.at(0).at(1).toString()));
    QVERIFY(failed.at(0).at(1).toString().contains(QStringLiteral("in use by another program")));
    QCOMPARE(db.exec(QStringLiteral("COMMIT")), SQLITE_OK);
    QCOMPARE(model.index(0, 0).data().toString(), was);
    QCOMPARE(db.rows(QStringLiteral("SELECT count(*) FROM tblTel WHERE Lname = 'Edited'")),
             QStringList{QStringLiteral("0")});
}

void TestBrokenFiles::exclusiveWriterBlocksOpening()
{
    // A file another tool has put back into rollback-journal mode: there, a writer shuts out readers as well.
    TempDatabase db;
    fill(db, 20);
    QCOMPARE(db.rows(QStringLiteral("PRAGMA journal_mode = DELETE")), QStringList{QStringLiteral("delete")});
    QCOMPARE(db.exec(QStringLiteral("BEGIN EXCLUSIVE")), SQLITE_OK);
    QCOMPARE(db.exec(QStringLiteral("DELETE FROM tblMes WHERE ID > 10")), SQLITE_OK);

    DataControl control;
    control.setDatabaseName(db.path());
    const std::optional<DbError> error = readAll(control, kLog);
    VERIFY_DESCRIBES(error, db.path(), QStringLiteral("in use by another program"));

    QCOMPARE(db.exec(QStringLiteral("ROLLBACK")), SQLITE_OK);
    db.close();
    QVERIFY(!readAll(control, kLog));
    QCOMPARE(db.count(QStringLiteral("tblMes")), 20);
}

void TestBrokenFiles::fullFileRefusesTheSave_data()
{
    QTest::addColumn<bool>("sizeLimit"); // the system's file size limit instead of SQLite's page limit

    QTest::newRow("page limit") << false;
    QTest::newRow("file size limit") << true;
}

void TestBrokenFiles::fullFileRefusesTheSave()
{
    QFETCH(bool, sizeLimit);

    TempDatabase db;
    fill(db, 20);
    DataControl control;
    control.setDatabaseName(db.path());
    QVERIFY(!readAll(control, kLog));
    Recordset* rs = control.Recordset();
    sqlite3* handle = control.database()->handle();
    const QString body = QStringLiteral("Please call back about the flat. ").repeated(3000);

    typeMessage(rs, QStringLiteral("Yossi"), body);
    std::optional<DbError> error;
    if (sizeLimit) {
        // The log file grows by the message's pages at commit and may not: the write the program makes fails as it
        // would on a full disk.
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto ignored = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = rlim_t(QFileInfo(db.path() + QStringLiteral("-wal")).size() + 4096);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        error = update(rs);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, ignored);
        VERIFY_DESCRIBES(error, db.path(), QStringLiteral("disk may be full"));
    } else {
        const QString pages = db.rows(QStringLiteral("PRAGMA page_count")).value(0);
        QCOMPARE(sqlite3_exec(handle, qPrintable(QStringLiteral("PRAGMA max_page_count = ") + pages), nullptr, nullptr,
                              nullptr),
                 SQLITE_OK);
        error = update(rs);
        VERIFY_DESCRIBES(error, db.path(), QStringLiteral("full"));
        QCOMPARE(sqlite3_exec(handle, "PRAGMA max_page_count = 1000000", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    QCOMPARE(rs->Collect(QStringLiteral("Hodaa")).toString(), body);
    QCOMPARE(db.count(QStringLiteral("tblMes")), 20);
    QCOMPARE(integrityOf(db.path()), QStringList{QStringLiteral("ok")});

    // With room again, the same buffer is saved once and the connection is usable as before.
    QVERIFY(!update(rs));
    QCOMPARE(db.rows(QStringLiteral("SELECT count(*), length(Hodaa) FROM tblMes WHERE Meet = 'Yossi'")),
             QStringList{QStringLiteral("1|%1").arg(body.size())});
    typeMessage(rs, QStringLiteral("Rina"), QStringLiteral("short"));
    QVERIFY(!update(rs));
    QCOMPARE(db.count(QStringLiteral("tblMes")), 22);
    QCOMPARE(integrityOf(db.path()), QStringList{QStringLiteral("ok")});
}

QTEST_MAIN(TestBrokenFiles)
#include "tst_brokenfiles.moc"
