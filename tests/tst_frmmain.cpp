// The directory window: its layout, its load, the book switch, the letter strip, the grids' writes and the buttons
// that leave it.
#include "AsNobody.h"
#include "Deadline.h"
#include "DirectoryFixture.h"
#include "app/Twips.h"
#include "app/WorkingWindow.h"
#include "data/Book.h"
#include "data/Database.h"
#include "data/SortKey.h"
#include "directory/ContactCommands.h"
#include "directory/ImportPreview.h"
#include "directory/PreviewEntries.h"
#include "exchange/PhoneNumbers.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMovie>
#include <QScrollArea>
#include <QSettings>
#include <QTimer>
#include <QWheelEvent>
#include <sys/stat.h>

namespace {

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

const QString kAllPersonal = Query::book(Book::Personal).statement();

// The names of the controls the focus visits, the buttons of the strip as "optOt(index)".
QString focusName()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w->objectName() == QLatin1String("optOt"))
            return QStringLiteral("optOt(%1)").arg(w->property("Index").toInt());
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            return w->objectName();
    }
    return QString();
}

void seedBooks(TempDatabase& db)
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

// A command of the visible book grid's context menu, by its text; null when there is none.
QAction* gridCommand(DirectoryFixture& f, const QString& text)
{
    for (QAction* a : f.visibleGrid()->view()->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

// Drops the file on the window as a file manager does, the import's question answered yes. The window then says
// one message, given in `said`.
void dropOnWindow(DirectoryFixture& f, const QString& path, QString& said)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    MessageBox::setNextAnswer(true);
    QApplication::sendEvent(f.window, &drop);
    QStringList shown;
    QTRY_VERIFY(!(shown += MessageBox::takeMessages()).isEmpty());
    QCOMPARE(shown.size(), 1);
    said = shown.at(0);
}

} // namespace

class TestDirectoryWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        DirectoryFixture::setUpProgram();
        const auto probe = [] { return new ProbeWindow; };
        WindowSwitch::registerWindow(QStringLiteral("frmAdd"), probe);
        WindowSwitch::registerWindow(QStringLiteral("frmMes"), probe);
    }

    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void decorationIsPainted_data();
    void decorationIsPainted();
    void tabVisitsControlsInTabIndexOrder();
    void loadStartsWithWholePersonalBook();
    void bookAndLetterShowOnlyTheirRows_data();
    void bookAndLetterShowOnlyTheirRows();
    void namesOutsideTheAlphabetOnlyUnderAll();
    void aLetterListsItsNamesInTheBooksOrder_data();
    void aLetterListsItsNamesInTheBooksOrder();
    void bookSwitchDropsTheLetter();
    void largeBooksListEveryRowInEitherGrid();
    void gridEditReachesTheFile_data();
    void gridEditReachesTheFile();
    void gridDeletionAsksFirst_data();
    void gridDeletionAsksFirst();
    void gifsThatCannotPlayLeaveViewsEmpty_data();
    void gifsThatCannotPlayLeaveViewsEmpty();
    void missingDatabaseEndsTheLoad();
    void entryOpensFromItsRowAndItsBlock_data();
    void entryOpensFromItsRowAndItsBlock();
    void buttonsSwitchAndReturnLoadsAfresh_data();
    void buttonsSwitchAndReturnLoadsAfresh();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void enterOnExitEndsTheProgram();
    void busyFileIsReportedAndTheWindowStays_data();
    void busyFileIsReportedAndTheWindowStays();
    void returningShowsAnotherCopysSave();
    void readOnlyFolderShowsEverythingAndRefusesWrites();
    void contactsComeInAndGoOutWithoutNewControls();
    void importRefusesWhatIsNoFile();
    void thePreviewWritesWhatIsChecked();
    void eachPreviewRowShowsItsOwnProblems();
    void thePreviewCountsValuesOfWhatIsChecked_data();
    void thePreviewCountsValuesOfWhatIsChecked();
    void thePreviewKeepsItsChoicesAndFitsTheScreen();
    void thePreviewAsksForTheCountryOfNumbers_data();
    void thePreviewAsksForTheCountryOfNumbers();
};

void TestDirectoryWindow::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips"); // width and height -1: the control sizes itself
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("underline");

    const QString david = QStringLiteral("David");
    const QString times = QStringLiteral("Times New Roman");
    QTest::newRow("DXGif1") << "DXGif1" << QRect(9120, 3960, 2535, 1935) << QString() << QString() << 0.0 << false;
    QTest::newRow("DXGif2") << "DXGif2" << QRect(3600, 6600, 8055, 1335) << QString() << QString() << 0.0 << false;
    QTest::newRow("lstResult") << "lstResult" << QRect(480, 4560, 4215, 1815) << QString() << david << 9.75 << false;
    QTest::newRow("txtMila") << "txtMila" << QRect(480, 3600, 4215, 375) << frmMain::SearchPrompt << david << 11.25
                             << false;
    QTest::newRow("cmdMessages") << "cmdMessages" << QRect(1920, 6720, 1215, 615) << "Messages" << david << 12.0
                                 << false;
    QTest::newRow("cmdAdd") << "cmdAdd" << QRect(360, 6720, 1215, 615) << "Add New Number" << david << 12.0 << false;
    QTest::newRow("cmbType") << "cmbType" << QRect(8520, 480, 2295, 345) << "Personal" << david << 11.25 << false;
    QTest::newRow("cmdEnd") << "cmdEnd" << QRect(360, 7560, 2775, 375) << "Exit" << times << 12.0 << false;
    QTest::newRow("dbgPer") << "dbgPer" << QRect(360, 1200, 11295, 2000) << "Personal  -  Tovrin" << QString() << 0.0
                            << false;
    QTest::newRow("dbgBus") << "dbgBus" << QRect(360, 1200, 11295, 2000) << "Business  -  Tovrin" << QString() << 0.0
                            << false;
    QTest::newRow("Shape1") << "Shape1" << QRect(5640, 3960, 3255, 1575) << QString() << QString() << 0.0 << false;
    QTest::newRow("Image1") << "Image1" << QRect(5760, 4080, 1095, 1335) << QString() << QString() << 0.0 << false;
    QTest::newRow("lblKesh") << "lblKesh" << QRect(6960, 4080, -1, -1) << QString() << david << 11.25 << false;
    QTest::newRow("Label2") << "Label2" << QRect(360, 3240, -1, -1) << "Search Option" << david << 11.25 << true;
    QTest::newRow("Label3") << "Label3" << QRect(2160, 4320, -1, -1) << "Results" << david << 12.0 << true;
    QTest::newRow("Label1") << "Label1" << QRect(8520, 240, -1, -1) << "Choose Telephone Book" << david << 11.25
                            << false;
    for (int i = 1; i <= 27; ++i) {
        const QRect at = i <= 13   ? QRect(360 + 480 * (i - 1), 120, 375, 375)
                         : i <= 26 ? QRect(360 + 480 * (i - 14), 600, 375, 375)
                                   : QRect(6600, 120, 855, 855);
        const QString caption = i == 27 ? QStringLiteral("All") : QString(QChar(u'A' + i - 1));
        QTest::addRow("optOt(%d)", i) << QStringLiteral("optOt(%1)").arg(i) << at << caption << times << 12.0 << false;
    }
}

