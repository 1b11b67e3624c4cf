#pragma once

#include <QHash>
#include <QObject>

class QDBusConnection;
class NotificationsProxy;
struct SyncReport;

// Tells the desktop when a sync brought open messages to the log: one notification through the desktop's
// notification service (org.freedesktop.Notifications on the session bus) naming From and To, or, for several
// messages, saying how many and naming the first. Clicking it brings the frame forward and shows that message in
// the log, read whole. Without a session bus or a notification service nothing is shown and nothing is said: the
// log holds the messages all the same.
class MessageNotice : public QObject
{
    Q_OBJECT
public:
    // Follows the syncs of SyncScheduler on the user's session bus.
    explicit MessageNotice(QObject* parent);
    // The same on a bus of the caller's choosing.
    MessageNotice(const QDBusConnection& bus, QObject* parent);
    ~MessageNotice() override;

    void notify(const SyncReport& report);

    // The notification's texts for the open messages a sync brought.
    static QString summaryOf(const SyncReport& report);
    static QString bodyOf(const SyncReport& report);

    // Brings the frame forward and shows the message of that rowid in the log, read whole. A window that holds
    // what the user is typing is not left: the status line names the message instead.
    static void showMessage(qint64 message, const QString& from, const QString& to);

private:
    void invoked(uint id, const QString& action);

    NotificationsProxy* m_service;
    struct Shown
    {
        qint64 message;
        QString from;
        QString to;
    };
    QHash<uint, Shown> m_shown; // the notifications on screen, by the service's id
};
