// The database file, its dialect and the data controls, without any window.
#include "TempDatabase.h"
#include "data/Book.h"
#include "data/DataControl.h"
#include "data/Database.h"
#include "data/GridModel.h"
#include "data/Statement.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLocale>
#include <QtTest>

namespace {

QStringList lastNames(DataControl& control)
{
    QStringList names;
    for (Recordset* rs = control.Recordset(); !rs->Eof(); rs->MoveNext())
        names << rs->Fields(QStringLiteral("Lname")).Value().toString();
    return names;
}

// A book of `rows` entries, a fifth of them Business, with many equal names (ties are ordered by rowid).
void fillBooks(TempDatabase& db, int rows)
{
    QCOMPARE(db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                    "INSERT INTO tblTel (Category, Lname) SELECT CASE WHEN i % 5 = 0 THEN 'Business' "
                                    "ELSE 'Personal' END, printf('n%03d', (i * 7919) % 700) FROM n")
                         .arg(rows)),
             SQLITE_OK);
}

const Query kPersonalBook = Query::book(Book::Personal);
const QString kPersonalOrder =
    QStringLiteral("SELECT ID FROM tblTel WHERE Category = 'Personal' ORDER BY SortKey, rowid");

QVector<GridColumn> idAndName()
{
    return {{QStringLiteral("ID"), QStringLiteral("ID"), 600, QString()},
            {QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()}};
}

QStringList shownIds(const GridModel& model)
{
    QStringList ids;
    for (int row = 0; row < model.rowCount(); ++row)
        ids << model.index(row, 0).data().toString();
    return ids;
}

// What a view does when it reaches the bottom of the rows it has.
void reachBottom(GridModel& model)
{
    while (model.canFetchMore(QModelIndex()))
        model.fetchMore(QModelIndex());
}

// The steps of SQLite's machine that every statement run on `db` takes while `action` runs: a count of the work
// done, the same on any machine.
qint64 stepsOf(sqlite3* db, const std::function<void()>& action)
{
    qint64 steps = 0;
    const auto add = [](unsigned, void* total, void* statement, void*) {
        *static_cast<qint64*>(total) +=
            sqlite3_stmt_status(static_cast<sqlite3_stmt*>(statement), SQLITE_STMTSTATUS_VM_STEP, 1);
        return 0;
    };
    sqlite3_trace_v2(db, SQLITE_TRACE_PROFILE, add, &steps);
    action();
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    return steps;
}

} // namespace

class TestDataLayer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void requestsAreTheWindowsStatements_data();
    void requestsAreTheWindowsStatements();
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_GB"))); }

    void bookStatementsSortAndFilterIgnoringCase();
    void searchStatementMatchesEveryColumnKind_data();
    void searchStatementMatchesEveryColumnKind();
    void messageLogSortsByRealDate();
    void appendWritesConvertedFields();
    void appendRefusesWhatTheFileCannotHold_data();
    void appendRefusesWhatTheFileCannotHold();
    void theFileItselfEnforcesWidths();
    void missingOrForeignFileIsReportedNotCreated();
    void gridEditsAndDeletionsReachTheFile();
    void gridDeletionRefusedInPartDeletesNothing();
    void gridReadsKeysLazily();
    void keyedBookJumpsToItsEnd_data();
    void keyedBookJumpsToItsEnd();
    void keyedBookMeetsChangesMadeElsewhere_data();
    void keyedBookMeetsChangesMadeElsewhere();
    void commonNameIsReadOnce_data();
    void commonNameIsReadOnce();
    void rawTextReadsAsTheValue_data();
    void rawTextReadsAsTheValue();
};

