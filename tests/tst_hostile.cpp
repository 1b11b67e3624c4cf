// Hostile text typed into every window: nothing crashes, no text changes a statement, and the file keeps both
// tables and every row, with each value stored as the field took it.
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/ErrorPath.h"
#include "app/MDIForm1.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/WindowSwitch.h"
#include "directory/frmMain.h"
#include "entry/frmAdd.h"
#include "messages/frmMes.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QStringList hostileTexts()
{
    return {QStringLiteral("O'Brien"),
            QStringLiteral("\"quoted\" 'both'"),
            QStringLiteral("'; DROP TABLE tblTel; --"),
            QStringLiteral("') OR 1=1 OR ('"),
            QStringLiteral("["),
            QStringLiteral("[z-a]"),
            QString(10000, QLatin1Char('x')),
            QStringLiteral("tab\there\x01\x1f") + QChar(0x7f),
            QStringLiteral("before") + QChar(0) + QStringLiteral("after"),
            QString::fromUtf8("emoji \xF0\x9F\x98\x80 \xF0\x9F\x93\x9E"),
            QString::fromUtf8("\xD7\x93\xD7\x95\xD7\x93 054-1234567 \xD7\x9B\xD7\x94\xD7\x9F")};
}

// Both tables are there and hold the rows counted before.
void checkFileIntact(TempDatabase& db, int tel, int mes)
{
    QCOMPARE(db.rows(QStringLiteral(
                 "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('tblTel', 'tblMes')")),
             QStringList{QStringLiteral("2")});
    QCOMPARE(db.count(QStringLiteral("tblTel")), tel);
    QCOMPARE(db.count(QStringLiteral("tblMes")), mes);
    QCOMPARE(db.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }},
                                  {"frmAdd", [] { return new frmAdd; }},
                                  {"frmMes", [] { return new frmMes; }}});
    }
    void init() { WindowTest::startTest(); }

    void searchBoxTakesAnyText()
    {
        TempDatabase db;
        db.addTel(QStringLiteral("Personal"), QStringLiteral("Dana"), QStringLiteral("O'Brien"));
        db.addTel(QStringLiteral("Business"), QStringLiteral("Avi"), QStringLiteral("Cohen"),
                  QStringLiteral("[z-a] Ltd"));
        Module1::setProgramDirForTesting(db.dir());
        MDIForm1 frame;
        WindowSwitch::setFrame(&frame);
        auto* window = qobject_cast<frmMain*>(WindowSwitch::show(QStringLiteral("frmMain")));
        QVERIFY(window);
        for (const QString& text : hostileTexts()) {
            window->txtMila->setText(text);
            window->txtMila->setFocus();
            QTest::keyClick(window->txtMila, Qt::Key_Return);
            QVERIFY2(MessageBox::takeMessages().isEmpty(), qPrintable(text.left(40)));
            QVERIFY(!ErrorPath::hasEnded());
            checkFileIntact(db, 2, 0);
        }
        // A text that is itself in the file finds its row, quotes and brackets as written.
        window->txtMila->setText(QStringLiteral("O'Brien"));
        QTest::keyClick(window->txtMila, Qt::Key_Return);
        QCOMPARE(window->lstResult->model()->rowCount(), 10);
        WindowSwitch::setFrame(nullptr);
    }

    // Every text saved through the entry window and through the message window.
    void savedFieldsStoreAnyText_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("entry fields") << QStringLiteral("frmAdd");
        QTest::newRow("message fields") << QStringLiteral("frmMes");
    }
    void savedFieldsStoreAnyText()
    {
        QFETCH(QString, window);
        const bool entry = window == QLatin1String("frmAdd");
        TempDatabase db;
        Module1::setProgramDirForTesting(db.dir());
        MDIForm1 frame;
        WindowSwitch::setFrame(&frame);
        int rows = 0;
        for (const QString& text : hostileTexts()) {
            QWidget* shown = WindowSwitch::show(window);
            auto* add = qobject_cast<frmAdd*>(shown);
            auto* mes = qobject_cast<frmMes*>(shown);
            QVERIFY(entry ? add != nullptr : mes != nullptr);
            if (entry) {
                const QList<QLineEdit*> fields{add->txtFname, add->txtLname, add->txtAddress, add->txtCity,
                                               add->txtState};
                for (QLineEdit* field : fields)
                    field->setText(text);
                QTest::mouseClick(add->cmdSave, Qt::LeftButton);
            } else {
                QTest::mouseClick(mes->cmdAdd, Qt::LeftButton);
                mes->txtMeet->setText(text);
                mes->txtAvur->setText(text);
                mes->txtHodaa->setPlainText(text + QStringLiteral("\nsecond line"));
                QTest::mouseClick(mes->cmdSave, Qt::LeftButton);
            }
            QVERIFY2(MessageBox::takeMessages().isEmpty(), qPrintable(text.left(40)));
            ++rows;
            checkFileIntact(db, entry ? rows : 0, entry ? 0 : rows);
            // Each value is the text as its box took it (cut at the box's length), in its own column.
            const QString table = entry ? QStringLiteral("tblTel") : QStringLiteral("tblMes");
            Recordset stored(Database::open(db.path()), QStringLiteral("SELECT * FROM %1 ORDER BY ID DESC").arg(table));
            const auto value = [&stored](const char* column) {
                return stored.Fields(QLatin1String(column)).Value().toString();
            };
            if (entry) {
                QCOMPARE(value("Fname"), text.left(15));
                QCOMPARE(value("Address"), text.left(50));
                QCOMPARE(value("State"), text.left(2));
                QCOMPARE(value("BusName"), QStringLiteral(" "));
            } else {
                QCOMPARE(value("Meet"), text);
                QCOMPARE(value("Hodaa"), text + QStringLiteral("\nsecond line"));
            }
            if (auto* back = WindowSwitch::current())
                back->unload();
        }
        WindowSwitch::setFrame(nullptr);
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
