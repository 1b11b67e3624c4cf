// The file as every SQLite tool sees it. The program and a stock tool (a plain connection without the program's
// functions, or the sqlite3 shell) write the same file in turns, with VACUUM, REINDEX or a dump into a new file in
// between: both find exactly the same rows, the stock integrity check passes, and the program goes on editing,
// deleting, searching and ordering every row, names outside ASCII included.
#include "TempDatabase.h"
#include "data/Book.h"
#include "data/DataControl.h"
#include "data/Database.h"
#include "data/GridModel.h"
#include "data/SortKey.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace {

const Query kPersonal = Query::book(Book::Personal);
const Query kBusiness = Query::book(Book::Business);

// Saves an entry as the entry window does.
void save(DataControl& control, const QString& category, const QString& lname,
          const QString& busName = QStringLiteral(" "))
{
    control.setRecordSource(Query::entries());
    control.Refresh();
    Recordset* rs = control.Recordset();
    rs->AddNew();
    rs->setCollect(QStringLiteral("Category"), category);
    rs->setCollect(QStringLiteral("Lname"), lname);
    rs->setCollect(QStringLiteral("BusName"), busName);
    rs->Update();
}

// The sort column of every row of a book, as the directory window's grid lists it.
QStringList book(DataControl& control, const Query& query = kPersonal)
{
    control.setRecordSource(query);
    control.Refresh();
    const QString field = query.book()->sortColumn();
    QStringList names;
    for (Recordset* rs = control.Recordset(); !rs->Eof(); rs->MoveNext())
        names << rs->Fields(field).Value().toString();
    return names;
}

QStringList stock(TempDatabase& db, const QString& sql)
{
    const QStringList rows = db.rows(sql);
    db.close();
    return rows;
}

int gridRowOf(GridModel& model, const QString& name)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.index(row, 0).data().toString() == name)
            return row;
    }
    return -1;
}

} // namespace

class TestStockTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { SortKey::setLocaleForTesting(QStringLiteral("en_GB")); }
    void programAndStockToolsAgree_data();
    void programAndStockToolsAgree();
    void bookOrderFollowsTheLocale_data();
    void bookOrderFollowsTheLocale();
    void everySaveIsInTheFileItself_data();
    void everySaveIsInTheFileItself();
    void gridWriteOverAChangeElsewhereIsRefused_data();
    void gridWriteOverAChangeElsewhereIsRefused();
};

void TestStockTools::programAndStockToolsAgree_data()
{
    QTest::addColumn<QString>("between"); // what the stock tool does after the program wrote
    QTest::addColumn<QStringList>("personal");

    const QStringList saved{"adams", "Cohen", "Émile", "O'Brien", "αλφα", "Ωμέγα", "Жуков"};
    QTest::newRow("nothing") << QString() << saved;
    QTest::newRow("VACUUM") << QStringLiteral("VACUUM") << saved;
    QTest::newRow("REINDEX") << QStringLiteral("REINDEX") << saved;
    QTest::newRow("dump into a new file") << QStringLiteral(".dump") << saved;
    QTest::newRow("stock insert, no key")
        << QStringLiteral("INSERT INTO tblTel (Category, Lname, BusName) VALUES "
                          "('Personal', 'Ábel', ' ')")
        << QStringList{"Ábel", "adams", "Cohen", "Émile", "O'Brien", "αλφα", "Ωμέγα", "Жуков"};
    QTest::newRow("stock rename") << QStringLiteral("UPDATE tblTel SET Lname = 'Zoë' WHERE Lname = 'adams'")
                                  << QStringList{"Cohen", "Émile", "O'Brien", "Zoë", "αλφα", "Ωμέγα", "Жуков"};
    QTest::newRow("stock insert of a key made elsewhere")
        << QStringLiteral("INSERT INTO tblTel (Category, Lname, SortKey) VALUES ('Personal', 'Mann', x'00')")
        << QStringList{"adams", "Cohen", "Émile", "Mann", "O'Brien", "αλφα", "Ωμέγα", "Жуков"};
}

