#pragma once

#include <QColor>
#include <QObject>

class QPainter;
class QPointF;

// A straight line drawn on a window's own surface, beneath its controls. It has no widget of its own, so it
// never takes the mouse or the focus; the window paints it. End points are in twips of the window's client area.
class LineControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int X1 READ X1 CONSTANT)
    Q_PROPERTY(int Y1 READ Y1 CONSTANT)
    Q_PROPERTY(int X2 READ X2 CONSTANT)
    Q_PROPERTY(int Y2 READ Y2 CONSTANT)
    Q_PROPERTY(QColor BorderColor READ BorderColor CONSTANT)
    Q_PROPERTY(int BorderWidth READ BorderWidth CONSTANT)
public:
    LineControl(const QString& name, int x1, int y1, int x2, int y2, const QColor& color, int width, QObject* parent);

    int X1() const { return m_x1; }
    int Y1() const { return m_y1; }
    int X2() const { return m_x2; }
    int Y2() const { return m_y2; }
    QColor BorderColor() const { return m_color; }
    int BorderWidth() const { return m_width; }

    void paint(QPainter& painter) const;
    // Draws the line between two points in pixels, where the window's layout has placed its ends.
    void paint(QPainter& painter, const QPointF& from, const QPointF& to) const;

private:
    int m_x1, m_y1, m_x2, m_y2;
    QColor m_color;
    int m_width;
};
