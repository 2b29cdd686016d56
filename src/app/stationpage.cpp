#include "stationpage.h"
#include "ui_stationpage.h"

#include "commissioningrecord.h"
#include "devicesettings.h"
#include "jobwords.h"
#include "provisiontable.h"
#include "settingsfile.h"
#include "stationmodel.h"
#include "trafficpage.h"
#include "usersettings.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

// The user's choices, remembered from one run to the next.
const char TemplateKey[] = "station/template";
const char TableKey[] = "station/table";
const char ReportKey[] = "station/report";
const char WaitKey[] = "station/wait";

// A long table's problems beyond these are counted, not listed.
constexpr int ProblemsListed = 200;

QString clockText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return seconds >= 3600 ? QStringLiteral("%1:%2:%3")
                                 .arg(seconds / 3600)
                                 .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

StationPage::StationPage(QWidget *parent, FileDialogAnswer fileDialogs, QString journalFolder,
                         DeviceProcedures::Advise advise, PortLister portLister)
    : QDialog(parent)
    , ui(std::make_unique<Ui::StationPage>())
    , fileDialogs(std::move(fileDialogs))
    , journalFolder(std::move(journalFolder))
    , advise(std::move(advise))
    , rows(new StationModel(this))
    , clock(new QTimer(this))
{
    ui->setupUi(this);
    ports.emplace(ui->portsList, std::move(portLister));
    ui->rowsView->setModel(rows);
    ui->rowsView->verticalHeader()->hide();
    ui->rowsView->horizontalHeader()->setStretchLastSection(true);
    ui->rowsView->verticalHeader()->setDefaultSectionSize(ui->rowsView->fontMetrics().height() + 6);
    // What a Write changed says most: it gets the room the short columns leave.
    ui->rowsView->horizontalHeader()->resizeSection(StationModel::Changed, 320);
    // Columns fit what is in sight, not every row of a long table.
    ui->rowsView->verticalHeader()->setResizeContentsPrecision(0);
    ui->portStatesView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Tab leaves the table; the arrows move within it.
    ui->rowsView->setTabKeyNavigation(false);
    ui->portStatesView->setMaximumHeight(ui->portStatesView->fontMetrics().height() * 6);
    ui->pageLayout->setStretchFactor(ui->rowsView, 1);
    // Enter in a field or the table acts there, not on Start.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    clock->setInterval(1000);
    connect(clock, &QTimer::timeout, this, &StationPage::showTotals);

    QSettings remembered = userSettings();
    ui->templateLineEdit->setText(remembered.value(QLatin1String(TemplateKey)).toString());
    ui->tableLineEdit->setText(remembered.value(QLatin1String(TableKey)).toString());
    ui->reportLineEdit->setText(remembered.value(QLatin1String(ReportKey)).toString());
    reportsTable = ui->tableLineEdit->text();
    ui->waitCheckBox->setChecked(remembered.value(QLatin1String(WaitKey)).toBool());

    connect(ui->templateBrowseButton, &QAbstractButton::clicked, this, [this] { browse(ui->templateLineEdit, false); });
    connect(ui->tableBrowseButton, &QAbstractButton::clicked, this, [this] { browse(ui->tableLineEdit, false); });
    connect(ui->reportBrowseButton, &QAbstractButton::clicked, this, [this] { browse(ui->reportLineEdit, true); });
    connect(ui->templateLineEdit, &QLineEdit::editingFinished, this, &StationPage::check);
    connect(ui->tableLineEdit, &QLineEdit::editingFinished, this, &StationPage::tableChosen);
    connect(ui->matchComboBox, QOverload<int>::of(&QComboBox::activated), this, &StationPage::check);
    connect(ui->portsList, &QListWidget::itemChanged, this, &StationPage::checkPorts);
    connect(ui->addPortButton, &QAbstractButton::clicked, this, &StationPage::addPort);
    connect(ui->addPortLineEdit, &QLineEdit::returnPressed, this, &StationPage::addPort);
    connect(ui->startButton, &QAbstractButton::clicked, this, &StationPage::start);
    connect(ui->rerunButton, &QAbstractButton::clicked, this, &StationPage::start);
    connect(ui->stopButton, &QAbstractButton::clicked, this, &StationPage::stop);
    connect(ui->saveRecordButton, &QAbstractButton::clicked, this, &StationPage::saveRecord);
    connect(ui->closeButton, &QAbstractButton::clicked, this, &QDialog::close);
    connect(ui->rowsView, &QAbstractItemView::activated, this, &StationPage::openJournal);

    ports->refresh();
    retranslate();
    check();
}

