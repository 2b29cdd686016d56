#ifndef COMMANDREGISTRY_H
#define COMMANDREGISTRY_H

#include "command.h"

class Console;

// Every command of the tool, in the order the help lists them.
Commands allCommands(Console &console);

#endif // COMMANDREGISTRY_H
