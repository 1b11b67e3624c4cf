// The message log window, driven through its controls as the user drives it.
#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/MDIForm1.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "data/MessageLog.h"
#include "messages/LogFilterBar.h"
#include "messages/MessageMarks.h"
#include "messages/MessageReader.h"
#include "messages/frmMes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

// Stands in for the directory window, which frmMes hands back to.
class StandInMain : public WorkingWindow
{
public:
    static inline int loads = 0;
    void Form_Load() override { ++loads; }
    QString caption() const override { return QString(); }
    Border border() const override { return Border::None; }
    bool maximized() const override { return true; }
};

// Stands in for the entry window: the entry it was asked to open.
class StandInEntry : public WorkingWindow
{
public:
    static inline QVariant opened;
    void Form_Load() override { opened = WindowSwitch::argument(); }
    QString caption() const override { return QString(); }
    Border border() const override { return Border::None; }
};

// Stands in for the desktop's tel: handler.
class TelHandler : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> called;
public Q_SLOTS:
    void open(const QUrl& url) { called << url; }
};

// A database, a frame and the message log opened in it.
struct Session
{
    TempDatabase db;
    MDIForm1 frame;
    QPointer<frmMes> mes;

    Session()
    {
        Module1::setProgramDirForTesting(db.dir());
        WindowSwitch::setFrame(&frame);
        frame.resize(1000, 800);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        // The client area the frame is designed with, where the windows stand as designed.
        frame.resize(frame.size() + QSize(tw(11880), tw(8175)) - frame.mdiArea()->viewport()->size());
        QTRY_COMPARE(frame.mdiArea()->viewport()->size(), QSize(tw(11880), tw(8175)));
    }
    ~Session() { WindowSwitch::setFrame(nullptr); }

    void open() { mes = qobject_cast<frmMes*>(WindowSwitch::show(QStringLiteral("frmMes"))); }
    template <class W = QWidget> W* control(const char* name) const
    {
        return mes ? mes->findChild<W*>(QLatin1String(name)) : nullptr;
    }
    void click(const char* name) const { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    // Replaces a field's text from the keyboard, as a user who selects it all and types over it.
    void retype(const char* name, const QString& text) const
    {
        QWidget* field = control(name);
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    QString focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    QStringList column(int c) const
    {
        QStringList values;
        const QAbstractItemModel* grid = mes->dbgMes->view()->model();
        for (int r = 0; r < grid->rowCount(); ++r)
            values << grid->index(r, c).data().toString();
        return values;
    }
    // The grid's context menu command whose text begins with `start`.
    QAction* command(const QString& start) const
    {
        for (QAction* action : mes->dbgMes->view()->actions()) {
            if (action->text().startsWith(start))
                return action;
        }
        return nullptr;
    }
    void choose(int row) const
    {
        QTableView* view = mes->dbgMes->view();
        view->setCurrentIndex(view->model()->index(row, 2));
    }
    // How the grid paints a row: "done" (greyed), "urgent" (bold dark red), both, or "plain".
    QString look(int row) const
    {
        QTableView* view = mes->dbgMes->view();
        QStyleOptionViewItem option;
        option.initFrom(view);
        static_cast<MessageLook*>(view->itemDelegate())->initStyleOption(&option, view->model()->index(row, 2));
        QStringList seen;
        if (option.palette.color(QPalette::Text) == MessageLook::doneColor())
            seen << QStringLiteral("done");
        if (option.font.bold())
            seen << QStringLiteral("urgent");
        return seen.isEmpty() ? QStringLiteral("plain") : seen.join(QLatin1Char('+'));
    }
    void addMessage(const QString& date, const QString& time, const QString& from)
    {
        QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES ('%1', '%2', "
                                        "'%3', 'Avi', 'Please call')")
                             .arg(date, time, from)),
                 0);
    }
};

} // namespace

