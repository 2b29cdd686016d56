#include "usersettings.h"

#include <QStandardPaths>

QSettings userSettings()
{
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QLatin1String("/gprs-configurator/gprs-configurator.conf"),
                     QSettings::IniFormat);
}
