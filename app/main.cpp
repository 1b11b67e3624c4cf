#include "app/AccessConversion.h"
#include "app/BackupCommands.h"
#include "app/CommandLine.h"
#include "app/ErrorPath.h"
#include "app/Fonts.h"
#include "app/MDIForm1.h"
#include "app/MessageNotice.h"
#include "app/SyncScheduler.h"
#include "app/WindowSwitch.h"
#include "cli/ContactCommandLine.h"
#include "cli/Language.h"
#include "directory/frmMain.h"
#include "entry/frmAdd.h"
#include "exchange/JetReader.h"
#include "messages/frmMes.h"

#include <QApplication>
#include <cstring>

int main(int argc, char** argv)
{
    // The reader of Access files, started by the program itself (see AccessFile): no Qt, no window.
    if (argc == 2 && std::strcmp(argv[1], JetReader::kOption) == 0)
        return JetReader::run();
    if (const int failed = Language::takeOption(argc, argv))
        return failed;
    if (const int failed = ContactCommandLine::takeRegion(argc, argv))
        return failed;
    if (const int code = CommandLine::runIfWanted(argc, argv); code >= 0)
        return code;
    const std::future<void> fonts = Fonts::readConfigurationAhead();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovrin"));
    // Before any window or text is made; under Hebrew the translation lays the windows out right to left.
    Language::install();
    QGuiApplication::setLayoutDirection(Qt::LayoutDirectionAuto);
    Fonts::install();
    ErrorPath::installBusyCursor();

    WindowSwitch::registerWindow(QStringLiteral("frmMain"), [] { return new frmMain; });
    WindowSwitch::registerWindow(QStringLiteral("frmAdd"), [] { return new frmAdd; });
    WindowSwitch::registerWindow(QStringLiteral("frmMes"), [] { return new frmMes; });

    MDIForm1 frame;
    WindowSwitch::setFrame(&frame);
    // The frame shows first; the directory window, which reads the file, follows the moment the frame is on
    // screen. The program answers at once, however large the file.
    frame.afterFirstPaint([&frame] {
        // An old program's data file is converted first, at the user's word; without it the program ends.
        if (const auto start = AccessConversion::offerAtStart(&frame); start != AccessConversion::Start::Go) {
            QCoreApplication::exit(start == AccessConversion::Start::Declined ? 0 : 1);
            return;
        }
        // The file is checked for damage while the directory window shows it, read only until it passed; a damaged
        // file is offered its newest good copy. Then the day's first copy is made while the windows work, and the
        // books sync in the background from now on, when a server is set up; the status line follows.
        BackupCommands::startCheck(&frame, [&frame] {
            if (ErrorPath::hasEnded())
                return;
            BackupCommands::startDaily(&frame, QDate::currentDate());
            frame.followSync();
            new MessageNotice(&frame);
            SyncScheduler::instance().start();
        });
        if (!WindowSwitch::show(QStringLiteral("frmMain")) || ErrorPath::hasEnded())
            QCoreApplication::exit(1);
    });
    frame.showFillingScreen();
    return QApplication::exec();
}