class TestFrmMes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new StandInMain; }},
                                  {"frmMes", [] { return new frmMes; }},
                                  {"frmAdd", [] { return new StandInEntry; }}});
    }
    void init()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
        StandInMain::loads = 0;
        WindowTest::startTest();
    }

    void newestDateFirst_data()
    {
        QTest::addColumn<QStringList>("rows"); // "date time from"
        // Senders, newest first. Rows of one day share a sender: their order among themselves is the engine's.
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("across months and years")
            << QStringList{"2025-12-31 09:00:00 a", "2026-01-05 09:00:00 b", "2024-06-15 09:00:00 c",
                           "2026-02-01 09:00:00 d", "2025-02-10 09:00:00 e"}
            << QStringList{"d", "b", "a", "e", "c"};
        QTest::newRow("same day together")
            << QStringList{"2026-03-01 08:00:00 p", "2026-02-28 23:59:59 q", "2026-03-01 17:00:00 p",
                           "2026-03-01 12:00:00 p", "2025-03-02 10:00:00 r"}
            << QStringList{"p", "p", "p", "q", "r"};
        QTest::newRow("empty log") << QStringList{} << QStringList{};
    }
    void newestDateFirst()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, expected);
        Session s;
        for (const QString& row : rows) {
            const QStringList f = row.split(QLatin1Char(' '));
            s.addMessage(f.at(0), f.at(1), f.at(2));
        }
        s.open();
        QVERIFY(s.mes);
        QCOMPARE(s.column(2), expected);
        QCOMPARE(s.mes->dbgMes->caption(), QStringLiteral("Messages"));
        QStringList headings;
        for (int c = 0; c < 5; ++c)
            headings << s.mes->dbgMes->view()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headings, (QStringList{"Date", "Time", "From", "To", "Message"}));
        QVERIFY(s.mes->dbgMes->isVisible());
    }

    void viewsBoundsAndFocus()
    {
        Session s;
        s.open();
        QVERIFY(s.mes);
        const QStringList listView{"dbgMes", "cmdAdd", "cmdClose"};
        const QStringList entryView{"Label5", "txtCdate", "Label2", "txtMeet",  "Label9",  "txtCtime",
                                    "Label8", "txtAvur",  "Label6", "txtHodaa", "cmdSave", "cmdBitul"};
        const auto visibleOnes = [&] {
            QStringList names;
            for (const QString& name : listView + entryView) {
                if (s.control(name.toLatin1().constData())->isVisible())
                    names << name;
            }
            return names;
        };
        QMdiSubWindow* sub = s.mes->subWindow();
        QCOMPARE(sub->windowTitle(), QStringLiteral("M  e  s  s  a  g  e  s"));
        QVERIFY(!(sub->windowFlags() &
                  (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(sub->geometry(), twRect(300, 500, 11350, 7100));
        QCOMPARE(s.mes->dbgMes->geometry(), twRect(120, 1320, 10815, 4215));
        QCOMPARE(visibleOnes(), listView);
        QTRY_COMPARE(s.focused(), QStringLiteral("cmdAdd"));

        s.click("cmdAdd");
        QCOMPARE(sub->geometry(), twRect(6600, 1000, 4600, 5700));
        QCOMPARE(visibleOnes(), entryView);
        QTRY_COMPARE(s.focused(), QStringLiteral("txtMeet"));
        QVERIFY(s.control<QLineEdit>("txtMeet")->text().isEmpty());

        // Tab walks the entry view in its tab order; the multi-line message field passes Tab on as well.
        QStringList walk;
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walk << s.focused();
        }
        QCOMPARE(walk, (QStringList{"txtAvur", "txtHodaa", "cmdSave", "cmdBitul", "txtCdate", "txtCtime", "txtMeet"}));
    }

    // The pre-filled date and time under several short-date orders, and what "Save" stores for them with the
    // three texts left empty.
    // A message, its sender and its addressee can be read whole on the row the user is on; the time column holds
    // the locale's widest time.
    void logShowsMessagesWhole_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("24-hour clock") << "en_GB";
        QTest::newRow("AM and PM") << "en_US";
        QTest::newRow("AM and PM in words") << "ko_KR";
    }
    void logShowsMessagesWhole()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        Session s;
        const QString longText = QStringLiteral("Please call back about the delivery of the new chairs to the "
                                                "second floor before Thursday, after four in the afternoon");
        QCOMPARE(s.db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES "
                                          "('2026-03-01', '22:58:00', 'Margaret Henderson-Whitfield of Acme', "
                                          "'Dr. Alexandra Montgomery', '%1'), "
                                          "('2026-02-01', '10:00:00', 'Bo', 'Avi', 'Short')")
                               .arg(longText)),
                 0);
        s.open();
        QTableView* view = s.mes->dbgMes->view();
        const QString time = view->model()->index(0, 1).data().toString();
        QVERIFY(view->fontMetrics().horizontalAdvance(time) + 6 <= view->columnWidth(1));
        const int oneLine = view->rowHeight(0);
        view->setCurrentIndex(view->model()->index(0, 4));
        QVERIFY(static_cast<QAbstractItemView*>(view)->sizeHintForRow(0) > oneLine);
        QVERIFY(view->rowHeight(0) >= static_cast<QAbstractItemView*>(view)->sizeHintForRow(0));
        // Moving on, the row goes back to one line.
        view->setCurrentIndex(view->model()->index(1, 2));
        QVERIFY(view->rowHeight(0) <= oneLine + 1);
    }

    // A larger frame gives the log its room, and the log gives it to its grid; the entry view keeps its size.
    void logTakesALargerFrame()
    {
        Session s;
        s.frame.resize(s.frame.size() + QSize(400, 300));
        s.open();
        QMdiSubWindow* sub = s.mes->subWindow();
        QTRY_COMPARE(sub->geometry(), QRect(twRect(300, 500, 11350, 7100).topLeft(),
                                            twRect(300, 500, 11350, 7100).size() + QSize(400, 300)));
        QTRY_COMPARE(s.mes->dbgMes->size(), twRect(120, 1320, 10815, 4215).size() + QSize(400, 300));
        QVERIFY(s.control("cmdClose")->geometry().top() > s.mes->dbgMes->geometry().bottom());
        s.click("cmdAdd");
        QCOMPARE(sub->geometry(), twRect(6600, 1000, 4600, 5700));
    }

    void dateAndTimeTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("dateForm");  // of the date text, as QDate writes it
        QTest::addColumn<QString>("timeShape"); // of the full time text
        QTest::newRow("day/month/year") << "en_GB"
                                        << "dd/MM/yy"
                                        << "^\\d\\d:\\d\\d:\\d\\d$";
        QTest::newRow("month/day/year") << "en_US"
                                        << "MM/dd/yy"
                                        << "^\\d{1,2}:\\d\\d:\\d\\d\\s?[AP]M$";
        QTest::newRow("dots, two-digit year") << "de_DE"
                                              << "dd/MM/yy"
                                              << "^\\d\\d:\\d\\d:\\d\\d$";
        QTest::newRow("year first") << "sv_SE"
                                    << "yy/MM/dd"
                                    << "^\\d\\d:\\d\\d:\\d\\d$";
        QTest::newRow("time in words") << "ja_JP"
                                       << "yy/MM/dd"
                                       << "^\\d\\d:\\d\\d:\\d\\d$";
    }
    void dateAndTimeTexts()
    {
        QFETCH(QString, locale);
        QFETCH(QString, dateForm);
        QFETCH(QString, timeShape);
        QLocale::setDefault(QLocale(locale));
        Session s;
        s.open();
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-1000);
        s.click("cmdAdd");
        const QDateTime after = QDateTime::currentDateTime();

        const QString date = s.control<QLineEdit>("txtCdate")->displayText();
        QVERIFY2(date == before.date().toString(dateForm) || date == after.date().toString(dateForm), qPrintable(date));
        auto* time = s.control<TimeLineEdit>("txtCtime");
        const QString full = time->fullText();
        QVERIFY2(QRegularExpression(timeShape).match(full).hasMatch(), qPrintable(full));
        const QString shown = time->text();
        // While the field has the focus it shows, and edits, the full text.
        QTest::keyClick(s.control("txtMeet"), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(s.focused(), QStringLiteral("txtCtime"));
        QCOMPARE(time->text(), full);
        QTest::keyClick(time, Qt::Key_Tab);
        QCOMPARE(time->text(), shown);

        s.click("cmdSave");
        QVERIFY(MessageBox::takeMessages().isEmpty());
        const QStringList stored = s.db.rows(QStringLiteral("SELECT Cdate, Ctime, Meet, Avur, Hodaa FROM tblMes"));
        QCOMPARE(stored.size(), 1);
        const QStringList f = stored.first().split(QLatin1Char('|'));
        const QDateTime at(QDate::fromString(f.at(0), Qt::ISODate),
                           QTime::fromString(f.at(1), QStringLiteral("HH:mm:ss")));
        QVERIFY2(at >= before.addMSecs(-before.time().msec()) && at <= after, qPrintable(stored.first()));
        QCOMPARE(shown, f.at(1).left(5));              // hours and minutes shown, seconds kept
        QCOMPARE(f.mid(2), (QStringList{"", "", ""})); // empty texts, not "no value"
        QCOMPARE(StandInMain::loads, 1);
        QTRY_VERIFY(!s.mes);
    }

    void editedTimeShowsHoursAndMinutes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("24-hour with seconds") << "9:05:30"
                                              << "09:05";
        QTest::newRow("afternoon") << "2:35:07 PM"
                                   << "14:35";
        QTest::newRow("no time") << "soon"
                                 << "soon";
    }
    void editedTimeShowsHoursAndMinutes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Session s;
        s.open();
        s.click("cmdAdd");
        s.retype("txtCtime", typed);
        QTest::keyClick(s.control("txtCtime"), Qt::Key_Tab);
        QCOMPARE(s.control<TimeLineEdit>("txtCtime")->text(), shown);
        QCOMPARE(s.control<TimeLineEdit>("txtCtime")->fullText(), typed);
    }

    void enterInMessage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Enter moves on") << int(Qt::Key_Return) << int(Qt::NoModifier) << "a"
                                        << "cmdSave";
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "a"
                                      << "cmdSave";
        QTest::newRow("Shift+Enter breaks the line") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "a\nb"
                                                     << "txtHodaa";
        QTest::newRow("Ctrl+Enter breaks the line") << int(Qt::Key_Return) << int(Qt::ControlModifier) << "a\nb"
                                                    << "txtHodaa";
    }
    void enterInMessage()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        Session s;
        s.open();
        s.click("cmdAdd");
        auto* hodaa = s.control<QPlainTextEdit>("txtHodaa");
        QTest::mouseClick(hodaa->viewport(), Qt::LeftButton);
        QTest::keyClicks(hodaa, QStringLiteral("a"));
        QTest::keyClick(hodaa, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("b"));
        QCOMPARE(hodaa->toPlainText(), text);
        QCOMPARE(s.focused(), focus);
        QCOMPARE(s.db.count(QStringLiteral("tblMes")), 0);
    }

    // From, Enter, To, Enter, a message of two lines, Enter, Enter on "Save": stored, and listed first when the
    // log is opened again.
    void keyboardMessageIsStoredAndListedFirst()
    {
        Session s;
        s.addMessage(QDate::currentDate().addDays(-1).toString(Qt::ISODate), QStringLiteral("23:00:00"),
                     QStringLiteral("older"));
        s.addMessage(QDate::currentDate().addYears(-1).toString(Qt::ISODate), QStringLiteral("10:00:00"),
                     QStringLiteral("oldest"));
        s.open();
        QTest::keyClick(s.control("cmdAdd"), Qt::Key_Return);
        QTRY_COMPARE(s.focused(), QStringLiteral("txtMeet"));
        for (const QString& step : {QStringLiteral("Dana"), QStringLiteral("Avi"), QStringLiteral("Call back")}) {
            QTest::keyClicks(QApplication::focusWidget(), step);
            if (step == QLatin1String("Call back")) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("after 5; it's urgent"));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(s.focused(), QStringLiteral("cmdSave"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(
            s.db.rows(QStringLiteral("SELECT Meet, Avur, Hodaa FROM tblMes WHERE Cdate = date('now', 'localtime')")),
            QStringList{QStringLiteral("Dana|Avi|Call back\nafter 5; it's urgent")});
        QCOMPARE(StandInMain::loads, 1);

        s.open();
        QCOMPARE(s.column(2), (QStringList{"Dana", "older", "oldest"}));
    }

    void leavingStoresNothing_data()
    {
        QTest::addColumn<bool>("typeFirst");
        QTest::addColumn<QString>("button");
        QTest::newRow("Close in the list view") << false << "cmdClose";
        QTest::newRow("Cancel after typing") << true << "cmdBitul";
    }
    void leavingStoresNothing()
    {
        QFETCH(bool, typeFirst);
        QFETCH(QString, button);
        Session s;
        s.open();
        if (typeFirst) {
            s.click("cmdAdd");
            for (const char* field : {"txtMeet", "txtAvur", "txtHodaa"})
                s.retype(field, QStringLiteral("typed"));
        }
        s.click(button.toLatin1().constData());
        QTRY_VERIFY(!s.mes);
        QCOMPARE(StandInMain::loads, 1);
        QVERIFY(dynamic_cast<StandInMain*>(WindowSwitch::current()));
        QCOMPARE(s.db.count(QStringLiteral("tblMes")), 0);
    }

    // A date or time edited into something that is none: a clear message, nothing stored, the window keeps
    // what was typed; mended, it stores exactly one row.
    void refusedEntryKeepsWindow_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("mended");
        QTest::addColumn<QString>("message");
        QTest::newRow("31 February") << "txtCdate"
                                     << "310226"
                                     << "010226"
                                     << "\"31/02/26\" is not a date";
        QTest::newRow("date partly erased") << "txtCdate"
                                            << "2102"
                                            << "210226"
                                            << "\"21/02/__\" is not a date";
        QTest::newRow("hour 25") << "txtCtime"
                                 << "25:10:00"
                                 << "10:10:00"
                                 << "\"25:10:00\" is not a time";
        QTest::newRow("time erased") << "txtCtime"
                                     << ""
                                     << "10:10"
                                     << "\"\" is not a time";
    }
    void refusedEntryKeepsWindow()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, mended);
        QFETCH(QString, message);
        Session s;
        s.open();
        s.click("cmdAdd");
        s.retype("txtMeet", QStringLiteral("Dana"));
        s.retype(field.toLatin1().constData(), typed);
        s.click("cmdSave");
        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(message), qPrintable(messages.first()));
        QCOMPARE(s.db.count(QStringLiteral("tblMes")), 0);
        QVERIFY(s.mes && WindowSwitch::current() == s.mes);
        QCOMPARE(s.control<QLineEdit>("txtMeet")->text(), QStringLiteral("Dana"));
        QCOMPARE(StandInMain::loads, 0);

        s.retype(field.toLatin1().constData(), mended);
        s.click("cmdSave");
        QVERIFY(MessageBox::takeMessages().isEmpty());
        QCOMPARE(s.db.rows(QStringLiteral("SELECT Meet FROM tblMes")), QStringList{QStringLiteral("Dana")});
        QCOMPARE(StandInMain::loads, 1);
    }

    // Each mark of the context menu is stored beside the message, shown in the grid, and taken back and done again
    // by Ctrl+Z and Redo; marks of several messages are one step.
    void marksTakenBackAndDoneAgain_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("stored"); // done|call_back|urgent|done_by set
        QTest::addColumn<QString>("look");
        QTest::newRow("Mark Done") << "Mark Done"
                                   << "1|0|0|1"
                                   << "done";
        QTest::newRow("Call Back") << "Call Back"
                                   << "0|1|0|0"
                                   << "plain";
        QTest::newRow("Urgent") << "Urgent"
                                << "0|0|1|0"
                                << "urgent";
    }
    void marksTakenBackAndDoneAgain()
    {
        QFETCH(QString, command);
        QFETCH(QString, stored);
        QFETCH(QString, look);
        Session s;
        s.addMessage(QStringLiteral("2026-03-02"), QStringLiteral("09:00:00"), QStringLiteral("Dana"));
        s.addMessage(QStringLiteral("2026-03-01"), QStringLiteral("09:00:00"), QStringLiteral("Bo"));
        s.addMessage(QStringLiteral("2026-02-01"), QStringLiteral("09:00:00"), QStringLiteral("Cy"));
        s.open();
        QTableView* view = s.mes->dbgMes->view();
        s.choose(0);
        view->selectionModel()->select(view->model()->index(1, 2), QItemSelectionModel::Select);
        s.command(command)->trigger();
        QVERIFY(MessageBox::takeMessages().isEmpty());
        const QString marked = QStringLiteral("SELECT m.Meet, done, call_back, urgent, done_by IS NOT NULL FROM "
                                              "tovrin_message s JOIN tblMes m ON m.rowid = s.message ORDER BY 1");
        const QStringList both{QStringLiteral("Bo|") + stored, QStringLiteral("Dana|") + stored};
        QCOMPARE(s.db.rows(marked), both);
        QCOMPARE((QStringList{s.look(0), s.look(1), s.look(2)}), (QStringList{look, look, "plain"}));
        if (command == QLatin1String("Mark Done"))
            QVERIFY(s.command(QStringLiteral("Mark Open")));

        s.command(QStringLiteral("Undo ") + command)->trigger();
        QCOMPARE(s.db.rows(marked), QStringList{});
        QCOMPARE(s.look(0), QStringLiteral("plain"));
        s.command(QStringLiteral("Redo ") + command)->trigger();
        QVERIFY(MessageBox::takeMessages().isEmpty());
        QCOMPARE(s.db.rows(marked), both);
        QCOMPARE(s.look(1), look);
        // Cleared again, the mark is a step of its own.
        s.choose(0);
        s.command(command == QLatin1String("Mark Done") ? QStringLiteral("Mark Open") : command)->trigger();
        QCOMPARE(s.db.rows(marked).first(), QStringLiteral("Bo|") + stored);
        QVERIFY(s.db.rows(marked).last() != QStringLiteral("Dana|") + stored);
        s.command(QStringLiteral("Undo"))->trigger();
        QCOMPARE(s.db.rows(marked), both);
    }

    // A message's state follows it through edits by any tool, goes with it when it is deleted, comes back when
    // the deletion is taken back, and finds its message again after a renumbering.
    void stateFollowsItsMessage_data()
    {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<QString>("doneFrom"); // the From of the message shown done afterwards
        QTest::newRow("edited by a stock tool") << "UPDATE tblMes SET Hodaa = 'Call at 5' WHERE Meet = 'Bo'"
                                                << "Bo";
        QTest::newRow("deleted by a stock tool") << "DELETE FROM tblMes WHERE Meet = 'Bo'"
                                                 << "";
        QTest::newRow("table rebuilt in another order, then VACUUM")
            << "CREATE TABLE t (ID INTEGER PRIMARY KEY, Cdate DATE, Ctime TIME, Meet TEXT COLLATE NOCASE, Avur TEXT "
               "COLLATE NOCASE, Hodaa TEXT COLLATE NOCASE); INSERT INTO t SELECT ID + 10, Cdate, Ctime, Meet, Avur, "
               "Hodaa FROM tblMes; DROP TABLE tblMes; ALTER TABLE t "
               "RENAME TO tblMes; VACUUM"
            << "Bo";
    }
    void stateFollowsItsMessage()
    {
        QFETCH(QString, elsewhere);
        QFETCH(QString, doneFrom);
        Session s;
        s.addMessage(QStringLiteral("2026-03-02"), QStringLiteral("09:00:00"), QStringLiteral("Al"));
        s.addMessage(QStringLiteral("2026-03-01"), QStringLiteral("09:00:00"), QStringLiteral("Bo"));
        s.addMessage(QStringLiteral("2026-03-01"), QStringLiteral("09:00:00"), QStringLiteral("Cy"));
        s.open();
        const QStringList before = s.db.rows(QStringLiteral("SELECT ID, Meet FROM tblMes ORDER BY ID"));
        s.choose(s.column(2).indexOf(QStringLiteral("Bo")));
        s.command(QStringLiteral("Mark Done"))->trigger();
        s.mes->unload();
        QCOMPARE(s.db.exec(elsewhere), SQLITE_OK);
        if (elsewhere.contains(QLatin1String("VACUUM")))
            QVERIFY(s.db.rows(QStringLiteral("SELECT ID, Meet FROM tblMes ORDER BY ID")) != before);
        s.db.close();
        s.open();
        QStringList done;
        for (int row = 0; row < s.column(2).size(); ++row) {
            if (s.look(row) == QLatin1String("done"))
                done << s.column(2).at(row);
        }
        QCOMPARE(done.join(QLatin1Char(',')), doneFrom);
        QCOMPARE(s.db.count(QStringLiteral("tovrin_message")), doneFrom.isEmpty() ? 0 : 1);
        QCOMPARE(s.db.rows(QStringLiteral("PRAGMA integrity_check")), QStringList{QStringLiteral("ok")});
    }

    void deletionTakesStateAlongAndUndoBringsItBack()
    {
        Session s;
        s.addMessage(QStringLiteral("2026-03-02"), QStringLiteral("09:00:00"), QStringLiteral("Al"));
        s.open();
        s.choose(0);
        s.command(QStringLiteral("Urgent"))->trigger();
        const QStringList state = s.db.rows(QStringLiteral("SELECT uid, urgent FROM tovrin_message"));
        QCOMPARE(state.size(), 1);
        s.mes->dbgMes->view()->selectRow(0);
        MessageBox::setNextAnswer(true);
        QVERIFY(s.mes->dbgMes->deleteSelectedRows());
        MessageBox::takeMessages(); // the question
        QCOMPARE(s.db.count(QStringLiteral("tovrin_message")), 0);
        s.command(QStringLiteral("Undo Deletion"))->trigger();
        QCOMPARE(s.db.rows(QStringLiteral("SELECT uid, urgent FROM tovrin_message")), state);
        QCOMPARE(s.look(0), QStringLiteral("urgent"));
        s.command(QStringLiteral("Redo Deletion"))->trigger();
        QCOMPARE(MessageBox::takeMessages(), QStringList{});
        QCOMPARE(s.db.count(QStringLiteral("tblMes")) + s.db.count(QStringLiteral("tovrin_message")), 0);
    }

    // A log without a key column (five columns, as an old file's) and without the index the program adds is really
    // renumbered by a VACUUM; the states find their messages again.
    void vacuumRenumbersKeylessLog()
    {
        TempDatabase db;
        QCOMPARE(db.exec(QStringLiteral("DROP TABLE tblMes; CREATE TABLE tblMes (Cdate DATE, Ctime TIME, Meet TEXT, "
                                        "Avur TEXT, Hodaa TEXT); INSERT INTO tblMes VALUES ('2026-01-01', "
                                        "'09:00:00', 'Al', 'Avi', 'x'), ('2026-01-02', '09:00:00', 'Bo', 'Avi', "
                                        "'y'), ('2026-01-02', '09:00:00', 'Cy', 'Avi', 'y')")),
                 SQLITE_OK);
        {
            const auto file = Database::open(db.path());
            MessageLog::mark(*file, {3}, MessageLog::Mark::Done, true, QStringLiteral("me"),
                             QDateTime::currentDateTime());
        }
        QCOMPARE(db.exec(QStringLiteral("DROP INDEX tblMes_Cdate; DELETE FROM tblMes WHERE Meet = 'Al'; VACUUM")),
                 SQLITE_OK);
        QCOMPARE(db.rows(QStringLiteral("SELECT rowid FROM tblMes")), (QStringList{"1", "2"}));
        db.close();
        const auto file = Database::open(db.path());
        MessageLog::retie(*file);
        const QHash<qint64, MessageLog::State> states = MessageLog::states(*file);
        QCOMPARE(states.keys(), QList<qint64>{2});
        QVERIFY(states.value(2).done);
    }

    // A message is read whole with the entries its From names; "Call" hands the number to the tel: handler and
    // "Open Entry" opens the entry in the entry window.
    void readWholeAndFollowTheCaller_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("callers"); // the caller lines shown
        QTest::newRow("first and last name") << "Dana Levi" << QStringList{"Dana Levi (Personal)"};
        QTest::newRow("last name first, other case") << "levi dana" << QStringList{"Dana Levi (Personal)"};
        QTest::newRow("a number typed another way") << "050-1234567" << QStringList{"Dana Levi (Personal)"};
        QTest::newRow("business name") << "Acme Ltd" << QStringList{"Acme Ltd (Business)"};
        QTest::newRow("unknown") << "Dana Levin 050-123456" << QStringList{};
    }
    void readWholeAndFollowTheCaller()
    {
        QFETCH(QString, from);
        QFETCH(QStringList, callers);
        Session s;
        s.db.addTel(QStringLiteral("Personal"), QStringLiteral("Dana"), QStringLiteral("Levi"), QStringLiteral(" "),
                    QStringLiteral("050 - 1234567"));
        s.db.addTel(QStringLiteral("Business"), QString(), QString(), QStringLiteral("Acme Ltd"),
                    QStringLiteral("03 - 7654321"));
        const QString text = QStringLiteral("About the delivery:\nthe chairs go to the second floor, the desks to "
                                            "the third, and the invoice to Ruth before Thursday afternoon.");
        QCOMPARE(s.db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES "
                                          "('2026-03-01', '10:00:00', '%1', 'Avi', '%2')")
                               .arg(from, text)),
                 SQLITE_OK);
        s.open();
        s.choose(0);
        s.command(QStringLiteral("Read Message"))->trigger();
        auto* reader = s.mes->findChild<MessageReader*>();
        QVERIFY(reader && reader->isVisible());
        QCOMPARE(reader->findChild<QPlainTextEdit*>(QStringLiteral("txtMessage"))->toPlainText(), text);
        QCOMPARE(reader->findChild<QLabel*>(QStringLiteral("lblFrom"))->text(), QStringLiteral("From: ") + from);
        QStringList shown;
        for (QLabel* label : reader->findChildren<QLabel*>(QStringLiteral("lblCaller")))
            shown << label->text();
        QCOMPARE(shown, callers);
        if (callers.isEmpty())
            return;
        TelHandler handler;
        QDesktopServices::setUrlHandler(QStringLiteral("tel"), &handler, "open");
        QTest::mouseClick(reader->findChild<QPushButton*>(QStringLiteral("cmdCall")), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("tel"));
        QCOMPARE(handler.called,
                 QList<QUrl>{QUrl(from.startsWith(QLatin1String("Acme")) ? "tel:037654321" : "tel:0501234567")});
        StandInEntry::opened = QVariant();
        QTest::mouseClick(reader->findChild<QPushButton*>(QStringLiteral("cmdOpenEntry")), Qt::LeftButton);
        QTRY_VERIFY(StandInEntry::opened.isValid());
        QCOMPARE(StandInEntry::opened.toLongLong(), from.startsWith(QLatin1String("Acme")) ? 2 : 1);
    }

    // The filter: for whom, open only, and a text in From, To or the message, taken literally.
    void filterTheLog_data()
    {
        QTest::addColumn<QString>("forName");
        QTest::addColumn<bool>("openOnly");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("senders");
        QTest::newRow("everything") << "" << false << "" << QStringList{"Al", "Bo", "Cy"};
        QTest::newRow("for one person, any case") << "Avi" << false << "" << QStringList{"Al", "Cy"};
        QTest::newRow("open only") << "" << true << "" << QStringList{"Bo", "Cy"};
        QTest::newRow("for and open") << "Avi" << true << "" << QStringList{"Cy"};
        QTest::newRow("text in To, other case") << "" << false << "dana" << QStringList{"Bo"};
        QTest::newRow("text in the message") << "" << false << "ORDER" << QStringList{"Al"};
        QTest::newRow("pattern characters taken literally") << "" << false << "50*" << QStringList{"Cy"};
        QTest::newRow("a pattern finds nothing") << "" << false << "5?" << QStringList{};
        QTest::newRow("an apostrophe") << "" << false << "O'Br" << QStringList{"Bo"};
    }
    void filterTheLog()
    {
        QFETCH(QString, forName);
        QFETCH(bool, openOnly);
        QFETCH(QString, text);
        QFETCH(QStringList, senders);
        Session s;
        QCOMPARE(s.db.exec(QStringLiteral("INSERT INTO tblMes (Cdate, Ctime, Meet, Avur, Hodaa) VALUES "
                                          "('2026-03-03', '10:00:00', 'Al', 'Avi', 'The order came'), "
                                          "('2026-03-02', '10:00:00', 'Bo', 'Dana O''Brien', 'Call back'), "
                                          "('2026-03-01', '10:00:00', 'Cy', 'avi', 'Price is 50* less')")),
                 SQLITE_OK);
        s.frame.resize(s.frame.size() + QSize(600, 0));
        s.open();
        s.choose(0);
        s.command(QStringLiteral("Mark Done"))->trigger();
        LogFilterBar* bar = s.mes->filterBar();
        QCOMPARE(bar->cmbFor->count(), 3); // everyone, Avi, Dana O'Brien
        bar->cmbFor->setCurrentIndex(forName.isEmpty() ? 0 : bar->cmbFor->findText(forName, Qt::MatchFixedString));
        if (openOnly)
            s.command(QStringLiteral("Open Only"))->trigger();
        QCOMPARE(bar->chkOpen->isChecked(), openOnly);
        QTest::keyClicks(bar->txtFind, text);
        QVERIFY(MessageBox::takeMessages().isEmpty());
        QCOMPARE(s.column(2), senders);
        s.command(QStringLiteral("Show All Messages"))->trigger();
        QCOMPARE(s.column(2), (QStringList{"Al", "Bo", "Cy"}));
    }

    // Listing open messages only, a message marked done leaves the list at once and the next one becomes current;
    // Ctrl+Z brings it back.
    void doneLeavesOpenOnlyList()
    {
        Session s;
        s.addMessage(QStringLiteral("2026-03-03"), QStringLiteral("09:00:00"), QStringLiteral("Al"));
        s.addMessage(QStringLiteral("2026-03-02"), QStringLiteral("09:00:00"), QStringLiteral("Bo"));
        s.addMessage(QStringLiteral("2026-03-01"), QStringLiteral("09:00:00"), QStringLiteral("Cy"));
        s.open();
        s.command(QStringLiteral("Open Only"))->trigger();
        s.choose(1);
        s.command(QStringLiteral("Mark Done"))->trigger();
        QVERIFY(MessageBox::takeMessages().isEmpty());
        QCOMPARE(s.column(2), (QStringList{"Al", "Cy"}));
        QCOMPARE(s.mes->dbgMes->view()->currentIndex().row(), 1);
        s.command(QStringLiteral("Urgent"))->trigger();
        QCOMPARE(s.db.rows(QStringLiteral("SELECT m.Meet FROM tovrin_message s JOIN tblMes m ON m.rowid = s.message "
                                          "WHERE urgent")),
                 QStringList{"Cy"});
        QCOMPARE(s.column(2), (QStringList{"Al", "Cy"}));
        s.command(QStringLiteral("Undo Urgent"))->trigger();
        s.command(QStringLiteral("Undo Mark Done"))->trigger();
        QCOMPARE(s.column(2), (QStringList{"Al", "Bo", "Cy"}));
    }

    // The filter bar stands beside "Add New Message" only where a wider window leaves room for it.
    void filterBarOnlyWithRoom()
    {
        Session s;
        s.open();
        QVERIFY(!s.mes->filterBar()->isVisible());
        QCOMPARE(s.mes->dbgMes->geometry(), twRect(120, 1320, 10815, 4215));
        s.mes->unload();
        s.frame.resize(s.frame.size() + QSize(600, 200));
        s.open();
        QTRY_VERIFY(s.mes->filterBar()->isVisible());
        const QRect bar = s.mes->filterBar()->geometry();
        QVERIFY(bar.right() < s.control("cmdAdd")->geometry().left());
        QVERIFY(bar.bottom() < s.mes->dbgMes->geometry().top());
        s.click("cmdAdd");
        QVERIFY(!s.mes->filterBar()->isVisible());
    }

    void gridEdits_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // the row afterwards: Cdate|Ctime|Meet
        QTest::addColumn<bool>("refused");
        QTest::newRow("date, four-digit year") << 0 << "22/08/2002"
                                               << "2002-08-22|14:35:07|Dana" << false;
        QTest::newRow("date, two-digit year") << 0 << "1/9/02"
                                              << "2002-09-01|14:35:07|Dana" << false;
        QTest::newRow("date that is none") << 0 << "31/02/2002"
                                           << "2002-08-21|14:35:07|Dana" << true;
        QTest::newRow("time") << 1 << "09:05"
                              << "2002-08-21|09:05:00|Dana" << false;
        QTest::newRow("time that is none") << 1 << "9:75"
                                           << "2002-08-21|14:35:07|Dana" << true;
        QTest::newRow("sender") << 2 << "3/4"
                                << "2002-08-21|14:35:07|3/4" << false;
    }
    void gridEdits()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, refused);
        Session s;
        s.addMessage(QStringLiteral("2002-08-21"), QStringLiteral("14:35:07"), QStringLiteral("Dana"));
        s.open();
        QTableView* view = s.mes->dbgMes->view();
        const QModelIndex cell = view->model()->index(0, column);
        QCOMPARE(s.column(0), QStringList{QStringLiteral("21/08/2002")});
        QCOMPARE(s.column(1), QStringList{QStringLiteral("14:35")});

        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
        QTest::keyClick(view, Qt::Key_F2);
        QPointer<QLineEdit> editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!editor); // the commit is queued
        QCOMPARE(s.db.rows(QStringLiteral("SELECT Cdate, Ctime, Meet FROM tblMes")), QStringList{stored});
        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), refused ? 1 : 0);
        if (refused)
            QVERIFY2(messages.first().contains(QStringLiteral("\"%1\" is not a").arg(typed)),
                     qPrintable(messages.first()));
    }
};

QTEST_MAIN(TestFrmMes)
#include "tst_frmmes.moc"
