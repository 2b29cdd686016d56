#include "stationports.h"

#include "connectiontext.h"
#include "deviceprocedures.h"
#include "seriallink.h"
#include "usersettings.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace {

const char TickedKey[] = "station/ports";   // the connection texts last ticked
const char AddedKey[] = "station/addedPorts";

} // namespace

StationPorts::StationPorts(QListWidget *list, PortLister listPorts)
    : list(list)
    , listPorts(std::move(listPorts))
{
}

void StationPorts::refresh()
{
    const QSettings remembered = userSettings();
    const QStringList ticked = remembered.value(QLatin1String(TickedKey)).toStringList();
    QStringList connections;
    const QSignalBlocker blocker(list);
    list->clear();
    const auto add = [&](const QString &text, const QString &connection) {
        if (connections.contains(connection))
            return;
        connections << connection;
        auto *item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, connection);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(ticked.contains(connection) ? Qt::Checked : Qt::Unchecked);
    };
    for (const SerialPorts::Port &port : listPorts()) {
        add(port.description.isEmpty() ? port.name : QStringLiteral("%1 — %2").arg(port.name, port.description),
            ConnectionText::of(port.name));
    }
    for (const QString &added : remembered.value(QLatin1String(AddedKey)).toStringList())
        add(added, added);
}

QString StationPorts::add(const QString &typed)
{
    const QString connection = typed.contains(QLatin1Char('=')) ? typed : ConnectionText::of(typed);
    SerialLink link;
    const QString problem = DeviceProcedures::configureLink(link, connection);
    if (!problem.isEmpty())
        return problem;
    QSettings remembered = userSettings();
    QStringList added = remembered.value(QLatin1String(AddedKey)).toStringList();
    if (!added.contains(connection))
        added << connection;
    remembered.setValue(QLatin1String(AddedKey), added);
    // The ports ticked so far stay ticked, and the new one with them.
    remembered.setValue(QLatin1String(TickedKey), ticked() << connection);
    remembered.sync();
    refresh();
    return QString();
}

QStringList StationPorts::ticked() const
{
    QStringList ports;
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem *item = list->item(row);
        if (item->checkState() == Qt::Checked)
            ports << item->data(Qt::UserRole).toString();
    }
    return ports;
}

void StationPorts::rememberTicked() const
{
    userSettings().setValue(QLatin1String(TickedKey), ticked());
}