void TestDataLayer::requestsAreTheWindowsStatements_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("book Personal") << Query::book(Book::Personal).statement()
                                   << "SELECT * FROM tblTel WHERE Category = 'Personal' ORDER BY Lname";
    QTest::newRow("book Business") << Query::book(Book::Business).statement()
                                   << "SELECT * FROM tblTel WHERE Category = 'Business' ORDER BY BusName";
    // Two spaces before LIKE, and no order.
    QTest::newRow("letter") << Query::letter(Book::Business, QStringLiteral("M")).statement()
                            << "SELECT * FROM tblTel WHERE Category = 'Business' AND BusName  LIKE 'M*'";
    const QString search = QStringLiteral(
        "SELECT * FROM tblTel WHERE (Fname LIKE '*%1*') OR (Lname LIKE '*%1*') OR (BusName LIKE '*%1*') OR "
        "(Address LIKE '*%1*') OR (City LIKE '*%1*') OR (State LIKE '*%1*') OR (Zip LIKE '*%1*') OR (Tel1 LIKE "
        "'*%1*') OR (Tel2 LIKE '*%1*') OR (Pel LIKE '*%1*') OR (Fax LIKE '*%1*')");
    QTest::newRow("search") << Query::search(QStringLiteral(" Ab#* ")).statement() << search.arg(" Ab#* ");
    QTest::newRow("search, apostrophe") << Query::search(QStringLiteral("O'Brien")).statement()
                                        << search.arg("O''Brien");
    QTest::newRow("entries") << Query::entries().statement() << "SELECT * FROM tblTel";
    QTest::newRow("log") << Query::log().statement() << "SELECT * FROM tblMes ORDER BY Cdate DESC";
}

void TestDataLayer::requestsAreTheWindowsStatements()
{
    QFETCH(QString, statement);
    QFETCH(QString, expected);
    QCOMPARE(statement, expected);
}

void TestDataLayer::bookStatementsSortAndFilterIgnoringCase()
{
    TempDatabase db;
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("cohen"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Bob"), QStringLiteral("Baker"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Cy"), QStringLiteral("Émile"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Di"), QStringLiteral("adams"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Ed"), QStringLiteral("Cole"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Fay"), QStringLiteral("3com"));
    db.addTel(QStringLiteral("Business"), QStringLiteral("Gus"), QStringLiteral("Carter"), QStringLiteral("zeta ltd"));
    db.addTel(QStringLiteral("Business"), QStringLiteral("Hal"), QStringLiteral("Zorn"), QStringLiteral("Cargo Inc"));
    db.close();

    DataControl control;
    control.setDatabaseName(db.path());
    control.setRecordSource(Query::book(Book::Personal));
    control.Refresh();
    QCOMPARE(lastNames(control),
             (QStringList{QStringLiteral("3com"), QStringLiteral("adams"), QStringLiteral("Baker"),
                          QStringLiteral("cohen"), QStringLiteral("Cole"), QStringLiteral("Émile")}));

    // Two spaces before LIKE, as the letter strip writes it; only the chosen book, by its own sort column.
    control.setRecordSource(Query::letter(Book::Personal, QStringLiteral("C")));
    control.Refresh();
    QStringList c = lastNames(control);
    c.sort();
    QCOMPARE(c, (QStringList{QStringLiteral("Cole"), QStringLiteral("cohen")}));

    control.setRecordSource(Query::letter(Book::Business, QStringLiteral("C")));
    control.Refresh();
    QCOMPARE(lastNames(control), QStringList{QStringLiteral("Zorn")});

    control.setRecordSource(Query::book(Book::Business));
    control.Refresh();
    QCOMPARE(lastNames(control), (QStringList{QStringLiteral("Zorn"), QStringLiteral("Carter")}));

    // "=" compares as every SQLite tool does: the book's name in any case of its ASCII letters.
    control.setRecordSource(QStringLiteral("SELECT * FROM tblTel WHERE Category = 'personal' AND Lname = 'Émile'"));
    control.Refresh();
    QCOMPARE(lastNames(control), QStringList{QStringLiteral("Émile")});

    control.setRecordSource(Query::entries());
    control.Refresh();
    QCOMPARE(lastNames(control).size(), 8);
}

void TestDataLayer::searchStatementMatchesEveryColumnKind_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("lower case finds capitals") << "smith" << QStringList{QStringLiteral("Smith")};
    QTest::newRow("business name") << "acme" << QStringList{QStringLiteral("Lee")};
    QTest::newRow("city") << "springf" << QStringList{QStringLiteral("Smith")};
    QTest::newRow("seven phone digits") << "1234567" << QStringList{QStringLiteral("Smith")};
    QTest::newRow("ten digits together") << "0541234567" << QStringList{};
    QTest::newRow("across the literal") << "054 - 12" << QStringList{QStringLiteral("Smith")};
    QTest::newRow("hebrew") << "כהן" << QStringList{QStringLiteral("כהן")};
    QTest::newRow("digit pattern") << "#" << QStringList{QStringLiteral("Smith")};
    QTest::newRow("set pattern") << "[xyz]" << QStringList{QStringLiteral("Lee")};
    QTest::newRow("nothing") << "qqq" << QStringList{};
    QTest::newRow("empty text finds every row")
        << "" << QStringList{QStringLiteral("Smith"), QStringLiteral("Lee"), QStringLiteral("כהן")};
    QTest::newRow("unclosed bracket is a literal") << "[" << QStringList{};
}

