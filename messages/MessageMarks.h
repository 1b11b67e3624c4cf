#pragma once

#include "data/MessageLog.h"

#include <QHash>
#include <QObject>
#include <QStyledItemDelegate>

class DataControl;
class DataGrid;
class QAction;
class QWidget;

// The states of the log's messages as its grid shows them, and the commands of its context menu that mark them:
// "Mark Done" / "Mark Open", "Call Back" and "Urgent", for the selected messages (the current one when none is),
// each one step Ctrl+Z takes back. The states are read again after every refresh of the log.
class MessageMarks : public QObject
{
    Q_OBJECT
public:
    MessageMarks(QWidget* window, DataControl* datTel, DataGrid* grid);

    QList<QAction*> actions() const { return m_actions; }
    // The state of the message a row shows (an open one without marks when it has none).
    MessageLog::State stateOfRow(int row) const;
    // The key (rowid) of the message a row shows; -1 when there is none.
    qint64 keyOfRow(int row) const;

Q_SIGNALS:
    // Messages were marked (and the mark stored).
    void marked(MessageLog::Mark mark);

private:
    void reload();
    void updateActions();
    void markSelected(MessageLog::Mark mark, bool on, const QString& step);

    QWidget* m_window;
    DataControl* m_datTel;
    DataGrid* m_grid;
    QHash<qint64, MessageLog::State> m_states;
    QAction* m_done;
    QAction* m_callBack;
    QAction* m_urgent;
    QList<QAction*> m_actions;
};

// Paints a done message greyed and an urgent one in bold dark red; cells are edited as the grid's own delegate
// edits them.
class MessageLook : public QStyledItemDelegate
{
    Q_OBJECT
public:
    MessageLook(const MessageMarks* marks, QAbstractItemDelegate* cells, QObject* parent)
        : QStyledItemDelegate(parent), m_marks(marks), m_cells(cells)
    {
    }
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return m_cells->createEditor(parent, option, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        m_cells->setModelData(editor, model, index);
    }

    static QColor doneColor() { return QColor(112, 112, 112); }
    static QColor urgentColor() { return QColor(176, 0, 0); }

private:
    const MessageMarks* m_marks;
    QAbstractItemDelegate* m_cells;
};
