#ifndef PORTPICKER_H
#define PORTPICKER_H

#include "serialports.h"

#include <QObject>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;

// The Connection field's picker: a button at the field's end, or Alt+Down
// in the field, opens a menu of the machine's serial ports (listed afresh
// each time), the modem's baud rates and "Detect modem". Picking a port or
// a rate rewrites that part of the connection text and keeps the rest; the
// field stays the one place the text is typed and read.
class PortPicker : public QObject {
    Q_OBJECT

public:
    using PortLister = std::function<QList<SerialPorts::Port>()>;

    explicit PortPicker(QLineEdit *field, PortLister listPorts = SerialPorts::available);

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
    QAction *action;
    QMenu *portMenu;
};

#endif // PORTPICKER_H
