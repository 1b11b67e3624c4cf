#pragma once

#include <QFont>
#include <QString>

namespace Fonts {

// Maps the faces the windows are designed with to look-alikes that cover Hebrew where the system lacks them:
// "David" -> "David CLM", "Times New Roman" -> "Liberation Serif", "MS Sans Serif" -> "Liberation Sans".
void install();

// A font of the design: face, size in points (8.25, 9.75, 11.25, 12), bold, underlined.
QFont font(const QString& family, double points, bool bold = false, bool underline = false);

} // namespace Fonts