void TestDirectoryWindow::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, underline);

    DirectoryFixture f;
    QVERIFY(f.open());
    f.atDesignedSize();
    QWidget* w =
        name.startsWith(QLatin1String("optOt(")) ? f.ot(name.mid(6).chopped(1).toInt()) : f.find<QWidget>(name);
    QVERIFY2(w, qPrintable(name));
    if (twips.width() < 0) {
        QCOMPARE(w->pos(), QPoint(tw(twips.x()), tw(twips.y())));
        QCOMPARE(w->size(), w->sizeHint());
    } else {
        QCOMPARE(w->geometry(), twRect(twips.x(), twips.y(), twips.width(), twips.height()));
    }
    if (!caption.isEmpty()) {
        QString shown;
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            shown = button->text();
        else if (auto* label = qobject_cast<QLabel*>(w))
            shown = label->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            shown = edit->text();
        else if (auto* box = qobject_cast<QComboBox*>(w))
            shown = box->currentText();
        else if (auto* grid = qobject_cast<DataGrid*>(w))
            shown = grid->caption();
        QCOMPARE(shown, caption);
    }
    if (!family.isEmpty()) {
        QCOMPARE(w->font().family(), family);
        QCOMPARE(w->font().pointSizeF(), points);
        QVERIFY(w->font().bold());
        QCOMPARE(w->font().underline(), underline);
    }
}

void TestDirectoryWindow::decorationIsPainted_data()
{
    QTest::addColumn<QString>("line"); // the line whose middle is looked at, or empty
    QTest::addColumn<QPoint>("point"); // otherwise a point in twips
    QTest::addColumn<QColor>("color");

    const QColor yellow(255, 255, 0);
    for (int i = 2; i <= 12; ++i)
        QTest::addRow("Line%d", i) << QStringLiteral("Line%1").arg(i) << QPoint() << yellow;
    QTest::newRow("window") << QString() << QPoint(5400, 2500 + 3000) << QColor(Qt::black);
    QTest::newRow("inside the search box") << QString() << QPoint(1000, 4100) << QColor(Qt::black);
    QTest::newRow("Shape1 top edge") << QString() << QPoint(7000, 3960) << QColor(255, 128, 0);
    QTest::newRow("Shape1 left edge") << QString() << QPoint(5640, 4500) << QColor(255, 128, 0);
    QTest::newRow("result list") << QString() << QPoint(2400, 6000) << QColor(255, 255, 192);
    QTest::newRow("empty grid") << QString() << QPoint(6000, 3000) << QColor(192, 255, 255);
}

void TestDirectoryWindow::decorationIsPainted()
{
    QFETCH(QString, line);
    QFETCH(QPoint, point);
    QFETCH(QColor, color);

    DirectoryFixture f;
    QVERIFY(f.open());
    f.atDesignedSize();
    if (!line.isEmpty()) {
        QObject* l = f.window->findChild<QObject*>(line);
        QVERIFY(l);
        QCOMPARE(l->property("BorderWidth").toInt(), 3);
        point = QPoint((l->property("X1").toInt() + l->property("X2").toInt()) / 2,
                       (l->property("Y1").toInt() + l->property("Y2").toInt()) / 2);
    }
    const QImage shot = f.window->grab().toImage();
    QCOMPARE(shot.pixelColor(tw(point.x()), tw(point.y())), color);
}

void TestDirectoryWindow::tabVisitsControlsInTabIndexOrder()
{
    DirectoryFixture f;
    QVERIFY(f.open());
    // The strip is entered at the letter that is down ("All" after the load), as a group of option buttons is.
    const QStringList expected{QStringLiteral("txtMila"),   QStringLiteral("cmdEnd"),      QStringLiteral("cmbType"),
                               QStringLiteral("cmdAdd"),    QStringLiteral("cmdMessages"), QStringLiteral("dbgPer"),
                               QStringLiteral("optOt(27)"), QStringLiteral("lstResult"),   QStringLiteral("txtMila")};
    QTRY_COMPARE(focusName(), QStringLiteral("txtMila"));
    QStringList visited{focusName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusName();
    }
    QCOMPARE(visited, expected);

    // After a letter is picked (by the book switch's "All" too), Tab and Shift+Tab find that letter.
    QTest::mouseClick(f.letter('K'), Qt::LeftButton);
    f.find<QWidget>(QStringLiteral("lstResult"))->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusName(), QStringLiteral("optOt(11)"));
    f.chooseBook(QStringLiteral("Business"));
    f.grid(QStringLiteral("dbgBus"))->view()->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusName(), QStringLiteral("optOt(27)"));
    // Within the strip the arrow keys move to the next letter and pick it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(focusName(), QStringLiteral("optOt(26)"));
    QCOMPARE(f.checkedOt(), QList<int>{26});
    QCOMPARE(gRecordSource, Query::letter(Book::Business, QStringLiteral("Z")).statement());
}

void TestDirectoryWindow::loadStartsWithWholePersonalBook()
{
    DirectoryFixture f;
    seedBooks(f.db);
    f.copyGifs();
    QVERIFY(f.open());

    QCOMPARE(f.window->subWindow()->windowState() & Qt::WindowMaximized, Qt::WindowMaximized);
    QComboBox* box = f.cmbType();
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(0), QStringLiteral("Business"));
    QCOMPARE(box->itemText(1), QStringLiteral("Personal"));
    QVERIFY(!box->isEditable());
    QCOMPARE(box->currentText(), QStringLiteral("Personal"));
    QCOMPARE(f.checkedOt(), QList<int>{27});
    QCOMPARE(f.visibleGrid(), f.grid(QStringLiteral("dbgPer")));
    QCOMPARE(gDbPath, Module1::databasePath());
    QCOMPARE(f.find<DataControl>(QStringLiteral("datTel"))->DatabaseName(), gDbPath);
    QCOMPARE(f.find<DataControl>(QStringLiteral("datSearch"))->DatabaseName(), gDbPath);
    QCOMPARE(f.find<DataControl>(QStringLiteral("datTel"))->RecordSource(), kAllPersonal);
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0),
             (QStringList{QString(), QStringLiteral(" Xavier"), QStringLiteral("3com"), QStringLiteral("adams"),
                          QStringLiteral("Baker"), QStringLiteral("cohen"), QStringLiteral("Cole")}));
    QCOMPARE(f.lstResult()->model()->rowCount(), 0);

    // The focus is in the search box with the whole prompt selected, so typing replaces it.
    QLineEdit* box2 = f.txtMila();
    QTRY_VERIFY(box2->hasFocus());
    QCOMPARE(box2->text(), frmMain::SearchPrompt);
    QCOMPARE(box2->selectedText(), frmMain::SearchPrompt);

    const QStringList contact = f.find<QLabel>(QStringLiteral("lblKesh"))->text().split(QStringLiteral("\r\n"));
    QCOMPARE(contact.size(), 6);
    QVERIFY(contact.at(3).isEmpty());
    for (int i : {0, 1, 2, 4, 5})
        QVERIFY(!contact.at(i).trimmed().isEmpty());
    // The contact block fits inside the frame drawn around it.
    QVERIFY(f.find<QWidget>(QStringLiteral("Shape1"))
                ->geometry()
                .contains(f.find<QWidget>(QStringLiteral("lblKesh"))->geometry()));

    for (const char* name : {"DXGif1", "DXGif2"}) {
        QMovie* movie = f.find<QLabel>(QLatin1String(name))->movie();
        QVERIFY2(movie && movie->state() == QMovie::Running, name);
        QVERIFY(movie->frameCount() > 1);
    }
    QVERIFY(!f.find<QLabel>(QStringLiteral("Image1"))->pixmap().isNull());
}

