#pragma once

#include "data/MessageLog.h"

#include <QDialog>

// One message read whole: its date and time, its From, To and text in full, and its state; below, the directory
// entries its From names, each number with a button that hands it to the desktop's tel: handler, and "Open Entry",
// which shows the entry in the entry window.
class MessageReader : public QDialog
{
    Q_OBJECT
public:
    struct Message
    {
        QString date;
        QString time;
        QString from;
        QString to;
        QString text;
        MessageLog::State state;
    };
    MessageReader(QWidget* parent, const Message& message, const QList<MessageLog::Caller>& callers);

    // Hands a number to the desktop's tel: handler; says so when there is none.
    static void call(QWidget* parent, const QString& number);

Q_SIGNALS:
    void openEntryRequested(qint64 entry);
};