void TestDataLayer::searchStatementMatchesEveryColumnKind()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    TempDatabase db;
    db.addTel(QStringLiteral("Personal"), QStringLiteral("John"), QStringLiteral("Smith"), QStringLiteral(" "),
              QStringLiteral("054 - 1234567"), QStringLiteral("Springfield"));
    db.addTel(QStringLiteral("Business"), QStringLiteral("Amy"), QStringLiteral("Lee"), QStringLiteral("ACME Xylo"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("דוד"), QStringLiteral("כהן"));
    db.close();

    DataControl control;
    control.setDatabaseName(db.path());
    control.setRecordSource(Query::search(text));
    control.Refresh();
    QCOMPARE(lastNames(control), found);
}

void TestDataLayer::messageLogSortsByRealDate()
{
    TempDatabase db;
    db.close();
    DataControl control;
    control.setDatabaseName(db.path());
    control.setRecordSource(Query::log());
    control.Refresh();
    QVERIFY(control.Recordset()->Eof()); // an empty log is no failure

    // dd/MM/yy as the entry view writes it under a day-first locale; text order would put 31/01/25 first.
    const char* dates[] = {"05/03/26", "31/01/25", "01/12/25", "05/03/26", "15/06/99"};
    for (const char* date : dates) {
        Recordset* rs = control.Recordset();
        rs->AddNew();
        rs->setCollect(QStringLiteral("Meet"), QString::fromLatin1(date));
        rs->setCollect(QStringLiteral("CDate"), QString::fromLatin1(date));
        rs->Update();
    }
    control.Refresh();
    QStringList order;
    for (Recordset* rs = control.Recordset(); !rs->Eof(); rs->MoveNext())
        order << rs->Fields(QStringLiteral("Cdate")).Value().toString();
    QCOMPARE(order,
             (QStringList{QStringLiteral("2026-03-05"), QStringLiteral("2026-03-05"), QStringLiteral("2025-12-01"),
                          QStringLiteral("2025-01-31"), QStringLiteral("1999-06-15")}));
}

