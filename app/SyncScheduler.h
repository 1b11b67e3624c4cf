#pragma once

#include "sync/SyncReport.h"
#include "sync/SyncRun.h"

#include <QObject>
#include <QTimer>
#include <optional>

class QThread;

// When the books sync while the windows run: at start, a few seconds after each step the user takes on the file,
// every 15 minutes, and when asked ("Sync Now..."). Each sync runs in a thread of its own on connections of its
// own, so the windows never wait for the network; its rows reach the windows through the file's change log. A
// failed sync (offline, a server error) is tried again quietly, after 1, 2, 4, 8 and then every 15 minutes.
class SyncScheduler : public QObject
{
    Q_OBJECT
public:
    static SyncScheduler& instance();

    static constexpr int kAfterChangeMs = 5000;
    static constexpr int kEveryMs = 15 * 60 * 1000;

    // Syncs now and from now on on the program's own moments.
    void start();
    // A sync as soon as none runs, at the program's own moments: an address book the user paused is left alone.
    void runNow();
    // A sync the user asked for, as soon as none runs: every address book, with these options.
    void runAsked(const SyncRun::Options& options);
    // Counts the syncs that ended, so one result is acted upon once.
    int finishedRuns() const { return m_finishedRuns; }
    bool isRunning() const { return m_thread != nullptr; }

Q_SIGNALS:
    void started();
    // How far the running sync is: of the address book `book`, `done` cards read or sent of `total`.
    void progress(const QString& book, qint64 done, qint64 total);
    void finished(const SyncReport& report);

private:
    SyncScheduler();
    void launch(const SyncRun::Options& options);
    void done(const SyncReport& report);

    QTimer m_soon;
    QTimer m_every;
    QThread* m_thread = nullptr;
    bool m_again = false;
    std::optional<SyncRun::Options> m_asked; // a sync the user asked for while another ran
    int m_finishedRuns = 0;
    int m_failures = 0;
};
