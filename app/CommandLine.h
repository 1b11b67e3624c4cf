#pragma once

class CommandRegistry;

// The program's command line (see CommandRegistry): the commands of the folders without windows, and those that
// need the windows' side (a book printed as PDF), with the directory file the windows use.
namespace CommandLine {

// Adds every option and command to `registry`, in the order --help and the manual page list them.
void addTo(CommandRegistry& registry);

// Does the work the arguments ask for without windows and returns its exit code, or -1 when they ask for the
// windows. The registry's help texts are made as it is built, so it is built again once the application object
// has the translators.
int runIfWanted(int argc, char** argv);

} // namespace CommandLine
