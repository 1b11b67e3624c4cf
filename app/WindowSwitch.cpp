#include "app/WindowSwitch.h"

#include "app/ErrorPath.h"
#include "app/MDIForm1.h"
#include "app/WorkingWindow.h"

#include <QApplication>
#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollArea>

namespace {
QPointer<MDIForm1> s_frame;
QHash<QString, WindowSwitch::Factory> s_factories;
QPointer<WorkingWindow> s_current;
QVariant s_argument;

Qt::WindowFlags flagsFor(const WorkingWindow& window)
{
    // No system menu and no buttons: the windows are left only through their own buttons.
    if (window.maximized())
        return Qt::SubWindow | Qt::FramelessWindowHint;
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (window.border() == WorkingWindow::Border::None)
        flags = Qt::SubWindow | Qt::FramelessWindowHint;
    return flags;
}
} // namespace

void WindowSwitch::setFrame(MDIForm1* frame)
{
    s_frame = frame;
}

MDIForm1* WindowSwitch::frame()
{
    return s_frame;
}

void WindowSwitch::registerWindow(const QString& name, Factory factory)
{
    s_factories.insert(name, std::move(factory));
}

WorkingWindow* WindowSwitch::show(const QString& name)
{
    if (!s_frame || !s_factories.contains(name))
        return nullptr;
    WorkingWindow* window = s_factories.value(name)();
    window->setObjectName(name);
    // Given less room than its controls need (a small screen, a large scale factor) the window scrolls, so no
    // control is ever out of reach; the focus moving on by keys brings its control into view.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(name + QStringLiteral("_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    // The scroll area itself is no stop of the Tab key; the window's controls are.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(window);
    QObject::connect(qApp, &QApplication::focusChanged, scroll, [scroll](QWidget*, QWidget* now) {
        if (now && scroll->widget() && scroll->widget()->isAncestorOf(now))
            scroll->ensureWidgetVisible(now, 4, 4);
    });
    QMdiSubWindow* sub = s_frame->mdiArea()->addSubWindow(scroll, flagsFor(*window));
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(window->caption());
    sub->setObjectName(name + QStringLiteral("_frame"));
    if (window->border() == WorkingWindow::Border::FixedSingle)
        sub->setOption(QMdiSubWindow::RubberBandResize, false);
    // A load that failed only because another program holds the file shows the window all the same.
    ErrorPath::run([&] { window->Form_Load(); });
    if (ErrorPath::hasEnded()) {
        sub->setParent(nullptr);
        sub->deleteLater();
        return nullptr;
    }
    if (window->border() == WorkingWindow::Border::FixedSingle && sub->minimumSize() != sub->maximumSize())
        sub->setFixedSize(sub->size());
    if (window->maximized())
        sub->showMaximized();
    else
        sub->show();
    s_frame->mdiArea()->setActiveSubWindow(sub);
    s_current = window;
    return window;
}

WorkingWindow* WindowSwitch::switchTo(WorkingWindow* from, const QString& name)
{
    if (!s_factories.contains(name))
        return nullptr; // a window this build does not have: stay where we are
    if (from) {
        if (s_current == from)
            s_current = nullptr;
        from->unload();
    }
    return show(name);
}

WorkingWindow* WindowSwitch::switchTo(WorkingWindow* from, const QString& name, const QVariant& argument)
{
    s_argument = argument;
    WorkingWindow* shown = switchTo(from, name);
    s_argument = QVariant();
    return shown;
}

QVariant WindowSwitch::argument()
{
    return s_argument;
}

WorkingWindow* WindowSwitch::current()
{
    return s_current;
}
