// The free-text search of the directory window: the statement, what it finds, the ten-line blocks, the search
// box's keys and focus, and a result of a million lines.
#include "DirectoryFixture.h"
#include "directory/ResultLines.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QIdentityProxyModel>
#include <QSignalSpy>

namespace {

const QString kRule = QStringLiteral("=============================");

// Counts the focus gains of a widget.
class FocusCounter : public QObject
{
public:
    int gains = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            ++gains;
        return false;
    }
};

class CountingProxy : public QIdentityProxyModel
{
public:
    mutable int reads = 0;
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            ++reads;
        return QIdentityProxyModel::data(index, role);
    }
};

// Adds an entry with every searched column given; an empty value is stored as the empty text, a null QString as no
// value at all.
void addEntry(TempDatabase& db, const QString& category, const QStringList& v)
{
    QStringList values;
    for (const QString& s : v)
        values << (s.isNull() ? QStringLiteral("NULL")
                              : QLatin1Char('\'') + QString(s).replace(QLatin1Char('\''), QLatin1String("''")) +
                                    QLatin1Char('\''));
    QCOMPARE(db.exec(QStringLiteral("INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, "
                                    "Tel1, Tel2, Pel, Fax) VALUES ('%1', %2)")
                         .arg(category, values.join(QStringLiteral(", ")))),
             0);
}

const QString kNoPhone = QStringLiteral("___ - _______");

void seedSearchBook(TempDatabase& db)
{
    const QString p = QStringLiteral("Personal");
    const QString b = QStringLiteral("Business");
    // Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, Fax
    addEntry(db, p,
             {"John", "Smith", " ", "5 Elm St", "Springfield", "IL", "62701", "052 - 1234567", kNoPhone, kNoPhone,
              kNoPhone});
    addEntry(
        db, p,
        {"Sean", "O'Brien", " ", "Unit [4] Quay", "Cork", "", "_____", kNoPhone, "021 - 4445555", kNoPhone, kNoPhone});
    addEntry(db, p, {"Dana", "Cohen", " ", "", "Haifa", "", "_____", kNoPhone, kNoPhone, "054 - 7654321", kNoPhone});
    addEntry(db, p, {"רות", "כהן", " ", "", "", "", "_____", kNoPhone, kNoPhone, kNoPhone, kNoPhone});
    addEntry(db, b,
             {"Mia", "Ray", "Acme Tools", "9 Dock Rd", "Boston", "MA", "02110", kNoPhone, kNoPhone, kNoPhone,
              "617 - 5550100"});
    // A row that holds nothing in the searched columns: no pattern matches a column without a value.
    addEntry(db, b,
             {QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(),
              QString(), QString()});
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DirectoryFixture::setUpProgram(); }

    void blocksAreWrittenToTheCharacter_data();
    void blocksAreWrittenToTheCharacter();
    void findsWhatTheColumnsHold_data();
    void findsWhatTheColumnsHold();
    void statementCarriesTheTextElevenTimes_data();
    void statementCarriesTheTextElevenTimes();
    void secondSearchReplacesTheFirst();
    void promptComesBackSelectedWithTheFocus();
    void everyFocusGainSelectsTheText_data();
    void everyFocusGainSelectsTheText();
    void keysReachTheBoxUnchanged();
    void searchLeavesBookLetterAndGridAlone();
    void refusedStatementTakesTheErrorPath();
    void resultLinesModelHoldsLongValues();
    void mixedLinesKeepEachValuesOrder_data();
    void mixedLinesKeepEachValuesOrder();
    void millionLinesStayResponsive();
};

void TestSearch::blocksAreWrittenToTheCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("block");

    QTest::newRow("personal") << "smith"
                              << QStringList{"John  Smith",
                                             " ",
                                             "Address : 5 Elm St",
                                             "                  Springfield , IL , 62701",
                                             "Cellular : ___ - _______",
                                             "Telephone  : 052 - 1234567  /  ___ - _______",
                                             "Fax        : ___ - _______",
                                             kRule,
                                             kRule,
                                             " "};
    QTest::newRow("business") << "acme"
                              << QStringList{"Mia  Ray",
                                             "Acme Tools",
                                             "Address : 9 Dock Rd",
                                             "                  Boston , MA , 02110",
                                             "Cellular : ___ - _______",
                                             "Telephone  : ___ - _______  /  ___ - _______",
                                             "Fax        : 617 - 5550100",
                                             kRule,
                                             kRule,
                                             " "};
    QTest::newRow("columns without a value add nothing")
        << "lone" << QStringList{"  Lone",        "",
                                 "Address : ",    "                   ,  , ",
                                 "Cellular : ",   "Telephone  :   /  ",
                                 "Fax        : ", kRule,
                                 kRule,           " "};
}

