#include "WindowSwitch.h"

#include "ErrorPath.h"
#include "MDIForm1.h"
#include "WorkingWindow.h"

#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

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
    QMdiSubWindow* sub = s_frame->mdiArea()->addSubWindow(window, flagsFor(*window));
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
    if (window->border() == WorkingWindow::Border::FixedSingle)
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