void TestDataLayer::appendWritesConvertedFields()
{
    TempDatabase db;
    DataControl control;
    control.setDatabaseName(db.path());
    control.setRecordSource(Query::log());
    control.Refresh();
    Recordset* rs = control.Recordset();
    rs->AddNew();
    rs->setCollect(QStringLiteral("meet"), QStringLiteral("Dana"));
    rs->setCollect(QStringLiteral("Avur"), QString(""));
    rs->setCollect(QStringLiteral("CDate"), QStringLiteral("21/08/02"));
    rs->setCollect(QStringLiteral("Ctime"), QStringLiteral("2:35:07 pm"));
    rs->setCollect(QStringLiteral("Hodaa"), QStringLiteral("line one\nline two"));
    QCOMPARE(rs->Collect(QStringLiteral("Cdate")).toString(), QStringLiteral("2002-08-21"));
    rs->Update();
    QCOMPARE(db.rows(QStringLiteral("SELECT Meet, Avur, Cdate, Ctime, Hodaa FROM tblMes")),
             QStringList{QStringLiteral("Dana||2002-08-21|14:35:07|line one\nline two")});

    // Under a month-first locale the same text is another date; a year 30 is 2030, not 1930.
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    rs->AddNew();
    rs->setCollect(QStringLiteral("CDate"), QStringLiteral("08/21/30"));
    rs->Update();
    QCOMPARE(db.rows(QStringLiteral("SELECT Cdate, Meet FROM tblMes ORDER BY ID DESC LIMIT 1")),
             QStringList{QStringLiteral("2030-08-21|<null>")});

    // A value never set stays null; an empty text stays empty.
    control.Refresh();
    QVERIFY(control.Recordset()->Fields(QStringLiteral("Meet")).Value().isNull());
    QVERIFY_THROWS_EXCEPTION(DbError, control.Recordset()->Fields(QStringLiteral("NoSuchField")));

    // Pointed at another file, the control reads and writes that one.
    TempDatabase other;
    control.setDatabaseName(other.path());
    control.Refresh();
    QVERIFY(control.Recordset()->Eof());
    control.Recordset()->AddNew();
    control.Recordset()->setCollect(QStringLiteral("Meet"), QStringLiteral("Other"));
    control.Recordset()->Update();
    QCOMPARE(other.count(QStringLiteral("tblMes")), 1);
    QCOMPARE(db.count(QStringLiteral("tblMes")), 2);
}

void TestDataLayer::appendRefusesWhatTheFileCannotHold_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("named");
    QTest::newRow("16-character first name") << "tblTel"
                                             << "Fname" << QString(16, QLatin1Char('x')) << "Fname holds at most 15";
    QTest::newRow("3-letter state") << "tblTel"
                                    << "State"
                                    << "NYC"
                                    << "State holds at most 2";
    QTest::newRow("14-character telephone") << "tblTel"
                                            << "Tel1"
                                            << "054 - 12345678"
                                            << "Tel1 holds at most 13";
    QTest::newRow("no real date") << "tblMes"
                                  << "CDate"
                                  << "31/02/26"
                                  << "31/02/26";
    QTest::newRow("untouched date mask") << "tblMes"
                                         << "CDate"
                                         << "__/__/__"
                                         << "__/__/__";
    QTest::newRow("no real time") << "tblMes"
                                  << "Ctime"
                                  << "25:00:00"
                                  << "25:00:00";
    QTest::newRow("unknown field") << "tblTel"
                                   << "Phone"
                                   << "1"
                                   << "Phone";
}

void TestDataLayer::appendRefusesWhatTheFileCannotHold()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, named);
    TempDatabase db;
    DataControl control;
    control.setDatabaseName(db.path());
    control.setRecordSource(QStringLiteral("SELECT * FROM ") + table);
    control.Refresh();
    Recordset* rs = control.Recordset();
    try {
        rs->AddNew();
        rs->setCollect(QStringLiteral("Fname").compare(field) == 0 ? QStringLiteral("Lname") : QStringLiteral("Meet"),
                       QStringLiteral("kept"));
    } catch (const DbError&) {
        // tblMes has no Lname and tblTel no Meet: the first value is not the point here
    }
    bool refused = false;
    try {
        rs->setCollect(field, value);
        rs->Update();
    } catch (const DbError& error) {
        refused = true;
        QVERIFY2(error.description().contains(named), qPrintable(error.description()));
        QVERIFY(error.number() != 0);
    }
    QVERIFY(refused);
    QCOMPARE(db.count(table), 0); // nothing half-written
}

