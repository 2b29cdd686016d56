#pragma once

#include <QString>

// Where the configurator keeps what belongs to the user rather than to a
// settings file: the log and the journal of Writes, in the user's own data
// folder (~/.local/share/gprs-configurator on Linux,
// %LOCALAPPDATA%\gprs-configurator on Windows). The window and the
// command-line tool share it, whatever their programs are called.
namespace UserFolders {

QString dataFolder();
QString logFolder();
QString journalFolder();

// Makes `folder` (and its parents) and leaves it readable by its owner
// alone. False when it cannot be made.
bool makePrivate(const QString &folder);

} // namespace UserFolders
