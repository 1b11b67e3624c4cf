#include "SyncWindows.h"

#include "MessageBox.h"
#include "SyncScheduler.h"
#include "SyncSettingsDialog.h"

#include <QAction>
#include <QPointer>
#include <memory>

QList<QAction*> SyncWindows::actions(QWidget* window, std::function<void()> refresh)
{
    QObject::connect(&SyncScheduler::instance(), &SyncScheduler::finished, window, [refresh](const SyncReport& report) {
        if (report.received > 0 || report.removedHere > 0)
            refresh();
    });
    auto* now = new QAction(QStringLiteral("Sync Now..."), window);
    QObject::connect(now, &QAction::triggered, window, [window] {
        // The result of this run is shown; the quiet runs keep theirs for About.
        auto connection = std::make_shared<QMetaObject::Connection>();
        *connection = QObject::connect(&SyncScheduler::instance(), &SyncScheduler::finished, window,
                                       [window, connection](const SyncReport& report) {
                                           QObject::disconnect(*connection);
                                           if (report.notSetUp) {
                                               SyncSettingsDialog(window).exec();
                                               return;
                                           }
                                           if (report.error.isEmpty())
                                               MessageBox::information(window,
                                                                       QStringLiteral("Sync: ") + report.summary());
                                           else
                                               MessageBox::warning(window,
                                                                   QStringLiteral("Sync failed: ") + report.summary());
                                       });
        SyncScheduler::instance().runNow();
    });
    auto* settings = new QAction(QStringLiteral("Sync Settings..."), window);
    QObject::connect(settings, &QAction::triggered, window, [window] { SyncSettingsDialog(window).exec(); });
    return {now, settings};
}