void TestDirectoryWindow::bookAndLetterShowOnlyTheirRows_data()
{
    QTest::addColumn<QString>("book");
    QTest::addColumn<char>("letter"); // 0 for "All"
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("names"); // the sort column of the visible grid
    QTest::addColumn<bool>("sorted");       // "All" sorts; a letter lists in the engine's order

    QTest::newRow("Personal All") << "Personal" << char(0) << kAllPersonal
                                  << QStringList{QString(), " Xavier", "3com", "adams", "Baker", "cohen", "Cole"}
                                  << true;
    QTest::newRow("Personal C: last names, either case, no business")
        << "Personal" << 'C' << Query::letter(Book::Personal, QStringLiteral("C")).statement()
        << QStringList{"cohen", "Cole"} << false;
    QTest::newRow("Personal X: not the name after a space") << "Personal" << 'X' << QString() << QStringList{} << false;
    QTest::newRow("Business All") << "Business" << char(0) << Query::book(Book::Business).statement()
                                  << QStringList{"acme", "Cargo Inc", "zeta ltd"} << true;
    QTest::newRow("Business C: business name, not last name")
        << "Business" << 'C' << Query::letter(Book::Business, QStringLiteral("C")).statement()
        << QStringList{"Cargo Inc"} << false;
    QTest::newRow("Business Z") << "Business" << 'Z' << QString() << QStringList{"zeta ltd"} << false;
    QTest::newRow("Business B: nothing") << "Business" << 'B' << QString() << QStringList{} << false;
}

void TestDirectoryWindow::bookAndLetterShowOnlyTheirRows()
{
    QFETCH(QString, book);
    QFETCH(char, letter);
    QFETCH(QString, statement);
    QFETCH(QStringList, names);
    QFETCH(bool, sorted);

    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    f.chooseBook(book);
    QCOMPARE(f.cmbType()->currentText(), book);
    if (letter)
        QTest::mouseClick(f.letter(letter), Qt::LeftButton);
    QCOMPARE(f.checkedOt(), QList<int>{letter ? letter - 'A' + 1 : 27});
    if (!statement.isEmpty()) {
        QCOMPARE(gRecordSource, statement);
        QCOMPARE(f.find<DataControl>(QStringLiteral("datTel"))->RecordSource(), statement);
    }

    DataGrid* grid = f.visibleGrid();
    QVERIFY(grid);
    QCOMPARE(grid->objectName(),
             book == QLatin1String("Business") ? QStringLiteral("dbgBus") : QStringLiteral("dbgPer"));
    QStringList shown = DirectoryFixture::column(grid, 0);
    if (!sorted)
        shown.sort(Qt::CaseInsensitive);
    QCOMPARE(shown, names);
    QVERIFY(MessageBox::takeMessages().isEmpty());
}

void TestDirectoryWindow::namesOutsideTheAlphabetOnlyUnderAll()
{
    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    QStringList underLetters;
    for (char c = 'A'; c <= 'Z'; ++c) {
        QTest::mouseClick(f.letter(c), Qt::LeftButton);
        underLetters += DirectoryFixture::column(f.visibleGrid(), 0);
    }
    underLetters.sort(Qt::CaseInsensitive);
    QCOMPARE(underLetters, (QStringList{"adams", "Baker", "cohen", "Cole"}));
    QTest::mouseClick(f.ot(27), Qt::LeftButton);
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).size(), 7);
}

void TestDirectoryWindow::aLetterListsItsNamesInTheBooksOrder_data()
{
    QTest::addColumn<QString>("locale"); // of the sort keys; empty: the test's own (C, ICU's root order)
    QTest::addColumn<char>("letter");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("C") << QString() << 'C'
                       << QStringList{"Campbell", "Campbell", "carter", "Chvála", "Clark", "Cohen", "Cohen", "Cohen"};
    // The Czech "ch" is a letter of its own, after "h": not one range of keys with the other names under C.
    QTest::newRow("C, Czech order") << "cs_CZ" << 'C' << QStringList{"Campbell", "Campbell", "carter", "Clark",
                                                                     "Cohen",    "Cohen",    "Cohen",  "Chvála"};
    // The Danish "aa" is "å", the last letter.
    QTest::newRow("A, Danish order") << "da_DK" << 'A' << QStringList{"Abel", "Aagaard"};
}

void TestDirectoryWindow::aLetterListsItsNamesInTheBooksOrder()
{
    QFETCH(QString, locale);
    QFETCH(char, letter);
    QFETCH(QStringList, names);

    SortKey::setLocaleForTesting(locale);
    const auto back = qScopeGuard([] { SortKey::setLocaleForTesting(QString()); });
    DirectoryFixture f;
    // Added in an order of their own, which the engine would keep: Cohen first.
    for (const char* name : {"Cohen", "Cohen", "Campbell", "Chvála", "Campbell", "carter", "Aagaard", "Clark", "Çelik",
                             "Baker", "Cohen", "Abel"})
        f.db.addTel(QStringLiteral("Personal"), QString(), QString::fromUtf8(name));
    f.db.addTel(QStringLiteral("Business"), QString(), QStringLiteral("Cohen"), QStringLiteral("Acme"));
    QVERIFY(f.open());
    QTest::mouseClick(f.letter(letter), Qt::LeftButton);
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0), names);
}

void TestDirectoryWindow::bookSwitchDropsTheLetter()
{
    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    auto* datTel = f.find<DataControl>(QStringLiteral("datTel"));

    QTest::mouseClick(f.letter('C'), Qt::LeftButton);
    // Pressing the letter that is down again shows the same rows.
    QTest::mouseClick(f.letter('C'), Qt::LeftButton);
    QCOMPARE(f.checkedOt(), QList<int>{3});
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).size(), 2);

    f.chooseBook(QStringLiteral("Business"));
    QCOMPARE(f.checkedOt(), QList<int>{27});
    QCOMPARE(f.visibleGrid()->objectName(), QStringLiteral("dbgBus"));
    QCOMPARE(datTel->RecordSource(), Query::book(Book::Business).statement());
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0), (QStringList{"acme", "Cargo Inc", "zeta ltd"}));

    QTest::mouseClick(f.letter('Z'), Qt::LeftButton);
    f.chooseBook(QStringLiteral("Personal"));
    QCOMPARE(f.checkedOt(), QList<int>{27});
    QCOMPARE(f.visibleGrid()->objectName(), QStringLiteral("dbgPer"));
    QCOMPARE(datTel->RecordSource(), kAllPersonal);
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).size(), 7);
}

