#pragma once

#include <QGuiApplication>
#include <QString>

// A value placed in a line of other text (a name in a printout's line, a number beside its label) keeps its own
// order when it is isolated: Hebrew data in an English line, or English data in a Hebrew one. Isolated when the
// value or the interface reads right to left; English data in an English line stays as it is.
namespace Bidi {

inline QString isolated(const QString& value)
{
    if (!value.isRightToLeft() && QGuiApplication::layoutDirection() != Qt::RightToLeft)
        return value;
    return QChar(0x2068) + value + QChar(0x2069); // FIRST STRONG ISOLATE ... POP DIRECTIONAL ISOLATE
}

} // namespace Bidi
