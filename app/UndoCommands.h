#pragma once

#include <QList>
#include <functional>

class QAction;
class QWidget;

// "Undo ..." and "Redo ..." for a window (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y), naming the step they take back or do
// again (see UndoLog), for the file the windows use. `refresh` shows the file as it is afterwards. The actions are
// the window's shortcuts and belong in its grids' context menus; a text box keeps its own Ctrl+Z for what is typed.
namespace UndoCommands {

QList<QAction*> actions(QWidget* window, std::function<void()> refresh);

} // namespace UndoCommands