void TestDirectoryWindow::largeBooksListEveryRowInEitherGrid()
{
    // Both grids show datTel; a grid reads its rows as it scrolls, so neither may take rows from the other.
    DirectoryFixture f;
    QCOMPARE(f.db.exec(QStringLiteral(
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
                 "INSERT INTO tblTel (Category, Fname, Lname, BusName) SELECT CASE i % 2 WHEN 0 THEN 'Personal' "
                 "ELSE 'Business' END, 'F' || i, 'L' || i, 'B' || i FROM n")),
             0);
    QVERIFY(f.open());
    for (const char* book : {"Personal", "Business", "Personal"}) {
        f.chooseBook(QLatin1String(book));
        DataGrid* grid = f.visibleGrid();
        // A moment after the book shows, Ctrl+End from its first row goes to its true last row.
        QCoreApplication::processEvents();
        grid->view()->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClick(grid->view(), Qt::Key_End, Qt::ControlModifier);
        const QModelIndex last = grid->view()->currentIndex();
        QCOMPARE(last.row(), 749);
        const QString field =
            QLatin1String(book) == QLatin1String("Personal") ? QStringLiteral("Lname") : QStringLiteral("BusName");
        QCOMPARE(last.sibling(last.row(), 0).data().toString(),
                 f.db.rows(QStringLiteral("SELECT %1 FROM tblTel WHERE Category = '%2' ORDER BY SortKey, rowid")
                               .arg(field, QLatin1String(book)))
                     .constLast());
        grid->view()->scrollToBottom();
        QCOMPARE(DirectoryFixture::column(grid, 0).size(), 750);
        QCOMPARE(DirectoryFixture::column(grid, 0).removeDuplicates(), 0);
    }
}

void TestDirectoryWindow::gridEditReachesTheFile_data()
{
    QTest::addColumn<QString>("book");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field"); // of Jo Adams's row in that book
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("said"); // a part of the one message shown, or empty for none

    QTest::newRow("personal first name") << "Personal" << 1 << "Joanna"
                                         << "Fname"
                                         << "Joanna"
                                         << "";
    QTest::newRow("beyond the field's width: refused, never cut") << "Personal" << 1 << "Maximilianopolis-X"
                                                                  << "Fname"
                                                                  << "Jo"
                                                                  << "First Name holds at most 15 characters";
    QTest::newRow("business name") << "Business" << 0 << "Orbit & Co"
                                   << "BusName"
                                   << "Orbit & Co"
                                   << "";
    QTest::newRow("a number typed with its own signs goes into the mask") << "Personal" << 2 << "(503) 555-0000"
                                                                          << "Tel1"
                                                                          << "503 - 5550000"
                                                                          << "";
    QTest::newRow("a number typed in part") << "Business" << 5 << "0501"
                                            << "Pel"
                                            << "050 - 1______"
                                            << "";
}

void TestDirectoryWindow::gridEditReachesTheFile()
{
    QFETCH(QString, book);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(QString, stored);
    QFETCH(QString, said);

    DirectoryFixture f;
    f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Jo"), QStringLiteral("Adams"));
    f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Al"), QStringLiteral("Brown"));
    f.db.addTel(QStringLiteral("Business"), QStringLiteral("Jo"), QStringLiteral("Adams"), QStringLiteral("Acme"));
    QVERIFY(f.open());
    f.chooseBook(book);
    QTableView* view = f.visibleGrid()->view();
    const QRect cell = view->visualRect(view->model()->index(0, column));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return); // the editor commits once the key is handled

    QTRY_COMPARE(
        f.db.rows(QStringLiteral("SELECT %1 FROM tblTel WHERE Category = '%2' AND Lname = 'Adams'").arg(field, book)),
        QStringList{stored});
    QStringList messages;
    QTRY_COMPARE((messages += MessageBox::takeMessages()).size(), said.isEmpty() ? 0 : 1);
    if (!said.isEmpty()) {
        QVERIFY2(messages.first().contains(said), qPrintable(messages.first()));
        QCOMPARE(view->model()->index(0, column).data().toString(), stored); // the cell shows what is stored
    }
}

void TestDirectoryWindow::gridDeletionAsksFirst_data()
{
    QTest::addColumn<QString>("book");
    QTest::addColumn<bool>("confirm");

    QTest::newRow("personal, confirmed") << "Personal" << true;
    QTest::newRow("personal, declined") << "Personal" << false;
    QTest::newRow("business, confirmed") << "Business" << true;
}

void TestDirectoryWindow::gridDeletionAsksFirst()
{
    QFETCH(QString, book);
    QFETCH(bool, confirm);

    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    f.chooseBook(book);
    const int before = f.db.count(QStringLiteral("tblTel"));
    QTableView* view = f.visibleGrid()->view();
    const QString first = view->model()->index(0, 0).data().toString();

    // A click on the record selector selects the whole row; Delete then asks.
    QHeaderView* selector = view->verticalHeader();
    QTest::mouseClick(selector->viewport(), Qt::LeftButton, {},
                      QPoint(selector->width() / 2, selector->sectionViewportPosition(0) + 4));
    QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
    const int asked = MessageBox::questionsAsked();
    MessageBox::setNextAnswer(confirm);
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(MessageBox::questionsAsked(), asked + 1);
    // Undo brings a deletion back: the question must not say it is final.
    const QStringList asking = MessageBox::takeMessages();
    QCOMPARE(asking.size(), 1);
    QVERIFY2(asking.first().contains(QLatin1String("Undo")) && !asking.first().contains(QLatin1String("cannot")),
             qPrintable(asking.first()));

    QCOMPARE(f.db.count(QStringLiteral("tblTel")), confirm ? before - 1 : before);
    const QString sortField = book == QLatin1String("Business") ? QStringLiteral("BusName") : QStringLiteral("Lname");
    QCOMPARE(f.db.rows(QStringLiteral("SELECT count(*) FROM tblTel WHERE %1 IS '%2'").arg(sortField, first)),
             QStringList{confirm ? QStringLiteral("0") : QStringLiteral("1")});
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).contains(first), !confirm);
}

void TestDirectoryWindow::gifsThatCannotPlayLeaveViewsEmpty_data()
{
    QTest::addColumn<QByteArray>("content"); // of both files; null: no files at all

    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not a picture") << QByteArray("this is no picture at all");
    QFile gif(QStringLiteral(TOVRIN_RESOURCES "/Kesh1.gif"));
    QVERIFY(gif.open(QIODevice::ReadOnly));
    QTest::newRow("cut short") << gif.read(40);
}

