#pragma once

#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/DataGrid.h"
#include "app/MDIForm1.h"
#include "app/Module1.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "app/WorkingWindow.h"
#include "data/GridModel.h"
#include "directory/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QtTest>

// A window that stands in for the entry window and the message log.
class ProbeWindow : public WorkingWindow
{
public:
    static inline QVariant openedWith; // what the last one was given to open

    void Form_Load() override
    {
        openedWith = WindowSwitch::argument();
        setBoundsTwips(600, 600, 4000, 3000);
    }
    QString caption() const override { return QStringLiteral("Probe"); }
    Border border() const override { return Border::FixedSingle; }
};

// The directory window loaded in a frame of its own over a fresh database file, with the program folder pointed at
// that file's folder. Seed rows through `db` before open().
class DirectoryFixture
{
public:
    TempDatabase db;
    MDIForm1 frame;
    QPointer<frmMain> window;

    // Once per test program: the directory window, alone or with stand-ins for the windows it opens.
    static void setUpProgram()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }}});
    }
    static void setUpProgramWithProbes()
    {
        const auto probe = [] { return new ProbeWindow; };
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }}, {"frmAdd", probe}, {"frmMes", probe}});
    }

    DirectoryFixture()
    {
        WindowTest::startTest();
        Module1::setProgramDirForTesting(db.dir());
        WindowSwitch::setFrame(&frame);
        frame.resize(1000, 700);
    }
    ~DirectoryFixture() { WindowSwitch::setFrame(nullptr); }

    // Puts the program's two GIFs beside the database, as the build puts them beside the program.
    void copyGifs()
    {
        for (const char* name : {"Kesh1.gif", "engbaner.gif"}) {
            const QString source = QStringLiteral(TOVRIN_RESOURCES "/") + QLatin1String(name);
            QVERIFY2(QFile::copy(source, db.dir() + QLatin1Char('/') + QLatin1String(name)), qPrintable(source));
        }
    }

    // Shows the frame and loads the window; false when the load failed.
    bool open()
    {
        frame.show();
        window = qobject_cast<frmMain*>(WindowSwitch::show(QStringLiteral("frmMain")));
        if (!window)
            return false;
        frame.activateWindow();
        return QTest::qWaitForWindowActive(&frame);
    }

    // Gives the window exactly its designed client area (11880 x 8175 twips), where it looks as designed.
    void atDesignedSize()
    {
        const QSize designed(tw(11880), tw(8175));
        frame.resize(frame.size() + designed - window->scrollArea()->viewport()->size());
        QTRY_COMPARE(window->size(), designed);
    }

    // Entries in both books: names in either letter case, one starting with a digit, one with a space, one empty.
    void seedBooks()
    {
        const QString p = QStringLiteral("Personal");
        const QString b = QStringLiteral("Business");
        db.addTel(p, QStringLiteral("Ann"), QStringLiteral("cohen"));
        db.addTel(p, QStringLiteral("Bob"), QStringLiteral("Baker"));
        db.addTel(p, QStringLiteral("Di"), QStringLiteral("adams"));
        db.addTel(p, QStringLiteral("Ed"), QStringLiteral("Cole"));
        db.addTel(p, QStringLiteral("Fay"), QStringLiteral("3com"));
        db.addTel(p, QStringLiteral("Gil"), QStringLiteral(" Xavier"));
        db.addTel(p, QStringLiteral("Hal"), QString());
        db.addTel(b, QStringLiteral("Ike"), QStringLiteral("Carter"), QStringLiteral("zeta ltd"));
        db.addTel(b, QStringLiteral("Jo"), QStringLiteral("Zorn"), QStringLiteral("Cargo Inc"));
        db.addTel(b, QStringLiteral("Kim"), QStringLiteral("Cohen"), QStringLiteral("acme"));
    }

    template <class T> T* find(const QString& name) const { return window->findChild<T*>(name); }
    QLineEdit* txtMila() const { return find<QLineEdit>(QStringLiteral("txtMila")); }
    QComboBox* cmbType() const { return find<QComboBox>(QStringLiteral("cmbType")); }
    QListView* lstResult() const { return find<QListView>(QStringLiteral("lstResult")); }
    DataGrid* grid(const QString& name) const { return find<DataGrid>(name); }

    // The button of the letter strip with the given index (1 to 26 for "A" to "Z", 27 for "All").
    QPushButton* ot(int index) const
    {
        const auto buttons = window->findChildren<QPushButton*>(QStringLiteral("optOt"));
        for (QPushButton* button : buttons) {
            if (button->property("Index").toInt() == index)
                return button;
        }
        return nullptr;
    }
    QList<int> checkedOt() const
    {
        QList<int> indices;
        for (int i = 1; i <= 27; ++i) {
            if (ot(i)->isChecked())
                indices << i;
        }
        return indices;
    }
    QPushButton* letter(char c) const { return ot(c - 'A' + 1); }

    // Picks a book the way a user does without the mouse: the arrow keys on the closed combo box.
    void chooseBook(const QString& book)
    {
        QComboBox* box = cmbType();
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box, book == QLatin1String("Business") ? Qt::Key_Up : Qt::Key_Down);
    }

    // A command of the visible book grid's context menu, by its text; null when there is none.
    QAction* gridCommand(const QString& text) const
    {
        for (QAction* a : visibleGrid()->view()->actions()) {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    }

    DataGrid* visibleGrid() const
    {
        DataGrid* per = grid(QStringLiteral("dbgPer"));
        DataGrid* bus = grid(QStringLiteral("dbgBus"));
        if (per->isVisible() == bus->isVisible())
            return nullptr;
        return per->isVisible() ? per : bus;
    }

    // Every row of a grid's column, all read from the file (not only the first screen).
    static QStringList column(DataGrid* grid, int column)
    {
        grid->model()->fetchAll();
        QStringList values;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            values << grid->model()->index(row, column).data().toString();
        return values;
    }

    // Types into the search box as a user does: the box selects its text when it gets the focus, so typing
    // replaces it; Enter searches.
    void search(const QString& text)
    {
        QLineEdit* box = txtMila();
        box->setFocus(Qt::TabFocusReason);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        type(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    // keyClicks takes ASCII only; other characters arrive as a keyboard layout sends them, as text of a key.
    static void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    QStringList resultLines() const
    {
        QStringList lines;
        QAbstractItemModel* model = lstResult()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            lines << model->index(row, 0).data().toString();
        return lines;
    }

    // The first line of every block listed, sorted (the engine's order is not part of what is tested).
    QStringList foundNames() const
    {
        const QStringList lines = resultLines();
        QStringList names;
        for (int i = 0; i < lines.size(); i += 10)
            names << lines.at(i);
        names.sort();
        return names;
    }
};
