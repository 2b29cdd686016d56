#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QStringList>

#include <optional>

class QIODevice;

// gprs-configurator-cli: reads, writes and compares a modem's settings from
// a script, on the same jobs, check and settings files as the window.
// `arguments` are those after the program's name. Data (a settings file,
// differences, ports, a found connection) goes to `out`; progress and
// messages, in the words of the window's status bar, go to `err`; a
// settings file named "-" comes from `in` (null: standard input).
// Returns the exit status: 0 success, 1 the port or the device failed,
// 2 a bad command line, a file that cannot be read or written, or an
// invalid value. (diff: 0 nothing differs, 1 something does, 2 trouble, as
// diff(1) has it.)
int runCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err, QIODevice *in = nullptr);

// The first half of runCommandLine: the arguments checked, nothing opened.
// Returns the exit status when that settles it (help, version, a usage
// error or a mistyped connection, with their output), else nothing.
std::optional<int> checkCommandLine(const QStringList &arguments, QIODevice &out, QIODevice &err);

#endif // COMMANDLINE_H
