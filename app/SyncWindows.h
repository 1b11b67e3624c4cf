#pragma once

#include <QList>
#include <functional>

class QAction;
class QWidget;

// The sync as the book grids' context menu offers it: "Sync Now..." (a sync at once, its result shown when it
// ends; the settings first when there are none) and "Sync Settings...". `refresh` shows the rows a sync wrote.
namespace SyncWindows {

QList<QAction*> actions(QWidget* window, std::function<void()> refresh);

} // namespace SyncWindows
