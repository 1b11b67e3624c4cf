// The windows under a translation: what they show changes language, what they store and choose by does not.

#include "DirectoryFixture.h"
#include "app/FileDialogs.h"
#include "entry/frmAdd.h"

#include <QTranslator>

namespace {

// Puts every text of the windows' own contexts in brackets: a stand-in for any language but English.
class BracketTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        static const QSet<QByteArray> windows{"frmMain", "frmAdd", "ContactCommands"};
        return windows.contains(context) ? QStringLiteral("[%1]").arg(QString::fromUtf8(source)) : QString();
    }
    bool isEmpty() const override { return false; }
};

template <class T> T* find(const char* name)
{
    return WindowSwitch::current()->findChild<T*>(QLatin1String(name));
}

// Moves the current window's book chooser to `book` from the keyboard.
void chooseBook(const QString& book)
{
    auto* chooser = find<QComboBox>("cmbType");
    chooser->setFocus();
    QTest::keyClick(chooser, chooser->findData(book) < chooser->currentIndex() ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(chooser->currentData().toString(), book);
    QVERIFY(chooser->currentText().startsWith(QLatin1Char('[')));
}

} // namespace

class TestTranslatedWindows : public QObject
{
    Q_OBJECT
    BracketTranslator m_translator;

private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::setUpProgram({{"frmMain", [] { return new frmMain; }}, {"frmAdd", [] { return new frmAdd; }}});
        QCoreApplication::installTranslator(&m_translator);
    }

    // An entry stored under the translated name of its book would be in neither book.
    void entriesKeepTheirBooksStoredName()
    {
        DirectoryFixture f;
        f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
        f.db.addTel(QStringLiteral("Business"), QStringLiteral("Kim"), QStringLiteral("Cohen"), QStringLiteral("acme"));
        f.db.close();
        QVERIFY(f.open());
        f.window->cmdAdd_Click();
        chooseBook(QStringLiteral("Business"));
        find<QLineEdit>("txtFname")->setText(QStringLiteral("Noa"));
        find<QLineEdit>("txtBusName")->setText(QStringLiteral("Noa Ltd"));
        QTest::mouseClick(find<QPushButton>("cmdSave"), Qt::LeftButton);
        QTRY_VERIFY(f.window = qobject_cast<frmMain*>(WindowSwitch::current()));
        QCOMPARE(f.db.rows(QStringLiteral("SELECT Category, BusName FROM tblTel WHERE Fname = 'Noa'")),
                 QStringList{QStringLiteral("Business|Noa Ltd")});

        // Moved to the other book, it is stored there and shown there.
        f.window->openEntry(
            f.db.rows(QStringLiteral("SELECT ID FROM tblTel WHERE Fname = 'Ann'")).value(0).toLongLong());
        QCOMPARE(find<QComboBox>("cmbType")->currentData().toString(), QStringLiteral("Personal"));
        chooseBook(QStringLiteral("Business"));
        QTest::mouseClick(find<QPushButton>("cmdSave"), Qt::LeftButton);
        QTRY_VERIFY(f.window = qobject_cast<frmMain*>(WindowSwitch::current()));
        QCOMPARE(f.db.rows(QStringLiteral("SELECT Category FROM tblTel WHERE Fname = 'Ann'")),
                 QStringList{QStringLiteral("Business")});
        QTRY_COMPARE(f.window->dbgBus->model()->rowCount(), 3);
    }

    void exportWritesTheChosenFormat_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("written");
        QTest::newRow("vCard 2.1") << "[vCard 2.1, for older phones (*.vcf)]"
                                   << "out.vcf"
                                   << "VERSION:2.1";
        QTest::newRow("vCard 4.0") << "[vCard 4.0 (*.vcf)]"
                                   << "out.vcf"
                                   << "VERSION:4.0";
        QTest::newRow("Google") << "[CSV for Google Contacts (*.csv)]"
                                << "out.csv"
                                << "Name,Given Name";
    }
    void exportWritesTheChosenFormat()
    {
        QFETCH(QString, filter);
        QFETCH(QString, file);
        QFETCH(QString, written);
        DirectoryFixture f;
        f.db.addTel(QStringLiteral("Business"), QStringLiteral("Kim"), QStringLiteral("Cohen"), QStringLiteral("acme"));
        f.db.close();
        QVERIFY(f.open());
        FileDialogs::setNextFiles({f.db.dir() + QStringLiteral("/out")}, filter);
        QAction* exportBoth = f.gridCommand(QStringLiteral("[Export Both Books...]"));
        QVERIFY(exportBoth);
        exportBoth->trigger();
        QFile out(f.db.dir() + QLatin1Char('/') + file);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(out.readAll());
        QVERIFY2(text.contains(written) && text.contains(QLatin1String("acme")), qPrintable(text));
        // The book's name in the file is data, never translated.
        QVERIFY2(!text.contains(QLatin1Char('[')), qPrintable(text));
    }
};

QTEST_MAIN(TestTranslatedWindows)
#include "tst_translatedwindows.moc"
