#include "app/CommandLine.h"
#include "cli/CommandRegistry.h"
#include "sync/SyncSetup.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// The command line's registry against what the user reads of it (--help, the manual page), which arguments start
// the windows, and the choice of address books the set-up and the Sync Settings dialog share.
class tst_CommandLine : public QObject
{
    Q_OBJECT
private slots:
    void manualListsTheOptions();
    void whatItSays_data();
    void whatItSays();
    void speaksTheLocalesLanguage_data();
    void speaksTheLocalesLanguage();
    void windowsOrCommands_data();
    void windowsOrCommands();
    void addressBookChoice_data();
    void addressBookChoice();
};

void tst_CommandLine::manualListsTheOptions()
{
    CommandRegistry registry;
    CommandLine::addTo(registry);
    QStringList registered;
    for (const QCommandLineOption& option : registry.options())
        registered << option.names().constLast();
    registered << QStringLiteral("help") << QStringLiteral("help-all") << QStringLiteral("version");

    QFile manual(QStringLiteral(TOVRIN_MANUAL));
    QVERIFY(manual.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(manual.readAll());
    const qsizetype start = text.indexOf(QLatin1String("\n.SH OPTIONS\n"));
    QVERIFY(start >= 0);
    const QString options = text.mid(start, text.indexOf(QLatin1String("\n.SH "), start + 1) - start);
    // Each option is the heading of a .TP paragraph, in the order of --help.
    QStringList listed;
    static const QRegularExpression heading(QStringLiteral("\\n\\.TP\\n[^\\n]*\\\\-\\\\-([a-z\\\\-]+)"));
    for (auto match = heading.globalMatch(options); match.hasNext();)
        listed << match.next().captured(1).remove(QLatin1Char('\\'));
    QCOMPARE(listed, registered);
}

void tst_CommandLine::whatItSays_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("--help") << QStringList{"--help"} << 0
                            << QStringList{"--import", "--pdf", "--sync-setup", "--user", "--help-all"};
    QTest::newRow("--help-all: Qt's options too")
        << QStringList{"--help-all"} << 0 << QStringList{"--import", "--pdf", "--platform"};
    QTest::newRow("--user without --sync-setup")
        << QStringList{"--user", "alice"} << 2 << QStringList{"--user goes with --sync-setup."};
    QTest::newRow("--book with neither --export nor --pdf") << QStringList{"--import", "none.vcf", "--book", "business"}
                                                            << 2 << QStringList{"--book goes with --export or --pdf."};
}

void tst_CommandLine::whatItSays()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, said);
    QProcess tovrin;
    tovrin.start(QStringLiteral(TOVRIN_BINARY), arguments);
    QVERIFY(tovrin.waitForFinished(30000));
    QCOMPARE(tovrin.exitCode(), exitCode);
    const QString text = QString::fromLocal8Bit(tovrin.readAllStandardOutput() + tovrin.readAllStandardError());
    for (const QString& part : said)
        QVERIFY2(text.contains(part), qPrintable(part + QLatin1String(" missing in:\n") + text));
}

void tst_CommandLine::speaksTheLocalesLanguage_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    const QString hebrew = QStringLiteral("מדריך טלפונים עם פנקס הודעות");
    const QString english = QStringLiteral("a telephone directory with a telephone-message pad");
    const QStringList help{QStringLiteral("--help")};
    // The frame Qt prints around the options in Hebrew too.
    QTest::newRow("LANG he_IL") << QStringList{"LANG=he_IL.UTF-8"} << help << 0 << QStringLiteral("\nאפשרויות:\n");
    QTest::newRow("LC_ALL before LANG") << QStringList{"LC_ALL=en_US.UTF-8", "LANG=he_IL.UTF-8"} << help << 0
                                        << english;
    QTest::newRow("LC_MESSAGES before LANG")
        << QStringList{"LC_MESSAGES=he_IL.UTF-8", "LANG=en_GB.UTF-8"} << help << 0 << hebrew;
    QTest::newRow("LANGUAGE first, its first language spoken")
        << QStringList{"LANGUAGE=fr:he:en", "LC_ALL=en_US.UTF-8"} << help << 0 << hebrew;
    QTest::newRow("a language not spoken: English") << QStringList{"LANG=fr_FR.UTF-8"} << help << 0 << english;
    QTest::newRow("--lang he over the locale")
        << QStringList{"LANG=C.UTF-8"} << QStringList{"--lang", "he", "--help"} << 0 << hebrew;
    QTest::newRow("--lang=en over the locale")
        << QStringList{"LANG=he_IL.UTF-8"} << QStringList{"--help", "--lang=en"} << 0 << english;
    QTest::newRow("--lang of no language") << QStringList{} << QStringList{"--lang", "fr", "--help"} << 2
                                           << QStringLiteral("Unknown language \"fr\" for --lang");
}