void TestStockTools::programAndStockToolsAgree()
{
    QFETCH(QString, between);
    QFETCH(QStringList, personal);

    TempDatabase db;
    {
        DataControl program;
        program.setDatabaseName(db.path());
        for (const char* name : {"Жуков", "Émile", "αλφα", "adams", "Ωμέγα", "O'Brien", "Cohen"})
            save(program, QStringLiteral("Personal"), QString::fromUtf8(name));
        save(program, QStringLiteral("Business"), QStringLiteral("Zorn"), QStringLiteral("ÉCOLE"));
        save(program, QStringLiteral("Business"), QStringLiteral("Carter"), QStringLiteral("Acme"));
        book(program);
        book(program, kBusiness);
    }

    if (between == QLatin1String(".dump")) {
        const QString copy = db.dir() + QStringLiteral("/copy.mdb");
        QProcess shell;
        shell.start(QStringLiteral("bash"),
                    {QStringLiteral("-c"), QStringLiteral("sqlite3 \"$1\" .dump | sqlite3 \"$2\""),
                     QStringLiteral("bash"), db.path(), copy});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(shell.exitCode(), 0);
        QVERIFY(QFile::remove(db.path()));
        QVERIFY(QFile::rename(copy, db.path()));
    } else if (!between.isEmpty()) {
        QCOMPARE(db.exec(between), SQLITE_OK);
        db.close();
    }

    // The stock tool: the integrity check passes and "=" finds exactly the row it names.
    QCOMPARE(stock(db, QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    QCOMPARE(stock(db, QStringLiteral("SELECT Lname FROM tblTel WHERE Lname = 'Émile'")),
             QStringList{QStringLiteral("Émile")});
    QCOMPARE(stock(db, QStringLiteral("SELECT Lname FROM tblTel WHERE Lname = 'αλφα'")),
             QStringList{QStringLiteral("αλφα")});
    QCOMPARE(stock(db, QStringLiteral("SELECT Lname FROM tblTel WHERE BusName = 'ÉCOLE'")),
             QStringList{QStringLiteral("Zorn")});

    // The program: both books in a reader's order; then it edits and deletes names outside ASCII in the grid.
    DataControl program;
    program.setDatabaseName(db.path());
    QCOMPARE(book(program), personal);
    QCOMPARE(book(program, kBusiness), (QStringList{QStringLiteral("Acme"), QStringLiteral("ÉCOLE")}));
    {
        GridModel grid(&program, {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()}});
        QSignalSpy failed(&grid, &GridModel::databaseError);
        program.setRecordSource(kPersonal);
        program.Refresh();
        QVERIFY(grid.setData(grid.index(gridRowOf(grid, QStringLiteral("Émile")), 0), QStringLiteral("Émilie")));
        QVERIFY(grid.removeRowList({gridRowOf(grid, QStringLiteral("Жуков"))}));
        QCOMPARE(failed.count(), 0);
    }

    // The stock tool changes such rows too, and neither side is ever refused as "malformed".
    QCOMPARE(db.exec(QStringLiteral("UPDATE tblTel SET Lname = 'Omega' WHERE Lname = 'Ωμέγα'")), SQLITE_OK);
    QCOMPARE(db.exec(QStringLiteral("DELETE FROM tblTel WHERE Lname = 'αλφα'")), SQLITE_OK);
    QCOMPARE(stock(db, QStringLiteral("SELECT count(*) FROM tblTel WHERE Lname IN ('Émilie', 'Omega')")),
             QStringList{"2"});
    QCOMPARE(
        stock(db, QStringLiteral("SELECT count(*) FROM tblTel WHERE Lname IN ('Émile', 'Жуков', 'αλφα', 'Ωμέγα')")),
        QStringList{"0"});
    QCOMPARE(stock(db, QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});

    QStringList after = personal;
    after.replace(after.indexOf(QStringLiteral("Émile")), QStringLiteral("Émilie"));
    after.removeAll(QStringLiteral("Жуков"));
    after.removeAll(QStringLiteral("αλφα"));
    after.removeAll(QStringLiteral("Ωμέγα"));
    after.insert(after.indexOf(QStringLiteral("O'Brien")) + 1, QStringLiteral("Omega"));
    QCOMPARE(book(program), after);

    program.setRecordSource(Query::search(QStringLiteral("émil")));
    program.Refresh();
    QVERIFY(!program.Recordset()->Eof());
    QCOMPARE(program.Recordset()->Fields(QStringLiteral("Lname")).Value().toString(), QStringLiteral("Émilie"));
    QCOMPARE(stock(db, QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
}

void TestStockTools::bookOrderFollowsTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<QStringList>("ordered");

    // Accents beside their base letter, case ignored; equal keys in the order they were saved.
    QTest::newRow("en_GB") << QStringLiteral("en_GB")
                           << QStringList{"O'Brien", "Écrivain", "Cohen", "smith", "Smith", "SMITH"}
                           << QStringList{"Cohen", "Écrivain", "O'Brien", "smith", "Smith", "SMITH"};
    // Accents count after the base letters: saved first, the accented name still follows.
    QTest::newRow("en_GB accents") << QStringLiteral("en_GB") << QStringList{"Côte", "Cote", "côte"}
                                   << QStringList{"Cote", "Côte", "côte"};
    // Final letters with their plain forms: "ץא" before "צב".
    QTest::newRow("he_IL") << QStringLiteral("he_IL") << QStringList{"צב", "ץא", "אבן"}
                           << QStringList{"אבן", "ץא", "צב"};
    // The same file keyed under en_GB first: the keys are made again for Swedish, where Ö follows Z.
    QTest::newRow("sv_SE") << QStringLiteral("sv_SE") << QStringList{"Öberg", "Zorn", "Olsen"}
                           << QStringList{"Olsen", "Zorn", "Öberg"};
}

void TestStockTools::bookOrderFollowsTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, saved);
    QFETCH(QStringList, ordered);

    TempDatabase db;
    {
        DataControl program;
        program.setDatabaseName(db.path());
        for (const QString& name : std::as_const(saved))
            save(program, QStringLiteral("Personal"), name);
        book(program);
    }
    SortKey::setLocaleForTesting(locale);
    DataControl program;
    program.setDatabaseName(db.path());
    QCOMPARE(book(program), ordered);
}

