#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QCommandLineParser;
class QCoreApplication;

// What a command is given: the command line as parsed, and the way to the directory file.
class CommandArguments
{
public:
    CommandArguments(const QCommandLineParser& parser, const std::function<QString()>& database);

    bool isSet(const QString& name) const;
    QString value(const QString& name) const;
    QStringList values(const QString& name) const;
    QStringList positional() const;
    // The directory file the command works on. All its statements share one wait for another program's lock, and
    // the old program's file is refused until the windows have converted it. Throws DbError.
    QString workingDatabase() const;

private:
    const QCommandLineParser& m_parser;
    const std::function<QString()>& m_database;
};

// Takes every "--name VALUE" and "--name=VALUE" out of the arguments, before the application object reads them,
// handing each value to `take` (an empty one when the value is missing). Returns the first exit code `take` gave
// that is not 0 (the rest stay untaken), else 0.
int takeEarlyOption(int& argc, char** argv, const char* name, const std::function<int(const char* value)>& take);

// The program's work without windows, all in one place: every option once, in the order --help and the manual
// page list them, each with its help text, and for an option that asks for work the small function that does it.
// The folders add their own commands (see ContactCommandLine, BackupCommandLine, SyncCommandLine; printing comes
// from the windows' side), main() asks wanted() and run(). Without any of these options the program starts its
// windows as always.
class CommandRegistry
{
public:
    // Does the work with the arguments given and returns the exit code: 0 everything was done, 1 something was
    // left out (and said), 2 an error. A DbError it throws is said and ends the run with 2.
    using Run = std::function<int(const CommandArguments&)>;
    // Makes an application object with more than Qt Core.
    using Application = std::function<std::unique_ptr<QCoreApplication>(int& argc, char** argv)>;

    // An option that changes what the commands named in `commands` do (given without any of them, it is refused),
    // or, with none named, one taken out of the arguments before the parser (--region).
    void addOption(const QCommandLineOption& option, const QStringList& commands = {});
    // An option that asks for work, done by `run`; commands run in the order they were added, up to the first
    // error. A command that `paints` gets the application object of setPaintApplication.
    void addCommand(const QCommandLineOption& option, Run run, bool paints = false);
    // The application object for painting without a display (a PDF); it also names Qt's own options for --help-all.
    void setPaintApplication(Application make);
    void addPositional(const QString& name, const QString& description, const QString& syntax);
    // The text above the options in --help; asked when it is shown, with the application object made.
    void setDescription(std::function<QString()> description);
    // Where the directory file is (see CommandArguments::workingDatabase).
    void setDatabase(std::function<QString()> path);

    // Every option, as --help lists them (without Qt's own --help, --help-all and --version).
    QList<QCommandLineOption> options() const;
    // True when the arguments ask for work without windows (or for --help or --version), or name an option that is
    // neither this program's nor one of Qt's for the windows: run() then reports it, and nothing starts.
    bool wanted(int argc, char** argv) const;
    // Makes the application object the arguments need (the paint application's for a command that paints).
    std::unique_ptr<QCoreApplication> application(int& argc, char** argv) const;
    // Does the work asked for and returns the exit code. Never opens a window, and needs no display. Uses the
    // application object there is, else makes its own.
    int run(int argc, char** argv) const;

private:
    struct Entry
    {
        QCommandLineOption option;
        Run run;
        bool paints = false;
        QStringList commands;
    };
    bool isOurs(const QString& name) const;
    // Says which option was given without a command it goes with; empty when none was.
    QString unused(const QCommandLineParser& parser) const;
    void addOptionsTo(QCommandLineParser& parser) const;

    QList<Entry> m_entries;
    QStringList m_positional;
    std::function<QString()> m_description;
    std::function<QString()> m_database;
    Application m_paintApplication;
};
