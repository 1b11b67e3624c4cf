// The fast path of the free-text search must find exactly the rows the statement finds when SQLite runs it.
#include "DataControl.h"
#include "SearchIndex.h"
#include "TempDatabase.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QString searchStatement(const QString& t)
{
    QStringList parts;
    for (const char* column : SearchIndex::kColumns)
        parts << QStringLiteral("(%1 LIKE '*").arg(QLatin1String(column)) + t + QStringLiteral("*')");
    return QStringLiteral("SELECT * FROM tblTel WHERE ") + parts.join(QStringLiteral(" OR "));
}

// Keys of the rows the data control lists (the fast path).
QVector<qint64> viaDataControl(const QString& path, const QString& sql)
{
    DataControl control;
    control.setDatabaseName(path);
    control.setRecordSource(sql);
    control.Refresh();
    QVector<qint64> keys;
    for (Recordset* rs = control.Recordset(); !rs->Eof(); rs->MoveNext())
        keys << rs->Fields(QStringLiteral("ID")).Value().toLongLong();
    return keys;
}

// Keys of the rows SQLite itself finds with the same statement and the same dialect.
QVector<qint64> viaStatement(const QString& path, const QString& sql)
{
    Recordset rs(Database::open(path), sql);
    QVector<qint64> keys;
    for (; !rs.Eof(); rs.MoveNext())
        keys << rs.Fields(QStringLiteral("ID")).Value().toLongLong();
    return keys;
}

const char* const kPieces[] = {"a", "A", "b", "é", "É", "ß", "כהן", "1", "2", "7", " ", " - ", "_", "x",
                               "*", "?", "#", "[", "]", "!", "[a-c]", "[!b]", "'", "\"", ";", "\t", "ab", "Ab1"};

QString randomText(QRandomGenerator& random, int maxPieces)
{
    QString text;
    const int n = int(random.bounded(maxPieces + 1));
    for (int i = 0; i < n; ++i)
        text += QString::fromUtf8(kPieces[random.bounded(int(std::size(kPieces)))]);
    return text;
}

} // namespace

