// The directory window's books: the book switch, the letter strip, the grids' edits and deletions, and the
// entry opened from its row or its block.
#include "DirectoryFixture.h"
#include "data/Book.h"
#include "data/SortKey.h"

#include <QHeaderView>

namespace {

const QString kAllPersonal = Query::book(Book::Personal).statement();

} // namespace

class TestDirectoryBooks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DirectoryFixture::setUpProgramWithProbes(); }

    void bookAndLetterShowOnlyTheirRows_data();
    void bookAndLetterShowOnlyTheirRows();
    void namesOutsideTheAlphabetOnlyUnderAll();
    void aLetterListsItsNamesInTheBooksOrder_data();
    void aLetterListsItsNamesInTheBooksOrder();
    void stripServesTheAlphabetOfTheBook_data();
    void stripServesTheAlphabetOfTheBook();
    void bookSwitchDropsTheLetter();
    void largeBooksListEveryRowInEitherGrid();
    void gridEditReachesTheFile_data();
    void gridEditReachesTheFile();
    void gridDeletionAsksFirst_data();
    void gridDeletionAsksFirst();
    void entryOpensFromItsRowAndItsBlock_data();
    void entryOpensFromItsRowAndItsBlock();
};

void TestDirectoryBooks::bookAndLetterShowOnlyTheirRows_data()
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

void TestDirectoryBooks::bookAndLetterShowOnlyTheirRows()
{
    QFETCH(QString, book);
    QFETCH(char, letter);
    QFETCH(QString, statement);
    QFETCH(QStringList, names);
    QFETCH(bool, sorted);

    DirectoryFixture f;
    f.seedBooks();
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

void TestDirectoryBooks::namesOutsideTheAlphabetOnlyUnderAll()
{
    DirectoryFixture f;
    f.seedBooks();
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

void TestDirectoryBooks::aLetterListsItsNamesInTheBooksOrder_data()
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

void TestDirectoryBooks::aLetterListsItsNamesInTheBooksOrder()
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

void TestDirectoryBooks::stripServesTheAlphabetOfTheBook_data()
{
    QTest::addColumn<QStringList>("personal"); // the personal book's last names; the business book holds Latin ones
    QTest::addColumn<QString>("strip");        // the captions of the strip's shown letters
    QTest::addColumn<int>("index");            // the letter pressed
    QTest::addColumn<QStringList>("listed");   // the names it lists, sorted

    const QString latin = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const QString hebrew = QStringLiteral("אבגדהוזחטיכלמנסעפצקרשת");
    const QStringList hebrewBook{"כהן", "לוי", "כץ", "אברהם", "Cohen", "ךרמי"};
    // Kaf is the 11th letter; its final form files under it.
    QTest::newRow("Hebrew names, kaf") << hebrewBook << hebrew << 11 << QStringList{"כהן", "כץ", "ךרמי"};
    QTest::newRow("Hebrew names, alef") << hebrewBook << hebrew << 1 << QStringList{"אברהם"};
    QTest::newRow("Latin names") << QStringList{"Cohen", "Adams", "כהן"} << latin << 3 << QStringList{"Cohen"};
}

void TestDirectoryBooks::stripServesTheAlphabetOfTheBook()
{
    QFETCH(QStringList, personal);
    QFETCH(QString, strip);
    QFETCH(int, index);
    QFETCH(QStringList, listed);

    DirectoryFixture f;
    for (const QString& name : personal)
        f.db.addTel(QStringLiteral("Personal"), QString(), name);
    f.db.addTel(QStringLiteral("Business"), QString(), QStringLiteral("Zorn"), QStringLiteral("Acme"));
    QVERIFY(f.open());
    const auto shownLetters = [&] {
        QString shown;
        for (int i = 1; i <= 26; ++i)
            shown += f.ot(i)->isHidden() ? QString() : f.ot(i)->text();
        return shown;
    };
    QCOMPARE(shownLetters(), strip);
    QTest::mouseClick(f.ot(index), Qt::LeftButton);
    QStringList names = DirectoryFixture::column(f.visibleGrid(), 0);
    names.sort();
    std::sort(listed.begin(), listed.end());
    QCOMPARE(names, listed);

    f.chooseBook(QStringLiteral("Business"));
    QCOMPARE(shownLetters(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
}

void TestDirectoryBooks::bookSwitchDropsTheLetter()
{
    DirectoryFixture f;
    f.seedBooks();
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

void TestDirectoryBooks::largeBooksListEveryRowInEitherGrid()
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

void TestDirectoryBooks::gridEditReachesTheFile_data()
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

void TestDirectoryBooks::gridEditReachesTheFile()
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

void TestDirectoryBooks::gridDeletionAsksFirst_data()
{
    QTest::addColumn<QString>("book");
    QTest::addColumn<bool>("confirm");

    QTest::newRow("personal, confirmed") << "Personal" << true;
    QTest::newRow("personal, declined") << "Personal" << false;
    QTest::newRow("business, confirmed") << "Business" << true;
}

void TestDirectoryBooks::gridDeletionAsksFirst()
{
    QFETCH(QString, book);
    QFETCH(bool, confirm);

    DirectoryFixture f;
    f.seedBooks();
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

void TestDirectoryBooks::entryOpensFromItsRowAndItsBlock_data()
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

void TestDirectoryBooks::entryOpensFromItsRowAndItsBlock()
{
    QFETCH(QString, book);
    QFETCH(QString, how);
    QFETCH(QString, opened);

    DirectoryFixture f;
    f.seedBooks();
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
        QAction* open = f.gridCommand(QStringLiteral("Open Entry..."));
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

QTEST_MAIN(TestDirectoryBooks)
#include "tst_dirbooks.moc"