void TestSearch::blocksAreWrittenToTheCharacter()
{
    QFETCH(QString, text);
    QFETCH(QStringList, block);

    DirectoryFixture f;
    seedSearchBook(f.db);
    addEntry(f.db, QStringLiteral("Personal"),
             {QString(), "Lone", QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(),
              QString()});
    QVERIFY(f.open());
    f.search(text);
    QCOMPARE(f.resultLines(), block);
    QCOMPARE(kRule.size(), 29);
}

void TestSearch::findsWhatTheColumnsHold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");

    const QString smith = QStringLiteral("John  Smith");
    const QString obrien = QStringLiteral("Sean  O'Brien");
    const QString cohen = QStringLiteral("Dana  Cohen");
    const QString hebrew = QStringLiteral("רות  כהן");
    const QString ray = QStringLiteral("Mia  Ray");

    QTest::newRow("first name, other case") << "JOHN" << QStringList{smith};
    QTest::newRow("last name, lower case") << "smith" << QStringList{smith};
    QTest::newRow("business name") << "tools" << QStringList{ray};
    QTest::newRow("address") << "elm" << QStringList{smith};
    QTest::newRow("city") << "SPRING" << QStringList{smith};
    QTest::newRow("state") << "ma" << QStringList{ray};
    QTest::newRow("zip") << "0211" << QStringList{ray};
    QTest::newRow("Tel1, seven digits") << "1234567" << QStringList{smith};
    QTest::newRow("Tel1, ten digits together") << "0521234567" << QStringList{};
    QTest::newRow("Tel1, across the literal") << "2 - 1" << QStringList{smith};
    QTest::newRow("Tel2") << "4445555" << QStringList{obrien};
    QTest::newRow("Pel") << "7654321" << QStringList{cohen};
    QTest::newRow("Fax") << "5550100" << QStringList{ray};
    QTest::newRow("Hebrew") << "כהן" << QStringList{hebrew};
    QTest::newRow("# is any digit") << "#" << QStringList{ray, obrien, cohen, smith};
    QTest::newRow("? is any one character") << "?mith" << QStringList{smith};
    QTest::newRow("a set") << "[sz]mith" << QStringList{smith};
    QTest::newRow("empty text: every row with a value") << "" << QStringList{hebrew, ray, obrien, cohen, smith};
    QTest::newRow("the prompt itself") << frmMain::searchPrompt() << QStringList{};
    QTest::newRow("apostrophe in a name") << "O'Brien" << QStringList{obrien};
    QTest::newRow("apostrophe alone") << "'" << QStringList{obrien};
    QTest::newRow("unclosed [ stands for itself") << "[4" << QStringList{obrien};
    QTest::newRow("no SQL wildcards") << "%" << QStringList{};
    QTest::newRow("text that tries to end the pattern") << "x') OR (Fname LIKE '*" << QStringList{};
}

void TestSearch::findsWhatTheColumnsHold()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);

    DirectoryFixture f;
    seedSearchBook(f.db);
    QVERIFY(f.open());
    f.search(text);
    found.sort();
    QCOMPARE(f.foundNames(), found);
    QCOMPARE(f.resultLines().size(), found.size() * 10);
    // The status line counts what was found, by entries, and names the text searched for.
    const QString counted = found.isEmpty()     ? QStringLiteral("No entry holds \"%1\".").arg(text)
                            : found.size() == 1 ? QStringLiteral("1 entry holds \"%1\".").arg(text)
                                                : QStringLiteral("%1 entries hold \"%2\".").arg(found.size()).arg(text);
    QCOMPARE(f.frame.statusText(), counted);
    QCOMPARE(MessageBox::takeMessages(), QStringList());
    QVERIFY(!ErrorPath::hasEnded());
}

void TestSearch::statementCarriesTheTextElevenTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("statement");

    // The search as the data layer writes it for the text as typed (its text is checked there).
    for (const char* text : {"smith", " Ab#* ", "", "O'Brien"})
        QTest::newRow(text) << QString::fromUtf8(text) << Query::search(QString::fromUtf8(text)).statement();
}