void TestDirectoryWindow::gifsThatCannotPlayLeaveViewsEmpty()
{
    QFETCH(QByteArray, content);

    DirectoryFixture f;
    seedBooks(f.db);
    if (!content.isNull()) {
        for (const char* name : {"Kesh1.gif", "engbaner.gif"}) {
            QFile file(f.db.dir() + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
    }
    QVERIFY(f.open());
    QVERIFY(MessageBox::takeMessages().isEmpty());
    for (const char* name : {"DXGif1", "DXGif2"}) {
        auto* view = f.find<QLabel>(QLatin1String(name));
        QTRY_VERIFY(!view->movie() || view->movie()->state() == QMovie::NotRunning);
        const QImage shot = view->grab().toImage();
        for (int y = 0; y < shot.height(); y += 4) {
            for (int x = 0; x < shot.width(); x += 4)
                QCOMPARE(shot.pixelColor(x, y), QColor(Qt::black));
        }
    }
    // The window works on.
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).size(), 7);
    f.search(QStringLiteral("zeta"));
    QCOMPARE(f.foundNames(), QStringList{QStringLiteral("Ike  Carter")});
}

void TestDirectoryWindow::missingDatabaseEndsTheLoad()
{
    DirectoryFixture f;
    QVERIFY(QFile::remove(f.db.path()));
    QVERIFY(!f.open());
    QVERIFY(ErrorPath::hasEnded());
    const QStringList messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().startsWith(QStringLiteral("Error ")));
    QVERIFY(messages.first().contains(QStringLiteral("Dalvek.mdb")));
    QVERIFY(!QFile::exists(f.db.path())); // never created
    QTRY_COMPARE(f.frame.mdiArea()->subWindowList().size(), 0);
}

void TestDirectoryWindow::entryOpensFromItsRowAndItsBlock_data()
{
    QTest::addColumn<QString>("book");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("opened"); // the sort name of the entry the entry window is given; empty: none

    QTest::newRow("Enter on a row chosen by its record selector") << "Personal"
                                                                  << "selector Enter"
                                                                  << "Cole";
    QTest::newRow("Enter on a cell: no entry opens") << "Personal"
                                                     << "cell Enter"
                                                     << "";
    QTest::newRow("double click on the record selector") << "Business"
                                                         << "selector double click"
                                                         << "zeta ltd";
    QTest::newRow("Open Entry... of the context menu") << "Business"
                                                       << "menu"
                                                       << "zeta ltd";
    QTest::newRow("double click on a line of a result block") << "Personal"
                                                              << "result"
                                                              << "Cole";
}

void TestDirectoryWindow::entryOpensFromItsRowAndItsBlock()
{
    QFETCH(QString, book);
    QFETCH(QString, how);
    QFETCH(QString, opened);

    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    f.chooseBook(book);
    QTableView* view = f.visibleGrid()->view();
    const int row =
        DirectoryFixture::column(f.visibleGrid(), 0).indexOf(book == QLatin1String("Business") ? "zeta ltd" : "Cole");
    QHeaderView* selector = view->verticalHeader();
    const QPoint onSelector(selector->width() / 2, selector->sectionViewportPosition(row) + 4);
    ProbeWindow::openedWith = QVariant();
    QPointer<frmMain> before = f.window;
    if (how == QLatin1String("selector Enter")) {
        QTest::mouseClick(selector->viewport(), Qt::LeftButton, {}, onSelector);
        QTest::keyClick(view, Qt::Key_Return);
    } else if (how == QLatin1String("cell Enter")) {
        view->setFocus();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 1)).center());
        QTest::keyClick(view, Qt::Key_Return);
    } else if (how == QLatin1String("selector double click")) {
        QTest::mouseDClick(selector->viewport(), Qt::LeftButton, {}, onSelector);
    } else if (how == QLatin1String("menu")) {
        view->setCurrentIndex(view->model()->index(row, 2));
        QAction* open = gridCommand(f, QStringLiteral("Open Entry..."));
        QVERIFY(open);
        open->trigger();
    } else {
        f.search(QStringLiteral("Cole"));
        QCOMPARE(f.resultLines().size(), 10);
        const QModelIndex line = f.lstResult()->model()->index(5, 0);
        QTest::mouseClick(f.lstResult()->viewport(), Qt::LeftButton, {}, f.lstResult()->visualRect(line).center());
        QTest::mouseDClick(f.lstResult()->viewport(), Qt::LeftButton, {}, f.lstResult()->visualRect(line).center());
    }
    if (opened.isEmpty()) {
        QVERIFY(f.window);
        QCOMPARE(WindowSwitch::current(), f.window.data());
        return;
    }
    QTRY_VERIFY(!before);
    QCOMPARE(WindowSwitch::current()->objectName(), QStringLiteral("frmAdd"));
    const QString field = book == QLatin1String("Business") ? QStringLiteral("BusName") : QStringLiteral("Lname");
    const qint64 key =
        f.db.rows(QStringLiteral("SELECT rowid FROM tblTel WHERE %1 = '%2'").arg(field, opened)).value(0).toLongLong();
    QCOMPARE(ProbeWindow::openedWith.toLongLong(), key);

    // Back from the entry, the directory shows its book with the entry chosen.
    f.window = qobject_cast<frmMain*>(
        WindowSwitch::switchTo(WindowSwitch::current(), QStringLiteral("frmMain"), QVariantList{book, key}));
    QVERIFY(f.window);
    QCOMPARE(f.cmbType()->currentText(), book);
    QCOMPARE(f.visibleGrid()->view()->currentIndex().siblingAtColumn(0).data().toString(), opened);
}

void TestDirectoryWindow::buttonsSwitchAndReturnLoadsAfresh_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Add New Number") << "cmdAdd";
    QTest::newRow("Messages") << "cmdMessages";
}

void TestDirectoryWindow::buttonsSwitchAndReturnLoadsAfresh()
{
    QFETCH(QString, button);

    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    f.chooseBook(QStringLiteral("Business"));
    QTest::mouseClick(f.letter('C'), Qt::LeftButton);
    f.search(QStringLiteral("co"));
    QVERIFY(f.lstResult()->model()->rowCount() > 0);

    QPointer<frmMain> before = f.window;
    QTest::mouseClick(f.find<QPushButton>(button), Qt::LeftButton);
    QTRY_VERIFY(!before);
    QVERIFY(WindowSwitch::current());
    QCOMPARE(WindowSwitch::current()->caption(), QStringLiteral("Probe"));
    QCOMPARE(f.frame.mdiArea()->subWindowList().size(), 1);

    f.window = qobject_cast<frmMain*>(WindowSwitch::switchTo(WindowSwitch::current(), QStringLiteral("frmMain")));
    QVERIFY(f.window);
    QCOMPARE(f.cmbType()->currentText(), QStringLiteral("Personal"));
    QCOMPARE(f.checkedOt(), QList<int>{27});
    QCOMPARE(f.visibleGrid()->objectName(), QStringLiteral("dbgPer"));
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).size(), 7);
    QCOMPARE(f.txtMila()->text(), frmMain::SearchPrompt);
    QCOMPARE(f.lstResult()->model()->rowCount(), 0);
}

