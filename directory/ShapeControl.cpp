#include "directory/ShapeControl.h"

#include "app/Twips.h"

#include <QPainter>

ShapeControl::ShapeControl(const QString& name, int left, int top, int width, int height, const QColor& color,
                           int borderWidth, QWidget* parent)
    : QWidget(parent), m_color(color), m_borderWidth(borderWidth)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(twRect(left, top, width, height));
}

void ShapeControl::paintEvent(QPaintEvent*)
{
    // A pen is centred on its path: inset by half its width so the whole border stays within the bounds.
    const double half = m_borderWidth / 2.0;
    QPainter painter(this);
    painter.setPen(QPen(m_color, m_borderWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}