void TestDataLayer::theFileItselfEnforcesWidths()
{
    // Any tool, not only this program, is held to the widths and to real dates.
    TempDatabase db;
    QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (Fname) VALUES ('123456789012345')")), SQLITE_OK);
    QVERIFY(db.exec(QStringLiteral("INSERT INTO tblTel (Fname) VALUES ('1234567890123456')")) != SQLITE_OK);
    QVERIFY(QString::fromUtf8(sqlite3_errmsg(db.raw())).contains(QStringLiteral("Fname holds at most 15")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO tblTel (Category) VALUES ('Personals')")) != SQLITE_OK);
    QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime) VALUES ('2024-02-29', '23:59:59')")), SQLITE_OK);
    QVERIFY(db.exec(QStringLiteral("INSERT INTO tblMes (Cdate) VALUES ('2025-02-29')")) != SQLITE_OK);
    QVERIFY(db.exec(QStringLiteral("INSERT INTO tblMes (Cdate) VALUES ('21/08/02')")) != SQLITE_OK);
    QCOMPARE(db.count(QStringLiteral("tblTel")), 1);
    QCOMPARE(db.count(QStringLiteral("tblMes")), 1);
    // The stock shell's own NOCASE reads the same file.
    QCOMPARE(db.rows(QStringLiteral("SELECT count(*) FROM tblTel WHERE Fname = '123456789012345' ORDER BY Lname")),
             QStringList{QStringLiteral("1")});
}

void TestDataLayer::missingOrForeignFileIsReportedNotCreated()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Dalvek.mdb"));
    DataControl control;
    control.setDatabaseName(missing);
    control.setRecordSource(QStringLiteral("SELECT * FROM tblTel"));
    try {
        control.Refresh();
        QFAIL("a missing file must not open");
    } catch (const DbError& error) {
        QVERIFY(error.number() != 0);
        QVERIFY2(error.description().contains(missing), qPrintable(error.description()));
    }
    QVERIFY(!QFile::exists(missing));

    QFile text(missing);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(8192, 'x'));
    text.close();
    control.setDatabaseName(QString());
    control.setDatabaseName(missing);
    QVERIFY_THROWS_EXCEPTION(DbError, control.Refresh());
    QCOMPARE(QFileInfo(missing).size(), qint64(8192)); // left as it was
}

void TestDataLayer::gridEditsAndDeletionsReachTheFile()
{
    TempDatabase db;
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Bob"), QStringLiteral("Baker"));
    db.addTel(QStringLiteral("Personal"), QStringLiteral("Cy"), QStringLiteral("Cohen"));

    DataControl control;
    control.setDatabaseName(db.path());
    GridModel model(&control,
                    {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()},
                     {QStringLiteral("First"), QStringLiteral("Fname"), 2760, QString()},
                     {QStringLiteral("Tel - 1"), QStringLiteral("Tel1"), 1410, QStringLiteral("General Number")}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    control.setRecordSource(Query::book(Book::Personal));
    control.Refresh();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Tel - 1"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("Bob"));
    QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("___ - _______"));
    QCOMPARE(model.index(0, 1).data(GridModel::MaxLengthRole).toInt(), 15);

    QSignalSpy failures(&model, &GridModel::databaseError);
    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("Robert")));
    QCOMPARE(db.rows(QStringLiteral("SELECT Fname FROM tblTel WHERE Lname = 'Baker'")),
             QStringList{QStringLiteral("Robert")});
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("Robert"));

    // Too long for the column: refused, reported, the row stays as stored.
    QVERIFY(!model.setData(model.index(1, 1), QString(16, QLatin1Char('r'))));
    QCOMPARE(failures.size(), 1);
    QCOMPARE(db.rows(QStringLiteral("SELECT Fname FROM tblTel WHERE Lname = 'Baker'")),
             QStringList{QStringLiteral("Robert")});

    QVERIFY(model.removeRowList({0, 2}));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(db.rows(QStringLiteral("SELECT Lname FROM tblTel")), QStringList{QStringLiteral("Baker")});
}