class TestSearchIndex : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recognisesOnlyTheSearchStatement()
    {
        QCOMPARE(SearchIndex::patternOf(searchStatement(QStringLiteral("smith"))).value_or("-"), std::string("*smith*"));
        QCOMPARE(SearchIndex::patternOf(searchStatement(QStringLiteral("O''Brien"))).value_or("-"),
                 std::string("*O'Brien*"));
        QCOMPARE(SearchIndex::patternOf(searchStatement(QString())).value_or("-"), std::string("**"));
        QString mixed = searchStatement(QStringLiteral("a"));
        mixed.replace(mixed.lastIndexOf(QStringLiteral("*a*")), 3, QStringLiteral("*b*"));
        QVERIFY(!SearchIndex::patternOf(mixed));
        QVERIFY(!SearchIndex::patternOf(searchStatement(QStringLiteral("a")) + QStringLiteral(" ORDER BY Lname")));
        QVERIFY(!SearchIndex::patternOf(QStringLiteral("SELECT * FROM tblTel")));
    }

    void findsWhatTheStatementFinds()
    {
        TempDatabase db;
        QRandomGenerator random(20261207);
        const char* columns = "Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax";
        for (int row = 0; row < 400; ++row) {
            QStringList values{row % 2 ? QStringLiteral("'Personal'") : QStringLiteral("'Business'")};
            for (int c = 0; c < 11; ++c) {
                const int width = Schema::widthOf(QStringLiteral("tblTel"), QString::fromLatin1(SearchIndex::kColumns[c]));
                if (random.bounded(8) == 0) {
                    values << QStringLiteral("NULL");
                    continue;
                }
                QString text = randomText(random, 4).left(width);
                text.replace(QLatin1Char('\''), QStringLiteral("''"));
                values << QLatin1Char('\'') + text + QLatin1Char('\'');
            }
            QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2)").arg(QLatin1String(columns), values.join(QLatin1Char(',')))), SQLITE_OK);
        }
        // Rows the in-memory copy cannot hold as text: bytes that are no UTF-8, the copy's own separators.
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (Fname, City) VALUES (CAST(x'61ff62' AS TEXT), 'x' || char(31) || 'y')")), SQLITE_OK);
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (Lname) VALUES ('a' || char(30) || 'b')")), SQLITE_OK);
        db.close();

        int compared = 0;
        int nonEmpty = 0;
        for (int i = 0; i < 300; ++i) {
            QString t = randomText(random, 3);
            t.replace(QLatin1Char('\''), QStringLiteral("''"));
            const QString sql = searchStatement(t);
            const QVector<qint64> expected = viaStatement(db.path(), sql);
            const QVector<qint64> actual = viaDataControl(db.path(), sql);
            if (actual != expected)
                QFAIL(qPrintable(QStringLiteral("search text \"%1\": %2 rows, expected %3").arg(t).arg(actual.size()).arg(expected.size())));
            ++compared;
            nonEmpty += !expected.isEmpty();
        }
        QCOMPARE(compared, 300);
        QVERIFY(nonEmpty > 100); // the comparison is not between empty results
        // Each of the rows the copy cannot hold is found by a text of its own.
        for (const char* t : {"x\x1fy", "a\x1e" "b", "b"}) {
            const QString sql = searchStatement(QString::fromUtf8(t));
            const QVector<qint64> expected = viaStatement(db.path(), sql);
            QVERIFY(!expected.isEmpty());
            QCOMPARE(viaDataControl(db.path(), sql), expected);
        }
        for (const char* t : {"", "#", "*#*", "#*", "##", "*", "?", "[", "[z-a]"}) {
            const QString sql = searchStatement(QString::fromUtf8(t));
            QCOMPARE(viaDataControl(db.path(), sql), viaStatement(db.path(), sql));
        }
        // Some rows hold a digit and some do not, so the comparison for "#" tells them apart.
        const qsizetype withDigit = viaStatement(db.path(), searchStatement(QStringLiteral("#"))).size();
        QVERIFY(withDigit > 20 && withDigit < 380);
    }

    void followsChangesMadeByAnyone()
    {
        TempDatabase db;
        db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Quimby"));
        const QString sql = searchStatement(QStringLiteral("quim"));
        QCOMPARE(viaDataControl(db.path(), sql).size(), 1);
        // Another tool adds, changes and deletes rows between two searches.
        db.addTel(QStringLiteral("Business"), QStringLiteral("Bob"), QStringLiteral("Quimbey"));
        QCOMPARE(viaDataControl(db.path(), sql).size(), 2);
        QCOMPARE(db.exec(QStringLiteral("UPDATE tblTel SET Lname = 'Smith' WHERE Fname = 'Ann'")), SQLITE_OK);
        QCOMPARE(viaDataControl(db.path(), sql).size(), 1);
        QCOMPARE(db.exec(QStringLiteral("DELETE FROM tblTel")), SQLITE_OK);
        QCOMPARE(viaDataControl(db.path(), sql).size(), 0);
    }

    void namesWrittenByOtherToolsAreReindexed()
    {
        TempDatabase db;
        {
            // The program's own writes keep the name indexes in its order and leave no mark.
            DataControl control;
            control.setDatabaseName(db.path());
            control.setRecordSource(QStringLiteral("SELECT * FROM tblTel"));
            control.Refresh();
            control.Recordset()->AddNew();
            control.Recordset()->setCollect(QStringLiteral("Category"), QStringLiteral("Personal"));
            control.Recordset()->setCollect(QStringLiteral("Lname"), QStringLiteral("Éb"));
            control.Recordset()->Update();
        }
        QCOMPARE(db.rows(QStringLiteral("SELECT value FROM tovrin_state WHERE name = 'reindex'")), QStringList{QStringLiteral("0")});
        // The stock NOCASE files "éa" after "Éb" (by bytes); ours puts it first.
        db.addTel(QStringLiteral("Personal"), QString(), QStringLiteral("éa"));
        db.addTel(QStringLiteral("Personal"), QString(), QStringLiteral("Ec"));
        QCOMPARE(db.rows(QStringLiteral("SELECT value FROM tovrin_state WHERE name = 'reindex'")), QStringList{QStringLiteral("1")});
        db.close();

        DataControl control;
        control.setDatabaseName(db.path());
        control.setRecordSource(QStringLiteral("SELECT * FROM tblTel WHERE Category = 'Personal' ORDER BY Lname"));
        control.Refresh();
        QStringList names;
        for (Recordset* rs = control.Recordset(); !rs->Eof(); rs->MoveNext())
            names << rs->Fields(QStringLiteral("Lname")).Value().toString();
        QCOMPARE(names, (QStringList{QStringLiteral("Ec"), QStringLiteral("éa"), QStringLiteral("Éb")}));
        Recordset check(control.database(), QStringLiteral("PRAGMA integrity_check"));
        QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
    }
};

QTEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
