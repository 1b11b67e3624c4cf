// Undo and redo of the user's steps from the directory window's context menu: each kind of step taken back and
// done again, a step refused when its row was changed elsewhere, and one whose row another tool renumbered.
#include "DirectoryFixture.h"
#include "data/Columns.h"
#include "data/DataControl.h"
#include "data/Database.h"
#include "data/UndoLog.h"

#include <QAction>

namespace {

// What the user sees of both tables, the sort keys aside.
QStringList contents(TempDatabase& db)
{
    return db.rows(QStringLiteral("SELECT Category, Lname, Fname, Tel1 FROM tblTel ORDER BY 1, 2, 3")) +
           db.rows(QStringLiteral("SELECT Meet, Avur, Hodaa FROM tblMes ORDER BY 1, 2, 3"));
}

QAction* menuEntry(DirectoryFixture& f, const QString& start)
{
    for (QAction* action : f.visibleGrid()->view()->actions()) {
        if (action->text().startsWith(start))
            return action;
    }
    return nullptr;
}

void save(const QString& path, const QString& table, const QString& field, const QString& value)
{
    DataControl control;
    control.setDatabaseName(path);
    control.setRecordSource(QStringLiteral("SELECT * FROM %1").arg(table));
    control.Refresh();
    control.Recordset()->AddNew();
    control.Recordset()->setCollect(field, value);
    control.Recordset()->Update();
}

} // namespace