void TestDirectoryWindow::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("button"); // "optOt(index)" for a button of the letter strip
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("window");    // the window shown after the press
    QTest::addColumn<QList<int>>("letter"); // the directory's letter down after the press
    QTest::addColumn<QStringList>("names"); // and the rows its grid lists

    QTest::newRow("letter C") << "optOt(3)" << int(Qt::Key_Return) << "frmMain" << QList<int>{3}
                              << QStringList{"cohen", "Cole"};
    QTest::newRow("All, keypad Enter") << "optOt(27)" << int(Qt::Key_Enter) << "frmMain" << QList<int>{27}
                                       << QStringList{QString(), " Xavier", "3com", "adams", "Baker", "cohen", "Cole"};
    QTest::newRow("Add New Number") << "cmdAdd" << int(Qt::Key_Return) << "frmAdd" << QList<int>{} << QStringList{};
    QTest::newRow("Messages, keypad Enter")
        << "cmdMessages" << int(Qt::Key_Enter) << "frmMes" << QList<int>{} << QStringList{};
}

void TestDirectoryWindow::enterPressesTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(QString, window);
    QFETCH(QList<int>, letter);
    QFETCH(QStringList, names);

    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    // "B" first, so that the press shows in the strip and the grid whichever letter it picks.
    QTest::mouseClick(f.letter('B'), Qt::LeftButton);
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0), QStringList{QStringLiteral("Baker")});

    QPushButton* target = button.startsWith(QLatin1String("optOt(")) ? f.ot(button.mid(6, button.size() - 7).toInt())
                                                                     : f.find<QPushButton>(button);
    QVERIFY(target);
    target->setFocus(Qt::TabFocusReason);
    QVERIFY(target->hasFocus());
    QPointer<frmMain> before = f.window;
    QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

    QVERIFY(WindowSwitch::current());
    QCOMPARE(WindowSwitch::current()->objectName(), window);
    // A switch unloads the directory window; a letter keeps it.
    QTRY_COMPARE(bool(before), window == QLatin1String("frmMain"));
    if (!before)
        return;
    QCOMPARE(f.checkedOt(), letter);
    QStringList shown = DirectoryFixture::column(f.visibleGrid(), 0);
    shown.sort(Qt::CaseInsensitive);
    QCOMPARE(shown, names);
    QVERIFY(MessageBox::takeMessages().isEmpty());
}

void TestDirectoryWindow::enterOnExitEndsTheProgram()
{
    DirectoryFixture f;
    QVERIFY(f.open());
    auto* exit = f.find<QPushButton>(QStringLiteral("cmdEnd"));
    exit->setFocus(Qt::TabFocusReason);
    QVERIFY(exit->hasFocus());
    // The key goes in from the program's own event loop, which "Exit" ends; one still running after two seconds
    // was not ended. (Run here, the loop leaves the test's own event loops working afterwards.)
    QTimer press;
    press.setSingleShot(true);
    connect(&press, &QTimer::timeout, exit, [exit] { QTest::keyClick(exit, Qt::Key_Return); });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    press.start(0);
    giveUp.start(2000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!f.frame.isVisible());
}

void TestDirectoryWindow::busyFileIsReportedAndTheWindowStays_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("search") << QStringLiteral("search");
    QTest::newRow("letter") << QStringLiteral("letter");
}

void TestDirectoryWindow::busyFileIsReportedAndTheWindowStays()
{
    QFETCH(QString, action);

    DirectoryFixture f;
    seedBooks(f.db);
    QVERIFY(f.open());
    int waits = 0;
    Database::setBusyNotifier([&waits] { ++waits; });
    const auto act = [&] {
        if (action == QLatin1String("search"))
            f.search(QStringLiteral("co"));
        else
            QTest::mouseClick(f.letter('C'), Qt::LeftButton);
    };

    // Another program in the middle of a long write holds the file.
    QCOMPARE(f.db.exec(QStringLiteral("BEGIN EXCLUSIVE; UPDATE tblMes SET Avur = 'Other'")), SQLITE_OK);
    act();
    Database::setBusyNotifier({});
    QVERIFY(waits > 0);
    const QStringList messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.at(0).contains(QStringLiteral("in use by another program")), qPrintable(messages.at(0)));
    QVERIFY(!ErrorPath::hasEnded());
    QVERIFY(f.window);

    // Once it lets go, the same action works in the same window.
    QCOMPARE(f.db.exec(QStringLiteral("ROLLBACK")), SQLITE_OK);
    f.db.close();
    act();
    QVERIFY(MessageBox::takeMessages().isEmpty());
    if (action == QLatin1String("search"))
        QCOMPARE(f.foundNames(), (QStringList{"Ann  cohen", "Ed  Cole", "Fay  3com", "Kim  Cohen"}));
    else
        QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).size(), 2);
}

void TestDirectoryWindow::returningShowsAnotherCopysSave()
{
    DirectoryFixture f;
    seedBooks(f.db);
    f.db.close();
    QVERIFY(f.open());
    DataGrid* grid = f.visibleGrid();
    QCOMPARE(DirectoryFixture::column(grid, 0).size(), 7);

    // Another copy of the program saves while this one is in the background; coming back shows it.
    f.db.addTel(QStringLiteral("Personal"), QStringLiteral("New"), QStringLiteral("Newman"));
    f.db.close();
    QEvent activated(QEvent::WindowActivate); // as the frame passes it on (the real frame: x11_follow)
    QApplication::sendEvent(f.window, &activated);
    QVERIFY(DirectoryFixture::column(grid, 0).contains(QStringLiteral("Newman")));

    // Nothing changed meanwhile: the grid stays where the user left it.
    grid->view()->setCurrentIndex(grid->model()->index(3, 0));
    QApplication::sendEvent(f.window, &activated);
    QCOMPARE(grid->view()->currentIndex().row(), 3);
}

void TestDirectoryWindow::readOnlyFolderShowsEverythingAndRefusesWrites()
{
    DirectoryFixture f;
    seedBooks(f.db);
    f.db.close();
    QCOMPARE(chmod(f.db.dir().toUtf8().constData(), 0555), 0);
    const auto restore = qScopeGuard([&] { chmod(f.db.dir().toUtf8().constData(), 0700); });
    AsNobody nobody;
    if (!nobody.permissionsApply())
        QSKIP("running as root without the right to become another user: permissions cannot be tested");

    QVERIFY(f.open());
    QVERIFY(!ErrorPath::hasEnded());
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0).size(), 7);
    QStringList messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.at(0).contains(QStringLiteral("cannot be saved")), qPrintable(messages.at(0)));

    f.search(QStringLiteral("co"));
    QCOMPARE(f.foundNames(), (QStringList{"Ann  cohen", "Ed  Cole", "Fay  3com", "Kim  Cohen"}));
    GridModel* model = f.visibleGrid()->model();
    const QString was = model->index(0, 0).data().toString();
    QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("Changed")));
    messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.at(0).contains(QStringLiteral("read-only")), qPrintable(messages.at(0)));
    QCOMPARE(model->index(0, 0).data().toString(), was);

    // Said once a run: the window loaded again does not say it again.
    f.window->unload();
    QVERIFY(f.open());
    QVERIFY(MessageBox::takeMessages().isEmpty());
}