void TestStockTools::everySaveIsInTheFileItself_data()
{
    QTest::addColumn<bool>("leftInWalMode");
    QTest::newRow("the supplied file") << false;
    QTest::newRow("a file left in write-ahead mode") << true;
}

void TestStockTools::everySaveIsInTheFileItself()
{
    QFETCH(bool, leftInWalMode);

    TempDatabase db;
    if (leftInWalMode)
        QCOMPARE(stock(db, QStringLiteral("PRAGMA journal_mode = WAL")), QStringList{QStringLiteral("wal")});
    QTemporaryDir backups;
    {
        DataControl program;
        program.setDatabaseName(db.path());
        GridModel grid(&program, {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()}});
        for (int i = 1; i <= 3; ++i) {
            save(program, QStringLiteral("Personal"), QStringLiteral("Saved%1").arg(i));
            if (i == 1) {
                // Written through to the disk before the save returns: a power cut keeps it.
                sqlite3_stmt* mode = nullptr;
                sqlite3_prepare_v2(program.database()->handle(), "PRAGMA synchronous", -1, &mode, nullptr);
                QCOMPARE(sqlite3_step(mode), SQLITE_ROW);
                QCOMPARE(sqlite3_column_int(mode, 0), 2); // FULL
                sqlite3_finalize(mode);
            }
            program.setRecordSource(kPersonal);
            program.Refresh();
            const int row = gridRowOf(grid, QStringLiteral("Saved%1").arg(i));
            QVERIFY(grid.setData(grid.index(row, 0), QStringLiteral("Edited%1").arg(i)));
            // A copy of the file alone, taken while the program runs, as a backup to a stick would be.
            const QString copy = backups.filePath(QStringLiteral("copy%1.mdb").arg(i));
            QVERIFY(QFile::copy(db.path(), copy));
            sqlite3* raw = nullptr;
            QCOMPARE(sqlite3_open_v2(copy.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
            sqlite3_stmt* count = nullptr;
            sqlite3_prepare_v2(raw, "SELECT count(*), sum(Lname GLOB 'Edited*') FROM tblTel", -1, &count, nullptr);
            QCOMPARE(sqlite3_step(count), SQLITE_ROW);
            QCOMPARE(sqlite3_column_int(count, 0), i);
            QCOMPARE(sqlite3_column_int(count, 1), i);
            sqlite3_finalize(count);
            sqlite3_close(raw);
        }
    }
    QCOMPARE(QDir(db.dir()).entryList(QDir::Files), QStringList{QStringLiteral("Dalvek.mdb")});
}

void TestStockTools::gridWriteOverAChangeElsewhereIsRefused_data()
{
    QTest::addColumn<bool>("deleting");
    QTest::addColumn<QString>("elsewhere"); // what another copy does after the grid showed the row
    QTest::addColumn<QString>("shown");     // what the grid shows of the row afterwards ("" when gone)

    const QString change = QStringLiteral("UPDATE tblTel SET Lname = 'Renamed' WHERE Lname = 'Target'");
    const QString removal = QStringLiteral("DELETE FROM tblTel WHERE Lname = 'Target'");
    QTest::newRow("edit of a row changed elsewhere") << false << change << QStringLiteral("Renamed");
    QTest::newRow("edit of a row deleted elsewhere") << false << removal << QString();
    QTest::newRow("deletion of a row changed elsewhere") << true << change << QStringLiteral("Renamed");
    QTest::newRow("deletion of a row deleted elsewhere") << true << removal << QString();
}

void TestStockTools::gridWriteOverAChangeElsewhereIsRefused()
{
    QFETCH(bool, deleting);
    QFETCH(QString, elsewhere);
    QFETCH(QString, shown);

    TempDatabase db;
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Tom"), QStringLiteral("Target"));
    db.close();
    DataControl program;
    program.setDatabaseName(db.path());
    GridModel grid(&program, {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()}});
    QSignalSpy failed(&grid, &GridModel::databaseError);
    program.setRecordSource(kPersonal);
    program.Refresh();
    QCOMPARE(grid.index(1, 0).data().toString(), QStringLiteral("Target"));

    QCOMPARE(db.exec(elsewhere), SQLITE_OK);
    db.close();
    if (deleting)
        QVERIFY(!grid.removeRowList({0, 1})); // with a row nobody else touched: all or nothing
    else
        QVERIFY(!grid.setData(grid.index(1, 0), QStringLiteral("Mine")));

    QCOMPARE(failed.count(), 1);
    QVERIFY2(failed.at(0).at(1).toString().contains(QStringLiteral("changed or deleted elsewhere")),
             qPrintable(failed.at(0).at(1).toString()));
    // The other copy's change stands, the untouched row stays, and the grid shows what is stored.
    QStringList stored = stock(db, QStringLiteral("SELECT Lname FROM tblTel ORDER BY ID"));
    QStringList expected{QStringLiteral("Adams")};
    if (!shown.isEmpty())
        expected << shown;
    QCOMPARE(stored, expected);
    QStringList listed;
    for (int row = 0; row < grid.rowCount(); ++row)
        listed << grid.index(row, 0).data().toString();
    QCOMPARE(listed, stored);
}

QTEST_GUILESS_MAIN(TestStockTools)
#include "tst_stocktools.moc"
