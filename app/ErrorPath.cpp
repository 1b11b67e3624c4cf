#include "app/ErrorPath.h"

#include "app/MessageBox.h"
#include "data/Database.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace {
bool s_ended = false;
std::function<void()> s_endAction;
QSet<QString> s_readOnlyNoticed;
} // namespace

void ErrorPath::noticeReadOnly(const QString& path, QWidget* parent)
{
    // Held only while the start's check runs, a file that may be written is not read-only: the check itself tells
    // of damage.
    const QFileInfo file(path);
    const bool checking = Database::heldUntilChecked(path);
    if (s_readOnlyNoticed.contains(path) ||
        (checking && file.isWritable() && QFileInfo(file.absolutePath()).isWritable()))
        return;
    s_readOnlyNoticed.insert(path);
    if (Database::writesHeld(path) && !checking) {
        MessageBox::information(parent, QCoreApplication::translate("ErrorPath",
                                                                    "The database file is damaged and is opened for "
                                                                    "reading only: nothing is written to it. Changes "
                                                                    "cannot be saved there until it is restored from "
                                                                    "a backup copy or repaired.\nDatabase file: %1")
                                            .arg(path));
        return;
    }
    MessageBox::information(parent, QCoreApplication::translate(
                                        "ErrorPath", "The database file can be read but not written: it or its folder "
                                                     "is read-only. Changes cannot be saved there.\nDatabase file: %1")
                                        .arg(path));
}

void ErrorPath::installBusyCursor()
{
    Database::setBusyNotifier([] {
        if (QApplication::overrideCursor())
            return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The wait ends inside the handler that started it; the pointer comes back when the program is idle again.
        QTimer::singleShot(0, qApp, [] { QApplication::restoreOverrideCursor(); });
    });
}

void ErrorPath::report(int number, const QString& description, QWidget* parent)
{
    MessageBox::critical(parent,
                         QCoreApplication::translate("ErrorPath", "Error %1\n\n%2").arg(number).arg(description));
}

void ErrorPath::fatal(int number, const QString& description)
{
    report(number, description);
    s_ended = true;
    if (s_endAction) {
        s_endAction();
        return;
    }
    QApplication::closeAllWindows();
    // Also ends an event loop that has not started yet: the queued exit runs as soon as it does.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
}

bool ErrorPath::hasEnded()
{
    return s_ended;
}

void ErrorPath::setEndActionForTesting(std::function<void()> action)
{
    s_endAction = std::move(action);
}

void ErrorPath::resetForTesting()
{
    s_ended = false;
}