void tst_CommandLine::speaksTheLocalesLanguage()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        variables.remove(QLatin1String(name));
    for (const QString& variable : environment)
        variables.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    QProcess tovrin;
    tovrin.setProcessEnvironment(variables);
    tovrin.start(QStringLiteral(TOVRIN_BINARY), arguments);
    QVERIFY(tovrin.waitForFinished(30000));
    QCOMPARE(tovrin.exitCode(), exitCode);
    const QString text = QString::fromUtf8(tovrin.readAllStandardOutput() + tovrin.readAllStandardError());
    QVERIFY2(text.contains(said), qPrintable(said + QLatin1String(" missing in:\n") + text));
}

void tst_CommandLine::windowsOrCommands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("commands");
    QTest::newRow("nothing") << QStringList{} << false;
    QTest::newRow("a file name alone") << QStringList{"list.vcf"} << false;
    QTest::newRow("Qt's option for the windows") << QStringList{"-platform", "offscreen"} << false;
    QTest::newRow("Qt's X11 -sync") << QStringList{"-sync"} << false;
    QTest::newRow("--sync") << QStringList{"--sync"} << true;
    QTest::newRow("an option with its value") << QStringList{"--book=personal"} << true;
    QTest::newRow("--help-all") << QStringList{"--help-all"} << true;
    QTest::newRow("a misspelt option is reported") << QStringList{"--exprot", "x.vcf"} << true;
}

void tst_CommandLine::windowsOrCommands()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, commands);
    CommandRegistry registry;
    CommandLine::addTo(registry);
    QList<QByteArray> bytes{"tovrin"};
    for (const QString& argument : arguments)
        bytes << argument.toLocal8Bit();
    QList<char*> argv;
    for (QByteArray& argument : bytes)
        argv << argument.data();
    QCOMPARE(registry.wanted(int(argv.size()), argv.data()), commands);
}

void tst_CommandLine::addressBookChoice_data()
{
    QTest::addColumn<QStringList>("books");  // the address books found: name@address
    QTest::addColumn<bool>("given");         // the address given is an address book
    QTest::addColumn<QStringList>("names");  // --personal, --business
    QTest::addColumn<QStringList>("picked"); // a book's name, "+NAME" to make, "?" for the user to choose
    const QString home = QStringLiteral("@http://127.0.0.1/alice/");
    QTest::newRow("the books' own names") << QStringList{"Personal" + home + "p/", "Business" + home + "b/"} << false
                                          << QStringList{"", ""} << QStringList{"Personal", "Business"};
    QTest::newRow("letter case aside") << QStringList{"BUSINESS" + home + "b/", "personal" + home + "personal/"}
                                       << false << QStringList{"", ""} << QStringList{"personal", "BUSINESS"};
    // As Radicale names address books that have no display name, and as the set-up makes them: by their path.
    QTest::newRow("the last part of the address")
        << QStringList{"alice/business" + home + "business/", "alice/personal" + home + "personal/"} << false
        << QStringList{"", ""} << QStringList{"alice/personal", "alice/business"};
    QTest::newRow("the only one takes both") << QStringList{"contacts" + home + "contacts/"} << false
                                             << QStringList{"", ""} << QStringList{"contacts", "contacts"};
    QTest::newRow("the only one is Personal's")
        << QStringList{"Personal" + home + "personal/"} << false << QStringList{"", ""} << QStringList{"Personal", "?"};
    QTest::newRow("others: the user chooses") << QStringList{"contacts" + home + "c/", "family" + home + "f/"} << false
                                              << QStringList{"", ""} << QStringList{"?", "?"};
    QTest::newRow("none there: both made")
        << QStringList{} << false << QStringList{"", ""} << QStringList{"+Personal", "+Business"};
    QTest::newRow("named by the user") << QStringList{"contacts" + home + "c/", "family" + home + "f/"} << false
                                       << QStringList{"Family", "contacts"} << QStringList{"family", "contacts"};
    QTest::newRow("a name the server lacks is made")
        << QStringList{"contacts" + home + "c/"} << false << QStringList{"Home", "contacts"}
        << QStringList{"+Home", "contacts"};
    QTest::newRow("named by its address")
        << QStringList{"contacts" + home + "c/", "family" + home + "f/"} << false
        << QStringList{"http://127.0.0.1/alice/f/", "contacts"} << QStringList{"family", "contacts"};
    QTest::newRow("the address given") << QStringList{"Work" + home + "w/"} << true << QStringList{"", "x"}
                                       << QStringList{"Work", "Work"};
}

void tst_CommandLine::addressBookChoice()
{
    QFETCH(QStringList, books);
    QFETCH(bool, given);
    QFETCH(QStringList, names);
    QFETCH(QStringList, picked);
    Discovery::Result found;
    found.given = given;
    found.home = QUrl(QStringLiteral("http://127.0.0.1/alice/"));
    for (const QString& book : books)
        found.books.append({QUrl(book.section(QLatin1Char('@'), 1)), book.section(QLatin1Char('@'), 0, 0)});
    const SyncSetup::Choice choice = SyncSetup::choose(found, names.at(0), names.at(1));
    QStringList got;
    for (const SyncSetup::Pick& pick : {choice.personal, choice.business})
        got << (pick.found >= 0          ? found.books.at(pick.found).name
                : !pick.create.isEmpty() ? QLatin1Char('+') + pick.create
                                         : QStringLiteral("?"));
    QCOMPARE(got, picked);
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
