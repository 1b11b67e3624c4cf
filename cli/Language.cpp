#include "cli/Language.h"

#include "cli/CommandRegistry.h"
#include "cli/Console.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QString& overridden()
{
    static QString language;
    return language;
}

// Qt lays the windows out right to left when this text, in this context, is translated to "RTL".
[[maybe_unused]] const char* const kLayoutDirection = QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION");

// The frame of --help, which Qt's own translation leaves in English: looked up in ours under Qt's context.
[[maybe_unused]] const char* const kHelpFrame[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Usage: %1"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "[options]"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Options:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Arguments:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help on commandline options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help including Qt specific options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays version information."),
};

} // namespace

QString Language::fromLocaleName(const QString& name)
{
    // LANGUAGE is a list of languages in order of preference; the first this program speaks wins.
    for (const QString& entry : name.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        QString code = entry.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        code = code.section(QLatin1Char('_'), 0, 0).toLower();
        if (code == QLatin1String("he") || code == QLatin1String("iw"))
            return QStringLiteral("he");
        if (code == QLatin1String("en") || code == QLatin1String("c") || code == QLatin1String("posix"))
            return QStringLiteral("en");
    }
    return {};
}

QString Language::fromEnvironment()
{
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (value.isEmpty())
            continue;
        const QString language = fromLocaleName(value);
        return language.isEmpty() ? QStringLiteral("en") : language;
    }
    return QStringLiteral("en");
}

int Language::takeOption(int& argc, char** argv)
{
    return takeEarlyOption(argc, argv, "--lang", [](const char* code) {
        const QString language = QString::fromLocal8Bit(code);
        if (language != QLatin1String("he") && language != QLatin1String("en")) {
            // Said before any translator is installed: as written.
            Console::error(QCoreApplication::translate("Language", "Unknown language \"%1\" for --lang: give he or "
                                                                   "en.\n")
                               .arg(language));
            return 2;
        }
        overridden() = language;
        return 0;
    });
}

QString Language::chosen()
{
    return overridden().isEmpty() ? fromEnvironment() : overridden();
}

bool Language::install()
{
    auto* app = QCoreApplication::instance();
    if (!app || chosen() != QLatin1String("he"))
        return true;
    // Qt's own dialogs (files, printing, colours) first, ours over them.
    auto* qt = new QTranslator(app);
    if (qt->load(QStringLiteral("qtbase_he"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    auto* ours = new QTranslator(app);
    if (!ours->load(QStringLiteral(":/i18n/tovrin_he.qm"))) {
        delete ours;
        return false;
    }
    QCoreApplication::installTranslator(ours);
    return true;
}