void TestDataLayer::gridDeletionRefusedInPartDeletesNothing()
{
    TempDatabase db;
    for (const char* name : {"Adams", "Baker", "Cohen", "Dunn"})
        db.addTel(QStringLiteral("Personal"), QString(), QLatin1String(name));
    // The file refuses to delete the third row, after the first two of the deletion have gone.
    QCOMPARE(db.exec(QStringLiteral("CREATE TRIGGER keepCohen BEFORE DELETE ON tblTel WHEN old.Lname = 'Cohen' "
                                    "BEGIN SELECT RAISE(ABORT, 'Cohen stays'); END")),
             SQLITE_OK);

    DataControl control;
    control.setDatabaseName(db.path());
    GridModel model(&control, {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    control.setRecordSource(Query::book(Book::Personal));
    control.Refresh();
    QSignalSpy failures(&model, &GridModel::databaseError);

    QVERIFY(!model.removeRowList({0, 1, 2, 3}));
    QCOMPARE(failures.size(), 1);
    QVERIFY(failures.first().at(1).toString().contains(QStringLiteral("Cohen stays")));
    const QStringList all{QStringLiteral("Adams"), QStringLiteral("Baker"), QStringLiteral("Cohen"),
                          QStringLiteral("Dunn")};
    QCOMPARE(db.rows(QStringLiteral("SELECT Lname FROM tblTel ORDER BY Lname")), all);
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown << model.index(row, 0).data().toString();
    QCOMPARE(shown, all);
}

void TestDataLayer::gridReadsKeysLazily()
{
    TempDatabase db;
    db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                           "INSERT INTO tblTel (Category, Lname) SELECT 'Personal', printf('name%05d', i) FROM n"));
    DataControl control;
    control.setDatabaseName(db.path());
    GridModel model(&control, {{QStringLiteral("Last"), QStringLiteral("Lname"), 2535, QString()}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    control.setRecordSource(Query::book(Book::Personal));
    control.Refresh();
    QVERIFY(model.rowCount() < 5000);
    QVERIFY(model.canFetchMore(QModelIndex()));
    model.fetchAll();
    QCOMPARE(model.rowCount(), 5000);
    QCOMPARE(model.index(4999, 0).data().toString(), QStringLiteral("name05000"));
    QCOMPARE(model.index(2500, 0).data().toString(), QStringLiteral("name02501"));
}

void TestDataLayer::keyedBookJumpsToItsEnd_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("keys as the program stores them") << QString();
    // Another build or tool may have written the same bytes as text, which orders before every blob.
    QTest::newRow("keys stored as text") << QStringLiteral("UPDATE tblTel SET SortKey = CAST(SortKey AS TEXT)");
    QTest::newRow("some keys stored as text")
        << QStringLiteral("UPDATE tblTel SET SortKey = CAST(SortKey AS TEXT) WHERE rowid % 3 = 0");
}

void TestDataLayer::keyedBookJumpsToItsEnd()
{
    QFETCH(QString, change);
    TempDatabase db;
    fillBooks(db, 30000);
    DataControl control;
    control.setDatabaseName(db.path());
    GridModel model(&control, idAndName());
    control.setRecordSource(kPersonalBook);
    control.Refresh(); // gives every row its key
    if (!change.isEmpty()) {
        QCOMPARE(db.exec(change), SQLITE_OK);
        control.Refresh();
    }
    QCOMPARE(control.keyedBook(), &Book::Personal);
    const QStringList order = db.rows(kPersonalOrder);
    QCOMPARE(order.size(), 24000);

    // Opened, then read again with the count it had.
    for (int open = 0; open < 2; ++open) {
        if (open)
            control.Refresh();
        reachBottom(model);
        QCOMPARE(model.rowCount(), 24000);
        for (int row = 23970; row < 24000; ++row)
            QCOMPARE(model.index(row, 0).data().toString(), order.at(row));
        // Screens far from both runs, as the scroll bar dragged there shows them: counted from the start and
        // from the end.
        for (const int middle : {12000, 14000}) {
            for (int row = middle - 15; row < middle + 15; ++row)
                QCOMPARE(model.index(row, 0).data().toString(), order.at(row));
        }
    }

    // A name edited near the top loses its sort key until the next refresh: it stays where it was, once.
    QVERIFY(model.setData(model.index(10, 1), QStringLiteral("zzz")));
    QCOMPARE(shownIds(model), order);
}

void TestDataLayer::keyedBookMeetsChangesMadeElsewhere_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("inOrder");
    QTest::addColumn<bool>("beforeCount"); // made after the first screen, before the grid counts the book
    QTest::addColumn<int>("goneAtTop");    // rows read before the change, shown until the next refresh
    const QString firstRow = QStringLiteral("DELETE FROM tblTel WHERE rowid = (SELECT rowid FROM tblTel WHERE "
                                            "Category = 'Personal' ORDER BY SortKey, rowid LIMIT 1)");
    QTest::newRow("rows deleted") << QStringLiteral("DELETE FROM tblTel WHERE Lname BETWEEN 'n300' AND 'n320'") << true
                                  << false << 0;
    QTest::newRow("rows added")
        << QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 700) "
                          "INSERT INTO tblTel (Category, Lname) SELECT 'Personal', printf('n350-%d', i) FROM n")
        << true << false << 0;
    // Renamed from the top of the book into its middle: read at the top already, it is not listed again there.
    QTest::newRow("row moved") << QStringLiteral("UPDATE tblTel SET Lname = 'n400' WHERE Lname = 'n001'") << false
                               << false << 0;
    QTest::newRow("first row deleted") << firstRow << true << false << 1;
    QTest::newRow("first row deleted before the count") << firstRow << true << true << 1;
}

