#ifndef PORTPICKER_H
#define PORTPICKER_H

#include "recentconnections.h"
#include "serialports.h"

#include <QObject>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;

// The Connection field's picker: a button at the field's end, or Alt+Down
// in the field, opens a menu of the last connections that worked, the
// machine's serial ports (both listed afresh each time), the modem's baud
// rates and "Detect modem". Picking a connection puts it in the field;
// picking a port or a rate rewrites that part of the connection text and
// keeps the rest. The field stays the one place the text is typed and read.
class PortPicker : public QObject {
    Q_OBJECT

public:
    using PortLister = std::function<QList<SerialPorts::Port>()>;
    using ConnectionLister = std::function<QStringList()>;

    explicit PortPicker(QLineEdit *field, PortLister listPorts = SerialPorts::available,
                        ConnectionLister listRecent = RecentConnections::list);

    // The action behind the button, and the menu it opens.
    QAction *openAction() const { return action; }
    QMenu *menu() const { return portMenu; }
    // Its texts anew, in the window's present language.
    void retranslate();

signals:
    void detectRequested();

private:
    void rebuildMenu();
    void showMenu();

    QLineEdit *field;
    PortLister listPorts;
    ConnectionLister listRecent;
    QAction *action;
    QMenu *portMenu;
};

#endif // PORTPICKER_H
