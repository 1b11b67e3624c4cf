#include "cli/CommandRegistry.h"

#include "cli/Console.h"
#include "data/Database.h"
#include "data/DbError.h"
#include "exchange/AccessFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The options Qt's own application object takes for the windows; any other option is this program's, and one it
// does not know is an error the parser reports.
const char* const kWindowOptions = " platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon "
                                   "qwindowtitle reverse session display geometry style stylesheet widgetcount nograb "
                                   "dograb sync name title visual qmljsdebugger fontengine testability ";

bool isWindowOption(const char* argument)
{
    const char* name = argument + (argument[1] == '-' ? 2 : 1);
    const std::string word = ' ' + std::string(name, std::strcspn(name, "=")) + ' ';
    return std::strstr(kWindowOptions, word.c_str()) != nullptr;
}

} // namespace

CommandArguments::CommandArguments(const QCommandLineParser& parser, const std::function<QString()>& database)
    : m_parser(parser), m_database(database)
{
}

bool CommandArguments::isSet(const QString& name) const
{
    return m_parser.isSet(name);
}

QString CommandArguments::value(const QString& name) const
{
    return m_parser.value(name);
}

QStringList CommandArguments::values(const QString& name) const
{
    return m_parser.values(name);
}

QStringList CommandArguments::positional() const
{
    return m_parser.positionalArguments();
}

QString CommandArguments::workingDatabase() const
{
    // However many statements the command runs, it waits for another program's lock once.
    Database::shareBusyWait(true);
    const QString database = m_database();
    if (AccessFile::hasSignature(database))
        throw DbError(-1, QCoreApplication::translate(
                              "CommandRegistry",
                              "\"%1\" is a data file of the old program (an Access database). Start Tovrin once "
                              "without options to convert it.")
                              .arg(database));
    return database;
}

void CommandRegistry::addOption(const QCommandLineOption& option, const QStringList& commands)
{
    m_entries.append({option, {}, false, commands});
}

void CommandRegistry::addCommand(const QCommandLineOption& option, Run run, bool paints)
{
    m_entries.append({option, std::move(run), paints, {}});
}

void CommandRegistry::setPaintApplication(Application make)
{
    m_paintApplication = std::move(make);
}

void CommandRegistry::addPositional(const QString& name, const QString& description, const QString& syntax)
{
    m_positional = {name, description, syntax};
}

void CommandRegistry::setDescription(std::function<QString()> description)
{
    m_description = std::move(description);
}

void CommandRegistry::setDatabase(std::function<QString()> path)
{
    m_database = std::move(path);
}

QList<QCommandLineOption> CommandRegistry::options() const
{
    QList<QCommandLineOption> all;
    for (const Entry& entry : m_entries)
        all.append(entry.option);
    return all;
}

bool CommandRegistry::isOurs(const QString& name) const
{
    for (const Entry& entry : m_entries) {
        if (entry.option.names().contains(name))
            return true;
    }
    return name == QLatin1String("help") || name == QLatin1String("help-all") || name == QLatin1String("version");
}

bool CommandRegistry::wanted(int argc, char** argv) const
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (argument[0] != '-' || argument[1] == '\0')
            continue;
        // Ours when written with two dashes, although Qt's windows know some of the same names with one (-sync).
        if (argument[1] == '-') {
            const char* name = argument + 2;
            if (isOurs(QString::fromLocal8Bit(name, qsizetype(std::strcspn(name, "=")))))
                return true;
        }
        if (!isWindowOption(argument))
            return true;
    }
    return false;
}

QString CommandRegistry::unused(const QCommandLineParser& parser) const
{
    for (const Entry& entry : m_entries) {
        if (entry.commands.isEmpty() || !parser.isSet(entry.option))
            continue;
        QStringList with;
        for (const QString& command : entry.commands)
            with << QStringLiteral("--") + command;
        if (std::any_of(entry.commands.begin(), entry.commands.end(),
                        [&parser](const QString& command) { return parser.isSet(command); }))
            continue;
        const QString option = entry.option.names().constLast();
        if (with.size() == 1)
            return QCoreApplication::translate("CommandRegistry", "--%1 goes with %2.\n")
                .arg(option, with.constFirst());
        const QString last = with.takeLast();
        return QCoreApplication::translate("CommandRegistry", "--%1 goes with %2 or %3.\n")
            .arg(option, with.join(QStringLiteral(", ")), last);
    }
    return {};
}

void CommandRegistry::addOptionsTo(QCommandLineParser& parser) const
{
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(options());
    if (!m_positional.isEmpty())
        parser.addPositionalArgument(m_positional.at(0), m_positional.at(1), m_positional.at(2));
}

std::unique_ptr<QCoreApplication> CommandRegistry::application(int& argc, char** argv) const
{
    // A first look picks the application object; the arguments are read once it has taken the options of its own.
    QCommandLineParser parser;
    addOptionsTo(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    bool paint = parser.isSet(QStringLiteral("help-all"));
    for (const Entry& entry : m_entries)
        paint = paint || (entry.paints && parser.isSet(entry.option));
    return paint && m_paintApplication ? m_paintApplication(argc, argv)
                                       : std::make_unique<QCoreApplication>(argc, argv);
}

int CommandRegistry::run(int argc, char** argv) const
{
    const std::unique_ptr<QCoreApplication> made = QCoreApplication::instance() ? nullptr : application(argc, argv);
    QCommandLineParser parser;
    addOptionsTo(parser);
    QCoreApplication::setApplicationName(QStringLiteral("Tovrin")); // as the windows name it: the same data folder
    QCoreApplication::setApplicationVersion(QStringLiteral(TOVRIN_VERSION));
    if (!parser.parse(QCoreApplication::arguments())) {
        Console::error(parser.errorText() + QLatin1Char('\n'));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        if (m_description)
            parser.setApplicationDescription(m_description());
        if (parser.isSet(QStringLiteral("help-all")))
            parser.process(*QCoreApplication::instance()); // prints the options with Qt's own, and ends the program
        Console::out(parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        Console::out(QStringLiteral("tovrin %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (const QString said = unused(parser); !said.isEmpty()) {
        Console::error(said);
        return 2;
    }
    const CommandArguments given(parser, m_database);
    int code = 0;
    for (const Entry& entry : m_entries) {
        if (!entry.run || !parser.isSet(entry.option))
            continue;
        try {
            code = std::max(code, entry.run(given));
        } catch (const DbError& error) {
            code = Console::failed(error);
        }
        if (code == 2)
            break;
    }
    return code;
}

int takeEarlyOption(int& argc, char** argv, const char* name, const std::function<int(const char* value)>& take)
{
    const std::size_t length = std::strlen(name);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = nullptr;
        if (std::strcmp(argument, name) == 0)
            value = i + 1 < argc ? argv[++i] : "";
        else if (std::strncmp(argument, name, length) == 0 && argument[length] == '=')
            value = argument + length + 1;
        if (!value) {
            argv[kept++] = argv[i];
            continue;
        }
        if (const int failed = take(value))
            return failed;
    }
    argc = kept;
    argv[kept] = nullptr;
    return 0;
}
