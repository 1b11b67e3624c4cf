// The new entry window driven as a user would: its layout, the masked fields, the Enter chain, Save and Cancel.
#include "EventCounter.h"
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/ErrorPath.h"
#include "app/MDIForm1.h"
#include "app/MaskEdBox.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "app/WorkingWindow.h"
#include "data/DataControl.h"
#include "data/UndoLog.h"
#include "entry/frmAdd.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

// Stands in for the directory window: notes how many rows the file held when it was loaded.
class DirectoryStandIn : public WorkingWindow
{
public:
    static inline int loads = 0;
    static inline int rowsAtLoad = -1;

    void Form_Load() override
    {
        ++loads;
        DataControl directory;
        directory.setDatabaseName(Module1::databasePath());
        directory.setRecordSource(Query::entries());
        directory.Refresh();
        rowsAtLoad = 0;
        for (Recordset* rs = directory.Recordset(); !rs->Eof(); rs->MoveNext())
            ++rowsAtLoad;
    }
    QString caption() const override { return QString(); }
    Border border() const override { return Border::None; }
    bool maximized() const override { return true; }
};

const QString kEmptyTel = QStringLiteral("___ - _______");
const QString kColumns =
    QStringLiteral("Fname, Lname, BusName, Category, Address, City, State, Zip, Tel1, Tel2, Pel, Fax");
// The fields a test types into, in the order of the chain.
const QStringList kFields = {QStringLiteral("txtFname"),   QStringLiteral("txtLname"), QStringLiteral("txtBusName"),
                             QStringLiteral("txtAddress"), QStringLiteral("txtCity"),  QStringLiteral("txtState"),
                             QStringLiteral("txtZip"),     QStringLiteral("txtTel1"),  QStringLiteral("txtTel2"),
                             QStringLiteral("txtFax"),     QStringLiteral("txtPel")};

// A frame with the entry window open on a database file of its own.
struct Session
{
    TempDatabase db;
    MDIForm1 frame;
    QPointer<WorkingWindow> window;

    Session() { Module1::setProgramDirForTesting(db.dir()); }
    ~Session() { WindowSwitch::setFrame(nullptr); }

    // The entry window for a new entry, or for the entry of `key` as the directory opens it.
    bool open(qint64 key = -1)
    {
        WindowSwitch::setFrame(&frame);
        frame.resize(1100, 800);
        frame.show();
        if (!QTest::qWaitForWindowActive(&frame))
            return false;
        window = key < 0 ? WindowSwitch::show(QStringLiteral("frmAdd"))
                         : WindowSwitch::switchTo(nullptr, QStringLiteral("frmAdd"), key);
        return window && QTest::qWaitForWindowExposed(window);
    }