// A field that loses the focus as the page goes says its editing has
// finished: nothing of the page may hear it then.
StationPage::~StationPage()
{
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

// Ports come and go between runs: the list is the machine's as the page opens.
void StationPage::showEvent(QShowEvent *event)
{
    // The rows of the last run stay in sight until the fields change.
    if (!isRunning()) {
        ports->refresh();
        if (run)
            checkPorts();
        else
            check();
    }
    QDialog::showEvent(event);
}

bool StationPage::isRunning() const
{
    return run && run->isRunning();
}

void StationPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslate();
    }
    QDialog::changeEvent(event);
}

void StationPage::retranslate()
{
    ui->templateBrowseButton->setAccessibleName(tr("Choose the template"));
    ui->tableBrowseButton->setAccessibleName(tr("Choose the table"));
    ui->reportBrowseButton->setAccessibleName(tr("Choose the report"));
    // Lists are named by what they hold, not by a label beside them.
    ui->portsList->setAccessibleName(tr("Ports"));
    ui->problemsList->setAccessibleName(tr("To mend before Start"));
    ui->portStatesView->setAccessibleName(tr("What each port is doing"));
    ui->rowsView->setAccessibleName(tr("The table's rows and their state"));
    emit rows->headerDataChanged(Qt::Horizontal, 0, StationModel::ColumnCount - 1);
    if (rows->rowCount() > 0)
        emit rows->dataChanged(rows->index(0, 0), rows->index(rows->rowCount() - 1, StationModel::ColumnCount - 1));
    if (!isRunning())
        check();
    showPorts();
    showTotals();
}

void StationPage::browse(QLineEdit *field, bool save)
{
    const QString start = field->text().isEmpty() ? QFileInfo(ui->tableLineEdit->text()).path() : field->text();
    QString name;
    if (field == ui->templateLineEdit)
        name = askOpenFileName(this, fileDialogs, tr("Choose the template"), tr("Settings files (*.xml)"), start);
    else if (save)
        name = askSaveFileName(this, fileDialogs, tr("Choose the report"), tr("CSV files (*.csv)"), start,
                               QStringLiteral(".csv"));
    else
        name = askOpenFileName(this, fileDialogs, tr("Choose the table"), tr("CSV files (*.csv)"), start);
    if (name.isEmpty())
        return;
    field->setText(QDir::toNativeSeparators(name));
    if (field == ui->tableLineEdit)
        tableChosen();
    else
        check();
}

// Another table brings its own report, beside it as TABLE-report.csv: an
// earlier table's report would hand its verified rows' names (line 2, line
// 3, …) to this table's rows, which no modem would then get. A report
// chosen after the table stays.
void StationPage::tableChosen()
{
    const QString tableFile = ui->tableLineEdit->text().trimmed();
    if (tableFile != reportsTable || ui->reportLineEdit->text().trimmed().isEmpty()) {
        reportsTable = tableFile;
        const QFileInfo info(tableFile);
        ui->reportLineEdit->setText(tableFile.isEmpty() ? QString()
            : QDir::toNativeSeparators(info.dir().filePath(info.completeBaseName() + QLatin1String("-report.csv"))));
    }
    check();
}

// Everything the command-line tool checks before a port opens, listed.
void StationPage::check()
{
    fileProblems.clear();
    QStringList &problems = fileProblems;
    templateValues = SettingsValues();
    table = ProvisionTable();
    const QString templateFile = ui->templateLineEdit->text().trimmed();
    const QString tableFile = ui->tableLineEdit->text().trimmed();
    if (templateFile.isEmpty()) {
        problems << tr("Choose the template: a settings file with every modem's settings");
    } else {
        const SettingsFileContent content = readSettingsFile(templateFile, false);
        if (content.status == SettingsFileContent::NotOpened)
            problems << tr("The template cannot be read: %1").arg(content.errorString);
        else if (content.status == SettingsFileContent::Damaged)
            problems << tr("The template is damaged at line %1: %2").arg(content.errorLine).arg(content.errorString);
        templateValues = SettingsValues::fromPairs(content.pairs);
        keepCon = templateValues.enableKeepCon.value_or(true);
        for (const SettingProblem &problem : templateValues.problems())
            problems << tr("Template: %1").arg(problem.message());
    }
    QString matchKey = ui->matchComboBox->currentData().toString();
    if (tableFile.isEmpty()) {
        problems << tr("Choose the table: a header of settings keys, then a row for each modem");
    } else if (problems.isEmpty()) {
        table = readProvisionTableFile(tableFile, templateValues, matchKey);
        // A key the table no longer has is no longer offered.
        if (!matchKey.isEmpty() && !table.columns.contains(matchKey)) {
            matchKey.clear();
            table = readProvisionTableFile(tableFile, templateValues);
        }
        for (const QString &problem : qAsConst(table.problems))
            problems << tr("Table: %1").arg(problem);
    }
    ui->matchComboBox->clear();
    ui->matchComboBox->addItem(tr("none: the rows in their order"), QString());
    for (const QString &column : qAsConst(table.columns)) {
        if (DeviceSettings::indexOfKey(column) >= 0)
            ui->matchComboBox->addItem(column, column);
    }
    ui->matchComboBox->setCurrentIndex(std::max(0, ui->matchComboBox->findData(matchKey)));
    if (!isRunning()) {
        rows->setTable(table.problems.isEmpty() ? table : ProvisionTable());
        fitColumns();
        showTotals();
    }
    checkPorts();
}

