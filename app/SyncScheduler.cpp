#include "app/SyncScheduler.h"

#include "app/Module1.h"
#include "data/UndoLog.h"
#include "sync/SyncFile.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <memory>

SyncScheduler& SyncScheduler::instance()
{
    static SyncScheduler* scheduler = new SyncScheduler;
    return *scheduler;
}

SyncScheduler::SyncScheduler() : QObject(QCoreApplication::instance())
{
    m_soon.setSingleShot(true);
    connect(&m_soon, &QTimer::timeout, this, &SyncScheduler::runNow);
    connect(&m_every, &QTimer::timeout, this, &SyncScheduler::runNow);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (m_thread) {
            m_thread->requestInterruption();
            m_thread->wait();
        }
    });
}

void SyncScheduler::start()
{
    // Each step the user takes on the file (a save, an edit, a deletion, an import, an undo) is a local change.
    connect(&UndoLog::instance(), &UndoLog::changed, this, [this] { m_soon.start(kAfterChangeMs); });
    m_every.start(kEveryMs);
    runNow();
}

void SyncScheduler::runNow()
{
    if (m_thread) {
        m_again = true;
        return;
    }
    SyncRun::Options options;
    options.leavePaused = true;
    launch(options);
}

void SyncScheduler::runAsked(const SyncRun::Options& options)
{
    if (m_thread) {
        m_asked = options;
        return;
    }
    launch(options);
}

void SyncScheduler::launch(const SyncRun::Options& options)
{
    QString database;
    try {
        database = Module1::databasePath();
    } catch (...) {
        return;
    }
    SyncRun::Options told = options;
    told.progress = [this](const QString& book, qsizetype done, qsizetype total) {
        QMetaObject::invokeMethod(
            this, [this, book, done, total] { emit progress(book, done, total); }, Qt::QueuedConnection);
    };
    auto report = std::make_shared<SyncReport>();
    m_thread = QThread::create([database, report, told] { *report = SyncFile::run(database, QString(), told); });
    connect(m_thread, &QThread::finished, this, [this, report] {
        m_thread->deleteLater();
        m_thread = nullptr;
        done(*report);
    });
    m_thread->start(QThread::LowPriority);
    emit started();
}

void SyncScheduler::done(const SyncReport& report)
{
    if (report.notSetUp) {
        m_every.stop();
    } else if (!report.error.isEmpty()) {
        const int minutes = std::min(15, 1 << std::min(m_failures, 4));
        ++m_failures;
        m_soon.start(minutes * 60 * 1000);
    } else {
        m_failures = 0;
        if (!m_every.isActive())
            m_every.start(kEveryMs);
    }
    ++m_finishedRuns;
    emit finished(report);
    if (m_asked) {
        const SyncRun::Options asked = *m_asked;
        m_asked.reset();
        m_again = false;
        runAsked(asked);
    } else if (m_again) {
        m_again = false;
        runNow();
    }
}
