#pragma once

// Reads an Access database file (Jet 3, Jet 4, ACE) with libmdb and writes the two tables of the old directory
// program to standard output. Runs in a process of its own, started by AccessFile: a damaged file can crash
// libmdb or send it into an endless read, and only this process suffers. The file's bytes come on standard input,
// so the reader never opens a path and sees the file as it stood when it was read, whoever else holds it open.
//
// The output is a series of tokens, each a letter, the length of its value in bytes in decimal, ':' and the value:
//   V  the format: "jet3", "jet4" or "ace"          P  the code page of a Jet 3 file's texts (0 when not given)
//   T  a table (tblTel, tblMes) follows            C  a column: its libmdb type number, a space, its name
//   R  a row follows, one cell token per column    N  NULL    S  a text (UTF-8)    D  a date, the raw Jet double
//   O  another table of the file, not read          X  the file cannot be read, and why (the last token)
//   Z  the end: everything was read
// Jet 3 texts are given with each byte as the character of the same number (ISO-8859-1), so the reading side can
// decode them in the encoding the user picks.
namespace JetReader {

// The option that makes the program run as the reader.
constexpr const char* kOption = "--read-access-file";

// Reads standard input, writes standard output; returns the process's exit code (0 read, 1 not readable).
int run();

} // namespace JetReader
