// Contacts in and out of the directory window: the grids' context commands, files dropped on the window, and the
// import preview.
#include "Deadline.h"
#include "DirectoryFixture.h"
#include "directory/ContactCommands.h"
#include "directory/ImportPreview.h"
#include "directory/PreviewEntries.h"
#include "exchange/PhoneNumbers.h"

#include <QDialogButtonBox>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QWheelEvent>
#include <sys/stat.h>

namespace {

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

class TestDirectoryContacts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DirectoryFixture::setUpProgramWithProbes(); }

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

void TestDirectoryContacts::contactsComeInAndGoOutWithoutNewControls()
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
    const auto action = [&](const QString& text) { return f.gridCommand(text); };
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

void TestDirectoryContacts::importRefusesWhatIsNoFile()
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
    const auto action = [&](const QString& text) { return f.gridCommand(text); };
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
void TestDirectoryContacts::thePreviewWritesWhatIsChecked()
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
    QAction* import = f.gridCommand(QStringLiteral("Import Contacts..."));
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
void TestDirectoryContacts::eachPreviewRowShowsItsOwnProblems()
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

void TestDirectoryContacts::thePreviewCountsValuesOfWhatIsChecked_data()
{
    QTest::addColumn<QList<int>>("unchecked");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("ruth"); // Dana's additional name is listed

    // Two e-mail addresses make one line of two values; Dana's additional name is a line of its own.
    QTest::newRow("every entry") << QList<int>{} << "3 values not carried over" << true;
    QTest::newRow("Dana unchecked") << QList<int>{0} << "2 values not carried over" << false;
}

void TestDirectoryContacts::thePreviewCountsValuesOfWhatIsChecked()
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

void TestDirectoryContacts::thePreviewKeepsItsChoicesAndFitsTheScreen()
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

void TestDirectoryContacts::thePreviewAsksForTheCountryOfNumbers_data()
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

void TestDirectoryContacts::thePreviewAsksForTheCountryOfNumbers()
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

QTEST_MAIN(TestDirectoryContacts)
#include "tst_dircontacts.moc"