class tst_Undo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DirectoryFixture::setUpProgram(); }
    void init() { UndoLog::instance().clearForTesting(); }

    void undoAndRedo_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("named");
        // The column written out, not the grid's short heading "Last".
        QTest::newRow("grid edit") << "edit"
                                   << "Undo Edit of Last Name";
        QTest::newRow("grid deletion of two") << "delete"
                                              << "Undo Deletion of 2 Entries";
        QTest::newRow("saved entry") << "entry"
                                     << "Undo Saved Entry";
        QTest::newRow("saved message") << "message"
                                       << "Undo Saved Message";
        QTest::newRow("import") << "import"
                                << "Undo Import of 2 Entries and 0 Messages";
    }
    void undoAndRedo()
    {
        QFETCH(QString, kind);
        QFETCH(QString, named);
        DirectoryFixture f;
        f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
        f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Bo"), QStringLiteral("Brown"));
        f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Cy"), QStringLiteral("Cole"));
        QVERIFY(f.open());
        const QStringList before = contents(f.db);
        GridModel* model = f.visibleGrid()->model();
        model->fetchAll();
        if (kind == QLatin1String("edit")) {
            QVERIFY(model->setData(model->index(1, 0), QStringLiteral("Browne"), Qt::EditRole));
        } else if (kind == QLatin1String("delete")) {
            QVERIFY(model->removeRows(0, 2));
        } else if (kind == QLatin1String("entry")) {
            save(f.db.path(), QStringLiteral("tblTel"), QStringLiteral("Lname"), QStringLiteral("Dane"));
        } else if (kind == QLatin1String("message")) {
            save(f.db.path(), QStringLiteral("tblMes"), QStringLiteral("Meet"), QStringLiteral("Call back"));
        } else {
            const QString cards = f.db.dir() + QStringLiteral("/cards.vcf");
            QFile file(cards);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Eyre;Ed\r\nEND:VCARD\r\n"
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ford;Flo\r\nEND:VCARD\r\n");
            file.close();
            FileDialogs::setNextFiles({cards});
            MessageBox::setNextAnswer(true);
            menuEntry(f, QStringLiteral("Import Contacts..."))->trigger();
            MessageBox::takeMessages();
        }
        const QStringList after = contents(f.db);
        QVERIFY(after != before);
        for (int round = 0; round < 2; ++round) {
            QAction* undo = menuEntry(f, QStringLiteral("Undo"));
            QVERIFY2(undo && undo->isEnabled() && undo->text().startsWith(named), qPrintable(undo->text()));
            undo->trigger();
            QCOMPARE(contents(f.db), before);
            QCOMPARE(f.visibleGrid()->model()->rowCount(), 3);
            menuEntry(f, QStringLiteral("Redo"))->trigger();
            QCOMPARE(contents(f.db), after);
        }
        // Taken back, then a new step: nothing is left to do again.
        menuEntry(f, QStringLiteral("Undo"))->trigger();
        model = f.visibleGrid()->model();
        model->fetchAll();
        QVERIFY(model->setData(model->index(0, 0), QStringLiteral("Aames"), Qt::EditRole));
        QVERIFY(!menuEntry(f, QStringLiteral("Redo"))->isEnabled());
        QCOMPARE(MessageBox::takeMessages(), QStringList());
    }

    // Another tool's change to the row refuses the undo, even one of letter case alone; a VACUUM does not.
    void changedElsewhere_data()
    {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<bool>("undone");
        QTest::newRow("the row changed") << "UPDATE tblTel SET Fname = 'Zoe' WHERE Lname = 'Browne'" << false;
        QTest::newRow("the row deleted") << "DELETE FROM tblTel WHERE Lname = 'Browne'" << false;
        QTest::newRow("only the letter case changed")
            << "UPDATE tblTel SET Lname = 'BROWNE' WHERE Lname = 'Browne'" << false;
        QTest::newRow("VACUUM after a deletion") << "DELETE FROM tblTel WHERE Lname = 'Adams'; VACUUM" << true;
    }
    void changedElsewhere()
    {
        QFETCH(QString, elsewhere);
        QFETCH(bool, undone);
        DirectoryFixture f;
        f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
        f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Bo"), QStringLiteral("Brown"));
        QVERIFY(f.open());
        GridModel* model = f.visibleGrid()->model();
        model->fetchAll();
        QVERIFY(model->setData(model->index(1, 0), QStringLiteral("Browne"), Qt::EditRole));
        QCOMPARE(f.db.exec(elsewhere), SQLITE_OK);
        f.db.close();
        const QStringList stored = contents(f.db);
        menuEntry(f, QStringLiteral("Undo"))->trigger();
        const QStringList said = MessageBox::takeMessages();
        QCOMPARE(said.isEmpty(), undone);
        QCOMPARE(contents(f.db).contains(QStringLiteral("Personal|Brown|Bo|___ - _______")), undone);
        if (!undone)
            QCOMPARE(contents(f.db), stored);
    }

    // A table without an INTEGER PRIMARY KEY, rewritten by another tool after a deletion, numbers its rows afresh:
    // the step finds its row by its contents where it now is.
    void renumberedRowIsFound()
    {
        TempDatabase db;
        QCOMPARE(db.exec(QStringLiteral("DROP TABLE tblMes; CREATE TABLE tblMes (Cdate, Ctime, Meet, Avur, Hodaa); "
                                        "INSERT INTO tblMes (Meet) VALUES ('Ann'), ('Bo')")),
                 SQLITE_OK);
        db.close();
        {
            const auto file = Database::open(db.path());
            UndoLog::Recording step(QStringLiteral("Edit of Message"));
            file->exec(QStringLiteral("UPDATE tblMes SET Meet = 'Bob' WHERE Meet = 'Bo'"));
            step.keep();
        }
        QCOMPARE(db.exec(QStringLiteral("DELETE FROM tblMes WHERE Meet = 'Ann'; CREATE TEMP TABLE kept AS SELECT * "
                                        "FROM tblMes; DELETE FROM tblMes; INSERT INTO tblMes SELECT * FROM kept")),
                 SQLITE_OK);
        QCOMPARE(db.rows(QStringLiteral("SELECT rowid, Meet FROM tblMes")), QStringList{QStringLiteral("1|Bob")});
        db.close();
        UndoLog::instance().undo(db.path());
        QCOMPARE(db.rows(QStringLiteral("SELECT rowid, Meet FROM tblMes")), QStringList{QStringLiteral("1|Bo")});
    }

    // A step of many rows of both tables, added, changed and deleted, some rows more than once: taken back, the
    // file holds exactly what it held before (every column, rowids of the rows kept); done again, what it held after.
    // With a row changed elsewhere meanwhile, nothing at all changes.
    void manyRowsOfBothTables_data()
    {
        QTest::addColumn<QString>("elsewhere");
        QTest::newRow("nothing changed elsewhere") << QString();
        QTest::newRow("one of the rows changed elsewhere") << "UPDATE tblTel SET Tel1 = '1' WHERE Lname = 'New 77'";
    }
    void manyRowsOfBothTables()
    {
        QFETCH(QString, elsewhere);
        TempDatabase db;
        for (int i = 0; i < 40; ++i)
            db.addTel(i % 2 ? QStringLiteral("Business") : QStringLiteral("Personal"), QStringLiteral("First"),
                      QStringLiteral("Old %1").arg(i));
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblMes (Meet, Avur) VALUES ('Ann', 'x'), ('Bo', 'y')")),
                 SQLITE_OK);
        // Every column, each value's type too, but the sort key, which the program makes again.
        const auto everything = [&db] {
            QStringList columns;
            for (const Columns::Column& column : Columns::kAll)
                columns << QStringLiteral("quote(%1)").arg(column.columnName());
            return db.rows(QStringLiteral("SELECT rowid, %1 FROM tblTel ORDER BY rowid")
                               .arg(columns.join(QLatin1Char(',')))) +
                   db.rows(QStringLiteral("SELECT quote(Cdate), quote(Ctime), quote(Meet), quote(Avur), quote(Hodaa) "
                                          "FROM tblMes ORDER BY Meet"));
        };
        const QStringList before = everything();
        db.close();
        {
            const auto file = Database::open(db.path());
            UndoLog::Recording step(QStringLiteral("Import of Entries"));
            file->transaction([&] {
                for (int i = 0; i < 100; ++i)
                    file->exec(
                        QStringLiteral("INSERT INTO tblTel (Category, Lname) VALUES ('Personal', 'New %1')").arg(i));
                file->exec(QStringLiteral("UPDATE tblTel SET Fname = 'Changed' WHERE Lname LIKE 'Old 1*'; "
                                          "UPDATE tblTel SET Fname = 'Twice' WHERE Lname = 'Old 1'; "
                                          "DELETE FROM tblTel WHERE Lname IN ('Old 3', 'Old 5', 'New 7'); "
                                          "UPDATE tblMes SET Hodaa = 'z'; DELETE FROM tblMes WHERE Meet = 'Ann'; "
                                          "INSERT INTO tblMes (Meet) VALUES ('Cy')"));
            });
            step.keep();
        }
        const QStringList after = everything();
        QCOMPARE(db.exec(elsewhere), SQLITE_OK);
        const QStringList stored = everything();
        db.close();
        if (!elsewhere.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(DbError, UndoLog::instance().undo(db.path()));
            QCOMPARE(everything(), stored);
            return;
        }
        UndoLog::instance().undo(db.path());
        QCOMPARE(everything(), before);
        db.close();
        UndoLog::instance().redo(db.path());
        QCOMPARE(everything(), after);
    }
};

QTEST_MAIN(tst_Undo)
#include "tst_undo.moc"
