#include "directory/LineControl.h"

#include "app/Twips.h"

#include <QPainter>

LineControl::LineControl(const QString& name, int x1, int y1, int x2, int y2, const QColor& color, int width,
                         QObject* parent)
    : QObject(parent), m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2), m_color(color), m_width(width)
{
    setObjectName(name);
}

void LineControl::paint(QPainter& painter) const
{
    paint(painter, QPointF(double(m_x1) / twipsPerPixel, double(m_y1) / twipsPerPixel),
          QPointF(double(m_x2) / twipsPerPixel, double(m_y2) / twipsPerPixel));
}

void LineControl::paint(QPainter& painter, const QPointF& from, const QPointF& to) const
{
    // Wide lines of the design have round ends, so the slanted edges meet the straight ones without a notch.
    painter.setPen(QPen(m_color, m_width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
}
