#ifndef STATIONPORTS_H
#define STATIONPORTS_H

#include "serialports.h"

#include <QStringList>

#include <functional>

class QListWidget;

// The station's ports as a list of check boxes: the machine's serial ports,
// described as the port picker describes them, and the connection texts the
// technician added; which are ticked, and both remembered for the user.
class StationPorts {
public:
    using PortLister = std::function<QList<SerialPorts::Port>()>;

    StationPorts(QListWidget *list, PortLister listPorts);

    // The list anew, ticked as last remembered.
    void refresh();
    // Adds a connection text (a bare port name stands for its connection at
    // a rate to be found, as the tool takes it), ticked with the others;
    // why not, when it cannot be used.
    QString add(const QString &typed);
    // The connection texts ticked.
    QStringList ticked() const;
    void rememberTicked() const;

private:
    QListWidget *list;
    PortLister listPorts;
};

#endif // STATIONPORTS_H
