#pragma once

class CommandRegistry;

// The program's backup copies from the command line: --backup FILE, --list-backups and --restore FILE.
namespace BackupCommandLine {

void addTo(CommandRegistry& registry);

} // namespace BackupCommandLine
