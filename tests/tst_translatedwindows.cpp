// The working windows under a translation: what they show changes language, what they store and what they choose
// by does not.

#include "TempDatabase.h"
#include "WindowTest.h"
#include "app/DataGrid.h"
#include "app/FileDialogs.h"
#include "app/MDIForm1.h"
#include "app/Module1.h"
#include "app/WindowSwitch.h"
#include "data/GridModel.h"
#include "directory/frmMain.h"
#include "entry/frmAdd.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTranslator>
#include <QtTest>

namespace {

// Puts every text of the windows' own contexts in brackets: a stand-in for any language but English.
class BracketTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        static const QSet<QByteArray> windows{"frmMain", "frmAdd", "ContactCommands", "PreviewEntries"};
        if (!windows.contains(QByteArray(context)))
            return QString();
        return QLatin1Char('[') + QString::fromUtf8(source) + QLatin1Char(']');
    }
    bool isEmpty() const override { return false; }
};

QString bracketed(const char* source)
{
    return QLatin1Char('[') + QLatin1String(source) + QLatin1Char(']');
}

} // namespace

class TestTranslatedWindows : public QObject
{
    Q_OBJECT
    BracketTranslator m_translator;
    std::unique_ptr<TempDatabase> m_db;
    std::unique_ptr<MDIForm1> m_frame;

    frmMain* directory() { return qobject_cast<frmMain*>(WindowSwitch::current()); }
    template <class T> T* find(const char* name) { return WindowSwitch::current()->findChild<T*>(QLatin1String(name)); }

    // Moves the current window's book chooser to `book` from the keyboard, as a user would.
    void chooseBook(const QString& book)
    {
        auto* chooser = find<QComboBox>("cmbType");
        QVERIFY(chooser);
        chooser->setFocus();
        const int wanted = chooser->findData(book);
        QVERIFY(wanted >= 0);
        QTest::keyClick(chooser, wanted < chooser->currentIndex() ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(chooser->currentData().toString(), book);
    }

private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }}, {"frmAdd", [] { return new frmAdd; }}});
        QCoreApplication::installTranslator(&m_translator);
    }
    void cleanupTestCase() { QCoreApplication::removeTranslator(&m_translator); }

    void init()
    {
        WindowTest::startTest();
        m_db = std::make_unique<TempDatabase>();
        m_db->addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
        m_db->addTel(QStringLiteral("Business"), QStringLiteral("Kim"), QStringLiteral("Cohen"),
                     QStringLiteral("acme"));
        m_db->close();
        Module1::setProgramDirForTesting(m_db->dir());
        m_frame = std::make_unique<MDIForm1>();
        WindowSwitch::setFrame(m_frame.get());
        m_frame->show();
        QVERIFY(WindowSwitch::show(QStringLiteral("frmMain")));
    }
    void cleanup()
    {
        if (auto* current = WindowSwitch::current())
            current->unload();
        WindowSwitch::setFrame(nullptr);
        m_frame.reset();
        m_db.reset();
    }

    void bookChooserShowsTheBookItNames()
    {
        auto* chooser = find<QComboBox>("cmbType");
        QCOMPARE(chooser->currentText(), bracketed("Personal"));
        chooseBook(QStringLiteral("Business"));
        DataGrid* business = directory()->dbgBus;
        QVERIFY(business->isVisible());
        QTRY_COMPARE(business->model()->rowCount(), 1);
        QCOMPARE(business->model()->index(0, 0).data().toString(), QStringLiteral("acme"));
        QCOMPARE(directory()->txtMila->text(), bracketed("Type Here Words or Numbers for Search"));
    }

    // The entry window stores the book's own name, whichever language the chooser speaks: an entry saved under
    // another name would be in neither book.
    void entriesKeepTheirBooksStoredName()
    {
        directory()->cmdAdd_Click();
        QVERIFY(qobject_cast<frmAdd*>(WindowSwitch::current()));
        chooseBook(QStringLiteral("Business"));
        find<QLineEdit>("txtFname")->setText(QStringLiteral("Noa"));
        find<QLineEdit>("txtBusName")->setText(QStringLiteral("Noa Ltd"));
        QTest::mouseClick(find<QPushButton>("cmdSave"), Qt::LeftButton);
        QTRY_VERIFY(directory());
        QCOMPARE(m_db->rows(QStringLiteral("SELECT Category, BusName FROM tblTel WHERE Fname = 'Noa'")),
                 QStringList{QStringLiteral("Business|Noa Ltd")});

        // An entry moved to the other book in the entry window.
        const QString ann = m_db->rows(QStringLiteral("SELECT ID FROM tblTel WHERE Fname = 'Ann'")).value(0);
        directory()->openEntry(ann.toLongLong());
        QVERIFY(qobject_cast<frmAdd*>(WindowSwitch::current()));
        QCOMPARE(find<QComboBox>("cmbType")->currentData().toString(), QStringLiteral("Personal"));
        chooseBook(QStringLiteral("Business"));
        QTest::mouseClick(find<QPushButton>("cmdSave"), Qt::LeftButton);
        QTRY_VERIFY(directory());
        QCOMPARE(m_db->rows(QStringLiteral("SELECT Category FROM tblTel WHERE Fname = 'Ann'")),
                 QStringList{QStringLiteral("Business")});
        // Back in the directory, the moved entry is shown in its new book.
        QCOMPARE(directory()->cmbType->currentData().toString(), QStringLiteral("Business"));
        QTRY_COMPARE(directory()->dbgBus->model()->rowCount(), 3);
    }

    void exportWritesTheChosenFormat_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("written");
        QTest::newRow("vCard 2.1") << bracketed("vCard 2.1, for older phones (*.vcf)") << "out.vcf"
                                   << "VERSION:2.1";
        QTest::newRow("vCard 4.0") << bracketed("vCard 4.0 (*.vcf)") << "out.vcf"
                                   << "VERSION:4.0";
        QTest::newRow("CSV") << bracketed("CSV, UTF-8 (*.csv)") << "out.csv"
                             << "Category,First Name";
        QTest::newRow("Google") << bracketed("CSV for Google Contacts (*.csv)") << "out.csv"
                                << "Name,Given Name";
    }
    void exportWritesTheChosenFormat()
    {
        QFETCH(QString, filter);
        QFETCH(QString, file);
        QFETCH(QString, written);
        FileDialogs::setNextFiles({m_db->dir() + QStringLiteral("/out")}, filter);
        QAction* exportBoth = nullptr;
        for (QAction* action : directory()->dbgPer->view()->actions()) {
            if (action->text() == bracketed("Export Both Books..."))
                exportBoth = action;
        }
        QVERIFY(exportBoth);
        exportBoth->trigger();
        QFile out(m_db->dir() + QLatin1Char('/') + file);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(out.readAll());
        QVERIFY2(text.contains(written), qPrintable(text.left(200)));
        // The books' names in the file are data, never translated.
        QVERIFY2(!text.contains(QLatin1Char('[')), qPrintable(text.left(400)));
    }
};

QTEST_MAIN(TestTranslatedWindows)
#include "tst_translatedwindows.moc"
