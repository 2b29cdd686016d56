#ifndef RECENTCONNECTIONS_H
#define RECENTCONNECTIONS_H

#include <QStringList>

// The last connections on which a job went through, newest first,
// remembered for the user, so that a site's server or a bench's adapter
// is one pick away the next day.
namespace RecentConnections {
constexpr int Kept = 8;

QStringList list();
// Puts `connection` first, once; the oldest beyond Kept go.
void remember(const QString &connection);
}

#endif // RECENTCONNECTIONS_H
