#include "messages/MessageMarks.h"

#include "app/DataGrid.h"
#include "app/ErrorPath.h"
#include "data/DataControl.h"
#include "data/DbError.h"
#include "data/GridModel.h"
#include "data/UndoLog.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>
#include <QWidget>

MessageMarks::MessageMarks(QWidget* window, DataControl* datTel, DataGrid* grid)
    : QObject(window), m_window(window), m_datTel(datTel), m_grid(grid), m_done(new QAction(window)),
      m_callBack(new QAction(tr("Call Back"), window)), m_urgent(new QAction(tr("Urgent"), window))
{
    m_callBack->setCheckable(true);
    m_urgent->setCheckable(true);
    auto* separator = new QAction(window);
    separator->setSeparator(true);
    m_actions = {m_done, m_callBack, m_urgent, separator};
    connect(m_done, &QAction::triggered, this, [this] {
        const bool done = !stateOfRow(m_grid->view()->currentIndex().row()).done;
        markSelected(MessageLog::Mark::Done, done, done ? tr("Mark Done") : tr("Mark Open"));
    });
    connect(m_callBack, &QAction::triggered, this, [this](bool on) {
        markSelected(MessageLog::Mark::CallBack, on, on ? tr("Call Back") : tr("No Call Back"));
    });
    connect(m_urgent, &QAction::triggered, this,
            [this](bool on) { markSelected(MessageLog::Mark::Urgent, on, on ? tr("Urgent") : tr("Not Urgent")); });
    connect(m_datTel, &DataControl::refreshed, this, [this] { ErrorPath::runKeeping(m_window, [this] { reload(); }); });
    grid->view()->setItemDelegate(new MessageLook(this, grid->view()->itemDelegate(), this));
    updateActions();
}

qint64 MessageMarks::keyOfRow(int row) const
{
    GridModel* model = m_grid->model();
    if (!model || row < 0 || row >= model->rowCount())
        return -1;
    try {
        return model->keyOfRow(row);
    } catch (const DbError&) {
        return -1;
    }
}

MessageLog::State MessageMarks::stateOfRow(int row) const
{
    return m_states.value(keyOfRow(row));
}

void MessageMarks::reload()
{
    m_states.clear();
    if (const auto& db = m_datTel->database())
        m_states = MessageLog::states(*db);
    // The grid's selection model is made anew with its model: the actions follow the current row of this one.
    if (QItemSelectionModel* selection = m_grid->view()->selectionModel()) {
        disconnect(selection, nullptr, this, nullptr);
        connect(selection, &QItemSelectionModel::currentRowChanged, this, &MessageMarks::updateActions);
    }
    updateActions();
    m_grid->view()->viewport()->update();
}

void MessageMarks::updateActions()
{
    const int row = m_grid->view()->currentIndex().row();
    const MessageLog::State state = stateOfRow(row);
    m_done->setText(state.done ? tr("Mark Open") : tr("Mark Done"));
    m_callBack->setChecked(state.callBack);
    m_urgent->setChecked(state.urgent);
    for (QAction* action : {m_done, m_callBack, m_urgent})
        action->setEnabled(row >= 0);
}

void MessageMarks::markSelected(MessageLog::Mark mark, bool on, const QString& step)
{
    QList<qint64> keys;
    for (const QModelIndex& index : m_grid->view()->selectionModel()->selectedIndexes()) {
        const qint64 key = keyOfRow(index.row());
        if (key >= 0 && !keys.contains(key))
            keys << key;
    }
    if (keys.isEmpty() && keyOfRow(m_grid->view()->currentIndex().row()) >= 0)
        keys << keyOfRow(m_grid->view()->currentIndex().row());
    const auto& db = m_datTel->database();
    if (keys.isEmpty() || !db)
        return;
    const bool stored = ErrorPath::runKeeping(m_window, [&] {
        UndoLog::Recording recording(step);
        MessageLog::mark(*db, keys, mark, on, MessageLog::deskUser(), QDateTime::currentDateTime());
        recording.keep();
    });
    ErrorPath::runKeeping(m_window, [this] { reload(); });
    if (stored)
        Q_EMIT marked(mark);
}

void MessageLook::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const MessageLog::State state = m_marks->stateOfRow(index.row());
    if (state.urgent) {
        option->font.setBold(true);
        option->palette.setColor(QPalette::Text, urgentColor());
    }
    if (state.done)
        option->palette.setColor(QPalette::Text, doneColor());
}