    template <class W = QWidget> W* find(const QString& name) const
    {
        W* w = window ? window->findChild<W*>(name) : nullptr;
        if (!w)
            qWarning("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit* box(const QString& name) const { return find<QLineEdit>(name); }
    QString focusName() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }

    // Picks a book in the selector with the keyboard, as a user would.
    void chooseBook(const QString& book)
    {
        auto* cmbType = find<QComboBox>(QStringLiteral("cmbType"));
        cmbType->setFocus();
        QTest::keyClick(cmbType, book == QLatin1String("Business") ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(cmbType->currentText(), book);
    }

    void type(const QString& field, const QString& text)
    {
        QLineEdit* b = box(field);
        b->setFocus();
        QTest::keyClicks(b, text);
    }

    QStringList savedRows() { return db.rows(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM tblTel")); }
};

// The x coordinate in a box where a click puts the caret at `position`.
int xForPosition(QLineEdit* box, int position)
{
    for (int x = 0; x < box->width(); ++x) {
        if (box->cursorPositionAt(QPoint(x, box->height() / 2)) == position)
            return x;
    }
    return -1;
}

} // namespace

class TestFrmAdd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram(
            {{"frmAdd", [] { return new frmAdd; }}, {"frmMain", [] { return new DirectoryStandIn; }}});
    }
    void init()
    {
        DirectoryStandIn::loads = 0;
        DirectoryStandIn::rowsAtLoad = -1;
        WindowTest::startTest();
    }

    void opensEmptyOnPersonal()
    {
        Session s;
        QVERIFY(s.open());
        QCOMPARE(gDbPath, Module1::databasePath());
        QCOMPARE(gRecordSource, Query::entries().statement());

        QMdiSubWindow* sub = s.window->subWindow();
        QCOMPARE(sub->windowTitle(), QStringLiteral("Add New Name / Business"));
        QVERIFY(!(sub->windowFlags() &
                  (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(sub->geometry(), twRect(6600, 200, 5000, 7600));
        QCOMPARE(sub->minimumSize(), sub->maximumSize());
        // Light grey where no control lies (between "Telephone 1" and "Telephone 2").
        QCOMPARE(s.window->grab().toImage().pixelColor(tw(2400), tw(4700)), QColor(0xC0, 0xC0, 0xC0));

        auto* cmbType = s.find<QComboBox>(QStringLiteral("cmbType"));
        QCOMPARE(cmbType->count(), 2);
        QCOMPARE(cmbType->itemText(0), QStringLiteral("Business"));
        QCOMPARE(cmbType->itemText(1), QStringLiteral("Personal"));
        QCOMPARE(cmbType->currentText(), QStringLiteral("Personal"));
        QVERIFY(!cmbType->isEditable());
        QTRY_COMPARE(s.focusName(), QStringLiteral("cmbType"));

        QVERIFY(!s.find(QStringLiteral("txtBusName"))->isVisible());
        QVERIFY(!s.find(QStringLiteral("Label1"))->isVisible());
        for (const QString& name : kFields) {
            const bool masked = name == QLatin1String("txtZip") || name.startsWith(QLatin1String("txtTel")) ||
                                name == QLatin1String("txtFax") || name == QLatin1String("txtPel");
            const QString shown = name == QLatin1String("txtZip") ? QStringLiteral("_____")
                                  : masked                        ? kEmptyTel
                                                                  : QString();
            QCOMPARE(s.box(name)->displayText(), shown);
        }
    }

    void businessRowFollowsTheBook()
    {
        Session s;
        QVERIFY(s.open());
        QWidget* txtBusName = s.find(QStringLiteral("txtBusName"));
        QWidget* label1 = s.find(QStringLiteral("Label1"));
        s.chooseBook(QStringLiteral("Business"));
        QVERIFY(txtBusName->isVisible());
        QVERIFY(label1->isVisible());
        s.type(QStringLiteral("txtBusName"), QStringLiteral("Acme"));
        s.chooseBook(QStringLiteral("Personal"));
        QVERIFY(!txtBusName->isVisible());
        QVERIFY(!label1->isVisible());
        s.chooseBook(QStringLiteral("Business"));
        QVERIFY(txtBusName->isVisible());
        QCOMPARE(s.box(QStringLiteral("txtBusName"))->text(), QStringLiteral("Acme"));
        // Nothing moves between the books.
        QCOMPARE(txtBusName->geometry(), twRect(240, 2040, 4335, 375));
        QCOMPARE(s.find(QStringLiteral("txtAddress"))->geometry(), twRect(240, 2880, 4335, 375));
    }

    void keyboardChain_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("visited");

        const QStringList business = {
            QStringLiteral("txtFname"),   QStringLiteral("txtLname"), QStringLiteral("txtBusName"),
            QStringLiteral("txtAddress"), QStringLiteral("txtCity"),  QStringLiteral("txtState"),
            QStringLiteral("txtZip"),     QStringLiteral("txtTel1"),  QStringLiteral("txtTel2"),
            QStringLiteral("txtFax"),     QStringLiteral("txtPel"),   QStringLiteral("cmdSave")};
        QStringList personal = business;
        personal.removeOne(QStringLiteral("txtBusName"));
        QTest::newRow("Enter, Business: twelve presses")
            << QStringLiteral("Business") << int(Qt::Key_Return) << business;
        QTest::newRow("Enter, Personal: eleven presses")
            << QStringLiteral("Personal") << int(Qt::Key_Return) << personal;
        QTest::newRow("keypad Enter, Personal") << QStringLiteral("Personal") << int(Qt::Key_Enter) << personal;
        // The Tab key follows the same order and goes on to "Cancel", which the Enter chain never reaches.
        QTest::newRow("Tab, Business") << QStringLiteral("Business") << int(Qt::Key_Tab)
                                       << business + QStringList{QStringLiteral("cmdBitul")};
        QTest::newRow("Tab, Personal") << QStringLiteral("Personal") << int(Qt::Key_Tab)
                                       << personal + QStringList{QStringLiteral("cmdBitul")};
    }
    void keyboardChain()
    {
        QFETCH(QString, book);
        QFETCH(int, key);
        QFETCH(QStringList, visited);

        Session s;
        QVERIFY(s.open());
        if (book == QLatin1String("Business"))
            s.chooseBook(book);
        s.find(QStringLiteral("cmbType"))->setFocus();
        // Counts the key presses that reach the window behind its controls: a control that got the key and did
        // not use it passes it on to its parent.
        EventCounter passedOn(QEvent::KeyPress);
        s.window->installEventFilter(&passedOn);
        QStringList path;
        for (int i = 0; i < visited.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            path << s.focusName();
        }
        QCOMPARE(path, visited);
        if (key != Qt::Key_Tab) {
            // Every Enter went on to its control, which left it unused; none was swallowed on the way.
            QCOMPARE(passedOn.count, visited.size());
        }
        QCOMPARE(s.db.count(QStringLiteral("tblTel")), 0);
    }

    void typing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");

        const auto row = [](const char* name, const char* field, const QString& keys, const QString& text,
                            const QString& shown) {
            QTest::newRow(name) << QString::fromLatin1(field) << keys << text << shown;
        };
        row("telephone: four digits", "txtTel1", "1234", "123 - 4", "123 - 4______");
        row("telephone: in full", "txtTel1", "0501234567", "050 - 1234567", "050 - 1234567");
        row("telephone: an eleventh digit refused", "txtTel1", "05012345678", "050 - 1234567", "050 - 1234567");
        row("telephone: letters refused", "txtTel1", "ab1c2Z", "12 - ", "12_ - _______");
        row("telephone: plus refused", "txtTel1", "+1+", "1 - ", "1__ - _______");
        // A typed hyphen is the literal's own: the caret goes past it, and the digits stay where they were typed.
        row("telephone: a hyphen goes past the literal", "txtTel1", "05-12", "05 - 12", "05_ - 12_____");
        row("telephone: the literal is skipped", "txtTel1", "123 - 45", "123 - 45", "123 - 45_____");
        row("fax", "txtFax", "x9", "9 - ", "9__ - _______");
        row("cellular", "txtPel", "q", " - ", kEmptyTel);
        row("zip: five digits", "txtZip", "31999", "31999", "31999");
        row("zip: a sixth refused", "txtZip", "319990", "31999", "31999");
        row("zip: letters refused", "txtZip", "1a2B", "12", "12___");
        row("first name: letters, blanks, marks", "txtFname", " Ab c'", " Ab c'", " Ab c'");
        row("first name: a 16th refused", "txtFname", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO");
        row("last name: digits accepted", "txtLname", "Cohen 2", "Cohen 2", "Cohen 2");
        row("state: a third refused", "txtState", "NYC", "NY", "NY");
        const QString city(30, QLatin1Char('c'));
        row("city: a 31st refused", "txtCity", city + QLatin1Char('c'), city, city);
    }
    void typing()
    {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QString, shown);

        Session s;
        QVERIFY(s.open());
        s.type(field, keys);
        QCOMPARE(s.box(field)->text(), text);
        QCOMPARE(s.box(field)->displayText(), shown);
    }

    void clickInMaskedField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("clickAt"); // caret position the click lands on; -1: the right edge of the box
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("shown");

        const auto row = [](const char* name, const char* field, const char* before, int clickAt, const char* after,
                            const char* shown) {
            QTest::newRow(name) << QString::fromLatin1(field) << QString::fromLatin1(before) << clickAt
                                << QString::fromLatin1(after) << QString::fromLatin1(shown);
        };
        row("behind four digits, at the end", "txtTel1", "1234", -1, "56", "123 - 456____");
        row("behind four digits, in the tail", "txtTel1", "1234", 10, "56", "123 - 456____");
        row("on the literal behind three digits", "txtTel1", "123", 4, "45", "123 - 45_____");
        row("into an empty box", "txtTel1", "", 8, "12", "12_ - _______");
        row("among the typed digits: overtyped there", "txtTel1", "1234", 1, "9", "193 - 4______");
        row("zip, behind two digits", "txtZip", "12", -1, "3", "123__");
    }
    void clickInMaskedField()
    {
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(int, clickAt);
        QFETCH(QString, after);
        QFETCH(QString, shown);

        Session s;
        QVERIFY(s.open());
        s.type(field, before);
        QLineEdit* box = s.box(field);
        const int x = clickAt < 0 ? box->width() - 3 : xForPosition(box, clickAt);
        QVERIFY(x >= 0);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(x, box->height() / 2));
        QTest::keyClicks(box, after);
        QCOMPARE(box->displayText(), shown);
    }

