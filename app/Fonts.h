#pragma once

#include <QFont>
#include <QString>
#include <future>

namespace Fonts {

// Maps the faces the windows are designed with to look-alikes that cover Hebrew where the system lacks them:
// "David" -> "David CLM", "Times New Roman" -> "Liberation Serif", "MS Sans Serif" -> "Liberation Sans".
void install();

// Starts reading the system's font configuration (fontconfig, where the system has it) on a thread of its own: the
// first text measured waits for it, and the program has its application object to make before that. The future
// waits for the thread when it goes.
std::future<void> readConfigurationAhead();

// A font of the design: face, size in points (8.25, 9.75, 11.25, 12), bold, underlined.
QFont font(const QString& family, double points, bool bold = false, bool underline = false);

} // namespace Fonts
