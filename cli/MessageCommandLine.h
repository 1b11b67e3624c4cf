#pragma once

class CommandRegistry;

// The message log from the command line: --messages (with --open and --for) lists it, --mark-done N marks the
// message a listing numbered N done.
//
// A listing has one line a message, newest date first as the log window lists it, each value separated by a tab:
// the number, date (yyyy-mm-dd), time (hh:mm:ss), From, To, the message, and its state: "open" or "done", followed
// by ",call back" and ",urgent" where marked. A backslash, tab, line feed or carriage return inside a value is
// written as \\, \t, \n or \r, so that every message is one line. A message's number is its place in the whole log:
// --open and --for leave lines out but keep each line's number, so the number any listing shows is the one
// --mark-done takes, without options of its own.
namespace MessageCommandLine {

void addTo(CommandRegistry& registry);

} // namespace MessageCommandLine