void TestDataLayer::keyedBookMeetsChangesMadeElsewhere()
{
    QFETCH(QString, change);
    QFETCH(bool, inOrder);
    QFETCH(bool, beforeCount);
    QFETCH(int, goneAtTop);
    TempDatabase db;
    fillBooks(db, 25000);
    DataControl control;
    control.setDatabaseName(db.path());
    GridModel model(&control, idAndName());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    control.setRecordSource(kPersonalBook);
    control.Refresh();
    const auto changeElsewhere = [&] {
        // Another copy of the program saves and orders its rows.
        const auto other = Database::open(db.path());
        other->exec(change);
        QVERIFY(other->refreshSortKeys());
    };
    if (beforeCount)
        changeElsewhere();
    reachBottom(model);
    const int rows = model.rowCount();
    QCOMPARE(rows, beforeCount ? 19999 : 20000);
    QVERIFY(!model.index(rows - 1, 0).data().toString().isEmpty());
    if (!beforeCount)
        changeElsewhere();

    // Scrolled into the middle before the runs meet, then everything.
    for (int row = rows / 2; row < rows / 2 + 30; ++row)
        QVERIFY(!model.index(row, 0).data().toString().isEmpty());
    model.fetchAll();

    QStringList now = db.rows(kPersonalOrder);
    QStringList shown = shownIds(model);
    QCOMPARE(shown.size(), now.size() + goneAtTop);
    shown.remove(0, goneAtTop);
    if (!inOrder) {
        std::sort(now.begin(), now.end());
        std::sort(shown.begin(), shown.end());
    }
    QCOMPARE(shown, now);

    // Read again, the book is counted again, after the other copy's change and after one of this grid's own.
    control.Refresh();
    reachBottom(model);
    QCOMPARE(model.rowCount(), now.size());
    QVERIFY(model.removeRows(0, 1));
    control.Refresh();
    reachBottom(model);
    QCOMPARE(model.rowCount(), now.size() - 1);
}