// Ticking a port asks only whether two ports name one device.
void StationPage::checkPorts()
{
    remember();
    problems = fileProblems;
    if (const auto twice = FleetProvisioner::portsNamedTwice(ports->ticked()))
        problems << tr("%1 and %2 are one device (%3): tick it once").arg(twice->first, twice->second, twice->device);
    ui->problemsList->clear();
    ui->problemsList->addItems(problems.mid(0, ProblemsListed));
    if (problems.size() > ProblemsListed)
        ui->problemsList->addItem(tr("… and %1 more").arg(problems.size() - ProblemsListed));
    ui->problemsList->setVisible(!problems.isEmpty());
    ui->problemsLabel->setVisible(!problems.isEmpty());
    enableControls();
}

// The short columns as wide as what they show (the rows in sight decide).
void StationPage::fitColumns()
{
    for (int column : {StationModel::Id, StationModel::Line, StationModel::Port, StationModel::State})
        ui->rowsView->resizeColumnToContents(column);
}

void StationPage::addPort()
{
    const QString typed = ui->addPortLineEdit->text().trimmed();
    if (typed.isEmpty())
        return;
    if (const QString problem = ports->add(typed); !problem.isEmpty()) {
        showMessage(problem, true);
        return;
    }
    ui->addPortLineEdit->clear();
    checkPorts();
}

void StationPage::remember() const
{
    if (isVisible())   // the ports as ticked, once the technician has seen them
        ports->rememberTicked();
    QSettings remembered = userSettings();
    remembered.setValue(QLatin1String(TemplateKey), ui->templateLineEdit->text().trimmed());
    remembered.setValue(QLatin1String(TableKey), ui->tableLineEdit->text().trimmed());
    remembered.setValue(QLatin1String(ReportKey), ui->reportLineEdit->text().trimmed());
    remembered.setValue(QLatin1String(WaitKey), ui->waitCheckBox->isChecked());
}

void StationPage::start()
{
    if (isRunning())
        return;
    check();
    if (!ui->startButton->isEnabled())
        return;
    if (ui->reportLineEdit->text().trimmed().isEmpty())
        tableChosen();
    ProvisionRequest request;
    request.ports = ports->ticked();
    request.table = table;
    request.matchKey = ui->matchComboBox->currentData().toString();
    request.wait = ui->waitCheckBox->isChecked();
    request.keepCon = keepCon;
    request.journalFolder = journalFolder;
    request.reportFile = QDir::fromNativeSeparators(ui->reportLineEdit->text().trimmed());
    request.advise = advise;
    run.reset();
    run = std::make_unique<StationRun>(request);
    connect(run.get(), &StationRun::arrived, this, &StationPage::take);
    QString why;
    if (!run->start(&why)) {
        run.reset();
        showMessage(why, true);
        enableControls();
        return;
    }
    remember();
    rows->setTable(table, run->fleet().verifiedEarlier());
    fitColumns();
    portStates.clear();
    outcomes.clear();
    started = QDateTime::currentDateTime();
    ended = QDateTime();
    templateOfRun = ui->templateLineEdit->text().trimmed();
    tableOfRun = ui->tableLineEdit->text().trimmed();
    tableRun = table;
    templateRun = templateValues;
    showMessage(tr("Provisioning on %n port(s)…", nullptr, request.ports.size()), false);
    clock->start();
    showPorts();
    showTotals();
    enableControls();
}

void StationPage::stop()
{
    if (!isRunning())
        return;
    run->stop();
    showMessage(tr("Stopping: each port finishes the modem it is writing…"), false);
    enableControls();
}

