#pragma once

#include <QString>
#include <QVariant>
#include <functional>

class MDIForm1;
class WorkingWindow;

// Hands the frame from one working window to another: the window that asks unloads itself, then the other is
// created afresh, loaded and shown. Windows know each other only by name.
namespace WindowSwitch {

using Factory = std::function<WorkingWindow*()>;

void setFrame(MDIForm1* frame);
MDIForm1* frame();
void registerWindow(const QString& name, Factory factory);

// Creates the window, runs its Form_Load and shows it inside the frame. A load failure takes the fatal error
// path; nothing is shown then and the result is null.
WorkingWindow* show(const QString& name);
// Unloads `from`, then shows `name`.
WorkingWindow* switchTo(WorkingWindow* from, const QString& name);
// The same, handing the new window `argument` (the key of the entry to open), which its constructor and its
// Form_Load read through argument().
WorkingWindow* switchTo(WorkingWindow* from, const QString& name, const QVariant& argument);
// What the window being made and loaded was given by switchTo; null at any other time.
QVariant argument();
// The working window now shown, if any.
WorkingWindow* current();

} // namespace WindowSwitch