void TestDirectoryWindow::contactsComeInAndGoOutWithoutNewControls()
{
    DirectoryFixture f;
    f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
    f.db.close();
    QVERIFY(f.open());
    const QString cards = f.db.dir() + QStringLiteral("/in.vcf");
    QFile file(cards);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Baker;Bob\r\nTEL;TYPE=CELL:0521234567\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Cole;Cy\r\nORG:Cargo Inc\r\nEND:VCARD\r\n");
    file.close();

    // Both book grids carry the commands in their context menu; the window keeps its controls.
    const auto action = [&](const QString& text) { return gridCommand(f, text); };
    for (const char* text : {"Import Contacts...", "Export This Book...", "Export Both Books...", "Print This Book...",
                             "Save This Book as PDF..."})
        QVERIFY2(action(QLatin1String(text)), text);

    // Import: the preview first (declined: nothing written), then accepted.
    FileDialogs::setNextFiles({cards});
    MessageBox::setNextAnswer(false);
    action(QStringLiteral("Import Contacts..."))->trigger();
    QStringList messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.at(0).contains(QStringLiteral("1 in \"Personal\", 1 in \"Business\"")),
             qPrintable(messages.at(0)));
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0), QStringList{"Adams"});
    FileDialogs::setNextFiles({cards});
    MessageBox::setNextAnswer(true);
    action(QStringLiteral("Import Contacts..."))->trigger();
    MessageBox::takeMessages();
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0), (QStringList{"Adams", "Baker"}));

    // Dropped on the window, the same file again: every entry is there already, so nothing more is written.
    QString said;
    dropOnWindow(f, cards, said);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(said.contains(QStringLiteral("0 new entries")), qPrintable(said));
    QCOMPARE(f.db.count(QStringLiteral("tblTel")), 3);

    // A link to the directory file is refused with a message, and the directory stays whole.
    const QString link = f.db.dir() + QStringLiteral("/link.csv");
    QVERIFY(QFile::link(f.db.path(), link));
    FileDialogs::setNextFiles({link}, QStringLiteral("CSV, UTF-8 (*.csv)"));
    action(QStringLiteral("Export Both Books..."))->trigger();
    messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.at(0).contains(link), qPrintable(messages.at(0)));
    QCOMPARE(f.db.count(QStringLiteral("tblTel")), 3);

    // Export of both books as CSV holds all three entries; a name typed without the extension gets it.
    const QString out = f.db.dir() + QStringLiteral("/out");
    FileDialogs::setNextFiles({out}, QStringLiteral("CSV, UTF-8 (*.csv)"));
    action(QStringLiteral("Export Both Books..."))->trigger();
    QFile exported(out + QStringLiteral(".csv"));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(exported.readAll());
    for (const char* name : {"Adams", "Baker", "Cargo Inc"})
        QVERIFY2(text.contains(QLatin1String(name)), qPrintable(text));
}

void TestDirectoryWindow::importRefusesWhatIsNoFile()
{
    DirectoryFixture f;
    f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
    f.db.close();
    QVERIFY(f.open());
    // A named pipe nobody writes to would keep a read waiting for ever; a folder is no file either.
    const QString pipe = f.db.dir() + QStringLiteral("/pipe.vcf");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = f.db.dir() + QStringLiteral("/contacts.csv");
    QVERIFY(QDir().mkdir(folder));
    const auto action = [&](const QString& text) { return gridCommand(f, text); };
    Deadline deadline(60, "the window's import of a named pipe");

    // Through "Import Contacts...": a message naming the file and what it is, and no preview.
    for (const auto& [path, what] :
         {std::pair{pipe, QStringLiteral("named pipe")}, std::pair{folder, QStringLiteral("folder")}}) {
        FileDialogs::setNextFiles({path});
        MessageBox::setNextAnswer(true);
        action(QStringLiteral("Import Contacts..."))->trigger();
        const QStringList messages = MessageBox::takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.at(0).contains(path) && messages.at(0).contains(what), qPrintable(messages.at(0)));
    }

    // Dropped on the window: the same.
    QString said;
    dropOnWindow(f, pipe, said);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(said.contains(pipe) && said.contains(QStringLiteral("named pipe")), qPrintable(said));
    QCOMPARE(f.db.count(QStringLiteral("tblTel")), 1);
}

// The preview lists the new entries checked and those already there unchecked; what is written is what is checked.
// The window then shows the book that received entries, its first new one selected.
void TestDirectoryWindow::thePreviewWritesWhatIsChecked()
{
    DirectoryFixture f;
    f.db.addTel(QStringLiteral("Personal"), QStringLiteral("Ann"), QStringLiteral("Adams"));
    f.db.close();
    QVERIFY(f.open());
    const QString cards = f.db.dir() + QStringLiteral("/in.vcf");
    QFile file(cards);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Adams;Ann\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Baker;Bob\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Zur;Zvi\r\nORG:Zeta\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Amir;Avi\r\nORG:Acme\r\nEND:VCARD\r\n");
    file.close();
    QAction* import = gridCommand(f, QStringLiteral("Import Contacts..."));
    QVERIFY(import);

    // Rows: Baker, Zeta and Acme (new), then Adams (already there). Baker is unchecked by the user.
    ImportPreview::setNextUnchecked({0});
    FileDialogs::setNextFiles({cards});
    MessageBox::setNextAnswer(true);
    import->trigger();
    const QStringList messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.at(0).contains(QStringLiteral("2 new entries: 0 in \"Personal\", 2 in \"Business\"")) &&
                 messages.at(0).contains(QStringLiteral("1 already in the directory")),
             qPrintable(messages.at(0)));
    QCOMPARE(f.cmbType()->currentText(), QStringLiteral("Business"));
    DataGrid* business = f.visibleGrid();
    QCOMPARE(business, f.grid(QStringLiteral("dbgBus")));
    const QStringList names = DirectoryFixture::column(business, 0);
    QCOMPARE(names, (QStringList{"Acme", "Zeta"}));
    QCOMPARE(business->view()->currentIndex().row(), int(names.indexOf(QStringLiteral("Zeta"))));
}

// Two files each with a problem in their first entry: each row shows its own, not the other file's.
void TestDirectoryWindow::eachPreviewRowShowsItsOwnProblems()
{
    TempDatabase db;
    db.close();
    ReadResult read;
    ContactImport::gather(read, ContactImport::readBytes("BEGIN:VCARD\r\nN:Cohen;Dana;Ruth\r\nEND:VCARD\r\n", "a.vcf"),
                          QStringLiteral("a.vcf"), true);
    ContactImport::gather(read, ContactImport::readBytes("First Name,Mobile Phone\nDan,12\n", "b.csv"),
                          QStringLiteral("b.csv"), true);
    PreviewEntries entries;
    entries.setPlan(ContactImport::plan(std::move(read), db.path()));
    QCOMPARE(entries.rowCount(), 2);
    QStringList shown;
    for (int row = 0; row < 2; ++row) {
        shown << entries.index(row, 2).data().toString() + QStringLiteral(": ") +
                     entries.index(row, entries.columnCount() - 1).data().toString();
    }
    QVERIFY2(shown.at(0).startsWith(QLatin1String("Dana: N \"Ruth\"")) && !shown.at(0).contains(QLatin1String("12")),
             qPrintable(shown.at(0)));
    QVERIFY2(shown.at(1).startsWith(QLatin1String("Dan: Pel \"12\"")) && !shown.at(1).contains(QLatin1String("Ruth")),
             qPrintable(shown.at(1)));
}

