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

// The command that prints the program's help, or a command's.
inline constexpr char HelpCommand[] = "help";

// Every option of every command, described as the program's help lists them.
QList<QCommandLineOption> all(const Commands &commands);
// Every option of every command in `parser`, and the program's help.
void addTo(QCommandLineParser &parser, const Commands &commands);

// What the parser found wrong with `arguments`, in the tool's own words
// ("unknown option '--verfy'", "option '-q' takes no value"), and the
// command they name (the first word that is neither an option nor its
// value), if any.
struct Misuse {
    QString problem;
    QString command;
};
Misuse misuse(const QStringList &arguments, const Commands &commands);
// `parser`'s help under the program's name; the manual page is made from it.
QString helpText(const QCommandLineParser &parser);

} // namespace ProgramOptions

#endif // PROGRAMOPTIONS_H
