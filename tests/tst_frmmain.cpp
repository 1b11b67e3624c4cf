// The directory window: its layout and load, the buttons that leave it, and files it cannot use fully.
#include "AsNobody.h"
#include "DirectoryFixture.h"
#include "app/Twips.h"
#include "data/Book.h"
#include "data/Database.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QMovie>
#include <QTimer>
#include <sys/stat.h>

namespace {

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

} // namespace

class TestDirectoryWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DirectoryFixture::setUpProgramWithProbes(); }

    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void decorationIsPainted_data();
    void decorationIsPainted();
    void tabVisitsControlsInTabIndexOrder();
    void loadStartsWithWholePersonalBook();
    void gifsThatCannotPlayLeaveViewsEmpty_data();
    void gifsThatCannotPlayLeaveViewsEmpty();
    void missingDatabaseEndsTheLoad();
    void buttonsSwitchAndReturnLoadsAfresh_data();
    void buttonsSwitchAndReturnLoadsAfresh();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void enterOnExitEndsTheProgram();
    void busyFileIsReportedAndTheWindowStays_data();
    void busyFileIsReportedAndTheWindowStays();
    void returningShowsAnotherCopysSave();
    void readOnlyFolderShowsEverythingAndRefusesWrites();
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
    QTest::newRow("txtMila") << "txtMila" << QRect(480, 3600, 4215, 375) << frmMain::searchPrompt() << david << 11.25
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
    f.seedBooks();
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
    QCOMPARE(box2->text(), frmMain::searchPrompt());
    QCOMPARE(box2->selectedText(), frmMain::searchPrompt());

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
    f.seedBooks();
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
    f.seedBooks();
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
    QCOMPARE(f.txtMila()->text(), frmMain::searchPrompt());
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
    f.seedBooks();
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
    f.seedBooks();
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
    f.seedBooks();
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
    f.seedBooks();
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

QTEST_MAIN(TestDirectoryWindow)
#include "tst_frmmain.moc"
