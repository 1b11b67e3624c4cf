#include "ErrorPath.h"

#include "MessageBox.h"

#include <QApplication>
#include <QTimer>

namespace {
bool s_ended = false;
std::function<void()> s_endAction;
} // namespace

void ErrorPath::report(int number, const QString& description, QWidget* parent)
{
    MessageBox::critical(parent, QStringLiteral("Error %1\n\n%2").arg(number).arg(description));
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
