#pragma once

#include <QColor>
#include <QWidget>

// A rectangle outline over a part of a window. It lies above the controls it frames, so text that runs up to
// its edge does not cut the border; it has no background and lets the mouse through to what lies beneath.
class ShapeControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor BorderColor READ BorderColor CONSTANT)
    Q_PROPERTY(int BorderWidth READ BorderWidth CONSTANT)
public:
    // Bounds in twips of the parent's client area; the border lies inside them.
    ShapeControl(const QString& name, int left, int top, int width, int height, const QColor& color, int borderWidth,
                 QWidget* parent);

    QColor BorderColor() const { return m_color; }
    int BorderWidth() const { return m_borderWidth; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
    int m_borderWidth;
};
