#include "WorkingWindow.h"

#include "Twips.h"

#include <QMdiSubWindow>
#include <QPushButton>

WorkingWindow::WorkingWindow(QWidget* parent) : QWidget(parent) {}

QMdiSubWindow* WorkingWindow::subWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void WorkingWindow::setBoundsTwips(int left, int top, int width, int height)
{
    const QRect bounds = twRect(left, top, width, height);
    if (QMdiSubWindow* sub = subWindow())
        sub->setGeometry(bounds);
    else
        setGeometry(bounds);
}

void WorkingWindow::unload()
{
    QWidget* outer = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    outer->hide();
    outer->setParent(nullptr);
    outer->deleteLater();
}

void WorkingWindow::pressOnEnter(QPushButton* button)
{
    // Outside a dialog the flag makes no button the window's default: Enter presses only the button that has the
    // focus, which the style marks as the one Enter presses, and goes to any other control as before.
    button->setAutoDefault(true);
}
