#pragma once

#include "data/DbError.h"

#include <exception>
#include <functional>

class QWidget;

// The general error path: a failure is shown with its number and description. While a window loads, the program
// then ends (unless the file is only busy); while the user writes (a save, a grid edit or deletion), the window
// stays as it was so nothing typed is lost.
namespace ErrorPath {

// Shows the failure in a message box.
void report(int number, const QString& description, QWidget* parent = nullptr);
// Tells the user, once a run for each file, that the file can be read but not written.
void noticeReadOnly(const QString& path, QWidget* parent = nullptr);
// While a statement waits for another program's lock, the mouse pointer shows that the program is busy.
void installBusyCursor();

// Shows the failure, then ends the program: every window closes and the event loop returns 1.
void fatal(int number, const QString& description);
// True once fatal() ran (the program is ending).
bool hasEnded();
// Tests replace the ending (which would close every window) and reset the flag.
void setEndActionForTesting(std::function<void()> action);
void resetForTesting();

// Runs a handler; a failure takes the fatal path, except a file that another program holds for longer than the
// program waits: that is reported and the window stays, so the user can try again. Returns false when it failed.
template <class F> bool run(F&& handler)
{
    try {
        handler();
        return true;
    } catch (const DbError& error) {
        if (error.isBusy())
            report(error.number(), error.description());
        else
            fatal(error.number(), error.description());
    } catch (const std::exception& error) {
        fatal(-1, QString::fromLocal8Bit(error.what()));
    }
    return false;
}

// Runs a handler that writes what the user typed; a failure is reported and the window is kept.
template <class F> bool runKeeping(QWidget* parent, F&& handler)
{
    try {
        handler();
        return true;
    } catch (const DbError& error) {
        report(error.number(), error.description(), parent);
    } catch (const std::exception& error) {
        report(-1, QString::fromLocal8Bit(error.what()), parent);
    }
    return false;
}

} // namespace ErrorPath