void TestSearch::statementCarriesTheTextElevenTimes()
{
    QFETCH(QString, text);
    QFETCH(QString, statement);

    DirectoryFixture f;
    QVERIFY(f.open());
    f.search(text);
    QCOMPARE(gRecordSource, statement);
    QCOMPARE(f.find<DataControl>(QStringLiteral("datSearch"))->RecordSource(), statement);
}

void TestSearch::secondSearchReplacesTheFirst()
{
    DirectoryFixture f;
    seedSearchBook(f.db);
    QVERIFY(f.open());
    f.search(QStringLiteral("#"));
    QCOMPARE(f.resultLines().size(), 40);
    f.search(QStringLiteral("cork"));
    QCOMPARE(f.foundNames(), QStringList{QStringLiteral("Sean  O'Brien")});
    QCOMPARE(f.resultLines().size(), 10);
    f.search(QStringLiteral("nobody"));
    QCOMPARE(f.resultLines(), QStringList());
}

void TestSearch::promptComesBackSelectedWithTheFocus()
{
    DirectoryFixture f;
    seedSearchBook(f.db);
    QVERIFY(f.open());
    FocusCounter comboFocus;
    f.cmbType()->installEventFilter(&comboFocus);

    f.search(QStringLiteral("smith"));
    QLineEdit* box = f.txtMila();
    QCOMPARE(box->text(), frmMain::searchPrompt());
    QVERIFY(box->hasFocus());
    QCOMPARE(box->selectedText(), frmMain::searchPrompt());
    // The box got the focus back from the book selector, which is how its focus handler came to select.
    QCOMPARE(comboFocus.gains, 1);

    // Typing at once replaces the prompt.
    QTest::keyClicks(box, QStringLiteral("cohen"));
    QCOMPARE(box->text(), QStringLiteral("cohen"));
    QTest::keyClick(box, Qt::Key_Enter); // the keypad's Enter searches too
    QCOMPARE(f.foundNames(), QStringList{QStringLiteral("Dana  Cohen")});
}

void TestSearch::everyFocusGainSelectsTheText_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("selects");
    QTest::newRow("Tab") << "tab" << true;
    QTest::newRow("Shift+Tab") << "backtab" << true;
    QTest::newRow("mouse click inside the text") << "mouse" << true;
    QTest::newRow("program") << "program" << true;
    QTest::newRow("back from its own context menu") << "popup" << false;
}

void TestSearch::everyFocusGainSelectsTheText()
{
    QFETCH(QString, how);
    QFETCH(bool, selects);

    DirectoryFixture f;
    QVERIFY(f.open());
    QLineEdit* box = f.txtMila();
    QTRY_VERIFY(box->hasFocus()); // the load's own focus gain is over
    const QString text = QStringLiteral("hello there world");
    box->setText(text);

    auto* exit = f.find<QPushButton>(QStringLiteral("cmdEnd"));
    auto* list = f.lstResult();

    if (how == QLatin1String("tab")) {
        list->setFocus(Qt::OtherFocusReason); // the list comes just before the box
        QTest::keyClick(list, Qt::Key_Tab);
    } else if (how == QLatin1String("backtab")) {
        exit->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(exit, Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (how == QLatin1String("mouse")) {
        exit->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 3, box->height() / 2));
    } else if (how == QLatin1String("program")) {
        exit->setFocus(Qt::OtherFocusReason);
        box->setFocus(Qt::OtherFocusReason);
    } else {
        box->setCursorPosition(5);
        QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(box, &out);
        QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(box, &in);
        QCoreApplication::processEvents();
    }
    if (selects) {
        QTRY_VERIFY(box->hasFocus());
        QTRY_COMPARE(box->selectedText(), text);
        QCOMPARE(box->selectionStart(), 0);
    } else {
        QCOMPARE(box->selectedText(), QString());
        QCOMPARE(box->cursorPosition(), 5);
    }
}

