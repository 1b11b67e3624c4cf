#pragma once

#include <QObject>

class DataControl;
class QAction;
class QWidget;

// The message log's commands for its messages: export as CSV, printing and PDF, from the log grid's context menu
// and Ctrl+P, so the window's layout stays as it is.
class MessageCommands : public QObject
{
    Q_OBJECT
public:
    MessageCommands(QWidget* window, DataControl* datTel);

    QList<QAction*> actions() const { return m_actions; }

    void exportMessages();
    void printMessages(bool toPdf);

private:
    QWidget* m_window;
    DataControl* m_datTel;
    QList<QAction*> m_actions;
};
