#include "app/MDIForm1.h"

#include "app/SyncScheduler.h"
#include "app/Twips.h"
#include "app/WindowSwitch.h"
#include "app/WorkingWindow.h"
#include "sync/SyncReport.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <utility>

namespace {
const QString kGeometryKey = QStringLiteral("frame/geometry");
const QString kSettingsName = QStringLiteral("Tovrin");
} // namespace

BackgroundArea::BackgroundArea(QWidget* parent)
    : QMdiArea(parent),
      // Decoding the picture (and finding the image format's plugin) takes a few milliseconds of the start; it is
      // needed only by the first paint.
      m_reading(std::async(std::launch::async, [] { return QImage(QStringLiteral(":/tovrin/background.jpg")); }))
{
    setBackground(Qt::black);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void BackgroundArea::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    for (QMdiSubWindow* sub : subWindowList())
        WorkingWindow::fitIntoArea(sub, true);
}

void BackgroundArea::paintEvent(QPaintEvent*)
{
    if (m_afterFirstPaint) {
        // Queued: the painted window reaches the screen when this paint is over.
        QTimer::singleShot(0, this, std::exchange(m_afterFirstPaint, nullptr));
    }
    if (m_reading.valid())
        m_picture = QPixmap::fromImage(m_reading.get());
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::black);
    if (m_picture.isNull())
        return;
    const QSize size = m_picture.deviceIndependentSize().toSize();
    const QRect area = viewport()->rect();
    painter.drawPixmap(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size), m_picture);
}

MDIForm1::MDIForm1(QWidget* parent)
    : QMainWindow(parent), m_area(new BackgroundArea(this)), m_syncState(new QLabel(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Tovrin"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/tovrin/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/tovrin/icon16.png"), QSize(16, 16));
    setWindowIcon(icon);
    m_area->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_area);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_syncState->setObjectName(QStringLiteral("syncState"));
    statusBar()->addPermanentWidget(m_syncState);
    // The client area the frame has when it is not maximized.
    resize(tw(4680), tw(3195));
}

void MDIForm1::showStatus(const QString& text)
{
    if (MDIForm1* frame = WindowSwitch::frame())
        frame->statusBar()->showMessage(text);
}

QString MDIForm1::statusText() const
{
    return statusBar()->currentMessage();
}

void MDIForm1::followSync()
{
    SyncScheduler& scheduler = SyncScheduler::instance();
    connect(&scheduler, &SyncScheduler::finished, this, &MDIForm1::showSyncReport);
    connect(&scheduler, &SyncScheduler::started, this, [this] { m_syncState->setText(tr("Syncing...")); });
    connect(&scheduler, &SyncScheduler::progress, this, [this](const QString& book, qint64 done, qint64 total) {
        m_syncState->setText(tr("Syncing %1: %2 of %3 cards...").arg(book).arg(done).arg(total));
    });
    if (scheduler.isRunning())
        m_syncState->setText(tr("Syncing..."));
}

void MDIForm1::showSyncReport(const SyncReport& report)
{
    const QString at = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
    if (report.notSetUp)
        m_syncState->clear();
    else if (!report.error.isEmpty())
        m_syncState->setText(tr("Sync failed at %1: %2").arg(at, report.error));
    else
        m_syncState->setText(tr("Last synced at %1: %2 received, %3 sent")
                                 .arg(at)
                                 .arg(report.received + report.removedHere)
                                 .arg(report.sent + report.removedThere));
    m_syncState->setToolTip(report.notSetUp ? QString() : report.summary());
}

QString MDIForm1::syncState() const
{
    return m_syncState->text();
}

void MDIForm1::closeEvent(QCloseEvent* event)
{
    if (m_remember)
        QSettings(kSettingsName, kSettingsName).setValue(kGeometryKey, saveGeometry());
    QMainWindow::closeEvent(event);
}

void MDIForm1::showFillingScreen()
{
    m_remember = true;
    // Where the user left the frame: restoreGeometry also brings a maximized frame back maximized, and a place on
    // a screen that is gone back onto one that is there.
    if (restoreGeometry(QSettings(kSettingsName, kSettingsName).value(kGeometryKey).toByteArray())) {
        show();
        if (!(windowState() & Qt::WindowMaximized))
            return;
    } else {
        showMaximized();
    }
    // A window manager answers within a few event-loop turns; the wait leaves it the time without the user seeing
    // a small frame for long.
    QTimer::singleShot(300, this, [this] {
        const QScreen* where = screen();
        if (!where || isFullScreen())
            return;
        const QRect available = where->availableGeometry();
        // Qt reports the state it asked for, maximized or not; only the size tells whether anyone honoured it.
        const QSize now = frameGeometry().size();
        if (now.width() * 10 >= available.width() * 9 && now.height() * 10 >= available.height() * 9)
            return;
        setWindowState(windowState() & ~Qt::WindowMaximized);
        setGeometry(available);
    });
}

void MDIForm1::endProgram()
{
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}
