// The fast path of the free-text search must find exactly the rows the statement finds when SQLite runs it.
#include "TempDatabase.h"
#include "data/Book.h"
#include "data/DataControl.h"
#include "data/Database.h"
#include "data/GridModel.h"
#include "data/SavedCopy.h"
#include "data/SearchIndex.h"
#include "data/SearchedColumns.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Keys of the rows the data control lists for a search (the fast path).
QVector<qint64> viaDataControl(const QString& path, const QString& text)
{
    DataControl control;
    control.setDatabaseName(path);
    control.setRecordSource(Query::search(text));
    control.Refresh();
    QVector<qint64> keys;
    for (Recordset* rs = control.Recordset(); !rs->Eof(); rs->MoveNext())
        keys << rs->Fields(QStringLiteral("ID")).Value().toLongLong();
    return keys;
}

// One line per row found, its eleven values as a result block shows them.
QStringList blocksOf(const FoundRows& found, qsizetype rows = -1)
{
    QStringList blocks;
    for (qsizetype row = 0; row < (rows < 0 ? found.size() : std::min(rows, found.size())); ++row) {
        const FoundRows::Values values = found.values(row);
        blocks << QStringList(values.begin(), values.end()).join(QLatin1Char('|'));
    }
    return blocks;
}

QStringList blocksOf(Recordset& rs)
{
    QStringList blocks;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values;
        for (const char* column : SearchedColumns::kNames)
            values << QString::fromUtf8(rs.text(rs.columnIndex(QLatin1String(column))));
        blocks << values.join(QLatin1Char('|'));
    }
    return blocks;
}

// The blocks of rows by their keys as the file holds them now; a row gone shows empty.
QStringList blocksNow(TempDatabase& db, const FoundRows& found)
{
    QStringList columns;
    for (const char* column : SearchedColumns::kNames)
        columns << QStringLiteral("ifnull(%1, '')").arg(QLatin1String(column));
    QStringList blocks;
    for (qsizetype row = 0; row < found.size(); ++row) {
        const QStringList now = db.rows(QStringLiteral("SELECT %1 FROM tblTel WHERE ID = %2")
                                            .arg(columns.join(QLatin1Char(',')))
                                            .arg(found.key(row)));
        blocks << now.value(0, QString(SearchedColumns::kCount - 1, QLatin1Char('|')));
    }
    return blocks;
}

// The blocks the result list shows, made the way the window makes them: read by key when the data control's rows
// can be, else from its record set. `found` keeps the rows.
QStringList listedBlocks(const QString& path, const QString& text, FoundRows* found = nullptr)
{
    DataControl control;
    control.setDatabaseName(path);
    control.setRecordSource(Query::search(text));
    control.Refresh();
    if (found)
        *found = control.foundRows();
    return control.foundRows().isReadable() ? blocksOf(control.foundRows()) : blocksOf(*control.Recordset());
}

// Keys of the rows SQLite itself finds with the search's statement and the same dialect.
QVector<qint64> viaStatement(const QString& path, const QString& text)
{
    Recordset rs(Database::open(path), Query::search(text).statement());
    QVector<qint64> keys;
    for (; !rs.Eof(); rs.MoveNext())
        keys << rs.Fields(QStringLiteral("ID")).Value().toLongLong();
    return keys;
}

// Among them the masked values the windows write, which the copy packs.
// clang-format off
const char* const kPieces[] = {"a", "A", "b", "é", "É", "ß", "כהן", "1", "2", "7", " ", " - ", "_", "x", "*", "?",
                               "#", "[", "]", "!", "[a-c]", "[!b]", "'", "\"", ";", "\t", "ab", "Ab1",
                               "___ - _______", "_____", "052 - 1234567"};
// clang-format on

QString randomText(QRandomGenerator& random, int maxPieces)
{
    QString text;
    const int n = int(random.bounded(maxPieces + 1));
    for (int i = 0; i < n; ++i)
        text += QString::fromUtf8(kPieces[random.bounded(int(std::size(kPieces)))]);
    return text;
}

// The eleven searched values of a random row, as SQL literals.
QString randomValues(QRandomGenerator& random)
{
    QStringList values;
    for (int c = 0; c < 11; ++c) {
        const int width = Schema::widthOf(QStringLiteral("tblTel"), QString::fromLatin1(SearchedColumns::kNames[c]));
        if (random.bounded(8) == 0) {
            values << QStringLiteral("NULL");
            continue;
        }
        QString text = randomText(random, 4).left(width);
        text.replace(QLatin1Char('\''), QStringLiteral("''"));
        values << QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    return values.join(QLatin1Char(','));
}

const char* const kSearched = "Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax";

} // namespace

