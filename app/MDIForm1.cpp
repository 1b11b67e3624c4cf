#include "MDIForm1.h"

#include "Twips.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <utility>

BackgroundArea::BackgroundArea(QWidget* parent)
    : QMdiArea(parent), m_picture(QStringLiteral(":/tovrin/background.jpg"))
{
    setBackground(Qt::black);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void BackgroundArea::paintEvent(QPaintEvent*)
{
    if (m_afterFirstPaint) {
        // Queued: the painted window reaches the screen when this paint is over.
        QTimer::singleShot(0, this, std::exchange(m_afterFirstPaint, nullptr));
    }
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::black);
    if (m_picture.isNull())
        return;
    const QSize size = m_picture.deviceIndependentSize().toSize();
    const QRect area = viewport()->rect();
    painter.drawPixmap(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size), m_picture);
}

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent), m_area(new BackgroundArea(this))
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Tovrin"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/tovrin/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/tovrin/icon16.png"), QSize(16, 16));
    setWindowIcon(icon);
    m_area->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_area);
    // The client area the frame has when it is not maximized.
    resize(tw(4680), tw(3195));
}

void MDIForm1::showFillingScreen()
{
    showMaximized();
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
