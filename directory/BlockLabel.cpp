#include "directory/BlockLabel.h"

#include <QPainter>
#include <QRegularExpression>

BlockLabel::BlockLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

QStringList BlockLabel::lines() const
{
    static const QRegularExpression lineEnd(QStringLiteral("\r?\n"));
    return text().split(lineEnd);
}

QSize BlockLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QStringList all = lines();
    int width = 0;
    for (const QString& line : all)
        width = qMax(width, metrics.horizontalAdvance(line));
    return QSize(width, int(all.size()) * metrics.height());
}

void BlockLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (autoFillBackground())
        painter.fillRect(rect(), palette().color(backgroundRole()));
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    int y = metrics.ascent();
    for (const QString& line : lines()) {
        painter.drawText(0, y, line);
        y += metrics.height();
    }
}