class TestSearchIndex : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findsWhatTheStatementFinds()
    {
        TempDatabase db;
        QRandomGenerator random(20261207);
        const char* columns = "Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax";
        for (int row = 0; row < 400; ++row) {
            const QString category = row % 2 ? QStringLiteral("'Personal'") : QStringLiteral("'Business'");
            QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2, %3)")
                                 .arg(QLatin1String(columns), category, randomValues(random))),
                     SQLITE_OK);
        }
        // Rows the in-memory copy cannot hold as text: bytes that are no UTF-8, the copy's own separators.
        QCOMPARE(db.exec(QStringLiteral(
                     "INSERT INTO tblTel (Fname, City) VALUES (CAST(x'61ff62' AS TEXT), 'x' || char(31) || 'y')")),
                 SQLITE_OK);
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (Lname) VALUES ('a' || char(30) || 'b')")), SQLITE_OK);
        db.close();

        int compared = 0;
        int nonEmpty = 0;
        for (int i = 0; i < 300; ++i) {
            const QString t = randomText(random, 3);
            const QVector<qint64> expected = viaStatement(db.path(), t);
            const QVector<qint64> actual = viaDataControl(db.path(), t);
            if (actual != expected)
                QFAIL(qPrintable(QStringLiteral("search text \"%1\": %2 rows, expected %3")
                                     .arg(t)
                                     .arg(actual.size())
                                     .arg(expected.size())));
            ++compared;
            nonEmpty += !expected.isEmpty();
        }
        QCOMPARE(compared, 300);
        QVERIFY(nonEmpty > 100); // the comparison is not between empty results
        // Each of the rows the copy cannot hold is found by a text of its own.
        for (const char* t : {"x\x1fy",
                              "a\x1e"
                              "b",
                              "b"}) {
            const QString text = QString::fromUtf8(t);
            const QVector<qint64> expected = viaStatement(db.path(), text);
            QVERIFY(!expected.isEmpty());
            QCOMPARE(viaDataControl(db.path(), text), expected);
        }
        for (const char* t : {"", "#", "*#*", "#*", "##", "*", "?", "[", "[z-a]"}) {
            const QString text = QString::fromUtf8(t);
            QCOMPARE(viaDataControl(db.path(), text), viaStatement(db.path(), text));
        }
        // Some rows hold a digit and some do not, so the comparison for "#" tells them apart.
        const qsizetype withDigit = viaStatement(db.path(), QStringLiteral("#")).size();
        QVERIFY(withDigit > 20 && withDigit < 395);
    }

    void readingAheadLeavesTheWindowsAlone()
    {
        // The copy is read ahead on a thread of its own while another program holds the file: that thread waits
        // quietly. The windows' busy notifier runs on their thread only (and ends the program on any other).
        TempDatabase db;
        db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Quimby"));
        int notices = 0;
        Database::setBusyNotifier([&notices] { ++notices; });
        const auto unset = qScopeGuard([] { Database::setBusyNotifier(nullptr); });
        QCOMPARE(db.exec(QStringLiteral("BEGIN EXCLUSIVE; INSERT INTO tblMes (Meet) VALUES ('Other')")), SQLITE_OK);
        const auto index = SearchIndex::forFile(db.path());
        index->prepare();
        QThread::msleep(300);
        QCOMPARE(db.exec(QStringLiteral("COMMIT")), SQLITE_OK);
        QCOMPARE(index->find("*quim*").size(), 1);
        QCOMPARE(notices, 0);
    }

    void searchDuringTheReadAheadFindsTheRowsOfTheFile()
    {
        // The window has the copy read ahead; a search asked meanwhile waits only for the rows not yet read, and
        // sees what another program writes while the copy is read, even when a write makes the read stop part way
        // (the file is busy for the moment of each commit).
        TempDatabase db;
        QCOMPARE(db.exec(QStringLiteral(
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000) "
                     "INSERT INTO tblTel (Fname, Lname, Tel1) SELECT 'Name' || i, 'Row' || (i % 97), i FROM n; "
                     "INSERT INTO tblTel (Fname) VALUES (CAST(x'61ff62' AS TEXT))")),
                 SQLITE_OK);
        const auto index = SearchIndex::forFile(db.path());
        index->prepare();
        for (int i = 1; i <= 12; ++i) {
            const QString key = QString::number(i * 5000);
            const QString sql = i % 3 == 0 ? QStringLiteral("DELETE FROM tblTel WHERE ID = %1").arg(key)
                                : i % 3 == 1
                                    ? QStringLiteral("UPDATE tblTel SET Lname = 'Zephyr' WHERE ID = %1").arg(key)
                                    : QStringLiteral("INSERT INTO tblTel (Fname) VALUES ('Zephyrine%1')").arg(key);
            QCOMPARE(db.exec(sql), SQLITE_OK);
        }
        for (const char* t : {"zephyr", "row1", "#", "name599", "b"}) {
            const QString text = QString::fromUtf8(t);
            QCOMPARE(viaDataControl(db.path(), text), viaStatement(db.path(), text));
        }
        QCOMPARE(viaStatement(db.path(), QStringLiteral("zephyr")).size(), 8);
        QCOMPARE(index->rebuilds(), 1); // the rows read ahead were kept
    }

    // The copy kept from the run before is believed only when the file agrees with it: whatever happened to the
    // file or to the kept copy between the runs, a search finds what the statement finds.
    void keptCopyIsCheckedAgainstTheFile_data()
    {
        QTest::addColumn<QString>("between"); // run on the file between the runs
        QTest::addColumn<QString>("damage");  // "copy": bytes of the kept copy changed; "file": another file put
                                              // in the file's place
        QTest::addColumn<bool>("readWhole");
        const QString none;
        QTest::newRow("nothing changed") << none << none << false;
        QTest::newRow("changes the log holds")
            << QStringLiteral("UPDATE tblTel SET Lname = 'Zephyr' WHERE ID IN (3, 150, 300); DELETE FROM tblTel WHERE "
                              "ID = 7; INSERT INTO tblTel (Fname) VALUES ('Zephyrine')")
            << none << false;
        QTest::newRow("more changes than the log holds")
            << QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
                              "INSERT INTO tblTel (Fname) SELECT 'Zephyr' || i FROM n")
            << none << true;
        QTest::newRow("the schema changed")
            << QStringLiteral("CREATE INDEX byCity ON tblTel (City); UPDATE tblTel SET City = 'Zephyr' WHERE ID = 5")
            << none << true;
        QTest::newRow("the kept copy damaged") << none << QStringLiteral("copy") << true;
        QTest::newRow("another file in its place") << none << QStringLiteral("file") << true;
    }

    void keptCopyIsCheckedAgainstTheFile()
    {
        QFETCH(QString, between);
        QFETCH(QString, damage);
        QFETCH(bool, readWhole);
        const auto fill = [](TempDatabase& file, quint32 seed) {
            QRandomGenerator random(seed);
            for (int row = 0; row < 300; ++row)
                QCOMPARE(file.exec(QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2)")
                                       .arg(QLatin1String(kSearched), randomValues(random))),
                         SQLITE_OK);
        };
        TempDatabase db;
        fill(db, 1208);
        {
            // The first run reads the whole table and keeps it.
            const auto index = SearchIndex::forFile(db.path());
            index->prepare();
            index->find("**");
            QCOMPARE(index->rebuilds(), 1);
        }
        SearchIndex::forFile(db.dir() + QStringLiteral("/elsewhere.mdb")); // the run ends
        QVERIFY(QFileInfo::exists(SavedCopy::pathFor(db.path())));

        if (!between.isEmpty())
            QCOMPARE(db.exec(between), SQLITE_OK);
        if (damage == QLatin1String("copy")) {
            QFile copy(SavedCopy::pathFor(db.path()));
            QVERIFY(copy.open(QIODevice::ReadWrite));
            copy.seek(copy.size() / 3);
            const char byte = copy.peek(1).at(0);
            copy.write(QByteArray(1, char(byte ^ 0x20)));
        } else if (damage == QLatin1String("file")) {
            // As many rows, as many entries of the log, and the same schema: only the rows tell the files apart.
            TempDatabase other;
            fill(other, 1209);
            other.close();
            db.close();
            QVERIFY(QFile::remove(db.path()));
            QVERIFY(QFile::copy(other.path(), db.path()));
        }

        const auto index = SearchIndex::forFile(db.path());
        index->prepare();
        for (const char* t : {"zephyr", "a", "#", "ab1", "[a-c]"}) {
            const QString text = QString::fromUtf8(t);
            QCOMPARE(viaDataControl(db.path(), text), viaStatement(db.path(), text));
        }
        QCOMPARE(index->rebuilds(), readWhole ? 1 : 0);
    }

    // Once the copy is read, a letter's names come from the book's index, picked by the copy: the same rows as its
    // statement, in the book's order, among names that only sort with the letter and names the copy cannot hold.
    void letterListsWhatItsStatementLists()
    {
        TempDatabase db;
        const char* const names[] = {"Kim",
                                     "kara",
                                     "Ķirsis",
                                     "K\u0301ate",
                                     "\u200bKevin",
                                     "\uff2ben",
                                     "\u212aelvin",
                                     "K",
                                     "Émile",
                                     "Eve",
                                     "evan",
                                     "Zed",
                                     "כהן",
                                     "כליל",
                                     "ךא",
                                     "Ke\x1f"
                                     "n",
                                     ""};
        for (const char* name : names)
            db.addTel(QStringLiteral("Personal"), QStringLiteral("F"), QString::fromUtf8(name));
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (Category, Lname) VALUES ('Personal', NULL), "
                                        "('Business', 'Kb'), ('Personal', CAST(x'4bff' AS TEXT))")),
                 SQLITE_OK);
        // More than a batch of names, some of them only sorting with the letter.
        for (int i = 0; i < 700; ++i)
            db.addTel(QStringLiteral("Personal"), QStringLiteral("F"),
                      (i % 7 ? QStringLiteral("Kb%1") : QStringLiteral("Ķb%1")).arg(i, 3, 10, QLatin1Char('0')));
        DataControl control;
        control.setDatabaseName(db.path());
        const auto check = [&](const QString& letter) {
            const Query query = Query::letter(Book::Personal, letter);
            control.setRecordSource(query);
            control.Refresh();
            QVERIFY(control.letterKeys());
            Recordset rs(Database::open(db.path()), query.statement() + QStringLiteral(" ORDER BY SortKey, rowid"));
            QVector<qint64> expected;
            for (; !rs.Eof(); rs.MoveNext())
                expected << rs.Fields(QStringLiteral("ID")).Value().toLongLong();
            GridModel grid(&control, {{QStringLiteral("Last"), QStringLiteral("Lname"), 1000, QString()}});
            grid.fetchAll();
            QVector<qint64> listed;
            for (int row = 0; row < grid.rowCount(); ++row)
                listed << grid.keyOfRow(row);
            QCOMPARE(listed, expected);
        };
        // Before the copy is read, the statement lists the letter.
        control.setRecordSource(Query::letter(Book::Personal, QStringLiteral("K")));
        control.Refresh();
        QVERIFY(!control.letterKeys());
        viaDataControl(db.path(), QStringLiteral("x")); // a search reads the copy
        for (const char* letter : {"K", "E", "כ", "Z", "Q"})
            check(QString::fromUtf8(letter));

        // Another tool renames names into the letter and out of it, deletes one and adds one the copy cannot hold.
        QCOMPARE(db.exec(QStringLiteral("UPDATE tblTel SET Lname = 'Kate' WHERE Lname = 'Eve'; "
                                        "UPDATE tblTel SET Lname = 'Lim' WHERE Lname = 'Kim'; "
                                        "DELETE FROM tblTel WHERE Lname = 'kara'; "
                                        "INSERT INTO tblTel (Category, Lname) VALUES ('Personal', 'Kx' || char(30))")),
                 SQLITE_OK);
        check(QStringLiteral("K"));
        check(QStringLiteral("E"));
    }

    void followsChangesMadeByAnyone()
    {
        TempDatabase db;
        db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Quimby"));
        const QString text = QStringLiteral("quim");
        QCOMPARE(viaDataControl(db.path(), text).size(), 1);
        // Another tool adds, changes and deletes rows between two searches.
        db.addTel(QStringLiteral("Business"), QStringLiteral("Bob"), QStringLiteral("Quimbey"));
        QCOMPARE(viaDataControl(db.path(), text).size(), 2);
        QCOMPARE(db.exec(QStringLiteral("UPDATE tblTel SET Lname = 'Smith' WHERE Fname = 'Ann'")), SQLITE_OK);
        QCOMPARE(viaDataControl(db.path(), text).size(), 1);
        QCOMPARE(db.exec(QStringLiteral("DELETE FROM tblTel")), SQLITE_OK);
        QCOMPARE(viaDataControl(db.path(), text).size(), 0);
    }

    void anyDigitTakesDigitsOnly_data()
    {
        QTest::addColumn<QString>("name"); // the one character of the row that could be a digit
        QTest::addColumn<int>("found");
        QTest::newRow("nine") << QStringLiteral("a9b") << 1;
        QTest::newRow("colon, the character after nine") << QStringLiteral("a:b") << 0;
    }

    void anyDigitTakesDigitsOnly()
    {
        QFETCH(QString, name);
        QFETCH(int, found);
        // Every other column of the row holds no digit: the telephone boxes are blank.
        TempDatabase db;
        db.addTel(QStringLiteral("Personal"), name, QStringLiteral("Quimby"));
        QCOMPARE(viaDataControl(db.path(), QStringLiteral("#")).size(), found);
    }

    void editOfTheLastRowReplacesItsText()
    {
        // The row with the highest key ends the copy, where new rows are added; an edit of it is no new row.
        TempDatabase db;
        db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Quimby"));
        db.addTel(QStringLiteral("Personal"), QStringLiteral("Bob"), QStringLiteral("Zephyr"));
        const qint64 last = db.rows(QStringLiteral("SELECT max(ID) FROM tblTel")).value(0).toLongLong();
        QCOMPARE(db.rows(QStringLiteral("SELECT Fname FROM tblTel WHERE ID = %1").arg(last)),
                 QStringList{QStringLiteral("Bob")});
        const auto index = SearchIndex::forFile(db.path());
        QCOMPARE(viaDataControl(db.path(), QStringLiteral("zephyr")), QVector<qint64>{last});
        const int fullReads = index->rebuilds();

        QCOMPARE(db.exec(QStringLiteral("UPDATE tblTel SET Lname = 'Yarrow' WHERE ID = %1").arg(last)), SQLITE_OK);
        QCOMPARE(viaDataControl(db.path(), QStringLiteral("zephyr")), QVector<qint64>{});
        QCOMPARE(viaDataControl(db.path(), QStringLiteral("yarrow")), QVector<qint64>{last});
        QCOMPARE(index->rebuilds(), fullReads); // the copy followed the change log

        // A search that finds every row shares the copy's keys with its list, and neither later searches nor a
        // letter's picking copy them (a million keys are 8 MB).
        const QVector<qint64> every = index->find("**");
        index->find("y*");
        std::vector<std::int64_t> letter{last + 1, last};
        QVERIFY(index->keepMatching(letter, SearchedColumns::indexOf(QStringLiteral("Lname")), "y*"));
        QCOMPARE(letter, std::vector<std::int64_t>{last});
        QVERIFY(index->find("**").constData() == every.constData());
    }

    void keepsUpWithEveryKindOfChange()
    {
        // Between searches another tool adds, changes, moves, replaces and deletes rows, a few at a time. The copy
        // reads only the rows the file's log names, and still finds what the statement finds.
        // The writer is a second connection with the program's rules, as another copy of the program has: the
        // random names lie outside ASCII, and the name indexes are in the program's order for them.
        TempDatabase db;
        Database::prepareConnection(db.raw());
        QRandomGenerator random(1207);
        for (int row = 0; row < 200; ++row)
            QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2)")
                                 .arg(QLatin1String(kSearched), randomValues(random))),
                     SQLITE_OK);
        const auto index = SearchIndex::forFile(db.path());
        index->prepare(); // read ahead, outside a transaction, as the window has it read
        index->find("**");
        const int fullReads = index->rebuilds();
        QCOMPARE(fullReads, 1);
        const QStringList texts{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("1"),    QStringLiteral("é"),
                                QStringLiteral("#"), QString(),           QStringLiteral("[a-c]")};
        // The lines are compared too: made from memory, they must be those of the rows SQLite finds.
        const auto compareAll = [&](int round) {
            for (const QString& t : texts) {
                const QVector<qint64> expected = viaStatement(db.path(), t);
                const QVector<qint64> actual = viaDataControl(db.path(), t);
                if (actual != expected)
                    QFAIL(qPrintable(QStringLiteral("round %1, text \"%2\": %3 rows, expected %4")
                                         .arg(round)
                                         .arg(t)
                                         .arg(actual.size())
                                         .arg(expected.size())));
                Recordset rs(Database::open(db.path()), Query::search(t).statement());
                if (listedBlocks(db.path(), t) != blocksOf(rs))
                    QFAIL(qPrintable(QStringLiteral("round %1, text \"%2\": the lines differ").arg(round).arg(t)));
            }
        };
        for (int round = 0; round < 80; ++round) {
            // A list made before the changes shows its rows as they are when shown: changed, or empty once gone.
            // The first screen's blocks were read before the changes too, as a list on screen has them.
            FoundRows before;
            listedBlocks(db.path(), QString(), &before);
            QVERIFY(before.isReadable());
            blocksOf(before, 30);
            const int changes = int(random.bounded(1, 6));
            for (int i = 0; i < changes; ++i) {
                const QString id = QString::number(random.bounded(1, 260));
                const QString column = QLatin1String(SearchedColumns::kNames[random.bounded(11)]);
                QString sql;
                switch (random.bounded(7)) {
                case 0:
                    sql = QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2)")
                              .arg(QLatin1String(kSearched), randomValues(random));
                    break;
                case 1: {
                    QString text = randomText(random, 2).left(2);
                    text.replace(QLatin1Char('\''), QStringLiteral("''"));
                    sql = QStringLiteral("UPDATE tblTel SET %1 = '%2' WHERE ID = %3").arg(column, text, id);
                    break;
                }
                case 2:
                    sql = QStringLiteral("DELETE FROM tblTel WHERE ID = %1").arg(id);
                    break;
                case 3: // the key itself moves, up or down
                    sql = QStringLiteral("UPDATE OR IGNORE tblTel SET ID = %1 WHERE ID = %2")
                              .arg(random.bounded(1, 260))
                              .arg(id);
                    break;
                case 4: // text the copy cannot hold, and back
                    sql = random.bounded(2)
                              ? QStringLiteral("UPDATE tblTel SET City = CAST(x'61ff62' AS TEXT) WHERE ID = %1").arg(id)
                              : QStringLiteral("UPDATE tblTel SET City = 'ab' WHERE ID = %1").arg(id);
                    break;
                case 5:
                    sql = QStringLiteral("INSERT OR REPLACE INTO tblTel (ID, %1) VALUES (%2, %3)")
                              .arg(QLatin1String(kSearched), id, randomValues(random));
                    break;
                default: // the messages only
                    sql = QStringLiteral("INSERT INTO tblMes (Meet) VALUES ('a')");
                    break;
                }
                if (db.exec(sql) != SQLITE_OK)
                    QFAIL(qPrintable(sql + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db.raw()))));
            }
            compareAll(round);
            QCOMPARE(blocksOf(before), blocksNow(db, before));
        }
        QCOMPARE(index->rebuilds(), fullReads);

        // Without the log, or past what it still holds, the copy reads the whole table, and stays right.
        FoundRows beforeRereads;
        listedBlocks(db.path(), QString(), &beforeRereads);
        QVERIFY(beforeRereads.isReadable());
        QCOMPARE(db.exec(QStringLiteral("DROP TRIGGER tblTel_log_update; UPDATE tblTel SET Lname = 'zzq' WHERE ID IN "
                                        "(SELECT ID FROM tblTel LIMIT 3)")),
                 SQLITE_OK);
        compareAll(100);
        QCOMPARE(index->rebuilds(), fullReads + 1);
        QCOMPARE(db.exec(QStringLiteral("UPDATE tblTel SET Fname = 'qqz' WHERE ID IN (SELECT ID FROM tblTel LIMIT 3); "
                                        "DELETE FROM tovrin_changes")),
                 SQLITE_OK);
        compareAll(101);
        QCOMPARE(index->rebuilds(), fullReads + 2);
        QCOMPARE(
            db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
                                   "INSERT INTO tblTel (Fname) SELECT 'bulk' || i FROM n")),
            SQLITE_OK);
        compareAll(102);
        QCOMPARE(index->rebuilds(), fullReads + 3);
        QCOMPARE(blocksOf(beforeRereads), blocksNow(db, beforeRereads));
        // INSERT OR REPLACE over a unique index deletes a row without running its trigger; the row is not listed.
        QCOMPARE(db.exec(QStringLiteral(
                     "ALTER TABLE tblTel ADD COLUMN Code TEXT; CREATE UNIQUE INDEX oneCode ON tblTel (Code); "
                     "INSERT INTO tblTel (Fname, Code) VALUES ('Uniquely', 'k')")),
                 SQLITE_OK);
        compareAll(103);
        QCOMPARE(viaDataControl(db.path(), QStringLiteral("uniquely")).size(), 1);
        QCOMPARE(db.exec(QStringLiteral("INSERT OR REPLACE INTO tblTel (Code, Fname) VALUES ('k', 'replacement')")),
                 SQLITE_OK);
        QCOMPARE(viaDataControl(db.path(), QStringLiteral("uniquely")).size(), 0);
        compareAll(104);
    }
};

QTEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