    void selectionOnEntering_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("selectsAll");

        const auto row = [](const char* name, const char* field, const char* from, const char* how, bool all) {
            QTest::newRow(name) << QString::fromLatin1(field) << QString::fromLatin1(from) << QString::fromLatin1(how)
                                << all;
        };
        row("zip by Enter", "txtZip", "txtState", "enter", true);
        row("zip by Tab", "txtZip", "txtState", "tab", true);
        row("zip by Shift+Tab", "txtZip", "txtTel1", "backtab", true);
        row("zip by a click", "txtZip", "txtState", "click", true);
        row("telephone by Enter", "txtTel1", "txtZip", "enter", false);
        row("telephone by Tab", "txtTel1", "txtZip", "tab", false);
        row("telephone by a click", "txtTel1", "txtZip", "click", false);
    }
    void selectionOnEntering()
    {
        QFETCH(QString, field);
        QFETCH(QString, from);
        QFETCH(QString, how);
        QFETCH(bool, selectsAll);

        Session s;
        QVERIFY(s.open());
        QLineEdit* box = s.box(field);
        s.type(field, QStringLiteral("12"));
        s.box(from)->setFocus();
        QCOMPARE(s.focusName(), from);
        if (how == QLatin1String("click"))
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(xForPosition(box, 1), box->height() / 2));
        else
            QTest::keyClick(QApplication::focusWidget(), how == QLatin1String("tab")       ? Qt::Key_Tab
                                                         : how == QLatin1String("backtab") ? Qt::Key_Backtab
                                                                                           : Qt::Key_Return);
        QCOMPARE(s.focusName(), field);
        QCOMPARE(box->hasSelectedText(), selectsAll);
        if (selectsAll) {
            QCOMPARE(box->selectionStart(), 0);
            QCOMPARE(box->selectionLength(), box->displayText().size());
            // What the user types now replaces the whole zip.
            QTest::keyClicks(box, QStringLiteral("9"));
            QCOMPARE(box->displayText(), QStringLiteral("9____"));
        }
    }

    void save_data()
    {
        QTest::addColumn<QString>("books");     // books chosen before typing, then after it (B, P)
        QTest::addColumn<QStringList>("typed"); // into the fields of kFields, in that order
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("row");

        // The stored row as its twelve columns, in the order of kColumns.
        const auto stored = [](const QStringList& columns) { return columns.join(QLatin1Char('|')); };
        const QString tel = kEmptyTel;
        const QStringList nothing(kFields.size());
        QTest::newRow("Personal, nothing typed")
            << "" << nothing << "click" << stored({"", "", " ", "Personal", "", "", "", "_____", tel, tel, tel, tel});
        QTest::newRow("Business, no business name")
            << "B" << nothing << "enter" << stored({"", "", "", "Business", "", "", "", "_____", tel, tel, tel, tel});
        QStringList named = nothing;
        named[2] = QStringLiteral("Acme");
        QTest::newRow("business name typed, then Personal")
            << "BP" << named << "space" << stored({"", "", " ", "Personal", "", "", "", "_____", tel, tel, tel, tel});
        QStringList partly = nothing;
        partly[7] = QStringLiteral("1234");
        QTest::newRow("a telephone typed in part")
            << "" << partly << "click"
            << stored({"", "", " ", "Personal", "", "", "", "_____", "123 - 4______", tel, tel, tel});
        // Every field apart, so a value landing in the wrong column shows; quotes and semicolons are plain text.
        const QStringList whole = {"Dana ",         "O'Hara",     "Sons'; DROP TABLE tblTel;--",
                                   " 12 Herzl St.", "Haifa",      "HF",
                                   "31999",         "0481234567", "0487654321",
                                   "0481112223",    "0521234567"};
        QTest::newRow("Business, every field")
            << "B" << whole << "enter"
            << stored({"Dana ", "O'Hara", "Sons'; DROP TABLE tblTel;--", "Business", " 12 Herzl St.", "Haifa", "HF",
                       "31999", "048 - 1234567", "048 - 7654321", "052 - 1234567", "048 - 1112223"});
    }
    void save()
    {
        QFETCH(QString, books);
        QFETCH(QStringList, typed);
        QFETCH(QString, how);
        QFETCH(QString, row);

        Session s;
        QVERIFY(s.open());
        const auto choose = [&s](QChar book) {
            s.chooseBook(book == QLatin1Char('B') ? QStringLiteral("Business") : QStringLiteral("Personal"));
        };
        if (!books.isEmpty())
            choose(books.front());
        for (int i = 0; i < kFields.size(); ++i) {
            if (!typed.at(i).isEmpty())
                s.type(kFields.at(i), typed.at(i));
        }
        for (qsizetype i = 1; i < books.size(); ++i)
            choose(books.at(i));

        auto* cmdSave = s.find<QPushButton>(QStringLiteral("cmdSave"));
        if (how == QLatin1String("click")) {
            QTest::mouseClick(cmdSave, Qt::LeftButton);
        } else {
            cmdSave->setFocus();
            QTest::keyClick(cmdSave, how == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Space);
        }

        QCOMPARE(s.savedRows(), QStringList{row});
        QVERIFY(MessageBox::takeMessages().isEmpty());
        // Back in a directory loaded afresh after the row was written; the entry window is gone.
        QCOMPARE(DirectoryStandIn::loads, 1);
        QCOMPARE(DirectoryStandIn::rowsAtLoad, 1);
        QVERIFY(WindowSwitch::current());
        QCOMPARE(WindowSwitch::current()->objectName(), QStringLiteral("frmMain"));
        QTRY_VERIFY(!s.window);
        QCOMPARE(s.db.count(QStringLiteral("tblMes")), 0);
    }

    void cancelWritesNothing()
    {
        Session s;
        s.db.addTel(QStringLiteral("Personal"), QStringLiteral("Avi"), QStringLiteral("Levi"));
        const QStringList before = s.savedRows();
        QVERIFY(s.open());
        s.chooseBook(QStringLiteral("Business"));
        for (const QString& name : kFields)
            s.type(name, QStringLiteral("1"));
        auto* cmdBitul = s.find<QPushButton>(QStringLiteral("cmdBitul"));
        cmdBitul->setFocus();
        QTest::keyClick(cmdBitul, Qt::Key_Return);

        QCOMPARE(s.savedRows(), before);
        QCOMPARE(WindowSwitch::current()->objectName(), QStringLiteral("frmMain"));
        QTRY_VERIFY(!s.window);

        // The next opening starts empty on "Personal" again.
        s.window = WindowSwitch::switchTo(WindowSwitch::current(), QStringLiteral("frmAdd"));
        QVERIFY(s.window);
        QCOMPARE(s.find<QComboBox>(QStringLiteral("cmbType"))->currentText(), QStringLiteral("Personal"));
        QCOMPARE(s.box(QStringLiteral("txtFname"))->text(), QString());
        QCOMPARE(s.box(QStringLiteral("txtBusName"))->text(), QString());
        QCOMPARE(s.box(QStringLiteral("txtTel1"))->displayText(), kEmptyTel);
    }

    void openedEntry_data()
    {
        QTest::addColumn<QString>("stored");    // the entry, in the order of kColumns
        QTest::addColumn<QString>("book");      // chosen in the window, or empty
        QTest::addColumn<QStringList>("typed"); // field=text, typed over what the box shows
        QTest::addColumn<QString>("elsewhere"); // a statement another program runs meanwhile, or empty
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("after"); // the entry as stored afterwards; empty: as `stored` (or as elsewhere)
        QTest::addColumn<QString>("said");  // a part of the one message shown, or empty for none

        const QString business = QStringLiteral("Dana|Levi|Acme Ltd|Business|1 Main St|Haifa|HF|31999|048 - 1234567|"
                                                "___ - _______|052 - 12_____|___ - _______");
        const QString personal = QStringLiteral("Avi|Cohen| |Personal|||||035 - 551234_|||");
        QTest::newRow("Cancel after typing writes nothing")
            << business << "Personal" << QStringList{"txtLname=Stern"} << ""
            << "cmdBitul"
            << ""
            << "";
        QTest::newRow("a name: that row, no new one")
            << business << "" << QStringList{"txtLname=Stern", "txtAddress=2 Side St"} << ""
            << "cmdSave"
            << "Dana|Stern|Acme Ltd|Business|2 Side St|Haifa|HF|31999|048 - 1234567|___ - _______|052 - 12_____|"
               "___ - _______"
            << "";
        QTest::newRow("a number and the zip in their masks")
            << business << "" << QStringList{"txtTel2=0521112223", "txtZip=53202"} << ""
            << "cmdSave"
            << "Dana|Levi|Acme Ltd|Business|1 Main St|Haifa|HF|53202|048 - 1234567|052 - 1112223|052 - 12_____|"
               "___ - _______"
            << "";
        QTest::newRow("moved to Personal")
            << business << "Personal" << QStringList{} << ""
            << "cmdSave"
            << "Dana|Levi| |Personal|1 Main St|Haifa|HF|31999|048 - 1234567|___ - _______|052 - 12_____|___ - _______"
            << "";
        QTest::newRow("moved to Business, a company typed")
            << personal << "Business" << QStringList{"txtBusName=Orbit"} << ""
            << "cmdSave"
            << "Avi|Cohen|Orbit|Business|||||035 - 551234_|||"
            << "";
        QTest::newRow("a value in no mask's form stays unless typed into")
            << "Avi|Cohen| |Personal||||5320|+15035550000|||"
            << "" << QStringList{"txtFname=Abe"} << ""
            << "cmdSave"
            << "Abe|Cohen| |Personal||||5320|+15035550000|||"
            << "";
        QTest::newRow("changed elsewhere meanwhile: refused")
            << business << "" << QStringList{"txtLname=Stern"} << "UPDATE tblTel SET City = 'Acre' WHERE Lname = 'Levi'"
            << "cmdSave"
            << "Dana|Levi|Acme Ltd|Business|1 Main St|Acre|HF|31999|048 - 1234567|___ - _______|052 - 12_____|"
               "___ - _______"
            << "changed or deleted elsewhere";
        QTest::newRow("deleted elsewhere meanwhile: refused, nothing added")
            << business << "" << QStringList{"txtLname=Stern"} << "DELETE FROM tblTel"
            << "cmdSave"
            << "-"
            << "changed or deleted elsewhere";
    }
    void openedEntry()
    {
        QFETCH(QString, stored);
        QFETCH(QString, book);
        QFETCH(QStringList, typed);
        QFETCH(QString, elsewhere);
        QFETCH(QString, button);
        QFETCH(QString, after);
        QFETCH(QString, said);

        Session s;
        s.db.addTel(QStringLiteral("Personal"), QStringLiteral("Other"), QStringLiteral("Row"));
        const QStringList values = stored.split(QLatin1Char('|'));
        QStringList marks;
        for (int i = 0; i < values.size(); ++i)
            marks << QStringLiteral("'%1'").arg(QString(values.at(i)).replace(QLatin1Char('\''), QLatin1String("''")));
        QCOMPARE(s.db.exec(
                     QStringLiteral("INSERT INTO tblTel (%1) VALUES (%2)").arg(kColumns, marks.join(QLatin1Char(',')))),
                 0);
        const qint64 key = s.db.rows(QStringLiteral("SELECT max(rowid) FROM tblTel")).value(0).toLongLong();
        const QStringList before = s.savedRows();
        UndoLog::instance().clearForTesting();
        QVERIFY(s.open(key));

        // Every value in its box, the book in the selector, the company shown for a business only.
        const QString category = values.at(3);
        QCOMPARE(s.find<QComboBox>(QStringLiteral("cmbType"))->currentText(), category);
        QCOMPARE(s.box(QStringLiteral("txtBusName"))->isVisible(), category == QLatin1String("Business"));
        const QStringList boxes = {"txtFname", "txtLname", "txtBusName", "",        "txtAddress", "txtCity",
                                   "txtState", "txtZip",   "txtTel1",    "txtTel2", "txtPel",     "txtFax"};
        for (int i = 0; i < boxes.size(); ++i) {
            if (boxes.at(i).isEmpty() || (i == 2 && category != QLatin1String("Business")))
                continue;
            QString expect = values.at(i);
            if (i >= 7 && expect.isEmpty())
                expect = i == 7 ? QStringLiteral("_____") : kEmptyTel;
            if (expect.contains(QLatin1Char('+')) || (i == 7 && expect.size() != 5))
                continue; // a value in no mask's form shows as the mask makes of it
            QCOMPARE(s.box(boxes.at(i))->displayText(), expect);
        }

        if (!book.isEmpty())
            s.chooseBook(book);
        for (const QString& t : typed) {
            const QString field = t.section(QLatin1Char('='), 0, 0);
            s.box(field)->setFocus(Qt::TabFocusReason);
            s.box(field)->selectAll();
            QTest::keyClicks(s.box(field), t.section(QLatin1Char('='), 1));
        }
        if (!elsewhere.isEmpty())
            QCOMPARE(s.db.exec(elsewhere), 0);
        const QStringList meanwhile = s.savedRows();
        QTest::mouseClick(s.find<QPushButton>(button), Qt::LeftButton);

        QStringList expected = meanwhile;
        if (after == QLatin1String("-"))
            expected.clear();
        else if (!after.isEmpty())
            expected = QStringList{before.at(0), after};
        QCOMPARE(s.savedRows(), expected);
        const QStringList messages = MessageBox::takeMessages();
        if (said.isEmpty()) {
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
            QCOMPARE(WindowSwitch::current()->objectName(), QStringLiteral("frmMain"));
            // The edit is one step, and taking it back brings the entry back whole.
            const QString file = s.db.path();
            if (button == QLatin1String("cmdSave")) {
                QCOMPARE(UndoLog::instance().undoName(file), QStringLiteral("Edit of Entry"));
                UndoLog::instance().undo(file);
                QCOMPARE(s.savedRows(), before);
            }
            QCOMPARE(UndoLog::instance().undoName(file), QString());
        } else {
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages.first().contains(said), qPrintable(messages.first()));
            // The window stays with what was typed.
            QCOMPARE(WindowSwitch::current(), s.window.data());
            QCOMPARE(s.box(QStringLiteral("txtLname"))->text(), QStringLiteral("Stern"));
        }
    }

    void refusedSaveKeepsEverything()
    {
        Session s;
        // A file whose City column takes three characters at most: the row below does not fit.
        QString create = Schema::createStatements();
        create.truncate(create.indexOf(QLatin1String("CREATE TABLE tblMes")));
        create.replace(QLatin1String("City holds at most 30 characters\" CHECK (length(City) <= 30)"),
                       QLatin1String("City holds at most 3 characters\" CHECK (length(City) <= 3)"));
        QCOMPARE(s.db.exec(QStringLiteral("DROP TABLE tblTel; ") + create), SQLITE_OK);
        s.db.close();
        QVERIFY(s.open());

        s.chooseBook(QStringLiteral("Business"));
        const QStringList typed = {"Dana",  "Levi",       "Acme", "1 Main St", "Jerusalem", "JM",
                                   "91000", "0212345678", "",     "",          "0541234567"};
        for (int i = 0; i < kFields.size(); ++i)
            s.type(kFields.at(i), typed.at(i));
        auto* cmdSave = s.find<QPushButton>(QStringLiteral("cmdSave"));
        QTest::mouseClick(cmdSave, Qt::LeftButton);

        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(QLatin1String("Error ")), qPrintable(messages.first()));
        QVERIFY2(messages.first().contains(QLatin1String("City holds at most 3 characters")),
                 qPrintable(messages.first()));
        QCOMPARE(s.db.count(QStringLiteral("tblTel")), 0);
        QVERIFY(!ErrorPath::hasEnded());
        QCOMPARE(DirectoryStandIn::loads, 0);
        QVERIFY(s.window);
        QCOMPARE(WindowSwitch::current(), s.window.data());
        QCOMPARE(s.find<QComboBox>(QStringLiteral("cmbType"))->currentText(), QStringLiteral("Business"));
        const QStringList shown = {"Dana",  "Levi",          "Acme",    "1 Main St", "Jerusalem",    "JM",
                                   "91000", "021 - 2345678", kEmptyTel, kEmptyTel,   "054 - 1234567"};
        for (int i = 0; i < kFields.size(); ++i)
            QCOMPARE(s.box(kFields.at(i))->displayText(), shown.at(i));

        // Mended, the same window saves the entry once.
        QLineEdit* txtCity = s.box(QStringLiteral("txtCity"));
        txtCity->setFocus();
        txtCity->selectAll();
        QTest::keyClicks(txtCity, QStringLiteral("Jlm"));
        QTest::mouseClick(cmdSave, Qt::LeftButton);
        QCOMPARE(s.savedRows(), QStringList{QStringLiteral("Dana|Levi|Acme|Business|1 Main St|Jlm|JM|91000|021 - "
                                                           "2345678|___ - _______|054 - 1234567|___ - _______")});
        QVERIFY(MessageBox::takeMessages().isEmpty());
        QCOMPARE(DirectoryStandIn::loads, 1);
        QTRY_VERIFY(!s.window);
    }
};

QTEST_MAIN(TestFrmAdd)
#include "tst_frmadd.moc"
