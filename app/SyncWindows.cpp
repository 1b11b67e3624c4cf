#include "app/SyncWindows.h"

#include "app/ErrorPath.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/SyncScheduler.h"
#include "app/SyncSettingsDialog.h"
#include "data/Database.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QUrl>
#include <memory>

namespace {

int s_askedRun = -1; // the last sync whose held deletions were asked about: each window hears of every sync

void askAboutHeld(QWidget* window, const SyncReport& report)
{
    const int run = SyncScheduler::instance().finishedRuns();
    if (report.held.isEmpty() || s_askedRun == run)
        return;
    s_askedRun = run;
    SyncRun::Options options;
    options.leavePaused = true;
    for (const SyncReport::Held& held : report.held) {
        const QString text =
            QCoreApplication::translate(
                "SyncWindows", "The address book %1 on the server no longer lists %L2 of the entries of "
                               "%3 that are here. It may have been emptied or replaced on the server; nothing was "
                               "deleted here.\n\n"
                               "Keep Them Here: the sync of that address book waits until you choose again "
                               "(\"Sync Now...\").\n"
                               "Send Them Again: they go to the server again as new cards.\n"
                               "Delete Them Here: they are deleted here as well; a copy of the file is kept "
                               "first.")
                .arg(QUrl(held.book).toDisplayString())
                .arg(held.count)
                .arg(held.books);
        const int chosen = MessageBox::choice(window, text,
                                              {QCoreApplication::translate("SyncWindows", "Keep Them Here"),
                                               QCoreApplication::translate("SyncWindows", "Send Them Again"),
                                               QCoreApplication::translate("SyncWindows", "Delete Them Here")},
                                              0);
        if (chosen == 1)
            options.keepHere << held.book;
        else if (chosen == 2)
            options.deleteHere << held.book;
        else
            ErrorPath::runKeeping(window, [&held] {
                const auto db = Database::open(Module1::databasePath());
                SyncRun::setPaused(*db, held.book, true);
            });
    }
    if (!options.keepHere.isEmpty() || !options.deleteHere.isEmpty())
        SyncScheduler::instance().runAsked(options);
}

} // namespace

QList<QAction*> SyncWindows::actions(QWidget* window, std::function<void()> refresh)
{
    QObject::connect(&SyncScheduler::instance(), &SyncScheduler::finished, window,
                     [refresh, window](const SyncReport& report) {
                         if (report.received > 0 || report.removedHere > 0)
                             refresh();
                         askAboutHeld(window, report);
                     });
    auto* now = new QAction(QCoreApplication::translate("SyncWindows", "Sync Now..."), window);
    QObject::connect(now, &QAction::triggered, window, [window] {
        // The result of this run is shown; the quiet runs keep theirs for About.
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = QObject::connect(
            &SyncScheduler::instance(), &SyncScheduler::finished, window,
            [window, connection](const SyncReport& report) {
                QObject::disconnect(*connection);
                if (report.notSetUp) {
                    SyncSettingsDialog(window).exec();
                    return;
                }
                if (report.error.isEmpty())
                    MessageBox::information(
                        window, QCoreApplication::translate("SyncWindows", "Sync: %1").arg(report.summary()));
                else
                    MessageBox::warning(
                        window, QCoreApplication::translate("SyncWindows", "Sync failed: %1").arg(report.summary()));
            });
        SyncScheduler::instance().runAsked(SyncRun::Options());
    });
    auto* settings = new QAction(QCoreApplication::translate("SyncWindows", "Sync Settings..."), window);
    QObject::connect(settings, &QAction::triggered, window, [window] { SyncSettingsDialog(window).exec(); });
    return {now, settings};
}