void TestDataLayer::commonNameIsReadOnce_data()
{
    QTest::addColumn<bool>("letter");
    QTest::newRow("a book") << false;
    QTest::newRow("a letter") << true;
}

void TestDataLayer::commonNameIsReadOnce()
{
    // Read a batch at a time, a run of one name costs its rows, not its rows squared: twice the rows, about twice
    // the work.
    QFETCH(bool, letter);
    std::vector<qint64> steps;
    for (const int rows : {6000, 12000}) {
        TempDatabase db;
        QCOMPARE(db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                        "INSERT INTO tblTel (Category, Lname) SELECT 'Personal', 'Kowalski' FROM n")
                             .arg(rows)),
                 SQLITE_OK);
        DataControl control;
        control.setDatabaseName(db.path());
        GridModel model(&control, idAndName());
        if (letter) {
            // A search reads the copy; from then on a letter's names come from the book's index.
            control.setRecordSource(Query::search(QStringLiteral("x")));
            control.Refresh();
        }
        control.setRecordSource(letter ? Query::letter(Book::Personal, QStringLiteral("K")) : kPersonalBook);
        control.Refresh();
        QCOMPARE(bool(control.letterKeys()), letter);
        steps.push_back(stepsOf(control.database()->handle(), [&] {
            reachBottom(model); // a book is counted, and read back from its end
            for (int row = 0; row < rows; row += 40)
                QVERIFY(!model.index(row, 0).data().toString().isEmpty());
        }));
        QCOMPARE(model.rowCount(), rows);
        QCOMPARE(model.index(rows - 1, 0).data().toString(), QString::number(rows));
    }
    QVERIFY2(steps[1] < 3 * steps[0], qPrintable(QStringLiteral("%1, %2 steps").arg(steps[0]).arg(steps[1])));
}

void TestDataLayer::rawTextReadsAsTheValue_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::newRow("UTF-8") << QStringLiteral("UTF-8");
    QTest::newRow("UTF-16le, as another tool may write") << QStringLiteral("UTF-16le");
    QTest::newRow("UTF-16be") << QStringLiteral("UTF-16be");
}

void TestDataLayer::rawTextReadsAsTheValue()
{
    // The search list takes each value's text as the file holds it; it must read as the value itself does,
    // whatever a column without a declared type was given.
    QFETCH(QString, encoding);
    QTemporaryDir dir;
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(dir.filePath(QStringLiteral("foreign.db")).toUtf8().constData(), &db), SQLITE_OK);
    const auto closeDb = qScopeGuard([db] { sqlite3_close(db); });
    const QString setup = QStringLiteral("PRAGMA encoding = '%1'; CREATE TABLE t (n INTEGER PRIMARY KEY, a, b); "
                                         "INSERT INTO t (a, b) VALUES ('plain', 1), ('', 2), (NULL, 3), (42, 4), "
                                         "(-7, 5), (1.5, 6), (100.0, 7), (1e20, 8), (x'C3A9', 9), (x'FF41', 10), "
                                         "('עברית Ünïcode', 11), ('a' || char(0) || 'b', 12), (x'', 13);")
                              .arg(encoding);
    QCOMPARE(sqlite3_exec(db, setup.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    Statement stmt(db, QStringLiteral("SELECT a, b FROM t ORDER BY n"));
    int rows = 0;
    while (stmt.step()) {
        ++rows;
        // Both columns first, then the text again: each view lasts until the row ends.
        const std::string_view a = stmt.text(0);
        const std::string_view b = stmt.text(1);
        QCOMPARE(QString::fromUtf8(a.data(), qsizetype(a.size())), stmt.value(0).toString());
        QCOMPARE(QString::fromUtf8(b.data(), qsizetype(b.size())), stmt.value(1).toString());
        QCOMPARE(QString::fromUtf8(a.data(), qsizetype(a.size())), stmt.value(0).toString());
    }
    QCOMPARE(rows, 13);
}

QTEST_GUILESS_MAIN(TestDataLayer)
#include "tst_datalayer.moc"
