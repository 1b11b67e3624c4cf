#include "app/UndoCommands.h"

#include "app/ErrorPath.h"
#include "app/Module1.h"
#include "data/DbError.h"
#include "data/UndoLog.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

namespace {

QString file()
{
    try {
        return Module1::databasePath();
    } catch (const DbError&) {
        return QString();
    }
}

} // namespace

QList<QAction*> UndoCommands::actions(QWidget* window, std::function<void()> refresh)
{
    auto* undo = new QAction(window);
    auto* redo = new QAction(window);
    undo->setShortcut(QKeySequence::Undo);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    const auto update = [undo, redo] {
        const QString path = file();
        const QString undoName = path.isEmpty() ? QString() : UndoLog::instance().undoName(path);
        const QString redoName = path.isEmpty() ? QString() : UndoLog::instance().redoName(path);
        undo->setText(undoName.isEmpty() ? QCoreApplication::translate("UndoCommands", "Undo")
                                         : QCoreApplication::translate("UndoCommands", "Undo %1").arg(undoName));
        redo->setText(redoName.isEmpty() ? QCoreApplication::translate("UndoCommands", "Redo")
                                         : QCoreApplication::translate("UndoCommands", "Redo %1").arg(redoName));
        undo->setEnabled(!undoName.isEmpty());
        redo->setEnabled(!redoName.isEmpty());
    };
    for (auto [action, forward] : {std::pair{undo, false}, std::pair{redo, true}}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        window->addAction(action);
        QObject::connect(action, &QAction::triggered, window, [window, refresh, forward = forward] {
            ErrorPath::runKeeping(window, [&] {
                const QString path = file();
                if (path.isEmpty())
                    return;
                if (forward)
                    UndoLog::instance().redo(path);
                else
                    UndoLog::instance().undo(path);
            });
            // Shown as stored in either case: a refused step names a row changed elsewhere.
            ErrorPath::runKeeping(window, [&] { refresh(); });
        });
    }
    QObject::connect(&UndoLog::instance(), &UndoLog::changed, undo, update);
    update();
    return {undo, redo};
}