void StationPage::take(const QVector<StationRun::News> &news)
{
    bool runEnded = false;
    for (const StationRun::News &item : news) {
        switch (item.kind) {
        case StationRun::News::Port:
            portStates[item.port.port] = item.port;
            rows->portChanged(item.port);
            break;
        case StationRun::News::Modem:
            rows->modemDone(item.modem);
            outcomes << item.modem;
            break;
        case StationRun::News::Said:
            showMessage(JobWords::shown(item.line), item.failure);
            break;
        case StationRun::News::Ended:
            runEnded = true;
            break;
        }
    }
    showPorts();
    showTotals();
    if (runEnded) {
        fitColumns();
        clock->stop();
        ended = QDateTime::currentDateTime();
        enableControls();
        emit this->runEnded();
    }
}

void StationPage::showPorts()
{
    ui->portStatesView->clear();
    for (const auto &entry : portStates) {
        const FleetProvisioner::PortState &state = entry.second;
        new QTreeWidgetItem(ui->portStatesView,
                            {state.port, run ? run->fleet().describe(state) : QString(), QString::number(state.modemsEnded)});
    }
}

void StationPage::showTotals()
{
    if (!run) {
        ui->totalsLabel->setText(tr("%n row(s) in the table", nullptr, rows->tableRows()));
        return;
    }
    const int verified = rows->verifiedCount();
    const qint64 elapsed = run->elapsedMs();
    QString text = tr("Verified %1 of %2 · elapsed %3").arg(verified).arg(rows->tableRows()).arg(clockText(elapsed));
    // The ports' pace so far, over the rows still open.
    const auto verifiedThisRun = std::count_if(outcomes.begin(), outcomes.end(), [](const auto &outcome) {
        return outcome.result == ProvisionReport::Verified;
    });
    if (isRunning() && verifiedThisRun > 0 && verified < rows->tableRows())
        text += tr(" · about %1 left").arg(clockText(elapsed / verifiedThisRun * (rows->tableRows() - verified)));
    ui->totalsLabel->setText(text);
}

void StationPage::showMessage(const QString &text, bool failure)
{
    ui->messageLabel->setText(text);
    QPalette palette = ui->messageLabel->palette();
    palette.setColor(QPalette::WindowText, failure ? TrafficPage::failureColour(this->palette())
                                                   : this->palette().color(QPalette::WindowText));
    ui->messageLabel->setPalette(palette);
}

void StationPage::enableControls()
{
    const bool running = isRunning();
    for (QWidget *field : {static_cast<QWidget *>(ui->templateLineEdit), static_cast<QWidget *>(ui->tableLineEdit),
                           static_cast<QWidget *>(ui->reportLineEdit), static_cast<QWidget *>(ui->templateBrowseButton),
                           static_cast<QWidget *>(ui->tableBrowseButton), static_cast<QWidget *>(ui->reportBrowseButton),
                           static_cast<QWidget *>(ui->matchComboBox), static_cast<QWidget *>(ui->waitCheckBox),
                           static_cast<QWidget *>(ui->portsList), static_cast<QWidget *>(ui->addPortLineEdit),
                           static_cast<QWidget *>(ui->addPortButton)})
        field->setEnabled(!running);
    const bool ready = !running && problems.isEmpty() && !table.rows.isEmpty() && !ports->ticked().isEmpty();
    ui->startButton->setEnabled(ready);
    ui->stopButton->setEnabled(running && !run->stopAsked());
    ui->rerunButton->setEnabled(ready && run && rows->verifiedCount() < rows->tableRows());
    ui->saveRecordButton->setEnabled(run != nullptr);
}

void StationPage::openJournal(const QModelIndex &index)
{
    const QString folder = index.isValid() ? rows->journalOf(index.row()) : QString();
    if (folder.isEmpty())
        showMessage(tr("Nothing was written to this row's modem, so the journal has no entry for it"), false);
    else
        emit journalRequested(folder);
}

void StationPage::saveRecord()
{
    if (!run)
        return;
    const QString name = askSaveFileName(this, fileDialogs, tr("Save the commissioning record"),
                                         tr("PDF files (*.pdf)"), QFileInfo(tableOfRun).path(), QStringLiteral(".pdf"));
    if (name.isEmpty())
        return;
    std::vector<bool> rowVerified;
    for (int row = 0; row < rows->tableRows(); ++row)
        rowVerified.push_back(rows->isVerified(row));
    CommissioningRecord::Run record = CommissioningRecord::of(templateRun, tableRun, outcomes, rowVerified);
    record.started = started;
    record.ended = ended.isValid() ? ended : QDateTime::currentDateTime();
    record.templateFile = QDir::toNativeSeparators(templateOfRun);
    record.tableFile = QDir::toNativeSeparators(tableOfRun);
    QString why;
    if (CommissioningRecord::writePdf(record, name, &why))
        showMessage(tr("Saved the record %1").arg(QDir::toNativeSeparators(name)), false);
    else
        showMessage(tr("The record was not saved: %1").arg(why), true);
}
