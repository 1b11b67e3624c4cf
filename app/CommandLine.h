#pragma once

class CommandRegistry;

// The program's command line (see CommandRegistry): the commands of the folders without windows, and those that
// need the windows' side (a book printed as PDF), with the directory file the windows use.
namespace CommandLine {

// Adds every option and command to `registry`, in the order --help and the manual page list them.
void addTo(CommandRegistry& registry);

} // namespace CommandLine