void TestSearch::keysReachTheBoxUnchanged()
{
    DirectoryFixture f;
    seedSearchBook(f.db);
    QVERIFY(f.open());
    QLineEdit* box = f.txtMila();
    QSignalSpy enter(box, &QLineEdit::returnPressed);
    const QString before = gRecordSource;

    QTest::keyClicks(box, QStringLiteral("Sm'i[th"));
    QCOMPARE(box->text(), QStringLiteral("Sm'i[th"));
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("Sm'ith"));
    // Only Enter searches.
    QCOMPARE(gRecordSource, before);
    QCOMPARE(f.lstResult()->model()->rowCount(), 0);

    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(enter.count(), 1); // the box saw the Enter too
    QCOMPARE(box->text(), frmMain::searchPrompt());
}

void TestSearch::searchLeavesBookLetterAndGridAlone()
{
    DirectoryFixture f;
    seedSearchBook(f.db);
    QVERIFY(f.open());
    f.chooseBook(QStringLiteral("Business"));
    QTest::mouseClick(f.letter('A'), Qt::LeftButton);
    auto* datTel = f.find<DataControl>(QStringLiteral("datTel"));
    const QString statement = datTel->RecordSource();
    const QStringList rows = DirectoryFixture::column(f.visibleGrid(), 0);
    QCOMPARE(rows, QStringList{QStringLiteral("Acme Tools")});

    f.search(QStringLiteral("o"));
    QVERIFY(f.resultLines().size() >= 30);
    QCOMPARE(f.cmbType()->currentText(), QStringLiteral("Business"));
    QCOMPARE(f.checkedOt(), QList<int>{1});
    QCOMPARE(datTel->RecordSource(), statement);
    QCOMPARE(f.visibleGrid()->objectName(), QStringLiteral("dbgBus"));
    QCOMPARE(DirectoryFixture::column(f.visibleGrid(), 0), rows);
}

void TestSearch::refusedStatementTakesTheErrorPath()
{
    DirectoryFixture f;
    seedSearchBook(f.db);
    QVERIFY(f.open());
    // The file disappears while the window is open; the search's own data control opens it afresh and fails.
    f.db.close();
    QVERIFY(QFile::remove(f.db.path()));
    QLineEdit* box = f.txtMila();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("smith"));
    QTest::keyClick(box, Qt::Key_Return);

    QVERIFY(ErrorPath::hasEnded());
    const QStringList messages = MessageBox::takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().startsWith(QStringLiteral("Error ")));
    // The steps after the failing one did not run.
    QCOMPARE(box->text(), QStringLiteral("smith"));
    QCOMPARE(f.lstResult()->model()->rowCount(), 0);
}

void TestSearch::mixedLinesKeepEachValuesOrder_data()
{
    QTest::addColumn<bool>("rightToLeft"); // the interface's direction
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("shown");

    const QString fsi(QChar(0x2068));
    const QString pdi(QChar(0x2069));
    const QString hebrewName = QStringLiteral("משה");
    const QString hebrewStreet = QStringLiteral("רחוב הרצל 5");
    const int address = ResultLines::Address;
    QTest::newRow("English address, English line") << false << address << "1 Harbour Rd" << 2
                                                    << "Address : 1 Harbour Rd";
    QTest::newRow("Hebrew address, English line")
        << false << address << hebrewStreet << 2 << QStringLiteral("Address : ") + fsi + hebrewStreet + pdi;
    // Hebrew alone in a line reads as Hebrew: nothing is added.
    QTest::newRow("Hebrew name alone") << false << int(ResultLines::Fname) << hebrewName << 0 << hebrewName + "  ";
    QTest::newRow("English address, right-to-left interface")
        << true << address << "1 Harbour Rd" << 2 << QStringLiteral("Address : ") + fsi + "1 Harbour Rd" + pdi;
    QTest::newRow("number, right-to-left interface") << true << int(ResultLines::Pel) << "03 - 5555555" << 4
                                                     << QStringLiteral("Cellular : ") + fsi + "03 - 5555555" + pdi;
}

void TestSearch::mixedLinesKeepEachValuesOrder()
{
    QFETCH(bool, rightToLeft);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(int, line);
    QFETCH(QString, shown);

    QGuiApplication::setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    const auto back = qScopeGuard([] { QGuiApplication::setLayoutDirection(Qt::LeftToRight); });
    ResultLines::Values values;
    values[std::size_t(field)] = value;
    QCOMPARE(ResultLines::formatLine(line, values), shown);
}

