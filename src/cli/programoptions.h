#ifndef PROGRAMOPTIONS_H
#define PROGRAMOPTIONS_H

#include "command.h"

class QCommandLineParser;

// The options that every command accepts, before or after its name, and
// the program's own help, which lists every command and every option.
namespace ProgramOptions {

QCommandLineOption help();
QCommandLineOption version();
QCommandLineOption keepCon();
QCommandLineOption noKeepCon();
QCommandLineOption quiet();
QCommandLineOption trace();

// Every option of every command in `parser`, and the program's help.
void addTo(QCommandLineParser &parser, const Commands &commands);
// `parser`'s help under the program's name; the manual page is made from it.
QString helpText(const QCommandLineParser &parser);

} // namespace ProgramOptions

#endif // PROGRAMOPTIONS_H
