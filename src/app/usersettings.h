#ifndef USERSETTINGS_H
#define USERSETTINGS_H

#include <QSettings>

// The user's remembered choices (the window's language, the folder of the
// last file), a file in the user's configuration folder
// (~/.config/gprs-configurator on Linux, %LOCALAPPDATA%\gprs-configurator on
// Windows) rather than the registry, so that it goes where Qt's standard
// locations point.
QSettings userSettings();

#endif // USERSETTINGS_H