void TestSearch::resultLinesModelHoldsLongValues()
{
    ResultLines lines;
    QAbstractItemModelTester tester(&lines, QAbstractItemModelTester::FailureReportingMode::QtTest);
    ResultLines::Values values;
    values[ResultLines::Fname] = QStringLiteral("A");
    values[ResultLines::Lname] = QString(40000, QLatin1Char('x')); // longer than one length character holds
    values[ResultLines::Address] = QString(32768, QLatin1Char('y'));
    values[ResultLines::City] = QStringLiteral("Z");
    lines.append(values);
    values[ResultLines::Fname] = QStringLiteral("B");
    lines.append(values);
    QCOMPARE(lines.rowCount(), 0); // nothing shows before the flush
    lines.flush();
    QCOMPARE(lines.rowCount(), 20);
    QCOMPARE(lines.line(0), QStringLiteral("A  ") + QString(40000, QLatin1Char('x')));
    QCOMPARE(lines.line(2), QStringLiteral("Address : ") + QString(32768, QLatin1Char('y')));
    QCOMPARE(lines.line(13), QString(18, QLatin1Char(' ')) + QStringLiteral("Z ,  , "));
    QCOMPARE(lines.index(10).data().toString(), QStringLiteral("B  ") + QString(40000, QLatin1Char('x')));
    lines.clear();
    QCOMPARE(lines.rowCount(), 0);

    // Nothing of the old blocks shows through the next result, and a value longer than a chunk of the list's
    // store gets room of its own between blocks.
    ResultLines::Values next;
    next[ResultLines::Fname] = QStringLiteral("Dalia");
    lines.append(next);
    next[ResultLines::Fname] = QString(3 << 20, QLatin1Char('z'));
    lines.append(next);
    next[ResultLines::Fname] = QStringLiteral("Eli");
    next[ResultLines::Fax] = QStringLiteral("04 - 1234567");
    lines.append(next);
    lines.flush();
    QCOMPARE(lines.rowCount(), 30);
    QCOMPARE(lines.line(0), QStringLiteral("Dalia  "));
    QCOMPARE(lines.line(1), QString());
    QCOMPARE(lines.line(10), QString(3 << 20, QLatin1Char('z')) + QStringLiteral("  "));
    QCOMPARE(lines.line(20), QStringLiteral("Eli  "));
    QCOMPARE(lines.line(26), QStringLiteral("Fax        : 04 - 1234567"));
}

void TestSearch::millionLinesStayResponsive()
{
    DirectoryFixture f;
    QCOMPARE(f.db.exec(QStringLiteral(
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                 "INSERT INTO tblTel (Category, Fname, Lname, BusName, Address, City, State, Zip, Tel1, Tel2, Pel, "
                 "Fax) SELECT 'Personal', 'First' || i, 'Smith' || i, ' ', i || ' Long Street', 'Springfield', 'IL', "
                 "'62701', '052 - 1234567', '___ - _______', '054 - 7654321', '___ - _______' FROM n")),
             0);
    QVERIFY(f.open());
    QListView* list = f.lstResult();
    // Counts the lines the view asks for: a view that measured every line would ask a million times.
    CountingProxy counter;
    counter.setSourceModel(list->model());
    list->setModel(&counter);

    QElapsedTimer timer;
    timer.start();
    f.search(QStringLiteral("smith"));
    list->scrollToBottom();
    QCoreApplication::processEvents();
    list->scrollToTop();
    QCoreApplication::processEvents();
    qInfo("search, listing and scrolling through a million lines: %lld ms, %d lines asked for", timer.elapsed(),
          counter.reads);
    QCOMPARE(list->model()->rowCount(), 1000000);
    QVERIFY2(counter.reads < 10000, qPrintable(QString::number(counter.reads)));
    QVERIFY(timer.elapsed() < 30000);
    QCOMPARE(list->model()->index(999990, 0).data().toString(), QStringLiteral("First100000  Smith100000"));
    // The blocks are packed into many chunks of memory: blocks on either side of every boundary read back whole.
    for (int block = 0; block < 100000; block += 97) {
        const QString n = QString::number(block + 1);
        QCOMPARE(list->model()->index(block * 10 + 2, 0).data().toString(),
                 QStringLiteral("Address : ") + n + QStringLiteral(" Long Street"));
    }
    QCOMPARE(list->model()->index(999999, 0).data().toString(), QStringLiteral(" "));
    QCOMPARE(list->indexAt(QPoint(5, 5)).row(), 0);
    list->setModel(counter.sourceModel());
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