void TestDirectoryWindow::thePreviewCountsValuesOfWhatIsChecked_data()
{
    QTest::addColumn<QList<int>>("unchecked");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("ruth"); // Dana's additional name is listed

    // Two e-mail addresses make one line of two values; Dana's additional name is a line of its own.
    QTest::newRow("every entry") << QList<int>{} << "3 values not carried over" << true;
    QTest::newRow("Dana unchecked") << QList<int>{0} << "2 values not carried over" << false;
}

void TestDirectoryWindow::thePreviewCountsValuesOfWhatIsChecked()
{
    QFETCH(QList<int>, unchecked);
    QFETCH(QString, heading);
    QFETCH(bool, ruth);

    TempDatabase db;
    db.close();
    PreviewEntries entries;
    entries.setPlan(ContactImport::plan(
        ContactImport::readBytes("BEGIN:VCARD\r\nN:Cohen;Dana;Ruth\r\nEMAIL:d@example.org\r\nEND:VCARD\r\n"
                                 "BEGIN:VCARD\r\nN:Katz;Eli\r\nEMAIL:e@example.org\r\nEND:VCARD\r\n",
                                 "a.vcf"),
        db.path()));
    for (const int row : unchecked)
        entries.setData(entries.index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
    const QString summary = ContactImport::summary(entries.chosenPlan());
    QVERIFY2(summary.contains(heading) && summary.contains(QLatin1String("2 values left out")) &&
                 summary.contains(QLatin1String("Ruth")) == ruth,
             qPrintable(summary));
}

void TestDirectoryWindow::thePreviewKeepsItsChoicesAndFitsTheScreen()
{
    DirectoryFixture f;
    QVERIFY(f.open());
    QStringList header;
    QStringList values;
    for (int c = 1; c <= 38; ++c) {
        header << (c == 1 ? QStringLiteral("Last Name") : QStringLiteral("Custom %1").arg(c));
        values << QStringLiteral("v%1").arg(c);
    }
    const QString csv = f.db.dir() + QStringLiteral("/wide.csv");
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((header.join(QLatin1Char(',')) + QLatin1Char('\n') + values.join(QLatin1Char(',')) + QLatin1Char('\n'))
                   .toUtf8());
    file.close();
    bool looked = false;
    ImportPreview::setNextLook([&looked](QDialog& preview) {
        looked = true;
        // Opened on a small screen, it fits it.
        const QSize screen = preview.screen()->availableGeometry().size();
        QVERIFY(preview.width() <= screen.width() && preview.height() <= screen.height());
        QVERIFY(preview.minimumSizeHint().height() <= screen.height());
        // The wheel over a closed chooser changes nothing.
        auto* last = preview.findChild<QComboBox*>(QStringLiteral("cmbColumn1"));
        QVERIFY(last);
        last->setFocus();
        QWheelEvent wheel(QPointF(5, 5), last->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(last, &wheel);
        QCOMPARE(last->currentText(), QStringLiteral("Last Name"));
        // With more room, the choosers take it.
        auto* choosers = qobject_cast<QScrollArea*>(last->parentWidget()->parentWidget()->parentWidget());
        QVERIFY(choosers);
        preview.show();
        preview.resize(900, 500);
        QApplication::processEvents();
        const int small = choosers->height();
        preview.resize(900, 1000);
        QApplication::processEvents();
        QVERIFY2(choosers->height() > small + 100,
                 qPrintable(QStringLiteral("%1 %2").arg(small).arg(choosers->height())));
    });
    MessageBox::setNextAnswer(false);
    f.window->contacts->importFiles({csv});
    QVERIFY(looked);
    MessageBox::takeMessages();
}

void TestDirectoryWindow::thePreviewAsksForTheCountryOfNumbers_data()
{
    QTest::addColumn<QString>("set");    // in "Settings..." before the import; empty: none
    QTest::addColumn<QString>("chosen"); // in the preview; empty: none
    QTest::addColumn<QString>("tel1");
    QTest::addColumn<QString>("said");

    // The tests run under C.UTF-8, whose locale names no country.
    QTest::newRow("none chosen: the number is of another country") << ""
                                                                   << ""
                                                                   << "___ - _______"
                                                                   << "left out: a number of another country";
    QTest::newRow("the United States chosen") << ""
                                              << "US"
                                              << "503 - 5550000"
                                              << "";
    QTest::newRow("the United States set in Settings") << "US"
                                                       << ""
                                                       << "503 - 5550000"
                                                       << "";
}

void TestDirectoryWindow::thePreviewAsksForTheCountryOfNumbers()
{
    QFETCH(QString, set);
    QFETCH(QString, chosen);
    QFETCH(QString, tel1);
    QFETCH(QString, said);

    QVERIFY(PhoneNumbers::setRegion(QString(), true));
    const auto forget = qScopeGuard([] { PhoneNumbers::setRegion(QString(), true); });
    QCOMPARE(PhoneNumbers::defaultRegion(), QStringLiteral("ZZ"));
    DirectoryFixture f;
    QVERIFY(f.open());
    const QString cards = f.db.dir() + QStringLiteral("/in.vcf");
    QFile file(cards);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Baker;Bob\r\nTEL;TYPE=HOME:+1 503 555 0000\r\n"
               "ADR;TYPE=HOME:;;1 Main St;Milwaukee;WI;53202-1234;\r\nEND:VCARD\r\n");
    file.close();
    if (!set.isEmpty()) {
        // Chosen as a user would: the window's "Settings...", the country, OK.
        const QList<QAction*> actions = f.window->contacts->actions();
        const auto settings = std::find_if(actions.begin(), actions.end(), [](const QAction* action) {
            return action->text() == QLatin1String("Settings...");
        });
        QVERIFY(settings != actions.end());
        bool answered = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            auto* region = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("cmbRegion")) : nullptr;
            auto* buttons = dialog ? dialog->findChild<QDialogButtonBox*>() : nullptr;
            if (!region || !buttons)
                return;
            region->setCurrentIndex(region->findData(set));
            buttons->button(QDialogButtonBox::Ok)->click();
            answered = true;
        });
        (*settings)->trigger();
        QVERIFY(answered);
    }
    ImportPreview::setNextRegion(chosen);
    QString summary;
    dropOnWindow(f, cards, summary);
    QCOMPARE(f.db.rows(QStringLiteral("SELECT Tel1, Zip FROM tblTel")), QStringList{tel1 + QStringLiteral("|53202")});
    QVERIFY2(summary.contains(QLatin1String("stored as 53202, the +4 part 1234 left out")), qPrintable(summary));
    QCOMPARE(said.isEmpty() || summary.contains(said), true);
    // The choice stays for the next imports, and the next runs.
    const QString kept = chosen.isEmpty() ? set : chosen;
    QCOMPARE(PhoneNumbers::defaultRegion(), kept.isEmpty() ? QStringLiteral("ZZ") : kept);
    QCOMPARE(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tovrin"), QStringLiteral("Tovrin"))
                 .value(QStringLiteral("Numbers/region"))
                 .toString(),
             kept);
}

QTEST_MAIN(TestDirectoryWindow)
#include "tst_frmmain.moc"
