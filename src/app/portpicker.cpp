#include "portpicker.h"

#include "connectiontext.h"
#include "devicesettings.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

PortPicker::PortPicker(QLineEdit *field, PortLister listPorts, ConnectionLister listRecent)
    : QObject(field)
    , field(field)
    , listPorts(std::move(listPorts))
    , listRecent(std::move(listRecent))
    , action(new QAction(field->style()->standardIcon(QStyle::SP_ArrowDown), QString(), field))
    , portMenu(new QMenu(field))
{
    action->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    action->setShortcutContext(Qt::WidgetShortcut);
    field->addAction(action, QLineEdit::TrailingPosition);
    retranslate();
    portMenu->setToolTipsVisible(true);
    connect(action, &QAction::triggered, this, &PortPicker::showMenu);
}

void PortPicker::retranslate()
{
    action->setText(tr("Choose the port and the baud rate"));
    action->setToolTip(tr("Ports, baud rates and detection of the modem (Alt+Down)"));
    // The button the field makes for the action is what a screen reader meets.
    for (QToolButton *button : field->findChildren<QToolButton *>()) {
        if (button->defaultAction() == action)
            button->setAccessibleName(action->text());
    }
}

void PortPicker::showMenu()
{
    rebuildMenu();
    portMenu->popup(field->mapToGlobal(field->rect().bottomRight()) - QPoint(portMenu->sizeHint().width(), 0));
}

void PortPicker::rebuildMenu()
{
    portMenu->clear();
    const QString connection = field->text();
    const QString currentPort = ConnectionText::part(connection, QStringLiteral("dev"));
    const QStringList recent = listRecent();
    if (!recent.isEmpty())
        portMenu->addSection(tr("Last connections that worked"));
    for (const QString &text : recent) {
        QAction *pick = portMenu->addAction(text, this, [this, text] { field->setText(text); });
        pick->setCheckable(true);
        pick->setChecked(text == connection.trimmed());
    }
    if (!recent.isEmpty())
        portMenu->addSection(tr("Serial ports"));
    const QList<SerialPorts::Port> ports = listPorts();
    for (const SerialPorts::Port &port : ports) {
        const QString text = port.description.isEmpty() ? port.name
                                                         : tr("%1 (%2)").arg(port.name, port.description);
        QAction *pick = portMenu->addAction(text, this, [this, name = port.name] {
            field->setText(ConnectionText::withPart(field->text(), QStringLiteral("dev"), name));
        });
        pick->setCheckable(true);
        pick->setChecked(port.name == currentPort);
        QStringList about;
        for (const QString &fact : {port.manufacturer, port.identity}) {
            if (!fact.isEmpty())
                about << fact;
        }
        pick->setToolTip(about.join(QLatin1String(", ")));
    }
    if (ports.isEmpty())
        portMenu->addAction(tr("No serial ports found"))->setEnabled(false);

    QMenu *rates = portMenu->addMenu(tr("Baud rate"));
    const QString currentRate = ConnectionText::part(connection, QStringLiteral("baud"));
    for (int rate : DeviceSettings::baudRates()) {
        QAction *pick = rates->addAction(QString::number(rate), this, [this, rate] {
            field->setText(ConnectionText::withPart(field->text(), QStringLiteral("baud"), QString::number(rate)));
        });
        pick->setCheckable(true);
        pick->setChecked(QString::number(rate) == currentRate);
    }
    portMenu->addSeparator();
    portMenu->addAction(tr("Detect modem"), this, &PortPicker::detectRequested);
}
