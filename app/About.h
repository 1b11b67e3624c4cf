#pragma once

#include <QString>

class QAction;
class QWidget;

// The "About Tovrin" box every window offers in its context menu.
namespace About {

// Name, version, licence and where the directory file is.
QString text();
void show(QWidget* parent);
// The menu entry, owned by `window`, opening the box over it.
QAction* action(QWidget* window);

} // namespace About
