#ifndef STATIONPAGE_H
#define STATIONPAGE_H

#include "deviceprocedures.h"
#include "filedialogs.h"
#include "fleetprovisioner.h"
#include "serialports.h"
#include "settingsvalues.h"
#include "stationports.h"
#include "stationrun.h"

#include <QDateTime>
#include <QDialog>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace Ui {
class StationPage;
}
class QLineEdit;
class QTimer;
class StationModel;

// The commissioning station: a template, a table and the ports, checked as
// the command-line tool checks them before any port opens; then every port
// at once through the fleet's engine, each modem's row, port and state in
// sight as it goes, the same report (so that either front end resumes the
// other's run), and a record of the run to hand over.
class StationPage : public QDialog {
    Q_OBJECT

public:
    using PortLister = StationPorts::PortLister;

    StationPage(QWidget *parent, FileDialogAnswer fileDialogs, QString journalFolder,
                DeviceProcedures::Advise advise, PortLister portLister = SerialPorts::available);
    ~StationPage() override;

    bool isRunning() const;
    // Each port finishes the modem it is writing; runEnded follows.
    void stop();
    StationModel *model() const { return rows; }

signals:
    // The journal entry of a row's Write, to be shown in History.
    void journalRequested(const QString &folder);
    void runEnded();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void browse(QLineEdit *field, bool save);
    void tableChosen();
    void check();
    void checkPorts();
    void addPort();
    // The fields and the ports ticked, for the next time.
    void remember() const;
    void start();
    void take(const QVector<StationRun::News> &news);
    void fitColumns();
    void showPorts();
    void showTotals();
    void showMessage(const QString &text, bool failure);
    void enableControls();
    void openJournal(const QModelIndex &index);
    void saveRecord();
    void retranslate();

    std::unique_ptr<Ui::StationPage> ui;
    FileDialogAnswer fileDialogs;
    QString journalFolder;
    DeviceProcedures::Advise advise;
    std::optional<StationPorts> ports;   // once the form is built
    StationModel *rows;
    QTimer *clock;

    // What the present fields give, as last checked.
    SettingsValues templateValues;
    ProvisionTable table;
    QStringList fileProblems;   // of the template and the table
    QStringList problems;       // those and the ports'
    bool keepCon = true;
    QString reportsTable;       // the table the report in its field belongs to

    // The present run, or the last.
    std::unique_ptr<StationRun> run;
    std::map<QString, FleetProvisioner::PortState> portStates;
    QList<FleetProvisioner::ModemOutcome> outcomes;
    QDateTime started;
    QDateTime ended;
    QString templateOfRun;
    QString tableOfRun;
    ProvisionTable tableRun;
    SettingsValues templateRun;
};

#endif // STATIONPAGE_H
