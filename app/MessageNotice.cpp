#include "app/MessageNotice.h"

#include "app/MDIForm1.h"
#include "app/SyncScheduler.h"
#include "app/WindowSwitch.h"
#include "app/WorkingWindow.h"
#include "sync/SyncReport.h"

#include <QCoreApplication>
#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

// The desktop's notification service as this program uses it. The base class relays the service's D-Bus signals
// to the Qt signals of the same name and arguments.
class NotificationsProxy : public QDBusAbstractInterface
{
    Q_OBJECT
public:
    NotificationsProxy(const QDBusConnection& bus, QObject* parent)
        : QDBusAbstractInterface(QStringLiteral("org.freedesktop.Notifications"),
                                 QStringLiteral("/org/freedesktop/Notifications"), "org.freedesktop.Notifications", bus,
                                 parent)
    {
    }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);
};

namespace {
const QString kLog = QStringLiteral("frmMes");
const QString kDefaultAction = QStringLiteral("default");

// A name as the notice shows it: a message may come with From or To left empty.
QString shownName(const QString& name)
{
    const QString shown = name.simplified();
    return shown.isEmpty() ? QCoreApplication::translate("MessageNotice", "(no name)") : shown;
}
} // namespace

MessageNotice::MessageNotice(QObject* parent) : MessageNotice(QDBusConnection::sessionBus(), parent) {}

MessageNotice::MessageNotice(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_service(new NotificationsProxy(bus, this))
{
    connect(&SyncScheduler::instance(), &SyncScheduler::finished, this, &MessageNotice::notify);
    connect(m_service, &NotificationsProxy::ActionInvoked, this, &MessageNotice::invoked);
    connect(m_service, &NotificationsProxy::NotificationClosed, this, [this](uint id) { m_shown.remove(id); });
}

MessageNotice::~MessageNotice() = default;

QString MessageNotice::summaryOf(const SyncReport& report)
{
    const int count = static_cast<int>(report.arrived.size());
    if (count == 1)
        return tr("Message for %1 from %2")
            .arg(shownName(report.arrived.first().to), shownName(report.arrived.first().from));
    return tr("%n new messages", nullptr, count);
}

QString MessageNotice::bodyOf(const SyncReport& report)
{
    // The body may be read as markup: a name is shown as typed, never as a tag.
    const SyncReport::Arrived& first = report.arrived.first();
    if (report.arrived.size() == 1)
        return tr("New in the message log.");
    return tr("The first is for %1 from %2.")
        .arg(shownName(first.to).toHtmlEscaped(), shownName(first.from).toHtmlEscaped());
}

void MessageNotice::notify(const SyncReport& report)
{
    if (report.arrived.isEmpty() || !m_service->connection().isConnected())
        return;
    const SyncReport::Arrived& first = report.arrived.first();
    const Shown shown{first.message, first.from, first.to};
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("org.tovrin.Tovrin")}};
    // Asked without waiting: a service that is missing or slow never holds up the windows, and its error is
    // dropped quietly.
    const QDBusPendingCall call = m_service->asyncCall(
        QStringLiteral("Notify"), QStringLiteral("Tovrin"), 0u, QStringLiteral("org.tovrin.Tovrin"), summaryOf(report),
        bodyOf(report), QStringList{kDefaultAction, tr("Show Message")}, hints, -1);
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, shown](QDBusPendingCallWatcher* done) {
        const QDBusPendingReply<uint> reply = *done;
        if (!reply.isError())
            m_shown.insert(reply.value(), shown);
        done->deleteLater();
    });
}

void MessageNotice::invoked(uint id, const QString& action)
{
    // The service tells every client of every notification's actions: only ours are acted upon.
    const auto found = m_shown.constFind(id);
    if (found == m_shown.constEnd() || action != kDefaultAction)
        return;
    const Shown shown = *found;
    showMessage(shown.message, shown.from, shown.to);
}

void MessageNotice::showMessage(qint64 message, const QString& from, const QString& to)
{
    MDIForm1* frame = WindowSwitch::frame();
    if (!frame)
        return;
    frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
    frame->show();
    frame->raise();
    frame->activateWindow();
    WorkingWindow* current = WindowSwitch::current();
    if (current && current->objectName() == kLog && current->showInPlace(message))
        return;
    if (current && current->holdsTyping()) {
        MDIForm1::showStatus(
            tr("The message for %1 from %2 is in the message log.").arg(shownName(to), shownName(from)));
        return;
    }
    WindowSwitch::switchTo(current, kLog, message);
}

#include "MessageNotice.moc"
