#include "app/WorkingWindow.h"

#include "app/Twips.h"

#include <QChildEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

namespace {
// Where the window stands when there is room for it, kept on its sub-window.
const char* const kDesignedBounds = "designedBounds";
const char* const kGrowsWithFrame = "growsWithFrame";
// On a control of a window laid out right to left: its designed left edge, and the left edge it was given.
const char* const kDesignedLeft = "designedLeft";
const char* const kMirroredLeft = "mirroredLeft";
// The client area the frame is designed with: the directory window's.
constexpr int kFrameWidth = 11880;
constexpr int kFrameHeight = 8175;
} // namespace

WorkingWindow::WorkingWindow(QWidget* parent) : QWidget(parent) {}

QMdiSubWindow* WorkingWindow::subWindow() const
{
    // The window, the scroll area's viewport, the scroll area, the sub-window.
    for (QWidget* outer = parentWidget(); outer; outer = outer->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(outer))
            return sub;
    }
    return nullptr;
}

QScrollArea* WorkingWindow::scrollArea() const
{
    return parentWidget() ? qobject_cast<QScrollArea*>(parentWidget()->parentWidget()) : nullptr;
}

void WorkingWindow::setBoundsTwips(int left, int top, int width, int height, bool growsWithFrame)
{
    const QRect bounds = twRect(left, top, width, height);
    if (QMdiSubWindow* sub = subWindow()) {
        sub->setProperty(kDesignedBounds, bounds);
        sub->setProperty(kGrowsWithFrame, growsWithFrame);
        fitIntoArea(sub);
    } else {
        setGeometry(bounds);
    }
}

void WorkingWindow::fitIntoArea(QMdiSubWindow* sub, bool keepPlacement)
{
    QRect designed = sub->property(kDesignedBounds).toRect();
    if (!designed.isValid() || sub->isMaximized() || !sub->mdiArea())
        return;
    const QSize room = sub->mdiArea()->viewport()->size();
    if (sub->property(kGrowsWithFrame).toBool())
        designed.setSize(designed.size() + (room - QSize(tw(kFrameWidth), tw(kFrameHeight))).expandedTo(QSize(0, 0)));
    // A window the user moved or sized stays so while it fits and has not been shrunk below its design by the
    // frame.
    const QRect now = sub->geometry();
    if (keepPlacement && QRect(QPoint(0, 0), room).contains(now) &&
        (now.width() >= designed.width() || now.width() >= room.width()) &&
        (now.height() >= designed.height() || now.height() >= room.height()))
        return;
    QSize size = designed.size().boundedTo(room);
    // A window cut short in one direction scrolls in it, and its scroll bar takes room in the other: given that room
    // where the area has it, the window needs no second scroll bar.
    const int bar = sub->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (size.height() < designed.height())
        size.setWidth(std::min(room.width(), size.width() + bar));
    if (size.width() < designed.width())
        size.setHeight(std::min(room.height(), size.height() + bar));
    const QPoint at(std::clamp(designed.x(), 0, std::max(0, room.width() - size.width())),
                    std::clamp(designed.y(), 0, std::max(0, room.height() - size.height())));
    auto* scroll = qobject_cast<QScrollArea*>(sub->widget());
    const auto* window = qobject_cast<const WorkingWindow*>(scroll ? scroll->widget() : sub->widget());
    // A window of fixed size keeps it unless the frame is too small for it; it then scrolls.
    if (window && window->border() == Border::FixedSingle)
        sub->setFixedSize(size);
    sub->setGeometry(QRect(at, size));
}

void WorkingWindow::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
}

bool WorkingWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Move || type == QEvent::Resize) && watched->parent() == this && isRightToLeft())
        mirror(static_cast<QWidget*>(watched), type == QEvent::Move);
    return QWidget::eventFilter(watched, event);
}

void WorkingWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!isRightToLeft())
        return;
    for (QObject* child : children()) {
        if (child->isWidgetType())
            mirror(static_cast<QWidget*>(child), false);
    }
}

void WorkingWindow::mirror(QWidget* control, bool moved)
{
    if (control->isWindow())
        return;
    const QVariant mirrored = control->property(kMirroredLeft);
    // A move to anywhere but the mirrored place is the window placing the control at its design.
    if (moved && (!mirrored.isValid() || mirrored.toInt() != control->x()))
        control->setProperty(kDesignedLeft, control->x());
    const QVariant designed = control->property(kDesignedLeft);
    if (!designed.isValid())
        return;
    const int left = width() - designed.toInt() - control->width();
    control->setProperty(kMirroredLeft, left);
    if (left != control->x())
        control->move(left, control->y());
}

void WorkingWindow::setDesignSize(const QSize& size)
{
    m_designSize = size;
    updateGeometry();
}

QSize WorkingWindow::designedClientSize() const
{
    const QMdiSubWindow* sub = subWindow();
    const QScrollArea* scroll = scrollArea();
    const QRect designed = sub ? sub->property(kDesignedBounds).toRect() : QRect();
    if (!scroll || !designed.isValid())
        return QSize();
    // The sub-window's frame and title take the same room whatever its size.
    return scroll->maximumViewportSize() + designed.size() - sub->size();
}

QSize WorkingWindow::minimumSizeHint() const
{
    return m_designSize.isValid() ? m_designSize : QWidget::minimumSizeHint();
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
