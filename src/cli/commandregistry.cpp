#include "commandregistry.h"

#include "command.h"

// A new command is a file of its own that defines its maker, and a line in
// the table below.
std::unique_ptr<Command> makeReadCommand(const QString &name, Console &console);
std::unique_ptr<Command> makeWriteCommand(const QString &name, Console &console);
std::unique_ptr<Command> makeDiffCommand(const QString &name, Console &console);
std::unique_ptr<Command> makePortsCommand(const QString &name, Console &console);
std::unique_ptr<Command> makeDetectCommand(const QString &name, Console &console);
std::unique_ptr<Command> makeHistoryCommand(const QString &name, Console &console);
std::unique_ptr<Command> makeProvisionCommand(const QString &name, Console &console);

namespace {

const struct {
    const char *name;
    CommandFactory make;
} registry[] = {
    {"read", makeReadCommand},
    {"write", makeWriteCommand},
    {"diff", makeDiffCommand},
    {"ports", makePortsCommand},
    {"detect", makeDetectCommand},
    {"history", makeHistoryCommand},
    {"provision", makeProvisionCommand},
};

} // namespace

Commands allCommands(Console &console)
{
    Commands commands;
    for (const auto &entry : registry)
        commands.push_back(entry.make(QString::fromLatin1(entry.name), console));
    return commands;
}
