#include "recentconnections.h"

#include "usersettings.h"

namespace {

const QString Key = QStringLiteral("recentConnections");

} // namespace

QStringList RecentConnections::list()
{
    // Whatever a hand-edited file holds, the menu gets texts, at most Kept.
    QStringList kept;
    for (const QString &connection : userSettings().value(Key).toStringList()) {
        if (!connection.trimmed().isEmpty() && !kept.contains(connection) && kept.size() < Kept)
            kept << connection;
    }
    return kept;
}

void RecentConnections::remember(const QString &connection)
{
    if (connection.trimmed().isEmpty())
        return;
    QStringList kept = list();
    kept.removeAll(connection);
    kept.prepend(connection);
    userSettings().setValue(Key, QVariant(kept.mid(0, Kept)));
}
