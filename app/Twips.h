#pragma once

#include <QRect>
#include <cmath>

// Window and control positions are designed in twips (1/1440 inch); at the usual 96 logical dots per inch that
// is 15 twips a logical pixel. Qt scales logical pixels on high-density screens.
constexpr int twipsPerPixel = 15;

inline int tw(int twips)
{
    return int(std::lround(double(twips) / twipsPerPixel));
}

inline QRect twRect(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
