#pragma once

#include "app/ErrorPath.h"
#include "app/FileDialogs.h"
#include "app/Fonts.h"
#include "app/MessageBox.h"
#include "app/WindowSwitch.h"

#include <initializer_list>
#include <utility>

// What every test program of the windows sets up: once in its initTestCase, and before each test in its init (or in
// the fixture each test makes), so that the program holds its cases alone.
namespace WindowTest {

// The windows a test opens by name, each with what makes it: the real window or a stand-in.
using Windows = std::initializer_list<std::pair<const char*, WindowSwitch::Factory>>;

// The fonts of the design, message boxes and file dialogs that never block, an error path that records instead of
// ending the test, and the windows.
inline void setUpProgram(Windows windows)
{
    Fonts::install();
    MessageBox::setTestMode(true);
    FileDialogs::setTestMode(true);
    ErrorPath::setEndActionForTesting([] {});
    for (const auto& [name, make] : windows)
        WindowSwitch::registerWindow(QLatin1String(name), make);
}

// Nothing left from the test before: no ended error path, no message.
inline void startTest()
{
    ErrorPath::resetForTesting();
    MessageBox::takeMessages();
}

} // namespace WindowTest
